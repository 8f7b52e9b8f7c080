#include "panels/tool_windows.h"
#include "lists/frmlast20.h"
#include "lists/frmscratchpad.h"
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

} // namespace

std::function<void()> toolWindowOpener(const QString& name) {
    if (name == QLatin1String("frmLast20")) return showing<frmLast20>();
    if (name == QLatin1String("frmScratchpad")) return showing<frmScratchpad>();
    if (name == QLatin1String("frmAbout")) return showing<frmAbout>();
    if (name == QLatin1String("frmSetUp")) return showing<frmSetUp>();
    return {};
}

} // namespace dovrane
