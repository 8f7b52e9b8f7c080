#include "scanning/measure_interlock.h"
#include "panels/panel_lock.h"
#include "panels/panelform.h"
#include "panels/tool_windows.h"
#include "shell/globals.h"
#include "shell/show_panel.h"
#include "shell/unloadallforms.h"

#include <QAction>
#include <QMap>
#include <array>

namespace dovrane {

namespace {

// The tool window each leaf item opens; the menus (mnuScan, mnuPropagation)
// open none.
QString windowOfItem(const QString& item) {
    static const QMap<QString, QString> windows{
        {QStringLiteral("mnuSmeter"), QStringLiteral("frmSmeter")},
        {QStringLiteral("mnuScanSpectrum"), QStringLiteral("frmSpectrum")},
        {QStringLiteral("mnuScanFreqList"), QStringLiteral("frmScanlist")},
        {QStringLiteral("mnuScanFreqpairs"), QStringLiteral("frmScanpairs")},
    };
    return windows.value(item);
}

PanelForm* receiverPanel() {
    if (RxType < 1 || RxType > 4) return nullptr;
    return qobject_cast<PanelForm*>(currentPanel());
}

} // namespace

QStringList interlockedMenuItems(MeasurementTool tool) {
    switch (tool) {
    case MeasurementTool::Spectrum:
        return {QStringLiteral("mnuPropagation"), QStringLiteral("mnuSmeter"), QStringLiteral("mnuScanFreqList"),
                QStringLiteral("mnuScanFreqpairs")};
    case MeasurementTool::Scanlist:
        return {QStringLiteral("mnuPropagation"), QStringLiteral("mnuSmeter"), QStringLiteral("mnuScanSpectrum"),
                QStringLiteral("mnuScanFreqpairs")};
    case MeasurementTool::Scanpairs:
        return {QStringLiteral("mnuPropagation"), QStringLiteral("mnuSmeter"), QStringLiteral("mnuScanSpectrum"),
                QStringLiteral("mnuScanFreqList")};
    case MeasurementTool::Smeter: return {QStringLiteral("mnuScan"), QStringLiteral("mnuPropagation")};
    case MeasurementTool::Propagation: return {QStringLiteral("mnuScan"), QStringLiteral("mnuSmeter")};
    }
    return {};
}

void setMeasurementMenus(MeasurementTool tool, bool enabled) {
    PanelForm* panel = receiverPanel();
    if (!panel) return;
    for (const QString& item : interlockedMenuItems(tool)) {
        QAction* a = panel->menuItem(item);
        if (!a) continue;
        // How many open tools hold the item disabled; kept on the item, so it
        // goes with its panel.
        const char* kHolds = "dovraneInterlockHolds";
        int n = a->property(kHolds).toInt();
        n = enabled ? std::max(0, n - 1) : n + 1;
        a->setProperty(kHolds, n);
        const QString window = windowOfItem(item);
        a->setEnabled(n == 0 && (window.isEmpty() || toolWindowRegistered(window)));
    }
}

void lockforms(bool lock) {
    static const std::array<const bool*, 9> flags{&NoRxOpen, &AR7030Open, &NRD535Open, &RX320Open, &NRD545Open,
                                                  &BdxcOpen, &OwnOpen,    &Ilg2rxOpen, &LogOpen};
    for (const bool* flag : flags) {
        if (!*flag) continue;
        if (Form* w = windowFor(flag)) w->setEnabled(!lock);
    }
}

void setAttenuatorFrame(bool enabled) {
    if (PanelForm* panel = receiverPanel())
        if (QWidget* frame = panel->findChild<QWidget*>(QStringLiteral("fraAttenuator"))) frame->setEnabled(enabled);
}

MeasurementInterlock::MeasurementInterlock(MeasurementTool tool) : tool_(tool) { setMeasurementMenus(tool, false); }

MeasurementInterlock::~MeasurementInterlock() { release(); }

void MeasurementInterlock::release() {
    if (!held_) return;
    held_ = false;
    setMeasurementMenus(tool_, true);
}

void MeasurementRun::begin() {
    if (active_) return;
    active_ = true;
    // Also under the user's lock: a Lock Off during the run leaves the
    // receiver held for it.
    if (RxType == 2 || RxType == 4) {
        lockoffon(1);
        held_ = true;
    }
    if (options_.lockForms) {
        lockforms(true);
        locked_ = true;
    }
    if (options_.attenuatorFrame) {
        setAttenuatorFrame(false);
        frameOff_ = true;
    }
}

void MeasurementRun::end() {
    if (!active_) return;
    active_ = false;
    if (frameOff_) setAttenuatorFrame(true);
    if (locked_) lockforms(false);
    if (held_) lockoffon(0);
    frameOff_ = locked_ = held_ = false;
}

} // namespace dovrane
