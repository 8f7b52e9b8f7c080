#pragma once
// The panel lock of the NRD receivers, and what the two NRD panels share of
// its display.
//
// Three parties hold an NRD receiver in remote: the user with the panel's
// Lock buttons (PanelLock), continuous stepping, and the tools that poll the
// receiver (scans, recorders, tracking, the memory manager, the timer). The
// user's lock belongs to the Lock buttons alone. Stepping and the tools ask
// for a hold around each run with lockoffon(1) and give it back with
// lockoffon(0). The user's lock and the runs' holds count together: the
// receiver goes back to local only when none of them holds it, so neither
// the user's Lock Off nor the end of one run pulls the hold from under
// another run.
#include <QColor>

class QLabel;
class QWidget;

namespace dovrane {

// What the lock needs of the open NRD panel: its own lockoffon, which passes
// v to the driver's Lockonoff and then refreshes (1) or blanks (0) the
// controls that only work while the receiver is held.
class NrdLockPanel {
public:
    virtual void lockoffon(int v) = 0;

protected:
    ~NrdLockPanel() = default;
};

// An NRD panel registers while it is loaded; clearing also forgets the runs.
void setLockPanel(NrdLockPanel* panel);
void clearLockPanel(NrdLockPanel* panel);
NrdLockPanel* lockPanel();

// A run's hold, for every tool and for continuous stepping, whichever NRD
// panel is open (nothing happens when none is). 1 before a run holds the
// receiver (counted also while the user holds the lock, so that the run
// keeps it when the user lets go); 0 after it releases the receiver once
// neither another run nor the user holds it, and only when the runs took
// the hold themselves (a dialog that holds the receiver through the panel's
// own lockoffon keeps its hold). Other values are passed on and change
// nothing.
void lockoffon(int v);
// Runs holding the receiver now.
int runHolds();
// The user took (1) or gave up (0) the lock with the Lock buttons, PanelLock
// already set: whether the panel's own lockoffon(v) is to follow. Given up
// while runs hold the receiver, it stays held for them (false), and the last
// of them lets it go.
bool userLockChanged(int v);

// Holds the receiver for the lifetime of the object, by the rules above.
class RunHold {
public:
    RunHold() { lockoffon(1); }
    ~RunHold() { lockoffon(0); }
    RunHold(const RunHold&) = delete;
    RunHold& operator=(const RunHold&) = delete;
};

// Colours of the NRD panels.
namespace nrdcolours {
inline const QColor Orange{0xFF, 0x80, 0x00};       // lock on
inline const QColor LightYellow{0xFF, 0xFF, 0xC0};  // lock off, labels
inline const QColor PowerOn{0x00, 0xFF, 0x00};
inline const QColor PowerOff{0x88, 0x88, 0x88};
} // namespace nrdcolours

// Paints a label's or a button's background.
void setBackground(QWidget* w, const QColor& colour);
QColor background(const QWidget* w);
// The lock label: 1 "On" on orange, 0 "Off" on light yellow; other values
// leave it as it is.
void showLockState(QLabel* lblLock, int v);

} // namespace dovrane
