#pragma once
// The AR7030's passband shift and BFO offset (signed register bytes of
// 0.033189 kHz) and its squelch (0..150) as people see them: kHz texts, slider
// positions and two-digit squelch texts. The panel, the memory manager and
// the timer all show these values through the same functions.
#include <QString>

namespace dovrane {

// Shift or BFO text: " 0.0k", "+4.2k", "-0.1k"; "" for a value that is not a byte.
QString b2fs(int b);
// Register byte of such a text (the sign decides the direction).
int fs2b(const QString& s);
// Slider position -43..42 of a register byte; three register units a step.
int b2vsb(int b);
// Register byte of a slider position -42..42; 0 for any other position.
int vsb2b(int v);
// Squelch text, at least two digits ("00".."99").
QString b2sql(int b);
// Raw squelch 0..150 of a squelch text.
int sql2b(const QString& s);

} // namespace dovrane
