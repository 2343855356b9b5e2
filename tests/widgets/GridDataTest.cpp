#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "support/TestSupport.h"
#include "widgets/GridData.h"

using namespace ruto;

namespace {

// A grid of one fixed row and column with the given data cells in column 1 (rows 1..n)
// and the row's number before the sort in column 2.
TGridData column(const QStringList& cells) {
  TGridData g(3, static_cast<int>(cells.size()) + 1, 1, 1);
  for (int i = 0; i < cells.size(); ++i) {
    g.setCell(1, i + 1, cells[i]);
    g.setCell(2, i + 1, QString::number(i + 1));
  }
  return g;
}

QStringList col(const TGridData& g, int c) {
  QStringList out;
  for (int r = g.FixedRows(); r < g.RowCount(); ++r) out << g.Cells(c, r);
  return out;
}

// Sorts a column of `cells` and gives the rows' numbers before the sort in their new order:
// the order of the values, that whole rows moved and that equal keys kept their order.
QString sortedRows(const QStringList& cells, std::uint8_t style, std::uint8_t dir = sdAscending,
                   bool caseSensitive = true) {
  TGridData g = column(cells);
  g.SortByColumn(1, TSortOptions{style, dir, caseSensitive});
  return col(g, 2).join(' ');
}

}  // namespace

TEST(GridData, DetectsNumericDateAndAlphabeticColumns) {
  EXPECT_EQ(column({"9", "10", "-1.5"}).DetectSortStyle(1), ssNumeric);
  EXPECT_EQ(column({"2024/01/02", "1999/12/31 08:30"}).DetectSortStyle(1), ssDateTime);
  EXPECT_EQ(column({"9", "10", "x"}).DetectSortStyle(1), ssAlphabetic);
  EXPECT_EQ(column({"9", ""}).DetectSortStyle(1), ssAlphabetic);      // a blank is no number
  EXPECT_EQ(TGridData(3, 2, 1, 1).DetectSortStyle(1), ssAlphabetic);  // one empty data cell
  // Every cell is tested for both kinds, whatever the row order.
  EXPECT_EQ(column({"5", "2020/01/01"}).DetectSortStyle(1), ssAlphabetic);
  EXPECT_EQ(column({"2020/01/01", "5"}).DetectSortStyle(1), ssAlphabetic);
}

TEST(GridData, SortOrdersByStyleAndDirectionAndKeepsEqualKeysInOrder) {
  const QStringList nums{"10", "9", "100", "1"};
  EXPECT_EQ(sortedRows(nums, ssNumeric), "4 2 1 3");     // 1 9 10 100
  EXPECT_EQ(sortedRows(nums, ssAlphabetic), "4 1 3 2");  // 1 10 100 9
  EXPECT_EQ(sortedRows(nums, ssNumeric, sdDescending), "3 1 2 4");
  const QStringList letters{"b", "a", "B", "a", "b"};
  EXPECT_EQ(sortedRows(letters, ssAlphabetic, sdAscending, false), "2 4 1 3 5");
  EXPECT_EQ(sortedRows(letters, ssAlphabetic, sdDescending, false), "1 3 5 2 4");
  EXPECT_EQ(sortedRows({"b", "a", "B"}, ssAlphabetic), "3 2 1");  // upper case sorts first
  // Cells that do not convert come first, in their old order, in both directions.
  const QStringList mixed{"5", "x", "1", "", "3"};
  EXPECT_EQ(sortedRows(mixed, ssNumeric), "2 4 3 5 1");
  EXPECT_EQ(sortedRows(mixed, ssNumeric, sdDescending), "2 4 1 5 3");
  EXPECT_EQ(sortedRows({"2020/05/01", "soon", "2019/01/01"}, ssDateTime), "2 3 1");
}

TEST(GridData, UndoRestoresTheOrderAndCurrentRowOnceAndNotAfterRowsChanged) {
  TGridData g = column({"c", "a", "b"});
  ASSERT_TRUE(g.setCurrent(2, 1));  // the "c" row
  g.SortByColumn(1, TSortOptions{ssAlphabetic});
  EXPECT_EQ(g.Row(), 3);
  ASSERT_TRUE(g.UndoSort());
  EXPECT_EQ(col(g, 1), (QStringList{"c", "a", "b"}));
  EXPECT_EQ(g.Row(), 1);
  EXPECT_FALSE(g.CanUndoSort());  // undone once only
  g.SortByColumn(1, TSortOptions{ssAlphabetic});
  ASSERT_TRUE(g.InsertRow(2));
  EXPECT_FALSE(g.CanUndoSort());
  EXPECT_FALSE(g.UndoSort());
  EXPECT_EQ(col(g, 1), (QStringList{"a", "", "b", "c"}));
  EXPECT_TRUE(g.SortedList().isEmpty());
  g.SortByColumn(1, TSortOptions{ssAlphabetic});
  g.MoveRow(1, 3);  // a move would scramble the kept order too
  EXPECT_FALSE(g.UndoSort());
}

