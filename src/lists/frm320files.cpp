#include "lists/frm320files.h"
#include "ui_frm320files.h"

#include "lists/list_table_model.h"
#include "platform/busycursor.h"
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

} // namespace

frm320Files::frm320Files()
    : ListWindow(1, &Files320Open), ui(std::make_unique<Ui::frm320Files>()), model_(new ListTableModel(this)) {
    ui->setupUi(this);
    bindListFrame();
    setupGrid(ui->grd320Files);
    ui->grd320Files->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    ui->grd320Files->setModel(model_);
    connect(ui->grd320Files, &QTableView::clicked, this,
            [this](const QModelIndex& i) { grd320Files_Click(i.row(), i.column()); });
    connect(ui->cmdLoad, &QPushButton::clicked, this, [this] { cmdLoad_Click(); });
}

frm320Files::~frm320Files() = default;

QTableView* frm320Files::grid() const { return ui->grd320Files; }
QTableWidget* frm320Files::titles() const { return ui->grdTitles; }
QString frm320Files::cell(int row, int column) const { return model_->text(row, column); }

void frm320Files::Form_Load() {
    setTitleRow(ui->grdTitles,
                {QStringLiteral("Name"), QStringLiteral("Frequency"), QStringLiteral("Md"), QStringLiteral("Location"),
                 QStringLiteral("Language"), QStringLiteral("Strt"), QStringLiteral("End"), QStringLiteral("Notes")},
                kTwips, ui->grd320Files);
    rows_.clear();
    model_->setSource(1, int(kTwips.size()), [this](int row, int column) -> QString {
        const int k = row - 1;
        return k >= 0 && k < int(rows_.size()) ? rows_[size_t(k)].value(column) : QString();
    });
    setColumnTwips(ui->grd320Files, kTwips);
    registerLoader(kKind, 0, [] { load320file(); });
}

void frm320Files::cmdLoad_Click() { showLoadChooser(kKind); }

void frm320Files::showRecords() {
    BusyCursor busy;
    rows_.clear();
    rows_.reserve(F320Records.size());
    for (size_t r = 1; r < F320Records.size(); ++r) rows_.push_back(f320Row(F320Records[r]));
    model_->refresh(int(rows_.size()) + 1);
    ui->lblDBname->setText(FileKindName[kKind]);
}

void frm320Files::grd320Files_Click(int row, int) {
    // The mode first, then the frequency; the current cell ends in the frequency column.
    ui->grd320Files->setCurrentIndex(model_->index(row, 2));
    QString letter = cell(row, 2).left(1).toLower();
    SetRx2mfa(letter);
    ui->grd320Files->setCurrentIndex(model_->index(row, 1));
    tuneTo(cell(row, 1));
}

void load320file() {
    const QString path = FileKindPath[kKind] + FileKindName[kKind];
    const int capacity = listCapacity(5);
    std::optional<ListFileLines> file;
    {
        BusyCursor busy;
        file = readListFile(path, capacity);
    }
    if (!file) {
        ListWindow::tellUnreadable(path);
        return;
    }
    F320Records.assign(1, F320Record{});
    F320Records.reserve(size_t(file->lines.size()) + 1);
    for (const QString& line : file->lines) F320Records.push_back(f320Fields(line));
    if (frm320Files* w = forms::loaded<frm320Files>()) w->showRecords();
    ListWindow::tellLeftOut(capacity, file->leftOut);
}

} // namespace dovrane
