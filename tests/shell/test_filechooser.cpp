// The two file choosers: what they list and propose, which names they take,
// the question before a file is replaced, and what reaches the loaders and
// writers of each kind.
#include "platform/launcher.h"
#include "shell/common_tables.h"
#include "shell/file_kinds.h"
#include "shell/frmloadfile.h"
#include "shell/frmsavefile.h"
#include "shell/globals.h"
#include "platform/text_file.h"
#include "support/test_env.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <csignal>
#include <sys/resource.h>

using namespace dovrane;
using dialogs::Answer;

namespace {

class FileChooser : public test::AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        initcommontables();
        setFileKindPaths();
    }
    void TearDown() override {
        clearFileKindHandlers();
        AppTest::TearDown();
    }

    frmLoadfile* openLoad(int kind, int subKind = 0) {
        FileKind = kind;
        FileSubKind = subKind;
        return forms::load<frmLoadfile>();
    }
    frmSavefile* openSave(int kind) {
        FileKind = kind;
        return forms::load<frmSavefile>();
    }
    static QStringList listed(frmLoadfile* w) {
        QStringList names;
        auto* list = w->findChild<QListWidget*>(QStringLiteral("list"));
        for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
        return names;
    }
    static QComboBox* combo(frmSavefile* w) { return w->findChild<QComboBox*>(QStringLiteral("cmbSavefile")); }
    static void click(QWidget* w, const char* name) { w->findChild<QPushButton*>(QString::fromLatin1(name))->click(); }

    // Types a name into the save chooser as a user would: select all, type over it.
    static void typeName(frmSavefile* w, const QString& name) {
        QLineEdit* edit = combo(w)->lineEdit();
        edit->selectAll();
        QKeyEvent erase(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        QApplication::sendEvent(edit, &erase);
        for (QChar ch : name) {
            QKeyEvent press(QEvent::KeyPress, ch.toUpper().unicode(), Qt::NoModifier, QString(ch));
            QApplication::sendEvent(edit, &press);
        }
    }

    // A writer of kind 4 like the log's: the whole file through a temporary.
    void registerLogWriter(const QStringList& lines, int* calls = nullptr) {
        registerWriter(4, [lines, calls] {
            if (calls) ++*calls;
            return writeLines(FileKindPath[4] + FileKindName[4], lines);
        });
    }
};

} // namespace

TEST_F(FileChooser, SaveNameRulesAreThePrefixTheExtensionSixteenCharactersAndNoWayOut) {
    struct Case { const char* name; bool ok; };
    const Case cases[] = {
        {"log_xyzxyzxyzxyz.txt", true},   // the proposed name: its "." is the 17th character
        {"LOG_Abc.txt", true},
        {"log_abc.TXT", true},
        {"LOG_abcdefghijkl.txt", true},   // 16 before the extension
        {"LOG_abcdefghijklm.txt", false}, // 17
        {"LOG_abc.dat", false},
        {"abc.txt", false},
        {"", false},
        {"LOG_/../x.TXT", false},
        {"LOG_..\\x.TXT", false},
        {"LOG_a\tb.TXT", false},
        {"MEM_2abc.txt", false},          // another kind's prefix
    };
    for (const Case& c : cases)
        EXPECT_EQ(validSaveName(4, QString::fromLatin1(c.name)), c.ok) << c.name;
    EXPECT_TRUE(validSaveName(8, QStringLiteral("mem_2xyzxyzxyzxy.txt")));
}

TEST_F(FileChooser, SaveChooserProposesTheKindsNameAndListsEveryFileUnderItsRealName) {
    writeDataFile(QStringLiteral("LOG/LOG_B.TXT"), "b");
    writeDataFile(QStringLiteral("LOG/log_a.txt"), "a");
    writeDataFile(QStringLiteral("LOG/notes.dat"), "n");
    QDir(DataFolder).mkpath(QStringLiteral("LOG/sub"));

    frmSavefile* w = openSave(4);
    QComboBox* c = combo(w);
    EXPECT_EQ(c->currentText(), QStringLiteral("log_xyzxyzxyzxyz.txt"));
    QStringList items;
    for (int i = 0; i < c->count(); ++i) items << c->itemText(i);
    EXPECT_EQ(items, (QStringList{"log_a.txt", "LOG_B.TXT", "notes.dat"}));
    w->unload();

    RxType = 4;
    w = openSave(8);
    EXPECT_EQ(combo(w)->currentText(), QStringLiteral("mem_4xyzxyzxyzxy.txt"));
    EXPECT_EQ(combo(w)->count(), 0);   // no MEM folder yet
}

