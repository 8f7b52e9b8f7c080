#pragma once
// The message texts of the clock, timer and RTTY windows.
#include <QString>

namespace dovrane::timertexts {

inline const QString ConflictInTime = QStringLiteral("Conflict in Time");
inline const QString TooLateProgram =
    QStringLiteral("You are trying to program\na past or running event.\nSorry, you are too late ! !");
inline const QString TooLateStart = QStringLiteral(
    "You are trying to start the timer for\na programmed event that already\nhas started or that already has past. "
    "\nSorry, you are too late ! !");
inline const QString ConflictOfEvents = QStringLiteral("Conflict of events");
inline const QString StartsBeforeEnd = QStringLiteral("New event starts before\nthe previous one ends");
inline const QString TimerProgramming = QStringLiteral("Timer Programming");
inline const QString ClearAllQuestion = QStringLiteral("You really want to clear/cancel\nall Timer Programming");
inline const QString StartTitle = QStringLiteral("Start Programmed Timer");
inline const QString SwitchedOn = QStringLiteral("Please make sure that your\nreceiver is switched on ");
inline const QString ProgrammedTimer = QStringLiteral("Programmed Timer");
inline const QString InterruptQuestion = QStringLiteral("You are sure you want to\ninterrupt the running Timer");
inline const QString EventLost =
    QStringLiteral("The programmed event has ended.\nThe timer has been stopped.");
inline const QString RunFailed =
    QStringLiteral("The receiver could not be set for the programmed event.\nThe timer has been stopped.");

inline const QString TimerOnCaption = QStringLiteral("  Timer is ON          ");

} // namespace dovrane::timertexts

namespace dovrane::timertexts {

inline const QString RttyTitle = QStringLiteral("RTTY Decoder");
inline const QString RttyWriteFailed =
    QStringLiteral("The RTTY text could not be written to the file\n%1\nSaving has stopped.");

} // namespace dovrane::timertexts
