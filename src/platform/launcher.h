#pragma once
// Starting outside programs: detached, with an argument vector, never a shell.
#include <QString>
#include <QStringList>
#include <functional>

namespace dovrane::launcher {

// Opens a file with the desktop's handler for it; false when nothing opened it.
bool openFile(const QString& path);
// Starts the first of the given programs that exists; false when none could start.
bool startFirst(const QList<QPair<QString, QStringList>>& candidates);

// Tests replace the real launch: the function gets program and arguments.
using Hook = std::function<bool(const QString& program, const QStringList& args)>;
void setHook(Hook hook);
void clearHook();

} // namespace dovrane::launcher
