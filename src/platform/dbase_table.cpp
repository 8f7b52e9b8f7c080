#include "platform/dbase_table.h"
#include "platform/text_file.h"

#include <QFile>
#include <QFileInfo>
#include <cstring>

namespace dovrane {

namespace {

constexpr int kDescriptorSize = 32;

quint32 le32(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return quint32(u[0]) | quint32(u[1]) << 8 | quint32(u[2]) << 16 | quint32(u[3]) << 24;
}
quint16 le16(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return quint16(u[0] | u[1] << 8);
}

// The code page a table's language-driver byte names. Tables that name none
// (0) were written by DOS dBase IV, whose default is the US code page.
const char* codePageFor(unsigned char ldid) {
    switch (ldid) {
    case 0x01: return "IBM437";
    case 0x02: return "IBM850";
    case 0x03: case 0x57: case 0x58: case 0x59: return "windows-1252";
    case 0x64: return "IBM852";
    case 0x65: return "IBM866";
    case 0xC8: return "windows-1250";
    case 0xC9: return "windows-1251";
    default: return "IBM437";
    }
}

QByteArray trimmedAscii(const char* p, int n) {
    int b = 0, e = n;
    while (b < e && (p[b] == ' ' || p[b] == '\0')) ++b;
    while (e > b && (p[e - 1] == ' ' || p[e - 1] == '\0')) --e;
    return QByteArray(p + b, e - b);
}

std::optional<QString> numberText(const QByteArray& t, int decimals) {
    if (t.isEmpty() || t.contains('*')) return std::nullopt;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok) return std::nullopt;
    QString s = QString::number(v, 'f', qBound(0, decimals, 15));
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0'))) s.chop(1);
        if (s.endsWith(QLatin1Char('.'))) s.chop(1);
    }
    if (s == QLatin1String("-0")) s = QStringLiteral("0");
    return s;
}

} // namespace

bool DbaseTable::fail(QString* error, const QString& why) {
    close();
    if (error) *error = why;
    return false;
}

void DbaseTable::close() {
    data_.clear();
    fields_.clear();
    headerLength_ = recordLength_ = records_ = current_ = 0;
    open_ = false;
}

bool DbaseTable::open(const QString& folder, const QString& table, QString* error) {
    if (table.isEmpty()) return fail(error, QStringLiteral("no table name"));
    return openFile(findCaseInsensitive(folder, table + QStringLiteral(".dbf")), error);
}

bool DbaseTable::openFile(const QString& path, QString* error) {
    QFile f(path);
    if (!QFileInfo(path).isFile() || !f.open(QIODevice::ReadOnly))
        return fail(error, QStringLiteral("%1 cannot be opened").arg(QFileInfo(path).fileName()));
    return openData(f.readAll(), error);
}

bool DbaseTable::openData(const QByteArray& data, QString* error) {
    close();
    if (data.size() < kDescriptorSize + 1) return fail(error, QStringLiteral("the file is too short for a table"));
    const auto version = static_cast<unsigned char>(data[0]);
    if (version != 0x03 && version != 0x83 && version != 0x8B)
        return fail(error, QStringLiteral("the file is no dBase IV table (version byte %1)").arg(version));
    if (data[15] != 0) return fail(error, QStringLiteral("the table is encrypted"));

    const quint32 count = le32(data.constData() + 4);
    headerLength_ = le16(data.constData() + 8);
    recordLength_ = le16(data.constData() + 10);
    if (headerLength_ < kDescriptorSize + 1 || headerLength_ > data.size() || recordLength_ < 1)
        return fail(error, QStringLiteral("the table's header is damaged"));

    int offset = 1;
    for (int pos = kDescriptorSize; pos < headerLength_ && data[pos] != '\x0D'; pos += kDescriptorSize) {
        if (pos + kDescriptorSize > headerLength_) return fail(error, QStringLiteral("the table's header is damaged"));
        const char* d = data.constData() + pos;
        Field fd;
        fd.name = QString::fromLatin1(d, int(qstrnlen(d, 11))).trimmed();
        fd.type = d[11];
        fd.length = static_cast<unsigned char>(d[16]);
        fd.decimals = static_cast<unsigned char>(d[17]);
        // Character fields longer than 255 keep the high byte in the decimals.
        if (fd.type == 'C') {
            fd.length += fd.decimals * 256;
            fd.decimals = 0;
        }
        fd.offset = offset;
        offset += fd.length;
        if (offset > recordLength_) return fail(error, QStringLiteral("the table's fields do not fit its records"));
        fields_.push_back(fd);
    }
    if (fields_.empty()) return fail(error, QStringLiteral("the table has no fields"));

    const qint64 room = (data.size() - headerLength_) / recordLength_;
    records_ = int(qMin<qint64>(qint64(count), room));
    codePage_ = QString::fromLatin1(codePageFor(static_cast<unsigned char>(data[29])));
    decoder_ = QStringDecoder(codePage_.toLatin1().constData(), QStringDecoder::Flag::Stateless);
    if (!decoder_.isValid()) {
        codePage_ = QStringLiteral("ISO-8859-1");
        decoder_ = QStringDecoder(QStringDecoder::Latin1, QStringDecoder::Flag::Stateless);
    }
    data_ = data;
    open_ = true;
    moveFirst();
    return true;
}

int DbaseTable::fieldIndex(const QString& name) const {
    for (size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i].name.compare(name, Qt::CaseInsensitive) == 0) return int(i);
    return -1;
}

bool DbaseTable::deleted(int record) const {
    return data_[qsizetype(headerLength_) + qsizetype(record) * recordLength_] == '*';
}

void DbaseTable::skipDeleted() {
    while (current_ < records_ && deleted(current_)) ++current_;
}

void DbaseTable::moveFirst() {
    current_ = 0;
    skipDeleted();
}

void DbaseTable::moveNext() {
    if (current_ >= records_) return;
    ++current_;
    skipDeleted();
}

std::optional<QString> DbaseTable::value(int index) const {
    if (!open_ || atEnd() || index < 0 || index >= int(fields_.size())) return std::nullopt;
    const Field& fd = fields_[size_t(index)];
    const char* p = data_.constData() + headerLength_ + qsizetype(current_) * recordLength_ + fd.offset;
    switch (fd.type) {
    case 'C': {
        int n = fd.length;
        while (n > 0 && (p[n - 1] == ' ' || p[n - 1] == '\0')) --n;
        if (n == 0) return std::nullopt;
        return decoder_.decode(QByteArrayView(p, n));
    }
    case 'N':
    case 'F':
        return numberText(trimmedAscii(p, fd.length), fd.decimals);
    case 'D': {
        const QByteArray t = trimmedAscii(p, fd.length);
        if (t.isEmpty()) return std::nullopt;
        return QString::fromLatin1(t);
    }
    case 'L':
        switch (p[0]) {
        case 'T': case 't': case 'Y': case 'y': return QStringLiteral("True");
        case 'F': case 'f': case 'N': case 'n': return QStringLiteral("False");
        default: return std::nullopt;
        }
    default:
        return std::nullopt;
    }
}

} // namespace dovrane
