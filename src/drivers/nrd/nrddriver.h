#pragma once
// What the NRD-535 and NRD-545 drivers share: commands ended by CR, the
// remote-on/remote-off bracketing with the program-wide flags CmdBusy and
// RemoteHeld, the hold of Lockonoff, and the two ways of awaiting a reply.
//
// An operation (one command, or a query and its reply) is atomic: no events
// run inside it, its pauses are plain sleeps and every reply wait ends
// replyTimeouts.nrdReplyMs past the time the reply needs on the wire (longer
// only after power-on). A bracketed command is a sequence: the hold, each
// exchange and the release are operations, and events run in the pauses
// between them (see platform/sequence.h). It always releases the receiver,
// also when its exchange fails, and the notice about a silent receiver is
// given only after the release.
#include "drivers/model_tables.h"
#include "drivers/sent.h"
#include "platform/sequence.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <optional>

namespace dovrane {

class CommPort;

class NrdDriver : public QObject {
    Q_OBJECT
public:
    // Remote on ("H1" twice) when the flags call for it; false if a write failed.
    bool i_on();
    // Remote off ("H0" twice) when the flags call for it; false if a write failed.
    bool i_off();
    // 1 holds the receiver in remote across many commands, 0 releases it.
    // Any other value is refused. Raises LockChanged(v) when done.
    bool Lockonoff(int v);

    // The timer relay switched off for a caller that lets events run between
    // the steps, so that none holds it longer than one unanswered read:
    // openBracket() takes the receiver into remote as a bracketed command
    // does (CmdBusy set, H1 twice unless it is held); relayOffOnAnswer()
    // asks for the clock, one short read, and only once it is answered
    // switches the relay off; closeBracket() lets the receiver go, and
    // follows every openBracket(). A command that runs in between brackets
    // itself inside this one and leaves the receiver in remote.
    bool openBracket();
    bool relayOffOnAnswer();
    void closeBracket();

    // "hh:mm:ss" (the NRD-545 keeps hours and minutes only when set).
    std::optional<QString> RxClock();
    bool RxClock(const QString& t);
    // The RTTY demodulator's parameters, made by the RTTY window; only to a
    // receiver whose unit can be on.
    SendResult RttyParameters(const QString& p);
    bool Timerrelaysonoff(int v);

    // The receiver's own frequency reports, for following its tuning knob:
    // 1 starts them ("I1") and leaves the knob to the user (the model's
    // command for it), 0 stops them ("I0"). Plain commands outside the remote
    // bracketing, so that the knob stays free; false when a write failed,
    // and any other value is refused.
    bool DialReports(int v);

signals:
    void LockChanged(int v);

protected:
    explicit NrdDriver(CommPort& port, QObject* parent = nullptr);

    // Where the two models differ in the members above.
    struct Particulars {
        RxModel model;
        const char* dialRelease;      // what follows "I1" so that the user tunes with the knob
        const char* rttyParameters;   // the command the RTTY parameters follow
        bool clockSeconds;            // whether the clock is set to the second
    };
    virtual const Particulars& particulars() const = 0;

    // Keeps CmdBusy set and the receiver in remote for its lifetime; the
    // release runs however the exchange inside ends.
    class Bracket {
    public:
        explicit Bracket(NrdDriver& driver);
        ~Bracket();
        Bracket(const Bracket&) = delete;
        Bracket& operator=(const Bracket&) = delete;
        bool ok() const { return ok_; }

    private:
        // The hold, each exchange inside and the release are operations of
        // their own: events run between them, while the window ticks and
        // input that could start another exchange wait for the sequence.
        NrdDriver& driver_;
        bool ok_;
    };

    static void pause(int ms);
    // The command and its CR in one write; a write that cannot go out is
    // reported as a receiver that does not answer.
    bool send(const QByteArray& command);
    // The command inside its own bracketing.
    bool sendBracketed(const QByteArray& command);
    // A plain command: it acts only while the receiver is held, and a
    // receiver in local would ignore it, so it goes out only then.
    SendResult sendPlain(const QByteArray& command);
    // A count wait: drops what came before, sends the query, waits until the
    // shape's length has arrived and takes everything waiting; nothing unless
    // the reply has that shape (see nrd::matchesShape). Both waits skip the
    // CR or LF a reply starts with: it is the end of an earlier reply that
    // came after that reply was taken.
    std::optional<QByteArray> query(const QByteArray& command, const char* shape);
    // A line read: drops what came before, sends the query and gathers the
    // reply until it holds a CR or maxLength characters; returns it up to the
    // CR (without it), or nothing when the deadline passes first.
    std::optional<QByteArray> lineRead(const QByteArray& command, int maxLength);

    // Tells the shared link notice how a read ended, and passes the result on.
    template <class T>
    std::optional<T> noted(std::optional<T> result) {
        noteResult(result.has_value());
        return result;
    }
    void noteResult(bool answered);

    CommPort& port_;

private:
    int brackets_ = 0;          // brackets open, nested ones counted
    bool bracketHeld_ = false;  // whether the outermost one took the receiver
};

} // namespace dovrane
