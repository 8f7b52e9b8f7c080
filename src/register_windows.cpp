#include "register_windows.h"
#include "lists/register_list_viewers.h"
#include "lists/register_lists.h"
#include "memories/register_memories.h"
#include "logbook/register_logbook.h"
#include "panels/frmadvanceddsp.h"
#include "panels/frmuserdefs.h"
#include "panels/frmuserdefs545.h"
#include "panels/tool_windows.h"
#include "scanning/register_recorders.h"
#include "scanning/register_scanning.h"
#include "shell/frmabout.h"
#include "shell/frmsetup.h"
#include "stations/register_stations.h"
#include "timer/register_timer.h"

namespace dovrane {

void registerToolWindows() {
    registerToolWindow(QStringLiteral("frmAbout"), showingWindow<frmAbout>());
    registerToolWindow(QStringLiteral("frmSetUp"), showingWindow<frmSetUp>());
    registerToolWindow(QStringLiteral("frmUserdefs"), showingModalWindow<frmUserdefs>());
    registerToolWindow(QStringLiteral("frmUserdefs545"), showingModalWindow<frmUserdefs545>());
    registerToolWindow(QStringLiteral("frmAdvancedDSP"), showingWindow<frmAdvancedDSP>());
    registerListWindows();
    registerMemoryWindows();
    registerLogbookWindows();
    registerListViewerWindows();
    registerStationWindows();
    registerTimerWindows();
    registerRecorderWindows();
    registerScanningWindows();
}

} // namespace dovrane
