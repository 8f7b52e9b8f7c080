#pragma once
// The program as a user starts it, on any of the five receiver types: the
// settings name the model and port 1, port 1 leads to that model's simulated
// receiver on a pseudo-terminal, the welcome window starts and Go opens the
// panel. Everything then runs through the real drivers and the real port.
#include "panels/panelform.h"
#include "sim/sim_receiver.h"
#include "support/test_env.h"

#include <map>
#include <memory>

namespace dovrane::test {

class GoRig : public AppTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the simulator of rxType (none for 0) and the program with that
    // model chosen, then presses Go. Settings not named keep their defaults.
    // The panel, or nullptr when it did not open.
    PanelForm* go(int rxType, const std::map<int, float>& settings = {});
    // Only the simulator: for a test that sets it up before Go.
    sim::SimReceiver* startSimulator(int rxType);

    // The simulated receiver (nullptr before go or with no receiver).
    sim::SimReceiver* simulator() const { return sim_.get(); }
    template <class S> S& simulatorAs() const { return dynamic_cast<S&>(*sim_); }
    // Waits until the receiver has handled every byte sent so far.
    bool settle() const;

    static const char* modelName(int rxType);

private:
    std::unique_ptr<sim::SimReceiver> sim_;
};

} // namespace dovrane::test
