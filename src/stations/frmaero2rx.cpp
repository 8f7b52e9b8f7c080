#include "stations/frmaero2rx.h"
#include "ui_frmaero2rx.h"

#include "shell/globals.h"
#include "stations/frmaeroquery.h"

namespace dovrane {

frmAero2rx::frmAero2rx()
    : StationViewer(36, &Aero2rxOpen,
                    {StationListKind::Aero, QStringLiteral("Aero list"), QStringLiteral("Aero database "), 2, 60}),
      ui(std::make_unique<Ui::frmAero2rx>()) {
    ui->setupUi(this);
    setupViewer({ui->lblTitle, ui->lstAero, ui->txtFrequencyA, ui->cmdLoad, ui->cmdQuery, nullptr, ui->cmdScan,
                 ui->txtScandelay, ui->cmdRezeri, ui->cmdExit, ui->lblProgress, ui->lblProcent});
}

frmAero2rx::~frmAero2rx() = default;

Form* frmAero2rx::queryWindow(bool loadIt) {
    return loadIt ? static_cast<Form*>(forms::load<frmAeroquery>()) : forms::loaded<frmAeroquery>();
}

void frmAero2rx::showQueryWindow() {
    frmAeroquery* q = forms::load<frmAeroquery>();
    q->show();
    q->raise();
}

bool loadaeroftlfile() {
    frmAero2rx* v = forms::loaded<frmAero2rx>();
    return v && v->loadList();
}

} // namespace dovrane
