#include "panels/panel_registry.h"
#include "panels/frmnorx.h"
#include "shell/frmwelcome.h"

namespace dovrane {

void registerPanelWindows() {
    welcome::panelOpeners[0] = [] {
        frmNoRx* p = forms::load<frmNoRx>();
        if (!p || !p->isLoaded()) return false;
        p->show();
        p->raise();
        return true;
    };
}

} // namespace dovrane
