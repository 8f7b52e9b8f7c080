#include "drivers/memory_record.h"

#include <algorithm>
#include <iterator>

namespace dovrane {

namespace {
QString fit(const QString& s, int width) {
    if (s.isEmpty()) return QString(width, QLatin1Char('@'));
    return s.left(width).leftJustified(width, QLatin1Char(' '));
}

// Indexed by model, as RxType. The codes are the indices of each model's
// setting tables (ModeTexts, BwTexts, AttTexts, AgcTexts, YesNoTexts) and the
// AR7030's register bytes.
constexpr FieldCodes kNone{};
constexpr ModelCodes kModelCodes[] = {
    {kNone, kNone, kNone, kNone, kNone, kNone, kNone},
    {{1, 7}, {1, 6}, kNone, kNone, {0, 255}, {0, 255}, {0, 1}},
    {{0, 8}, {0, 3}, {0, 1}, {0, 2}, kNone, kNone, kNone},
    {{0, 3}, {0, 33}, kNone, {1, 3}, kNone, kNone, kNone},
    {{0, 9}, {0, 2}, {0, 1}, {0, 9}, kNone, kNone, kNone},
};

bool digitsOnly(const QString& f) {
    return !f.isEmpty() && std::all_of(f.begin(), f.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool fits(const QString& field, FieldCodes codes) {
    if (!codes.has()) return field == QString(field.size(), QLatin1Char('@'));
    if (!digitsOnly(field)) return false;
    const int v = field.toInt();
    return v >= codes.lo && v <= codes.hi;
}
} // namespace

QString buildMemoryRecord(const MemoryFields& f) {
    QString r;
    r.reserve(MemoryRecordLength);
    r += f.used ? QStringLiteral("MEM") : QStringLiteral("XXX");
    r += QStringLiteral("%1").arg(qBound(0, f.channel, 999), 3, 10, QLatin1Char('0'));
    r += QLatin1Char(' ');
    r += fit(f.used ? f.frequencyHz : (f.frequencyHz.isEmpty() ? QStringLiteral("No data ") : f.frequencyHz), 8);
    r += QLatin1Char(' ');
    r += fit(f.mode, 1);
    r += QLatin1Char(' ');
    r += fit(f.filter, 2);
    r += QLatin1Char(' ');
    r += fit(f.attenuator, 1);
    r += QLatin1Char(' ');
    r += fit(f.agc, 1);
    r += QLatin1Char(' ');
    r += fit(f.passband, 3);
    r += QLatin1Char(' ');
    r += fit(f.squelch, 3);
    r += QLatin1Char(' ');
    r += fit(f.scan, 1);
    r += QLatin1Char(' ');
    return r;
}

std::optional<MemoryFields> parseMemoryRecord(const QString& r) {
    if (r.size() != MemoryRecordLength) return std::nullopt;
    const QString head = r.left(3);
    if (head != QLatin1String("MEM") && head != QLatin1String("XXX")) return std::nullopt;
    bool ok = false;
    const int ch = r.mid(3, 3).toInt(&ok);
    if (!ok || !r.at(3).isDigit() || !r.at(4).isDigit() || !r.at(5).isDigit()) return std::nullopt;
    MemoryFields f;
    f.used = head == QLatin1String("MEM");
    f.channel = ch;
    f.frequencyHz = r.mid(7, 8);
    f.mode = r.mid(16, 1);
    f.filter = r.mid(18, 2);
    f.attenuator = r.mid(21, 1);
    f.agc = r.mid(23, 1);
    f.passband = r.mid(25, 3);
    f.squelch = r.mid(29, 3);
    f.scan = r.mid(33, 1);
    return f;
}

const ModelCodes* modelCodes(int rxType) {
    return rxType >= 0 && rxType < int(std::size(kModelCodes)) ? &kModelCodes[rxType] : nullptr;
}

bool isRecordOf(const QString& record, int rxType) {
    const ModelCodes* codes = modelCodes(rxType);
    const std::optional<MemoryFields> f = parseMemoryRecord(record);
    // Built again from its own fields, a record gives itself back only when
    // its blanks stand between the fields.
    if (!codes || !f || buildMemoryRecord(*f) != record) return false;
    if (!f->used) {
        MemoryFields vacant;
        vacant.channel = f->channel;
        return record == buildMemoryRecord(vacant);
    }
    return digitsOnly(f->frequencyHz) && fits(f->mode, codes->mode) && fits(f->filter, codes->filter) &&
           fits(f->attenuator, codes->attenuator) && fits(f->agc, codes->agc) && fits(f->passband, codes->passband) &&
           fits(f->squelch, codes->squelch) && fits(f->scan, codes->scan);
}

bool isMemoryRecord(const QString& record) {
    for (int m = 0; m < int(std::size(kModelCodes)); ++m)
        if (isRecordOf(record, m)) return true;
    return false;
}

} // namespace dovrane
