#pragma once
// The editor row of the timer programming window without its widgets: the
// start date and time (UTC), the duration, the six receiver settings and the
// eight frequency digits, each stepped by its spin button within the limits of
// the calendar and of the receiver in use, and the NRD rules that decide which
// settings apply in the chosen mode.
//
// The labels of the receiver settings carry state of their own (a setting that
// does not apply shows "xxx" and its spinner is disabled), so the editor keeps
// their texts and enabled flags; the other labels follow from the fields.
#include "drivers/model_tables.h"

#include <QDateTime>
#include <QString>
#include <array>

namespace dovrane {

// Days of month m (1..12) in year y, by the Gregorian leap rule.
int monthLength(int year, int month);

// The time key "yyyy mm dd hh:mm" by which starts are compared: every part has
// a fixed width, so text order is time order.
QString timeKey(int year, int month, int day, int hour, int minute);
QString timeKey(const QDateTime& t);

// Month names "Jan".."Dec", index 1..12.
QString monthName(int month);

// The years the date spinners reach. The display keeps two digits, so the
// range is one century.
inline constexpr int FirstTimerYear = 2000;
inline constexpr int LastTimerYear = 2099;

class TimerEditor {
public:
    // The editor for receiver type rxType (0 no receiver .. 4 NRD-545), with the
    // model tables of that receiver loaded.
    explicit TimerEditor(int rxType);

    int rxType() const { return rxType_; }

    // Start date and time, UTC.
    int tpday = 1, tpmonth = 1, tpyear = FirstTimerYear, tphour = 0, tpminute = 0;
    int tpduration = 10;
    int tpatt = 0, tpbw = 0, tppbs = 0, tpbwc = 0, tpmode = 0, tpagc = 0;
    // tpfreq[k] is the digit of 10^k Hz.
    std::array<int, 8> tpfreq{};

    // Working fields of the NRD rules.
    int tpbwcmax = 0, tpbwcmin = 0, tpbwsaved = 0, tppbssaved = 0, tpbwcsaved = 0, tpagcsaved = 0, tpmodeprev = 0;

    // The setting labels (attenuator, bandwidth, passband shift, bandwidth
    // control, mode, AGC) and whether their spinners take steps.
    std::array<QString, 6> settingText;
    std::array<bool, 6> settingEnabled{true, true, true, true, true, true};

    // The start as a UTC date and time (seconds 0), and as its key.
    QDateTime start() const;
    QString startKey() const;
    // The editor start at the minute of utc (seconds dropped), the year kept
    // within the spinners' range.
    void setStart(const QDateTime& utc);

    QString dateText(int i) const;   // day, month name, two-digit year
    QString timeText(int i) const;   // hour "00", minute "00", duration
    QString freqText(int k) const;   // one digit

    // Frequency in Hz, and setting all eight digits from it.
    long frequencyHz() const;
    void setFrequencyHz(long hz);

    // The spin buttons; up true for a step up.
    void spinDate(int index, bool up);
    void spinTime(int index, bool up);
    void spinFreq(int k, bool up);
    void spinRxSetting(int index, bool up);

    // The receiver's present setting, as each model reports it.
    void readAr7030(int att, int bw, int pbsByte, int mode, int agc);
    void readNrd535(const QString& status);
    void readRx320(int bw, int pbs, int mode, int agc);
    void readNrd545(const QString& status, int pbs, int bwc);
    // No receiver: the settings do not apply.
    void readNoRx();

    // The NRD availability rules.
    void nrd535option11();
    void nrd535smdis5();
    void nrd545smdisx();
    // The options as Set Up now gives them: the texts of the mode and the
    // filter (blank for a code the event will leave out), and the bandwidth
    // control of a filter that has it, follow; a value the user picked stays
    // while it still applies.
    void followOptions();
    // The same for the setting texts of a fixed slot of rxType, so that a
    // slot's row shows what its event will send.
    static void followOptions(int rxType, const std::array<int, 21>& slot, std::array<QString, 6>& texts);

    // Fields 1..20 of a slot, in slot order (element 0 unused).
    std::array<int, 21> slotFields() const;

private:
    RxModel model() const { return RxModel(rxType_); }
    // The text of a setting label, by the model and the fields.
    QString textOf(int index) const;
    void showSetting(int index);
    // The NRD-535's bandwidth control goes out with the filter and the mode.
    bool controlGoesOut() const;
    void disable(int index);
    int monthDays() const { return monthLength(tpyear, tpmonth); }
    // The tens-of-MHz digit of FreqMax.
    static int topDigitLimit();

    int rxType_;
};

} // namespace dovrane
