#pragma once
// What the propagation recorder makes of its ticks, without a window: the
// level of each tick folds into the running quarter-minute and six-minute
// extremes; each quarter boundary (seconds 1, 16, 31 and 46 of every minute)
// and each day-graph boundary (second 2 of minutes 1, 7, ..., 55) is closed
// exactly once, by the first tick at or after it, however late, doubled or
// sparse the ticks come; a minute whose four quarters all hold samples gives
// one complete minute line. A level is filed in the quarter it was read in:
// a tick in second 1, 16, 31 or 46 closes that boundary with its level, a
// late tick closes the boundaries it passed without it.
//
// Boundaries carry the time as the wall clock reads it, but which of them a
// tick has passed is told by the time that really passed (a steady clock):
// when the wall clock steps (summer time, a clock set by hand, a new
// local-minus-UTC setting), the recording goes on from the new reading, so a
// repeated hour is recorded again and a skipped one leaves nothing behind;
// the samples taken before the step are closed under the old reading. The
// steady clock counts the time the computer sleeps, so a resume is no step:
// the quarters slept through are closed, empty, as after any gap, and the
// first level read on resume goes in the quarter of its own time.
#include "scanning/propagation_file.h"

#include <QDateTime>
#include <optional>
#include <vector>

namespace dovrane {

struct PropQuarter {
    int hour = 0, minute = 0, second = 0;   // the boundary (second 1, 16, 31 or 46)
    int quarter = 0;                         // 0..3
    bool empty = true;                       // no sample since the previous boundary
    PropGroup range;
};

struct PropDaySample {
    int hour = 0, minute = 0;
    bool empty = true;
    PropGroup range;
};

struct PropTickResult {
    std::vector<PropQuarter> quarters;    // in time order
    std::vector<PropDaySample> days;
    QStringList lines;                    // complete minute lines
};

class PropRecorder {
public:
    // A run starts: nothing gathered, boundaries counted from utc on;
    // steadyMs is the steady clock at the same moment.
    void start(const QDateTime& utc, qint64 steadyMs);
    // One tick at utc (and steadyMs) with its level (nothing when no sample
    // was taken).
    PropTickResult tick(const QDateTime& utc, qint64 steadyMs, std::optional<float> level);

private:
    struct Range {
        bool empty = true;
        float min = 0, max = 0;
        void fold(float v);
    };
    void closeQuarter(const QDateTime& at, int quarter, PropTickResult& out);
    void closeDay(const QDateTime& at, PropTickResult& out);
    // Every boundary after the last tick up to endMs of the wall clock.
    void closeThrough(qint64 endMs, PropTickResult& out);
    // Every boundary of the whole seconds from..to (at most a day of them).
    void closeSeconds(qint64 from, qint64 to, PropTickResult& out);
    // At a step: what the open ranges hold, closed at their next boundary
    // after afterMs, and nothing carried over.
    void closeOpen(qint64 afterMs, PropTickResult& out);

    qint64 lastMs_ = 0;       // the wall clock at the last tick
    qint64 lastSteadyMs_ = 0; // the steady clock then
    Range quarter_, day_;
    int lineHour_ = -1, lineMinute_ = -1;
    std::array<std::optional<PropGroup>, 4> line_{};
};

} // namespace dovrane
