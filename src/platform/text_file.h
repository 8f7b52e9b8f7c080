#pragma once
// The program's text files: one byte a character (Latin-1), lines ended with
// CR LF when written, CR LF, LF or CR accepted when read.
#include <QString>
#include <QStringList>
#include <optional>

namespace dovrane {

// The lines of a file; nullopt when it cannot be read.
std::optional<QStringList> readLines(const QString& path);
// The characters of text that a Latin-1 file cannot hold, each once, in the
// order they first appear; empty when every character can be stored.
QString unstorableCharacters(const QString& text);
// The reason a text holding those characters cannot be stored, naming them.
QString unstorableReason(const QString& characters);

// Writes the lines through a temporary file so the old file stays whole until
// the new one is complete; creates missing folders. A character that Latin-1
// cannot hold refuses the whole write: nothing is written that would not read
// back as it was given. False and a reason on failure; the reason also stays
// readable through lastWriteError() until the next write.
bool writeLines(const QString& path, const QStringList& lines, QString* error = nullptr);
// Why the last writeLines failed; empty after one that succeeded.
QString lastWriteError();
void clearLastWriteError();
// The real path of name in folder, matched without regard to case; the
// exact path when nothing matches.
QString findCaseInsensitive(const QString& folder, const QString& name);

} // namespace dovrane
