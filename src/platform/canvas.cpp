#include "platform/canvas.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

namespace dovrane {

Canvas::Canvas(QWidget* parent) : QWidget(parent), drawFont_(font()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    fitImage(size());
}

void Canvas::setBackColor(const QColor& colour) { back_ = colour; }

void Canvas::setCanvasSize(int w, int h) {
    resize(w, h);
    fitImage(QSize(w, h));   // a hidden widget may not get its resize event yet
}

void Canvas::fitImage(const QSize& size) {
    const QSize s(std::max(size.width(), 1), std::max(size.height(), 1));
    if (image_.size() == s) return;
    QImage grown(s, QImage::Format_RGB32);
    grown.fill(back_);
    if (!image_.isNull()) {
        QPainter p(&grown);
        p.drawImage(0, 0, image_);
    }
    image_ = grown;
}

void Canvas::clear(const QColor& colour) {
    image_.fill(colour.isValid() ? colour : back_);
    update();
}

void Canvas::fillBox(int x1, int y1, int x2, int y2, const QColor& colour) {
    QPainter p(&image_);
    p.fillRect(QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2))), colour);
    update();
}

void Canvas::line(int x1, int y1, int x2, int y2, const QColor& colour) {
    QPainter p(&image_);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(colour, 0));
    if (x1 == x2 && y1 == y2) p.drawPoint(x1, y1);
    else p.drawLine(x1, y1, x2, y2);
    update();
}

void Canvas::text(int x, int y, const QString& s, const QColor& colour) {
    QPainter p(&image_);
    p.setFont(drawFont_);
    p.setPen(colour);
    const QFontMetrics fm(drawFont_);
    p.drawText(x, y + fm.ascent(), s);
    update();
}

void Canvas::setPixel(int x, int y, const QColor& colour) {
    if (!image_.valid(x, y)) return;
    image_.setPixelColor(x, y, colour);
    update();
}

QColor Canvas::pixel(int x, int y) const { return image_.valid(x, y) ? image_.pixelColor(x, y) : QColor(); }

int Canvas::textWidth(const QString& s) const { return QFontMetrics(drawFont_).horizontalAdvance(s); }

int Canvas::textHeight() const { return QFontMetrics(drawFont_).height(); }

void Canvas::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), back_);
    p.drawImage(0, 0, image_);
}

void Canvas::resizeEvent(QResizeEvent* event) {
    fitImage(event->size());
    QWidget::resizeEvent(event);
}

void Canvas::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved(event->position().toPoint());
    QWidget::mouseMoveEvent(event);
}

void Canvas::mousePressEvent(QMouseEvent* event) {
    emit mousePressed(event->position().toPoint(), event->button());
    QWidget::mousePressEvent(event);
}

} // namespace dovrane
