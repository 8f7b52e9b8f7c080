// The facade on each receiver, through the real port and a simulated receiver
// on a pseudo-terminal: tuning with its range check, the mode letters both
// ways, reading the frequency back, and the dial reports of an NRD receiver
// arriving on the line.
#include "facade_rig.h"

#include "drivers/ar7030/ar7030_protocol.h"
#include "drivers/ar7030/clsar7030.h"
#include "drivers/model_tables.h"
#include "drivers/rx320/rx320_state.h"
#include "platform/commport.h"
#include "shell/globals.h"
#include "sim/ar7030_sim.h"
#include "sim/nrd535_sim.h"
#include "sim/nrd545_sim.h"
#include "sim/rx320_sim.h"
#include "support/test_env.h"

#include <QElapsedTimer>
#include <chrono>
#include <thread>

namespace dovrane::test {
namespace {

template <class Sim>
class FacadeOnReceiver : public AppTest, protected ReceiverLink<Sim> {
protected:
    using Link = ReceiverLink<Sim>;
    using Link::panel;
    using Link::port;
    using Link::sim;
    void SetUp() override {
        AppTest::SetUp();
        this->attach();
    }
    void TearDown() override {
        this->detach();
        AppTest::TearDown();
    }
    void open(int rxType, const char* settings) { this->openDriver(rxType, settings); }
    // Lets the simulator take in everything sent so far.
    void settle() { ASSERT_TRUE(sim.waitIdle()); }
};

using Ar7030Facade = FacadeOnReceiver<sim::Ar7030Sim>;
using Nrd535Facade = FacadeOnReceiver<sim::Nrd535Sim>;
using Nrd545Facade = FacadeOnReceiver<sim::Nrd545Sim>;
using Rx320Facade = FacadeOnReceiver<sim::Rx320Sim>;

TEST_F(Ar7030Facade, TunesAtTheLimitAndSendsNothingBeyondIt) {
    sim.setClockRunning(false);
    open(1, "1200,N,8,1");
    initar7030tables();
    EXPECT_TRUE(Change2FreqA(FreqMax));
    settle();
    EXPECT_EQ(sim.frequencyWord(), *ar7030::frequencyWord(FreqMax));
    EXPECT_EQ(panel.calls, QStringList{QStringLiteral("FrequencyA 32016.000")});

    sim.clearBytesReceived();
    dialogs.expect(QStringLiteral("Frequency outside range"));
    EXPECT_FALSE(Change2FreqA(FreqMax + 0.001));
    settle();
    EXPECT_TRUE(sim.bytesReceived().isEmpty()) << "nothing went to the receiver";
    EXPECT_EQ(panel.calls.size(), 1);

    // Read back into the panel.
    sim.setFrequencyWord(*ar7030::frequencyWord(6070));
    const std::optional<double> f = Update2RxFreq();
    ASSERT_TRUE(f);
    EXPECT_NEAR(*f, 6070.0, 0.003);   // the receiver's frequency word is a little finer than 1 Hz
    EXPECT_EQ(panel.calls.size(), 2);
    EXPECT_TRUE(panel.calls.back().startsWith(QStringLiteral("FrequencyA 607")));
}

TEST_F(Ar7030Facade, ModeLettersSetModeFilterAndAgcInTurn) {
    sim.setClockRunning(false);
    open(1, "1200,N,8,1");
    initar7030tables();
    Settings[14] = 4;
    Settings[15] = 2.5f;   // the filter place is the setting rounded (half to even)
    Settings[17] = 0;      // no such place: the filter is left alone
    QString letter = QStringLiteral("u");
    SetRx2mfa(letter);
    EXPECT_EQ(letter, QStringLiteral("U"));
    EXPECT_EQ(panel.calls, (QStringList{QStringLiteral("Mode 7"), QStringLiteral("Bandwidth 2"),
                                        QStringLiteral("Agcspeed 2")}));
    EXPECT_EQ(ConvertRx2mfa(), QStringLiteral("u"));
    clsAR7030 check(port);
    EXPECT_EQ(check.Bandwidth(), std::optional<int>(2));
    EXPECT_EQ(check.Agcspeed(), std::optional<int>(2));

    panel.calls.clear();
    letter = QStringLiteral("F");
    SetRx2mfa(letter);
    EXPECT_EQ(panel.calls, QStringList{QStringLiteral("Mode 3")});
    EXPECT_EQ(ConvertRx2mfa(), QStringLiteral("f"));
    EXPECT_EQ(check.Bandwidth(), std::optional<int>(2));

    letter = QStringLiteral("a");
    SetRx2mfa(letter);
    EXPECT_EQ(ConvertRx2mfa(), QStringLiteral("a"));
    EXPECT_EQ(check.Bandwidth(), std::optional<int>(4));
    panel.calls.clear();
    letter = QStringLiteral("x");
    SetRx2mfa(letter);
    letter.clear();
    SetRx2mfa(letter);
    EXPECT_TRUE(panel.calls.isEmpty());
}

TEST_F(Ar7030Facade, ASilentReceiverGivesNoFrequency) {
    open(1, "1200,N,8,1");
    initar7030tables();
    sim.setFault(sim::Fault::Silent);
    dialogs.expect(QStringLiteral("The receiver does not answer"));
    EXPECT_EQ(Update2RxFreq(), std::nullopt);
    EXPECT_EQ(ConvertRx2mfa(), QString());
    EXPECT_TRUE(panel.calls.isEmpty());
}

TEST_F(Nrd535Facade, TheCwFilterFollowsTheNarrowFilterOption) {
    open(2, "4800,N,8,1");
    initnrd535tables();
    for (int fitted : {0, 1}) {
        Settings[10] = float(fitted);
        panel.calls.clear();
        QString letter = QStringLiteral("c");
        SetRx2mfa(letter);
        const int filter = fitted ? 2 : 1;
        EXPECT_EQ(panel.calls, (QStringList{QStringLiteral("Mode 1"), QStringLiteral("Bandwidth %1").arg(filter),
                                            QStringLiteral("Agcspeed 1")}));
        const sim::NrdSimBase::Setting vfo = sim.vfo();
        EXPECT_EQ(vfo.mode, 1);
        EXPECT_EQ(vfo.bandwidth, filter);
        EXPECT_EQ(vfo.agc, 1);
    }
    EXPECT_EQ(ConvertRx2mfa(), QStringLiteral("c"));
    sim::NrdSimBase::Setting fax = sim.vfo();
    fax.mode = 6;
    sim.setVfo(fax);
    EXPECT_EQ(ConvertRx2mfa(), QStringLiteral("d"));
    EXPECT_TRUE(Change2FreqA(9410));
    EXPECT_EQ(sim.vfo().hertz, 9410000);
}

TEST_F(Nrd545Facade, WfmHasNoLetterAndDialReportsComeThroughTheLine) {
    open(4, "4800,N,8,1");
    initnrd545tables();
    sim::NrdSimBase::Setting s = sim.vfo();
    for (auto [mode, letter] : {std::pair(9, ""), std::pair(6, "a"), std::pair(0, "d"), std::pair(5, "f")}) {
        s.mode = mode;
        sim.setVfo(s);
        EXPECT_EQ(ConvertRx2mfa(), QLatin1String(letter)) << mode;
    }

    // The receiver reports its frequency by itself once asked to.
    attachSerialReceive(port);
    int lookups = 0;
    updatetrackingHandler = [&] { ++lookups; };
    ASSERT_TRUE(port.write("I1\r"));
    QElapsedTimer t;
    t.start();
    while (!sim.reportsOn() && t.elapsed() < 1000) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_TRUE(sim.reportsOn());

    // Without the dial flag the bytes stay for the drivers.
    TrackFreq = 0;
    sim.turnKnob(7100000);
    AppTest::pump(150);
    EXPECT_EQ(TrackFreq, 0);
    EXPECT_GT(port.inBufferCount(), 0);
    port.discardInput();

    CommRxEnabled = true;
    sim.turnKnob(9500000);
    t.restart();
    while (TrackFreq != 9500 && t.elapsed() < 1000) AppTest::pump(10);
    EXPECT_EQ(TrackFreq, 9500);
    EXPECT_EQ(panel.calls.back(), QStringLiteral("FrequencyA 9500.000"));
    EXPECT_GE(lookups, 1);
    CommRxEnabled = false;
}

TEST_F(Rx320Facade, LettersWithoutAnEntrySendNothing) {
    open(3, "1200,N,8,1");
    initrx320tables();
    Rx320Freq = 7000;
    QString letter = QStringLiteral("f");
    SetRx2mfa(letter);
    letter = QStringLiteral("D");
    SetRx2mfa(letter);
    settle();
    EXPECT_TRUE(sim.commands().isEmpty());
    EXPECT_TRUE(panel.calls.isEmpty());

    letter = QStringLiteral("l");
    SetRx2mfa(letter);
    EXPECT_EQ(panel.calls, (QStringList{QStringLiteral("Mode 2"), QStringLiteral("Bandwidth 10"),
                                        QStringLiteral("Agcspeed 1")}));
    EXPECT_EQ(Rx320Mode, 2);
    EXPECT_EQ(Rx320Bw, 10);
    EXPECT_EQ(ConvertRx2mfa(), QStringLiteral("l"));
    settle();
    EXPECT_EQ(sim.state().mode, 2);
    // The frequency is the last one sent: nothing is asked of the receiver.
    sim.clearBytesReceived();
    EXPECT_EQ(Update2RxFreq(), std::optional<double>(7000.0));
    settle();
    EXPECT_TRUE(sim.bytesReceived().isEmpty());
}

} // namespace
} // namespace dovrane::test
