// The NRD-535 driver against the simulated NRD-535: every setting goes out as
// the receiver's command and reads back, with its change event.
#include "drivers/model_tables.h"
#include "drivers/nrd535/clsnrd535.h"
#include "drivers/rx_link.h"
#include "shell/globals.h"

#include <functional>
#include "sim/nrd_rig.h"

using namespace dovrane;
using namespace dovrane::test;

namespace {
using Nrd535 = NrdRig<sim::Nrd535Sim>;
using Setting = sim::NrdSimBase::Setting;

// The set-up of a receiver with every option fitted: the 1 kHz filter, BWC,
// ECSS and the RTTY unit.
void fitEveryOption() {
    for (int option : {NarrowFilterOption, BwcOption, EcssOption, RttyOption}) Settings[size_t(option)] = 1;
}
} // namespace

TEST_F(Nrd535, TunedSettingsRoundTripThroughTheStatus) {
    fitEveryOption();
    clsNRD535 rx(port);
    Recorder<int> att, bw, mode, agc;
    Recorder<double> freq;
    QObject::connect(&rx, &clsNRD535::AttenuatorChanged, att.slot());
    QObject::connect(&rx, &clsNRD535::BandwidthChanged, bw.slot());
    QObject::connect(&rx, &clsNRD535::ModeChanged, mode.slot());
    QObject::connect(&rx, &clsNRD535::AgcspeedChanged, agc.slot());
    QObject::connect(&rx, &clsNRD535::FrequencyAChanged, freq.slot());
    hold(rx);

    ASSERT_TRUE(rx.Attenuator(1));
    ASSERT_TRUE(rx.Bandwidth(3));
    ASSERT_TRUE(rx.Mode(8));
    ASSERT_TRUE(rx.Agcspeed(2));
    ASSERT_TRUE(rx.FrequencyA(9999.999));
    EXPECT_EQ(wire(5), (Wire{"A1", "B3", "D8", "G2", "F09999999"}));
    EXPECT_EQ(sim.vfo(), (Setting{1, 3, 8, 9999999, 2}));
    EXPECT_EQ(att.values, std::vector<int>{1});
    EXPECT_EQ(bw.values, std::vector<int>{3});
    EXPECT_EQ(mode.values, std::vector<int>{8});
    EXPECT_EQ(agc.values, std::vector<int>{2});
    EXPECT_EQ(freq.values, std::vector<double>{9999.999});

    EXPECT_EQ(rx.RxStatus(), QStringLiteral("X138099999992"));
    EXPECT_EQ(rx.Attenuator(), 1);
    EXPECT_EQ(rx.Bandwidth(), 3);
    EXPECT_EQ(rx.Mode(), 8);
    EXPECT_EQ(rx.Agcspeed(), 2);
    EXPECT_EQ(rx.FrequencyA(), 9999.999);

    ASSERT_TRUE(rx.FrequencyA(15000));
    EXPECT_EQ(rx.FrequencyA(), 15000.0);
    ASSERT_TRUE(rx.FrequencyA(12.345));
    EXPECT_EQ(rx.FrequencyA(), 12.345);
}

TEST_F(Nrd535, ValuesTheCommandsCannotCarryAreRefused) {
    clsNRD535 rx(port);
    Recorder<int> att;
    QObject::connect(&rx, &clsNRD535::AttenuatorChanged, att.slot());
    hold(rx);

    EXPECT_FALSE(rx.Attenuator(12));
    EXPECT_FALSE(rx.Mode(-3));
    EXPECT_FALSE(rx.FrequencyA(100000));
    EXPECT_FALSE(rx.FrequencyA(-1));
    EXPECT_FALSE(rx.Bandwidthcontrol(10000));
    EXPECT_FALSE(rx.PassBandShift(-10000));
    EXPECT_FALSE(rx.PowerOnOff(2));
    EXPECT_FALSE(rx.Memory(200));
    EXPECT_FALSE(rx.Rx2Mem(200));
    EXPECT_FALSE(rx.RxClock(QStringLiteral("24:00:00")));
    EXPECT_FALSE(rx.RxStatus(QStringLiteral("X13809999999")));
    EXPECT_FALSE(rx.RttyParameters(QString()));
    EXPECT_TRUE(wire(0).isEmpty());
    EXPECT_TRUE(att.values.empty());
}

