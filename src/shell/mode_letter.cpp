#include "shell/mode_letter.h"

namespace dovrane {

QString modeLetterFor(int rxType, int m) {
    switch (rxType) {
    case 1:
        switch (m) {
        case 1: case 2: return QStringLiteral("a");
        case 7: return QStringLiteral("u");
        case 6: return QStringLiteral("l");
        case 5: return QStringLiteral("c");
        case 3: return QStringLiteral("f");
        case 4: return QStringLiteral("d");
        default: return QString();
        }
    case 2:
        switch (m) {
        case 4: case 7: case 8: return QStringLiteral("a");
        case 2: return QStringLiteral("u");
        case 3: return QStringLiteral("l");
        case 1: return QStringLiteral("c");
        case 5: return QStringLiteral("f");
        case 0: case 6: return QStringLiteral("d");
        default: return QString();
        }
    case 4:
        switch (m) {
        case 4: case 6: case 7: case 8: return QStringLiteral("a");
        case 2: return QStringLiteral("u");
        case 3: return QStringLiteral("l");
        case 1: return QStringLiteral("c");
        case 5: return QStringLiteral("f");
        case 0: return QStringLiteral("d");
        default: return QString();
        }
    case 3:
        switch (m) {
        case 0: return QStringLiteral("a");
        case 1: return QStringLiteral("u");
        case 2: return QStringLiteral("l");
        case 3: return QStringLiteral("c");
        default: return QString();
        }
    default: return QString();
    }
}

std::optional<int> modeCodeFor(int rxType, QChar letter) {
    // Order: a, u, l, c, f, d; -1 where the receiver has no such mode.
    static const int codes[5][6] = {
        {-1, -1, -1, -1, -1, -1},
        {1, 7, 6, 5, 3, 4},
        {4, 2, 3, 1, 5, 6},
        {0, 1, 2, 3, -1, -1},
        {4, 2, 3, 1, 5, 0},
    };
    static const QString letters = QStringLiteral("aulcfd");
    if (rxType < 1 || rxType > 4) return std::nullopt;
    const qsizetype i = letters.indexOf(letter.toLower());
    if (i < 0) return std::nullopt;
    const int code = codes[rxType][i];
    if (code < 0) return std::nullopt;
    return code;
}

} // namespace dovrane
