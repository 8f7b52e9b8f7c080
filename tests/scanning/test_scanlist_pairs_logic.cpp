// The frequency-list scan and the frequency-pair scan, without windows.
#include "scanning/scanlist_scan.h"
#include "scanning/scanpair_scan.h"
#include "shell/globals.h"

#include <gtest/gtest.h>
#include <map>

using namespace dovrane;

namespace {

struct ListRx {
    QStringList boxes;
    double tuned = 0;
    std::map<double, float> levels;
    bool fail = false;
    ScanlistScan make() {
        return ScanlistScan(
            [this]() -> std::optional<float> {
                if (fail) return std::nullopt;
                return levels.count(tuned) ? levels[tuned] : 0.0f;
            },
            [this](double f) {
                tuned = f;
                return true;
            },
            [this](int r) { return scanlistFrequency(boxes.value(r), 10, 30000); });
    }
};

QStringList dashes() {
    QStringList b;
    for (int i = 0; i < ScanlistRows; ++i) b << "-";
    return b;
}

} // namespace

TEST(ScanlistLogicTest, BoxRules) {
    const std::pair<const char*, bool> boxes[] = {{"9500", true}, {"-", false}, {"", false}, {"abc", false},
                                                  {"5", false},   {"30000", true}, {"9995,5", true},
                                                  {"7100 9500", false}, {"71 00", false}, {"71\t00", false},
                                                  {" 9500", true}, {"9500 ", true},
                                                  {"7100\u00a09500", false}, {"7100\u20099500", false},
                                                  {"9500\u00a0", false}};
    for (auto [text, valid] : boxes) EXPECT_EQ(scanlistFrequency(text, 10, 30000).has_value(), valid) << text;
    EXPECT_DOUBLE_EQ(*scanlistFrequency("9995,5", 10, 30000), 9995);
    EXPECT_EQ(scanlistRunsPerUpdate("2"), 5);
    EXPECT_EQ(scanlistRunsPerUpdate("11"), 5);
    EXPECT_EQ(scanlistRunsPerUpdate("10"), 10);
    EXPECT_EQ(scanlistRunsPerUpdate("x"), 5);
    EXPECT_FLOAT_EQ(scanlistDelay("0.5"), 2);
    EXPECT_FLOAT_EQ(scanlistDelay("10"), 10);
}

TEST(ScanlistLogicTest, SamplesBelongToTheRowTunedAndInvalidRowsCostNoTick) {
    ListRx rx;
    rx.boxes = dashes();
    rx.boxes[2] = "6000";
    rx.boxes[7] = "7000";
    rx.boxes[19] = "9000";
    rx.levels = {{6000, 3}, {7000, 7}, {9000, 11}};
    ScanlistScan scan = rx.make();
    scan.clear();
    ASSERT_TRUE(scan.start(5));
    EXPECT_EQ(scan.currentRow(), 2);   // the first valid row, tuned at once
    EXPECT_DOUBLE_EQ(rx.tuned, 6000);
    for (int pass = 0; pass < 4; ++pass)
        for (int r : {2, 7, 19}) {
            const ScanlistScan::Tick t = scan.tick();
            EXPECT_EQ(t.row, r);
            EXPECT_TRUE(t.measured);
        }
    EXPECT_EQ(scan.passes(), 4);
    for (int k = 17; k <= 20; ++k) {
        EXPECT_FLOAT_EQ(scan.sample(2, k), 3);
        EXPECT_FLOAT_EQ(scan.sample(7, k), 7);
        EXPECT_FLOAT_EQ(scan.sample(19, k), 11);
    }
    EXPECT_FLOAT_EQ(scan.sample(2, 16), 0);
    EXPECT_FLOAT_EQ(scan.sample(0, 20), 0);
}

TEST(ScanlistLogicTest, NoValidRowEndsTheSearch) {
    ListRx rx;
    rx.boxes = dashes();
    ScanlistScan scan = rx.make();
    EXPECT_FALSE(scan.start(5));
    rx.boxes[4] = "6000";
    ASSERT_TRUE(scan.start(5));
    rx.boxes[4] = "-";   // edited away during the run
    const ScanlistScan::Tick t = scan.tick();
    EXPECT_TRUE(t.noValidRow);
}

