#pragma once
// What Set R2M asks of the model's open panel after its writes: the panel
// shows the receiver's new setting. The transfers themselves know no panel.
#include <QString>
#include <optional>

namespace dovrane {

// AR7030: the panel's full refresh; NRD-535: its refresh of the basics. Each
// reads the receiver: whether it answered, or nothing when no panel of the
// model is open (the caller then asks a question of its own).
std::optional<bool> refreshPanelAfterSet(int rxType);
// NRD-545: the panel shows the status sent (it reads nothing).
void showNrd545StatusOnPanel(const QString& status);
// RX-320: the panel shows the setting sent (it reads nothing).
void showRx320SettingOnPanel(double kHz, int mode, int bandwidth, int agc);

} // namespace dovrane
