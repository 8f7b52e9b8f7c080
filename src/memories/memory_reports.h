#pragma once
// The memory manager's reports that are put together from what a transfer
// did (the fixed texts are in memory_texts.h).
#include "memories/memory_transfer.h"

#include <QString>

namespace dovrane {

// The report of a fill after its first line: what became of the cells that
// were not written, in one paragraph each.
QString fillNotes(const MemoryTransfer::Result& res);

struct FillReport {
    QString text;
    QString title;
    bool failure = false;  // an exclamation box: the fill did not do all it was asked
};
// The report of a fill of the cells up to `to`. A fill that lost the
// receiver starts with `notice` (that the receiver does not answer), then
// names the cells sent but never confirmed and the cells never sent; one
// that wrote nothing says so instead of reporting the memory loaded.
FillReport fillReport(const MemoryTransfer::Result& res, int to, const QString& notice);

} // namespace dovrane
