#include "lists/list_window.h"

#include "lists/grid_columns.h"

#include "platform/dialogs.h"
#include "platform/geometry.h"
#include "platform/number_text.h"
#include "shell/facade.h"
#include "shell/show_panel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>
#include <algorithm>
#include <array>

namespace dovrane {

void ListWindow::bindListFrame() {
    frequencyBox_ = findChild<QLineEdit*>(QStringLiteral("txtFrequencyA"));
    if (frequencyBox_) {
        connect(frequencyBox_, &QLineEdit::returnPressed, this, [this] { txtFrequencyA_Enter(); });
        frequencyBox_->installEventFilter(this);
    }
    if (auto* b = findChild<QAbstractButton*>(QStringLiteral("cmdRezeri")))
        connect(b, &QAbstractButton::clicked, this, [this] { cmdRezeri_Click(); });
    if (auto* b = findChild<QAbstractButton*>(QStringLiteral("cmdExit")))
        connect(b, &QAbstractButton::clicked, this, [this] { cmdExit_Click(); });
}

void ListWindow::setupGrid(QTableView* grid) {
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
    grid->setTextElideMode(Qt::ElideNone);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(18);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->hide();
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->horizontalHeader()->setMinimumSectionSize(0);
}

bool ListWindow::tuneTo(const QString& text) { return Change2FreqA(valComma(text)); }

void ListWindow::setTitleRow(QTableWidget* titles, const QStringList& texts, const std::vector<int>& twips,
                             QTableView* list, const std::vector<GridColumn>& columns) {
    titles->setColumnCount(int(std::max<size_t>(size_t(texts.size()), twips.size())));
    titles->setRowCount(1);
    titles->verticalHeader()->setDefaultSectionSize(18);
    titles->setFixedHeight(18 + 2 * titles->frameWidth());
    for (int c = 0; c < texts.size(); ++c) titles->setItem(0, c, new QTableWidgetItem(texts[c]));
    // The list keeps its family (a fixed pitch one stays so); both grids take
    // the size at which everything shows whole.
    const GridFit fit = fitGridColumns(QApplication::font(titles), list->font(), texts, twips, columns);
    applyGridFit(fit, titles, list);
    connect(list->horizontalScrollBar(), &QScrollBar::valueChanged, titles->horizontalScrollBar(),
            &QScrollBar::setValue, Qt::UniqueConnection);
}

void ListWindow::setColumnTwips(QTableView* grid, const std::vector<int>& twips) { setGridColumnTwips(grid, twips); }

void ListWindow::tellUnreadable(const QString& path) {
    dialogs::message(QStringLiteral("The file %1\ncould not be read.").arg(path), dialogs::Buttons::Ok,
                     dialogs::Icon::Exclamation, QStringLiteral("Load File"));
}

void ListWindow::tellLeftOut(int capacity, int leftOut) {
    if (leftOut <= 0) return;
    dialogs::message(
        QStringLiteral("The list holds at most %1 records:\n%2 lines at the end of the file were not loaded.")
            .arg(capacity)
            .arg(leftOut),
        dialogs::Buttons::Ok, dialogs::Icon::Information, QStringLiteral("Load File"));
}

void ListWindow::cmdRezeri_Click() { showCurrentPanel(); }

void ListWindow::txtFrequencyA_Enter() {
    if (frequencyBox_) tuneTo(frequencyBox_->text());
}

void ListWindow::txtFrequencyA_DblClick() {
    if (frequencyBox_) frequencyBox_->clear();
}

bool ListWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == frequencyBox_ && event->type() == QEvent::MouseButtonDblClick) {
        txtFrequencyA_DblClick();
        return true;
    }
    return Form::eventFilter(watched, event);
}

} // namespace dovrane
