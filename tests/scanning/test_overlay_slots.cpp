// The spectrum and propagation windows draw up to four loaded files in four
// colours. The count of loads that picks the slot lasts the program run: a
// window closed and opened again goes on where the last one left off, and the
// fifth load of the run takes slot 1 again.
#include "panels/tool_windows.h"
#include "scanning/frmpropagation.h"
#include "scanning/frmspectrum.h"
#include "scanning/spectrum_file.h"
#include "shell/file_kinds.h"
#include "shell/globals.h"
#include "support/go_rig.h"

#include <QLabel>
#include <array>
#include <functional>

namespace dovrane::test {
namespace {

struct OverlayWindow {
    const char* name;
    const char* form;     // the window, as the panel's menu opens it
    int kind;             // its file kind
    const char* folder;
    const char* prefix;
    const char* labels;   // the object names of its four file labels, without the index
    std::function<QByteArray(int n)> content;   // file n of the run
    std::function<Form*()> window;
    std::function<void(Form*)> load;
    const std::array<QColor, 4>* colours;
};

QByteArray spectrumContent(int n) {
    SpectrumFile f;
    f.title = QStringLiteral("7 Mar 2004  1%1:00 UTC").arg(n);
    f.limits = {9500, 9600, 5};
    f.last = 20;
    for (int i = 0; i <= f.last; ++i) f.values[size_t(i)] = float(n);
    return spectrumFileLines(f).join(QStringLiteral("\r\n")).toLatin1() + "\r\n";
}

QByteArray propagationContent(int n) {
    return QStringLiteral("7 Mar 2004  1%1:00 UTC\r\n9580.000\r\nStation\r\n").arg(n).toLatin1();
}

const std::array<OverlayWindow, 2> kWindows{{
    {"Spectrum", "frmSpectrum", 6, "SAN/", "SAN_", "lblDBname_", spectrumContent,
     [] { return static_cast<Form*>(forms::loaded<frmSpectrum>()); },
     [](Form* w) { static_cast<frmSpectrum*>(w)->loadspectrumfile(); }, &frmSpectrum::FileColours},
    {"Propagation", "frmPropagation", PropKind, "PAN/", "PAN_", "lblPropfiles_", propagationContent,
     [] { return static_cast<Form*>(forms::loaded<frmPropagation>()); },
     [](Form* w) { static_cast<frmPropagation*>(w)->loadpropfile(); }, &frmPropagation::FileColours},
}};

class OverlaySlots : public GoRig {};

TEST_F(OverlaySlots, TheLoadCountLastsTheProgramRunAndTheFifthLoadTakesSlotOne) {
    ASSERT_TRUE(go(1, {{3, 0}}));
    const char* names[] = {"ONE", "TWO", "THREE", "FOUR", "FIVE"};
    for (const OverlayWindow& ow : kWindows) {
        SCOPED_TRACE(ow.name);
        for (int n = 1; n <= 5; ++n) {
            const QByteArray content = ow.content(n);
            ASSERT_FALSE(content.isEmpty());
            writeDataFile(QLatin1String(ow.folder) + QLatin1String(ow.prefix) + QLatin1String(names[n - 1]) +
                              QStringLiteral(".TXT"),
                          content);
        }
        auto loadFile = [&](Form* w, int n) {
            FileKindPath[ow.kind] = dataPath(QLatin1String(ow.folder));
            FileKindName[ow.kind] = QLatin1String(ow.prefix) + QLatin1String(names[n - 1]) + QStringLiteral(".TXT");
            ow.load(w);
        };
        // Two loads, the window closed, three more in a window opened afresh.
        toolWindowOpener(QLatin1String(ow.form))();
        Form* w = ow.window();
        ASSERT_TRUE(w);
        loadFile(w, 1);
        loadFile(w, 2);
        w->unload();
        forms::collect();
        ASSERT_FALSE(ow.window());
        toolWindowOpener(QLatin1String(ow.form))();
        w = ow.window();
        ASSERT_TRUE(w);
        for (int n = 3; n <= 5; ++n) loadFile(w, n);

        // Slot by slot: the file it shows (none for 2, loaded in the closed window).
        const char* shown[] = {"FIVE", nullptr, "THREE", "FOUR"};
        for (int slot = 0; slot < 4; ++slot) {
            SCOPED_TRACE(slot + 1);
            const QLabel* label = w->findChild<QLabel*>(QLatin1String(ow.labels) + QString::number(slot));
            ASSERT_TRUE(label);
            if (!shown[slot]) {
                EXPECT_TRUE(label->text().isEmpty()) << label->text().toStdString();
                continue;
            }
            EXPECT_TRUE(label->text().startsWith(QLatin1String(shown[slot]))) << label->text().toStdString();
            EXPECT_EQ(label->palette().color(QPalette::WindowText), (*ow.colours)[size_t(slot)]);
        }
        w->unload();
        forms::collect();
    }
}

} // namespace
} // namespace dovrane::test