TEST(ScanlistLogicTest, TrendsAfterThreeUpdatesWithHalfUnitLimit) {
    // N = 5: rows whose last five samples average 0.6 above, 0.5 above and
    // 0.6 below the five before.
    struct Case { float older, recent; int colour; };
    const Case cases[] = {{5, 5.6f, TrendRising}, {5, 5.5f, TrendSteady}, {5, 4.4f, TrendFalling}};
    for (const Case& c : cases) {
        ListRx rx;
        rx.boxes = dashes();
        rx.boxes[0] = "6000";
        ScanlistScan scan = rx.make();
        scan.clear();
        ASSERT_TRUE(scan.start(5));
        // One valid row: one pass per tick; trends at passes 5, 10, 15.
        for (int tick = 1; tick <= 15; ++tick) {
            rx.levels[6000] = tick <= 10 ? c.older : c.recent;
            const ScanlistScan::Tick t = scan.tick();
            EXPECT_EQ(t.trends, tick % 5 == 0) << tick;
            if (tick < 15) {
                EXPECT_EQ(scan.trend(0, 10), 0) << tick;
            }
        }
        EXPECT_EQ(scan.trend(0, 10), c.colour) << c.recent;
        EXPECT_EQ(scan.trend(0, 9), TrendWhite);
        EXPECT_EQ(scan.trend(0, 1), TrendWhite);
    }
}

TEST(ScanlistLogicTest, PassCounterWrapsAfter9999AndFailuresStop) {
    ListRx rx;
    rx.boxes = dashes();
    rx.boxes[0] = "6000";
    ScanlistScan scan = rx.make();
    ASSERT_TRUE(scan.start(10));
    for (int i = 0; i < 9999; ++i) scan.tick();
    EXPECT_EQ(scan.passes(), 9999);
    scan.tick();
    EXPECT_EQ(scan.passes(), 1);
    rx.fail = true;
    EXPECT_FALSE(scan.tick().failed);
    EXPECT_FALSE(scan.tick().failed);
    EXPECT_TRUE(scan.tick().failed);
}

TEST(ScanlistLogicTest, FileLines) {
    QStringList boxes = dashes();
    boxes[0] = "9995,5";
    boxes[1] = "abc";
    boxes[3] = "6000";
    const QStringList lines = scanlistFileLines(boxes, 10, 30000);
    ASSERT_EQ(lines.size(), 20);
    EXPECT_EQ(lines[0], "9995.5");
    EXPECT_EQ(lines[1], "-");
    EXPECT_EQ(lines[3], "6000");
    EXPECT_EQ(scanlistFileLines(scanlistBoxesFromLines(lines, 10, 30000), 10, 30000), lines);
    // Short files leave "-", lines after the twentieth are ignored.
    const QStringList shortBoxes = scanlistBoxesFromLines({"7000", "", "8000,25"}, 10, 30000);
    EXPECT_EQ(shortBoxes[0], "7000");
    EXPECT_EQ(shortBoxes[1], "-");
    EXPECT_EQ(shortBoxes[2], "8000.25");
    EXPECT_EQ(shortBoxes[19], "-");
    QStringList longFile = lines;
    longFile << "9000";
    EXPECT_EQ(scanlistBoxesFromLines(longFile, 10, 30000).size(), 20);
}

TEST(ScanPairLogicTest, StepRuleAndRangeOrder) {
    struct Case { int start, end, last; QList<int> order; };
    const Case cases[] = {
        {8, 2, 10, {8, 9, 10, 0, 1, 2}},
        {2, 5, 10, {2, 3, 4, 5}},
        {4, 4, 10, {4}},
        {0, 0, 0, {0}},
        {10, 0, 10, {10, 0}},
    };
    for (const Case& c : cases) {
        const PairRange r{c.start, c.end, c.last};
        EXPECT_EQ(rangeOrder(r), c.order) << c.start << ".." << c.end;
        // The step rule goes round the range for ever.
        int n = c.start;
        for (int i = 0; i < 2 * c.order.size(); ++i) {
            EXPECT_EQ(n, c.order[i % c.order.size()]);
            n = nextPair(n, r);
        }
    }
    EXPECT_TRUE(rangeOrder({0, 0, -1}).isEmpty());
}

TEST(ScanPairLogicTest, SearchSkipsExcludedPairsAndEnds) {
    QList<ScanPair> pairs(11);
    for (ScanPair& p : pairs) p.on = 1;
    pairs[9].on = 0;
    pairs[0].on = 0;
    const PairRange r{8, 2, 10};
    EXPECT_EQ(findIncluded(pairs, 9, r), 10);
    EXPECT_EQ(findIncluded(pairs, 0, r), 1);
    EXPECT_EQ(findIncluded(pairs, 5, r), 8);   // outside the range: from its start
    for (ScanPair& p : pairs) p.on = 0;
    pairs[5].on = 1;                            // included but outside the range
    EXPECT_FALSE(findIncluded(pairs, 8, r));
    EXPECT_FALSE(findIncluded({}, 0, {0, 0, -1}));
}

