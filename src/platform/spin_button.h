#pragma once
// The spin control: two arrow buttons, one above the other, that say "up" or
// "down" once per click. It keeps no value of its own; its owner does.
#include <QWidget>

class QToolButton;

namespace dovrane {

class SpinButton : public QWidget {
    Q_OBJECT
public:
    explicit SpinButton(QWidget* parent = nullptr);

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }
    QSize sizeHint() const override { return QSize(20, 30); }

signals:
    void SpinUp();
    void SpinDown();

private:
    QToolButton* up_;
    QToolButton* down_;
};

} // namespace dovrane
