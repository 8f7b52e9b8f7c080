#include "panels/rxpanel.h"
#include "drivers/model_tables.h"
#include "drivers/rx_link.h"
#include "platform/spin_button.h"
#include "panels/tool_windows.h"
#include "platform/clickable_label.h"
#include "platform/commport.h"
#include "platform/dialogs.h"
#include "platform/geometry.h"
#include "shell/globals.h"
#include "platform/number_text.h"
#include "platform/one_line_text.h"
#include "shell/run_notice.h"
#include "shell/unloadallforms.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace dovrane {

namespace {

const QString kError = QStringLiteral("Error");
const QString kInputError = QStringLiteral("Input Error");
const QString kOutsideRange = QStringLiteral("Frequency outside range");
const QString kStepOutside = QStringLiteral("Frequency Stepsize\noutside range");
const QString kPortTitle = QStringLiteral("Comm Port");
const QString kPortFailed = QStringLiteral("The serial port could not be opened:\n%1\nThe panel works without the receiver.");
const QString kDefaultStep = QStringLiteral("5");
constexpr double kMaxStep = 100.0;

const std::array<PanelModel, 4> kModels{{
    {1, 3, &AR7030Open, "AR7030", "1200,N,8,1", 2, 3, 0.01, 6, "Frequency\n\xc3\xb6utside range", true, true},
    {2, 19, &NRD535Open, "NRD-535", "4800,N,8,1", 3, 0, 0.001, 3, "Frequency outside range", true, true},
    {3, 23, &RX320Open, "RX-320", "1200,N,8,1", 3, 0, 0.001, 33, "Frequency outside range", false, false},
    {4, 38, &NRD545Open, "NRD-545", "4800,N,8,1", 3, 0, 0.001, 3, "Frequency outside range", true, true},
}};

// The list windows whose frequency box follows the panel, by open flag.
const std::array<const bool*, 6> kListWindows{&BdxcOpen, &OwnOpen, &Files320Open, &Ilg2rxOpen, &LogOpen, &TrackingOpen};

// A frequency typed with a decimal comma reads like one with a point.
double boxValue(const QString& text) { return valComma(text); }

// Limits that were never filled in (both 0) let nothing through.
bool inLimits(double f) { return FreqMax > 0 && FreqMin <= f && f <= FreqMax; }

void warn(const QString& text, const QString& title) {
    dialogs::message(text, dialogs::Buttons::Ok, dialogs::Icon::Exclamation, title);
}

// Runs a button's work with the button disabled, as a guard against itself.
template <class F> void guarded(QAbstractButton* button, F work) {
    if (button) button->setEnabled(false);
    work();
    if (button) button->setEnabled(true);
}

} // namespace

const PanelModel& panelModel(int rxType) {
    for (const PanelModel& m : kModels)
        if (m.rxType == rxType) return m;
    return kModels[0];
}

RxPanel::RxPanel(int rxType, QWidget* parent)
    : PanelForm(panelModel(rxType).positionIndex, panelModel(rxType).openFlag, parent), model_(panelModel(rxType)) {
    setWindowTitle(QString::fromUtf8(model_.caption));
    tmrMovefreq_ = new QTimer(this);
    tmrMovefreq_->setObjectName(QStringLiteral("tmrMovefreq"));
    tmrMovefreq_->setInterval(MoveIntervalMs);
    connect(tmrMovefreq_, &QTimer::timeout, this, [this] { tmrMovefreq_Timer(); });
    wheelHook_ = new WheelHook(this, [this](int delta) { return wheelTurned(delta); });
}

RxPanel::~RxPanel() {
    clearOpenPanel(this);
    if (keysHooked_ && qApp) qApp->removeEventFilter(this);
}

void RxPanel::setupPanel() {
    PanelForm::setupPanel();
    bindControls();
}

