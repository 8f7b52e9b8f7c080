#include "panels/panel_lock.h"
#include "shell/globals.h"

#include <QLabel>
#include <QPalette>
#include <QWidget>

namespace dovrane {

namespace {
NrdLockPanel* g_panel = nullptr;
int g_runs = 0;
// The runs took the hold themselves; a receiver that was already held when
// the first run came is left held when the last one ends.
bool g_runsTookHold = false;

void forgetRuns() {
    g_runs = 0;
    g_runsTookHold = false;
}
} // namespace

void setLockPanel(NrdLockPanel* panel) {
    g_panel = panel;
    forgetRuns();
}

void clearLockPanel(NrdLockPanel* panel) {
    if (g_panel != panel) return;
    g_panel = nullptr;
    forgetRuns();
}

NrdLockPanel* lockPanel() { return g_panel; }

int runHolds() { return g_runs; }

bool userLockChanged(int v) {
    if (v != 0 || g_runs == 0) return true;
    // The runs hold the receiver from now on, as if they had taken it.
    g_runsTookHold = RemoteHeld == 1;
    return false;
}

void lockoffon(int v) {
    if (!g_panel) return;
    if (v == 1) {
        if (g_runs++ == 0) g_runsTookHold = false;
        // The first run takes the receiver, and any run retakes a hold that
        // was lost in between; a receiver already held is only counted on.
        if (RemoteHeld != 1) {
            g_panel->lockoffon(1);
            g_runsTookHold = RemoteHeld == 1;
        }
    } else if (v == 0) {
        if (g_runs > 0) {
            if (--g_runs > 0 || !g_runsTookHold) return;
        }
        g_runsTookHold = false;
        // The user's lock stands after the last run.
        if (PanelLock != 0) return;
        g_panel->lockoffon(0);
    } else {
        g_panel->lockoffon(v);
    }
}

void setBackground(QWidget* w, const QColor& colour) {
    if (!w) return;
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    p.setColor(QPalette::Button, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

QColor background(const QWidget* w) { return w ? w->palette().color(QPalette::Window) : QColor(); }

void showLockState(QLabel* lblLock, int v) {
    if (!lblLock || (v != 0 && v != 1)) return;
    lblLock->setText(v == 1 ? QStringLiteral("On") : QStringLiteral("Off"));
    setBackground(lblLock, v == 1 ? nrdcolours::Orange : nrdcolours::LightYellow);
}

} // namespace dovrane
