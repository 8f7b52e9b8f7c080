#include "panels/key_map.h"
#include "platform/keys.h"

namespace dovrane {

namespace {

// Models as bits of a mask, by receiver type.
constexpr unsigned AR = 1u << 1, N535 = 1u << 2, RX = 1u << 3, N545 = 1u << 4;
constexpr unsigned ALL = AR | N535 | RX | N545;
constexpr unsigned NRD = N535 | N545;

constexpr int NONE = 0, SHIFT = 1, CTRL = 2, CTRLSHIFT = 3, ALT = 4;
constexpr int PLUS = 187, MINUS = 189, PERIOD = 190, ZERO = 48;

constexpr int F(int n) { return keys::F1 + n - 1; }
constexpr int L(char c) { return keys::KeyA + (c - 'A'); }

struct Row {
    unsigned models;
    int code;
    int shift;
    bool needsLock;
    KeyCommand command;
    int arg;
};

using K = KeyCommand;

// Keys with the same code, shift and model come once; the first row that
// matches decides.
const Row kRows[] = {
    // Stepping: plain or with Ctrl, on every panel.
    {ALL, keys::Up, NONE, false, K::StepUp, 0},
    {ALL, keys::Right, NONE, false, K::StepUp, 0},
    {ALL, keys::Left, NONE, false, K::StepDown, 0},
    {ALL, keys::Down, NONE, false, K::StepDown, 0},
    {ALL, keys::Up, CTRL, false, K::StepUp, 0},
    {ALL, keys::Right, CTRL, false, K::StepUp, 0},
    {ALL, keys::Left, CTRL, false, K::StepDown, 0},
    {ALL, keys::Down, CTRL, false, K::StepDown, 0},
    // The keyboard keypad (digits of the main keyboard only).
    {ALL, PERIOD, CTRL, false, K::KeypadDot, 0},
    {ALL, keys::Back, CTRL, false, K::KeypadBack, 0},
    {ALL, L('F'), CTRL, false, K::EnterFreq, 0},
    {AR | NRD, L('M'), CTRL, false, K::EnterMem, 0},
    {ALL, L('S'), CTRL, false, K::EnterStep, 0},
    {ALL, L('G'), CTRL, false, K::MoveToggle, 0},

    // AR7030: filters, modes, passband shift, volume.
    {AR, F(1), SHIFT, false, K::Bandwidth, 0},
    {AR, F(2), SHIFT, false, K::Bandwidth, 1},
    {AR, F(3), SHIFT, false, K::Bandwidth, 2},
    {AR, F(4), SHIFT, false, K::Bandwidth, 3},
    {AR, F(5), SHIFT, false, K::Bandwidth, 4},
    {AR, F(6), SHIFT, false, K::Bandwidth, 5},
    {AR, L('A'), SHIFT, false, K::Mode, 0},
    {AR, L('S'), SHIFT, false, K::Mode, 1},
    {AR, L('F'), SHIFT, false, K::Mode, 2},
    {AR, L('D'), SHIFT, false, K::Mode, 3},
    {AR, L('C'), SHIFT, false, K::Mode, 4},
    {AR, L('L'), SHIFT, false, K::Mode, 5},
    {AR, L('U'), SHIFT, false, K::Mode, 6},
    {AR | RX, PLUS, SHIFT, false, K::PbsUp, 0},
    {AR | RX, MINUS, SHIFT, false, K::PbsDown, 0},
    {AR | RX, ZERO, SHIFT, false, K::PbsCentre, 0},
    {AR | RX, PLUS, ALT, false, K::VolumeUp, 0},
    {AR | RX, MINUS, ALT, false, K::VolumeDown, 0},
    {AR | RX, ZERO, ALT, false, K::VolumeZero, 0},

    // NRD-535.
    {N535, F(1), SHIFT, false, K::Bandwidth, 2},
    {N535, F(2), SHIFT, false, K::Bandwidth, 1},
    {N535, F(3), SHIFT, false, K::Bandwidth, 0},
    {N535, F(4), SHIFT, false, K::Bandwidth, 3},
    {N535, L('R'), SHIFT, false, K::Mode, 0},
    {N535, L('C'), SHIFT, false, K::Mode, 1},
    {N535, L('U'), SHIFT, false, K::Mode, 2},
    {N535, L('L'), SHIFT, false, K::Mode, 3},
    {N535, L('A'), SHIFT, false, K::Mode, 4},
    {N535, L('F'), SHIFT, false, K::Mode, 5},
    {N535, L('X'), SHIFT, false, K::Mode, 6},
    {N535, L('P'), SHIFT, false, K::Mode, 7},
    {N535, L('M'), SHIFT, false, K::Mode, 8},

    // NRD-545.
    {N545, F(1), SHIFT, false, K::Bandwidth, 2},
    {N545, F(2), SHIFT, false, K::Bandwidth, 1},
    {N545, F(3), SHIFT, false, K::Bandwidth, 0},
    {N545, L('R'), SHIFT, false, K::Mode, 0},
    {N545, L('C'), SHIFT, false, K::Mode, 1},
    {N545, L('U'), SHIFT, false, K::Mode, 2},
    {N545, L('L'), SHIFT, false, K::Mode, 3},
    {N545, L('A'), SHIFT, false, K::Mode, 4},
    {N545, L('F'), SHIFT, false, K::Mode, 5},
    {N545, L('X'), SHIFT, false, K::Mode, 6},
    {N545, L('P'), SHIFT, false, K::Ecss, 0},
    {N545, L('M'), SHIFT, false, K::Ecss, 1},
    {N545, PLUS, ALT, true, K::VolumeUp, 0},
    {N545, MINUS, ALT, true, K::VolumeDown, 0},
    {N545, ZERO, ALT, true, K::VolumeZero, 0},

    // Both NRD panels: passband shift and bandwidth control need the user's
    // lock; Ctrl+Shift switches it.
    {NRD, PLUS, SHIFT, true, K::PbsUp, 0},
    {NRD, MINUS, SHIFT, true, K::PbsDown, 0},
    {NRD, ZERO, SHIFT, true, K::PbsCentre, 0},
    {NRD, F(1), CTRL, true, K::BwcLowest, 0},
    {NRD, F(2), CTRL, true, K::BwcDown, 0},
    {NRD, F(3), CTRL, true, K::BwcUp, 0},
    {NRD, F(4), CTRL, true, K::BwcHighest, 0},
    {NRD, PLUS, CTRLSHIFT, false, K::LockOn, 0},
    {NRD, MINUS, CTRLSHIFT, false, K::LockOff, 0},

    // RX-320: filter ranges and the filter buttons of the range, modes.
    {RX, F(1), SHIFT, false, K::BwRange, 3},
    {RX, F(2), SHIFT, false, K::BwRange, 2},
    {RX, F(3), SHIFT, false, K::BwRange, 1},
    {RX, F(4), SHIFT, false, K::BwRange, 0},
    {RX, F(5), SHIFT, false, K::BwGroup, 6},
    {RX, F(6), SHIFT, false, K::BwGroup, 4},
    {RX, F(7), SHIFT, false, K::BwGroup, 2},
    {RX, F(8), SHIFT, false, K::BwGroup, 0},
    {RX, L('A'), SHIFT, false, K::Mode, 0},
    {RX, L('U'), SHIFT, false, K::Mode, 1},
    {RX, L('L'), SHIFT, false, K::Mode, 2},
    {RX, L('C'), SHIFT, false, K::Mode, 3},
};

} // namespace

KeyAction panelKeyAction(int rxType, int keyCode, int shift, bool panelLock) {
    if (rxType < 1 || rxType > 4 || keyCode == 0) return {};
    const unsigned model = 1u << rxType;
    // Ctrl with a digit of the main keyboard feeds KeyDigits on every panel.
    if (shift == CTRL && keyCode >= keys::Key0 && keyCode <= keys::Key0 + 9)
        return {K::KeypadDigit, keyCode - keys::Key0};
    for (const Row& r : kRows) {
        if (!(r.models & model) || r.code != keyCode || r.shift != shift) continue;
        if (r.needsLock && !panelLock) return {};
        return {r.command, r.arg};
    }
    return {};
}

PanelKey panelKeyOf(int qtKey, Qt::KeyboardModifiers modifiers) {
    const keys::KeyCode k = keys::fromQt(qtKey, modifiers);
    return PanelKey{k.code, k.shift};
}

} // namespace dovrane
