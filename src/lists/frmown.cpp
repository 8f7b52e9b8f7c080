#include "lists/frmown.h"
#include "ui_frmown.h"

#include "lists/list_files.h"
#include "lists/list_table_model.h"
#include "shell/facade.h"
#include "shell/file_kinds.h"
#include "shell/frmloadfile.h"
#include "shell/globals.h"

#include <QLabel>
#include <QTableWidget>

namespace dovrane {

namespace {

constexpr int kKind = 2;
constexpr int kModeColumn = 13;
const std::vector<int> kTitleTwips{2200, 550, 550, 1000, 4835};
const std::vector<int> kGridTwips{2200, 550, 550, 1000, 620, 620, 620, 620, 620, 620, 620, 620, 300, 400};

} // namespace

frmOwn::frmOwn() : GridListWindow(20, &OwnOpen), ui(std::make_unique<Ui::frmOwn>()) {
    ui->setupUi(this);
    bindGrid(
        ui->grdOwn, ui->grdTitles, [this](int row, int column) { grdOwn_Click(row, column); }, ui->cmdLoad,
        [this] { cmdLoad_Click(); });
}

frmOwn::~frmOwn() = default;

void frmOwn::Form_Load() {
    setTitleRow(ui->grdTitles,
                {QStringLiteral(" Organisation"), QStringLiteral(" ITU"), QStringLiteral(" Lang"),
                 QStringLiteral(" Time(UTC)"), QStringLiteral(" Frequencies")},
                kTitleTwips, ui->grdOwn);
    showRowsSource(kGridTwips);
    registerLoader(kKind, 0, [] { loadownfile(); });
}

void frmOwn::cmdLoad_Click() { showLoadChooser(kKind); }

void frmOwn::showRecords() { showRecordRows(OwnRecords, ownRow, ui->lblDBname, FileKindName[kKind]); }

void frmOwn::grdOwn_Click(int row, int column) {
    // Every frequency shown tunes, the eighth too.
    if (column < 4 || column > 11) return;
    tuneTo(cell(row, column));
    ui->grdOwn->setCurrentIndex(model_->index(row, kModeColumn));
    QString letter = cell(row, kModeColumn);
    SetRx2mfa(letter);
}

void loadownfile() { GridListWindow::loadRecords<frmOwn>(kKind, listCapacity(5), OwnRecords, fitListLine); }

} // namespace dovrane
