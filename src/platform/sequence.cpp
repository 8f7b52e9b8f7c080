#include "platform/sequence.h"
#include "platform/commport.h"
#include "platform/delay.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QTimerEvent>
#include <QVariant>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

namespace dovrane::sequence {

namespace {

int g_opDepth = 0;      // operations in progress (nested ones counted)
int g_yieldDepth = 0;   // events running between operations
int g_noYield = 0;
bool g_owed = false;    // an operation has ended since events last ran
long g_operations = 0;
long g_yields = 0;
QPointer<const CommPort> g_lastPort;   // the port of the last operation

struct Held {
    QPointer<QObject> receiver;
    std::unique_ptr<QEvent> event;
};
std::vector<Held>& held() {
    static std::vector<Held> h;
    return h;
}

bool isWindow(const QObject* o) { return o && o->inherits("dovrane::Form"); }

// The window of ours a receiver belongs to: anything it keeps (its widgets,
// its menus, its timers, the timers of what it keeps).
const QObject* windowOf(const QObject* o) {
    for (; o; o = o->parent())
        if (isWindow(o)) return o;
    return nullptr;
}

bool isInput(QEvent::Type t) {
    switch (t) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

bool unloadedWindow(const QObject* w) { return w && w->property("dovraneUnloaded").toBool(); }

class Filter : public QObject {
public:
    bool eventFilter(QObject* receiver, QEvent* e) override {
        const QEvent::Type t = e->type();
        if (t == QEvent::DeferredDelete && isWindow(receiver)) {
            // A window's destruction runs no events between the operations
            // its members may still run.
            const NoYield noYield;
            delete receiver;
            return true;
        }
        if (t == QEvent::Timer) {
            const QObject* w = windowOf(receiver);
            if (!w) return false;
            auto* timer = qobject_cast<QTimer*>(receiver);
            // A window that is gone has no ticks, whoever started its timer
            // after it was unloaded.
            if (timer && unloadedWindow(w)) {
                timer->stop();
                return true;
            }
            if (g_yieldDepth == 0) return false;
            // One tick held is as good as many: a late timer ticks once.
            const int id = static_cast<QTimerEvent*>(e)->timerId();
            for (const Held& h : held())
                if (h.receiver == receiver && h.event->type() == QEvent::Timer &&
                    static_cast<QTimerEvent*>(h.event.get())->timerId() == id)
                    return true;
            hold(receiver, e);
            return true;
        }
        if (g_yieldDepth == 0) return false;
        if (t == QEvent::Close && isWindow(receiver)) {
            hold(receiver, e);
            e->ignore();   // the window stays until the close comes again
            return true;
        }
        if (isInput(t) && windowOf(receiver)) {
            hold(receiver, e);
            e->ignore();
            return true;
        }
        return false;
    }

private:
    static void hold(QObject* receiver, QEvent* e) {
        held().push_back({receiver, std::unique_ptr<QEvent>(e->clone())});
    }
};

QPointer<Filter>& filter() {
    static QPointer<Filter> f;
    return f;
}

std::vector<std::function<void()>>& deferred() {
    static std::vector<std::function<void()>> d;
    return d;
}

// Posted once events have stopped running: in the next pause between
// operations they are held again, and they come once the sequence has
// returned to the event loop.
void postHeld() {
    auto events = std::move(held());
    held().clear();
    for (Held& h : events)
        if (h.receiver) QCoreApplication::postEvent(h.receiver, h.event.release());
    auto calls = std::move(deferred());
    deferred().clear();
    for (auto& call : calls) QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(call), Qt::QueuedConnection);
}

bool onGuiThread() {
    QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

void yieldNow() {
    install();
    g_owed = false;
    ++g_yields;
    const WaitScope wait;  // no window is destroyed under the sequence
    ++g_yieldDepth;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    // Until the line has carried what the last operation wrote.
    constexpr qint64 Ms = 1'000'000;
    while (g_lastPort && g_lastPort->isOpen() && g_lastPort->nsUntilSent() >= Ms) {
        QEventLoop loop;
        QTimer::singleShot(int(g_lastPort->nsUntilSent() / Ms), Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    --g_yieldDepth;
    if (g_yieldDepth == 0) postHeld();
}

} // namespace

void pause(int ms) {
    if (ms <= 0) return;
    QElapsedTimer clock;
    clock.start();
    const qint64 ns = qint64(ms) * 1'000'000;
    if (g_opDepth == 0 && g_yieldDepth == 0 && g_noYield == 0 && onGuiThread()) {
        install();
        g_owed = false;
        ++g_yields;
        const WaitScope wait;
        ++g_yieldDepth;
        QEventLoop loop;
        QTimer end;
        end.setSingleShot(true);
        end.setTimerType(Qt::PreciseTimer);
        QObject::connect(&end, &QTimer::timeout, &loop, &QEventLoop::quit);
        end.start(ms);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        --g_yieldDepth;
        if (g_yieldDepth == 0) postHeld();
        // Events have run: the operation that follows need not run them again.
        g_owed = false;
    }
    // A timer may wake a little early; the receiver's pause is a minimum.
    if (const qint64 left = ns - clock.nsecsElapsed(); left > 0) std::this_thread::sleep_for(std::chrono::nanoseconds(left));
}

void install() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || filter()) return;
    filter() = new Filter;
    filter()->setParent(app);
    app->installEventFilter(filter());
    // Once the event loop runs again the sequence has returned: an operation
    // that comes next begins another one.
    if (QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance(app->thread())) {
        const auto returned = [] {
            if (g_yieldDepth == 0) g_owed = false;
        };
        QObject::connect(d, &QAbstractEventDispatcher::aboutToBlock, filter(), returned);
        QObject::connect(d, &QAbstractEventDispatcher::awake, filter(), returned);
    }
}

Operation::Operation(const CommPort& port) {
    if (g_opDepth == 0) {
        if (g_owed && g_yieldDepth == 0 && g_noYield == 0 && onGuiThread()) yieldNow();
        ++g_operations;
        g_lastPort = &port;
    }
    ++g_opDepth;
}

Operation::~Operation() {
    if (--g_opDepth == 0) g_owed = true;
}

NoYield::NoYield() { ++g_noYield; }
NoYield::~NoYield() { --g_noYield; }

bool yielding() { return g_yieldDepth > 0; }

bool later(std::function<void()> call) {
    if (g_yieldDepth == 0) return false;
    deferred().push_back(std::move(call));
    return true;
}

long operationCount() { return g_operations; }
long yieldCount() { return g_yields; }

} // namespace dovrane::sequence
