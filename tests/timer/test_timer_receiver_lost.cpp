// A timer event whose receiver stops answering, at the receiver's own line
// speed: how many misses end the event, and the switch-off of the line
// output that is then owed to the receiver until it answers again, whether
// or not the timer window and the panel are still open.
#include "timer_rig.h"

#include "panels/panel_lock.h"
#include "sim/nrd_sim_base.h"
#include "timer/owed_line_off.h"

#include <QElapsedTimer>
#include <QTimer>

namespace dovrane::test {
namespace {

class TimerReceiverLost : public TimerRig {
protected:
    // One event of 30 minutes on rxType, running since 10:00:01.
    frmRxTimer* running(int rxType) {
        now_ = utcAt(2027, 6, 1, 9, 0);
        setUtc(now_);
        frmRxTimer* w = open(rxType);
        if (!w) return nullptr;
        EXPECT_TRUE(beginTimerEvent(w, dialogs, [this](const QDateTime& utc) { setUtc(now_ = utc); }));
        settle();
        if (nrd(rxType)) {
            EXPECT_TRUE(relay());
        }
        return w;
    }
    // One tick of the running event, five seconds on.
    void tick(frmRxTimer* w) {
        now_ = now_.addSecs(5);
        setUtc(now_);
        w->tmrDuration_Timer();
    }
    bool running(frmRxTimer* w) const { return w->programme().state() == TimerProgramme::State::Running; }
    static bool nrd(int rxType) { return rxType == 2 || rxType == 4; }
    bool relay() {
        settle();
        return dynamic_cast<sim::NrdSimBase&>(*sim).timerRelay();
    }
    // The run's one message, after its tick, says the event has ended.
    void expectEndedMessage() {
        pump(50);
        ASSERT_FALSE(dialogs.shown().isEmpty());
        EXPECT_TRUE(dialogs.shown().last().text.contains(QStringLiteral("The programmed event has ended")))
            << dialogs.shown().last().text.toStdString();
    }

    QDateTime now_;
};

class TimerPresence : public TimerReceiverLost, public ::testing::WithParamInterface<int> {};

// Two misses, an answer, two misses: the event goes on. The third miss in a
// row ends it, with its line output owed.
TEST_P(TimerPresence, ThreeMissesInARowEndTheEventAndAnAnswerForgivesEarlierOnes) {
    const int rxType = GetParam();
    frmRxTimer* w = running(rxType);
    ASSERT_NE(w, nullptr);
    dialogs.allow(QStringLiteral("does not answer"));

    sim->setFault(sim::Fault::Silent);
    tick(w);
    tick(w);
    EXPECT_TRUE(running(w)) << "ended after two misses";
    sim->setFault(sim::Fault::None);
    tick(w);
    EXPECT_TRUE(running(w));
    sim->setFault(sim::Fault::Silent);
    tick(w);
    tick(w);
    EXPECT_TRUE(running(w)) << "misses before the answer were still counted";
    if (nrd(rxType)) {
        EXPECT_TRUE(relay());
    }
    tick(w);
    EXPECT_EQ(w->programme().state(), TimerProgramme::State::Editing) << "three misses in a row did not end it";
    EXPECT_FALSE(w->tmrDuration()->isActive());
    EXPECT_TRUE(w->lineOffOwed());
    EXPECT_EQ(runHolds(), 0);
    expectEndedMessage();
}

INSTANTIATE_TEST_SUITE_P(EveryReceiver, TimerPresence, ::testing::Values(1, 2, 3, 4));

enum class Closed { TimerWindow, Panel };

class OwedLineOff : public TimerReceiverLost, public ::testing::WithParamInterface<std::tuple<int, Closed>> {};

// An NRD event ends because the receiver fell silent; the timer window (or
// the whole panel) is closed before the receiver answers again. The timer
// relay must still go off: within 10 s of the receiver answering while the
// panel is open, and at once when a panel next opens on it. The tries take
// no hold: the receiver ends up in local.
TEST_P(OwedLineOff, TheRelayGoesOffOnceTheReceiverAnswersAgain) {
    const auto [rxType, closed] = GetParam();
    frmRxTimer* w = running(rxType);
    ASSERT_NE(w, nullptr);
    dialogs.allow(QStringLiteral("does not answer"));
    sim->setFault(sim::Fault::Silent);
    for (int i = 0; i < frmRxTimer::MaxProbeFailures && running(w); ++i) tick(w);
    ASSERT_FALSE(running(w));
    expectEndedMessage();
    ASSERT_TRUE(owedlineoff::owed());
    EXPECT_TRUE(relay());

    if (closed == Closed::TimerWindow) {
        w->unload();
        ASSERT_FALSE(RxTimerOpen);
        EXPECT_TRUE(owedlineoff::retrying());
        // Still silent: a try changes nothing, says nothing, and the tries go on.
        const qsizetype boxes = dialogs.shown().size();
        EXPECT_FALSE(owedlineoff::retry());
        pump(20);
        EXPECT_EQ(dialogs.shown().size(), boxes);
        EXPECT_TRUE(owedlineoff::retrying() && relay());
        sim->setFault(sim::Fault::None);
        QElapsedTimer since;
        since.start();
        while (relay() && since.elapsed() < 10000) pump(100);
        EXPECT_FALSE(relay()) << "the relay stayed on";
        EXPECT_LT(since.elapsed(), 10000);
    } else {
        currentPanel()->unload();
        ASSERT_FALSE(RxTimerOpen);
        // No port, so nothing reaches the receiver until a panel opens on it again.
        sim->setFault(sim::Fault::None);
        EXPECT_FALSE(owedlineoff::retry());
        EXPECT_TRUE(relay());
        ASSERT_NE(forms::loaded<frmWelcome>(), nullptr);
        forms::loaded<frmWelcome>()->imgGo_Click();
        pump(20);
        EXPECT_FALSE(relay()) << "the panel opened and the relay stayed on";
    }
    EXPECT_FALSE(owedlineoff::owed() || owedlineoff::retrying()) << "the tries went on after the switch-off";
    EXPECT_EQ(RemoteHeld, 0);
    EXPECT_FALSE(dynamic_cast<sim::NrdSimBase&>(*sim).inRemote());
    EXPECT_EQ(dialogs.pending(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    NrdReceivers, OwedLineOff,
    ::testing::Values(std::tuple{2, Closed::TimerWindow}, std::tuple{4, Closed::Panel}),
    [](const ::testing::TestParamInfo<std::tuple<int, Closed>>& info) {
        return std::string(std::get<0>(info.param) == 2 ? "NRD535" : "NRD545") +
               (std::get<1>(info.param) == Closed::TimerWindow ? "_TimerWindowClosed" : "_PanelClosed");
    });

} // namespace
} // namespace dovrane::test
