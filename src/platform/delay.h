#pragma once
// The shared wait, and the count of waits in progress that keeps windows alive
// while code may still resume inside them.

namespace dovrane {

// Waits ms milliseconds while events keep running. Each call keeps its own
// deadline, so a nested wait never ends an outer one early; ms <= 0 runs the
// pending events once and returns.
void delayms(int ms);

// Held while a wait that runs events is in progress (delayms, modal boxes).
class WaitScope {
public:
    WaitScope();
    ~WaitScope();
    WaitScope(const WaitScope&) = delete;
    WaitScope& operator=(const WaitScope&) = delete;
    static int depth();
    // Called (queued) when the last wait has ended; the window registry uses it
    // to destroy windows whose destruction had to wait.
    static void setOnAllEnded(void (*hook)());
};

} // namespace dovrane
