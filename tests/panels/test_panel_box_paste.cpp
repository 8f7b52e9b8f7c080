// The panel's frequency box is what other windows take as the frequency, the
// propagation recorder into its file's header: a paste holding a line break
// never enters the box, so no path can write it.
#include "panels/tool_windows.h"
#include "scanning/frmpropagation.h"
#include "shell/globals.h"
#include "support/go_rig.h"
#include "support/paste.h"

#include <QLineEdit>

namespace dovrane::test {
namespace {

class PanelBoxPaste : public GoRig {};

TEST_F(PanelBoxPaste, APastedLineBreakNeverReachesThePropagationHeader) {
    const struct Case {
        int rxType;
        bool silent;  // the recorder's refresh of the panel gets no answer
        const char* pasted;
    } cases[] = {
        {3, false, "9500\n7100"},  // the RX-320's panel is not refreshed
        {3, false, "9500\r"},
        {1, true, "9500\r\n7100"},
        {2, true, "9500\n"},
        {4, true, "\t9500"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(modelName(c.rxType)) + (c.silent ? ", silent" : ""));
        PanelForm* p = go(c.rxType, {{3, 0}});
        ASSERT_NE(p, nullptr);
        auto* box = p->findChild<QLineEdit*>(QStringLiteral("txtFrequencyA"));
        ASSERT_NE(box, nullptr);
        const QString before = box->text();
        pasteInto(box, QString::fromLatin1(c.pasted));
        EXPECT_EQ(box->text(), before) << "the paste is refused whole";

        toolWindowOpener(QStringLiteral("frmPropagation"))();
        frmPropagation* w = forms::loaded<frmPropagation>();
        ASSERT_NE(w, nullptr);
        if (c.silent) {
            simulator()->setFault(sim::Fault::Off);
            dialogs.expect(QStringLiteral("The receiver does not answer"));
        }
        FileKindName[PropKind] = QStringLiteral("PAN_BOX.TXT");
        ASSERT_TRUE(w->savepropfile());
        pump(50);
        const QStringList lines =
            QString::fromLatin1(readDataFile(QStringLiteral("PAN/PAN_BOX.TXT"))).split(QStringLiteral("\r\n"));
        ASSERT_EQ(lines.size(), 4) << "the three header lines";
        EXPECT_EQ(lines[1], before);
        EXPECT_EQ(dialogs.pending(), 0);

        TearDown();
        SetUp();
    }
}

} // namespace
} // namespace dovrane::test
