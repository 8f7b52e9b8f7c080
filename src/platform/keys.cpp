#include "platform/keys.h"

namespace dovrane::keys {

KeyCode fromQt(int k, Qt::KeyboardModifiers m) {
    KeyCode out;
    if (m & Qt::ShiftModifier) out.shift |= 1;
    if (m & Qt::ControlModifier) out.shift |= 2;
    if (m & Qt::AltModifier) out.shift |= 4;
    const bool keypad = m & Qt::KeypadModifier;
    if (k >= Qt::Key_0 && k <= Qt::Key_9) {
        out.code = keypad ? Numpad0 + (k - Qt::Key_0) : Key0 + (k - Qt::Key_0);
    } else if (k >= Qt::Key_A && k <= Qt::Key_Z) {
        out.code = KeyA + (k - Qt::Key_A);
    } else if (k >= Qt::Key_F1 && k <= Qt::Key_F24) {
        out.code = F1 + (k - Qt::Key_F1);
    } else {
        switch (k) {
        case Qt::Key_Backspace: out.code = Back; break;
        case Qt::Key_Tab: out.code = Tab; break;
        case Qt::Key_Return:
        case Qt::Key_Enter: out.code = Return; break;
        case Qt::Key_Escape: out.code = Escape; break;
        case Qt::Key_Space: out.code = Space; break;
        case Qt::Key_PageUp: out.code = PageUp; break;
        case Qt::Key_PageDown: out.code = PageDown; break;
        case Qt::Key_End: out.code = End; break;
        case Qt::Key_Home: out.code = Home; break;
        case Qt::Key_Left: out.code = Left; break;
        case Qt::Key_Up: out.code = Up; break;
        case Qt::Key_Right: out.code = Right; break;
        case Qt::Key_Down: out.code = Down; break;
        case Qt::Key_Insert: out.code = Insert; break;
        case Qt::Key_Delete: out.code = Delete; break;
        case Qt::Key_Asterisk: out.code = keypad ? Multiply : 0; break;
        case Qt::Key_Plus: out.code = keypad ? Add : 187; break;
        case Qt::Key_Minus: out.code = keypad ? Subtract : 189; break;
        case Qt::Key_Period: out.code = keypad ? Decimal : 190; break;
        case Qt::Key_Comma: out.code = 188; break;
        case Qt::Key_Slash: out.code = keypad ? Divide : 191; break;
        // Shifted characters report the key they are on.
        case Qt::Key_Equal: out.code = keypad ? 0 : 187; break;
        case Qt::Key_Underscore: out.code = keypad ? 0 : 189; break;
        case Qt::Key_ParenRight: out.code = keypad ? 0 : Key0; break;
        default: break;
        }
    }
    // Shift on its own says nothing about the shifted character's key.
    if (k == Qt::Key_Asterisk && !keypad) out.code = 0;
    return out;
}

} // namespace dovrane::keys
