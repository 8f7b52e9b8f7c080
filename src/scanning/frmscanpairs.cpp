#include "scanning/frmscanpairs.h"
#include "scanning/kind_file.h"
#include "ui_frmscanpairs.h"

#include "drivers/model_tables.h"
#include "drivers/rx_link.h"
#include "lists/grid_columns.h"
#include "platform/busycursor.h"
#include "platform/clickable_label.h"
#include "platform/dialogs.h"
#include "platform/number_text.h"
#include "platform/one_line_text.h"
#include "platform/text_file.h"
#include "shell/facade.h"
#include "shell/file_kinds.h"
#include "shell/frmloadfile.h"
#include "shell/frmsavefile.h"
#include "shell/globals.h"
#include "shell/quiet_tune.h"
#include "shell/run_notice.h"
#include "shell/show_panel.h"

#include <QCheckBox>
#include <QPointer>
#include <QSignalBlocker>
#include <QTimer>

namespace dovrane {

namespace {

constexpr int kKind = 12;
const QColor kScanned(128, 255, 255);
const QColor kWhite(255, 255, 255);
const QString kNoneIncluded = QStringLiteral("No pair in the scan range\nis included");
const QString kStopped = QStringLiteral("The pair scan has stopped");
const QString kTitle = QStringLiteral("Scan Frequency pairs from list");
const QString kNothingToSave = QStringLiteral("No pairs are loaded,\nso there is nothing to save");

void setBack(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

} // namespace

frmScanpairs::frmScanpairs() : Form(40, &ScanpairsOpen), ui(std::make_unique<Ui::frmScanpairs>()) {
    ui->setupUi(this);
    setBack(this, QColor(255, 255, 192));
    rowPair_.fill(-1);
    for (int r = 0; r < Rows; ++r) {
        const size_t i = size_t(r);
        lblNr[i] = findChild<QLabel*>(QStringLiteral("lblNr_%1").arg(r));
        lblChannelA[i] = findChild<ClickableLabel*>(QStringLiteral("lblChannelA_%1").arg(r));
        lblChannelB[i] = findChild<ClickableLabel*>(QStringLiteral("lblChannelB_%1").arg(r));
        // A channel as a pair file holds it, to the hertz.
        for (QLabel* l : {static_cast<QLabel*>(lblChannelA[i]), static_cast<QLabel*>(lblChannelB[i])})
            fitLabel(l, QStringLiteral("00000.000"));
        chkChannel[i] = findChild<QCheckBox*>(QStringLiteral("chkChannel_%1").arg(r));
        txtRemarks[i] = findChild<QLineEdit*>(QStringLiteral("txtRemarks_%1").arg(r));
        // A remark ends its pair's line in the pair file: a pasted line break
        // becomes a blank.
        keepOnOneLine(txtRemarks[i]);
        // The rows stand 16 pixels apart: the box shows its font's full height.
        fitTextBoxHeight(txtRemarks[i]);
        connect(lblChannelA[i], &ClickableLabel::clicked, this, [this, r] { lblChannel_Click(0, r); });
        connect(lblChannelB[i], &ClickableLabel::clicked, this, [this, r] { lblChannel_Click(1, r); });
        // An edit goes to the pair its row showed when it was made.
        connect(chkChannel[i], &QCheckBox::toggled, this, [this, r](bool on) {
            const int n = rowPair_[size_t(r)];
            if (n >= 0 && n < Pairs.size()) Pairs[n].on = on ? 1 : 0;
        });
        connect(txtRemarks[i], &QLineEdit::textChanged, this, [this, r](const QString& text) {
            const int n = rowPair_[size_t(r)];
            if (n >= 0 && n < Pairs.size()) Pairs[n].remark = text;
        });
    }
    tmrScanpairs_ = new QTimer(this);
    tmrScanpairs_->setObjectName(QStringLiteral("tmrScanpairs"));
    tmrScanpairs_->setTimerType(Qt::PreciseTimer);
    connect(tmrScanpairs_, &QTimer::timeout, this, [this] { tmrScanpairs_Timer(); });
    connect(ui->cmdStart, &QPushButton::clicked, this, [this] { cmdStart_Click(); });
    connect(ui->cmdStop, &QPushButton::clicked, this, [this] { cmdStop_Click(); });
    connect(ui->cmdContinue, &QPushButton::clicked, this, [this] { cmdContinue_Click(); });
    connect(ui->cmdLoad, &QPushButton::clicked, this, [this] { cmdLoad_Click(); });
    connect(ui->cmdsaveas, &QPushButton::clicked, this, [this] { cmdsaveas_Click(); });
    connect(ui->cmdRezeri, &QPushButton::clicked, this, [this] { cmdRezeri_Click(); });
    connect(ui->cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
    connect(ui->txtStart, &QLineEdit::textChanged, this, [this] { applyStart(); });
    connect(ui->txtEnd, &QLineEdit::textChanged, this, [this] { applyEnd(); });
    connect(ui->txtDelay, &QLineEdit::textChanged, this, [this] { applyDelay(); });
    connect(ui->vsbActnr, &QScrollBar::valueChanged, this, [this](int v) {
        shown_ = v;
        showactivepairs(shown_);
    });
    connect(ui->optScanAB_0, &QRadioButton::toggled, this, [this] { paintSides(); });
}

frmScanpairs::~frmScanpairs() = default;

PairRange frmScanpairs::range() const { return {start_, end_, int(Pairs.size()) - 1}; }

void frmScanpairs::Form_Load() {
    ui->cmdStart->setEnabled(false);
    ui->cmdContinue->setEnabled(false);
    ui->optScanAB_0->setChecked(true);
    paintSides();
    delay_ = 1;
    start_ = end_ = 0;
    // A list loaded while the window was open before is still there.
    if (!Pairs.isEmpty()) showList();
    else showactivepairs(0);
    // The pair scan only tunes: no sampler.
    run_.open(false, {kKind,
                      [] {
                          frmScanpairs* w = forms::loaded<frmScanpairs>();
                          return w && w->loadscanpairsfile();
                      },
                      [] {
                          frmScanpairs* w = forms::loaded<frmScanpairs>();
                          return w && w->savescanpairsfile();
                      }});
}

void frmScanpairs::Form_Unload() {
    run_.close([this] { tmrScanpairs_->stop(); });
}

void frmScanpairs::paintSides() {
    const bool a = ui->optScanAB_0->isChecked();
    setBack(lblChannelA[5], a ? kScanned : kWhite);
    setBack(lblChannelB[5], a ? kWhite : kScanned);
}

void frmScanpairs::showactivepairs(int actnr) {
    const PairRange r = range();
    for (int row = 0; row < Rows; ++row) {
        const size_t i = size_t(row);
        const int n = actnr + row - 5;
        const bool show = n >= 0 && n <= r.last && (row == 5 || inRange(n, r));
        rowPair_[i] = show ? n : -1;
        QSignalBlocker b1(chkChannel[i]), b2(txtRemarks[i]);
        lblNr[i]->setText(show ? numText(double(n)) : QString());
        lblChannelA[i]->setText(show ? Pairs[n].a : QString());
        lblChannelB[i]->setText(show ? Pairs[n].b : QString());
        chkChannel[i]->setChecked(show && Pairs[n].on == 1);
        txtRemarks[i]->setText(show ? Pairs[n].remark : QString());
        // A row without a pair takes no edits.
        chkChannel[i]->setEnabled(show);
        txtRemarks[i]->setEnabled(show);
    }
}

void frmScanpairs::applyStart() {
    const BoxRule rule = pairStartRule(ui->txtStart->text(), range().last);
    start_ = int(rule.value);
    if (rule.shown && *rule.shown != ui->txtStart->text()) {
        QSignalBlocker block(ui->txtStart);
        ui->txtStart->setText(*rule.shown);
    }
}

void frmScanpairs::applyEnd() {
    const BoxRule rule = pairEndRule(ui->txtEnd->text(), range().last);
    end_ = std::max(0, int(rule.value));
    if (rule.shown && *rule.shown != ui->txtEnd->text()) {
        QSignalBlocker block(ui->txtEnd);
        ui->txtEnd->setText(*rule.shown);
    }
}

void frmScanpairs::applyDelay() {
    const BoxRule rule = pairDelayRule(ui->txtDelay->text());
    delay_ = float(rule.value);
    if (rule.shown && *rule.shown != ui->txtDelay->text()) {
        QSignalBlocker block(ui->txtDelay);
        ui->txtDelay->setText(*rule.shown);
    }
}

void frmScanpairs::setRunButtons(bool enabled) {
    for (QWidget* w : std::initializer_list<QWidget*>{ui->cmdStart, ui->cmdContinue, ui->cmdLoad, ui->cmdsaveas,
                                                      ui->vsbActnr, ui->optScanAB_0, ui->optScanAB_1})
        w->setEnabled(enabled);
}

void frmScanpairs::startRun(bool fromStart) {
    if (Pairs.isEmpty()) return;
    setRunButtons(false);
    tmrScanpairs_->setInterval(int(vbRound(double(delay_) * 1000)));
    if (fromStart || !inRange(cur_, range())) cur_ = start_;
    run_.begin();
    // An NRD's hold asks the receiver: a silence it met is the run's to tell.
    if (rxNoticePending()) run_.notice().failed();
    alive_.start();
    questionFailed_ = false;
    tmrScanpairs_->start();
}

void frmScanpairs::cmdStart_Click() { startRun(true); }

void frmScanpairs::cmdContinue_Click() { startRun(false); }

void frmScanpairs::stopControls() {
    tmrScanpairs_->stop();
    setRunButtons(true);
    if (Pairs.isEmpty()) {
        ui->cmdStart->setEnabled(false);
        ui->cmdContinue->setEnabled(false);
    }
}

void frmScanpairs::cmdStop_Click() {
    // Stop, then tell: a notice the run held comes up over a stopped window.
    run_.stop([this] { stopControls(); });
}

void frmScanpairs::tmrScanpairs_Timer() {
    if (!tmrScanpairs_->isActive()) return;
    const std::optional<int> found = findIncluded(Pairs, cur_, range());
    if (!found) {
        cmdStop_Click();
        QTimer::singleShot(0, this, [] {
            dialogs::message(kNoneIncluded, dialogs::Buttons::Ok, dialogs::Icon::Exclamation, kTitle);
        });
        return;
    }
    cur_ = *found;
    const ScanPair& p = Pairs[cur_];
    // A channel outside the receiver's range (or not a number) is passed by
    // without a message; the scan goes on with the next pair.
    QPointer<frmScanpairs> self(this);
    std::optional<ReopenPin> pin;
    run_.pinRunDevice(pin);
    const TuneResult result = tuneQuietly(val(ui->optScanAB_0->isChecked() ? p.a : p.b));
    if (!self || !isLoaded() || !tmrScanpairs_->isActive()) return;
    // A tuning only shows that the line takes bytes, not that the receiver
    // is there: now and then the receiver is asked something.
    std::optional<bool> answered;
    if (result != TuneResult::Failed && alive_.due()) {
        answered = Comm1 && receiverAnswers(RxType, *Comm1);
        if (!self || !isLoaded() || !tmrScanpairs_->isActive()) return;
    }
    if (result == TuneResult::Failed || answered == false) {
        questionFailed_ = questionFailed_ || answered == false;
        if (run_.failed()) {
            // One message, after the tick, that names the receiver and the scan.
            run_.stopWith([this] { stopControls(); }, kStopped, kTitle);
            return;
        }
    } else if (answered == true) {
        questionFailed_ = false;
        run_.answered();
    } else if (!questionFailed_) {
        // A notice taken over stays for the stop; a question that went
        // unanswered is not undone by a tuning that went out.
        run_.sent();
    }
    showactivepairs(cur_);
    cur_ = nextPair(cur_, range());
}

void frmScanpairs::lblChannel_Click(int side, int row) {
    if (tmrScanpairs_->isActive()) return;
    const double f = val((side == 0 ? lblChannelA : lblChannelB)[size_t(row)]->text());
    if (f >= FreqMin && f <= FreqMax) Change2FreqA(f);
}

void frmScanpairs::cmdLoad_Click() { showLoadChooser(kKind); }

void frmScanpairs::cmdsaveas_Click() {
    // No chosen file is replaced by a list of nothing.
    if (Pairs.isEmpty()) {
        dialogs::message(kNothingToSave, dialogs::Buttons::Ok, dialogs::Icon::Exclamation,
                         QStringLiteral("Save Pairs"));
        return;
    }
    showSaveChooser(kKind);
}

void frmScanpairs::cmdRezeri_Click() { showCurrentPanel(); }

void frmScanpairs::cmdExit_Click() {
    cmdStop_Click();
    unload();
}

bool frmScanpairs::loadscanpairsfile() {
    BusyCursor busy;
    const std::optional<QStringList> lines = readKindFile(kKind);
    if (!lines) return false;
    Pairs = scanPairsFromLines(*lines);
    PairsFileName = FileKindName[kKind];
    showList();
    return true;
}

void frmScanpairs::showList() {
    const int last = int(Pairs.size()) - 1;
    {
        QSignalBlocker block(ui->vsbActnr);
        ui->vsbActnr->setMaximum(std::max(last, 0));
        ui->vsbActnr->setValue(0);
    }
    ui->txtEnd->setText(numText(double(std::max(last, 0))));
    applyEnd();
    // A start beyond a shorter list comes back into it.
    applyStart();
    if (!inRange(cur_, range())) cur_ = start_;
    ui->lblFilename->setText(PairsFileName);
    showactivepairs(0);
    // An empty file gives nothing to scan.
    ui->cmdStart->setEnabled(!Pairs.isEmpty());
    ui->cmdContinue->setEnabled(false);
}

bool frmScanpairs::savescanpairsfile() {
    if (Pairs.isEmpty()) return false;
    return writeLines(FileKindPath[kKind] + FileKindName[kKind], scanPairFileLines(Pairs));
}

} // namespace dovrane
