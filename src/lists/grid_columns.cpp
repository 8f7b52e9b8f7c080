#include "lists/grid_columns.h"

#include "platform/geometry.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStyleOptionFrame>
#include <QPainter>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>
#include <algorithm>
#include <string>

namespace dovrane {

namespace {

constexpr int kTextMargin = 1;   // pixels either side of a cell's text
constexpr double kSmallestPoints = 7;   // the smallest readable size
const char* const kWidthsProperty = "dovraneColumnWidths";

// Draws a cell as the style does (background, selection, focus), then its
// text with one pixel either side instead of the style's wider margins.
class CompactCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        const QWidget* w = opt.widget;
        QStyle* style = w ? w->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, w);
        if (text.isEmpty()) return;
        painter->save();
        const bool selected = opt.state & QStyle::State_Selected;
        const QPalette::ColorGroup group = opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
        painter->setPen(opt.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(opt.font);
        const QRect r = opt.rect.adjusted(kTextMargin, 0, -kTextMargin, 0);
        painter->setClipRect(opt.rect);
        painter->drawText(r, int(Qt::AlignLeft | Qt::AlignVCenter) | Qt::TextSingleLine, text);
        painter->restore();
    }
};

void applyWidths(QTableView* grid) {
    const QList<int> px = grid->property(kWidthsProperty).value<QList<int>>();
    QHeaderView* h = grid->horizontalHeader();
    for (int c = 0; c < px.size() && c < h->count(); ++c) h->resizeSection(c, px[c]);
}

QFont atPoints(QFont f, double points) {
    f.setPointSizeF(points);
    return f;
}

// The sizes to try, largest first, each of them one that the fonts really
// draw at 7 points or more (a size is rounded to whole pixels).
std::vector<double> readableSizes(const QFont& a, const QFont& b) {
    const auto readable = [&](double p) {
        return QFontInfo(atPoints(a, p)).pointSizeF() >= kSmallestPoints &&
               QFontInfo(atPoints(b, p)).pointSizeF() >= kSmallestPoints;
    };
    double largest = QFontInfo(a).pointSizeF();
    if (largest <= 0) largest = 9;
    std::vector<double> sizes;
    for (double p = largest; p >= kSmallestPoints; p -= 0.5)
        if (readable(p)) sizes.push_back(p);
    if (sizes.empty()) {
        double p = kSmallestPoints;
        while (!readable(p) && p < 72) p += 0.5;
        sizes.push_back(p);
    }
    return sizes;
}

// The widest character from first to last but those left out, by its
// advance unrounded: a run of them adds up the fractions.
QChar widestOf(const QFontMetricsF& fm, char16_t first, char16_t last, const char16_t* leftOut = u"") {
    QChar widest = QChar(first);
    for (char16_t c = first; c <= last; ++c)
        if (!std::char_traits<char16_t>::find(leftOut, std::char_traits<char16_t>::length(leftOut), c) &&
            fm.horizontalAdvance(QChar(c)) > fm.horizontalAdvance(widest))
            widest = QChar(c);
    return widest;
}

// Pixels that a sample text takes in font; a digit of it stands for every
// digit, an AnyCapital for every capital of ordinary width, so each is
// measured as the widest of the font.
int sampleAdvance(const QFont& font, const QString& text) {
    const QFontMetricsF fm(font);
    QString sample = text;
    sample.replace(u'0', widestOf(fm, u'0', u'9'));
    if (sample.contains(AnyCapital)) sample.replace(AnyCapital, widestOf(fm, u'A', u'Z', u"MW"));
    return QFontMetrics(font).horizontalAdvance(sample);
}

// Pixels of text a box px wide shows whole: its frame and text margins left
// out, and the pixel it keeps past the text's end for its cursor (a text that
// needs that pixel too is scrolled, its start out of sight).
int boxTextRoom(const QLineEdit* box, int px) {
    QStyleOptionFrame o;
    o.initFrom(box);
    o.rect = QRect(0, 0, px, std::max(box->height(), 1));
    o.lineWidth = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &o, box) : 0;
    const QRect r = box->style()->subElementRect(QStyle::SE_LineEditContents, &o, box);
    const QMargins m = box->textMargins();
    constexpr int kBoxMargin = 2;   // the box's own margin either side of its text
    constexpr int kCursor = 1;
    return r.width() - m.left() - m.right() - 2 * kBoxMargin - kCursor;
}

