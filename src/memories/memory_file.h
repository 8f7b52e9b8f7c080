#pragma once
// The memory file (file kind 8): one line per cell 0..MaxMemNr, the 35
// columns of the record followed by the 45 characters of the tag; an empty
// cell is an empty line.
#include "memories/memory_image.h"

#include <QString>
#include <QStringList>

namespace dovrane {

// The lines of the file for every cell of the image.
QStringList memoryFileLines(const MemoryImage& image);
// Fills a freshly created image of cells 0..maxMemNr from the lines of a
// file: lines beyond the last cell are ignored, and a line of blanks (or an
// empty one) leaves its cell empty. A record is the line's first 34
// characters and a blank; the tag starts at column 36. A line that is not
// the memory record of one of the models also leaves its cell empty, and is
// counted in notRecords.
MemoryImage memoryImageFromLines(const QStringList& lines, int maxMemNr, int* notRecords = nullptr);

// Reads or writes the file at path; false (and the image untouched) when it
// cannot be read or written. The old file stays whole until the new one is
// complete.
bool readMemoryFile(const QString& path, int maxMemNr, MemoryImage& image, int* notRecords = nullptr);
bool writeMemoryFile(const QString& path, const MemoryImage& image, QString* error = nullptr);

} // namespace dovrane
