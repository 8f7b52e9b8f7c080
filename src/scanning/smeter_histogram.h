#pragma once
// The S-meter recorder without its window: the marker's level, clamped to
// S1..S21, and the histogram of the last sixty readings in 21 bins of one
// S unit.
#include <array>
#include <optional>

namespace dovrane {

class SmeterHistogram {
public:
    // Empties the ring and the counts; the ring position stays.
    void clearCounts();

    struct Tick {
        float prev = 9;       // the marker's old level
        float cur = 9;        // its new level
        float old = 0;        // the reading that left the ring
        int removedBin = 0;   // the bin that lost a reading (0: none)
        int addedBin = 0;     // the bin that gained one (0: none)
    };
    // A reading (nothing: none could be taken, the marker keeps its level).
    Tick tick(std::optional<float> reading);

    float prev() const { return prev_; }
    float cur() const { return cur_; }
    int pos() const { return pos_; }
    // Readings in bin b (1..21).
    int count(int b) const { return int(counts_[size_t(b)]); }

    // The bin of a level: b - 0.5 <= level < b + 0.5, compared in single
    // precision; 0 when it lies in none.
    static int binOf(float level);

private:
    float prev_ = 9, cur_ = 9;
    std::array<float, 61> ring_{};
    int pos_ = 0;
    std::array<float, 23> counts_{};
};

} // namespace dovrane
