#include "lists/last20_list.h"

namespace dovrane {

void pushLast20(const QString& text) {
    if (text.isEmpty()) return;
    std::array<QString, 21> next;
    next[0] = text;
    int n = 1;
    for (int i = 0; i < Last20Size && n < Last20Size; ++i) {
        const QString& old = Last20[size_t(i)];
        if (old.isEmpty() || old == text) continue;
        next[size_t(n++)] = old;
    }
    Last20 = next;
}

void clearLast20() {
    for (QString& s : Last20) s.clear();
}

} // namespace dovrane
