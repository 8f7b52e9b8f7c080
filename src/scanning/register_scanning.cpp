#include "scanning/register_scanning.h"
#include "panels/tool_windows.h"
#include "scanning/frmscanlist.h"
#include "scanning/frmscanpairs.h"
#include "scanning/frmspectrum.h"

namespace dovrane {

void registerScanningWindows() {
    registerToolWindow(QStringLiteral("frmSpectrum"), showingWindow<frmSpectrum>());
    registerToolWindow(QStringLiteral("frmScanlist"), showingWindow<frmScanlist>());
    registerToolWindow(QStringLiteral("frmScanpairs"), showingWindow<frmScanpairs>());
}

} // namespace dovrane