TEST(ScanPairLogicTest, BoxRules) {
    EXPECT_EQ(pairStartRule("3", 10).value, 3);
    EXPECT_EQ(pairStartRule("11", 10).shown, QString("0"));
    EXPECT_EQ(pairEndRule("12", 10).value, 10);
    EXPECT_EQ(pairEndRule("12", 10).shown, QString(" 10"));
    EXPECT_FALSE(pairEndRule("10", 10).shown);
    EXPECT_FALSE(pairDelayRule("0.5").shown);
    EXPECT_FALSE(pairDelayRule("60").shown);
    EXPECT_EQ(pairDelayRule("0.4").shown, QString("1"));
    EXPECT_EQ(pairDelayRule("61").value, 1);
}

TEST(ScanPairLogicTest, FileLinesRoundTripWithCommasBlankAndShortLines) {
    const QList<ScanPair> pairs{{"9500", "9510", 1, "BBC test"},
                                {"6000", "6005", 0, "one, two"},
                                {"7000", "7100", 1, "said \"hi\""},
                                {"8000", "8100", 1, ""}};
    const QStringList lines = scanPairFileLines(pairs);
    EXPECT_EQ(lines[0], "9500,9510, 1,BBC test");
    EXPECT_EQ(lines[1], "6000,6005, 0,\"one, two\"");
    EXPECT_EQ(lines[3], "8000,8100, 1,");
    const QList<ScanPair> back = scanPairsFromLines(lines);
    ASSERT_EQ(back.size(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(back[i].a, pairs[i].a);
        EXPECT_EQ(back[i].b, pairs[i].b);
        EXPECT_EQ(back[i].on, pairs[i].on);
        EXPECT_EQ(back[i].remark, pairs[i].remark);
    }
    EXPECT_EQ(scanPairFileLines(back), lines);

    // Channels read from quoted fields, as another program may write them:
    // saved so that they reload the same.
    const struct {
        const char* line;
        const char* a;
        const char* b;
    } quoted[] = {{"\"7100,5\",9500, 1,x", "7100,5", "9500"},
                  {"7100,\"9500,5\", 1,x", "7100", "9500,5"},
                  {"\"7100,5\",\"9500,5\", 0,\"a, b\"", "7100,5", "9500,5"},
                  {"\" 7100\",\"9\"\"5\", 1,", " 7100", "9\"5"}};
    for (const auto& q : quoted) {
        const QList<ScanPair> read = scanPairsFromLines({QString::fromLatin1(q.line)});
        ASSERT_EQ(read.size(), 1) << q.line;
        EXPECT_EQ(read[0].a, QLatin1String(q.a)) << q.line;
        EXPECT_EQ(read[0].b, QLatin1String(q.b)) << q.line;
        const QList<ScanPair> again = scanPairsFromLines(scanPairFileLines(read));
        ASSERT_EQ(again.size(), 1) << q.line;
        EXPECT_EQ(again[0].a, read[0].a) << q.line;
        EXPECT_EQ(again[0].b, read[0].b) << q.line;
        EXPECT_EQ(again[0].on, read[0].on) << q.line;
        EXPECT_EQ(again[0].remark, read[0].remark) << q.line;
    }

    // A blank line gives no pair; a short line gives empty fields and keeps
    // the next line's pair whole; an old unquoted comma stays in the remark.
    const QList<ScanPair> odd = scanPairsFromLines({"9500", "", " 6000 , 6010 , 1 , a, b ", "  "});
    ASSERT_EQ(odd.size(), 2);
    EXPECT_EQ(odd[0].a, "9500");
    EXPECT_EQ(odd[0].b, "");
    EXPECT_EQ(odd[0].on, 0);
    EXPECT_EQ(odd[1].b, "6010");
    EXPECT_EQ(odd[1].remark, "a, b");
}

TEST(ScanPairLogicTest, TheProgramWidePairsGoBackToEmptyWithTheOtherSharedValues) {
    Pairs = {ScanPair{QStringLiteral("9500"), QStringLiteral("9510"), 1, QStringLiteral("a")}};
    PairsFileName = QStringLiteral("SFP_A.TXT");
    resetGlobals();
    EXPECT_TRUE(Pairs.isEmpty());
    EXPECT_TRUE(PairsFileName.isEmpty());
}
