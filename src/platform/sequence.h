#pragma once
// Letting the program answer between the receiver operations of a sequence.
//
// A receiver operation (one driver exchange with its framing and its fixed
// pauses) is atomic: it never runs events. A sequence of them (a panel's
// refresh, a hold with its refresh, Set R2M, a tick, a fetch) would hold the
// event loop for all of them together; instead, when an operation starts
// right after another one ended, the pending events run first. So no click or
// tick holds the event loop longer than its longest operation.
//
// What runs there is kept from running on top of the sequence: user input
// stays queued (it comes when the sequence has returned), and until the
// sequence has returned an application filter holds back, and then posts
// again, what would start another sequence or take its window away: the
// timer ticks of our windows, close requests for our windows and input posted
// to them; a box or notice asked for there waits too (later()). No window is destroyed while events run
// there (a WaitScope is held). Other events (painting, the serial line,
// timers not owned by a window) run.
#include <functional>

class QObject;

namespace dovrane {
class CommPort;
}

namespace dovrane::sequence {

// Held by a driver for the length of one operation on port; nested ones are
// part of the outer one. The outermost one, when it follows another
// operation, first lets the pending events run, and goes on running them
// while the line still carries what the last operation wrote: a write returns
// as soon as the system has taken its bytes, so the wait for the line would
// otherwise fall to the next operation.
class Operation {
public:
    explicit Operation(const CommPort& port);
    ~Operation();
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;
    // The sequence this operation belongs to was stopped (its window was
    // unloaded by something that ran between its operations): the operation
    // sends nothing and reports nothing.
    bool stopped() const;
};

// Held by a window's code that runs a sequence on behalf of that window. When
// the window is unloaded by something that ran between the sequence's
// operations, the sequence is stopped: its remaining operations send nothing
// (they return as a receiver that did not answer, without a notice), so the
// code runs to its end without touching the receiver again.
class Scope {
public:
    explicit Scope(const QObject* window);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
    // The window was unloaded in the middle of the sequence.
    bool stopped() const;

private:
    int index_;
};

// Held where events must not run between operations (a window being
// destroyed).
class NoYield {
public:
    NoYield();
    ~NoYield();
    NoYield(const NoYield&) = delete;
    NoYield& operator=(const NoYield&) = delete;
};

// The window registry tells of every unload.
void windowUnloaded(const QObject* window);

// True while pending events run between two operations.
bool yielding();
// Inside such a pause, puts call off until the sequence has returned to the
// event loop and returns true; otherwise returns false (the caller goes on).
// For what must not happen in the middle of a sequence: a box, a notice.
bool later(std::function<void()> call);
// How often events were let run between operations (tests).
long yieldCount();
// How many operations have begun (tests).
long operationCount();
// Installs the application filter (the windows do so when they are made).
void install();

} // namespace dovrane::sequence
