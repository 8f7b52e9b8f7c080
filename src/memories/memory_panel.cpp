#include "memories/memory_panel.h"

#include "drivers/model_tables.h"
#include "drivers/rx_link.h"
#include "panels/frmar7030.h"
#include "panels/frmnrd535.h"
#include "panels/frmnrd545.h"
#include "panels/frmrx320.h"
#include "shell/form.h"

namespace dovrane {

std::optional<bool> refreshPanelAfterSet(int rxType) {
    switch (RxModel(rxType)) {
    case RxModel::Ar7030:
        if (frmAR7030* p = forms::loaded<frmAR7030>()) return p->RxUpdatefull();
        break;
    case RxModel::Nrd535:
        if (frmNRD535* p = forms::loaded<frmNRD535>()) return p->RxUpdatebasics();
        break;
    default: break;
    }
    return std::nullopt;
}

void showNrd545StatusOnPanel(const QString& status) {
    if (frmNRD545* p = forms::loaded<frmNRD545>()) p->NRD545A_RxStatusChanged(status);
}

void showRx320SettingOnPanel(double kHz, int mode, int bandwidth, int agc) {
    frmRX320* p = forms::loaded<frmRX320>();
    if (!p) return;
    p->RX320A_FrequencyAChanged(kHz);
    p->RX320A_ModeChanged(mode);
    p->RX320A_BandwidthChanged(bandwidth);
    p->RX320A_AgcspeedChanged(agc);
}

} // namespace dovrane
