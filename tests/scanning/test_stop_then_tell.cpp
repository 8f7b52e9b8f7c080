// A run that ends by Stop (Timer Off), by its window's close or by the
// receiver's silence while it holds a receiver notice: by the time any box
// opens, the run is whole stopped — its timer off, the NRD receiver back from
// remote, the panels unlocked, the attenuator frame back, every button as a
// stopped run leaves it (or, for a close, the menu interlock given back) —
// and the notice is told once. The RTTY window only listens and holds no
// notice: the switch-off its ending sends to a receiver that has gone is the
// one told.
#include "memories/frmmemman.h"
#include "memories/memory_image.h"
#include "panels/panel_lock.h"
#include "panels/panelform.h"
#include "panels/tool_windows.h"
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
#include "scanning/propagation_file.h"
#include "shell/file_kinds.h"
#include "shell/globals.h"
#include "shell/run_notice.h"
#include "shell/show_panel.h"
#include "sim/sim_receiver.h"
#include "support/spectrum_limits.h"
#include "support/go_rig.h"
#include "support/timer_event.h"
#include "timer/frmrtty.h"
#include "timer/frmrxtimer.h"
#include "support/when_shown.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <map>

namespace dovrane::test {
namespace {

enum class Tool { Spectrum, ListScan, PairScan, Smeter, Propagation, Timer, MemoryScan, Rtty };
// Failure: the receiver stays silent (or gone) until the run stops itself.
enum class Ending { Stop, Exit, Failure };

struct Case {
    const char* name;
    Tool tool;
    Ending ending;
};

// What one tool's run needs of the test.
struct RunOps {
    std::function<Form*()> start;   // opens the window and starts a run
    std::function<void()> tick;
    std::function<void()> stop;     // the user's Stop (or Timer Off)
    std::function<bool()> running;
    std::function<bool()> timerActive;
    QStringList enabledAfterStop;   // controls a stopped run leaves enabled
    const char* menuItem;           // a panel menu item the open window holds
    bool fileOpen = false;          // the run records to a file: its stop says so too
    // "Exit" where a run leaves it enabled; otherwise the window's close.
    std::function<void()> exit = nullptr;
    // The run ticks with the receiver and takes its notice over; one that
    // only listens learns of a receiver gone from its ending's own command.
    bool takesNotice = true;
};

template <class T> T* window() { return forms::loaded<T>(); }

class StopThenTell : public GoRig, public ::testing::WithParamInterface<Case> {
protected:
    void TearDown() override {
        for (Form* w : std::initializer_list<Form*>{window<frmSpectrum>(), window<frmScanlist>(),
                                                   window<frmScanpairs>(), window<frmSmeter>(),
                                                   window<frmPropagation>(), window<frmRxTimer>(),
                                                   window<frmMemman>(), window<frmRtty>()})
            if (w) w->unload();
        Clock::reset();
        GoRig::TearDown();
    }

    PanelForm* startNrd535(const std::map<int, float>& settings = {}) {
        sim::SimReceiver* rx = startSimulator(2);
        if (!rx) return nullptr;
        // A device name that stays when the simulator goes and comes back.
        rx->stop();
        rx->setLinkPath(dataPath(QStringLiteral("ttyRX")));
        if (!rx->start()) return nullptr;
        writeDataFile(QStringLiteral("serialports.ini"), rx->linkPath().toUtf8() + "\r\n");
        rx->setSmeterCurve([](double) { return 9.0; });
        PanelForm* panel = go(2, settings);
        settle();
        rx->setBaud(4800);
        if (Comm1) delayms(int(Comm1->nsUntilSent() / 1'000'000) + 20);
        return panel;
    }

    void advance(int ms) { Clock::set(now_ = now_.addMSecs(ms)); }

    RunOps run(Tool tool);

