#include "stations/column_titles.h"

#include <QAbstractItemModel>
#include <QEvent>
#include <QFontMetricsF>
#include <QListView>
#include <QScrollBar>
#include <QStyle>
#include <QtMath>
#include <algorithm>
#include <limits>

namespace dovrane {

ColumnTitles::ColumnTitles(QWidget* parent) : QLabel(parent) {}

void ColumnTitles::attach(QListView* list) {
    list_ = list;
    list->installEventFilter(this);
    list->viewport()->installEventFilter(this);
    connect(list->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { layoutTitles(); });
    if (QAbstractItemModel* m = list->model()) {
        // The first row decides where the list draws its text; it comes and goes with the model's rows.
        connect(m, &QAbstractItemModel::modelReset, this, [this] { layoutTitles(); });
        connect(m, &QAbstractItemModel::rowsInserted, this, [this] { layoutTitles(); });
        connect(m, &QAbstractItemModel::rowsRemoved, this, [this] { layoutTitles(); });
    }
    layoutTitles();
}

void ColumnTitles::setColumns(const std::vector<int>& columns) {
    columns_ = columns;
    layoutTitles();
}

void ColumnTitles::paintEvent(QPaintEvent* event) {
    // The titles are drawn by their own labels; the text as one line would stand beside them.
    if (!list_) QLabel::paintEvent(event);
}

void ColumnTitles::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    layoutTitles();
}

bool ColumnTitles::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::Move:
    case QEvent::FontChange:
    case QEvent::StyleChange:
    case QEvent::LayoutRequest: layoutTitles(); break;
    default: break;
    }
    return QLabel::eventFilter(watched, event);
}

void ColumnTitles::build() {
    qDeleteAll(titles_);
    qDeleteAll(separators_);
    titles_.clear();
    separators_.clear();
    builtFrom_ = text();
    for (const QString& part : builtFrom_.split(QLatin1Char('|'))) {
        const QString title = part.trimmed();
        if (title.isEmpty()) continue;
        if (!titles_.isEmpty()) separators_ << new QLabel(QStringLiteral("|"), this);
        titles_ << new QLabel(title, this);
    }
    for (QLabel* l : titles_ + separators_) {
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        l->show();
    }
}

// Where the list draws the first character of a line, in this label's coordinates.
double ColumnTitles::textOrigin() const {
    const QAbstractItemModel* m = list_->model();
    const int itemX = m && m->rowCount() > 0 ? list_->visualRect(m->index(0, 0)).x()
                                             : list_->spacing() - list_->horizontalScrollBar()->value();
    // The item view's text margin, as its style draws a line's text.
    const int margin = list_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list_) + 1;
    const QWidget* top = window();
    return mapFrom(top, list_->viewport()->mapTo(top, QPoint(itemX + margin, 0))).x();
}

void ColumnTitles::layoutTitles() {
    if (!list_) return;
    if (text() != builtFrom_) build();
    const QFont font = list_->font();
    const QFontMetricsF fm(font);
    const double cell = fm.horizontalAdvance(QLatin1Char(' '));
    const double bar = fm.horizontalAdvance(QLatin1Char('|'));
    const double origin = textOrigin();
    const int scrolled = list_->horizontalScrollBar()->value();
    int extent = 0;
    double prevEnd = -std::numeric_limits<double>::infinity();
    int prevColumn = 0;
    for (qsizetype i = 0; i < titles_.size(); ++i) {
        QLabel* t = titles_[i];
        // A title with no field of its own follows the one before, as in the label's text.
        const int column = size_t(i) < columns_.size() ? columns_[size_t(i)]
                           : i == 0                ? 0
                                                   : prevColumn + int(titles_[i - 1]->text().size()) + 3;
        const double x = origin + fm.horizontalAdvance(QString(column, QLatin1Char(' ')));
        t->setFont(font);
        t->setGeometry(qRound(x), 0, qCeil(fm.horizontalAdvance(t->text())) + 2, height());
        if (i > 0) {
            // In the blank before the field, or where the title before ends when it fills that blank.
            const double centre = std::min(std::max(x - cell / 2, prevEnd), x);
            QLabel* s = separators_[i - 1];
            s->setFont(font);
            s->setGeometry(qRound(centre - bar / 2), 0, qCeil(bar) + 1, height());
        }
        prevEnd = x + fm.horizontalAdvance(t->text());
        prevColumn = column;
        extent = std::max(extent, t->geometry().right() + 1 + scrolled);
    }
    // The window is not to be made so narrow that a title is cut while the
    // list stands at its start.
    if (extent != extent_) {
        extent_ = extent;
        updateGeometry();
    }
}

QSize ColumnTitles::minimumSizeHint() const {
    const QSize own = QLabel::minimumSizeHint();
    return list_ ? QSize(std::max(own.width(), extent_), own.height()) : own;
}

QSize ColumnTitles::sizeHint() const {
    const QSize own = QLabel::sizeHint();
    return list_ ? QSize(std::max(own.width(), extent_), own.height()) : own;
}

} // namespace dovrane
