#include "shell/common_tables.h"
#include "shell/globals.h"
#include "stations/dbase_writer.h"
#include "stations/frmconvertaero.h"
#include "stations/frmconvertilg.h"
#include "stations/frmilgfinddbf.h"
#include "support/test_env.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace dovrane;
using namespace dovrane::test;

namespace {

DbfRow station(int kHz, const char* name) {
    DbfRow r;
    r.values = {QByteArray::number(kHz), "0000-0100", "", name, "EU", "English", "100", "5130N", "00012W"};
    return r;
}

class ConvertWindowsTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        initcommontables();
        setFileKindPaths();
        source = DataFolder + QStringLiteral("source/");
        QDir().mkpath(source);
    }
    // Runs events until the window has finished converting.
    template <class W> void waitWhileConverting(W* window) {
        QPointer<W> w(window);
        for (int i = 0; i < 1000 && w && w->isLoaded() && w->converting(); ++i) pump(5);
    }
    template <class W> void pickInFinder(W* conv, const QString& file) {
        // The finder is modal: it is worked from a queued call inside its loop.
        QTimer::singleShot(0, [file, this] {
            frmILGfinddbf* f = forms::loaded<frmILGfinddbf>();
            ASSERT_NE(f, nullptr);
            f->setFolder(source);
            f->selectFile(file);
            f->cmdOK_Click();
        });
        conv->cmdLocate_Click();
    }
    QString ftl(const QString& name) const { return QString::fromLatin1(readDataFile(QStringLiteral("RX2DB/") + name)); }
    QString source;
};

} // namespace

TEST_F(ConvertWindowsTest, BroadcastTableFoundConvertedAndWrittenInOrder) {
    std::vector<DbfRow> rows;
    for (int i = 0; i < 450; ++i) rows.push_back(station(9000 - i, "Station"));
    rows.push_back(station(5000, "Estimated"));
    rows.back().values[2] = "E";
    ASSERT_TRUE(writeFile(source + QStringLiteral("ilgadata.DBF"), makeDbf(broadcastFields(), rows)));

    frmConvertILG* w = forms::load<frmConvertILG>();
    EXPECT_EQ(FindSourceKind, 1);
    EXPECT_FALSE(w->findChild<QWidget*>(QStringLiteral("fraConnect"))->isEnabled());
    pickInFinder(w, QStringLiteral("ilgadata.DBF"));
    EXPECT_TRUE(w->findChild<QAbstractButton*>(QStringLiteral("optDbconnect_1"))->isChecked());
    EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("lblRecord"))->text(),
              QStringLiteral("ILGRadio LW/MW database connected, conversion can be started."));

    dialogs.expect(QStringLiteral("Conversion ready"));
    w->cmdConvert_Click();
    EXPECT_FALSE(w->findChild<QWidget*>(QStringLiteral("cmdExit"))->isEnabled());
    w->cmdConvert_Click();   // a second click while running starts nothing
    waitWhileConverting(w);
    EXPECT_FALSE(ConvertILGOpen);
    const QStringList lines = ftl(QStringLiteral("ILGADATA.ftl")).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 450);
    EXPECT_TRUE(lines.first().startsWith(QStringLiteral("08551.00 0000-0100 Station")));
    EXPECT_TRUE(lines.last().startsWith(QStringLiteral("09000.00")));
}

TEST_F(ConvertWindowsTest, StopAndCloseKeepWhatWasConverted) {
    std::vector<DbfRow> rows;
    for (int i = 0; i < 20000; ++i) rows.push_back(station(6000 + i, "S"));
    ASSERT_TRUE(writeFile(source + QStringLiteral("ILGSDATA.dbf"), makeDbf(broadcastFields(), rows)));
    FileKindPath[0] = source;
    for (bool byClose : {false, true}) {
        QPointer<frmConvertILG> w = forms::load<frmConvertILG>();
        w->enableConnect();
        w->selectConnect(2);
        dialogs.expect(QStringLiteral("Conversion ready"));
        w->cmdConvert_Click();
        pump(0);
        ASSERT_TRUE(w && w->converting());
        if (byClose) w->close();
        else w->cmdStop_Click();
        waitWhileConverting(w.data());
        EXPECT_FALSE(ConvertILGOpen) << byClose;
        const int n = int(ftl(QStringLiteral("ILGSDATA.ftl")).count(QStringLiteral("\r\n")));
        EXPECT_GT(n, 0) << byClose;
        EXPECT_LT(n, 20000) << byClose;
        pump(0);
    }
}

