#pragma once
// A test fixture that puts a simulated NRD receiver on a pseudo-terminal and
// opens the real CommPort on it at the NRD line settings.
#include "platform/commport.h"
#include "sim/nrd535_sim.h"
#include "sim/nrd545_sim.h"
#include "support/test_env.h"

#include <QElapsedTimer>
#include <chrono>
#include <thread>
#include <vector>

namespace dovrane::test {

template <class Sim>
class NrdRig : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        ASSERT_TRUE(sim.start());
        port.setDeviceName(sim.devicePath());
        ASSERT_TRUE(port.setSettings(QStringLiteral("4800,N,8,1")));
        ASSERT_TRUE(port.open()) << port.errorString().toStdString();
    }

    void TearDown() override {
        port.close();
        sim.stop();
        AppTest::TearDown();
    }

    // The commands the simulator has taken, once at least n have arrived (the
    // simulator runs on its own thread) and the line has stayed quiet a moment.
    QList<QByteArray> wire(int n, int timeoutMs = 1000) {
        QElapsedTimer t;
        t.start();
        while (sim.commands().size() < n && t.elapsed() < timeoutMs)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        // Whatever else the program has written is taken in too, however late
        // a busy machine hands it over.
        EXPECT_TRUE(sim.waitIdle());
        return sim.commandTexts();
    }

    // Forgets what was sent so far.
    void clearWire() {
        wire(0);
        sim.clearCommands();
        sim.clearBytesReceived();
    }

    // Holds the receiver in remote for a run, as the panels' lock does.
    void hold(NrdDriver& driver) {
        ASSERT_TRUE(driver.Lockonoff(1));
        clearWire();
    }

    Sim sim;
    CommPort port;
};

// Records every value a signal carries.
template <class T>
struct Recorder {
    std::vector<T> values;
    auto slot() {
        return [this](T v) { values.push_back(v); };
    }
};

using Wire = QList<QByteArray>;

} // namespace dovrane::test
