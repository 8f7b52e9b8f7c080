// What a tool run does with the receiver's silence: the notice it takes over
// is told once, naming the device that fell silent, and the misses that stop
// a run are the run's own.
#include "drivers/rx_link.h"
#include "platform/commport.h"
#include "scanning/tool_run.h"
#include "shell/run_notice.h"
#include "support/pty_peer.h"
#include "support/test_env.h"

#include <algorithm>
#include <functional>

namespace dovrane::test {
namespace {

class RunNoticeTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        for (int i = 0; i < 2; ++i) {
            ASSERT_TRUE(peers[i].start());
            ports[i].setDeviceName(peers[i].devicePath());
            ASSERT_TRUE(ports[i].open()) << ports[i].errorString().toStdString();
        }
        dialogs.allow(QStringLiteral("does not answer"));
        dialogs.allow(QStringLiteral("stopped"));
        noteRxSuccess();
    }
    void TearDown() override {
        pump(50);
        noteRxSuccess();
        AppTest::TearDown();
    }
    // The boxes shown so far that name the device of port i as not answering.
    int boxesNaming(int i) const {
        const QString text = rxNoticeText(ports[i].deviceName());
        int n = 0;
        for (const dialogs::Box& b : dialogs.shown()) n += b.text.contains(text);
        return n;
    }
    PtyPeer peers[2];
    CommPort ports[2];
};

// The run's first device falls silent and its notice is taken over; then a
// second miss comes, and perhaps a second device's notice with it (the port
// opened afresh on another device). However the run goes on, each device
// that fell silent is named in one box: the run's own for the first.
TEST_F(RunNoticeTest, EachSilentDeviceIsToldOnceAndTheRunKeepsTheFirst) {
    enum class End { Stopped, Answered };
    const struct {
        const char* what;
        bool secondDevice;
        End end;
    } cases[] = {
        {"a second miss on the same device, the run stops", false, End::Stopped},
        {"a second miss on the same device, then an answer", false, End::Answered},
        {"a second device falls silent, the run stops", true, End::Stopped},
        {"a second device falls silent, then an answer", true, End::Answered},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const qsizetype before = dialogs.shown().size();
        const int namedBefore[2] = {boxesNaming(0), boxesNaming(1)};
        RunNotice notice;
        noteRxFailure(ports[0]);
        notice.failed();
        noteRxFailure(c.secondDevice ? ports[1] : ports[0]);
        notice.failed();
        if (c.end == End::Stopped) notice.stopped(QStringLiteral("The scan has stopped."), QStringLiteral("Scan"));
        else notice.release();
        pump(50);
        EXPECT_EQ(boxesNaming(0) - namedBefore[0], 1) << "the first device";
        EXPECT_EQ(boxesNaming(1) - namedBefore[1], c.secondDevice ? 1 : 0) << "the second device";
        EXPECT_EQ(dialogs.shown().size() - before, c.secondDevice ? 2 : 1);
        if (c.end == End::Stopped) {
            EXPECT_TRUE(std::any_of(dialogs.shown().begin() + before, dialogs.shown().end(), [&](const dialogs::Box& b) {
                return b.text.contains(rxNoticeText(ports[0].deviceName())) && b.text.contains(QStringLiteral("stopped"));
            })) << "the run's own box names the first device";
        }
        noteRxSuccess();
        // A port opened afresh starts a new spell for the next row.
        for (CommPort& p : ports) ASSERT_TRUE(p.open());
    }
}

// Three misses in a row stop a run; a run started again, however the last
// one ended, has missed nothing yet.
TEST_F(RunNoticeTest, ARunStartsWithNoMisses) {
    const struct {
        const char* what;
        int misses;   // of the run before
        std::function<void(ToolRun&)> end;
    } cases[] = {
        {"stopped by the user after two misses", 2, [](ToolRun& r) { r.stop({}); }},
        {"stopped by its third miss", 3,
         [](ToolRun& r) { r.stopWith({}, QStringLiteral("The scan has stopped."), QStringLiteral("Scan")); }},
        {"its window closed after two misses", 2,
         [](ToolRun& r) {
             r.close();
             r.open(false);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ToolRun run(MeasurementTool::Spectrum);
        run.open(false);
        run.begin();
        for (int i = 1; i <= c.misses; ++i) EXPECT_EQ(run.failed(), i == SilenceCount::Limit) << "miss " << i;
        c.end(run);
        EXPECT_FALSE(run.active());
        run.begin();
        for (int i = 1; i <= SilenceCount::Limit; ++i)
            EXPECT_EQ(run.failed(), i == SilenceCount::Limit) << "miss " << i << " of the new run";
        run.stop({});
        run.close();
        pump(50);
    }
}

} // namespace
} // namespace dovrane::test
