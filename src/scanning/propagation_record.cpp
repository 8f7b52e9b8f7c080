#include "scanning/propagation_record.h"
#include "platform/number_text.h"
#include "platform/text_file.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace dovrane {

namespace {

qint64 secondsOf(const QDateTime& t) {
    return QDateTime(t.date(), t.time(), Qt::UTC).toSecsSinceEpoch();
}

// The first instant at or after t whose remainder by period is offset.
qint64 firstAtOrAfter(qint64 t, qint64 period, qint64 offset) {
    qint64 r = ((t - offset) % period + period) % period;
    return r == 0 ? t : t + (period - r);
}

constexpr qint64 kQuarter = 15;   // samples at seconds 1, 16, 31, 46
constexpr qint64 kDay = 360;      // second 2 of minutes 1, 7, ..., 55

} // namespace

void LevelSpan::add(float level) {
    if (!any) {
        min = max = level;
        any = true;
        return;
    }
    min = std::min(min, level);
    max = std::max(max, level);
}

QString propValueText(float level) {
    const double tenths = std::clamp(vbInt(double(level * 10.0f)), 0.0, 999.0);
    return formatPattern(tenths, QStringLiteral(" 000"));
}

QString propGroupText(const LevelSpan& span) { return propValueText(span.min) + propValueText(span.max); }

void PropagationRecorder::start(const QDateTime& utc) {
    const qint64 t = secondsOf(utc);
    nextQuarter_ = firstAtOrAfter(t, kQuarter, 1);
    nextDay_ = firstAtOrAfter(t, kDay, 62);
    quarter_ = day_ = LevelSpan{};
    lineMinute_ = -1;
    groups_ = {};
}

PropagationRecorder::Tick PropagationRecorder::tick(const QDateTime& utc, std::optional<float> level) {
    Tick t;
    const qint64 now = secondsOf(utc);
    t.second = int(((now % 60) + 60) % 60);
    t.level = level;
    if (level) {
        quarter_.add(*level);
        day_.add(*level);
    }
    // The tick's own sample closes the first instant passed; instants that no
    // tick reached (a tick more than 15 s late) take that same sample.
    for (bool first = true; nextQuarter_ <= now; first = false) closeQuarter(nextQuarter_, t, first, level);
    for (bool first = true; nextDay_ <= now; first = false) closeDay(nextDay_, t, first, level);
    return t;
}

void PropagationRecorder::closeQuarter(qint64 at, Tick& t, bool first, std::optional<float> level) {
    nextQuarter_ = at + kQuarter;
    LevelSpan span = quarter_;
    quarter_ = LevelSpan{};
    if (!first && level) span.add(*level);
    const qint64 minuteNo = at / 60;
    const int q = int((at % 60) / kQuarter);
    if (span.any) t.quarters << QuarterBar{int((at / 3600) % 24), int(minuteNo % 60), q, span};
    if (minuteNo != lineMinute_) {
        lineMinute_ = minuteNo;
        groups_ = {};
    }
    groups_[size_t(q)] = span;
    if (q != 3) return;
    // A minute whose four quarters all hold a sample makes a line.
    if (std::all_of(groups_.begin(), groups_.end(), [](const LevelSpan& s) { return s.any; })) {
        QString line = formatPattern(double((minuteNo / 60) % 24), QStringLiteral("00")) + QLatin1Char(':') +
                       formatPattern(double(minuteNo % 60), QStringLiteral("00"));
        for (const LevelSpan& g : groups_) line += propGroupText(g);
        t.lines << line;
    }
    groups_ = {};
    lineMinute_ = -1;
}

void PropagationRecorder::closeDay(qint64 at, Tick& t, bool first, std::optional<float> level) {
    nextDay_ = at + kDay;
    LevelSpan span = day_;
    day_ = LevelSpan{};
    if (!first && level) span.add(*level);
    if (span.any) t.days << DayBar{int((at / 3600) % 24), int((at / 60) % 60), span};
}

PropMinute parsePropMinute(const QString& line) {
    PropMinute m;
    m.time = line.left(5);
    m.hour = int(val(line.mid(0, 2)));
    m.minute = int(val(line.mid(3, 2)));
    for (int k = 0; k < 4; ++k) {
        m.min[size_t(k)] = float(val(line.mid(6 + 8 * k, 3)) / 10);
        m.max[size_t(k)] = float(val(line.mid(10 + 8 * k, 3)) / 10);
    }
    return m;
}

