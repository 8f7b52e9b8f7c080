#pragma once
// One message for a tool run that meets a receiver which does not answer.
// The driver queues its notice at the first failure; a run that stops over
// the failures would add a box of its own, so the run takes the notice over
// at once and, when it stops, says in one box after its tick both that the
// receiver does not answer and what became of the run.
#include <QString>
#include <optional>

namespace dovrane {

// The receiver's notice for device, in its own box once the current click or
// tick has returned: for a caller whose failure the driver did not tell,
// because the driver had told the same silence before.
void tellRxNoticeLater(const QString& device);

class RunNotice {
public:
    // After a receiver operation of the run that got no answer (or could not
    // be sent): takes over the driver's queued notice, if there is one.
    void failed();
    // After one that was answered, and when the run ends by Stop or a close:
    // a notice taken over is shown as the driver would have shown it.
    void release();
    // The run has stopped: one box after the tick. It starts with "The
    // receiver does not answer" and the device when the receiver is failing,
    // then text.
    void stopped(const QString& text, const QString& title);

private:
    std::optional<QString> device_;
};

// The device a "The receiver does not answer" message names: the one the
// driver's notice was queued for, else port 1's.
QString noticeDevice(const std::optional<QString>& queued);
// Takes over the driver's queued notice (it no longer comes up by itself)
// and gives the message's text, for the device as above: for a command's
// own box that tells what the silence cost.
QString takeRxNoticeText();

// Unanswered receiver operations in a row: the third stops a run (a scan, a
// recorder, the memory scan, the timer's probe); any answer starts the count
// again.
class SilenceCount {
public:
    static constexpr int Limit = 3;
    // One more operation went unanswered: true once the run must stop.
    bool failed() { return ++count_ >= Limit; }
    void answered() { count_ = 0; }
    bool exhausted() const { return count_ >= Limit; }
    int count() const { return count_; }

private:
    int count_ = 0;
};

} // namespace dovrane
