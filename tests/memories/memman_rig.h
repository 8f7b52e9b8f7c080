#pragma once
// The memory manager as the user meets it: the program starts with a model
// chosen in its settings, Go opens the model's panel on port 1, which leads
// to a simulated receiver on a pseudo-terminal paced at the line's real baud
// rate, and the memory manager is opened from there.
#include "memories/frmmemman.h"
#include "memories/memman_files.h"
#include "memories/memory_image.h"
#include "memories/memory_texts.h"
#include "panels/panel_registry.h"
#include "panels/panel_rig.h"
#include "platform/number_text.h"
#include "shell/frmloadfile.h"
#include "shell/frmwelcome.h"
#include "shell/settings_file.h"
#include "support/when_shown.h"

#include <QAction>
#include <QListWidget>
#include <QTableWidget>
#include <QTimer>
#include <QLineEdit>
#include <QPushButton>
#include <map>

namespace dovrane::test {

template <class Sim, class Panel, int Type, int Baud>
class MemmanRig : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        registerPanelWindows();
        ASSERT_TRUE(sim.start());
        writeDataFile(QStringLiteral("serialports.ini"), sim.devicePath().toUtf8() + "\r\n");
    }

    void TearDown() override {
        forms::destroyAll();
        resetFacade();
        sim.stop();
        for (auto& open : welcome::panelOpeners) open = nullptr;
        PanelTest::TearDown();
    }

    // The program's start with this model chosen (and the settings of
    // `settings` in place of the defaults), Go, and the line paced at the
    // model's baud rate from then on.
    Panel* go(const std::map<int, float>& settings = {}) {
        QByteArray text = DataFolder.toUtf8() + "\r\n5130N\r\n00007W\r\n" + numText(double(Type)).toUtf8() + "\r\n";
        for (int i = 1; i <= 31; ++i) {
            const auto s = settings.find(i);
            text += numText(double(s != settings.end() ? s->second : defaultSetting(i))).toUtf8() + "\r\n";
        }
        writeDataFile(SettingsFileName, text);
        frmWelcome* w = frmWelcome::start();
        w->imgGo_Click();
        sim.setBaud(Baud);
        panel = forms::loaded<Panel>();
        return panel;
    }

    // Opened from the panel's menu, as the user opens it.
    frmMemman* openMemman() {
        QAction* item = panel ? panel->menuItem(QStringLiteral("mnuMemman")) : nullptr;
        EXPECT_TRUE(item && item->isEnabled());
        if (item) item->trigger();
        frmMemman* m = forms::loaded<frmMemman>();
        EXPECT_TRUE(m && m->isVisible());
        return m;
    }

    static void setText(frmMemman* m, const char* box, const QString& text) {
        control<QLineEdit>(m, QLatin1String(box))->setText(text);
    }
    static bool enabled(frmMemman* m, const char* button) {
        return control<QPushButton>(m, QLatin1String(button))->isEnabled();
    }

    // Each answers the question with Yes; then comes the box holding `then`.
    void fetch(frmMemman* m, int to, const QString& then,
               dialogs::Answer answer = dialogs::Answer::Ok) {
        setText(m, "txtTo", QString::number(to));
        dialogs.expect(QStringLiteral("capture the receiver"), dialogs::Answer::Yes).expect(then, answer);
        m->cmdFetch_Click();
        // The receiver's failure notice comes up once the click has returned.
        pump(20);
    }
    void fill(frmMemman* m, int from, int to, const QString& then,
              dialogs::Answer answer = dialogs::Answer::Ok) {
        setText(m, "txtFrom", QString::number(from));
        setText(m, "txtTo", QString::number(to));
        dialogs.expect(QStringLiteral("overwrite the Receiver"), dialogs::Answer::Yes).expect(then, answer);
        m->cmdFill_Click();
    }
    // Load, the chooser's entry name and OK, Yes to the chooser's question;
    // then comes the box holding `then`, when one is given.
    void load(frmMemman* m, const QString& name, const QString& then = QString()) {
        dialogs.expect(QStringLiteral("Are sure you want to load the file"), dialogs::Answer::Yes);
        if (!then.isEmpty()) dialogs.expect(then);
        const auto answer = whenShown<frmLoadfile>([name](frmLoadfile* l) {
            auto* list = l->findChild<QListWidget*>(QStringLiteral("list"));
            list->setCurrentItem(list->findItems(name, Qt::MatchExactly).value(0));
            l->cmdOK_Click();
        });
        m->cmdLoad_Click();
        EXPECT_TRUE(answer.done()) << "the load chooser did not come";
    }
    // Saves the image under name, empties the window and loads the file back.
    void saveClearReload(frmMemman* m, const QString& name) {
        FileKindName[8] = name;
        ASSERT_TRUE(savememfile());
        dialogs.expect(QStringLiteral("before clearing"), dialogs::Answer::No);
        m->cmdCls_Click();
        ASSERT_FALSE(m->memarrayloaded());
        loadmemfile();
    }

    Sim sim;
    Panel* panel = nullptr;
};

} // namespace dovrane::test
