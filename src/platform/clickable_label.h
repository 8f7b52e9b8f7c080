#pragma once
// A picture that acts as a button: a click with the left button, or Space or
// Enter while it has the focus, emits clicked().
#include <QLabel>

namespace dovrane {

class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool pressed_ = false;
};

} // namespace dovrane
