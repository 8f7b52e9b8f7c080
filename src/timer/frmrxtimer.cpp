#include "timer/frmrxtimer.h"
#include "shell/frmsetup.h"
#include "ui_frmrxtimer.h"

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/spin_button.h"
#include "shell/globals.h"
#include "timer/owed_line_off.h"
#include "timer/timer_texts.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace dovrane {

namespace {

namespace tt = timertexts;

const QColor RowColour{0xFF, 0xFF, 0x80};       // &H80FFFF: waiting or done
const QColor RunningColour{0xFF, 0x80, 0x00};   // &H80FF: the running event, the clock while on
const QColor ClockColour{0xFF, 0xFF, 0xC0};     // &HC0FFFF

template <class T, size_t N> void gather(QWidget* w, std::array<T*, N>& out, const QString& name) {
    for (size_t i = 0; i < N; ++i) out[i] = w->findChild<T*>(name + QLatin1Char('_') + QString::number(i));
}

QString clockText(const QDateTime& t) { return t.toString(QStringLiteral("yyyy MM dd hh:mm:ss")); }

} // namespace

frmRxTimer::frmRxTimer() : Form(25, &RxTimerOpen), ui(std::make_unique<Ui::frmRxTimer>()) {
    ui->setupUi(this);
    tmrCurrenTime_ = new QTimer(this);
    tmrCurrenTime_->setInterval(980);
    tmrTestprog_ = new QTimer(this);
    tmrTestprog_->setInterval(RunTickMs);
    tmrDuration_ = new QTimer(this);
    tmrDuration_->setInterval(RunTickMs);
    for (QTimer* t : {tmrCurrenTime_, tmrTestprog_, tmrDuration_}) t->setTimerType(Qt::PreciseTimer);
    connect(tmrCurrenTime_, &QTimer::timeout, this, [this] { tmrCurrenTime_Timer(); });
    connect(tmrTestprog_, &QTimer::timeout, this, [this] { tmrTestprog_Timer(); });
    connect(tmrDuration_, &QTimer::timeout, this, [this] { tmrDuration_Timer(); });
    bindControls();
    connect(&setUpNotifier(), &SetUpNotifier::closed, this, [this] {
        if (!isLoaded() || !editor_) return;
        editor_->followOptions();
        showEditor();
        // The fixed slots' rows show what their events will send.
        for (int n = 1; n <= 6; ++n) {
            if (!programme_.progfixed[size_t(n)]) continue;
            std::array<QString, 6> texts;
            for (size_t i = 0; i < 6; ++i) texts[i] = rows_[size_t(n)].setting[i]->text();
            TimerEditor::followOptions(editor_->rxType(), programme_.prog[size_t(n)], texts);
            for (size_t i = 0; i < 6; ++i) rows_[size_t(n)].setting[i]->setText(texts[i]);
        }
    });
}

frmRxTimer::~frmRxTimer() = default;

