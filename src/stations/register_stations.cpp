#include "stations/register_stations.h"
#include "panels/tool_windows.h"
#include "shell/file_kinds.h"
#include "stations/frmaero2rx.h"
#include "stations/frmconvertaero.h"
#include "stations/frmconvertilg.h"
#include "stations/frmilg2rx.h"
#include "stations/frmtracking.h"

namespace dovrane {

void registerStationWindows() {
    registerToolWindow(QStringLiteral("frmConvertILG"), showingWindow<frmConvertILG>());
    registerToolWindow(QStringLiteral("frmConvertAero"), showingWindow<frmConvertAero>());
    registerToolWindow(QStringLiteral("frmIlg2rx"), showingWindow<frmIlg2rx>());
    registerToolWindow(QStringLiteral("frmAero2rx"), showingWindow<frmAero2rx>());
    registerToolWindow(QStringLiteral("frmTracking"), showingWindow<frmTracking>());
    registerLoader(3, 1, [] { return loadilgftlfile(); });
    registerLoader(3, 2, [] { return loadaeroftlfile(); });
    registerLoader(5, 0, [] { return loadtrackingfile(); });
}

} // namespace dovrane
