#pragma once
// A line output the timer switched on and could not switch off again,
// because the receiver had stopped answering. A recorder wired to that output
// would run on for good, so the switch-off stays owed until it has reached
// the receiver: it is tried every few seconds for as long as a panel of that
// receiver model holds the port, whether or not the timer window is still
// open and whether or not the device is there (a try opens the port again
// once it is back), at once when some other write has opened the port
// again, once more just before the port closes (a panel closing, the
// program ending), and as soon as a panel of the same model has opened the
// port, within that panel's load (on whatever device the port then leads
// to).
//
// On the port, it is owed to one device: the one the event last reached, or
// the one a panel's load has since opened there. A try never opens the
// port again on a device that has since been given the port's name (another
// adapter plugged in as /dev/ttyUSB0, a pseudo-terminal's number handed to
// someone else): the debt then waits for the user's next Go on that port. A
// load that could not open the port leaves it to the first device the port
// then finds under the name the user chose.
//
// The debt belongs to the port (Comm1): it lives for the program run, not
// for the timer window, and it goes with the port. A try asks the receiver
// one question and switches the output off only once it has answered. On an
// NRD the try brackets itself in remote and leaves the receiver as held or
// as free as it was, and its steps (remote on, the question, remote off) run
// from separate timer ticks, so that no try holds the window longer than one
// unanswered read; the tries as the port opens and closes run them back to
// back, as a part of the load or the close.
//
// A try never runs inside a driver call and opens no box of its own: the
// user heard of the silence when the event ended, and a try on its timer or
// at the close that meets it again stays quiet. At a panel's load the port is
// open afresh, and a receiver still silent is told of as the load tells of it.
namespace dovrane::owedlineoff {

// The tries come every retryTimes.owedLineOffMs (platform/timeouts.h).

// The line output of receiver model rxType (1..4) is to be switched off.
void owe(int rxType);
// The line output has been switched as the timer wanted, or is no longer
// the timer's to switch: nothing is owed any more.
void settle();

} // namespace dovrane::owedlineoff