PropFile parsePropLines(const QStringList& lines) {
    PropFile f;
    f.date = lines.value(0);
    f.frequency = lines.value(1);
    f.station = lines.value(2);
    for (int i = 3; i < lines.size(); ++i)
        if (!lines[i].trimmed().isEmpty()) f.minutes << parsePropMinute(lines[i]);
    return f;
}

QList<PropTraces::Segment> PropTraces::add(const PropMinute& line, bool* hourEnds) {
    QList<Segment> out;
    const int m = line.minute, h = line.hour;
    const double dayX = vbRound(80 + 20.0 * h + m / 3.0);
    auto seg = [&out](double x1, double y1, double x2, double y2) {
        out << Segment{int(vbRound(x1)), int(vbRound(y1)), int(vbRound(x2)), int(vbRound(y2))};
    };
    const bool firstLine = !started_;
    if (firstLine) {
        started_ = true;
        hourMinX_ = hourMaxX_ = 80 + 8.0 * m;
        hourMinY_ = 279 - 4.0 * line.min[0];
        hourMaxY_ = 279 - 4.0 * line.max[0];
        dayMinX_ = dayMaxX_ = dayX;
        dayMinY_ = 409 - 4.0 * line.min[0];
        dayMaxY_ = 409 - 4.0 * line.max[0];
    }
    if (firstLine) {
        dayMin_ = std::numeric_limits<float>::infinity();
        dayMax_ = -std::numeric_limits<float>::infinity();
    }
    for (int k = 0; k < 4; ++k) {
        const float a = line.min[size_t(k)], b = line.max[size_t(k)];
        if (!firstLine) {
            dayMin_ = std::min(dayMin_, a);
            dayMax_ = std::max(dayMax_, b);
        }
        const double x = 80 + 8.0 * m + 2 * k;
        seg(hourMinX_, hourMinY_, x, 279 - 4.0 * a);
        seg(hourMaxX_, hourMaxY_, x, 279 - 4.0 * b);
        hourMinX_ = hourMaxX_ = (m == 59 && k == 3) ? 80 : x;
        hourMinY_ = 279 - 4.0 * a;
        hourMaxY_ = 279 - 4.0 * b;
        if (!firstLine && m % 6 == 1) {
            seg(dayMinX_, dayMinY_, dayX, 409 - 4.0 * dayMin_);
            seg(dayMaxX_, dayMaxY_, dayX, 409 - 4.0 * dayMax_);
            dayMinX_ = dayMaxX_ = (h == 23 && m == 55) ? 80 : dayX;
            dayMinY_ = 409 - 4.0 * dayMin_;
            dayMaxY_ = 409 - 4.0 * dayMax_;
            dayMin_ = std::numeric_limits<float>::infinity();
            dayMax_ = -std::numeric_limits<float>::infinity();
        }
    }
    if (hourEnds) *hourEnds = m == 59;
    return out;
}

PrintPlot printPlot(const QList<PropMinute>& minutes) {
    PrintPlot p;
    if (minutes.isEmpty()) return p;
    const int h0 = minutes[0].hour, m0 = minutes[0].minute;
    for (int i = 0; i < minutes.size(); ++i) {
        const PropMinute& line = minutes[i];
        int m = 0;
        if (i > 0) m = (((line.hour - h0) * 60 + (line.minute - m0)) % 1440 + 1440) % 1440;
        for (int k = 0; k < 4; ++k) {
            float lo = line.min[size_t(k)];
            const float hi = line.max[size_t(k)];
            if (i > 0 && lo == hi) lo -= 0.2f;
            const int x = 120 + 4 * m + k;
            if (x >= PrintPlotRight) continue;
            p.bars << PrintPlot::Bar{x, 528 - 8.0 * hi, 528 - 8.0 * lo};
            if (i > 0 && k == 0 && line.minute % 10 == 0) p.marks << PrintPlot::Mark{x, line.time};
        }
    }
    return p;
}

QStringList readProp2prtIni(const QString& path) {
    const std::optional<QStringList> lines = readLines(path);
    if (!lines) return {};
    return lines->mid(0, 9);
}

} // namespace dovrane
