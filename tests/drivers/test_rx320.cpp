// The RX-320 driver against the simulated receiver, through the real port.
#include "drivers/model_tables.h"
#include "drivers/rx320/clsrx320.h"
#include "drivers/rx320/rx320_state.h"
#include "drivers/rx_link.h"
#include "platform/commport.h"
#include "platform/timeouts.h"
#include "shell/globals.h"
#include "sim/rx320_sim.h"
#include "support/test_env.h"

#include <QElapsedTimer>
#include <QStringList>
#include <cmath>
#include <random>
#include <thread>

namespace dovrane {
namespace {

QByteArray bytes(const char* hex) { return QByteArray::fromHex(QByteArray(hex)); }

class Rx320Test : public test::AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        resetRx320State();
        ASSERT_TRUE(sim.start());
        port.setDeviceName(sim.devicePath());
        ASSERT_TRUE(port.setSettings(QStringLiteral("1200,N,8,1")));
        ASSERT_TRUE(port.open()) << port.errorString().toStdString();
        QObject::connect(&rx, &clsRX320::FrequencyAChanged, [this](double f) { events << QStringLiteral("F %1").arg(f, 0, 'f', 3); });
        QObject::connect(&rx, &clsRX320::BandwidthChanged, [this](int v) { events << QStringLiteral("Bw %1").arg(v); });
        QObject::connect(&rx, &clsRX320::ModeChanged, [this](int v) { events << QStringLiteral("Mode %1").arg(v); });
        QObject::connect(&rx, &clsRX320::AgcspeedChanged, [this](int v) { events << QStringLiteral("Agc %1").arg(v); });
        QObject::connect(&rx, &clsRX320::VolumeChanged, [this](int v) { events << QStringLiteral("Vol %1").arg(v); });
        QObject::connect(&rx, &clsRX320::LinelevelChanged, [this](int v) { events << QStringLiteral("Line %1").arg(v); });
        QObject::connect(&rx, &clsRX320::PassbandshiftChanged, [this](int v) { events << QStringLiteral("Pbs %1").arg(v); });
        QObject::connect(&rx, &clsRX320::BeatfreqoscChanged, [this](int v) { events << QStringLiteral("Bfo %1").arg(v); });
    }
    void TearDown() override {
        port.close();
        sim.stop();
        resetRx320State();
        AppTest::TearDown();
    }

    // What the simulator has taken from the line since the last call; waits
    // until at least n bytes are there and handled. A byte shows in
    // bytesReceived() before the simulator has acted on it, so waiting for
    // that alone lets a test read the state of the command before, the more
    // likely the busier the machine.
    QByteArray take(int n) {
        QElapsedTimer t;
        t.start();
        while (sim.bytesHandled() - handledMark_ < n && t.elapsed() < 2000)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const QByteArray got = sim.bytesReceived();
        sim.clearBytesReceived();
        handledMark_ += got.size();
        return got;
    }
    qint64 handledMark_ = 0;
    // Proves that nothing went out before this point: a marker command sent
    // now must be the first thing the simulator sees.
    void expectNothingSent() {
        ASSERT_TRUE(rx.Agcspeed(2));
        EXPECT_EQ(take(3).toHex(' '), QByteArray("G2\r").toHex(' ')) << "bytes went out before the marker";
        events.removeAll(QStringLiteral("Agc 2"));
    }

    void setState(double freq, int mode, int bw = 0, int pbs = 0, int bfo = 0) {
        Rx320Freq = freq;
        Rx320Mode = int16_t(mode);
        Rx320Bw = int16_t(bw);
        Rx320Pbs = int16_t(pbs);
        Rx320Bfo = int16_t(bfo);
    }

    sim::Rx320Sim sim;
    CommPort port;
    clsRX320 rx{port};
    QStringList events;
};

// ---------------------------------------------------------------- tuning

struct WireCase {
    const char* name;
    double freq;
    int mode, bw, pbs, bfo;
    float c5, c15;
    const char* wire;
};

