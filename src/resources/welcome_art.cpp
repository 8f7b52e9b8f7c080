#include "resources/welcome_art.h"

#include <QFont>
#include <QFontDatabase>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace dovrane::art {

namespace {

QPixmap canvas(QSize size, qreal dpr) {
    QPixmap pm(size * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    return pm;
}

void drawAerial(QPainter& p, QPointF top) {
    // Waves leaving the aerial's tip.
    for (int i = 1; i <= 3; ++i) {
        const qreal r = 13.0 * i;
        QColor c(120, 200, 210, 160 - i * 35);
        p.setPen(QPen(c, 2.0, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        const QRectF box(top.x() - r, top.y() - r, 2 * r, 2 * r);
        p.drawArc(box, 20 * 16, 50 * 16);
        p.drawArc(box, 110 * 16, 50 * 16);
    }
    // The mast and its feet.
    p.setPen(QPen(QColor(190, 200, 212), 2.0, Qt::SolidLine, Qt::RoundCap));
    const QPointF foot(top.x(), top.y() + 52);
    p.drawLine(top, foot);
    p.drawLine(QPointF(top.x(), top.y() + 20), QPointF(top.x() - 14, foot.y()));
    p.drawLine(QPointF(top.x(), top.y() + 20), QPointF(top.x() + 14, foot.y()));
    p.setBrush(QColor(230, 120, 90));
    p.setPen(Qt::NoPen);
    p.drawEllipse(top, 3.5, 3.5);
}

void drawReceiver(QPainter& p, const QRectF& body) {
    // Cabinet.
    QLinearGradient cabinet(body.topLeft(), body.bottomLeft());
    cabinet.setColorAt(0, QColor(54, 60, 70));
    cabinet.setColorAt(1, QColor(28, 31, 37));
    p.setPen(QPen(QColor(100, 112, 128), 1.2));
    p.setBrush(cabinet);
    p.drawRoundedRect(body, 10, 10);

    // Frequency display.
    const QRectF display(body.left() + 14, body.top() + 14, 176, 44);
    p.setPen(QPen(QColor(12, 14, 16), 1.0));
    p.setBrush(QColor(18, 26, 22));
    p.drawRoundedRect(display, 4, 4);
    QFont digits = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    digits.setPixelSize(22);
    digits.setBold(true);
    p.setFont(digits);
    p.setPen(QColor(255, 184, 76));
    p.drawText(display.adjusted(8, 0, -34, 0), Qt::AlignVCenter | Qt::AlignRight, QStringLiteral("9 580.00"));
    QFont unit = digits;
    unit.setPixelSize(11);
    unit.setBold(false);
    p.setFont(unit);
    p.drawText(display.adjusted(0, 0, -6, -6), Qt::AlignBottom | Qt::AlignRight, QStringLiteral("kHz"));

    // Tuning scale with its pointer.
    const QRectF scale(display.right() + 14, display.top(), 150, 44);
    p.setPen(QPen(QColor(12, 14, 16), 1.0));
    p.setBrush(QColor(222, 214, 190));
    p.drawRoundedRect(scale, 4, 4);
    p.setPen(QPen(QColor(60, 60, 60), 1.0));
    for (int i = 0; i <= 20; ++i) {
        const qreal x = scale.left() + 8 + i * (scale.width() - 16) / 20.0;
        const qreal len = i % 5 == 0 ? 14 : 7;
        p.drawLine(QPointF(x, scale.bottom() - 6), QPointF(x, scale.bottom() - 6 - len));
    }
    p.setPen(QPen(QColor(200, 40, 40), 2.0));
    const qreal needle = scale.left() + 8 + 0.62 * (scale.width() - 16);
    p.drawLine(QPointF(needle, scale.top() + 5), QPointF(needle, scale.bottom() - 4));

    // Tuning knob.
    const QPointF knob(body.right() - 34, display.center().y() + 10);
    QRadialGradient knobShade(knob - QPointF(6, 6), 30);
    knobShade.setColorAt(0, QColor(150, 156, 166));
    knobShade.setColorAt(1, QColor(40, 44, 50));
    p.setPen(QPen(QColor(20, 22, 26), 1.2));
    p.setBrush(knobShade);
    p.drawEllipse(knob, 22, 22);
    p.setPen(QPen(QColor(220, 224, 230), 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(knob + QPointF(0, -8), knob + QPointF(0, -17));

    // Row of keys and a signal-strength bar.
    const qreal rowY = body.bottom() - 30;
    p.setPen(QPen(QColor(16, 18, 22), 1.0));
    for (int i = 0; i < 6; ++i) {
        p.setBrush(i == 1 ? QColor(90, 150, 110) : QColor(86, 94, 106));
        p.drawRoundedRect(QRectF(display.left() + i * 30, rowY, 24, 14), 3, 3);
    }
    for (int i = 0; i < 12; ++i) {
        const QColor c = i < 7 ? QColor(90, 200, 120) : (i < 10 ? QColor(240, 190, 70) : QColor(70, 76, 84));
        p.setBrush(c);
        p.setPen(Qt::NoPen);
        const qreal h = 5 + i * 1.2;
        p.drawRect(QRectF(scale.left() + i * 12, rowY + 16 - h, 8, h));
    }
}

} // namespace

QPixmap welcomeBackground(QSize size, qreal dpr) {
    QPixmap pm = canvas(size, dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width(), h = size.height();

    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(14, 28, 46));
    sky.setColorAt(1, QColor(34, 54, 80));
    p.fillRect(QRectF(0, 0, w, h), sky);

    // A faint band of the short-wave spectrum along the bottom.
    p.setPen(QPen(QColor(120, 170, 210, 40), 1.0));
    QPainterPath wave;
    for (int x = 0; x <= int(w); x += 2) {
        const qreal y = h - 40 + 8 * std::sin(x / 18.0) * std::sin(x / 97.0);
        if (x == 0) wave.moveTo(x, y);
        else wave.lineTo(x, y);
    }
    p.drawPath(wave);

    drawAerial(p, QPointF(w - 70, 42));

    QFont title = p.font();
    title.setPixelSize(40);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(232, 238, 245));
    p.drawText(QRectF(32, 14, w - 160, 52), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Dovrane"));
    QFont sub = p.font();
    sub.setPixelSize(13);
    sub.setBold(false);
    p.setFont(sub);
    p.setPen(QColor(160, 180, 200));
    p.drawText(QRectF(34, 62, w - 160, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("receiver control and frequency lists"));

    drawReceiver(p, QRectF(32, 100, w - 64, 116));
    return pm;
}

QPixmap welcomeButton(const QString& caption, QColor accent, QSize size, qreal dpr) {
    QPixmap pm = canvas(size, dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(1, 1, -1, -1);
    QLinearGradient face(r.topLeft(), r.bottomLeft());
    face.setColorAt(0, accent.lighter(135));
    face.setColorAt(1, accent.darker(125));
    p.setPen(QPen(accent.lighter(170), 1.2));
    p.setBrush(face);
    p.drawRoundedRect(r, 9, 9);

    QFont f = p.font();
    f.setPixelSize(16);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0, 0, 0, 90));
    p.drawText(r.translated(1, 1), Qt::AlignCenter, caption);
    p.setPen(QColor(248, 250, 252));
    p.drawText(r, Qt::AlignCenter, caption);
    return pm;
}

} // namespace dovrane::art