TEST_F(FileChooser, ARefusedNameWritesNothingAndKeepsTheKindsCurrentName) {
    int calls = 0;
    registerLogWriter({QStringLiteral("x")}, &calls);
    FileKindName[4] = QStringLiteral("LOG_OLD.TXT");
    for (const QString& name : {QStringLiteral("LOG_abc.dat"), QStringLiteral(""), QStringLiteral("LOG_/../../x.TXT")}) {
        frmSavefile* w = openSave(4);
        typeName(w, name);
        dialogs.expect(QStringLiteral("Error 2"));
        click(w, "cmdOK");
        EXPECT_FALSE(SavefileOpen) << name.toStdString();
        EXPECT_EQ(calls, 0);
        EXPECT_EQ(FileKindName[4], QStringLiteral("LOG_OLD.TXT"));
        ASSERT_EQ(dialogs.shown().size(), 1);
        EXPECT_EQ(dialogs.shown()[0].text,
                  QStringLiteral("Something went wrong while\nsaving your data to a file ! ! !\nPLEASE TRY AGAIN"));
        dialogs.clear();
        pump();
    }
    EXPECT_FALSE(QFile::exists(DataFolder + QStringLiteral("x.TXT")));
}

TEST_F(FileChooser, ANewNameIsWrittenAndReportedWithoutAQuestion) {
    int calls = 0;
    registerLogWriter({QStringLiteral("line 1"), QStringLiteral("line 2")}, &calls);
    frmSavefile* w = openSave(4);
    typeName(w, QStringLiteral("LOG_First.TXT"));
    dialogs.expect(QStringLiteral("The data is now saved\nto the file LOG_First.TXT"));
    click(w, "cmdOK");
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(FileKindName[4], QStringLiteral("LOG_First.TXT"));
    EXPECT_EQ(readDataFile(QStringLiteral("LOG/LOG_First.TXT")), QByteArray("line 1\r\nline 2\r\n"));
    EXPECT_EQ(dialogs.shown().last().title, QStringLiteral("Save File"));
}

TEST_F(FileChooser, AnExistingFileIsReplacedOnlyAfterYes) {
    writeDataFile(QStringLiteral("LOG/LOG_KEEP.TXT"), "old content\r\n");
    int calls = 0;
    registerLogWriter({QStringLiteral("new content")}, &calls);
    FileKindName[4] = QStringLiteral("LOG_PREV.TXT");

    for (Answer refusal : {Answer::No, Answer::Cancel}) {
        frmSavefile* w = openSave(4);
        typeName(w, QStringLiteral("LOG_KEEP.TXT"));
        dialogs.expect(QStringLiteral("This file already exist.\nDo you want to replace it ?"), refusal)
            .expect(QStringLiteral("File save action aborted"))
            .expect(QStringLiteral("Error 1"));
        click(w, "cmdOK");
        EXPECT_EQ(calls, 0);
        EXPECT_EQ(readDataFile(QStringLiteral("LOG/LOG_KEEP.TXT")), QByteArray("old content\r\n"));
        EXPECT_EQ(FileKindName[4], QStringLiteral("LOG_PREV.TXT"));
        EXPECT_EQ(dialogs.shown()[1].icon, dialogs::Icon::Information);
        dialogs.clear();
        pump();
    }

    frmSavefile* w = openSave(4);
    typeName(w, QStringLiteral("LOG_KEEP.TXT"));
    dialogs.expect(QStringLiteral("already exist"), Answer::Yes).expect(QStringLiteral("The data is now saved"));
    click(w, "cmdOK");
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(readDataFile(QStringLiteral("LOG/LOG_KEEP.TXT")), QByteArray("new content\r\n"));
    EXPECT_EQ(dialogs.shown().size(), 2);   // one question only
}

TEST_F(FileChooser, AFailedWriteKeepsTheOldFileWholeAndIsNeverReportedAsSaved) {
    // Large enough that the file-size limit stops it halfway.
    QStringList big;
    for (int i = 0; i < 400; ++i) big << QStringLiteral("%1 a long line of log text that fills the file").arg(i);
    registerLogWriter(big);
    writeDataFile(QStringLiteral("LOG/LOG_KEEP.TXT"), "old content\r\n");
    FileKindName[4] = QStringLiteral("LOG_PREV.TXT");
    frmSavefile* w = openSave(4);
    typeName(w, QStringLiteral("LOG_KEEP.TXT"));
    dialogs.expect(QStringLiteral("already exist"), Answer::Yes).expect(QStringLiteral("Error 3"));

    // Tests run as root, where permissions refuse nothing: a file-size limit does.
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    click(w, "cmdOK");
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(readDataFile(QStringLiteral("LOG/LOG_KEEP.TXT")), QByteArray("old content\r\n"));
    EXPECT_EQ(QDir(DataFolder + QStringLiteral("LOG")).entryList(QDir::Files), QStringList{"LOG_KEEP.TXT"});
    EXPECT_EQ(FileKindName[4], QStringLiteral("LOG_PREV.TXT"));
    EXPECT_TRUE(dialogs.shown().last().text.startsWith(
        QStringLiteral("Something went wrong while\nsaving your data to a file ! ! !\nPLEASE TRY AGAIN")));
    for (const auto& box : dialogs.shown()) EXPECT_FALSE(box.text.contains(QStringLiteral("now saved")));
}

