#pragma once
// What the grid-window benchmarks (BDXC list, log) share: the program's data
// folder in a temporary folder of its own, and the time to load a file and
// show its last rows.
#include "lists/grid_list_window.h"
#include "shell/common_tables.h"
#include "shell/globals.h"

#include <QElapsedTimer>
#include <QLatin1Char>
#include <QTableView>
#include <QTemporaryDir>
#include <functional>
#include <vector>

#include "bench_support.h"

namespace dovrane::bench {

struct TempDataFolder {
    QTemporaryDir dir;
    TempDataFolder() {
        DataFolder = dir.path() + QLatin1Char('/');
        initcommontables();
        setFileKindPaths();
    }
};

// The median of runs loads, each shown down to the last row, in milliseconds.
inline double medianLoadAndShow(GridListWindow* w, const std::function<void()>& load, int runs = 5) {
    std::vector<double> loads;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer t;
        t.start();
        load();
        w->grid()->scrollToBottom();
        w->grid()->viewport()->repaint();
        loads.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    return median(loads);
}

} // namespace dovrane::bench