void RxPanel::bindControls() {
    auto button = [this](const QString& name) { return findChild<QAbstractButton*>(name); };
    txtFrequencyA = findChild<QLineEdit*>(QStringLiteral("txtFrequencyA"));
    lblMfreq = findChild<QLabel*>(QStringLiteral("lblMfreq"));
    for (int i = 0; i < 10; ++i) {
        cmd0to9[size_t(i)] = button(QStringLiteral("cmd0to9_%1").arg(i));
        if (cmd0to9[size_t(i)])
            connect(cmd0to9[size_t(i)], &QAbstractButton::clicked, this, [this, i] { cmd0to9_Click(i); });
    }
    auto bind = [this](QAbstractButton* b, auto handler) {
        if (b) connect(b, &QAbstractButton::clicked, this, handler);
        return b;
    };
    cmdDot = bind(button(QStringLiteral("cmdDot")), [this] { cmdDot_Click(); });
    cmdBack = bind(button(QStringLiteral("cmdBack")), [this] { cmdBack_Click(); });
    cmdEnterfreq = bind(button(QStringLiteral("cmdEnterfreq")), [this] { cmdEnterfreq_Click(); });
    cmdEnterS = bind(button(QStringLiteral("cmdEnterS")), [this] { cmdEnterS_Click(); });
    cmdEnterMem = bind(button(QStringLiteral("cmdEnterMem")), [this] { cmdEnterMem_Click(); });
    if (cmdEnterMem && !model_.hasMemoryEntry) cmdEnterMem->hide();
    cmdMovefreq = bind(button(QStringLiteral("cmdMovefreq")), [this] { cmdMovefreq_Click(); });
    for (int i = 0; i < 2; ++i)
        cmdfreqstep[size_t(i)] =
            bind(button(QStringLiteral("cmdfreqstep_%1").arg(i)), [this, i] { cmdfreqstep_Click(i); });

    cmbFreqstep = findChild<QComboBox*>(QStringLiteral("cmbFreqstep"));
    if (cmbFreqstep) {
        cmbFreqstep->setEditable(true);
        // The step is the text as typed: Enter neither adds it to the list
        // nor completes it to a listed step ("12" is not "12.5").
        cmbFreqstep->setInsertPolicy(QComboBox::NoInsert);
        cmbFreqstep->setCompleter(nullptr);
        cmbFreqstep->setEditText(kDefaultStep);
    }
    spnFreqstep = findChild<SpinButton*>(QStringLiteral("spnFreqstep"));
    if (spnFreqstep) {
        connect(spnFreqstep, &SpinButton::SpinUp, this, [this] { spnFreqstep_SpinUp(); });
        connect(spnFreqstep, &SpinButton::SpinDown, this, [this] { spnFreqstep_SpinDown(); });
    }
    lblInt5 = findChild<ClickableLabel*>(QStringLiteral("lblInt5"));
    if (lblInt5) connect(lblInt5, &ClickableLabel::clicked, this, [this] { lblInt5_Click(); });
    lbnInt1 = findChild<ClickableLabel*>(QStringLiteral("lbnInt1"));
    if (lbnInt1) connect(lbnInt1, &ClickableLabel::clicked, this, [this] { lbnInt1_Click(); });
    if (txtFrequencyA) {
        // The box's text is what other windows take as the frequency, into
        // their files too: a paste holding a line break never enters it.
        refuseControlCharacters(txtFrequencyA);
        txtFrequencyA->setMouseTracking(true);
        connect(txtFrequencyA, &QLineEdit::returnPressed, this, [this] { txtFrequencyA_Enter(); });
    }
}

// ---- menus ----

void RxPanel::fillDirectMenu(QMenu* menu) {
    if (model_.hasUpdate) addMenuItem(menu, QStringLiteral("mnuUpdate"), QStringLiteral("Update"), [this] { RxUpdatefull(); });
    addStandardItem(menu, QStringLiteral("mnuSetup"));
    menu->addSeparator();
    addStandardItem(menu, QStringLiteral("mnuLast20"));
    addStandardItem(menu, QStringLiteral("mnuScratchpad"));
    menu->addSeparator();
    addStandardItem(menu, QStringLiteral("mnuClose"));
    addStandardItem(menu, QStringLiteral("mnuExit"));
}

void RxPanel::rxClockMenu() {
    if (auto open = toolWindowOpener(QStringLiteral("frmRxClock"))) open();
}

// ---- load and unload ----

