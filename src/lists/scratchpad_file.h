#pragma once
// The scratchpad file (file kind 9): one line per grid row, each cell's text
// followed by ",", so a row of eight cells is a line of eight commas at least.
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace dovrane {

inline constexpr int ScratchpadRows = 10;
inline constexpr int ScratchpadColumns = 8;

// The line of one row: every cell followed by ",".
QString scratchpadLine(const QStringList& cells);
// The cells of one line: each field that a "," ends, empty ones too; text
// after the last "," is not a cell. At most ScratchpadColumns cells.
QStringList scratchpadCells(const QString& line);
// A cell's text as the grid keeps it. A "," would split the cell in the file,
// so it becomes "." (the decimal point of a typed frequency).
QString scratchpadCellText(const QString& typed);

// The rows of the file, at most ScratchpadRows lines; nothing when it cannot be read.
std::optional<QList<QStringList>> readScratchpadFile(const QString& path);
// Writes every row; the old file stays whole until the new one is complete.
bool writeScratchpadFile(const QString& path, const QList<QStringList>& rows, QString* error = nullptr);

} // namespace dovrane
