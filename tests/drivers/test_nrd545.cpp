// The NRD-545 driver against the simulated NRD-545: tuning, levels read one
// by one, AGC, memories, clock, user settings and the DSP functions.
#include "drivers/nrd545/clsnrd545.h"
#include "drivers/rx_link.h"
#include "sim/nrd_rig.h"

#include <functional>

using namespace dovrane;
using namespace dovrane::test;

namespace {
using Nrd545 = NrdRig<sim::Nrd545Sim>;
using Setting = sim::NrdSimBase::Setting;
} // namespace

TEST_F(Nrd545, TuningWritesAndReads) {
    clsNRD545 rx(port);
    Recorder<int> att, bw, mode, ecss;
    Recorder<double> freq;
    QObject::connect(&rx, &clsNRD545::AttenuatorChanged, att.slot());
    QObject::connect(&rx, &clsNRD545::BandwidthChanged, bw.slot());
    QObject::connect(&rx, &clsNRD545::ModeChanged, mode.slot());
    QObject::connect(&rx, &clsNRD545::EcssChanged, ecss.slot());
    QObject::connect(&rx, &clsNRD545::FrequencyAChanged, freq.slot());
    hold(rx);

    ASSERT_TRUE(rx.FrequencyA(7100));
    ASSERT_TRUE(rx.Attenuator(1));
    ASSERT_TRUE(rx.Bandwidth(2));
    ASSERT_TRUE(rx.Mode(9));
    ASSERT_TRUE(rx.Ecss(1));
    ASSERT_TRUE(rx.FreqOrChan(0));
    EXPECT_EQ(wire(6), (Wire{"F0007100000", "A1", "B2", "D9", "CC1", "MM21"}));
    EXPECT_EQ(sim.vfo(), (Setting{1, 2, 9, 7100000, 10}));
    EXPECT_EQ(sim.levels().ecss, 1);
    EXPECT_TRUE(sim.channelDisplay());
    EXPECT_EQ(freq.values, std::vector<double>{7100});
    EXPECT_EQ(att.values, std::vector<int>{1});
    EXPECT_EQ(bw.values, std::vector<int>{2});
    EXPECT_EQ(mode.values, std::vector<int>{9});
    EXPECT_EQ(ecss.values, std::vector<int>{1});

    EXPECT_EQ(rx.FrequencyA(), 7100.0);
    EXPECT_EQ(rx.Attenuator(), 1);
    EXPECT_EQ(rx.Mode(), 9);
    EXPECT_EQ(rx.RxStatus(), QStringLiteral("X129071000001"));
    EXPECT_TRUE(sim.channelDisplay()) << "the status read leaves the display as it found it";

    EXPECT_FALSE(rx.Attenuator(10));
    EXPECT_FALSE(rx.FrequencyA(-5));
    EXPECT_FALSE(rx.Rx2Mem(1000));
    EXPECT_TRUE(att.values.size() == 1);
}

TEST_F(Nrd545, StatusWriteCarriesTheAgcAsATimeValue) {
    clsNRD545 rx(port);
    Recorder<QString> status;
    QObject::connect(&rx, &clsNRD545::RxStatusChanged, status.slot());
    hold(rx);

    ASSERT_TRUE(rx.RxStatus(QStringLiteral("X114095000004")));
    EXPECT_EQ(wire(1), (Wire{"S9991140009500000040"}));
    EXPECT_EQ(sim.vfo(), (Setting{1, 1, 4, 9500000, 40}));
    EXPECT_EQ(rx.RxStatus(), QStringLiteral("X114095000004"));
    EXPECT_EQ(status.values, std::vector<QString>{QStringLiteral("X114095000004")});
}

// The receiver has three filters and two attenuator steps: a fourth filter
// fits the command's digit yet goes nowhere, alone or inside a status or a
// channel.
TEST_F(Nrd545, CodesTheReceiverLacksAreRefused) {
    clsNRD545 rx(port);
    hold(rx);
    const std::pair<const char*, std::function<bool()>> writes[] = {
        {"filter 3", [&] { return bool(rx.Bandwidth(3)); }},
        {"attenuator 2", [&] { return bool(rx.Attenuator(2)); }},
        {"status on filter 3", [&] { return bool(rx.RxStatus(QStringLiteral("X034095000004"))); }},
        {"channel on filter 3", [&] { return rx.Memory(3, QStringLiteral("MEM003 09500000 4 03 0 3 @@@ @@@ @ ")); }},
    };
    for (const auto& [what, write] : writes) EXPECT_FALSE(write()) << what;
    EXPECT_EQ(wire(0), Wire{});
}

