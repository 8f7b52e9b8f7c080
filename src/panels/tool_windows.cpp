#include "panels/tool_windows.h"
#include "lists/frmlast20.h"
#include "lists/frmscratchpad.h"
#include "panels/frmadvanceddsp.h"
#include "panels/frmuserdefs.h"
#include "panels/frmuserdefs545.h"
#include "shell/form.h"
#include "shell/frmabout.h"
#include "shell/frmsetup.h"

namespace dovrane {

namespace {

template <class T> std::function<void()> showing() {
    return [] {
        T* w = forms::load<T>();
        if (!w || !w->isLoaded()) return;
        w->show();
        w->raise();
        w->activateWindow();
    };
}

// The user-definition dialogs: the panel waits until they close.
template <class T> std::function<void()> showingModal() {
    return [] {
        T* w = forms::load<T>();
        if (w && w->isLoaded()) w->showModal();
    };
}

} // namespace

std::function<void()> toolWindowOpener(const QString& name) {
    if (name == QLatin1String("frmLast20")) return showing<frmLast20>();
    if (name == QLatin1String("frmScratchpad")) return showing<frmScratchpad>();
    if (name == QLatin1String("frmAbout")) return showing<frmAbout>();
    if (name == QLatin1String("frmSetUp")) return showing<frmSetUp>();
    if (name == QLatin1String("frmUserdefs")) return showingModal<frmUserdefs>();
    if (name == QLatin1String("frmUserdefs545")) return showingModal<frmUserdefs545>();
    if (name == QLatin1String("frmAdvancedDSP")) return showing<frmAdvancedDSP>();
    return {};
}

} // namespace dovrane
