// The memory scan without its window: which cells it sets in turn, when a
// receiver that leaves cells unanswered stops it, and the one message each
// run gives.
#include "memories/memory_scan.h"
#include "memories/memory_texts.h"
#include "support/test_env.h"

#include <vector>

namespace dovrane::test {
namespace {

using Set = MemoryTransfer::SetResult;

class MemoryScanTest : public AppTest {};

// What the receiver made of each tick's cell, in turn; the scan runs until
// it stops or the list ends.
struct ScanRun {
    QList<int> cells;        // the cells set
    int stoppedAt = 0;       // the tick (1..) that stopped the run, 0 for none
    QList<int> refusalTold;  // the ticks that told of another model's record
};

ScanRun scanCells(int from, int to, const std::vector<Set>& answers) {
    size_t i = 0;
    MemoryScan scan([&](int) { return answers[i]; });
    scan.start(from, to);
    ScanRun r;
    for (i = 0; i < answers.size(); ++i) {
        const MemoryScan::Tick t = scan.tick();
        r.cells << t.cell;
        if (t.firstRefusal) r.refusalTold << int(i) + 1;
        if (t.stopped) {
            r.stoppedAt = int(i) + 1;
            break;
        }
    }
    return r;
}

TEST_F(MemoryScanTest, ThreeUnansweredCellsInARowStopTheRun) {
    const Set S = Set::Sent, N = Set::NotTaken, P = Set::Passed, M = Set::NotOfModel;
    const struct Case {
        const char* what;
        int from, to;
        std::vector<Set> answers;
        ScanRun expected;
    } cases[] = {
        {"every cell answered, round and round", 5, 7, {S, S, S, S, S}, {{5, 6, 7, 5, 6}, 0, {}}},
        {"silent from the start", 0, 9, {N, N, N, S}, {{0, 1, 2}, 3, {}}},
        {"an answer starts the count again", 0, 9, {N, N, S, N, N, S, N, N, N}, {{0, 1, 2, 3, 4, 5, 6, 7, 8}, 9, {}}},
        {"silence across the wrap", 3, 4, {S, N, N, N}, {{3, 4, 3, 4}, 4, {}}},
        {"a vacant cell neither counts nor answers", 0, 9, {N, P, N, P, N}, {{0, 1, 2, 3, 4}, 5, {}}},
        {"another model's records told once", 0, 3, {M, S, M, M, S}, {{0, 1, 2, 3, 0}, 0, {1}}},
        {"a refused record neither counts nor answers", 0, 1, {N, M, N, N}, {{0, 1, 0, 1}, 4, {2}}},
    };
    qsizetype stops = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const qsizetype before = dialogs.shown().size();
        if (c.expected.stoppedAt) dialogs.expect(memtext::ScanStopped);
        const ScanRun r = scanCells(c.from, c.to, c.answers);
        EXPECT_EQ(r.cells, c.expected.cells);
        EXPECT_EQ(r.stoppedAt, c.expected.stoppedAt);
        EXPECT_EQ(r.refusalTold, c.expected.refusalTold);
        EXPECT_EQ(dialogs.shown().size(), before) << "no box inside a tick";
        pump(20);
        EXPECT_EQ(dialogs.pending(), 0);
        if (c.expected.stoppedAt) ++stops;
    }
    EXPECT_EQ(dialogs.shown().size(), stops) << "one message for each stopped run";
    for (const dialogs::Box& box : dialogs.shown()) EXPECT_EQ(box.title, memtext::ScanTitle);
}

TEST_F(MemoryScanTest, ANewRunCountsAfresh) {
    int calls = 0;
    MemoryScan scan([&](int) {
        ++calls;
        return Set::NotTaken;
    });
    scan.start(0, 9);
    EXPECT_FALSE(scan.tick().stopped);
    EXPECT_FALSE(scan.tick().stopped);
    scan.stop();
    scan.start(4, 9);
    EXPECT_EQ(scan.nextCell(), 4);
    EXPECT_FALSE(scan.tick().stopped) << "Stop and Run again: the count starts over";
    EXPECT_FALSE(scan.tick().stopped);
    dialogs.expect(memtext::ScanStopped);
    EXPECT_TRUE(scan.tick().stopped);
    pump(20);
    EXPECT_EQ(calls, 5);
    EXPECT_EQ(dialogs.pending(), 0);
}

} // namespace
} // namespace dovrane::test
