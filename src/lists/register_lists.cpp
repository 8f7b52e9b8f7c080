#include "lists/register_lists.h"
#include "lists/frmlast20.h"
#include "lists/frmscratchpad.h"
#include "panels/tool_windows.h"
#include "shell/globals.h"

namespace dovrane {

void registerListWindows() {
    registerToolWindow(QStringLiteral("frmLast20"), showingWindow<frmLast20>());
    registerToolWindow(QStringLiteral("frmScratchpad"), showingWindow<frmScratchpad>());
    // The last-20 history is loaded with every panel and records each
    // frequency a panel shows from then on.
    registerPanelLoadStep([] { forms::load<frmLast20>(); });
    registerFrequencyListener([](const QString& text) {
        if (!Last20Open) return;
        if (frmLast20* last20 = forms::loaded<frmLast20>()) last20->fillgrdlast20(text);
    });
}

} // namespace dovrane
