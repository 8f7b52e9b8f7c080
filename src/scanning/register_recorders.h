#pragma once
namespace dovrane {
// The propagation recorder, its print form and the S-meter recorder, with
// the loaders and the writer of their files (kinds 7 and 14).
void registerRecorderWindows();
}
