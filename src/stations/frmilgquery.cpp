#include "stations/frmilgquery.h"
#include "ui_frmilgquery.h"

#include "shell/globals.h"
#include "stations/frmilg2rx.h"

namespace dovrane {

frmIlgquery::frmIlgquery()
    : StationQueryForm(9, &IlgqueryOpen, QStringLiteral("ilgquery.ini")), ui(std::make_unique<Ui::frmIlgquery>()) {
    ui->setupUi(this);
    setupQuery({ui->chkQuery_0, ui->chkQuery_1, ui->chkQuery_2, ui->chkQuery_3, ui->chkQuery_4, ui->chkQuery_5},
               {ui->cmbQuery_0, ui->cmbQuery_1, ui->cmbQuery_2, ui->cmbQuery_3, ui->cmbQuery_4, ui->cmbQuery_5},
               ui->cmdSearchilg, ui->cmdClear, ui->cmdCancel);
}

frmIlgquery::~frmIlgquery() = default;

StationViewer* frmIlgquery::viewer() const { return forms::loaded<frmIlg2rx>(); }

StationQuery frmIlgquery::query() const {
    StationQuery q;
    q.frequency = ui->chkQuery_0->isChecked();
    q.from = ui->cmbQuery_0->currentText();
    q.to = ui->cmbQuery_1->currentText();
    q.language = ui->chkQuery_1->isChecked();
    q.languageText = ui->cmbQuery_2->currentText();
    q.station = ui->chkQuery_2->isChecked();
    q.stationText = ui->cmbQuery_3->currentText();
    q.country = ui->chkQuery_3->isChecked();
    q.countryText = ui->cmbQuery_4->currentText();
    q.onAir = ui->chkQuery_4->isChecked();
    q.area = ui->chkQuery_5->isChecked();
    q.areaText = ui->cmbQuery_5->currentText();
    return q;
}

void frmIlgquery::showBack(const StationQuery& q) {
    ui->cmbQuery_0->setEditText(q.from);
    ui->cmbQuery_1->setEditText(q.to);
}

} // namespace dovrane
