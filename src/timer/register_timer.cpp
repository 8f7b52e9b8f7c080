#include "timer/register_timer.h"
#include "panels/tool_windows.h"
#include "shell/file_kinds.h"
#include "shell/globals.h"
#include "timer/frmrtty.h"
#include "timer/frmrxclock.h"
#include "timer/frmrxtimer.h"

namespace dovrane {

void registerTimerWindows() {
    registerToolWindow(QStringLiteral("frmRxTimer"), showingWindow<frmRxTimer>());
    registerToolWindow(QStringLiteral("frmRxClock"), showingWindow<frmRxClock>());
    registerToolWindow(QStringLiteral("frmRtty"), showingWindow<frmRtty>());
    // The RTTY text file is not written whole: the chooser's name becomes the
    // file the RTTY window appends to.
    registerWriter(13, [] {
        frmRtty* w = forms::loaded<frmRtty>();
        return w && w->openTextFile(FileKindPath[13] + FileKindName[13], FileKindName[13]);
    });
}

} // namespace dovrane