void frmRxTimer::bindControls() {
    gather(this, lblDate, QStringLiteral("lblDate"));
    gather(this, lblTime, QStringLiteral("lblTime"));
    gather(this, lblRxSetting, QStringLiteral("lblRxSetting"));
    gather(this, lblFreq, QStringLiteral("lblFreq"));
    gather(this, SpinDate, QStringLiteral("SpinDate"));
    gather(this, spnTime, QStringLiteral("spnTime"));
    gather(this, spnFreq, QStringLiteral("spnFreq"));
    gather(this, spnRxSetting, QStringLiteral("spnRxSetting"));
    gather(this, cmdTimerOnoff, QStringLiteral("cmdTimerOnoff"));
    gather(this, cmdLineoutOnoff, QStringLiteral("cmdLineoutOnoff"));
    for (int n = 1; n <= 6; ++n) {
        Row& r = rows_[size_t(n)];
        const QString s = QString::number(n);
        gather(this, r.date, QStringLiteral("lblDate") + s);
        gather(this, r.time, QStringLiteral("lblTime") + s);
        gather(this, r.setting, QStringLiteral("lblRxSetting") + s);
        gather(this, r.freq, QStringLiteral("lblFreq") + s);
        gather(this, r.cmdFixClr, QStringLiteral("cmdFixClr") + s);
        for (int i = 0; i < 2; ++i)
            connect(r.cmdFixClr[size_t(i)], &QAbstractButton::clicked, this, [this, n, i] { cmdFixClr_Click(n, i); });
    }

    auto spins = [this](auto& array, void (frmRxTimer::*handler)(int, bool)) {
        for (int i = 0; i < int(array.size()); ++i) {
            connect(array[size_t(i)], &SpinButton::SpinUp, this, [this, handler, i] { (this->*handler)(i, true); });
            connect(array[size_t(i)], &SpinButton::SpinDown, this, [this, handler, i] { (this->*handler)(i, false); });
        }
    };
    spins(SpinDate, &frmRxTimer::SpinDate_Spin);
    spins(spnTime, &frmRxTimer::spnTime_Spin);
    spins(spnFreq, &frmRxTimer::spnFreq_Spin);
    spins(spnRxSetting, &frmRxTimer::spnRxSetting_Spin);

    for (int i = 0; i < 2; ++i) {
        connect(cmdTimerOnoff[size_t(i)], &QAbstractButton::clicked, this, [this, i] { cmdTimerOnoff_Click(i); });
        connect(cmdLineoutOnoff[size_t(i)], &QAbstractButton::clicked, this, [this, i] { cmdLineoutOnoff_Click(i); });
    }
    connect(ui->cmdClrAll, &QAbstractButton::clicked, this, [this] { cmdClrAll_Click(); });
    connect(ui->cmdExit, &QAbstractButton::clicked, this, [this] { cmdExit_Click(); });
    connect(ui->cmdRX, &QAbstractButton::clicked, this, [this] { cmdRX_Click(); });
    connect(ui->cmdUTC, &QAbstractButton::clicked, this, [this] { cmdUTC_Click(); });
}

QDateTime frmRxTimer::utcNow() const { return Clock::utcNow(); }

void frmRxTimer::Form_Load() {
    rx_ = std::make_unique<TimerReceiver>(RxType);
    editor_ = std::make_unique<TimerEditor>(RxType);
    getztime();
    editor_->tpduration = 10;
    getrxsetting();
    lineoutonoff(0);
    cmdTimerOnoff[0]->hide();
    cmdTimerOnoff[1]->show();
    cmdTimerOnoff[1]->setEnabled(false);
    for (int n = 1; n <= 6; ++n) setRowColour(n, RowColour);
    setBackground(ui->lblNameUTC, ClockColour);
    setBackground(ui->lblUTC, ClockColour);
    tmrCurrenTime_Timer();
    tmrCurrenTime_->start();
}

void frmRxTimer::Form_Unload() {
    // Closing during a run ends it as "Timer Off" would: the receiver is not
    // left with its line output on or held in remote.
    if (programme_.state() != TimerProgramme::State::Editing) {
        std::optional<ReopenPin> pin;
        device_.pin(pin);
        stopEvent();
        programme_.stopRun();
        tmrTestprog_->stop();
        releaseHold();
    }
    tmrCurrenTime_->stop();
    // Outside the timer the AR7030 and RX-320 line outputs play at their set
    // level, which is where a lost event left them: no switch-off is owed.
    // An NRD's timer relay stays owed beyond the window.
    if (RxType == 1 || RxType == 3) {
        lineoutonoff(1);
        owedlineoff::settle();
    }
    if (rx_) rx_->release();
    // Told once the window has given the receiver back.
    notice_.release();
}

void frmRxTimer::showEditor() {
    const TimerEditor& e = *editor_;
    for (int i = 0; i < 3; ++i) {
        lblDate[size_t(i)]->setText(e.dateText(i));
        lblTime[size_t(i)]->setText(e.timeText(i));
    }
    for (int k = 0; k < 8; ++k) lblFreq[size_t(k)]->setText(e.freqText(k));
    for (int i = 0; i < 6; ++i) {
        lblRxSetting[size_t(i)]->setText(e.settingText[size_t(i)]);
        spnRxSetting[size_t(i)]->setEnabled(e.settingEnabled[size_t(i)] && RxType != 0);
    }
}

void frmRxTimer::getztime() {
    ui->cmdUTC->setEnabled(false);
    editor_->setStart(utcNow());
    showEditor();
    ui->cmdUTC->setEnabled(true);
}

