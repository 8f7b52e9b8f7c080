#pragma once
// The timer programme without its window: six slots that form a stack, the
// checks a new slot must pass, and the run from slot to slot at their UTC
// times. Events live in memory only.
//
// The run is decided from the clocks, not from counting ticks: an event
// starts at the first tick at which the UTC clock has reached its start
// minute, and ends once its duration has passed since it started, counted on
// the steady clock (Clock::steadyMs). Late or missed ticks neither stretch an
// event nor skip one, and a clock set by hand or a change to or from summer
// time during an event leaves its length as it was.
#include <QDateTime>
#include <QString>
#include <array>

namespace dovrane {

// Field numbers of a slot.
namespace slotfield {
inline constexpr int Day = 1, Month = 2, Year = 3, Hour = 4, Minute = 5, Duration = 6;
inline constexpr int Att = 7, Bw = 8, Pbs = 9, Bwc = 10, Mode = 11, Agc = 12, Freq0 = 13;
} // namespace slotfield

using SlotFields = std::array<int, 21>;

// The frequency of a slot in kHz (its eight digits of Hz).
double slotFrequencyKHz(const SlotFields& slot);

class TimerProgramme {
public:
    enum class State { Editing, Waiting, Running };

    // prog[slot][field]; slots 1..6, fields 1..20, the rest never written.
    std::array<SlotFields, 7> prog{};
    // progfixed[n] for n 1..6; 0 and 7 stay false, and 7 ends the chain.
    std::array<bool, 8> progfixed{};

    // Fixing and clearing. Only the top of the stack and the slot above it
    // can change; fix returns false for any other slot.
    bool fix(int n, const SlotFields& fields);
    bool clear(int n);
    void clearAll();
    // The highest fixed slot, 0 when none is.
    int top() const;
    // Which buttons the stack enables while editing: with slots 1..k fixed,
    // Fix k, Clr k and Fix k+1 (Fix 1 alone for k = 0).
    bool fixEnabled(int n) const;
    bool clrEnabled(int n) const;

    // Start and end of slot n, UTC.
    QDateTime slotStart(int n) const;
    QDateTime slotEnd(int n) const;
    QString slotKey(int n) const;

    // A start at or before the current minute is too late.
    static bool tooLate(const QDateTime& start, const QDateTime& nowUtc);
    // Slot n (2..6) must start at least a minute after slot n-1 ends.
    bool tooEarly(int n, const QDateTime& start) const;

    // The run.
    State state() const { return state_; }
    int tpslot() const { return tpslot_; }
    // Starts waiting for slot 1; false when slot 1 is not fixed.
    bool startRun();
    // A waiting tick: true when slot tpslot is due now and becomes the running event.
    bool dueNow(const QDateTime& nowUtc) const;
    // The event of tpslot has started (its line output is on) at startedMs
    // of the steady clock.
    void eventStarted(qint64 startedMs);
    // What is left of the running event at nowMs of the steady clock, 0 once
    // it has lasted its duration.
    qint64 msLeft(qint64 nowMs) const;
    // A running tick: true when the running event has lasted its duration.
    bool eventOver(qint64 nowMs) const { return state_ == State::Running && msLeft(nowMs) == 0; }
    // The running event has ended: true when the next slot is waited for,
    // false when the run is over (back to editing).
    bool eventEnded();
    // Ends the run wherever it is.
    void stopRun();

private:
    State state_ = State::Editing;
    int tpslot_ = 1;
    qint64 eventEndMs_ = 0;
};

} // namespace dovrane
