#include "memories/register_memories.h"
#include "memories/frmmemman.h"
#include "panels/tool_windows.h"

namespace dovrane {

void registerMemoryWindows() { registerToolWindow(QStringLiteral("frmMemman"), showingWindow<frmMemman>()); }

} // namespace dovrane
