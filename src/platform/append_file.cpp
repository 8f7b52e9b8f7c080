#include "platform/append_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace dovrane {

bool fitsLatin1(const QString& text) {
    for (QChar c : text)
        if (c.unicode() > 0xFF) return false;
    return true;
}

AppendFile::AppendFile() = default;
AppendFile::~AppendFile() { close(); }

bool AppendFile::open(const QString& path, QString* error) {
    close();
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath())) {
        if (error) *error = QStringLiteral("cannot create the folder %1").arg(info.absolutePath());
        return false;
    }
    auto f = std::make_unique<QFile>(path);
    if (!f->open(QIODevice::WriteOnly | QIODevice::Append)) {
        if (error) *error = f->errorString();
        return false;
    }
    file_ = std::move(f);
    return true;
}

bool AppendFile::appendLine(const QString& text, QString* error) {
    if (!file_) {
        if (error) *error = QStringLiteral("no file is open");
        return false;
    }
    if (!fitsLatin1(text)) {
        if (error) *error = QStringLiteral("the text holds characters that cannot be stored");
        return false;
    }
    const QByteArray line = text.toLatin1() + "\r\n";
    if (file_->write(line) != line.size() || !file_->flush()) {
        if (error) *error = file_->errorString();
        return false;
    }
    return true;
}

void AppendFile::close() {
    if (file_) file_->close();
    file_.reset();
}

bool AppendFile::isOpen() const { return file_ != nullptr; }

QString AppendFile::path() const { return file_ ? file_->fileName() : QString(); }

} // namespace dovrane
