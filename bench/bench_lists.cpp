// How long a BDXC file of 30,000 lines takes to load and show in its window
// (every record selected), beside the limit of 100 ms.
#include "lists/frmbdxc.h"
#include "lists/list_table_model.h"
#include "platform/dialogs.h"
#include "shell/form.h"
#include "shell/globals.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

#include "bench_grid_window.h"

using namespace dovrane;

int main(int argc, char** argv) {
    bench::prepareEnvironment();
    QApplication app(argc, argv);
    bench::TempDataFolder folder;
    Settings[4] = 30;
    FileKindName[1] = QStringLiteral("BDX_BENCHTOE.TXT");

    constexpr int kLines = 30000;
    QByteArray text;
    for (int i = 0; i < kLines; ++i) {
        QByteArray l = (i % 5 ? QByteArray(".") : QByteArray("Country ") + QByteArray::number(i)).leftJustified(17, ' ');
        l += (QByteArray("Station ") + QByteArray::number(i)).leftJustified(18, ' ', true);
        l += QByteArray::number(1000 + i % 1200).rightJustified(4, '0') + "-" +
             QByteArray::number(1100 + i % 1200).rightJustified(4, '0') + "    ";
        l += QByteArray::number(5900 + i % 20000) + "," + QByteArray::number(9400 + i % 300) + ",15400\r\n";
        text += l;
    }
    QDir().mkpath(FileKindPath[1]);
    QFile f(FileKindPath[1] + FileKindName[1]);
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size()) return 1;
    f.close();

    // The selection question is answered "all".
    dialogs::setHandler([](const dialogs::Box& box) {
        if (!box.isInput) std::fprintf(stderr, "notice: %s\n", qPrintable(box.text));
        return dialogs::Reply{dialogs::Answer::Ok, QStringLiteral("all")};
    });
    frmBdxc* w = forms::load<frmBdxc>();
    w->show();
    QCoreApplication::processEvents();

    const double ms = bench::medianLoadAndShow(w, loadbdxcfile);
    const int shown = w->model()->rowCount() - 1;
    const QByteArray what = QByteArray("BDXC load and show, ") + QByteArray::number(kLines) + " lines, " +
                            QByteArray::number(shown) + " rows shown: median";
    const bool within = bench::reportFigure(what.constData(), ms, 100);
    forms::destroyAll();
    return bench::exitStatus(within, shown == kLines);
}
