#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <cmath>

#include "widgets/SortingGrid.h"

using namespace ruto;

namespace {

TColor at(const QImage& img, int x, int y) { return fromQColor(QColor(img.pixel(x, y))); }

// 4 x 4 with one fixed row and column, default sizes (64 x 24, 1-pixel lines).
struct Grid {
  TSortingGrid g;
  Grid() {
    g.setColCount(4);
    g.setRowCount(4);
    g.resize(400, 200);
    g.show();
  }
};

RecordingCanvas::Entry textOf(const RecordingCanvas& c, const QString& text) {
  for (const auto& e : c.of("TextRect"))
    if (e.Text == text) return e;
  ADD_FAILURE() << "no text " << text.toStdString();
  return {};
}

}  // namespace

TEST(SortingGrid, CellTextOffsetsFollowTheAlignments) {
  Grid t;
  TSortingGrid& g = t.g;
  g.setCell(1, 1, "ab");
  g.setCell(2, 2, "Wide text");
  RecordingCanvas probe;
  const int tw = probe.TextWidth("ab"), th = probe.TextHeight("ab");
  const int tw2 = probe.TextWidth("Wide text");
  const TRect r = g.CellRect(1, 1);
  EXPECT_EQ(r, (TRect{65, 25, 129, 49}));
  struct Case {
    TAlignment h;
    TVertAlignment v;
    int dx, dy;
  } cases[] = {{taLeftJustify, taTopJustify, 2, 2},
               {taRightJustify, taBottomJustify, 64 - tw - 2, 24 - th - 3},
               {taCenter, taMiddle, (64 - tw) / 2, (24 - th) / 2}};
  for (const Case& k : cases) {
    g.setAlignmentHorz(k.h);
    g.setAlignmentVert(k.v);
    RecordingCanvas c;
    g.render(c);
    const auto e = textOf(c, "ab");
    EXPECT_EQ(e.Rect, r);
    EXPECT_EQ(e.Points[0], QPoint(r.Left + k.dx, r.Top + k.dy)) << k.h << "," << k.v;
  }
  // Centring rounds toward zero, also for text wider than its cell.
  RecordingCanvas c;
  g.render(c);
  EXPECT_EQ(textOf(c, "Wide text").Points[0].x(), g.CellRect(2, 2).Left + (64 - tw2) / 2);
}

TEST(SortingGrid, FormatHookChangesOneCell) {
  Grid t;
  TSortingGrid& g = t.g;
  g.setCell(2, 1, "x");
  g.setCell(2, 2, "secret");
  g.OnGetCellFormat = [](int col, int row, unsigned state, TFormatOptions& o) {
    if (col == 2 && row == 1) o.AlignmentHorz = taRightJustify, o.BrushColor = clYellow;
    if (col == 2 && row == 2) o.HideText = true;
    if (state & gdFixed) o.Font.Style = fsBold;
  };
  RecordingCanvas c;
  g.render(c);
  const auto e = textOf(c, "x");
  EXPECT_EQ(e.Points[0].x(), e.Rect.Right - c.TextWidth("x") - 2);
  EXPECT_EQ(e.Brush.Color, clYellow);
  for (const auto& x : c.of("TextRect")) EXPECT_NE(x.Text, "secret");
  const QImage img = g.renderImage();
  EXPECT_EQ(at(img, g.CellRect(2, 1).Left + 3, g.CellRect(2, 1).Bottom - 3), clYellow);
}

TEST(SortingGrid, FixedCellsLinesSelectionAndBevels) {
  Grid t;
  TSortingGrid& g = t.g;
  g.setBevelStyle(cbLowered);
  ASSERT_TRUE(g.setCurrent(2, 2));
  const QImage img = g.renderImage();
  // Fixed cell (0, 0): raised edges, button face inside, black lines right and below.
  EXPECT_EQ(at(img, 0, 10), clBtnHighlight);
  EXPECT_EQ(at(img, 63, 10), clBtnShadow);
  EXPECT_EQ(at(img, 30, 23), clBtnShadow);
  EXPECT_EQ(at(img, 30, 12), clBtnFace);
  EXPECT_EQ(at(img, 64, 10), clBlack);
  EXPECT_EQ(at(img, 30, 24), clBlack);
  // Data cell (1, 1): lowered bevel, silver lines.
  const TRect r = g.CellRect(1, 1);
  EXPECT_EQ(at(img, r.Left, r.Top + 10), clBtnShadow);
  EXPECT_EQ(at(img, r.Right - 1, r.Top + 10), clBtnHighlight);
  EXPECT_EQ(at(img, r.Left + 10, r.Top), clBtnShadow);
  EXPECT_EQ(at(img, r.Left + 10, r.Bottom - 1), clBtnHighlight);
  EXPECT_EQ(at(img, r.Left + 10, r.Bottom - 4), clWindow);
  EXPECT_EQ(at(img, r.Right, r.Top + 10), clSilver);
  // The current cell of an unfocused grid is highlighted.
  const TRect s = g.CellRect(2, 2);
  EXPECT_EQ(at(img, s.Left + 30, s.Bottom - 4), clHighlight);
  // Past the last column: the grid colour.
  EXPECT_EQ(at(img, 300, 50), clWindow);
}

