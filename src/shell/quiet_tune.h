#pragma once
// Tuning for callers that must never open a box: timer ticks of the scans,
// the recorders and the timer programme. The same as Change2FreqA, but the
// caller learns from the result what happened and decides what to show,
// after its tick.
namespace dovrane {

enum class TuneResult {
    Tuned,       // sent, and the panel shows it
    OutOfRange,  // outside FreqMin..FreqMax: nothing sent
    NoReceiver,  // RxType 0 (or no port): nothing sent
    Failed,      // the receiver could not be sent the frequency
};

TuneResult tuneQuietly(double kHz);

} // namespace dovrane
