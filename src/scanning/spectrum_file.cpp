#include "scanning/spectrum_file.h"
#include "platform/number_text.h"
#include "platform/text_file.h"

#include <algorithm>

namespace dovrane {

// The product is taken in single precision, as the level is kept: -1.7 gives -17.
QString spectrumValueText(float level) { return formatPattern(vbInt(double(level * 10.0f)), QStringLiteral("000")); }

QStringList spectrumFileLines(const SpectrumFile& file) {
    const int last = std::clamp(file.last, 0, SpecMaxIndex);
    QStringList lines{file.title, numText(file.limits.lower), numText(file.limits.upper),
                      numText(file.limits.step), numText(double(last))};
    for (int i = 0; i <= last; ++i) lines << spectrumValueText(file.values[size_t(i)]);
    return lines;
}

std::optional<SpectrumFile> parseSpectrumLines(const QStringList& lines) {
    if (lines.size() < 5) return std::nullopt;
    SpectrumFile f;
    f.title = lines[0];
    f.limits.lower = val(lines[1]);
    f.limits.upper = val(lines[2]);
    f.limits.step = val(lines[3]);
    const double last = vbRound(val(lines[4]));
    if (last < 0 || last > SpecMaxIndex) return std::nullopt;
    f.last = int(last);
    if (lines.size() < 5 + f.last + 1) return std::nullopt;
    for (int i = 0; i <= f.last; ++i) f.values[size_t(i)] = float(val(lines[5 + i]) / 10);
    return f;
}

std::optional<SpectrumFile> readSpectrumFile(const QString& path, SpectrumReadError* error) {
    const std::optional<QStringList> lines = readLines(path);
    if (!lines) {
        if (error) *error = SpectrumReadError::Unreadable;
        return std::nullopt;
    }
    std::optional<SpectrumFile> f = parseSpectrumLines(*lines);
    if (error) *error = f ? SpectrumReadError::None : SpectrumReadError::Truncated;
    return f;
}

} // namespace dovrane
