#include "shell/run_notice.h"
#include "drivers/rx_link.h"
#include "platform/commport.h"
#include "platform/dialogs.h"
#include "shell/globals.h"

#include <QCoreApplication>
#include <QTimer>

namespace dovrane {

namespace {
// Never a box inside the tick that found the failure.
void showAfterTick(const QString& text, const QString& title) {
    auto* app = QCoreApplication::instance();
    if (!app) return;
    QTimer::singleShot(0, app, [text, title] {
        dialogs::message(text, dialogs::Buttons::Ok, dialogs::Icon::Exclamation, title);
    });
}
} // namespace

QString noticeDevice(const std::optional<QString>& queued) {
    if (queued) return *queued;
    return Comm1 ? Comm1->deviceName() : QString();
}

QString takeRxNoticeText() { return rxNoticeText(noticeDevice(takeRxNotice())); }

void RunNotice::failed() {
    if (device_) return;
    device_ = takeRxNotice();
}

void tellRxNoticeLater(const QString& device) { showAfterTick(rxNoticeText(device), QStringLiteral("Error")); }

void RunNotice::release() {
    if (!device_) return;
    tellRxNoticeLater(*device_);
    device_.reset();
}

void RunNotice::stopped(const QString& text, const QString& title) {
    QString full = text;
    if (device_ || rxFailing()) full = rxNoticeText(noticeDevice(device_)) + QLatin1Char('\n') + text;
    device_.reset();
    showAfterTick(full, title);
}

} // namespace dovrane
