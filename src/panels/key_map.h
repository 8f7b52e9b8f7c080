#pragma once
// The receiver panels' keyboard: one table for all four models, in the
// classic key codes and shift values of platform/keys.h. Pure logic, so the
// whole table can be checked without a window.
#include <QKeyEvent>

namespace dovrane {

enum class KeyCommand {
    None,
    // Shared by every receiver panel.
    StepUp,
    StepDown,
    KeypadDigit,   // arg: the digit 0..9, appended to KeyDigits
    KeypadDot,
    KeypadBack,
    EnterFreq,     // as cmdEnterfreq, then KeyDigits emptied
    EnterMem,      // as cmdEnterMem, then KeyDigits emptied
    EnterStep,     // as cmdEnterS, then KeyDigits emptied
    MoveToggle,    // as cmdMovefreq
    // Carried out by the model panel.
    Bandwidth,     // arg: index of cmdBandwidth
    Mode,          // arg: index of cmdMode
    Ecss,          // arg: index of cmdEcss (NRD-545)
    BwRange,       // arg: index of cmdBwrange (RX-320)
    BwGroup,       // arg: index of cmdBwgroup (RX-320)
    PbsUp,
    PbsDown,
    PbsCentre,
    BwcLowest,
    BwcDown,
    BwcUp,
    BwcHighest,
    VolumeUp,
    VolumeDown,
    VolumeZero,
    LockOn,
    LockOff,
};

struct KeyAction {
    KeyCommand command = KeyCommand::None;
    int arg = 0;
    bool operator==(const KeyAction&) const = default;
};

// What a key does on the panel of receiver type rxType (1 AR7030, 2 NRD-535,
// 3 RX-320, 4 NRD-545). shift is compared as a whole (0 none, 1 Shift, 2 Ctrl,
// 3 Ctrl and Shift, 4 Alt); keys that need the user's panel lock do nothing
// while panelLock is false.
KeyAction panelKeyAction(int rxType, int keyCode, int shift, bool panelLock);

// A key event's code and shift value. Beyond platform/keys.h it knows the
// symbols a US layout gives the "=", "-" and "0" keys with Shift held
// (Key_Plus, Key_Underscore, Key_ParenRight) and the plain "=" key.
struct PanelKey {
    int code = 0;
    int shift = 0;
};
PanelKey panelKeyOf(int qtKey, Qt::KeyboardModifiers modifiers);
inline PanelKey panelKeyOf(const QKeyEvent* e) { return panelKeyOf(e->key(), e->modifiers()); }

} // namespace dovrane
