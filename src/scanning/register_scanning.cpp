#include "scanning/register_scanning.h"
#include "panels/tool_windows.h"
#include "scanning/frmspectrum.h"

namespace dovrane {

void registerScanningWindows() {
    registerToolWindow(QStringLiteral("frmSpectrum"), showingWindow<frmSpectrum>());
}

} // namespace dovrane
