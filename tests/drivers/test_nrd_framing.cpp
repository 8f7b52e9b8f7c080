// The remote-on/remote-off bracketing, the hold of Lockonoff, and what the
// drivers do with a receiver that is silent, late or garbled. Against the
// simulated receivers through the real port.
#include "drivers/nrd535/clsnrd535.h"
#include "drivers/nrd545/clsnrd545.h"
#include "drivers/rx_link.h"
#include "platform/timeouts.h"
#include "shell/globals.h"
#include "sim/nrd_rig.h"

#include <QElapsedTimer>
#include <functional>
#include <type_traits>

using namespace dovrane;
using namespace dovrane::test;

namespace {

using NrdFraming = NrdRig<sim::Nrd535Sim>;
using NrdFraming545 = NrdRig<sim::Nrd545Sim>;

constexpr const char* NoAnswer = "does not answer";

} // namespace

TEST_F(NrdFraming, BracketedCommandGoesOutBetweenTwoRemoteOnAndTwoRemoteOff) {
    clsNRD535 rx(port);
    Recorder<int> changed;
    QObject::connect(&rx, &clsNRD535::AttenuatorChanged, changed.slot());

    QElapsedTimer t;
    t.start();
    ASSERT_TRUE(rx.Attenuator(1));
    // Four pauses of 50 ms: a pause never ends early, however busy the machine.
    EXPECT_GE(t.elapsed(), 4 * 50);

    EXPECT_EQ(wire(5), (Wire{"H1", "H1", "A1", "H0", "H0"}));
    const auto cmds = sim.commands();
    ASSERT_EQ(cmds.size(), 5);
    // The receiver sees a pause between any two of them. Its thread may take
    // one command late and the next on time: a pause left out altogether
    // shows as next to nothing, a pause kept as nearly all of its 50 ms.
    for (int i = 1; i < 5; ++i) EXPECT_GE(cmds[i].ms - cmds[i - 1].ms, 10) << "pause before command " << i;
    for (const auto& c : cmds) EXPECT_TRUE(c.accepted) << c.text.constData();
    EXPECT_EQ(changed.values, std::vector<int>{1});
    EXPECT_EQ(sim.vfo().attenuator, 1);
    EXPECT_FALSE(sim.inRemote());
    EXPECT_EQ(CmdBusy, 0);
    EXPECT_EQ(RemoteHeld, 0);
}

TEST_F(NrdFraming, HoldKeepsTheReceiverInRemoteAcrossARunAndReleasesItAfter) {
    clsNRD535 rx(port);
    Recorder<int> lock;
    QObject::connect(&rx, &NrdDriver::LockChanged, lock.slot());
    sim.setChannel(5, sim::NrdSimBase::Setting{1, 2, 3, 6075000, 0});

    ASSERT_TRUE(rx.Lockonoff(1));
    EXPECT_EQ(wire(2), (Wire{"H1", "H1"}));
    EXPECT_EQ(RemoteHeld, 1);
    EXPECT_TRUE(sim.inRemote());
    clearWire();

    // A run of commands, bracketed and plain, goes out bare and the receiver
    // never drops back to local in between.
    EXPECT_TRUE(rx.Attenuator(0));
    EXPECT_TRUE(sim.inRemote());
    EXPECT_TRUE(rx.Smeter());
    EXPECT_TRUE(rx.Memory(5));
    EXPECT_TRUE(sim.inRemote());
    EXPECT_TRUE(rx.RxStatus());
    EXPECT_TRUE(rx.FrequencyA(7100));
    EXPECT_TRUE(rx.PassBandShift(100));
    EXPECT_EQ(wire(7), (Wire{"A0", "M", "L005005", "J1199", "L199199", "F07100000", "P+0100"}));
    EXPECT_TRUE(sim.inRemote());
    EXPECT_EQ(sim.passbandShift(), 100);

    // Asking again for the hold sends the remote-on pair again.
    clearWire();
    ASSERT_TRUE(rx.Lockonoff(1));
    EXPECT_EQ(wire(2), (Wire{"H1", "H1"}));

    clearWire();
    ASSERT_TRUE(rx.Lockonoff(0));
    EXPECT_EQ(wire(2), (Wire{"H0", "H0"}));
    EXPECT_FALSE(sim.inRemote());
    EXPECT_EQ(RemoteHeld, 0);

    // Releasing a receiver that is not held still sends remote-off.
    clearWire();
    ASSERT_TRUE(rx.Lockonoff(0));
    EXPECT_EQ(wire(2), (Wire{"H0", "H0"}));

    // No other value means anything: refused, nothing sent, no event.
    clearWire();
    EXPECT_FALSE(rx.Lockonoff(2));
    EXPECT_TRUE(wire(0).isEmpty());
    EXPECT_EQ(RemoteHeld, 0);
    EXPECT_EQ(lock.values, (std::vector<int>{1, 1, 0, 0}));
}

