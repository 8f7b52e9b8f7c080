#pragma once
// The memory scan without its window: the cells of a range set on the
// receiver one a tick (Set R2M), round and round until Stop. A record of
// another model is passed over like a vacant cell, and the run tells so once;
// a receiver that leaves three cells in a row unanswered stops the run, with
// one message after the tick that found it.
#include "memories/memory_transfer.h"
#include "shell/run_notice.h"

#include <functional>
#include <memory>

namespace dovrane {

class MemoryScan {
public:
    // Sets the receiver to a cell: what Set R2M made of it.
    using SetFn = std::function<MemoryTransfer::SetResult(int cell)>;

    explicit MemoryScan(SetFn set);
    ~MemoryScan();
    MemoryScan(const MemoryScan&) = delete;
    MemoryScan& operator=(const MemoryScan&) = delete;

    // A new run over from..to (from <= to), from the first cell.
    void start(int from, int to);
    // The run ends by Stop or a close: a notice it took over is shown as the
    // driver would have shown it.
    void stop();

    struct Tick {
        int cell = -1;
        MemoryTransfer::SetResult set = MemoryTransfer::SetResult::Passed;
        // The first record of another model in this run: the window tells
        // the user, once, that the scan passes over such cells.
        bool firstRefusal = false;
        // The third cell in a row went unanswered: the run is over and its
        // message comes after the tick.
        bool stopped = false;
        // The cell the receiver was last set to in this run (-1 for none):
        // where it still is when the run stopped.
        int onCell = -1;
    };
    // The cell the next tick sets.
    int nextCell() const { return from_ + count_; }
    // When the window that owns the scan goes while the receiver is being
    // set, the tick returns at once, touching nothing.
    Tick tick();

private:
    SetFn set_;
    int from_ = 0;
    int to_ = 0;
    int count_ = 0;
    int onCell_ = -1;
    bool refusalTold_ = false;
    SilenceCount silence_;
    RunNotice notice_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// The scan timer's interval for a delay per cell of delaySeconds: what the
// receiver takes to settle after Set R2M is part of the delay.
int memoryScanIntervalMs(int rxType, float delaySeconds);

} // namespace dovrane
