#include "timer/owed_line_off.h"
#include "drivers/rx_link.h"
#include "platform/commport.h"
#include "platform/timeouts.h"
#include "shell/globals.h"
#include "timer/timer_event.h"

#include <QObject>
#include <QPointer>
#include <QScopedValueRollback>
#include <QTimer>
#include <memory>

namespace dovrane::owedlineoff {

namespace {

class Debt;
// With the port closed, or a panel of another model on it, nothing can reach
// that receiver: the tries wait for a panel of its model to open the port.
bool reachable(const Debt& d);

class Debt : public QObject {
public:
    explicit Debt(CommPort* port) : QObject(port), port_(port), timer_(new QTimer(this)) {
        timer_->setSingleShot(true);
        timer_->setTimerType(Qt::PreciseTimer);
        connect(timer_, &QTimer::timeout, this, [this] { tick(); });
        // A panel's load has opened the port afresh: a receiver still silent
        // is news, and the load's own notice tells of it. The device is the
        // user's choice, and the debt goes with it.
        connect(port, &CommPort::opened, this, [this] {
            if (reachable(*this)) owedTo_ = port_->deviceIdentity();
            tryNow(false);
            tried();
        });
        // The load could not open the port (the adapter not yet plugged in):
        // the tries go on, and the first one that finds the device opens it;
        // the device found under the name the user chose is the one owed.
        connect(port, &CommPort::openFailed, this, [this] {
            if (reachable(*this)) owedTo_.reset();
            tried();
        });
        // Some other write has found the device back: no need to wait for the
        // next try. Queued, as that write is still under way.
        connect(
            port, &CommPort::reopened, this,
            [this] {
                if (rxType != 0 && port_->openCount() != triedOnOpenCount_) arm(0);
            },
            Qt::QueuedConnection);
        connect(port, &CommPort::closing, this, [this] {
            tryNow(true);
            // Whatever came of it, the tries wait for a panel on the port.
            if (paid_) settle();
            paid_ = false;
        });
    }
    ~Debt() override {
        if (!rx_) return;
        if (onOwedDevice()) {
            const ReopenPin pin(*port_, owedTo_);
            rx_->lineOffEnd();
        } else {
            giveUp();
        }
    }

    CommPort* port() const { return port_; }
    // The model whose line output is owed; 0 when nothing is.
    int rxType = 0;
    // The device it is owed to, the one the event last reached.
    void oweTo(const DeviceIdentity& device) { owedTo_ = device; }
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
    // Quiet, a silence the step meets adds no notice of its own: the user
    // was told when the event ended.
    bool advance(bool quiet);
    // A step from the timer; the next one follows on the next tick.
    void tick();
    // A try now, its steps back to back (or the rest of one under way).
    void tryNow(bool quiet);
    // After a try: the debt is paid, or the next try is armed while the
    // receiver can be reached.
    void tried();
    // Whether what a step writes goes to the device owed: the port open on
    // it, or closed (it then opens again only on that device).
    bool onOwedDevice() const;
    // Ends a try under way without a word to the receiver. Between its
    // steps no other command is under way: the busy flag is the try's own.
    void giveUp() {
        if (trying()) CmdBusy = 0;
        rx_.reset();
        stage_ = Stage::Idle;
    }

    CommPort* port_;
    QTimer* timer_;
    std::unique_ptr<TimerReceiver> rx_;
    Stage stage_ = Stage::Idle;
    // A step lets events run between its exchanges: nothing starts another
    // step on top of it.
    bool advancing_ = false;
    bool paid_ = false;
    // The port's open count when the last try ended: a try has met the
    // device that the port now leads to.
    quint64 triedOnOpenCount_ = 0;
    // The device owed; empty after a load that could not open the port,
    // until the port opens.
    std::optional<DeviceIdentity> owedTo_ = DeviceIdentity{};
};

QPointer<Debt> g_debt;

bool reachable(const Debt& d) { return d.rxType != 0 && d.port()->isWanted() && RxType == d.rxType; }

bool Debt::onOwedDevice() const {
    return !owedTo_ || !port_->isOpen() || port_->deviceIdentity().sameDevice(*owedTo_);
}

bool Debt::advance(bool quiet) {
    const QScopedValueRollback<bool> busy(advancing_, true);
    if (!onOwedDevice()) {
        // The port was opened on another device meanwhile: nothing of the
        // try, its closing steps included, may reach it. The bracket it
        // opened is given up with it: no command after it may take the
        // port as busy.
        giveUp();
        triedOnOpenCount_ = port_->openCount();
        return false;
    }
    // For the steps of a try, the port opens again by itself only on the
    // device owed; the user's own commands between them are not held back.
    const ReopenPin pin(*port_, owedTo_);
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
        triedOnOpenCount_ = port_->openCount();
        break;
    }
    if (quiet && !noticeBefore && rxNoticePending()) (void)takeRxNotice();
    // The port found its device again under the name the user chose.
    if (!owedTo_ && port_->isOpen()) owedTo_ = port_->deviceIdentity();
    return trying();
}

void Debt::tick() {
    if (advancing_) {
        timer_->start(0);   // the step under way first
        return;
    }
    if (advance(true)) timer_->start(0);
    else tried();
}

void Debt::tryNow(bool quiet) {
    if (advancing_) return;   // the step under way goes on
    timer_->stop();
    while (advance(quiet)) {
    }
}

void Debt::tried() {
    if (paid_) settle();
    else if (reachable(*this)) timer_->start(retryTimes.owedLineOffMs);
    paid_ = false;
}

} // namespace

void owe(int rxType) {
    if (rxType < 1 || rxType > 4 || !Comm1) return;
    if (g_debt && g_debt->port() != Comm1) delete g_debt.data();
    if (!g_debt) g_debt = new Debt(Comm1);
    g_debt->rxType = rxType;
    g_debt->oweTo(Comm1->deviceIdentity());
    g_debt->arm(retryTimes.owedLineOffMs);
}

void settle() {
    if (g_debt) g_debt->settle();
}

} // namespace dovrane::owedlineoff
