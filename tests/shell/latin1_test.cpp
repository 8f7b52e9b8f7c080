// The files hold one byte a character (Latin-1): text that Latin-1 cannot hold
// is refused, by name, where it is typed or when it is saved, and never
// written as something else under a "saved" notice.
#include "lists/frmscratchpad.h"
#include "platform/text_file.h"
#include "shell/common_tables.h"
#include "shell/file_kinds.h"
#include "shell/frmsavefile.h"
#include "shell/globals.h"
#include "support/test_env.h"

#include <QFile>
#include <QPushButton>
#include <QTableWidget>

namespace dovrane::test {
namespace {

class Latin1Files : public AppTest {
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
    static void click(QWidget* w, const char* name) { w->findChild<QPushButton*>(QLatin1String(name))->click(); }
};

TEST_F(Latin1Files, AWriteHoldingCharactersLatin1CannotHoldIsRefusedByName) {
    const QString path = dataPath(QStringLiteral("kept.txt"));
    writeDataFile(QStringLiteral("kept.txt"), "old\r\n");
    struct Case {
        QString text;
        QString named;   // the characters the refusal names; empty: written
    } cases[] = {
        {QStringLiteral("Zürich 6000 ÿ"), QString()},
        {QString::fromUtf8("Москва 9500"), QString::fromUtf8("М о с к в а")},
        {QString::fromUtf8("9500 kHz – € "), QString::fromUtf8("– €")},
        {QString::fromUtf8("😀 7100"), QString::fromUtf8("😀")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        QString error;
        const bool written = writeLines(path, {QStringLiteral("first"), c.text}, &error);
        EXPECT_EQ(written, c.named.isEmpty());
        if (written) {
            EXPECT_EQ(readLines(path), (QStringList{QStringLiteral("first"), c.text}));
            writeDataFile(QStringLiteral("kept.txt"), "old\r\n");
        } else {
            EXPECT_TRUE(error.endsWith(c.named)) << error.toStdString();
            EXPECT_EQ(lastWriteError(), error);
            EXPECT_EQ(readDataFile(QStringLiteral("kept.txt")), QByteArray("old\r\n")) << "the old file stays whole";
        }
    }
}

TEST_F(Latin1Files, TheScratchpadRefusesSuchCharactersAsTheyAreTypedAndSavesWhatItShows) {
    frmScratchpad* w = forms::load<frmScratchpad>();
    dialogs.expect(QString::fromUtf8("cannot be stored in the file: М о с к в а"));
    w->grid()->setCurrentCell(0, 0);
    w->grid()->item(0, 0)->setText(QString::fromUtf8("Москва 9500"));
    EXPECT_EQ(w->grid()->item(0, 0)->text(), QStringLiteral(" 9500"));
    w->grid()->item(0, 1)->setText(QStringLiteral("Zürich"));

    dialogs.expect(QStringLiteral("The data is now saved"));
    FileKind = 9;
    click(forms::load<frmSavefile>(), "cmdOK");
    EXPECT_TRUE(readDataFile(QStringLiteral("FSP/fsp_xyzxyzxyzxyz.txt")).startsWith(" 9500,Z\xfcrich,,,,,,,\r\n"));
}

TEST_F(Latin1Files, ASaveThatCannotBeStoredSaysWhichCharactersAndIsNotReportedAsSaved) {
    int calls = 0;
    registerWriter(4, [&calls] {
        ++calls;
        return writeLines(FileKindPath[4] + FileKindName[4], {QString::fromUtf8("Москва 9500")});
    });
    FileKind = 4;
    frmSavefile* w = forms::load<frmSavefile>();
    dialogs.expect(QString::fromUtf8("PLEASE TRY AGAIN\n\nThese characters cannot be stored in the file: М о с к в а"));
    click(w, "cmdOK");
    EXPECT_EQ(calls, 1);
    for (const dialogs::Box& b : dialogs.shown()) EXPECT_FALSE(b.text.contains(QStringLiteral("saved")));
    EXPECT_FALSE(QFile::exists(FileKindPath[4] + QStringLiteral("log_xyzxyzxyzxyz.txt")));
    EXPECT_TRUE(FileKindName[4].isEmpty()) << "the kind keeps no name of a file never written";
}

} // namespace
} // namespace dovrane::test
