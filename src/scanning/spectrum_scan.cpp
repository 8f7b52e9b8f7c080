#include "scanning/spectrum_scan.h"
#include "platform/number_text.h"

#include <algorithm>
#include <cmath>

namespace dovrane {

namespace {
constexpr double kRelTolerance = 1e-9;
constexpr int kLeft = 70;
constexpr int kWidth = 500;
constexpr int kBase = 400;
constexpr int kPixelsPerUnit = 12;
} // namespace

double tolerantInt(double x) { return std::floor(x + kRelTolerance * std::max(1.0, std::fabs(x))); }

double SpectrumLimits::ratio() const { return (upper - lower) / step; }

int SpectrumLimits::lastIndex() const {
    if (!(step > 0) || !(upper > lower)) return 0;
    return int(std::min<double>(tolerantInt(ratio()), SpecMaxIndex));
}

bool SpectrumLimits::valid(double freqMin, double freqMax) const {
    if (!(step > 0) || !(lower >= freqMin) || !(upper > lower) || !(upper <= freqMax)) return false;
    const double r = ratio();
    return r <= SpecMaxIndex + kRelTolerance * r;
}

int spectrumX(double kHz, const SpectrumLimits& lim) {
    return int(vbRound((kHz - lim.lower) * kWidth / (lim.upper - lim.lower) + kLeft));
}

int spectrumY(double level) { return int(vbRound(kBase - kPixelsPerUnit * level)); }

double spectrumMouseFreq(double X, const SpectrumLimits& lim) {
    return tolerantInt((X - kLeft) / kWidth * lim.ratio()) * lim.step + lim.lower;
}

double spectrumClickFreq(int Xi, const SpectrumLimits& lim) {
    return tolerantInt(lim.ratio() * (Xi - kLeft) / kWidth) * lim.step + lim.lower;
}

SpectrumScan::SpectrumScan(SampleFn sample, TuneFn tune) : sample_(std::move(sample)), tune_(std::move(tune)) {}

void SpectrumScan::setup(const SpectrumLimits& lim, bool loop, bool keepHighest) {
    lim_ = lim;
    loop_ = loop;
    keepHighest_ = keepHighest;
    index_ = 0;
    measuredTop_ = -1;
    values_.fill(0.0f);
}

void SpectrumScan::setDelay(double seconds) {
    // A text that is no number reads as 0, and so as the shortest dwell.
    if (!(seconds >= 0.5)) seconds = 0.5;
    if (seconds > 5) seconds = 5;
    delayMs_ = int(vbRound(seconds * 1000));
}

void SpectrumScan::begin() {
    silence_.answered();
    if (index_ > lim_.lastIndex()) index_ = 0;
    tuned_ = tune_(lim_.freqOf(index_));
}

SpectrumScan::Tick SpectrumScan::tick() {
    Tick t;
    const int last = lim_.lastIndex();
    if (index_ > last) {
        t.finished = true;
        return t;
    }
    t.index = index_;
    t.freq = lim_.freqOf(index_);
    if (!tuned_) {
        // The receiver is not on this step: what it reads now belongs to
        // another frequency. Tune it again; the next tick measures.
        tuned_ = tune_(t.freq);
        t.next = t.freq;
        if (!tuned_ && silence_.failed()) t.failed = true;
        return t;
    }
    const std::optional<float> level = sample_();
    if (level) {
        silence_.answered();
        t.measured = true;
        t.level = *level;
        float& stored = values_[size_t(index_)];
        if (!keepHighest_ || *level > stored) stored = *level;
        measuredTop_ = std::max(measuredTop_, index_);
    } else {
        if (silence_.failed()) t.failed = true;
        // The step keeps no level it was not given: the receiver is still on
        // it, and the next tick measures it again.
        t.next = t.freq;
        return t;
    }
    ++index_;
    if (index_ > last) {
        if (!loop_) {
            // The last step is measured: nothing lies above the upper limit.
            t.finished = true;
            return t;
        }
        index_ = 0;
        t.wrapped = true;
    }
    t.next = lim_.freqOf(index_);
    tuned_ = tune_(t.next);
    return t;
}

bool SpectrumScan::continueAllowed() const { return index_ < lim_.ratio() - 2; }

void SpectrumScan::adopt(const SpectrumLimits& lim, const SpecValueArray& values, int last) {
    lim_ = lim;
    values_ = values;
    last = std::clamp(last, 0, SpecMaxIndex);
    measuredTop_ = last;
    index_ = last + 1;
}

} // namespace dovrane
