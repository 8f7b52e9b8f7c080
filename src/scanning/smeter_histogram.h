#pragma once
// The S-meter recorder's memory of its last sixty readings: a ring of the
// readings and, for each bin of one S unit (1..21), how many of them fall in
// it (b - 0.5 <= level < b + 0.5, compared in single precision).
#include <array>

namespace dovrane {

class SmeterHistogram {
public:
    static constexpr int Slots = 60;
    static constexpr int Bins = 21;

    // What one reading changed: the bin that lost the reading it replaced
    // and the bin that gained the new one (0 when none).
    struct Change {
        int lost = 0;
        int gained = 0;
    };

    // The reading, held to 1..21 as the meter shows it.
    static float clampLevel(float level);
    // The bin of a level, 0 when it falls in none.
    static int binOf(float level);

    // Empties the ring and the counts; the slot position is kept.
    void clear();
    Change add(float level);
    int count(int bin) const { return bin >= 1 && bin <= Bins ? counts_[bin] : 0; }
    int pos() const { return pos_; }

private:
    std::array<float, Slots + 1> ring_{};
    std::array<int, Bins + 2> counts_{};
    int pos_ = 0;
};

} // namespace dovrane
