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
#include "shell/globals.h"
#include "stations/frmilgfinddbf.h"
#include "stations/frmaero2rx.h"
#include "stations/frmilg2rx.h"
#include "stations/frmilgqsort.h"
#include "stations/station_viewer.h"
#include "support/go_rig.h"
#include "support/waits.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QLineEdit>
#include <QListView>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QScrollArea>
#include <QStyleOptionButton>
#include <QWindow>
#include <algorithm>
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
    // A text box and the longest value it is to show whole.
    std::vector<std::pair<const char*, const char*>> values = {};
};
void PrintTo(const WindowCase& c, std::ostream* os) { *os << c.name; }

template <class T> std::function<void()> load() {
    return [] { forms::load<T>(); };
}
const std::vector<WindowCase>& windows() {
    const auto menu = [](const char* name) { return [name] { toolWindowOpener(QLatin1String(name))(); }; };
    static const std::vector<WindowCase> all{
        {"frmIlg2rx", 0, {}, {{"txtFrequencyA", "29999.999"}}},
        {"frmAero2rx", 0, {}, {{"txtFrequencyA", "29999.999"}}}, {"frmIlgquery", 0, menu("frmIlg2rx")},
        {"frmAeroquery", 0, menu("frmAero2rx")},
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

// Whether a control lies inside each widget it stands in, up to the window:
// what a list view holds is its own business, and a control in a window's
// scrolled content is reached by scrolling, so there the scroll area itself
// must stand inside.
bool standsInside(QWidget* c, QWidget* window) {
    QWidget* inner = c;
    for (QWidget* p = c->parentWidget(); p; p = p->parentWidget()) {
        if (auto* area = qobject_cast<QAbstractScrollArea*>(p)) {
            if (!qobject_cast<QScrollArea*>(area)) return true;
            inner = area;
            continue;
        }
        if (auto* area = qobject_cast<QAbstractScrollArea*>(p->parentWidget()); area && area->viewport() == p) continue;
        if (!p->rect().contains(QRect(inner->mapTo(p, QPoint(0, 0)), inner->size()))) return false;
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

// Whether a text box shows its whole text: put at its end, the text does not
// move (a box scrolls its text only when it does not fit).
bool showsWhole(QLineEdit* box) {
    // Without its text cursor, which blinks.
    const bool readOnly = box->isReadOnly();
    box->setReadOnly(true);
    box->home(false);
    const QImage start = box->grab().toImage();
    box->end(false);
    const bool same = box->grab().toImage() == start;
    box->setReadOnly(readOnly);
    return same;
}

// The sizes a window is given, as its resize events tell them.
struct ResizeLog : QObject {
    QList<QSize> sizes;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Resize) sizes << static_cast<QResizeEvent*>(e)->size();
        return false;
    }
};

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
    // Under a window manager the window takes its least size from the screen
    // once it is framed.
    pumpUntil([w] { return w->windowHandle() && !w->windowHandle()->frameMargins().isNull(); }, 2000);
    pump(60);
    {
        SCOPED_TRACE("made as small as the program can make it");
        w->resize(1, 1);
        pump(30);
        expectEveryCaptionWhole(w);
        // Never larger than the screen, so every control can be reached.
        const QRect room = w->screen()->availableGeometry();
        EXPECT_LE(w->frameGeometry().width(), room.width());
        EXPECT_LE(w->frameGeometry().height(), room.height());
        for (const auto& [box, value] : c.values) {
            auto* edit = w->findChild<QLineEdit*>(QLatin1String(box));
            ASSERT_NE(edit, nullptr) << box;
            edit->setText(QLatin1String(value));
            EXPECT_TRUE(showsWhole(edit)) << box << " cuts " << value;
        }
    }
    // Some window managers, and tools that size windows, hand a window less
    // than the least it asks for, and may do so again.
    const QSize least = w->size();
    ResizeLog log;
    w->installEventFilter(&log);
    for (int time = 1; time <= 2; ++time) {
        SCOPED_TRACE("given less than its least by the window system, time " + std::to_string(time));
        log.sizes.clear();
        w->windowHandle()->resize(1, 1);
        // The window system's resize comes as an event: a busy machine may
        // take a while to deliver it and the window's answer to it.
        ASSERT_TRUE(pumpUntil([&] {
            return std::any_of(log.sizes.begin(), log.sizes.end(),
                               [&](QSize s) { return s.width() < least.width() || s.height() < least.height(); });
        })) << "the window system's size never came";
        EXPECT_TRUE(pumpUntil([&] { return w->size() == least; }));
        EXPECT_EQ(w->size(), least);
        expectEveryCaptionWhole(w);
    }
    w->removeEventFilter(&log);
}

// The least width of a station viewer is that of its list at its start: a
// list scrolled sideways does not let the window be made so narrow that the
// titles over the start of the list are cut.
TEST_F(WindowAtItsSmallest, AStationViewersLeastWidthIsTakenWithItsListAtItsStart) {
    ASSERT_NE(go(0), nullptr);
    // Lines far wider than any window: the list scrolls sideways.
    const QByteArray wide = "02851.0 ACTIVE NAT-A Family A          Gander / " + QByteArray(300, 'x') + "\r\n";
    writeDataFile(QStringLiteral("FTL/AEROWIDE.FTL"), wide + wide);
    writeDataFile(QStringLiteral("FTL/ILGWIDE.FTL"), wide + wide);
    const struct {
        const char* viewer;
        const char* list;
        const char* file;
        int subKind;
    } viewers[] = {{"frmAero2rx", "lstAero", "AEROWIDE.FTL", 2}, {"frmIlg2rx", "lstIlgq", "ILGWIDE.FTL", 1}};
    for (const auto& v : viewers) {
        SCOPED_TRACE(v.viewer);
        toolWindowOpener(QLatin1String(v.viewer))();
        StationViewer* w = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QLatin1String(v.viewer)) w = qobject_cast<StationViewer*>(top);
        ASSERT_NE(w, nullptr);
        FileKind = 3;
        FileSubKind = v.subKind;
        FileKindPath[3] = dataPath(QStringLiteral("FTL/"));
        FileKindName[3] = QLatin1String(v.file);
        w->loadList();
        w->show();
        w->resize(1, 1);
        pump(30);
        auto* list = w->findChild<QListView*>(QLatin1String(v.list));
        ASSERT_NE(list, nullptr);
        QWidget* titles = list->parentWidget()->findChild<QLabel*>(QStringLiteral("lblTitle"));
        if (!titles) titles = list->parentWidget()->findChild<QLabel*>(QStringLiteral("lblTitles"));
        ASSERT_NE(titles, nullptr);
        const int titlesLeast = titles->minimumSizeHint().width();
        const QSize least = w->size();
        ASSERT_GT(list->horizontalScrollBar()->maximum(), 0);
        list->horizontalScrollBar()->setValue(list->horizontalScrollBar()->maximum());
        pump(30);
        w->resize(1, 1);
        pump(30);
        EXPECT_EQ(titles->minimumSizeHint().width(), titlesLeast);
        EXPECT_EQ(w->size(), least);
        list->horizontalScrollBar()->setValue(0);
        pump(30);
        expectEveryCaptionWhole(w);
        w->unload();
    }
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, WindowAtItsSmallest, ::testing::ValuesIn(windows()),
                         [](const ::testing::TestParamInfo<WindowCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace dovrane::test
