#include "scanning/scanlist_scan.h"
#include "platform/number_text.h"
#include "platform/one_line_text.h"

#include <cmath>

namespace dovrane {

bool scanlistBoxAccepts(const QString& text) {
    if (holdsControlCharacter(text)) return false;
    // A blank of any other kind (a no-break space, a thin space) splits two
    // numbers just as one does, and no number reads past it.
    for (QChar c : text)
        if (c.isSpace() && c != QLatin1Char(' ')) return false;
    const QString inner = text.trimmed();
    return !inner.contains(QLatin1Char(' '));
}

std::optional<double> scanlistFrequency(const QString& text, double freqMin, double freqMax) {
    if (!scanlistBoxAccepts(text)) return std::nullopt;
    const double f = val(text);
    if (f >= freqMin && f <= freqMax) return f;
    return std::nullopt;
}

int scanlistRunsPerUpdate(const QString& text) {
    const double n = vbRound(val(text));
    return (n < 3 || n > 10) ? 5 : int(n);
}

float scanlistDelay(const QString& text) {
    const float d = float(val(text));
    return (d >= 1 && d <= 10) ? d : 2.0f;
}

ScanlistScan::ScanlistScan(SampleFn sample, TuneFn tune, RowFn row)
    : sample_(std::move(sample)), tune_(std::move(tune)), rowFreq_(std::move(row)) {}

void ScanlistScan::clear() {
    for (auto& r : history_) r.fill(0.0f);
    for (auto& r : trends_) r.fill(0);
    row_ = 0;
    passes_ = 0;
    updates_ = 0;
    trendCalls_ = 0;
    silence_.answered();
}

std::optional<int> ScanlistScan::firstValidRow() const {
    for (int r = 0; r < ScanlistRows; ++r)
        if (rowFreq_(r)) return r;
    return std::nullopt;
}

bool ScanlistScan::start(int runsPerUpdate) {
    const std::optional<int> first = firstValidRow();
    if (!first) return false;
    n_ = runsPerUpdate;
    row_ = *first;
    passes_ = 0;
    updates_ = 0;
    trendCalls_ = 0;
    silence_.answered();
    tuned_ = tune_(*rowFreq_(row_));
    return true;
}

void ScanlistScan::resume() { silence_.answered(); }

ScanlistScan::Tick ScanlistScan::tick() {
    Tick t;
    t.row = row_;
    if (!tuned_) {
        // The receiver is not on this row: what it reads now is another
        // frequency's. Tune it again; the next tick measures.
        const std::optional<double> f = rowFreq_(row_);
        tuned_ = !f || tune_(*f);
        t.next = row_;
        if (!tuned_ && silence_.failed()) t.failed = true;
        return t;
    }
    const std::optional<float> level = sample_();
    if (level) {
        silence_.answered();
        auto& h = history_[size_t(row_)];
        for (int k = 1; k < ScanlistSamples; ++k) h[size_t(k)] = h[size_t(k + 1)];
        h[ScanlistSamples] = *level;
        t.measured = true;
    } else if (silence_.failed()) {
        t.failed = true;
        return t;
    }
    // On to the next valid row; a whole round without one ends the search.
    std::optional<double> f;
    for (int moves = 0; moves < ScanlistRows && !f; ++moves) {
        if (++row_ >= ScanlistRows) {
            row_ = 0;
            if (++updates_ > n_ - 1) {
                updates_ = 0;
                calctrend();
                t.trends = true;
            }
            if (++passes_ >= 10000) passes_ = 1;
        }
        f = rowFreq_(row_);
    }
    if (!f) {
        t.noValidRow = true;
        return t;
    }
    t.next = row_;
    tuned_ = tune_(*f);
    return t;
}

void ScanlistScan::calctrend() {
    if (++trendCalls_ < 3) return;
    const float limit = float(n_) * 0.5f;
    for (int r = 0; r < ScanlistRows; ++r) {
        auto& tr = trends_[size_t(r)];
        for (int j = 1; j < ScanlistTrends; ++j) tr[size_t(j)] = tr[size_t(j + 1)] == 0 ? TrendWhite : tr[size_t(j + 1)];
        const auto& h = history_[size_t(r)];
        float recent = 0, older = 0;
        for (int k = 21 - n_; k <= 20; ++k) recent += h[size_t(k)];
        for (int k = 21 - 2 * n_; k <= 20 - n_; ++k) older += h[size_t(k)];
        const float d = recent - older;
        tr[ScanlistTrends] = std::fabs(d) <= limit ? TrendSteady : (d > limit ? TrendRising : TrendFalling);
    }
}

QStringList scanlistFileLines(const QStringList& boxes, double freqMin, double freqMax) {
    QStringList out;
    for (int i = 0; i < ScanlistRows; ++i) {
        QString text = i < boxes.size() ? boxes[i] : QString();
        text.replace(QLatin1Char(','), QLatin1Char('.'));
        out << (scanlistFrequency(text, freqMin, freqMax) ? text : QStringLiteral("-"));
    }
    return out;
}

QStringList scanlistBoxesFromLines(const QStringList& lines, double freqMin, double freqMax) {
    QStringList boxes;
    for (int i = 0; i < ScanlistRows; ++i) boxes << QStringLiteral("-");
    for (int i = 0; i < ScanlistRows && i < lines.size(); ++i) {
        QString text = lines[i];
        text.replace(QLatin1Char(','), QLatin1Char('.'));
        if (scanlistFrequency(text, freqMin, freqMax)) boxes[i] = text;
    }
    return boxes;
}

} // namespace dovrane
