#pragma once
// The cells of a sorting string grid and everything done to them that needs no display:
// sizes, the current cell, sorting with undo, row and column moves, search and delimited
// files. The grid control paints and edits these; tests use them directly.

#include <QString>
#include <QVector>
#include <cstdint>

namespace ruto {

// Sort styles and directions as the grid's sort options carry them.
constexpr std::uint8_t ssAutomatic = 0, ssAlphabetic = 1, ssNumeric = 2, ssDateTime = 3;
constexpr std::uint8_t sdAscending = 0, sdDescending = 1;

struct TSortOptions {
  std::uint8_t SortStyle = ssAutomatic;
  std::uint8_t SortDirection = sdAscending;
  bool CaseSensitive = false;
};

// One row of the last sort: the sorted cell's text and the row it came from.
struct TSortItem {
  QString Text;
  int Row = 0;
};

// Swaps two rows or columns as two moves, so whatever follows a move (sizes, the current
// cell) follows the swap as well.
template <class Move>
void SwapByMoves(int a, int b, Move move) {
  if (b > a) {
    move(b, a);
    move(a + 1, b);
  } else if (a > b) {
    move(a, b);
    move(b + 1, a);
  }
}

class TGridData {
 public:
  TGridData(int colCount = 5, int rowCount = 5, int fixedCols = 1, int fixedRows = 1);

  int ColCount() const { return colCount_; }
  int RowCount() const { return static_cast<int>(rows_.size()); }
  int FixedCols() const { return fixedCols_; }
  int FixedRows() const { return fixedRows_; }
  // Counts below one data row/column beyond the fixed ones, and fixed counts that leave no
  // data row/column, are refused (false).
  bool setColCount(int n);
  bool setRowCount(int n);
  bool setFixedCols(int n);
  bool setFixedRows(int n);

  // Outside the grid: empty text, and writes are ignored.
  QString Cells(int col, int row) const;
  void setCell(int col, int row, const QString& text);
  bool validCell(int col, int row) const;

  // The current cell; setCurrent refuses cells outside the grid.
  int Col() const { return col_; }
  int Row() const { return row_; }
  bool setCurrent(int col, int row);

  // Empties every cell.
  void Clear();
  // One row (column) more at the end, moved to index, which becomes the current row
  // (column). Index from the first data row (column) up to the old count.
  bool InsertRow(int index);
  bool InsertColumn(int index);
  // Refused for fixed or missing indexes and for the last data row (column).
  bool DeleteRow(int index);
  bool DeleteColumn(int index);
  // Takes the row (column) out at `from` and puts it in at `to`; the current cell follows.
  bool MoveRow(int from, int to);
  bool MoveColumn(int from, int to);
  bool SwapRows(int a, int b);
  bool SwapColumns(int a, int b);

  // ssNumeric when every data cell of the column converts as a number, else ssDateTime
  // when every one converts as a date and time, else ssAlphabetic.
  std::uint8_t DetectSortStyle(int col) const;
  // Sorts the data rows by the column with a concrete style (automatic compares as
  // alphabetic); the current row follows its row. Keeps the order for UndoSort.
  void SortByColumn(int col, const TSortOptions& options);
  bool CanUndoSort();
  bool UndoSort();
  const QVector<TSortItem>& SortedList() const { return sorted_; }

  // The first cell equal to text, ignoring letter case, searching column by column.
  bool FindCell(const QString& text, int& col, int& row) const;

  // Delimited text, one line per row. Cells holding the delimiter, a quote or a line break
  // are written between quotes (quotes doubled) and read back whole.
  bool LoadFromFile(const QString& fileName, QChar delimiter);
  bool SaveToFile(const QString& fileName, QChar delimiter) const;
  static QString joinLine(const QStringList& cells, QChar delimiter);
  static QVector<QStringList> splitText(const QString& text, QChar delimiter);

  // The conversions the sort uses; false when the text does not convert.
  static bool toNumber(const QString& text, double* value);
  static bool toDateTime(const QString& text, double* value);

 private:
  void forgetSort() { sorted_.clear(); }

  int colCount_ = 0;
  int fixedCols_ = 0;
  int fixedRows_ = 0;
  int col_ = 0;
  int row_ = 0;
  QVector<QStringList> rows_;  // every row holds colCount_ cells
  QVector<TSortItem> sorted_;
};

}  // namespace ruto
