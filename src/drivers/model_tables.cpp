#include "drivers/model_tables.h"
#include "drivers/rx320/rx320_protocol.h"
#include "shell/globals.h"
#include "platform/number_text.h"

#include <algorithm>
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

// The model whose builder filled the text tables last (initnorxtables fills
// none, and None stands before the first).
RxModel g_textsOf = RxModel::None;

void fillNrd535Modes() {
    fill(ModeTexts, {"RY", "CW", "USB", "LSB", "AM", "NFM", "Fax", "AM-U", "AM-L"});
    // The modes of an option the receiver lacks have no text.
    const CodeRange& modes = modelCodes(RxModel::Nrd535)->mode;
    for (int m = modes.lo; m <= modes.hi; ++m)
        if (!takesCode(modes, m)) ModeTexts[size_t(m)].clear();
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
    g_textsOf = RxModel::Ar7030;
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
    g_textsOf = RxModel::Nrd535;
    fill(AttTexts, {"0 dB", "-20 dB"});
    fillBw({"Wid", "Int", "Nar", "Aux"});
    fillNrd535Modes();
    fill(AgcTexts, {"Slw", "Fst", "Off"});
    fill(NbTexts, {"Off", "NB1", "NB2"});
}

void initrx320tables() {
    emptyCommonTexts();
    setLimits(100, 30000, 99);
    g_textsOf = RxModel::Rx320;
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
    g_textsOf = RxModel::Nrd545;
    fill(AttTexts, {"0 dB", "-20 dB"});
    fillBw({"Wid", "Int", "Nar"});
    fill(ModeTexts, {"RY", "CW", "USB", "LSB", "AM", "NFM", "AMS", "AM-U", "AM-L", "WFM"});
    fill(AgcTexts, {"Off", "0200", "0400", "0600", "0800", "1000", "1200", "1400", "1600", "1800"});
    fill(NbTexts, {"Off", "NB1", "NB2"});
}

namespace {

constexpr CodeRange codes(int lo, int hi) { return {lo, hi}; }

// The bandwidth control and passband shift of the NRD receivers: the one
// statement of their ranges, read by the gate, the panels and the timer.
constexpr CodeRange Nrd535WideBwc{2000, 5500, 2000, 5500, BwcOption};
constexpr CodeRange Nrd535IntBwc{500, 2200, 500, 2200, BwcOption};
constexpr CodeRange Nrd535Pbs = codes(-2000, 2000);
constexpr CodeRange Nrd545Bwc = codes(1, 999);
// The timer editor steps the NRD-545's control within narrower bounds, and
// the panel's keys stop at them too.
constexpr CodeRange Nrd545BwcSteps = codes(10, 990);
constexpr CodeRange Nrd545Pbs = codes(-230, 230);
constexpr CodeRange NrdNoiseBlanker = codes(0, 2);

// The smallest range that holds both (their option is the same).
constexpr CodeRange span(const CodeRange& a, const CodeRange& b) {
    return {std::min(a.lo, b.lo), std::max(a.hi, b.hi), std::min(a.optLo, b.optLo), std::max(a.optHi, b.optHi),
            a.option};
}

// The RX-320's widest filter, by its width: it stands last in the table.
constexpr int rx320WidestFilter() {
    int widest = 0;
    for (int i = 1; i < int(rx320::FilterWidthsHz.size()); ++i)
        if (rx320::FilterWidthsHz[size_t(i)] > rx320::FilterWidthsHz[size_t(widest)]) widest = i;
    return widest;
}

// AR7030: its channels keep passband shift, squelch or BFO and the scan flag.
constexpr ModelCodes ar7030Codes() {
    ModelCodes c;
    c.mode = codes(1, 7);
    c.filter = codes(1, 6);
    c.attenuator = codes(0, 5);
    c.agc = codes(0, 3);
    c.channelPassband = codes(0, 255);
    c.channelSqlBfo = codes(0, 255);
    c.channelScan = codes(0, 1);
    return c;
}

// NRD-535: "Nar" with the 1 kHz filter, AM-U and AM-L with ECSS, the
// bandwidth control (Hz) with BWC, the RTTY demodulator with its unit.
constexpr ModelCodes nrd535Codes() {
    ModelCodes c;
    c.mode = {0, 8, 7, 8, EcssOption};
    c.filter = {0, 3, 2, 2, NarrowFilterOption};
    c.attenuator = codes(0, 1);
    c.agc = codes(0, 2);
    c.bandwidthControl = span(Nrd535WideBwc, Nrd535IntBwc);
    c.bandwidthControlNone = 0;
    c.passbandShift = Nrd535Pbs;
    c.rtty = {0, RttyOn, RttyOn, RttyOn, RttyOption};
    c.noiseBlanker = NrdNoiseBlanker;
    c.fixedFilterModes = codes(nrdmode::Nfm, nrdmode::Nfm);
    c.channelAttenuator = c.attenuator;
    c.channelAgc = c.agc;
    return c;
}

// RX-320: the filters of its width table.
constexpr ModelCodes rx320Codes() {
    ModelCodes c;
    c.mode = codes(rx320::AM, rx320::CW);
    c.filter = codes(0, int(rx320::FilterWidthsHz.size()) - 1);
    c.agc = codes(rx320::SlowAgc, rx320::FastAgc);
    c.widestFilter = rx320WidestFilter();
    c.channelAgc = c.agc;
    return c;
}

// NRD-545: the bandwidth control in units of 10 Hz.
constexpr ModelCodes nrd545Codes() {
    ModelCodes c;
    c.mode = codes(0, 9);
    c.filter = codes(0, 2);
    c.attenuator = codes(0, 1);
    c.agc = codes(0, 9);
    c.bandwidthControl = Nrd545Bwc;
    c.passbandShift = Nrd545Pbs;
    c.rtty = codes(0, RttyOn);
    c.noiseBlanker = NrdNoiseBlanker;
    c.ecss = codes(1, 2);
    c.reportedOnlyMode = nrdmode::Wfm;
    c.fixedFilterModes = codes(nrdmode::Nfm, nrdmode::Ams);
    c.channelAttenuator = c.attenuator;
    c.channelAgc = c.agc;
    return c;
}

// Indexed by RxModel. The codes are the indices of each model's tables
// (ModeTexts, BwTexts, AttTexts, AgcTexts, YesNoTexts) and the AR7030's
// register bytes. No receiver: nothing to set, and channels of nothing but a
// frequency.
constexpr ModelCodes kModelCodes[] = {ModelCodes{}, ar7030Codes(), nrd535Codes(), rx320Codes(), nrd545Codes()};

} // namespace

