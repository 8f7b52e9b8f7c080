#pragma once
// Writes small dBase IV tables for the tests and benchmarks: text fields
// left-aligned, numbers right-aligned, blanks for a missing value.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdint>
#include <vector>

namespace dovrane::test {

struct DbfField {
    QByteArray name;
    char type = 'C';
    int length = 10;
    int decimals = 0;
};

struct DbfRow {
    std::vector<QByteArray> values;   // bytes as stored (already in the table's code page)
    bool deleted = false;
};

struct DbfOptions {
    uint8_t version = 0x03;
    uint8_t languageDriver = 0x02;    // IBM850
    uint8_t encrypted = 0;
    int64_t countOverride = -1;       // a header count that lies
    bool endMarker = true;            // the 0x1A after the last record
};

inline QByteArray makeDbf(const std::vector<DbfField>& fields, const std::vector<DbfRow>& rows,
                          const DbfOptions& opt = {}) {
    int recordLength = 1;
    for (const DbfField& f : fields) recordLength += f.length;
    const int headerLength = 32 + 32 * int(fields.size()) + 1;
    QByteArray out(headerLength, '\0');
    auto put16 = [&](int at, uint32_t v) {
        out[at] = char(v & 0xFF);
        out[at + 1] = char((v >> 8) & 0xFF);
    };
    auto put32 = [&](int at, uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    out[0] = char(opt.version);
    out[1] = 126; out[2] = 12; out[3] = 8;
    put32(4, uint32_t(opt.countOverride >= 0 ? opt.countOverride : int64_t(rows.size())));
    put16(8, uint32_t(headerLength));
    put16(10, uint32_t(recordLength));
    out[15] = char(opt.encrypted);
    out[29] = char(opt.languageDriver);
    for (size_t i = 0; i < fields.size(); ++i) {
        const int at = 32 + 32 * int(i);
        const QByteArray name = fields[i].name.left(10);
        for (int k = 0; k < name.size(); ++k) out[at + k] = name[k];
        out[at + 11] = fields[i].type;
        out[at + 16] = char(fields[i].length);
        out[at + 17] = char(fields[i].decimals);
    }
    out[headerLength - 1] = '\x0D';
    for (const DbfRow& r : rows) {
        out += r.deleted ? '*' : ' ';
        for (size_t i = 0; i < fields.size(); ++i) {
            const QByteArray v = (i < r.values.size() ? r.values[i] : QByteArray()).left(fields[i].length);
            const bool right = fields[i].type == 'N' || fields[i].type == 'F';
            out += right ? v.rightJustified(fields[i].length, ' ') : v.leftJustified(fields[i].length, ' ');
        }
    }
    if (opt.endMarker) out += '\x1A';
    return out;
}

inline bool writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

// The broadcast database's fields, in a plausible order and size.
inline std::vector<DbfField> broadcastFields() {
    return {{"FREQ", 'N', 9, 2},     {"UTC", 'C', 15},      {"STATUS", 'C', 1},  {"STATION", 'C', 30},
            {"TARGET", 'C', 10},     {"LANGUAGE", 'C', 20}, {"POWER", 'C', 7},   {"LATI", 'C', 5},
            {"LONGI", 'C', 6},       {"NA", 'C', 2},       {"CA", 'C', 2},      {"SA", 'C', 2},
            {"EU", 'C', 2},          {"AF", 'C', 2},       {"ME", 'C', 2},      {"AS", 'C', 2},
            {"AU", 'C', 2},          {"PA", 'C', 2},       {"COUNTRY", 'C', 15}, {"LOCATION", 'C', 20},
            {"ACTIVE", 'L', 1},      {"SINCE", 'D', 8},    {"NOTES", 'M', 10}};
}

} // namespace dovrane::test
