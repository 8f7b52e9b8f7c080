// The user's lock and a run's hold on an NRD receiver count together: Lock On
// then Lock Off on the panel while a run holds the receiver leaves it in
// remote, and the run goes on reading it; the run's end then lets it go.
#include "panels/nrdpanel.h"
#include "panels/panel_lock.h"
#include "panels/tool_windows.h"
#include "platform/clock.h"
#include "scanning/frmsmeter.h"
#include "shell/globals.h"
#include "shell/show_panel.h"
#include "sim/nrd_sim_base.h"
#include "support/go_rig.h"
#include "support/timer_event.h"
#include "support/waits.h"
#include "timer/frmrxtimer.h"

#include <QTimer>
#include <functional>

namespace dovrane::test {
namespace {

enum class Holder { Smeter, Timer };

struct RunOps {
    std::function<bool()> start;
    std::function<void()> tick;
    std::function<bool()> running;
    std::function<void()> stop;
};

class OneHold : public GoRig, public ::testing::WithParamInterface<std::tuple<Holder, int>> {
protected:
    void TearDown() override {
        Clock::reset();
        GoRig::TearDown();
    }

    RunOps ops(Holder run) {
        if (run == Holder::Smeter)
            return {[] {
                        toolWindowOpener(QStringLiteral("frmSmeter"))();
                        frmSmeter* w = forms::loaded<frmSmeter>();
                        if (!w) return false;
                        w->cmdStart_Click();
                        return w->recording();
                    },
                    [] { forms::loaded<frmSmeter>()->tmrSmeter_Timer(); },
                    [] { return forms::loaded<frmSmeter>()->recording(); },
                    [] { forms::loaded<frmSmeter>()->cmdExit_Click(); }};
        return {[this] {
                    toolWindowOpener(QStringLiteral("frmRxTimer"))();
                    return beginTimerEvent(forms::loaded<frmRxTimer>(), dialogs, [this](const QDateTime& utc) {
                        Clock::set(now_ = QDateTime(utc.date(), utc.time()));
                    });
                },
                [this] {
                    Clock::set(now_ = now_.addMSecs(frmRxTimer::RunTickMs));
                    forms::loaded<frmRxTimer>()->tmrDuration_Timer();
                },
                [] { return forms::loaded<frmRxTimer>()->programme().state() == TimerProgramme::State::Running; },
                [] { forms::loaded<frmRxTimer>()->unload(); }};
    }

    QDateTime now_;
};

TEST_P(OneHold, LockOnThenOffDuringARunLeavesTheReceiverHeldForIt) {
    const auto [run, rxType] = GetParam();
    auto* panel = dynamic_cast<NrdPanel*>(go(rxType));
    ASSERT_NE(panel, nullptr);
    auto& rx = simulatorAs<sim::NrdSimBase>();
    const RunOps op = ops(run);
    ASSERT_TRUE(op.start()) << "the run did not start";
    if (auto* w = forms::loaded<frmRxTimer>()) w->tmrDuration()->stop();   // the ticks come from the test
    op.tick();
    ASSERT_TRUE(settle());
    ASSERT_TRUE(op.running());
    ASSERT_TRUE(rx.inRemote());
    const qsizetype boxes = dialogs.shown().size();

    rx.clearCommands();
    panel->cmdLock_Click(1);
    panel->cmdLock_Click(0);
    ASSERT_TRUE(settle());
    EXPECT_EQ(PanelLock, 0);
    EXPECT_EQ(RemoteHeld, 1);
    EXPECT_TRUE(rx.inRemote()) << "the Lock Off released the receiver under the run";
    EXPECT_FALSE(rx.commandTexts().contains("H0"));

    // The run goes on with a receiver that takes its commands.
    rx.clearCommands();
    for (int i = 0; i < 3; ++i) {
        op.tick();
        pump(20);
    }
    ASSERT_TRUE(settle());
    EXPECT_TRUE(op.running()) << "the run stopped";
    EXPECT_TRUE(rx.inRemote());
    EXPECT_EQ(dialogs.shown().size(), boxes) << dialogs.shown().last().text.toStdString();
    for (const auto& c : rx.commands()) EXPECT_TRUE(c.accepted) << c.text.constData();

    // The run's end is the last hold: the receiver goes back to local.
    op.stop();
    ASSERT_TRUE(settle());
    EXPECT_EQ(runHolds(), 0);
    EXPECT_EQ(RemoteHeld, 0);
    EXPECT_FALSE(rx.inRemote());
}

INSTANTIATE_TEST_SUITE_P(RunsAndModels, OneHold,
                         ::testing::Combine(::testing::Values(Holder::Smeter, Holder::Timer), ::testing::Values(2, 4)),
                         [](const ::testing::TestParamInfo<std::tuple<Holder, int>>& info) {
                             return std::string(std::get<0>(info.param) == Holder::Smeter ? "Smeter" : "Timer") +
                                    (std::get<1>(info.param) == 2 ? "_NRD535" : "_NRD545");
                         });

} // namespace
} // namespace dovrane::test
