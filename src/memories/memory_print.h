#pragma once
// The memory print-out: a heading with the memory file's name, the column
// header of the receiver model and one fixed-pitch line per cell.
#include "memories/memory_image.h"

#include <QString>
#include <QStringList>

namespace dovrane {

// The column header of a model; empty with no receiver.
QString memoryPrintHeader(int rxType);
// The line of cell n (record r, tag t) with the present model's tables: a
// field that holds "@" or text prints as index 0 of its table, a value beyond
// the table as "?".
QString memoryPrintLine(int rxType, int n, const QString& record, const QString& tag);
// The whole print-out of cells from..to (from <= to).
QStringList memoryPrintLines(int rxType, const MemoryImage& image, int from, int to, const QString& fileName);

} // namespace dovrane
