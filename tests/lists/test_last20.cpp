// The last-20 history: twenty different frequencies, newest first, and its
// window, which shows them, tunes back to one and keeps recording when hidden.
#include "drivers/model_tables.h"
#include "lists/frmlast20.h"
#include "lists/last20_list.h"
#include "shell/facade.h"
#include "shell/globals.h"
#include "support/test_env.h"

#include <QPushButton>
#include <QSet>
#include <QTableWidget>

namespace dovrane::test {
namespace {

class Last20Test : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        clearLast20();
    }
    void TearDown() override {
        clearLast20();
        resetFacade();
        AppTest::TearDown();
    }
    static QStringList entries() {
        QStringList out;
        for (int i = 0; i < Last20Size; ++i)
            if (!Last20[size_t(i)].isEmpty()) out << Last20[size_t(i)];
        return out;
    }
    static QString freq(int i) { return QStringLiteral("%1.000").arg(1000 + i); }
};

TEST_F(Last20Test, KeepsTwentyDifferentFrequenciesNewestFirst) {
    pushLast20(QStringLiteral("7100.000"));
    pushLast20(QStringLiteral("9500.000"));
    pushLast20(QStringLiteral("7100.000"));
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("7100.000"), QStringLiteral("9500.000")}));
    pushLast20(QString());
    EXPECT_EQ(entries().size(), 2) << "an empty box is no frequency";

    clearLast20();
    for (int i = 0; i < 21; ++i) pushLast20(freq(i));
    QStringList expected;
    for (int i = 20; i >= 1; --i) expected << freq(i);
    EXPECT_EQ(entries(), expected) << "the 21st drops the oldest";

    // An older entry coming back leaves its place; the others stay, none twice.
    pushLast20(freq(5));
    const QStringList now = entries();
    EXPECT_EQ(now.size(), 20);
    EXPECT_EQ(now.first(), freq(5));
    EXPECT_EQ(now.last(), freq(1));
    EXPECT_EQ(QSet<QString>(now.begin(), now.end()).size(), 20);
    EXPECT_TRUE(Last20[20].isEmpty());
}

struct TextPanel : PanelHandlers {
    QString text;
    void frequencyAChanged(double) override {}
    QString frequencyText() const override { return text; }
};

TEST_F(Last20Test, TheWindowShowsTunesAndKeepsRecordingWhenHidden) {
    frmLast20* w = forms::load<frmLast20>();
    ASSERT_TRUE(Last20Open);
    QTableWidget* grid = w->grid();
    auto* titles = w->findChild<QTableWidget*>(QStringLiteral("grdTitles"));
    ASSERT_NE(titles, nullptr);
    EXPECT_EQ(titles->item(0, 0)->text(), QStringLiteral(" NR"));
    EXPECT_EQ(titles->item(0, 1)->text(), QStringLiteral(" FREQUENCY"));
    ASSERT_EQ(grid->rowCount(), 20);
    EXPECT_EQ(grid->item(7, 0)->text(), QStringLiteral(" 7"));
    EXPECT_EQ(grid->columnWidth(0), 27);
    EXPECT_EQ(grid->columnWidth(1), 80);

    // The panel's box text, as the panel shows it.
    TextPanel panel;
    setOpenPanel(&panel);
    panel.text = QStringLiteral("9500.000");
    w->fillgrdlast20();
    w->fillgrdlast20(QStringLiteral("?"));
    EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("?"));
    EXPECT_EQ(grid->item(1, 1)->text(), QStringLiteral("9500.000"));

    // A click tunes through the facade's range check; an empty row does nothing.
    RxType = 2;
    initnrd535tables();
    dialogs.expect(QStringLiteral("Frequency outside range"));
    w->grdLast20_Click(0);
    w->grdLast20_Click(5);
    EXPECT_EQ(dialogs.shown().size(), 1);

    // Hide keeps it recording; the history outlives the window.
    w->show();
    w->findChild<QPushButton*>(QStringLiteral("cmdExit"))->click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(Last20Open);
    w->fillgrdlast20(QStringLiteral("6070.000"));
    w->unload();
    EXPECT_FALSE(Last20Open);
    w = forms::load<frmLast20>();
    EXPECT_EQ(w->grid()->item(0, 1)->text(), QStringLiteral("6070.000"));

    w->findChild<QPushButton*>(QStringLiteral("cmdClear"))->click();
    EXPECT_TRUE(entries().isEmpty());
    EXPECT_EQ(w->grid()->rowCount(), 20);
    EXPECT_EQ(w->grid()->item(19, 0)->text(), QStringLiteral(" 19"));
    EXPECT_EQ(w->grid()->item(0, 1)->text(), QString());
    clearOpenPanel(&panel);
}

} // namespace
} // namespace dovrane::test
