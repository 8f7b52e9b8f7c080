#pragma once
// The panel of the current receiver type: what every tool window's "ReZeri"
// button brings to the front.
namespace dovrane {

class Form;

// The loaded panel of RxType (0 the no-receiver panel), or nullptr.
Form* currentPanel();
// Shows the panel of RxType, not modal, in front; nothing when none is loaded.
void showCurrentPanel();

} // namespace dovrane
