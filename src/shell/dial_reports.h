#pragma once
// The NRD receivers' own frequency reports reach the tracking window through
// the serial receive handler while CommRxEnabled is set. A reader that must
// have the receiver's input to itself for a while (a load from the chooser,
// an RTTY run) pauses them; once the last pause is over they flow again if
// the tracking window still follows the dial.
//
// CommRxEnabled is kept here as wanted and not paused; nothing else sets it.
namespace dovrane::dialreports {

// The tracking window's Dial mode on an NRD: on while it follows the reports.
void setWanted(bool on);
bool wanted();
bool paused();

// Pauses the reports for its lifetime.
class Pause {
public:
    Pause();
    ~Pause();
    Pause(const Pause&) = delete;
    Pause& operator=(const Pause&) = delete;
};

} // namespace dovrane::dialreports
