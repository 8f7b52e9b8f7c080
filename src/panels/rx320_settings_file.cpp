#include "panels/rx320_settings_file.h"

#include "drivers/model_tables.h"
#include "drivers/rx320/rx320_state.h"
#include "platform/number_text.h"
#include "platform/text_file.h"

#include <cmath>
#include <optional>

namespace dovrane {

namespace {

// Whether the line starts with a number as val() reads one: an empty line or
// one of words is not a 0 but no value at all.
bool holdsNumber(const QString& text) {
    int i = 0;
    const int n = text.size();
    auto blank = [&](int k) { return text[k] == QLatin1Char(' ') || text[k] == QLatin1Char('\t'); };
    while (i < n && blank(i)) ++i;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) ++i;
    bool point = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (blank(i)) continue;
        if (c.isDigit() && c.unicode() < 128) return true;
        if (c == QLatin1Char('.') && !point) {
            point = true;
            continue;
        }
        return false;
    }
    return false;
}

std::optional<double> lineValue(const QStringList& lines, int index) {
    if (index >= lines.size() || !holdsNumber(lines[index])) return std::nullopt;
    const double v = val(lines[index]);
    if (!std::isfinite(v)) return std::nullopt;
    return v;
}

// A whole-number field: the line's value rounded (a half to the even
// neighbour) when that lies within lo..hi, else the start value.
int wholeField(const QStringList& lines, int index, int lo, int hi, int start) {
    const std::optional<double> v = lineValue(lines, index);
    if (!v) return start;
    const double r = vbRound(*v);
    return r >= lo && r <= hi ? int(r) : start;
}

} // namespace

Rx320Settings parseRx320Settings(const QStringList& lines, const Rx320Settings& start, const Rx320Limits& limits) {
    Rx320Settings s = start;
    if (const std::optional<double> f = lineValue(lines, 0); f && *f >= limits.freqMin && *f <= limits.freqMax)
        s.freq = *f;
    const ModelCodes& codes = *modelCodes(RxModel::Rx320);
    s.bw = wholeField(lines, 1, codes.filter.lo, codes.filter.hi, start.bw);
    s.pbs = wholeField(lines, 2, -Rx320PbsLimit, Rx320PbsLimit, start.pbs);
    s.agc = wholeField(lines, 3, codes.agc.lo, codes.agc.hi, start.agc);
    s.bfo = wholeField(lines, 4, -Rx320BfoLimit, Rx320BfoLimit, start.bfo);
    s.mode = wholeField(lines, 5, codes.mode.lo, codes.mode.hi, start.mode);
    s.volume = wholeField(lines, 6, 0, Rx320LevelMax, start.volume);
    s.linelevel = wholeField(lines, 7, 0, Rx320LevelMax, start.linelevel);
    return s;
}

QStringList rx320SettingsLines(const Rx320Settings& s) {
    return {numText(s.freq),        numText(double(s.bw)),   numText(double(s.pbs)),    numText(double(s.agc)),
            numText(double(s.bfo)), numText(double(s.mode)), numText(double(s.volume)), numText(double(s.linelevel))};
}

Rx320Settings rx320SettingsFromState() {
    Rx320Settings s;
    s.freq = Rx320Freq;
    s.bw = Rx320Bw;
    s.pbs = Rx320Pbs;
    s.agc = Rx320Agc;
    s.bfo = Rx320Bfo;
    s.mode = Rx320Mode;
    s.volume = Rx320Volume;
    s.linelevel = Rx320Linelevel;
    return s;
}

void rx320SettingsToState(const Rx320Settings& s) {
    Rx320Freq = s.freq;
    Rx320Bw = int16_t(s.bw);
    Rx320Pbs = int16_t(s.pbs);
    Rx320Agc = int16_t(s.agc);
    Rx320Bfo = int16_t(s.bfo);
    Rx320Mode = int16_t(s.mode);
    Rx320Volume = int16_t(s.volume);
    Rx320Linelevel = int16_t(s.linelevel);
}

Rx320Settings readRx320SettingsFile(const QString& folder, const Rx320Settings& start, const Rx320Limits& limits) {
    const std::optional<QStringList> lines = readLines(findCaseInsensitive(folder, Rx320SettingsFileName));
    return parseRx320Settings(lines ? *lines : QStringList(), start, limits);
}

bool writeRx320SettingsFile(const QString& folder, const Rx320Settings& s, QString* error) {
    return writeLines(folder + Rx320SettingsFileName, rx320SettingsLines(s), error);
}

} // namespace dovrane
