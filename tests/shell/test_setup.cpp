// The set-up window as a user meets it: typing into a field and leaving it
// with Tab, clicking the options, saving with the field still focused.
#include "shell/common_tables.h"
#include "shell/frmsetup.h"
#include "shell/frmwelcome.h"
#include "shell/globals.h"
#include "platform/number_text.h"
#include "shell/settings_file.h"
#include "platform/text_file.h"
#include "platform/commport.h"
#include "support/paste.h"
#include "support/test_env.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <csignal>
#include <sys/resource.h>

using namespace dovrane;

namespace {

class SetUpDialog : public test::AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        initcommontables();
        setFileKindPaths();
        RxLatitude = DefaultLatitude;
        RxLongitude = DefaultLongitude;
        for (int i = 1; i <= 31; ++i) Settings[size_t(i)] = defaultSetting(i);
    }

    frmSetUp* open() {
        w = forms::load<frmSetUp>();
        w->show();
        w->activateWindow();
        QApplication::setActiveWindow(w);
        QElapsedTimer t;
        t.start();
        while (!w->isActiveWindow() && t.elapsed() < 2000) pump(5);
        EXPECT_TRUE(w->isActiveWindow());
        return w;
    }

    template <class T = QLineEdit> T* find(const QString& name) const {
        T* c = w->findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name.toStdString();
        return c;
    }

    static void key(QWidget* target, int k, const QString& text = QString()) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier, text);
        QApplication::sendEvent(target, &release);
    }

    // Clicks into the field, clears it and types text, key by key.
    static void type(QWidget* field, const QString& text) {
        field->setFocus(Qt::MouseFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), field);
        if (auto* e = qobject_cast<QLineEdit*>(field)) e->selectAll();
        if (auto* c = qobject_cast<QComboBox*>(field)) c->lineEdit()->selectAll();
        key(field, Qt::Key_Backspace);
        for (QChar ch : text) key(field, ch.toUpper().unicode(), QString(ch));
    }

    // Leaves the focused field with Tab.
    static void tab() { key(QApplication::focusWidget(), Qt::Key_Tab); }

    void typeAndLeave(const QString& field, const QString& text) {
        type(find(field), text);
        tab();
    }

    void chooseReceiver(int type) { find<QAbstractButton>(QStringLiteral("optRxtype_%1").arg(type))->click(); }

    frmSetUp* w = nullptr;
};

struct NumberRow {
    const char* field;
    int frame;       // the receiver frame that holds it (0: a generic field)
    int index;       // Settings index
    const char* low;
    const char* high;
    const char* tooLow;
    const char* tooHigh;
    const char* byDefault;
    const char* message;
    bool focusBack;
};

const char* const kListSize = "Range is between\n1 and 30 (x 1000)";
const char* const kFilter = "Filter number should be\nwithin the range 1 to 6";
const char* const kCorrection = "Frequency error correction\nshould be within the range\n+ 1000 to - 1000 Hz";
const char* const kAgc = "AGC time constant factor\nshould be between 1 and 9";
const char* const kNrbc = "Noise reduction or Beat Canceller effect\nshould be between 0 and 255";
const char* const kLevel = "Level setting should\nbe between 0 and 99";

