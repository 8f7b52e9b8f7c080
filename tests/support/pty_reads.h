#pragma once
// Which read of its pseudo-terminal a peer's reader thread is handling: the
// bytes of one read reached the far end together, and whatever lay between
// them on the line (a pause, or none) is lost to it.
#include <cstdint>

namespace dovrane::test {

// The number of the read whose bytes the calling reader thread is handing
// on, counted from 1; 0 on any other thread.
std::uint64_t ptyReadOnThisThread();

} // namespace dovrane::test
