#include "platform/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace dovrane {

std::optional<QStringList> readLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray all = f.readAll();
    QStringList lines;
    QByteArray cur;
    for (int i = 0; i < all.size(); ++i) {
        const char c = all[i];
        if (c == '\r' || c == '\n') {
            lines << QString::fromLatin1(cur);
            cur.clear();
            if (c == '\r' && i + 1 < all.size() && all[i + 1] == '\n') ++i;
        } else {
            cur += c;
        }
    }
    if (!cur.isEmpty()) lines << QString::fromLatin1(cur);
    return lines;
}

bool writeLines(const QString& path, const QStringList& lines, QString* error) {
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath())) {
        if (error) *error = QStringLiteral("cannot create the folder %1").arg(info.absolutePath());
        return false;
    }
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error) *error = f.errorString();
        return false;
    }
    QByteArray data;
    for (const QString& l : lines) {
        data += l.toLatin1();
        data += "\r\n";
    }
    if (f.write(data) != data.size() || !f.flush() || !f.commit()) {
        if (error) *error = f.errorString();
        return false;
    }
    return true;
}

QString findCaseInsensitive(const QString& folder, const QString& name) {
    QDir dir(folder);
    if (dir.exists(name)) return dir.filePath(name);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0) return dir.filePath(e);
    return dir.filePath(name);
}

} // namespace dovrane
