// A timer event whose receiver stops answering, at the receiver's own line
// speed: how many misses end the event, and the switch-off of the line
// output that is then owed to the receiver until it answers again, whether
// or not the timer window and the panel are still open.
#include "timer_rig.h"

#include "drivers/ar7030/ar7030_protocol.h"
#include "panels/panel_lock.h"
#include "platform/commport.h"
#include "platform/timeouts.h"
#include "shell/frmsetup.h"
#include "shell/globals.h"
#include "sim/nrd_sim_base.h"
#include "support/waits.h"
#include "timer/owed_line_off.h"
#include "support/when_shown.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>

namespace dovrane::test {
namespace {

class TimerReceiverLost : public TimerRig {
protected:
    // Another receiver of the model given the vanished one's name: however
    // many tries come meanwhile, none reaches it. Empty if it did not start.
    std::unique_ptr<sim::SimReceiver> newcomerUnreached(int rxType) {
        auto other = sim::makeSim(QLatin1String(simModel(rxType)));
        other->setLinkPath(sim->devicePath());
        if (!other->start()) return nullptr;
        pump(3 * retryTimes.owedLineOffMs + 500);
        EXPECT_TRUE(other->waitIdle());
        EXPECT_TRUE(other->bytesReceived().isEmpty())
            << "a try reached another device: " << other->bytesReceived().toStdString();
        return other;
    }
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
    // Whether the line output the timer switches is off at the receiver.
    bool lineOutOff(int rxType) {
        settle();
        switch (rxType) {
        case 1:
            return ar7030::levelFromByte(ar7030::LeftLineRegister,
                                         as<sim::Ar7030Sim>().reg(0, ar7030::LeftLineRegister.address)) == 0;
        case 3: return as<sim::Rx320Sim>().state().lineAtt == 63;
        default: return !relay();
        }
    }
    // Runs the event on until the receiver's silence ends it.
    void loseTheEvent(frmRxTimer* w) {
        for (int i = 0; i < frmRxTimer::MaxProbeFailures && running(w); ++i) tick(w);
        ASSERT_FALSE(running(w));
        expectEndedMessage();
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
    EXPECT_EQ(runHolds(), 0);
    expectEndedMessage();
}

INSTANTIATE_TEST_SUITE_P(EveryReceiver, TimerPresence, ::testing::Values(1, 2, 3, 4));

class LineOutShown : public TimerReceiverLost, public ::testing::WithParamInterface<int> {};

// "Line Out On" shows the output as on only once the receiver has taken the
// switch: switched off behind its adapter, the receiver takes every byte and
// the window still offers "Line Out On", with one message; switched on
// again, the same click is taken and shown.
TEST_P(LineOutShown, TheOutputShowsAsOnOnlyOnceTheReceiverTookIt) {
    const int rxType = GetParam();
    setUtc(utcAt(2027, 6, 1, 9, 0));
    frmRxTimer* w = open(rxType);
    ASSERT_NE(w, nullptr);
    auto* on = w->findChild<QAbstractButton*>(QStringLiteral("cmdLineoutOnoff_1"));
    auto* off = w->findChild<QAbstractButton*>(QStringLiteral("cmdLineoutOnoff_0"));
    ASSERT_TRUE(on && off);
    settle();
    dialogs.allow(QStringLiteral("does not answer"));
    const qsizetype before = dialogs.shown().size();

    sim->setFault(sim::Fault::Off);
    w->cmdLineoutOnoff_Click(1);
    pump(50);
    EXPECT_FALSE(on->isHidden()) << "the window shows an output the receiver never switched on";
    EXPECT_TRUE(off->isHidden());
    EXPECT_EQ(dialogs.shown().size(), before + 1);

    sim->setFault(sim::Fault::None);
    w->cmdLineoutOnoff_Click(1);
    pump(50);
    EXPECT_TRUE(on->isHidden());
    EXPECT_FALSE(off->isHidden());
    EXPECT_EQ(dialogs.shown().size(), before + 1);
    w->cmdLineoutOnoff_Click(0);
}

INSTANTIATE_TEST_SUITE_P(EveryReceiver, LineOutShown, ::testing::Values(1, 2, 3, 4));

// An NRD-545 slot in AM-U is set in steps: AM, a pause, the side band, and
// only then the panel shows AM-U. A step that did not reach the receiver is
// no base for the steps that make sense only after it: they are left out,
// and the panel shows nothing the receiver was not given. The event fails,
// and says so once.
TEST_F(TimerReceiverLost, TheStepsAfterOneThatDidNotGoOutAreLeftOut) {
    const struct {
        const char* what;
        bool there;
    } cases[] = {{"the receiver there", true}, {"the receiver gone at the event's start", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        setUtc(utcAt(2027, 6, 1, 9, 0));
        frmRxTimer* w = open(4);
        ASSERT_NE(w, nullptr);
        auto& rx = as<sim::Nrd545Sim>();
        w->editor().tpmode = 7;
        w->editor().setStart(utcAt(2027, 6, 1, 10, 0));
        w->editor().tpduration = 2;
        w->cmdFixClr_Click(1, 0);
        ASSERT_TRUE(w->programme().progfixed[1]);
        auto* panel = currentPanel();
        ASSERT_NE(panel, nullptr);
        const QString modeBefore = control<QLabel>(panel, QStringLiteral("lblMode"))->text();
        ASSERT_NE(modeBefore, QStringLiteral("AM-U"));
        dialogs.expect(QStringLiteral("switched on"));
        w->timeronoff(1);
        w->tmrTestprog()->stop();
        settle();
        rx.clearCommands();
        if (!c.there) {
            sim->stop();
            dialogs.expect(QStringLiteral("does not answer"));
        }
        setUtc(utcAt(2027, 6, 1, 10, 0, 2));
        w->tmrTestprog_Timer();
        pump(50);
        EXPECT_EQ(control<QLabel>(panel, QStringLiteral("lblMode"))->text(),
                  c.there ? QStringLiteral("AM-U") : modeBefore);
        EXPECT_EQ(w->programme().state() == TimerProgramme::State::Running, c.there);
        if (c.there) {
            settle();
            EXPECT_TRUE(rx.commandTexts().contains("CC1"));
        }
        EXPECT_EQ(dialogs.pending(), 0);
        TearDown();
        SetUp();
    }
}

class OwedLineLevel : public TimerReceiverLost, public ::testing::WithParamInterface<int> {};

// An AR7030 or RX-320 event ends because the receiver was switched off, its
// line output playing. The switch-off then reaches nobody, however well the
// write goes out: it stays owed until the receiver answers, and the output
// goes off once the receiver is switched on again.
TEST_P(OwedLineLevel, TheSwitchOffIsOwedUntilTheReceiverAnswers) {
    const int rxType = GetParam();
    frmRxTimer* w = running(rxType);
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(lineOutOff(rxType)) << "the event did not switch the line output on";
    dialogs.allow(QStringLiteral("does not answer"));
    sim->setFault(sim::Fault::Off);
    ASSERT_NO_FATAL_FAILURE(loseTheEvent(w));

    // A try while the receiver is off: its bytes reach the adapter, nothing more.
    settle();
    sim->clearBytesReceived();
    ASSERT_TRUE(pumpUntil([this] { return !sim->bytesReceived().isEmpty(); }, retryTimes.owedLineOffMs + BusyMachineCapMs))
        << "no try while the receiver was off";
    pump(2 * std::max(replyTimeouts.ar7030ByteMs, replyTimeouts.rx320SmeterMs) + 200);

    sim->setFault(sim::Fault::None);
    EXPECT_TRUE(pumpUntil([&] { return lineOutOff(rxType); }, retryTimes.owedLineOffMs + BusyMachineCapMs))
        << "the switch-off was taken as done while the receiver was off";
    // Paid: the tries stop.
    pump(300);
    settle();
    sim->clearBytesReceived();
    pump(retryTimes.owedLineOffMs + 500);
    settle();
    EXPECT_TRUE(sim->bytesReceived().isEmpty()) << "the tries went on after the switch-off";
    EXPECT_EQ(dialogs.pending(), 0);
}

INSTANTIATE_TEST_SUITE_P(LineLevelReceivers, OwedLineLevel, ::testing::Values(1, 3),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(info.param == 1 ? "AR7030" : "RX320");
                         });

// What the user does after the event was lost, until the switch-off is owed
// no more.
enum class Route {
    TimerWindowClosed,   // the timer window closed; the first try meets silence, a later one the answer
    PanelClosed,         // the panel closed half a second after the receiver answers again
    ProgramExit,         // Exit from the panel's menu, as soon after the answer
    ProgramDestroyed,    // every window destroyed, as main() does once its event loop has ended
    PanelClosedSilent,   // the panel closed and opened again while still silent, then Go once it answers
    PanelReopenedSilent, // the panel closed and opened again while still silent, and left open
    OtherDevice,         // back on another device: serialports.ini rewritten, Set Up, Close and Go
    OtherDeviceSameName, // another receiver given the vanished device's name meanwhile, then Go
    DeviceBackPanelOpen, // the panel opened again before the adapter is back, and left open
    DeviceBackOnAClick,  // the same, and the user tunes once the adapter is back
    DeviceBackThenAnother, // the same, the receiver back but silent, then gone again and another given its name
    OtherModel,          // a panel of another receiver model on the port meanwhile
    LineOutOnMidTry,     // the user holds the receiver and switches the output on between a try's steps
};

struct OwedCase {
    const char* name;
    int rxType;
    Route route;
};

class OwedLineOff : public TimerReceiverLost, public ::testing::WithParamInterface<OwedCase> {
protected:
    void TearDown() override {
        welcome::setUpOpener = nullptr;
        TimerReceiverLost::TearDown();
    }
    sim::NrdSimBase& nrdSim() { return dynamic_cast<sim::NrdSimBase&>(*sim); }
    // Waits up to ms for the relay to go off; whether it did.
    bool relayOffWithin(int ms) {
        return pumpUntil([this] { return !relay(); }, ms);
    }
    void goAgain() {
        ASSERT_NE(forms::loaded<frmWelcome>(), nullptr);
        forms::loaded<frmWelcome>()->imgGo_Click();
        ASSERT_NE(currentPanel(), nullptr);
    }
    static void click(const QString& name) {
        auto* b = currentPanel() ? currentPanel()->findChild<QAbstractButton*>(name) : nullptr;
        ASSERT_NE(b, nullptr) << name.toStdString();
        b->click();
    }
    // The panel closed and opened again on the same model, the adapter
    // plugged in only after that load: the load cannot open the port and
    // says so.
    void goBeforeTheAdapterIsBack(qsizetype& boxes) {
        currentPanel()->unload();
        sim->setLinkPath(dataPath(QStringLiteral("ttyRX")));
        writeDataFile(QStringLiteral("serialports.ini"), sim->linkPath().toUtf8() + "\r\n");
        dialogs.expect(QStringLiteral("The serial port could not be opened"));
        goAgain();
        // The notice comes once the sequences on the line have ended (the
        // owed try on the silent receiver may run first).
        pumpUntil([&] { return dialogs.shown().size() > boxes; });
        ASSERT_EQ(dialogs.shown().size(), ++boxes);
        ASSERT_FALSE(Comm1->isOpen());
        ASSERT_TRUE(sim->start());
    }
};

// An NRD event ends because the receiver fell silent (or went away), with its
// timer relay on. However the user goes on, the relay must go off once the
// receiver can be reached: at the next try while the port is open (a try
// that meets silence arms the next one, and holds the window no longer than
// one unanswered read), before the port closes, and within the load of the
// next panel on the receiver. The tries take no hold: the receiver ends up
// in local.
TEST_P(OwedLineOff, TheRelayGoesOffOnceTheReceiverCanBeReached) {
    const OwedCase c = GetParam();
    frmRxTimer* w = running(c.rxType);
    ASSERT_NE(w, nullptr);
    dialogs.allow(QStringLiteral("does not answer"));
    const bool vanishes = c.route == Route::OtherDevice || c.route == Route::OtherDeviceSameName ||
                          c.route == Route::DeviceBackPanelOpen || c.route == Route::DeviceBackOnAClick ||
                          c.route == Route::DeviceBackThenAnother;
    if (vanishes) sim->stop();
    else sim->setFault(sim::Fault::Silent);
    ASSERT_NO_FATAL_FAILURE(loseTheEvent(w));
    qsizetype boxes = dialogs.shown().size();

    switch (c.route) {
    case Route::TimerWindowClosed: {
        w->unload();
        ASSERT_FALSE(RxTimerOpen);
        EXPECT_TRUE(relay());
        nrdSim().clearCommands();
        // The program's own heartbeat while the first try meets the silence,
        // with the program's own reply deadlines. The try's steps (remote on,
        // the question, remote off) come from separate ticks: events run
        // after each of the first two, while the try is under way, and no
        // step holds the window for more than one unanswered read.
        replyTimeouts = ReplyTimeouts{};
        Heartbeat beat;
        int beatsMidTry = 0;
        QTimer midTry;
        midTry.setTimerType(Qt::PreciseTimer);
        QObject::connect(&midTry, &QTimer::timeout, [&] { beatsMidTry += CmdBusy == 1; });
        beat.start(10);
        midTry.start(10);
        const auto asked = [&] { return nrdSim().commandTexts().contains("H0"); };
        pumpUntil(asked, retryTimes.owedLineOffMs + BusyMachineCapMs);
        pump(100);
        beat.stop();
        midTry.stop();
        ASSERT_TRUE(asked()) << "no try while the receiver was silent";
        EXPECT_GE(beatsMidTry, 2) << "the try's steps ran back to back";
        EXPECT_LT(beat.longestGapMs(), 2 * replyTimeouts.nrdReplyMs)
            << "a try held the window for " << beat.longestGapMs() << " ms";
        EXPECT_TRUE(relay());
        sim->setFault(sim::Fault::None);
        EXPECT_TRUE(relayOffWithin(retryTimes.owedLineOffMs + BusyMachineCapMs)) << "no try after the one that met silence";
        // The try heard the answer: the receiver falling silent again is news
        // to the next read that meets it.
        pump(300);
        sim->setFault(sim::Fault::Silent);
        dynamic_cast<PanelForm*>(currentPanel())->menuItem(QStringLiteral("mnuUpdate"))->trigger();
        pump(50);
        ASSERT_EQ(dialogs.shown().size(), ++boxes) << "the silence after the try's answer went untold";
        EXPECT_TRUE(dialogs.shown().last().text.contains(QStringLiteral("does not answer")));
        sim->setFault(sim::Fault::None);
        break;
    }
    case Route::PanelClosed:
    case Route::ProgramExit:
    case Route::ProgramDestroyed:
        sim->setFault(sim::Fault::None);
        pump(500);
        if (c.route == Route::PanelClosed) currentPanel()->unload();
        else if (c.route == Route::ProgramExit) dynamic_cast<PanelForm*>(currentPanel())->mnuExit_Click();
        else forms::destroyAll();
        EXPECT_FALSE(Comm1 && Comm1->isWanted());
        EXPECT_FALSE(relay()) << "the port closed with the relay on";
        break;
    case Route::PanelClosedSilent:
        currentPanel()->unload();
        // Opened again on the receiver still silent: its load says so, once,
        // and the relay stays owed.
        goAgain();
        // The notice comes once the sequences on the line have ended (the
        // owed try on the silent receiver may run first).
        pumpUntil([&] { return dialogs.shown().size() > boxes; });
        ASSERT_EQ(dialogs.shown().size(), ++boxes);
        EXPECT_TRUE(dialogs.shown().last().text.contains(QStringLiteral("does not answer")));
        currentPanel()->unload();
        EXPECT_TRUE(relay());
        sim->setFault(sim::Fault::None);
        goAgain();
        EXPECT_FALSE(relay()) << "the panel's load left the relay on";
        break;
    case Route::PanelReopenedSilent:
        currentPanel()->unload();
        goAgain();
        // The notice comes once the sequences on the line have ended (the
        // owed try on the silent receiver may run first).
        pumpUntil([&] { return dialogs.shown().size() > boxes; });
        ASSERT_EQ(dialogs.shown().size(), ++boxes);
        EXPECT_TRUE(dialogs.shown().last().text.contains(QStringLiteral("does not answer")));
        sim->setFault(sim::Fault::None);
        EXPECT_TRUE(relayOffWithin(retryTimes.owedLineOffMs + BusyMachineCapMs)) << "no try after the one within the load";
        break;
    case Route::DeviceBackPanelOpen: {
        ASSERT_NO_FATAL_FAILURE(goBeforeTheAdapterIsBack(boxes));
        EXPECT_TRUE(relayOffWithin(retryTimes.owedLineOffMs + BusyMachineCapMs)) << "the relay stayed on with the adapter back";
        break;
    }
    case Route::DeviceBackOnAClick: {
        // The tune opens the port again: the switch-off follows it at once,
        // not with the next try, which is further off than the test waits.
        const int shortRetryMs = retryTimes.owedLineOffMs;
        retryTimes.owedLineOffMs = 10 * BusyMachineCapMs;
        ASSERT_NO_FATAL_FAILURE(goBeforeTheAdapterIsBack(boxes));
        for (QChar digit : QStringLiteral("7000")) click(QStringLiteral("cmd0to9_%1").arg(digit));
        click(QStringLiteral("cmdEnterfreq"));
        EXPECT_TRUE(relayOffWithin(BusyMachineCapMs)) << "the relay waited for the next try";
        retryTimes.owedLineOffMs = shortRetryMs;
        EXPECT_EQ(nrdSim().vfo().hertz, 7000000) << "the tune did not reach the receiver";
        break;
    }
    case Route::DeviceBackThenAnother: {
        // Back after the load that could not open the port, the receiver
        // still silent: a try opens the port on it and meets the silence.
        // That device is the one owed from then on: another receiver given
        // its name once it has gone again is reached by no try.
        sim->setFault(sim::Fault::Silent);
        nrdSim().clearCommands();
        ASSERT_NO_FATAL_FAILURE(goBeforeTheAdapterIsBack(boxes));
        ASSERT_TRUE(pumpUntil([&] { return nrdSim().commandTexts().contains("H0"); },
                              retryTimes.owedLineOffMs + BusyMachineCapMs))
            << "no try on the adapter back";
        sim->stop();
        auto other = newcomerUnreached(c.rxType);
        ASSERT_TRUE(other);
        auto& otherNrd = dynamic_cast<sim::NrdSimBase&>(*other);
        // The user's Go is the user's choice of device: the load's try pays there.
        currentPanel()->unload();
        goAgain();
        EXPECT_TRUE(other->waitIdle());
        EXPECT_TRUE(otherNrd.commandTexts().contains("O0")) << "the load did not switch the relay off";
        sim = std::move(other);
        break;
    }
    case Route::OtherModel: {
        currentPanel()->unload();
        // An RX-320 on the port meanwhile: nothing of the NRD's reaches it.
        auto other = sim::makeSim(QStringLiteral("rx320"));
        ASSERT_TRUE(other && other->start());
        writeDataFile(QStringLiteral("serialports.ini"), other->devicePath().toUtf8() + "\r\n");
        ConfiguredRxType = 3;
        goAgain();
        pump(retryTimes.owedLineOffMs + 1000);
        currentPanel()->unload();
        EXPECT_TRUE(other->waitIdle());
        EXPECT_FALSE(other->bytesReceived().contains("H1\r")) << "a try went to a receiver of another model";
        EXPECT_FALSE(other->bytesReceived().contains("R0\r")) << "a try went to a receiver of another model";
        other.reset();
        // Back on the NRD, whose load pays.
        writeDataFile(QStringLiteral("serialports.ini"), sim->devicePath().toUtf8() + "\r\n");
        ConfiguredRxType = c.rxType;
        EXPECT_TRUE(relay());
        sim->setFault(sim::Fault::None);
        goAgain();
        EXPECT_FALSE(relay()) << "the panel's load left the relay on";
        break;
    }
    case Route::LineOutOnMidTry: {
        sim->setFault(sim::Fault::None);
        // Between the steps of the next try (the only time the event loop
        // sees a command in progress), the user locks the panel and switches
        // the output on from the timer window: nothing is owed any more.
        bool done = false;
        QTimer watch;
        watch.setTimerType(Qt::PreciseTimer);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (done || CmdBusy != 1) return;
            done = true;
            click(QStringLiteral("cmdLock_1"));
            w->cmdLineoutOnoff_Click(1);
        });
        watch.start(1);
        ASSERT_TRUE(pumpUntil([&] { return done; }, retryTimes.owedLineOffMs + BusyMachineCapMs)) << "no try";
        watch.stop();
        ASSERT_TRUE(pumpUntil([] { return CmdBusy == 0; }));
        pump(100);
        EXPECT_TRUE(relay()) << "the try switched off the output the user had switched on";
        click(QStringLiteral("cmdLock_0"));
        break;
    }
    case Route::OtherDevice: {
        currentPanel()->unload();
        // Back, on a device of another name.
        auto other = sim::makeSim(QLatin1String(simModel(c.rxType)));
        ASSERT_TRUE(other->start());
        ASSERT_TRUE(sim->start());
        ASSERT_NE(sim->devicePath(), other->devicePath());
        other.reset();
        writeDataFile(QStringLiteral("serialports.ini"), sim->devicePath().toUtf8() + "\r\n");
        welcome::setUpOpener = showSetUpDialog;
        {
            const auto answer = whenShown<frmSetUp>([](frmSetUp* s) { s->cmdClose_Click(); });
            forms::loaded<frmWelcome>()->imgSetup_Click();
        }
        ASSERT_FALSE(SetUpOpen);
        goAgain();
        EXPECT_FALSE(relay()) << "the panel's load there left the relay on";
        break;
    }
    case Route::OtherDeviceSameName: {
        // Another receiver of the model answers to the vanished one's name,
        // the panel still open on it: no try may reach it, however many
        // come, nor the one as the panel closes.
        auto other = newcomerUnreached(c.rxType);
        ASSERT_TRUE(other);
        auto& otherNrd = dynamic_cast<sim::NrdSimBase&>(*other);
        // Nothing of the close reaches it either: neither the panel's own
        // release nor the try as the port closes.
        currentPanel()->unload();
        EXPECT_TRUE(other->waitIdle());
        EXPECT_TRUE(other->bytesReceived().isEmpty()) << "the close reached another device";
        EXPECT_FALSE(otherNrd.commandTexts().contains("O0")) << "the try as the panel closed reached another device";
        EXPECT_FALSE(otherNrd.commandTexts().contains("H1")) << "the try as the panel closed reached another device";
        // The user's Go on the port is the user's choice of device: the
        // load's try pays there, and the tries stop.
        goAgain();
        EXPECT_TRUE(other->waitIdle());
        EXPECT_TRUE(otherNrd.commandTexts().contains("O0")) << "the load did not switch the relay off";
        EXPECT_FALSE(otherNrd.inRemote());
        sim = std::move(other);
        break;
    }
    }
    if (Comm1 && Comm1->isWanted()) {
        // Paid: once the try has let the receiver go, the tries stop.
        pump(300);
        settle();
        nrdSim().clearCommands();
        pump(retryTimes.owedLineOffMs + 500);
        EXPECT_TRUE(nrdSim().commandTexts().isEmpty()) << "the tries went on after the switch-off";
    }
    pump(50);
    EXPECT_EQ(dialogs.shown().size(), boxes) << "a try told of the silence again";
    EXPECT_EQ(RemoteHeld, 0);
    EXPECT_FALSE(nrdSim().inRemote());
    EXPECT_EQ(dialogs.pending(), 0);
}

INSTANTIATE_TEST_SUITE_P(NrdReceivers, OwedLineOff,
                         ::testing::Values(OwedCase{"NRD535_TimerWindowClosed", 2, Route::TimerWindowClosed},
                                           OwedCase{"NRD545_TimerWindowClosed", 4, Route::TimerWindowClosed},
                                           OwedCase{"NRD535_PanelClosed", 2, Route::PanelClosed},
                                           OwedCase{"NRD545_ProgramExit", 4, Route::ProgramExit},
                                           OwedCase{"NRD535_ProgramDestroyed", 2, Route::ProgramDestroyed},
                                           OwedCase{"NRD545_PanelClosedSilent", 4, Route::PanelClosedSilent},
                                           OwedCase{"NRD535_PanelReopenedSilent", 2, Route::PanelReopenedSilent},
                                           OwedCase{"NRD535_OtherDevice", 2, Route::OtherDevice},
                                           OwedCase{"NRD545_OtherDeviceSameName", 4, Route::OtherDeviceSameName},
                                           OwedCase{"NRD545_DeviceBackPanelOpen", 4, Route::DeviceBackPanelOpen},
                                           OwedCase{"NRD535_DeviceBackOnAClick", 2, Route::DeviceBackOnAClick},
                                           OwedCase{"NRD545_DeviceBackThenAnother", 4, Route::DeviceBackThenAnother},
                                           OwedCase{"NRD535_OtherModel", 2, Route::OtherModel},
                                           OwedCase{"NRD545_LineOutOnMidTry", 4, Route::LineOutOnMidTry}),
                         [](const ::testing::TestParamInfo<OwedCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace dovrane::test