TEST_F(Rx320Test, TuningCommandsMatchTheWorkedVectorsByteForByte) {
    const WireCase cases[] = {
        {"7000 AM", 7000, 0, 0, 0, 0, 0, 0, "4E513F1AA955500D"},
        {"7000 CW, offset 0", 7000, 3, 0, 0, 0, 0, 0, "4E513F1AA955500D"},
        {"7000 CW, offset 1000", 7000, 3, 0, 0, 1000, 0, 0, "4E513F1AA95FFA0D"},
        {"14200 USB 2400", 14200, 1, 14, 0, 0, 0, 0, "4E5C800333643E0D"},
        {"14200 LSB 2400", 14200, 2, 14, 0, 0, 0, 0, "4E5C7E321F643E0D"},
        {"7000.712 USB 675", 7000.712, 1, 26, 0, 0, 0, 0, "4E514000005B0B0D"},
        {"7000.711 USB 675", 7000.711, 1, 26, 0, 0, 0, 0, "4E513F35475B0B0D"},
        {"5000 AM corrected", 5000, 0, 0, 0, 0, -20, 40, "4E4E1F1A3C55500D"},
        {"7000 AM shift 500", 7000, 0, 0, 500, 0, 0, 0, "4E513F0FFF5AA50D"},
        // CR and NUL inside the command: it must still go out and be taken whole.
        {"6233.75 AM", 6233.75, 0, 0, 0, 0, 0, 0, "4E500D000055500D"},
    };
    for (const WireCase& c : cases) {
        SCOPED_TRACE(c.name);
        setState(0, c.mode, c.bw, c.pbs, c.bfo);
        Settings[20] = c.c5;
        Settings[21] = c.c15;
        events.clear();
        ASSERT_TRUE(rx.FrequencyA(c.freq));
        EXPECT_EQ(take(8).toHex(' '), bytes(c.wire).toHex(' '));
        EXPECT_EQ(Rx320Freq, c.freq);
        EXPECT_EQ(events, QStringList{QStringLiteral("F %1").arg(c.freq, 0, 'f', 3)});
    }
    EXPECT_EQ(sim.protocolErrors(), 0);
}

TEST_F(Rx320Test, EveryModeTunesTheWholeRangeToWithinAHertz) {
    std::mt19937 rng(320);
    std::uniform_int_distribution<int> hz(100000, 30000000);
    std::vector<double> freqs = {100, 100.001, 30000, 29999.999, 7000.712, 7000.711, 6233.75};
    for (int i = 0; i < 60; ++i) freqs.push_back(hz(rng) / 1000.0);

    struct Setting { int mode, bw, pbs; };
    const Setting settings[] = {{0, 0, 0},  {0, 10, -2000}, {0, 0, 2000}, {1, 0, 0},   {1, 26, 150},
                                {1, 30, -2000}, {1, 33, 2000}, {2, 14, 0},  {2, 26, -350}, {2, 33, 2000},
                                {3, 0, 0},  {3, 0, 750}};
    for (const Setting& s : settings) {
        setState(7000, 0, s.bw, s.pbs, 900);
        ASSERT_TRUE(rx.Mode(s.mode));
        take(11);
        for (double f : freqs) {
            ASSERT_TRUE(rx.FrequencyA(f)) << f;
            take(8);
            const auto tuned = sim.tunedKHz(s.mode == 3 ? s.pbs : 0);
            ASSERT_TRUE(tuned);
            EXPECT_NEAR(*tuned, f, 0.0007) << "mode " << s.mode << " filter " << s.bw << " shift " << s.pbs;
        }
    }
    EXPECT_EQ(sim.protocolErrors(), 0);
}

TEST_F(Rx320Test, CorrectionCancelsTheReceiversOwnErrorAcrossTheRange) {
    Settings[20] = -300;
    Settings[21] = 450;
    sim.setReferenceError(-300, 450);
    setState(7000, 0, 14);
    for (int mode = 0; mode <= 3; ++mode) {
        ASSERT_TRUE(rx.Mode(mode));
        take(11);
        for (double f = 100; f <= 30000; f += 997.123) {
            ASSERT_TRUE(rx.FrequencyA(f));
            take(8);
            // One hertz for the correction's whole-hertz step, the rest for
            // the receiver's resolution.
            EXPECT_NEAR(*sim.tunedKHz(), f, 0.0017) << "mode " << mode;
        }
    }
}

TEST_F(Rx320Test, TheDriverTunesFromItsOwnFilterTableNotFromThePanelTexts) {
    // Another model's panel left its own texts behind.
    redimBwTexts(3);
    initnrd535tables();
    setState(0, 1, 14);
    ASSERT_TRUE(rx.FrequencyA(14200));
    EXPECT_EQ(take(8).toHex(' '), bytes("4E5C800333643E0D").toHex(' '));
    resetModelTables();
}

