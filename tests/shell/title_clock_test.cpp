// The title clock's texts and titles.
#include "shell/title_clock.h"

#include <QTimeZone>
#include <gtest/gtest.h>

namespace dovrane {
namespace {

const QDateTime kMarch7(QDate(2004, 3, 7), QTime(1, 30, 42));

TEST(TitleClockTest, DatePatterns) {
    const QDateTime t(QDate(2004, 3, 6), QTime(23, 5, 9));
    EXPECT_EQ(formatDate(t, QStringLiteral("d mmm yyyy  hh:mm")), QStringLiteral("6 Mar 2004  23:05"));
    EXPECT_EQ(formatDate(t, QStringLiteral("yyyymmdd hhmm")), QStringLiteral("20040306 2305"));
    EXPECT_EQ(formatDate(t, QStringLiteral("dd/mm/yy hh:nn:ss")), QStringLiteral("06/03/04 23:05:09"));
    EXPECT_EQ(formatDate(t, QStringLiteral("d mmmm yyyy")), QStringLiteral("6 March 2004"));
    EXPECT_EQ(formatDate(QDateTime(QDate(2004, 12, 25), QTime(7, 0)), QStringLiteral("d mmm yyyy  hh:mm")),
              QStringLiteral("25 Dec 2004  07:00"));
}

TEST(TitleClockTest, UtcIsLocalTimeMinusTheDifference) {
    ClockTexts t = clockTexts(kMarch7, 2);
    EXPECT_EQ(t.local, QStringLiteral("7 Mar 2004  01:30"));
    EXPECT_EQ(t.utc, QStringLiteral("6 Mar 2004  23:30"));
    EXPECT_EQ(t.stamp, QStringLiteral("20040306 2330"));
    // The local text ends in the time, which other windows take from it.
    EXPECT_EQ(t.local.right(5), QStringLiteral("01:30"));

    t = clockTexts(kMarch7, -5.5);
    EXPECT_EQ(t.utc, QStringLiteral("7 Mar 2004  07:00"));
    EXPECT_EQ(t.stamp, QStringLiteral("20040307 0700"));

    t = clockTexts(QDateTime(QDate(2004, 12, 31), QTime(22, 45)), -13);
    EXPECT_EQ(t.utc, QStringLiteral("1 Jan 2005  11:45"));
    t = clockTexts(QDateTime(QDate(2004, 2, 29), QTime(0, 10)), 0);
    EXPECT_EQ(t.utc, QStringLiteral("29 Feb 2004  00:10"));
}

TEST(TitleClockTest, SummerTimeChangeDoesNotShiftTheSum) {
    const QTimeZone berlin("Europe/Berlin");
    if (!berlin.isValid()) GTEST_SKIP() << "no time-zone data";
    // The clock has just gone forward: 03:10 summer time, two hours ahead of UTC.
    ClockTexts t = clockTexts(QDateTime(QDate(2004, 3, 28), QTime(3, 10), berlin), 2);
    EXPECT_EQ(t.local, QStringLiteral("28 Mar 2004  03:10"));
    EXPECT_EQ(t.utc, QStringLiteral("28 Mar 2004  01:10"));
    // And just before it, one hour ahead.
    t = clockTexts(QDateTime(QDate(2004, 3, 28), QTime(1, 50), berlin), 1);
    EXPECT_EQ(t.utc, QStringLiteral("28 Mar 2004  00:50"));
}

TEST(TitleClockTest, Titles) {
    const ClockTexts t = clockTexts(kMarch7, 2);
    EXPECT_EQ(panelTitle(1, t), QStringLiteral("LT : 7 Mar 2004  01:30     AR7030     UTC : 6 Mar 2004  23:30"));
    EXPECT_EQ(panelTitle(0, t), QStringLiteral("LT : 7 Mar 2004  01:30     No RX     UTC : 6 Mar 2004  23:30"));
    EXPECT_EQ(panelTitle(3, t), QStringLiteral("LT : 7 Mar 2004  01:30     RX320     UTC : 6 Mar 2004  23:30"));
    EXPECT_TRUE(panelTitle(5, t).isEmpty());
    EXPECT_EQ(listTitle(QStringLiteral("Logging     LT : "), t),
              QStringLiteral("Logging     LT : 7 Mar 2004  01:30     UTC : 6 Mar 2004  23:30"));
}

} // namespace
} // namespace dovrane
