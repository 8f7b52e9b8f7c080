#pragma once
// The 35-column text of one memory channel that the drivers' Memory members
// read and write:
//   1-3 "MEM" or "XXX", 4-6 channel, 8-15 frequency in Hz (8 digits, or
//   "No data "), 17 mode, 19-20 filter, 22 attenuator, 24 AGC, 26-28 passband
//   shift, 30-32 squelch or BFO, 34 scan flag; blanks between. A field the
//   receiver has no value for holds "@" in each of its columns.
#include "drivers/model_tables.h"

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

// What a record is to the receiver of one model.
enum class RecordFit {
    Fits,         // a record of the model, with codes the receiver takes
    LacksOption,  // a record of the model with a code of an option the receiver lacks
    Foreign,      // no record of the model (another model's fields, or none at all)
};
struct RecordCheck {
    RecordFit fit = RecordFit::Foreign;
    int option = 0;  // LacksOption: the Settings index of the option it needs
};

// Checks record against model rxType as its driver and the cell editor write
// them: "MEM" and a three-digit cell, eight frequency digits, every field in
// its columns with blanks between, a field the model lacks in its "@" form and
// every code one of the model's codes (the model table). The vacant record of
// a cell suits every model. Codes of an option count only when the settings
// say the option is fitted.
RecordCheck checkRecord(const QString& record, int rxType);
// True when the check finds it fits: nothing but such a record may be sent to
// a receiver of that model.
bool isRecordOf(const QString& record, int rxType);
inline bool isRecordOf(const QString& record, RxModel model) { return isRecordOf(record, int(model)); }
// True when record is a record of model rxType, whatever its options.
bool isModelRecord(const QString& record, int rxType);
// True when record is the memory record of one of the models.
bool isMemoryRecord(const QString& record);

} // namespace dovrane