TEST_F(Nrd545, LevelsWriteAndReadBackOneByOne) {
    clsNRD545 rx(port);
    Recorder<int> bwc, pbs, ifg, sql, tone, vol;
    QObject::connect(&rx, &clsNRD545::BandwidthcontrolChanged, bwc.slot());
    QObject::connect(&rx, &clsNRD545::PassbandshiftChanged, pbs.slot());
    QObject::connect(&rx, &clsNRD545::IfgainChanged, ifg.slot());
    QObject::connect(&rx, &clsNRD545::SquelchChanged, sql.slot());
    QObject::connect(&rx, &clsNRD545::ToneChanged, tone.slot());
    QObject::connect(&rx, &clsNRD545::VolumeChanged, vol.slot());
    hold(rx);

    ASSERT_TRUE(rx.Bandwidthcontrol(240));
    ASSERT_TRUE(rx.PassBandShift(-25));
    ASSERT_TRUE(rx.Ifgain(200));
    ASSERT_TRUE(rx.Squelch(7));
    ASSERT_TRUE(rx.Tone(33));
    ASSERT_TRUE(rx.Volume(999));
    EXPECT_EQ(wire(6), (Wire{"W240", "P-025", "HH200", "LL007", "KK033", "JJ999"}));
    EXPECT_EQ(rx.Bandwidthcontrol(), 240);
    EXPECT_EQ(rx.PassBandShift(), -25);
    EXPECT_EQ(rx.Ifgain(), 200);
    EXPECT_EQ(rx.Squelch(), 7);
    EXPECT_EQ(rx.Tone(), 33);
    EXPECT_EQ(rx.Volume(), 999);
    EXPECT_EQ(bwc.values, std::vector<int>{240});
    EXPECT_EQ(pbs.values, std::vector<int>{-25});
    EXPECT_EQ(ifg.values, std::vector<int>{200});
    EXPECT_EQ(sql.values, std::vector<int>{7});
    EXPECT_EQ(tone.values, std::vector<int>{33});
    EXPECT_EQ(vol.values, std::vector<int>{999});

    // A level of 1000 does not fit the receiver's three digits.
    clearWire();
    EXPECT_FALSE(rx.Volume(1000));
    EXPECT_FALSE(rx.Bandwidthcontrol(-1));
    EXPECT_FALSE(rx.PassBandShift(1000));
    EXPECT_TRUE(wire(0).isEmpty());
    EXPECT_EQ(vol.values.size(), 1u);
}

