#pragma once
// What assistive technology sees of a sorting grid: a table whose children are the cells,
// row by row (the fixed rows and columns as headers), each named by its text, the current
// cell selected. The interface is made by a factory the grid installs when the first grid is
// built; the grid reports its changes through the notifications below.

class QAccessibleInterface;
class QObject;
class QString;

namespace ruto {

class TSortingGrid;

// The headings of a cell: the texts of the fixed rows over it, then of the fixed columns
// before it, trimmed and joined by spaces (the in-place editor's name).
QString GridCellCaption(const TSortingGrid& grid, int col, int row);

// Puts the grid's factory into Qt's list once; later calls do nothing.
void InstallSortingGridAccessible();

// The cells changed in number or place: every cell interface handed out is dropped.
void NotifyGridReset(TSortingGrid* grid);
// The text of one cell changed (col and row -1: any cell may have).
void NotifyGridCells(TSortingGrid* grid, int col = -1, int row = -1);
// The current cell moved; a focused grid moves the focus of assistive technology with it.
void NotifyGridCurrent(TSortingGrid* grid);

}  // namespace ruto
