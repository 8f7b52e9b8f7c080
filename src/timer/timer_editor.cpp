#include "timer/timer_editor.h"
#include "drivers/ar7030/ar7030_convert.h"
#include "drivers/model_tables.h"
#include "platform/number_text.h"

#include <algorithm>
#include <cmath>

namespace dovrane {

namespace {

const QString kNotUsed = QStringLiteral("xxx");

// Any mode that leaves the filter free: the NRD-535's NFM runs a rule of its
// own (nrd535smdis5).
constexpr int kFreeFilterMode = -1;

// Steps v by delta within lo..hi; past one end it comes round to the other.
int wrap(int v, int delta, int lo, int hi) {
    v += delta;
    if (v > hi) return lo;
    if (v < lo) return hi;
    return v;
}

// One step through the codes of a setting that the receiver takes, passing
// over those of an option it lacks and, for the mode, the one it only reports.
int stepCode(int v, int delta, const CodeRange& codes, int skipped = -1) {
    for (int n = codes.lo; n <= codes.hi + 1; ++n) {
        v = wrap(v, delta, codes.lo, codes.hi);
        if (v != skipped && takesCode(codes, v)) break;
    }
    return v;
}

int hold(int v, int delta, int lo, int hi) { return std::clamp(v + delta, lo, hi); }

// One step of `step` through a range of the model table, round at its ends.
int wrapIn(int v, int step, const CodeRange& range) { return wrap(v, step, range.lo, range.hi); }

QString twoDigits(int v) { return formatPattern(double(v), QStringLiteral("00")); }

// Shown with a decimal point whatever the locale.
QString tenths(double v) { return formatPattern(v, QStringLiteral("0.0")); }

int statusDigit(const QString& s, int position) { return int(val(s.mid(position - 1, 1))); }

} // namespace

int monthLength(int year, int month) {
    static constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 31;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return days[month - 1] + (month == 2 && leap ? 1 : 0);
}

QString timeKey(int year, int month, int day, int hour, int minute) {
    return formatPattern(double(year), QStringLiteral("0000")) + QLatin1Char(' ') + twoDigits(month) +
           QLatin1Char(' ') + twoDigits(day) + QLatin1Char(' ') + twoDigits(hour) + QLatin1Char(':') +
           twoDigits(minute);
}

QString timeKey(const QDateTime& t) {
    const QDate d = t.date();
    const QTime h = t.time();
    return timeKey(d.year(), d.month(), d.day(), h.hour(), h.minute());
}

QString monthName(int month) {
    static const char* names[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return month >= 1 && month <= 12 ? QLatin1String(names[month - 1]) : QStringLiteral("?");
}

TimerEditor::TimerEditor(int rxType) : rxType_(rxType) {}

QDateTime TimerEditor::start() const {
    return QDateTime(QDate(tpyear, tpmonth, tpday), QTime(tphour, tpminute), Qt::UTC);
}

QString TimerEditor::startKey() const { return timeKey(tpyear, tpmonth, tpday, tphour, tpminute); }

void TimerEditor::setStart(const QDateTime& utc) {
    const QDate d = utc.date();
    tpyear = std::clamp(d.year(), FirstTimerYear, LastTimerYear);
    tpmonth = d.month();
    tpday = std::min(d.day(), monthDays());
    tphour = utc.time().hour();
    tpminute = utc.time().minute();
}

QString TimerEditor::dateText(int i) const {
    switch (i) {
    case 0: return QString::number(tpday);
    case 1: return monthName(tpmonth);
    case 2: return numText(double(tpyear)).right(2);
    default: return {};
    }
}

QString TimerEditor::timeText(int i) const {
    switch (i) {
    case 0: return twoDigits(tphour);
    case 1: return twoDigits(tpminute);
    case 2: return QString::number(tpduration);
    default: return {};
    }
}

QString TimerEditor::freqText(int k) const { return k >= 0 && k < 8 ? QString::number(tpfreq[size_t(k)]) : QString(); }

long TimerEditor::frequencyHz() const {
    long hz = 0;
    for (int k = 7; k >= 0; --k) hz = hz * 10 + tpfreq[size_t(k)];
    return hz;
}

void TimerEditor::setFrequencyHz(long hz) {
    hz = std::clamp(hz, 0L, 99999999L);
    for (int k = 0; k < 8; ++k) {
        tpfreq[size_t(k)] = int(hz % 10);
        hz /= 10;
    }
}

int TimerEditor::topDigitLimit() { return int(std::floor(FreqMax / 10000.0)); }

void TimerEditor::spinDate(int index, bool up) {
    const int d = up ? 1 : -1;
    switch (index) {
    case 0: tpday = wrap(tpday, d, 1, monthDays()); break;
    case 1:
        tpmonth = wrap(tpmonth, d, 1, 12);
        tpday = std::min(tpday, monthDays());
        break;
    case 2:
        tpyear = hold(tpyear, d, FirstTimerYear, LastTimerYear);
        tpday = std::min(tpday, monthDays());
        break;
    default: break;
    }
}

void TimerEditor::spinTime(int index, bool up) {
    const int d = up ? 1 : -1;
    switch (index) {
    case 0: tphour = wrap(tphour, d, 0, 23); break;
    case 1: tpminute = wrap(tpminute, d, 0, 59); break;
    case 2: tpduration = hold(tpduration, d, 1, 240); break;
    default: break;
    }
}

void TimerEditor::spinFreq(int k, bool up) {
    if (k < 0 || k > 7) return;
    int& digit = tpfreq[size_t(k)];
    digit = wrap(digit, up ? 1 : -1, 0, 9);
    if (k == 7) {
        const int limit = topDigitLimit();
        if (up && digit > limit) digit = 0;
        if (!up && digit == 9) digit = limit;
    }
    // Each digit wraps on its own; only the sum is kept within the receiver's range.
    const long hz = frequencyHz();
    const long maxHz = std::lround(FreqMax * 1000.0);
    const long minHz = std::lround(FreqMin * 1000.0);
    if (hz > maxHz) setFrequencyHz(maxHz);
    else if (hz < minHz) setFrequencyHz(minHz);
}

QString TimerEditor::textOf(int index) const {
    const RxModel m = model();
    switch (index) {
    case 0: return m == RxModel::Rx320 || m == RxModel::None ? kNotUsed : tableText(AttTexts, tpatt);
    case 1:
        // A filter of an option the receiver lacks is left out of the event:
        // it has no text, as such a mode has none.
        if (m == RxModel::Nrd545 || m == RxModel::None) return kNotUsed;
        return receiverTakes(m, RxSetting::Filter, tpbw) ? tableText(BwTexts, tpbw) : QString();
    case 2:
        switch (m) {
        case RxModel::Ar7030: return b2fs(vsb2b(tppbs));
        case RxModel::Nrd535: case RxModel::Rx320: return formatPattern(double(tppbs), QStringLiteral("0000"));
        case RxModel::Nrd545: return tenths(tppbs * 0.01);
        default: return kNotUsed;
        }
    case 3:
        // A control its filter does not have goes out as none.
        if (!bandwidthControlRange(m, tpbw).holds(tpbwc)) return kNotUsed;
        switch (m) {
        case RxModel::Nrd535: return formatPattern(double(tpbwc), QStringLiteral("0000"));
        case RxModel::Nrd545: return tenths(tpbwc * 0.01);
        default: return kNotUsed;
        }
    case 4: return m == RxModel::None ? kNotUsed : tableText(ModeTexts, tpmode);
    case 5: return m == RxModel::None ? kNotUsed : tableText(AgcTexts, tpagc);
    default: return {};
    }
}

void TimerEditor::showSetting(int index) {
    if (index >= 0 && index < 6) settingText[size_t(index)] = textOf(index);
}

void TimerEditor::disable(int index) {
    settingEnabled[size_t(index)] = false;
    settingText[size_t(index)] = kNotUsed;
}

void TimerEditor::spinRxSetting(int index, bool up) {
    if (index < 0 || index > 5 || !settingEnabled[size_t(index)]) return;
    const int d = up ? 1 : -1;
    const ModelCodes* codes = modelCodes(rxType_);
    if (!codes) return;
    auto modeStep = [&] { tpmode = stepCode(tpmode, d, codes->mode, codes->reportedOnlyMode); };
    switch (model()) {
    case RxModel::Ar7030:
        switch (index) {
        case 0: tpatt = stepCode(tpatt, d, codes->attenuator); break;
        case 1: tpbw = stepCode(tpbw, d, codes->filter); break;
        case 2: tppbs = wrap(tppbs, d, -42, 42); break;
        case 4: modeStep(); break;
        case 5: tpagc = stepCode(tpagc, d, codes->agc); break;
        default: return;
        }
        showSetting(index);
        break;
    case RxModel::Nrd535:
        switch (index) {
        case 0: tpatt = stepCode(tpatt, d, codes->attenuator); break;
        case 1:
            // Without the optional filter "Nar" is passed over.
            tpbw = stepCode(tpbw, d, codes->filter);
            nrd535option11();
            break;
        case 2: tppbs = wrapIn(tppbs, 100 * d, passbandShiftRange(rxType_)); break;
        case 3: tpbwc = wrap(tpbwc, 100 * d, tpbwcmin, tpbwcmax); break;
        case 4:
            // The ECSS modes only with the option.
            modeStep();
            showSetting(4);
            if (tpmode == nrdmode::Nfm || tpmodeprev == nrdmode::Nfm) nrd535smdis5();
            tpmodeprev = tpmode;
            return;
        case 5: tpagc = stepCode(tpagc, d, codes->agc); break;
        default: return;
        }
        showSetting(index);
        break;
    case RxModel::Rx320:
        switch (index) {
        // Up goes to the next narrower filter, which has the higher number.
        case 1: tpbw = stepCode(tpbw, -d, codes->filter); break;
        case 2: tppbs = wrap(tppbs, 100 * d, -2000, 2000); break;
        case 4: modeStep(); break;
        case 5: tpagc = stepCode(tpagc, d, codes->agc); break;
        default: return;
        }
        showSetting(index);
        break;
    case RxModel::Nrd545:
        switch (index) {
        case 0: tpatt = stepCode(tpatt, d, codes->attenuator); break;
        case 1: settingText[1] = kNotUsed; return;
        case 2: tppbs = wrapIn(tppbs, 10 * d, passbandShiftRange(rxType_)); break;
        case 3: tpbwc = wrapIn(tpbwc, 10 * d, bandwidthControlStepRange(rxType_, tpbw)); break;
        case 4:
            modeStep();
            showSetting(4);
            nrd545smdisx();
            tpmodeprev = tpmode;
            return;
        case 5: tpagc = stepCode(tpagc, d, codes->agc); break;
        default: return;
        }
        showSetting(index);
        break;
    default: break;
    }
}

void TimerEditor::readAr7030(int att, int bw, int pbsByte, int mode, int agc) {
    settingEnabled.fill(true);
    tpatt = att;
    showSetting(0);
    tpbw = bw;
    showSetting(1);
    tppbs = b2vsb(pbsByte);
    settingText[2] = b2fs(pbsByte);
    tpbwc = 0;
    disable(3);
    tpmode = mode;
    showSetting(4);
    tpagc = agc;
    showSetting(5);
}

void TimerEditor::readNrd535(const QString& status) {
    settingEnabled.fill(true);
    tpatt = statusDigit(status, 2);
    showSetting(0);
    tpbw = statusDigit(status, 3);
    showSetting(1);
    tppbs = 0;
    settingText[2] = QStringLiteral("0");
    nrd535option11();
    // The AGC is taken before the mode, so that NFM keeps the receiver's own
    // AGC as the one to come back to.
    tpagc = statusDigit(status, 13);
    showSetting(5);
    tpmode = statusDigit(status, 4);
    showSetting(4);
    if (tpmode == nrdmode::Nfm) nrd535smdis5();
    tpmodeprev = tpmode;
}

void TimerEditor::readRx320(int bw, int pbs, int mode, int agc) {
    settingEnabled.fill(true);
    tpatt = 0;
    disable(0);
    tpbw = bw;
    showSetting(1);
    tppbs = pbs;
    settingText[2] = QString::number(tppbs);
    tpbwc = 0;
    disable(3);
    tpmode = mode;
    showSetting(4);
    tpagc = agc;
    showSetting(5);
}

void TimerEditor::readNrd545(const QString& status, int pbs, int bwc) {
    settingEnabled.fill(true);
    tpatt = statusDigit(status, 2);
    showSetting(0);
    disable(1);
    tppbs = pbs;
    tppbssaved = tppbs;
    settingText[2] = tenths(tppbs / 100.0);
    tpbwc = bwc;
    tpbwcsaved = tpbwc;
    settingText[3] = tenths(tpbwc / 100.0);
    tpagc = statusDigit(status, 13);
    tpagcsaved = tpagc;
    tpmode = statusDigit(status, 4);
    showSetting(4);
    nrd545smdisx();
    tpmodeprev = tpmode;
}

void TimerEditor::readNoRx() {
    tpatt = tpbw = tppbs = tpbwc = tpmode = tpagc = 0;
    for (int i = 0; i < 6; ++i) disable(i);
}

void TimerEditor::nrd535option11() {
    // The control comes on at the top of the filter's range; a filter
    // without one (or a receiver without the option) leaves it at 0. The
    // mode is not asked: NFM runs its own rule (nrd535smdis5).
    const CodeRange range = bandwidthControlStepRange(rxType_, tpbw);
    const bool applies = bandwidthControlApplies(rxType_, kFreeFilterMode, tpbw);
    tpbwcmax = applies ? range.hi : 0;
    tpbwcmin = applies ? range.lo : 0;
    tpbwc = tpbwcmax;
    if (!applies) {
        disable(3);
    } else {
        settingEnabled[3] = true;
        showSetting(3);
    }
}

void TimerEditor::nrd535smdis5() {
    if (tpmode == nrdmode::Nfm) {
        tpbwsaved = tpbw;
        tpbw = 3;
        tppbs = 0;
        tpbwc = 0;
        tpagcsaved = tpagc;
        tpagc = 2;
        for (int i : {1, 2, 3, 5}) disable(i);
        return;
    }
    tpbw = tpbwsaved;
    tppbs = 0;
    tpagc = tpagcsaved;
    for (int i : {1, 2, 5}) {
        settingEnabled[size_t(i)] = true;
        showSetting(i);
    }
    if (optionFitted(BwcOption)) nrd535option11();
}

bool TimerEditor::controlGoesOut() const {
    // The event leaves the control out with a filter it leaves out.
    return receiverTakes(rxType_, RxSetting::Filter, tpbw) && bandwidthControlApplies(rxType_, tpmode, tpbw);
}

void TimerEditor::followOptions() {
    if (model() != RxModel::Nrd535) return;
    if (settingEnabled[4]) showSetting(4);
    if (settingEnabled[1]) showSetting(1);
    // The bandwidth control is set up afresh only where the option changed
    // what applies: a value the user spun stays while it still applies.
    if (controlGoesOut() != settingEnabled[3]) nrd535option11();
}

void TimerEditor::followOptions(int rxType, const std::array<int, 21>& slot, std::array<QString, 6>& texts) {
    if (RxModel(rxType) != RxModel::Nrd535) return;
    // The slot's settings as the editor shows them, by the editor's own
    // rules; a setting the row shows as not applying stays so.
    TimerEditor e(rxType);
    e.tpbw = slot[8];
    e.tpbwc = slot[10];
    e.tpmode = slot[11];
    for (int i : {1, 4})
        if (texts[size_t(i)] != kNotUsed) texts[size_t(i)] = e.textOf(i);
    texts[3] = e.controlGoesOut() ? e.textOf(3) : kNotUsed;
}

void TimerEditor::nrd545smdisx() {
    auto restoreShift = [this] {
        tppbs = tppbssaved;
        tpbwc = tpbwcsaved;
        for (int i : {2, 3}) {
            settingEnabled[size_t(i)] = true;
            showSetting(i);
        }
    };
    switch (tpmode) {
    case nrdmode::Nfm: case nrdmode::Ams: {
        tppbssaved = tppbs;
        tppbs = 0;
        // NFM and AMS run at the widest bandwidth the editor offers.
        const int widest = bandwidthControlStepRange(rxType_, tpbw).hi;
        if (tpbwc != widest) tpbwcsaved = tpbwc;
        tpbwc = widest;
        if (tpagc != 0) tpagcsaved = tpagc;
        tpagc = tpmode == nrdmode::Nfm ? 2 : 1;
        for (int i : {2, 3, 5}) disable(i);
        break;
    }
    case nrdmode::Am: case nrdmode::AmUpper: case nrdmode::AmLower:
        restoreShift();
        if (tpagc != 0) tpagcsaved = tpagc;
        tpagc = 1;
        disable(5);
        break;
    default:
        restoreShift();
        tpagc = tpagcsaved;
        settingEnabled[5] = true;
        showSetting(5);
        break;
    }
}

std::array<int, 21> TimerEditor::slotFields() const {
    std::array<int, 21> f{};
    f[1] = tpday;
    f[2] = tpmonth;
    f[3] = tpyear;
    f[4] = tphour;
    f[5] = tpminute;
    f[6] = tpduration;
    f[7] = tpatt;
    f[8] = tpbw;
    f[9] = tppbs;
    f[10] = tpbwc;
    f[11] = tpmode;
    f[12] = tpagc;
    for (int k = 0; k < 8; ++k) f[size_t(13 + k)] = tpfreq[size_t(k)];
    return f;
}

} // namespace dovrane
