// Every window at the smallest size it lets itself be made, whether the
// program sizes it or the window manager gives it less than it asked for:
// each caption of its buttons, check boxes, option buttons, labels and frames
// shows whole, and each control stands whole inside the window.
#include "lists/frm320files.h"
#include "lists/frmbdxc.h"
#include "lists/frmlast20.h"
#include "lists/frmown.h"
#include "lists/frmscratchpad.h"
#include "logbook/frmlog.h"
#include "logbook/frmlogformat.h"
#include "logbook/frmloginput.h"
#include "logbook/frmlogsort.h"
#include "memories/frmmemcell.h"
#include "memories/frmmemman.h"
#include "panels/frmadvanceddsp.h"
#include "panels/frmuserdefs.h"
#include "panels/frmuserdefs545.h"
#include "scanning/frmprop2prt2.h"
#include "scanning/frmpropagation.h"
#include "scanning/frmscanlist.h"
#include "scanning/frmscanpairs.h"
#include "scanning/frmsmeter.h"
#include "scanning/frmspectrum.h"
#include "scanning/frmspectrumlimits.h"
#include "shell/frmabout.h"
#include "shell/frmloadfile.h"
#include "shell/frmsavefile.h"
#include "shell/frmsetup.h"
#include "shell/show_panel.h"
#include "stations/frmaero2rx.h"
#include "stations/frmaeroquery.h"
#include "stations/frmconvertaero.h"
#include "stations/frmconvertilg.h"
#include "stations/frmilg2rx.h"
#include "stations/frmilgfinddbf.h"
#include "stations/frmilgqsort.h"
#include "stations/frmilgquery.h"
#include "stations/frmtracking.h"
#include "support/go_rig.h"
#include "timer/frmrtty.h"
#include "timer/frmrxclock.h"
#include "timer/frmrxtimer.h"

#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QWindow>
#include <functional>

