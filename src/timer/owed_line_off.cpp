#include "timer/owed_line_off.h"
#include "drivers/rx_link.h"
#include "platform/commport.h"
#include "shell/globals.h"
#include "timer/timer_event.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

namespace dovrane::owedlineoff {

namespace {

class Debt : public QObject {
public:
    explicit Debt(QObject* port) : QObject(port), timer(new QTimer(this)) {
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer, &QTimer::timeout, this, [] { retry(); });
    }
    QTimer* timer;
    int rxType = 0;
    bool trying = false;
};

QPointer<Debt> g_debt;

// The debt of the port in use; one left on another port is none of its business.
Debt* current() {
    if (!g_debt || !Comm1 || g_debt->parent() != Comm1 || g_debt->rxType == 0) return nullptr;
    return g_debt;
}

} // namespace

void owe(int rxType) {
    if (rxType < 1 || rxType > 4 || !Comm1) return;
    if (g_debt && g_debt->parent() != Comm1) delete g_debt.data();
    if (!g_debt) g_debt = new Debt(Comm1);
    g_debt->rxType = rxType;
    if (!g_debt->trying) g_debt->timer->start(RetryMs);
}

void settle() {
    if (!g_debt) return;
    g_debt->rxType = 0;
    g_debt->timer->stop();
}

bool owed() { return current() != nullptr; }

bool retrying() {
    const Debt* d = current();
    return d && d->timer->isActive();
}

bool retry() {
    QPointer<Debt> d = current();
    if (!d) return true;
    if (d->trying) return false;
    // With the port closed, or a panel of another model on it, nothing can
    // reach that receiver: the tries wait for a panel on it (panelLoading).
    if (!Comm1->isWanted() || RxType != d->rxType) {
        d->timer->stop();
        return false;
    }
    d->trying = true;
    const bool noticeBefore = rxNoticePending();
    bool done = false;
    {
        TimerReceiver rx(d->rxType);
        // A write to a receiver that does not answer proves nothing: it must
        // answer first. Neither call runs events.
        done = rx.answersUnheld() && rx.lineOut(0);
    }
    if (!d) return done;
    d->trying = false;
    if (done) {
        settle();
        return true;
    }
    // The user was told when the event ended; a try in the background that
    // meets the same silence adds no box of its own.
    if (!noticeBefore && rxNoticePending()) (void)takeRxNotice();
    d->timer->start(RetryMs);
    return false;
}

void panelLoading() {
    Debt* d = current();
    if (!d || d->trying || RxType != d->rxType) return;
    // The load opens the port after its steps; the try comes once it is done.
    d->timer->start(0);
}

} // namespace dovrane::owedlineoff
