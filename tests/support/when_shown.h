#pragma once
// Working a window that a path opens (a modal one, typically: a chooser, the
// limits of a run) once it is up. The path may run receiver operations
// before it opens the window, and events run between them, so a timer set
// to a fixed delay may come before the window does and find nothing to
// answer. Instead the window is looked for every few milliseconds until it
// is shown, and worked once. The poll ends with the object that holds it, so
// a window that never came is not answered in some later test.
//
// The poll acts as the user does: never while events run between two
// receiver operations, where the user's click waits for the sequence. Acting
// there would run what the click starts inside that pause, with no events
// between its own operations.
#include "platform/sequence.h"
#include "shell/form.h"
#include "support/waits.h"

#include <QElapsedTimer>
#include <QTimer>
#include <functional>
#include <utility>

namespace dovrane::test {

class WhenReady {
public:
    // act is tried until it returns true, for up to capMs.
    explicit WhenReady(std::function<bool()> act, int capMs = BusyMachineCapMs) : act_(std::move(act)), capMs_(capMs) {
        clock_.start();
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            if (done_ || sequence::yielding()) return;
            if (act_()) done_ = true;
            if (done_ || clock_.elapsed() >= capMs_) poll_.stop();
        });
        poll_.start(5);
    }
    WhenReady(const WhenReady&) = delete;
    WhenReady& operator=(const WhenReady&) = delete;
    // Whether act has been done.
    bool done() const { return done_; }

private:
    std::function<bool()> act_;
    int capMs_;
    bool done_ = false;
    QElapsedTimer clock_;
    QTimer poll_;
};

// Works window W with act once it is loaded and shown.
template <class W>
[[nodiscard]] WhenReady whenShown(std::function<void(W*)> act, int capMs = BusyMachineCapMs) {
    return WhenReady(
        [act = std::move(act)] {
            W* w = forms::loaded<W>();
            if (!w || !w->isVisible()) return false;
            act(w);
            return true;
        },
        capMs);
}

} // namespace dovrane::test