TEST(GridData, InsertDeleteAndKeepingOneDataRowAndColumn) {
  TGridData g = column({"a", "b"});
  ASSERT_TRUE(g.InsertRow(1));
  EXPECT_EQ(g.RowCount(), 4);
  EXPECT_EQ(g.Row(), 1);
  EXPECT_EQ(col(g, 1), (QStringList{"", "a", "b"}));
  EXPECT_FALSE(g.InsertRow(0));  // fixed
  EXPECT_FALSE(g.InsertRow(9));  // missing
  EXPECT_TRUE(g.InsertRow(4));   // at the end
  EXPECT_FALSE(g.DeleteRow(0));
  EXPECT_FALSE(g.DeleteRow(-1));
  while (g.RowCount() > 2) ASSERT_TRUE(g.DeleteRow(1));
  EXPECT_FALSE(g.DeleteRow(1));  // the last data row stays
  EXPECT_EQ(g.Cells(1, 1), "");
  EXPECT_TRUE(g.DeleteColumn(1));
  EXPECT_FALSE(g.DeleteColumn(1));
  EXPECT_EQ(g.ColCount(), 2);
  EXPECT_FALSE(g.setRowCount(1));
  EXPECT_FALSE(g.setColCount(1));
  EXPECT_FALSE(g.setFixedRows(2));
  g.setCell(7, 7, "x");  // ignored
  EXPECT_EQ(g.Cells(7, 7), "");
  ASSERT_TRUE(g.InsertColumn(1));
  EXPECT_EQ(g.Col(), 1);
  EXPECT_EQ(g.ColCount(), 3);
}

TEST(GridData, MovesAndSwapsOfRowsAndColumns) {
  TGridData g = column({"a", "b", "c", "d"});
  ASSERT_TRUE(g.setCurrent(1, 2));  // "b"
  ASSERT_TRUE(g.MoveRow(1, 4));
  EXPECT_EQ(col(g, 1), (QStringList{"b", "c", "d", "a"}));
  EXPECT_EQ(g.Row(), 1);  // followed "b"
  ASSERT_TRUE(g.SwapRows(1, 3));
  EXPECT_EQ(col(g, 1), (QStringList{"d", "c", "b", "a"}));
  ASSERT_TRUE(g.SwapRows(4, 2));
  EXPECT_EQ(col(g, 1), (QStringList{"d", "a", "b", "c"}));
  ASSERT_TRUE(g.SwapRows(2, 2));
  EXPECT_EQ(col(g, 1), (QStringList{"d", "a", "b", "c"}));
  EXPECT_FALSE(g.SwapRows(2, 9));
  EXPECT_FALSE(g.MoveRow(-1, 2));
  ASSERT_TRUE(g.SwapColumns(1, 2));
  EXPECT_EQ(col(g, 2), (QStringList{"d", "a", "b", "c"}));
  ASSERT_TRUE(g.MoveColumn(2, 0));
  EXPECT_EQ(g.Cells(0, 1), "d");
}

TEST(GridData, FindCellSearchesColumnByColumnIgnoringCase) {
  TGridData g = column({"Apple", "pear", "apple"});
  g.setCell(0, 3, "PEAR");
  int c = -1, r = -1;
  ASSERT_TRUE(g.FindCell("pear", c, r));
  EXPECT_EQ(c, 0);  // column 0 is searched before column 1
  EXPECT_EQ(r, 3);
  ASSERT_TRUE(g.FindCell("APPLE", c, r));
  EXPECT_EQ(c, 1);
  EXPECT_EQ(r, 1);
  EXPECT_FALSE(g.FindCell("plum", c, r));
}

TEST(GridData, DelimitedFilesRoundTripWithQuotedCells) {
  QTemporaryDir dir;
  const QString path = dir.filePath("grid.txt");
  TGridData g(3, 3, 1, 1);
  g.setCell(0, 0, "名稱");
  g.setCell(1, 1, "a,b");
  g.setCell(2, 1, "say \"hi\"");
  g.setCell(1, 2, "two\nlines");
  ASSERT_TRUE(g.SaveToFile(path, ','));
  const QByteArray raw = test::readFile(path);
  EXPECT_TRUE(raw.contains("\"a,b\""));
  EXPECT_TRUE(raw.contains("\"say \"\"hi\"\"\""));
  EXPECT_TRUE(raw.endsWith("\r\n"));
  TGridData h(2, 2, 1, 1);
  ASSERT_TRUE(h.LoadFromFile(path, ','));
  EXPECT_EQ(h.RowCount(), 3);
  EXPECT_EQ(h.ColCount(), 3);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(h.Cells(c, r), g.Cells(c, r)) << c << "," << r;

  // A save that fails on a full disk keeps the file that was there.
  g.setCell(0, 0, QString(4096, 'x'));
  {
    test::FileSizeLimit full(1024);
    EXPECT_FALSE(g.SaveToFile(path, ','));
  }
  EXPECT_EQ(test::readFile(path), raw);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"grid.txt"});
}

TEST(GridData, LoadingSplitsAtEveryDelimiterAndGrowsToTheWidestLine) {
  QTemporaryDir dir;
  const QString path = dir.filePath("grid.txt");
  ASSERT_TRUE(test::writeFile(path, "a;;c\n\nx;y;z;w\n"));
  TGridData g(5, 9, 1, 1);
  g.setCell(4, 8, "old");
  ASSERT_TRUE(g.LoadFromFile(path, ';'));
  EXPECT_EQ(g.RowCount(), 3);
  EXPECT_EQ(g.ColCount(), 4);
  EXPECT_EQ(g.Cells(1, 0), "");  // two delimiters in a row
  EXPECT_EQ(g.Cells(2, 0), "c");
  EXPECT_EQ(g.Cells(0, 1), "");  // an empty line is one empty cell
  EXPECT_EQ(g.Cells(3, 2), "w");
  ASSERT_TRUE(test::writeFile(path, ""));
  ASSERT_TRUE(g.LoadFromFile(path, ';'));
  EXPECT_EQ(g.RowCount(), 2);  // still one data row
  EXPECT_EQ(g.ColCount(), 2);
  EXPECT_FALSE(g.LoadFromFile(dir.filePath("missing.txt"), ';'));
}
