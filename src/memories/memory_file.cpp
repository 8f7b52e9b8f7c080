#include "memories/memory_file.h"

#include "drivers/memory_record.h"
#include "platform/text_file.h"

namespace dovrane {

QStringList memoryFileLines(const MemoryImage& image) {
    QStringList lines;
    lines.reserve(image.maxMemNr() + 1);
    for (int n = 0; n <= image.maxMemNr(); ++n) {
        const QString r = image.record(n);
        lines << (r.isEmpty() ? QString() : r + fitText(image.tag(n), MemoryTagLength));
    }
    return lines;
}

MemoryImage memoryImageFromLines(const QStringList& lines, int maxMemNr, int* notRecords) {
    MemoryImage image;
    image.create(maxMemNr);
    int bad = 0;
    for (int i = 0; i < lines.size() && i <= maxMemNr; ++i) {
        const QString& line = lines.at(i);
        if (line.trimmed().isEmpty()) continue;
        // Column 35 of a record is always a blank: it is not read.
        const QString record = fitText(line.left(MemoryRecordLength - 1), MemoryRecordLength);
        if (!isMemoryRecord(record)) {
            ++bad;
            continue;
        }
        image.setRecord(i, record);
        if (line.size() > MemoryRecordLength - 1) image.setTag(i, line.mid(MemoryRecordLength, MemoryTagLength));
    }
    if (notRecords) *notRecords = bad;
    return image;
}

bool readMemoryFile(const QString& path, int maxMemNr, MemoryImage& image, int* notRecords) {
    const auto lines = readLines(path);
    if (!lines) return false;
    image = memoryImageFromLines(*lines, maxMemNr, notRecords);
    return true;
}

bool writeMemoryFile(const QString& path, const MemoryImage& image, QString* error) {
    return writeLines(path, memoryFileLines(image), error);
}

} // namespace dovrane
