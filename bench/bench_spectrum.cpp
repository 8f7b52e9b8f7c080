// A spectrum scan of 500 steps with no dwell against the simulated receiver
// paced at its line's baud rate, beside what the wire needs: each step is one
// tune and one S-meter read, every byte out and back at 10 bits a byte. The
// NRD receivers are held in remote for the run, as the scan holds them.
// Usage: bench_spectrum [ar7030|nrd535|rx320|nrd545|all] [steps]
#include "bench_support.h"
#include "drivers/ar7030/clsar7030.h"
#include "drivers/model_tables.h"
#include "drivers/nrd535/clsnrd535.h"
#include "drivers/nrd545/clsnrd545.h"
#include "drivers/rx320/clsrx320.h"
#include "drivers/rx320/rx320_state.h"
#include "scanning/level_sample.h"
#include "scanning/spectrum_scan.h"
#include "shell/facade.h"
#include "shell/globals.h"
#include "shell/quiet_tune.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstring>

using namespace dovrane;

namespace {

struct Model {
    const char* name;
    int rxType;
    int baud;
    const char* settings;
    int tuneBytes;      // out
    int smeterOut;
    int smeterIn;
    void (*tables)();
};

const Model kModels[] = {
    {"ar7030", 1, 1200, "1200,N,8,1", 11, 8, 2, &initar7030tables},
    {"nrd535", 2, 4800, "4800,N,8,1", 10, 2, 4, &initnrd535tables},
    {"rx320", 3, 1200, "1200,N,8,1", 8, 2, 4, &initrx320tables},
    {"nrd545", 4, 4800, "4800,N,8,1", 12, 2, 5, &initnrd545tables},
};

// Scheduling and the pty's hand-over per operation, on top of the wire time.
constexpr double SlackMsPerOp = 5;

bool runModel(const Model& m, int steps) {
    auto rx = sim::makeSim(QString::fromLatin1(m.name));
    if (!rx || !rx->start()) {
        std::fprintf(stderr, "bench_spectrum: cannot start the %s simulator\n", m.name);
        return false;
    }
    rx->setBaud(m.baud);
    CommPort port;
    if (!bench::openOn(port, *rx, m.settings, "bench_spectrum")) {
        rx->stop();
        return false;
    }
    Comm1 = &port;
    RxType = m.rxType;
    m.tables();
    resetRx320State();
    createWelcomeDriver(RxType);
    LevelSampler sampler;
    if (sampler.NRD535A()) sampler.NRD535A()->Lockonoff(1);
    if (sampler.NRD545A()) sampler.NRD545A()->Lockonoff(1);
    sampler.beginRun();

    int missed = 0;
    SpectrumScan scan(
        [&] {
            std::optional<float> l = sampler.sample();
            if (!l) ++missed;
            return l;
        },
        [](double kHz) { return tuneQuietly(kHz) != TuneResult::Failed; });
    const double lower = 7000;
    scan.setup({lower, lower + steps, 1.0}, false, false);
    QElapsedTimer clock;
    clock.start();
    scan.begin();
    int ticks = 0;
    while (!scan.tick().finished && ticks <= steps + 1) ++ticks;
    const double ms = double(clock.nsecsElapsed()) / 1e6;

    if (sampler.NRD535A()) sampler.NRD535A()->Lockonoff(0);
    if (sampler.NRD545A()) sampler.NRD545A()->Lockonoff(0);
    releaseWelcomeDrivers();
    Comm1 = nullptr;
    port.close();
    rx->stop();

    const int measured = steps + 1;
    const double wire = bench::wireMs(measured * (m.tuneBytes + m.smeterOut + m.smeterIn), m.baud);
    const double limit = wire + SlackMsPerOp * 2 * measured;
    const bool within = ms <= limit;
    std::printf("%-8s %6d %5d %10.0f %10.0f %10.2f %10.0f %10.2f %8d %s\n", m.name, m.baud, measured, ms, limit,
                ms / measured, wire, wire / measured, missed, within ? "ok" : "over");
    return within && missed == 0;
}

} // namespace

int main(int argc, char** argv) {
    bench::prepareEnvironment();
    QApplication app(argc, argv);
    bench::printNotices();
    const char* which = argc > 1 ? argv[1] : "all";
    const int steps = argc > 2 ? std::max(1, std::atoi(argv[2])) : SpecMaxIndex;
    std::printf("Spectrum scan of %d steps, no dwell; times in ms\n", steps);
    std::printf("%-8s %6s %5s %10s %10s %10s %10s %10s %8s\n", "model", "baud", "steps", "total", "limit", "per step",
                "wire", "wire/step", "missed");
    bool ok = true;
    for (const Model& m : kModels)
        if (!std::strcmp(which, "all") || !std::strcmp(which, m.name)) ok = runModel(m, steps) && ok;
    return ok ? 0 : 1;
}
