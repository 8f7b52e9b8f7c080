#pragma once
// The station-database windows, registered with the panels' menus, and the
// loaders of the station lists.
namespace dovrane {

void registerStationWindows();

} // namespace dovrane
