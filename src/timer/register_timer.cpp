#include "timer/register_timer.h"
#include "panels/tool_windows.h"
#include "timer/frmrxtimer.h"

namespace dovrane {

void registerTimerWindows() { registerToolWindow(QStringLiteral("frmRxTimer"), showingWindow<frmRxTimer>()); }

} // namespace dovrane
