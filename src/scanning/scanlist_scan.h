#pragma once
// The frequency-list scan without its window: twenty rows tuned in turn, the
// last twenty samples of each row, and the trend of each row every few passes.
// Rows are read afresh at every step through the function the scan is given,
// since the user may edit them during a run.
#include "shell/run_notice.h"

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>

namespace dovrane {

inline constexpr int ScanlistRows = 20;
inline constexpr int ScanlistSamples = 20;
inline constexpr int ScanlistTrends = 10;

// Trend colours by their QBColor numbers.
enum TrendColour { TrendNone = 0, TrendRising = 10, TrendFalling = 12, TrendSteady = 14, TrendWhite = 15 };

// Whether a box may hold text: no line break or other control character, no
// blank but the plain one, and none between two parts ("7100 9500" is two
// numbers, not one).
bool scanlistBoxAccepts(const QString& text);
// The frequency of a box: its number value when the box may hold the text
// and the value lies within the receiver's limits; a "," ends the number, as
// in a box.
std::optional<double> scanlistFrequency(const QString& text, double freqMin, double freqMax);

// Runs/update: 3..10, otherwise 5. Delay per frequency: 1..10 s, otherwise 2.
int scanlistRunsPerUpdate(const QString& text);
float scanlistDelay(const QString& text);

class ScanlistScan {
public:
    using SampleFn = std::function<std::optional<float>()>;
    // True when the receiver took the frequency.
    using TuneFn = std::function<bool(double kHz)>;
    using RowFn = std::function<std::optional<double>(int row)>;

    ScanlistScan(SampleFn sample, TuneFn tune, RowFn row);

    // "Cls": histories and counters back to the start.
    void clear();
    // "Start": the first valid row becomes current and is tuned, so the first
    // sample belongs to it. False when no row holds a valid frequency.
    bool start(int runsPerUpdate);
    // "Continue": the receiver is still on the current row.
    void resume();

    struct Tick {
        int row = -1;             // the row measured
        bool measured = false;    // its history took a new sample
        bool trends = false;      // the trends were computed this tick
        bool noValidRow = false;  // no row holds a valid frequency: stop
        bool failed = false;      // three reads or tunings in a row got no answer: stop
        int next = -1;            // the row tuned for the next tick
    };
    Tick tick();
    // The trend step; the tick calls it once every N passes.
    void calctrend();

    int currentRow() const { return row_; }
    int passes() const { return passes_; }
    int runsPerUpdate() const { return n_; }
    // Sample k (1..20, 20 the newest) of a row.
    float sample(int row, int k) const { return history_[size_t(row)][size_t(k)]; }
    // Trend column j (1..10, 10 the newest) of a row, a QBColor number or 0.
    int trend(int row, int j) const { return trends_[size_t(row)][size_t(j)]; }

private:
    std::optional<int> firstValidRow() const;

    SampleFn sample_;
    TuneFn tune_;
    RowFn rowFreq_;
    std::array<std::array<float, ScanlistSamples + 1>, ScanlistRows> history_{};
    std::array<std::array<int, ScanlistTrends + 1>, ScanlistRows> trends_{};
    int n_ = 5;
    int row_ = 0;
    int passes_ = 0;
    int updates_ = 0;
    int trendCalls_ = 0;
    SilenceCount silence_;
    bool tuned_ = true;   // the receiver took the current row's frequency
};

// The scan-list file (file kind 11, "SFL_"): twenty lines, one per box, the
// frequency text with "," made ".", or "-" when it is not valid.
QStringList scanlistFileLines(const QStringList& boxes, double freqMin, double freqMax);
// The twenty box texts of a file's lines; lines after the twentieth are ignored.
QStringList scanlistBoxesFromLines(const QStringList& lines, double freqMin, double freqMax);

} // namespace dovrane
