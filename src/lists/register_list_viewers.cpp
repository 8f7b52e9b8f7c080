#include "lists/register_list_viewers.h"
#include "lists/frm320files.h"
#include "lists/frmbdxc.h"
#include "lists/frmown.h"
#include "panels/tool_windows.h"

namespace dovrane {

void registerListViewerWindows() {
    registerToolWindow(QStringLiteral("frmBdxc"), showingWindow<frmBdxc>());
    registerToolWindow(QStringLiteral("frmOwn"), showingWindow<frmOwn>());
    registerToolWindow(QStringLiteral("frm320Files"), showingWindow<frm320Files>());
}

} // namespace dovrane
