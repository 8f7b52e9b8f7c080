#include "timer/owed_line_off.h"
#include "drivers/rx_link.h"
#include "platform/commport.h"
#include "shell/globals.h"
#include "timer/timer_event.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <memory>

namespace dovrane::owedlineoff {

namespace {

class Debt : public QObject {
public:
    explicit Debt(CommPort* port) : QObject(port), port_(port), timer_(new QTimer(this)) {
        timer_->setSingleShot(true);
        timer_->setTimerType(Qt::PreciseTimer);
        connect(timer_, &QTimer::timeout, this, [this] { tick(); });
        connect(port, &CommPort::closing, this, [this] { lastTry(); });
    }
    ~Debt() override {
        if (rx_) rx_->lineOffEnd();
    }

    CommPort* port() const { return port_; }
    // The model whose line output is owed; 0 when nothing is.
    int rxType = 0;
    bool trying() const { return stage_ != Stage::Idle; }
    // The next try in ms (not while one is under way).
    void arm(int ms) {
        if (!trying()) timer_->start(ms);
    }
    void settle() {
        rxType = 0;
        if (!trying()) timer_->stop();
    }

private:
    enum class Stage { Idle, Begun, Asked };

    // One step of a try, the first one included; false once the try is over.
    bool advance();
    // A step from the timer; the next one follows on the next tick.
    void tick();
    // The port is about to close: a try now, its steps back to back.
    void lastTry();
    // After a try: the debt is paid, or the next try is armed while the
    // receiver can be reached.
    void tried();

    CommPort* port_;
    QTimer* timer_;
    std::unique_ptr<TimerReceiver> rx_;
    Stage stage_ = Stage::Idle;
    bool paid_ = false;
};

QPointer<Debt> g_debt;

// The debt of the port in use; one left on another port is none of its business.
Debt* current() {
    if (!g_debt || !Comm1 || g_debt->port() != Comm1 || g_debt->rxType == 0) return nullptr;
    return g_debt;
}

// With the port closed, or a panel of another model on it, nothing can reach
// that receiver: the tries wait for a panel on it (panelLoading).
bool reachable(const Debt& d) { return d.rxType != 0 && d.port()->isWanted() && RxType == d.rxType; }

bool Debt::advance() {
    const bool noticeBefore = rxNoticePending();
    switch (stage_) {
    case Stage::Idle:
        if (!reachable(*this)) return false;
        paid_ = false;
        rx_ = std::make_unique<TimerReceiver>(rxType, port_);
        stage_ = rx_->lineOffBegin() ? Stage::Begun : Stage::Asked;
        break;
    case Stage::Begun:
        // The timer may have switched the output on again meanwhile.
        paid_ = rxType != 0 && rx_->lineOffAsk();
        stage_ = Stage::Asked;
        break;
    case Stage::Asked:
        rx_->lineOffEnd();
        rx_.reset();
        stage_ = Stage::Idle;
        break;
    }
    // The user was told when the event ended; a try in the background that
    // meets the same silence adds no box of its own.
    if (!noticeBefore && rxNoticePending()) (void)takeRxNotice();
    return trying();
}

void Debt::tick() {
    if (advance()) timer_->start(0);
    else tried();
}

void Debt::lastTry() {
    timer_->stop();
    while (advance()) {
    }
    if (paid_) settle();
    paid_ = false;
}

void Debt::tried() {
    if (paid_) settle();
    else if (reachable(*this)) timer_->start(RetryMs);
    paid_ = false;
}

} // namespace

void owe(int rxType) {
    if (rxType < 1 || rxType > 4 || !Comm1) return;
    if (g_debt && g_debt->port() != Comm1) delete g_debt.data();
    if (!g_debt) g_debt = new Debt(Comm1);
    g_debt->rxType = rxType;
    g_debt->arm(RetryMs);
}

void settle() {
    if (g_debt) g_debt->settle();
}

void panelLoading() {
    Debt* d = current();
    // The load opens the port after its steps; the try comes once it is done.
    if (d && RxType == d->rxType) d->arm(0);
}

} // namespace dovrane::owedlineoff