void frmRxTimer::cmdUTC_Click() { getztime(); }

void frmRxTimer::getrxsetting() {
    if (rx_) rx_->read(*editor_);
    showEditor();
}

void frmRxTimer::cmdRX_Click() {
    ui->cmdRX->setEnabled(false);
    QPointer<frmRxTimer> self(this);
    getrxsetting();
    if (self) ui->cmdRX->setEnabled(true);
}

void frmRxTimer::SpinDate_Spin(int i, bool up) {
    editor_->spinDate(i, up);
    showEditor();
}

void frmRxTimer::spnTime_Spin(int i, bool up) {
    editor_->spinTime(i, up);
    showEditor();
}

void frmRxTimer::spnFreq_Spin(int k, bool up) {
    editor_->spinFreq(k, up);
    showEditor();
}

void frmRxTimer::spnRxSetting_Spin(int i, bool up) {
    editor_->spinRxSetting(i, up);
    showEditor();
}

bool frmRxTimer::toolate(int kind, const QDateTime& start) {
    if (!TimerProgramme::tooLate(start, utcNow())) return false;
    dialogs::message(kind == 1 ? tt::TooLateProgram : tt::TooLateStart, dialogs::Buttons::Ok,
                     dialogs::Icon::Exclamation, tt::ConflictInTime);
    return true;
}

bool frmRxTimer::tooearly(int slot) {
    if (!programme_.tooEarly(slot, editor_->start())) return false;
    dialogs::message(tt::StartsBeforeEnd, dialogs::Buttons::Ok, dialogs::Icon::Exclamation, tt::ConflictOfEvents);
    return true;
}

void frmRxTimer::showRow(int n) {
    Row& r = rows_[size_t(n)];
    for (int i = 0; i < 3; ++i) {
        r.date[size_t(i)]->setText(lblDate[size_t(i)]->text());
        r.time[size_t(i)]->setText(lblTime[size_t(i)]->text());
    }
    for (int i = 0; i < 6; ++i) r.setting[size_t(i)]->setText(lblRxSetting[size_t(i)]->text());
    for (int k = 0; k < 8; ++k) r.freq[size_t(k)]->setText(editor_->freqText(k));
}

void frmRxTimer::clearRow(int n) {
    Row& r = rows_[size_t(n)];
    for (QLabel* l : r.date) l->clear();
    for (QLabel* l : r.time) l->clear();
    for (QLabel* l : r.setting) l->clear();
    for (QLabel* l : r.freq) l->clear();
}

void frmRxTimer::setRowColour(int n, const QColor& colour) {
    Row& r = rows_[size_t(n)];
    for (QLabel* l : r.date) setBackground(l, colour);
    for (QLabel* l : r.time) setBackground(l, colour);
    for (QLabel* l : r.setting) setBackground(l, colour);
    for (QLabel* l : r.freq) setBackground(l, colour);
}

void frmRxTimer::showStackButtons() {
    const bool editing = programme_.state() == TimerProgramme::State::Editing;
    for (int n = 1; n <= 6; ++n) {
        rows_[size_t(n)].cmdFixClr[0]->setEnabled(editing && programme_.fixEnabled(n));
        rows_[size_t(n)].cmdFixClr[1]->setEnabled(editing && programme_.clrEnabled(n));
    }
    cmdTimerOnoff[1]->setEnabled(programme_.progfixed[1]);
    ui->cmdClrAll->setEnabled(editing && programme_.progfixed[1]);
}

void frmRxTimer::cmdFixClr_Click(int n, int index) {
    if (n < 1 || n > 6 || programme_.state() != TimerProgramme::State::Editing) return;
    if (index == 0) {
        if (!programme_.fixEnabled(n)) return;
        if (n == 1 ? toolate(1, editor_->start()) : tooearly(n)) return;
        programme_.fix(n, editor_->slotFields());
        showRow(n);
    } else {
        if (!programme_.clear(n)) return;
        clearRow(n);
    }
    showStackButtons();
}

void frmRxTimer::cmdClrAll_Click() {
    if (dialogs::message(tt::ClearAllQuestion, dialogs::Buttons::YesNoCancel, dialogs::Icon::Question,
                         tt::TimerProgramming) != dialogs::Answer::Yes)
        return;
    if (programme_.state() != TimerProgramme::State::Editing) return;
    programme_.clearAll();
    for (int n = 6; n >= 1; --n) clearRow(n);
    showStackButtons();
}

