#pragma once
// The tool windows that the panels' menus open, by window name ("frmLog").
// A window that is not part of this build has no opener, and its menu item
// stays disabled.
#include <QString>
#include <functional>

namespace dovrane {

// Loads the window and shows it (modal for the NRD user-definition dialogs,
// modeless for the rest); empty when the window is missing.
std::function<void()> toolWindowOpener(const QString& windowName);

} // namespace dovrane
