// The end of the program: main() destroys every window once its event loop
// has ended, whatever is still running then. Each kind of run, active on each
// receiver, is stopped through the live port before the welcome window takes
// the port with it (the sanitizers of the test build catch a run that reaches
// a port already freed), and an NRD is given back to local.
#include "panels/tool_windows.h"
#include "platform/clock.h"
#include "scanning/frmpropagation.h"
#include "scanning/frmscanlist.h"
#include "scanning/frmsmeter.h"
#include "scanning/frmspectrum.h"
#include "scanning/frmspectrumlimits.h"
#include "shell/globals.h"
#include "sim/nrd_sim_base.h"
#include "stations/frmtracking.h"
#include "support/spectrum_limits.h"
#include "support/go_rig.h"
#include "support/timer_event.h"
#include "timer/frmrxtimer.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QTimer>
#include <functional>

namespace dovrane::test {
namespace {

struct RunKind {
    const char* name;
    std::vector<int> models;          // the receiver types the run exists on
    std::function<bool(ScriptedDialogs&)> start;   // opens the window and starts a run; true when it runs
};

bool startSpectrum(ScriptedDialogs&) {
    toolWindowOpener(QStringLiteral("frmSpectrum"))();
    frmSpectrumlimits* limits = forms::load<frmSpectrumlimits>();
    if (!limits) return false;
    fillSpectrumLimits(limits);
    frmSpectrum* w = forms::loaded<frmSpectrum>();
    return w && w->runActive();
}

bool startListScan(ScriptedDialogs&) {
    toolWindowOpener(QStringLiteral("frmScanlist"))();
    frmScanlist* w = forms::loaded<frmScanlist>();
    if (!w) return false;
    for (int r = 0; r < 3; ++r) w->txtFreqlist[size_t(r)]->setText(QString::number(9500 + 100 * r));
    w->cmdStart_Click();
    return w->runActive();
}

bool startSmeter(ScriptedDialogs&) {
    toolWindowOpener(QStringLiteral("frmSmeter"))();
    frmSmeter* w = forms::loaded<frmSmeter>();
    if (!w) return false;
    w->cmdStart_Click();
    return w->recording();
}

bool startPropagation(ScriptedDialogs&) {
    toolWindowOpener(QStringLiteral("frmPropagation"))();
    frmPropagation* w = forms::loaded<frmPropagation>();
    if (!w) return false;
    w->cmdStart_Click();
    return w->recording();
}

bool startTimer(ScriptedDialogs& dialogs) {
    Clock::set(QDateTime(QDate(2027, 6, 1), QTime(9, 0)));
    toolWindowOpener(QStringLiteral("frmRxTimer"))();
    return beginTimerEvent(forms::loaded<frmRxTimer>(), dialogs,
                           [](const QDateTime& utc) { Clock::set(QDateTime(utc.date(), utc.time())); });
}

bool startDial(ScriptedDialogs&) {
    toolWindowOpener(QStringLiteral("frmTracking"))();
    frmTracking* w = forms::loaded<frmTracking>();
    if (!w) return false;
    w->findChild<QAbstractButton*>(QStringLiteral("optMousedial_1"))->setChecked(true);
    return RxType == 1 ? w->tmrDial7030().isActive() : CommRxEnabled;
}

const std::vector<RunKind>& runKinds() {
    static const std::vector<RunKind> kinds{
        {"spectrum scan", {1, 2, 3, 4}, startSpectrum},
        {"list scan", {1, 2, 3, 4}, startListScan},
        {"S-meter recording", {1, 2, 3, 4}, startSmeter},
        {"propagation recording", {1, 2, 3, 4}, startPropagation},
        {"timer run", {1, 2, 3, 4}, startTimer},
        {"tracking Dial run", {1, 2, 4}, startDial},   // the RX-320 has no Dial mode
    };
    return kinds;
}

class ProgramEndTest : public GoRig {
protected:
    void SetUp() override {
        GoRig::SetUp();
        // What a receiver has to say about its runs is not what is looked at here.
        dialogs.allow(QStringLiteral("does not answer"));
    }
};

TEST_F(ProgramEndTest, EveryWindowDestroyedWithARunActiveStopsItThroughTheLivePort) {
    for (const RunKind& kind : runKinds()) {
        for (int rxType : kind.models) {
            SCOPED_TRACE(testing::Message() << kind.name << " on " << modelName(rxType));
            ASSERT_NE(go(rxType, {{3, 0}}), nullptr);   // UTC is local time
            ASSERT_TRUE(kind.start(dialogs)) << "the run did not start";
            const bool nrd = rxType == 2 || rxType == 4;
            auto* rx = dynamic_cast<sim::NrdSimBase*>(simulator());
            settle();
            if (nrd) {
                // (The NRD-535 follows its own knob in local.)
                ASSERT_TRUE(rx && (rx->inRemote() || rx->reportsOn())) << "the run holds the receiver";
            }

            forms::destroyAll();   // as main() does once its event loop has ended
            settle();

            EXPECT_FALSE(CommRxEnabled);
            if (nrd) {
                EXPECT_FALSE(rx->inRemote()) << "the NRD is left held in remote";
                EXPECT_FALSE(rx->reportsOn()) << "the NRD is left reporting its dial";
            }
            Clock::set(clockTime);
            startSimulator(0);
        }
    }
}

} // namespace
} // namespace dovrane::test
