// The canvas the graphs draw on, read back pixel by pixel, and a page printed
// to PDF and read back as text.
#include "platform/canvas.h"
#include "platform/printing.h"
#include "shell/globals.h"
#include "support/test_env.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace dovrane::test {
namespace {

TEST(CanvasTest, DrawingLandsOnTheExpectedPixels) {
    Canvas c;
    c.setBackColor(QColor(255, 255, 192));
    c.setCanvasSize(40, 30);
    c.clear();
    EXPECT_EQ(c.image().size(), QSize(40, 30));
    const QColor back(255, 255, 192), green(0, 255, 0), black(0, 0, 0);

    c.fillBox(12, 8, 10, 5, green);   // corners in any order, both included
    c.line(0, 20, 39, 20, black);
    c.line(5, 0, 5, 3, black);
    const struct {
        int x, y;
        QColor colour;
    } probes[] = {
        {10, 5, green}, {12, 8, green}, {11, 6, green}, {13, 8, back},  {12, 9, back},  {9, 5, back},
        {0, 20, black}, {39, 20, black}, {20, 21, back}, {5, 0, black}, {5, 3, black}, {5, 4, back},
    };
    for (const auto& p : probes) EXPECT_EQ(c.pixel(p.x, p.y), p.colour) << p.x << "," << p.y;
    EXPECT_FALSE(c.pixel(40, 0).isValid());
    EXPECT_FALSE(c.pixel(-1, 3).isValid());

    // Text starts at its top-left corner: nothing of it above or left of it.
    c.clear(Qt::white);
    c.text(8, 4, QStringLiteral("S9"), black);
    int inked = 0, outside = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            if (c.pixel(x, y) != QColor(Qt::white)) (x >= 8 && y >= 4 ? inked : outside)++;
    EXPECT_GT(inked, 0);
    EXPECT_EQ(outside, 0);

    // Growing keeps the drawing and fills the new part with the back colour.
    c.setCanvasSize(50, 30);
    EXPECT_EQ(c.pixel(45, 10), back);
    EXPECT_EQ(c.image().width(), 50);
    c.clear();
    EXPECT_EQ(c.pixel(8, 4), back);
}

class PrintTest : public AppTest {
protected:
    // The text of a PDF, as pdftotext reads it.
    static QString pdfText(const QString& path) {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
        if (!p.waitForFinished(20000)) return QString();
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    void SetUp() override {
        AppTest::SetUp();
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }
};

TEST_F(PrintTest, APageComposedOnceReadsBackFromThePdf) {
    const QString path = dataPath(QStringLiteral("page.pdf"));
    QRect seen;
    ASSERT_TRUE(printToPdf(path, [&](QPainter& p, const QRect& page) {
        seen = page;
        p.setFont(QFont(QStringLiteral("DejaVu Sans"), 14));
        p.drawText(page.left(), page.top() + 200, QStringLiteral("Propagation Impression"));
        p.drawText(page.left(), page.top() + 400, QStringLiteral("9500.000 kHz  7 Mar 2004"));
        p.drawRect(page.adjusted(0, 0, -1, -1));
    }));
    EXPECT_GT(seen.width(), 1000);
    EXPECT_GT(seen.height(), seen.width());   // A4 portrait
    // Runs of blanks come back as the layout places them.
    const QString text = pdfText(path).simplified();
    EXPECT_TRUE(text.contains(QStringLiteral("Propagation Impression"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("9500.000 kHz 7 Mar 2004"))) << text.toStdString();
}

TEST_F(PrintTest, LongListsBreakIntoPagesWithNoLineLost) {
    QStringList lines;
    for (int i = 0; i < 150; ++i) lines << QStringLiteral("MEM%1 line").arg(i, 3, 10, QLatin1Char('0'));
    const QString path = dataPath(QStringLiteral("lines.pdf"));
    ASSERT_TRUE(printDocumentToPdf(path, linesComposer(lines, QFont(QStringLiteral("DejaVu Sans Mono"), 10))));
    const QString text = pdfText(path);
    EXPECT_GE(text.count(QLatin1Char('\f')), 2) << "more than one page";
    for (const QString& l : {lines.first(), lines[75], lines.last()})
        EXPECT_TRUE(text.contains(l)) << l.toStdString();

    // A file that cannot be written is reported.
    EXPECT_FALSE(printToPdf(DataFolder + QStringLiteral("no/such/folder/x.pdf"), [](QPainter&, const QRect&) {}));
}

} // namespace
} // namespace dovrane::test
