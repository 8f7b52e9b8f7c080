#pragma once
// Stand-ins for windows that later parts of the program build: each is a real
// Form with a position index and open flag, and notes when its unload step runs.
#include "shell/form.h"
#include "shell/unloadallforms.h"

#include <vector>

namespace dovrane::test {

inline std::vector<int> unloadLog;   // position indexes, in the order the windows unloaded

template <int Index, bool* Flag>
class FakeWindow : public Form {
public:
    FakeWindow() : Form(Index, Flag) {
        resize(200, 120);
        registerWindow(Flag, this);
    }

protected:
    void Form_Unload() override { unloadLog.push_back(Index); }
};

} // namespace dovrane::test
