#include "scanning/smeter_histogram.h"

namespace dovrane {

void SmeterHistogram::clearCounts() {
    ring_.fill(0);
    counts_.fill(0);
}

int SmeterHistogram::binOf(float level) {
    for (int b = 1; b <= 21; ++b)
        if (float(b) - 0.5f <= level && level < float(b) + 0.5f) return b;
    return 0;
}

SmeterHistogram::Tick SmeterHistogram::tick(std::optional<float> reading) {
    Tick t;
    prev_ = cur_;
    if (reading) cur_ = *reading;
    if (cur_ < 1) cur_ = 1;
    if (cur_ > 21) cur_ = 21;
    t.prev = prev_;
    t.cur = cur_;
    if (!reading) return t;   // no reading: nothing enters the ring
    if (++pos_ > 60) pos_ = 1;
    t.old = ring_[size_t(pos_)];
    ring_[size_t(pos_)] = cur_;
    t.removedBin = binOf(t.old);
    if (t.removedBin) counts_[size_t(t.removedBin)] -= 1;
    t.addedBin = binOf(cur_);
    if (t.addedBin) counts_[size_t(t.addedBin)] += 1;
    return t;
}

} // namespace dovrane
