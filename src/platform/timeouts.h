#pragma once
// How long a driver waits for the receiver. One table, so tests can shorten it.

namespace dovrane {

struct ReplyTimeouts {
    int ar7030ByteMs = 500;   // each byte the AR7030 returns
    int nrdReplyMs = 1000;    // each NRD reply
    int rx320SmeterMs = 500;  // the RX-320 S-meter and firmware replies
};

inline ReplyTimeouts replyTimeouts;

} // namespace dovrane
