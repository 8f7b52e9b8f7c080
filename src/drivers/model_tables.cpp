#include "drivers/model_tables.h"
#include "drivers/rx320/rx320_protocol.h"
#include "shell/globals.h"
#include "platform/number_text.h"

namespace dovrane {

namespace {

void emptyCommonTexts() {
    for (auto& s : YesNoTexts) s.clear();
    for (auto& s : AgcTexts) s.clear();
    for (auto& s : ModeTexts) s.clear();
    for (auto& s : AttTexts) s.clear();
}

void setLimits(double lo, double hi, int16_t maxMem) {
    FreqMin = lo;
    FreqMax = hi;
    MaxMemNr = maxMem;
}

template <size_t N> void fill(std::array<QString, N>& table, std::initializer_list<const char*> texts) {
    size_t i = 0;
    for (const char* t : texts) table[i++] = QString::fromLatin1(t);
}

void fillBw(std::initializer_list<const char*> texts) {
    int i = 0;
    for (const char* t : texts) {
        if (i >= BwTexts.size()) BwTexts.append(QString());
        BwTexts[i++] = QString::fromLatin1(t);
    }
}

} // namespace

void redimBwTexts(int upper) {
    BwTexts.clear();
    for (int i = 0; i <= upper; ++i) BwTexts.append(QString());
}

QString tableText(const QStringList& table, int i) {
    return i >= 0 && i < table.size() ? table[i] : QStringLiteral("?");
}

void initnorxtables() { setLimits(10, 30000, 99); }

void initar7030tables() {
    emptyCommonTexts();
    setLimits(10, 32016, 99);
    fill(AttTexts, {"+10 dB", "0 dB", "-10 dB", "-20 dB", "-30 dB", "-40 dB"});
    fill(ModeTexts, {"", "AM", "Sync", "NFM", "Data", "CW", "LSB", "USB"});
    fill(AgcTexts, {"Fst", "Med", "Slw", "Off"});
    fill(YesNoTexts, {"Y", "N"});
    // Tenths of a kHz from -4.2 to +4.2. The running value is single precision
    // like the receiver's tables, so the sign is decided with a margin rather
    // than by comparing with zero.
    float x = -4.2f;
    size_t k = 0;
    while (x <= 4.25f && k < PbsTexts.size()) {
        const QString sign = x <= -0.05f ? QStringLiteral("-") : (x >= 0.05f ? QStringLiteral("+") : QStringLiteral(" "));
        PbsTexts[k++] = sign + formatPattern(std::abs(double(x)), QStringLiteral("0.0k"));
        x += 0.1f;
    }
}

void initnrd535tables() {
    emptyCommonTexts();
    setLimits(10, 29999.999, 199);
    fill(AttTexts, {"0 dB", "-20 dB"});
    fillBw({"Wid", "Int", "Nar", "Aux"});
    fill(ModeTexts, {"RY", "CW", "USB", "LSB", "AM", "NFM", "Fax", "AM-U", "AM-L"});
    if (Settings[12] != 1.0f) {
        ModeTexts[7].clear();
        ModeTexts[8].clear();
    }
    fill(AgcTexts, {"Slw", "Fst", "Off"});
    fill(NbTexts, {"Off", "NB1", "NB2"});
}

void initrx320tables() {
    emptyCommonTexts();
    setLimits(100, 30000, 99);
    fill(ModeTexts, {"AM", "USB", "LSB", "CW"});
    fill(AgcTexts, {"", "Slw", "Med", "Fst"});
    // The widths are the driver's own; the display shows them as they are.
    for (int i = 0; i < int(rx320::FilterWidthsHz.size()); ++i) {
        if (i >= BwTexts.size()) BwTexts.append(QString());
        BwTexts[i] = rx320::filterWidthText(i);
    }
}

void initnrd545tables() {
    emptyCommonTexts();
    setLimits(10, 29999.999, 999);
    fill(AttTexts, {"0 dB", "-20 dB"});
    fillBw({"Wid", "Int", "Nar"});
    fill(ModeTexts, {"RY", "CW", "USB", "LSB", "AM", "NFM", "AMS", "AM-U", "AM-L", "WFM"});
    fill(AgcTexts, {"Off", "0200", "0400", "0600", "0800", "1000", "1200", "1400", "1600", "1800"});
    fill(NbTexts, {"Off", "NB1", "NB2"});
}

void resetModelTables() {
    setLimits(0, 0, 0);
    emptyCommonTexts();
    BwTexts.clear();
    for (auto& s : NbTexts) s.clear();
    for (auto& s : PbsTexts) s.clear();
}

} // namespace dovrane
