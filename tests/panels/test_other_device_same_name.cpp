// The NRD receiver goes away and another receiver appears under the same
// device name. What the program still has to say to the NRD (the release as
// its panel closes, the switch-off the timer owes it) reaches only the NRD:
// nothing of it goes to the newcomer, and no try left half done keeps the
// port busy for the next command.
#include "platform/commport.h"
#include "platform/timeouts.h"
#include "shell/globals.h"
#include "shell/show_panel.h"
#include "sim/ar7030_sim.h"
#include "support/go_rig.h"
#include "support/waits.h"
#include "timer/owed_line_off.h"

#include <QCoreApplication>
#include <QTimer>
#include <atomic>

namespace dovrane::test {
namespace {

enum class Path { PanelClose, OwedTry };

struct Case {
    const char* name;
    Path path;
    int rxType;
};

class OtherDeviceSameName : public GoRig, public ::testing::WithParamInterface<Case> {
protected:
    void TearDown() override {
        retryTimes = RetryTimes{};
        owedlineoff::settle();
        GoRig::TearDown();
    }
};

TEST_P(OtherDeviceSameName, NothingOwedToTheNrdReachesTheNewcomer) {
    const Case c = GetParam();
    retryTimes.owedLineOffMs = 20;
    ASSERT_NE(go(c.rxType), nullptr);
    ASSERT_TRUE(settle());
    const QString name = simulator()->devicePath();

    sim::Ar7030Sim other;
    other.setLinkPath(name);
    dialogs.allow(QStringLiteral("does not answer"));
    // The NRD goes and the newcomer takes its name; the port finds the NRD
    // gone with its next write.
    auto swap = [&] {
        simulator()->stop();
        EXPECT_FALSE(Comm1->write("\r"));
        ASSERT_TRUE(other.start());
    };

    if (c.path == Path::PanelClose) {
        swap();
        currentPanel()->unload();
        pump(50);
        EXPECT_TRUE(other.bytesReceived().isEmpty()) << other.bytesReceived().toHex(' ').toStdString();
        EXPECT_EQ(CmdBusy, 0);
        other.stop();
        return;
    }
    // The swap comes in the middle of a try, right after its first step has
    // taken the NRD into remote, and the user's next command then opens the
    // newcomer: the rest of the try is given up.
    std::atomic<bool> posted{false};
    bool swapped = false;
    // The user's command comes as a window's own event does: the events that
    // run between the steps of the try hold it until the step is done.
    QTimer userCommand(currentPanel());
    userCommand.setSingleShot(true);
    QObject::connect(&userCommand, &QTimer::timeout, [&] {
        swap();
        EXPECT_TRUE(Comm1->ensureOpen());
        swapped = true;
    });
    simulator()->setLogger([&](const QString& line) {
        if (!line.endsWith(QLatin1String(": H1")) || posted.exchange(true)) return;
        QMetaObject::invokeMethod(qApp, [&] { userCommand.start(0); }, Qt::QueuedConnection);
    });
    owedlineoff::owe(c.rxType);
    ASSERT_TRUE(pumpUntil([&] { return swapped; }));
    simulator()->setLogger(nullptr);
    // Further tries come and go while the newcomer is there.
    pump(10 * retryTimes.owedLineOffMs);
    EXPECT_TRUE(other.bytesReceived().isEmpty()) << other.bytesReceived().toHex(' ').toStdString();
    EXPECT_EQ(CmdBusy, 0) << "the try given up left the port busy";
    currentPanel()->unload();
    other.stop();
}

INSTANTIATE_TEST_SUITE_P(Paths, OtherDeviceSameName,
                         ::testing::Values(Case{"PanelClose_NRD535", Path::PanelClose, 2},
                                           Case{"PanelClose_NRD545", Path::PanelClose, 4},
                                           Case{"OwedTry_NRD535", Path::OwedTry, 2},
                                           Case{"OwedTry_NRD545", Path::OwedTry, 4}),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

} // namespace
} // namespace dovrane::test
