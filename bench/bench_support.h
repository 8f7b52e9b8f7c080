#pragma once
// What every receiver benchmark starts with: no window system, notices printed
// instead of waiting for a click, and the port opened on a simulated receiver.
#include "platform/commport.h"
#include "platform/dialogs.h"
#include "sim/sim_receiver.h"

#include <QByteArray>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace dovrane::bench {

inline void prepareEnvironment() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}

inline void printNotices() {
    dialogs::setHandler([](const dialogs::Box& box) {
        std::fprintf(stderr, "notice: %s\n", qPrintable(box.text));
        return dialogs::Reply{};
    });
}

inline bool openOn(CommPort& port, const sim::SimReceiver& rx, const char* settings, const char* program) {
    port.setDeviceName(rx.devicePath());
    port.setSettings(QString::fromLatin1(settings));
    if (port.open()) return true;
    std::fprintf(stderr, "%s: %s\n", program, qPrintable(port.errorString()));
    return false;
}

// What the line needs for bytes at baud, 10 bits a byte, in milliseconds.
inline double wireMs(int bytes, int baud) { return bytes * 10.0 * 1000.0 / baud; }

// One operation measured: bytes out and back, fixed pauses inside it.
struct Op {
    const char* name;
    int bytesOut;
    int bytesIn;
    int pauseMs;
    std::function<bool()> run;
};

// The exit status of a benchmark: 0 when every figure kept its limit and
// every operation did what it should, 1 otherwise, so that a script running
// the benchmarks sees a figure over its limit.
inline int exitStatus(bool allWithin, bool allDone = true) { return allWithin && allDone ? 0 : 1; }

// Prints one figure beside its limit, "ok" or "over"; true when within.
inline bool reportFigure(const char* what, double ms, double limitMs) {
    const bool within = ms <= limitMs;
    std::printf("%s %.1f ms (limit %.0f ms) %s\n", what, ms, limitMs, within ? "ok" : "over");
    return within;
}

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace dovrane::bench
