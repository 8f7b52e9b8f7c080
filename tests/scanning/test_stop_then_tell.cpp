// A run that ends by Stop (Timer Off) or by its window's close while it holds
// a receiver notice: by the time any box opens, the run is whole stopped —
// its timer off, the NRD receiver back from remote, the panels unlocked, the
// attenuator frame back, every button as a stopped run leaves it (or, for a
// close, the menu interlock given back) — and the notice is told once.
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
#include "sim/sim_receiver.h"
#include "support/go_rig.h"
#include "support/timer_event.h"
#include "timer/frmrxtimer.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <functional>

namespace dovrane::test {
namespace {

enum class Tool { Spectrum, ListScan, PairScan, Smeter, Propagation, Timer };
enum class Ending { Stop, Exit };

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
};

template <class T> T* window() { return forms::loaded<T>(); }

class StopThenTell : public GoRig, public ::testing::WithParamInterface<Case> {
protected:
    void TearDown() override {
        for (Form* w : std::initializer_list<Form*>{window<frmSpectrum>(), window<frmScanlist>(),
                                                   window<frmScanpairs>(), window<frmSmeter>(),
                                                   window<frmPropagation>(), window<frmRxTimer>()})
            if (w) w->unload();
        Clock::reset();
        GoRig::TearDown();
    }

    PanelForm* startNrd535() {
        sim::SimReceiver* rx = startSimulator(2);
        if (!rx) return nullptr;
        // A device name that stays when the simulator goes and comes back.
        rx->stop();
        rx->setLinkPath(dataPath(QStringLiteral("ttyRX")));
        if (!rx->start()) return nullptr;
        writeDataFile(QStringLiteral("serialports.ini"), rx->linkPath().toUtf8() + "\r\n");
        rx->setSmeterCurve([](double) { return 9.0; });
        PanelForm* panel = go(2);
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
                    QTimer::singleShot(0, [] {
                        frmSpectrumlimits* dlg = forms::loaded<frmSpectrumlimits>();
                        if (!dlg) return;
                        const char* texts[] = {"9500", "9600", "5", "0.5"};
                        for (int i = 0; i < 4; ++i) dlg->txtInput[size_t(i)]->setText(QLatin1String(texts[i]));
                        dlg->findChild<QCheckBox*>(QStringLiteral("chkKeepgoing"))->setChecked(true);
                        dlg->cmdOK_Click();
                    });
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
    PanelForm* panel = startNrd535();
    ASSERT_TRUE(panel);
    sim::SimReceiver* rx = simulator();
    RunOps r = run(c.tool);
    Form* w = r.start();
    ASSERT_TRUE(w);
    r.tick();
    settle();
    ASSERT_TRUE(r.running()) << "the run did not start";

    // One operation goes unanswered: the run takes the notice over and goes on.
    dialogs.allow(QStringLiteral("does not answer"));
    const qsizetype before = dialogs.shown().size();
    if (c.tool == Tool::PairScan) rx->stop();   // a tuning only fails on a device gone
    else rx->setFault(sim::Fault::Silent);
    r.tick();
    pump(50);
    ASSERT_TRUE(r.running()) << "one unanswered operation stopped the run";
    ASSERT_EQ(dialogs.shown().size(), before) << "the notice was not held by the run";
    if (c.tool == Tool::PairScan) ASSERT_TRUE(rx->start());
    else rx->setFault(sim::Fault::None);

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

    if (c.ending == Ending::Stop) r.stop();
    else if (r.exit) r.exit();
    else w->close();
    pump(100);
    settle();
    pump(50);

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
        if (c.ending == Ending::Stop) {
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
                      Case{"TimerClose", Tool::Timer, Ending::Exit}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

} // namespace
} // namespace dovrane::test
