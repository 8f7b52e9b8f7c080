#include "memories/memory_print.h"

#include "drivers/ar7030/ar7030_convert.h"
#include "drivers/memory_record.h"
#include "drivers/model_tables.h"
#include "platform/number_text.h"

namespace dovrane {

namespace {

int value(const QString& r, int first, int last) { return valRounded(recordColumns(r, first, last)); }

// "@@@@ ": right-aligned in `places`, a longer text printed whole.
QString right(const QString& text, int places) { return text.rightJustified(places, QLatin1Char(' ')); }

QString digits(int v, int n) { return QStringLiteral("%1").arg(v, n, 10, QLatin1Char('0')); }

} // namespace

QString memoryPrintHeader(int rxType) {
    switch (rxType) {
    case 1: return QStringLiteral("     Nr  Frequency Mode  Bw    PBS  Sql  BFO  Scn Alpha tag");
    case 2:
    case 4: return QStringLiteral("     Nr  Frequency Mode Bw   Att  Agc  Alpha tag");
    case 3: return QStringLiteral("     Nr  Frequency Mode Bw   Agc  Alpha tag");
    default: return QString();
    }
}

QString memoryPrintLine(int rxType, int n, const QString& r, const QString& tag) {
    QString line = QStringLiteral("     ") + cellText(n) + QLatin1Char(' ');
    line += digits(value(r, 8, 12), 5) + QLatin1Char('.') + digits(value(r, 13, 15), 3) + QLatin1Char(' ');
    line += right(tableText(ModeTexts, value(r, 17, 17)), 4) + QLatin1Char(' ');
    line += right(tableText(BwTexts, value(r, 19, 20)), 4) + QLatin1Char(' ');
    switch (rxType) {
    case 1: {
        line += right(b2fs(value(r, 26, 28)), 6) + QLatin1Char(' ');
        const int mode = value(r, 17, 17);
        const int b = value(r, 30, 32);
        if (mode == 4 || mode == 5) line += QStringLiteral("   ") + right(b2fs(b), 6) + QLatin1Char(' ');
        else line += b2sql(b) + QString(8, QLatin1Char(' '));
        line += tableText(YesNoTexts, value(r, 34, 34)) + QStringLiteral("  ");
        break;
    }
    case 2:
    case 4:
        line += right(tableText(AttTexts, value(r, 22, 22)), 4) + QLatin1Char(' ');
        line += right(tableText(AgcTexts, value(r, 24, 24)), 4) + QStringLiteral("  ");
        break;
    case 3:
        line += right(tableText(AgcTexts, value(r, 24, 24)), 4) + QStringLiteral("  ");
        break;
    default:
        break;
    }
    return line + fitText(tag, MemoryTagLength);
}

QStringList memoryPrintLines(int rxType, const MemoryImage& image, int from, int to, const QString& fileName) {
    QStringList lines{QString(), QString(), QStringLiteral("     ") + fileName.toUpper(), QString(), QString()};
    const QString header = memoryPrintHeader(rxType);
    if (!header.isEmpty()) lines << header;
    lines << QString();
    for (int n = from; n <= to; ++n) lines << memoryPrintLine(rxType, n, image.record(n), image.tag(n));
    return lines;
}

} // namespace dovrane
