#include "stations/frmaeroquery.h"
#include "ui_frmaeroquery.h"

#include "shell/globals.h"
#include "stations/frmaero2rx.h"

namespace dovrane {

frmAeroquery::frmAeroquery()
    : StationQueryForm(37, &AeroqueryOpen, QStringLiteral("aeroquery.ini")), ui(std::make_unique<Ui::frmAeroquery>()) {
    ui->setupUi(this);
    setupQuery({ui->chkQuery_0, ui->chkQuery_1}, {ui->cmbQuery_0, ui->cmbQuery_1, ui->cmbQuery_2}, ui->cmdSearchaero,
               ui->cmdClear, ui->cmdCancel);
}

frmAeroquery::~frmAeroquery() = default;

StationViewer* frmAeroquery::viewer() const { return forms::loaded<frmAero2rx>(); }

StationQuery frmAeroquery::query() const {
    StationQuery q;
    q.frequency = ui->chkQuery_0->isChecked();
    q.from = ui->cmbQuery_0->currentText();
    q.to = ui->cmbQuery_1->currentText();
    q.network = ui->chkQuery_1->isChecked();
    q.networkText = ui->cmbQuery_2->currentText();
    return q;
}

void frmAeroquery::showBack(const StationQuery& q) {
    ui->cmbQuery_0->setEditText(q.from);
    ui->cmbQuery_1->setEditText(q.to);
}

} // namespace dovrane
