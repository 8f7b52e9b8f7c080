// The timer window against each simulated receiver: programming, the run
// from slot to slot with a set clock, Timer Off, closing during a run, and a
// receiver that goes away.
#include "timer_rig.h"

#include "drivers/ar7030/ar7030_convert.h"
#include "drivers/ar7030/ar7030_protocol.h"
#include "drivers/rx320/rx320_protocol.h"
#include "panels/panel_lock.h"
#include "platform/spin_button.h"

#include <QLabel>
#include <QTimer>
#include <QToolButton>

namespace dovrane::test {
namespace {

struct Event {
    QDateTime start;
    int minutes;
    long hz;
    int att, bw, pbs, bwc, mode, agc;
};

// Six events across midnight, a leap day, a month end and a year end, with
// settings each model can take.
std::vector<Event> programmeFor(int rxType) {
    const QDateTime starts[6] = {utcAt(2028, 2, 28, 23, 55), utcAt(2028, 2, 29, 23, 58), utcAt(2028, 3, 1, 0, 4),
                                 utcAt(2028, 12, 31, 23, 59), utcAt(2029, 1, 1, 0, 3), utcAt(2029, 1, 1, 1, 0)};
    const int minutes[6] = {10, 5, 2, 3, 1, 2};
    std::vector<Event> out;
    for (int i = 0; i < 6; ++i) {
        Event e{starts[i], minutes[i], 5000000L + i * 2345678L, 0, 0, 0, 0, 0, 0};
        switch (rxType) {
        case 1: e = {starts[i], minutes[i], e.hz, i % 6, 1 + i % 6, i * 5 - 12, 0, 1 + i, i % 4}; break;
        case 2: {
            // The bandwidth control exists on "Wid" and "Int" only.
            static const int bwcOf[4] = {3000, 2200, 0, 0};
            e = {starts[i], minutes[i], e.hz, i % 2, i % 4, (i - 3) * 100, bwcOf[i % 4], i, i % 3};
            break;
        }
        case 3: e = {starts[i], minutes[i], e.hz, 0, i * 6, (i - 2) * 100, 0, i % 4, 1 + i % 3}; break;
        case 4: {
            static const int modes[6] = {2, 8, 4, 7, 1, 5};
            e = {starts[i], minutes[i], e.hz, i % 2, 0, (i - 3) * 10, 100 + i * 50, modes[i], 1 + i};
            break;
        }
        default: break;
        }
        out.push_back(e);
    }
    return out;
}

class TimerWindowTest : public TimerRig, public ::testing::WithParamInterface<int> {
protected:
    void fix(frmRxTimer* w, int n, const Event& e) {
        TimerEditor& ed = w->editor();
        ed.setStart(e.start);
        ed.tpduration = e.minutes;
        ed.setFrequencyHz(e.hz);
        ed.tpatt = e.att;
        ed.tpbw = e.bw;
        ed.tppbs = e.pbs;
        ed.tpbwc = e.bwc;
        ed.tpmode = e.mode;
        ed.tpagc = e.agc;
        w->cmdFixClr_Click(n, 0);
    }

    // Whether the receiver's line output (NRD: timer relay) is on, from the simulator.
    bool lineOn(int rxType) {
        settle();
        switch (rxType) {
        case 1: {
            const int level = as<sim::Ar7030Sim>().reg(0, ar7030::RegLeftLine) & 63;
            if (level == ar7030::limitedLevelByte(ar7030::LeftLineRegister, 0)) return false;
            EXPECT_EQ(level, ar7030::limitedLevelByte(ar7030::LeftLineRegister, 40));
            return true;
        }
        case 3: {
            const int att = as<sim::Rx320Sim>().state().lineAtt;
            if (att == rx320::attenuation(0)) return false;
            EXPECT_EQ(att, rx320::attenuation(55));
            return true;
        }
        default: return dynamic_cast<sim::NrdSimBase&>(*sim).timerRelay();
        }
    }

