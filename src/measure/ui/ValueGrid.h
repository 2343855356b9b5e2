#pragma once
// The 13 by 3 grid of the 24 point values as the measuring and the entry window show it.

class QWidget;

namespace ruto {

class TSortingGrid;

// Named valueGrid, a heading row and column, 57 by 22 cells, no scroll bars, centred,
// without click sorting, at the fixed size of its cells.
TSortingGrid* newValueGrid(QWidget* parent);

}  // namespace ruto
