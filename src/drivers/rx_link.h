#pragma once
// What every driver shares about a receiver that does not answer: the first
// failure in a row (a read with no answer, a write that could not go out)
// tells the user once; a good reply, or the port opened afresh, re-arms the
// notice.
//
// The notice is never shown from inside the failing operation: it is queued
// and comes up once the operation, and whatever timer tick or click started
// it, has returned. A driver call therefore never runs events, and a tool's
// timer tick that meets a silent receiver does not open a box inside itself.
#include <QString>
#include <optional>

namespace dovrane {

class CommPort;

void noteRxFailure(const CommPort& port);
void noteRxSuccess();
// True while the last operation failed (tests and the panels read it).
bool rxFailing();
// True while a notice is queued and not yet shown.
bool rxNoticePending();
// Takes over the queued notice, for a tool that ends because of the same
// fault and tells both in one message: the notice will not come up, and its
// text is returned. Nothing when no notice waits.
std::optional<QString> takeRxNotice();

} // namespace dovrane
