// How long each RX-320 operation takes against the simulated receiver paced at
// the line's 1200 baud, beside what the wire itself needs: every byte out and
// back at 10 bits a byte, plus the fixed pauses of the operation (none).
// Prints one line per operation; "over" marks an operation whose median costs
// clearly more than its wire time.
#include "drivers/rx320/clsrx320.h"
#include "drivers/rx320/rx320_state.h"
#include "bench_support.h"
#include "platform/timeouts.h"
#include "shell/globals.h"
#include "sim/rx320_sim.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

using namespace dovrane;

namespace {

constexpr int Baud = 1200;
constexpr int Rounds = 5;
// Scheduling and the pty's own hand-over, on top of the wire time.
constexpr double SlackMs = 10;

using bench::Op;

} // namespace

int main(int argc, char** argv) {
    bench::prepareEnvironment();
    QApplication app(argc, argv);
    // A failure notice must not wait for a click nobody gives.
    bench::printNotices();

    sim::Rx320Sim sim;
    if (!sim.start()) {
        std::fprintf(stderr, "bench_rx320: cannot open a pseudo-terminal\n");
        return 1;
    }
    sim.setBaud(Baud);
    const QByteArray firmware("VER 1.07\r");
    sim.setFirmware(firmware);

    CommPort port;
    if (!bench::openOn(port, sim, "1200,N,8,1", "bench_rx320")) return 1;

    resetRx320State();
    Rx320Freq = 7000;
    Rx320Bw = 14;
    Rx320Agc = 2;
    clsRX320 rx(port);

    int step = 0;
    const std::vector<Op> ops = {
        {"FrequencyA", 8, 0, 0, [&] { return rx.FrequencyA(7000 + 0.137 * ++step); }},
        {"Bandwidth", 3 + 8, 0, 0, [&] { return bool(rx.Bandwidth(++step % 33)); }},
        {"Mode", 3 + 8, 0, 0, [&] { return bool(rx.Mode(++step % 4)); }},
        {"Agcspeed", 3, 0, 0, [&] { return bool(rx.Agcspeed(1 + ++step % 3)); }},
        {"PassBandShift", 8, 0, 0, [&] { return bool(rx.PassBandShift(50 * (++step % 40) - 1000)); }},
        {"Beatfreqosc", 8, 0, 0, [&] { return rx.Beatfreqosc(100 * (++step % 30) - 1500); }},
        {"Volume", 4, 0, 0, [&] { return rx.Volume(++step % 100); }},
        {"Linelevel", 4, 0, 0, [&] { return rx.Linelevel(++step % 100); }},
        {"Smeter", 2, 4, 0, [&] { return rx.Smeter().has_value(); }},
        {"Firmware", 2, int(firmware.size()), 0, [&] { return rx.Firmware().has_value(); }},
    };

    std::printf("RX-320 at %d baud, %d rounds each; times in ms, medians unless marked\n", Baud, Rounds);
    std::printf("  caller: how long the call held the caller; complete: until the receiver had the\n"
                "  whole command (a read: until its answer was taken)\n");
    std::printf("%-14s %10s %10s %10s %12s\n", "operation", "caller", "complete", "worst", "wire+pause");
    bool allOk = true;
    bool allWithin = true;
    for (const Op& op : ops) {
        std::vector<double> callers;
        std::vector<double> dones;
        bool ok = true;
        for (int r = 0; r < Rounds; ++r) {
            // Let the line fall idle so that each round starts from an empty wire.
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            sim.clearBytesReceived();
            QElapsedTimer t;
            t.start();
            ok = op.run() && ok;
            const double caller = t.nsecsElapsed() / 1e6;
            // A command is done when the receiver holds its last byte; a read
            // is done when its answer is back, which the caller already waited for.
            while (sim.bytesReceived().size() < op.bytesOut && t.elapsed() < 5000)
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            const double done = std::max(caller, t.nsecsElapsed() / 1e6);
            callers.push_back(caller);
            dones.push_back(done);
        }
        const double limit = bench::wireMs(op.bytesOut + op.bytesIn, Baud) + op.pauseMs;
        const double medianDone = bench::median(dones);
        const bool within = medianDone <= limit + SlackMs;
        std::printf("%-14s %10.1f %10.1f %10.1f %12.1f  %s%s\n", op.name, bench::median(callers), medianDone,
                    *std::max_element(dones.begin(), dones.end()), limit, within ? "ok" : "over",
                    ok ? "" : "  (operation failed)");
        allOk = allOk && ok;
        allWithin = allWithin && within;
    }
    port.close();
    sim.stop();
    return bench::exitStatus(allWithin, allOk);
}
