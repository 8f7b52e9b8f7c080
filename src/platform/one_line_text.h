#pragma once
// Text a user types or pastes into a field whose value ends up on one line of
// a text file. A line break inside it would split the line, and the file would
// read back as more lines than were written; other control characters have no
// place in such a line either. Every field of that kind goes through here, at
// the point where its text enters.
#include <QString>

class QLineEdit;

namespace dovrane {

// Whether text holds a line break (CR, LF, the Unicode line and paragraph
// separators) or any other control character (tab, NUL, DEL, C1 codes, ...).
bool holdsControlCharacter(const QString& text);

// The text with each line break and each other control character made one
// blank; a CR LF pair counts as one line break.
QString oneLineText(const QString& text);

// A free-text box whose text is kept on one line: whatever enters it, typed,
// pasted, dropped or set by the program, has its line breaks and control
// characters made blanks as it enters. This is the box's validator.
void keepOnOneLine(QLineEdit* box);

// A number box with no message of its own that takes no line break or other
// control character: a paste or drop holding one is refused whole and the box
// keeps its text, as a typed control key never enters it. This is the box's
// validator.
void refuseControlCharacters(QLineEdit* box);

} // namespace dovrane