TEST_F(NrdFraming, BothDriversShareTheHold) {
    // The panel holds through its driver; a tool's own driver object then
    // sends bare commands, and either may release.
    clsNRD535 panel(port), tool(port);
    ASSERT_TRUE(panel.Lockonoff(1));
    clearWire();
    EXPECT_TRUE(tool.Mode(2));
    EXPECT_EQ(wire(1), (Wire{"D2"}));
    ASSERT_TRUE(tool.Lockonoff(0));
    EXPECT_FALSE(sim.inRemote());
}

// The plain setters act only on a held receiver: unheld, they send nothing,
// say so, and raise no event that would show the value as set. Held, the
// same call goes out.
struct WireAccess {
    std::function<void()> clear;
    std::function<Wire(int)> take;
};

template <class Driver>
void plainSettersNeedTheHold(const WireAccess& rig, Driver& rx) {
    for (int option : {NarrowFilterOption, BwcOption, EcssOption, RttyOption}) Settings[size_t(option)] = 1;
    int events = 0;
    QObject::connect(&rx, &Driver::BandwidthcontrolChanged, [&] { ++events; });
    QObject::connect(&rx, &Driver::PassbandshiftChanged, [&] { ++events; });
    const bool nrd535 = std::is_same_v<Driver, clsNRD535>;
    struct Case {
        const char* what;
        std::function<SendResult(Driver&)> write;
        QByteArray held;   // what goes out while held
    };
    const Case cases[] = {
        {"passband shift", [](Driver& r) { return r.PassBandShift(-150); }, nrd535 ? "P-0150" : "P-150"},
        {"bandwidth control", [](Driver& r) { return r.Bandwidthcontrol(nrd535 ? 2200 : 220); },
         nrd535 ? "W2200" : "W220"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RemoteHeld = 0;
        rig.clear();
        events = 0;
        EXPECT_EQ(c.write(rx).how(), Sent::NotHeld);
        EXPECT_TRUE(rig.take(0).isEmpty());
        EXPECT_EQ(events, 0);
        EXPECT_FALSE(rxFailing());

        ASSERT_TRUE(rx.Lockonoff(1));
        rig.clear();
        EXPECT_EQ(c.write(rx).how(), Sent::Yes);
        EXPECT_EQ(rig.take(1), (Wire{c.held}));
        EXPECT_EQ(events, 1);
        ASSERT_TRUE(rx.Lockonoff(0));
    }
}

TEST_F(NrdFraming, PlainSettersSendNothingWhileNotHeld) {
    clsNRD535 rx(port);
    plainSettersNeedTheHold({[this] { clearWire(); }, [this](int n) { return wire(n); }}, rx);
    // A plain read still asks: the receiver in local does not answer it.
    dialogs.expect(QString::fromLatin1(NoAnswer));
    clearWire();
    EXPECT_FALSE(rx.Smeter());
    EXPECT_EQ(wire(1), (Wire{"M"}));
    for (const auto& c : sim.commands()) EXPECT_FALSE(c.accepted);
}

TEST_F(NrdFraming545, PlainSettersSendNothingWhileNotHeld) {
    clsNRD545 rx(port);
    plainSettersNeedTheHold({[this] { clearWire(); }, [this](int n) { return wire(n); }}, rx);
}

TEST_F(NrdFraming, SilentReceiverGivesNothingWithinTheDeadlineAndIsReleased) {
    clsNRD535 rx(port);
    Recorder<double> tuned;
    QObject::connect(&rx, &clsNRD535::FrequencyAChanged, tuned.slot());
    sim.setFault(sim::Fault::Silent);
    dialogs.expect(QString::fromLatin1(NoAnswer));  // once for the whole run of failures

    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(rx.RxStatus());
    // Two pauses in remote-on, one before the query, two in remote-off, and
    // one reply deadline.
    EXPECT_LT(t.elapsed(), replyTimeouts.nrdReplyMs + 5 * 50 + 200);
    EXPECT_EQ(wire(6), (Wire{"H1", "H1", "J1199", "L199199", "H0", "H0"}));
    EXPECT_FALSE(sim.inRemote());
    EXPECT_EQ(CmdBusy, 0);

    EXPECT_FALSE(rx.RxClock());
    EXPECT_FALSE(sim.inRemote());
    EXPECT_TRUE(rxFailing());

    // A good answer clears the failure, so the next one is told again.
    sim.setFault(sim::Fault::None);
    sim.setVfo({0, 1, 4, 7100000, 1});
    clearWire();
    EXPECT_EQ(rx.FrequencyA(), 7100.0);
    EXPECT_FALSE(rxFailing());
    EXPECT_TRUE(tuned.values.empty()) << "a read raises no event";
    // The receiver's silence is over once it is sent something: each command
    // since gets its pause before remote off, and every remote off is taken.
    EXPECT_TRUE(rx.Attenuator(1));
    EXPECT_EQ(wire(11).size(), 11);
    for (const auto& c : sim.commands()) EXPECT_TRUE(c.accepted) << c.text.constData();
    EXPECT_EQ(sim.vfo().attenuator, 1);
    sim.setFault(sim::Fault::Silent);
    dialogs.expect(QString::fromLatin1(NoAnswer));
    EXPECT_FALSE(rx.Mode());
    EXPECT_FALSE(sim.inRemote());
}

TEST_F(NrdFraming, GarbledRepliesAreFailuresNeverValues) {
    clsNRD535 rx(port);
    dialogs.allow(QString::fromLatin1(NoAnswer));
    sim.setChannel(3, sim::NrdSimBase::Setting{0, 1, 2, 5000000, 1});

    sim.setFault(sim::Fault::Garbage);
    EXPECT_FALSE(rx.RxClock());
    EXPECT_FALSE(sim.inRemote()) << "a failed exchange still releases the receiver";
    EXPECT_FALSE(rx.RxStatus());
    EXPECT_FALSE(sim.inRemote());

    ASSERT_TRUE(rx.Lockonoff(1));
    EXPECT_FALSE(rx.Smeter());
    EXPECT_FALSE(rx.Memory(3));
    sim.setFault(sim::Fault::None);

    // An S-meter reply without digits is no reading (not S18).
    sim.setReplyFilter([](const QByteArray& cmd, const QByteArray& r) {
        return cmd == "M" ? QList<QByteArray>{"M   \r"} : QList<QByteArray>{r};
    });
    EXPECT_FALSE(rx.Smeter());
    // A status line of another channel is no status.
    sim.setReplyFilter([](const QByteArray& cmd, const QByteArray& r) {
        QByteArray out = r;
        if (cmd == "L199199") out.replace(1, 3, "198");
        return QList<QByteArray>{out};
    });
    EXPECT_FALSE(rx.RxStatus());
    EXPECT_FALSE(rx.FrequencyA());
    // A channel line cut short is no record.
    sim.setReplyFilter([](const QByteArray&, const QByteArray& r) { return QList<QByteArray>{r.left(10) + "\r"}; });
    EXPECT_FALSE(rx.Memory(3));

    sim.setReplyFilter(nullptr);
    EXPECT_EQ(rx.Memory(3), QStringLiteral("MEM003 05000000 2 01 0 1 @@@ @@@ @ "));
    EXPECT_FALSE(rxFailing());
}

TEST_F(NrdFraming, LateReplyIsNeverTakenAsTheNextAnswer) {
    clsNRD535 rx(port);
    dialogs.expect(QString::fromLatin1(NoAnswer));
    hold(rx);

    sim.setSmeterRaw(137);
    sim.setFault(sim::Fault::Late, replyTimeouts.nrdReplyMs + 100);
    EXPECT_FALSE(rx.Smeter());
    sim.setFault(sim::Fault::None);
    sim.setSmeterRaw(85);
    // Let the late answer (raw 137) land in the input before the next query.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const auto s = rx.Smeter();
    ASSERT_TRUE(s);
    EXPECT_FLOAT_EQ(*s, 13.0f);
}

// A receiver just switched on starts afresh: its first reply may be slow,
// and only that one.
TEST_F(NrdFraming, TheFirstReplyAfterPowerOnMayTakeLonger) {
    clsNRD535 rx(port);
    replyTimeouts.nrdReplyMs = 60;
    replyTimeouts.nrdSettleMs = 1500;
    dialogs.allow(QString::fromLatin1(NoAnswer));
    hold(rx);
    ASSERT_TRUE(rx.PowerOnOff(1));
    sim.setFault(sim::Fault::Late, 400);
    EXPECT_TRUE(rx.Smeter());
    EXPECT_FALSE(rx.Smeter()) << "later replies have the usual allowance";
}

TEST_F(NrdFraming, RepliesInPiecesOrWithoutCarriageReturn) {
    clsNRD535 rx(port);
    sim.setChannel(7, sim::NrdSimBase::Setting{1, 0, 2, 29999999, 2});
    hold(rx);
    const QString record = QStringLiteral("MEM007 29999999 2 00 1 2 @@@ @@@ @ ");

    sim.setReplyFilter([](const QByteArray&, const QByteArray& r) {
        return QList<QByteArray>{r.left(6), r.mid(6, 9), r.mid(15)};
    });
    EXPECT_EQ(rx.Memory(7), record);
    // The line read stops at 16 characters when no CR follows.
    sim.setReplyFilter([](const QByteArray&, const QByteArray& r) { return QList<QByteArray>{r.left(16)}; });
    EXPECT_EQ(rx.Memory(7), record);
    // Whatever the receiver says after "H1" stays out of the status reply.
    sim.setReplyFilter(nullptr);
    ASSERT_TRUE(rx.Lockonoff(0));
    sim.setChatterAfter("H1", "H1\r");
    sim.setChatterAfter("J1199", "??\r");
    EXPECT_EQ(rx.RxStatus(), QStringLiteral("X014095000001"));
}

TEST_F(NrdFraming, ClockReplyIsTakenBeforeTheReceiverIsReleased) {
    // Whatever the receiver says once it is back in local must not become
    // part of the clock reading.
    clsNRD535 rx(port);
    sim.setChatterAfter("H0", "H0\r");
    sim.setClock(QTime(7, 8, 9));
    EXPECT_EQ(rx.RxClock(), QStringLiteral("07:08:09"));
    EXPECT_EQ(wire(5), (Wire{"H1", "H1", "R0", "H0", "H0"}));
}

// A receiver switched off and on forgets that it was held in remote. The
// port, opened afresh once its device is back, takes the hold again before
// the next command, so that a run held across the restart goes on.
TEST_F(NrdFraming, AHoldIsTakenAgainOnAPortOpenedAfresh) {
    clsNRD535 rx(port);
    port.close();
    sim.stop();
    sim.setLinkPath(dataPath(QStringLiteral("ttyNRD")));
    ASSERT_TRUE(sim.start());
    port.setDeviceName(sim.linkPath());
    ASSERT_TRUE(port.open());
    ASSERT_TRUE(rx.Lockonoff(1));
    ASSERT_TRUE(sim.inRemote());

    sim.stop();
    dialogs.expect(QString::fromLatin1(NoAnswer));
    // Not a refusal: the write could not go out.
    EXPECT_EQ(rx.Attenuator(0).how(), Sent::NoAnswer);
    pump(20);
    ASSERT_TRUE(sim.start());
    ASSERT_FALSE(sim.inRemote());
    clearWire();
    EXPECT_TRUE(rx.Attenuator(1));
    EXPECT_EQ(wire(3), (Wire{"H1", "H1", "A1"}));
    EXPECT_TRUE(sim.inRemote());
    EXPECT_EQ(sim.vfo().attenuator, 1);
    EXPECT_EQ(RemoteHeld, 1);
    ASSERT_TRUE(rx.Lockonoff(0));
    EXPECT_FALSE(sim.inRemote());
}

TEST_F(NrdFraming, ClosedPortRefusesWritesWithoutEventsAndHoldsNothing) {
    clsNRD535 rx(port);
    Recorder<int> lock, att;
    QObject::connect(&rx, &NrdDriver::LockChanged, lock.slot());
    QObject::connect(&rx, &clsNRD535::AttenuatorChanged, att.slot());
    port.close();

    EXPECT_EQ(rx.Attenuator(1).how(), Sent::NoAnswer);
    EXPECT_FALSE(rx.Lockonoff(1));
    EXPECT_EQ(RemoteHeld, 0) << "a hold that did not take is not claimed";
    EXPECT_EQ(CmdBusy, 0);
    EXPECT_TRUE(lock.values.empty());
    EXPECT_TRUE(att.values.empty());
    EXPECT_TRUE(wire(0).isEmpty());
}

TEST_F(NrdFraming545, StatusReadClearsTheInputRightBeforeTheQuery) {
    clsNRD545 rx(port);
    sim.setVfo({1, 2, 3, 15000000, 50});
    // The receiver chatters after the display switch; the status is still right.
    sim.setChatterAfter("MM21", "MM21\r");
    sim.setChatterAfter("H1", "H1\r");

    const auto s = rx.RxStatus();
    EXPECT_EQ(s, QStringLiteral("X123150000005"));
    EXPECT_EQ(wire(8), (Wire{"H1", "H1", "MM21", "J1999", "MM21", "L999999", "H0", "H0"}));
    EXPECT_FALSE(sim.channelDisplay()) << "the display switch is put back";
    EXPECT_FALSE(sim.inRemote());

    // The same for the frequency read.
    EXPECT_EQ(rx.FrequencyA(), 15000.0);
    EXPECT_FALSE(sim.inRemote());
}

TEST_F(NrdFraming545, SilentReceiverReleasesAfterEveryBracketedRead) {
    clsNRD545 rx(port);
    sim.setFault(sim::Fault::Silent);
    dialogs.expect(QString::fromLatin1(NoAnswer));

    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(rx.Bandwidthcontrolxxx());
    EXPECT_LT(t.elapsed(), replyTimeouts.nrdReplyMs + 4 * 50 + 200);
    EXPECT_FALSE(sim.inRemote());
    EXPECT_FALSE(rx.nt(1));
    EXPECT_FALSE(sim.inRemote());
    EXPECT_EQ(wire(10), (Wire{"H1", "H1", "W", "H0", "H0", "H1", "H1", "GG", "H0", "H0"}));
    EXPECT_EQ(CmdBusy, 0);
}

namespace {

// The two deadlines of a reply, for its first byte and for all of it, lie the
// reply's own wire time apart: 44 ms for the NRD-545's longest at 4800 baud,
// less than a busy machine may oversleep; on a 600-baud line 350 ms, and the
// rule is the same.
class NrdSlowLine : public NrdFraming545 {
protected:
    void SetUp() override {
        NrdFraming545::SetUp();
        sim.setBaud(600);
        ASSERT_TRUE(port.setSettings(QStringLiteral("600,N,8,1")));
        replyTimeouts = ReplyTimeouts{};
        sim.setChannel(3, sim::NrdSimBase::Setting{0, 1, 4, 9500000, 30});
        sim.setVfo({1, 2, 3, 15000000, 50});
    }
};

} // namespace

// The receiver sends the first character at once and the rest after a
// pause, all of it well before the line could have carried the whole answer
// and one allowance: the count wait and the line read take it whole.
TEST_F(NrdSlowLine, AnAnswerWhoseTailComesAfterAPauseIsReadWhole) {
    clsNRD545 rx(port);
    sim.setReplyFilter([](const QByteArray&, const QByteArray& r) { return QList<QByteArray>{r.left(1), r.mid(1)}; });
    sim.setChunkGapMs(60);
    EXPECT_EQ(rx.RxStatus(), QStringLiteral("X123150000005")) << "count wait";
    hold(rx);
    EXPECT_EQ(rx.Memory(3), QStringLiteral("MEM003 09500000 4 01 0 3 @@@ @@@ @ ")) << "line read";
}

// An answer that has not begun one allowance after its first byte could
// have come is given up then, not held for the whole answer's deadline.
TEST_F(NrdSlowLine, AnAnswerThatBeginsTooLateIsGivenUpAtTheFirstBytesDeadline) {
    clsNRD545 rx(port);
    hold(rx);
    dialogs.expect(QString::fromLatin1(NoAnswer));
    sim.setFault(sim::Fault::Late, 280);
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(rx.Memory(3));
    // The query's 133 ms on the wire, then 17 + 200 ms; with the whole
    // answer's deadline 367 + 200 ms.
    EXPECT_LT(t.elapsed(), 525);
}

// A bracket opened while another holds the receiver (a command that runs in
// the events between the other's operations, or between the steps of the
// timer's relay switch) leaves the release to the outermost one: the outer
// exchange still finds the receiver in remote, and it goes to local once.
TEST_F(NrdFraming, ABracketInsideAnotherLeavesTheReleaseToTheOuterOne) {
    clsNRD535 rx(port);
    sim.setClock(QTime(7, 8, 9));
    const struct {
        const char* what;
        std::function<bool()> inner;
        Wire innerWire;
    } rows[] = {
        {"a bracketed write", [&] { return bool(rx.Attenuator(1)); }, {"A1"}},
        {"a bracketed read", [&] { return rx.RxClock().has_value(); }, {"R0"}},
        {"a bracket inside the inner one", [&] {
             const bool held = rx.openBracket();
             const bool sent = held && rx.Attenuator(0);
             rx.closeBracket();
             return sent;
         }, {"A0"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        clearWire();
        ASSERT_TRUE(rx.openBracket());
        EXPECT_TRUE(row.inner());
        EXPECT_TRUE(sim.waitIdle());
        EXPECT_TRUE(sim.inRemote()) << "the inner bracket let the receiver go";
        EXPECT_EQ(CmdBusy, 1);
        EXPECT_TRUE(rx.relayOffOnAnswer()) << "the outer exchange went unanswered";
        rx.closeBracket();
        Wire expected{"H1", "H1"};
        expected += row.innerWire;
        expected += Wire{"R0", "O0", "H0", "H0"};
        EXPECT_EQ(wire(int(expected.size())), expected);
        EXPECT_FALSE(sim.inRemote());
        EXPECT_EQ(CmdBusy, 0);
    }
    // A close with no bracket open lets nothing go out.
    clearWire();
    rx.closeBracket();
    EXPECT_EQ(wire(0), Wire{});
}