void frmRxTimer::lineoutonoff(int onoff) {
    if (onoff != 0 && onoff != 1) return;
    bool ok = !rx_ || rx_->lineOut(onoff);
    // The output shows as on only once the receiver has taken the switch:
    // the write goes out also to a receiver that is switched off.
    if (ok && onoff == 1 && rx_) ok = rx_->heard();
    const bool on = onoff == 1 && ok;
    // "Line Out On" (index 1) shows while the output is off, and the other way round.
    cmdLineoutOnoff[1]->setVisible(!on);
    cmdLineoutOnoff[0]->setVisible(on);
    // Switched on, the output is as the timer wants it. A switch-off that
    // went out proves nothing while one is owed to a receiver that stopped
    // answering: the debt's own try asks the receiver first.
    if (ok && onoff == 1) owedlineoff::settle();
    if (!ok && onoff == 0) oweLineOff();
    if (!ok && programme_.state() == TimerProgramme::State::Running && onoff == 1) failRun();
}

void frmRxTimer::timeronoff(int idx) {
    if (idx == 1) {
        if (programme_.state() != TimerProgramme::State::Editing) return;
        dialogs::message(tt::SwitchedOn, dialogs::Buttons::Ok, dialogs::Icon::Exclamation, tt::StartTitle);
        if (!isLoaded() || !programme_.progfixed[1]) return;
        // The programme is what runs, so its first slot is what must lie ahead.
        if (toolate(2, programme_.slotStart(1))) return;
        if (!programme_.startRun()) return;
        device_.take();
        setWindowTitle(tt::TimerOnCaption);
        cmdTimerOnoff[0]->show();
        cmdTimerOnoff[1]->hide();
        ui->fraSetRx->setEnabled(false);
        ui->cmdExit->setEnabled(false);
        ui->cmdClrAll->setEnabled(false);
        lineoutonoff(0);
        cmdLineoutOnoff[1]->setEnabled(false);
        showStackButtons();
        setBackground(ui->lblNameUTC, RunningColour);
        setBackground(ui->lblUTC, RunningColour);
        tmrTestprog_->start(RunTickMs);
        if (RxType == 2 || RxType == 4) hold_.emplace();
    } else if (idx == 0) {
        if (programme_.state() == TimerProgramme::State::Editing) return;
        if (dialogs::message(tt::InterruptQuestion, dialogs::Buttons::YesNoCancel, dialogs::Icon::Question,
                             tt::ProgrammedTimer) != dialogs::Answer::Yes)
            return;
        if (programme_.state() == TimerProgramme::State::Editing) return;
        // The user's own Stop, but what it sends is owed to the run's device.
        std::optional<ReopenPin> pin;
        device_.pin(pin);
        stopEvent();
        progtimerready();
        releaseHold();
        // A receiver that did not answer during the run is told of now,
        // over a timer that has stopped.
        notice_.release();
    }
}

void frmRxTimer::progtimerready() {
    programme_.stopRun();
    tmrTestprog_->stop();
    tmrDuration_->stop();
    setWindowTitle(tt::TimerProgramming);
    cmdTimerOnoff[0]->hide();
    cmdTimerOnoff[1]->show();
    ui->fraSetRx->setEnabled(true);
    ui->cmdExit->setEnabled(true);
    cmdLineoutOnoff[1]->setEnabled(true);
    showStackButtons();
    setBackground(ui->lblNameUTC, ClockColour);
    setBackground(ui->lblUTC, ClockColour);
    for (int n = 1; n <= 6; ++n) setRowColour(n, RowColour);
}

void frmRxTimer::releaseHold() { hold_.reset(); }

void frmRxTimer::tmrCurrenTime_Timer() {
    const QDateTime local = Clock::now();
    tpltnow_ = clockText(local);
    tputcnow_ = clockText(utcNow());
    ui->lblLT->setText(tpltnow_);
    ui->lblUTC->setText(tputcnow_);
}

