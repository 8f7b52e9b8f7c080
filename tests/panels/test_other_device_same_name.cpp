// The receiver goes away and another receiver appears under the same
// device name. What the program still has to say to the one it spoke to
// (the release as an NRD panel closes, the switch-off the timer owes, a
// run's next sample or event step, the release of a run's hold) reaches only
// that one: nothing of it goes to the newcomer, and no try left half done
// keeps the port busy for the next command.
#include "panels/panel_lock.h"
#include "panels/panelform.h"
#include "panels/tool_windows.h"
#include "platform/clock.h"
#include "platform/commport.h"
#include "platform/timeouts.h"
#include "scanning/frmpropagation.h"
#include "scanning/frmscanlist.h"
#include "scanning/frmsmeter.h"
#include "scanning/frmspectrum.h"
#include "scanning/frmspectrumlimits.h"
#include "shell/globals.h"
#include "shell/run_notice.h"
#include "shell/show_panel.h"
#include "sim/ar7030_sim.h"
#include "support/spectrum_limits.h"
#include "support/go_rig.h"
#include "support/timer_event.h"
#include "support/waits.h"
#include "timer/frmrtty.h"
#include "timer/frmrxtimer.h"
#include "timer/owed_line_off.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <atomic>
#include <functional>

namespace dovrane::test {
namespace {

enum class Path { PanelClose, OwedTry };

struct Case {
    const char* name;
    Path path;
    int rxType;
};

class OtherDeviceSameName : public GoRig, public ::testing::WithParamInterface<Case> {
protected:
    void TearDown() override {
        retryTimes = RetryTimes{};
        owedlineoff::settle();
        GoRig::TearDown();
    }
};

TEST_P(OtherDeviceSameName, NothingOwedToTheNrdReachesTheNewcomer) {
    const Case c = GetParam();
    retryTimes.owedLineOffMs = 20;
    ASSERT_NE(go(c.rxType), nullptr);
    ASSERT_TRUE(settle());
    const QString name = simulator()->devicePath();

    sim::Ar7030Sim other;
    other.setLinkPath(name);
    dialogs.allow(QStringLiteral("does not answer"));
    // The NRD goes and the newcomer takes its name; the port finds the NRD
    // gone with its next write.
    auto swap = [&] {
        simulator()->stop();
        EXPECT_FALSE(Comm1->write("\r"));
        ASSERT_TRUE(other.start());
    };

    if (c.path == Path::PanelClose) {
        swap();
        currentPanel()->unload();
        pump(50);
        EXPECT_TRUE(other.bytesReceived().isEmpty()) << other.bytesReceived().toHex(' ').toStdString();
        EXPECT_EQ(CmdBusy, 0);
        other.stop();
        return;
    }
    // The swap comes in the middle of a try, right after its first step has
    // taken the NRD into remote, and the user's next command then opens the
    // newcomer: the rest of the try is given up.
    std::atomic<bool> posted{false};
    bool swapped = false;
    // The user's command comes as a window's own event does: the events that
    // run between the steps of the try hold it until the step is done.
    QTimer userCommand(currentPanel());
    userCommand.setSingleShot(true);
    QObject::connect(&userCommand, &QTimer::timeout, [&] {
        swap();
        EXPECT_TRUE(Comm1->ensureOpen());
        swapped = true;
    });
    simulator()->setLogger([&](const QString& line) {
        if (!line.endsWith(QLatin1String(": H1")) || posted.exchange(true)) return;
        QMetaObject::invokeMethod(qApp, [&] { userCommand.start(0); }, Qt::QueuedConnection);
    });
    owedlineoff::owe(c.rxType);
    ASSERT_TRUE(pumpUntil([&] { return swapped; }));
    simulator()->setLogger(nullptr);
    // Further tries come and go while the newcomer is there.
    pump(10 * retryTimes.owedLineOffMs);
    EXPECT_TRUE(other.bytesReceived().isEmpty()) << other.bytesReceived().toHex(' ').toStdString();
    EXPECT_EQ(CmdBusy, 0) << "the try given up left the port busy";
    currentPanel()->unload();
    other.stop();
}

INSTANTIATE_TEST_SUITE_P(Paths, OtherDeviceSameName,
                         ::testing::Values(Case{"PanelClose_NRD535", Path::PanelClose, 2},
                                           Case{"PanelClose_NRD545", Path::PanelClose, 4},
                                           Case{"OwedTry_NRD535", Path::OwedTry, 2},
                                           Case{"OwedTry_NRD545", Path::OwedTry, 4}),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// ---- the runs ----

enum class RunKind {
    Spectrum,
    ListScan,
    Smeter,
    Propagation,
    TimerEventStart,   // the programme's tick that starts an event
    TimerEvent,        // the running event's ticks, then its end
    SmeterStop,        // the user's Stop: the run's end, the hold released
    TimerOff,          // the user's Timer Off in the middle of an event
    RttyStop,          // the user's Stop of an RTTY reception: its switch-off
};

struct RunCase {
    RunKind run;
    int rxType;
};

const char* runName(RunKind r) {
    switch (r) {
    case RunKind::Spectrum: return "Spectrum";
    case RunKind::ListScan: return "ListScan";
    case RunKind::Smeter: return "Smeter";
    case RunKind::Propagation: return "Propagation";
    case RunKind::TimerEventStart: return "TimerEventStart";
    case RunKind::TimerEvent: return "TimerEvent";
    case RunKind::SmeterStop: return "SmeterStop";
    case RunKind::TimerOff: return "TimerOff";
    case RunKind::RttyStop: return "RttyStop";
    }
    return "";
}

// One run as the user starts it and its own timer ticks it; `end` is the
// user's own end of it, for the rows that have one.
struct RunOps {
    std::function<bool()> start;
    std::function<void()> tick;
    std::function<bool()> running;
    std::function<void()> end;
    QString stopText;   // what the one message says besides the silence
};

class OtherDeviceSameNameRun : public GoRig, public ::testing::WithParamInterface<RunCase> {
protected:
    void SetUp() override {
        GoRig::SetUp();
        // The program's own reply deadlines: the good part of the run meets
        // a busy machine too, and the run's device, once gone, answers no
        // question however long it is given.
        replyTimeouts = ReplyTimeouts{};
    }
    void TearDown() override {
        for (Form* w : std::initializer_list<Form*>{forms::loaded<frmSpectrum>(), forms::loaded<frmScanlist>(),
                                                   forms::loaded<frmSmeter>(), forms::loaded<frmPropagation>(),
                                                   forms::loaded<frmRxTimer>(), forms::loaded<frmRtty>()})
            if (w) w->unload();
        owedlineoff::settle();
        Clock::reset();
        GoRig::TearDown();
    }
    void advance(int ms) { Clock::set(now_ = now_.addMSecs(ms)); }
    RunOps ops(RunKind run);

    QDateTime now_{QDate(2027, 6, 1), QTime(9, 0)};
};

RunOps OtherDeviceSameNameRun::ops(RunKind run) {
    auto smeter = [] { return forms::loaded<frmSmeter>(); };
    auto timer = [] { return forms::loaded<frmRxTimer>(); };
    auto startTimer = [this, timer](bool begin) {
        Clock::set(now_);
        toolWindowOpener(QStringLiteral("frmRxTimer"))();
        frmRxTimer* w = timer();
        const auto setUtc = [this](const QDateTime& utc) { Clock::set(now_ = QDateTime(utc.date(), utc.time())); };
        if (begin) {
            if (!beginTimerEvent(w, dialogs, setUtc)) return false;
            w->tmrDuration()->stop();
            return true;
        }
        // Switched on, the event still ahead.
        return programmeTimerEvent(w, dialogs);
    };
    auto timerRuns = [timer] { return timer()->programme().state() != TimerProgramme::State::Editing; };
    auto durationTick = [this, timer] {
        advance(frmRxTimer::RunTickMs);
        timer()->tmrDuration_Timer();
        timer()->tmrDuration()->stop();
    };
    switch (run) {
    case RunKind::Spectrum:
        return {[] {
                    toolWindowOpener(QStringLiteral("frmSpectrum"))();
                    frmSpectrum* w = forms::loaded<frmSpectrum>();
                    if (!w) return false;
                    // Start reads the receiver, then shows the limits
                    // dialog modally: the user fills it in once it is there.
                    const auto answer = whenSpectrumLimitsShown();
                    w->cmdStart_Click();
                    w->timer()->stop();   // the ticks come from the test
                    return w->runActive();
                },
                [] { forms::loaded<frmSpectrum>()->tmrSpectrum_Timer(); },
                [] { return forms::loaded<frmSpectrum>()->runActive(); }, nullptr,
                QStringLiteral("The spectrum scan has stopped")};
    case RunKind::ListScan:
        return {[] {
                    toolWindowOpener(QStringLiteral("frmScanlist"))();
                    frmScanlist* w = forms::loaded<frmScanlist>();
                    if (!w) return false;
                    for (int r = 0; r < 3; ++r) w->txtFreqlist[size_t(r)]->setText(QString::number(9500 + 100 * r));
                    w->cmdStart_Click();
                    // Kept active, as the tick looks at it, but never firing.
                    w->timer()->start(600000);
                    return w->runActive();
                },
                [] { forms::loaded<frmScanlist>()->tmrScanlist_Timer(); },
                [] { return forms::loaded<frmScanlist>()->runActive(); }, nullptr,
                QStringLiteral("The list scan has stopped")};
    case RunKind::Smeter:
    case RunKind::SmeterStop:
        return {[smeter] {
                    toolWindowOpener(QStringLiteral("frmSmeter"))();
                    frmSmeter* w = smeter();
                    if (!w) return false;
                    w->cmdStart_Click();
                    w->timer()->stop();
                    return w->recording();
                },
                [smeter] { smeter()->tmrSmeter_Timer(); smeter()->timer()->stop(); },
                [smeter] { return smeter()->recording(); },
                run == RunKind::SmeterStop ? std::function<void()>([smeter] { smeter()->cmdStop_Click(); }) : nullptr,
                QStringLiteral("The S meter has stopped")};
    case RunKind::Propagation:
        return {[this] {
                    toolWindowOpener(QStringLiteral("frmPropagation"))();
                    frmPropagation* w = forms::loaded<frmPropagation>();
                    if (!w) return false;
                    Clock::set(now_);
                    w->cmdStart_Click();
                    w->timer()->stop();
                    return w->recording();
                },
                [this] {
                    advance(850);
                    forms::loaded<frmPropagation>()->tmrPropagation_Timer();
                    forms::loaded<frmPropagation>()->timer()->stop();
                },
                [] { return forms::loaded<frmPropagation>()->recording(); }, nullptr,
                QStringLiteral("The recording has stopped")};
    case RunKind::TimerEventStart:
        return {[startTimer] { return startTimer(false); },
                [this, timer] {
                    Clock::set(now_ = QDateTime(QDate(2027, 6, 1), QTime(10, 0, 1)));
                    timer()->tmrTestprog_Timer();
                    timer()->tmrDuration()->stop();
                },
                timerRuns, nullptr, QStringLiteral("could not be set for the programmed event")};
    case RunKind::TimerEvent:
    case RunKind::TimerOff:
        return {[startTimer] { return startTimer(true); }, durationTick, timerRuns,
                run == RunKind::TimerOff ? std::function<void()>([this, timer] {
                    dialogs.expect(QStringLiteral("interrupt the running Timer"), dialogs::Answer::Yes);
                    timer()->timeronoff(0);
                })
                                     : nullptr,
                QStringLiteral("The programmed event has ended")};
    case RunKind::RttyStop:
        return {[] {
                    auto* panel = dynamic_cast<PanelForm*>(currentPanel());
                    if (!panel) return false;
                    panel->menuItem(QStringLiteral("mnuRtty"))->trigger();
                    frmRtty* w = forms::loaded<frmRtty>();
                    if (!w) return false;
                    w->cmdStart_Click();
                    return w->receiving();
                },
                [] { forms::loaded<frmRtty>()->tmrGetRTTY_Timer(); },
                [] { return forms::loaded<frmRtty>()->receiving(); },
                [] { forms::loaded<frmRtty>()->cmdStop_Click(); }, QString()};
    }
    return {};
}

// The run's receiver vanishes in the middle of a run and another receiver
// of the same model, which would answer every question, is given its name.
// The run's next ticks (or the user's own end of it) reopen the port only on
// the run's own device: nothing reaches the newcomer, the end of the run
// with the release of the NRD hold included. The run stops within its count
// of unanswered operations with one message, and nothing stays held.
TEST_P(OtherDeviceSameNameRun, NothingOfTheRunReachesTheNewcomerAndTheRunStopsWithOneMessage) {
    const RunCase c = GetParam();
    // The NRD-535 takes the RTTY switch only with its unit fitted.
    const std::map<int, float> rttyUnit{{13, 1}};
    ASSERT_NE(go(c.rxType, c.run == RunKind::RttyStop ? rttyUnit : std::map<int, float>{}), nullptr);
    ASSERT_TRUE(settle());
    const QString name = simulator()->devicePath();
    RunOps op = ops(c.run);
    ASSERT_TRUE(op.start()) << "the run did not start";
    if (c.run != RunKind::TimerEventStart) op.tick();   // one good tick
    ASSERT_TRUE(settle());
    ASSERT_TRUE(op.running());
    const int holdsBefore = runHolds();

    auto other = sim::makeSim(QLatin1String(modelName(c.rxType)));
    ASSERT_TRUE(other);
    other->setLinkPath(name);
    dialogs.allow(QStringLiteral("does not answer"));
    const qsizetype before = dialogs.shown().size();
    simulator()->stop();
    ASSERT_TRUE(other->start());

    int ticks = 0;
    if (op.end) {
        op.end();
    } else {
        while (op.running() && ticks <= SilenceCount::Limit) {
            op.tick();
            ++ticks;
        }
    }
    EXPECT_FALSE(op.running()) << "the run went on";
    EXPECT_LE(ticks, SilenceCount::Limit) << "the run did not stop at its count of unanswered operations";
    // The owed switch-off of a lost event tries again meanwhile.
    pump(3 * retryTimes.owedLineOffMs + 100);
    EXPECT_TRUE(other->waitIdle());
    EXPECT_TRUE(other->bytesReceived().isEmpty())
        << "reached the newcomer: " << other->bytesReceived().toStdString();

    // The boxes since the swap, but for the user's own question of Timer Off.
    QStringList told;
    for (qsizetype i = before; i < dialogs.shown().size(); ++i)
        if (!dialogs.shown()[i].text.contains(QStringLiteral("interrupt the running Timer")))
            told << dialogs.shown()[i].text;
    ASSERT_EQ(told.size(), 1) << "one message: " << told.join(QStringLiteral(" | ")).toStdString();
    const QString text = told.first();
    EXPECT_TRUE(text.contains(QStringLiteral("The receiver does not answer"))) << text.toStdString();
    if (!op.end) {
        EXPECT_TRUE(text.contains(op.stopText)) << text.toStdString();
    }
    // The run's hold is given up although its release could not go out.
    const bool held = (c.rxType == 2 || c.rxType == 4) && c.run != RunKind::RttyStop;
    EXPECT_EQ(runHolds(), holdsBefore - (held ? 1 : 0));
    EXPECT_EQ(RemoteHeld, 0);
    EXPECT_EQ(CmdBusy, 0);
    other->stop();
}

std::vector<RunCase> runCases() {
    std::vector<RunCase> out;
    for (RunKind r : {RunKind::Spectrum, RunKind::ListScan, RunKind::Smeter, RunKind::Propagation, RunKind::TimerEventStart, RunKind::TimerEvent})
        for (int rxType : {1, 2, 3, 4}) out.push_back({r, rxType});
    // The user's end of a run releases an NRD's hold; the others have none.
    for (RunKind r : {RunKind::SmeterStop, RunKind::TimerOff, RunKind::RttyStop})
        for (int rxType : {2, 4}) out.push_back({r, rxType});
    return out;
}

std::string runCaseName(const ::testing::TestParamInfo<RunCase>& info) {
    static const char* const models[] = {"", "AR7030", "NRD535", "RX320", "NRD545"};
    return std::string(runName(info.param.run)) + "_" + models[info.param.rxType];
}

INSTANTIATE_TEST_SUITE_P(RunsAndModels, OtherDeviceSameNameRun, ::testing::ValuesIn(runCases()), runCaseName);

} // namespace
} // namespace dovrane::test
