#include "lists/frm320files.h"
#include "ui_frm320files.h"

#include "lists/list_table_model.h"
#include "shell/facade.h"
#include "shell/file_kinds.h"
#include "shell/frmloadfile.h"
#include "shell/globals.h"

#include <QFontDatabase>
#include <QLabel>
#include <QTableWidget>

namespace dovrane {

namespace {

constexpr int kKind = 10;
const std::vector<int> kTwips{2130, 975, 345, 1605, 1080, 450, 450, 2085};
// The widest text of each column: the frequency as "00000.000", a mode of
// three letters, times of four digits, 20 characters of notes; names,
// places and languages as long as the receiver's own lists hold them.
const std::vector<GridColumn> kColumns{
    {2130, QStringLiteral("Radio Sweden Intl.")}, {975, QStringLiteral("00000.000")},
    {345, QStringLiteral("USB")},                 {1605, QStringLiteral("Horby, Sweden")},
    {1080, QStringLiteral("Portuguese")},         {450, QStringLiteral("0000")},
    {450, QStringLiteral("0000")},                {2085, QStringLiteral("Notes of the station")}};

} // namespace

frm320Files::frm320Files() : GridListWindow(1, &Files320Open), ui(std::make_unique<Ui::frm320Files>()) {
    ui->setupUi(this);
    bindGrid(
        ui->grd320Files, ui->grdTitles, [this](int row, int column) { grd320Files_Click(row, column); },
        ui->cmdLoad, [this] { cmdLoad_Click(); });
    ui->grd320Files->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
}

frm320Files::~frm320Files() = default;

void frm320Files::Form_Load() {
    showRowsSource(kTwips);
    setTitleRow(ui->grdTitles,
                {QStringLiteral("Name"), QStringLiteral("Frequency"), QStringLiteral("Md"), QStringLiteral("Location"),
                 QStringLiteral("Language"), QStringLiteral("Strt"), QStringLiteral("End"), QStringLiteral("Notes")},
                kTwips, ui->grd320Files, kColumns);
    registerLoader(kKind, 0, [] { return load320file(); });
}

void frm320Files::cmdLoad_Click() { showLoadChooser(kKind); }

void frm320Files::showRecords() { showRecordRows(F320Records, f320Row, ui->lblDBname, FileKindName[kKind]); }

void frm320Files::grd320Files_Click(int row, int) {
    // The mode first, then the frequency; the current cell ends in the frequency column.
    ui->grd320Files->setCurrentIndex(model_->index(row, 2));
    QString letter = cell(row, 2).left(1).toLower();
    SetRx2mfa(letter);
    ui->grd320Files->setCurrentIndex(model_->index(row, 1));
    tuneTo(cell(row, 1));
}

bool load320file() {
    return GridListWindow::loadRecords<frm320Files>(kKind, listCapacity(5), F320Records, f320Fields);
}

} // namespace dovrane
