#pragma once
// The spectrum file (file kind 6, "SAN_"): title, lower and upper limit, step,
// the last index, then one level per step in tenths of an S unit ("095").
#include "scanning/spectrum_scan.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace dovrane {

struct SpectrumFile {
    QString title;
    SpectrumLimits limits;
    int last = 0;               // the last index the file holds
    SpecValueArray values{};
};

// The file's lines. Only indices 0..last are written, last at most 500.
QStringList spectrumFileLines(const SpectrumFile& file);
// A level as the file keeps it: tenths of an S unit, cut down, three digits.
QString spectrumValueText(float level);

enum class SpectrumReadError { None, Unreadable, Truncated };
// Reads a file; nothing when it cannot be read, lacks a header line, holds a
// last index outside 0..500, or has fewer value lines than that index asks.
std::optional<SpectrumFile> readSpectrumFile(const QString& path, SpectrumReadError* error = nullptr);
std::optional<SpectrumFile> parseSpectrumLines(const QStringList& lines);

} // namespace dovrane
