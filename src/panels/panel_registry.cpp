#include "panels/panel_registry.h"
#include "panels/frmar7030.h"
#include "panels/frmnorx.h"
#include "panels/frmnrd535.h"
#include "panels/frmnrd545.h"
#include "panels/frmrx320.h"
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
    welcome::panelOpeners[1] = openReceiverPanel<frmAR7030>;
    welcome::panelOpeners[3] = openReceiverPanel<frmRX320>;
    welcome::panelOpeners[2] = openReceiverPanel<frmNRD535>;
    welcome::panelOpeners[4] = openReceiverPanel<frmNRD545>;
}

} // namespace dovrane
