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
class clsAR7030;
class clsNRD535;
class clsNRD545;

void noteRxFailure(CommPort& port);
void noteRxSuccess();
// True while the last operation failed (tests and the panels read it).
bool rxFailing();
// True while a notice is queued and not yet shown.
bool rxNoticePending();
// Takes the queued notice over: it will not come up by itself, and the
// caller says in its own message that the receiver does not answer. The
// device the notice names; nothing when no notice is queued.
std::optional<QString> takeRxNotice();
// The notice's text for a device, for a caller that tells it in its own box.
QString rxNoticeText(const QString& device);

// A short question that shows a receiver is there after writes that get no
// answer: one register of the AR7030, the clock of an NRD receiver. The one
// driver given is asked; true when it answered.
bool receiverAnswers(clsAR7030* ar7030, clsNRD535* nrd535, clsNRD545* nrd545);
// The same question, and the RX-320's S-meter, through a driver object of
// its own for receiver model rxType on port: for a run that has none (one
// that only tunes or only listens). True for no receiver.
bool receiverAnswers(int rxType, CommPort& port);

} // namespace dovrane
