#include "timer/timer_programme.h"
#include "timer/timer_editor.h"

#include <algorithm>

namespace dovrane {

using namespace slotfield;

double slotFrequencyKHz(const SlotFields& slot) {
    double hz = 0;
    for (int k = 7; k >= 0; --k) hz = hz * 10 + slot[size_t(Freq0 + k)];
    return hz / 1000.0;
}

bool TimerProgramme::fix(int n, const SlotFields& fields) {
    if (n < 1 || n > 6 || !fixEnabled(n)) return false;
    prog[size_t(n)] = fields;
    prog[size_t(n)][0] = 0;
    progfixed[size_t(n)] = true;
    return true;
}

bool TimerProgramme::clear(int n) {
    if (n < 1 || n > 6 || !clrEnabled(n)) return false;
    prog[size_t(n)] = SlotFields{};
    progfixed[size_t(n)] = false;
    return true;
}

void TimerProgramme::clearAll() {
    for (auto& slot : prog) slot = SlotFields{};
    progfixed.fill(false);
}

int TimerProgramme::top() const {
    for (int n = 6; n >= 1; --n)
        if (progfixed[size_t(n)]) return n;
    return 0;
}

bool TimerProgramme::fixEnabled(int n) const {
    const int k = top();
    return n == k + 1 || (k > 0 && n == k);
}

bool TimerProgramme::clrEnabled(int n) const { return n >= 1 && n == top(); }

QDateTime TimerProgramme::slotStart(int n) const {
    const SlotFields& p = prog[size_t(n)];
    return QDateTime(QDate(p[Year], p[Month], p[Day]), QTime(p[Hour], p[Minute]), Qt::UTC);
}

QDateTime TimerProgramme::slotEnd(int n) const {
    return slotStart(n).addSecs(qint64(prog[size_t(n)][Duration]) * 60);
}

QString TimerProgramme::slotKey(int n) const {
    const SlotFields& p = prog[size_t(n)];
    return timeKey(p[Year], p[Month], p[Day], p[Hour], p[Minute]);
}

bool TimerProgramme::tooLate(const QDateTime& start, const QDateTime& nowUtc) {
    return timeKey(start) <= timeKey(nowUtc);
}

bool TimerProgramme::tooEarly(int n, const QDateTime& start) const {
    if (n < 2 || n > 6) return false;
    return timeKey(start) <= timeKey(slotEnd(n - 1));
}

bool TimerProgramme::startRun() {
    if (!progfixed[1]) return false;
    state_ = State::Waiting;
    tpslot_ = 1;
    return true;
}

bool TimerProgramme::dueNow(const QDateTime& nowUtc) const {
    return state_ == State::Waiting && timeKey(nowUtc) >= slotKey(tpslot_);
}

void TimerProgramme::eventStarted(qint64 startedMs) {
    state_ = State::Running;
    eventEndMs_ = startedMs + qint64(prog[size_t(tpslot_)][Duration]) * 60 * 1000;
}

qint64 TimerProgramme::msLeft(qint64 nowMs) const {
    return state_ == State::Running ? std::max<qint64>(eventEndMs_ - nowMs, 0) : 0;
}

bool TimerProgramme::eventEnded() {
    eventEndMs_ = 0;
    if (tpslot_ < 6 && progfixed[size_t(tpslot_ + 1)]) {
        ++tpslot_;
        state_ = State::Waiting;
        return true;
    }
    state_ = State::Editing;
    return false;
}

void TimerProgramme::stopRun() {
    state_ = State::Editing;
    eventEndMs_ = 0;
}

} // namespace dovrane
