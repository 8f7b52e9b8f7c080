#include "scanning/frmscanlist.h"
#include "scanning/kind_file.h"
#include "ui_frmscanlist.h"

#include "drivers/model_tables.h"
#include "lists/grid_columns.h"
#include "platform/busycursor.h"
#include "platform/canvas.h"
#include "platform/dialogs.h"
#include "platform/number_text.h"
#include "platform/one_line_text.h"
#include "platform/text_file.h"
#include "drivers/ar7030/clsar7030.h"
#include "drivers/nrd535/clsnrd535.h"
#include "drivers/nrd545/clsnrd545.h"
#include "drivers/rx320/clsrx320.h"
#include "scanning/level_sample.h"
#include "shell/facade.h"
#include "shell/file_kinds.h"
#include "shell/frmloadfile.h"
#include "shell/frmsavefile.h"
#include "shell/globals.h"
#include "shell/quiet_tune.h"
#include "shell/run_notice.h"
#include "shell/show_panel.h"

#include <QMouseEvent>
#include <QValidator>
#include <QPointer>
#include <QTimer>

namespace dovrane {

namespace {

constexpr int kKind = 11;
const QColor kBack(255, 255, 192);
const QColor kWhite(255, 255, 255);
const QColor kCyan(0, 255, 255);
const QString kNoValid = QStringLiteral("No valid\nFrequencies\nfilled in");
const QString kStopped = QStringLiteral("The list scan has stopped");

QColor qbColour(int n) {
    switch (n) {
    case TrendRising: return {0, 255, 0};
    case TrendFalling: return {255, 0, 0};
    case TrendSteady: return {255, 255, 0};
    default: return kWhite;
    }
}

// A frequency box refuses, whole, what it may not hold (a paste with a line
// break, a second number after a blank) and keeps its text.
class FrequencyBoxValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        return scanlistBoxAccepts(input) ? Acceptable : Invalid;
    }
};

void setBoxBack(QLineEdit* e, const QColor& c) {
    QPalette p = e->palette();
    p.setColor(QPalette::Base, c);
    e->setPalette(p);
}

} // namespace

