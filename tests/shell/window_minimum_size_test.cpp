// Every window at the smallest size it lets itself be made, whether the
// program sizes it or the window manager gives it less than it asked for:
// each caption of its buttons, check boxes, option buttons, labels and frames
// shows whole, each control stands whole inside the window, and each text
// box shows the widest value it really gets whole.
#include "lists/grid_columns.h"
#include "logbook/frmlogformat.h"
#include "logbook/frmloginput.h"
#include "logbook/frmlogsort.h"
#include "memories/frmmemcell.h"
#include "panels/frmuserdefs.h"
#include "panels/frmuserdefs545.h"
#include "panels/tool_windows.h"
#include "register_windows.h"
#include "scanning/frmspectrumlimits.h"
#include "shell/form.h"
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
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
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
#include <QSignalBlocker>
#include <QStyleOptionButton>
#include <QWindow>
#include <algorithm>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace dovrane::test {
namespace {

// A text box (or the box of an editable combo box), the widest value it
// really gets, and, for a box in a part of the window that only shows on a
// choice, the button that shows that part.
struct BoxValue {
    const char* box;
    const char* value;
    const char* shownBy = nullptr;
};

// A window by its name, on the receiver the program runs with, opened by
// what opens it for the user: the panel's menu item of that name unless
// said otherwise (a panel is open once Go is pressed).
struct WindowCase {
    const char* name;
    int rxType = 0;
    std::function<void()> open = {};
    std::vector<BoxValue> values = {};
};
void PrintTo(const WindowCase& c, std::ostream* os) { *os << c.name; }

template <class T> std::function<void()> load() {
    return [] { forms::load<T>(); };
}
// Boxes prefix_0 .. prefix_(n-1), each with value.
std::vector<BoxValue> boxes(const char* prefix, int n, const char* value, const char* shownBy = nullptr) {
    static std::deque<std::string> names;
    std::vector<BoxValue> all;
    for (int i = 0; i < n; ++i) all.push_back({names.emplace_back(prefix + std::to_string(i)).c_str(), value, shownBy});
    return all;
}
std::vector<BoxValue> operator+(std::vector<BoxValue> a, const std::vector<BoxValue>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<WindowCase>& windows() {
    const auto menu = [](const char* name) { return [name] { toolWindowOpener(QLatin1String(name))(); }; };
    // A frequency as a panel with three decimals shows it, and as the
    // AR7030's shows it; the least step the step lists offer.
    const char* const nrd = "29999.999";
    const char* const ar = "32016.00";
    const char* const step = "0.001";
    static const std::vector<WindowCase> all{
        {"frmIlg2rx", 0, {}, {{"txtFrequencyA", nrd}, {"txtScandelay", "9.5"}}},
        {"frmAero2rx", 0, {}, {{"txtFrequencyA", nrd}, {"txtScandelay", "9.5"}}},
        {"frmIlgquery", 0, menu("frmIlg2rx")}, {"frmAeroquery", 0, menu("frmAero2rx")},
        {"frmIlgqsort", 0, load<frmIlgqsort>()}, {"frmConvertILG"}, {"frmConvertAero"},
        {"frmILGfinddbf", 0, load<frmILGfinddbf>()},
        {"frmTracking", 0, {}, {{"txtFrequencyA", nrd}, {"txtFreqstep", step}}},
        {"frmBdxc", 0, {}, {{"txtFrequencyA", nrd}}}, {"frmOwn", 0, {}, {{"txtFrequencyA", nrd}}},
        {"frm320Files", 0, {}, {{"txtFrequencyA", nrd}}}, {"frmLast20"}, {"frmScratchpad"},
        {"frmLog", 0, {}, {{"txtFrequencyA", nrd}}}, {"frmLogFormat", 0, load<frmLogFormat>()},
        // Date, start, end, frequency, SINPO and the four alternative frequencies.
        {"frmLoginput", 0, load<frmLoginput>(),
         {{"txtLoginput_0", "20251231"}, {"txtLoginput_1", "2359"}, {"txtLoginput_2", "2359"},
          {"txtLoginput_3", nrd}, {"txtLoginput_4", "55555"}, {"txtLoginput_8", "29999"}, {"txtLoginput_9", "29999"},
          {"txtLoginput_10", "29999"}, {"txtLoginput_11", "29999"}}},
        {"frmLogsort", 0, load<frmLogsort>()},
        {"frmMemman", 0, {}, {{"txtFrom", "999"}, {"txtTo", " 999"}, {"txtDelay", "59.5"}}},
        {"frmMemcell", 0, [menu] { menu("frmMemman")(), forms::load<frmMemcell>(); }, {{"txtFrequency", nrd}}},
        {"frmScanlist", 0, {},
         boxes("txtFreqlist_", 20, nrd) + std::vector<BoxValue>{{"txtDelay", "9.5"}, {"txtUpdate", "10"}}},
        {"frmScanpairs", 0, {}, {{"txtStart", "32767"}, {"txtEnd", " 32767"}, {"txtDelay", "59.5"}}},
        {"frmSpectrum"},
        {"frmSpectrumlimits", 0, load<frmSpectrumlimits>(),
         {{"txtInput_0", nrd}, {"txtInput_1", nrd}, {"txtInput_2", step}, {"txtInput_3", "4.5"}}},
        {"frmSmeter"}, {"frmPropagation"},
        {"frmProp2prt2", 0, {}, {{"txtdat_1", nrd}, {"txtdat_2", "30 May 2025  23:59 UTC"}}}, {"frmAbout"},
        {"frmSetUp", 0, {},
         std::vector<BoxValue>{{"txtRxlatitude", "8959N"}, {"txtRxlongitude", "17959W"}, {"txtLt2utc", "-12.5"},
                               {"txtDimbdxc", " 30"}, {"txtDimown", " 30"}, {"txtDimlog", " 30"}, {"txtDimilg", " 30"},
                               {"txtLevelL", "99", "optRxtype_1"}, {"txtLevelR", "99", "optRxtype_1"},
                               {"txtLevel", "99", "optRxtype_3"}} +
             boxes("txtARoptions_", 4, " 6", "optRxtype_1") + boxes("txtFreqcorr_", 2, "-1000", "optRxtype_3") +
             boxes("txtNrbc_", 2, "255", "optRxtype_4") + boxes("txtAgctc_", 3, "9", "optRxtype_4")},
        {"frmLoadfile", 0, load<frmLoadfile>()}, {"frmSavefile", 0, load<frmSavefile>()}, {"frmRxTimer"},
        {"frmNoRx", 0, {}, {{"txtFrequencyA", "1234.56"}, {"cmbFreqstep", "5"}}},
        {"frmAR7030", 1, {}, {{"txtFrequencyA", ar}, {"cmbFreqstep", "0.01"}}},
        {"frmNRD535", 2, {}, {{"txtFrequencyA", nrd}, {"cmbFreqstep", step}}},
        {"frmRX320", 3, {}, {{"txtFrequencyA", "30000.000"}, {"cmbFreqstep", step}}},
        {"frmNRD545", 4, {}, {{"txtFrequencyA", nrd}, {"cmbFreqstep", step}}},
        {"frmUserdefs", 2, load<frmUserdefs>()}, {"frmUserdefs545", 4, load<frmUserdefs545>()},
        {"frmAdvancedDSP", 4}, {"frmRtty", 4}, {"frmRxClock", 1},
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

// Each box of values shown by choice (none: shown as the window opens)
// shows its value whole; the box's own rules for what is typed stay out.
void expectValuesWhole(QWidget* window, const std::vector<BoxValue>& values, const char* choice) {
    for (const BoxValue& v : values) {
        if (choice ? !v.shownBy || std::string_view(v.shownBy) != choice : v.shownBy != nullptr) continue;
        const QString name = QLatin1String(v.box);
        QLineEdit* edit = window->findChild<QLineEdit*>(name);
        if (!edit)
            if (auto* combo = window->findChild<QComboBox*>(name)) edit = combo->lineEdit();
        ASSERT_NE(edit, nullptr) << v.box;
        EXPECT_TRUE(edit->isVisibleTo(window)) << v.box << " is not shown";
        const QString before = edit->text();
        const QSignalBlocker quiet(edit);
        edit->setText(QLatin1String(v.value));
        EXPECT_TRUE(showsWhole(edit)) << v.box << " cuts \"" << v.value << "\"";
        edit->setText(before);
    }
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
        expectValuesWhole(w, c.values, nullptr);
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
    // A part shown on a choice, at the least size the window then takes.
    std::vector<const char*> choices;
    for (const BoxValue& v : c.values)
        if (v.shownBy && std::find(choices.begin(), choices.end(), std::string_view(v.shownBy)) == choices.end())
            choices.push_back(v.shownBy);
    for (const char* choice : choices) {
        SCOPED_TRACE(std::string("made as small as the program can make it, after ") + choice);
        auto* button = w->findChild<QAbstractButton*>(QLatin1String(choice));
        ASSERT_NE(button, nullptr) << choice;
        button->click();
        pump(30);
        w->resize(1, 1);
        pump(30);
        expectEveryCaptionWhole(w);
        expectValuesWhole(w, c.values, choice);
    }
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

// A window taller than the screen scrolls up and down, and its scroll bar
// takes room beside the controls: its least width counts the bar, so that
// the widest control still shows whole without scrolling sideways too.
TEST_F(WindowAtItsSmallest, AWindowTallerThanTheScreenLeavesItsWidestControlWhole) {
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    auto w = std::make_unique<Form>(0, nullptr);
    w->setObjectName(QStringLiteral("frmTall"));
    // Controls that stand where they were drawn, the lowest below the screen.
    auto* wide = new QPushButton(QStringLiteral("Widest"), w.get());
    wide->setGeometry(0, 0, screen.width() / 2, 30);
    auto* low = new QPushButton(QStringLiteral("Lowest"), w.get());
    low->setGeometry(0, screen.height() + 200, 80, 30);
    w->show();
    pumpUntil([&] { return w->windowHandle() && !w->windowHandle()->frameMargins().isNull(); }, 2000);
    pump(60);
    w->resize(1, 1);
    pump(30);
    auto* area = w->findChild<QScrollArea*>();
    ASSERT_NE(area, nullptr) << "a window taller than the screen does not scroll";
    EXPECT_GT(area->verticalScrollBar()->maximum(), 0);
    EXPECT_GE(area->viewport()->width(), wide->width()) << "the scroll bar covers the widest control";
    EXPECT_EQ(area->horizontalScrollBar()->maximum(), 0) << "the widest control is reached only sideways";
    EXPECT_LE(w->frameGeometry().height(), screen.height());
    expectEveryCaptionWhole(w.get());
}

// A box held to the width of a value's widest form, or fitted to it at the
// width it was drawn with, shows the value whole in whichever digits; held
// one pixel narrower it would cut the widest of them.
class TextBoxWidth : public AppTest {};

TEST_F(TextBoxWidth, ShowsTheWidestFormWholeAndIsNoWider) {
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const struct {
        const char* widest;
        double points;
        bool bold;
        bool fixedPitch;
        int drawnWidth;   // fitted at this largest width; 0: held
    } cases[] = {
        {"00000.000", 9, false, false, 0}, {"00000.000", 14, true, false, 0}, {"0.000", 9, false, false, 0},
        {"00000.000", 8, false, true, 0},  {"00000.000", 9, false, false, 58}, {"0000", 9, false, false, 30},
    };
    for (const auto& c : cases) {
        const QString widest = QLatin1String(c.widest);
        SCOPED_TRACE(widest.toStdString() + " at " + QString::number(c.points).toStdString() +
                     (c.drawnWidth ? " pt, fitted" : " pt, held"));
        QLineEdit box;
        QFont font = c.fixedPitch ? fixed : box.font();
        font.setPointSizeF(c.points);
        font.setBold(c.bold);
        box.setFont(font);
        if (c.drawnWidth) {
            box.setMaximumWidth(c.drawnWidth);
            fitTextBox(&box, widest);
            box.setFixedWidth(box.maximumWidth());
            EXPECT_GE(QFontInfo(box.font()).pointSizeF(), 7.0);
        } else {
            holdTextBoxWidth(&box, widest);
            box.setFixedWidth(box.minimumWidth());
        }
        box.show();
        pump(10);
        const int held = box.width();
        for (char digit = '0'; digit <= '9'; ++digit) {
            box.setText(QString(widest).replace(QLatin1Char('0'), QLatin1Char(digit)));
            EXPECT_TRUE(showsWhole(&box)) << box.text().toStdString() << " cut at " << held;
        }
        if (c.drawnWidth) continue;
        box.setFixedWidth(held - 1);
        pump(10);
        bool someCut = false;
        for (char digit = '0'; digit <= '9'; ++digit) {
            box.setText(QString(widest).replace(QLatin1Char('0'), QLatin1Char(digit)));
            someCut = someCut || !showsWhole(&box);
        }
        EXPECT_TRUE(someCut) << "whole at " << held - 1 << " too";
    }
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, WindowAtItsSmallest, ::testing::ValuesIn(windows()),
                         [](const ::testing::TestParamInfo<WindowCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace dovrane::test
