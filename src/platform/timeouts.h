#pragma once
// How long a driver waits for the receiver: the allowance table (one table,
// so tests can change it; the retry times beside it likewise), the longer allowance a receiver that starts
// afresh gets for its next answer, and the deadline made from them. The code
// of all three is in commport.cpp.
//
// Each entry is an allowance beyond the wire: an answer must begin within it
// once the question has crossed the line and the answer's first byte has had
// time to come back, and must be whole within it once all of the answer has
// had time to come back. A silent receiver therefore holds the caller for the
// question's own wire time and one allowance, however long its answer would
// have been, and an answer under way is never cut short before the wire could
// have carried it.
#include <QElapsedTimer>

namespace dovrane {

// 200 ms lets a receiver busy with its front panel for a moment still
// answer, while a silent one gives up a read held in remote within about a
// quarter of a second (an NRD read inside its own remote on/off within half
// a second).
struct ReplyTimeouts {
    int ar7030ByteMs = 200;   // each byte the AR7030 returns
    int nrdReplyMs = 200;     // each NRD reply
    int rx320SmeterMs = 200;  // the RX-320 S-meter and firmware replies
    // The first answer after a reset or a power-on: the receiver starts
    // afresh and may take this long before it listens again.
    int ar7030SettleMs = 500;
    int nrdSettleMs = 1000;
};

inline ReplyTimeouts replyTimeouts;

// How long something owed to a receiver that cannot be reached waits before
// it is tried again (beside the replies, so that tests can shorten it too).
struct RetryTimes {
    // The switch-off of a line output the timer left on: often enough that a
    // recorder does not run on for long once the receiver is back, seldom
    // enough that the tries do not crowd the user's own commands.
    int owedLineOffMs = 5000;
};

inline RetryTimes retryTimes;

class CommPort;

// The receiver on `port` was just reset or switched on. The port keeps it
// (ReceiverOnLine), for every driver.
void noteReceiverRestarted(CommPort& port);
// The allowance for the answer now awaited on `port`: usualMs, or once after
// noteReceiverRestarted the longer of usualMs and settleMs.
int takeReplyAllowanceMs(CommPort& port, int usualMs, int settleMs);

// When the answer to a question just written is due, by the rule above. Made
// right after the question has been handed to the port.
class ReplyDeadline {
public:
    ReplyDeadline(const CommPort& port, int bytes, int allowanceMs);
    // The same for a question of questionBytes whose write began when
    // writeStarted was started: also right when the caller was held up after
    // the write until the line had long carried it.
    ReplyDeadline(const CommPort& port, const QElapsedTimer& writeStarted, int questionBytes, int bytes,
                  int allowanceMs);
    // Milliseconds left, rounded up, for a wait that already holds `have`
    // bytes of the answer; 0 once it is due.
    int msLeft(int have) const;
    // The clock the deadline runs on, started when it was made, and when on
    // it the line will have carried the question.
    const QElapsedTimer& clock() const { return clock_; }
    qint64 outNs() const { return outNs_; }

private:
    QElapsedTimer clock_;
    qint64 outNs_ = 0;
    qint64 firstNs_ = 0;
    qint64 allNs_ = 0;
};

// Waits without running events until n bytes are waiting on the port or the
// answer is due; returns whether n bytes are there.
bool waitForReply(CommPort& port, int n, const ReplyDeadline& due);

} // namespace dovrane
