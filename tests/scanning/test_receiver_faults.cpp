// Every measuring tool and the timer, on every receiver at its real line
// speed, when the receiver falls silent or goes away in the middle of a run
// and then comes back: one message that names both the receiver and the run,
// the run stopped, nothing stored that the receiver did not give, the next
// action works, and the program keeps answering events all along.
#include "panels/panel_lock.h"
#include "panels/panelform.h"
#include "panels/rxpanel.h"
#include "panels/tool_windows.h"
#include "platform/canvas.h"
#include "platform/clock.h"
#include "platform/commport.h"
#include "platform/delay.h"
#include "platform/timeouts.h"
#include "scanning/frmpropagation.h"
#include "scanning/frmscanlist.h"
#include "scanning/frmscanpairs.h"
#include "scanning/frmsmeter.h"
#include "scanning/frmspectrum.h"
#include "scanning/frmspectrumlimits.h"
#include "scanning/tool_run.h"
#include "drivers/ar7030/ar7030_protocol.h"
#include "shell/globals.h"
#include "shell/show_panel.h"
#include "sim/ar7030_sim.h"
#include "scanning/smeter_histogram.h"
#include "sim/nrd_sim_base.h"
#include "sim/rx320_sim.h"
#include "support/spectrum_limits.h"
#include "support/go_rig.h"
#include "support/timer_event.h"
#include "support/waits.h"
#include "timer/frmrxtimer.h"
#include "timer/owed_line_off.h"
#include "support/when_shown.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cmath>
#include <functional>

namespace dovrane::test {
namespace {

enum class Tool { Spectrum, ListScan, PairScan, Smeter, Propagation, Timer };
enum class LineFault { Silent, Vanished };

const char* toolName(Tool t) {
    switch (t) {
    case Tool::Spectrum: return "Spectrum";
    case Tool::ListScan: return "ListScan";
    case Tool::PairScan: return "PairScan";
    case Tool::Smeter: return "Smeter";
    case Tool::Propagation: return "Propagation";
    case Tool::Timer: return "Timer";
    }
    return "";
}

// What the test does with one tool; every step acts as the user or the
// tool's own timer would.
struct ToolOps {
    std::function<bool()> start;       // opens the window and starts a run
    std::function<void()> tick;        // one tick of the run's timer
    std::function<bool()> running;
    // What the run keeps and a fault must leave as it was: the samples of a
    // measuring tool, the event of the timer; none for the pair scan, which
    // only tunes.
    std::function<QByteArray()> stored;
    const char* stopText;
};

using Param = std::tuple<Tool, int, LineFault>;

template <class T> T* window() { return forms::loaded<T>(); }

std::string modelTag(int rxType) {
    switch (rxType) {
    case 1: return "AR7030";
    case 2: return "NRD535";
    case 3: return "RX320";
    default: return "NRD545";
    }
}

class ToolFaults : public GoRig, public ::testing::WithParamInterface<Param> {
protected:
    void SetUp() override {
        GoRig::SetUp();
        // The program's own reply deadlines, as a user has them.
        replyTimeouts = ReplyTimeouts{};
    }
    void TearDown() override {
        Clock::reset();
        GoRig::TearDown();
    }

    // The program on rxType, its receiver behind a fixed device name that
    // follows the simulator as a device node follows an adapter.
    PanelForm* startProgram(int rxType) {
        sim::SimReceiver* rx = startSimulator(rxType);
        if (!rx) return nullptr;
        rx->stop();
        rx->setLinkPath(dataPath(QStringLiteral("ttyRX")));
        if (!rx->start()) return nullptr;
        writeDataFile(QStringLiteral("serialports.ini"), rx->linkPath().toUtf8() + "\r\n");
        rx->setSmeterCurve([](double) { return 9.0; });
        // The line outputs play at a level, so that switching one off shows.
        PanelForm* panel = go(rxType, {{3, 0}, {28, 40}, {31, 55}});
        settle();
        rx->setBaud(QString::fromLatin1(panelModel(rxType).lineSettings).section(',', 0, 0).toInt());
        // The start-up commands crossed an unpaced line, but the port counts
        // them at the real rate: let that count run out, or the first reply
        // wait of the run would include wire time the simulator never took.
        if (Comm1) delayms(int(Comm1->nsUntilSent() / 1'000'000) + 20);
        return panel;
    }

