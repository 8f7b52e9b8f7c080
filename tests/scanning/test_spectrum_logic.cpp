// The spectrum scan's limits, scale, run and file, without a window.
#include "scanning/spectrum_file.h"
#include "scanning/spectrum_scan.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <deque>

using namespace dovrane;

TEST(SpectrumLimitsTest, StepCountAndValidation) {
    struct Case { double lo, up, step; int n; bool valid; };
    const Case cases[] = {
        {9500, 9900, 5, 80, true},
        {14000, 14035, 0.07, 500, true},    // 499.99999999999994 by plain division
        {9500, 9850, 0.7, 500, true},       // 500.00000000000006 by plain division
        {9500, 9549.9, 0.1, 499, true},
        {9500, 9550, 0.1, 500, true},
        {9500, 9550.01, 0.1, 500, false},   // 500.1 steps
        {9500, 9500, 1, 0, false},          // upper equal to lower
        {9500, 9400, 1, 0, false},
        {9500, 9600, 0, 0, false},
        {5, 100, 1, 95, false},             // below FreqMin
        {29000, 30001, 5, 200, false},      // above FreqMax
    };
    for (const Case& c : cases) {
        const SpectrumLimits lim{c.lo, c.up, c.step};
        EXPECT_EQ(lim.valid(10, 30000), c.valid) << c.lo << " " << c.up << " " << c.step;
        if (c.valid) {
            EXPECT_EQ(lim.lastIndex(), c.n) << c.lo << " " << c.up << " " << c.step;
        }
    }
}

TEST(SpectrumLimitsTest, GraphScale) {
    const SpectrumLimits lim{9500, 9900, 5};
    // x = CInt(70 + 6.25 i), halves to the even neighbour.
    const std::pair<int, int> xs[] = {{0, 70}, {2, 82}, {6, 108}, {80, 570}, {1, 76}};
    for (auto [i, x] : xs) EXPECT_EQ(spectrumX(lim.freqOf(i), lim), x) << i;
    EXPECT_EQ(spectrumY(9), 292);
    EXPECT_EQ(spectrumY(13), 244);
    EXPECT_EQ(spectrumY(0), 400);
    // Pointer and click map back onto whole steps.
    EXPECT_DOUBLE_EQ(spectrumMouseFreq(70, lim), 9500);
    EXPECT_DOUBLE_EQ(spectrumMouseFreq(570, lim), 9900);
    EXPECT_DOUBLE_EQ(spectrumClickFreq(320, lim), 9700);
    EXPECT_DOUBLE_EQ(spectrumClickFreq(569, lim), 9895);
    const SpectrumLimits fine{14000, 14035, 0.07};
    EXPECT_NEAR(spectrumMouseFreq(570, fine), 14035, 1e-9);
}

namespace {

// A receiver whose level is a function of the frequency tuned.
struct FakeRx {
    double tuned = 0;
    std::vector<double> tunes;
    float offset = 0;
    std::deque<bool> fails;   // per sample: true = no answer
    float level(double f) const { return float((f - 9500) / 40) + offset; }
    SpectrumScan make() {
        return SpectrumScan(
            [this]() -> std::optional<float> {
                if (!fails.empty()) {
                    const bool fail = fails.front();
                    fails.pop_front();
                    if (fail) return std::nullopt;
                }
                return level(tuned);
            },
            [this](double f) {
                tuned = f;
                tunes.push_back(f);
                return true;
            });
    }
};

} // namespace

TEST(SpectrumScanTest, SingleRunStoresEveryStepAndNeverTunesPastTheUpperLimit) {
    FakeRx rx;
    SpectrumScan scan = rx.make();
    scan.setup({9500, 9900, 5}, false, false);
    scan.begin();
    int ticks = 0;
    SpectrumScan::Tick t;
    do {
        t = scan.tick();
        ++ticks;
        ASSERT_LE(ticks, 100);
    } while (!t.finished);
    EXPECT_EQ(ticks, 81);
    for (int i = 0; i <= 80; ++i) EXPECT_FLOAT_EQ(scan.values()[size_t(i)], rx.level(9500 + 5 * i)) << i;
    for (double f : rx.tunes) EXPECT_LE(f, 9900);
    EXPECT_EQ(rx.tunes.size(), 81u);
    EXPECT_EQ(scan.measuredTop(), 80);
}

