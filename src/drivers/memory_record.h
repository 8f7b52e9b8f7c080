#pragma once
// The 35-column text of one memory channel that the drivers' Memory members
// read and write:
//   1-3 "MEM" or "XXX", 4-6 channel, 8-15 frequency in Hz (8 digits, or
//   "No data "), 17 mode, 19-20 filter, 22 attenuator, 24 AGC, 26-28 passband
//   shift, 30-32 squelch or BFO, 34 scan flag; blanks between. A field the
//   receiver has no value for holds "@" in each of its columns.
#include <QString>
#include <optional>

namespace dovrane {

struct MemoryFields {
    bool used = false;        // "MEM" (true) or "XXX"
    int channel = 0;
    QString frequencyHz;      // 8 characters; "No data " when vacant
    QString mode;             // 1
    QString filter;           // 2
    QString attenuator;       // 1
    QString agc;              // 1
    QString passband;         // 3
    QString squelch;          // 3 (squelch, or BFO)
    QString scan;             // 1
};

constexpr int MemoryRecordLength = 35;
constexpr int MemoryTagLength = 45;

// Builds the record: each field padded or cut to its width, an empty field
// filled with "@".
QString buildMemoryRecord(const MemoryFields& fields);
// Takes a record apart; nullopt when it is not 35 characters or its first
// six columns are not "MEM"/"XXX" and three digits.
std::optional<MemoryFields> parseMemoryRecord(const QString& record);

} // namespace dovrane
