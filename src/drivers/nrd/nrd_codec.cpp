#include "drivers/nrd/nrd_codec.h"

#include "drivers/memory_record.h"
#include "drivers/model_tables.h"
#include "platform/number_text.h"

#include <QTime>
#include <cmath>

namespace dovrane::nrd {

namespace {

qint64 powerOfTen(int n) {
    qint64 p = 1;
    for (int i = 0; i < n; ++i) p *= 10;
    return p;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool allDigits(const QByteArray& s) {
    if (s.isEmpty()) return false;
    for (char c : s)
        if (!isDigit(c)) return false;
    return true;
}

bool allDigits(const QString& s) { return allDigits(s.toLatin1()); }

// Positions below are counted from 1, as the receivers' manuals count them.
QByteArray chars(const QByteArray& s, int from, int to) { return s.mid(from - 1, to - from + 1); }

} // namespace

std::optional<QByteArray> digitField(int v) {
    if (v < 0 || v > 9) return std::nullopt;
    return QByteArray(1, char('0' + v));
}

std::optional<QByteArray> fixedDigits(qint64 v, int n) {
    if (n <= 0 || n > 18 || v < 0 || v >= powerOfTen(n)) return std::nullopt;
    return QByteArray::number(v).rightJustified(n, '0');
}

std::optional<QByteArray> signedDigits(int v, int n) {
    const qint64 mag = std::abs(qint64(v));
    auto digits = fixedDigits(mag, n);
    if (!digits) return std::nullopt;
    return (v < 0 ? QByteArray("-") : QByteArray("+")) + *digits;
}

std::optional<QByteArray> onOffField(int v) {
    if (v != 0 && v != 1) return std::nullopt;
    return digitField(v);
}

std::optional<QByteArray> hertzDigits(double kHz, int n) {
    if (!std::isfinite(kHz) || kHz < 0) return std::nullopt;
    const double hz = vbRound(kHz * 1000.0);
    if (hz >= double(powerOfTen(n))) return std::nullopt;
    return fixedDigits(qint64(hz), n);
}

std::optional<QByteArray> channelField(int ch, int top) {
    if (ch < 0 || ch > top) return std::nullopt;
    return fixedDigits(ch, 3);
}

std::optional<QByteArray> commandText(const QString& text) {
    if (text.isEmpty()) return std::nullopt;
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() > 0x7E) return std::nullopt;
    return text.toLatin1();
}

bool matchesShape(const QByteArray& reply, const char* shape) {
    const QByteArray sh(shape);
    if (reply.size() < sh.size()) return false;
    for (qsizetype i = 0; i < sh.size(); ++i) {
        const char want = sh[i];
        const char got = reply[i];
        switch (want) {
        case '#':
            if (!isDigit(got)) return false;
            break;
        case '+':
            if (got != '+' && got != '-') return false;
            break;
        case '?':
            break;
        default:
            if (got != want) return false;
        }
    }
    for (qsizetype i = sh.size(); i < reply.size(); ++i)
        if (reply[i] != '\r' && reply[i] != '\n') return false;
    return true;
}

std::optional<int> digitsValue(const QByteArray& digits) {
    QByteArray d = digits;
    bool negative = false;
    if (!d.isEmpty() && (d[0] == '+' || d[0] == '-')) {
        negative = d[0] == '-';
        d = d.mid(1);
    }
    if (!allDigits(d) || d.size() > 9) return std::nullopt;
    const int v = d.toInt();
    return negative ? -v : v;
}

std::optional<RxStatusFields> parseRxStatusString(const QString& s) {
    if (s.size() != 13 || s.at(0) != QLatin1Char('X') || !allDigits(s.mid(1))) return std::nullopt;
    RxStatusFields f;
    f.attenuator = s.at(1).digitValue();
    f.bandwidth = s.at(2).digitValue();
    f.mode = s.at(3).digitValue();
    f.hertz = s.mid(4, 8).toLongLong();
    f.agc = s.at(12).digitValue();
    return f;
}

std::optional<QString> statusFrom535Line(const QByteArray& r) {
    // Channel line: any, channel 199, attenuator, bandwidth, mode, 8 digits of
    // Hz, AGC, CR.
    if (!matchesShape(r, "?199############\r")) return std::nullopt;
    return QStringLiteral("X") + QString::fromLatin1(chars(r, 5, 16));
}

std::optional<QString> statusFrom545Line(const QByteArray& r) {
    // Channel line: any, channel 999, attenuator, bandwidth, mode, 10 digits of
    // Hz, AGC as a 3-digit time value, CR.
    if (!matchesShape(r, "?999################\r")) return std::nullopt;
    const int agc = agcStatusDigit545(chars(r, 18, 20).toInt());
    return QStringLiteral("X") + QString::fromLatin1(chars(r, 5, 7)) + QString::fromLatin1(chars(r, 10, 17)) +
           QString::number(agc);
}

std::optional<QByteArray> statusCommand535(const QString& s) {
    if (!parseRxStatusString(s)) return std::nullopt;
    return QByteArray("S199") + s.mid(1).toLatin1();
}

std::optional<QByteArray> statusCommand545(const QString& s) {
    const auto f = parseRxStatusString(s);
    if (!f) return std::nullopt;
    const QByteArray agc = *fixedDigits(f->agc * 10, 3);
    return QByteArray("S999") + s.mid(1, 3).toLatin1() + "00" + s.mid(4, 8).toLatin1() + agc;
}

bool statusTaken(RxModel rxType, const QString& s) {
    const auto f = parseRxStatusString(s);
    return f && receiverTakes(rxType, RxSetting::Attenuator, f->attenuator) &&
           receiverTakes(rxType, RxSetting::Filter, f->bandwidth) && receiverTakes(rxType, RxSetting::Mode, f->mode) &&
           receiverTakes(rxType, RxSetting::Agc, f->agc);
}

std::optional<QString> memoryFrom535Line(const QByteArray& line, int ch) {
    const auto ccc = channelField(ch, Nrd535TopChannel);
    if (!ccc || line.size() != 16 || chars(line, 2, 4) != *ccc) return std::nullopt;
    MemoryFields f;
    f.channel = ch;
    if (line.at(4) == 'V') return buildMemoryRecord(f);
    if (!allDigits(chars(line, 5, 16))) return std::nullopt;
    f.used = true;
    f.frequencyHz = QString::fromLatin1(chars(line, 8, 15));
    f.mode = QString::fromLatin1(chars(line, 7, 7));
    f.filter = QStringLiteral("0") + QString::fromLatin1(chars(line, 6, 6));
    f.attenuator = QString::fromLatin1(chars(line, 5, 5));
    f.agc = QString::fromLatin1(chars(line, 16, 16));
    return buildMemoryRecord(f);
}

std::optional<QString> memoryFrom545Line(const QByteArray& line, int ch) {
    const auto ccc = channelField(ch, Nrd545TopChannel);
    if (!ccc || line.size() != 20 || chars(line, 2, 4) != *ccc) return std::nullopt;
    MemoryFields f;
    f.channel = ch;
    if (line.at(4) == 'V') return buildMemoryRecord(f);
    if (!allDigits(chars(line, 5, 20))) return std::nullopt;
    f.used = true;
    f.frequencyHz = QString::fromLatin1(chars(line, 10, 17));
    f.mode = QString::fromLatin1(chars(line, 7, 7));
    f.filter = QStringLiteral("0") + QString::fromLatin1(chars(line, 6, 6));
    f.attenuator = QString::fromLatin1(chars(line, 5, 5));
    f.agc = QString::number(agcFactor545(chars(line, 18, 20).toInt()));
    return buildMemoryRecord(f);
}

namespace {

// The setting a record holds, when it holds one the receiver can store.
struct StorableRecord {
    QByteArray attenuator, bandwidth, mode, hertz;
    int agc = 0;
};

enum class RecordKind { Malformed, Storable, NotStorable };

RecordKind readRecord(const QString& record, StorableRecord& out) {
    const auto f = parseMemoryRecord(record);
    if (!f) return RecordKind::Malformed;
    const double hz = val(f->frequencyHz);
    if (!(hz >= LowestChannelHz && hz <= HighestChannelHz) || hz != std::floor(hz))
        return RecordKind::NotStorable;
    if (!allDigits(f->attenuator) || f->filter.size() != 2 || !f->filter.at(1).isDigit() || !allDigits(f->mode) ||
        !allDigits(f->agc))
        return RecordKind::Malformed;
    out.attenuator = f->attenuator.toLatin1();
    out.bandwidth = f->filter.mid(1, 1).toLatin1();
    out.mode = f->mode.toLatin1();
    out.hertz = *fixedDigits(qint64(hz), 8);
    out.agc = f->agc.toInt();
    return RecordKind::Storable;
}

} // namespace

std::optional<QByteArray> memoryCommand535(int ch, const QString& record) {
    const auto ccc = channelField(ch, Nrd535TopChannel);
    if (!ccc) return std::nullopt;
    StorableRecord r;
    switch (readRecord(record, r)) {
    case RecordKind::Malformed:
        return std::nullopt;
    case RecordKind::NotStorable:
        return QByteArray("U5") + *ccc;
    case RecordKind::Storable:
        break;
    }
    return QByteArray("K") + *ccc + r.attenuator + r.bandwidth + r.mode + r.hertz + *digitField(r.agc);
}

std::optional<QByteArray> memoryCommand545(int ch, const QString& record) {
    const auto ccc = channelField(ch, Nrd545TopChannel);
    if (!ccc) return std::nullopt;
    StorableRecord r;
    if (readRecord(record, r) != RecordKind::Storable) return std::nullopt;
    return QByteArray("K") + *ccc + r.attenuator + r.bandwidth + r.mode + "00" + r.hertz + *fixedDigits(r.agc * 10, 3);
}

std::optional<QByteArray> clockDigits(const QString& t, bool withSeconds) {
    if (t.size() != 8 || t.at(2) != QLatin1Char(':') || t.at(5) != QLatin1Char(':')) return std::nullopt;
    const QString hh = t.mid(0, 2), mm = t.mid(3, 2), ss = t.mid(6, 2);
    if (!allDigits(hh) || !allDigits(mm) || !allDigits(ss)) return std::nullopt;
    if (!QTime(hh.toInt(), mm.toInt(), ss.toInt()).isValid()) return std::nullopt;
    return (hh + mm + (withSeconds ? ss : QString())).toLatin1();
}

std::optional<QString> clockFromReply(const QByteArray& reply) {
    if (!matchesShape(reply, "R######\r")) return std::nullopt;
    const QString text = QString::fromLatin1(chars(reply, 2, 3)) + QLatin1Char(':') +
                         QString::fromLatin1(chars(reply, 4, 5)) + QLatin1Char(':') +
                         QString::fromLatin1(chars(reply, 6, 7));
    if (!clockDigits(text, true)) return std::nullopt;
    return text;
}

float smeter535(float raw) {
    float x = (137.0f - raw) * 0.25f;
    if (x > 13.0f) x = x + 0.34f * (x - 13.0f);
    if (x < 6.0f) x = x + 0.44f * (6.0f - x);
    if (x < 0.0f) x = 0.0f;
    if (x > 18.0f) x = 18.0f;
    return x;
}

float smeter545(float raw) {
    float x = raw <= 83.0f ? (raw - 28.0f) / 6.0f : (raw + 35.0f) / 12.8f;
    if (x < 0.0f) x = 0.0f;
    if (x > 19.0f) x = 19.0f;
    return x;
}

int agcStatusDigit545(int timeValue) { return (timeValue / 10) % 10; }

int agcFactor545(int timeValue) {
    const int a = int(vbRound(timeValue / 10.0));
    return qBound(1, a, 9);
}

} // namespace dovrane::nrd
