#pragma once
// What the two file choosers hand a chosen file to: one loader per file kind
// (and sub-kind) and one writer per kind, registered by the windows that own
// the data. Also the name rules and the replace question that every save of a
// kind's file goes through.
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace dovrane {

// A loader reads FileKindPath(kind) & FileKindName(kind) into its window and
// returns true when it took the file. When it refuses the file or cannot read
// it, it says why, leaves its window and data as they were and returns false;
// the chooser then gives the kind its previous name back, so a later save
// never aims at a file that was not loaded.
using FileLoader = std::function<bool()>;
// A writer writes FileKindPath(kind) & FileKindName(kind) whole, replacing an
// old file only once the new one is complete (writeLines, QSaveFile), and
// returns false when it could not; the chooser then says so and never reports
// the file as saved. The writer of kind 13 instead opens the file for appending
// as the RTTY output (closing one it had open) and shows its name in the RTTY
// window's lblSave.
using FileWriter = std::function<bool()>;

// subKind 0 serves every sub-kind of the kind that has no loader of its own.
// An empty function removes the entry.
void registerLoader(int kind, int subKind, FileLoader loader);
void registerWriter(int kind, FileWriter writer);
// Drops every loader and writer (tests).
void clearFileKindHandlers();

bool hasLoader(int kind, int subKind);
bool hasWriter(int kind);
// Calls the loader: true when it took the file, false when it did not or the
// kind has none.
bool runLoader(int kind, int subKind);
// Calls the writer; nullopt when the kind has none, else what it returned.
std::optional<bool> runWriter(int kind);

// What a kind's files hold, for the message that their window is missing.
QString fileKindData(int kind, int subKind);

// The files a load chooser offers: names in FileKindPath(kind) matching the
// kind's pattern (letter case ignored), sorted by name. A missing folder gives none.
QStringList loadableFiles(int kind, int subKind, int rxType);
// Every file in a folder under its real name, sorted by name.
QStringList filesInFolder(const QString& folder);

// The save chooser's name test: the kind's prefix and ".TXT" (either case),
// at most 16 characters before the last ".", and nothing that could leave the
// kind's folder: no "/", "\" or control character.
bool validSaveName(int kind, const QString& name);
// A name that can only ever mean a file directly inside the kind's folder.
bool safeFileName(const QString& name);

// Whether the save of name into FileKindPath(kind) may go ahead. With ask, an
// existing file of exactly that name gets the replace question; No or Cancel
// tells that the save was aborted and gives false. Nothing is deleted: the
// writer replaces the file once its new content is complete. False too for a
// name that is not a plain file name, or one taken by something that is not a file.
bool checkfileexists(int kind, const QString& name, bool ask);
// The same for FileKindName(FileKind), as the log window's own save uses it.
bool checkfileexists(bool ask);

} // namespace dovrane
