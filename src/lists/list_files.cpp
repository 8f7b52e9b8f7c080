#include "lists/list_files.h"

#include "platform/number_text.h"
#include "platform/text_file.h"
#include "shell/globals.h"
#include "shell/settings_file.h"

#include <QFile>
#include <algorithm>
#include <cmath>

namespace dovrane {

QString fitListLine(const QString& line) { return line.left(ListLineWidth).leftJustified(ListLineWidth, QLatin1Char(' ')); }

QStringList listFrequencies(const QString& text, bool leadingBlank) {
    QStringList out;
    const QString all = text + QLatin1Char(',');
    int start = 0;
    for (int i = 0; i < all.size() && out.size() < MaxListFrequencies; ++i) {
        if (all[i] != QLatin1Char(',')) continue;
        const double v = val(all.mid(start, i - start));
        start = i + 1;
        if (v < 10) {
            out << QString();
            continue;
        }
        QString s = numText(v);
        if (!leadingBlank && s.startsWith(QLatin1Char(' '))) s.remove(0, 1);
        out << s;
    }
    return out;
}

std::optional<QStringList> readTextLines(const QString& path) {
    std::optional<QStringList> lines = readLines(path);
    // A file that ends in the old end-of-file mark has no record there.
    if (lines && !lines->isEmpty() && lines->last() == QStringLiteral("\x1a")) lines->removeLast();
    return lines;
}

std::optional<ListFileLines> readListFile(const QString& path, int capacity) {
    std::optional<QStringList> lines = readTextLines(path);
    if (!lines) return std::nullopt;
    ListFileLines out;
    const int n = int(lines->size());
    const int take = std::min(n, std::max(capacity, 0));
    out.lines = lines->mid(0, take);
    out.leftOut = n - take;
    return out;
}

int listCapacity(int settingIndex) {
    float thousands = Settings[size_t(settingIndex)];
    if (!(thousands >= 1)) thousands = defaultSetting(settingIndex);
    return int(std::lround(double(thousands) * 1000));
}

std::vector<QString> resolveBdxcLines(const QStringList& lines) {
    std::vector<QString> records;
    records.reserve(size_t(lines.size()));
    // Record 0 holds nothing, so a ditto on the first line copies blanks.
    QString previous(ListLineWidth, QLatin1Char(' '));
    for (const QString& line : lines) {
        QString r = fitListLine(line);
        if (r[0] == QLatin1Char('.')) r.replace(0, 17, previous.left(17));
        if (r[17] == QLatin1Char('.')) r.replace(17, 18, previous.mid(17, 18));
        records.push_back(r);
        previous = r;
    }
    return records;
}

bool bdxcTimeAnswer(const QString& answer) {
    if (answer.size() != 4) return false;
    const double v = val(answer);
    return v > 0 && v <= 2400;
}

bool bdxcOnAir(const QString& record, const QString& t) {
    const QString s = record.mid(35, 4), e = record.mid(40, 4);
    const int se = QString::compare(s, e, Qt::CaseSensitive);
    const auto le = [](const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseSensitive) <= 0; };
    if (se < 0) return le(s, t) && le(t, e);
    if (se > 0) return le(s, t) || le(t, e);
    return false;
}

QStringList bdxcRow(const QString& record) {
    const QString r = fitListLine(record);
    QStringList cells{r.mid(0, 16), r.mid(17, 17), r.mid(35, 9)};
    const QStringList freqs = listFrequencies(r.mid(48, 52), true);
    for (int k = 0; k < 7; ++k) cells << (k < freqs.size() ? freqs[k] : QString());
    return cells;
}

QStringList bdxcTitles(const QString& fileName) {
    if (fileName.left(3).toUpper() == QLatin1String("ILG"))
        return {QStringLiteral(" Broadcast Org."), QStringLiteral(" Language"), QStringLiteral(" Time(UTC)"),
                QStringLiteral(" Frequencies")};
    return {QStringLiteral(" Country"), QStringLiteral(" Broadcast Org."), QStringLiteral(" Time(UTC)"),
            QStringLiteral(" Frequencies")};
}

QStringList ownRow(const QString& record) {
    const QString r = fitListLine(record);
    QStringList cells{r.mid(0, 19), r.mid(20, 3), r.mid(24, 3), r.mid(28, 9)};
    const QStringList freqs = listFrequencies(r.mid(50, 50), false);
    for (int k = 0; k < 8; ++k) cells << (k < freqs.size() ? freqs[k] : QString());
    cells << QString() << r.mid(43, 1).toUpper();
    return cells;
}

F320Record f320Fields(const QString& line) {
    F320Record fields;
    int start = 0, n = 0;
    for (int i = 0; i < line.size() && n < F320Fields; ++i) {
        if (line[i] != QLatin1Char(',')) continue;
        QString f = line.mid(start, i - start);
        start = i + 1;
        if (f.startsWith(QLatin1Char('"'))) f.remove(0, 1);
        if (f.endsWith(QLatin1Char('"'))) f.chop(1);
        fields[size_t(n++)] = f;
    }
    return fields;
}

QStringList f320Row(const F320Record& f) {
    QString freq = formatPattern(val(f[1]) * 1000, QStringLiteral("00000.000"));
    freq.replace(QLatin1Char(','), QLatin1Char('.'));
    return {f[0], freq, f[2], f[7], f[8], f[9], f[10], f[11].left(20)};
}

} // namespace dovrane
