#pragma once
// Answers the program's message and input boxes from a script. A box that the
// script does not expect fails the test.
#include "platform/dialogs.h"
#include <QList>
#include <QString>
#include <deque>

namespace dovrane::test {

class ScriptedDialogs {
public:
    ScriptedDialogs();
    ~ScriptedDialogs();

    // The next box must contain textPart in its text (or title) and gets answer.
    ScriptedDialogs& expect(const QString& textPart, dialogs::Answer answer = dialogs::Answer::Ok);
    // The next box must be an input box containing promptPart; it gets text (or cancel).
    ScriptedDialogs& expectInput(const QString& promptPart, const QString& text, bool cancel = false);
    // Any number of boxes containing textPart are answered, none is required.
    ScriptedDialogs& allow(const QString& textPart, dialogs::Answer answer = dialogs::Answer::Ok);

    // Every box shown so far.
    const QList<dialogs::Box>& shown() const { return shown_; }
    // Boxes still expected and not shown.
    int pending() const { return int(expected_.size()); }
    void clear();

private:
    struct Expected { QString part; dialogs::Reply reply; bool input; };
    dialogs::Reply handle(const dialogs::Box& box);
    std::deque<Expected> expected_;
    QList<Expected> allowed_;
    QList<dialogs::Box> shown_;
};

} // namespace dovrane::test
