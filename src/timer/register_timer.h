#pragma once
namespace dovrane {

// Registers the windows of the clock, timer and RTTY tools with the panels' menus.
void registerTimerWindows();

} // namespace dovrane
