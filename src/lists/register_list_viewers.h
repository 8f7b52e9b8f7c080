#pragma once

namespace dovrane {

// The BDXC, own-list and ".320" windows on the panels' menus.
void registerListViewerWindows();

} // namespace dovrane