TEST(SortingGrid, DisabledGridKeepsItsLook) {
  Grid t;
  TSortingGrid& g = t.g;
  g.setCell(1, 1, "12.5");
  g.setCell(0, 1, "左  側");
  const QImage before = g.renderImage();
  g.setEnabled(false);
  EXPECT_EQ(g.renderImage(), before);
  // The widget paints the same picture.
  const QImage shown = g.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(at(shown, 30, 30), at(before, 30, 30));
  EXPECT_EQ(at(shown, 64, 30), clBlack);
}

TEST(SortingGrid, SelectVetoAndMoveToLimits) {
  Grid t;
  TSortingGrid& g = t.g;
  g.OnSelectCell = [](int, int row, bool& can) { can = row != 2; };
  EXPECT_FALSE(g.setCurrent(1, 2));
  EXPECT_EQ(g.Row(), 1);
  EXPECT_TRUE(g.setCurrent(3, 3));
  EXPECT_FALSE(g.setCurrent(0, 3));  // fixed
  EXPECT_FALSE(g.setCurrent(9, 3));
  g.MoveTo(-4, 0);  // limited to the first data cell
  EXPECT_EQ(g.Col(), 1);
  EXPECT_EQ(g.Row(), 1);
}

TEST(SortingGrid, ClickOnAFixedRowSortsItsColumn) {
  Grid t;
  TSortingGrid& g = t.g;
  const QStringList values{"9", "10", "2"};
  for (int i = 0; i < 3; ++i) g.setCell(1, i + 1, values[i]);
  int clicked = -1, ended = -1;
  g.OnClickSort = [&](int col, int row, TSortOptions& o) {
    clicked = col * 10 + row;
    EXPECT_TRUE(o.CaseSensitive);
  };
  g.OnEndSort = [&](int col) { ended = col; };
  auto click = [&](Qt::KeyboardModifiers mods) {
    const QPointF p(80, 10);
    QMouseEvent press(QEvent::MouseButtonPress, p, g.viewport()->mapToGlobal(p), Qt::LeftButton,
                      Qt::LeftButton, mods);
    QMouseEvent release(QEvent::MouseButtonRelease, p, g.viewport()->mapToGlobal(p), Qt::LeftButton,
                        Qt::NoButton, mods);
    QApplication::sendEvent(g.viewport(), &press);
    QApplication::sendEvent(g.viewport(), &release);
  };
  click(Qt::NoModifier);
  EXPECT_EQ(clicked, 10);
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(g.Cells(1, 1), "2");
  EXPECT_EQ(g.Cells(1, 3), "10");
  click(Qt::ShiftModifier);
  EXPECT_EQ(g.Cells(1, 1), "10");
  g.setClickSorting(false);
  click(Qt::NoModifier);
  EXPECT_EQ(g.Cells(1, 1), "10");
}

TEST(SortingGrid, SortColumnNeedsTwoDataRowsAndCanBeUndone) {
  Grid t;
  TSortingGrid& g = t.g;
  g.setRowCount(2);
  g.setCell(1, 1, "b");
  g.SortColumn(1, TSortOptions{});
  EXPECT_FALSE(g.CanUndoSort());  // a single data row is not sorted
  g.setRowCount(3);
  g.setCell(1, 2, "a");
  TSortOptions seen;
  g.OnBeginSort = [&](int, TSortOptions& o) { o.SortDirection = sdDescending; };
  g.OnEndSort = [&](int) { seen.SortStyle = 99; };
  g.SortColumn(1, TSortOptions{});
  EXPECT_EQ(seen.SortStyle, 99);
  EXPECT_EQ(g.Cells(1, 1), "b");  // the begin hook turned it descending
  g.OnBeginSort = nullptr;
  g.SortColumn(1, TSortOptions{});
  EXPECT_EQ(g.Cells(1, 1), "a");
  ASSERT_TRUE(g.CanUndoSort());
  g.UndoSort();
  EXPECT_EQ(g.Cells(1, 1), "b");
}

