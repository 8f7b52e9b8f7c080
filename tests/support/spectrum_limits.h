#pragma once
// The limits a spectrum run's Start asks for in its modal window, filled in
// as the user would: 9500 to 9600 kHz in 5 kHz steps, half a second apart,
// going on past the end.
#include "scanning/frmspectrumlimits.h"
#include "support/when_shown.h"

#include <QCheckBox>
#include <QLatin1String>
#include <QLineEdit>

namespace dovrane::test {

inline void fillSpectrumLimits(frmSpectrumlimits* dlg) {
    const char* texts[] = {"9500", "9600", "5", "0.5"};
    for (int i = 0; i < 4; ++i) dlg->txtInput[size_t(i)]->setText(QLatin1String(texts[i]));
    dlg->findChild<QCheckBox*>(QStringLiteral("chkKeepgoing"))->setChecked(true);
    dlg->cmdOK_Click();
}

// Fills the limits once Start has shown them.
[[nodiscard]] inline WhenReady whenSpectrumLimitsShown() {
    return whenShown<frmSpectrumlimits>(fillSpectrumLimits);
}

} // namespace dovrane::test