// Whoever calls the driver, a code of an option the set-up says the receiver
// lacks never goes out: not on its own, not inside a status or a memory
// record. The refusal is no silent receiver, and once the option is ticked
// the same write goes out.
TEST_F(Nrd535, AnOptionsCodesGoOutOnlyWithTheOption) {
    clsNRD535 rx(port);
    int events = 0;
    const auto count = [&events] { ++events; };
    QObject::connect(&rx, &clsNRD535::ModeChanged, count);
    QObject::connect(&rx, &clsNRD535::BandwidthChanged, count);
    QObject::connect(&rx, &clsNRD535::BandwidthcontrolChanged, count);
    QObject::connect(&rx, &clsNRD535::RxStatusChanged, count);
    QObject::connect(&rx, &clsNRD535::RttyonoffChanged, count);
    hold(rx);

    struct Case {
        const char* what;
        int option;
        std::function<bool(clsNRD535&)> write;
        QByteArray sent;   // with the option
        bool event;
    };
    const Case cases[] = {
        {"AM-U", EcssOption, [](clsNRD535& r) { return bool(r.Mode(7)); }, "D7", true},
        {"AM-L", EcssOption, [](clsNRD535& r) { return bool(r.Mode(8)); }, "D8", true},
        {"Nar", NarrowFilterOption, [](clsNRD535& r) { return bool(r.Bandwidth(2)); }, "B2", true},
        {"bandwidth control", BwcOption, [](clsNRD535& r) { return bool(r.Bandwidthcontrol(2200)); }, "W2200", true},
        {"bandwidth control none", BwcOption, [](clsNRD535& r) { return bool(r.Bandwidthcontrol(0)); }, "W0000", true},
        {"RTTY on", RttyOption, [](clsNRD535& r) { return bool(r.RttyOnOff(1)); }, "X1", true},
        {"RTTY parameters", RttyOption, [](clsNRD535& r) { return bool(r.RttyParameters(QStringLiteral("1211"))); },
         "U31211", false},
        {"status in AM-U", EcssOption, [](clsNRD535& r) { return bool(r.RxStatus(QStringLiteral("X017070000001"))); },
         "S199017070000001", true},
        {"status on Nar", NarrowFilterOption,
         [](clsNRD535& r) { return bool(r.RxStatus(QStringLiteral("X024070000001"))); }, "S199024070000001", true},
        {"channel in AM-L", EcssOption,
         [](clsNRD535& r) { return r.Memory(20, QStringLiteral("MEM020 07000000 8 01 0 1 @@@ @@@ @ ")); },
         "K020018070000001", false},
        {"channel on Nar", NarrowFilterOption,
         [](clsNRD535& r) { return r.Memory(21, QStringLiteral("MEM021 07000000 4 02 0 1 @@@ @@@ @ ")); },
         "K021024070000001", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Every other option fitted: only the one the code needs is missing.
        fitEveryOption();
        Settings[size_t(c.option)] = 0;
        events = 0;
        EXPECT_FALSE(c.write(rx));
        EXPECT_EQ(wire(0), Wire{});
        EXPECT_EQ(events, 0);
        EXPECT_FALSE(rxFailing()) << "a refusal is not a receiver that does not answer";

        Settings[size_t(c.option)] = 1;
        EXPECT_TRUE(c.write(rx));
        EXPECT_EQ(wire(1), Wire{c.sent});
        EXPECT_EQ(events, c.event ? 1 : 0);
        clearWire();
    }

    // Codes the receiver has no setting for are refused with every option.
    fitEveryOption();
    EXPECT_FALSE(rx.Attenuator(2));
    EXPECT_FALSE(rx.Bandwidth(4));
    EXPECT_FALSE(rx.Mode(9));
    EXPECT_FALSE(rx.Agcspeed(3));
    EXPECT_FALSE(rx.RxStatus(QStringLiteral("X014070000003")));
    EXPECT_FALSE(rx.Memory(22, QStringLiteral("MEM022 07000000 4 01 2 1 @@@ @@@ @ ")));
    EXPECT_EQ(wire(0), Wire{});
    EXPECT_EQ(events, 0);
}

// With every option fitted, a value outside what the receiver takes is
// refused before anything goes out, and the ends of each range go out; the
// RTTY unit is always switched off, fitted or not.
TEST_F(Nrd535, ValuesOutsideTheModelsRangesAreRefused) {
    clsNRD535 rx(port);
    hold(rx);
    struct Case {
        const char* what;
        std::function<SendResult(clsNRD535&)> write;
        QByteArray sent;   // empty: refused
    };
    const Case cases[] = {
        {"noise blanker 2", [](clsNRD535& r) { return r.Noiseblanker(2); }, "N2"},
        {"noise blanker 3", [](clsNRD535& r) { return r.Noiseblanker(3); }, ""},
        {"noise blanker -1", [](clsNRD535& r) { return r.Noiseblanker(-1); }, ""},
        {"bandwidth control 500", [](clsNRD535& r) { return r.Bandwidthcontrol(500); }, "W0500"},
        {"bandwidth control 499", [](clsNRD535& r) { return r.Bandwidthcontrol(499); }, ""},
        {"bandwidth control 1", [](clsNRD535& r) { return r.Bandwidthcontrol(1); }, ""},
        {"bandwidth control none", [](clsNRD535& r) { return r.Bandwidthcontrol(0); }, "W0000"},
        {"bandwidth control 5501", [](clsNRD535& r) { return r.Bandwidthcontrol(5501); }, ""},
        {"passband shift -2000", [](clsNRD535& r) { return r.PassBandShift(-2000); }, "P-2000"},
        {"passband shift 2001", [](clsNRD535& r) { return r.PassBandShift(2001); }, ""},
        {"RTTY 2", [](clsNRD535& r) { return r.RttyOnOff(2); }, ""},
        {"RTTY off without the unit", [](clsNRD535& r) {
             Settings[size_t(RttyOption)] = 0;
             return r.RttyOnOff(0);
         }, "X0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fitEveryOption();
        clearWire();
        const SendResult r = c.write(rx);
        // A refusal is told apart from a write that failed.
        EXPECT_EQ(r.how(), c.sent.isEmpty() ? Sent::Refused : Sent::Yes);
        EXPECT_EQ(wire(c.sent.isEmpty() ? 0 : 1), c.sent.isEmpty() ? Wire{} : Wire{c.sent});
        EXPECT_FALSE(rxFailing());
    }
}

TEST_F(Nrd535, StatusWriteSetsTheWholeTuning) {
    fitEveryOption();
    clsNRD535 rx(port);
    Recorder<QString> status;
    QObject::connect(&rx, &clsNRD535::RxStatusChanged, status.slot());

    ASSERT_TRUE(rx.RxStatus(QStringLiteral("X021000123452")));
    EXPECT_EQ(wire(5), (Wire{"H1", "H1", "S199021000123452", "H0", "H0"}));
    EXPECT_EQ(sim.vfo(), (Setting{0, 2, 1, 12345, 2}));
    EXPECT_EQ(status.values, std::vector<QString>{QStringLiteral("X021000123452")});
    EXPECT_EQ(rx.FrequencyA(), 12.345);
}

TEST_F(Nrd535, PlainLevelWritesGoOutBareWithTheirPause) {
    fitEveryOption();
    clsNRD535 rx(port);
    Recorder<int> bwc, pbs;
    QObject::connect(&rx, &clsNRD535::BandwidthcontrolChanged, bwc.slot());
    QObject::connect(&rx, &clsNRD535::PassbandshiftChanged, pbs.slot());
    hold(rx);

    QElapsedTimer t;
    t.start();
    ASSERT_TRUE(rx.Bandwidthcontrol(500));
    EXPECT_GE(t.elapsed(), 45);
    ASSERT_TRUE(rx.PassBandShift(-150));
    ASSERT_TRUE(rx.PassBandShift(0));
    ASSERT_TRUE(rx.Bandwidthcontrol(5500));
    EXPECT_EQ(wire(4), (Wire{"W0500", "P-0150", "P+0000", "W5500"}));
    EXPECT_EQ(sim.bandwidthControl(), 5500);
    EXPECT_EQ(sim.passbandShift(), 0);
    EXPECT_EQ(bwc.values, (std::vector<int>{500, 5500}));
    EXPECT_EQ(pbs.values, (std::vector<int>{-150, 0}));
}

TEST_F(Nrd535, SwitchesAndTheirEvents) {
    fitEveryOption();
    clsNRD535 rx(port);
    Recorder<int> power, rtty, nb;
    QObject::connect(&rx, &clsNRD535::PoweronoffChanged, power.slot());
    QObject::connect(&rx, &clsNRD535::RttyonoffChanged, rtty.slot());
    QObject::connect(&rx, &clsNRD535::NoiseblankerChanged, nb.slot());
    hold(rx);

    ASSERT_TRUE(rx.PowerOnOff(0));
    ASSERT_TRUE(rx.RttyOnOff(1));
    ASSERT_TRUE(rx.Noiseblanker(2));
    ASSERT_TRUE(rx.Timerrelaysonoff(1));
    ASSERT_TRUE(rx.RttyParameters(QStringLiteral("5011")));
    EXPECT_EQ(wire(5), (Wire{"T0", "X1", "N2", "O1", "U35011"}));
    EXPECT_FALSE(sim.power());
    EXPECT_TRUE(sim.rtty());
    EXPECT_EQ(sim.noiseBlanker(), 2);
    EXPECT_TRUE(sim.timerRelay());
    EXPECT_EQ(sim.rttyParameters(), QByteArray("5011"));
    EXPECT_EQ(power.values, std::vector<int>{0});
    EXPECT_EQ(rtty.values, std::vector<int>{1});
    EXPECT_EQ(nb.values, std::vector<int>{2});
}

TEST_F(Nrd535, SmeterFollowsTheReceiversScale) {
    clsNRD535 rx(port);
    hold(rx);
    const std::pair<int, float> readings[] = {{137, 2.64f}, {85, 13.0f}, {160, 0.0f}, {60, 18.0f}};
    for (auto [raw, s] : readings) {
        sim.setSmeterRaw(raw);
        const auto got = rx.Smeter();
        ASSERT_TRUE(got) << raw;
        EXPECT_NEAR(*got, s, 1e-4) << raw;
    }
    EXPECT_EQ(sim.commandTexts().count("M"), 4);
}

TEST_F(Nrd535, MemoriesStoreReadAndClear) {
    fitEveryOption();
    clsNRD535 rx(port);
    hold(rx);
    const QString stored = QStringLiteral("MEM012 00010000 3 02 1 0 @@@ @@@ @ ");
    const QString top = QStringLiteral("MEM013 29999999 4 00 0 1 @@@ @@@ @ ");

    ASSERT_TRUE(rx.Memory(12, stored));
    ASSERT_TRUE(rx.Memory(13, top));
    EXPECT_EQ(wire(2), (Wire{"K012123000100000", "K013004299999991"}));
    EXPECT_EQ(sim.channel(12), (Setting{1, 2, 3, 10000, 0}));
    EXPECT_EQ(sim.channel(13), (Setting{0, 0, 4, 29999999, 1})) << "the highest frequency is stored";
    EXPECT_EQ(rx.Memory(12), stored);
    EXPECT_EQ(rx.Memory(13), top);

    // A vacant record, or one below 10 kHz, clears the channel.
    clearWire();
    ASSERT_TRUE(rx.Memory(12, QStringLiteral("XXX012 No data  @ @@ @ @ @@@ @@@ @ ")));
    ASSERT_TRUE(rx.Memory(13, QStringLiteral("MEM013 00009999 4 00 0 1 @@@ @@@ @ ")));
    EXPECT_EQ(wire(2), (Wire{"U5012", "U5013"}));
    EXPECT_FALSE(sim.channel(12));
    EXPECT_FALSE(sim.channel(13));
    EXPECT_EQ(rx.Memory(12), QStringLiteral("XXX012 No data  @ @@ @ @ @@@ @@@ @ "));
    EXPECT_EQ(sim.commandTexts().last(), QByteArray("L012012"));

    // A record this receiver cannot take leaves the channel alone.
    sim.setChannel(14, Setting{0, 1, 4, 6000000, 1});
    EXPECT_FALSE(rx.Memory(14, QStringLiteral("MEM014 06000000 4 01 @ @ 016 033 0 ")));
    EXPECT_TRUE(sim.channel(14));
}

TEST_F(Nrd535, RecallingAChannelTunesTheReceiver) {
    clsNRD535 rx(port);
    sim.setChannel(5, Setting{1, 2, 3, 6075000, 0});
    ASSERT_TRUE(rx.Rx2Mem(5));
    EXPECT_EQ(wire(5), (Wire{"H1", "H1", "C005", "H0", "H0"}));
    EXPECT_EQ(sim.vfo(), (Setting{1, 2, 3, 6075000, 0}));
}

TEST_F(Nrd535, ReceiverClock) {
    clsNRD535 rx(port);
    hold(rx);
    ASSERT_TRUE(rx.RxClock(QStringLiteral("13:05:09")));
    EXPECT_EQ(wire(1), (Wire{"R1130509"}));
    EXPECT_EQ(rx.RxClock(), sim.clockText());
    sim.setClock(QTime(23, 59, 58));
    EXPECT_EQ(rx.RxClock(), QStringLiteral("23:59:58"));
}

TEST_F(Nrd535, UserSettings) {
    clsNRD535 rx(port);
    hold(rx);
    const struct {
        int item, v;
        const char* cmd;
    } table[] = {{0, 2, "U02"}, {1, 0, "U11"},      {1, 1, "U10"}, {2, -50, "U2-0050"}, {2, 800, "U2+0800"},
                 {4, 1, "U41"}, {6, 0, "U60"},      {7, 1, "U71"}, {8, 0, "U80"},       {9, 1, "U91"}};
    Wire expected;
    for (const auto& row : table) {
        EXPECT_TRUE(rx.Userdefs(row.item, row.v)) << row.cmd;
        expected << row.cmd;
    }
    // Items the receiver does not have and values it does not take are
    // refused, with nothing sent.
    EXPECT_FALSE(rx.Userdefs(3, 1));
    EXPECT_FALSE(rx.Userdefs(5, 0));
    EXPECT_FALSE(rx.Userdefs(0, 3));
    EXPECT_FALSE(rx.Userdefs(1, 2));
    EXPECT_FALSE(rx.Userdefs(10, 0));
    EXPECT_FALSE(rx.Userdefs(2, 10000));
    // The receiver cannot report its user settings.
    EXPECT_FALSE(rx.Userdefs(4));
    EXPECT_EQ(wire(int(expected.size())), expected);
    for (const auto& c : sim.commands()) EXPECT_TRUE(c.accepted) << c.text.constData();
    EXPECT_EQ(sim.userSetting(1), QByteArray("0"));
    EXPECT_EQ(sim.userSetting(2), QByteArray("+0800"));
}

TEST_F(Nrd535, DialReportsCarryTheFrequencyBeforeTheLastTwoCharacters) {
    // The tracking window switches the reports on and hands the dial back.
    ASSERT_TRUE(port.write("I1\rH0\r"));
    wire(2);
    ASSERT_TRUE(sim.reportsOn());
    port.discardInput();
    sim.turnKnob(615000);
    ASSERT_TRUE(port.waitForBytes(14, 1000));
    const QByteArray report = port.readAll();
    ASSERT_TRUE(report.endsWith('\r'));
    EXPECT_EQ(report.mid(report.size() - 10, 8), QByteArray("00615000"));
    EXPECT_EQ(sim.vfo().hertz, 615000);

    ASSERT_TRUE(port.write("I0\r"));
    wire(3);
    sim.turnKnob(700000);
    EXPECT_FALSE(port.waitForBytes(1, 100)) << "no report once they are off";
}
