#pragma once
// Reading the current file of a scan's file kind, as the scan windows' loaders do.
#include <QStringList>
#include <optional>

namespace dovrane {

// The lines of FileKindPath(kind) & FileKindName(kind); when the file cannot be
// read the user is told so ("Load File") and nothing comes back.
std::optional<QStringList> readKindFile(int kind);

} // namespace dovrane
