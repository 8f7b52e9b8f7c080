#pragma once
// Applying a timer event to the receiver. The writes of an event are worked
// out first as a sequence of steps, in the order each model needs them, and
// then sent one by one through the timer's own driver object, each followed
// by the panel's change handler so that the panel shows what was sent.
#include "drivers/sent.h"
#include "timer/timer_programme.h"

#include <QPointer>
#include <vector>

namespace dovrane {

class clsAR7030;
class clsNRD535;
class clsNRD545;
class clsRX320;
class CommPort;
class NrdDriver;
class TimerEditor;

struct RxStep {
    enum class Member {
        Attenuator,
        Bandwidth,
        PassBandShift,
        Bandwidthcontrol,
        Mode,
        Ecss,
        Agcspeed,
        Pause,      // a wait of `value` ms that lets events run
        ShowMode,   // the panel's mode handler only: nothing is sent
    };
    Member member;
    int value;
    // Whether the panel's change handler follows the write.
    bool show = true;
    // The index of the step this one only makes sense after (a bandwidth
    // control after its filter, a side band after AM); -1 for none. Where
    // that step was left out, so is this one.
    int needs = -1;
    bool operator==(const RxStep&) const = default;
};

// The setting writes of a slot for receiver type rxType, after its tuning.
std::vector<RxStep> eventSteps(int rxType, const SlotFields& slot);

// The timer's own driver object of the current model and what it does with
// the receiver: apply a slot, switch the line output, read the present
// setting. A write that does not go out makes the operation return false.
class TimerReceiver {
public:
    // Creates the driver object of rxType on Comm1, or on the port given
    // (none for 0 or without a port).
    explicit TimerReceiver(int rxType);
    TimerReceiver(int rxType, CommPort* port);
    ~TimerReceiver();
    TimerReceiver(const TimerReceiver&) = delete;
    TimerReceiver& operator=(const TimerReceiver&) = delete;

    // Drops the driver object; later operations do nothing and fail.
    void release();

    // Tunes to the slot's frequency (never through a message box: a frequency
    // outside the receiver's range is refused) and sends its settings.
    bool apply(const SlotFields& slot);
    // 1 on at the level of the settings (AR7030 left line level, RX-320 line
    // level) or the NRD timer relay on, 0 off; other values do nothing.
    bool lineOut(int onoff);
    // The receiver's present setting and frequency into the editor.
    bool read(TimerEditor& editor);
    // Whether the receiver still answers (one S-meter read); true with no receiver.
    bool answers();
    // Whether the receiver answers a question that needs no hold (an NRD's
    // clock, the AR7030's squelch, the RX-320's S-meter): a write alone also
    // goes out to a receiver that is switched off. True with no receiver.
    bool heard();

    // The line output switched off once the receiver has answered, in three
    // steps for a caller that lets events run between them, so that none
    // holds it longer than one unanswered read. lineOffBegin() takes an NRD
    // into remote unless it is held (the others need nothing) and is true
    // when the question may follow; lineOffAsk() asks once and only after
    // an answer switches the output off, true when it did; lineOffEnd()
    // leaves the receiver as held or as free as it was, and follows every
    // lineOffBegin().
    bool lineOffBegin();
    bool lineOffAsk();
    void lineOffEnd();

private:
    SendResult send(const RxStep& step);
    bool hasDriver() const;
    NrdDriver* nrd() const;

    int rxType_;
    QPointer<clsAR7030> AR7030A;
    QPointer<clsNRD535> NRD535A;
    QPointer<clsRX320> RX320A;
    QPointer<clsNRD545> NRD545A;
};

} // namespace dovrane
