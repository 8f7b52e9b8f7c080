#include "lists/frmown.h"
#include "ui_frmown.h"

#include "lists/list_files.h"
#include "lists/list_table_model.h"
#include "platform/busycursor.h"
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

frmOwn::frmOwn() : ListWindow(20, &OwnOpen), ui(std::make_unique<Ui::frmOwn>()), model_(new ListTableModel(this)) {
    ui->setupUi(this);
    bindListFrame();
    setupGrid(ui->grdOwn);
    ui->grdOwn->setModel(model_);
    connect(ui->grdOwn, &QTableView::clicked, this,
            [this](const QModelIndex& i) { grdOwn_Click(i.row(), i.column()); });
    connect(ui->cmdLoad, &QPushButton::clicked, this, [this] { cmdLoad_Click(); });
}

frmOwn::~frmOwn() = default;

QTableView* frmOwn::grid() const { return ui->grdOwn; }
QTableWidget* frmOwn::titles() const { return ui->grdTitles; }
QString frmOwn::cell(int row, int column) const { return model_->text(row, column); }

void frmOwn::Form_Load() {
    setTitleRow(ui->grdTitles,
                {QStringLiteral(" Organisation"), QStringLiteral(" ITU"), QStringLiteral(" Lang"),
                 QStringLiteral(" Time(UTC)"), QStringLiteral(" Frequencies")},
                kTitleTwips, ui->grdOwn);
    rows_.clear();
    model_->setSource(1, int(kGridTwips.size()), [this](int row, int column) -> QString {
        const int k = row - 1;
        return k >= 0 && k < int(rows_.size()) ? rows_[size_t(k)].value(column) : QString();
    });
    setColumnTwips(ui->grdOwn, kGridTwips);
    registerLoader(kKind, 0, [] { loadownfile(); });
}

void frmOwn::cmdLoad_Click() { showLoadChooser(kKind); }

void frmOwn::showRecords() {
    BusyCursor busy;
    rows_.clear();
    rows_.reserve(OwnRecords.size());
    for (size_t r = 1; r < OwnRecords.size(); ++r) rows_.push_back(ownRow(OwnRecords[r]));
    model_->refresh(int(rows_.size()) + 1);
    ui->lblDBname->setText(FileKindName[kKind]);
}

void frmOwn::grdOwn_Click(int row, int column) {
    // Every frequency shown tunes, the eighth too.
    if (column < 4 || column > 11) return;
    tuneTo(cell(row, column));
    ui->grdOwn->setCurrentIndex(model_->index(row, kModeColumn));
    QString letter = cell(row, kModeColumn);
    SetRx2mfa(letter);
}

void loadownfile() {
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
    OwnRecords.assign(1, QString());
    OwnRecords.reserve(size_t(file->lines.size()) + 1);
    for (const QString& line : file->lines) OwnRecords.push_back(fitListLine(line));
    if (frmOwn* w = forms::loaded<frmOwn>()) w->showRecords();
    ListWindow::tellLeftOut(capacity, file->leftOut);
}

} // namespace dovrane
