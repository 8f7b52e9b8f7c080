#pragma once
// The header over a station list. The label keeps its text, but draws each
// "|"-separated title as a title of its own, beginning over the first
// character of the field it names, in the list's font, and moving with the
// list when it scrolls sideways. The "|" stands in the gap before a title.
#include <QLabel>
#include <QList>
#include <QPointer>
#include <vector>

class QListView;

namespace dovrane {

class ColumnTitles : public QLabel {
    Q_OBJECT
public:
    explicit ColumnTitles(QWidget* parent = nullptr);

    // The list under the titles; columns are set with setColumns.
    void attach(QListView* list);
    // The 0-based character column, in a shown line, of each title's field.
    void setColumns(const std::vector<int>& columns);

    // As wide as the titles reach over the list at its start.
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void layoutTitles();
    double textOrigin() const;

    QPointer<QListView> list_;
    std::vector<int> columns_;
    QString builtFrom_;
    QList<QLabel*> titles_;
    QList<QLabel*> separators_;
    int extent_ = 0;
};

} // namespace dovrane
