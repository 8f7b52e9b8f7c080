#include "platform/launcher.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace dovrane::launcher {

namespace {
Hook& hook() {
    static Hook h;
    return h;
}
} // namespace

void setHook(Hook h) { hook() = std::move(h); }
void clearHook() { hook() = nullptr; }

bool openFile(const QString& path) {
    if (hook()) return hook()(QStringLiteral("open"), {path});
    if (!QFileInfo::exists(path)) return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool startFirst(const QList<QPair<QString, QStringList>>& candidates) {
    for (const auto& [program, args] : candidates) {
        if (hook()) {
            if (hook()(program, args)) return true;
            continue;
        }
        const QString found = QStandardPaths::findExecutable(program);
        if (found.isEmpty()) continue;
        if (QProcess::startDetached(found, args)) return true;
    }
    return false;
}

} // namespace dovrane::launcher
