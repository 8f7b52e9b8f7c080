#pragma once
// The receiver facade: how the lists, the log, the scans, the timer and the
// memory manager tune the receiver, read its frequency and set its mode
// without knowing which receiver is connected. Every operation dispatches on
// RxType (fixed from Go until the panel closes), drives the receiver through
// the welcome window's own driver object of that type and then calls the open
// panel's change handler, so the panel shows what was sent. With RxType 0
// every operation does nothing.
//
// The facade also holds the serial receive: while CommRxEnabled is set,
// what arrives on Comm1 goes to getfreq, which follows the frequency reports
// an NRD receiver sends by itself in its Dial mode.
#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

namespace dovrane {

class CommPort;

// What the facade needs of the open receiver panel: its change handlers
// (each only shows the value; none talks to the receiver) and the text of
// its frequency box. A receiver panel registers itself while it is loaded.
class PanelHandlers {
public:
    // The frequency handler: shows f in the panel and in the open list
    // windows, pushes it onto the last-20 list, tells tracking.
    virtual void frequencyAChanged(double kHz) = 0;
    virtual void modeChanged(int) {}
    virtual void bandwidthChanged(int) {}
    virtual void agcspeedChanged(int) {}
    // The panel's txtFrequencyA as it stands.
    virtual QString frequencyText() const = 0;

protected:
    ~PanelHandlers() = default;
};

void setOpenPanel(PanelHandlers* panel);
void clearOpenPanel(PanelHandlers* panel);
PanelHandlers* openPanel();

// Go: creates the welcome window's driver object of rxType on Comm1 (any
// other one is dropped). The facade also creates it on first use.
void createWelcomeDriver(int rxType);
// Drops the welcome window's driver objects.
void releaseWelcomeDrivers();

// Tunes to freq (kHz) when FreqMin <= freq <= FreqMax, then calls the panel's
// frequency handler. Outside the limits: "Frequency outside range", title
// "Input Error", and nothing is sent. True when the receiver was tuned.
bool Change2FreqA(double freq);
// The ModeLetter of the receiver's mode ("a", "u", "l", "c", "f", "d"), or
// "" for a mode without a letter, no receiver or a read without an answer.
QString ConvertRx2mfa();
// Sets mode, filter and AGC for a ModeLetter (either case; letter is
// upper-cased in place). Any other text changes nothing.
void SetRx2mfa(QString& letter);
// Reads the receiver's frequency (RX-320: the last one sent) and passes it to
// the panel's frequency handler. Returns it; 0 with no receiver, nothing
// when the receiver gave no answer.
std::optional<double> Update2RxFreq();
void Update4RxFreq();

// The NRD dial-report parser. Appends s to the receive buffer term; every CR
// ends a line and an unfinished tail stays for the next call. The last
// complete line that holds a whole report gives TrackFreq (its eight digits
// of Hz / 1000) and goes to the NRD panel's frequency handler; a short or
// garbled line is ignored. When a line was completed, updatetracking runs
// for every receiver type. The buffer never grows beyond 1024 bytes.
void getfreq(QByteArray& term, const QByteArray& s);
inline constexpr int ReceiveBufferLimit = 1024;

// The receive handler of Comm1: while CommRxEnabled is set it takes what
// arrived and hands it to getfreq; otherwise the bytes stay for the drivers.
void Comm1_OnComm();
// Connects Comm1_OnComm to a port's receive signal (once per port).
void attachSerialReceive(CommPort& port);
// The welcome window's receive buffer ("term").
QByteArray& receiveBuffer();

// The tracking window's lookup of TrackFreq; runs whatever that window set
// here, nothing while it has set nothing.
inline std::function<void()> updatetrackingHandler;
void updatetracking();

// Puts the facade back to its start (tests).
void resetFacade();

} // namespace dovrane
