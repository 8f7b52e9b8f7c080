// The propagation print form: the address file, the graph of a loaded file
// (its limits, time marks and midnight), Cls, and the page printed to PDF.
#include "panels/tool_windows.h"
#include "platform/canvas.h"
#include "scanning/frmprop2prt2.h"
#include "scanning/propagation_file.h"
#include "shell/globals.h"
#include "support/test_env.h"

#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace dovrane::test {
namespace {

class PrintForm : public AppTest {
protected:
    frmProp2prt2* open() {
        FileKindPath[Prop2prtKind] = DataFolder + QStringLiteral("PAN/");
        toolWindowOpener(QStringLiteral("frmProp2prt2"))();
        return forms::loaded<frmProp2prt2>();
    }
    static QColor at(frmProp2prt2* w, int x, int y) { return QColor(w->page()->image().pixel(x, y)); }
    static QString run(const QString& program, const QStringList& args) {
        QProcess p;
        p.start(program, args);
        p.waitForFinished(20000);
        return QString::fromUtf8(p.readAllStandardOutput());
    }
};

TEST_F(PrintForm, AddressFileFillsNineFieldsAtMost) {
    const struct {
        const char* content;   // nullptr: no file
        const char* receiver;
        const char* email;
    } cases[] = {
        {nullptr, "", ""},
        {"RX\r\nWire\r\nHome\r\n", "RX", ""},
        {"RX\r\nA\r\nL\r\nN\r\nAd\r\nC\r\nZ\r\nCo\r\nme@x.nl\r\nextra\r\n", "RX", "me@x.nl"},
    };
    for (const auto& c : cases) {
        if (c.content) writeDataFile(QStringLiteral("prop2prt.ini"), c.content);
        frmProp2prt2* w = open();
        ASSERT_TRUE(w);
        EXPECT_EQ(w->txtdat(3)->text(), QLatin1String(c.receiver));
        EXPECT_EQ(w->txtdat(11)->text(), QLatin1String(c.email));
        w->unload();
        forms::collect();
    }
}

TEST_F(PrintForm, GraphLimitsTimeMarksAndMidnight) {
    // First line 23:50 (a multiple of ten, but the first: no mark), a flat
    // group, midnight, and minute 148 after the first.
    writeDataFile(QStringLiteral("PAN/PAN_NIGHT.TXT"),
                  "7 Mar 2004  23:50 UTC\r\n9580.000\r\nTest station\r\n"
                  "23:50 090 090 090 090 090 090 090 090\r\n"
                  "23:51 090 090 050 130 090 090 090 090\r\n"
                  "23:52 000 000 090 090 090 090 090 090\r\n"
                  "23:53 000 999 090 090 090 090 090 090\r\n"
                  "00:00 050 130 050 130 050 130 050 130\r\n"
                  "02:18 090 130 090 130 090 130 090 130\r\n");
    frmProp2prt2* w = open();
    ASSERT_TRUE(w);
    FileKindName[Prop2prtKind] = QStringLiteral("PAN_NIGHT.TXT");
    w->loadprop2prtfile();
    EXPECT_EQ(w->txtdat(0)->text(), QStringLiteral("Test station"));
    EXPECT_EQ(w->txtdat(1)->text(), QStringLiteral("9580.000"));
    EXPECT_EQ(w->txtdat(2)->text(), QStringLiteral("7 Mar 2004  23:50 UTC"));
    const QColor black(Qt::black), white(Qt::white);
    const struct {
        int x, y;
        QColor colour;
        const char* why;
    } probes[] = {
        {120, 456, black, "first line, S9"},
        {120, 400, white, "no mark on the first line"},
        {124, 457, black, "a flat group is lowered by 0.2"},
        {125, 440, black, "S5 to S9+24 at 23:51, group 1"},
        {128, 529, black, "a flat group at 0 reaches below the base line"},
        {128, 531, white, "...by 0.2 S units only"},
        {132, 351, black, "a level above the graph ends at its top row"},
        {132, 349, white, "...and not beyond it"},
        {160, 400, black, "time mark at 00:00, after midnight"},
        {161, 440, black, "group 1 of 00:00"},
        {712, 440, black, "group 0 of minute 148"},
        {713, 440, white, "group 1 of minute 148 left out"},
        {400, 360, black, "grid S9+72"},
    };
    for (const auto& p : probes) EXPECT_EQ(at(w, p.x, p.y), p.colour) << p.why;

    w->cmdCls_Click();
    EXPECT_TRUE(w->txtdat(0)->text().isEmpty());
    EXPECT_EQ(at(w, 160, 400), white);
    EXPECT_EQ(at(w, 161, 440), white);
    EXPECT_EQ(at(w, 128, 529), white);
    EXPECT_EQ(at(w, 132, 351), white);
    // The page's level axis and grid stay whole.
    for (int y = 352; y <= 528; ++y) EXPECT_EQ(at(w, 112, y), black) << "axis at y " << y;
    for (int k = 0; k < 6; ++k)
        for (int x = 104; x <= 712; x += 8) EXPECT_EQ(at(w, x, 360 + 32 * k), black) << "grid " << k << " at x " << x;
}

TEST_F(PrintForm, PrintsOnePageWithHeaderAndAddress) {
    writeDataFile(QStringLiteral("prop2prt.ini"), "AR-Receiver\r\nLong wire\r\nUtrecht\r\nJan Jansen\r\n");
    writeDataFile(QStringLiteral("PAN/PAN_DAY.TXT"),
                  "7 Mar 2004  10:00 UTC\r\n9580.000\r\nRadio Test\r\n10:00 090 095 088 092 101 110 087 090\r\n");
    frmProp2prt2* w = open();
    ASSERT_TRUE(w);
    FileKindName[Prop2prtKind] = QStringLiteral("PAN_DAY.TXT");
    w->loadprop2prtfile();
    const QString pdf = DataFolder + QStringLiteral("page.pdf");
    ASSERT_TRUE(w->printToPdfFile(pdf));
    EXPECT_TRUE(run(QStringLiteral("pdfinfo"), {pdf}).contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));
    const QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    for (const char* part : {"Propagation Impression", "Received station :", "Radio Test", "9580.000",
                             "7 Mar 2004 10:00 UTC", "AR-Receiver", "Long wire", "Jan Jansen", "Explanation",
                             "From", "E-mail"})
        EXPECT_TRUE(text.simplified().contains(QLatin1String(part))) << part << "\n" << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Print Form")));   // the buttons are not on the page
}

} // namespace
} // namespace dovrane::test
