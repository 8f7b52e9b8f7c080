#include "shell/dial_reports.h"
#include "shell/globals.h"

namespace dovrane::dialreports {

namespace {
bool g_wanted = false;
int g_pauses = 0;

void apply() { CommRxEnabled = g_wanted && g_pauses == 0; }
} // namespace

void setWanted(bool on) {
    g_wanted = on;
    apply();
}

bool wanted() { return g_wanted; }

bool paused() { return g_pauses > 0; }

Pause::Pause() {
    ++g_pauses;
    apply();
}

Pause::~Pause() {
    if (g_pauses > 0) --g_pauses;
    apply();
}

} // namespace dovrane::dialreports