namespace dovrane::test {
namespace {

struct WindowCase {
    const char* name;
    int rxType;   // the receiver the program runs with
    std::function<QWidget*()> open;
};
void PrintTo(const WindowCase& c, std::ostream* os) { *os << c.name; }

template <class T> QWidget* tool() { return forms::load<T>(); }
QWidget* panel() { return currentPanel(); }

const std::vector<WindowCase>& windows() {
    static const std::vector<WindowCase> all{
        {"frmIlg2rx", 0, tool<frmIlg2rx>},
        {"frmAero2rx", 0, tool<frmAero2rx>},
        {"frmIlgquery", 0, tool<frmIlgquery>},
        {"frmAeroquery", 0, tool<frmAeroquery>},
        {"frmIlgqsort", 0, tool<frmIlgqsort>},
        {"frmConvertILG", 0, tool<frmConvertILG>},
        {"frmConvertAero", 0, tool<frmConvertAero>},
        {"frmILGfinddbf", 0, tool<frmILGfinddbf>},
        {"frmTracking", 0, tool<frmTracking>},
        {"frmBdxc", 0, tool<frmBdxc>},
        {"frmOwn", 0, tool<frmOwn>},
        {"frm320Files", 0, tool<frm320Files>},
        {"frmLast20", 0, tool<frmLast20>},
        {"frmScratchpad", 0, tool<frmScratchpad>},
        {"frmLog", 0, tool<frmLog>},
        {"frmLogFormat", 0, tool<frmLogFormat>},
        {"frmLoginput", 0, tool<frmLoginput>},
        {"frmLogsort", 0, tool<frmLogsort>},
        {"frmMemman", 0, tool<frmMemman>},
        {"frmMemcell", 0, [] { forms::load<frmMemman>(); return tool<frmMemcell>(); }},
        {"frmScanlist", 0, tool<frmScanlist>},
        {"frmScanpairs", 0, tool<frmScanpairs>},
        {"frmSpectrum", 0, tool<frmSpectrum>},
        {"frmSpectrumlimits", 0, tool<frmSpectrumlimits>},
        {"frmSmeter", 0, tool<frmSmeter>},
        {"frmPropagation", 0, tool<frmPropagation>},
        {"frmProp2prt2", 0, tool<frmProp2prt2>},
        {"frmAbout", 0, tool<frmAbout>},
        {"frmSetUp", 0, tool<frmSetUp>},
        {"frmLoadfile", 0, tool<frmLoadfile>},
        {"frmSavefile", 0, tool<frmSavefile>},
        {"frmRxTimer", 0, tool<frmRxTimer>},
        {"frmNoRx", 0, panel},
        {"frmAR7030", 1, panel},
        {"frmNRD535", 2, panel},
        {"frmRX320", 3, panel},
        {"frmNRD545", 4, panel},
        {"frmUserdefs", 2, tool<frmUserdefs>},
        {"frmUserdefs545", 4, tool<frmUserdefs545>},
        {"frmAdvancedDSP", 4, tool<frmAdvancedDSP>},
        {"frmRtty", 4, tool<frmRtty>},
        {"frmRxClock", 1, tool<frmRxClock>},
    };
    return all;
}

QString shown(QString text) {
    // "&&" draws one "&"; a single "&" marks the shortcut and draws nothing.
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    return text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

int linesWidth(const QFontMetrics& fm, const QString& text) {
    int w = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) w = std::max(w, fm.horizontalAdvance(line));
    return w;
}

// The room the style gives a button's caption, and the width the caption takes.
std::pair<int, int> buttonCaption(QAbstractButton* b, QStyle::SubElement contents) {
    QStyleOptionButton o;
    o.initFrom(b);
    o.text = b->text();
    o.icon = b->icon();
    o.iconSize = b->iconSize();
    int need = b->fontMetrics().horizontalAdvance(shown(b->text()));
    if (!b->icon().isNull()) need += b->iconSize().width() + 4;
    return {b->style()->subElementRect(contents, &o, b).width(), need};
}

// Whether a control lies inside each widget it stands in, up to the window;
// what a scrolled view holds is its own business.
bool standsInside(QWidget* c, QWidget* window) {
    for (QWidget* p = c->parentWidget(); p; p = p->parentWidget()) {
        if (qobject_cast<QAbstractScrollArea*>(p)) return true;
        const QRect r(c->mapTo(p, QPoint(0, 0)), c->size());
        if (!p->rect().contains(r)) return false;
        if (p == window) return true;
    }
    return true;
}

// Every visible caption of the window whole, every visible control inside it.
void expectEveryCaptionWhole(QWidget* window) {
    for (QWidget* c : window->findChildren<QWidget*>()) {
        if (!c->isVisibleTo(window) || c->isWindow()) continue;
        const std::string name = c->objectName().toStdString();
        int room = 0, need = 0;
        QString caption;
        if (auto* b = qobject_cast<QPushButton*>(c)) {
            std::tie(room, need) = buttonCaption(b, QStyle::SE_PushButtonContents);
            caption = b->text();
        } else if (auto* b = qobject_cast<QCheckBox*>(c)) {
            std::tie(room, need) = buttonCaption(b, QStyle::SE_CheckBoxContents);
            caption = b->text();
        } else if (auto* b = qobject_cast<QRadioButton*>(c)) {
            std::tie(room, need) = buttonCaption(b, QStyle::SE_RadioButtonContents);
            caption = b->text();
        } else if (auto* l = qobject_cast<QLabel*>(c)) {
            if (l->wordWrap() || Qt::mightBeRichText(l->text())) continue;
            caption = l->text();
            const int indent = l->indent() >= 0 ? l->indent() : (l->frameWidth() > 0 ? l->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 : 0);
            room = l->contentsRect().width() - 2 * l->margin() - indent;
            need = linesWidth(l->fontMetrics(), shown(l->text()));
        } else if (auto* g = qobject_cast<QGroupBox*>(c)) {
            caption = g->title();
            room = g->width();
            need = caption.isEmpty() ? 0 : g->minimumSizeHint().width();
        }
        if (!caption.isEmpty()) {
            EXPECT_LE(need, room) << name << " \"" << caption.toStdString() << "\" is cut";
        }
        EXPECT_TRUE(standsInside(c, window)) << name << " \"" << caption.toStdString() << "\" stands outside";
    }
}

class WindowAtItsSmallest : public GoRig, public ::testing::WithParamInterface<WindowCase> {
protected:
    void SetUp() override {
        GoRig::SetUp();
        dialogs.allow(QString());
    }
};

TEST_P(WindowAtItsSmallest, ShowsEveryCaptionWhole) {
    const WindowCase& c = GetParam();
    ASSERT_NE(go(c.rxType), nullptr);
    QWidget* w = c.open();
    ASSERT_NE(w, nullptr);
    w->show();
    pump(30);
    {
        SCOPED_TRACE("made as small as the program can make it");
        w->resize(1, 1);
        pump(30);
        expectEveryCaptionWhole(w);
    }
    {
        // Some window managers, and tools that size windows, hand a window
        // less than the least it asks for.
        SCOPED_TRACE("given less than its least by the window system");
        const QSize least = w->size();
        w->windowHandle()->resize(1, 1);
        pump(30);
        EXPECT_EQ(w->size(), least);
        expectEveryCaptionWhole(w);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, WindowAtItsSmallest, ::testing::ValuesIn(windows()),
                         [](const ::testing::TestParamInfo<WindowCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace dovrane::test
