#pragma once
// How every grid of fixed-width columns is set up: columns exactly as wide as
// they were drawn (no minimum width of the header widens a narrow one, and a
// model reset does not put them back to the default), cells that leave one
// pixel either side of their text, and a font at which every title and the
// widest text each column can hold show whole.
#include <QFont>
#include <QString>
#include <QStringList>
#include <vector>

class QLabel;
class QLineEdit;
class QTableView;

namespace dovrane {

// One column of a list grid: its width as drawn (twips) and the widest text
// the list's file can put into it. Each '0' of widest stands for any digit,
// each AnyCapital for any capital letter but the broad W and M.
struct GridColumn {
    int twips = 0;
    QString widest;
};

inline constexpr QChar AnyCapital{0xE000};
// A free text of n characters: a name of its full length in capitals.
inline QString anyCapitals(int n) { return QString(n, AnyCapital); }

// The fonts of a title grid and of the grid under it, and the pixel widths
// of their columns.
struct GridFit {
    QFont titleFont;
    QFont dataFont;
    std::vector<int> titlePx;
    std::vector<int> dataPx;
};

// Pixels a cell's text may take in a column px wide: its margins and the
// grid line are left out.
int gridTextRoom(int px);
// Pixels a column needs for text to show whole in font.
int gridTextNeed(const QFont& font, const QString& text);

// Column c of grid gets px[c] pixels, now and after every reset of its model
// (a load, a new column set); columns beyond keep theirs.
void setGridColumnWidths(QTableView* grid, const std::vector<int>& px);
void setGridColumnTwips(QTableView* grid, const std::vector<int>& twips);

// The largest size, from the title font's own down to 7 points, at which every
// title and every column's widest text fit the widths drawn. When none does,
// 7 points, with each column that is still too narrow widened just enough and
// the title over it by as much. Title t stands over data column t, the last
// title over every column from its own on. The data keep their own family
// (a fixed pitch one stays so) at the titles' size.
GridFit fitGridColumns(const QFont& titleBase, const QFont& dataBase, const QStringList& titles,
                       const std::vector<int>& titleTwips, const std::vector<GridColumn>& columns);

// Gives the grids the fit's fonts, narrow cell margins and column widths
// (titles may be null: a grid without a title grid).
void applyGridFit(const GridFit& fit, QTableView* titles, QTableView* data);

// A text box of a list (as wide as it may be) gets the largest size of its
// font, down to 7 points, at which widest shows whole; where none does, the
// smallest, and the box is let grow just enough.
void fitTextBox(QLineEdit* box, const QString& widest);
// A text box that stands in a row no taller than itself (a row of a window
// drawn to fixed positions): no frame and no text margins, and the largest
// size of its font, down to 7 points, whose full height (the accent over a
// capital, the tail under a "g") it shows whole; where none does, the
// smallest, and the box is let grow just enough.
void fitTextBoxHeight(QLineEdit* box);
// Pixels of text height box shows whole.
int textBoxHeightRoom(const QLineEdit* box);
// The least width at which box shows widest whole in its own font, digits
// counted as in fitTextBox, its text cursor included.
int textBoxWidth(const QLineEdit* box, const QString& widest);
// A text box whose font stays: it is never made narrower than widest needs,
// and a largest width below that is raised to it.
void holdTextBoxWidth(QLineEdit* box, const QString& widest);
// A label that stands where it was drawn gets the largest size of its font,
// down to 7 points, at which widest shows whole; where none does, the
// smallest, and the label grows just enough.
void fitLabel(QLabel* label, const QString& widest);

// The narrow cell margins alone.
void useCompactCells(QTableView* grid);

} // namespace dovrane