void RxPanel::Form_Load() {
    PanelForm::Form_Load();
    initmousewheel(this, 0);
    wheelArmed_ = false;
    wheelSteps_.reset();
    redimBwTexts(model_.bwTextsUpper);
    stepDir_ = 1;
    createDriverAndTables();
    // From here on the facade and the frequency handler reach this panel.
    setOpenPanel(this);
    fillStepList();
    const bool portOpen = Comm1 && [this] {
        openPort();
        return Comm1->isOpen();
    }();
    modelLoad(portOpen);
    if (!keysHooked_) {
        qApp->installEventFilter(this);
        keysHooked_ = true;
    }
}

void RxPanel::fillStepList() {
    if (!cmbFreqstep) return;
    cmbFreqstep->clear();
    for (int i = model_.firstStep; i <= 18; ++i)
        if (!StepTable[size_t(i)].isEmpty()) cmbFreqstep->addItem(StepTable[size_t(i)]);
    cmbFreqstep->setEditText(kDefaultStep);
}

void RxPanel::openPort() {
    attachSerialReceive(*Comm1);
    Comm1->setDataFolder(DataFolder);
    Comm1->setCommPort(int(vbRound(double(Settings[1]))));
    Comm1->setSettings(QLatin1String(model_.lineSettings));
    if (!Comm1->open()) warn(kPortFailed.arg(Comm1->errorString()), kPortTitle);
}

void RxPanel::beforeToolsUnload() {
    // Nothing goes to the receiver before the tool windows have closed: the
    // close's own steps are the last word it hears. Stepping stops here; the
    // hold it took is given back with those steps.
    stoppedMoving_ = haltMoving();
    if (keysHooked_) {
        qApp->removeEventFilter(this);
        keysHooked_ = false;
    }
    clearOpenPanel(this);
}

void RxPanel::afterToolsUnload() {
    if (stoppedMoving_) continuousStopped();
    stoppedMoving_ = false;
    modelUnload();
    releaseDriver();
    releaseWelcomeDrivers();
    // Also a port that closed itself when its device went away: it must not
    // open again for whatever comes after the panel. What is still owed to
    // the receiver gets its last try as the port closes.
    if (Comm1) Comm1->close();
}

// ---- keypad and entries ----

void RxPanel::cmd0to9_Click(int index) {
    if (lblMfreq && index >= 0 && index <= 9) lblMfreq->setText(lblMfreq->text() + QString::number(index));
}

void RxPanel::cmdDot_Click() {
    if (lblMfreq) lblMfreq->setText(lblMfreq->text() + QLatin1Char('.'));
}

void RxPanel::cmdBack_Click() {
    if (!lblMfreq) return;
    QString t = lblMfreq->text();
    if (!t.isEmpty()) t.chop(1);
    lblMfreq->setText(t);
}

void RxPanel::cmdEnterfreq_Click() {
    guarded(cmdEnterfreq, [this] {
        const double f = lblMfreq ? val(lblMfreq->text()) : 0;
        if (inLimits(f)) tune(f);
        else warn(QString::fromUtf8(model_.freqOutOfRange), kError);
        if (lblMfreq) lblMfreq->clear();
    });
}

void RxPanel::cmdEnterS_Click() {
    guarded(cmdEnterS, [this] {
        const QString typed = lblMfreq ? lblMfreq->text() : QString();
        const double s = val(typed);
        if (cmbFreqstep) {
            if (s < model_.minStep - 1e-9 || s > kMaxStep) {
                warn(kStepOutside, kError);
                cmbFreqstep->setEditText(kDefaultStep);
            } else {
                cmbFreqstep->setEditText(typed);
            }
        }
        if (lblMfreq) lblMfreq->clear();
    });
}

std::optional<double> RxPanel::boxStep() const {
    const double s = cmbFreqstep ? val(cmbFreqstep->currentText()) : val(kDefaultStep);
    if (s >= model_.minStep - 1e-9 && s <= kMaxStep) return s;
    return std::nullopt;
}

std::optional<double> RxPanel::checkedStep() {
    if (const std::optional<double> s = boxStep()) return s;
    stepOutOfRange();
    return std::nullopt;
}