TEST_F(FileChooser, PropagationAndRttyAreNotReportedAndRttyAppendsWithoutAQuestion) {
    int propCalls = 0;
    registerWriter(7, [&] {
        ++propCalls;
        return writeLines(FileKindPath[7] + FileKindName[7], {QStringLiteral("header")});
    });
    frmSavefile* w = openSave(7);
    typeName(w, QStringLiteral("PAN_test.txt"));
    click(w, "cmdOK");
    EXPECT_EQ(propCalls, 1);
    EXPECT_TRUE(dialogs.shown().isEmpty());
    pump();

    writeDataFile(QStringLiteral("RTTY/RTY_log.txt"), "earlier text\r\n");
    registerWriter(13, [] {
        QFile f(FileKindPath[13] + FileKindName[13]);
        if (!f.open(QIODevice::Append)) return false;
        return f.write("more text\r\n") > 0;
    });
    w = openSave(13);
    typeName(w, QStringLiteral("RTY_log.txt"));
    click(w, "cmdOK");
    EXPECT_TRUE(dialogs.shown().isEmpty());
    EXPECT_EQ(readDataFile(QStringLiteral("RTTY/RTY_log.txt")), QByteArray("earlier text\r\nmore text\r\n"));
    EXPECT_EQ(FileKindName[13], QStringLiteral("RTY_log.txt"));
}

TEST_F(FileChooser, AKindWithoutItsWindowSaysSoAndTouchesNothing) {
    frmSavefile* w = openSave(6);
    dialogs.expect(QStringLiteral("spectrum scan files is not available"));
    click(w, "cmdOK");
    EXPECT_FALSE(QDir(DataFolder + QStringLiteral("SAN")).exists());
    EXPECT_TRUE(FileKindName[6].isEmpty());
    pump();

    writeDataFile(QStringLiteral("SAN/SAN_one.TXT"), "x");
    frmLoadfile* l = openLoad(6);
    EXPECT_EQ(listed(l), QStringList{"SAN_one.TXT"});
    dialogs.expect(QStringLiteral("the window for spectrum scan files is not available"));
    click(l, "cmdOK");
    EXPECT_TRUE(FileKindName[6].isEmpty());
}

TEST_F(FileChooser, TheLoadListMatchesThePatternInAnyCaseAndSelectsTheFirst) {
    writeDataFile(QStringLiteral("LOG/log_b.txt"), "");
    writeDataFile(QStringLiteral("LOG/LOG_A.TXT"), "");
    writeDataFile(QStringLiteral("LOG/other.txt"), "");
    writeDataFile(QStringLiteral("BDXC/BDX_A07TOE.TXT"), "");
    writeDataFile(QStringLiteral("BDXC/adx_b07tow.txt"), "");
    writeDataFile(QStringLiteral("BDXC/BDX_A07TOW.TXT"), "");
    writeDataFile(QStringLiteral("MEM/MEM_4one.TXT"), "");
    writeDataFile(QStringLiteral("MEM/MEM_2two.TXT"), "");
    writeDataFile(QStringLiteral("RX2DB/ILG1.FTL"), "");
    writeDataFile(QStringLiteral("RX2DB/AERO1.FTL"), "");

    frmLoadfile* w = openLoad(4);
    EXPECT_EQ(listed(w), (QStringList{"LOG_A.TXT", "log_b.txt"}));
    EXPECT_EQ(w->chosenName(), QStringLiteral("LOG_A.TXT"));
    w->unload();
    EXPECT_EQ(listed(openLoad(1)), (QStringList{"adx_b07tow.txt", "BDX_A07TOE.TXT"}));
    forms::unload<frmLoadfile>();
    RxType = 4;
    EXPECT_EQ(listed(openLoad(8)), QStringList{"MEM_4one.TXT"});
    forms::unload<frmLoadfile>();
    EXPECT_EQ(listed(openLoad(3, 1)), QStringList{"ILG1.FTL"});
    forms::unload<frmLoadfile>();
    EXPECT_EQ(listed(openLoad(3, 2)), QStringList{"AERO1.FTL"});
    forms::unload<frmLoadfile>();
    EXPECT_EQ(listed(openLoad(5)), (QStringList{"AERO1.FTL", "ILG1.FTL"}));
    forms::unload<frmLoadfile>();
    EXPECT_TRUE(listed(openLoad(12)).isEmpty());   // no SFP folder
}

