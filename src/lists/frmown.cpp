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
// The widest text of each grid column, from the file's layout: an
// organisation of 19 characters in capitals, codes of three capitals, the
// on-air time, frequencies to the hertz ("29999.999"), the empty column, the
// mode letter.
const std::vector<GridColumn> kColumns = [] {
    std::vector<GridColumn> c{{2200, anyCapitals(19)},
                              {550, QStringLiteral("WWW")},
                              {550, QStringLiteral("WWW")},
                              {1000, QStringLiteral("0000-2400")}};
    for (int k = 0; k < 8; ++k) c.push_back({620, QStringLiteral("00000.000")});
    c.push_back({300, QString()});
    c.push_back({400, QStringLiteral("W")});
    return c;
}();

} // namespace

frmOwn::frmOwn() : GridListWindow(20, &OwnOpen), ui(std::make_unique<Ui::frmOwn>()) {
    ui->setupUi(this);
    bindGrid(
        ui->grdOwn, ui->grdTitles, [this](int row, int column) { grdOwn_Click(row, column); }, ui->cmdLoad,
        [this] { cmdLoad_Click(); });
}

frmOwn::~frmOwn() = default;

void frmOwn::Form_Load() {
    showRowsSource(kGridTwips);
    setTitleRow(ui->grdTitles,
                {QStringLiteral(" Organisation"), QStringLiteral(" ITU"), QStringLiteral(" Lang"),
                 QStringLiteral(" Time(UTC)"), QStringLiteral(" Frequencies")},
                kTitleTwips, ui->grdOwn, kColumns);
    registerLoader(kKind, 0, [] { return loadownfile(); });
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

bool loadownfile() { return GridListWindow::loadRecords<frmOwn>(kKind, listCapacity(5), OwnRecords, fitListLine); }

} // namespace dovrane
