#include "shell/show_panel.h"
#include "shell/form.h"
#include "shell/globals.h"
#include "shell/unloadallforms.h"

#include <array>

namespace dovrane {

Form* currentPanel() {
    static const std::array<const bool*, 5> flags{&NoRxOpen, &AR7030Open, &NRD535Open, &RX320Open, &NRD545Open};
    if (RxType < 0 || RxType >= int(flags.size())) return nullptr;
    const bool* flag = flags[size_t(RxType)];
    return *flag ? windowFor(flag) : nullptr;
}

void showCurrentPanel() {
    if (Form* panel = currentPanel()) {
        panel->show();
        panel->raise();
        panel->activateWindow();
    }
}

} // namespace dovrane
