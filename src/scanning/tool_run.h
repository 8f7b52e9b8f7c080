#pragma once
// What a measurement window holds for its runs, in one place: the panel's
// menu interlock while the window is open, the tool's own level sampler, the
// loader and writer of its file kind, the run itself (NRD remote hold,
// lockforms, attenuator frame), the receiver notice a run takes over and the
// count of unanswered operations that stops it.
//
// A run ends whole before it tells anything: its timer and the window's
// controls first, then what the run took from the rest of the program, and
// only then the box, if there is one to show. So a box never opens over a
// half-stopped window, however it ended (Stop, Exit, a close or a failure).
#include "platform/commport.h"
#include "scanning/measure_interlock.h"
#include "shell/run_notice.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace dovrane {

class LevelSampler;

// The loader and writer a tool window registers for its file kind (0: none).
struct ToolFiles {
    int kind = 0;
    std::function<bool()> loader;   // true when it took the file
    std::function<bool()> writer;
};

// The device a run speaks to: the one the port leads to when the user
// starts the run (a port that closed itself opens again there, as for any
// command of the user's). Everything of the run after that (its ticks, its
// end with the release of the NRD hold) reopens the port only on that
// device, never on another given its name meanwhile: a write there fails as
// to a receiver that has gone, and the run stops over it as it would.
class RunDevice {
public:
    void take();
    // Holds the port to the run's device while `out` lives.
    void pin(std::optional<ReopenPin>& out) const;

private:
    std::optional<DeviceIdentity> device_;
};

class ToolRun {
public:
    ToolRun(MeasurementTool tool, MeasurementRun::Options options = {});
    ~ToolRun();
    ToolRun(const ToolRun&) = delete;
    ToolRun& operator=(const ToolRun&) = delete;

    // The window's load: the menu interlock, a sampler when the tool reads
    // levels, and the loader and writer of its file kind.
    void open(bool withSampler, ToolFiles files = {});
    // The window's unload: ends a run still going (`stopControls` stops its
    // timer), gives back everything open() took, and then tells a notice the
    // run still holds.
    void close(const std::function<void()>& stopControls = {});

    // A run starts (or resumes), the user's own doing: the device the port
    // leads to becomes the run's, then the hold and the locks, the count
    // from zero.
    void begin();
    bool active() const { return run_.active(); }
    bool holdsReceiver() const { return run_.holdsReceiver(); }

    // The run ends by Stop or Exit: `stopControls` stops the timer and puts
    // the window's controls as a stopped run leaves them; then the run gives
    // back what it took; then a notice it held is told.
    void stop(const std::function<void()>& stopControls);
    // The run stops itself (the receiver stopped answering, or the window
    // has another reason to give): as stop(), then one box with `text`,
    // which starts with the receiver's silence when that was the cause.
    void stopWith(const std::function<void()>& stopControls, const QString& text, const QString& title);

    // After each receiver operation of the run. failed(): the notice is
    // taken over, and true once the run must stop. answered(): the count
    // starts again and a notice taken over is told.
    bool failed();
    void answered();
    // A tick that only tunes learns nothing from a tuning that went out: the
    // count starts again, but a notice taken over waits for the stop.
    void sent() { silence_.answered(); }
    // Runs a tick's receiver operations with the port held to the device the
    // run began on: a device given the same name since is not the run's
    // receiver, and nothing of the run may reach it.
    template <class F>
    auto onRunDevice(F&& operations) const {
        std::optional<ReopenPin> pin;
        device_.pin(pin);
        return operations();
    }
    // The same for a tick whose operations are not in one call.
    void pinRunDevice(std::optional<ReopenPin>& out) const { device_.pin(out); }

    // The parts, for the windows' scans that report through them.
    RunNotice& notice() { return notice_; }
    const SilenceCount& silence() const { return silence_; }
    std::unique_ptr<LevelSampler>& sampler() { return sampler_; }
    // A fresh sampler of the current receiver type (a cleared recorder).
    void renewSampler();

private:
    void endRun(const std::function<void()>& stopControls);

    MeasurementTool tool_;
    MeasurementRun run_;
    std::unique_ptr<MeasurementInterlock> interlock_;
    std::unique_ptr<LevelSampler> sampler_;
    RunNotice notice_;
    SilenceCount silence_;
    RunDevice device_;
    int kind_ = 0;
};

// A run that only tunes or only listens learns that the receiver has gone
// by asking it something now and then, at a rate that costs little (as the
// memory fill does): every EveryMs on the steady clock.
class AliveCheck {
public:
    static constexpr qint64 EveryMs = 5000;
    // The run starts: the first question comes EveryMs from now.
    void start();
    // The receiver showed it is there (it answered, or sent something of
    // its own): the next question waits EveryMs from now.
    void heard() { start(); }
    // Whether it is time to ask; once it is, the next one waits EveryMs.
    bool due();

private:
    qint64 lastMs_ = 0;
};

} // namespace dovrane
