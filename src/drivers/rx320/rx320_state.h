#pragma once
// The RX-320 cannot be asked for its settings, so the last values sent to it
// are the only record of them. One copy for the whole program: every driver
// object tunes from it, the panel saves and restores it.
#include <cstdint>

namespace dovrane {

inline double Rx320Freq = 0;        // kHz
inline int16_t Rx320Bw = 0;         // filter number 0..33
inline int16_t Rx320Pbs = 0;        // passband shift, Hz
inline int16_t Rx320Agc = 0;        // 1 slow, 2 medium, 3 fast
inline int16_t Rx320Bfo = 0;        // CW offset, Hz
inline int16_t Rx320Mode = 0;       // 0 AM, 1 USB, 2 LSB, 3 CW
inline int16_t Rx320Volume = 0;     // 0..99
inline int16_t Rx320Linelevel = 0;  // 0..99

inline void resetRx320State() {
    Rx320Freq = 0;
    Rx320Bw = 0;
    Rx320Pbs = 0;
    Rx320Agc = 0;
    Rx320Bfo = 0;
    Rx320Mode = 0;
    Rx320Volume = 0;
    Rx320Linelevel = 0;
}

} // namespace dovrane
