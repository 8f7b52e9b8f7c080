#pragma once
// What every driver shares about a receiver that does not answer: the first
// failure in a row tells the user once; a good reply re-arms the notice.
#include <QString>

namespace dovrane {

class CommPort;

void noteRxFailure(const CommPort& port);
void noteRxSuccess();
// True while the last operation failed (tests and the panels read it).
bool rxFailing();

} // namespace dovrane
