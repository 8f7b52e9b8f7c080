#include "platform/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace dovrane {

std::optional<QStringList> readLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    // One conversion of the whole file, then a slice per line: lists of tens
    // of thousands of lines load without a copy per character.
    const QString all = QString::fromLatin1(f.readAll());
    QStringList lines;
    const QChar* d = all.constData();
    const qsizetype n = all.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = d[i].unicode();
        if (c != u'\r' && c != u'\n') continue;
        lines << QString(d + start, i - start);
        if (c == u'\r' && i + 1 < n && d[i + 1] == QLatin1Char('\n')) ++i;
        start = i + 1;
    }
    if (start < n) lines << QString(d + start, n - start);
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