TEST(SortingGrid, ValidationKeepsOrRestoresTheEditedCell) {
  Grid t;
  TSortingGrid& g = t.g;
  g.setCell(1, 1, "old");
  g.RememberEditCell();
  g.OnCellValidate = [](int, int, QString& value, bool& valid) { valid = value != "bad"; };
  g.setCell(1, 1, "bad");
  g.ValidateEditCell();
  EXPECT_EQ(g.Cells(1, 1), "old");
  g.setCell(1, 1, "good");
  g.ValidateEditCell();
  EXPECT_EQ(g.Cells(1, 1), "good");
  g.OnCellValidate = [](int, int, QString& value, bool& valid) {
    valid = false;
    value = value.toUpper();
  };
  g.setCell(1, 1, "fix");
  g.ValidateEditCell();
  EXPECT_EQ(g.Cells(1, 1), "FIX");
}

TEST(SortingGrid, EditorFiltersKeysAndWritesTheCell) {
  Grid t;
  TSortingGrid& g = t.g;
  g.setOptions(g.Options() | goEditing);
  g.OnKeyPress = [](QChar& k) {
    if (!k.isDigit() && k != QLatin1Char('.')) k = QChar();
  };
  g.setEditorMode(true);
  ASSERT_TRUE(g.EditorMode());
  QLineEdit* ed = g.InplaceEditor();
  ed->clear();
  for (QString s : {"4", "x", "2", ".", "5"}) {
    QKeyEvent k(QEvent::KeyPress, 0, Qt::NoModifier, s);
    QApplication::sendEvent(ed, &k);
  }
  EXPECT_EQ(ed->text(), "42.5");
  EXPECT_EQ(g.Cells(1, 1), "42.5");
  EXPECT_TRUE(g.Modified());
  QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(ed, &esc);
  EXPECT_FALSE(g.EditorMode());
  EXPECT_EQ(g.Cells(1, 1), "");  // Escape gives the cell its text back
}

TEST(SortingGrid, ExtendedKeysInsertAndDeleteRowsAndColumns) {
  Grid t;
  TSortingGrid& g = t.g;
  int inserted = -1, sizeEvents = 0;
  g.OnRowInsert = [&](int i) { inserted = i; };
  g.OnSizeChanged = [&](int, int) { ++sizeEvents; };
  auto key = [&](int k, Qt::KeyboardModifiers m) {
    QKeyEvent e(QEvent::KeyPress, k, m);
    QApplication::sendEvent(&g, &e);
  };
  g.setCurrent(2, 2);
  key(Qt::Key_Insert, Qt::ControlModifier);
  EXPECT_EQ(g.RowCount(), 4);  // shortcuts are off by default
  g.setExtendedKeys(true);
  key(Qt::Key_Insert, Qt::ControlModifier);
  EXPECT_EQ(g.RowCount(), 5);
  EXPECT_EQ(inserted, 2);
  EXPECT_EQ(sizeEvents, 1);
  key(Qt::Key_Insert, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(g.ColCount(), 5);
  for (int i = 0; i < 6; ++i) key(Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_EQ(g.RowCount(), 2);
  for (int i = 0; i < 6; ++i) key(Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(g.ColCount(), 2);
}

TEST(SortingGrid, ProportionalScrollBarPage) {
  TSortingGrid g;
  g.setRowCount(40);
  g.setScrollBars(ssVertical);
  g.resize(300, 24 * 6 + 6);
  g.show();
  g.UpdateScrollBars();
  const int range = g.verticalScrollBar()->maximum();
  ASSERT_GT(range, 0);
  const int visible = g.VisibleRowCount();
  EXPECT_EQ(g.verticalScrollBar()->pageStep(),
            std::max(1, int(std::nearbyint(double(visible + 1) / 40 * (range + 1)))));
  g.setRow(39);
  EXPECT_GT(g.TopRow(), 30);
  EXPECT_FALSE(g.CellRect(1, 39).isEmpty());
}
