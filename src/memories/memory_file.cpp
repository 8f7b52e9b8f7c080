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

MemoryImage memoryImageFromLines(const QStringList& lines, int maxMemNr) {
    MemoryImage image;
    image.create(maxMemNr);
    for (int i = 0; i < lines.size() && i <= maxMemNr; ++i) {
        const QString& line = lines.at(i);
        // Column 35 of a record is always a blank: it is not read.
        image.setRecord(i, line.left(MemoryRecordLength - 1));
        if (!image.isEmpty(i) && line.size() > MemoryRecordLength - 1)
            image.setTag(i, line.mid(MemoryRecordLength, MemoryTagLength));
    }
    return image;
}

bool readMemoryFile(const QString& path, int maxMemNr, MemoryImage& image) {
    const auto lines = readLines(path);
    if (!lines) return false;
    image = memoryImageFromLines(*lines, maxMemNr);
    return true;
}

bool writeMemoryFile(const QString& path, const MemoryImage& image, QString* error) {
    return writeLines(path, memoryFileLines(image), error);
}

} // namespace dovrane
