#pragma once
// The spectrum scan without its window: the limits and their check, the graph's
// scale, and the run itself, one step per tick. The run reads levels and tunes
// through the two functions it is given, so it can be driven tick by tick.
#include "shell/run_notice.h"

#include <QString>
#include <array>
#include <functional>
#include <optional>

namespace dovrane {

inline constexpr int SpecMaxIndex = 500;
using SpecValueArray = std::array<float, SpecMaxIndex + 1>;

struct SpectrumLimits {
    double lower = 0;
    double upper = 0;
    double step = 0;

    // (upper - lower) / step. A range such as 14000-14035 kHz at 0.07 kHz is
    // exactly 500 steps, but the division gives 499.99999999999994; the small
    // tolerance keeps such ranges whole, so the upper limit is scanned.
    double ratio() const;
    // N, the index of the last step.
    int lastIndex() const;
    // The frequency of step i.
    double freqOf(int i) const { return i * step + lower; }
    // Step above 0, lower >= freqMin, upper > lower, upper <= freqMax and at
    // most 500 steps.
    bool valid(double freqMin, double freqMax) const;
};

// Largest whole number not above x, forgiving the last bits of a division.
double tolerantInt(double x);

// Graph geometry in pixels: 500 pixels for the range from x 70, 12 pixels per
// S unit above the base line at y 400.
int spectrumX(double kHz, const SpectrumLimits& lim);
int spectrumY(double level);
// The step under the pointer at X, and the step a click at Xi tunes.
double spectrumMouseFreq(double X, const SpectrumLimits& lim);
double spectrumClickFreq(int Xi, const SpectrumLimits& lim);

class SpectrumScan {
public:
    using SampleFn = std::function<std::optional<float>()>;
    // True when the receiver took the frequency.
    using TuneFn = std::function<bool(double kHz)>;

    SpectrumScan(SampleFn sample, TuneFn tune);

    // A scan as the limits dialog's OK sets it up: every value back to 0.
    void setup(const SpectrumLimits& lim, bool loop, bool keepHighest);
    // The dwell per step, held at 0.5 to 5 s. It stays with the scan, so a
    // run resumed over loaded data dwells as the last one did (1 s before
    // any was set).
    void setDelay(double seconds);
    int delayMs() const { return delayMs_; }
    // Starts or resumes the run: tunes the step that the next tick measures.
    // After a stop that is the step where the run left off.
    void begin();

    struct Tick {
        bool measured = false;   // a level was taken and stored for `index`
        bool wrapped = false;    // a loop went back to the lower limit
        bool finished = false;   // a single run has measured its last step
        bool failed = false;     // three reads or tunings in a row got no answer
        // The step measured, or the one tried when no level came: a step
        // whose sample went unanswered is measured again by the next tick,
        // so every step saved or drawn holds a level the receiver gave.
        int index = -1;
        double freq = 0;         // its frequency
        float level = 0;         // the level read
        double next = 0;         // the frequency tuned for the next tick
    };
    Tick tick();

    // Whether "Continue" may resume after a stop.
    bool continueAllowed() const;

    const SpectrumLimits& limits() const { return lim_; }
    bool loop() const { return loop_; }
    bool keepHighest() const { return keepHighest_; }
    int index() const { return index_; }
    int lastIndex() const { return lim_.lastIndex(); }
    const SpecValueArray& values() const { return values_; }
    // The highest step stored since the values were erased; -1 for none.
    int measuredTop() const { return measuredTop_; }
    // Makes loaded data the present scan: saving now writes what was loaded.
    void adopt(const SpectrumLimits& lim, const SpecValueArray& values, int last);

private:
    SampleFn sample_;
    TuneFn tune_;
    SpectrumLimits lim_;
    bool loop_ = false;
    bool keepHighest_ = false;
    int index_ = 0;
    int measuredTop_ = -1;
    SilenceCount silence_;
    int delayMs_ = 1000;
    bool tuned_ = true;   // the receiver took the step the next tick measures
    SpecValueArray values_{};
};

} // namespace dovrane