const NumberRow kNumberRows[] = {
    {"txtDimbdxc", 0, 4, "1", "30", "0", "31", "2", kListSize, true},
    {"txtDimown", 0, 5, "1", "30", "0", "31", "1", kListSize, true},
    {"txtDimlog", 0, 6, "1", "30", "0", "31", "1", kListSize, true},
    {"txtDimilg", 0, 7, "1", "30", "0", "31", "15", kListSize, true},
    {"txtARoptions_0", 1, 14, "1", "6", "0", "7", "1", kFilter, false},
    {"txtARoptions_1", 1, 15, "1", "6", "0", "7", "1", kFilter, false},
    {"txtARoptions_2", 1, 16, "1", "6", "0", "7", "1", kFilter, false},
    {"txtARoptions_3", 1, 17, "1", "6", "0", "7", "1", kFilter, false},
    {"txtLevelL", 1, 28, "0", "99", "-1", "100", "0", kLevel, true},
    {"txtLevelR", 1, 29, "0", "99", "-1", "100", "0", kLevel, true},
    {"txtFreqcorr_0", 3, 20, "-1000", "1000", "-1001", "1000.5", "0", kCorrection, true},
    {"txtFreqcorr_1", 3, 21, "-1000", "1000", "-1000.5", "1001", "0", kCorrection, true},
    {"txtLevel", 3, 31, "0", "99", "-1", "100", "0", kLevel, true},
    {"txtNrbc_0", 4, 26, "0", "255", "-1", "256", "50", kNrbc, false},
    {"txtNrbc_1", 4, 27, "0", "255", "-1", "256", "20", kNrbc, false},
    {"txtAgctc_0", 4, 23, "1", "9", "0", "10", "1", kAgc, false},
    {"txtAgctc_1", 4, 24, "1", "9", "0", "10", "3", kAgc, false},
    {"txtAgctc_2", 4, 25, "1", "9", "0", "10", "9", kAgc, false},
};

} // namespace

TEST_F(SetUpDialog, EveryNumberFieldTakesItsRangeAndPutsItsDefaultBackOutsideIt) {
    open();
    for (const NumberRow& r : kNumberRows) {
        SCOPED_TRACE(r.field);
        const QString name = QString::fromLatin1(r.field);
        chooseReceiver(r.frame);
        QLineEdit* field = find(name);

        for (const char* good : {r.low, r.high}) {
            typeAndLeave(name, QString::fromLatin1(good));
            EXPECT_EQ(Settings[size_t(r.index)], float(val(QString::fromLatin1(good))));
            EXPECT_EQ(field->text(), QString::fromLatin1(good));
            EXPECT_NE(QApplication::focusWidget(), field);
        }
        EXPECT_TRUE(dialogs.shown().isEmpty());

        for (const char* bad : {r.tooLow, r.tooHigh}) {
            SCOPED_TRACE(bad);
            Settings[size_t(r.index)] = -77;
            dialogs.expect(QString::fromLatin1(r.message));
            typeAndLeave(name, QString::fromLatin1(bad));
            EXPECT_EQ(field->text(), QString::fromLatin1(r.byDefault));
            EXPECT_EQ(Settings[size_t(r.index)], float(val(QString::fromLatin1(r.byDefault))));
            ASSERT_EQ(dialogs.shown().size(), 1);
            EXPECT_EQ(dialogs.shown()[0].text, QString::fromLatin1(r.message));
            EXPECT_EQ(dialogs.shown()[0].title, QStringLiteral("Default"));
            EXPECT_EQ(dialogs.shown()[0].icon, dialogs::Icon::Exclamation);
            EXPECT_EQ(dialogs.shown()[0].buttons, dialogs::Buttons::Ok);
            EXPECT_EQ(QApplication::focusWidget() == field, r.focusBack);
            dialogs.clear();
        }
    }
}

TEST_F(SetUpDialog, AnEmptyFieldCountsAsZero) {
    open();
    dialogs.expect(kListSize);
    typeAndLeave(QStringLiteral("txtDimown"), QString());
    EXPECT_EQ(Settings[5], 1.0f);

    chooseReceiver(3);
    typeAndLeave(QStringLiteral("txtFreqcorr_0"), QString());
    typeAndLeave(QStringLiteral("txtLevel"), QString());
    EXPECT_EQ(Settings[20], 0.0f);
    EXPECT_EQ(Settings[31], 0.0f);
    EXPECT_EQ(dialogs.shown().size(), 1);
}

