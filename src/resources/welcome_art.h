#pragma once
// The welcome window's pictures, drawn for this program at start-up: the
// background with a receiver and its aerial, and the four picture buttons.
#include <QColor>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace dovrane::art {

QPixmap welcomeBackground(QSize size, qreal devicePixelRatio = 1.0);
QPixmap welcomeButton(const QString& caption, QColor accent, QSize size, qreal devicePixelRatio = 1.0);

// The button colours: a calm steel for Set Up and About, green for Go, a muted red for Exit.
inline QColor steelAccent() { return QColor(74, 106, 138); }
inline QColor goAccent() { return QColor(63, 143, 90); }
inline QColor exitAccent() { return QColor(138, 74, 74); }

} // namespace dovrane::art