// Pixels of text height a box shows whole: its frame and text margins left
// out, and the pixel it keeps above and below its line of text.
int boxTextHeight(const QLineEdit* box) {
    QStyleOptionFrame o;
    o.initFrom(box);
    o.rect = QRect(0, 0, std::max(box->width(), 1), box->height());
    o.lineWidth = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &o, box) : 0;
    const QRect r = box->style()->subElementRect(QStyle::SE_LineEditContents, &o, box);
    const QMargins m = box->textMargins();
    constexpr int kLineMargin = 1;
    return r.height() - m.top() - m.bottom() - 2 * kLineMargin;
}

// The largest size of base, down to 7 points, at which widest takes no more
// than room pixels; where none does, the smallest.
QFont largestFitting(const QFont& base, const QString& widest, int room) {
    QFont font = base;
    for (double points : readableSizes(base, base)) {
        font = atPoints(base, points);
        if (sampleAdvance(font, widest) <= room) break;
    }
    return font;
}

} // namespace

void fitTextBox(QLineEdit* box, const QString& widest) {
    const int px = box->maximumWidth() < QWIDGETSIZE_MAX ? box->maximumWidth() : box->width();
    const int room = boxTextRoom(box, px);
    const QFont font = largestFitting(box->font(), widest, room);
    box->setFont(font);
    const int short_ = sampleAdvance(font, widest) - room;
    if (short_ > 0 && box->maximumWidth() < QWIDGETSIZE_MAX) box->setMaximumWidth(px + short_);
}

void fitTextBoxHeight(QLineEdit* box) {
    box->setFrame(false);
    box->setTextMargins(0, 0, 0, 0);
    const int room = boxTextHeight(box);
    const QFont base = box->font();
    QFont font = base;
    for (double points : readableSizes(base, base)) {
        font = atPoints(base, points);
        if (QFontMetrics(font).height() <= room) break;
    }
    box->setFont(font);
    if (const int short_ = QFontMetrics(font).height() - room; short_ > 0)
        box->resize(box->width(), box->height() + short_);
}

int textBoxHeightRoom(const QLineEdit* box) { return boxTextHeight(box); }

int textBoxWidth(const QLineEdit* box, const QString& widest) {
    const int need = sampleAdvance(box->font(), widest);
    int px = need;
    // The room grows with the width, frame and margins staying as they are.
    while (boxTextRoom(box, px) < need && px < need + 1000) ++px;
    return px;
}

void holdTextBoxWidth(QLineEdit* box, const QString& widest) {
    const int px = textBoxWidth(box, widest);
    box->setMinimumWidth(std::max(box->minimumWidth(), px));
    if (box->maximumWidth() < px) box->setMaximumWidth(px);
}

void fitLabel(QLabel* label, const QString& widest) {
    const int room = label->contentsRect().width() - 2 * label->margin() - std::max(label->indent(), 0);
    const QFont font = largestFitting(label->font(), widest, room);
    label->setFont(font);
    if (const int short_ = sampleAdvance(font, widest) - room; short_ > 0)
        label->resize(label->width() + short_, label->height());
}

int gridTextRoom(int px) { return px - 2 * kTextMargin - 1; }

int gridTextNeed(const QFont& font, const QString& text) { return sampleAdvance(font, text) + 2 * kTextMargin + 1; }

