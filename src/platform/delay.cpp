#include "platform/delay.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace dovrane {

namespace {
int g_depth = 0;
void (*g_onAllEnded)() = nullptr;
}

WaitScope::WaitScope() { ++g_depth; }
WaitScope::~WaitScope() {
    if (--g_depth == 0 && g_onAllEnded) QTimer::singleShot(0, [] { if (g_onAllEnded) g_onAllEnded(); });
}
void WaitScope::setOnAllEnded(void (*hook)()) { g_onAllEnded = hook; }
int WaitScope::depth() { return g_depth; }

void delayms(int ms) {
    if (ms <= 0) {
        QCoreApplication::processEvents();
        return;
    }
    if (ms > 65535) ms = 65535;
    WaitScope scope;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(ms);
    loop.exec();
}

} // namespace dovrane
