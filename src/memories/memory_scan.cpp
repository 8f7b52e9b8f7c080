#include "memories/memory_scan.h"

#include "drivers/model_tables.h"

#include "memories/memory_texts.h"
#include "platform/number_text.h"

#include <algorithm>

namespace dovrane {

MemoryScan::MemoryScan(SetFn set) : set_(std::move(set)) {}

MemoryScan::~MemoryScan() { *alive_ = false; }

void MemoryScan::start(int from, int to) {
    from_ = from;
    to_ = to;
    count_ = 0;
    onCell_ = -1;
    refusalTold_ = false;
    silence_ = SilenceCount();
}

void MemoryScan::stop() { notice_.release(); }

MemoryScan::Tick MemoryScan::tick() {
    Tick t;
    t.cell = nextCell();
    const std::shared_ptr<bool> alive = alive_;
    t.set = set_(t.cell);
    if (!*alive) return t;
    switch (t.set) {
    case MemoryTransfer::SetResult::NotOfModel:
        t.firstRefusal = !refusalTold_;
        refusalTold_ = true;
        break;
    case MemoryTransfer::SetResult::NotTaken:
        // Passed over twice; the third in a row ends the run.
        notice_.failed();
        if (silence_.failed()) {
            notice_.stopped(memtext::ScanStopped, memtext::ScanTitle);
            t.stopped = true;
            t.onCell = onCell_;
            return t;
        }
        break;
    case MemoryTransfer::SetResult::Sent:
        silence_.answered();
        notice_.release();
        onCell_ = t.cell;
        break;
    case MemoryTransfer::SetResult::Passed:
        break;
    }
    ++count_;
    if (t.cell >= to_) count_ = 0;
    t.onCell = onCell_;
    return t;
}

int memoryScanIntervalMs(int rxType, float delaySeconds) {
    // Set R2M's own time (the AR7030's the longest) is part of the delay.
    const double lead = rxType == int(RxModel::Ar7030) ? 0.95 : 0.1;
    return std::max(0, int(vbRound((double(delaySeconds) - lead) * 1000.0)));
}

} // namespace dovrane
