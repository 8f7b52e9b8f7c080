#pragma once
// The propagation recorder without its window: quarter-minute and six-minute
// minimum and maximum of the level, the minute lines of the propagation file
// (file kind 7, "PAN_"), and the reading of such a file for the graphs and
// the print form.
//
// Ticks come every 850 ms but need not be regular: a second can see two
// ticks, a slow receiver read can push a tick past a sample second. So the
// recorder does not look for seconds 1, 16, 31 and 46 themselves; it closes
// every sample instant that has passed since the previous tick, each exactly
// once.
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace dovrane {

// Lowest and highest level of a span; empty while no sample came in.
struct LevelSpan {
    float min = 0;
    float max = 0;
    bool any = false;
    void add(float level);
};

// One group of a minute line: " min max", each a blank and three digits in
// tenths of an S unit, cut down and held within 000..999.
QString propGroupText(const LevelSpan& span);
QString propValueText(float level);

class PropagationRecorder {
public:
    // A recording starts at this UTC instant; samples before it are not counted.
    void start(const QDateTime& utc);

    struct QuarterBar {
        int hour = 0, minute = 0, quarter = 0;  // quarter 0..3: seconds 1, 16, 31, 46
        LevelSpan span;
    };
    struct DayBar {
        int hour = 0, minute = 0;
        LevelSpan span;
    };
    struct Tick {
        int second = 0;                 // the minute graph's column
        std::optional<float> level;     // the sample, when one was read
        QList<QuarterBar> quarters;     // hour-graph samples closed by this tick
        QList<DayBar> days;             // day-graph samples closed by this tick
        QStringList lines;              // complete minute lines (37 characters)
    };
    // One tick at this UTC instant with the level read (nothing: no sample).
    Tick tick(const QDateTime& utc, std::optional<float> level);

private:
    void closeQuarter(qint64 at, Tick& t, bool first, std::optional<float> level);
    void closeDay(qint64 at, Tick& t, bool first, std::optional<float> level);

    qint64 nextQuarter_ = 0;   // UTC seconds of the next quarter sample
    qint64 nextDay_ = 0;       // UTC seconds of the next day sample
    LevelSpan quarter_, day_;
    qint64 lineMinute_ = -1;   // the minute whose line is being built
    std::array<LevelSpan, 4> groups_{};
};

// A minute line as read: hour (columns 1-2), minute (4-5), four groups.
struct PropMinute {
    int hour = 0;
    int minute = 0;
    std::array<float, 4> min{};
    std::array<float, 4> max{};
    QString time;              // the first five characters
};
PropMinute parsePropMinute(const QString& line);

struct PropFile {
    QString date, frequency, station;
    QList<PropMinute> minutes;
};
// The header (missing lines empty) and every non-blank minute line.
PropFile parsePropLines(const QStringList& lines);

// The traces of a loaded file on the hour and day graphs.
class PropTraces {
public:
    struct Segment {
        int x1, y1, x2, y2;
    };
    // The segments of one minute line, in drawing order. hourEnds is set
    // after a minute-59 line.
    QList<Segment> add(const PropMinute& line, bool* hourEnds);

private:
    bool started_ = false;
    double hourMinX_ = 0, hourMinY_ = 0, hourMaxX_ = 0, hourMaxY_ = 0;
    double dayMinX_ = 0, dayMinY_ = 0, dayMaxX_ = 0, dayMaxY_ = 0;
    float dayMin_ = 0, dayMax_ = 0;
};

// The print form's graph of a file: vertical min-max lines, one pixel per
// quarter, four per minute from x 120, 8 pixels per S unit above y 528, and a
// time mark every ten minutes. Time counts on across midnight.
struct PrintPlot {
    struct Bar {
        int x;
        double yTop, yBottom;
    };
    struct Mark {
        int x;
        QString time;
    };
    QList<Bar> bars;
    QList<Mark> marks;
};
PrintPlot printPlot(const QList<PropMinute>& minutes);
inline constexpr int PrintPlotRight = 713;

// "prop2prt.ini": up to nine lines; a missing file gives none.
QStringList readProp2prtIni(const QString& path);

} // namespace dovrane
