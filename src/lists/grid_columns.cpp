#include "lists/grid_columns.h"

#include "platform/geometry.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>

namespace dovrane {

namespace {

constexpr int kTextMargin = 1;   // pixels either side of a cell's text
constexpr double kSmallestPoints = 6;
const char* const kTwipsProperty = "dovraneColumnTwips";

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

void applyTwips(QTableView* grid) {
    const QList<int> twips = grid->property(kTwipsProperty).value<QList<int>>();
    QHeaderView* h = grid->horizontalHeader();
    for (int c = 0; c < twips.size() && c < h->count(); ++c) h->resizeSection(c, twipsToPx(twips[c]));
}

} // namespace

int gridTextRoom(int px) { return px - 2 * kTextMargin - 1; }

void setGridColumnTwips(QTableView* grid, const std::vector<int>& twips) {
    grid->horizontalHeader()->setMinimumSectionSize(0);
    grid->setProperty(kTwipsProperty, QVariant::fromValue(QList<int>(twips.begin(), twips.end())));
    // A model reset rebuilds the header's sections at their default size;
    // this runs after the header's own handler.
    if (QAbstractItemModel* m = grid->model(); m && !grid->property("dovraneTwipsHooked").toBool()) {
        // A grid being destroyed still hears its model's last reset; by then
        // it is a view no more.
        QObject* view = grid;
        const auto reapply = [view] {
            if (auto* g = dynamic_cast<QTableView*>(view)) applyTwips(g);
        };
        QObject::connect(m, &QAbstractItemModel::modelReset, grid, reapply);
        QObject::connect(m, &QAbstractItemModel::columnsInserted, grid, reapply);
        grid->setProperty("dovraneTwipsHooked", true);
    }
    applyTwips(grid);
}

QFont fittingGridFont(const QFont& base, const QStringList& titles, const std::vector<int>& twips) {
    QFont f = base;
    double points = QFontInfo(base).pointSizeF();
    if (points <= 0) points = 9;
    for (; points > kSmallestPoints; points -= 0.5) {
        f.setPointSizeF(points);
        const QFontMetrics fm(f);
        bool fits = true;
        for (int c = 0; c < titles.size() && c < int(twips.size()) && fits; ++c)
            fits = fm.horizontalAdvance(titles[c]) <= gridTextRoom(twipsToPx(twips[size_t(c)]));
        if (fits) return f;
    }
    f.setPointSizeF(kSmallestPoints);
    return f;
}

void useCompactCells(QTableView* grid) {
    if (!dynamic_cast<CompactCellDelegate*>(grid->itemDelegate())) grid->setItemDelegate(new CompactCellDelegate(grid));
}

void fitGridFont(QTableView* titles, const QStringList& texts, const std::vector<int>& twips,
                 const std::vector<QTableView*>& grids) {
    const QFont font = fittingGridFont(QApplication::font(titles), texts, twips);
    titles->setFont(font);
    useCompactCells(titles);
    for (QTableView* g : grids) {
        QFont own = font;
        if (QFontInfo(g->font()).fixedPitch()) {
            own = g->font();
            own.setPointSizeF(font.pointSizeF());
        }
        g->setFont(own);
        useCompactCells(g);
    }
}

} // namespace dovrane
