// How long each NRD-535 and NRD-545 operation takes against the simulated
// receivers paced at the line's 4800 baud in both directions, beside its
// wire-and-pause limit: the time the line needs for every command byte and
// every awaited reply byte (10 bits a byte) together with the pauses the
// receivers prescribe (50 ms around remote on/off, 25 ms between the NRD-545
// status commands), laid out as the operation runs them. A write is handed
// to the port at once and the pause after it runs while the line still
// carries it; a reply starts once the receiver has the whole query. An
// operation counts as done when the driver returns and the receiver has
// taken its last byte, whichever comes later.
//
// Reads are measured twice: after a pause, and in rounds that follow each
// other at once ("back to back").
//
// Prints one line per operation; "over" marks one more than 10% above its limit.
#include "drivers/model_tables.h"
#include "drivers/nrd/nrd_codec.h"
#include "drivers/nrd535/clsnrd535.h"
#include "drivers/nrd545/clsnrd545.h"
#include "bench_support.h"
#include "shell/globals.h"
#include "sim/nrd535_sim.h"
#include "sim/nrd545_sim.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <sys/prctl.h>
#include <thread>
#include <vector>

using namespace dovrane;

namespace {

constexpr int Baud = 4800;
constexpr int Rounds = 15;
constexpr double ByteMs = 10.0 * 1000.0 / Baud;

// One step of an operation as the line sees it.
struct Step {
    enum Kind { Write, Pause, Reply } kind;
    int n;  // bytes written or awaited, or milliseconds of pause
};
using Plan = std::vector<Step>;

Step W(int bytes) { return {Step::Write, bytes}; }
Step P(int ms) { return {Step::Pause, ms}; }
Step R(int bytes) { return {Step::Reply, bytes}; }

// The steps inside remote on ("H1" twice) and remote off ("H0" twice).
Plan bracketed(const Plan& inner) {
    Plan p{W(3), P(nrd::PauseMs), W(3), P(nrd::PauseMs)};
    p.insert(p.end(), inner.begin(), inner.end());
    p.insert(p.end(), {P(nrd::PauseMs), W(3), P(nrd::PauseMs), W(3)});
    return p;
}

int bytesOut(const Plan& plan) {
    int n = 0;
    for (const Step& s : plan)
        if (s.kind == Step::Write) n += s.n;
    return n;
}

int bytesIn(const Plan& plan) {
    int n = 0;
    for (const Step& s : plan)
        if (s.kind == Step::Reply) n += s.n;
    return n;
}

double limitMs(const Plan& plan) {
    double driver = 0;    // where the driver stands
    double lineOut = 0;   // when the line to the receiver is free again
    for (const Step& s : plan) {
        switch (s.kind) {
        case Step::Write:
            lineOut = std::max(driver, lineOut) + s.n * ByteMs;
            break;
        case Step::Pause:
            driver += s.n;
            break;
        case Step::Reply:
            driver = std::max(driver, lineOut + s.n * ByteMs);
            break;
        }
    }
    return std::max(driver, lineOut);
}

struct Op {
    const char* name;
    Plan plan;
    std::function<bool()> run;
    // Also measured in rounds that follow each other at once, as a memory
    // fetch or a scan reads: a reply's late end must not spoil the next one.
    bool backToBack = false;
};

// Runs op `rounds` times and returns the time of each run, in ms; ok turns
// false when a run fails or sends other than `out` bytes.
std::vector<double> measure(sim::NrdSimBase& sim, const Op& op, int out, bool settle, bool& ok) {
    std::vector<double> times;
    for (int i = 0; i < Rounds; ++i) {
        // Let anything still under way settle before the clock starts.
        if (settle) std::this_thread::sleep_for(std::chrono::milliseconds(30));
        sim.clearBytesReceived();
        QElapsedTimer t;
        t.start();
        ok = op.run() && ok;
        // Spin rather than sleep: a sleep's own lateness would be counted.
        while (sim.bytesReceived().size() < out && t.elapsed() < 5000) std::this_thread::yield();
        times.push_back(t.nsecsElapsed() / 1e6);
        if (sim.bytesReceived().size() != out) ok = false;
    }
    std::sort(times.begin(), times.end());
    return times;
}

// Runs each operation Rounds times and prints its median beside its limit;
// returns the number of operations that failed or came out over.
int runOps(const char* model, sim::NrdSimBase& sim, const std::vector<Op>& ops) {
    std::printf("\n%s at %d baud, median of %d runs\n", model, Baud, Rounds);
    std::printf("%-28s %5s %5s %10s %10s %7s\n", "operation", "out", "in", "limit ms", "took ms", "ratio");
    int bad = 0;
    auto report = [&](const std::string& name, const Plan& plan, const std::vector<double>& times, bool ok) {
        const double took = times[times.size() / 2];
        const double limit = limitMs(plan);
        const double ratio = took / limit;
        const bool over = ratio > 1.10;
        if (!ok || over) ++bad;
        std::printf("%-28s %5d %5d %10.1f %10.1f %7.3f%s%s\n", name.c_str(), bytesOut(plan), bytesIn(plan), limit, took,
                    ratio, over ? "  over" : "", ok ? "" : "  FAILED");
    };
    for (const Op& op : ops) {
        const int out = bytesOut(op.plan);
        bool ok = true;
        const std::vector<double> times = measure(sim, op, out, true, ok);
        report(op.name, op.plan, times, ok);
        if (op.backToBack) {
            bool okB2b = true;
            const std::vector<double> b2b = measure(sim, op, out, false, okB2b);
            report(std::string("  back to back"), op.plan, b2b, okB2b);
        }
    }
    return bad;
}

} // namespace

