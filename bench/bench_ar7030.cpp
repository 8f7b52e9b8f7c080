// How long each AR7030 operation takes against the simulated receiver paced
// at the line's 1200 baud in both directions, beside what the wire itself
// needs: every byte out and every answer byte back at 10 bits a byte. The
// receiver's byte language has no pauses of its own, so that is the whole
// limit. An operation counts as done when its answer is in and the receiver
// has taken its last byte, whichever comes later (a write is handed to the
// port long before the line has carried it). The rounds follow each other at
// once, so every read starts while the line may still carry the one before.
//
// Prints one line per operation; "over" marks one more than 10% above its limit.
#include "drivers/ar7030/ar7030_protocol.h"
#include "drivers/ar7030/clsar7030.h"
#include "drivers/model_tables.h"
#include "bench_support.h"
#include "shell/globals.h"
#include "sim/ar7030_sim.h"

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
constexpr int Rounds = 9;

using bench::Op;

} // namespace

int main(int argc, char** argv) {
    bench::prepareEnvironment();
    QApplication app(argc, argv);
    // A failure notice must not wait for a click nobody gives.
    bench::printNotices();
    initar7030tables();

    sim::Ar7030Sim sim;
    if (!sim.start()) {
        std::fprintf(stderr, "bench_ar7030: cannot open a pseudo-terminal\n");
        return 1;
    }
    sim.setBaud(Baud);
    sim.setClockRunning(false);

    CommPort port;
    if (!bench::openOn(port, sim, "1200,N,8,1", "bench_ar7030")) return 1;
    clsAR7030 rx(port);

    const QString record = QStringLiteral("MEM012 09999990 5 03 @ @ 016 033 0 ");
    int step = 0;
    auto got = [](const auto& v) { return v.has_value(); };
    const std::vector<Op> ops = {
        {"Reset", 1, 0, 0, [&] { return rx.Reset(); }},
        {"Firmware", 2 + 8, 8, 0, [&] { return got(rx.Firmware()); }},
        {"PowerOnOff get", 4, 1, 0, [&] { return got(rx.PowerOnOff()); }},
        {"PowerOnOff 0", 17, 0, 0, [&] { return rx.PowerOnOff(0); }},
        {"PowerOnOff 1", 5, 0, 0, [&] { return rx.PowerOnOff(1); }},
        {"Attenuator get", 4, 1, 0, [&] { return got(rx.Attenuator()); }},
        {"Attenuator let", 5, 0, 0, [&] { return bool(rx.Attenuator(++step % 6)); }},
        {"Bandwidth get", 4, 1, 0, [&] { return got(rx.Bandwidth()); }},
        {"Bandwidth let", 6, 0, 0, [&] { return bool(rx.Bandwidth(1 + ++step % 6)); }},
        {"Mode get", 4, 1, 0, [&] { return got(rx.Mode()); }},
        {"Mode let", 6, 0, 0, [&] { return bool(rx.Mode(1 + ++step % 7)); }},
        {"Agcspeed get", 4, 1, 0, [&] { return got(rx.Agcspeed()); }},
        {"Agcspeed let", 5, 0, 0, [&] { return bool(rx.Agcspeed(++step % 4)); }},
        {"FrequencyA get", 4 + 2, 3, 0, [&] { return got(rx.FrequencyA()); }},
        {"FrequencyA let", 11, 0, 0, [&] { return rx.FrequencyA(7000 + 0.37 * ++step); }},
        {"Installedfilter", 4, 1, 0, [&] { return got(rx.Installedfilter(1 + ++step % 6)); }},
        {"Volume get", 4, 1, 0, [&] { return got(rx.Volume()); }},
        {"Volume let", 4 + 5, 1, 0, [&] { return rx.Volume(++step % 100); }},
        {"Leftauxlevel get", 4, 1, 0, [&] { return got(rx.Leftauxlevel()); }},
        {"Leftauxlevel let", 4 + 5, 1, 0, [&] { return rx.Leftauxlevel(++step % 100); }},
        {"Rightauxlevel get", 4, 1, 0, [&] { return got(rx.Rightauxlevel()); }},
        {"Rightauxlevel let", 4 + 5, 1, 0, [&] { return rx.Rightauxlevel(++step % 100); }},
        {"Bass get", 4, 1, 0, [&] { return got(rx.Bass()); }},
        {"Bass let", 4 + 5, 1, 0, [&] { return rx.Bass(++step % 17 - 8); }},
        {"Treble get", 4, 1, 0, [&] { return got(rx.Treble()); }},
        {"Treble let", 4 + 5, 1, 0, [&] { return rx.Treble(++step % 17 - 8); }},
        {"PassBandShift get", 4, 1, 0, [&] { return got(rx.PassBandShift()); }},
        {"PassBandShift let", 7, 0, 0, [&] { return bool(rx.PassBandShift(++step % 256)); }},
        {"Ifgain get", 4, 1, 0, [&] { return got(rx.Ifgain()); }},
        {"Ifgain let", 6, 0, 0, [&] { return rx.Ifgain(++step % 100); }},
        {"Squelch get", 4, 1, 0, [&] { return got(rx.Squelch()); }},
        {"Squelch let", 10, 0, 0, [&] { return rx.Squelch(++step % 151); }},
        {"Beatfreqosc get", 4, 1, 0, [&] { return got(rx.Beatfreqosc()); }},
        {"Beatfreqosc let", 7, 0, 0, [&] { return rx.Beatfreqosc(++step % 256); }},
        {"Smeter", 8, 2, 0, [&] { return got(rx.Smeter()); }},
        {"Memory get", 4 + 4 + 4 + 1 + 3 + 1, 3 + 1 + 1 + 1, 0, [&] { return got(rx.Memory(1)); }},
        {"Memory get (empty)", 4 + 3, 3, 0, [&] { return got(rx.Memory(50)); }},
        {"Memory let", 23, 0, 0, [&] { return rx.Memory(12, record); }},
        {"RxClock get", 3 + 3, 3, 0, [&] { return got(rx.RxClock()); }},
        {"RxClock let", 10, 0, 0, [&] { return rx.RxClock(QStringLiteral("12:34:56")); }},
    };

    std::printf("AR7030 at %d baud, median of %d runs\n", Baud, Rounds);
    std::printf("%-20s %5s %5s %10s %10s %7s\n", "operation", "out", "in", "limit ms", "took ms", "ratio");
    int failures = 0;
    int over = 0;
    for (const Op& op : ops) {
        std::vector<double> times;
        for (int r = 0; r < Rounds; ++r) {
            sim.clearBytesReceived();
            QElapsedTimer t;
            t.start();
            if (!op.run()) ++failures;
            // Done once the receiver has taken every byte the operation sent.
            while (sim.bytesReceived().size() < op.bytesOut && t.elapsed() < 5000)
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            times.push_back(double(t.nsecsElapsed()) / 1e6);
            if (sim.bytesReceived().size() != op.bytesOut) {
                std::fprintf(stderr, "%s: sent %d bytes, expected %d\n", op.name,
                             int(sim.bytesReceived().size()), op.bytesOut);
                ++failures;
            }
        }
        std::sort(times.begin(), times.end());
        const double took = times[times.size() / 2];
        const double limit = bench::wireMs(op.bytesOut + op.bytesIn, Baud);
        const double ratio = took / limit;
        if (ratio > 1.10) ++over;
        std::printf("%-20s %5d %5d %10.1f %10.1f %7.3f%s\n", op.name, op.bytesOut, op.bytesIn, limit, took, ratio,
                    ratio > 1.10 ? "  over" : "");
    }
    std::printf("%d operation(s) more than 10%% above the wire, %d failure(s)\n", over, failures);
    port.close();
    sim.stop();
    return bench::exitStatus(over == 0, failures == 0);
}