void frmRxTimer::tmrTestprog_Timer() {
    // A tick that arrives while another one waits for the receiver is dropped.
    if (inTick_ || programme_.state() != TimerProgramme::State::Waiting) return;
    blinkphase_ = 1 - blinkphase_;
    const QString patient = QStringLiteral("  Timer is ON, be patient");
    setWindowTitle(blinkphase_ == 1 ? patient + QStringLiteral("  ") + QStringLiteral("<=").repeated(22)
                                    : QStringLiteral("  ") + QStringLiteral("=>").repeated(22) + patient);
    if (!programme_.dueNow(utcNow())) return;
    startEvent();
}

void frmRxTimer::startEvent() {
    tmrTestprog_->stop();
    inTick_ = true;
    QPointer<frmRxTimer> self(this);
    const int slot = programme_.tpslot();
    std::optional<ReopenPin> pin;
    device_.pin(pin);
    const bool applied = rx_ && rx_->apply(programme_.prog[size_t(slot)]);
    if (!self) return;
    inTick_ = false;
    // Timer Off or a close may have come while the receiver was being set.
    if (programme_.state() != TimerProgramme::State::Waiting || programme_.tpslot() != slot) return;
    if (!applied) {
        failRun();
        return;
    }
    // The length runs from here, on the clock that a clock set by hand or
    // summer time does not move.
    programme_.eventStarted(Clock::steadyMs());
    probe_.answered();
    lineoutonoff(1);
    if (programme_.state() != TimerProgramme::State::Running) return;
    setRowColour(slot, RunningColour);
    tmrDuration_->start(RunTickMs);
}

void frmRxTimer::tmrDuration_Timer() {
    if (inTick_ || programme_.state() != TimerProgramme::State::Running) return;
    // The receiver is asked once a tick whether it is still there: one that
    // fell silent or went away would go on recording nothing.
    inTick_ = true;
    QPointer<frmRxTimer> self(this);
    std::optional<ReopenPin> pin;
    device_.pin(pin);
    const bool there = !rx_ || rx_->answers();
    if (!self) return;
    inTick_ = false;
    if (programme_.state() != TimerProgramme::State::Running) return;
    if (there) {
        probe_.answered();
        notice_.release();
    } else {
        notice_.failed();
        if (probe_.failed()) {
            loseEvent();
            return;
        }
    }
    const qint64 left = programme_.msLeft(Clock::steadyMs());
    if (left > 0) {
        // The last tick of an event falls on its end, not up to a tick after it.
        tmrDuration_->start(int(std::clamp<qint64>(left, 1, RunTickMs)));
        return;
    }
    endEvent();
}

void frmRxTimer::endEvent() {
    tmrDuration_->stop();
    const int slot = programme_.tpslot();
    lineoutonoff(0);
    setRowColour(slot, RowColour);
    if (programme_.eventEnded()) {
        tmrTestprog_->start(RunTickMs);
        return;
    }
    progtimerready();
    releaseHold();
}

void frmRxTimer::stopEvent() {
    tmrDuration_->stop();
    if (programme_.state() != TimerProgramme::State::Running) return;
    setRowColour(programme_.tpslot(), RowColour);
    programme_.stopRun();
    lineoutonoff(0);
}

void frmRxTimer::failRun() {
    if (programme_.state() == TimerProgramme::State::Editing) return;   // already ended, already told
    notice_.failed();
    tmrDuration_->stop();
    tmrTestprog_->stop();
    programme_.stopRun();
    progtimerready();
    lineoutonoff(0);
    releaseHold();
    // One message, after the tick, naming the receiver when it was the cause.
    notice_.stopped(tt::RunFailed, tt::ProgrammedTimer);
}

void frmRxTimer::loseEvent() {
    tmrDuration_->stop();
    tmrTestprog_->stop();
    setRowColour(programme_.tpslot(), RowColour);
    programme_.stopRun();
    progtimerready();
    // A write to a receiver that does not answer proves nothing: the output
    // is switched off once the receiver answers again.
    cmdLineoutOnoff[1]->setVisible(true);
    cmdLineoutOnoff[0]->setVisible(false);
    oweLineOff();
    releaseHold();
    notice_.stopped(tt::EventLost, tt::ProgrammedTimer);
}

void frmRxTimer::oweLineOff() {
    // The port keeps the debt, so that it outlives this window.
    if (rx_ && RxType != 0) owedlineoff::owe(RxType);
}

} // namespace dovrane
