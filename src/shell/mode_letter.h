#pragma once
// The one-letter mode codes that lists, logs and station files carry ("a" AM,
// "u" USB, "l" LSB, "c" CW, "f" FM, "d" data), and the receiver modes they
// stand for on each receiver type (1 AR7030, 2 NRD-535, 3 RX-320, 4 NRD-545).
#include <QChar>
#include <QString>
#include <optional>

namespace dovrane {

// The letter of a receiver's mode code; "" for a mode without a letter, an
// unknown code or receiver type 0.
QString modeLetterFor(int rxType, int modeCode);
// The mode a letter (either case) selects on a receiver type; nothing for a
// letter the type has no mode for (the RX-320 has no FM or data mode).
std::optional<int> modeCodeFor(int rxType, QChar letter);

} // namespace dovrane