    static void closeTools() {
        for (Form* w : std::initializer_list<Form*>{window<frmSpectrum>(), window<frmScanlist>(), window<frmScanpairs>(),
                                                   window<frmSmeter>(), window<frmPropagation>(), window<frmRxTimer>()})
            if (w) w->unload();
    }

    void advance(int ms) { Clock::set(now_ = now_.addMSecs(ms)); }

    // Whether the receiver's line output (an NRD's timer relay) is off.
    bool lineOutOff(int rxType) {
        settle();
        sim::SimReceiver* rx = simulator();
        switch (rxType) {
        case 1:
            return ar7030::levelFromByte(ar7030::LeftLineRegister,
                                 dynamic_cast<sim::Ar7030Sim&>(*rx).reg(0, ar7030::LeftLineRegister.address)) == 0;
        case 3: return dynamic_cast<sim::Rx320Sim&>(*rx).state().lineAtt == 63;
        default: return !dynamic_cast<sim::NrdSimBase&>(*rx).timerRelay();
        }
    }

    ToolOps ops(Tool tool);

    // Ticks the run as its timer would, at most six times; how many it took.
    static int tickWhileRunning(const ToolOps& op) {
        int ticks = 0;
        while (op.running() && ticks < 6) {
            op.tick();
            ++ticks;
            pump(60);
        }
        pump(100);
        return ticks;
    }