// A noise blanker, ECSS side band, RTTY switch, bandwidth control or
// passband shift the receiver does not take is refused before anything goes
// out; the ends of each range go out.
TEST_F(Nrd545, ValuesOutsideTheModelsRangesAreRefused) {
    clsNRD545 rx(port);
    Recorder<int> ecss;
    QObject::connect(&rx, &clsNRD545::EcssChanged, ecss.slot());
    hold(rx);
    struct Case {
        const char* what;
        std::function<SendResult(clsNRD545&)> write;
        QByteArray sent;   // empty: refused
    };
    const Case cases[] = {
        {"ECSS AM-U", [](clsNRD545& r) { return r.Ecss(1); }, "CC1"},
        {"ECSS AM-L", [](clsNRD545& r) { return r.Ecss(2); }, "CC2"},
        {"ECSS 0", [](clsNRD545& r) { return r.Ecss(0); }, ""},
        {"ECSS 7", [](clsNRD545& r) { return r.Ecss(7); }, ""},
        {"noise blanker 2", [](clsNRD545& r) { return r.nb(0, 2); }, "N2"},
        {"noise blanker 7", [](clsNRD545& r) { return r.nb(0, 7); }, ""},
        {"RTTY on", [](clsNRD545& r) { return r.RttyOnOff(1); }, "U231"},
        {"RTTY 2", [](clsNRD545& r) { return r.RttyOnOff(2); }, ""},
        {"bandwidth control 1", [](clsNRD545& r) { return r.Bandwidthcontrol(1); }, "W001"},
        {"bandwidth control 999", [](clsNRD545& r) { return r.Bandwidthcontrol(999); }, "W999"},
        {"bandwidth control 0", [](clsNRD545& r) { return r.Bandwidthcontrol(0); }, ""},
        {"bandwidth control 1000", [](clsNRD545& r) { return r.Bandwidthcontrol(1000); }, ""},
        {"passband shift -230", [](clsNRD545& r) { return r.PassBandShift(-230); }, "P-230"},
        {"passband shift 231", [](clsNRD545& r) { return r.PassBandShift(231); }, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        clearWire();
        const SendResult r = c.write(rx);
        // A refusal is told apart from a write that failed.
        EXPECT_EQ(r.how(), c.sent.isEmpty() ? Sent::Refused : Sent::Yes);
        EXPECT_EQ(wire(c.sent.isEmpty() ? 0 : 1), c.sent.isEmpty() ? Wire{} : Wire{c.sent});
        EXPECT_FALSE(rxFailing());
    }
    EXPECT_EQ(ecss.values, (std::vector<int>{1, 2}));
}

TEST_F(Nrd545, BracketedTwinsReadWithoutAHold) {
    clsNRD545 rx(port);
    auto l = sim.levels();
    l.bandwidthControl = 120;
    l.passbandShift = -230;
    sim.setLevels(l);

    EXPECT_EQ(rx.Bandwidthcontrolxxx(), 120);
    EXPECT_EQ(rx.PassBandShiftxxx(), -230);
    EXPECT_EQ(wire(10), (Wire{"H1", "H1", "W", "H0", "H0", "H1", "H1", "P", "H0", "H0"}));
    EXPECT_FALSE(sim.inRemote());
}

TEST_F(Nrd545, AgcWritesAndTheFactorRead) {
    clsNRD545 rx(port);
    Recorder<int> agc;
    QObject::connect(&rx, &clsNRD545::AgcspeedChanged, agc.slot());
    hold(rx);

    ASSERT_TRUE(rx.Agcspeed(1));
    ASSERT_TRUE(rx.Agcspeed(3));
    ASSERT_TRUE(rx.Agcspeed(9));
    ASSERT_TRUE(rx.Agcspeed(0));
    // Anything else would be a lone CR: refused.
    EXPECT_FALSE(rx.Agcspeed(-1));
    EXPECT_FALSE(rx.Agcspeed(10));
    EXPECT_EQ(wire(4), (Wire{"NN010", "NN030", "NN090", "G2"}));
    EXPECT_EQ(sim.vfo().agc, 0);
    EXPECT_EQ(agc.values, (std::vector<int>{1, 3, 9, 0}));

    // The read gives the factor 1..9, a half going to even.
    const std::pair<int, int> reads[] = {{30, 3}, {0, 1}, {120, 9}, {25, 2}, {35, 4}};
    for (auto [time, factor] : reads) {
        auto s = sim.vfo();
        s.agc = time;
        sim.setVfo(s);
        EXPECT_EQ(rx.Agcspeed(), factor) << time;
    }
}

TEST_F(Nrd545, SmeterFollowsTheReceiversScale) {
    clsNRD545 rx(port);
    hold(rx);
    const std::pair<int, float> readings[] = {{27, 0.0f}, {83, 9.1667f}, {208, 18.9844f}, {250, 19.0f}};
    for (auto [raw, s] : readings) {
        sim.setSmeterRaw(raw);
        const auto got = rx.Smeter();
        ASSERT_TRUE(got) << raw;
        EXPECT_NEAR(*got, s, 1e-4) << raw;
    }
}

TEST_F(Nrd545, MemoriesStoreAndReadButCannotBeCleared) {
    clsNRD545 rx(port);
    hold(rx);
    const QString rec = QStringLiteral("MEM003 05000000 3 02 1 4 @@@ @@@ @ ");
    const QString top = QStringLiteral("MEM999 29999999 9 00 0 9 @@@ @@@ @ ");

    ASSERT_TRUE(rx.Memory(3, rec));
    ASSERT_TRUE(rx.Memory(998, top));
    EXPECT_EQ(wire(2), (Wire{"K0031230005000000040", "K9980090029999999090"}));
    EXPECT_EQ(sim.channel(3), (Setting{1, 2, 3, 5000000, 40}));
    EXPECT_EQ(rx.Memory(3), rec);
    EXPECT_EQ(rx.Memory(998), QStringLiteral("MEM998 29999999 9 00 0 9 @@@ @@@ @ "));

    // The receiver keeps the AGC as a time value; the record shows its factor.
    sim.setChannel(4, Setting{0, 1, 2, 9500000, 25});
    EXPECT_EQ(rx.Memory(4), QStringLiteral("MEM004 09500000 2 01 0 2 @@@ @@@ @ "));
    EXPECT_EQ(rx.Memory(5), QStringLiteral("XXX005 No data  @ @@ @ @ @@@ @@@ @ "));

    // There is no command that clears a channel: reported as not done, and
    // the channel keeps its setting.
    clearWire();
    EXPECT_FALSE(rx.Memory(3, QStringLiteral("XXX003 No data  @ @@ @ @ @@@ @@@ @ ")));
    EXPECT_FALSE(rx.Memory(3, QStringLiteral("MEM003 00009999 3 02 1 4 @@@ @@@ @ ")));
    EXPECT_FALSE(rx.Memory(1000, rec));
    EXPECT_TRUE(wire(0).isEmpty());
    EXPECT_EQ(sim.channel(3), (Setting{1, 2, 3, 5000000, 40}));

    ASSERT_TRUE(rx.Rx2Mem(3));
    EXPECT_EQ(wire(1), (Wire{"C003"}));
    EXPECT_EQ(sim.vfo(), (Setting{1, 2, 3, 5000000, 40}));
}

TEST_F(Nrd545, ReceiverClockKeepsHoursAndMinutes) {
    clsNRD545 rx(port);
    hold(rx);
    ASSERT_TRUE(rx.RxClock(QStringLiteral("13:05:09")));
    EXPECT_EQ(wire(1), (Wire{"R11305"}));
    EXPECT_EQ(rx.RxClock(), QStringLiteral("13:05:00"));
}

TEST_F(Nrd545, UserSettings) {
    clsNRD545 rx(port);
    hold(rx);
    const struct {
        int item, v;
        const char* cmd;
    } table[] = {{1, 1, "U011"},       {3, 3, "U033"},   {8, 2, "U082"},     {13, 2, "U132"},
                 {14, 800, "U14+0800"}, {14, -25, "U14-0025"}, {20, 5, "U2005"}, {21, 30, "U21030"},
                 {22, 120, "U22120"},  {24, 1, "U241"},  {25, 0, "U250"},    {32, 1, "U321"}};
    Wire expected;
    for (const auto& row : table) {
        EXPECT_TRUE(rx.Userdefs(row.item, row.v)) << row.cmd;
        expected << row.cmd;
    }
    EXPECT_FALSE(rx.Userdefs(5, 1));
    EXPECT_FALSE(rx.Userdefs(15, 1));
    EXPECT_FALSE(rx.Userdefs(29, 1));
    EXPECT_FALSE(rx.Userdefs(1, 2));
    EXPECT_FALSE(rx.Userdefs(3, 4));
    EXPECT_FALSE(rx.Userdefs(20, 100));
    EXPECT_FALSE(rx.Userdefs(33, 0));
    EXPECT_EQ(wire(int(expected.size())), expected);
    for (const auto& c : sim.commands()) EXPECT_TRUE(c.accepted) << c.text.constData();
    EXPECT_EQ(sim.userSetting(14), QByteArray("-0025"));

    ASSERT_TRUE(rx.RttyOnOff(1));
    ASSERT_TRUE(rx.RttyParameters(QStringLiteral("5011")));
    ASSERT_TRUE(rx.PowerOnOff(1));
    ASSERT_TRUE(rx.Timerrelaysonoff(1));
    EXPECT_EQ(wire(int(expected.size()) + 4).mid(expected.size()), (Wire{"U231", "U155011", "T1", "O1"}));
    EXPECT_TRUE(sim.rtty());
    EXPECT_EQ(sim.rttyParameters(), QByteArray("5011"));
    EXPECT_TRUE(sim.timerRelay());
}

TEST_F(Nrd545, DspFunctions) {
    clsNRD545 rx(port);
    hold(rx);

    ASSERT_TRUE(rx.nrbc(0, 1));
    ASSERT_TRUE(rx.nrbc(1, 7));
    ASSERT_TRUE(rx.nrbc(2, 20));
    ASSERT_TRUE(rx.nb(0, 2));
    ASSERT_TRUE(rx.nb(1, 50));
    ASSERT_TRUE(rx.nt(0, 1));
    ASSERT_TRUE(rx.nt(1, -120));
    EXPECT_EQ(wire(7), (Wire{"BB1", "U29007", "U30020", "N2", "FF050", "EE1", "GG-0120"}));
    auto want = sim::Nrd545Sim::Levels{};
    want.nrbcChoice = 1;
    want.nrLevel = 7;
    want.bcLevel = 20;
    want.nbChoice = 2;
    want.nbLevel = 50;
    want.notchChoice = 1;
    want.notchFrequency = -120;
    EXPECT_EQ(sim.levels(), want);

    EXPECT_EQ(rx.nb(0), 2);
    EXPECT_EQ(rx.nb(1), 50);
    EXPECT_EQ(rx.nt(1), -120);

    // Selectors the receiver has no command for are refused without traffic.
    clearWire();
    EXPECT_FALSE(rx.nrbc(3, 1));
    EXPECT_FALSE(rx.nb(2, 1));
    EXPECT_FALSE(rx.nt(2, 1));
    EXPECT_FALSE(rx.nb(2));
    EXPECT_FALSE(rx.nt(0));
    EXPECT_FALSE(rx.nt(1, 10000));
    EXPECT_TRUE(wire(0).isEmpty());
}

TEST_F(Nrd545, DialReportsCarryTheFrequencyBeforeTheLastFourCharacters) {
    ASSERT_TRUE(port.write("H1\rI1\rDD0\r"));
    wire(3);
    ASSERT_TRUE(sim.reportsOn());
    port.discardInput();
    sim.turnKnob(9505000);
    ASSERT_TRUE(port.waitForBytes(18, 1000));
    const QByteArray report = port.readAll();
    ASSERT_TRUE(report.endsWith('\r'));
    EXPECT_EQ(report.mid(report.size() - 12, 8), QByteArray("09505000"));
}
