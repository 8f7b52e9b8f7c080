#include "drivers/rx_link.h"
#include "drivers/ar7030/clsar7030.h"
#include "drivers/nrd535/clsnrd535.h"
#include "drivers/nrd545/clsnrd545.h"
#include "drivers/rx320/clsrx320.h"
#include "platform/commport.h"
#include "platform/dialogs.h"
#include "platform/sequence.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace dovrane {

namespace {
bool g_failing = false;
int g_pending = 0;  // notices queued and not yet shown
int g_taken = 0;    // of those, the ones a caller has taken over
QString g_pendingDevice;

void showNotice(const QString& device) {
    // Not in the middle of a sequence: it stops, then the notice tells.
    if (sequence::later([device] { showNotice(device); })) return;
    // Shown even when a good reply has come in the meantime: the failure was
    // real, and the user should know the line dropped out.
    --g_pending;
    if (g_taken > 0) {
        --g_taken;
        return;
    }
    dialogs::message(rxNoticeText(device), dialogs::Buttons::Ok, dialogs::Icon::Exclamation, QStringLiteral("Error"));
}
} // namespace

void noteRxFailure(CommPort& port) {
    // The port keeps the open count of the spell it told of: one opened again
    // since then starts a new spell, so a receiver lost a second time is
    // reported a second time.
    std::optional<quint64>& told = port.receiverOnLine().toldOnOpenCount;
    if (g_failing && told == port.openCount()) return;
    g_failing = true;
    // A port the program closed, or one that never opened (the panel said so
    // when it loaded), is no receiver that fell silent.
    if (!port.isWanted() || port.openCount() == 0) {
        told.reset();
        return;
    }
    told = port.openCount();
    auto* app = QCoreApplication::instance();
    if (!app) return;
    ++g_pending;
    const QString device = port.deviceName();
    g_pendingDevice = device;
    QMetaObject::invokeMethod(app, [device] { showNotice(device); }, Qt::QueuedConnection);
}

void noteRxSuccess() { g_failing = false; }

bool rxFailing() { return g_failing; }

bool rxNoticePending() { return g_pending > 0; }

QString rxNoticeText(const QString& device) {
    return QStringLiteral("The receiver does not answer\n%1").arg(device);
}

std::optional<QString> takeRxNotice() {
    if (g_pending <= g_taken) return std::nullopt;
    ++g_taken;
    return g_pendingDevice;
}

bool receiverAnswers(clsAR7030* ar7030, clsNRD535* nrd535, clsNRD545* nrd545) {
    if (ar7030) return ar7030->Squelch().has_value();
    if (nrd535) return nrd535->RxClock().has_value();
    if (nrd545) return nrd545->RxClock().has_value();
    return false;
}

bool receiverAnswers(int rxType, CommPort& port) {
    switch (rxType) {
    case 1: {
        clsAR7030 rx(port);
        return receiverAnswers(&rx, nullptr, nullptr);
    }
    case 2: {
        clsNRD535 rx(port);
        return receiverAnswers(nullptr, &rx, nullptr);
    }
    case 3: return clsRX320(port).Smeter().has_value();
    case 4: {
        clsNRD545 rx(port);
        return receiverAnswers(nullptr, nullptr, &rx);
    }
    default: return true;
    }
}

} // namespace dovrane