void RxPanel::stepOutOfRange() {
    stopMoving();
    warn(kStepOutside, kError);
    if (cmbFreqstep) cmbFreqstep->setEditText(kDefaultStep);
}

bool RxPanel::tune(double kHz) {
    if (setDriverFrequencyA(kHz)) {
        tuneFailing_ = false;
        return true;
    }
    // The first tune in a row that could not go out is told once. The driver
    // tells it itself unless it had told the same silence before (a read the
    // receiver did not answer, while tunes still went out); then the panel
    // does, once the click or tick has returned.
    if (!tuneFailing_ && !rxNoticePending() && Comm1 && Comm1->isWanted() && Comm1->openCount() > 0) tellRxNoticeLater(Comm1->deviceName());
    tuneFailing_ = true;
    return false;
}

// ---- stepping ----

void RxPanel::step(int direction) {
    stepDir_ = direction < 0 ? -1 : 1;
    if (spnFreqstep) spnFreqstep->setEnabled(false);
    const std::optional<double> s = checkedStep();
    bool sent = false;
    if (s && FreqMax > 0 && FreqMin <= FreqMax) {
        const double stepHz = vbRound(*s * 1000);
        const double fHz = vbInt(boxValue(txtFrequencyA ? txtFrequencyA->text() : QString()) * 1000 + 0.49);
        double f = (fHz + stepDir_ * stepHz) / 1000;
        // Both ends hold, whichever way the step went: a box showing "?" or a
        // typed frequency beyond the limits never reaches the receiver.
        f = std::clamp(f, FreqMin, FreqMax);
        sent = tune(f);
        if (txtFrequencyA) txtFrequencyA->repaint();
    }
    if (spnFreqstep) spnFreqstep->setEnabled(true);
    // Continuous stepping ends when a step cannot go out.
    if (!sent) stopMoving();
}

void RxPanel::cmdfreqstep_Click(int index) {
    QAbstractButton* b = index >= 0 && index < 2 ? cmdfreqstep[size_t(index)] : nullptr;
    guarded(b, [this, index] { step(index == 0 ? -1 : 1); });
}

void RxPanel::cmdMovefreq_Click() {
    moveOn_ = 1 - moveOn_;
    if (cmdMovefreq) cmdMovefreq->setText(moveOn_ ? QStringLiteral("Stop") : QStringLiteral("GO"));
    if (moveOn_) {
        continuousStarted();
        tmrMovefreq_->start();
    } else {
        tmrMovefreq_->stop();
        continuousStopped();
    }
}

void RxPanel::tmrMovefreq_Timer() {
    if (!moveOn_ || !isLoaded()) {
        tmrMovefreq_->stop();
        return;
    }
    if (!boxStep()) {
        // A tick opens no box: stepping stops and the box holds "5" again
        // now, and the message comes once the tick is over.
        stopMoving();
        if (cmbFreqstep) cmbFreqstep->setEditText(kDefaultStep);
        QTimer::singleShot(0, this, [] { warn(kStepOutside, kError); });
        return;
    }
    step(stepDir_);
}

bool RxPanel::haltMoving() {
    if (!moveOn_) return false;
    moveOn_ = 0;
    tmrMovefreq_->stop();
    if (cmdMovefreq) cmdMovefreq->setText(QStringLiteral("GO"));
    return true;
}

void RxPanel::stopMoving() {
    if (haltMoving()) continuousStopped();
}

// ---- rounding labels and the frequency box ----

void RxPanel::lblInt5_Click() {
    const double v = boxValue(txtFrequencyA ? txtFrequencyA->text() : QString());
    const float rounded = float(vbInt((v + 2.5) / 5) * 5);
    Change2FreqA(double(rounded));
}

void RxPanel::lbnInt1_Click() {
    const double v = boxValue(txtFrequencyA ? txtFrequencyA->text() : QString());
    const float rounded = float(vbInt(v + 0.5));
    Change2FreqA(double(rounded));
}

void RxPanel::txtFrequencyA_Enter() {
    if (!txtFrequencyA) return;
    const double f = boxValue(txtFrequencyA->text());
    if (inLimits(f)) {
        tune(f);
    } else {
        txtFrequencyA->clear();
        warn(kOutsideRange, kInputError);
    }
}