void setGridColumnWidths(QTableView* grid, const std::vector<int>& px) {
    grid->horizontalHeader()->setMinimumSectionSize(0);
    grid->setProperty(kWidthsProperty, QVariant::fromValue(QList<int>(px.begin(), px.end())));
    // A model reset that brings the columns back (from none, or another
    // number of them) rebuilds the header's sections at their default size;
    // this runs after the header's own handler.
    if (QAbstractItemModel* m = grid->model(); m && !grid->property("dovraneWidthsHooked").toBool()) {
        // A grid being destroyed still hears its model's last reset; by then
        // it is a view no more.
        QObject* view = grid;
        const auto reapply = [view] {
            if (auto* g = dynamic_cast<QTableView*>(view)) applyWidths(g);
        };
        QObject::connect(m, &QAbstractItemModel::modelReset, grid, reapply);
        QObject::connect(m, &QAbstractItemModel::columnsInserted, grid, reapply);
        grid->setProperty("dovraneWidthsHooked", true);
    }
    applyWidths(grid);
}

void setGridColumnTwips(QTableView* grid, const std::vector<int>& twips) {
    std::vector<int> px;
    px.reserve(twips.size());
    for (int t : twips) px.push_back(twipsToPx(t));
    setGridColumnWidths(grid, px);
}

GridFit fitGridColumns(const QFont& titleBase, const QFont& dataBase, const QStringList& titles,
                       const std::vector<int>& titleTwips, const std::vector<GridColumn>& columns) {
    const size_t nTitles = std::min(size_t(titles.size()), titleTwips.size());
    std::vector<int> titleDrawn, dataDrawn;
    for (size_t t = 0; t < nTitles; ++t) titleDrawn.push_back(twipsToPx(titleTwips[t]));
    for (const GridColumn& c : columns) dataDrawn.push_back(twipsToPx(c.twips));
    // The data columns under title t: its own, and for the last title every
    // column from its own on.
    const auto span = [&](size_t t) {
        const size_t first = std::min(t, columns.size());
        const size_t last = t + 1 == nTitles ? columns.size() : std::min(t + 1, columns.size());
        return std::pair{first, last};
    };

    const std::vector<double> sizes = readableSizes(titleBase, dataBase);
    GridFit fit;
    for (double points : sizes) {
        fit.titleFont = atPoints(titleBase, points);
        fit.dataFont = atPoints(dataBase, points);
        bool fits = true;
        for (size_t t = 0; t < nTitles && fits; ++t)
            fits = gridTextNeed(fit.titleFont, titles[int(t)]) <= titleDrawn[t];
        for (size_t c = 0; c < columns.size() && fits; ++c)
            fits = gridTextNeed(fit.dataFont, columns[c].widest) <= dataDrawn[c];
        if (fits) break;
    }

    // Kept as drawn wherever the widths hold; widened just enough elsewhere,
    // each title by as much as the columns under it, so that it stays over them.
    fit.dataPx = dataDrawn;
    for (size_t c = 0; c < columns.size(); ++c)
        fit.dataPx[c] = std::max(dataDrawn[c], gridTextNeed(fit.dataFont, columns[c].widest));
    fit.titlePx = titleDrawn;
    for (size_t t = 0; t < nTitles; ++t) {
        const auto [first, last] = span(t);
        for (size_t c = first; c < last; ++c) fit.titlePx[t] += fit.dataPx[c] - dataDrawn[c];
        const int short_ = gridTextNeed(fit.titleFont, titles[int(t)]) - fit.titlePx[t];
        if (short_ <= 0) continue;
        fit.titlePx[t] += short_;
        // A title over one column takes its column along.
        if (last == first + 1) fit.dataPx[first] += short_;
    }
    return fit;
}

void applyGridFit(const GridFit& fit, QTableView* titles, QTableView* data) {
    if (titles) {
        titles->setFont(fit.titleFont);
        useCompactCells(titles);
        setGridColumnWidths(titles, fit.titlePx);
    }
    data->setFont(fit.dataFont);
    useCompactCells(data);
    setGridColumnWidths(data, fit.dataPx);
}

void useCompactCells(QTableView* grid) {
    if (!dynamic_cast<CompactCellDelegate*>(grid->itemDelegate())) grid->setItemDelegate(new CompactCellDelegate(grid));
}

} // namespace dovrane