    QDateTime now_{QDate(2027, 6, 1), QTime(10, 0, 0, 300)};
};

RunOps StopThenTell::run(Tool tool) {
    switch (tool) {
    case Tool::Spectrum:
        return {[] {
                    toolWindowOpener(QStringLiteral("frmSpectrum"))();
                    frmSpectrum* w = window<frmSpectrum>();
                    const auto answer = whenSpectrumLimitsShown();
                    w->cmdStart_Click();
                    w->timer()->start(600000);
                    return w;
                },
                [] { window<frmSpectrum>()->tmrSpectrum_Timer(); },
                [] { window<frmSpectrum>()->cmdStop_Click(); },
                [] { return window<frmSpectrum>()->runActive(); },
                [] { return window<frmSpectrum>()->timer()->isActive(); },
                {"cmdStart", "cmdStop", "cmdTunerx", "cmdCls", "cmdsaveas", "cmdLoad", "cmdRezeri", "cmdExit"},
                "mnuSmeter"};
    case Tool::ListScan:
        return {[] {
                    toolWindowOpener(QStringLiteral("frmScanlist"))();
                    frmScanlist* w = window<frmScanlist>();
                    for (int r = 0; r < 3; ++r) w->txtFreqlist[size_t(r)]->setText(QString::number(9500 + 100 * r));
                    w->cmdStart_Click();
                    w->timer()->start(600000);
                    return w;
                },
                [] { window<frmScanlist>()->tmrScanlist_Timer(); },
                [] { window<frmScanlist>()->cmdStop_Click(); },
                [] { return window<frmScanlist>()->runActive(); },
                [] { return window<frmScanlist>()->timer()->isActive(); },
                {"cmdCls", "cmdContinue", "cmdLoad", "cmdsaveas", "cmdRezeri", "cmdExit"},
                "mnuSmeter",
                false,
                [] { window<frmScanlist>()->cmdExit_Click(); }};
    case Tool::PairScan:
        writeDataFile(QStringLiteral("SFP/SFP_STOP.TXT"), "9500,9510, 1,a\r\n9600,9610, 1,b\r\n");
        return {[this] {
                    toolWindowOpener(QStringLiteral("frmScanpairs"))();
                    frmScanpairs* w = window<frmScanpairs>();
                    FileKindPath[12] = dataPath(QStringLiteral("SFP/"));
                    FileKindName[12] = QStringLiteral("SFP_STOP.TXT");
                    w->loadscanpairsfile();
                    w->cmdStart_Click();
                    w->timer()->start(600000);
                    return w;
                },
                [] { window<frmScanpairs>()->tmrScanpairs_Timer(); },
                [] { window<frmScanpairs>()->cmdStop_Click(); },
                [] { return window<frmScanpairs>()->runActive(); },
                [] { return window<frmScanpairs>()->timer()->isActive(); },
                {"cmdStart", "cmdContinue", "cmdLoad", "cmdsaveas", "vsbActnr", "optScanAB_0", "optScanAB_1"},
                "mnuSmeter",
                false,
                [] { window<frmScanpairs>()->cmdExit_Click(); }};
    case Tool::Smeter:
        return {[] {
                    toolWindowOpener(QStringLiteral("frmSmeter"))();
                    frmSmeter* w = window<frmSmeter>();
                    w->cmdStart_Click();
                    w->timer()->start(600000);
                    return w;
                },
                [] { window<frmSmeter>()->tmrSmeter_Timer(); },
                [] { window<frmSmeter>()->cmdStop_Click(); },
                [] { return window<frmSmeter>()->recording(); },
                [] { return window<frmSmeter>()->timer()->isActive(); },
                {"cmdStart", "cmdCls", "cmdExit"},
                "mnuPropagation"};
    case Tool::Propagation:
        return {[this] {
                    toolWindowOpener(QStringLiteral("frmPropagation"))();
                    frmPropagation* w = window<frmPropagation>();
                    Clock::set(now_);
                    // Recording to a file: the stop tells that it was saved.
                    FileKindPath[PropKind] = dataPath(QStringLiteral("PAN/"));
                    FileKindName[PropKind] = QStringLiteral("PAN_STOP.TXT");
                    w->savepropfile();
                    w->cmdStart_Click();
                    w->timer()->start(600000);
                    return w;
                },
                [this] {
                    advance(850);
                    window<frmPropagation>()->tmrPropagation_Timer();
                },
                [] { window<frmPropagation>()->cmdStop_Click(); },
                [] { return window<frmPropagation>()->recording(); },
                [] { return window<frmPropagation>()->timer()->isActive(); },
                {"cmdStart", "cmdCls", "cmdRezeri", "cmdsaveas", "cmdLoad", "cmdExit"},
                "mnuSmeter",
                true};
    case Tool::Timer:
        return {[this]() -> Form* {
                    Clock::set(now_ = QDateTime(QDate(2027, 6, 1), QTime(9, 0)));
                    toolWindowOpener(QStringLiteral("frmRxTimer"))();
                    frmRxTimer* w = window<frmRxTimer>();
                    if (!beginTimerEvent(w, dialogs, [this](const QDateTime& utc) {
                            Clock::set(now_ = QDateTime(utc.date(), utc.time()));
                        }))
                        return nullptr;
                    w->tmrDuration()->stop();
                    return w;
                },
                [this] {
                    advance(frmRxTimer::RunTickMs);
                    window<frmRxTimer>()->tmrDuration_Timer();
                    window<frmRxTimer>()->tmrDuration()->stop();
                },
                [] { window<frmRxTimer>()->timeronoff(0); },
                [] { return window<frmRxTimer>()->programme().state() != TimerProgramme::State::Editing; },
                [] {
                    frmRxTimer* w = window<frmRxTimer>();
                    return w->tmrDuration()->isActive() || w->tmrTestprog()->isActive();
                },
                {"cmdExit", "fraSetRx"},
                nullptr};
    case Tool::MemoryScan:
        return {[] {
                    PanelForm* panel = dynamic_cast<PanelForm*>(currentPanel());
                    if (!panel) return static_cast<Form*>(nullptr);
                    panel->menuItem(QStringLiteral("mnuMemman"))->trigger();
                    frmMemman* w = window<frmMemman>();
                    if (!w) return static_cast<Form*>(nullptr);
                    for (int n = 0; n <= 3; ++n)
                        MemImage.setRecord(n, QStringLiteral("MEM%1 0%2 4 01 0 1 @@@ @@@ @ ")
                                                  .arg(n, 3, 10, QLatin1Char('0'))
                                                  .arg(9500000 + n * 10000));
                    MemImage.setModified(false);
                    w->findChild<QLineEdit*>(QStringLiteral("txtFrom"))->setText(QStringLiteral("0"));
                    w->findChild<QLineEdit*>(QStringLiteral("txtTo"))->setText(QStringLiteral("3"));
                    w->cmdScanrun_Click();
                    w->scanTimer()->start(600000);
                    return static_cast<Form*>(w);
                },
                [] { window<frmMemman>()->tmrScan_Timer(); },
                [] { window<frmMemman>()->cmdScanstop_Click(); },
                [] {
                    frmMemman* w = window<frmMemman>();
                    return w->findChild<QPushButton*>(QStringLiteral("cmdScanstop"))->isVisibleTo(w);
                },
                [] { return window<frmMemman>()->scanTimer()->isActive(); },
                {"cmdScanrun", "cmdExit", "cmdLoad", "cmdChange", "cmdFetch", "cmdFill"},
                nullptr};
    case Tool::Rtty:
        return {[] {
                    PanelForm* panel = dynamic_cast<PanelForm*>(currentPanel());
                    if (!panel) return static_cast<Form*>(nullptr);
                    panel->menuItem(QStringLiteral("mnuRtty"))->trigger();
                    frmRtty* w = window<frmRtty>();
                    if (!w) return static_cast<Form*>(nullptr);
                    w->cmdStart_Click();
                    return static_cast<Form*>(w);
                },
                [] { window<frmRtty>()->tmrGetRTTY_Timer(); },
                [] { window<frmRtty>()->cmdStop_Click(); },
                [] { return window<frmRtty>()->findChild<QPushButton*>(QStringLiteral("cmdStop"))->isEnabled(); },
                [] { return window<frmRtty>()->tmrGetRTTY()->isActive(); },
                {"cmdStart", "cmdExit", "cmdCls"},
                nullptr,
                false,
                nullptr,
                false};
    }
    return {};
}

// What a box finds when it opens.
struct Seen {
    dialogs::Box box;
    bool windowLoaded = false;
    bool running = false;
    bool timerActive = false;
    int runHolds = 0;
    int remoteHeld = 0;
    bool panelEnabled = false;
    bool attenuatorFrame = false;
    bool menuItem = false;
    QStringList disabled;   // of the controls a stopped run leaves enabled
};

TEST_P(StopThenTell, EveryBoxOpensOverARunWholeStopped) {
    const Case c = GetParam();
    // The RTTY window needs the receiver's RTTY unit.
    PanelForm* panel = c.tool == Tool::Rtty ? startNrd535({{13, 1}}) : startNrd535();
    ASSERT_TRUE(panel);
    sim::SimReceiver* rx = simulator();
    RunOps r = run(c.tool);
    Form* w = r.start();
    ASSERT_TRUE(w);
    r.tick();
    settle();
    ASSERT_TRUE(r.running()) << "the run did not start";

    // A tuning only fails on a device gone.
    const bool goes = c.tool == Tool::PairScan || !r.takesNotice;
    const auto fallSilent = [&] {
        if (goes) rx->stop();
        else rx->setFault(sim::Fault::Silent);
    };
    dialogs.allow(QStringLiteral("does not answer"));
    if (r.takesNotice) {
        // One operation goes unanswered: the run takes the notice over and goes on.
        const qsizetype before = dialogs.shown().size();
        fallSilent();
        r.tick();
        pump(50);
        ASSERT_TRUE(r.running()) << "one unanswered operation stopped the run";
        ASSERT_EQ(dialogs.shown().size(), before) << "the notice was not held by the run";
        if (goes) ASSERT_TRUE(rx->start());
        else rx->setFault(sim::Fault::None);
    } else {
        // The receiver goes while the window listens: its ending's command meets it.
        fallSilent();
        pump(50);
    }

    QList<Seen> seen;
    QPointer<Form> form(w);
    auto look = [&](const dialogs::Box& box) {
        Seen s;
        s.box = box;
        s.windowLoaded = form && form->isLoaded();
        s.running = s.windowLoaded && r.running();
        s.timerActive = s.windowLoaded && r.timerActive();
        s.runHolds = runHolds();
        s.remoteHeld = RemoteHeld;
        s.panelEnabled = panel->isEnabled();
        QWidget* frame = panel->findChild<QWidget*>(QStringLiteral("fraAttenuator"));
        s.attenuatorFrame = frame && frame->isEnabled();
        QAction* item = r.menuItem ? panel->menuItem(QLatin1String(r.menuItem)) : nullptr;
        s.menuItem = item && item->isEnabled();
        if (s.windowLoaded)
            for (const QString& name : r.enabledAfterStop) {
                QWidget* control = form->findChild<QWidget*>(name);
                if (!control || !control->isEnabled()) s.disabled << name;
            }
        seen << s;
        return dialogs::Reply{box.icon == dialogs::Icon::Question ? dialogs::Answer::Yes : dialogs::Answer::Ok,
                              QString()};
    };
    dialogs::setHandler(look);

    if (c.ending == Ending::Failure) {
        // Silent again, until the run stops itself: a few ticks at most.
        fallSilent();
        for (int i = 0; i < 2 * SilenceCount::Limit && form && r.running(); ++i) {
            r.tick();
            pump(20);
        }
        ASSERT_TRUE(form);
        EXPECT_FALSE(r.running()) << "the silence did not stop the run";
    } else if (c.ending == Ending::Stop) {
        r.stop();
    } else if (r.exit) {
        r.exit();
    } else {
        w->close();
    }
    pump(100);
    settle();
    pump(50);
    if (c.ending == Ending::Failure && goes) rx->start();
    else if (c.ending == Ending::Failure) rx->setFault(sim::Fault::None);

    int notices = 0;
    for (const Seen& s : seen) {
        const std::string text = s.box.text.toStdString();
        if (s.box.icon == dialogs::Icon::Question) continue;   // Timer Off asks before it stops
        if (s.box.text.contains(QStringLiteral("does not answer"))) ++notices;
        EXPECT_FALSE(s.running) << text;
        EXPECT_FALSE(s.timerActive) << text;
        EXPECT_EQ(s.runHolds, 0) << text;
        EXPECT_EQ(s.remoteHeld, 0) << text;
        EXPECT_TRUE(s.panelEnabled) << text;
        EXPECT_TRUE(s.attenuatorFrame) << text;
        if (c.ending != Ending::Exit) {
            EXPECT_TRUE(s.windowLoaded) << text;
            EXPECT_TRUE(s.disabled.isEmpty()) << text << ": " << s.disabled.join(QLatin1Char(' ')).toStdString();
        } else {
            EXPECT_FALSE(s.windowLoaded) << text;
            if (r.menuItem) {
                EXPECT_TRUE(s.menuItem) << text << ": the menu interlock is still held";
            }
        }
    }
    EXPECT_EQ(notices, 1) << "the notice the run held is told once";
    if (r.fileOpen && c.ending == Ending::Stop) {
        EXPECT_TRUE(std::any_of(seen.begin(), seen.end(),
                                [](const Seen& s) { return s.box.text.contains(QStringLiteral("saved")); }));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Nrd535, StopThenTell,
    ::testing::Values(Case{"SpectrumStop", Tool::Spectrum, Ending::Stop},
                      Case{"SpectrumClose", Tool::Spectrum, Ending::Exit},
                      Case{"ListScanStop", Tool::ListScan, Ending::Stop},
                      Case{"ListScanExit", Tool::ListScan, Ending::Exit},
                      Case{"PairScanStop", Tool::PairScan, Ending::Stop},
                      Case{"PairScanExit", Tool::PairScan, Ending::Exit},
                      Case{"SmeterStop", Tool::Smeter, Ending::Stop},
                      Case{"SmeterClose", Tool::Smeter, Ending::Exit},
                      Case{"PropagationStop", Tool::Propagation, Ending::Stop},
                      Case{"PropagationClose", Tool::Propagation, Ending::Exit},
                      Case{"TimerOff", Tool::Timer, Ending::Stop},
                      Case{"TimerClose", Tool::Timer, Ending::Exit},
                      Case{"MemoryScanStop", Tool::MemoryScan, Ending::Stop},
                      Case{"MemoryScanClose", Tool::MemoryScan, Ending::Exit},
                      Case{"RttyStop", Tool::Rtty, Ending::Stop},
                      Case{"RttyClose", Tool::Rtty, Ending::Exit},
                      Case{"SpectrumFailure", Tool::Spectrum, Ending::Failure},
                      Case{"ListScanFailure", Tool::ListScan, Ending::Failure},
                      Case{"PairScanFailure", Tool::PairScan, Ending::Failure},
                      Case{"SmeterFailure", Tool::Smeter, Ending::Failure},
                      Case{"PropagationFailure", Tool::Propagation, Ending::Failure},
                      Case{"TimerFailure", Tool::Timer, Ending::Failure},
                      Case{"MemoryScanFailure", Tool::MemoryScan, Ending::Failure}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

} // namespace
} // namespace dovrane::test
