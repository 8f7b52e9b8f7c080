// How long a log of 30,000 records takes to load and show in the log window,
// and to sort on each key, beside the limits (100 ms and 200 ms).
#include "logbook/frmlog.h"
#include "logbook/log_record.h"
#include "lists/list_table_model.h"
#include "platform/dialogs.h"
#include "shell/form.h"
#include "shell/globals.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTableView>
#include <cstdio>

#include "bench_grid_window.h"

using namespace dovrane;

int main(int argc, char** argv) {
    bench::prepareEnvironment();
    QApplication app(argc, argv);
    bench::printNotices();
    bench::TempDataFolder folder;
    Settings[6] = 30;
    FileKindName[4] = QStringLiteral("LOG_BENCH.TXT");

    constexpr int kRecords = 30000;
    std::vector<LogRecord> records(kRecords);
    for (int i = 0; i < kRecords; ++i) {
        LogRecord& r = records[size_t(i)];
        const int k = (i * 7919) % kRecords;
        r[0] = QStringLiteral("2004%1%2").arg(1 + k % 12, 2, 10, QLatin1Char('0')).arg(1 + k % 28, 2, 10, QLatin1Char('0'));
        r[1] = QStringLiteral("%1").arg(k % 2400, 4, 10, QLatin1Char('0'));
        r[3] = QStringLiteral("%1.500").arg(150 + k % 29000, 5, 10, QLatin1Char('0'));
        r[5] = QStringLiteral("E%1").arg(k % 90, 2, 10, QLatin1Char('0'));
        r[6] = QStringLiteral("Station %1").arg(k);
        r[12] = QStringLiteral("remark %1").arg(i);
        r[13] = QStringLiteral("a");
    }
    if (!writeLogFile(FileKindPath[4] + FileKindName[4], records)) return 1;
    registerLogFileKind();

    frmLog* w = forms::load<frmLog>();
    w->show();
    QCoreApplication::processEvents();

    const double ms = bench::medianLoadAndShow(w, loadlogfile);
    // Row 0 is the blank row under the titles.
    const int shown = w->model()->rowCount() - 1;
    const QByteArray what = QByteArray("log load and show, ") + QByteArray::number(kRecords) + " records, " +
                            QByteArray::number(shown) + " rows shown: median";
    bool within = bench::reportFigure(what.constData(), ms, 100);

    for (int key = 0; key < 5; ++key) {
        std::vector<double> sorts;
        for (int run = 0; run < 3; ++run) {
            loadlogfile();
            QElapsedTimer t;
            t.start();
            LogSortKey = key;
            sortlog();
            w->fillgrdlog();
            w->grid()->viewport()->repaint();
            sorts.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        const QByteArray what = QByteArray("log sort on key ") + QByteArray::number(key) + ": median";
        within = bench::reportFigure(what.constData(), bench::median(sorts), 200) && within;
    }
    forms::destroyAll();
    return bench::exitStatus(within, shown == kRecords);
}
