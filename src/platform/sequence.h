#pragma once
// Letting the program answer between the receiver operations of a sequence.
//
// A receiver operation (one driver exchange with its framing and its fixed
// pauses) is atomic: it never runs events. A sequence of them (a panel's
// refresh, a hold with its refresh, Set R2M, a tick, a fetch) would hold the
// event loop for all of them together; instead, when an operation starts
// after another one ended and the event loop has not run since, the pending
// events run first. So no click or tick holds the event loop much longer
// than its longest operation, whichever window or tick runs the sequence.
//
// What runs there is kept from running on top of the sequence. User input
// stays queued and comes once the sequence has returned to the event loop.
// An application filter holds back, and posts again after the pause, the
// timer ticks of our windows (and of what they keep), close requests for our
// windows and input posted to them; there they are held again, so they come
// once the sequence has returned. A box asked for there (a notice) waits the
// same way (later()). No window is destroyed meanwhile (a WaitScope is held),
// and a window that has been unloaded gets no more ticks. Painting, the serial
// line and timers no window keeps run.
#include <functional>

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

// A fixed pause a receiver wants after a command. Between two operations
// events run meanwhile, held as between any two operations; inside an
// operation, or where events may not run, a plain sleep. Never shorter than
// ms.
void pause(int ms);

// True while pending events run between two operations.
bool yielding();
// Inside such a pause, puts call off until the sequence has returned to the
// event loop and returns true; otherwise returns false (the caller goes on).
// For what must not happen in the middle of a sequence: a box, a notice.
bool later(std::function<void()> call);
// How many operations have begun, and how often events were let run between
// two of them (tests).
long operationCount();
long yieldCount();
// Installs the application filter (the windows do so when they are made).
void install();

} // namespace dovrane::sequence
