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
// The widest text of each grid column, from the file's layout: a country of
// 16 characters and an organisation of 17, both in capitals, the on-air time,
// and frequencies after their blank as the loader writes them back, to the
// hertz ("29999.999").
const std::vector<GridColumn> kColumns = [] {
    std::vector<GridColumn> c{{1400, anyCapitals(16)}, {1800, anyCapitals(17)}, {1120, QStringLiteral("0000-2400")}};
    for (int k = 0; k < 7; ++k) c.push_back({620, QStringLiteral(" 00000.000")});
    return c;
}();
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
    showRowsSource(kGridTwips);
    setTitles({QStringLiteral(" Country"), QStringLiteral(" Broadcast Org"), QStringLiteral(" Time(UTC)"),
               QStringLiteral(" Frequencies")});
    registerLoader(kKind, 0, [] { return loadbdxcfile(); });
}

void frmBdxc::setTitles(const QStringList& texts) {
    setTitleRow(ui->grdTitles, texts, kTitleTwips, ui->grdBdxc, kColumns);
}

void frmBdxc::cmdLoad_Click() { showLoadChooser(kKind); }

void frmBdxc::select(const QString& answer) {
    const bool all = answer.toLower() == QLatin1String("all");
    if (!all && !bdxcTimeAnswer(answer)) return;
    BusyCursor busy;
    // The grid keeps its own copy of the records selected (shared texts, no
    // formatting until a row is drawn): a later load replaces BdxcRecords
    // before its question is answered, and a refused answer must leave on
    // screen (and under a click) what this selection chose.
    std::vector<QString> chosen;
    chosen.reserve(BdxcRecords.size());
    for (size_t r = 1; r < BdxcRecords.size(); ++r)
        if (all || bdxcOnAir(BdxcRecords[r], answer)) chosen.push_back(BdxcRecords[r]);
    shown_ = std::move(chosen);
    BdxcShownCount = int(shown_.size());
    model_->setRowSource(BdxcShownCount + 1, model_->columnCount(), [this](int row) {
        const size_t k = size_t(row - 1);
        return row >= 1 && k < shown_.size() ? bdxcRow(shown_[k]) : QStringList();
    });
    ui->lblDBname->setText(FileKindName[kKind]);
}

void frmBdxc::grdBdxc_Click(int row, int column) {
    if (row > BdxcShownCount || column < 3 || column > 9) return;
    tuneTo(cell(row, column));
}

bool loadbdxcfile() {
    frmBdxc* w = forms::loaded<frmBdxc>();
    const int capacity = listCapacity(4);
    const std::optional<ListFileLines> file = GridListWindow::readKindFile(kKind, capacity);
    if (!file) return false;
    {
        BusyCursor busy;
        BdxcRecords = resolveBdxcLines(file->lines);
        BdxcRecords.insert(BdxcRecords.begin(), QString());
    }
    ListWindow::tellLeftOut(capacity, file->leftOut);
    // Without its window the list waits in memory; there is nothing to select for.
    if (!w || !w->isLoaded()) return true;
    // The default answer is UTC now, "hhmm".
    const QString now = formatDatePattern(Clock::utcNow(), QStringLiteral("hhmm"));
    const QString answer = dialogs::input(kPrompt, QStringLiteral("Selection Criterium"), now).value_or(QString());
    // The question waits for the user: the window may have closed meanwhile.
    w = forms::loaded<frmBdxc>();
    if (!w) return true;
    w->select(answer);
    w->setTitles(bdxcTitles(FileKindName[kKind]));
    return true;
}

} // namespace dovrane
