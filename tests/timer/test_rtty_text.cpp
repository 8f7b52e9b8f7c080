// The RTTY parameter string and the assembly of received text into lines.
#include "timer/rtty_text.h"

#include <gtest/gtest.h>

namespace dovrane {
namespace {

TEST(RttyText, ParameterStringsPerModel) {
    RttyParameters nrd545(4);
    EXPECT_EQ(nrd545.text(), QStringLiteral("5011"));
    EXPECT_EQ(nrd545.polarityCaption(1), QStringLiteral("Nor."));
    EXPECT_EQ(nrd545.polarityText(), QStringLiteral("Nor"));
    EXPECT_EQ(nrd545.baudText() + nrd545.shiftText(), QStringLiteral("50425"));
    nrd545.baud(0);
    nrd545.shift(2);
    nrd545.polarity(0);
    EXPECT_EQ(nrd545.text(), QStringLiteral("4520"));
    EXPECT_EQ(nrd545.polarityText(), QStringLiteral("Rev"));
    EXPECT_EQ(nrd545.shiftText(), QStringLiteral("850"));

    RttyParameters nrd535(2);
    EXPECT_EQ(nrd535.text(), QStringLiteral("5010"));
    EXPECT_EQ(nrd535.polarityCaption(0), QStringLiteral("Nor."));
    nrd535.baud(2);
    EXPECT_EQ(nrd535.text(), QStringLiteral("0010"));
    EXPECT_EQ(nrd535.baudText(), QStringLiteral("75"));
    nrd535.baud(0);
    EXPECT_EQ(nrd535.text(), QStringLiteral("6510"));
    EXPECT_EQ(nrd535.baudText(), QStringLiteral("45"));
    EXPECT_EQ(nrd535.polarityText(), QStringLiteral("Nor"));
}

TEST(RttyText, LineRules) {
    struct Case {
        QByteArray in;
        QStringList lines;
        QString rest;
    };
    const Case cases[] = {
        {"ab\rcd\n", {QStringLiteral("ABCD\n")}, {}},             // a CR inside a read loses nothing
        {"\r", {}, {}},                                            // a lone CR is dropped
        {"\n", {QStringLiteral("\n")}, {}},                        // a lone LF ends a line
        {QByteArray(70, 'x'), {}, QString(70, QLatin1Char('X'))},
        {QByteArray(71, 'x'), {QString(71, QLatin1Char('X'))}, {}},   // broken at exactly 71
        {QByteArray(150, 'y'), {QString(71, QLatin1Char('Y')), QString(71, QLatin1Char('Y'))},
         QString(8, QLatin1Char('Y'))},
        {"ry\xff\xe9", {}, QStringLiteral("RY\u00ff\u00c9")},   // no capital outside Latin-1
    };
    for (const Case& c : cases) {
        RttyLineBuilder b;
        EXPECT_EQ(b.feed(c.in), c.lines) << c.in.toStdString();
        EXPECT_EQ(b.line(), c.rest) << c.in.toStdString();
    }
}

} // namespace
} // namespace dovrane
