#include "drivers/memory_record.h"

#include "drivers/model_tables.h"

#include <algorithm>
#include <utility>

namespace dovrane {

namespace {
QString fit(const QString& s, int width) {
    if (s.isEmpty()) return QString(width, QLatin1Char('@'));
    return s.left(width).leftJustified(width, QLatin1Char(' '));
}

bool digitsOnly(const QString& f) {
    return !f.isEmpty() && std::all_of(f.begin(), f.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The code of a field in range, or nothing; a field the model lacks holds its
// "@" form (and gives -1).
std::optional<int> fieldCode(const QString& field, const CodeRange& range) {
    if (!range.has()) {
        if (field == QString(field.size(), QLatin1Char('@'))) return -1;
        return std::nullopt;
    }
    if (!digitsOnly(field)) return std::nullopt;
    const int v = field.toInt();
    if (!range.holds(v)) return std::nullopt;
    return v;
}
} // namespace

namespace {
// The record's fields after "MEM"/"XXX" and the channel, each behind a
// blank: the one statement of the layout, which the builder and the parser
// both follow.
struct Column {
    QString MemoryFields::*field;
    int at;      // the field's first column, counted from 0
    int width;
};
constexpr Column Columns[] = {
    {&MemoryFields::frequencyHz, 7, 8}, {&MemoryFields::mode, 16, 1},    {&MemoryFields::filter, 18, 2},
    {&MemoryFields::attenuator, 21, 1}, {&MemoryFields::agc, 23, 1},     {&MemoryFields::passband, 25, 3},
    {&MemoryFields::squelch, 29, 3},    {&MemoryFields::scan, 33, 1},
};
constexpr bool columnsFollowEachOther() {
    int at = 6;   // behind the head and the channel
    for (const Column& c : Columns) {
        if (c.at != at + 1) return false;
        at = c.at + c.width;
    }
    return at + 1 == MemoryRecordLength;
}
static_assert(columnsFollowEachOther(), "each field behind one blank, and one blank at the end");
} // namespace

QString buildMemoryRecord(const MemoryFields& f) {
    QString r;
    r.reserve(MemoryRecordLength);
    r += f.used ? QStringLiteral("MEM") : QStringLiteral("XXX");
    r += QStringLiteral("%1").arg(qBound(0, f.channel, 999), 3, 10, QLatin1Char('0'));
    MemoryFields shown = f;
    if (!f.used && f.frequencyHz.isEmpty()) shown.frequencyHz = QStringLiteral("No data ");
    for (const Column& c : Columns) {
        r += QLatin1Char(' ');
        r += fit(shown.*c.field, c.width);
    }
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
    for (const Column& c : Columns) f.*c.field = r.mid(c.at, c.width);
    return f;
}

RecordCheck checkRecord(const QString& record, int rxType) {
    RecordCheck check;
    const ModelCodes* codes = modelCodes(rxType);
    const std::optional<MemoryFields> f = parseMemoryRecord(record);
    // Built again from its own fields, a record gives itself back only when
    // its blanks stand between the fields.
    if (!codes || !f || buildMemoryRecord(*f) != record) return check;
    if (!f->used) {
        MemoryFields vacant;
        vacant.channel = f->channel;
        if (record == buildMemoryRecord(vacant)) check.fit = RecordFit::Fits;
        return check;
    }
    if (!digitsOnly(f->frequencyHz)) return check;
    const std::optional<int> mode = fieldCode(f->mode, codes->mode);
    const std::optional<int> filter = fieldCode(f->filter, codes->filter);
    if (!mode || !filter || !fieldCode(f->attenuator, codes->channelAttenuator) ||
        !fieldCode(f->agc, codes->channelAgc) || !fieldCode(f->passband, codes->channelPassband) ||
        !fieldCode(f->squelch, codes->channelSqlBfo) || !fieldCode(f->scan, codes->channelScan))
        return check;
    check.fit = RecordFit::Fits;
    for (const auto& [range, code] : {std::pair{&codes->mode, *mode}, std::pair{&codes->filter, *filter}}) {
        if (range->has() && !takesCode(*range, code)) {
            check.fit = RecordFit::LacksOption;
            check.option = range->optionOf(code);
            break;
        }
    }
    return check;
}

bool isRecordOf(const QString& record, int rxType) { return checkRecord(record, rxType).fit == RecordFit::Fits; }

bool isModelRecord(const QString& record, int rxType) {
    return checkRecord(record, rxType).fit != RecordFit::Foreign;
}

bool isMemoryRecord(const QString& record) {
    for (int m = 0; modelCodes(m); ++m)
        if (isModelRecord(record, m)) return true;
    return false;
}

} // namespace dovrane
