#include "logbook/register_logbook.h"
#include "logbook/frmlog.h"
#include "panels/tool_windows.h"

namespace dovrane {

void registerLogbookWindows() {
    registerToolWindow(QStringLiteral("frmLog"), showingWindow<frmLog>());
    registerLogFileKind();
}

} // namespace dovrane
