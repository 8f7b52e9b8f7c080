#include "scanning/tool_run.h"
#include "scanning/level_sample.h"
#include "platform/clock.h"
#include "shell/file_kinds.h"
#include "shell/globals.h"

// level_sample.h keeps the driver objects behind forward declarations; the
// sampler's destructor needs them whole.
#include "drivers/ar7030/clsar7030.h"
#include "drivers/nrd535/clsnrd535.h"
#include "drivers/nrd545/clsnrd545.h"
#include "drivers/rx320/clsrx320.h"

namespace dovrane {

ToolRun::ToolRun(MeasurementTool tool, MeasurementRun::Options options) : tool_(tool), run_(options) {}

ToolRun::~ToolRun() = default;

void ToolRun::open(bool withSampler, ToolFiles files) {
    interlock_ = std::make_unique<MeasurementInterlock>(tool_);
    if (withSampler) sampler_ = std::make_unique<LevelSampler>();
    kind_ = files.kind;
    if (kind_ > 0) {
        registerLoader(kind_, 0, std::move(files.loader));
        registerWriter(kind_, std::move(files.writer));
    }
}

void ToolRun::close(const std::function<void()>& stopControls) {
    endRun(stopControls);
    sampler_.reset();
    interlock_.reset();
    if (kind_ > 0) {
        registerLoader(kind_, 0, nullptr);
        registerWriter(kind_, nullptr);
        kind_ = 0;
    }
    notice_.release();
}

void ToolRun::begin() {
    silence_.answered();
    device_.take();
    run_.begin();
}

void ToolRun::endRun(const std::function<void()>& stopControls) {
    if (stopControls) stopControls();
    // The release of the hold is owed to the run's receiver alone. With that
    // one gone it cannot go out: the count drops all the same, so nothing
    // stays held, and the run's stop tells of the silence as it does.
    std::optional<ReopenPin> pin;
    device_.pin(pin);
    run_.end();
}

void ToolRun::stop(const std::function<void()>& stopControls) {
    endRun(stopControls);
    notice_.release();
}

void ToolRun::stopWith(const std::function<void()>& stopControls, const QString& text, const QString& title) {
    endRun(stopControls);
    notice_.stopped(text, title);
}

bool ToolRun::failed() {
    notice_.failed();
    return silence_.failed();
}

void ToolRun::answered() {
    silence_.answered();
    notice_.release();
}

void ToolRun::renewSampler() { sampler_ = std::make_unique<LevelSampler>(); }

void AliveCheck::start() { lastMs_ = Clock::steadyMs(); }

bool AliveCheck::due() {
    if (Clock::steadyMs() - lastMs_ < EveryMs) return false;
    start();
    return true;
}

void RunDevice::take() {
    device_.reset();
    if (!Comm1) return;
    Comm1->ensureOpen();
    device_ = Comm1->spokenTo();
}

void RunDevice::pin(std::optional<ReopenPin>& out) const {
    if (Comm1) out.emplace(*Comm1, device_);
}

} // namespace dovrane
