// The NRD text language without a port: scales, number fields, the status
// string, channel lines, memory records and the clock.
#include "drivers/memory_record.h"
#include "drivers/nrd/nrd_codec.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>

using namespace dovrane;
using namespace dovrane::nrd;

TEST(NrdCodec, SmeterScalesOfBothModels) {
    // NRD-535: larger raw numbers are weaker signals.
    const std::pair<float, float> s535[] = {{137, 2.64f},  {113, 6.0f},  {85, 13.0f}, {80, 14.675f},
                                            {150, 0.82f},  {155, 0.12f}, {156, 0.0f}, {255, 0.0f},
                                            {70, 18.0f},   {0, 18.0f}};
    for (auto [raw, s] : s535) EXPECT_NEAR(smeter535(raw), s, 1e-4) << "raw " << raw;
    EXPECT_EQ(smeter535(85), 13.0f);
    // NRD-545: larger raw numbers are stronger signals.
    const std::pair<float, float> s545[] = {{27, 0.0f},       {28, 0.0f},   {83, 9.1667f}, {84, 9.2969f},
                                            {208, 18.9844f},  {209, 19.0f}, {250, 19.0f},  {0, 0.0f}};
    for (auto [raw, s] : s545) EXPECT_NEAR(smeter545(raw), s, 1e-4) << "raw " << raw;
}

TEST(NrdCodec, FieldsRefuseWhatTheyCannotCarry) {
    EXPECT_EQ(digitField(0), QByteArray("0"));
    EXPECT_EQ(digitField(9), QByteArray("9"));
    EXPECT_FALSE(digitField(10));
    EXPECT_FALSE(digitField(12));  // never "2"
    EXPECT_FALSE(digitField(-3));

    EXPECT_EQ(fixedDigits(240, 3), QByteArray("240"));
    EXPECT_EQ(fixedDigits(7, 3), QByteArray("007"));
    EXPECT_FALSE(fixedDigits(1000, 3));
    EXPECT_FALSE(fixedDigits(-1, 3));

    EXPECT_EQ(signedDigits(-25, 3), QByteArray("-025"));
    EXPECT_EQ(signedDigits(0, 4), QByteArray("+0000"));
    EXPECT_EQ(signedDigits(-9999, 4), QByteArray("-9999"));
    EXPECT_FALSE(signedDigits(10000, 4));

    EXPECT_EQ(onOffField(1), QByteArray("1"));
    EXPECT_FALSE(onOffField(2));

    EXPECT_EQ(hertzDigits(9999.999, 8), QByteArray("09999999"));
    EXPECT_EQ(hertzDigits(15000, 8), QByteArray("15000000"));
    EXPECT_EQ(hertzDigits(7100, 10), QByteArray("0007100000"));
    EXPECT_EQ(hertzDigits(0.0015, 8), QByteArray("00000002"));  // 1.5 Hz: a half goes to even
    EXPECT_EQ(hertzDigits(0.0025, 8), QByteArray("00000002"));
    EXPECT_FALSE(hertzDigits(100000, 8));
    EXPECT_FALSE(hertzDigits(-1, 8));
    EXPECT_FALSE(hertzDigits(std::numeric_limits<double>::quiet_NaN(), 8));

    EXPECT_EQ(channelField(199, Nrd535TopChannel), QByteArray("199"));
    EXPECT_FALSE(channelField(200, Nrd535TopChannel));
    EXPECT_FALSE(channelField(-1, Nrd545TopChannel));

    EXPECT_EQ(commandText(QStringLiteral("5011")), QByteArray("5011"));
    EXPECT_FALSE(commandText(QString()));
    EXPECT_FALSE(commandText(QStringLiteral("50\r1")));
}