TEST_F(FileChooser, OkHandsTheChosenEntryToItsLoaderAndNothingElse) {
    writeDataFile(QStringLiteral("RX2DB/ILG1.FTL"), "");
    writeDataFile(QStringLiteral("RX2DB/AERO1.FTL"), "");
    QStringList loaded;
    registerLoader(3, 1, [&] {
        loaded << QStringLiteral("ilg:") + FileKindName[3];
        return true;
    });
    registerLoader(3, 2, [&] {
        loaded << QStringLiteral("aero:") + FileKindName[3];
        return true;
    });
    registerLoader(4, 0, [&] {
        loaded << QStringLiteral("log:") + FileKindName[4];
        return true;
    });

    click(openLoad(3, 2), "cmdOK");
    EXPECT_FALSE(LoadfileOpen);
    pump();
    // An aero list name left from before is not handed to the ILG loader
    // when there is nothing to choose from.
    QFile::remove(DataFolder + QStringLiteral("RX2DB/ILG1.FTL"));
    frmLoadfile* w = openLoad(3, 1);
    EXPECT_TRUE(w->chosenName().isEmpty());
    click(w, "cmdOK");
    EXPECT_EQ(loaded, QStringList{"aero:AERO1.FTL"});
    EXPECT_EQ(FileKindName[3], QStringLiteral("AERO1.FTL"));
    pump();

    // Cancel leaves the kind's current file as it was.
    writeDataFile(QStringLiteral("LOG/LOG_A.TXT"), "");
    writeDataFile(QStringLiteral("LOG/LOG_B.TXT"), "");
    FileKindName[4] = QStringLiteral("LOG_B.TXT");
    click(openLoad(4), "cmdCancel");
    EXPECT_EQ(FileKindName[4], QStringLiteral("LOG_B.TXT"));
    pump();

    // A double click loads the entry clicked.
    w = openLoad(4);
    auto* list = w->findChild<QListWidget*>(QStringLiteral("list"));
    emit list->itemDoubleClicked(list->item(1));
    EXPECT_EQ(loaded.last(), QStringLiteral("log:LOG_B.TXT"));
    EXPECT_FALSE(LoadfileOpen);
}

// Enter acts as in a dialog: where a button has the focus it presses that
// button, anywhere else it presses OK (load, save).
TEST_F(FileChooser, EnterPressesOkOrTheButtonThatHasTheFocus) {
    writeDataFile(QStringLiteral("LOG/LOG_A.TXT"), "");
    int loads = 0;
    registerLoader(4, 0, [&] { return ++loads > 0; });
    int saves = 0;
    registerLogWriter({QStringLiteral("x")}, &saves);
    const struct {
        bool load;           // which chooser
        const char* focus;   // where Enter is pressed
        int key;
        bool acted;          // loaded or saved
    } rows[] = {
        {true, "list", Qt::Key_Return, true},   {true, "list", Qt::Key_Enter, true},
        {true, "cmdOK", Qt::Key_Return, true},  {true, "cmdCancel", Qt::Key_Return, false},
        {false, nullptr, Qt::Key_Return, true}, {false, nullptr, Qt::Key_Enter, true},
        {false, "cmdCancel", Qt::Key_Return, false},
    };
    int n = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(n++);
        const int before = row.load ? loads : saves;
        QWidget* w = nullptr;
        QWidget* target = nullptr;
        if (row.load) {
            w = openLoad(4);
            target = w->findChild<QWidget*>(QLatin1String(row.focus));
        } else {
            frmSavefile* s = openSave(4);
            QFile::remove(FileKindPath[4] + QStringLiteral("LOG_ENTER.TXT"));
            typeName(s, QStringLiteral("LOG_ENTER.TXT"));
            w = s;
            target = row.focus ? s->findChild<QWidget*>(QLatin1String(row.focus)) : combo(s)->lineEdit();
            if (row.acted) dialogs.expect(QStringLiteral("The data is now saved"));
        }
        ASSERT_TRUE(target);
        QKeyEvent press(QEvent::KeyPress, row.key, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
        EXPECT_EQ((row.load ? loads : saves) - before, row.acted ? 1 : 0);
        EXPECT_FALSE(row.load ? LoadfileOpen : SavefileOpen) << "OK and Cancel both close the chooser";
        EXPECT_EQ(dialogs.pending(), 0);
        pump();
    }
}

