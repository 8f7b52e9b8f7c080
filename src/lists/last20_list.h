#pragma once
// The last-20 history: the last 20 different frequency texts a panel showed,
// newest first. It lives for the whole run, whether its window is open or not.
#include <QString>
#include <array>

namespace dovrane {

inline constexpr int Last20Size = 20;
// Entries 0..19; entry 0 is the newest, an unused entry is empty.
inline std::array<QString, 21> Last20;

// Puts text at the top. An equal older entry leaves its place, so no text is
// ever listed twice and no other entry is lost for it; the oldest of 20
// distinct entries drops out.
void pushLast20(const QString& text);
void clearLast20();

} // namespace dovrane
