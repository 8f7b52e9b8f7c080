#include "platform/one_line_text.h"

#include <QLineEdit>
#include <QValidator>
#include <algorithm>

namespace dovrane {

namespace {

bool isControl(QChar c) {
    switch (c.category()) {
    case QChar::Other_Control:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph: return true;
    default: return false;
    }
}

// The box's own validator, so that paste, drop, typing and setText all pass
// one check. It mends a free text and refuses a number; every other rule of
// the field stays with the field.
class OneLineValidator : public QValidator {
public:
    OneLineValidator(bool mend, QObject* parent) : QValidator(parent), mend_(mend) {}
    State validate(QString& input, int& pos) const override {
        if (!holdsControlCharacter(input)) return Acceptable;
        if (!mend_) return Invalid;
        // The cursor stays behind what was typed or pasted: after the
        // text before it, mended the same way.
        const QString before = oneLineText(input.left(pos));
        QString mended = oneLineText(input);
        pos = int(std::min(before.size(), mended.size()));
        input = std::move(mended);
        return Acceptable;
    }

private:
    bool mend_;
};

} // namespace

bool holdsControlCharacter(const QString& text) {
    for (QChar c : text)
        if (isControl(c)) return true;
    return false;
}

QString oneLineText(const QString& text) {
    if (!holdsControlCharacter(text)) return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!isControl(c)) {
            out += c;
            continue;
        }
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) ++i;
        out += QLatin1Char(' ');
    }
    return out;
}

void keepOnOneLine(QLineEdit* box) {
    if (!box) return;
    box->setValidator(new OneLineValidator(true, box));
    // What the box held before is mended too.
    if (holdsControlCharacter(box->text())) box->setText(oneLineText(box->text()));
}

void refuseControlCharacters(QLineEdit* box) {
    if (box) box->setValidator(new OneLineValidator(false, box));
}

} // namespace dovrane
