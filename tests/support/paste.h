#pragma once
// A paste as the user makes one: the text on the clipboard, then Ctrl+V into
// a box whose whole text is selected, so it takes the box's place.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>

namespace dovrane::test {

inline void pasteInto(QLineEdit* box, const QString& text) {
    QApplication::clipboard()->setText(text);
    box->selectAll();
    box->paste();
}

inline void pasteInto(QComboBox* box, const QString& text) { pasteInto(box->lineEdit(), text); }

} // namespace dovrane::test
