#pragma once
// Qt key events in the codes the panels' key tables use: the classic virtual-key
// codes and a shift value of 1 Shift, 2 Ctrl, 3 Ctrl and Shift, 4 Alt.
#include <QKeyEvent>

namespace dovrane::keys {

enum : int {
    Back = 8, Tab = 9, Return = 13, Escape = 27, Space = 32, PageUp = 33, PageDown = 34,
    End = 35, Home = 36, Left = 37, Up = 38, Right = 39, Down = 40, Insert = 45, Delete = 46,
    Key0 = 48, KeyA = 65, Numpad0 = 96, Multiply = 106, Add = 107, Subtract = 109,
    Decimal = 110, Divide = 111, F1 = 112
};

struct KeyCode {
    int code = 0;   // 0 when the key has no code in the table
    int shift = 0;
};

KeyCode fromQt(int qtKey, Qt::KeyboardModifiers modifiers);
inline KeyCode fromEvent(const QKeyEvent* e) { return fromQt(e->key(), e->modifiers()); }

} // namespace dovrane::keys
