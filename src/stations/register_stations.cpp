#include "stations/register_stations.h"
#include "panels/tool_windows.h"
#include "stations/frmconvertaero.h"
#include "stations/frmconvertilg.h"

namespace dovrane {

void registerStationWindows() {
    registerToolWindow(QStringLiteral("frmConvertILG"), showingWindow<frmConvertILG>());
    registerToolWindow(QStringLiteral("frmConvertAero"), showingWindow<frmConvertAero>());
}

} // namespace dovrane
