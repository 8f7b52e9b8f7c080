#pragma once
// Limits and setting texts of the receiver in use, filled by its panel's load.
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

namespace dovrane {

inline double FreqMin = 0;
inline double FreqMax = 0;
inline int16_t MaxMemNr = 0;
inline std::array<QString, 6> AttTexts;
inline std::array<QString, 10> ModeTexts;
inline std::array<QString, 11> AgcTexts;
inline QStringList BwTexts;   // bounds set by the panel
inline std::array<QString, 3> NbTexts;
inline std::array<QString, 3> YesNoTexts;
inline std::array<QString, 86> PbsTexts;

void initnorxtables();
void initar7030tables();
void initnrd535tables();
void initrx320tables();
void initnrd545tables();

// Empties BwTexts and gives it entries 0..upper, as each panel does before
// calling its builder.
void redimBwTexts(int upper);
// The text at index i of a table, "?" when i lies outside it.
QString tableText(const QStringList& table, int i);
template <size_t N> QString tableText(const std::array<QString, N>& table, int i) {
    return i >= 0 && size_t(i) < N ? table[size_t(i)] : QStringLiteral("?");
}

// The texts of the codes of an option (the NRD-535's AM-U and AM-L) follow
// the options as they now stand, in the tables of the model built last; Set
// Up calls it as it closes.
void followOptionTexts();

void resetModelTables();

// The receiver models, by the number RxType holds (and the settings keep).
enum class RxModel : int { None = 0, Ar7030 = 1, Nrd535 = 2, Rx320 = 3, Nrd545 = 4 };

// The mode codes of the NRD receivers that their rules name (the indices of
// their ModeTexts; 6 is the NRD-535's Fax, the NRD-545's AMS).
namespace nrdmode {
inline constexpr int Am = 4;
inline constexpr int Nfm = 5;
inline constexpr int Ams = 6;
inline constexpr int AmUpper = 7;
inline constexpr int AmLower = 8;
inline constexpr int Wfm = 9;
} // namespace nrdmode

// ---- each model's codes and options -------------------------------------
// The one statement of which codes each receiver model takes and which of them
// need an option of the receiver: the drivers' gate (receiverTakes, below),
// the panels, the timer editor, the cell editor, the text builders above and
// the memory-record check read it.

// The NRD-535's options, by their index in Settings.
inline constexpr int NarrowFilterOption = 10;
inline constexpr int BwcOption = 11;
inline constexpr int EcssOption = 12;
inline constexpr int RttyOption = 13;

// The codes of one setting: lo..hi (none when hi < lo), of which optLo..optHi
// exist only with an option fitted; option is the index of Settings that says
// whether it is.
struct CodeRange {
    int lo = 0;
    int hi = -1;
    int optLo = 0;
    int optHi = -1;
    int option = 0;
    constexpr bool has() const { return hi >= lo; }
    constexpr bool holds(int code) const { return code >= lo && code <= hi; }
    // The option a code of the range needs, 0 for none.
    constexpr int optionOf(int code) const { return option > 0 && code >= optLo && code <= optHi ? option : 0; }
};

struct ModelCodes {
    // The receiver's settings.
    CodeRange mode, filter, attenuator, agc;
    // The values of the bandwidth control the receiver reports and takes on
    // any filter (the NRD-535's only with its option), which the panel shows;
    // none where the receiver has no bandwidth control.
    // bandwidthControlRange gives them filter by filter.
    CodeRange bandwidthControl;
    // The value that stands for no bandwidth control on a filter without
    // one, which the receiver takes beside that range with the same option
    // (the NRD-535's 0, which a timer event sends on "Nar" and "Aux"); -1
    // for none.
    int bandwidthControlNone = -1;
    // The passband shift; none where no driver checks it here.
    CodeRange passbandShift;
    // The RTTY demodulator: 0 off, 1 on (the NRD-535's only with its unit;
    // switching off is always taken, so that a unit that may be absent can
    // be switched off). Its parameters go only to a unit that can be on.
    CodeRange rtty;
    // The noise blanker (0 off, 1 NB1, 2 NB2) and the ECSS side band of the
    // AM modes (NRD-545: 1 AM-U, 2 AM-L).
    CodeRange noiseBlanker, ecss;
    // The filter that a number outside `filter` stands for (the RX-320 takes
    // any number and gives it its widest filter); -1 where such a number is
    // refused.
    int widestFilter = -1;
    // A mode the receiver reports, and its channels hold, that nothing in the
    // program sets (the NRD-545's WFM); -1 for none.
    int reportedOnlyMode = -1;
    // The modes in which the receiver sets its filter itself and has neither
    // bandwidth control nor passband shift: the NRD receivers' NFM, and the
    // NRD-545's AMS.
    CodeRange fixedFilterModes;
    // The fields of a memory channel beside its frequency, mode and filter
    // (which hold the codes above); none where the channel keeps no such field.
    CodeRange channelAttenuator, channelAgc, channelPassband, channelSqlBfo, channelScan;
};

// The values of the bandwidth control with filter `filter` in use, as the
// receiver takes and reports them: NRD-535 "Wid" 2000..5500 Hz and "Int"
// 500..2200 Hz, with its option, none on "Nar" and "Aux"; NRD-545 1..999 (its
// units of 10 Hz, 999 shown as 9.99); none on other models.
CodeRange bandwidthControlRange(int rxType, int filter);
// The values the user steps the bandwidth control through: the timer
// editor's spinner and the NRD-545 panel's keys. NRD-535 its filter's range;
// NRD-545 10..990; none on other models.
CodeRange bandwidthControlStepRange(int rxType, int filter);
// True when the bandwidth control acts in mode `mode` with filter `filter` on
// the receiver as the set-up gives it: the NRD-535's on "Wid" and "Int" with
// its option, the NRD-545's on every filter; neither in a mode that fixes the
// filter.
bool bandwidthControlApplies(int rxType, int mode, int filter);
// True when mode `mode` of the receiver fixes its filter (fixedFilterModes).
bool fixesFilter(int rxType, int mode);
// The values of the passband shift: NRD-535 -2000..2000 Hz, NRD-545
// -230..230 (its units of 10 Hz); none on other models.
CodeRange passbandShiftRange(int rxType);
inline CodeRange bandwidthControlRange(RxModel model, int filter) { return bandwidthControlRange(int(model), filter); }
inline CodeRange bandwidthControlStepRange(RxModel model, int filter) {
    return bandwidthControlStepRange(int(model), filter);
}
inline bool bandwidthControlApplies(RxModel model, int mode, int filter) {
    return bandwidthControlApplies(int(model), mode, filter);
}
inline bool fixesFilter(RxModel model, int mode) { return fixesFilter(int(model), mode); }
inline CodeRange passbandShiftRange(RxModel model) { return passbandShiftRange(int(model)); }

// The codes of model rxType (0 no receiver, 1 AR7030, 2 NRD-535, 3 RX-320,
// 4 NRD-545); nullptr for any other number.
const ModelCodes* modelCodes(int rxType);
inline const ModelCodes* modelCodes(RxModel model) { return modelCodes(int(model)); }
// True when the option of Settings index `setting` is fitted (the setting is 1).
bool optionFitted(int setting);
// True when the receiver takes code: within the range, and its option, if it
// needs one, fitted.
bool takesCode(const CodeRange& range, int code);
// The option's name as the set-up dialog shows it ("1 kHz", "ECSS").
QString optionName(int setting);

// ---- the gate ----
// Every driver asks it before a setting goes out, whoever calls the driver:
// what the receiver does not take is never sent, and its setter answers
// Sent::Refused (drivers/sent.h) without a word on the line, so that a
// caller going on past such a setting (the settings of a mode letter, the
// steps of a timer event) tells it from a write that failed by the answer.
enum class RxSetting { Mode, Filter, Attenuator, Agc, BandwidthControl, PassbandShift, Rtty, NoiseBlanker, Ecss };
// The RTTY code that needs the unit: switching it on.
inline constexpr int RttyOn = 1;
// True when the receiver of model rxType, with the options the set-up gives
// it now, takes code for the setting (a model with a widestFilter takes every
// filter number).
bool receiverTakes(int rxType, RxSetting setting, int code);
inline bool receiverTakes(RxModel model, RxSetting setting, int code) {
    return receiverTakes(int(model), setting, code);
}

} // namespace dovrane
