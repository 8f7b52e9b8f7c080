// The memory manager's fetch of every channel of each model against the
// simulated receivers paced at the line's baud rate, beside its
// wire-and-pause limit: every byte sent and every reply byte awaited, one
// after the other (10 bits a byte), and the pauses the transfer prescribes
// (the NRD receivers: 100 ms after the hold, 15 ms before each channel, and
// the remote on/off pauses of the RTTY switch and the hold). Then the fill
// of the first 100 cells fetched, likewise. Then the time to load a
// 1000-cell memory file and show it in the window, beside 50 ms.
//
// Prints one line per measurement; "over" marks one more than 10% above its
// limit (or above 50 ms for the file).
#include "bench_support.h"
#include "drivers/ar7030/ar7030_protocol.h"
#include "drivers/model_tables.h"
#include "drivers/nrd/nrd_codec.h"
#include "drivers/nrd535/clsnrd535.h"
#include "drivers/nrd545/clsnrd545.h"
#include "memories/frmmemman.h"
#include "memories/memman_files.h"
#include "memories/memory_file.h"
#include "memories/memory_image.h"
#include "memories/memory_transfer.h"
#include "panels/panel_lock.h"
#include "platform/delay.h"
#include "shell/common_tables.h"
#include "shell/form.h"
#include "shell/globals.h"
#include "sim/ar7030_sim.h"
#include "sim/nrd535_sim.h"
#include "sim/nrd545_sim.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>
#include <optional>
#include <sys/prctl.h>

using namespace dovrane;

namespace {

// Stands for the NRD panel's hold: the driver's own Lockonoff.
template <class Driver> class Hold : public NrdLockPanel {
public:
    explicit Hold(CommPort& port) : driver_(port) {}
    void lockoffon(int v) override { driver_.Lockonoff(v); }

private:
    Driver driver_;
};

struct Model {
    const char* name;
    int rxType;
    int baud;
    void (*tables)();
    std::unique_ptr<sim::SimReceiver> sim;
    int replyBytes;  // per channel; 0 counts the AR7030's one-byte answers
    int fixedPauseMs;
    int gapMs;
};

bool fetchBench(Model& m) {
    m.sim->setBaud(m.baud);
    CommPort port;
    const QString settings = QStringLiteral("%1,N,8,1").arg(m.baud);
    if (!bench::openOn(port, *m.sim, settings.toLatin1().constData(), "bench_memories")) return false;
    RxType = m.rxType;
    m.tables();
    Comm1 = &port;
    std::optional<Hold<clsNRD535>> hold535;
    std::optional<Hold<clsNRD545>> hold545;
    NrdLockPanel* hold = nullptr;
    if (m.rxType == 2) hold = &hold535.emplace(port);
    if (m.rxType == 4) hold = &hold545.emplace(port);
    setLockPanel(hold);

    MemoryImage image;
    image.create(MaxMemNr);
    MemoryTransfer transfer(m.rxType, port);
    MemoryTransfer::Hooks hooks;
    hooks.progress = [](int) { delayms(0); };
    m.sim->waitIdle();
    m.sim->clearBytesReceived();
    QElapsedTimer t;
    t.start();
    const MemoryTransfer::Result r = transfer.fetch(image, MaxMemNr, hooks);
    m.sim->waitIdle();
    const double ms = double(t.nsecsElapsed()) / 1e6;
    clearLockPanel(hold);
    Comm1 = nullptr;

    const QByteArray sent = m.sim->bytesReceived();
    const int channels = MaxMemNr + 1;
    const int in = m.replyBytes > 0 ? m.replyBytes * channels : int(sent.count(char(ar7030::CmdRead)));
    const double limit = bench::wireMs(int(sent.size()) + in, m.baud) + m.fixedPauseMs + m.gapMs * channels;
    const bool ok = r.moved == channels && !r.lost;
    const bool over = ms > limit * 1.1;
    std::printf("fetch %-8s %4d channels at %4d baud: %9.1f ms   limit %9.1f ms (%+5.1f%%)%s%s\n", m.name, channels,
                m.baud, ms, limit, (ms / limit - 1) * 100, over ? "  over" : "", ok ? "" : "  FAILED");

    // The fetched cells 0..99 written back: every byte sent, the answers to
    // the questions that follow the writes (the AR7030's one-byte reads, the
    // NRD clock replies), the NRD pauses of the hold and 10 ms after each
    // channel write.
    const int last = std::min(99, int(MaxMemNr));
    setLockPanel(hold);
    Comm1 = &port;
    m.sim->waitIdle();
    m.sim->clearBytesReceived();
    t.restart();
    const MemoryTransfer::Result f = transfer.fill(image, 0, last, hooks);
    // The writes are done once the receiver has taken every byte of them.
    m.sim->waitIdle(120000);
    const double fillMs = double(t.nsecsElapsed()) / 1e6;
    clearLockPanel(hold);
    Comm1 = nullptr;
    const QByteArray out = m.sim->bytesReceived();
    const int answers = m.replyBytes > 0 ? int(out.count("R0\r")) * 8 : int(out.count(char(ar7030::CmdRead)));
    const int holdMs = m.replyBytes > 0 ? 4 * nrd::PauseMs : 0;
    const double fillLimit = bench::wireMs(int(out.size()) + answers, m.baud) + holdMs + (m.replyBytes > 0 ? 10 : 0) * f.moved;
    const bool filled = f.moved > 0 && !f.lost;
    const bool fillOver = fillMs > fillLimit * 1.1;
    std::printf("fill  %-8s %4d cells    at %4d baud: %9.1f ms   limit %9.1f ms (%+5.1f%%)%s%s\n", m.name, last + 1,
                m.baud, fillMs, fillLimit, (fillMs / fillLimit - 1) * 100, fillOver ? "  over" : "",
                filled ? "" : "  FAILED");
    return ok && !over && filled && !fillOver;
}

bool fileBench() {
    QTemporaryDir dir;
    DataFolder = QDir(dir.path()).absolutePath() + QLatin1Char('/');
    initcommontables();
    setFileKindPaths();
    RxType = 4;
    initnrd545tables();
    MemoryImage image;
    image.create(999);
    for (int n = 0; n <= 999; ++n) {
        image.setRecord(n, QStringLiteral("MEM%1 %2 4 01 0 3 @@@ @@@ @ ")
                               .arg(cellText(n))
                               .arg(5000000 + n * 5000, 8, 10, QLatin1Char('0')));
        image.setTag(n, QStringLiteral("Station %1").arg(n));
    }
    FileKindName[8] = QStringLiteral("MEM_4bench.TXT");
    if (!writeMemoryFile(FileKindPath[8] + FileKindName[8], image)) return false;

    frmMemman* w = forms::load<frmMemman>();
    w->show();
    QApplication::processEvents();
    QElapsedTimer t;
    t.start();
    loadmemfile();
    w->repaint();
    QApplication::processEvents();
    const double ms = double(t.nsecsElapsed()) / 1e6;
    const bool ok = MemImage.record(999) == image.record(999);
    std::printf("load and show a 1000-cell memory file: %6.1f ms   limit 50.0 ms%s%s\n", ms, ms > 50 ? "  over" : "",
                ok ? "" : "  FAILED");
    forms::destroyAll();
    return ok && ms <= 50;
}

} // namespace

