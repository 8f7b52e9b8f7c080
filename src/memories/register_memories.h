#pragma once
// The windows of the memories folder, registered with the panels' menus.
namespace dovrane {

void registerMemoryWindows();

} // namespace dovrane
