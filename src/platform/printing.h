#pragma once
// Printing: one function composes the page (or the pages) with a QPainter;
// the same function goes to a printer the user picks in the print dialog
// (the system's printers, or a PDF file) or straight to a PDF file (tests,
// and anyone who wants the page as a file).
#include <QFont>
#include <QPainter>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace dovrane {

// Draws one page; page is the printable area in the painter's coordinates
// (device pixels, origin at its top-left corner).
using PageComposer = std::function<void(QPainter&, const QRect& page)>;
// Draws a document: newPage() ends the page drawn so far and starts the next
// (it returns false when the device could not start one).
using DocumentComposer =
    std::function<void(QPainter&, const QRect& page, const std::function<bool()>& newPage)>;

// Shows the print dialog; on OK prints and returns true. False when the user
// cancelled or the printer could not be started.
bool printWithDialog(QWidget* parent, const PageComposer& compose);
bool printDocumentWithDialog(QWidget* parent, const DocumentComposer& compose);
// Prints to a PDF file at path (A4); false when it could not be written.
bool printToPdf(const QString& path, const PageComposer& compose);
bool printDocumentToPdf(const QString& path, const DocumentComposer& compose);

// Text lines in a font, one under the other, a new page whenever the page is
// full, as a printer breaks pages by itself.
DocumentComposer linesComposer(const QStringList& lines, const QFont& font);

} // namespace dovrane
