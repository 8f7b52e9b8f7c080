#pragma once
// What the measurement tools do to the rest of the program while they work:
// the menu interlock of the receiver panel (set while a tool window is open),
// lockforms (the spectrum scan's lock of the panels and list windows during
// a run), the NRD remote hold per run and the attenuator frame of the
// recorders.
#include <QString>
#include <QStringList>

namespace dovrane {

enum class MeasurementTool { Spectrum, Scanlist, Scanpairs, Smeter, Propagation };

// The panel menu items a tool disables while its window is open.
QStringList interlockedMenuItems(MeasurementTool tool);
// Disables (false) or enables again (true) those items on the panel of the
// current RxType (1..4); with no receiver nothing changes. An item stays
// disabled while any open tool holds it, and comes back only for a window
// that is registered.
void setMeasurementMenus(MeasurementTool tool, bool enabled);

// Locks (true) or unlocks the open receiver panels and list windows: each of
// frmNoRx, frmAR7030, frmNRD535, frmRX320, frmNRD545, frmBdxc, frmOwn,
// frmIlg2rx and frmLog whose open flag is set takes no user input while
// locked. The NRD-545 panel is locked with the others, so it cannot be
// retuned under a running scan.
void lockforms(bool lock);

// Enables or disables fraAttenuator on the current receiver panel.
void setAttenuatorFrame(bool enabled);

// The interlock for the life of a tool window: a tool creates it in its load
// and destroys it (or calls release) in its unload.
class MeasurementInterlock {
public:
    explicit MeasurementInterlock(MeasurementTool tool);
    ~MeasurementInterlock();
    void release();
    MeasurementInterlock(const MeasurementInterlock&) = delete;
    MeasurementInterlock& operator=(const MeasurementInterlock&) = delete;

private:
    MeasurementTool tool_;
    bool held_ = true;
};

// One run of a tool: at begin the NRD remote hold (RxType 2 or 4, counted
// beside the user's lock), lockforms when asked for, and the attenuator frame
// disabled when asked for; end() gives back exactly what begin took. A tool
// calls end() at Stop, at the end of a single run and in its unload, so a
// window closed while its run is active leaves nothing locked or held.
class MeasurementRun {
public:
    struct Options {
        bool lockForms = false;        // the spectrum scan
        bool attenuatorFrame = false;  // the S-meter and propagation recorders
    };
    MeasurementRun() = default;
    explicit MeasurementRun(Options options) : options_(options) {}
    ~MeasurementRun() { end(); }
    MeasurementRun(const MeasurementRun&) = delete;
    MeasurementRun& operator=(const MeasurementRun&) = delete;

    void begin();
    void end();
    bool active() const { return active_; }
    // Whether this run holds the NRD receiver in remote.
    bool holdsReceiver() const { return held_; }

private:
    Options options_;
    bool active_ = false;
    bool held_ = false;
    bool locked_ = false;
    bool frameOff_ = false;
};

} // namespace dovrane
