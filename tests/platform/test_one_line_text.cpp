// Text that ends up on one line of a file: which characters would break the
// line, what a free-text box makes of them as they enter by any way, and how
// a number box refuses them.
#include "platform/one_line_text.h"
#include "support/paste.h"

#include <QLineEdit>
#include <gtest/gtest.h>

namespace dovrane::test {
namespace {

TEST(OneLineText, EachLineBreakAndControlCharacterBecomesOneBlank) {
    const struct {
        QString text;
        bool holds;
        QString oneLine;
    } cases[] = {
        {QStringLiteral("weak\r\nfade"), true, QStringLiteral("weak fade")},
        {QStringLiteral("7100\r\n9500\r\n"), true, QStringLiteral("7100 9500 ")},
        {QStringLiteral("a\n\nb"), true, QStringLiteral("a  b")},
        {QStringLiteral("a\r\rb"), true, QStringLiteral("a  b")},
        {QStringLiteral("a\n\rb"), true, QStringLiteral("a  b")},   // LF CR is two breaks
        {QStringLiteral("tab\there"), true, QStringLiteral("tab here")},
        {QString(QChar(0)) + QStringLiteral("x\x7f"), true, QStringLiteral(" x ")},
        {QStringLiteral("next\u0085line"), true, QStringLiteral("next line")},   // a C1 code: Latin-1 holds it
        {QStringLiteral("a\u2028b\u2029c"), true, QStringLiteral("a b c")},
        {QStringLiteral("Z\u00fcrich 9500, \u00a0ok"), false, QStringLiteral("Z\u00fcrich 9500, \u00a0ok")},
        {QString(), false, QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(holdsControlCharacter(c.text), c.holds);
        EXPECT_EQ(oneLineText(c.text), c.oneLine);
        EXPECT_FALSE(holdsControlCharacter(oneLineText(c.text)));
    }
}

TEST(OneLineBoxes, AFreeTextBoxMendsWhatEntersItAndANumberBoxRefusesIt) {
    enum class Way { Paste, SetText, InsertAtCursor };
    const struct {
        bool mend;
        Way way;
        const char* before;
        int cursor;
        int maxLength;
        QString entering;
        const char* after;
        int cursorAfter;
    } cases[] = {
        {true, Way::Paste, "old", 0, 40, QStringLiteral("weak\r\nfade"), "weak fade", 9},
        {true, Way::Paste, "", 0, 5, QStringLiteral("weak\r\nfade"), "weak ", 5},   // cut to the box first
        {true, Way::SetText, "", 0, 40, QStringLiteral("a\tb\u2028"), "a b ", 4},
        {true, Way::InsertAtCursor, "ab", 1, 40, QStringLiteral("\r\n"), "a b", 2},
        {true, Way::InsertAtCursor, "ab", 1, 40, QStringLiteral("x\ny"), "ax yb", 4},
        {false, Way::Paste, "6000", 0, 40, QStringLiteral("7100\r\n9500"), "6000", -1},
        {false, Way::Paste, "6000", 0, 40, QStringLiteral("7100\r\n"), "6000", -1},
        {false, Way::InsertAtCursor, "6000", 2, 40, QStringLiteral("\t"), "6000", -1},
        {false, Way::Paste, "6000", 0, 40, QStringLiteral("7100.5"), "7100.5", 6},
        {true, Way::Paste, "", 0, 40, QStringLiteral("BBC World"), "BBC World", 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.before) + " <- " + c.entering.toStdString());
        QLineEdit box;
        box.setMaxLength(c.maxLength);
        box.setText(QLatin1String(c.before));
        if (c.mend) keepOnOneLine(&box);
        else refuseControlCharacters(&box);
        box.setCursorPosition(c.cursor);
        switch (c.way) {
        case Way::Paste: pasteInto(&box, c.entering); break;
        case Way::SetText: box.setText(c.entering); break;
        case Way::InsertAtCursor: box.insert(c.entering); break;
        }
        EXPECT_EQ(box.text(), QLatin1String(c.after));
        if (c.cursorAfter >= 0) {
            EXPECT_EQ(box.cursorPosition(), c.cursorAfter);
        }
    }

    // A box that already held a line break when it became a free-text box.
    QLineEdit held;
    held.setText(QStringLiteral("Radio\r\nAlpha"));
    keepOnOneLine(&held);
    EXPECT_EQ(held.text(), QStringLiteral("Radio Alpha"));
}

} // namespace
} // namespace dovrane::test
