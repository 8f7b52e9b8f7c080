#include "lists/scratchpad_file.h"
#include "platform/text_file.h"

namespace dovrane {

QString scratchpadLine(const QStringList& cells) {
    QString line;
    for (const QString& c : cells) line += c + QLatin1Char(',');
    return line;
}

QStringList scratchpadCells(const QString& line) {
    QStringList cells = line.split(QLatin1Char(','));
    cells.removeLast();   // what follows the last "," (or the whole line without one)
    while (cells.size() > ScratchpadColumns) cells.removeLast();
    return cells;
}

QString scratchpadCellText(const QString& typed) {
    QString t = typed;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    return t;
}

std::optional<QList<QStringList>> readScratchpadFile(const QString& path) {
    const std::optional<QStringList> lines = readLines(path);
    if (!lines) return std::nullopt;
    QList<QStringList> rows;
    for (const QString& line : *lines) {
        if (rows.size() >= ScratchpadRows) break;
        rows.append(scratchpadCells(line));
    }
    return rows;
}

bool writeScratchpadFile(const QString& path, const QList<QStringList>& rows, QString* error) {
    QStringList lines;
    for (const QStringList& r : rows) lines.append(scratchpadLine(r));
    return writeLines(path, lines, error);
}

} // namespace dovrane
