#include "support/go_rig.h"
#include "panels/panel_registry.h"
#include "platform/commport.h"
#include "platform/number_text.h"
#include "shell/common_tables.h"
#include "shell/facade.h"
#include "shell/form.h"
#include "shell/frmwelcome.h"
#include "shell/globals.h"
#include "shell/settings_file.h"
#include "shell/show_panel.h"

namespace dovrane::test {

const char* GoRig::modelName(int rxType) {
    switch (rxType) {
    case 1: return "ar7030";
    case 2: return "nrd535";
    case 3: return "rx320";
    case 4: return "nrd545";
    default: return "";
    }
}

void GoRig::SetUp() {
    AppTest::SetUp();
    registerPanelWindows();
}

void GoRig::TearDown() {
    forms::destroyAll();
    resetFacade();
    if (sim_) sim_->stop();
    sim_.reset();
    for (auto& open : welcome::panelOpeners) open = nullptr;
    welcome::endProgram = nullptr;
    AppTest::TearDown();
}

sim::SimReceiver* GoRig::startSimulator(int rxType) {
    if (sim_) sim_->stop();
    sim_.reset();
    if (rxType < 1 || rxType > 4) return nullptr;
    sim_ = sim::makeSim(QLatin1String(modelName(rxType)));
    if (!sim_ || !sim_->start()) {
        ADD_FAILURE() << "the simulated " << modelName(rxType) << " did not start";
        sim_.reset();
        return nullptr;
    }
    writeDataFile(QStringLiteral("serialports.ini"), sim_->devicePath().toUtf8() + "\r\n");
    return sim_.get();
}

PanelForm* GoRig::go(int rxType, const std::map<int, float>& settings) {
    if (rxType >= 1 && rxType <= 4 && !sim_ && !startSimulator(rxType)) return nullptr;
    QByteArray text = DataFolder.toUtf8() + "\r\n5130N\r\n00007W\r\n" + numText(double(rxType)).toUtf8() + "\r\n";
    for (int i = 1; i <= 31; ++i) {
        const auto it = settings.find(i);
        const float v = it != settings.end() ? it->second : (i == 1 ? 1.0f : defaultSetting(i));
        text += numText(double(v)).toUtf8() + "\r\n";
    }
    writeDataFile(SettingsFileName, text);
    frmWelcome* w = frmWelcome::start();
    if (!w) return nullptr;
    w->imgGo_Click();
    settle();
    return qobject_cast<PanelForm*>(currentPanel());
}

bool GoRig::settle() const { return !sim_ || sim_->waitIdle(); }

} // namespace dovrane::test