TEST(SpectrumScanTest, ContinueResumesAtTheStepWhereStopLeftOff) {
    FakeRx rx;
    SpectrumScan scan = rx.make();
    scan.setup({9500, 9900, 5}, false, false);
    scan.begin();
    for (int i = 0; i < 10; ++i) scan.tick();
    EXPECT_EQ(scan.index(), 10);
    EXPECT_TRUE(scan.continueAllowed());
    rx.tuned = 9500;   // the user tuned elsewhere meanwhile
    scan.begin();
    EXPECT_DOUBLE_EQ(rx.tuned, 9550);
    const SpectrumScan::Tick t = scan.tick();
    EXPECT_EQ(t.index, 10);
    EXPECT_FLOAT_EQ(scan.values()[10], rx.level(9550));
}

TEST(SpectrumScanTest, ContinueBoundAndLoopAndKeepHighest) {
    FakeRx rx;
    SpectrumScan scan = rx.make();
    scan.setup({9500, 9900, 5}, true, true);
    scan.begin();
    for (int i = 0; i < 77; ++i) scan.tick();
    EXPECT_TRUE(scan.continueAllowed());   // index 77
    scan.tick();
    EXPECT_FALSE(scan.continueAllowed());  // index 78
    while (scan.index() != 0) scan.tick();
    // A second pass with lower levels keeps the highest; a higher one replaces them.
    const float first = scan.values()[40];
    rx.offset = -2;
    for (int i = 0; i < 81; ++i) scan.tick();
    EXPECT_FLOAT_EQ(scan.values()[40], first);
    rx.offset = 2;
    for (int i = 0; i < 81; ++i) scan.tick();
    EXPECT_FLOAT_EQ(scan.values()[40], first + 2);
}

TEST(SpectrumScanTest, FailedSamplesAreNotStoredAndThreeInARowStop) {
    FakeRx rx;
    SpectrumScan scan = rx.make();
    scan.setup({9500, 9900, 5}, false, false);
    scan.begin();
    rx.fails = {false, true, false, true, true, true};
    EXPECT_TRUE(scan.tick().measured);
    SpectrumScan::Tick t = scan.tick();
    EXPECT_FALSE(t.measured);
    EXPECT_FALSE(t.failed);
    EXPECT_FLOAT_EQ(scan.values()[1], 0);
    EXPECT_TRUE(scan.tick().measured);
    EXPECT_FALSE(scan.tick().failed);
    EXPECT_FALSE(scan.tick().failed);
    t = scan.tick();
    EXPECT_TRUE(t.failed);
    EXPECT_FALSE(t.measured);
}

TEST(SpectrumFileTest, LinesRoundTripAndLevelsInTenths) {
    SpectrumFile f;
    f.title = QStringLiteral("5 Mar 2004  07:09 UTC");
    f.limits = {9500, 9900, 0.5};
    f.last = 3;
    f.values[0] = 9.5f;
    f.values[1] = -1.7f;
    f.values[2] = 13.26f;
    f.values[3] = 0;
    const QStringList lines = spectrumFileLines(f);
    const QStringList expected{f.title, " 9500", " 9900", " .5", " 3", "095", "-017", "132", "000"};
    EXPECT_EQ(lines, expected);
    const std::optional<SpectrumFile> back = parseSpectrumLines(lines);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->title, f.title);
    EXPECT_DOUBLE_EQ(back->limits.step, 0.5);
    EXPECT_EQ(back->last, 3);
    EXPECT_FLOAT_EQ(back->values[0], 9.5f);
    EXPECT_FLOAT_EQ(back->values[1], -1.7f);
    EXPECT_EQ(spectrumFileLines(*back), lines);
}

TEST(SpectrumFileTest, BadAndTruncatedFilesAreRefused) {
    const QStringList good{"t", " 9500", " 9900", " 5", " 2", "010", "020", "030"};
    EXPECT_TRUE(parseSpectrumLines(good));
    EXPECT_FALSE(parseSpectrumLines(good.mid(0, 4)));      // no last index
    EXPECT_FALSE(parseSpectrumLines(good.mid(0, 7)));      // one value short
    QStringList big = good;
    big[4] = " 501";
    EXPECT_FALSE(parseSpectrumLines(big));
    // The writer never goes past index 500.
    SpectrumFile f;
    f.limits = {9500, 10000, 1};
    f.last = 501;
    EXPECT_EQ(spectrumFileLines(f).size(), 5 + 501);

    QTemporaryDir dir;
    SpectrumReadError err = SpectrumReadError::None;
    EXPECT_FALSE(readSpectrumFile(dir.filePath("none.txt"), &err));
    EXPECT_EQ(err, SpectrumReadError::Unreadable);
}
