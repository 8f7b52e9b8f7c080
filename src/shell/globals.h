#pragma once
// The program-wide state that every window and driver shares.
#include <QString>
#include <array>
#include <cstdint>
#include <functional>

namespace dovrane {

class CommPort;

// Settings file and window positions.
inline QString DataFolder;            // absolute, ends in "/"; fixed for the run
inline QString ConfiguredDataFolder;  // what the set-up dialog edits and saves
inline QString ConfigDir;             // where "dovrane2.ini" and "formpositions.ini" live
inline QString RxLatitude;
inline QString RxLongitude;
inline int RxType = 0;                // fixed from Go until the panel closes
inline int ConfiguredRxType = 0;      // what the set-up dialog edits and Go copies
inline std::array<float, 33> Settings{};
inline std::array<int32_t, 43> FormLeft{};
inline std::array<int32_t, 43> FormTop{};

// Common tables and file kinds.
inline std::array<QString, 9> RegionCodes;
inline std::array<QString, 21> StepTable;
inline std::array<QString, 15> FileKindDir;
inline std::array<QString, 15> FileKindPrefix;
inline std::array<QString, 15> FileKindMask;
inline std::array<QString, 15> FileKindDefaultName;
inline std::array<QString, 15> FileKindPath;
inline std::array<QString, 15> FileKindName;
inline int FileKind = 0;
inline int FileSubKind = 0;
inline int FindSourceKind = 0;        // what the source finder looks for: 1 database tables, 2 "aerolist.txt"

// Clock texts, refreshed by the welcome window's title clock.
inline QString LocalTimeText;
inline QString UtcTimeText;
inline QString UtcStamp;

// The serial line and the receiver.
inline CommPort* Comm1 = nullptr;     // owned by the welcome window
inline int CmdBusy = 0;
inline int RemoteHeld = 0;
inline int PanelLock = 0;
inline bool CommRxEnabled = false;
inline double TrackFreq = 0;
inline bool TrackingActive = false;

// The load counts of the spectrum and propagation windows' file overlays
// (1..4, 0 before the first load): kept for the whole program run, so a
// window opened again goes on with the next label and colour.
inline int SpecFileSlot = 0;
inline int PropFileSlot = 0;

// Window-open flags.
inline bool WelcomeOpen = false, AboutOpen = false, SetUpOpen = false;
inline bool AR7030Open = false, NRD535Open = false, NRD545Open = false, RX320Open = false, NoRxOpen = false;
inline bool LoadfileOpen = false, SavefileOpen = false;
inline bool Last20Open = false, ScratchpadOpen = false, BdxcOpen = false, OwnOpen = false, Files320Open = false;
inline bool Ilg2rxOpen = false, ILGfinddbfOpen = false, IlgqueryOpen = false, IlgqsortOpen = false;
inline bool ConvertILGOpen = false, ConvertAeroOpen = false, Aero2rxOpen = false, AeroqueryOpen = false;
inline bool TrackingOpen = false, LogOpen = false, LogFormatOpen = false, LoginputOpen = false, LogsortOpen = false;
inline bool MemmanOpen = false, MemcellOpen = false;
inline bool SmeterOpen = false, SpectrumOpen = false, SpectrumlimitsOpen = false, ScanlistOpen = false;
inline bool ScanpairsOpen = false, PropagationOpen = false, Prop2prt2Open = false;
inline bool RxClockOpen = false, RxTimerOpen = false, RttyOpen = false;
inline bool UserdefsOpen = false, Userdefs545Open = false, AdvancedDSPOpen = false;

// Puts every shared value back to its start value.
void resetGlobals();
// A tool whose shared values outlive its window registers how they go back to
// their start values; resetGlobals runs every such reset, so the shell needs
// to know nothing of the tools above it.
void registerGlobalsReset(std::function<void()> reset);

} // namespace dovrane