TEST_F(ConvertWindowsTest, TablesThatCannotBeReadAreTold) {
    FileKindPath[0] = source;
    ASSERT_TRUE(writeFile(source + QStringLiteral("ILGADATA.dbf"), QByteArray("not a table at all, only text")));
    writeDataFile(QStringLiteral("RX2DB/ILGADATA.ftl"), "good old list\r\n");
    frmConvertILG* w = forms::load<frmConvertILG>();
    w->enableConnect();
    for (int option : {1, 2}) {   // garbage, then no file at all
        dialogs.expect(QStringLiteral("Could not connect to database"));
        w->selectConnect(option);
        EXPECT_TRUE(w->findChild<QAbstractButton*>(QStringLiteral("optDbconnect_0"))->isChecked());
        EXPECT_FALSE(w->findChild<QWidget*>(QStringLiteral("cmdConvert"))->isEnabled());
    }
    EXPECT_EQ(dialogs.shown().last().title, QStringLiteral("Error"));
    EXPECT_EQ(dialogs.shown().last().icon, dialogs::Icon::Critical);
    EXPECT_EQ(readDataFile(QStringLiteral("RX2DB/ILGADATA.ftl")), QByteArray("good old list\r\n"));
}

TEST_F(ConvertWindowsTest, AeroListBothForms) {
    QFile f(source + QStringLiteral("AeroList.txt"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Header\r\n02851.0 xxxxxxxxNAT-A Family A          Gander\r\n02851.0 yyyyyyyyNAT-A Family A          Shanwick\r\n");
    f.close();
    for (int type : {0, 1}) {
        frmConvertAero* w = forms::load<frmConvertAero>();
        EXPECT_EQ(FindSourceKind, 2);
        pickInFinder(w, QStringLiteral("AeroList.txt"));
        EXPECT_TRUE(w->findChild<QAbstractButton*>(QStringLiteral("optDbconnect_1"))->isChecked());
        w->findChild<QAbstractButton*>(QStringLiteral("optDbtype_%1").arg(type))->setChecked(true);
        dialogs.expect(QStringLiteral("Conversion ready"));
        w->cmdConvert_Click();
        waitWhileConverting(w);
        EXPECT_FALSE(ConvertAeroOpen);
        pump(0);
    }
    EXPECT_EQ(ftl(QStringLiteral("aero.ftl")),
              QStringLiteral("02851.0 xxxxxxxxNAT-A Family A          Gander\r\n02851.0 yyyyyyyyNAT-A Family A          Shanwick\r\n"));
    EXPECT_EQ(ftl(QStringLiteral("aero2.ftl")), QStringLiteral("02851.0         NAT-A Family A        \r\n"));
}

TEST_F(ConvertWindowsTest, ASourceThatGivesNoLineLeavesTheListAsItWas) {
    const QByteArray oldList = "06195.00 0500-0700 Good old station\r\n";
    std::vector<DbfRow> noTimes{station(6195, "No time"), station(7200, "No time")};
    for (DbfRow& r : noTimes) r.values[1] = "n/a";
    const QByteArray otherTable = makeDbf({{"CALL", 'C', 8}, {"FREQ", 'N', 9, 2}, {"NAME", 'C', 20}},
                                          {{{"G3ABC", "7050", "Someone"}}});
    const QByteArray noise = "\x01\x02garbage\x7f\xff\r\nnot an aero list\r\n12 short\r\n";
    struct Case {
        int dbtype;          // -1 the broadcast window, else the aero window's optDbtype
        const char* source;  // the file the user picks
        QByteArray data;
        const char* list;    // the list it would replace
        bool oldThere;
        QString told;        // the one box that follows
    } cases[] = {
        {-1, "ILGADATA.dbf", otherTable, "ILGADATA.ftl", true,
         QStringLiteral("The table ILGADATA lacks the fields the conversion reads:\nUTC, STATUS, STATION, TARGET, "
                        "LANGUAGE, POWER, LATI, LONGI, NA, CA, SA, EU, AF, ME, AS, AU, PA, COUNTRY, LOCATION")},
        {-1, "ILGSDATA.dbf", makeDbf(broadcastFields(), noTimes), "ILGSDATA.ftl", true,
         QStringLiteral("No station line was converted.\nILGSDATA.ftl was kept as it was.")},
        {0, "aerolist.txt", noise, "aero.ftl", true, QStringLiteral("No station line was converted.\naero.ftl was kept")},
        {1, "aerolist.txt", noise, "aero2.ftl", false, QStringLiteral("No station line was converted.\naero2.ftl was not")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list);
        const QString list = QStringLiteral("RX2DB/") + QLatin1String(c.list);
        QFile::remove(DataFolder + list);
        if (c.oldThere) writeDataFile(list, oldList);
        ASSERT_TRUE(writeFile(source + QLatin1String(c.source), c.data));
        dialogs.clear();
        dialogs.expect(c.told);
        QPointer<ConvertWindow> w;
        if (c.dbtype < 0) {
            auto* ilg = forms::load<frmConvertILG>();
            w = ilg;
            pickInFinder(ilg, QLatin1String(c.source));
        } else {
            auto* aero = forms::load<frmConvertAero>();
            w = aero;
            pickInFinder(aero, QLatin1String(c.source));
            aero->findChild<QAbstractButton*>(QStringLiteral("optDbtype_%1").arg(c.dbtype))->setChecked(true);
        }
        auto* convert = w->findChild<QAbstractButton*>(QStringLiteral("cmdConvert"));
        if (convert->isEnabled()) {
            convert->click();
            waitWhileConverting(w.data());
        } else {
            // Refused at connecting: nothing to convert, the window stays for another try.
            EXPECT_TRUE(w->findChild<QAbstractButton*>(QStringLiteral("optDbconnect_0"))->isChecked());
            w->cmdExit_Click();
        }
        pump(0);
        ASSERT_EQ(dialogs.shown().size(), 1);
        EXPECT_TRUE(dialogs.shown().first().text.startsWith(c.told)) << dialogs.shown().first().text.toStdString();
        EXPECT_FALSE(w && w->isLoaded());
        if (c.oldThere) EXPECT_EQ(readDataFile(list), oldList);
        else EXPECT_FALSE(QFile::exists(DataFolder + list));
    }
}

TEST_F(ConvertWindowsTest, TheFinderTreeOpensAtTheFolderItLists) {
    const QString deep = QDir::cleanPath(source + QStringLiteral("tables/ilg"));
    QDir().mkpath(deep);
    ASSERT_TRUE(writeFile(deep + QStringLiteral("/ILGSDATA.dbf"), makeDbf(broadcastFields(), {station(6195, "A")})));
    ASSERT_TRUE(writeFile(DataFolder + QStringLiteral("aerolist.txt"), "Header\r\n"));
    struct Case {
        int kind;              // FindSourceKind
        QString remembered;    // FileKindPath(0) when the finder opens
        QString opensAt;
        const char* listed;    // the file the list shows there
    } cases[] = {{1, deep + QLatin1Char('/'), deep, "ILGSDATA.dbf"},
                 {2, DataFolder, QDir::cleanPath(DataFolder), "aerolist.txt"},
                 {1, source + QStringLiteral("gone/"), QDir::cleanPath(QDir::homePath()), nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.remembered.toStdString());
        FindSourceKind = c.kind;
        FileKindPath[0] = c.remembered;
        frmILGfinddbf* f = forms::load<frmILGfinddbf>();
        f->show();
        auto* tree = f->findChild<QTreeView*>(QStringLiteral("dirILG"));
        auto* dirs = qobject_cast<QFileSystemModel*>(tree->model());
        ASSERT_NE(dirs, nullptr);
        // The folders' listings come in from the model's own thread, and each may move the rows.
        for (int i = 0; i < 40; ++i) pump(10);
        EXPECT_EQ(f->folder(), c.opensAt);
        if (c.listed) {
            EXPECT_EQ(f->files(), QStringList{QLatin1String(c.listed)});
        }
        const QModelIndex at = dirs->index(c.opensAt);
        ASSERT_TRUE(at.isValid());
        EXPECT_EQ(dirs->filePath(tree->currentIndex()), c.opensAt);
        for (QModelIndex p = at.parent(); p.isValid(); p = p.parent())
            EXPECT_TRUE(tree->isExpanded(p)) << dirs->filePath(p).toStdString();
        const QRect shown = tree->visualRect(at);
        EXPECT_TRUE(shown.isValid() && tree->viewport()->rect().contains(shown.center()));
        f->unload();
    }
}