int main(int argc, char** argv) {
    bench::prepareEnvironment();
    QApplication app(argc, argv);
    bench::printNotices();
    prctl(PR_SET_TIMERSLACK, 1UL);

    // The NRD pauses: RTTY off in its own remote on/off (4 x 50 ms), the hold
    // (2 x 50) and its release (2 x 50), 100 ms to settle.
    const int nrdFixed = 4 * nrd::PauseMs + 2 * nrd::PauseMs + 2 * nrd::PauseMs + 100;
    Model models[] = {
        {"AR7030", 1, 1200, initar7030tables, std::make_unique<sim::Ar7030Sim>(), 0, 0, 0},
        {"NRD-535", 2, 4800, initnrd535tables, std::make_unique<sim::Nrd535Sim>(), 17, nrdFixed, 15},
        {"NRD-545", 4, 4800, initnrd545tables, std::make_unique<sim::Nrd545Sim>(), 21, nrdFixed, 15},
    };
    auto* ar = static_cast<sim::Ar7030Sim*>(models[0].sim.get());
    for (int n = 0; n < 100; n += 2) ar->setChannel(n, *ar7030::frequencyWord(5000 + n * 10), 0x15, 4, 20);
    for (int n = 0; n < 200; n += 2)
        static_cast<sim::NrdSimBase*>(models[1].sim.get())->setChannel(n, sim::NrdSimBase::Setting{0, 1, 4, 5000000 + n, 1});
    for (int n = 0; n < 1000; n += 2)
        static_cast<sim::NrdSimBase*>(models[2].sim.get())->setChannel(n, sim::NrdSimBase::Setting{0, 1, 4, 5000000 + n, 30});

    int bad = 0;
    for (Model& m : models) {
        if (!m.sim->start()) {
            std::fprintf(stderr, "bench_memories: cannot open a pseudo-terminal\n");
            return 1;
        }
        if (!fetchBench(m)) ++bad;
        m.sim->stop();
    }
    if (!fileBench()) ++bad;
    return bench::exitStatus(bad == 0);
}