TEST_F(SetUpDialog, TheTimeDifferenceIsWholeOrHalfHoursWithinThirteen) {
    open();
    struct Case { const char* text; float stored; const char* title; };
    const Case cases[] = {
        {"5.25", 5.5f, nullptr},  {"-3.2", -3.5f, nullptr}, {"-13", -13, nullptr}, {"13", 13, nullptr},
        {" 5", 5, nullptr},       {"+2", 2, nullptr},       {"5:30", 5.5f, nullptr}, {"-3:30", -3.5f, nullptr},
        {"13.5", 0, "Default 1"}, {"", 0, "Default 1"},     {"-14", 0, "Default 1"}, {"5a", 0, "Default 2"},
        {"5 ", 0, "Default 2"},   {"5:75", 0, "Default 2"}, {"5:3", 0, "Default 2"},
    };
    QLineEdit* field = find(QStringLiteral("txtLt2utc"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const QString text = QString::fromLatin1(c.text);
        if (c.title) dialogs.expect(QStringLiteral("Range is between\n+13 and -13 h"));
        typeAndLeave(QStringLiteral("txtLt2utc"), text);
        EXPECT_EQ(Settings[3], c.stored);
        if (c.title) {
            ASSERT_EQ(dialogs.shown().size(), 1);
            EXPECT_EQ(dialogs.shown()[0].title, QString::fromLatin1(c.title));
            EXPECT_EQ(field->text(), QStringLiteral("0"));
            EXPECT_EQ(QApplication::focusWidget(), field);
        } else {
            EXPECT_TRUE(dialogs.shown().isEmpty());
            EXPECT_EQ(field->text(), text);   // kept as typed
        }
        dialogs.clear();
    }
}

TEST_F(SetUpDialog, TheDataFolderIsAnAbsolutePathEndingInASlash) {
    const QString before = DataFolder;
    open();
    QLineEdit* field = find(QStringLiteral("txtDirpath"));
    typeAndLeave(QStringLiteral("txtDirpath"), QStringLiteral("/srv/radio data"));
    EXPECT_EQ(field->text(), QStringLiteral("/srv/radio data/"));
    EXPECT_EQ(ConfiguredDataFolder, QStringLiteral("/srv/radio data/"));
    EXPECT_EQ(DataFolder, before);   // in force from the next start

    const QString example = QStringLiteral("Invalid path\nExample ") + defaultDataFolder();
    for (const QString& bad : {QStringLiteral("radio/data/"), QStringLiteral("C:\\ReZeri\\"), QString()}) {
        SCOPED_TRACE(bad.toStdString());
        dialogs.expect(example);
        typeAndLeave(QStringLiteral("txtDirpath"), bad);
        EXPECT_EQ(field->text(), defaultDataFolder());
        EXPECT_EQ(ConfiguredDataFolder, defaultDataFolder());
        EXPECT_EQ(dialogs.shown().last().title, QStringLiteral("Default"));
        EXPECT_EQ(QApplication::focusWidget(), field);
    }
}

TEST_F(SetUpDialog, LatitudeAndLongitudeAreTakenOnlyWhenTheyNameAPlace) {
    open();
    struct Case { const char* field; const char* text; bool ok; };
    const Case cases[] = {
        {"txtRxlatitude", "4852N", true},   {"txtRxlatitude", "0000N", true},  // the equator
        {"txtRxlatitude", "9000S", true},   {"txtRxlatitude", "4852n", false},
        {"txtRxlatitude", "4575N", false},  {"txtRxlatitude", "89.5N", false},
        {"txtRxlatitude", "9001N", false},  {"txtRxlatitude", "485N", false},
        {"txtRxlongitude", "00221E", true}, {"txtRxlongitude", "0221E", true},
        {"txtRxlongitude", "00000W", true}, {"txtRxlongitude", "18000W", true},
        {"txtRxlongitude", "18001W", false}, {"txtRxlongitude", "00260E", false},
        {"txtRxlongitude", "00221w", false}, {"txtRxlongitude", "002210E", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + c.text);
        const bool lat = QByteArray(c.field) == "txtRxlatitude";
        const QString text = QString::fromLatin1(c.text);
        if (!c.ok)
            dialogs.expect(lat ? QStringLiteral("Invalid Latitude\nExample: 5130N")
                               : QStringLiteral("Invalid Longitude\nExample: 00007W"));
        typeAndLeave(QString::fromLatin1(c.field), text);
        const QString stored = lat ? RxLatitude : RxLongitude;
        EXPECT_EQ(stored, c.ok ? text : (lat ? DefaultLatitude : DefaultLongitude));
        EXPECT_EQ(find(QString::fromLatin1(c.field))->text(), stored);
        dialogs.clear();
    }
}

TEST_F(SetUpDialog, ARefusedFieldShowsOneMessageAndTakesTheFocusBackOnce) {
    open();
    // The field the user moves to holds a value it would refuse too; giving
    // the focus back must not set off a check of that one.
    find(QStringLiteral("txtDimown"))->setText(QStringLiteral("0"));
    Settings[5] = 4;
    dialogs.expect(kListSize);
    typeAndLeave(QStringLiteral("txtDimbdxc"), QStringLiteral("99"));
    EXPECT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(QApplication::focusWidget(), find(QStringLiteral("txtDimbdxc")));
    EXPECT_EQ(Settings[4], 2.0f);
    EXPECT_EQ(Settings[5], 4.0f);
}

TEST_F(SetUpDialog, OptionsAndBoxesStoreTheirValueAtOnce) {
    open();
    find<QAbstractButton>(QStringLiteral("optCom_2"))->click();
    find<QAbstractButton>(QStringLiteral("optRxtargetarea_5"))->click();
    EXPECT_EQ(Settings[1], 3.0f);
    EXPECT_EQ(Settings[2], 5.0f);

    struct Box { const char* name; int frame; int index; };
    const Box boxes[] = {{"chkNRDoptions_0", 2, 10}, {"chkNRDoptions_1", 2, 11}, {"chkNRDoptions_2", 2, 12},
                         {"chkNRDoptions_3", 2, 13}, {"chkMute_0", 3, 18},       {"chkMute_1", 3, 19},
                         {"chkDisableLLLR", 1, 22},  {"chkDisableLL", 3, 30}};
    for (const Box& b : boxes) {
        SCOPED_TRACE(b.name);
        chooseReceiver(b.frame);
        auto* box = find<QCheckBox>(QString::fromLatin1(b.name));
        box->click();
        EXPECT_EQ(Settings[size_t(b.index)], 1.0f);
        box->click();
        EXPECT_EQ(Settings[size_t(b.index)], 0.0f);
    }
}

TEST_F(SetUpDialog, TheReceiverTypeIsForTheNextGoAndShowsItsOwnFrame) {
    writeLines(configFilePath(SettingsFileName), {DataFolder, DefaultLatitude, DefaultLongitude, QStringLiteral(" 1")});
    frmWelcome* welcome = forms::load<frmWelcome>();
    ASSERT_EQ(ConfiguredRxType, 1);
    RxType = 1;   // a panel of this type is running
    open();
    auto* lblGo = welcome->findChild<QLabel*>(QStringLiteral("lblGo"));
    ASSERT_NE(lblGo, nullptr);
    for (int type = 0; type <= 4; ++type) {
        chooseReceiver(type);
        EXPECT_EQ(ConfiguredRxType, type);
        EXPECT_EQ(RxType, 1);
        EXPECT_EQ(lblGo->text(), receiverCaption(type));
        EXPECT_EQ(lblGo->palette().color(QPalette::WindowText), receiverColour(type));
        for (int f = 0; f <= 4; ++f)
            EXPECT_EQ(find<QGroupBox>(QStringLiteral("fraRx_%1").arg(f))->isVisible(), f == type) << type << f;
    }
}

TEST_F(SetUpDialog, CloseKeepsWhatWasChangedAndReloadShowsIt) {
    FormLeft[28] = 1500;
    FormTop[28] = 900;
    open();
    chooseReceiver(4);
    typeAndLeave(QStringLiteral("txtDimilg"), QStringLiteral("20"));
    // Close while still in the field: what was typed is kept.
    type(find(QStringLiteral("txtDimlog")), QStringLiteral("7"));
    find<QPushButton>(QStringLiteral("cmdClose"))->click();
    EXPECT_FALSE(SetUpOpen);
    EXPECT_EQ(ConfiguredRxType, 4);
    EXPECT_EQ(Settings[7], 20.0f);
    EXPECT_EQ(Settings[6], 7.0f);
    EXPECT_FALSE(QFile::exists(configFilePath(SettingsFileName)));
    pump();

    open();
    EXPECT_TRUE(find<QAbstractButton>(QStringLiteral("optRxtype_4"))->isChecked());
    EXPECT_EQ(find(QStringLiteral("txtDimilg"))->text(), QStringLiteral(" 20"));
    EXPECT_EQ(find(QStringLiteral("txtAgctc_1"))->text(), QStringLiteral("3"));
    EXPECT_EQ(find(QStringLiteral("txtLevelL"))->text(), QStringLiteral("00"));

    // Reload refills from what is held now and goes back to the stored place.
    Settings[3] = -5.5f;
    Settings[29] = 7;
    w->move(300, 300);
    find<QPushButton>(QStringLiteral("cmdReload"))->click();
    EXPECT_EQ(find(QStringLiteral("txtLt2utc"))->text(), QStringLiteral("-5.5"));
    EXPECT_EQ(find(QStringLiteral("txtLevelR"))->text(), QStringLiteral("07"));
    EXPECT_EQ(w->pos(), QPoint(100, 60));
}

TEST_F(SetUpDialog, SaveWritesWhatIsBeingTypedAndTheNextStartReadsIt) {
    open();
    chooseReceiver(2);
    find<QAbstractButton>(QStringLiteral("optCom_3"))->click();
    find<QCheckBox>(QStringLiteral("chkNRDoptions_1"))->click();
    typeAndLeave(QStringLiteral("txtRxlatitude"), QStringLiteral("4852N"));
    typeAndLeave(QStringLiteral("txtLt2utc"), QStringLiteral("-3:30"));
    typeAndLeave(QStringLiteral("txtDirpath"), DataFolder + QStringLiteral("next"));
    // Still in the field when Save is pressed.
    type(find(QStringLiteral("txtDimlog")), QStringLiteral("25"));
    dialogs.expect(QStringLiteral("New INI data is now saved"));
    find<QPushButton>(QStringLiteral("cmdSave"))->click();
    EXPECT_FALSE(SetUpOpen);
    EXPECT_EQ(dialogs.shown().last().title, QStringLiteral("Save INI"));

    const auto lines = readLines(configFilePath(SettingsFileName));
    ASSERT_TRUE(lines.has_value());
    ASSERT_EQ(lines->size(), 35);
    EXPECT_EQ(lines->at(9), QStringLiteral(" 25"));

    // The next start.
    const QString folder = DataFolder + QStringLiteral("next/");
    resetGlobals();
    ConfigDir = QDir::currentPath();
    EXPECT_TRUE(readSettingsFile());
    EXPECT_EQ(DataFolder, folder);
    EXPECT_EQ(RxType, 2);
    EXPECT_EQ(RxLatitude, QStringLiteral("4852N"));
    EXPECT_EQ(Settings[1], 4.0f);
    EXPECT_EQ(Settings[3], -3.5f);
    EXPECT_EQ(Settings[6], 25.0f);
    EXPECT_EQ(Settings[11], 1.0f);
    EXPECT_EQ(Settings[7], 15.0f);
}

TEST_F(SetUpDialog, SaveWithARefusedValueStillBeingTypedWritesNothingYet) {
    open();
    type(find(QStringLiteral("txtDimbdxc")), QStringLiteral("45"));
    dialogs.expect(kListSize);
    find<QPushButton>(QStringLiteral("cmdSave"))->click();
    EXPECT_TRUE(SetUpOpen);
    EXPECT_FALSE(QFile::exists(configFilePath(SettingsFileName)));
    EXPECT_EQ(Settings[4], 2.0f);
}

TEST_F(SetUpDialog, AFailedSaveSaysSoStaysOpenAndLeavesTheOldFileWhole) {
    writeDataFile(SettingsFileName, "old settings\r\n");
    open();
    typeAndLeave(QStringLiteral("txtDimbdxc"), QStringLiteral("9"));

    // A settings folder that cannot be made.
    writeDataFile(QStringLiteral("blocker"), "a file where a folder should be");
    ConfigDir = DataFolder + QStringLiteral("blocker/");
    dialogs.expect(QStringLiteral("The settings could not be saved to\n") + DataFolder +
                   QStringLiteral("blocker/dovrane2.ini"));
    find<QPushButton>(QStringLiteral("cmdSave"))->click();
    EXPECT_TRUE(SetUpOpen);
    EXPECT_EQ(dialogs.shown().last().title, QStringLiteral("Save INI"));

    // A disk that fills up halfway.
    ConfigDir = DataFolder;
    dialogs.expect(QStringLiteral("The settings could not be saved"));

    // Tests run as root, where permissions refuse nothing: a file-size limit does.
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 40;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    find<QPushButton>(QStringLiteral("cmdSave"))->click();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_TRUE(SetUpOpen);
    EXPECT_EQ(readDataFile(SettingsFileName), QByteArray("old settings\r\n"));
    for (const auto& box : dialogs.shown()) EXPECT_FALSE(box.text.contains(QStringLiteral("now saved")));
}

TEST_F(SetUpDialog, APastedLineBreakIsRefusedByEveryFieldAndNeverReachesTheFiles) {
    open();
    const struct {
        const char* field;
        int frame;
        QString pasted;
        QString message;
        const char* title;
        const char* byDefault;
    } cases[] = {
        {"txtDimlog", 0, QStringLiteral("5\r\n9"), QString::fromLatin1(kListSize), "Default", "1"},
        {"txtDimilg", 0, QStringLiteral("\t20"), QString::fromLatin1(kListSize), "Default", "15"},
        {"txtARoptions_2", 1, QStringLiteral("3\n"), QString::fromLatin1(kFilter), "Default", "1"},
        {"txtFreqcorr_1", 3, QStringLiteral("12\r"), QString::fromLatin1(kCorrection), "Default", "0"},
        {"txtNrbc_0", 4, QStringLiteral("60\u2028"), QString::fromLatin1(kNrbc), "Default", "50"},
        {"txtLt2utc", 0, QStringLiteral("2\r\n"), QStringLiteral("Range is between\n+13 and -13 h"), "Default 2", "0"},
        {"txtRxlatitude", 0, QStringLiteral("4852N\r\n"), QStringLiteral("Invalid Latitude\nExample: 5130N"),
         "Default", "5130N"},
        {"txtDirpath", 0, DataFolder + QStringLiteral("a\r\nb/"),
         QStringLiteral("Invalid path\nExample ") + defaultDataFolder(), "Default", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        chooseReceiver(c.frame);
        QLineEdit* field = find(QString::fromLatin1(c.field));
        field->setFocus(Qt::MouseFocusReason);
        test::pasteInto(field, c.pasted);
        dialogs.expect(c.message);
        tab();
        ASSERT_EQ(dialogs.shown().size(), 1);
        EXPECT_EQ(dialogs.shown()[0].title, QLatin1String(c.title));
        EXPECT_EQ(field->text(), c.byDefault ? QString::fromLatin1(c.byDefault) : defaultDataFolder());
        dialogs.clear();
    }

    auto* device = find<QComboBox>(QStringLiteral("cmbComDevice"));
    find<QAbstractButton>(QStringLiteral("optCom_2"))->click();
    device->setFocus(Qt::MouseFocusReason);
    test::pasteInto(device, QStringLiteral("/dev/tty\nUSB0"));
    dialogs.expect(QStringLiteral("Invalid device"));
    tab();
    EXPECT_EQ(serialDeviceForPort(DataFolder, 3), QStringLiteral("/dev/ttyS2"));
    EXPECT_FALSE(QFile::exists(DataFolder + QStringLiteral("serialports.ini")));

    // What is saved is what the fields show, and the next start reads it back.
    const auto shown = Settings;
    const QString latitude = RxLatitude;
    dialogs.expect(QStringLiteral("New INI data is now saved"));
    find<QPushButton>(QStringLiteral("cmdSave"))->click();
    const auto lines = readLines(configFilePath(SettingsFileName));
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(lines->size(), 35);
    resetGlobals();
    ConfigDir = QDir::currentPath();
    EXPECT_TRUE(readSettingsFile());
    EXPECT_TRUE(settingsNotUnderstood().isEmpty()) << settingsNotUnderstood().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(RxLatitude, latitude);
    EXPECT_EQ(DataFolder, defaultDataFolder());
    for (int i = 1; i <= 31; ++i) EXPECT_EQ(Settings[size_t(i)], shown[size_t(i)]) << i;
}

TEST_F(SetUpDialog, ThePortsDeviceIsShownAndKeptForThatPort) {
    open();
    auto* device = find<QComboBox>(QStringLiteral("cmbComDevice"));
    find<QAbstractButton>(QStringLiteral("optCom_2"))->click();
    EXPECT_EQ(device->currentText(), QStringLiteral("/dev/ttyS2"));

    type(device, QStringLiteral("/dev/ttyUSB7"));
    tab();
    EXPECT_EQ(serialDeviceForPort(DataFolder, 3), QStringLiteral("/dev/ttyUSB7"));
    const auto lines = readLines(DataFolder + QStringLiteral("serialports.ini"));
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(lines->size(), 5);

    find<QAbstractButton>(QStringLiteral("optCom_0"))->click();
    EXPECT_EQ(device->currentText(), QStringLiteral("/dev/ttyS0"));
    find<QAbstractButton>(QStringLiteral("optCom_2"))->click();
    EXPECT_EQ(device->currentText(), QStringLiteral("/dev/ttyUSB7"));

    // An emptied device is not stored.
    dialogs.expect(QStringLiteral("Invalid device"));
    type(device, QString());
    tab();
    EXPECT_EQ(device->currentText(), QStringLiteral("/dev/ttyUSB7"));
    EXPECT_EQ(serialDeviceForPort(DataFolder, 3), QStringLiteral("/dev/ttyUSB7"));
}

namespace {

// A device path longer than the box shows from its start, whichever way the
// box got it (the port chosen, a device picked from the list); the tip holds
// the whole path.
TEST_F(SetUpDialog, ALongDevicePathShowsFromItsStart) {
    const QString longPath = QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
    const QString otherPath = QStringLiteral("/dev/serial/by-path/pci-0000:00:14.0-usb-0:2.4:1.0-port0");
    ASSERT_TRUE(setSerialDeviceForPort(DataFolder, 1, longPath));
    ASSERT_TRUE(setSerialDeviceForPort(DataFolder, 2, otherPath));
    open();
    auto* device = find<QComboBox>(QStringLiteral("cmbComDevice"));
    QLineEdit* edit = device->lineEdit();
    ASSERT_TRUE(edit);
    const struct {
        const char* button;
        QString path;
    } rows[] = {{"optCom_1", otherPath}, {"optCom_0", longPath}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.button);
        find<QAbstractButton>(QLatin1String(row.button))->click();
        pump();
        ASSERT_EQ(device->currentText(), row.path);
        ASSERT_GT(QFontMetrics(edit->font()).horizontalAdvance(row.path), edit->width()) << "longer than the box";
        EXPECT_EQ(edit->cursorPosition(), 0);
        // The text is drawn from its start: the cursor before its first
        // character stands at the box's left edge.
        EXPECT_LT(edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().left(), QFontMetrics(edit->font()).horizontalAdvance(QLatin1Char('/')) + 8);
        EXPECT_EQ(device->toolTip(), row.path);
    }
}

} // namespace

