// The propagation file's fixed columns and the recorder's quarter minutes
// under late, doubled and skipped ticks, without a window.
#include "scanning/prop_recorder.h"
#include "scanning/propagation_file.h"

#include <QDateTime>
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
        {0, 1, 0, 9.5f},      // exactly on the boundary: closes quarter 0 with it
        {0, 1, 850, 12.0f},   // a second tick in second 1
        {0, 8, 0, 8.0f},
        {0, 16, 200, 7.0f},
        {0, 16, 900, 30.0f},  // doubled second 16, far above S21
        {0, 31, 100, 10.0f},
        {0, 50, 0, 11.0f},    // second 46 skipped: closed late, once
        {1, 3, 0, -2.0f},     // also passes the day boundary 10:01:02
        {1, 17, 0, 25.0f},
        {1, 40, 0, std::nullopt},   // no sample: quarter 2 of 10:01 stays empty
        {1, 50, 0, 4.0f},
        {2, 0, 500, 5.0f},
        {2, 1, 200, 5.5f},
        {2, 16, 0, 6.25f},
        {2, 30, 999, 7.0f},
        {2, 31, 0, 7.05f},
        {2, 46, 300, 8.0f},
    };
    PropRecorder r;
    r.start(at(0, 0, 500));
    QStringList lines;
    std::map<std::pair<int, int>, int> closed;
    std::vector<PropDaySample> days;
    for (const Tick& t : ticks) {
        const PropTickResult out = r.tick(at(t.minute, t.second, t.ms), t.level);
        lines << out.lines;
        for (const PropQuarter& q : out.quarters) ++closed[{q.minute, q.second}];
        days.insert(days.end(), out.days.begin(), out.days.end());
    }
    EXPECT_EQ(lines, QStringList({"10:00 090 095 070 120 100 300 110 110", "10:02 050 055 062 062 070 070 080 080"}));
    EXPECT_EQ(closed.size(), 12u);
    for (const auto& [key, n] : closed) EXPECT_EQ(n, 1) << key.first << ":" << key.second;
    ASSERT_EQ(days.size(), 1u);
    EXPECT_EQ(days[0].minute, 1);
    EXPECT_FALSE(days[0].empty);
    EXPECT_FLOAT_EQ(days[0].range.min, -2.0f);
    EXPECT_FLOAT_EQ(days[0].range.max, 30.0f);
}

TEST(PropRecorder, LongGapAndClockSetBack) {
    PropRecorder r;
    r.start(at(0, 0, 300));
    // 40 seconds without a tick: three boundaries, the samples go to the first.
    PropTickResult out = r.tick(at(0, 40), 9.0f);
    ASSERT_EQ(out.quarters.size(), 3u);
    EXPECT_FALSE(out.quarters[0].empty);
    EXPECT_TRUE(out.quarters[1].empty);
    EXPECT_TRUE(out.quarters[2].empty);
    // A clock set back closes nothing again.
    out = r.tick(at(0, 10), 9.0f);
    EXPECT_TRUE(out.quarters.empty());
    out = r.tick(at(0, 40, 500), 9.0f);
    EXPECT_TRUE(out.quarters.empty());
    out = r.tick(at(0, 46), 9.0f);
    ASSERT_EQ(out.quarters.size(), 1u);
    EXPECT_TRUE(out.lines.isEmpty());   // two quarters without samples: no line
}

TEST(PropRecorder, DaySamplesAtSecondTwoOfMinutesOneModSix) {
    // A tick every second, half a second past it, over two hours across midnight.
    PropRecorder r;
    const QDateTime from(QDate(2004, 3, 7), QTime(23, 0, 0, 500), Qt::UTC);
    r.start(from);
    QStringList taken, expected;
    for (int s = 1; s <= 2 * 3600; ++s) {
        const QDateTime t = from.addSecs(s);
        for (const PropDaySample& d : r.tick(t, 9.0f).days)
            taken << QStringLiteral("%1:%2 at second %3").arg(d.hour).arg(d.minute).arg(t.time().second());
    }
    for (int h : {23, 0})
        for (int m = 1; m < 60; m += 6) expected << QStringLiteral("%1:%2 at second 2").arg(h).arg(m);
    EXPECT_EQ(taken, expected);
}

} // namespace
} // namespace dovrane
