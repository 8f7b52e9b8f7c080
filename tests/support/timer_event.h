#pragma once
// One event of 30 minutes from 10:00 UTC on 1 June 2027 programmed into an
// open timer window, the timer switched on, and the programme's tick at
// 10:00:01 that begins the event. setUtc sets the program's clock to a UTC
// time the way the caller's rig keeps the settings' offset.
#include "support/scripted_dialogs.h"
#include "timer/frmrxtimer.h"

#include <QDateTime>
#include <QTimer>
#include <functional>

namespace dovrane::test {

// The event programmed and the timer switched on, waiting for it; the test
// runs the programme's tick itself.
inline bool programmeTimerEvent(frmRxTimer* w, ScriptedDialogs& dialogs) {
    if (!w) return false;
    w->editor().setStart(QDateTime(QDate(2027, 6, 1), QTime(10, 0), Qt::UTC));
    w->editor().tpduration = 30;
    w->cmdFixClr_Click(1, 0);
    dialogs.expect(QStringLiteral("switched on"));
    w->timeronoff(1);
    w->tmrTestprog()->stop();
    return w->programme().state() == TimerProgramme::State::Waiting;
}

inline bool beginTimerEvent(frmRxTimer* w, ScriptedDialogs& dialogs,
                            const std::function<void(const QDateTime&)>& setUtc) {
    if (!programmeTimerEvent(w, dialogs)) return false;
    setUtc(QDateTime(QDate(2027, 6, 1), QTime(10, 0, 1), Qt::UTC));
    w->tmrTestprog_Timer();
    return w->programme().state() == TimerProgramme::State::Running;
}

} // namespace dovrane::test
