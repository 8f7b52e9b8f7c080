#include "panels/tool_windows.h"
#include "panels/panelform.h"

#include <QApplication>
#include <QMap>
#include <vector>

namespace dovrane {

namespace {

struct Registry {
    QMap<QString, std::function<void()>> openers;
    std::vector<std::function<void()>> loadSteps;
    std::vector<std::function<void(const QString&)>> listeners;
};

Registry& registry() {
    static Registry r;
    return r;
}

} // namespace

void registerToolWindow(const QString& windowName, std::function<void()> opener) {
    if (!opener) return;
    registry().openers.insert(windowName, std::move(opener));
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* panel = qobject_cast<PanelForm*>(w)) panel->enableToolItems(windowName);
}

std::function<void()> toolWindowOpener(const QString& windowName) { return registry().openers.value(windowName); }

bool toolWindowRegistered(const QString& windowName) { return registry().openers.contains(windowName); }

void registerPanelLoadStep(std::function<void()> step) {
    if (step) registry().loadSteps.push_back(std::move(step));
}

void registerFrequencyListener(std::function<void(const QString&)> listener) {
    if (listener) registry().listeners.push_back(std::move(listener));
}

void runPanelLoadSteps() {
    const auto steps = registry().loadSteps;   // a step may register more
    for (const auto& s : steps) s();
}

void notifyFrequencyShown(const QString& text) {
    const auto listeners = registry().listeners;
    for (const auto& l : listeners) l(text);
}

void clearToolWindows() { registry() = Registry{}; }

} // namespace dovrane
