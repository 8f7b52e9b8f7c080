#pragma once
// How long the event loop stood still while something ran: a plain timer,
// owned by no window, beats while events run, and every gap between two beats
// is kept. A path that holds the loop shows as one long gap; a path that lets
// events run between its steps shows as many short ones.
//
// Only the span of the path itself is counted: measure() waits for the
// heartbeat to run, forgets what came before, runs the path, and waits for
// the beat after it.
// A path that goes on by itself (a run's ticks) is given the time it runs.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace dovrane::test {

class EventLoopHeartbeat {
public:
    static constexpr int DefaultIntervalMs = 20;

    explicit EventLoopHeartbeat(int intervalMs = DefaultIntervalMs) : intervalMs_(intervalMs) {
        beat_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&beat_, &QTimer::timeout, [this] {
            const qint64 now = clock_.nsecsElapsed();
            if (counting_) gapsNs_.push_back(now - lastNs_);
            lastNs_ = now;
            ++beats_;
        });
    }

    // The gaps of the path's own span: from the path's start up to the beat
    // after its end. spanMs > 0 lets events run that long after the path
    // returned (for its ticks); without one, a path that goes on by itself
    // once it has returned (steps that follow each other through the event
    // loop) is waited for until `settled` holds, for up to settleCapMs.
    void measure(const std::function<void()>& path, int spanMs = 0, const std::function<bool()>& settled = {},
                 int settleCapMs = 3000) {
        start();
        waitBeats(2);
        // The first gap runs from the path's start: what held the loop
        // before it (a run's tick in progress) is not the path's.
        gapsNs_.clear();
        lastNs_ = clock_.nsecsElapsed();
        counting_ = true;
        path();
        if (spanMs > 0) runEvents(spanMs);
        else if (settled) {
            QElapsedTimer t;
            t.start();
            while (!settled() && t.elapsed() < settleCapMs) runEvents(5);
        }
        waitBeats(1);
        counting_ = false;
        stop();
    }

    void start() {
        if (beat_.isActive()) return;
        clock_.start();
        lastNs_ = 0;
        beat_.start(intervalMs_);
    }
    void stop() { beat_.stop(); }

    // Every gap counted, in ms.
    std::vector<double> gapsMs() const {
        std::vector<double> v;
        for (qint64 ns : gapsNs_) v.push_back(double(ns) / 1e6);
        return v;
    }
    double longestGapMs() const {
        qint64 longest = 0;
        for (qint64 ns : gapsNs_) longest = std::max(longest, ns);
        return double(longest) / 1e6;
    }
    // How many gaps were longer than limitMs.
    int gapsOver(double limitMs) const {
        return int(std::count_if(gapsNs_.begin(), gapsNs_.end(), [&](qint64 ns) { return double(ns) / 1e6 > limitMs; }));
    }
    int gapCount() const { return int(gapsNs_.size()); }

    // A `settled` for measure(): true once count() has not changed for
    // quietMs (the bytes a receiver has taken, say: its line has gone quiet).
    static std::function<bool()> unchangedFor(std::function<qint64()> count, int quietMs) {
        auto last = std::make_shared<qint64>(-1);
        auto since = std::make_shared<QElapsedTimer>();
        return [count = std::move(count), quietMs, last, since] {
            const qint64 now = count();
            if (now != *last || !since->isValid()) {
                *last = now;
                since->start();
                return false;
            }
            return since->elapsed() >= quietMs;
        };
    }

    // Runs events for ms milliseconds.
    static void runEvents(int ms) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QThread::msleep(1);
        }
    }

private:
    // Runs events until n more beats came; a machine too busy for them in
    // ten seconds gives up rather than hang.
    void waitBeats(int n) {
        const int until = beats_ + n;
        QElapsedTimer t;
        t.start();
        while (beats_ < until && t.elapsed() < 10000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            if (beats_ < until) QThread::msleep(1);
        }
    }

    QTimer beat_;
    QElapsedTimer clock_;
    int intervalMs_;
    qint64 lastNs_ = 0;
    int beats_ = 0;
    bool counting_ = false;
    std::vector<qint64> gapsNs_;
};

} // namespace dovrane::test
