#include "scanning/register_recorders.h"

#include "panels/tool_windows.h"
#include "scanning/frmprop2prt2.h"
#include "scanning/frmpropagation.h"
#include "scanning/frmsmeter.h"
#include "scanning/propagation_file.h"
#include "shell/file_kinds.h"

namespace dovrane {

void registerRecorderWindows() {
    registerToolWindow(QStringLiteral("frmPropagation"), showingWindow<frmPropagation>());
    registerToolWindow(QStringLiteral("frmProp2prt2"), showingWindow<frmProp2prt2>());
    registerToolWindow(QStringLiteral("frmSmeter"), showingWindow<frmSmeter>());
    registerLoader(PropKind, 0, [] { return loadpropfile(); });
    registerWriter(PropKind, [] { return savepropfile(); });
    registerLoader(Prop2prtKind, 0, [] { return loadprop2prtfile(); });
}

} // namespace dovrane
