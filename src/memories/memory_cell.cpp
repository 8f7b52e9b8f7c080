#include "memories/memory_cell.h"

#include "drivers/model_tables.h"
#include "memories/memory_image.h"
#include "platform/number_text.h"

namespace dovrane {

namespace {

QString digits(int v, int n) { return QStringLiteral("%1").arg(v, n, 10, QLatin1Char('0')); }

template <class Table> bool inTable(const Table& table, int i) {
    return i >= 0 && !tableText(table, i).isEmpty() && tableText(table, i) != QLatin1String("?");
}

} // namespace

qint64 cellHertz(const QString& kHzText) {
    QString t = kHzText;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    return qint64(vbRound(val(t) * 1000.0));
}

namespace {

std::optional<QString> fieldsRecord(int rxType, const CellFields& f, int maxMemNr) {
    if (f.cell < 0 || f.cell > maxMemNr || f.cell > 999) return std::nullopt;
    const qint64 hz = cellHertz(f.frequency);
    if (hz < 1 || hz > 99999999) return std::nullopt;
    if (rxType != 0 && (double(hz) < FreqMin * 1000.0 - 0.5 || double(hz) > FreqMax * 1000.0 + 0.5))
        return std::nullopt;
    const QString head = QStringLiteral("MEM") + cellText(f.cell) + QLatin1Char(' ') + digits(int(hz), 8);
    if (rxType == 0) return fitText(head + QStringLiteral(" @ @@ @ @ @@@ @@@ @"), 35);

    if (!inTable(ModeTexts, f.mode) || !inTable(BwTexts, f.bandwidth)) return std::nullopt;
    const QString base = head + QLatin1Char(' ') + digits(f.mode, 1) + QLatin1Char(' ') + digits(f.bandwidth, 2);
    switch (rxType) {
    case 1:
        if (f.passband < 0 || f.passband > 255 || f.sqlBfo < 0 || f.sqlBfo > 255 || !inTable(YesNoTexts, f.scan))
            return std::nullopt;
        return fitText(base + QStringLiteral(" @ @ ") + digits(f.passband, 3) + QLatin1Char(' ') + digits(f.sqlBfo, 3) +
                           QLatin1Char(' ') + digits(f.scan, 1),
                       35);
    case 2:
    case 4:
        if (!inTable(AttTexts, f.attenuator) || !inTable(AgcTexts, f.agc)) return std::nullopt;
        return fitText(base + QLatin1Char(' ') + digits(f.attenuator, 1) + QLatin1Char(' ') + digits(f.agc, 1) +
                           QStringLiteral(" @@@ @@@ @"),
                       35);
    case 3:
        if (!inTable(AgcTexts, f.agc)) return std::nullopt;
        return fitText(base + QStringLiteral(" @ ") + digits(f.agc, 1) + QStringLiteral(" @@@ @@@ @"), 35);
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<QString> buildCellRecord(int rxType, const CellFields& f, int maxMemNr) {
    // The tables may hold texts beyond the codes of the model's records.
    std::optional<QString> r = fieldsRecord(rxType, f, maxMemNr);
    if (r && !isRecordOf(*r, rxType)) return std::nullopt;
    return r;
}

} // namespace dovrane
