#include "shell/unloadallforms.h"
#include "shell/form.h"
#include "shell/globals.h"

#include <QPointer>
#include <array>
#include <map>

namespace dovrane {

namespace {

std::map<const bool*, QPointer<Form>>& windows() {
    static std::map<const bool*, QPointer<Form>> w;
    return w;
}

// The tool windows in the order they are closed.
const std::array<const bool*, 37> kToolWindows{
    &AboutOpen,       &BdxcOpen,      &ConvertILGOpen,  &Ilg2rxOpen,         &ILGfinddbfOpen, &IlgqueryOpen,
    &IlgqsortOpen,    &LoadfileOpen,  &Last20Open,      &LogOpen,            &LogFormatOpen,  &LoginputOpen,
    &LogsortOpen,     &MemcellOpen,   &MemmanOpen,      &OwnOpen,            &PropagationOpen, &RxClockOpen,
    &RxTimerOpen,     &SavefileOpen,  &SetUpOpen,       &SmeterOpen,         &SpectrumOpen,   &SpectrumlimitsOpen,
    &TrackingOpen,    &RttyOpen,      &ScratchpadOpen,  &Files320Open,       &ScanlistOpen,   &UserdefsOpen,
    &Userdefs545Open, &AdvancedDSPOpen, &ConvertAeroOpen, &Aero2rxOpen,      &AeroqueryOpen,  &ScanpairsOpen,
    &Prop2prt2Open,
};

} // namespace

void registerWindow(const bool* openFlag, Form* window) {
    if (openFlag) windows()[openFlag] = window;
}

Form* windowFor(const bool* openFlag) {
    auto it = windows().find(openFlag);
    if (it == windows().end() || !it->second || !it->second->isLoaded()) return nullptr;
    return it->second.data();
}

bool toolWindowsMayClose() {
    for (const bool* flag : kToolWindows) {
        Form* f = *flag ? windowFor(flag) : nullptr;
        if (f && f->keepForUnsavedWork()) {
            f->show();
            f->raise();
            return false;
        }
    }
    return true;
}

void unloadallforms() {
    for (const bool* flag : kToolWindows) {
        if (!*flag) continue;
        if (Form* f = windowFor(flag)) f->unload();
    }
}

} // namespace dovrane
