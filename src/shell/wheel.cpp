#include "shell/wheel.h"

#include <QCoreApplication>
#include <QWheelEvent>
#include <QWidget>

namespace dovrane {

namespace {
constexpr int kNotch = 120;
}

int WheelSteps::feed(int angleDelta) {
    // A change of direction starts afresh, so a small turn back is not
    // swallowed by what gathered the other way.
    if ((rest_ > 0 && angleDelta < 0) || (rest_ < 0 && angleDelta > 0)) rest_ = 0;
    rest_ += angleDelta;
    const int steps = rest_ / kNotch;
    rest_ -= steps * kNotch;
    return steps;
}

WheelHook::WheelHook(QWidget* window, std::function<bool(int)> handler)
    : QObject(window), window_(window), handler_(std::move(handler)) {
    setObjectName(QStringLiteral("Msghook1"));
}

WheelHook::~WheelHook() {
    if (bound_ && QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

void WheelHook::bind() {
    if (bound_ || !QCoreApplication::instance()) return;
    QCoreApplication::instance()->installEventFilter(this);
    bound_ = true;
}

bool WheelHook::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel || !handler_) return false;
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || w->window() != window_) return false;
    const auto* wheel = static_cast<QWheelEvent*>(event);
    const int delta = wheel->angleDelta().y() != 0 ? wheel->angleDelta().y() : wheel->angleDelta().x();
    if (delta == 0) return false;
    return handler_(delta);
}

void initmousewheel(QWidget* frm, std::optional<int> hook) {
    if (!frm || !hook) return;
    if (auto* h = frm->findChild<WheelHook*>(QStringLiteral("Msghook1"), Qt::FindDirectChildrenOnly)) h->bind();
}

} // namespace dovrane