int main(int argc, char** argv) {
    bench::prepareEnvironment();
    QApplication app(argc, argv);
    // A failure notice must not wait for a click nobody gives.
    bench::printNotices();

    // The simulators pace each byte with a sleep; the default timer slack
    // would add to every one of them. Their threads inherit this setting.
    prctl(PR_SET_TIMERSLACK, 1UL);

    sim::Nrd535Sim sim535;
    sim::Nrd545Sim sim545;
    if (!sim535.start() || !sim545.start()) {
        std::fprintf(stderr, "bench_nrd: cannot open a pseudo-terminal\n");
        return 1;
    }
    sim535.setBaud(Baud);
    sim545.setBaud(Baud);
    sim535.setChannel(12, sim::NrdSimBase::Setting{0, 1, 4, 6075000, 1});
    sim545.setChannel(3, sim::NrdSimBase::Setting{0, 1, 4, 9500000, 30});

    CommPort port535, port545;
    for (auto [port, sim] : {std::pair{&port535, static_cast<sim::NrdSimBase*>(&sim535)},
                             std::pair{&port545, static_cast<sim::NrdSimBase*>(&sim545)}}) {
        if (!bench::openOn(*port, *sim, "4800,N,8,1", "bench_nrd")) return 1;
    }
    auto got = [](const auto& v) { return v.has_value(); };
    int step = 0;

    // The bandwidth control is an option of the NRD-535: the receiver measured has it.
    Settings[BwcOption] = 1;
    clsNRD535 rx535(port535);
    const QString rec535 = QStringLiteral("MEM012 06075000 4 01 0 1 @@@ @@@ @ ");
    const std::vector<Op> ops535 = {
        {"Attenuator let", bracketed({W(3)}), [&] { return bool(rx535.Attenuator(++step % 2)); }},
        {"FrequencyA let", bracketed({W(10)}), [&] { return rx535.FrequencyA(7000 + ++step); }},
        {"RxStatus get", bracketed({W(6), P(nrd::PauseMs), W(8), R(17)}), [&] { return got(rx535.RxStatus()); }},
        {"RxStatus let", bracketed({W(17)}), [&] { return bool(rx535.RxStatus(QStringLiteral("X014070000001"))); }},
        {"RxClock get", bracketed({W(3), R(8)}), [&] { return got(rx535.RxClock()); }},
        {"RxClock let", bracketed({W(9)}), [&] { return rx535.RxClock(QStringLiteral("12:34:56")); }},
        {"Memory let", bracketed({W(17)}), [&] { return rx535.Memory(12, rec535); }},
        {"Lockonoff 1", {W(3), P(nrd::PauseMs), W(3), P(nrd::PauseMs)}, [&] { return rx535.Lockonoff(1); }},
        {"Smeter (held)", {W(2), R(4)}, [&] { return got(rx535.Smeter()); }, true},
        {"Memory get (held)", {W(8), R(16)}, [&] { return got(rx535.Memory(12)); }, true},
        {"PassBandShift (held)", {W(7), P(nrd::PauseMs)}, [&] { return bool(rx535.PassBandShift(++step % 2 ? 100 : -100)); }},
        {"Bandwidthcontrol (held)", {W(6), P(nrd::PauseMs)}, [&] { return bool(rx535.Bandwidthcontrol(2200)); }},
        {"Mode let (held)", {W(3)}, [&] { return bool(rx535.Mode(++step % 5)); }},
        {"RxStatus get (held)", {W(6), P(nrd::PauseMs), W(8), R(17)}, [&] { return got(rx535.RxStatus()); }, true},
        {"Lockonoff 0", {P(nrd::PauseMs), W(3), P(nrd::PauseMs), W(3)}, [&] { return rx535.Lockonoff(0); }},
    };

    clsNRD545 rx545(port545);
    const QString rec545 = QStringLiteral("MEM003 09500000 4 01 0 3 @@@ @@@ @ ");
    const Plan status545 = {W(5), P(nrd::ShortPauseMs), W(6), P(nrd::ShortPauseMs), W(5), P(nrd::PauseMs), W(8), R(21)};
    const std::vector<Op> ops545 = {
        {"Attenuator let", bracketed({W(3)}), [&] { return bool(rx545.Attenuator(++step % 2)); }},
        {"FrequencyA let", bracketed({W(12)}), [&] { return rx545.FrequencyA(7000 + ++step); }},
        {"FrequencyA get", bracketed({W(2), R(12)}), [&] { return got(rx545.FrequencyA()); }},
        {"RxStatus get", bracketed(status545), [&] { return got(rx545.RxStatus()); }},
        {"Bandwidthcontrolxxx get", bracketed({W(2), R(5)}), [&] { return got(rx545.Bandwidthcontrolxxx()); }},
        {"nt 1 get", bracketed({W(3), R(8)}), [&] { return got(rx545.nt(1)); }},
        {"RxClock get", bracketed({W(3), R(8)}), [&] { return got(rx545.RxClock()); }},
        {"Memory let", bracketed({W(21)}), [&] { return rx545.Memory(3, rec545); }},
        {"Userdefs 14", bracketed({W(9)}), [&] { return rx545.Userdefs(14, 800); }},
        {"Lockonoff 1", {W(3), P(nrd::PauseMs), W(3), P(nrd::PauseMs)}, [&] { return rx545.Lockonoff(1); }},
        {"Smeter (held)", {W(2), R(5)}, [&] { return got(rx545.Smeter()); }, true},
        {"Ifgain get (held)", {W(3), R(6)}, [&] { return got(rx545.Ifgain()); }, true},
        {"Ifgain let (held)", {W(6)}, [&] { return rx545.Ifgain(++step % 256); }},
        {"PassBandShift get (held)", {W(2), R(6)}, [&] { return got(rx545.PassBandShift()); }, true},
        {"Agcspeed get (held)", {W(3), R(6)}, [&] { return got(rx545.Agcspeed()); }, true},
        {"Memory get (held)", {W(8), R(21)}, [&] { return got(rx545.Memory(3)); }, true},
        {"RxStatus get (held)", status545, [&] { return got(rx545.RxStatus()); }, true},
        {"Lockonoff 0", {P(nrd::PauseMs), W(3), P(nrd::PauseMs), W(3)}, [&] { return rx545.Lockonoff(0); }},
    };

    int bad = runOps("NRD-535", sim535, ops535);
    bad += runOps("NRD-545", sim545, ops545);
    std::printf("\n%d operation(s) failed or over their limit by more than 10%%\n", bad);
    return bad == 0 ? 0 : 2;
}
