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

namespace {
QString& lastError() {
    static QString e;
    return e;
}

bool fail(QString* error, const QString& reason) {
    lastError() = reason;
    if (error) *error = reason;
    return false;
}
} // namespace

QString unstorableCharacters(const QString& text) {
    QString found;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() <= 0xFF) continue;
        // A character outside the basic plane is a pair of halves: name it whole.
        QString ch(c);
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ch += text[++i];
        if (!found.contains(ch)) found += ch;
    }
    return found;
}

QString unstorableReason(const QString& characters) {
    QStringList each;
    for (qsizetype i = 0; i < characters.size(); ++i) {
        QString ch(characters[i]);
        if (characters[i].isHighSurrogate() && i + 1 < characters.size()) ch += characters[++i];
        each << ch;
    }
    return QStringLiteral("These characters cannot be stored in the file: %1").arg(each.join(QLatin1Char(' ')));
}

QString lastWriteError() { return lastError(); }
void clearLastWriteError() { lastError().clear(); }

bool writeLines(const QString& path, const QStringList& lines, QString* error) {
    lastError().clear();
    const QString unstorable = unstorableCharacters(lines.join(QLatin1Char('\n')));
    if (!unstorable.isEmpty()) return fail(error, unstorableReason(unstorable));

    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        return fail(error, QStringLiteral("cannot create the folder %1").arg(info.absolutePath()));
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return fail(error, f.errorString());
    QByteArray data;
    for (const QString& l : lines) {
        data += l.toLatin1();
        data += "\r\n";
    }
    if (f.write(data) != data.size() || !f.flush() || !f.commit()) return fail(error, f.errorString());
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
