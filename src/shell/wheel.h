#pragma once
// The receiver panels' mouse wheel. Qt hands wheel events to the widget under
// the pointer; the panel's hook (its child "Msghook1") takes those of every
// widget of the panel window and turns them into steps, one per 120 units of
// angle, however the wheel splits them into events.
#include <QObject>
#include <functional>
#include <optional>

class QWidget;

namespace dovrane {

// Adds wheel angle up and gives whole notches: +1 per 120 units turned away
// from the user, -1 per 120 towards. A turn back first uses up what gathered.
class WheelSteps {
public:
    int feed(int angleDelta);
    void reset() { rest_ = 0; }
    int rest() const { return rest_; }

private:
    int rest_ = 0;
};

// The hook of one panel window. Once bound, the handler gets each wheel
// event's angle over any widget of the window and says whether it took it; an
// event it does not take goes on to the widget as usual.
class WheelHook : public QObject {
    Q_OBJECT
public:
    WheelHook(QWidget* window, std::function<bool(int angleDelta)> handler);
    ~WheelHook() override;

    void bind();
    bool isBound() const { return bound_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    std::function<bool(int)> handler_;
    bool bound_ = false;
};

// With hook given, binds the panel's Msghook1 (its WheelHook child) to the
// panel window; without it, it would re-read the system's wheel settings,
// which Qt keeps up to date by itself, so it changes nothing.
void initmousewheel(QWidget* frm, std::optional<int> hook = std::nullopt);

} // namespace dovrane
