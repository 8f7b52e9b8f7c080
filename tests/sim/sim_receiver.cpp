#include "sim/sim_receiver.h"

#include <QFile>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <unistd.h>
#include <random>
#include <thread>

namespace dovrane::sim {

SimReceiver::~SimReceiver() { stop(); }

bool SimReceiver::start() {
    {
        std::lock_guard lock(stateMutex_);
        switchedOn();
    }
    peer_.setOnByte([this](uint8_t b) {
        // Switched off, the receiver hears nothing of what reaches its socket.
        if (fault() != Fault::Off) onByte(b);
        ++handled_;
    });
    return peer_.start();
}

void SimReceiver::stop() {
    peer_.stop();
    peer_.setOnByte(nullptr);
}

void SimReceiver::setFault(Fault fault, int lateMs) {
    std::lock_guard lock(stateMutex_);
    if (fault_ == Fault::Off && fault != Fault::Off) {
        log(QStringLiteral("(switched on)"));
        switchedOn();
    } else if (fault == Fault::Off && fault_ != Fault::Off) {
        log(QStringLiteral("(switched off)"));
    }
    fault_ = fault;
    lateMs_ = lateMs;
}

Fault SimReceiver::fault() const {
    std::lock_guard lock(stateMutex_);
    return fault_;
}

void SimReceiver::setLogger(std::function<void(const QString&)> logger) {
    std::lock_guard lock(logMutex_);
    logger_ = std::move(logger);
}

QStringList SimReceiver::logLines() const {
    std::lock_guard lock(logMutex_);
    return logLines_;
}

void SimReceiver::log(const QString& line) {
    std::function<void(const QString&)> logger;
    {
        std::lock_guard lock(logMutex_);
        logLines_ << line;
        if (logLines_.size() > 10000) logLines_.removeFirst();
        logger = logger_;
    }
    if (logger) logger(line);
}

void SimReceiver::reply(const QByteArray& bytes) {
    Fault f;
    int late;
    {
        std::lock_guard lock(stateMutex_);
        f = fault_;
        late = lateMs_;
        if (answersLeft_ == 0) {
            log(QStringLiteral("(no longer answering)"));
            return;
        }
        if (answersLeft_ > 0) --answersLeft_;
        ++repliesSent_;
    }
    switch (f) {
    case Fault::Silent:
    case Fault::Off:
        return;
    case Fault::Late:
        std::this_thread::sleep_for(std::chrono::milliseconds(late));
        peer_.send(bytes);
        return;
    case Fault::Garbage: {
        static std::mt19937 rng(12345);
        QByteArray g(bytes.size(), '\0');
        for (char& c : g) c = char(rng() & 0xFF);
        // Never hand back the right answer by chance.
        if (g == bytes && !g.isEmpty()) g[0] = char(~g[0]);
        peer_.send(g);
        return;
    }
    case Fault::None:
        peer_.send(bytes);
        return;
    }
}

void SimReceiver::setSmeterCurve(SmeterCurve curve) {
    std::lock_guard lock(stateMutex_);
    curve_ = std::move(curve);
}

std::optional<double> SimReceiver::curveLevel(double kHz) const {
    std::lock_guard lock(stateMutex_);
    if (!curve_) return std::nullopt;
    return curve_(kHz);
}

SimReceiver::SmeterCurve SimReceiver::bandCarriers() {
    return [](double kHz) {
        struct Carrier {
            double kHz, level;
        };
        static const Carrier carriers[] = {
            {5975, 12}, {6070, 15}, {7325, 9},  {9500, 17}, {9650, 11},
            {11750, 14}, {13650, 8}, {15400, 16}, {17790, 10}, {21470, 7},
        };
        double s = 1.5;   // the noise floor
        for (const Carrier& c : carriers) {
            // About 5 kHz wide at the top, gone 10 kHz away.
            const double d = std::abs(kHz - c.kHz);
            if (d < 10) s = std::max(s, c.level * (1.0 - d / 10.0) + 1.5 * d / 10.0);
        }
        return s;
    };
}

void SimReceiver::setStopAnsweringAfter(int n) {
    std::lock_guard lock(stateMutex_);
    answersLeft_ = n < 0 ? -1 : n;
}

int SimReceiver::repliesSent() const {
    std::lock_guard lock(stateMutex_);
    return repliesSent_;
}

std::map<QString, SimFactory>& simRegistry() {
    static std::map<QString, SimFactory> r;
    return r;
}

std::unique_ptr<SimReceiver> makeSim(const QString& model) {
    auto it = simRegistry().find(model.toLower());
    if (it == simRegistry().end()) return nullptr;
    return it->second();
}

} // namespace dovrane::sim
