#pragma once
// Every message box, question and input box of the program goes through here,
// so that tests can answer them from a script.
#include <QString>
#include <functional>
#include <optional>

namespace dovrane::dialogs {

enum class Icon { None, Information, Exclamation, Question, Critical };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

struct Box {
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    QString title;
    QString text;
    bool isInput = false;      // an input box: answer in Reply::text
    QString defaultText;
};

struct Reply {
    Answer answer = Answer::Ok;
    QString text;              // the typed text of an input box
};

// Shows a message box and returns the button pressed.
Answer message(const QString& text, Buttons buttons = Buttons::Ok,
               Icon icon = Icon::Exclamation, const QString& title = QString());
// Shows an input box; nullopt when cancelled.
std::optional<QString> input(const QString& prompt, const QString& title,
                             const QString& defaultText = QString());

// The seam: with a handler installed no window is shown.
using Handler = std::function<Reply(const Box&)>;
void setHandler(Handler handler);
void clearHandler();

} // namespace dovrane::dialogs