TEST_F(Rx320Test, FrequenciesTheCommandCannotCarryAreRefused) {
    setState(7000, 0);
    for (double f : {1.0, -5.0, 40000.0, std::nan(""), HUGE_VAL}) {
        EXPECT_FALSE(rx.FrequencyA(f)) << f;
    }
    EXPECT_EQ(Rx320Freq, 7000);
    EXPECT_TRUE(events.isEmpty());
    expectNothingSent();
}

// ------------------------------------------------------ setters and events

TEST_F(Rx320Test, RetuningSettersSendTheirCommandThenTheTuningAndRaiseFrequencyFirst) {
    setState(14200, 1, 0);
    ASSERT_TRUE(rx.Bandwidth(14));
    EXPECT_EQ(take(11).toHex(' '), bytes("570E0D" "4E5C800333643E0D").toHex(' '));
    EXPECT_EQ(Rx320Bw, 14);
    EXPECT_EQ(events, (QStringList{"F 14200.000", "Bw 14"}));

    events.clear();
    ASSERT_TRUE(rx.Mode(2));
    EXPECT_EQ(take(11).toHex(' '), bytes("4D320D" "4E5C7E321F643E0D").toHex(' '));
    EXPECT_EQ(events, (QStringList{"F 14200.000", "Mode 2"}));
    EXPECT_EQ(sim.state().mode, 2);
    EXPECT_EQ(sim.state().filter, 14);

    events.clear();
    setState(7000, 0);
    ASSERT_TRUE(rx.PassBandShift(500));
    // The shift has no command of its own: only the tuning goes out.
    EXPECT_EQ(take(8).toHex(' '), bytes("4E513F0FFF5AA50D").toHex(' '));
    EXPECT_EQ(Rx320Pbs, 500);
    EXPECT_EQ(events, (QStringList{"F 7000.000", "Pbs 500"}));

    events.clear();
    setState(7000, 3);
    ASSERT_TRUE(rx.Beatfreqosc(1000));
    EXPECT_EQ(take(8).toHex(' '), bytes("4E513F1AA95FFA0D").toHex(' '));
    EXPECT_EQ(Rx320Bfo, 1000);
    EXPECT_EQ(events, (QStringList{"F 7000.000", "Bfo 1000"}));
}

TEST_F(Rx320Test, AgcAndLevelsSendOnlyTheirOwnCommand) {
    setState(7000, 0);
    ASSERT_TRUE(rx.Agcspeed(3));
    ASSERT_TRUE(rx.Volume(0));
    ASSERT_TRUE(rx.Volume(99));
    ASSERT_TRUE(rx.Linelevel(50));
    EXPECT_EQ(take(15).toHex(' '), bytes("47330D" "567F3F0D" "567F000D" "417F120D").toHex(' '));
    EXPECT_EQ(events, (QStringList{"Agc 3", "Vol 0", "Vol 99", "Line 50"}));
    EXPECT_EQ(Rx320Agc, 3);
    EXPECT_EQ(Rx320Volume, 99);
    EXPECT_EQ(Rx320Linelevel, 50);
    const auto st = sim.state();
    EXPECT_EQ(st.agc, 3);
    EXPECT_EQ(st.speakerAtt, 0);
    EXPECT_EQ(st.lineAtt, 18);
}

TEST_F(Rx320Test, OutOfRangeFilterSelectsTheWidest) {
    setState(7000, 0, 5);
    for (int filter : {40, -1, 34}) {
        events.clear();
        ASSERT_TRUE(rx.Bandwidth(filter));
        EXPECT_EQ(take(11).left(3).toHex(' '), bytes("57210D").toHex(' '));
        EXPECT_EQ(Rx320Bw, 33);
        EXPECT_EQ(events, (QStringList{"F 7000.000", "Bw 33"}));
    }
    EXPECT_EQ(sim.state().filter, 33);

    // A stored filter number from an edited settings file does not block the
    // filter that replaces it, even in a sideband mode that needs the width.
    setState(14200, 1, 40);
    EXPECT_FALSE(rx.FrequencyA(14200));
    ASSERT_TRUE(rx.Bandwidth(14));
    EXPECT_EQ(take(11).toHex(' '), bytes("570E0D" "4E5C800333643E0D").toHex(' '));
}

