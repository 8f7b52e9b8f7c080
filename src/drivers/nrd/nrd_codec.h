#pragma once
// The text language of the NRD receivers, without the port: number fields of
// fixed width, reply shapes, the 13-character status string, channel lines
// and memory records, the receiver clock and the two S-meter scales. Every
// encoder refuses (returns nothing) a value its field cannot carry, so a bad
// value never reaches the receiver as some other command.
#include "drivers/model_tables.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace dovrane::nrd {

// The pauses the receivers need around remote on/off and between commands.
constexpr int PauseMs = 50;
constexpr int ShortPauseMs = 25;

// The lowest and highest frequency a memory channel takes (FreqMin and FreqMax
// of both NRD models, in Hz): the top frequency is stored like any other.
constexpr qint64 LowestChannelHz = 10000;
constexpr qint64 HighestChannelHz = 29999999;

// The highest memory channel of each model; the status read and write go
// through it.
constexpr int Nrd535TopChannel = 199;
constexpr int Nrd545TopChannel = 999;

// One digit 0..9.
std::optional<QByteArray> digitField(int v);
// v as exactly n digits with leading zeros (0 <= v < 10^n).
std::optional<QByteArray> fixedDigits(qint64 v, int n);
// "+" or "-" and abs(v) as exactly n digits.
std::optional<QByteArray> signedDigits(int v, int n);
// A switch value: 0 or 1, as one digit.
std::optional<QByteArray> onOffField(int v);
// kHz as whole hertz (nearest, a half to even) in exactly n digits.
std::optional<QByteArray> hertzDigits(double kHz, int n);
// A memory channel as three digits, 0..top.
std::optional<QByteArray> channelField(int ch, int top);
// Text the receiver takes inside a command: printable ASCII, not empty.
std::optional<QByteArray> commandText(const QString& text);

// Whether a reply has the given shape: '#' a digit, '+' a sign ("+" or "-"),
// '?' any character, anything else itself. Characters after the shape are
// allowed only when they are line ends (CR or LF).
bool matchesShape(const QByteArray& reply, const char* shape);
// The whole number of a run of digits, optionally signed; nothing when the
// run holds anything else.
std::optional<int> digitsValue(const QByteArray& digits);

// The 13-character status string: "X", attenuator, bandwidth, mode, the
// frequency as 8 digits of Hz, AGC.
struct RxStatusFields {
    int attenuator = 0;
    int bandwidth = 0;
    int mode = 0;
    qint64 hertz = 0;
    int agc = 0;
};
std::optional<RxStatusFields> parseRxStatusString(const QString& s);

// Status from the reply to the status query ("L199199" / "L999999"); nothing
// unless it is a complete line of the top channel holding a setting.
std::optional<QString> statusFrom535Line(const QByteArray& reply);
std::optional<QString> statusFrom545Line(const QByteArray& reply);
// The status write command ("S199..." / "S999...") for a status string.
std::optional<QByteArray> statusCommand535(const QString& s);
std::optional<QByteArray> statusCommand545(const QString& s);
// Whether the receiver of model rxType takes every code of status s (the
// status goes out as one command, so each code passes the gate of the model
// tables); false for a malformed status.
bool statusTaken(RxModel model, const QString& s);

// A memory record from a channel line (carriage return already removed);
// nothing unless the line has its full length, names channel ch and holds
// digits where the receiver puts digits.
std::optional<QString> memoryFrom535Line(const QByteArray& line, int ch);
std::optional<QString> memoryFrom545Line(const QByteArray& line, int ch);
// The command that writes a record into channel ch. NRD-535: "K..." to store,
// "U5ccc" to clear when the record holds no storable frequency. NRD-545:
// "K..." only; a record it cannot store gives nothing, because that receiver
// has no command that clears a channel. A malformed record gives nothing.
std::optional<QByteArray> memoryCommand535(int ch, const QString& record);
std::optional<QByteArray> memoryCommand545(int ch, const QString& record);

// "hh:mm:ss" as "hhmmss" (withSeconds) or "hhmm"; nothing for an invalid time.
std::optional<QByteArray> clockDigits(const QString& t, bool withSeconds);
// "hh:mm:ss" from the clock reply "R" + hhmmss; nothing for anything else.
std::optional<QString> clockFromReply(const QByteArray& reply);

// S units from the raw reading of the "M" reply.
float smeter535(float raw);
float smeter545(float raw);

// AGC of the NRD-545, kept by the receiver as a time value 000..999: the
// digit of the status string (truncated) and the 1..9 factor (rounded half to
// even, clamped) of the AGC read and the memory record.
int agcStatusDigit545(int timeValue);
int agcFactor545(int timeValue);

} // namespace dovrane::nrd
