#pragma once
// How the welcome window's Go reaches the panels: one opener per receiver
// type in welcome::panelOpeners. The program calls registerPanelWindows()
// once before the welcome window starts.
#include "shell/facade.h"
#include "shell/form.h"
#include "shell/globals.h"

namespace dovrane {

void registerPanelWindows();

// Go for a receiver panel: the welcome window's own driver object of RxType,
// then the panel, loaded and shown. False when the panel did not stay loaded.
template <class Panel> bool openReceiverPanel() {
    createWelcomeDriver(RxType);
    Panel* p = forms::load<Panel>();
    if (!p || !p->isLoaded()) {
        releaseWelcomeDrivers();
        return false;
    }
    p->show();
    p->raise();
    return true;
}

} // namespace dovrane
