// Memory channels and the receiver clock of clsAR7030 against the simulated
// receiver: records at their columns, the bytes of each channel, refusals.
#include "drivers/ar7030/ar7030_protocol.h"
#include "drivers/memory_record.h"
#include "platform/timeouts.h"
#include "test_ar7030_fixture.h"

#include <QRegularExpression>
#include <cmath>
#include <random>

namespace dovrane::test {
namespace {

using ar7030::frequencyWord;

const QString Vacant7 = QStringLiteral("XXX007 No data  @ @@ @ @ @@@ @@@ @ ");

TEST_F(Ar7030Test, ChannelRecordAtItsColumns) {
    sim.setChannel(12, *frequencyWord(9999.99), 0x35, 0x10, 0x21);
    const auto rec = rx.Memory(12);
    ASSERT_TRUE(rec);
    EXPECT_EQ(*rec, QStringLiteral("MEM012 09999990 5 03 @ @ 016 033 0 "));
    EXPECT_EQ(rec->size(), MemoryRecordLength);
    // Channel 12: frequency and mode byte at 48, shift at 412 (page 2), squelch at 168 (page 1).
    EXPECT_EQ(hexText(wire()), hexText(bytes({0x52, 0x33, 0x40, 0x10, 0x71, 0x71, 0x71, 0x71,
                                              0x52, 0x39, 0x4C, 0x11, 0x71, 0x51, 0x3A, 0x48, 0x71})));

    const auto fields = parseMemoryRecord(*rec);
    ASSERT_TRUE(fields);
    EXPECT_TRUE(fields->used);
    EXPECT_EQ(fields->channel, 12);
    EXPECT_EQ(fields->frequencyHz, QStringLiteral("09999990"));
    EXPECT_EQ(fields->mode, QStringLiteral("5"));
    EXPECT_EQ(fields->filter, QStringLiteral("03"));
    EXPECT_EQ(fields->attenuator, QStringLiteral("@"));
    EXPECT_EQ(fields->agc, QStringLiteral("@"));
    EXPECT_EQ(fields->passband, QStringLiteral("016"));
    EXPECT_EQ(fields->squelch, QStringLiteral("033"));
    EXPECT_EQ(fields->scan, QStringLiteral("0"));
}

TEST_F(Ar7030Test, ChannelsOutsideTheTuningRangeReadEmpty) {
    for (uint32_t word : {0u, *frequencyWord(9.99), *frequencyWord(32016.01), *frequencyWord(32016.666), 0xFFFFFFu}) {
        SCOPED_TRACE(word);
        sim.setChannel(7, word, 0x35, 0x10, 0x21);
        EXPECT_EQ(rx.Memory(7), Vacant7);
        // An empty channel is known from its frequency: nothing more is read.
        EXPECT_EQ(hexText(wire()), hexText(bytes({0x52, 0x31, 0x4C, 0x10, 0x71, 0x71, 0x71})));
    }
}

// Every frequency the receiver tunes to comes back from a channel, to 10 Hz
// as it rounds: the top one reads back a fraction of a hertz below it, and
// some words lie within a format's tolerance of a half.
TEST_F(Ar7030Test, ChannelsReadBackAtTheirFrequencyRounded) {
    const struct {
        uint32_t word;
        const char* hz;
    } cases[] = {
        {*frequencyWord(32016), "32016000"},  // 12,058,353: 32015.9992 kHz
        {*frequencyWord(32015.99), "32015990"},
        {3463046, "09194690"},                // 9194.694995 kHz
        {*frequencyWord(10), "00010000"},     // 9.99906 kHz
        {*frequencyWord(7100), "07100000"},
    };
    ASSERT_EQ(cases[0].word, 12058353u);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        sim.setChannel(7, c.word, 0x35, 0x10, 0x21);
        EXPECT_EQ(rx.Memory(7), QStringLiteral("MEM007 %1 5 03 @ @ 016 033 0 ").arg(QLatin1String(c.hz)));
    }
}

TEST(Ar7030Channels, EveryWordShowsItsFrequencyRoundedTo10Hz) {
    // Across the whole word, in steps that meet every last digit: the record
    // holds the word's frequency to the nearest 10 Hz, worked out here in
    // long double, whose error stays far below the nearest a word comes to a
    // half (1 / 753,270,446 of 10 Hz).
    for (uint32_t word = 3766; word <= *frequencyWord(32016); word += 997) {
        const long double tens = static_cast<long double>(word) * 100.0L / 376.635223L;
        const auto expected = static_cast<qint64>(std::floor(tens + 0.5L)) * 10;
        const QString rec = ar7030::channelRecord(1, {word, 0x35, 0, 0}, 10, 32016);
        ASSERT_EQ(rec.mid(7, 8).toLongLong(), expected) << word;
    }
}

TEST_F(Ar7030Test, ChannelAtTheLowestFrequencyIsNotTakenForEmpty) {
    // 10 kHz is stored as a word that reads back 9.99906 kHz.
    const uint32_t word = *frequencyWord(10.0);
    ASSERT_LT(ar7030::frequencyKHz(word), 10.0);
    sim.setChannel(7, word, 0x35, 0x10, 0x21);
    EXPECT_EQ(rx.Memory(7), QStringLiteral("MEM007 00010000 5 03 @ @ 016 033 0 "));
}

TEST_F(Ar7030Test, ChannelAddressesAcrossThePage) {
    // Channel 5 and 70 select their frequency with the high-address byte even when it is 0.
    sim.setChannel(5, 0, 0, 0, 0);
    rx.Memory(5);
    EXPECT_TRUE(wire().startsWith(bytes({0x52, 0x31, 0x44, 0x10, 0x71})));
    sim.setChannel(70, 0, 0, 0, 0);
    rx.Memory(70);
    EXPECT_TRUE(wire().startsWith(bytes({0x52, 0x31, 0x48, 0x11, 0x71})));
    // Channel 99: shift at 499, squelch at 255, the last byte of page 1's first block.
    sim.setChannel(99, *frequencyWord(15000), 0x47, 0xFE, 0xFF);
    EXPECT_EQ(rx.Memory(99), QStringLiteral("MEM099 15000000 7 04 @ @ 254 255 0 "));
    EXPECT_EQ(hexText(wire()), hexText(bytes({0x52, 0x38, 0x4C, 0x11, 0x71, 0x71, 0x71, 0x71,
                                              0x52, 0x3F, 0x43, 0x11, 0x71, 0x51, 0x3F, 0x4F, 0x71})));
}

TEST_F(Ar7030Test, ModeNibblesThatAreNoModeKeepTheColumns) {
    const std::vector<std::pair<uint8_t, QString>> cases = {
        {0x30, QStringLiteral("MEM003 07000000 0 03 @ @ 000 000 0 ")},
        {0x3C, QStringLiteral("MEM003 07000000 @ 03 @ @ 000 000 0 ")},
        {0xFF, QStringLiteral("MEM003 07000000 @ 07 @ @ 000 000 1 ")},
        {0x86, QStringLiteral("MEM003 07000000 6 00 @ @ 000 000 1 ")},
    };
    for (const auto& [modeByte, record] : cases) {
        SCOPED_TRACE(int(modeByte));
        sim.setChannel(3, *frequencyWord(7000), modeByte, 0, 0);
        EXPECT_EQ(rx.Memory(3), record);
    }
}

TEST_F(Ar7030Test, StoringAChannelWritesEachFieldWhereItLives) {
    const QString rec = QStringLiteral("MEM012 09999990 5 03 @ @ 016 033 1 ");
    sim.clearRoutines();
    ASSERT_TRUE(rx.Memory(12, rec));
    const uint32_t w = *frequencyWord(9999.99);
    QByteArray expected = bytes({0x52, 0x33, 0x40, 0x10});
    for (int shift = 20; shift >= 0; shift -= 8)
        expected += bytes({0x30 + int((w >> shift) & 15), 0x60 + int((w >> (shift - 4)) & 15)});
    expected += bytes({0x3B, 0x65});                    // scan flag, filter 3, mode 5
    expected += bytes({0x52, 0x39, 0x4C, 0x11, 0x31, 0x60});  // shift 16
    expected += bytes({0x51, 0x3A, 0x48, 0x32, 0x61});        // squelch 33
    EXPECT_EQ(hexText(wire(expected.size())), hexText(expected));
    EXPECT_TRUE(sim.routines().isEmpty()) << "a channel store runs no routine";
    EXPECT_TRUE(events.isEmpty());
    EXPECT_EQ(rx.Memory(12), rec);
}

TEST_F(Ar7030Test, StoringAnEmptyRecordClearsTheChannel) {
    sim.setChannel(12, *frequencyWord(9999.99), 0x35, 0x10, 0x21);
    const QString empty = QStringLiteral("XXX012 No data  @ @@ @ @ @@@ @@@ @ ");
    ASSERT_TRUE(rx.Memory(12, empty));
    const QByteArray sent = wire(23);
    EXPECT_EQ(sim.regs(2, 48, 3), QByteArray::fromHex("b7ffec")) << "32016.666 kHz";
    EXPECT_EQ(hexText(sent.mid(10, 2)), QStringLiteral("38 60"));
    EXPECT_EQ(sim.reg(2, 51), 0x80);
    EXPECT_EQ(sim.reg(2, 412), 0);
    EXPECT_EQ(sim.reg(1, 168), 0);
    EXPECT_EQ(rx.Memory(12), QStringLiteral("XXX012 No data  @ @@ @ @ @@@ @@@ @ "));
}

TEST_F(Ar7030Test, RecordsTheChannelCannotHoldAreRefused) {
    const QStringList bad = {
        QStringLiteral("MEM012 09999990 5 17 @ @ 016 033 0 "),   // filter has three bits
        QStringLiteral("MEM012 09999990 5 08 @ @ 016 033 0 "),   // ... and 8 would be the scan flag
        QStringLiteral("MEM012 09999990 5 03 @ @ 999 033 0 "),   // shift beyond a byte
        QStringLiteral("MEM012 09999990 5 03 @ @ 016 256 0 "),   // squelch beyond a byte
        QStringLiteral("MEM012 09999990 5 03 @ @ -01 033 0 "),   // negative shift
        QStringLiteral("MEM012 99999990 5 03 @ @ 016 033 0 "),   // frequency beyond the word
        QStringLiteral("MEM012 09999990 5 03 @ @ 016 03"),       // cut short
        QString(),
    };
    for (const QString& rec : bad) {
        SCOPED_TRACE(rec.toStdString());
        EXPECT_FALSE(rx.Memory(12, rec));
    }
    // A channel beyond 99 has no address; its squelch byte would land on page 1's 256.
    EXPECT_FALSE(rx.Memory(100, QStringLiteral("MEM100 09999990 5 03 @ @ 016 033 0 ")));
    EXPECT_FALSE(rx.Memory(-1, QStringLiteral("MEM000 09999990 5 03 @ @ 016 033 0 ")));
    EXPECT_FALSE(rx.Memory(100));
    EXPECT_FALSE(rx.Memory(-1));
    EXPECT_TRUE(wire().isEmpty());
}

TEST_F(Ar7030Test, EveryChannelRoundTrips) {
    // A hundred channels each way would take most of a minute at 1200 baud;
    // the exchange is the same at any rate both ends of the line agree on.
    // The simulated line keeps that rate too: an answer quicker than the line
    // could carry it is no answer to the driver.
    ASSERT_TRUE(port.setSettings(QStringLiteral("115200,N,8,1")));
    sim.setBaud(115200);
    std::mt19937 rng(7030);
    QStringList stored;
    for (int n = 0; n < 100; ++n) {
        const int hz10 = 1000 + int(rng() % 3201500);  // 10.00 .. 32014.99 kHz in 10 Hz
        const QString rec = QStringLiteral("MEM%1 %2 %3 %4 @ @ %5 %6 %7 ")
                                .arg(n, 3, 10, QLatin1Char('0'))
                                .arg(hz10 * 10, 8, 10, QLatin1Char('0'))
                                .arg(1 + rng() % 7)
                                .arg(1 + rng() % 6, 2, 10, QLatin1Char('0'))
                                .arg(rng() % 256, 3, 10, QLatin1Char('0'))
                                .arg(rng() % 256, 3, 10, QLatin1Char('0'))
                                .arg(rng() % 2);
        ASSERT_EQ(rec.size(), MemoryRecordLength);
        ASSERT_TRUE(rx.Memory(n, rec)) << qPrintable(rec);
        stored << rec;
    }
    ASSERT_TRUE(sim.waitIdle(10000));
    for (int n = 0; n < 100; ++n) EXPECT_EQ(rx.Memory(n), stored[n]);
    // The settings of the receiver were not touched on the way.
    EXPECT_EQ(sim.frequencyWord(), *frequencyWord(9650.0));
}

TEST_F(Ar7030Test, GarbledAnswersNeverMoveTheColumns) {
    // Whatever bytes come back, a record keeps every field in its place: the
    // memory manager stores and writes back what it reads.
    sim.setFault(sim::Fault::Garbage);
    const QRegularExpression used(QStringLiteral("^MEM\\d{3} \\d{7}0 [0-9@] 0[0-7] @ @ \\d{3} \\d{3} [01] $"));
    for (int n = 0; n < 40; ++n) {
        const auto rec = rx.Memory(n);
        ASSERT_TRUE(rec);
        ASSERT_EQ(rec->size(), MemoryRecordLength);
        if (rec->startsWith(QLatin1String("XXX")))
            EXPECT_EQ(rec->mid(6), Vacant7.mid(6));
        else
            EXPECT_TRUE(used.match(*rec).hasMatch()) << qPrintable(*rec);
        EXPECT_EQ(rec->mid(3, 3).toInt(), n);
    }
}

TEST_F(Ar7030Test, ClockReadAndSet) {
    ASSERT_TRUE(rx.RxClock(QStringLiteral("23:59:07")));
    EXPECT_EQ(hexText(wire(10)),
              hexText(bytes({0x51, 0x30, 0x42, 0x30, 0x67, 0x35, 0x69, 0x32, 0x63, 0x24})));
    EXPECT_EQ(sim.regs(1, 2, 3), bytes({0x07, 0x59, 0x23}));
    EXPECT_TRUE(events.isEmpty());

    EXPECT_EQ(rx.RxClock(), QStringLiteral("23:59:07"));
    EXPECT_EQ(hexText(wire()), hexText(bytes({0x51, 0x30, 0x42, 0x71, 0x71, 0x71})));
    sim.setRegs(1, 2, bytes({0x00, 0x00, 0x00}));
    EXPECT_EQ(rx.RxClock(), QStringLiteral("00:00:00"));
    wire();

    for (const char* t : {"24:00:00", "12:60:00", "12:00:60", "7:05:03", "12-00-00", "ab:cd:ef", "", "12:00:00 "}) {
        SCOPED_TRACE(t);
        EXPECT_FALSE(rx.RxClock(QString::fromLatin1(t)));
    }
    EXPECT_TRUE(wire().isEmpty());
}

TEST_F(Ar7030Test, SimulatedClockRuns) {
    sim.setClockRunning(true);
    ASSERT_TRUE(rx.RxClock(QStringLiteral("23:59:59")));
    wire(10);
    std::this_thread::sleep_for(std::chrono::milliseconds(1050));
    const auto t = rx.RxClock();
    ASSERT_TRUE(t);
    EXPECT_TRUE(*t == QLatin1String("00:00:00") || *t == QLatin1String("00:00:01")) << qPrintable(*t);
}

TEST_F(Ar7030Test, MemoryReadStopsAtTheFirstSilence) {
    replyTimeouts.ar7030ByteMs = 200;
    dialogs.expect(QStringLiteral("The receiver does not answer"));
    sim.setFault(sim::Fault::Silent);
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(rx.Memory(12));
    EXPECT_LT(t.elapsed(), 2 * 200);
    // The first read went unanswered; no further read was sent after it.
    EXPECT_EQ(hexText(wire()), hexText(bytes({0x52, 0x33, 0x40, 0x10, 0x71})));
}

} // namespace
} // namespace dovrane::test