TEST_F(Rx320Test, LevelsBeyondTheirRangeAreClampedBeforeTheyAreStoredOrSent) {
    ASSERT_TRUE(rx.Volume(400));
    ASSERT_TRUE(rx.Volume(-1));
    ASSERT_TRUE(rx.Linelevel(40000));
    ASSERT_TRUE(rx.Linelevel(-7));
    EXPECT_EQ(take(16).toHex(' '), bytes("567F000D" "567F3F0D" "417F000D" "417F3F0D").toHex(' '));
    EXPECT_EQ(events, (QStringList{"Vol 99", "Vol 0", "Line 99", "Line 0"}));
    EXPECT_EQ(Rx320Volume, 0);
    EXPECT_EQ(Rx320Linelevel, 0);
    EXPECT_EQ(sim.protocolErrors(), 0);
}

TEST_F(Rx320Test, AModeOrAgcTheReceiverDoesNotKnowIsRefusedAndNothingIsSent) {
    setState(7000, 1, 14);
    for (int mode : {4, -1, 13}) EXPECT_FALSE(rx.Mode(mode)) << mode;
    for (int agc : {0, 4, -1, 11}) EXPECT_FALSE(rx.Agcspeed(agc)) << agc;
    EXPECT_EQ(Rx320Mode, 1);
    EXPECT_EQ(Rx320Agc, 0);
    EXPECT_TRUE(events.isEmpty());
    expectNothingSent();
    EXPECT_EQ(sim.protocolErrors(), 0);
}

TEST_F(Rx320Test, AStoredStateThatCannotTuneSendsNoZeroTuning) {
    // As from an edited settings file: a mode the receiver does not have.
    setState(7000, 7, 5);
    EXPECT_FALSE(rx.Bandwidth(3));
    EXPECT_FALSE(rx.PassBandShift(100));
    EXPECT_FALSE(rx.Beatfreqosc(100));
    EXPECT_FALSE(rx.FrequencyA(7000));
    EXPECT_EQ(Rx320Bw, 5);
    EXPECT_EQ(Rx320Pbs, 0);
    EXPECT_TRUE(events.isEmpty());
    expectNothingSent();
    // A valid mode puts it right.
    ASSERT_TRUE(rx.Mode(0));
    EXPECT_EQ(take(11).toHex(' '), bytes("4D300D" "4E513F1AA955500D").toHex(' '));
}

TEST_F(Rx320Test, ShiftsThatPushAFactorPastItsBytesAreRefused) {
    setState(7000, 0);
    EXPECT_FALSE(rx.PassBandShift(-9000));   // BFO factor below 0
    EXPECT_FALSE(rx.PassBandShift(40000));   // not even a 16-bit value
    EXPECT_FALSE(rx.Beatfreqosc(70000));
    Rx320Mode = 3;
    EXPECT_FALSE(rx.Beatfreqosc(20000));     // CW: BFO factor past 65535
    EXPECT_EQ(Rx320Pbs, 0);
    EXPECT_EQ(Rx320Bfo, 0);
    EXPECT_TRUE(events.isEmpty());
    expectNothingSent();
}

TEST_F(Rx320Test, WritesOnAClosedPortFailWithoutEventsOrStateChanges) {
    setState(7000, 0, 3, 10, 20);
    port.close();
    EXPECT_FALSE(rx.FrequencyA(9000));
    EXPECT_FALSE(rx.Bandwidth(4));
    EXPECT_FALSE(rx.Mode(1));
    EXPECT_FALSE(rx.Agcspeed(1));
    EXPECT_FALSE(rx.PassBandShift(100));
    EXPECT_FALSE(rx.Beatfreqosc(100));
    EXPECT_FALSE(rx.Volume(50));
    EXPECT_FALSE(rx.Linelevel(50));
    EXPECT_TRUE(events.isEmpty());
    EXPECT_EQ(Rx320Freq, 7000);
    EXPECT_EQ(Rx320Bw, 3);
    EXPECT_EQ(Rx320Mode, 0);
    EXPECT_EQ(Rx320Pbs, 10);
    EXPECT_EQ(Rx320Bfo, 20);
    EXPECT_EQ(Rx320Volume, 0);
}

TEST_F(Rx320Test, EveryDriverObjectTunesFromTheSharedState) {
    clsRX320 other(port);
    setState(14200, 1, 0);
    ASSERT_TRUE(other.Bandwidth(14));
    take(11);
    // The panel's object never heard of the filter change, yet tunes with it.
    ASSERT_TRUE(rx.FrequencyA(14200));
    EXPECT_EQ(take(8).toHex(' '), bytes("4E5C800333643E0D").toHex(' '));
    EXPECT_EQ(events, QStringList{"F 14200.000"});
}

