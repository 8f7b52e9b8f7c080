#include "memories/memory_cell.h"

#include "drivers/memory_record.h"
#include "drivers/model_tables.h"
#include "memories/memory_image.h"
#include "platform/number_text.h"

#include <algorithm>

namespace dovrane {

namespace {

QString digits(int v, int n) { return QStringLiteral("%1").arg(v, n, 10, QLatin1Char('0')); }

// A code the receiver takes that its table gives a text.
template <class Table> bool offered(const Table& table, const CodeRange& range, int i) {
    return takesCode(range, i) && !tableText(table, i).isEmpty() && tableText(table, i) != QLatin1String("?");
}

} // namespace

CodeRange cellModeCodes(int rxType) {
    static constexpr int LastEditedMode[] = {-1, 7, 8, 3, 6};
    const ModelCodes* codes = modelCodes(rxType);
    if (!codes || rxType < 1 || rxType > 4) return {};
    CodeRange r = codes->mode;
    r.hi = std::min(r.hi, LastEditedMode[rxType]);
    r.optHi = std::min(r.optHi, r.hi);
    return r;
}

qint64 cellHertz(const QString& kHzText) {
    QString t = kHzText;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    // Held well inside qint64: a box of thirty digits is a frequency out of
    // range, not a conversion past the type.
    return qint64(std::clamp(vbRound(val(t) * 1000.0), -1e15, 1e15));
}

QString cellFrequencyText(const QString& record) {
    const QString hz = recordColumns(record, 8, 15);
    if (hz.size() != 8) return QString();
    for (QChar c : hz)
        if (!c.isDigit()) return QString();
    return hz.left(5) + QLatin1Char('.') + hz.mid(5);
}

namespace {

std::optional<QString> fieldsRecord(int rxType, const CellFields& f, int maxMemNr, CellProblem& problem) {
    problem = CellProblem::OutOfRange;
    if (f.cell < 0 || f.cell > maxMemNr || f.cell > 999) return std::nullopt;
    const qint64 hz = cellHertz(f.frequency);
    if (hz < 1 || hz > 99999999) return std::nullopt;
    if (rxType != 0 && (double(hz) < FreqMin * 1000.0 - 0.5 || double(hz) > FreqMax * 1000.0 + 0.5))
        return std::nullopt;
    const QString head = QStringLiteral("MEM") + cellText(f.cell) + QLatin1Char(' ') + digits(int(hz), 8);
    if (rxType == 0) return fitText(head + QStringLiteral(" @ @@ @ @ @@@ @@@ @"), 35);
    const ModelCodes* codes = modelCodes(rxType);
    if (!codes) return std::nullopt;

    if (rxType == 1 && (f.passband > 255 || f.sqlBfo > 255)) return std::nullopt;
    // From here on a field is missing (-1) or holds a code the receiver lacks.
    problem = CellProblem::NotChosen;
    if (rxType == 1 && (f.passband < 0 || f.sqlBfo < 0)) return std::nullopt;
    if (!offered(ModeTexts, cellModeCodes(rxType), f.mode) || !offered(BwTexts, codes->filter, f.bandwidth))
        return std::nullopt;
    const QString base = head + QLatin1Char(' ') + digits(f.mode, 1) + QLatin1Char(' ') + digits(f.bandwidth, 2);
    switch (rxType) {
    case 1:
        if (!offered(YesNoTexts, codes->channelScan, f.scan)) return std::nullopt;
        return fitText(base + QStringLiteral(" @ @ ") + digits(f.passband, 3) + QLatin1Char(' ') + digits(f.sqlBfo, 3) +
                           QLatin1Char(' ') + digits(f.scan, 1),
                       35);
    case 2:
    case 4:
        if (!offered(AttTexts, codes->channelAttenuator, f.attenuator) || !offered(AgcTexts, codes->channelAgc, f.agc))
            return std::nullopt;
        return fitText(base + QLatin1Char(' ') + digits(f.attenuator, 1) + QLatin1Char(' ') + digits(f.agc, 1) +
                           QStringLiteral(" @@@ @@@ @"),
                       35);
    case 3:
        if (!offered(AgcTexts, codes->channelAgc, f.agc)) return std::nullopt;
        return fitText(base + QStringLiteral(" @ ") + digits(f.agc, 1) + QStringLiteral(" @@@ @@@ @"), 35);
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<QString> buildCellRecord(int rxType, const CellFields& f, int maxMemNr, CellProblem* problem) {
    CellProblem p = CellProblem::None;
    std::optional<QString> r = fieldsRecord(rxType, f, maxMemNr, p);
    // The tables may hold texts beyond the codes of the model's records.
    if (r && !isRecordOf(*r, rxType)) {
        r.reset();
        p = CellProblem::NotChosen;
    }
    if (r) p = CellProblem::None;
    if (problem) *problem = p;
    return r;
}

} // namespace dovrane
