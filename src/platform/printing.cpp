#include "platform/printing.h"
#include "platform/delay.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>

namespace dovrane {

namespace {

DocumentComposer asDocument(const PageComposer& compose) {
    return [compose](QPainter& p, const QRect& page, const std::function<bool()>&) { compose(p, page); };
}

bool printOn(QPrinter& printer, const DocumentComposer& compose) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const QRect page(QPoint(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
    const std::function<bool()> newPage = [&printer] { return printer.newPage(); };
    compose(painter, page, newPage);
    return painter.end();
}

} // namespace

bool printDocumentWithDialog(QWidget* parent, const DocumentComposer& compose) {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, parent);
    int answer;
    {
        // Windows waiting for this dialog stay alive while it is open.
        WaitScope wait;
        answer = dialog.exec();
    }
    if (answer != QDialog::Accepted) return false;
    return printOn(printer, compose);
}

bool printWithDialog(QWidget* parent, const PageComposer& compose) {
    return printDocumentWithDialog(parent, asDocument(compose));
}

bool printDocumentToPdf(const QString& path, const DocumentComposer& compose) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    if (!printOn(printer, compose)) return false;
    const QFileInfo out(path);
    return out.exists() && out.size() > 0;
}

bool printToPdf(const QString& path, const PageComposer& compose) {
    return printDocumentToPdf(path, asDocument(compose));
}

DocumentComposer linesComposer(const QStringList& lines, const QFont& font) {
    return [lines, font](QPainter& p, const QRect& page, const std::function<bool()>& newPage) {
        p.setFont(font);
        const QFontMetrics fm(p.font(), p.device());
        int y = page.top();
        for (const QString& l : lines) {
            if (y + fm.height() > page.bottom() + 1 && y > page.top()) {
                if (!newPage()) return;
                y = page.top();
            }
            p.drawText(page.left(), y + fm.ascent(), l);
            y += fm.height();
        }
    };
}

} // namespace dovrane
