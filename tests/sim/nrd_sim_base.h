#pragma once
// What the simulated NRD-535 and NRD-545 share: commands gathered up to CR,
// remote mode ("H1" on, "H0" off; everything else but the report switch "I1" /
// "I0" is ignored in local, as the real receivers do; an "H0" that follows a
// command almost at once is missed; switched off and on, the receiver is back
// in local), the tuned setting and the memory channels, the clock, the
// S-meter, the unsolicited frequency reports, and a timed log of every
// command for tests.
#include "sim/sim_receiver.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QMap>
#include <QRegularExpression>
#include <QTime>
#include <functional>
#include <map>
#include <optional>

namespace dovrane::sim {

// A number as n digits with leading zeros.
inline QByteArray digits(qint64 v, int n) { return QByteArray::number(v).rightJustified(n, '0'); }

class NrdSimBase : public SimReceiver {
public:
    // One tuned setting, as the receiver keeps it in its VFO and its channels.
    struct Setting {
        int attenuator = 0;
        int bandwidth = 1;
        int mode = 4;
        qint64 hertz = 9500000;
        int agc = 1;  // NRD-535: the AGC code; NRD-545: the time value 000..999
        bool operator==(const Setting&) const = default;
    };
    // A command as received: when (ms since the simulator was made), its text
    // without CR, and whether the receiver acted on it.
    struct Command {
        qint64 ms = 0;
        QByteArray text;
        bool accepted = false;
    };
    // Lets a test change how a reply goes out: returns the chunks to send (an
    // empty list sends nothing), each written separately.
    using ReplyFilter = std::function<QList<QByteArray>(const QByteArray& command, const QByteArray& reply)>;

    ~NrdSimBase() override;

    // A receiver busy with the command before misses a remote-off: the
    // program gives it 50 ms. The simulator sees the line with some
    // scheduling jitter, so only an "H0" this close behind a command it
    // carried out is taken as one that came with no pause at all.
    static constexpr int RemoteOffMissedWithinMs = 10;

    // Test access; each locks stateMutex().
    bool inRemote() const;
    void setRemote(bool on);
    bool reportsOn() const;
    Setting vfo() const;
    void setVfo(const Setting& s);
    std::optional<Setting> channel(int ch) const;
    void setChannel(int ch, const std::optional<Setting>& s);
    int topChannel() const { return topChannel_; }
    QString clockText() const;  // "hh:mm:ss"
    void setClock(const QTime& t);
    int smeterRaw() const;
    void setSmeterRaw(int raw);
    bool power() const;
    bool rtty() const;
    bool timerRelay() const;
    QByteArray rttyParameters() const;
    // The value last set for a user setting ("" when never set); the item as
    // the receiver numbers it.
    QByteArray userSetting(int item) const;

    QList<Command> commands() const;
    // The texts of the commands received, accepted or not.
    QList<QByteArray> commandTexts() const;
    void clearCommands();
    void setReplyFilter(ReplyFilter filter);
    // How long the receiver pauses between the chunks of a reply (5 ms: just
    // enough to reach the program as separate reads).
    void setChunkGapMs(int ms);
    // Makes the receiver say something of its own after each `command` (even
    // one it does not answer), as some receivers do after "H1".
    void setChatterAfter(const QByteArray& command, const QByteArray& bytes);

    // Text from the RTTY demodulator, sent unasked in chunks of chunkSize
    // bytes gapMs apart, as the receiver passes it on while it decodes.
    // Returns once the last chunk has gone out on the line.
    void sendRttyText(const QByteArray& text, int chunkSize = 8, int gapMs = 5);

    // The tuning knob turned by hand: the VFO moves and, with reports on, a
    // report line goes out.
    void turnKnob(qint64 hertz);

protected:
    explicit NrdSimBase(QString model, int topChannel, Setting start);

    void onByte(uint8_t byte) override;
    void switchedOn() override;
    // Acts on one command received in remote; false when the receiver does not
    // know it. Runs with stateMutex() held.
    virtual bool execute(const QByteArray& cmd) = 0;
    // The reply line for channel ch ("L" query), CR included.
    virtual QByteArray channelLine(int ch) const = 0;
    // The unsolicited frequency report, CR included.
    virtual QByteArray reportLine() const = 0;

    // The commands both receivers share; true when cmd was one of them.
    bool executeCommon(const QByteArray& cmd);
    // Whether cmd matches the whole pattern; the captured groups go to caps.
    static bool matches(const QByteArray& cmd, const char* pattern, QList<QByteArray>* caps = nullptr);
    // Queues a reply; it goes out once the command has been handled.
    void answer(const QByteArray& bytes);
    void changed(const QString& what);
    void tuneTo(const Setting& s);
    QByteArray clockDigits() const;
    // A channel line ("L") or report line ("I") of a setting; the two models
    // differ only in the widths of the frequency and AGC fields.
    static QByteArray settingLine(char letter, int channel, const Setting& s, int hertzDigits, int agcDigits);
    // The channel line of an empty channel.
    static QByteArray vacantLine(int channel, int zeros);
    // The raw "M" reading: from the curve at the tuned frequency, when
    // there is one.
    int smeterNow() const;
    // The model's raw reading for a level in S units.
    virtual int smeterRawFor(double level) const = 0;
    // Stores user setting item when value is one the receiver takes
    // (pattern, null for an unknown item); false otherwise.
    bool storeUserSetting(int item, const QByteArray& value, const char* pattern);

    const QString model_;
    const int topChannel_;
    bool remote_ = false;
    bool reports_ = false;
    Setting vfo_;
    std::map<int, Setting> channels_;
    int smeterRaw_ = 0;
    bool power_ = true;
    bool rtty_ = false;
    bool timerRelay_ = false;
    QByteArray rttyParameters_;
    QMap<int, QByteArray> userSettings_;

private:
    void sendOut(const QByteArray& command, const QList<QByteArray>& replies);

    QByteArray line_;
    // When (on since_) the last command carried out in remote came; none yet.
    qint64 lastCarriedOutMs_ = -1;
    QList<QByteArray> pending_;
    QList<Command> commands_;
    QElapsedTimer since_;
    QTime clockBase_;
    QElapsedTimer clockSince_;
    ReplyFilter filter_;
    int chunkGapMs_ = 5;
    QMap<QByteArray, QByteArray> chatter_;
};

} // namespace dovrane::sim
