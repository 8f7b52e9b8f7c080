#include "platform/dialogs.h"
#include "platform/sequence.h"
#include "platform/delay.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace dovrane::dialogs {

namespace {
Handler& handler() {
    static Handler h;
    return h;
}

// The window a box belongs to: the one the user is working in, so the box
// opens over it rather than in the middle of the screen.
QWidget* ownerWindow() {
    for (QWidget* w : {QApplication::activeModalWidget(), QApplication::activeWindow()})
        if (w && w->isVisible()) return w;
    return nullptr;
}

QMessageBox::Icon toQt(Icon icon) {
    switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

void setHandler(Handler h) { handler() = std::move(h); }
void clearHandler() { handler() = nullptr; }

Answer message(const QString& text, Buttons buttons, Icon icon, const QString& title) {
    // A notice that comes up while events run between a sequence's receiver
    // operations waits until the sequence has returned: its box would let
    // everything run in the middle of it.
    if (buttons == Buttons::Ok && sequence::later([=] { message(text, buttons, icon, title); })) return Answer::Ok;
    Box box;
    box.icon = icon;
    box.buttons = buttons;
    box.title = title.isEmpty() ? QApplication::applicationName() : title;
    box.text = text;
    if (handler()) return handler()(box).answer;

    QMessageBox mb(toQt(icon), box.title, text, QMessageBox::NoButton, ownerWindow());
    switch (buttons) {
    case Buttons::Ok: mb.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel: mb.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Buttons::YesNo: mb.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Buttons::YesNoCancel:
        mb.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    WaitScope scope;
    switch (mb.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
    }
}

std::optional<QString> input(const QString& prompt, const QString& title, const QString& defaultText) {
    Box box;
    box.icon = Icon::None;
    box.buttons = Buttons::OkCancel;
    box.title = title;
    box.text = prompt;
    box.isInput = true;
    box.defaultText = defaultText;
    if (handler()) {
        const Reply r = handler()(box);
        if (r.answer == Answer::Cancel) return std::nullopt;
        return r.text;
    }
    WaitScope scope;
    bool ok = false;
    const QString text = QInputDialog::getText(ownerWindow(), title, prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok) return std::nullopt;
    return text;
}

} // namespace dovrane::dialogs
