#include "scanning/smeter_histogram.h"

#include <cmath>

namespace dovrane {

float SmeterHistogram::clampLevel(float level) {
    if (std::isnan(level) || level < 1) return 1;
    if (level > 21) return 21;
    return level;
}

int SmeterHistogram::binOf(float level) {
    for (int b = 1; b <= Bins; ++b)
        if (float(b) - 0.5f <= level && level < float(b) + 0.5f) return b;
    return 0;
}

void SmeterHistogram::clear() {
    ring_.fill(0);
    counts_.fill(0);
}

SmeterHistogram::Change SmeterHistogram::add(float level) {
    pos_ = pos_ + 1 > Slots ? 1 : pos_ + 1;
    const float old = ring_[pos_];
    ring_[pos_] = level;
    Change c;
    c.lost = binOf(old);
    if (c.lost) --counts_[c.lost];
    c.gained = binOf(level);
    if (c.gained) ++counts_[c.gained];
    return c;
}

} // namespace dovrane
