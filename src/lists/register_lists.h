#pragma once
// The windows of the lists folder, registered with the panels' menus.
namespace dovrane {

void registerListWindows();

} // namespace dovrane