const ModelCodes* modelCodes(int rxType) {
    return rxType >= 0 && rxType < int(std::size(kModelCodes)) ? &kModelCodes[rxType] : nullptr;
}

CodeRange bandwidthControlRange(int rxType, int filter) {
    if (rxType == int(RxModel::Nrd535)) {
        if (filter == 0) return Nrd535WideBwc;
        if (filter == 1) return Nrd535IntBwc;
        return {};
    }
    if (rxType == int(RxModel::Nrd545)) return Nrd545Bwc;
    return {};
}

CodeRange bandwidthControlStepRange(int rxType, int filter) {
    if (rxType == int(RxModel::Nrd545)) return Nrd545BwcSteps;
    return bandwidthControlRange(rxType, filter);
}

bool bandwidthControlApplies(int rxType, int mode, int filter) {
    const CodeRange range = bandwidthControlRange(rxType, filter);
    // Where the control is an option, all of its values are.
    const int option = range.optionOf(range.lo);
    return range.has() && (option == 0 || optionFitted(option)) && !fixesFilter(rxType, mode);
}

bool fixesFilter(int rxType, int mode) {
    const ModelCodes* codes = modelCodes(rxType);
    return codes && codes->fixedFilterModes.holds(mode);
}

CodeRange passbandShiftRange(int rxType) {
    const ModelCodes* codes = modelCodes(rxType);
    return codes ? codes->passbandShift : CodeRange{};
}

bool optionFitted(int setting) {
    return setting > 0 && setting < int(Settings.size()) && Settings[size_t(setting)] == 1.0f;
}

bool takesCode(const CodeRange& range, int code) {
    if (!range.holds(code)) return false;
    const int option = range.optionOf(code);
    return option == 0 || optionFitted(option);
}

bool receiverTakes(int rxType, RxSetting setting, int code) {
    const ModelCodes* codes = modelCodes(rxType);
    if (!codes) return false;
    switch (setting) {
    case RxSetting::Mode: return takesCode(codes->mode, code);
    case RxSetting::Filter: return takesCode(codes->filter, code) || codes->widestFilter >= 0;
    case RxSetting::Attenuator: return takesCode(codes->attenuator, code);
    case RxSetting::Agc: return takesCode(codes->agc, code);
    case RxSetting::BandwidthControl: {
        const CodeRange& bwc = codes->bandwidthControl;
        // "None" goes to a receiver that has the control at all.
        if (code == codes->bandwidthControlNone) {
            const int option = bwc.optionOf(bwc.lo);
            return option == 0 || optionFitted(option);
        }
        return takesCode(bwc, code);
    }
    case RxSetting::PassbandShift: return takesCode(codes->passbandShift, code);
    case RxSetting::Rtty: return takesCode(codes->rtty, code);
    case RxSetting::NoiseBlanker: return takesCode(codes->noiseBlanker, code);
    case RxSetting::Ecss: return takesCode(codes->ecss, code);
    }
    return false;
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

void followOptionTexts() {
    if (g_textsOf == RxModel::Nrd535) fillNrd535Modes();
}

void resetModelTables() {
    g_textsOf = RxModel::None;
    setLimits(0, 0, 0);
    emptyCommonTexts();
    BwTexts.clear();
    for (auto& s : NbTexts) s.clear();
    for (auto& s : PbsTexts) s.clear();
}

} // namespace dovrane
