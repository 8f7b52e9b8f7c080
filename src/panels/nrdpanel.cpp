#include "panels/nrdpanel.h"

#include "drivers/nrd/nrddriver.h"
#include "platform/commport.h"
#include "shell/globals.h"

namespace dovrane {

NrdPanel::NrdPanel(int rxType, QWidget* parent) : RxPanel(rxType, parent) {}

NrdPanel::~NrdPanel() { clearLockPanel(this); }

void NrdPanel::lockoffon(int v) {
    if (nrd_) nrd_->Lockonoff(v);
    // The label shows the hold the program keeps: a release that could not
    // reach the receiver still ends it (the next command lets the receiver
    // go), and a hold that did not take is none.
    if (v == 0 || v == 1) showLock(RemoteHeld);
    if (v == 0) blankSliders();
    else if (v == 1) RxUpdatefull();
}

void NrdPanel::cmdLock_Click(int i) {
    if (i != 0 && i != 1) return;
    PanelLock = i;
    if (userLockChanged(i)) {
        lockoffon(i);
        return;
    }
    // A run still holds the receiver: it stays in remote, and the panel
    // shows it so, its sliders live.
    showLock(RemoteHeld);
}

void NrdPanel::continuousStarted() {
    // Stepping holds the receiver for its run, beside the user's lock: the
    // user may let go of that while it steps.
    steppingHolds_ = true;
    dovrane::lockoffon(1);
}

void NrdPanel::continuousStopped() {
    if (!steppingHolds_) return;
    steppingHolds_ = false;
    dovrane::lockoffon(0);
}

void NrdPanel::beforeToolsUnload() {
    if (Comm1) closing_.emplace(*Comm1);
    RxPanel::beforeToolsUnload();
}

void NrdPanel::afterToolsUnload() {
    RxPanel::afterToolsUnload();
    closing_.reset();
}

void NrdPanel::modelUnload() {
    steppingHolds_ = false;
    // Closing the panel always returns the receiver to local.
    lockoffon(0);
    clearLockPanel(this);
}

void NrdPanel::releaseDriver() {
    delete nrd_.data();
    nrd_ = nullptr;
}

} // namespace dovrane