    // Since `before` boxes, one more: the receiver's silence and the run's stop in one text.
    void expectOneMessageNamingBoth(const ToolOps& op, qsizetype before) {
        ASSERT_EQ(dialogs.shown().size(), before + 1) << "one message";
        const QString text = dialogs.shown().last().text;
        EXPECT_TRUE(text.contains(QStringLiteral("The receiver does not answer"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QLatin1String(op.stopText))) << text.toStdString();
    }

    QDateTime now_{QDate(2027, 6, 1), QTime(10, 0, 0, 300)};
};

QByteArray floats(const std::vector<float>& v) {
    return QByteArray(reinterpret_cast<const char*>(v.data()), qsizetype(v.size() * sizeof(float)));
}

ToolOps ToolFaults::ops(Tool tool) {
    switch (tool) {
    case Tool::Spectrum:
        return {[] {
                    toolWindowOpener(QStringLiteral("frmSpectrum"))();
                    frmSpectrum* w = window<frmSpectrum>();
                    if (!w) return false;
                    // Start shows the limits dialog modally; the user fills it in.
                    const auto answer = whenSpectrumLimitsShown();
                    w->cmdStart_Click();
                    if (!w->runActive()) return false;
                    w->timer()->start(600000);   // the ticks come from the test
                    return true;
                },
                [] { window<frmSpectrum>()->tmrSpectrum_Timer(); },
                [] { return window<frmSpectrum>()->runActive(); },
                [] {
                    const SpecValueArray& v = window<frmSpectrum>()->scan().values();
                    return floats(std::vector<float>(v.begin(), v.end()));
                },
                "The spectrum scan has stopped"};
    case Tool::ListScan:
        return {[] {
                    toolWindowOpener(QStringLiteral("frmScanlist"))();
                    frmScanlist* w = window<frmScanlist>();
                    if (!w) return false;
                    for (int r = 0; r < 3; ++r) w->txtFreqlist[size_t(r)]->setText(QString::number(9500 + 100 * r));
                    w->cmdStart_Click();
                    w->timer()->start(600000);
                    return w->runActive();
                },
                [] { window<frmScanlist>()->tmrScanlist_Timer(); },
                [] { return window<frmScanlist>()->timer()->isActive(); },
                [] {
                    std::vector<float> v;
                    for (int r = 0; r < 3; ++r)
                        for (int k = 1; k <= ScanlistSamples; ++k) v.push_back(window<frmScanlist>()->scan().sample(r, k));
                    return floats(v);
                },
                "The list scan has stopped"};
    case Tool::PairScan:
        writeDataFile(QStringLiteral("SFP/SFP_FAULT.TXT"), "9500,9510, 1,a\r\n9600,9610, 1,b\r\n9700,9710, 1,c\r\n");
        return {[this] {
                    toolWindowOpener(QStringLiteral("frmScanpairs"))();
                    frmScanpairs* w = window<frmScanpairs>();
                    if (!w) return false;
                    FileKindPath[12] = dataPath(QStringLiteral("SFP/"));
                    FileKindName[12] = QStringLiteral("SFP_FAULT.TXT");
                    w->loadscanpairsfile();
                    w->cmdStart_Click();
                    w->timer()->start(600000);
                    return w->runActive();
                },
                [] {
                    // Each tick comes when the scan asks the receiver whether it is there.
                    Clock::pass(AliveCheck::EveryMs);
                    window<frmScanpairs>()->tmrScanpairs_Timer();
                },
                [] { return window<frmScanpairs>()->timer()->isActive(); },
                nullptr,
                "The pair scan has stopped"};
    case Tool::Smeter:
        return {[] {
                    toolWindowOpener(QStringLiteral("frmSmeter"))();
                    frmSmeter* w = window<frmSmeter>();
                    if (!w) return false;
                    w->cmdStart_Click();
                    return true;
                },
                [] { window<frmSmeter>()->tmrSmeter_Timer(); },
                [] { return !window<frmSmeter>()->findChild<QPushButton*>(QStringLiteral("cmdStart"))->isEnabled(); },
                [] {
                    std::vector<float> v;
                    for (int b = 1; b <= SmeterHistogram::Bins; ++b) v.push_back(float(window<frmSmeter>()->histogram().count(b)));
                    return floats(v);
                },
                "The S meter has stopped"};
    case Tool::Propagation:
        return {[this] {
                    toolWindowOpener(QStringLiteral("frmPropagation"))();
                    frmPropagation* w = window<frmPropagation>();
                    if (!w) return false;
                    Clock::set(now_);
                    w->cmdStart_Click();
                    w->timer()->start(600000);
                    return w->recording();
                },
                [this] {
                    advance(850);
                    window<frmPropagation>()->tmrPropagation_Timer();
                },
                [] { return window<frmPropagation>()->recording(); },
                [] {
                    frmPropagation* w = window<frmPropagation>();
                    const QImage img = w->surface()->image();
                    return QByteArray(reinterpret_cast<const char*>(img.constBits()), img.sizeInBytes()) +
                           QByteArray::number(w->PropLevel);
                },
                "The recording has stopped"};
    case Tool::Timer:
        return {[this] {
                    Clock::set(now_ = QDateTime(QDate(2027, 6, 1), QTime(9, 0)));
                    toolWindowOpener(QStringLiteral("frmRxTimer"))();
                    frmRxTimer* w = window<frmRxTimer>();
                    if (!beginTimerEvent(w, dialogs, [this](const QDateTime& utc) {
                            Clock::set(now_ = QDateTime(utc.date(), utc.time()));
                        }))
                        return false;
                    w->tmrDuration()->stop();
                    settle();
                    return w->programme().state() == TimerProgramme::State::Running;
                },
                [this] {
                    advance(frmRxTimer::RunTickMs);
                    window<frmRxTimer>()->tmrDuration_Timer();
                    window<frmRxTimer>()->tmrDuration()->stop();
                },
                [] { return window<frmRxTimer>()->programme().state() != TimerProgramme::State::Editing; },
                [] {
                    // The event as it was fixed: a fault ends it, but its slot stays.
                    const TimerProgramme& p = window<frmRxTimer>()->programme();
                    QByteArray b(reinterpret_cast<const char*>(p.prog.data()), qsizetype(sizeof p.prog));
                    for (bool f : p.progfixed) b += char(f);
                    return b;
                },
                "The programmed event has ended"};
    }
    return {};
}

TEST_P(ToolFaults, OneMessageTheRunStoppedNothingInventedAndTheNextActionWorks) {
    const auto [tool, rxType, fault] = GetParam();
    // The allowances are long (see below) from the start: the good tick
    // meets a busy machine too.
    constexpr int AllowanceMs = 400;
    replyTimeouts.ar7030ByteMs = replyTimeouts.nrdReplyMs = replyTimeouts.rx320SmeterMs = AllowanceMs;
    ASSERT_TRUE(startProgram(rxType));
    sim::SimReceiver* rx = simulator();
    ToolOps op = ops(tool);
    ASSERT_TRUE(op.start()) << "the run did not start";
    op.tick();   // one good tick
    settle();
    ASSERT_TRUE(op.running());
    const QByteArray kept = op.stored ? op.stored() : QByteArray();
    if (tool == Tool::Timer) {
        EXPECT_FALSE(lineOutOff(rxType)) << "the event did not switch the line output on";
    }

    // The program's own 50 ms heartbeat while the receiver is gone. A tick
    // holds it for one unanswered read at most: its own wire time and
    // pauses (under 200 ms) and one allowance. The allowances are long here,
    // so that one read more, a whole allowance, stands out from the delays
    // of a busy machine.
    Heartbeat beat;

    dialogs.allow(QStringLiteral("does not answer"));
    const qsizetype before = dialogs.shown().size();
    if (fault == LineFault::Silent) rx->setFault(sim::Fault::Silent);
    else rx->stop();
    beat.start(50);
    // A silent receiver still takes every byte: a tool that only tunes
    // learns of it from the question it asks now and then.
    const int ticks = tickWhileRunning(op);
    beat.stop();
    EXPECT_FALSE(op.running()) << "the run went on";
    EXPECT_LE(ticks, 4);
    expectOneMessageNamingBoth(op, before);
    if (op.stored) {
        EXPECT_EQ(op.stored(), kept) << "stored what the receiver did not give";
    }
    EXPECT_LT(beat.longestGapMs(), 2 * AllowanceMs) << "events stood still for " << beat.longestGapMs() << " ms";
    if (tool == Tool::Timer) {
        EXPECT_EQ(runHolds(), 0) << "the hold was not released";
    }

    // Back: the next action reaches the receiver, with no further message.
    if (fault == LineFault::Silent) {
        rx->setFault(sim::Fault::None);
    } else {
        ASSERT_TRUE(rx->start());
    }
    rx->clearBytesReceived();
    if (tool == Tool::Timer && fault == LineFault::Vanished) {
        // Back as another device (a pseudo-terminal made afresh is another,
        // whatever its number): the switch-off owed to the one that vanished
        // waits for the user's Go there.
        pump(2 * retryTimes.owedLineOffMs);
        EXPECT_TRUE(rx->bytesReceived().isEmpty()) << "a try reached a device it was not owed to";
        currentPanel()->unload();
        ASSERT_NE(go(rxType, {{3, 0}, {28, 40}, {31, 55}}), nullptr);
        // The load's try pays there; an AR7030's or RX-320's load then sets
        // the line levels of the settings, as every load does.
        if (rxType == 2 || rxType == 4) {
            EXPECT_TRUE(lineOutOff(rxType)) << "the relay was not switched off";
        }
    } else if (tool == Tool::Timer) {
        // The switch-off owed since the event ended goes out with the next try.
        EXPECT_TRUE(pumpUntil([&] { return lineOutOff(rxType); }, retryTimes.owedLineOffMs + BusyMachineCapMs))
            << "the line output was not switched off";
    } else {
        if (!op.running()) {
            ASSERT_TRUE(op.start());
        }
        op.tick();
        op.tick();
        settle();
        EXPECT_TRUE(op.running());
        if (tool != Tool::PairScan) {
            EXPECT_NE(op.stored(), kept) << "nothing measured once the receiver was back";
        }
    }
    EXPECT_FALSE(rx->bytesReceived().isEmpty());
    pump(50);
    EXPECT_EQ(dialogs.shown().size(), before + 1);
    // Closed as the user closes it, while the receiver and the panel are there.
    closeTools();
}

// A receiver that is silent already when the user presses Start: the reads
// of the Start itself (attenuator, frequency) and those of the run are one
// fault, told once.
class ToolStartFaults : public ToolFaults {};

TEST_P(ToolStartFaults, AStartOnASilentReceiverGivesOneMessage) {
    const auto [tool, rxType, fault] = GetParam();
    ASSERT_TRUE(startProgram(rxType));
    ToolOps op = ops(tool);
    dialogs.allow(QStringLiteral("does not answer"));
    const qsizetype before = dialogs.shown().size();
    simulator()->setFault(sim::Fault::Silent);
    ASSERT_TRUE(op.start()) << "the run did not start";
    pump(100);
    tickWhileRunning(op);
    // Every run stops: the pair scan, which only tunes and whose every byte
    // a silent receiver takes, learns of the silence from its questions.
    EXPECT_FALSE(op.running()) << "the run went on";
    expectOneMessageNamingBoth(op, before);
    closeTools();
}

INSTANTIATE_TEST_SUITE_P(
    AllToolsAndModels, ToolStartFaults,
    ::testing::Combine(::testing::Values(Tool::Spectrum, Tool::ListScan, Tool::PairScan, Tool::Smeter,
                                         Tool::Propagation),
                       ::testing::Values(1, 2, 3, 4), ::testing::Values(LineFault::Silent)),
    [](const ::testing::TestParamInfo<Param>& info) {
        return std::string(toolName(std::get<0>(info.param))) + "_" + modelTag(std::get<1>(info.param));
    });

// The spectrum's Start reads the attenuator, then asks for the limits: a
// receiver that did not answer the read is told of even when no run follows.
class SpectrumStartCancelled : public ToolFaults {};

TEST_P(SpectrumStartCancelled, TheReceiverThatDidNotAnswerIsToldOfOnce) {
    const int rxType = std::get<1>(GetParam());
    ASSERT_TRUE(startProgram(rxType));
    toolWindowOpener(QStringLiteral("frmSpectrum"))();
    frmSpectrum* w = window<frmSpectrum>();
    ASSERT_TRUE(w);
    dialogs.allow(QStringLiteral("does not answer"));
    const qsizetype before = dialogs.shown().size();
    simulator()->setFault(sim::Fault::Silent);
    const auto answer = whenShown<frmSpectrumlimits>([](frmSpectrumlimits* dlg) { dlg->cmdCancel_Click(); });
    w->cmdStart_Click();
    pump(100);
    EXPECT_FALSE(w->runActive());
    ASSERT_EQ(dialogs.shown().size(), before + 1) << "one message";
    EXPECT_TRUE(dialogs.shown().last().text.contains(QStringLiteral("The receiver does not answer")));
    closeTools();
}

INSTANTIATE_TEST_SUITE_P(
    ModelsWithAnAttenuator, SpectrumStartCancelled,
    ::testing::Combine(::testing::Values(Tool::Spectrum), ::testing::Values(1, 2, 4),
                       ::testing::Values(LineFault::Silent)),
    [](const ::testing::TestParamInfo<Param>& info) { return modelTag(std::get<1>(info.param)); });

// The receiver goes away just as a scan tunes its next step and is back for
// the tick after: that tick finds the receiver still where it was, so what
// it reads there belongs to another frequency and must not be stored. Each
// frequency of the scans has a level of its own, four S units apart from its
// neighbours', so a sample kept under the wrong frequency shows.
class ScanTuneFaults : public ToolFaults {};

double levelAt(double kHz) { return 2 + 4 * double(std::llround(kHz / 5) % 3); }

TEST_P(ScanTuneFaults, ASampleIsStoredOnlyForTheFrequencyTheReceiverTook) {
    const auto [tool, rxType, fault] = GetParam();
    ASSERT_TRUE(startProgram(rxType));
    sim::SimReceiver* rx = simulator();
    rx->setSmeterCurve(levelAt);
    ToolOps op = ops(tool);
    dialogs.allow(QStringLiteral("does not answer"));
    ASSERT_TRUE(op.start());
    op.tick();   // measures the first frequency and tunes the second
    settle();
    rx->stop();
    op.tick();   // no sample, and the third frequency cannot be tuned
    ASSERT_TRUE(rx->start());
    // Back as a device made afresh (a pseudo-terminal is never the same one
    // again, as a re-plugged adapter is): the user's own next command finds
    // it there; a run's tick reopens the port only on the run's device.
    ASSERT_TRUE(Comm1->ensureOpen());
    for (int i = 0; i < 4; ++i) {
        op.tick();
        settle();
    }
    ASSERT_TRUE(op.running());

    // Every sample kept, with the frequency it is kept for.
    std::vector<std::pair<double, float>> kept;
    if (tool == Tool::Spectrum) {
        const frmSpectrum* w = window<frmSpectrum>();
        for (int i = 0; i <= w->scan().measuredTop(); ++i)
            kept.emplace_back(w->scan().limits().freqOf(i), w->scan().values()[size_t(i)]);
    } else {
        const frmScanlist* w = window<frmScanlist>();
        for (int r = 0; r < 3; ++r)
            for (int k = 1; k <= ScanlistSamples; ++k)
                kept.emplace_back(9500 + 100 * r, w->scan().sample(r, k));
    }
    int measured = 0;
    for (const auto& [kHz, level] : kept) {
        if (level == 0) continue;   // not measured
        ++measured;
        EXPECT_NEAR(level, levelAt(kHz), 1.5) << "a sample kept for " << kHz << " kHz";
    }
    EXPECT_GE(measured, 3) << "the scan did not measure once the receiver was back";
    closeTools();
}

INSTANTIATE_TEST_SUITE_P(
    SpectrumAndListScan, ScanTuneFaults,
    ::testing::Combine(::testing::Values(Tool::Spectrum, Tool::ListScan), ::testing::Values(1, 2, 3, 4),
                       ::testing::Values(LineFault::Vanished)),
    [](const ::testing::TestParamInfo<Param>& info) {
        return std::string(toolName(std::get<0>(info.param))) + "_" + modelTag(std::get<1>(info.param));
    });

// The attenuator read of Start gets no answer; the receiver answers again
// by the first tick. The attenuator stands at -20 dB and the meter at S9, so
// every level stored belongs at 12.33 (9 + 20/6); 9.0 is a level stored
// without its correction.
class AttenuatorLostAtStart : public ToolFaults {};

TEST_P(AttenuatorLostAtStart, NoLevelIsStoredWithoutItsCorrection) {
    const auto [tool, rxType, fault] = GetParam();
    (void)fault;
    ASSERT_TRUE(startProgram(rxType));
    sim::SimReceiver* rx = simulator();
    if (rxType == 1) {
        dynamic_cast<sim::Ar7030Sim&>(*rx).setReg(0, ar7030::RegAttenuator, 3);   // "-20 dB"
    } else {
        auto& nrd = dynamic_cast<sim::NrdSimBase&>(*rx);
        auto v = nrd.vfo();
        v.attenuator = 1;   // "-20 dB"
        nrd.setVfo(v);
    }
    ToolOps op = ops(tool);
    dialogs.allow(QStringLiteral("does not answer"));
    rx->setFault(sim::Fault::Silent);
    ASSERT_TRUE(op.start()) << "the run did not start";
    rx->setFault(sim::Fault::None);
    for (int i = 0; i < 3; ++i) {
        op.tick();
        settle();
    }
    ASSERT_TRUE(op.running());

    // Every level the run keeps.
    std::vector<float> kept;
    switch (tool) {
    case Tool::Spectrum: {
        const SpectrumScan& scan = window<frmSpectrum>()->scan();
        for (int i = 0; i <= scan.measuredTop(); ++i) kept.push_back(scan.values()[size_t(i)]);
        break;
    }
    case Tool::ListScan:
        for (int r = 0; r < 3; ++r)
            for (int k = 1; k <= ScanlistSamples; ++k)
                if (const float v = window<frmScanlist>()->scan().sample(r, k); v != 0) kept.push_back(v);
        break;
    case Tool::Smeter:
        for (int b = 1; b <= SmeterHistogram::Bins; ++b)
            for (int n = 0; n < window<frmSmeter>()->histogram().count(b); ++n) kept.push_back(float(b));
        break;
    default:
        kept.push_back(window<frmPropagation>()->PropLevel);
        break;
    }
    ASSERT_FALSE(kept.empty()) << "nothing measured";
    for (float level : kept) EXPECT_NEAR(level, 9 + 20.0 / 6, 0.5);
    closeTools();
}

INSTANTIATE_TEST_SUITE_P(
    LevelToolsAndModelsWithAnAttenuator, AttenuatorLostAtStart,
    ::testing::Combine(::testing::Values(Tool::Spectrum, Tool::ListScan, Tool::Smeter, Tool::Propagation),
                       ::testing::Values(1, 2, 4), ::testing::Values(LineFault::Silent)),
    [](const ::testing::TestParamInfo<Param>& info) {
        return std::string(toolName(std::get<0>(info.param))) + "_" + modelTag(std::get<1>(info.param));
    });

// One step of a single spectrum run goes unanswered once: the file saved
// afterwards holds a level the receiver gave for every step, each step's
// own, and no "000" among them.
class SpectrumStepUnanswered : public ToolFaults {};

TEST_P(SpectrumStepUnanswered, TheSavedFileHoldsOnlyLevelsTheReceiverGave) {
    const int rxType = std::get<1>(GetParam());
    ASSERT_TRUE(startProgram(rxType));
    sim::SimReceiver* rx = simulator();
    rx->setSmeterCurve(levelAt);
    toolWindowOpener(QStringLiteral("frmSpectrum"))();
    frmSpectrum* w = window<frmSpectrum>();
    ASSERT_TRUE(w);
    dialogs.allow(QStringLiteral("does not answer"));
    const auto answer = whenShown<frmSpectrumlimits>([](frmSpectrumlimits* dlg) {
        const char* texts[] = {"9500", "9520", "5", "0.5"};
        for (int i = 0; i < 4; ++i) dlg->txtInput[size_t(i)]->setText(QLatin1String(texts[i]));
        dlg->cmdOK_Click();
    });
    w->cmdStart_Click();
    ASSERT_TRUE(w->runActive());
    w->timer()->start(600000);   // the ticks come from the test
    w->tmrSpectrum_Timer();      // step 0
    settle();
    rx->setStopAnsweringAfter(0);
    w->tmrSpectrum_Timer();      // step 1: no answer
    settle();
    rx->setStopAnsweringAfter(-1);
    for (int ticks = 0; w->runActive() && ticks < 10; ++ticks) {
        w->tmrSpectrum_Timer();
        settle();
    }
    ASSERT_FALSE(w->runActive()) << "the single run did not end";

    FileKindPath[6] = dataPath(QStringLiteral("SAN/"));
    FileKindName[6] = QStringLiteral("SAN_ONCE.TXT");
    ASSERT_TRUE(w->savespectrumfile());
    QFile file(FileKindPath[6] + FileKindName[6]);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_GE(lines.size(), 10);
    EXPECT_EQ(lines[4].trimmed(), QByteArray("4")) << "the last step saved";
    for (int i = 0; i <= 4; ++i) {
        const QByteArray value = lines[5 + i].trimmed();
        EXPECT_NE(value, QByteArray("000")) << "step " << i;
        EXPECT_NEAR(value.toDouble() / 10, levelAt(9500 + 5 * i), 1.0) << "step " << i;
    }
    closeTools();
}

INSTANTIATE_TEST_SUITE_P(
    AllModels, SpectrumStepUnanswered,
    ::testing::Combine(::testing::Values(Tool::Spectrum), ::testing::Values(1, 2, 3, 4),
                       ::testing::Values(LineFault::Silent)),
    [](const ::testing::TestParamInfo<Param>& info) { return modelTag(std::get<1>(info.param)); });

INSTANTIATE_TEST_SUITE_P(
    AllToolsModelsAndFaults, ToolFaults,
    ::testing::Combine(::testing::Values(Tool::Spectrum, Tool::ListScan, Tool::PairScan, Tool::Smeter,
                                         Tool::Propagation, Tool::Timer),
                       ::testing::Values(1, 2, 3, 4), ::testing::Values(LineFault::Silent, LineFault::Vanished)),
    [](const ::testing::TestParamInfo<Param>& info) {
        return std::string(toolName(std::get<0>(info.param))) + "_" + modelTag(std::get<1>(info.param)) + "_" +
               (std::get<2>(info.param) == LineFault::Silent ? "silent" : "vanished");
    });

} // namespace
} // namespace dovrane::test
