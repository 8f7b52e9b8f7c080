#include "stations/frmilg2rx.h"
#include "ui_frmilg2rx.h"

#include "shell/globals.h"
#include "stations/frmilgqsort.h"
#include "stations/frmilgquery.h"

namespace dovrane {

frmIlg2rx::frmIlg2rx()
    : StationViewer(6, &Ilg2rxOpen,
                    {StationListKind::Broadcast, QStringLiteral("ILG Radio"), QStringLiteral("ILG Radio Database "), 1, 10}),
      ui(std::make_unique<Ui::frmIlg2rx>()) {
    ui->setupUi(this);
    setupViewer({ui->lblTitles, ui->lstIlgq, ui->txtFrequencyA, ui->cmdLoad, ui->cmdQuery, ui->cmdSort, ui->cmdScan,
                 ui->txtScandelay, ui->cmdRezeri, ui->cmdExit, ui->lblProgress, ui->lblProcent});
    connect(ui->cmdSort, &QPushButton::clicked, this, [this] { cmdSort_Click(); });
}

frmIlg2rx::~frmIlg2rx() = default;

Form* frmIlg2rx::queryWindow(bool loadIt) {
    return loadIt ? static_cast<Form*>(forms::load<frmIlgquery>()) : forms::loaded<frmIlgquery>();
}

void frmIlg2rx::showQueryWindow() {
    frmIlgquery* q = forms::load<frmIlgquery>();
    q->show();
    q->raise();
}

void frmIlg2rx::cmdSort_Click() {
    forms::unload<frmIlgqsort>();
    forms::load<frmIlgqsort>()->showModal();
}

bool loadilgftlfile() {
    frmIlg2rx* v = forms::loaded<frmIlg2rx>();
    return v && v->loadList();
}

void sortilgquery() {
    frmIlg2rx* v = forms::loaded<frmIlg2rx>();
    if (!v) return;
    sortStationResult(v->store(), ListSortKey);
    v->showWholeResult();
}

} // namespace dovrane