TEST(NrdCodec, ReplyShapes) {
    EXPECT_TRUE(matchesShape("M123", "M###"));
    EXPECT_TRUE(matchesShape("M123\r", "M###"));
    EXPECT_FALSE(matchesShape("M12", "M###"));
    EXPECT_FALSE(matchesShape("M12x", "M###"));
    EXPECT_FALSE(matchesShape("N123", "M###"));
    EXPECT_FALSE(matchesShape("M1234", "M###"));
    EXPECT_TRUE(matchesShape("P-025\r", "P+###\r"));
    EXPECT_FALSE(matchesShape("P 025\r", "P+###\r"));
    EXPECT_FALSE(matchesShape("P+025\rX", "P+###\r"));
    EXPECT_FALSE(matchesShape("", "M###"));
    EXPECT_EQ(digitsValue("-0120"), -120);
    EXPECT_EQ(digitsValue("+025"), 25);
    EXPECT_FALSE(digitsValue("0 5"));
    EXPECT_FALSE(digitsValue("-"));
}

TEST(NrdCodec, StatusStringsOfBothModels) {
    // NRD-535: characters 5-16 of the channel-199 line.
    const auto s = statusFrom535Line("L199021000123453\r");
    ASSERT_TRUE(s);
    EXPECT_EQ(*s, QStringLiteral("X021000123453"));
    const auto f = parseRxStatusString(*s);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->attenuator, 0);
    EXPECT_EQ(f->bandwidth, 2);
    EXPECT_EQ(f->mode, 1);
    EXPECT_DOUBLE_EQ(f->hertz / 1000.0, 12.345);
    EXPECT_EQ(f->agc, 3);
    EXPECT_FALSE(statusFrom535Line("L198021000123453\r")) << "another channel";
    EXPECT_FALSE(statusFrom535Line("L199V21000123453\r")) << "vacant";
    EXPECT_FALSE(statusFrom535Line("L19902100012345\r")) << "short";
    EXPECT_FALSE(statusFrom535Line("")) << "nothing";

    // NRD-545: the lower 8 of 10 frequency digits and the AGC time truncated.
    const std::pair<const char*, char> agc[] = {{"090", '9'}, {"010", '1'}, {"005", '0'}, {"000", '0'}};
    for (auto [t, digit] : agc) {
        const auto st = statusFrom545Line(QByteArray("L999114") + "0009500000" + t + "\r");
        ASSERT_TRUE(st) << t;
        EXPECT_EQ(*st, QStringLiteral("X11409500000") + QLatin1Char(digit)) << t;
    }
    EXPECT_FALSE(statusFrom545Line("L9991140009500000090"));  // no CR yet: incomplete

    EXPECT_EQ(statusCommand535(QStringLiteral("X021000123453")), QByteArray("S199021000123453"));
    EXPECT_EQ(statusCommand545(QStringLiteral("X114095000004")), QByteArray("S9991140009500000040"));
    EXPECT_FALSE(statusCommand535(QStringLiteral("X02100012345")));   // 12 characters
    EXPECT_FALSE(statusCommand545(QStringLiteral("Y114095000004")));
    EXPECT_FALSE(statusCommand545(QStringLiteral("X1140950000?4")));
}

TEST(NrdCodec, MemoryRecordsFromChannelLines) {
    EXPECT_EQ(memoryFrom535Line("L007V00000000000", 7), QStringLiteral("XXX007 No data  @ @@ @ @ @@@ @@@ @ "));
    EXPECT_EQ(memoryFrom535Line("L012124050000001", 12), QStringLiteral("MEM012 05000000 4 02 1 1 @@@ @@@ @ "));
    EXPECT_FALSE(memoryFrom535Line("L013124050000001", 12)) << "channel named wrongly";
    EXPECT_FALSE(memoryFrom535Line("L01212405000000", 12)) << "cut short";
    EXPECT_FALSE(memoryFrom535Line("L0121240500x0001", 12)) << "not digits";
    EXPECT_FALSE(memoryFrom535Line("L200124050000001", 200)) << "no such channel";

    EXPECT_EQ(memoryFrom545Line("L999V000000000000000", 999), QStringLiteral("XXX999 No data  @ @@ @ @ @@@ @@@ @ "));
    // The AGC time value becomes the 1..9 factor, a half going to even.
    const std::pair<const char*, char> agc[] = {{"030", '3'}, {"025", '2'}, {"035", '4'},
                                                {"000", '1'}, {"120", '9'}, {"090", '9'}};
    for (auto [t, digit] : agc) {
        const auto r = memoryFrom545Line(QByteArray("L003123") + "0005000000" + t, 3);
        ASSERT_TRUE(r) << t;
        EXPECT_EQ(*r, QStringLiteral("MEM003 05000000 3 02 1 ") + QLatin1Char(digit) + QStringLiteral(" @@@ @@@ @ "))
            << t;
    }
    EXPECT_FALSE(memoryFrom545Line("L0031230005000000030", 4));
}

