#pragma once
// How a setting write through the gate ended. A caller that goes on past a
// setting the receiver does not take (the settings of a mode letter, the
// steps of a timer event) tells it from a write that failed by the answer
// alone, without asking the gate first.

namespace dovrane {

enum class Sent {
    Yes,       // the command went out
    Refused,   // the receiver or its options do not take the value: nothing went out
    NoAnswer,  // the command could not go out, or the receiver did not answer
    NotHeld,   // a command that acts only while the receiver is held, and it is not: nothing went out
};

class SendResult {
public:
    constexpr SendResult(Sent how) : how_(how) {}
    // The answer of a write that was allowed: sent, or it could not go out.
    static constexpr SendResult wrote(bool ok) { return ok ? Sent::Yes : Sent::NoAnswer; }

    // True only when the command went out.
    constexpr explicit operator bool() const { return how_ == Sent::Yes; }
    constexpr bool refused() const { return how_ == Sent::Refused; }
    constexpr bool unanswered() const { return how_ == Sent::NoAnswer; }
    constexpr bool notHeld() const { return how_ == Sent::NotHeld; }
    constexpr Sent how() const { return how_; }
    constexpr bool operator==(const SendResult&) const = default;

private:
    Sent how_;
};

} // namespace dovrane
