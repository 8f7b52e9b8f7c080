#include "lists/frmbdxc.h"
#include "ui_frmbdxc.h"

#include "lists/list_files.h"
#include "lists/list_table_model.h"
#include "platform/busycursor.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "shell/file_kinds.h"
#include "shell/frmloadfile.h"
#include "shell/globals.h"
#include "platform/date_text.h"

#include <QLabel>
#include <QTableWidget>

namespace dovrane {

namespace {

constexpr int kKind = 1;
const std::vector<int> kTitleTwips{1400, 1800, 1120, 4680};
const std::vector<int> kGridTwips{1400, 1800, 1120, 620, 620, 620, 620, 620, 620, 620};
const QString kPrompt = QStringLiteral(
    "Enter time in UTC (Format: hhmm).\nTo enter current time in UTC just press enter\nEnter 'all' to get all records in the file");

} // namespace

frmBdxc::frmBdxc() : GridListWindow(4, &BdxcOpen), ui(std::make_unique<Ui::frmBdxc>()) {
    ui->setupUi(this);
    bindGrid(
        ui->grdBdxc, ui->grdTitles, [this](int row, int column) { grdBdxc_Click(row, column); }, ui->cmdLoad,
        [this] { cmdLoad_Click(); });
}

frmBdxc::~frmBdxc() = default;

void frmBdxc::Form_Load() {
    setTitles({QStringLiteral(" Country"), QStringLiteral(" Broadcast Org"), QStringLiteral(" Time(UTC)"),
               QStringLiteral(" Frequencies")});
    shown_.clear();
    model_->setSource(1, int(kGridTwips.size()), [this](int row, int column) -> QString {
        const int k = row - 1;
        if (k < 0 || k >= int(shown_.size())) return QString();
        const int r = shown_[size_t(k)];
        if (r < 0 || r >= int(BdxcRecords.size())) return QString();
        return bdxcRow(BdxcRecords[size_t(r)]).value(column);
    });
    setColumnTwips(ui->grdBdxc, kGridTwips);
    registerLoader(kKind, 0, [] { loadbdxcfile(); });
}

void frmBdxc::setTitles(const QStringList& texts) { setTitleRow(ui->grdTitles, texts, kTitleTwips, ui->grdBdxc); }

void frmBdxc::cmdLoad_Click() { showLoadChooser(kKind); }

void frmBdxc::select(const QString& answer) {
    const bool all = answer.toLower() == QLatin1String("all");
    if (!all && !bdxcTimeAnswer(answer)) return;
    BusyCursor busy;
    shown_.clear();
    for (int r = 1; r < int(BdxcRecords.size()); ++r)
        if (all || bdxcOnAir(BdxcRecords[size_t(r)], answer)) shown_.push_back(r);
    BdxcShownCount = int(shown_.size());
    model_->refresh(BdxcShownCount + 1);
    ui->lblDBname->setText(FileKindName[kKind]);
}

void frmBdxc::grdBdxc_Click(int row, int column) {
    if (row > BdxcShownCount || column < 3 || column > 9) return;
    tuneTo(cell(row, column));
}

void loadbdxcfile() {
    frmBdxc* w = forms::loaded<frmBdxc>();
    const int capacity = listCapacity(4);
    const std::optional<ListFileLines> file = GridListWindow::readKindFile(kKind, capacity);
    if (!file) return;
    {
        BusyCursor busy;
        BdxcRecords = resolveBdxcLines(file->lines);
        BdxcRecords.insert(BdxcRecords.begin(), QString());
    }
    ListWindow::tellLeftOut(capacity, file->leftOut);
    // Without its window the list waits in memory; there is nothing to select for.
    if (!w || !w->isLoaded()) return;
    // The default answer is UTC now, "hhmm".
    const QString now = formatDatePattern(Clock::utcNow(), QStringLiteral("hhmm"));
    const QString answer = dialogs::input(kPrompt, QStringLiteral("Selection Criterium"), now).value_or(QString());
    // The question waits for the user: the window may have closed meanwhile.
    w = forms::loaded<frmBdxc>();
    if (!w) return;
    w->select(answer);
    w->setTitles(bdxcTitles(FileKindName[kKind]));
}

} // namespace dovrane
