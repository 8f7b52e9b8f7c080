// The panels' one key table: the shared keys on every model, each model's own
// rows, the exact modifier match, the keys that need the user's lock, and the
// Qt key events that reach it.
#include "panels/key_map.h"

#include <gtest/gtest.h>

using namespace dovrane;
using K = KeyCommand;

namespace {

constexpr int AR = 1, N535 = 2, RX = 3, N545 = 4;
constexpr int NONE = 0, SHIFT = 1, CTRL = 2, CTRLSHIFT = 3, ALT = 4;
constexpr int UP = 38, RIGHT = 39, LEFT = 37, DOWN = 40, BACK = 8;
constexpr int PLUS = 187, MINUS = 189, PERIOD = 190;
int F(int n) { return 111 + n; }
int L(char c) { return int(c); }

KeyAction act(int model, int code, int shift, bool lock = false) { return panelKeyAction(model, code, shift, lock); }

} // namespace

TEST(PanelKeys, SharedKeysWorkOnEveryModelWithTheExactModifier) {
    for (int m : {AR, N535, RX, N545}) {
        SCOPED_TRACE(m);
        for (int shift : {NONE, CTRL}) {
            EXPECT_EQ(act(m, UP, shift).command, K::StepUp);
            EXPECT_EQ(act(m, RIGHT, shift).command, K::StepUp);
            EXPECT_EQ(act(m, LEFT, shift).command, K::StepDown);
            EXPECT_EQ(act(m, DOWN, shift).command, K::StepDown);
        }
        // Arrows with Shift, Alt or Ctrl+Shift do nothing.
        for (int shift : {SHIFT, ALT, CTRLSHIFT}) EXPECT_EQ(act(m, UP, shift).command, K::None);
        for (int d = 0; d <= 9; ++d) EXPECT_EQ(act(m, 48 + d, CTRL), (KeyAction{K::KeypadDigit, d}));
        // Digits of the number pad and plain digits are left to the focused box.
        EXPECT_EQ(act(m, 96 + 5, CTRL).command, K::None);
        EXPECT_EQ(act(m, 48 + 5, NONE).command, K::None);
        EXPECT_EQ(act(m, PERIOD, CTRL).command, K::KeypadDot);
        EXPECT_EQ(act(m, BACK, CTRL).command, K::KeypadBack);
        EXPECT_EQ(act(m, L('F'), CTRL).command, K::EnterFreq);
        EXPECT_EQ(act(m, L('S'), CTRL).command, K::EnterStep);
        EXPECT_EQ(act(m, L('G'), CTRL).command, K::MoveToggle);
        // Enter stays with the frequency box.
        EXPECT_EQ(act(m, 13, NONE).command, K::None);
    }
    EXPECT_EQ(act(AR, L('M'), CTRL).command, K::EnterMem);
    EXPECT_EQ(act(N535, L('M'), CTRL).command, K::EnterMem);
    EXPECT_EQ(act(N545, L('M'), CTRL).command, K::EnterMem);
    EXPECT_EQ(act(RX, L('M'), CTRL).command, K::None) << "the RX-320 panel has no memory entry";
    EXPECT_EQ(act(0, UP, NONE).command, K::None) << "no receiver, no keys";
}

TEST(PanelKeys, TheSameLetterMeansWhatEachModelMakesOfIt) {
    // Shift+F selects NFM on the AR7030 (third button), and on the NRD-535
    // its sixth; the RX-320 has no such mode.
    EXPECT_EQ(act(AR, L('F'), SHIFT), (KeyAction{K::Mode, 2}));
    EXPECT_EQ(act(N535, L('F'), SHIFT), (KeyAction{K::Mode, 5}));
    EXPECT_EQ(act(RX, L('F'), SHIFT).command, K::None);
    // Shift+M is a mode on the NRD-535, an ECSS button on the NRD-545.
    EXPECT_EQ(act(N535, L('M'), SHIFT), (KeyAction{K::Mode, 8}));
    EXPECT_EQ(act(N545, L('M'), SHIFT), (KeyAction{K::Ecss, 1}));
    // Shift+F1 is the first filter place on the AR7030, "Nar" on the NRD
    // panels and the narrowest range on the RX-320.
    EXPECT_EQ(act(AR, F(1), SHIFT), (KeyAction{K::Bandwidth, 0}));
    EXPECT_EQ(act(N545, F(1), SHIFT), (KeyAction{K::Bandwidth, 2}));
    EXPECT_EQ(act(RX, F(1), SHIFT), (KeyAction{K::BwRange, 3}));
    EXPECT_EQ(act(RX, F(8), SHIFT), (KeyAction{K::BwGroup, 0}));
    // Beyond each model's buttons nothing happens.
    EXPECT_EQ(act(AR, F(7), SHIFT).command, K::None);
    EXPECT_EQ(act(N545, F(4), SHIFT).command, K::None);
    EXPECT_EQ(act(N535, F(5), SHIFT).command, K::None);
}

