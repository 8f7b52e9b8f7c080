// Starts a simulated receiver on a pseudo-terminal and points a port of the
// data folder's "serialports.ini" at it, so the program can be tried by hand.
#include "platform/commport.h"
#include "sim/sim_receiver.h"

#include <QCoreApplication>
#include <QDir>
#include <csignal>
#include <cstdio>
#include <thread>

using namespace dovrane;

namespace {
volatile std::sig_atomic_t g_stop = 0;
void onSignal(int) { g_stop = 1; }

int usage() {
    QStringList models;
    for (const auto& [name, f] : sim::simRegistry()) models << name;
    std::fprintf(stderr, "usage: rxsim MODEL [--data-folder DIR] [--port N]\n  MODEL: %s\n",
                 qPrintable(models.join(QLatin1String(", "))));
    return 2;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) return usage();
    QString model = args[0];
    QString folder = QDir::homePath() + QStringLiteral("/ReZeri/");
    int port = 1;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--data-folder") && i + 1 < args.size()) folder = args[++i];
        else if (args[i] == QLatin1String("--port") && i + 1 < args.size()) port = args[++i].toInt();
        else return usage();
    }
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    auto rx = sim::makeSim(model);
    if (!rx) return usage();
    // A few stations on the air, so that a scan shows something.
    rx->setSmeterCurve(sim::SimReceiver::bandCarriers());
    rx->setLogger([](const QString& line) {
        std::printf("%s\n", qPrintable(line));
        std::fflush(stdout);
    });
    if (!rx->start()) {
        std::fprintf(stderr, "rxsim: cannot open a pseudo-terminal\n");
        return 1;
    }
    QString error;
    if (!setSerialDeviceForPort(folder, port, rx->devicePath(), &error)) {
        std::fprintf(stderr, "rxsim: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%s on %s (COM%d in %sserialports.ini); Ctrl+C ends it\n", qPrintable(model),
                qPrintable(rx->devicePath()), port, qPrintable(folder));
    std::fflush(stdout);
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    while (!g_stop) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    rx->stop();
    return 0;
}
