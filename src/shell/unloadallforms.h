#pragma once
// Reaching windows through their open flags, and closing the tool windows
// when a receiver panel closes.
#include <functional>

namespace dovrane {

class Form;

// Tells the shell which window an open flag belongs to, so that the tool-window
// list and the title clock can reach it without loading it. A window calls this
// in its constructor: registerWindow(&LogOpen, this). A destroyed window drops
// out by itself.
void registerWindow(const bool* openFlag, Form* window);
// The loaded window of this open flag, or nullptr.
Form* windowFor(const bool* openFlag);

// Unloads, in a fixed order, every tool window whose open flag is set; each
// runs its unload step and keeps its position. The receiver panels, the
// no-receiver panel and the welcome window are not among them.
void unloadallforms();
// Lets every open tool window ask about work not saved yet, before a panel
// closes at the user's wish; false as soon as one of them is to stay open.
bool toolWindowsMayClose();

} // namespace dovrane
