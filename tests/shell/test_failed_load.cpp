// A file the load chooser hands to a loader that does not take it (it cannot
// be read, or the loader refuses what it holds) leaves the kind's file name as
// it was: a later save goes to the file the window still shows, never to the
// one that failed.
#include "drivers/model_tables.h"
#include "lists/frm320files.h"
#include "lists/frmbdxc.h"
#include "lists/frmown.h"
#include "lists/frmscratchpad.h"
#include "logbook/frmlog.h"
#include "logbook/log_record.h"
#include "memories/frmmemman.h"
#include "scanning/frmprop2prt2.h"
#include "scanning/frmpropagation.h"
#include "scanning/frmscanlist.h"
#include "scanning/frmscanpairs.h"
#include "scanning/frmspectrum.h"
#include "scanning/register_recorders.h"
#include "shell/common_tables.h"
#include "shell/file_kinds.h"
#include "shell/frmloadfile.h"
#include "shell/globals.h"
#include "stations/frmaero2rx.h"
#include "stations/frmilg2rx.h"
#include "stations/frmtracking.h"
#include "stations/register_stations.h"
#include "support/test_env.h"

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <functional>

namespace dovrane::test {
namespace {

class FailedLoad : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        initcommontables();
        setFileKindPaths();
        for (int i = 4; i <= 7; ++i) Settings[size_t(i)] = 1;
        registerStationWindows();
        registerRecorderWindows();
        LogRecords.clear();
        LogBeyond.clear();
        LogLast = -1;
    }
    void TearDown() override {
        forms::destroyAll();
        clearFileKindHandlers();
        AppTest::TearDown();
        LogRecords.clear();
        LogBeyond.clear();
        LogLast = -1;
    }
};

struct Row {
    const char* loader;
    int kind;
    int subKind;
    const char* file;          // in the kind's folder
    const char* content;       // nullptr: the file is gone by the time OK is pressed
    const char* told;          // a part of the box the loader shows
    std::function<Form*()> open;
};

template <class W> std::function<Form*()> opens() {
    return [] { return static_cast<Form*>(forms::load<W>()); };
}

TEST_F(FailedLoad, AFileTheLoaderDidNotTakeLeavesTheKindsNameAsItWas) {
    const Row rows[] = {
        {"BDXC list", 1, 0, "BDX_NEWTOE.TXT", nullptr, "could not be read", opens<frmBdxc>()},
        {"own list", 2, 0, "OWN_NEW.TXT", nullptr, "could not be read", opens<frmOwn>()},
        {"ILG list", 3, 1, "ILGNEW.FTL", nullptr, "could not be read", opens<frmIlg2rx>()},
        {"aero list", 3, 2, "AERONEW.FTL", nullptr, "could not be read", opens<frmAero2rx>()},
        {"log", 4, 0, "LOG_NEW.TXT", nullptr, "could not be read", opens<frmLog>()},
        {"tracking list", 5, 0, "ILGNEW.FTL", nullptr, "could not be read", opens<frmTracking>()},
        {"spectrum, unreadable", 6, 0, "SAN_NEW.TXT", nullptr, "could not be read", opens<frmSpectrum>()},
        {"spectrum, limits refused", 6, 0, "SAN_NEW.TXT", "title\r\n9900\r\n9500\r\n5\r\n1\r\n010\r\n020\r\n",
         "Input ERROR", opens<frmSpectrum>()},
        {"propagation", 7, 0, "PAN_NEW.TXT", nullptr, "could not be read", opens<frmPropagation>()},
        {"memory, unreadable", 8, 0, "MEM_3NEW.TXT", nullptr, "could not be read", opens<frmMemman>()},
        {"memory, no record in it", 8, 0, "MEM_3NEW.TXT", "no memory here\r\n", "MEM_3NEW.TXT",
         opens<frmMemman>()},
        {"scratchpad", 9, 0, "FSP_NEW.TXT", nullptr, "could not be read", opens<frmScratchpad>()},
        {".320 list", 10, 0, "NEW.320", nullptr, "could not be read", opens<frm320Files>()},
        {"scan list", 11, 0, "SFL_NEW.TXT", nullptr, "could not be read", opens<frmScanlist>()},
        {"scan pairs", 12, 0, "SFP_NEW.TXT", nullptr, "could not be read", opens<frmScanpairs>()},
        {"propagation print", 14, 0, "PAN_NEW.TXT", nullptr, "could not be read", opens<frmProp2prt2>()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.loader);
        // The memory file's name carries the receiver's digit.
        RxType = row.kind == 8 ? 3 : 0;
        if (RxType == 3) initrx320tables();
        const QString old = row.kind == 8 ? QStringLiteral("MEM_3OLD.TXT") : QStringLiteral("OLD_LOADED.TXT");
        FileKindName[size_t(row.kind)] = old;
        Form* window = row.open();
        ASSERT_TRUE(window && window->isLoaded());

        const QString name = QString::fromLatin1(row.file);
        const QString path = FileKindPath[size_t(row.kind)] + name;
        writeDataFile(FileKindDir[size_t(row.kind)] + name, row.content ? QByteArray(row.content) : "x\r\n");
        FileKind = row.kind;
        FileSubKind = row.subKind;
        frmLoadfile* chooser = forms::load<frmLoadfile>();
        auto* list = chooser->findChild<QListWidget*>(QStringLiteral("list"));
        const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        list->setCurrentItem(found.front());
        // Gone between the listing and OK, as on a disk taken away.
        if (!row.content) {
            ASSERT_TRUE(QFile::remove(path));
        }
        if (row.kind == 8) dialogs.expect(QStringLiteral("Are sure you want to load the file"), dialogs::Answer::Yes);
        dialogs.expect(QString::fromLatin1(row.told));
        chooser->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        EXPECT_EQ(dialogs.pending(), 0);
        EXPECT_FALSE(LoadfileOpen);
        EXPECT_EQ(FileKindName[size_t(row.kind)], old);

        if (row.kind == 6) {
            // A refused spectrum file takes no name label and no colour.
            EXPECT_EQ(SpecFileSlot, 0);
            for (int i = 0; i < 4; ++i)
                EXPECT_TRUE(window->findChild<QLabel*>(QStringLiteral("lblDBname_%1").arg(i))->text().isEmpty());
        }
        if (row.kind == 7) {
            // Nor does a propagation file that could not be read.
            for (int i = 0; i < 4; ++i)
                EXPECT_TRUE(window->findChild<QLabel*>(QStringLiteral("lblPropfiles_%1").arg(i))->text().isEmpty());
        }
        if (row.kind == 4) {
            // The log's Save asks about, and writes, the file the log came from.
            dialogs.expect(QStringLiteral("File OLD_LOADED.TXT already exist."), dialogs::Answer::Yes);
            dialogs.expect(QStringLiteral("to the file OLD_LOADED.TXT"));
            EXPECT_TRUE(static_cast<frmLog*>(window)->cmdSave_Click());
            EXPECT_TRUE(QFile::exists(FileKindPath[4] + old));
            EXPECT_FALSE(QFile::exists(path));
        }
        window->unload();
        dialogs.clear();
    }
}

} // namespace
} // namespace dovrane::test
