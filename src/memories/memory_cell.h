#pragma once
// The record the cell editor builds from its fields, for the present model.
#include "drivers/model_tables.h"

#include <QString>
#include <optional>

namespace dovrane {

// The editor's fields as table indices (-1: nothing chosen) and raw bytes.
struct CellFields {
    int cell = -1;
    QString frequency;     // kHz as typed; "," is read as "."
    int mode = -1;         // ModeTexts index
    int bandwidth = -1;    // BwTexts index
    int attenuator = -1;   // NRD: AttTexts index
    int agc = -1;          // NRD, RX-320: AgcTexts index
    int passband = -1;     // AR7030: register byte 0..255
    int sqlBfo = -1;       // AR7030: squelch or BFO byte 0..255
    int scan = -1;         // AR7030: YesNoTexts index
};

// Why the fields make no record.
enum class CellProblem {
    None,
    OutOfRange,  // a cell, frequency or byte outside its range
    NotChosen,   // a field without one of the codes the receiver takes
};

// The mode codes the editor offers for rxType: the model's codes up to the
// last mode its channels are edited with (AR7030 7, NRD-535 8, RX-320 3,
// NRD-545 6); none without a receiver. The NRD-545's AM-U, AM-L and WFM are
// read from its channels but never written by the editor.
CodeRange cellModeCodes(int rxType);

// The 35-column record of the fields for rxType, or nothing when a field is
// missing or out of range: a cell outside 0..maxMemNr, a frequency outside
// the model's tuning limits (or not in 1 Hz..99999.999 kHz), a code the
// receiver does not take (the model table, with its options), or a record its
// model's records cannot hold (isRecordOf). problem, when given, says which.
std::optional<QString> buildCellRecord(int rxType, const CellFields& f, int maxMemNr,
                                       CellProblem* problem = nullptr);

// The editor's frequency text of a record ("07100.000"); empty for a cell
// without a frequency (never filled, or vacant), which the user fills in.
QString cellFrequencyText(const QString& record);

// The frequency of a text in whole hertz ("7,125" gives 7125).
qint64 cellHertz(const QString& kHzText);

} // namespace dovrane
