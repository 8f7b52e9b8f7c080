#pragma once
// Groups of option buttons named base_0, base_1, ... as the windows' .ui files
// lay them out, and the choice a user makes in one.
#include <QString>
#include <functional>

class QButtonGroup;
class QObject;
class QWidget;

namespace dovrane {

// Gathers the option buttons base_0, base_1, ... of a window into an
// exclusive group, each with its index as id.
QButtonGroup* optionGroup(QWidget* window, const QString& base);

// Runs chosen(id) for each option of the group that the user clicks, the one
// already selected included: a receiver that cannot be asked what it holds
// gets it again. A selection made by code runs chosen(id) only when it
// changes the selection.
void onOptionChosen(QButtonGroup* group, QObject* context, std::function<void(int)> chosen);

} // namespace dovrane
