// The propagation file's fixed columns and the recorder's quarter minutes
// under late, doubled and skipped ticks, without a window.
#include "scanning/prop_recorder.h"
#include "scanning/propagation_file.h"

#include <QDateTime>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <optional>

namespace dovrane {
namespace {

TEST(PropagationFile, ValuesKeepTheirThreeColumns) {
    const struct {
        float level;
        const char* text;
    } cases[] = {
        {9.5f, " 095"}, {0, " 000"}, {21, " 210"}, {9.99f, " 099"}, {6.25f, " 062"},
        {-1.667f, " 000"},   // below S0 (AR7030 at "+10 dB"): held at zero
        {24.7f, " 247"},     // above S21 stays true
        {123.4f, " 999"},    // and never grows a fourth digit
    };
    for (const auto& c : cases) EXPECT_EQ(propValueText(c.level), QLatin1String(c.text)) << c.level;

    const QString line = propMinuteLine(7, 5, {{{9, 9.5f}, {8.8f, 9.2f}, {10.1f, 11}, {-3, 30}}});
    EXPECT_EQ(line, QStringLiteral("07:05 090 095 088 092 101 110 000 300"));
    EXPECT_EQ(line.size(), PropLineLength);
}

TEST(PropagationFile, ReaderTakesTheFixedColumns) {
    const struct {
        const char* line;
        int hour, minute;
        float min0, max0, min3, max3;
    } cases[] = {
        {"07:05 090 095 088 092 101 110 000 300", 7, 5, 9, 9.5f, 0, 30},
        {"23:59 210 210 001 002 003 004 005 006 999", 23, 59, 21, 21, 0.5f, 0.6f},  // extra group ignored
        {"12:3", 12, 3, 0, 0, 0, 0},                                              // short: zeros
        {"ab:cd xyz", 0, 0, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const PropMinute m = parsePropMinute(QLatin1String(c.line));
        EXPECT_EQ(m.hour, c.hour) << c.line;
        EXPECT_EQ(m.minute, c.minute) << c.line;
        EXPECT_FLOAT_EQ(m.groups[0].min, c.min0) << c.line;
        EXPECT_FLOAT_EQ(m.groups[0].max, c.max0) << c.line;
        EXPECT_FLOAT_EQ(m.groups[3].min, c.min3) << c.line;
        EXPECT_FLOAT_EQ(m.groups[3].max, c.max3) << c.line;
    }
    EXPECT_EQ(propShortName(QStringLiteral("PAN_BBC9410.TXT")), QStringLiteral("BBC9410"));
    EXPECT_EQ(propStartText(QDateTime(QDate(2004, 3, 7), QTime(1, 30), Qt::UTC)),
              QStringLiteral("7 Mar 2004  01:30 UTC"));
}

QDateTime at(int minute, int second, int ms = 0) {
    return QDateTime(QDate(2004, 3, 7), QTime(10, minute, second, ms), Qt::UTC);
}

TEST(PropRecorder, EachQuarterOnceWhateverTheTicks) {
    struct Tick {
        int minute, second, ms;
        std::optional<float> level;
    };
    const Tick ticks[] = {
        {0, 0, 900, 9.0f},
        {0, 1, 0, 9.5f},      // in the boundary's own second: closes quarter 0 with it
        {0, 1, 850, 12.0f},   // a second tick in second 1
        {0, 8, 0, 8.0f},
        {0, 16, 200, 7.0f},
        {0, 16, 900, 30.0f},  // doubled second 16, far above S21
        {0, 31, 100, 10.0f},
        {0, 50, 0, 11.0f},    // second 46 skipped: closed late, once, without this level
        {1, 3, 0, -2.0f},     // also passes the day boundary 10:01:02, read after it
        {1, 17, 0, 25.0f},
        {1, 40, 0, std::nullopt},   // no sample: quarter 3 of 10:01 stays empty
        {1, 50, 0, 4.0f},
        {2, 0, 500, 5.0f},
        {2, 1, 200, 5.5f},
        {2, 16, 0, 6.25f},
        {2, 30, 999, 7.0f},
        {2, 31, 0, 7.05f},
        {2, 46, 300, 8.0f},
    };
    PropRecorder r;
    // Both clocks run alike: no step.
    r.start(at(0, 0, 500), at(0, 0, 500).toMSecsSinceEpoch());
    QStringList lines;
    std::map<std::pair<int, int>, int> closed;
    std::vector<PropDaySample> days;
    for (const Tick& t : ticks) {
        const QDateTime when = at(t.minute, t.second, t.ms);
        const PropTickResult out = r.tick(when, when.toMSecsSinceEpoch(), t.level);
        lines << out.lines;
        for (const PropQuarter& q : out.quarters) ++closed[{q.minute, q.second}];
        days.insert(days.end(), out.days.begin(), out.days.end());
    }
    // Each level in the quarter it was read in: the late ticks leave the
    // fourth quarters of 10:00 and 10:01 empty, so only 10:02 is whole.
    EXPECT_EQ(lines, QStringList({"10:02 040 055 062 062 070 070 080 080"}));
    EXPECT_EQ(closed.size(), 12u);
    for (const auto& [key, n] : closed) EXPECT_EQ(n, 1) << key.first << ":" << key.second;
    ASSERT_EQ(days.size(), 1u);
    EXPECT_EQ(days[0].minute, 1);
    EXPECT_FALSE(days[0].empty);
    EXPECT_FLOAT_EQ(days[0].range.min, 7.0f);
    EXPECT_FLOAT_EQ(days[0].range.max, 30.0f);
}

TEST(PropRecorder, GapsAndClockStepsKeepEveryQuarterInItsPlace) {
    // The wall clock as it reads, the steady clock, the level, and the
    // boundaries the tick closes ("!" after one that holds no sample).
    const struct {
        QTime wall;
        qint64 steadyMs;
        float level;
        const char* closes;
    } ticks[] = {
        {QTime(10, 0, 40), 39700, 9.0f, "10:00:01! 10:00:16! 10:00:31!"},   // 40 s without a tick
        {QTime(10, 0, 39), 40550, 9.0f, ""},             // set back by less than two seconds
        {QTime(10, 0, 46, 200), 47750, 9.0f, "10:00:46"},  // ... closes nothing twice
        {QTime(9, 0, 47), 48600, 5.0f, ""},              // an hour back, as summer time ends
        {QTime(9, 1, 1, 500), 63100, 7.0f, "09:01:01"},  // the repeated hour is recorded
        {QTime(9, 1, 16, 500), 78100, 12.0f, "09:01:16"},
        {QTime(9, 1, 31, 500), 93100, 3.5f, "09:01:31"},
        {QTime(9, 1, 46, 500), 108100, 30.0f, "09:01:46"},
        {QTime(10, 1, 50), 111600, 8.0f, ""},            // an hour forward: nothing of it is closed
        {QTime(10, 2, 1, 500), 123100, 6.0f, "10:02:01"},
    };
    PropRecorder r;
    r.start(QDateTime(QDate(2004, 3, 7), QTime(10, 0, 0, 300), Qt::UTC), 0);
    QStringList lines;
    for (const auto& t : ticks) {
        const PropTickResult out = r.tick(QDateTime(QDate(2004, 3, 7), t.wall, Qt::UTC), t.steadyMs, t.level);
        QStringList closed;
        for (const PropQuarter& q : out.quarters)
            closed << QTime(q.hour, q.minute, q.second).toString(QStringLiteral("hh:mm:ss")) +
                          (q.empty ? QStringLiteral("!") : QString());
        EXPECT_EQ(closed.join(QLatin1Char(' ')), QLatin1String(t.closes)) << t.wall.toString().toStdString();
        lines << out.lines;
    }
    // The minute of the repeated hour whole, each level in its own quarter.
    EXPECT_EQ(lines, QStringList{QStringLiteral("09:01 050 070 120 120 035 035 300 300")});
}

TEST(PropRecorder, ASampleBeforeAStepOrASleepIsReportedInItsOwnQuarter) {
    // A level at 12:07:20 in the open quarter (12:07:16 to 12:07:31), then
    // the next tick a second later by the steady clock but an hour off by
    // the wall clock (a step), or an hour later by both (a sleep), then one
    // more tick ten seconds on. Every level is filed where it was read:
    // the one before in 12:07:31, the two after in the quarter of their
    // own time, never in a boundary the sleep passed over.
    struct Case {
        const char* what;
        QTime resume;
        qint64 resumeSteadyMs;
        QStringList quarters;   // "hh:mm:ss min max" of each quarter closed, "!" when empty
        QStringList days;
    };
    QStringList hourOfEmptyQuarters{QStringLiteral("12:07:31 90 90")};
    for (QTime t(12, 7, 46); t != QTime(13, 7, 31); t = t.addSecs(15))
        hourOfEmptyQuarters << t.toString(QStringLiteral("hh:mm:ss")) + QStringLiteral("!");
    hourOfEmptyQuarters << QStringLiteral("13:07:31 50 60");
    QStringList emptyDays{QStringLiteral("12:13 90 90")};
    for (QTime t(12, 19); t != QTime(13, 13); t = t.addSecs(360)) emptyDays << t.toString(QStringLiteral("hh:mm!"));
    const Case cases[] = {
        {"the clock set an hour ahead", QTime(13, 7, 21), 4500,
         {QStringLiteral("12:07:31 90 90"), QStringLiteral("13:07:31 50 60")}, {QStringLiteral("12:13 90 90")}},
        {"the clock set an hour back", QTime(11, 7, 21), 4500,
         {QStringLiteral("12:07:31 90 90"), QStringLiteral("11:07:31 50 60")}, {QStringLiteral("12:13 90 90")}},
        // The resume is no step: the hour slept through is closed, empty,
        // each quarter once.
        {"the computer slept an hour", QTime(13, 7, 21), 3'604'500, hourOfEmptyQuarters, emptyDays},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QDate day(2004, 3, 7);
        PropRecorder r;
        r.start(QDateTime(day, QTime(12, 7, 16, 500), Qt::UTC), 0);
        QStringList quarters, days;
        auto tick = [&](QTime wall, qint64 steady, float level) {
            const PropTickResult out = r.tick(QDateTime(day, wall, Qt::UTC), steady, level);
            for (const PropQuarter& q : out.quarters)
                quarters << QTime(q.hour, q.minute, q.second).toString(QStringLiteral("hh:mm:ss")) +
                                (q.empty ? QStringLiteral("!")
                                         : QStringLiteral(" %1 %2").arg(std::lround(q.range.min * 10)).arg(
                                               std::lround(q.range.max * 10)));
            for (const PropDaySample& d : out.days)
                days << QTime(d.hour, d.minute).toString(QStringLiteral("hh:mm")) +
                            (d.empty ? QStringLiteral("!")
                                     : QStringLiteral(" %1 %2").arg(std::lround(d.range.min * 10)).arg(
                                           std::lround(d.range.max * 10)));
        };
        tick(QTime(12, 7, 20), 3500, 9.0f);
        tick(c.resume, c.resumeSteadyMs, 5.0f);
        tick(c.resume.addSecs(10).addMSecs(500), c.resumeSteadyMs + 10'500, 6.0f);
        EXPECT_EQ(quarters, c.quarters);
        EXPECT_EQ(days, c.days);
    }
}

// The first level after a sleep goes in the minute line of the time it was
// read: a minute whose last quarter the sleep took gives no line, and the
// level read on resume is in the line of its own minute.
TEST(PropRecorder, TheFirstLevelAfterASleepIsFiledWhereItWasRead) {
    const QDate day(2004, 3, 7);
    const struct {
        const char* what;
        QTime resume;          // the steady clock moves as the wall clock does
        QStringList lines;
    } cases[] = {
        {"two hours, resumed in the fourth quarter", QTime(14, 7, 40),
         {QStringLiteral("14:08 160 160 165 165 170 170 175 175")}},
        {"two hours, resumed in the first quarter", QTime(14, 7, 58),
         {QStringLiteral("14:08 155 155 160 160 165 165 170 170")}},
        {"two hours, resumed in a boundary's own second", QTime(14, 8, 1, 500),
         {QStringLiteral("14:08 155 155 160 160 165 165 170 170")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QDateTime begin(day, QTime(12, 7, 0, 500), Qt::UTC);
        PropRecorder r;
        r.start(begin, 0);
        QStringList lines;
        auto tick = [&](const QDateTime& at, float level) {
            lines << r.tick(at, begin.msecsTo(at), level).lines;
        };
        // Three quarters of 12:07, then the sleep before its fourth.
        for (int s : {1, 15, 16, 30, 31}) tick(QDateTime(day, QTime(12, 7, s, 500), Qt::UTC), 9.0f);
        // On resume, a level a quarter for the minute after.
        QDateTime at(day, c.resume, Qt::UTC);
        float level = 15.5f;
        for (int i = 0; i < 6; ++i, at = at.addSecs(15), level += 0.5f) tick(at, level);
        EXPECT_EQ(lines, c.lines);
    }
}

TEST(PropRecorder, DaySamplesAtSecondTwoOfMinutesOneModSix) {
    // A tick every second, half a second past it, over two hours across midnight.
    PropRecorder r;
    const QDateTime from(QDate(2004, 3, 7), QTime(23, 0, 0, 500), Qt::UTC);
    r.start(from, 0);
    QStringList taken, expected;
    for (int s = 1; s <= 2 * 3600; ++s) {
        const QDateTime t = from.addSecs(s);
        for (const PropDaySample& d : r.tick(t, s * 1000, 9.0f).days)
            taken << QStringLiteral("%1:%2 at second %3").arg(d.hour).arg(d.minute).arg(t.time().second());
    }
    for (int h : {23, 0})
        for (int m = 1; m < 60; m += 6) expected << QStringLiteral("%1:%2 at second 2").arg(h).arg(m);
    EXPECT_EQ(taken, expected);
}

} // namespace
} // namespace dovrane
