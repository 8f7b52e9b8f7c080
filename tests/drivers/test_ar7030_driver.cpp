// clsAR7030 against the simulated receiver: the bytes on the line, the
// registers they change, the values read back and the events raised.
#include "drivers/ar7030/ar7030_protocol.h"
#include "drivers/rx_link.h"
#include "platform/timeouts.h"
#include "test_ar7030_fixture.h"

#include <cmath>
#include <functional>
#include <limits>

namespace dovrane::test {
namespace {

using ar7030::frequencyWord;

struct SimpleCase {
    const char* name;
    int address;
    int value;
    QByteArray letBytes;
    std::function<bool(clsAR7030&, int)> let;
    std::function<std::optional<int>(clsAR7030&)> get;
    const char* event;
};

TEST_F(Ar7030Test, SimpleRegistersGoOutByteForByteAndReadBack) {
    const std::vector<SimpleCase> cases = {
        {"Attenuator", 0x30, 2, bytes({0x50, 0x33, 0x40, 0x62, 0x24}),
         [](clsAR7030& r, int v) { return bool(r.Attenuator(v)); }, qOverload<>(&clsAR7030::Attenuator), "Attenuator 2"},
        {"Bandwidth", 0x34, 4, bytes({0x50, 0x33, 0x44, 0x64, 0x23, 0x2B}),
         [](clsAR7030& r, int v) { return bool(r.Bandwidth(v)); }, qOverload<>(&clsAR7030::Bandwidth), "Bandwidth 4"},
        {"Mode", 0x1D, 6, bytes({0x50, 0x31, 0x4D, 0x66, 0x22, 0x2B}),
         [](clsAR7030& r, int v) { return bool(r.Mode(v)); }, qOverload<>(&clsAR7030::Mode), "Mode 6"},
        {"Agcspeed", 0x32, 3, bytes({0x50, 0x33, 0x42, 0x63, 0x24}),
         [](clsAR7030& r, int v) { return bool(r.Agcspeed(v)); }, qOverload<>(&clsAR7030::Agcspeed), "Agcspeed 3"},
        {"PassBandShift", 0x35, 200, bytes({0x50, 0x33, 0x45, 0x3C, 0x68, 0x23, 0x2B}),
         qOverload<int>(&clsAR7030::PassBandShift), qOverload<>(&clsAR7030::PassBandShift), "Passbandshift 200"},
        {"Beatfreqosc", 0x36, 0x85, bytes({0x50, 0x33, 0x46, 0x38, 0x65, 0x23, 0x2B}),
         qOverload<int>(&clsAR7030::Beatfreqosc), qOverload<>(&clsAR7030::Beatfreqosc), "Beatfreqosc 133"},
        {"Squelch", 0x33, 100, bytes({0x50, 0x33, 0x43, 0x36, 0x64, 0x31, 0x47, 0x36, 0x64, 0x24}),
         qOverload<int>(&clsAR7030::Squelch), qOverload<>(&clsAR7030::Squelch), "Squelch 100"},
    };
    for (const SimpleCase& c : cases) {
        SCOPED_TRACE(c.name);
        events.clear();
        ASSERT_TRUE(c.let(rx, c.value));
        EXPECT_EQ(hexText(wire(c.letBytes.size())), hexText(c.letBytes));
        EXPECT_EQ(sim.reg(0, c.address), c.value);
        EXPECT_EQ(events, QStringList{QString::fromLatin1(c.event)});

        EXPECT_EQ(c.get(rx), c.value);
        EXPECT_EQ(hexText(wire()), hexText(bytes({0x50, 0x30 + (c.address >> 4), 0x40 + (c.address & 15), 0x71})));
        EXPECT_EQ(events.size(), 1) << "a read raised an event";
    }
    EXPECT_EQ(sim.reg(0, 0x17), 100) << "the squelch's second copy";
    EXPECT_EQ(sim.routines(), (QList<int>{4, 3, 11, 2, 11, 4, 3, 11, 3, 11, 4}));
}

TEST_F(Ar7030Test, FrequencyWordOfTenMegahertz) {
    ASSERT_TRUE(rx.FrequencyA(10000));
    EXPECT_EQ(hexText(wire(11)),
              hexText(bytes({0x50, 0x31, 0x4A, 0x33, 0x69, 0x37, 0x68, 0x35, 0x60, 0x21, 0x2C})));
    EXPECT_EQ(sim.frequencyWord(), 3766352u);
    EXPECT_EQ(sim.routines(), (QList<int>{1, 12}));
    // The event carries what the caller asked for, not what the word stands for.
    EXPECT_EQ(events, QStringList{QStringLiteral("FrequencyA 10000")});

    const auto f = rx.FrequencyA();
    ASSERT_TRUE(f);
    EXPECT_NEAR(*f, 9999.99939, 1e-5);
    EXPECT_EQ(*f, 3766352 / 376.635223);
    EXPECT_EQ(hexText(wire()), hexText(bytes({0x50, 0x31, 0x4A, 0x71, 0x71, 0x71})));
}

TEST_F(Ar7030Test, AnswerBytesThatLookLikeLineControlPassUntouched) {
    // CR, XON and NUL as answer bytes: a port that translated or swallowed
    // them would read another frequency.
    sim.setFrequencyWord(0x0D1100);
    EXPECT_EQ(rx.FrequencyA(), 0x0D1100 / 376.635223);
    sim.setFrequencyWord(0x13FF0A);
    EXPECT_EQ(rx.FrequencyA(), 0x13FF0A / 376.635223);
}

TEST_F(Ar7030Test, FrequencyBeyondTheWordIsRefusedBeforeAnyByte) {
    for (double kHz : {44545.0, 1e9, -0.01, std::nan(""), std::numeric_limits<double>::infinity()}) {
        SCOPED_TRACE(kHz);
        EXPECT_FALSE(rx.FrequencyA(kHz));
    }
    EXPECT_TRUE(wire().isEmpty());
    EXPECT_TRUE(events.isEmpty());
    EXPECT_EQ(sim.frequencyWord(), *frequencyWord(9650.0)) << "the receiver was retuned";

    // The top of the word still goes out, and so does the receiver's own top.
    EXPECT_TRUE(rx.FrequencyA(44544.99));
    wire(11);
    EXPECT_EQ(sim.frequencyWord(), 16777212u);
    EXPECT_TRUE(rx.FrequencyA(32016));
    wire(11);
    EXPECT_EQ(sim.frequencyWord(), 12058353u);
}

TEST_F(Ar7030Test, ValuesTheByteLanguageCannotCarryAreRefused) {
    // A filter of 17 would go out as 0x71, a read; -1 as 0x5F, a page.
    EXPECT_FALSE(rx.Bandwidth(17));
    EXPECT_FALSE(rx.Attenuator(-1));
    EXPECT_FALSE(rx.Mode(16));
    EXPECT_FALSE(rx.Agcspeed(99));
    EXPECT_FALSE(rx.PassBandShift(256));
    EXPECT_FALSE(rx.Beatfreqosc(-1));
    EXPECT_FALSE(rx.Squelch(300));
    EXPECT_FALSE(rx.PowerOnOff(2));
    EXPECT_FALSE(rx.PowerOnOff(-1));
    EXPECT_TRUE(wire().isEmpty());
    EXPECT_TRUE(events.isEmpty());

    // A filter place the receiver does not have fits the byte, yet is refused.
    EXPECT_FALSE(rx.Bandwidth(15));
    EXPECT_TRUE(wire().isEmpty());

    // The largest values the receiver takes still go out.
    EXPECT_TRUE(rx.Bandwidth(6));
    EXPECT_EQ(hexText(wire(6)), hexText(bytes({0x50, 0x33, 0x44, 0x66, 0x23, 0x2B})));
    EXPECT_TRUE(rx.PassBandShift(255));
    EXPECT_EQ(hexText(wire(7)), hexText(bytes({0x50, 0x33, 0x45, 0x3F, 0x6F, 0x23, 0x2B})));
}

// What fits a byte may still be no setting of the receiver: a mode, filter
// place, attenuator step or AGC speed it lacks, or a channel of such codes,
// goes nowhere and raises nothing.
TEST_F(Ar7030Test, CodesTheReceiverLacksAreRefused) {
    const std::pair<const char*, std::function<bool()>> writes[] = {
        {"mode 0", [&] { return bool(rx.Mode(0)); }},
        {"mode 8", [&] { return bool(rx.Mode(8)); }},
        {"filter 0", [&] { return bool(rx.Bandwidth(0)); }},
        {"filter 7", [&] { return bool(rx.Bandwidth(7)); }},
        {"attenuator 6", [&] { return bool(rx.Attenuator(6)); }},
        {"AGC 4", [&] { return bool(rx.Agcspeed(4)); }},
        {"channel in mode 9", [&] { return rx.Memory(12, QStringLiteral("MEM012 09999990 9 03 @ @ 016 033 0 ")); }},
        {"channel on filter 7", [&] { return rx.Memory(12, QStringLiteral("MEM012 09999990 5 07 @ @ 016 033 0 ")); }},
    };
    for (const auto& [what, write] : writes) EXPECT_FALSE(write()) << what;
    EXPECT_TRUE(wire().isEmpty());
    EXPECT_TRUE(events.isEmpty());
}

TEST_F(Ar7030Test, VolumeKeepsTheBitsItSharesItsRegisterWith) {
    sim.setReg(0, 0x1E, 0x40 | 20);
    ASSERT_TRUE(rx.Volume(50));
    // Read, then the same address again and 39 with bit 6 kept, then routine 4.
    EXPECT_EQ(hexText(wire(9)), hexText(bytes({0x50, 0x31, 0x4E, 0x71, 0x31, 0x4E, 0x36, 0x67, 0x24})));
    EXPECT_EQ(sim.reg(0, 0x1E), 0x40 | 39);
    EXPECT_EQ(events, QStringList{QStringLiteral("Volume 50")});
    EXPECT_EQ(rx.Volume(), 49);
}

TEST_F(Ar7030Test, LevelMembersMapLimitAndKeep) {
    struct Level {
        const char* name;
        int address;
        uint8_t keep;
        std::function<bool(clsAR7030&, int)> let;
        std::function<std::optional<int>(clsAR7030&)> get;
        std::vector<std::array<int, 3>> steps;  // level sent, register field, level read
    };
    const std::vector<Level> levels = {
        {"Volume", 0x1E, 0xC0, qOverload<int>(&clsAR7030::Volume), qOverload<>(&clsAR7030::Volume),
         {{0, 15, 0}, {50, 39, 49}, {99, 63, 99}, {300, 63, 99}, {-50, 15, 0}}},
        {"Leftauxlevel", 0x23, 0xC0, qOverload<int>(&clsAR7030::Leftauxlevel), qOverload<>(&clsAR7030::Leftauxlevel),
         {{0, 27, 0}, {99, 63, 99}, {1000, 63, 99}}},
        {"Rightauxlevel", 0x24, 0xC0, qOverload<int>(&clsAR7030::Rightauxlevel), qOverload<>(&clsAR7030::Rightauxlevel),
         {{0, 27, 0}, {99, 63, 99}, {-7, 27, 0}}},
        {"Bass", 0x21, 0xE0, qOverload<int>(&clsAR7030::Bass), qOverload<>(&clsAR7030::Bass),
         {{-8, 7, -8}, {0, 15, 0}, {8, 23, 8}, {10, 23, 8}, {-20, 7, -8}}},
        {"Treble", 0x22, 0xF0, qOverload<int>(&clsAR7030::Treble), qOverload<>(&clsAR7030::Treble),
         {{-8, 2, -8}, {8, 10, 8}, {3, 7, 2}, {-3, 4, -4}, {40, 10, 8}}},
    };
    for (const Level& l : levels) {
        for (const auto& [sent, field, read] : l.steps) {
            SCOPED_TRACE(QStringLiteral("%1 %2").arg(QLatin1String(l.name)).arg(sent).toStdString());
            sim.setReg(0, l.address, l.keep);  // every kept bit set, the field zero
            events.clear();
            ASSERT_TRUE(l.let(rx, sent));
            wire(9);
            EXPECT_EQ(sim.reg(0, l.address), l.keep | field);
            EXPECT_EQ(events, QStringList{QStringLiteral("%1 %2").arg(QLatin1String(l.name)).arg(sent)});
            EXPECT_EQ(l.get(rx), read);
        }
    }
    // A volume byte the receiver was set to below the scale reads negative.
    sim.setReg(0, 0x1E, 0);
    EXPECT_EQ(rx.Volume(), -32);
}

TEST_F(Ar7030Test, IfGainRunsBackwards) {
    const std::vector<std::array<int, 3>> steps = {{99, 0, 99}, {0, 130, 3}, {2, 130, 3}, {50, 66, 50}, {200, 0, 99}};
    for (const auto& [sent, raw, read] : steps) {
        SCOPED_TRACE(sent);
        ASSERT_TRUE(rx.Ifgain(sent));
        EXPECT_EQ(hexText(wire(6)), hexText(bytes({0x50, 0x31, 0x48, 0x30 + (raw >> 4), 0x60 + (raw & 15), 0x24})));
        EXPECT_EQ(sim.reg(0, 0x18), raw);
        EXPECT_EQ(rx.Ifgain(), read);
        wire();
    }
}

TEST_F(Ar7030Test, PowerSequences) {
    ASSERT_TRUE(rx.PowerOnOff(0));
    EXPECT_EQ(hexText(wire(17)), hexText(bytes({0x83, 0x50, 0x32, 0x48, 0x60, 0x60, 0x60, 0x29, 0x50, 0x32, 0x4E,
                                                0x60, 0x51, 0x31, 0x46, 0x60, 0x20})));
    EXPECT_EQ(sim.reg(1, 0x16), 0);
    EXPECT_EQ(rx.PowerOnOff(), 0);
    wire();
    ASSERT_TRUE(rx.PowerOnOff(1));
    EXPECT_EQ(hexText(wire(5)), hexText(bytes({0x51, 0x31, 0x46, 0x61, 0x20})));
    EXPECT_EQ(rx.PowerOnOff(), 1);
    EXPECT_EQ(events, (QStringList{QStringLiteral("Poweronoff 0"), QStringLiteral("Poweronoff 1")}));
    EXPECT_EQ(sim.routines(), (QList<int>{9, 0, 0}));

    // Only bit 0 is the power state.
    sim.setReg(1, 0x16, 0xFE);
    EXPECT_EQ(rx.PowerOnOff(), 0);

    wire();
    ASSERT_TRUE(rx.Reset());
    EXPECT_EQ(hexText(wire(1)), QStringLiteral("20"));
}

TEST_F(Ar7030Test, FirmwareAndFittedFilters) {
    EXPECT_EQ(rx.Firmware(), QStringLiteral("SIM 1.00"));
    EXPECT_EQ(hexText(wire()), hexText(bytes({0x5F, 0x40, 0x71, 0x71, 0x71, 0x71, 0x71, 0x71, 0x71, 0x71})));

    sim.setReg(1, 0x85, 0x24);
    sim.setReg(1, 0x89, 0xFF);
    sim.setReg(1, 0x8D, 0x00);
    sim.setReg(1, 0x91, 0xAF);  // digits beyond 9 keep their last digit only
    sim.setReg(1, 0x95, 0x95);
    sim.setReg(1, 0x99, 0x03);
    const QStringList expected = {"2.4", "0.0", "0.0", "0.5", "9.5", "0.3"};
    for (int i = 1; i <= 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rx.Installedfilter(i), expected[i - 1]);
        const int a = 0x85 + 4 * (i - 1);
        EXPECT_EQ(hexText(wire()), hexText(bytes({0x51, 0x30 + (a >> 4), 0x40 + (a & 15), 0x71})));
    }
    // A place with no register is not read at whatever the pointer holds.
    EXPECT_FALSE(rx.Installedfilter(0));
    EXPECT_FALSE(rx.Installedfilter(7));
    EXPECT_TRUE(wire().isEmpty());
}

TEST_F(Ar7030Test, SmeterScale) {
    const std::vector<std::tuple<int, int, float>> cases = {
        {9, 0, 9.0f}, {14, 0, 15.65f}, {20, 0, 18.0f}, {11, 3, 11.666f}, {0, 0, 0.0f}, {11, 2, 11.4f}};
    for (const auto& [whole, fifths, s] : cases) {
        SCOPED_TRACE(whole * 10 + fifths);
        sim.setReg(0, 0x3F, uint8_t(whole));
        sim.setReg(0, 0x40, uint8_t(fifths));
        const auto got = rx.Smeter();
        ASSERT_TRUE(got);
        EXPECT_NEAR(*got, s, 1e-4);
        EXPECT_EQ(hexText(wire()), hexText(bytes({0x50, 0x33, 0x4F, 0x71, 0x50, 0x34, 0x40, 0x71})));
    }
}

TEST_F(Ar7030Test, LeftoverBytesOnTheLineAreNotTakenAsAnswers) {
    // A byte left over from an earlier exchange must not stand in for the
    // answer; nor may extra bytes behind an answer spill into the next one.
    sim.setReg(0, 0x30, 3);
    sim.sendUnsolicited(bytes({0x05}));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(rx.Attenuator(), 3);

    sim.setExtraReplyByte(true);
    sim.setFrequencyWord(3766352);
    EXPECT_EQ(rx.FrequencyA(), 3766352 / 376.635223);
    EXPECT_EQ(rx.Mode(), 1);
}

class Ar7030SilentTest : public Ar7030Test {
protected:
    // Long enough that one allowance and two are told apart on a busy machine.
    static constexpr int SilentAllowanceMs = 200;
    void SetUp() override {
        Ar7030Test::SetUp();
        replyTimeouts.ar7030ByteMs = SilentAllowanceMs;
        sim.setFault(sim::Fault::Silent);
    }
};

TEST_F(Ar7030SilentTest, EveryReadEndsWithinItsDeadlineWithNothing) {
    dialogs.expect(QStringLiteral("The receiver does not answer"));
    const std::vector<std::pair<const char*, std::function<bool()>>> reads = {
        {"readbyte", [&] { return rx.readbyte().has_value(); }},
        {"Firmware", [&] { return rx.Firmware().has_value(); }},
        {"PowerOnOff", [&] { return rx.PowerOnOff().has_value(); }},
        {"Attenuator", [&] { return rx.Attenuator().has_value(); }},
        {"Bandwidth", [&] { return rx.Bandwidth().has_value(); }},
        {"Mode", [&] { return rx.Mode().has_value(); }},
        {"Agcspeed", [&] { return rx.Agcspeed().has_value(); }},
        {"FrequencyA", [&] { return rx.FrequencyA().has_value(); }},
        {"Installedfilter", [&] { return rx.Installedfilter(3).has_value(); }},
        {"Volume", [&] { return rx.Volume().has_value(); }},
        {"Leftauxlevel", [&] { return rx.Leftauxlevel().has_value(); }},
        {"Rightauxlevel", [&] { return rx.Rightauxlevel().has_value(); }},
        {"Bass", [&] { return rx.Bass().has_value(); }},
        {"Treble", [&] { return rx.Treble().has_value(); }},
        {"PassBandShift", [&] { return rx.PassBandShift().has_value(); }},
        {"Ifgain", [&] { return rx.Ifgain().has_value(); }},
        {"Squelch", [&] { return rx.Squelch().has_value(); }},
        {"Beatfreqosc", [&] { return rx.Beatfreqosc().has_value(); }},
        {"Smeter", [&] { return rx.Smeter().has_value(); }},
        {"Memory", [&] { return rx.Memory(12).has_value(); }},
        {"RxClock", [&] { return rx.RxClock().has_value(); }},
    };
    for (const auto& [name, read] : reads) {
        SCOPED_TRACE(name);
        QElapsedTimer t;
        t.start();
        EXPECT_FALSE(read());
        // One deadline per operation: a multi-byte read stops at the first
        // silence instead of waiting once more for every byte.
        EXPECT_LT(t.elapsed(), 2 * SilentAllowanceMs);
        EXPECT_GE(t.elapsed(), SilentAllowanceMs);
    }
    EXPECT_TRUE(rxFailing());
    EXPECT_TRUE(dialogs.shown().isEmpty()) << "the notice waits until the read has returned";
    pump();
    EXPECT_EQ(dialogs.shown().size(), 1) << "one notice for a run of failures";
}

TEST_F(Ar7030SilentTest, LevelWritesNeedTheirReadAndStayQuietWithoutIt) {
    dialogs.allow(QStringLiteral("The receiver does not answer"));
    sim.setReg(0, 0x1E, 0x40 | 20);
    EXPECT_FALSE(rx.Volume(50));
    EXPECT_FALSE(rx.Bass(2));
    EXPECT_FALSE(rx.Treble(2));
    EXPECT_FALSE(rx.Leftauxlevel(2));
    EXPECT_FALSE(rx.Rightauxlevel(2));
    EXPECT_TRUE(events.isEmpty());
    // Only the reads went out; nothing was written on a guess.
    const QByteArray sent = wire();
    EXPECT_EQ(sent.count(char(0x71)), 5);
    EXPECT_FALSE(sent.contains(char(0x24)));
    EXPECT_EQ(sim.reg(0, 0x1E), 0x40 | 20);

    // Writes that need no answer still go out.
    EXPECT_TRUE(rx.Attenuator(4));
    wire(5);
    EXPECT_EQ(sim.reg(0, 0x30), 4);
}

TEST_F(Ar7030Test, LateAnswersWithinTheDeadlineCountAndLaterOnesDoNot) {
    replyTimeouts.ar7030ByteMs = 200;
    sim.setReg(0, 0x34, 5);
    sim.setFault(sim::Fault::Late, 30);
    EXPECT_EQ(rx.Bandwidth(), 5);

    dialogs.expect(QStringLiteral("The receiver does not answer"));
    sim.setFault(sim::Fault::Late, 450);
    sim.setReg(0, 0x34, 2);
    EXPECT_FALSE(rx.Bandwidth());
    // The late byte lands after the read gave up; the next read must not take it.
    std::this_thread::sleep_for(std::chrono::milliseconds(450));
    sim.setFault(sim::Fault::None);
    sim.setReg(0, 0x1D, 7);
    EXPECT_EQ(rx.Mode(), 7);
    EXPECT_FALSE(rxFailing()) << "a good answer ends the run of failures";
}

// A receiver that has just reset, or been switched on, starts afresh: the
// first answer after it may be slow, and only that one.
TEST_F(Ar7030Test, TheFirstAnswerAfterAResetMayTakeLonger) {
    replyTimeouts.ar7030ByteMs = 60;
    replyTimeouts.ar7030SettleMs = 1000;
    dialogs.allow(QStringLiteral("The receiver does not answer"));
    sim.setReg(0, 0x34, 5);
    const std::vector<std::pair<const char*, std::function<bool()>>> restarts = {
        {"Reset", [&] { return rx.Reset(); }},
        {"power on", [&] { return rx.PowerOnOff(1); }},
    };
    for (const auto& [name, restart] : restarts) {
        SCOPED_TRACE(name);
        sim.setFault(sim::Fault::None);
        ASSERT_TRUE(restart());
        sim.setFault(sim::Fault::Late, 400);
        EXPECT_EQ(rx.Bandwidth(), 5);
        EXPECT_FALSE(rx.Bandwidth()) << "later answers have the usual allowance";
        // The late byte lands before the next round.
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
}

TEST_F(Ar7030Test, ClosedPortReadsNothingAndWritesNothing) {
    dialogs.allow(QStringLiteral("The receiver does not answer"));
    port.close();
    EXPECT_FALSE(rx.Mode());
    EXPECT_FALSE(rx.Mode(2));
    EXPECT_FALSE(rx.FrequencyA(7000));
    EXPECT_FALSE(rx.Memory(3, QStringLiteral("MEM003 07000000 6 02 @ @ 000 000 0 ")));
    EXPECT_FALSE(rx.RxClock(QStringLiteral("12:00:00")));
    EXPECT_TRUE(events.isEmpty());
}

} // namespace
} // namespace dovrane::test