TEST_F(FileChooser, AMemoryFileIsLoadedOnlyAfterYes) {
    RxType = 1;
    writeDataFile(QStringLiteral("MEM/MEM_1cells.TXT"), "");
    int loads = 0;
    registerLoader(8, 0, [&] { return ++loads > 0; });
    for (Answer a : {Answer::No, Answer::Cancel, Answer::Yes}) {
        frmLoadfile* w = openLoad(8);
        dialogs.expect(QStringLiteral("Are sure you want to load the file\nMEM_1cells.TXT in the MemMan Window\n"
                                      "and overwrite possible current data"),
                       a);
        click(w, "cmdOK");
        EXPECT_EQ(dialogs.shown().last().title, QStringLiteral("Load Memory File"));
        EXPECT_EQ(dialogs.shown().last().buttons, dialogs::Buttons::YesNoCancel);
        pump();
    }
    EXPECT_EQ(loads, 1);
}

TEST_F(FileChooser, OkWithAnNrd535StopsTheDialReportsBeforeLoading) {
    RxType = 2;
    CommRxEnabled = true;
    writeDataFile(QStringLiteral("OWN/OWN_list.TXT"), "");
    bool reportsOffWhenLoading = false;
    registerLoader(2, 0, [&] {
        reportsOffWhenLoading = !CommRxEnabled;
        return true;
    });
    click(openLoad(2), "cmdOK");
    EXPECT_TRUE(reportsOffWhenLoading);
}

TEST_F(FileChooser, EditOpensTheChosenFileAndSaysWhenNothingCan) {
    writeDataFile(QStringLiteral("SFL/SFL_a b.TXT"), "");
    QStringList opened;
    bool opens = true;
    launcher::setHook([&](const QString& program, const QStringList& args) {
        opened << program + QLatin1Char('|') + args.join(QLatin1Char('|'));
        return opens;
    });
    frmLoadfile* w = openLoad(11);
    click(w, "cmdEdit");
    EXPECT_EQ(opened, QStringList{QStringLiteral("open|") + DataFolder + QStringLiteral("SFL/SFL_a b.TXT")});
    EXPECT_TRUE(LoadfileOpen);   // the chooser stays

    opens = false;
    dialogs.expect(QStringLiteral("No program could be found to open"));
    click(w, "cmdEdit");
    EXPECT_TRUE(dialogs.shown().last().text.endsWith(QStringLiteral("SFL/SFL_a b.TXT")));
}

TEST_F(FileChooser, CheckWithoutQuestionDeletesNothingAndRefusesWhatIsNotAFile) {
    writeDataFile(QStringLiteral("LOG/LOG_A.TXT"), "keep");
    QDir(DataFolder).mkpath(QStringLiteral("LOG/LOG_DIR.TXT"));
    FileKind = 4;
    FileKindName[4] = QStringLiteral("LOG_A.TXT");
    EXPECT_TRUE(checkfileexists(false));
    EXPECT_EQ(readDataFile(QStringLiteral("LOG/LOG_A.TXT")), QByteArray("keep"));
    FileKindName[4].clear();
    EXPECT_FALSE(checkfileexists(false));
    FileKindName[4] = QStringLiteral("LOG_DIR.TXT");
    EXPECT_FALSE(checkfileexists(false));
    EXPECT_TRUE(QDir(DataFolder + QStringLiteral("LOG/LOG_DIR.TXT")).exists());
    FileKindName[4] = QStringLiteral("LOG_NEW.TXT");
    EXPECT_TRUE(checkfileexists(true));   // nothing to replace: no question
    // Names are compared exactly: another case is another file here.
    FileKindName[4] = QStringLiteral("log_a.txt");
    EXPECT_TRUE(checkfileexists(true));
}

TEST_F(FileChooser, TheModalChooserReturnsOnceTheUserHasChosen) {
    int calls = 0;
    registerLogWriter({QStringLiteral("x")}, &calls);
    dialogs.expect(QStringLiteral("now saved"));
    QTimer::singleShot(30, [this] {
        auto* w = forms::loaded<frmSavefile>();
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->isVisible());
        click(w, "cmdOK");
    });
    showSaveChooser(4);
    EXPECT_EQ(FileKind, 4);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(SavefileOpen);
    EXPECT_TRUE(QFile::exists(DataFolder + QStringLiteral("LOG/log_xyzxyzxyzxyz.txt")));
}