// ---- the frequency handler ----

QString RxPanel::formatFrequency(double kHz) const {
    // A receiver's word for a band edge reads back a little beside it (the
    // AR7030's 10 kHz as 9.99906): the limits hold for what is shown.
    const double scale = model_.freqDecimals == 2 ? 100.0 : 1000.0;
    if (!inLimits(std::round(kHz * scale) / scale)) return QStringLiteral("?");
    QString s = formatPattern(kHz, model_.freqDecimals == 2 ? QStringLiteral("####0.00") : QStringLiteral("####0.000"));
    s.replace(QLatin1Char(','), QLatin1Char('.'));
    return s;
}

QString RxPanel::frequencyText() const { return txtFrequencyA ? txtFrequencyA->text() : QString(); }

void RxPanel::frequencyAChanged(double kHz) {
    const QString s = formatFrequency(kHz);
    if (txtFrequencyA) txtFrequencyA->setText(s);
    for (const bool* flag : kListWindows) {
        if (!*flag) continue;
        if (Form* w = windowFor(flag))
            if (QWidget* box = w->findChild<QWidget*>(QStringLiteral("txtFrequencyA"))) box->setProperty("text", s);
    }
    // The last-20 history, and any other tool that follows the frequency.
    notifyFrequencyShown(s);
    if (TrackingOpen && TrackingActive) {
        TrackFreq = kHz;
        updatetracking();
    }
}

// ---- keyboard and wheel ----

void RxPanel::showKeyDigits() {
    if (lblMfreq) lblMfreq->setText(keyDigits_);
}

bool RxPanel::panelKeyDown(int keyCode, int shift) {
    const KeyAction a = panelKeyAction(model_.rxType, keyCode, shift, PanelLock != 0);
    switch (a.command) {
    case KeyCommand::None: return false;
    case KeyCommand::StepUp: spnFreqstep_SpinUp(); break;
    case KeyCommand::StepDown: spnFreqstep_SpinDown(); break;
    case KeyCommand::KeypadDigit:
        keyDigits_ += QString::number(a.arg);
        showKeyDigits();
        break;
    case KeyCommand::KeypadDot:
        keyDigits_ += QLatin1Char('.');
        showKeyDigits();
        break;
    case KeyCommand::KeypadBack:
        if (!keyDigits_.isEmpty()) keyDigits_.chop(1);
        showKeyDigits();
        break;
    case KeyCommand::EnterFreq:
        cmdEnterfreq_Click();
        keyDigits_.clear();
        break;
    case KeyCommand::EnterMem:
        cmdEnterMem_Click();
        keyDigits_.clear();
        break;
    case KeyCommand::EnterStep:
        cmdEnterS_Click();
        keyDigits_.clear();
        break;
    case KeyCommand::MoveToggle: cmdMovefreq_Click(); break;
    default: modelKey(a); break;
    }
    return true;
}

bool RxPanel::wheelTurned(int angleDelta) {
    if (!wheelArmed_ || !isLoaded()) return false;
    const int steps = wheelSteps_.feed(angleDelta);
    for (int i = 0; i < std::abs(steps); ++i) step(steps > 0 ? 1 : -1);
    return true;
}

bool RxPanel::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress && keysHooked_) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w->window() == this && isVisible()) {
            const PanelKey k = panelKeyOf(static_cast<QKeyEvent*>(event));
            if (panelKeyDown(k.code, k.shift)) return true;
        }
        return false;
    }
    if (type == QEvent::MouseMove && watched == txtFrequencyA) {
        // The wheel tunes once the pointer has moved into the inner part of
        // the box; a move through its margin band disarms it.
        const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
        const int x = pxToTwips(p.x()), y = pxToTwips(p.y());
        const int w = pxToTwips(txtFrequencyA->width()), h = pxToTwips(txtFrequencyA->height());
        wheelArmed_ = 150 < x && x < w - 150 && 75 < y && y < h - 75;
        return false;
    }
    return PanelForm::eventFilter(watched, event);
}

} // namespace dovrane
