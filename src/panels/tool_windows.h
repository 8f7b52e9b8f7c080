#pragma once
// The tool windows that the panels' menus open, known to the panels by window
// name only ("frmLog"), so that the panels never include the tools. Each tool
// folder registers its windows' openers at start-up (register<Folder>Windows,
// all called from registerToolWindows() in src/register_windows.cpp). A menu
// item is enabled exactly when its window is registered.
#include "shell/form.h"

#include <QString>
#include <functional>

namespace dovrane {

// Registers (or replaces) the opener of a window and enables its menu items
// on the panels already open.
void registerToolWindow(const QString& windowName, std::function<void()> opener);
// The opener of a window; empty when it is not registered.
std::function<void()> toolWindowOpener(const QString& windowName);
bool toolWindowRegistered(const QString& windowName);

// What the tools ask of every panel without the panels knowing them: steps
// run when a panel loads (the last-20 window loaded in the background), and
// listeners that get every frequency text a panel shows.
void registerPanelLoadStep(std::function<void()> step);
void registerFrequencyListener(std::function<void(const QString& text)> listener);
void runPanelLoadSteps();
void notifyFrequencyShown(const QString& text);

// Forgets every opener, step and listener (tests).
void clearToolWindows();

// Openers for the usual cases: the window loaded and shown in front
// (modeless), or shown modal (the panel waits until it closes).
template <class T> std::function<void()> showingWindow() {
    return [] {
        T* w = forms::load<T>();
        if (!w || !w->isLoaded()) return;
        w->show();
        w->raise();
        w->activateWindow();
    };
}
template <class T> std::function<void()> showingModalWindow() {
    return [] {
        T* w = forms::load<T>();
        if (w && w->isLoaded()) w->showModal();
    };
}

} // namespace dovrane
