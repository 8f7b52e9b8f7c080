#pragma once
// Positions and sizes in the program's files are twips, 15 to a pixel.
#include <QColor>
#include <QtGlobal>
#include <cstdint>

namespace dovrane {

constexpr int TwipsPerPixel = 15;
constexpr int twipsToPx(double twips) { return static_cast<int>(twips / TwipsPerPixel + (twips >= 0 ? 0.5 : -0.5)); }
constexpr int32_t pxToTwips(int px) { return px * TwipsPerPixel; }

// A colour written 0xBBGGRR.
inline QColor colorFromBgr(uint32_t bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

} // namespace dovrane
