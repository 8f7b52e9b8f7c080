#pragma once

namespace dovrane {

// The log window on the panels' menus, and the loader and writer of log files.
void registerLogbookWindows();

} // namespace dovrane
