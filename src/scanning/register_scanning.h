#pragma once
// The scanning tools' windows, registered with the panels' menus.
namespace dovrane {

void registerScanningWindows();

} // namespace dovrane
