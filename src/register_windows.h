#pragma once
// Every tool window of the program, registered with the panels' menus: the
// program calls this once before the welcome window starts (the tests' fixture
// does the same).
namespace dovrane {

void registerToolWindows();

} // namespace dovrane
