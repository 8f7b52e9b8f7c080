#pragma once
// A drawing surface for the graphs of the measurement and print windows: the
// picture is kept in a QImage, drawing code paints the image in pixels (what
// was drawn stays until it is painted over or cleared) and the widget shows
// it. Tests read the pixels back. Promoted from a plain QWidget in the .ui
// files.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>

namespace dovrane {

class Canvas : public QWidget {
    Q_OBJECT
public:
    explicit Canvas(QWidget* parent = nullptr);

    // The colour clear() and a grown picture are filled with.
    void setBackColor(const QColor& colour);
    QColor backColor() const { return back_; }
    // Sets the widget and the picture to w x h pixels; what was drawn keeps
    // its place (the widget's own resizing does the same).
    void setCanvasSize(int w, int h);

    // Fills the whole picture with colour (the back colour when none is given).
    void clear(const QColor& colour = QColor());
    // Fills the box with the corners (x1,y1) and (x2,y2), both included, in
    // whatever order they come.
    void fillBox(int x1, int y1, int x2, int y2, const QColor& colour);
    // A one-pixel line from (x1,y1) to (x2,y2), both ends included.
    void line(int x1, int y1, int x2, int y2, const QColor& colour);
    // Text with its top-left corner at (x,y), in the drawing font.
    void text(int x, int y, const QString& text, const QColor& colour);
    void setPixel(int x, int y, const QColor& colour);
    // The colour at (x,y); an invalid colour outside the picture.
    QColor pixel(int x, int y) const;

    void setDrawFont(const QFont& font) { drawFont_ = font; }
    QFont drawFont() const { return drawFont_; }
    int textWidth(const QString& text) const;
    int textHeight() const;

    const QImage& image() const { return image_; }

signals:
    // Mouse over the picture, in picture pixels.
    void mouseMoved(QPoint at);
    void mousePressed(QPoint at, Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void fitImage(const QSize& size);

    QImage image_;
    QColor back_ = Qt::white;
    QFont drawFont_;
};

} // namespace dovrane
