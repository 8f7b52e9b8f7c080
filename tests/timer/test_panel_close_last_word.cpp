// A receiver panel closed while the timer window is open: the timer window's
// unload sends the receiver its own last commands (the RX-320 line level set
// back, an NRD event's relay switched off and its hold given back), and the
// panel's close steps come after them, so that the receiver is left as the
// panel's close leaves it.
#include "timer_rig.h"

#include "sim/nrd_sim_base.h"
#include "sim/rx320_sim.h"

namespace dovrane::test {
namespace {

struct CloseCase {
    const char* name;
    int rxType;
    bool eventRunning;   // a timer event has the NRD's relay on and holds it in remote
};

class PanelCloseLastWord : public TimerRig, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(PanelCloseLastWord, ThePanelsCloseStepsComeAfterTheToolWindowsUnload) {
    const CloseCase c = GetParam();
    setUtc(utcAt(2027, 6, 1, 9, 0));
    // The RX-320 mutes its line when the panel closes.
    frmRxTimer* w = open(c.rxType, {{19, 1}});
    ASSERT_NE(w, nullptr);
    if (c.eventRunning) {
        ASSERT_TRUE(beginTimerEvent(w, dialogs, [](const QDateTime& utc) { setUtc(utc); }));
    }
    settle();
    auto* nrd = dynamic_cast<sim::NrdSimBase*>(sim.get());
    if (nrd) {
        EXPECT_TRUE(nrd->timerRelay() && nrd->inRemote());
        nrd->clearCommands();
    }

    currentPanel()->unload();
    settle();
    ASSERT_FALSE(RxTimerOpen);
    if (c.rxType == 3) {
        EXPECT_EQ(as<sim::Rx320Sim>().state().lineAtt, 63) << "the line was set back after the panel muted it";
    } else {
        // The panel gave the receiver back to local, and nothing took it
        // into remote again after that.
        const QList<QByteArray> sent = nrd->commandTexts();
        EXPECT_FALSE(nrd->timerRelay());
        EXPECT_FALSE(nrd->inRemote());
        EXPECT_FALSE(sent.contains("H1")) << sent.join(' ').toStdString();
        ASSERT_GE(sent.size(), 2);
        EXPECT_EQ(sent.last(), "H0");
    }
    EXPECT_EQ(RemoteHeld, 0);
}

INSTANTIATE_TEST_SUITE_P(Panels, PanelCloseLastWord,
                         ::testing::Values(CloseCase{"RX320", 3, false}, CloseCase{"NRD535", 2, true},
                                           CloseCase{"NRD545", 4, true}),
                         [](const ::testing::TestParamInfo<CloseCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace dovrane::test