// ------------------------------------------------------------------ reads

TEST_F(Rx320Test, SmeterReadsTheSignalAsAnUnsignedReading) {
    const struct { int n; float value; } cases[] = {
        {256, 7.763f}, {1, 0.0f}, {0, 0.0f}, {32767, 14.556f}, {32768, 14.556f}, {65535, 15.527f}};
    for (const auto& c : cases) {
        sim.setSmeterReading(c.n);
        const auto v = rx.Smeter();
        ASSERT_TRUE(v) << c.n;
        EXPECT_NEAR(*v, c.value, 0.001f) << c.n;
        EXPECT_EQ(take(2), QByteArray("X\r"));
    }
    EXPECT_FALSE(rxFailing());
}

TEST_F(Rx320Test, SmeterIgnoresBytesLeftFromEarlierTraffic) {
    sim.inject(bytes("58FFFF0D"));
    ASSERT_TRUE(port.waitForBytes(4, 1000));
    sim.setSmeterReading(256);
    EXPECT_NEAR(*rx.Smeter(), 7.763f, 0.001f);
}

TEST_F(Rx320Test, SmeterFailuresAreReportedOnceAndALateAnswerIsNotTakenLater) {
    dialogs.expect(QStringLiteral("The receiver does not answer"));
    sim.setFault(sim::Fault::Silent);
    EXPECT_FALSE(rx.Smeter());
    EXPECT_FALSE(rx.Smeter());     // still failing: no second notice
    EXPECT_TRUE(rxFailing());

    sim.setFault(sim::Fault::Garbage);
    EXPECT_FALSE(rx.Smeter());

    // The answer comes after the driver has given up; the next read must not
    // take it for its own.
    sim.setFault(sim::Fault::Late, replyTimeouts.rx320SmeterMs + 100);
    sim.setSmeterReading(65535);
    EXPECT_FALSE(rx.Smeter());
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    sim.setFault(sim::Fault::None);
    sim.setSmeterReading(1);
    const auto v = rx.Smeter();
    ASSERT_TRUE(v);
    EXPECT_EQ(*v, 0.0f);
    EXPECT_FALSE(rxFailing());
    pump();
    EXPECT_EQ(dialogs.shown().size(), 1);

    // A good read re-arms the notice.
    dialogs.expect(QStringLiteral("The receiver does not answer"));
    sim.setFault(sim::Fault::Silent);
    EXPECT_FALSE(rx.Smeter());
    pump();
    EXPECT_EQ(dialogs.shown().size(), 2);
}

TEST_F(Rx320Test, SmeterAtTheLinesOwnSpeed) {
    sim.setBaud(1200);
    sim.setSmeterReading(300);
    QElapsedTimer t;
    t.start();
    const auto v = rx.Smeter();
    ASSERT_TRUE(v);
    EXPECT_NEAR(*v, 1.4f * std::log(300.0f), 0.001f);
    // Two bytes out and four back at 1200 baud: 50 ms on the wire.
    EXPECT_GE(t.elapsed(), 45);
}

TEST_F(Rx320Test, FirmwareIsTheReceiversTextWithoutStaleCharacters) {
    sim.inject("leftover");
    ASSERT_TRUE(port.waitForBytes(8, 1000));
    EXPECT_EQ(rx.Firmware(), QStringLiteral("VER 1.07"));
    EXPECT_EQ(take(2), QByteArray("?\r"));

    // Longer than 100 ms on the line and slow to start: still whole.
    sim.setBaud(1200);
    sim.setFirmware("RECEIVER FIRMWARE 1.07\r");
    sim.setFirmwareDelayMs(60);
    EXPECT_EQ(rx.Firmware(), QStringLiteral("RECEIVER FIRMWARE 1.07"));

    // Without a CR the text ends when the line falls quiet.
    sim.setBaud(0);
    sim.setFirmwareDelayMs(0);
    sim.setFirmware("V2");
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(rx.Firmware(), QStringLiteral("V2"));
    EXPECT_LT(t.elapsed(), 1000);
}

TEST_F(Rx320Test, FirmwareFromASilentReceiverFailsWithinItsBound) {
    dialogs.expect(QStringLiteral("The receiver does not answer"));
    sim.setFault(sim::Fault::Silent);
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(rx.Firmware());
    EXPECT_LT(t.elapsed(), replyTimeouts.rx320SmeterMs + 200);
}

} // namespace
} // namespace dovrane
