#include "shell/globals.h"
#include "drivers/model_tables.h"
#include "drivers/rx_link.h"
#include "drivers/rx320/rx320_state.h"
#include "shell/facade.h"

#include <vector>

namespace dovrane {

namespace {
std::vector<std::function<void()>>& globalsResets() {
    static std::vector<std::function<void()>> resets;
    return resets;
}
} // namespace

void registerGlobalsReset(std::function<void()> reset) {
    if (reset) globalsResets().push_back(std::move(reset));
}

void resetGlobals() {
    DataFolder.clear();
    ConfiguredDataFolder.clear();
    ConfigDir.clear();
    RxLatitude.clear();
    RxLongitude.clear();
    RxType = 0;
    ConfiguredRxType = 0;
    Settings.fill(0);
    FormLeft.fill(0);
    FormTop.fill(0);
    for (auto* a : {&FileKindDir, &FileKindPrefix, &FileKindMask, &FileKindDefaultName, &FileKindPath, &FileKindName})
        for (QString& s : *a) s.clear();
    for (QString& s : RegionCodes) s.clear();
    for (QString& s : StepTable) s.clear();
    FileKind = 0;
    FileSubKind = 0;
    FindSourceKind = 0;
    LocalTimeText.clear();
    UtcTimeText.clear();
    UtcStamp.clear();
    Comm1 = nullptr;
    CmdBusy = 0;
    RemoteHeld = 0;
    PanelLock = 0;
    CommRxEnabled = false;
    TrackFreq = 0;
    TrackingActive = false;
    SpecFileSlot = 0;
    PropFileSlot = 0;
    for (bool* f : {&WelcomeOpen, &AboutOpen, &SetUpOpen, &AR7030Open, &NRD535Open, &NRD545Open, &RX320Open,
                    &NoRxOpen, &LoadfileOpen, &SavefileOpen, &Last20Open, &ScratchpadOpen, &BdxcOpen, &OwnOpen,
                    &Files320Open, &Ilg2rxOpen, &ILGfinddbfOpen, &IlgqueryOpen, &IlgqsortOpen, &ConvertILGOpen,
                    &ConvertAeroOpen, &Aero2rxOpen, &AeroqueryOpen, &TrackingOpen, &LogOpen, &LogFormatOpen,
                    &LoginputOpen, &LogsortOpen, &MemmanOpen, &MemcellOpen, &SmeterOpen, &SpectrumOpen,
                    &SpectrumlimitsOpen, &ScanlistOpen, &ScanpairsOpen, &PropagationOpen, &Prop2prt2Open,
                    &RxClockOpen, &RxTimerOpen, &RttyOpen, &UserdefsOpen, &Userdefs545Open, &AdvancedDSPOpen})
        *f = false;
    resetModelTables();
    noteRxSuccess();
    resetRx320State();
    resetFacade();
    for (const auto& reset : globalsResets()) reset();
}

} // namespace dovrane
