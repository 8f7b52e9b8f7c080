#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace dovrane::test {

ScriptedDialogs::ScriptedDialogs() {
    dialogs::setHandler([this](const dialogs::Box& box) { return handle(box); });
}

ScriptedDialogs::~ScriptedDialogs() { dialogs::clearHandler(); }

ScriptedDialogs& ScriptedDialogs::expect(const QString& part, dialogs::Answer answer) {
    expected_.push_back({part, {answer, QString()}, false});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectInput(const QString& part, const QString& text, bool cancel) {
    expected_.push_back({part, {cancel ? dialogs::Answer::Cancel : dialogs::Answer::Ok, text}, true});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::allow(const QString& part, dialogs::Answer answer) {
    allowed_.push_back({part, {answer, QString()}, false});
    return *this;
}

void ScriptedDialogs::clear() {
    expected_.clear();
    allowed_.clear();
    shown_.clear();
}

dialogs::Reply ScriptedDialogs::handle(const dialogs::Box& box) {
    shown_.push_back(box);
    auto matches = [&](const Expected& e) {
        return box.text.contains(e.part) || box.title.contains(e.part);
    };
    if (!expected_.empty() && matches(expected_.front())) {
        const Expected e = expected_.front();
        expected_.pop_front();
        EXPECT_EQ(e.input, box.isInput) << "box \"" << box.text.toStdString() << "\"";
        return e.reply;
    }
    for (const Expected& a : allowed_)
        if (matches(a)) return a.reply;
    ADD_FAILURE() << "unexpected " << (box.isInput ? "input box" : "message box") << " \""
                  << box.title.toStdString() << "\": \"" << box.text.toStdString() << "\""
                  << (expected_.empty() ? std::string()
                                        : " (expected one containing \"" + expected_.front().part.toStdString() + "\")");
    dialogs::Reply r;
    r.answer = box.buttons == dialogs::Buttons::Ok ? dialogs::Answer::Ok : dialogs::Answer::Cancel;
    return r;
}

} // namespace dovrane::test
