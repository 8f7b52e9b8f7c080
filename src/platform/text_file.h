#pragma once
// The program's text files: one byte a character (Latin-1), lines ended with
// CR LF when written, CR LF, LF or CR accepted when read.
#include <QString>
#include <QStringList>
#include <optional>

namespace dovrane {

// The lines of a file; nullopt when it cannot be read.
std::optional<QStringList> readLines(const QString& path);
// Writes the lines through a temporary file so the old file stays whole until
// the new one is complete; creates missing folders. False and a reason on failure.
bool writeLines(const QString& path, const QStringList& lines, QString* error = nullptr);
// The real path of name in folder, matched without regard to case; the
// exact path when nothing matches.
QString findCaseInsensitive(const QString& folder, const QString& name);

} // namespace dovrane
