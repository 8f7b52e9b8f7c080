#include "platform/number_text.h"

#include <gtest/gtest.h>

using namespace dovrane;

TEST(NumberText, ValReadsTheLeadingNumberOnly) {
    EXPECT_DOUBLE_EQ(val(QStringLiteral("12.5.3")), 12.5);
    EXPECT_DOUBLE_EQ(val(QStringLiteral(" .5")), 0.5);
    EXPECT_DOUBLE_EQ(val(QStringLiteral("-3")), -3);
    EXPECT_DOUBLE_EQ(val(QStringLiteral("\t+7100.00 kHz")), 7100);
    EXPECT_DOUBLE_EQ(val(QStringLiteral("1 2 3")), 123);
    EXPECT_DOUBLE_EQ(val(QStringLiteral("?")), 0);
    EXPECT_DOUBLE_EQ(val(QString()), 0);
    EXPECT_DOUBLE_EQ(val(QStringLiteral("-")), 0);
    EXPECT_DOUBLE_EQ(val(QStringLiteral("7,5")), 7);
}

TEST(NumberText, RoundingGoesToTheEvenNeighbour) {
    EXPECT_EQ(vbRound(2.5), 2);
    EXPECT_EQ(vbRound(3.5), 4);
    EXPECT_EQ(vbRound(-2.5), -2);
    EXPECT_EQ(vbRound(2.6), 3);
    EXPECT_EQ(vbInt(-2.5), -3);
    EXPECT_EQ(vbInt(2.9), 2);
}

TEST(NumberText, PlainNumberTextHasASignColumn) {
    EXPECT_EQ(numText(5.0), QStringLiteral(" 5"));
    EXPECT_EQ(numText(-3.0), QStringLiteral("-3"));
    EXPECT_EQ(numText(0.5), QStringLiteral(" .5"));
    EXPECT_EQ(numText(-0.25), QStringLiteral("-.25"));
    EXPECT_EQ(numText(0.0), QStringLiteral(" 0"));
    EXPECT_EQ(numText(5.5f), QStringLiteral(" 5.5"));
    // Single precision shows what the single holds, not its binary tail.
    EXPECT_EQ(numText(0.1f), QStringLiteral(" .1"));
    EXPECT_EQ(numText(29999.999), QStringLiteral(" 29999.999"));
}

TEST(NumberText, FormatPatterns) {
    EXPECT_EQ(formatPattern(7100, QStringLiteral("####0.00")), QStringLiteral("7100.00"));
    EXPECT_EQ(formatPattern(0.125, QStringLiteral("####0.00")), QStringLiteral("0.13"));
    EXPECT_EQ(formatPattern(7, QStringLiteral("00")), QStringLiteral("07"));
    EXPECT_EQ(formatPattern(123, QStringLiteral("00")), QStringLiteral("123"));
    EXPECT_EQ(formatPattern(3, QStringLiteral("0#")), QStringLiteral("03"));
    EXPECT_EQ(formatPattern(3, QStringLiteral("#0")), QStringLiteral("3"));
    EXPECT_EQ(formatPattern(0.5, QStringLiteral("#.0#")), QStringLiteral(".5"));
    EXPECT_EQ(formatPattern(1.23456, QStringLiteral("0.000")), QStringLiteral("1.235"));
    EXPECT_EQ(formatPattern(4.2, QStringLiteral("0.0k")), QStringLiteral("4.2k"));
    EXPECT_EQ(formatPattern(-2.5, QStringLiteral("0.0")), QStringLiteral("-2.5"));
    EXPECT_EQ(formatPattern(-0.01, QStringLiteral("0.0")), QStringLiteral("0.0"));
}
