#pragma once
// The timer programming window: an editor row stepped by spin buttons, six
// programme slots filled and emptied as a stack, and the run that tunes the
// receiver to each slot at its UTC start and switches the line output on for
// the slot's duration. The programme lives as long as the window.
#include "panels/panel_lock.h"
#include "scanning/tool_run.h"
#include "shell/form.h"
#include "shell/run_notice.h"
#include "timer/timer_editor.h"
#include "timer/timer_event.h"
#include "timer/timer_programme.h"

#include <QDateTime>
#include <array>
#include <memory>
#include <optional>

class QAbstractButton;
class QLabel;
class QTimer;

namespace Ui {
class frmRxTimer;
}

namespace dovrane {

class SpinButton;

class frmRxTimer : public Form {
    Q_OBJECT
public:
    frmRxTimer();
    ~frmRxTimer() override;

    // The editor start to the current UTC minute.
    void getztime();
    // The receiver's present setting into the editor.
    void getrxsetting();
    // 1 starts the timer, 0 interrupts it (after the question).
    void timeronoff(int idx);
    // 1 switches the line output (NRD: the timer relay) on, 0 off.
    void lineoutonoff(int onoff);
    // Ends a run and returns the window to editing.
    void progtimerready();
    // The checks, each with its message box; true when the start is refused.
    bool toolate(int kind, const QDateTime& start);
    bool tooearly(int slot);

    // The controls' actions, callable as a click would.
    void cmdFixClr_Click(int slot, int index);
    void cmdClrAll_Click();
    void cmdTimerOnoff_Click(int i) { timeronoff(i); }
    void cmdLineoutOnoff_Click(int i) { lineoutonoff(i); }
    void cmdRX_Click();
    void cmdUTC_Click();
    void cmdExit_Click() { unload(); }
    void SpinDate_Spin(int i, bool up);
    void spnTime_Spin(int i, bool up);
    void spnFreq_Spin(int k, bool up);
    void spnRxSetting_Spin(int i, bool up);

    // The three timers' ticks; tests call them with the clock set.
    void tmrCurrenTime_Timer();
    void tmrTestprog_Timer();
    void tmrDuration_Timer();

    TimerEditor& editor() { return *editor_; }
    const TimerProgramme& programme() const { return programme_; }
    QTimer* tmrCurrenTime() const { return tmrCurrenTime_; }
    QTimer* tmrTestprog() const { return tmrTestprog_; }
    QTimer* tmrDuration() const { return tmrDuration_; }
    const QString& tputcnow() const { return tputcnow_; }

    // Interval of the waiting and running timers, ms.
    static constexpr int RunTickMs = 5000;
    // Running ticks in a row without an answer that end an event.
    static constexpr int MaxProbeFailures = SilenceCount::Limit;

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    void bindControls();
    void showEditor();
    void showRow(int n);
    void clearRow(int n);
    void setRowColour(int n, const QColor& colour);
    void showStackButtons();
    // The clock now as local time and as UTC.
    QDateTime utcNow() const;
    void startEvent();
    void endEvent();
    // Ends the running event at once, line output off.
    void stopEvent();
    // Releases the NRD hold taken for the run.
    void releaseHold();
    // A receiver write failed during the run: the run ends, and one message
    // says so once the tick is over.
    void failRun();
    // The receiver fell silent or went away during an event: the event and
    // the run end, and the line output goes off once the receiver is back.
    void loseEvent();
    void oweLineOff();

    std::unique_ptr<Ui::frmRxTimer> ui;
    std::unique_ptr<TimerEditor> editor_;
    std::unique_ptr<TimerReceiver> rx_;
    TimerProgramme programme_;
    std::optional<RunHold> hold_;
    // The device Timer On found: the events are no Go of the user's, and
    // reach no other device given its name meanwhile, their end and the
    // release of the hold included.
    RunDevice device_;
    QTimer* tmrCurrenTime_ = nullptr;
    QTimer* tmrTestprog_ = nullptr;
    QTimer* tmrDuration_ = nullptr;
    RunNotice notice_;
    SilenceCount probe_;
    int blinkphase_ = 0;
    bool inTick_ = false;
    QString tpltnow_;
    QString tputcnow_;

    std::array<QLabel*, 3> lblDate{};
    std::array<QLabel*, 3> lblTime{};
    std::array<QLabel*, 6> lblRxSetting{};
    std::array<QLabel*, 8> lblFreq{};
    std::array<SpinButton*, 3> SpinDate{};
    std::array<SpinButton*, 3> spnTime{};
    std::array<SpinButton*, 8> spnFreq{};
    std::array<SpinButton*, 6> spnRxSetting{};
    struct Row {
        std::array<QLabel*, 3> date{};
        std::array<QLabel*, 3> time{};
        std::array<QLabel*, 6> setting{};
        std::array<QLabel*, 8> freq{};
        std::array<QAbstractButton*, 2> cmdFixClr{};
    };
    std::array<Row, 7> rows_{};
    std::array<QAbstractButton*, 2> cmdTimerOnoff{};
    std::array<QAbstractButton*, 2> cmdLineoutOnoff{};
};

} // namespace dovrane
