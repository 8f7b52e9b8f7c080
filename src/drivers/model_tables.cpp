#include "drivers/model_tables.h"
#include "drivers/rx320/rx320_protocol.h"
#include "shell/globals.h"
#include "platform/number_text.h"

#include <iterator>

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
    // The modes of an option the receiver lacks have no text.
    const CodeRange& modes = modelCodes(2)->mode;
    for (int m = modes.lo; m <= modes.hi; ++m)
        if (!takesCode(modes, m)) ModeTexts[size_t(m)].clear();
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

namespace {

constexpr CodeRange kNone{};
constexpr CodeRange codes(int lo, int hi) { return {lo, hi}; }

// Indexed by RxType. The codes are the indices of each model's tables
// (ModeTexts, BwTexts, AttTexts, AgcTexts, YesNoTexts) and the AR7030's
// register bytes.
const ModelCodes kModelCodes[] = {
    // No receiver: nothing to set, and channels of nothing but a frequency.
    {kNone, kNone, kNone, kNone, -1, kNone, kNone, kNone, kNone, kNone},
    // AR7030: its channels keep passband shift, squelch or BFO and the scan flag.
    {codes(1, 7), codes(1, 6), codes(0, 5), codes(0, 3), -1, kNone, kNone, codes(0, 255), codes(0, 255),
     codes(0, 1)},
    // NRD-535: "Nar" with the 1 kHz filter, AM-U and AM-L with ECSS.
    {{0, 8, 7, 8, EcssOption}, {0, 3, 2, 2, NarrowFilterOption}, codes(0, 1), codes(0, 2), -1, codes(0, 1), codes(0, 2),
     kNone, kNone, kNone},
    // RX-320: the filters of its width table.
    {codes(rx320::AM, rx320::CW), codes(0, int(rx320::FilterWidthsHz.size()) - 1), kNone,
     codes(rx320::SlowAgc, rx320::FastAgc), -1, kNone, codes(rx320::SlowAgc, rx320::FastAgc), kNone, kNone, kNone},
    // NRD-545.
    {codes(0, 9), codes(0, 2), codes(0, 1), codes(0, 9), 9, codes(0, 1), codes(0, 9), kNone, kNone, kNone},
};

} // namespace

const ModelCodes* modelCodes(int rxType) {
    return rxType >= 0 && rxType < int(std::size(kModelCodes)) ? &kModelCodes[rxType] : nullptr;
}

bool optionFitted(int setting) {
    return setting > 0 && setting < int(Settings.size()) && Settings[size_t(setting)] == 1.0f;
}

bool takesCode(const CodeRange& range, int code) {
    if (!range.holds(code)) return false;
    const int option = range.optionOf(code);
    return option == 0 || optionFitted(option);
}

QString optionName(int setting) {
    switch (setting) {
    case NarrowFilterOption: return QStringLiteral("1 kHz");
    case BwcOption: return QStringLiteral("BWC");
    case EcssOption: return QStringLiteral("ECSS");
    case RttyOption: return QStringLiteral("RTTY");
    default: return QString();
    }
}

void resetModelTables() {
    setLimits(0, 0, 0);
    emptyCommonTexts();
    BwTexts.clear();
    for (auto& s : NbTexts) s.clear();
    for (auto& s : PbsTexts) s.clear();
}

} // namespace dovrane