TEST(PanelKeys, SliderKeysAndTheNrdLock) {
    // The AR7030 and RX-320 move passband shift and volume freely.
    for (int m : {AR, RX}) {
        EXPECT_EQ(act(m, PLUS, SHIFT).command, K::PbsUp);
        EXPECT_EQ(act(m, MINUS, SHIFT).command, K::PbsDown);
        EXPECT_EQ(act(m, 48, SHIFT).command, K::PbsCentre);
        EXPECT_EQ(act(m, PLUS, ALT).command, K::VolumeUp);
        EXPECT_EQ(act(m, MINUS, ALT).command, K::VolumeDown);
        EXPECT_EQ(act(m, 48, ALT).command, K::VolumeZero);
        EXPECT_EQ(act(m, PLUS, CTRLSHIFT).command, K::None) << "no lock on these panels";
        EXPECT_EQ(act(m, F(1), CTRL).command, K::None);
    }
    // On the NRD panels they act only while the user holds the lock.
    for (int m : {N535, N545}) {
        SCOPED_TRACE(m);
        for (int code : {PLUS, MINUS, 48}) EXPECT_EQ(act(m, code, SHIFT, false).command, K::None);
        EXPECT_EQ(act(m, PLUS, SHIFT, true).command, K::PbsUp);
        EXPECT_EQ(act(m, 48, SHIFT, true).command, K::PbsCentre);
        const K bwc[] = {K::BwcLowest, K::BwcDown, K::BwcUp, K::BwcHighest};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(act(m, F(i + 1), CTRL, false).command, K::None);
            EXPECT_EQ(act(m, F(i + 1), CTRL, true).command, bwc[i]);
        }
        // The lock keys themselves need no lock.
        EXPECT_EQ(act(m, PLUS, CTRLSHIFT).command, K::LockOn);
        EXPECT_EQ(act(m, MINUS, CTRLSHIFT).command, K::LockOff);
    }
    EXPECT_EQ(act(N535, PLUS, ALT, true).command, K::None) << "the NRD-535 has no volume keys";
    EXPECT_EQ(act(N545, PLUS, ALT, false).command, K::None);
    EXPECT_EQ(act(N545, PLUS, ALT, true).command, K::VolumeUp);
    EXPECT_EQ(act(N545, 48, ALT, true).command, K::VolumeZero);
}

TEST(PanelKeys, QtKeyEventsGiveTheTableCodes) {
    auto key = [](int qtKey, Qt::KeyboardModifiers m) {
        const PanelKey k = panelKeyOf(qtKey, m);
        return std::pair(k.code, k.shift);
    };
    EXPECT_EQ(key(Qt::Key_Up, Qt::NoModifier), std::pair(UP, NONE));
    EXPECT_EQ(key(Qt::Key_4, Qt::ControlModifier), std::pair(52, CTRL));
    EXPECT_EQ(key(Qt::Key_Period, Qt::ControlModifier), std::pair(PERIOD, CTRL));
    EXPECT_EQ(key(Qt::Key_F, Qt::ControlModifier), std::pair(L('F'), CTRL));
    EXPECT_EQ(key(Qt::Key_F3, Qt::ShiftModifier), std::pair(F(3), SHIFT));
    // With Shift held a US layout reports the shifted symbol of the key.
    EXPECT_EQ(key(Qt::Key_Plus, Qt::ShiftModifier), std::pair(PLUS, SHIFT));
    EXPECT_EQ(key(Qt::Key_Underscore, Qt::ShiftModifier), std::pair(MINUS, SHIFT));
    EXPECT_EQ(key(Qt::Key_ParenRight, Qt::ShiftModifier), std::pair(48, SHIFT));
    EXPECT_EQ(key(Qt::Key_Plus, Qt::ShiftModifier | Qt::ControlModifier), std::pair(PLUS, CTRLSHIFT));
    EXPECT_EQ(key(Qt::Key_Underscore, Qt::ShiftModifier | Qt::ControlModifier), std::pair(MINUS, CTRLSHIFT));
    EXPECT_EQ(key(Qt::Key_Equal, Qt::AltModifier), std::pair(PLUS, ALT));
    EXPECT_EQ(key(Qt::Key_Minus, Qt::AltModifier), std::pair(MINUS, ALT));
    // The number pad's "+" and "-" are other keys.
    EXPECT_NE(key(Qt::Key_Plus, Qt::KeypadModifier).first, PLUS);
    EXPECT_NE(key(Qt::Key_Minus, Qt::KeypadModifier).first, MINUS);
}
