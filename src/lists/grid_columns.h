#pragma once
// How every grid of fixed-width columns is set up: columns exactly as wide as
// their twips (no minimum width of the header widens a narrow one, and a
// model reset does not put them back to the default), cells that leave one
// pixel either side of their text, and a font small enough for the titles to
// fit their columns, as the widths were made for.
#include <QFont>
#include <QStringList>
#include <vector>

class QTableView;

namespace dovrane {

// Pixels a cell's text may take in a column px wide: its margins and the
// grid line are left out.
int gridTextRoom(int px);

// Column c of grid gets twipsToPx(twips[c]) pixels, now and after every
// reset of its model (a load, a new column set); columns beyond keep theirs.
void setGridColumnTwips(QTableView* grid, const std::vector<int>& twips);

// The largest size of base, no larger than base itself and no smaller than
// 6 points, at which every title fits the room of its column (twips).
QFont fittingGridFont(const QFont& base, const QStringList& titles, const std::vector<int>& twips);

// Gives the title grid and the grids under it the font at which the titles
// fit (a grid whose own font has a fixed pitch keeps its family and takes the
// size), and cells with narrow margins.
void fitGridFont(QTableView* titles, const QStringList& texts, const std::vector<int>& twips,
                 const std::vector<QTableView*>& grids);

// The narrow cell margins alone (grids without titles to fit).
void useCompactCells(QTableView* grid);

} // namespace dovrane