TEST(NrdCodec, MemoryCommands) {
    auto record = [](int ch, const QString& hz) {
        MemoryFields f;
        f.used = true;
        f.channel = ch;
        f.frequencyHz = hz;
        f.mode = QStringLiteral("3");
        f.filter = QStringLiteral("02");
        f.attenuator = QStringLiteral("1");
        f.agc = QStringLiteral("4");
        return buildMemoryRecord(f);
    };
    const QString vacant = buildMemoryRecord(MemoryFields{});

    EXPECT_EQ(memoryCommand535(12, record(12, QStringLiteral("00010000"))), QByteArray("K012123000100004"));
    EXPECT_EQ(memoryCommand535(12, record(12, QStringLiteral("00009999"))), QByteArray("U5012"));
    EXPECT_EQ(memoryCommand535(12, vacant), QByteArray("U5012"));
    // The highest tunable frequency is stored, not cleared.
    EXPECT_EQ(memoryCommand535(12, record(12, QStringLiteral("29999999"))), QByteArray("K012123299999994"));
    EXPECT_EQ(memoryCommand535(12, record(12, QStringLiteral("30000000"))), QByteArray("U5012"));
    EXPECT_FALSE(memoryCommand535(200, record(200, QStringLiteral("05000000"))));
    EXPECT_FALSE(memoryCommand535(12, record(12, QStringLiteral("05000000")).left(34))) << "not a record";
    QString noAgc = record(12, QStringLiteral("05000000"));
    noAgc[23] = QLatin1Char('@');  // a record of a receiver without AGC codes
    EXPECT_FALSE(memoryCommand535(12, noAgc));

    EXPECT_EQ(memoryCommand545(3, record(3, QStringLiteral("05000000"))), QByteArray("K0031230005000000040"));
    EXPECT_EQ(memoryCommand545(3, record(3, QStringLiteral("29999999"))), QByteArray("K0031230029999999040"));
    // The NRD-545 cannot clear a channel: nothing to send, so not done.
    EXPECT_FALSE(memoryCommand545(3, vacant));
    EXPECT_FALSE(memoryCommand545(3, record(3, QStringLiteral("00009999"))));
    EXPECT_FALSE(memoryCommand545(1000, record(3, QStringLiteral("05000000"))));
}

TEST(NrdCodec, ReceiverClock) {
    EXPECT_EQ(clockDigits(QStringLiteral("13:05:09"), true), QByteArray("130509"));
    EXPECT_EQ(clockDigits(QStringLiteral("13:05:09"), false), QByteArray("1305"));
    EXPECT_EQ(clockDigits(QStringLiteral("00:00:00"), true), QByteArray("000000"));
    EXPECT_FALSE(clockDigits(QStringLiteral("24:00:00"), true));
    EXPECT_FALSE(clockDigits(QStringLiteral("13:60:00"), true));
    EXPECT_FALSE(clockDigits(QStringLiteral("1:05:09"), true));
    EXPECT_FALSE(clockDigits(QStringLiteral("13-05-09"), true));

    EXPECT_EQ(clockFromReply("R130509\r"), QStringLiteral("13:05:09"));
    EXPECT_FALSE(clockFromReply("R1305\r\r\r")) << "hours and minutes only";
    EXPECT_FALSE(clockFromReply("R996009\r"));
    EXPECT_FALSE(clockFromReply("X130509\r"));
}
