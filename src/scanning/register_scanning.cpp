#include "scanning/register_scanning.h"
#include "panels/tool_windows.h"
#include "scanning/frmprop2prt2.h"
#include "scanning/frmpropagation.h"
#include "scanning/frmscanlist.h"
#include "scanning/frmscanpairs.h"
#include "scanning/frmsmeter.h"
#include "scanning/frmspectrum.h"

namespace dovrane {

void registerScanningWindows() {
    registerToolWindow(QStringLiteral("frmSpectrum"), showingWindow<frmSpectrum>());
    registerToolWindow(QStringLiteral("frmScanlist"), showingWindow<frmScanlist>());
    registerToolWindow(QStringLiteral("frmScanpairs"), showingWindow<frmScanpairs>());
    registerToolWindow(QStringLiteral("frmPropagation"), showingWindow<frmPropagation>());
    registerToolWindow(QStringLiteral("frmProp2prt2"), showingWindow<frmProp2prt2>());
    registerToolWindow(QStringLiteral("frmSmeter"), showingWindow<frmSmeter>());
}

} // namespace dovrane
