// Every window at the smallest size it lets itself be made, whether the
// program sizes it or the window manager gives it less than it asked for:
// each caption of its buttons, check boxes, option buttons, labels and frames
// shows whole, and each control stands whole inside the window.
#include "logbook/frmlogformat.h"
#include "logbook/frmloginput.h"
#include "logbook/frmlogsort.h"
#include "memories/frmmemcell.h"
#include "panels/frmuserdefs.h"
#include "panels/frmuserdefs545.h"
#include "panels/tool_windows.h"
#include "register_windows.h"
#include "scanning/frmspectrumlimits.h"
#include "shell/frmloadfile.h"
#include "shell/frmsavefile.h"
#include "stations/frmilgfinddbf.h"
#include "stations/frmilgqsort.h"
#include "support/go_rig.h"
#include "support/waits.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QWindow>
#include <functional>

namespace dovrane::test {
namespace {

// A window by its name, on the receiver the program runs with, opened by
// what opens it for the user: the panel's menu item of that name unless
// said otherwise (a panel is open once Go is pressed).
struct WindowCase {
    const char* name;
    int rxType = 0;
    std::function<void()> open = {};
};
void PrintTo(const WindowCase& c, std::ostream* os) { *os << c.name; }

template <class T> std::function<void()> load() {
    return [] { forms::load<T>(); };
}
const std::vector<WindowCase>& windows() {
    const auto menu = [](const char* name) { return [name] { toolWindowOpener(QLatin1String(name))(); }; };
    static const std::vector<WindowCase> all{
        {"frmIlg2rx"}, {"frmAero2rx"}, {"frmIlgquery", 0, menu("frmIlg2rx")}, {"frmAeroquery", 0, menu("frmAero2rx")},
        {"frmIlgqsort", 0, load<frmIlgqsort>()}, {"frmConvertILG"}, {"frmConvertAero"},
        {"frmILGfinddbf", 0, load<frmILGfinddbf>()}, {"frmTracking"}, {"frmBdxc"}, {"frmOwn"}, {"frm320Files"},
        {"frmLast20"}, {"frmScratchpad"}, {"frmLog"}, {"frmLogFormat", 0, load<frmLogFormat>()},
        {"frmLoginput", 0, load<frmLoginput>()}, {"frmLogsort", 0, load<frmLogsort>()}, {"frmMemman"},
        {"frmMemcell", 0, [menu] { menu("frmMemman")(), forms::load<frmMemcell>(); }}, {"frmScanlist"},
        {"frmScanpairs"}, {"frmSpectrum"}, {"frmSpectrumlimits", 0, load<frmSpectrumlimits>()}, {"frmSmeter"},
        {"frmPropagation"}, {"frmProp2prt2"}, {"frmAbout"}, {"frmSetUp"}, {"frmLoadfile", 0, load<frmLoadfile>()},
        {"frmSavefile", 0, load<frmSavefile>()}, {"frmRxTimer"}, {"frmNoRx"}, {"frmAR7030", 1}, {"frmNRD535", 2},
        {"frmRX320", 3}, {"frmNRD545", 4}, {"frmUserdefs", 2, load<frmUserdefs>()},
        {"frmUserdefs545", 4, load<frmUserdefs545>()}, {"frmAdvancedDSP", 4}, {"frmRtty", 4}, {"frmRxClock", 1},
    };
    return all;
}

// The pixels a caption takes, its lines and its shortcut mark as drawn.
int captionWidth(const QWidget* w, const QString& text) { return w->fontMetrics().size(Qt::TextShowMnemonic, text).width(); }

// Whether a control lies inside each widget it stands in, up to the window;
// what a scrolled view holds is its own business.
bool standsInside(QWidget* c, QWidget* window) {
    for (QWidget* p = c->parentWidget(); p; p = p->parentWidget()) {
        if (qobject_cast<QAbstractScrollArea*>(p)) return true;
        if (!p->rect().contains(QRect(c->mapTo(p, QPoint(0, 0)), c->size()))) return false;
        if (p == window) return true;
    }
    return true;
}

// Every visible caption of the window whole, every visible control inside it.
void expectEveryCaptionWhole(QWidget* window) {
    for (QWidget* c : window->findChildren<QWidget*>()) {
        if (!c->isVisibleTo(window) || c->isWindow()) continue;
        int room = 0, need = 0;
        QString caption;
        if (auto* b = qobject_cast<QAbstractButton*>(c)) {
            // The room the style draws the caption in.
            QStyleOptionButton o;
            o.initFrom(b);
            o.text = caption = b->text();
            const auto contents = qobject_cast<QPushButton*>(c)     ? QStyle::SE_PushButtonContents
                                  : qobject_cast<QRadioButton*>(c) ? QStyle::SE_RadioButtonContents
                                                                    : QStyle::SE_CheckBoxContents;
            room = b->style()->subElementRect(contents, &o, b).width();
            need = captionWidth(b, caption) + (b->icon().isNull() ? 0 : b->iconSize().width() + 4);
        } else if (auto* l = qobject_cast<QLabel*>(c); l && !l->wordWrap() && !Qt::mightBeRichText(l->text())) {
            // A framed label without an indent of its own indents by half an "x".
            const int xHalf = l->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2;
            const int indent = l->indent() >= 0 ? l->indent() : (l->frameWidth() > 0 ? xHalf : 0);
            caption = l->text();
            room = l->contentsRect().width() - 2 * l->margin() - indent;
            need = captionWidth(l, caption);
        } else if (auto* g = qobject_cast<QGroupBox*>(c)) {
            caption = g->title();
            room = g->width();
            need = g->minimumSizeHint().width();   // the title's and the contents'
        }
        const std::string name = c->objectName().toStdString() + " \"" + caption.toStdString() + "\"";
        if (!caption.isEmpty()) {
            EXPECT_LE(need, room) << name << " is cut";
        }
        EXPECT_TRUE(standsInside(c, window)) << name << " stands outside";
    }
}

class WindowAtItsSmallest : public GoRig, public ::testing::WithParamInterface<WindowCase> {
protected:
    void SetUp() override {
        GoRig::SetUp();
        registerToolWindows();
        dialogs.allow(QString());
    }
    void TearDown() override {
        clearToolWindows();
        GoRig::TearDown();
    }
};

TEST_P(WindowAtItsSmallest, ShowsEveryCaptionWhole) {
    const WindowCase& c = GetParam();
    ASSERT_NE(go(c.rxType), nullptr);
    if (c.open) {
        c.open();
    } else if (const auto opener = toolWindowOpener(QLatin1String(c.name))) {
        opener();
    }
    QWidget* w = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String(c.name)) w = top;
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
        // The window system's resize comes as an event: a busy machine may
        // take a while to deliver it and the window's answer to it.
        pump(30);
        pumpUntil([&] { return w->size() == least; });
        EXPECT_EQ(w->size(), least);
        expectEveryCaptionWhole(w);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, WindowAtItsSmallest, ::testing::ValuesIn(windows()),
                         [](const ::testing::TestParamInfo<WindowCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace dovrane::test
