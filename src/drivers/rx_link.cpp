#include "drivers/rx_link.h"
#include "platform/commport.h"
#include "platform/dialogs.h"

namespace dovrane {

namespace {
bool g_failing = false;
}

void noteRxFailure(const CommPort& port) {
    if (g_failing) return;
    g_failing = true;
    dialogs::message(QStringLiteral("The receiver does not answer\n%1").arg(port.deviceName()),
                     dialogs::Buttons::Ok, dialogs::Icon::Exclamation, QStringLiteral("Error"));
}

void noteRxSuccess() { g_failing = false; }

bool rxFailing() { return g_failing; }

} // namespace dovrane