frmScanlist::frmScanlist()
    : Form(39, &ScanlistOpen), ui(std::make_unique<Ui::frmScanlist>()),
      scan_(noticedSample(run_.sampler(), run_.notice()), noticedTune(run_.notice()),
            [this](int row) { return scanlistFrequency(txtFreqlist[size_t(row)]->text(), FreqMin, FreqMax); }) {
    ui->setupUi(this);
    for (int i = 0; i < ScanlistRows; ++i) {
        txtFreqlist[size_t(i)] = findChild<QLineEdit*>(QStringLiteral("txtFreqlist_%1").arg(i));
        txtFreqlist[size_t(i)]->installEventFilter(this);
        // A box holds a frequency as the panels show it, "00000.000" at most.
        fitTextBox(txtFreqlist[size_t(i)], QStringLiteral("00000.000"));
        // Each box is one line of the scan-list file and is saved as typed:
        // a paste holding a line break, or two numbers, is refused.
        txtFreqlist[size_t(i)]->setValidator(new FrequencyBoxValidator(txtFreqlist[size_t(i)]));
    }
    tmrScanlist_ = new QTimer(this);
    tmrScanlist_->setObjectName(QStringLiteral("tmrScanlist"));
    tmrScanlist_->setTimerType(Qt::PreciseTimer);
    connect(tmrScanlist_, &QTimer::timeout, this, [this] { tmrScanlist_Timer(); });
    connect(ui->cmdStart, &QPushButton::clicked, this, [this] { cmdStart_Click(); });
    connect(ui->cmdStop, &QPushButton::clicked, this, [this] { cmdStop_Click(); });
    connect(ui->cmdContinue, &QPushButton::clicked, this, [this] { cmdContinue_Click(); });
    connect(ui->cmdCls, &QPushButton::clicked, this, [this] { cmdCls_Click(); });
    connect(ui->cmdLoad, &QPushButton::clicked, this, [this] { cmdLoad_Click(); });
    connect(ui->cmdsaveas, &QPushButton::clicked, this, [this] { cmdsaveas_Click(); });
    connect(ui->cmdRezeri, &QPushButton::clicked, this, [this] { cmdRezeri_Click(); });
    connect(ui->cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
}

frmScanlist::~frmScanlist() = default;

Canvas* frmScanlist::canvas() const { return ui->picScanlist; }

void frmScanlist::Form_Load() {
    scan_.clear();
    tmrScanlist_->stop();
    ui->picScanlist->setBackColor(kBack);
    ui->picScanlist->setCanvasSize(620, 320);
    drawFrame();
    ui->cmdStart->setEnabled(true);
    ui->cmdLoad->setEnabled(true);
    ui->cmdsaveas->setEnabled(true);
    ui->cmdRezeri->setEnabled(true);
    ui->cmdExit->setEnabled(true);
    ui->cmdCls->setEnabled(false);
    ui->cmdStop->setEnabled(false);
    ui->cmdContinue->setEnabled(false);
    run_.open(true, {kKind,
                     [] {
                         frmScanlist* w = forms::loaded<frmScanlist>();
                         return w && w->loadscanlistfile();
                     },
                     [] {
                         frmScanlist* w = forms::loaded<frmScanlist>();
                         return w && w->savescanlistfile();
                     }});
}

void frmScanlist::Form_Unload() {
    // A close mid-run gives the receiver back, as "Exit" does.
    run_.close([this] { tmrScanlist_->stop(); });
}

void frmScanlist::drawFrame() {
    Canvas* c = ui->picScanlist;
    c->clear(kBack);
    const QColor black(0, 0, 0);
    c->line(64, 271, 576, 271, black);
    c->line(64, 271, 64, 75, black);
    c->line(576, 271, 576, 75, black);
    for (int i = 0; i <= 10; ++i) {
        c->line(64, 261 - 18 * i, 55, 261 - 18 * i, black);
        c->line(576, 261 - 18 * i, 585, 261 - 18 * i, black);
    }
    for (int r = 0; r < ScanlistRows; ++r) {
        c->line(25 * r + 75, 273, 25 * r + 94, 273, black);
        c->text(25 * r + 77, 275, numText(double(r + 1)), black);
        c->fillBox(25 * r + 75, 290, 25 * r + 94, 310, kWhite);
        for (int k = 0; k <= 4; ++k) {
            c->line(25 * r + 75 + 4 * k, 289, 25 * r + 76 + 4 * k, 289, black);
            c->line(25 * r + 75 + 4 * k, 311, 25 * r + 76 + 4 * k, 311, black);
        }
    }
    const char* labels[] = {"  S1", "  S5", "  S9", "+24", "+48", "+72"};
    for (int i = 0; i < 6; ++i) c->text(30, 255 - 36 * i, QLatin1String(labels[i]), black);
}

void frmScanlist::drawBars(int row) {
    Canvas* c = ui->picScanlist;
    for (int k = 1; k <= ScanlistSamples; ++k) {
        const int x = 25 * row + 74 + k;
        c->line(x, 270, x, 70, kBack);
        c->line(x, 270, x, int(vbRound(270 - 9.0 * scan_.sample(row, k))), Qt::black);
    }
}

void frmScanlist::drawTrends() {
    Canvas* c = ui->picScanlist;
    for (int r = 0; r < ScanlistRows; ++r) {
        for (int j = 1; j < ScanlistTrends; ++j)
            c->fillBox(25 * r + 74 + 2 * j, 290, 25 * r + 73 + 2 * j, 310, qbColour(scan_.trend(r, j)));
        c->fillBox(25 * r + 94, 290, 25 * r + 93, 310, qbColour(scan_.trend(r, ScanlistTrends)));
    }
}

void frmScanlist::setBoxColour(int row, bool current) {
    if (row >= 0 && row < ScanlistRows) setBoxBack(txtFreqlist[size_t(row)], current ? kCyan : kWhite);
}

void frmScanlist::cmdCls_Click() {
    Canvas* c = ui->picScanlist;
    c->fillBox(65, 270, 575, 70, kBack);
    for (int r = 0; r < ScanlistRows; ++r) c->fillBox(25 * r + 75, 290, 25 * r + 95, 310, kWhite);
    ui->cmdContinue->setEnabled(false);
    ui->cmdStart->setEnabled(true);
    scan_.clear();
    ui->lblRuns->setText(QStringLiteral("0000"));
}

void frmScanlist::cmdStart_Click() {
    cmdCls_Click();
    for (int r = 0; r < ScanlistRows; ++r) setBoxColour(r, false);
    int n = scanlistRunsPerUpdate(ui->txtUpdate->text());
    if (n != valRounded(ui->txtUpdate->text())) ui->txtUpdate->setText(QStringLiteral("5"));
    // The first valid row is tuned now, so the first sample is its own.
    if (!scan_.start(n)) {
        dialogs::message(kNoValid, dialogs::Buttons::Ok, dialogs::Icon::Exclamation, QStringLiteral("Error"));
        return;
    }
    setBoxColour(scan_.currentRow(), true);
    run_.begin();
    // A receiver that does not answer here is told of once, with the run.
    if (run_.sampler() && !run_.sampler()->beginRun()) run_.notice().failed();
    ui->cmdStop->setEnabled(true);
    for (QPushButton* b : {ui->cmdStart, ui->cmdCls, ui->cmdContinue, ui->cmdLoad, ui->cmdsaveas}) b->setEnabled(false);
    const float delay = scanlistDelay(ui->txtDelay->text());
    if (delay != float(val(ui->txtDelay->text()))) ui->txtDelay->setText(QStringLiteral("2"));
    ui->lblStartUTC->setText(UtcTimeText);
    tmrScanlist_->setInterval(int(vbRound(double(delay) * 1000)));
    tmrScanlist_->start();
}

void frmScanlist::tmrScanlist_Timer() {
    if (!tmrScanlist_->isActive()) return;
    QPointer<frmScanlist> self(this);
    const ScanlistScan::Tick t = run_.onRunDevice([this] { return scan_.tick(); });
    if (!self || !isLoaded() || !tmrScanlist_->isActive()) return;
    if (t.measured) drawBars(t.row);
    if (t.trends) drawTrends();
    setBoxColour(t.row, false);
    if (t.failed) {
        // One message, after the tick, that names the receiver and the scan.
        run_.stopWith([this] { stopControls(); }, kStopped, QStringLiteral("Scan Frequencies from list"));
        return;
    }
    if (t.noValidRow) {
        cmdStop_Click();
        QTimer::singleShot(0, this, [] {
            dialogs::message(kNoValid, dialogs::Buttons::Ok, dialogs::Icon::Exclamation, QStringLiteral("Error"));
        });
        return;
    }
    setBoxColour(t.next, true);
    ui->lblRuns->setText(formatPattern(double(scan_.passes()), QStringLiteral("0000")));
}

void frmScanlist::stopControls() {
    tmrScanlist_->stop();
    ui->lblEndUTC->setText(UtcTimeText);
    for (QPushButton* b : {ui->cmdCls, ui->cmdContinue, ui->cmdLoad, ui->cmdsaveas}) b->setEnabled(true);
}

void frmScanlist::cmdStop_Click() {
    // Stop, then tell: a notice the run held comes up over a stopped window.
    run_.stop([this] { stopControls(); });
}

void frmScanlist::cmdContinue_Click() {
    for (QPushButton* b : {ui->cmdStart, ui->cmdCls, ui->cmdContinue, ui->cmdLoad, ui->cmdsaveas}) b->setEnabled(false);
    const float delay = scanlistDelay(ui->txtDelay->text());
    if (delay != float(val(ui->txtDelay->text()))) ui->txtDelay->setText(QStringLiteral("2"));
    tmrScanlist_->setInterval(int(vbRound(double(delay) * 1000)));
    tmrScanlist_->start();
    ui->lblEndUTC->clear();
    scan_.resume();
    if (!run_.active()) run_.begin();
}

void frmScanlist::txtFreqlist_Click(int index) {
    if (tmrScanlist_->isActive()) return;
    if (std::optional<double> f = scanlistFrequency(txtFreqlist[size_t(index)]->text(), FreqMin, FreqMax))
        Change2FreqA(*f);
}

bool frmScanlist::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        for (int i = 0; i < ScanlistRows; ++i)
            if (watched == txtFreqlist[size_t(i)]) txtFreqlist_Click(i);
    }
    return Form::eventFilter(watched, event);
}

void frmScanlist::cmdLoad_Click() { showLoadChooser(kKind); }

void frmScanlist::cmdsaveas_Click() { showSaveChooser(kKind); }

void frmScanlist::cmdRezeri_Click() { showCurrentPanel(); }

void frmScanlist::cmdExit_Click() {
    cmdStop_Click();
    unload();
}

bool frmScanlist::loadscanlistfile() {
    BusyCursor busy;
    const std::optional<QStringList> lines = readKindFile(kKind);
    if (!lines) return false;
    const QStringList boxes = scanlistBoxesFromLines(*lines, FreqMin, FreqMax);
    for (int i = 0; i < ScanlistRows; ++i) txtFreqlist[size_t(i)]->setText(boxes[i]);
    ui->cmdStart->setEnabled(true);
    ui->cmdContinue->setEnabled(false);
    return true;
}

bool frmScanlist::savescanlistfile() {
    QStringList boxes;
    for (QLineEdit* e : txtFreqlist) boxes << e->text();
    return writeLines(FileKindPath[kKind] + FileKindName[kKind], scanlistFileLines(boxes, FreqMin, FreqMax));
}

} // namespace dovrane