    void expectApplied(int rxType, const Event& e, int previousAgc) {
        settle();
        const double kHz = e.hz / 1000.0;
        switch (rxType) {
        case 1: {
            auto& s = as<sim::Ar7030Sim>();
            EXPECT_EQ(s.frequencyWord(), *ar7030::frequencyWord(kHz));
            EXPECT_EQ(s.reg(0, ar7030::RegAttenuator), e.att);
            EXPECT_EQ(s.reg(0, ar7030::RegFilter), e.bw);
            EXPECT_EQ(s.reg(0, ar7030::RegPassband), vsb2b(e.pbs));
            EXPECT_EQ(s.reg(0, ar7030::RegMode), e.mode);
            EXPECT_EQ(s.reg(0, ar7030::RegAgc), e.agc);
            break;
        }
        case 2: {
            auto& s = as<sim::Nrd535Sim>();
            EXPECT_EQ(s.vfo().hertz, e.hz);
            EXPECT_EQ(s.vfo().attenuator, e.att);
            EXPECT_EQ(s.vfo().bandwidth, e.bw);
            EXPECT_EQ(s.vfo().mode, e.mode);
            EXPECT_EQ(s.vfo().agc, e.agc);
            EXPECT_EQ(s.passbandShift(), e.pbs);
            // All six go out, the forced 0 of a filter without the control
            // included.
            EXPECT_EQ(s.bandwidthControl(), e.bwc);
            break;
        }
        case 3: {
            auto& s = as<sim::Rx320Sim>();
            const auto st = s.state();
            EXPECT_EQ(st.filter, e.bw);
            EXPECT_EQ(st.mode, e.mode);
            EXPECT_EQ(st.agc, e.agc);
            const auto tuned = s.tunedKHz(e.mode == 3 ? e.pbs : 0);
            ASSERT_TRUE(tuned);
            EXPECT_NEAR(*tuned, kHz, 0.0017);
            break;
        }
        case 4: {
            auto& s = as<sim::Nrd545Sim>();
            EXPECT_EQ(s.vfo().hertz, e.hz);
            EXPECT_EQ(s.vfo().attenuator, e.att);
            EXPECT_EQ(s.vfo().mode, e.mode == 7 || e.mode == 8 ? 4 : e.mode);
            if (e.mode == 7 || e.mode == 8) {
                EXPECT_EQ(s.levels().ecss, e.mode - 6);
            }
            EXPECT_EQ(s.levels().passbandShift, e.pbs);
            EXPECT_EQ(s.levels().bandwidthControl, e.bwc);
            // The AGC goes out only below mode 4.
            EXPECT_EQ(s.vfo().agc, e.mode < 4 ? e.agc * 10 : previousAgc);
            break;
        }
        default: break;
        }
    }
};

TEST_P(TimerWindowTest, SixEventsRunAtTheirTimesWithTheLineOutputOnForTheirDuration) {
    const int rxType = GetParam();
    setUtc(utcAt(2028, 2, 28, 20, 0));
    frmRxTimer* w = open(rxType, {{10, 1}, {11, 1}, {12, 1}});
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(lineOn(rxType));

    const std::vector<Event> events = programmeFor(rxType);
    for (int n = 1; n <= 6; ++n) fix(w, n, events[size_t(n - 1)]);
    EXPECT_TRUE(w->programme().progfixed[6]);
    EXPECT_EQ(dialogs.shown().size(), 0);

    dialogs.expect(QStringLiteral("switched on"));
    w->timeronoff(1);
    ASSERT_TRUE(w->tmrTestprog()->isActive());
    EXPECT_EQ(runHolds(), rxType == 2 || rxType == 4 ? 1 : 0);

    int agc = rxType == 4 ? as<sim::Nrd545Sim>().vfo().agc : 0;
    for (int i = 0; i < 6; ++i) {
        const Event& e = events[size_t(i)];
        SCOPED_TRACE(e.start.toString(Qt::ISODate).toStdString());
        setUtc(e.start.addSecs(-5));
        w->tmrTestprog_Timer();
        EXPECT_FALSE(w->tmrDuration()->isActive());
        EXPECT_FALSE(lineOn(rxType));

        const QDateTime on = e.start.addSecs(3);
        setUtc(on);
        w->tmrTestprog_Timer();
        ASSERT_TRUE(w->tmrDuration()->isActive());
        EXPECT_TRUE(lineOn(rxType));
        expectApplied(rxType, e, agc);
        if (rxType == 4 && e.mode < 4) agc = e.agc * 10;

        // The length runs on the steady clock from the event's start; the
        // margin covers the time the start itself took on a busy machine.
        Clock::pass(qint64(e.minutes) * 60'000 - 20'000);
        w->tmrDuration_Timer();
        EXPECT_TRUE(lineOn(rxType));
        Clock::pass(20'000);
        w->tmrDuration_Timer();
        EXPECT_FALSE(w->tmrDuration()->isActive());
        EXPECT_FALSE(lineOn(rxType));
        EXPECT_EQ(w->tmrTestprog()->isActive(), i < 5);
    }
    // Back to editing with the programme kept and the receiver released.
    EXPECT_EQ(w->programme().state(), TimerProgramme::State::Editing);
    EXPECT_TRUE(w->programme().progfixed[6]);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Timer Programming"));
    EXPECT_EQ(runHolds(), 0);
    EXPECT_EQ(dialogs.pending(), 0);
}

INSTANTIATE_TEST_SUITE_P(EveryReceiver, TimerWindowTest, ::testing::Values(1, 2, 3, 4));

TEST_F(TimerRig, StackButtonsAndChecks) {
    setUtc(utcAt(2026, 12, 8, 23, 17, 30));
    frmRxTimer* w = open(0);
    ASSERT_NE(w, nullptr);
    auto enabled = [w](const char* name) { return control<QWidget>(w, QLatin1String(name))->isEnabled(); };
    EXPECT_TRUE(enabled("cmdFixClr1_0"));
    EXPECT_FALSE(enabled("cmdFixClr1_1"));
    EXPECT_FALSE(enabled("cmdFixClr2_0"));
    EXPECT_FALSE(enabled("cmdClrAll"));
    EXPECT_FALSE(enabled("cmdTimerOnoff_1"));
    EXPECT_TRUE(control<QWidget>(w, QStringLiteral("cmdTimerOnoff_0"))->isHidden());
    EXPECT_EQ(control<QLabel>(w, QStringLiteral("lblUTC"))->text(), QStringLiteral("2026 12 08 23:17:30"));

    // The editor starts at the current minute, which is too late to fix.
    dialogs.expect(QStringLiteral("Sorry, you are too late"));
    click(w, QStringLiteral("cmdFixClr1_0"));
    EXPECT_FALSE(w->programme().progfixed[1]);

    // The spin buttons move the editor: minute up twice, then Fix 1.
    auto* up = control<SpinButton>(w, QStringLiteral("spnTime_1"))->upButton();
    up->click();
    up->click();
    EXPECT_EQ(control<QLabel>(w, QStringLiteral("lblTime_1"))->text(), QStringLiteral("19"));
    click(w, QStringLiteral("cmdFixClr1_0"));
    ASSERT_TRUE(w->programme().progfixed[1]);
    EXPECT_EQ(control<QLabel>(w, QStringLiteral("lblTime1_1"))->text(), QStringLiteral("19"));
    EXPECT_TRUE(enabled("cmdClrAll"));
    EXPECT_TRUE(enabled("cmdTimerOnoff_1"));

    // Slot 2 at slot 1's end (23:19 + 10) is refused; a minute later it is taken.
    for (int i = 0; i < 10; ++i) w->spnTime_Spin(1, true);
    dialogs.expect(QStringLiteral("the previous one ends"));
    click(w, QStringLiteral("cmdFixClr2_0"));
    EXPECT_FALSE(w->programme().progfixed[2]);
    w->spnTime_Spin(1, true);
    click(w, QStringLiteral("cmdFixClr2_0"));
    EXPECT_TRUE(w->programme().progfixed[2]);
    EXPECT_FALSE(enabled("cmdFixClr1_0"));
    EXPECT_TRUE(enabled("cmdFixClr3_0"));

    dialogs.expect(QStringLiteral("all Timer Programming"), dialogs::Answer::No);
    click(w, QStringLiteral("cmdClrAll"));
    EXPECT_TRUE(w->programme().progfixed[2]);
    dialogs.expect(QStringLiteral("all Timer Programming"), dialogs::Answer::Yes);
    click(w, QStringLiteral("cmdClrAll"));
    EXPECT_EQ(w->programme().top(), 0);
    EXPECT_TRUE(control<QLabel>(w, QStringLiteral("lblTime2_1"))->text().isEmpty());
    EXPECT_TRUE(enabled("cmdFixClr1_0"));
    EXPECT_FALSE(enabled("cmdFixClr2_0"));
    EXPECT_EQ(dialogs.pending(), 0);
}

TEST_F(TimerRig, TimerOnRefusesAProgrammeWhoseFirstEventHasBegun) {
    setUtc(utcAt(2027, 6, 1, 9, 0));
    frmRxTimer* w = open(0);
    w->editor().setStart(utcAt(2027, 6, 1, 10, 0));
    w->cmdFixClr_Click(1, 0);
    ASSERT_TRUE(w->programme().progfixed[1]);
    w->editor().setStart(utcAt(2027, 6, 2, 10, 0));   // the editor moved on; slot 1 did not
    setUtc(utcAt(2027, 6, 1, 10, 0, 20));
    dialogs.expect(QStringLiteral("switched on")).expect(QStringLiteral("has started or that already has past"));
    w->timeronoff(1);
    EXPECT_EQ(w->programme().state(), TimerProgramme::State::Editing);
    EXPECT_FALSE(w->tmrTestprog()->isActive());
    EXPECT_EQ(dialogs.pending(), 0);
}

// A clock set by hand or a change to or from summer time during an event
// moves the clock's reading, not the event's length: ten minutes of line
// output stay ten minutes. The next event still starts when the clock reads
// its start.
TEST_F(TimerRig, AnEventLastsItsLengthAcrossAClockStep) {
    struct Case {
        const char* what;
        int stepSecs;
    };
    const Case cases[] = {{"the clock put an hour ahead", 3600}, {"the clock put an hour back", -3600}};
    setUtc(utcAt(2027, 10, 31, 8, 0));
    frmRxTimer* w = open(4);
    ASSERT_NE(w, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        setUtc(utcAt(2027, 10, 31, 9, 0));
        w->editor().setStart(utcAt(2027, 10, 31, 10, 0));
        w->editor().tpduration = 10;
        w->cmdFixClr_Click(1, 0);
        w->editor().setStart(utcAt(2027, 10, 31, 10, 11));
        w->editor().tpduration = 1;
        w->cmdFixClr_Click(2, 0);
        dialogs.expect(QStringLiteral("switched on"));
        w->timeronoff(1);

        setUtc(utcAt(2027, 10, 31, 10, 0, 3));
        tickOnce(w, &frmRxTimer::tmrTestprog_Timer);
        ASSERT_TRUE(running(w));
        EXPECT_TRUE(nrd545Relay());

        Clock::pass(4 * 60'000);
        setUtc(utcAt(2027, 10, 31, 10, 4, 3).addSecs(c.stepSecs));
        tickOnce(w, &frmRxTimer::tmrDuration_Timer);
        EXPECT_TRUE(running(w));
        EXPECT_TRUE(nrd545Relay());
        // Twenty seconds short of ten minutes, a margin for the start's own time.
        Clock::pass(6 * 60'000 - 20'000);
        tickOnce(w, &frmRxTimer::tmrDuration_Timer);
        EXPECT_TRUE(running(w));
        EXPECT_TRUE(nrd545Relay());
        Clock::pass(20'000);
        tickOnce(w, &frmRxTimer::tmrDuration_Timer);
        EXPECT_FALSE(running(w));
        EXPECT_FALSE(nrd545Relay());

        // Slot 2 starts at 10:11 as the clock reads it: at once after the
        // step ahead, an hour of waiting after the step back.
        tickOnce(w, &frmRxTimer::tmrTestprog_Timer);
        EXPECT_EQ(running(w), c.stepSecs > 0);
        if (!running(w)) {
            setUtc(utcAt(2027, 10, 31, 10, 11, 1));
            tickOnce(w, &frmRxTimer::tmrTestprog_Timer);
            EXPECT_TRUE(running(w));
        }
        Clock::pass(60'000);
        tickOnce(w, &frmRxTimer::tmrDuration_Timer);
        EXPECT_EQ(w->programme().state(), TimerProgramme::State::Editing);
        EXPECT_FALSE(nrd545Relay());
        w->cmdFixClr_Click(2, 1);
        w->cmdFixClr_Click(1, 1);
    }
    EXPECT_EQ(dialogs.pending(), 0);
}

TEST_F(TimerRig, AnEventEndsOnTimeAcrossASleep) {
    const struct {
        const char* what;
        int asleepMinutes;   // of an event of ten
    } cases[] = {{"asleep four minutes of it", 4}, {"asleep past its end", 15}};
    setUtc(utcAt(2027, 10, 31, 8, 0));
    frmRxTimer* w = open(4);
    ASSERT_NE(w, nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        setUtc(utcAt(2027, 10, 31, 9, 0));
        w->editor().setStart(utcAt(2027, 10, 31, 10, 0));
        w->editor().tpduration = 10;
        w->cmdFixClr_Click(1, 0);
        dialogs.expect(QStringLiteral("switched on"));
        w->timeronoff(1);
        setUtc(utcAt(2027, 10, 31, 10, 0, 3));
        tickOnce(w, &frmRxTimer::tmrTestprog_Timer);
        ASSERT_TRUE(running(w));
        ASSERT_TRUE(nrd545Relay());

        // No tick while asleep; the first after the resume counts the sleep.
        Clock::sleep(qint64(c.asleepMinutes) * 60'000);
        tickOnce(w, &frmRxTimer::tmrDuration_Timer);
        const bool over = c.asleepMinutes >= 10;
        EXPECT_EQ(running(w), !over);
        EXPECT_EQ(nrd545Relay(), !over) << "the line output is on for the sleep plus the rest";
        if (!over) {
            // Twenty seconds short of the ten minutes, then at them.
            Clock::pass(qint64(10 - c.asleepMinutes) * 60'000 - 20'000);
            tickOnce(w, &frmRxTimer::tmrDuration_Timer);
            EXPECT_TRUE(running(w));
            Clock::pass(20'000);
            tickOnce(w, &frmRxTimer::tmrDuration_Timer);
            EXPECT_FALSE(running(w));
            EXPECT_FALSE(nrd545Relay());
        }
        EXPECT_EQ(w->programme().state(), TimerProgramme::State::Editing);
        w->cmdFixClr_Click(1, 1);
    }
    EXPECT_EQ(dialogs.pending(), 0);
}

class TimerRunEnds : public TimerRig {
protected:
    // An NRD-545 with one event of 30 minutes, running since 10:00.
    frmRxTimer* running() {
        setUtc(utcAt(2027, 6, 1, 9, 0));
        frmRxTimer* w = open(4);
        EXPECT_TRUE(beginTimerEvent(w, dialogs, setUtc));
        settle();
        EXPECT_TRUE(as<sim::Nrd545Sim>().timerRelay());
        EXPECT_EQ(runHolds(), 1);
        return w;
    }
    void expectReleased() {
        settle();
        EXPECT_FALSE(as<sim::Nrd545Sim>().timerRelay());
        EXPECT_EQ(runHolds(), 0);
        EXPECT_FALSE(as<sim::Nrd545Sim>().inRemote());
    }
};

TEST_F(TimerRunEnds, TimerOffEndsTheRunningEventAtOnce) {
    frmRxTimer* w = running();
    dialogs.expect(QStringLiteral("interrupt the running Timer"), dialogs::Answer::Cancel);
    w->timeronoff(0);
    EXPECT_TRUE(w->tmrDuration()->isActive());
    dialogs.expect(QStringLiteral("interrupt the running Timer"), dialogs::Answer::Yes);
    w->timeronoff(0);
    EXPECT_FALSE(w->tmrDuration()->isActive());
    EXPECT_EQ(w->programme().state(), TimerProgramme::State::Editing);
    expectReleased();
    EXPECT_EQ(dialogs.pending(), 0);
}

TEST_F(TimerRunEnds, ClosingTheWindowEndsTheRun) {
    frmRxTimer* w = running();
    w->unload();
    EXPECT_FALSE(RxTimerOpen);
    expectReleased();
}

TEST_F(TimerRig, AReceiverThatGoesAwayEndsTheRunWithOneMessageAfterTheTick) {
    setUtc(utcAt(2027, 6, 1, 9, 0));
    frmRxTimer* w = open(1);
    w->editor().setStart(utcAt(2027, 6, 1, 10, 0));
    w->cmdFixClr_Click(1, 0);
    w->editor().setStart(utcAt(2027, 6, 1, 10, 20));
    w->cmdFixClr_Click(2, 0);
    dialogs.expect(QStringLiteral("switched on"));
    w->timeronoff(1);
    sim->stop();
    dialogs.allow(QStringLiteral("does not answer"));
    setUtc(utcAt(2027, 6, 1, 10, 0, 2));
    const qsizetype before = dialogs.shown().size();
    w->tmrTestprog_Timer();
    // Nothing of the timer's own inside the tick (the driver's link notice is the driver's).
    for (qsizetype i = before; i < dialogs.shown().size(); ++i)
        EXPECT_TRUE(dialogs.shown()[i].text.contains(QStringLiteral("does not answer")))
            << dialogs.shown()[i].text.toStdString();
    EXPECT_EQ(w->programme().state(), TimerProgramme::State::Editing);
    EXPECT_FALSE(w->tmrTestprog()->isActive());
    dialogs.expect(QStringLiteral("could not be set"));
    pump(20);
    EXPECT_EQ(dialogs.pending(), 0);
}

} // namespace
} // namespace dovrane::test
