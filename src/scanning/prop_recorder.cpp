#include "scanning/prop_recorder.h"

#include <algorithm>
#include <cstdlib>

namespace dovrane {

namespace {
// No more than one day of boundaries is closed at once.
constexpr qint64 kMaxCatchUpSecs = 24 * 3600;
// The wall clock and the steady clock part by more than this only when the
// wall clock is stepped; a smaller difference is the clocks' own drift, or a
// correction too small to lose or repeat a quarter.
constexpr qint64 kStepMs = 2000;
}

void PropRecorder::Range::fold(float v) {
    if (empty) {
        min = max = v;
        empty = false;
        return;
    }
    min = std::min(min, v);
    max = std::max(max, v);
}

void PropRecorder::start(const QDateTime& utc, qint64 steadyMs) {
    lastMs_ = utc.toMSecsSinceEpoch();
    lastSteadyMs_ = steadyMs;
    quarter_ = Range();
    day_ = Range();
    lineHour_ = lineMinute_ = -1;
    line_.fill(std::nullopt);
}

void PropRecorder::closeQuarter(const QDateTime& at, int quarter, PropTickResult& out) {
    const QTime t = at.time();
    PropQuarter q;
    q.hour = t.hour();
    q.minute = t.minute();
    q.second = t.second();
    q.quarter = quarter;
    q.empty = quarter_.empty;
    q.range = {quarter_.min, quarter_.max};
    out.quarters.push_back(q);
    quarter_ = Range();

    if (quarter == 0 || lineHour_ != q.hour || lineMinute_ != q.minute) {
        for (auto& g : line_) g.reset();
        lineHour_ = q.hour;
        lineMinute_ = q.minute;
    }
    if (!q.empty && quarter >= 0 && quarter < int(line_.size())) line_[quarter] = q.range;
    if (quarter == 3) {
        const bool whole = std::all_of(line_.begin(), line_.end(), [](const auto& g) { return g.has_value(); });
        if (whole) {
            std::array<PropGroup, 4> groups;
            for (int k = 0; k < 4; ++k) groups[k] = *line_[k];
            out.lines << propMinuteLine(q.hour, q.minute, groups);
        }
        line_.fill(std::nullopt);
        lineHour_ = lineMinute_ = -1;
    }
}

void PropRecorder::closeDay(const QDateTime& at, PropTickResult& out) {
    PropDaySample d;
    d.hour = at.time().hour();
    d.minute = at.time().minute();
    d.empty = day_.empty;
    d.range = {day_.min, day_.max};
    out.days.push_back(d);
    day_ = Range();
}

void PropRecorder::closeThrough(qint64 endMs, PropTickResult& out) {
    // From the first whole second after the last tick.
    closeSeconds(lastMs_ / 1000 + 1, endMs / 1000, out);
}

void PropRecorder::closeSeconds(qint64 from, qint64 to, PropTickResult& out) {
    from = std::max(from, to - kMaxCatchUpSecs);
    for (qint64 s = from; s <= to; ++s) {
        const QDateTime at = QDateTime::fromSecsSinceEpoch(s, Qt::UTC);
        const int sec = at.time().second();
        const int min = at.time().minute();
        if (sec % 15 == 1) closeQuarter(at, sec / 15, out);
        if (sec == 2 && min % 6 == 1) closeDay(at, out);
    }
}

void PropRecorder::closeOpen(qint64 afterMs, PropTickResult& out) {
    // The next boundary of each kind after afterMs: a quarter within 15 s, a
    // day-graph sample within six minutes.
    bool quarterDone = quarter_.empty, dayDone = day_.empty;
    for (qint64 s = afterMs / 1000 + 1; !(quarterDone && dayDone) && s <= afterMs / 1000 + 6 * 60; ++s) {
        const QDateTime at = QDateTime::fromSecsSinceEpoch(s, Qt::UTC);
        const int sec = at.time().second();
        if (!quarterDone && sec % 15 == 1) {
            closeQuarter(at, sec / 15, out);
            quarterDone = true;
        }
        if (!dayDone && sec == 2 && at.time().minute() % 6 == 1) {
            closeDay(at, out);
            dayDone = true;
        }
    }
    quarter_ = Range();
    day_ = Range();
    // A minute begun under the old reading is not finished under the new one.
    line_.fill(std::nullopt);
    lineHour_ = lineMinute_ = -1;
}

PropTickResult PropRecorder::tick(const QDateTime& utc, qint64 steadyMs, std::optional<float> level) {
    PropTickResult out;
    const qint64 nowMs = utc.toMSecsSinceEpoch();
    const qint64 passed = std::max<qint64>(0, steadyMs - lastSteadyMs_);
    lastSteadyMs_ = steadyMs;
    // Where the wall clock would stand had nobody touched it.
    const qint64 runOn = lastMs_ + passed;
    if (std::abs(nowMs - runOn) > kStepMs) {
        // Stepped: the boundaries the time that passed has crossed are closed
        // as the old reading counts them, and so is what the open quarter and
        // day range hold, at their next boundary: no sample taken before the
        // step is reported under the new reading. This tick's level is the
        // first of the new reading, from which the next tick counts.
        closeThrough(runOn, out);
        closeOpen(runOn, out);
        if (level) {
            quarter_.fold(*level);
            day_.fold(*level);
        }
        lastMs_ = nowMs;
        return out;
    }
    auto fold = [&] {
        if (level) {
            quarter_.fold(*level);
            day_.fold(*level);
        }
    };
    // Set back a little: the seconds since are counted once.
    if (nowMs <= lastMs_) {
        fold();
        return out;
    }
    // A level belongs where it was read: the boundaries before this tick's
    // own second are closed without it, however long the gap (a sleep, a
    // machine that stood still); the boundary of its own second with it.
    const qint64 firstSec = lastMs_ / 1000 + 1;
    const qint64 nowSec = nowMs / 1000;
    closeSeconds(firstSec, nowSec - 1, out);
    fold();
    if (nowSec >= firstSec) closeSeconds(nowSec, nowSec, out);
    lastMs_ = nowMs;
    return out;
}

} // namespace dovrane
