// The AR7030's register units without a receiver: passband-shift, BFO and
// squelch texts and slider positions, the frequency word and the encoder's
// refusal of values the byte language cannot carry.
#include "drivers/ar7030/ar7030_convert.h"
#include "drivers/ar7030/ar7030_protocol.h"
#include "drivers/model_tables.h"

#include <QLocale>
#include <climits>
#include <clocale>
#include <gtest/gtest.h>

namespace dovrane {
namespace {

TEST(Ar7030Units, ShiftTextsBothWays) {
    const std::vector<std::pair<int, const char*>> toText = {
        {0, " 0.0k"}, {1, "+0.0k"}, {2, "+0.1k"}, {3, "+0.1k"}, {127, "+4.2k"},
        {128, "-4.2k"}, {129, "-4.2k"}, {253, "-0.1k"}, {255, "-0.0k"}, {256, ""}, {-1, ""}};
    for (const auto& [b, text] : toText) EXPECT_EQ(b2fs(b), QLatin1String(text)) << b;

    const std::vector<std::pair<const char*, int>> toByte = {
        {"+4.2k", 127}, {"-4.2k", 129}, {"+0.1k", 3}, {"-0.1k", 253}, {"-0.0k", 255},
        {" 0.0K", 0}, {" 0.0k", 0}, {"+0.0k", 0}, {"", 0}, {"4.2k", 0},
        // Beyond the byte's reach the sign must hold: never a shift the other way.
        {"+4.3k", 127}, {"+9.9k", 127}, {"-5.0k", 128}, {"-99k", 128}};
    for (const auto& [text, b] : toByte) EXPECT_EQ(fs2b(QLatin1String(text)), b) << text;

    // Every byte's text comes back to a byte showing the same text; only a
    // positive shift too small to show loses its sign.
    for (int b = 0; b <= 255; ++b) {
        const QString text = b2fs(b);
        EXPECT_EQ(b2fs(fs2b(text)), text == QLatin1String("+0.0k") ? QStringLiteral(" 0.0k") : text) << b;
    }
    // The table the memory editor offers maps onto the same texts.
    initar7030tables();
    for (int k = 0; k <= 84; ++k) EXPECT_EQ(b2fs(fs2b(PbsTexts[size_t(k)])), PbsTexts[size_t(k)]) << k;
}

TEST(Ar7030Units, SliderPositions) {
    for (int v = -42; v <= 42; ++v) EXPECT_EQ(b2vsb(vsb2b(v)), v) << v;
    EXPECT_EQ(vsb2b(42), 126);
    EXPECT_EQ(vsb2b(-42), 130);
    EXPECT_EQ(vsb2b(-1), 253);
    EXPECT_EQ(vsb2b(43), 0);
    EXPECT_EQ(vsb2b(-43), 0);
    for (int b : {253, 254, 255}) EXPECT_EQ(b2vsb(b), -1) << b;
    EXPECT_EQ(b2vsb(128), -43);
    EXPECT_EQ(b2vsb(129), -43);
    EXPECT_EQ(b2vsb(fs2b(QStringLiteral("-4.2k"))), -43);
    EXPECT_EQ(b2vsb(127), 42);
    EXPECT_EQ(b2vsb(256), 0);
    EXPECT_EQ(b2vsb(-5), 0);
}

TEST(Ar7030Units, SquelchTexts) {
    const std::vector<std::pair<int, const char*>> toText = {
        {0, "00"}, {1, "01"}, {25, "17"}, {76, "50"}, {150, "99"}, {151, "100"}, {255, "168"}};
    for (const auto& [b, text] : toText) EXPECT_EQ(b2sql(b), QLatin1String(text)) << b;

    const std::vector<std::pair<const char*, int>> toByte = {
        {"99", 150}, {"01", 2}, {"50", 76}, {"00", 0}, {"100", 150}, {"999", 150}, {"-5", 0}, {"", 0}, {"x", 0}};
    for (const auto& [text, b] : toByte) EXPECT_EQ(sql2b(QLatin1String(text)), b) << text;

    for (int b = 0; b <= 150; ++b) {
        const int back = sql2b(b2sql(b));
        EXPECT_EQ(b2sql(back), b2sql(b)) << b;
    }
}

TEST(Ar7030Units, TextsIgnoreACommaLocale) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const char* cBefore = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = cBefore ? cBefore : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(b2fs(127), QStringLiteral("+4.2k"));
    EXPECT_EQ(fs2b(b2fs(127)), 127);
    EXPECT_EQ(sql2b(b2sql(76)), 76);
    std::setlocale(LC_NUMERIC, saved.c_str());
    QLocale::setDefault(before);
}

TEST(Ar7030Protocol, FrequencyWordLimits) {
    EXPECT_EQ(ar7030::frequencyWord(10000), 3766352u);
    EXPECT_EQ(ar7030::frequencyWord(32016), 12058353u);
    EXPECT_EQ(ar7030::frequencyWord(0), 0u);
    EXPECT_EQ(ar7030::frequencyWord(44544.99), 16777212u);
    EXPECT_FALSE(ar7030::frequencyWord(44545));
    EXPECT_FALSE(ar7030::frequencyWord(-0.01));
    EXPECT_FALSE(ar7030::frequencyWord(1e300));
    EXPECT_NEAR(ar7030::frequencyKHz(3766352), 9999.9994, 1e-4);
}

TEST(Ar7030Protocol, StepsAndWhatTheyRefuse) {
    using ar7030::Sequence;
    EXPECT_EQ(Sequence().page(0).address(0x30).shortWrite(2).bytes(), QByteArray::fromHex("50334062"));
    EXPECT_EQ(Sequence().page(2).memoryAddress(280).bytes(), QByteArray::fromHex("52314811"));
    EXPECT_EQ(Sequence().page(2).memoryAddress(20).bytes(), QByteArray::fromHex("52314410"));
    EXPECT_EQ(Sequence().write(0xA7).bytes(), QByteArray::fromHex("3a67"));
    EXPECT_EQ(Sequence().frequencyWord(0x397850).bytes(), QByteArray::fromHex("336937683560"));
    EXPECT_TRUE(Sequence().page(15).address(255).write(255).shortWrite(15).execute(15).valid());

    EXPECT_FALSE(Sequence().page(16).valid());
    EXPECT_FALSE(Sequence().address(256).valid());
    EXPECT_FALSE(Sequence().address(-1).valid());
    EXPECT_FALSE(Sequence().memoryAddress(0x1000).valid());
    EXPECT_FALSE(Sequence().write(256).valid());
    EXPECT_FALSE(Sequence().write(-1).valid());
    EXPECT_FALSE(Sequence().shortWrite(16).valid());
    EXPECT_FALSE(Sequence().execute(16).valid());
    EXPECT_FALSE(Sequence().frequencyWord(0x1000000).valid());
    // One bad step spoils the whole run, wherever it stands.
    EXPECT_FALSE(Sequence().page(0).shortWrite(17).execute(3).valid());
    EXPECT_FALSE(Sequence().page(0).append(Sequence().write(300)).valid());
    EXPECT_FALSE(ar7030::channelWrite(100, {}).valid());
}

TEST(Ar7030Protocol, LevelBytesNeverOverflow) {
    for (const auto* reg : {&ar7030::VolumeRegister, &ar7030::LeftLineRegister, &ar7030::RightLineRegister,
                            &ar7030::BassRegister, &ar7030::TrebleRegister}) {
        for (int v : {INT_MIN, -1000000, 0, 1000000, INT_MAX}) {
            const int b = ar7030::limitedLevelByte(*reg, v);
            EXPECT_GE(b, reg->lowByte);
            EXPECT_LE(b, reg->highByte);
        }
    }
    EXPECT_EQ(ar7030::ifGainByte(INT_MIN), 130);
    EXPECT_EQ(ar7030::ifGainByte(INT_MAX), 0);
}

} // namespace
} // namespace dovrane
