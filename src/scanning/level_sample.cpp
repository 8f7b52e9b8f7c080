#include "scanning/level_sample.h"
#include "shell/quiet_tune.h"
#include "shell/run_notice.h"
#include "drivers/ar7030/clsar7030.h"
#include "drivers/nrd535/clsnrd535.h"
#include "drivers/nrd545/clsnrd545.h"
#include "drivers/rx320/clsrx320.h"
#include "platform/commport.h"
#include "shell/globals.h"

#include <cmath>

namespace dovrane {

float correctedLevel(int rxType, float smeter, int att) {
    double s = double(smeter);
    switch (rxType) {
    case 1: s += (att - 1) * 10.0 / 6.0; break;
    case 2:
    case 4: s += att * 20.0 / 6.0; break;
    default: break;
    }
    return float(s);
}

int neutralAttenuator(int rxType) { return rxType == 1 ? 1 : 0; }

LevelSampler::LevelSampler() : LevelSampler(RxType, nullptr) {}

LevelSampler::LevelSampler(int rxType, CommPort* port) : rxType_(rxType), att_(neutralAttenuator(rxType)) {
    CommPort* p = port ? port : Comm1;
    if (!p) return;
    // Each driver is a child of the port it talks to, so it never outlives it.
    switch (rxType) {
    case 1: ar7030_ = new clsAR7030(*p, p); break;
    case 2: nrd535_ = new clsNRD535(*p, p); break;
    case 3: rx320_ = new clsRX320(*p, p); break;
    case 4: nrd545_ = new clsNRD545(*p, p); break;
    default: break;
    }
}

LevelSampler::~LevelSampler() {
    delete ar7030_.data();
    delete nrd535_.data();
    delete rx320_.data();
    delete nrd545_.data();
}

bool LevelSampler::beginRun() { return readAttenuator(); }

bool LevelSampler::readAttenuator() {
    att_ = neutralAttenuator(rxType_);
    attKnown_ = false;
    std::optional<int> a;
    switch (rxType_) {
    case 1:
        if (!ar7030_) return false;
        a = ar7030_->Attenuator();
        break;
    case 2:
        if (!nrd535_) return false;
        a = nrd535_->Attenuator();
        break;
    case 4:
        if (!nrd545_) return false;
        a = nrd545_->Attenuator();
        break;
    default:   // the RX-320 has no attenuator; no receiver reads nothing
        attKnown_ = true;
        return true;
    }
    if (!a) return false;
    att_ = *a;
    attKnown_ = true;
    return true;
}

std::optional<float> LevelSampler::readSmeter() {
    switch (rxType_) {
    case 1: return ar7030_ ? ar7030_->Smeter() : std::nullopt;
    case 2: return nrd535_ ? nrd535_->Smeter() : std::nullopt;
    case 3: return rx320_ ? rx320_->Smeter() : std::nullopt;
    case 4: return nrd545_ ? nrd545_->Smeter() : std::nullopt;
    default: return std::nullopt;
    }
}

clsAR7030* LevelSampler::AR7030A() const { return ar7030_; }
clsNRD535* LevelSampler::NRD535A() const { return nrd535_; }
clsRX320* LevelSampler::RX320A() const { return rx320_; }
clsNRD545* LevelSampler::NRD545A() const { return nrd545_; }

std::optional<float> LevelSampler::sample() {
    if (rxType_ < 1 || rxType_ > 4) return 0.0f;
    // A level without the attenuator's correction would be stored as a
    // reading the receiver never gave (an NRD at -20 dB 3.3 units low).
    if (!attKnown_ && !readAttenuator()) return std::nullopt;
    const std::optional<float> s = readSmeter();
    if (!s) return std::nullopt;
    return correctedLevel(rxType_, *s, att_);
}

std::function<std::optional<float>()> noticedSample(const std::unique_ptr<LevelSampler>& sampler, RunNotice& notice) {
    return [&sampler, &notice] {
        const std::optional<float> level = sampler ? sampler->sample() : std::optional<float>(0.0f);
        if (level) notice.release();
        else notice.failed();
        return level;
    };
}

std::function<bool(double kHz)> noticedTune(RunNotice& notice) {
    return [&notice](double kHz) {
        if (tuneQuietly(kHz) != TuneResult::Failed) return true;
        notice.failed();
        return false;
    };
}

namespace levelscale {

int levelY(double level, int baseY, double pixelsPerUnit) {
    return baseY - int(std::lround(level * pixelsPerUnit));
}

} // namespace levelscale

} // namespace dovrane
