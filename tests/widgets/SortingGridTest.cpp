#include <gtest/gtest.h>

#include "support/TestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "widgets/SortingGrid.h"

using namespace ruto;

namespace {
using ruto::test::at;

RecordingCanvas::Entry textOf(const RecordingCanvas& c, const QString& text) {
  for (const auto& e : c.of("TextRect"))
    if (e.Text == text) return e;
  ADD_FAILURE() << "no text " << text.toStdString();
  return {};
}

void key(QWidget* to, int k, Qt::KeyboardModifiers m = Qt::NoModifier, const QString& text = {}) {
  QKeyEvent e(QEvent::KeyPress, k, m, text);
  QApplication::sendEvent(to, &e);
}

// A left click (press and release) at `p`.
void click(QWidget* on, QPointF p, Qt::KeyboardModifiers m = Qt::NoModifier) {
  for (const auto& [type, buttons] : {std::pair(QEvent::MouseButtonPress, Qt::LeftButton),
                                      {QEvent::MouseButtonRelease, Qt::NoButton}}) {
    QMouseEvent e(type, p, on->mapToGlobal(p), Qt::LeftButton, buttons, m);
    QApplication::sendEvent(on, &e);
  }
}

}  // namespace

// 4 x 4 with one fixed row and column, default sizes (64 x 24, 1-pixel lines).
class SortingGrid : public ::testing::Test {
 protected:
  SortingGrid() { g.setColCount(4), g.setRowCount(4), g.resize(400, 200), g.show(); }
  TSortingGrid g;
};

TEST_F(SortingGrid, CellTextOffsetsFollowTheAlignmentsAndTheFormatHook) {
  g.setCell(1, 1, "ab");
  g.setCell(2, 2, "Wide text");
  RecordingCanvas probe;
  const int tw = probe.TextWidth("ab"), th = probe.TextHeight("ab"),
            tw2 = probe.TextWidth("Wide text");
  const TRect r = g.CellRect(1, 1);
  EXPECT_EQ(r, (TRect{65, 25, 129, 49}));
  const std::tuple<TAlignment, TVertAlignment, int, int> cases[] = {
      {taLeftJustify, taTopJustify, 2, 2},
      {taRightJustify, taBottomJustify, 64 - tw - 2, 24 - th - 3},
      {taCenter, taMiddle, (64 - tw) / 2, (24 - th) / 2}};
  for (const auto& [h, v, dx, dy] : cases) {
    g.setAlignmentHorz(h);
    g.setAlignmentVert(v);
    RecordingCanvas c;
    g.render(c);
    const auto e = textOf(c, "ab");
    EXPECT_EQ(std::pair(e.Rect, e.Points[0]), std::pair(r, QPoint(r.Left + dx, r.Top + dy)))
        << h << "," << v;
  }
  // The hook changes single cells: alignment, brush, hidden text.
  g.setCell(2, 1, "x");
  g.setCell(3, 2, "secret");
  g.OnGetCellFormat = [](int col, int row, unsigned state, TFormatOptions& o) {
    if (col == 2 && row == 1) o.AlignmentHorz = taRightJustify, o.BrushColor = clYellow;
    if (col == 3 && row == 2) o.HideText = true;
    if (state & gdFixed) o.Font.Style = fsBold;
  };
  RecordingCanvas c;
  g.render(c);
  // Centring rounds toward zero, also for text wider than its cell.
  EXPECT_EQ(textOf(c, "Wide text").Points[0].x(), g.CellRect(2, 2).Left + (64 - tw2) / 2);
  const auto e = textOf(c, "x");
  EXPECT_EQ(std::pair(e.Points[0].x(), e.Brush.Color),
            std::pair(e.Rect.Right - c.TextWidth("x") - 2, clYellow));
  for (const auto& x : c.of("TextRect")) EXPECT_NE(x.Text, "secret");
  const QImage img = g.renderImage();
  EXPECT_EQ(at(img, g.CellRect(2, 1).Left + 3, g.CellRect(2, 1).Bottom - 3), clYellow);
}

TEST_F(SortingGrid, FixedCellsLinesSelectionAndBevelsAlsoWhenDisabled) {
  g.setCell(3, 3, "12.5");
  g.setCell(0, 1, "左  側");
  g.setBevelStyle(cbLowered);
  ASSERT_TRUE(g.setCurrent(2, 2));
  const QImage img = g.renderImage();
  const TRect r = g.CellRect(1, 1), s = g.CellRect(2, 2);
  // Fixed cell (0, 0): raised edges, button face inside, black lines right and below. Data
  // cell (1, 1): lowered bevel, silver lines. The current cell of an unfocused grid is
  // highlighted; past the last column, the grid colour.
  const ruto::test::Pixels pixels = {{0, 10, clBtnHighlight},
                                     {63, 10, clBtnShadow},
                                     {30, 23, clBtnShadow},
                                     {30, 12, clBtnFace},
                                     {64, 10, clBlack},
                                     {30, 24, clBlack},
                                     {r.Left, r.Top + 10, clBtnShadow},
                                     {r.Right - 1, r.Top + 10, clBtnHighlight},
                                     {r.Left + 10, r.Top, clBtnShadow},
                                     {r.Left + 10, r.Bottom - 1, clBtnHighlight},
                                     {r.Left + 10, r.Bottom - 4, clWindow},
                                     {r.Right, r.Top + 10, clSilver},
                                     {s.Left + 30, s.Bottom - 4, clHighlight},
                                     {300, 50, clWindow}};
  ruto::test::expectPixels(img, pixels);
  // Disabled, the grid keeps its look, and the widget paints the same picture.
  g.setEnabled(false);
  EXPECT_EQ(g.renderImage(), img);
  const QImage shown = g.grab().toImage().convertToFormat(QImage::Format_RGB32);
  ruto::test::expectPixels(shown, {{30, 30, at(img, 30, 30)}, {64, 30, clBlack}});
}

TEST_F(SortingGrid, ClickOnAFixedRowSortsItsColumnThroughTheHooks) {
  g.setRowCount(2);
  g.setCell(1, 1, "9");
  g.SortColumn(1, TSortOptions{});
  EXPECT_FALSE(g.CanUndoSort());  // a single data row is not sorted
  g.setRowCount(4);
  g.setCell(1, 2, "10");
  g.setCell(1, 3, "2");
  int clicked = -1, ended = -1;
  g.OnClickSort = [&](int col, int row, TSortOptions& o) {
    clicked = col * 10 + row;
    EXPECT_TRUE(o.CaseSensitive);
  };
  g.OnEndSort = [&](int col) { ended = col; };
  // The first cell after a click on the fixed row.
  const auto clickFixed = [&](Qt::KeyboardModifiers m) {
    click(g.viewport(), {80, 10}, m);
    return g.Cells(1, 1);
  };
  EXPECT_EQ(clickFixed(Qt::NoModifier), "2");  // found numeric: 10 after 9
  EXPECT_EQ(std::tuple(clicked, ended, g.Cells(1, 3)), std::tuple(10, 1, "10"));
  EXPECT_EQ(clickFixed(Qt::ShiftModifier), "10");
  g.OnBeginSort = [&](int, TSortOptions& o) { o.SortDirection = sdAscending; };
  EXPECT_EQ(clickFixed(Qt::ShiftModifier), "2");  // the begin hook has the last word
  ASSERT_TRUE(g.CanUndoSort());
  g.UndoSort();
  EXPECT_EQ(g.Cells(1, 1), "10");
  g.setClickSorting(false);
  EXPECT_EQ(clickFixed(Qt::NoModifier), "10");
}

TEST_F(SortingGrid, ValidationKeepsOrRestoresTheEditedCell) {
  g.setCell(1, 1, "old");
  g.RememberEditCell();
  g.OnCellValidate = [](int, int, QString& value, bool& valid) {
    valid = value == "good";
    if (value == "fix") value = "FIX";  // refused, but corrected by the hook
  };
  const char* cases[][2] = {{"bad", "old"}, {"good", "good"}, {"fix", "FIX"}};
  for (const auto& k : cases) {
    g.setCell(1, 1, k[0]);
    g.ValidateEditCell();
    EXPECT_EQ(g.Cells(1, 1), k[1]);
  }
}

TEST_F(SortingGrid, EditorFiltersKeysAndWritesTheCell) {
  g.setOptions(g.Options() | goEditing);
  g.OnKeyPress = [](QChar& k) {
    if (!k.isDigit() && k != QLatin1Char('.')) k = QChar();
  };
  g.setEditorMode(true);
  ASSERT_TRUE(g.EditorMode());
  QLineEdit* ed = g.InplaceEditor();
  ed->clear();
  for (QString s : {"4", "x", "2", ".", "5"}) key(ed, 0, Qt::NoModifier, s);
  EXPECT_EQ(std::tuple(ed->text(), g.Cells(1, 1), g.Modified()), std::tuple("42.5", "42.5", true));
  key(ed, Qt::Key_Escape);
  // Escape gives the cell its text back.
  EXPECT_EQ(std::tuple(g.EditorMode(), g.Cells(1, 1)), std::tuple(false, ""));
}

TEST_F(SortingGrid, ClickAndKeyDownEvents) {
  int clicks = 0;
  QList<int> keys;
  g.OnClick = [&] { ++clicks; };
  g.OnKeyDown = [&](int& k, Qt::KeyboardModifiers) {
    keys << k;
    if (k == Qt::Key_Right) k = 0;  // dropped before the grid moves
  };
  // Changes of the current cell by call and by key; none for the same cell.
  g.setCurrent(2, 1);
  g.setCurrent(2, 1);
  EXPECT_EQ(clicks, 1);
  key(&g, Qt::Key_Down);
  EXPECT_EQ(std::tuple(g.Row(), clicks), std::tuple(2, 2));
  key(&g, Qt::Key_Right);
  EXPECT_EQ(std::tuple(g.Col(), clicks), std::tuple(2, 2)) << "the handler dropped the key";
  // Mouse: a click on another cell and one on the current cell each count once.
  const TRect r = g.CellRect(3, 3);
  for (int i = 0; i < 2; ++i) click(g.viewport(), QPointF(r.Left + 5, r.Top + 5));
  EXPECT_EQ(clicks, 4);
  // Keys reach OnKeyDown in the editor too.
  g.setOptions(g.Options() | goEditing);
  g.setEditorMode(true);
  key(g.InplaceEditor(), Qt::Key_Up);
  EXPECT_EQ(keys, (QList<int>{Qt::Key_Down, Qt::Key_Right, Qt::Key_Up}));
}

TEST(SortingGridFocus, EditorBelongsToTheGridForEnterAndExit) {
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* grid = new TSortingGrid;
  auto* outside = new QLineEdit;
  layout->addWidget(grid);
  layout->addWidget(outside);
  grid->setOptions(grid->Options() | goEditing);
  int enters = 0, exits = 0;
  grid->OnEnter = [&] { ++enters; };
  grid->OnExit = [&] { ++exits; };
  window.show();
  window.activateWindow();
  QApplication::setActiveWindow(&window);
  outside->setFocus();
  QApplication::processEvents();
  const int enters0 = enters, exits0 = exits;
  // Enters and exits after giving `w` the focus.
  const auto focus = [&](QWidget* w) {
    w->setFocus();
    QApplication::processEvents();
    return std::pair(enters, exits);
  };
  EXPECT_EQ(focus(grid), std::pair(enters0 + 1, exits0));
  grid->setEditorMode(true);
  ASSERT_TRUE(grid->InplaceEditor()->hasFocus());
  QApplication::processEvents();
  // Into the editor is no new enter.
  EXPECT_EQ(std::tuple(enters, exits), std::tuple(enters0 + 1, exits0));
  EXPECT_EQ(focus(outside), std::pair(enters0 + 1, exits0 + 1));
  EXPECT_EQ(focus(grid), std::pair(enters0 + 2, exits0 + 1));
}

// Assistive technology reads the grid as a table: cells row by row named by their trimmed
// text, fixed cells as headers, the current cell selected, the name from the label's buddy,
// and a resized grid still read right.
TEST(SortingGridAccessible, ReadsTheCellsAsATable) {
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* title = new QLabel(QStringLiteral("經絡能量測定值"), &window);
  auto* grid = new TSortingGrid(&window);
  TSortingGrid& g = *grid;
  g.setColCount(4);
  g.setRowCount(4);
  layout->addWidget(title);
  layout->addWidget(grid);
  title->setBuddy(grid);
  window.show();
  g.setCell(1, 0, QStringLiteral("肺"));
  g.setCell(0, 2, QStringLiteral("左"));
  g.setCell(1, 2, QStringLiteral(" 64"));
  g.setCurrent(1, 2);
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&g);
  ASSERT_NE(iface, nullptr);
  EXPECT_EQ(std::tuple(iface->role(), iface->text(QAccessible::Name)),
            std::tuple(QAccessible::Table, QStringLiteral("經絡能量測定值")));
  QAccessibleTableInterface* table = iface->tableInterface();
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(std::tuple(table->rowCount(), table->columnCount(), iface->childCount()),
            std::tuple(4, 4, 16));
  QAccessibleInterface* cell = table->cellAt(2, 1);
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(std::tuple(cell->text(QAccessible::Name), cell->role(), bool(cell->state().selected)),
            std::tuple(QStringLiteral("64"), QAccessible::Cell, true));
  EXPECT_EQ(std::tuple(iface->child(2 * 4 + 1), iface->indexOfChild(cell), cell->parent()),
            std::tuple(cell, 2 * 4 + 1, iface));
  EXPECT_EQ(table->selectedCells(), QList<QAccessibleInterface*>{cell});
  QAccessibleTableCellInterface* c = cell->tableCellInterface();
  ASSERT_NE(c, nullptr);
  QAccessibleInterface* heading = c->columnHeaderCells().value(0);
  EXPECT_EQ(std::tuple(heading->text(QAccessible::Name), heading->role(),
                       c->rowHeaderCells().value(0)->text(QAccessible::Name),
                       table->columnDescription(1)),
            std::tuple(QStringLiteral("肺"), QAccessible::ColumnHeader, QStringLiteral("左"),
                       QStringLiteral("肺")));
  EXPECT_EQ(iface->childAt(cell->rect().center().x(), cell->rect().center().y()), cell);
  // The in-place editor, a child while open, is named by the cell's headings.
  g.setOptions(g.Options() | goEditing);
  g.setEditorMode(true);
  ASSERT_EQ(iface->childCount(), 17);
  EXPECT_EQ(iface->child(16)->text(QAccessible::Name), QStringLiteral("肺 左"));
  g.setEditorMode(false);
  // Two columns fewer: the kept cells read on, the others are gone.
  g.setColCount(2);
  EXPECT_EQ(iface->childCount(), 8);
  QAccessibleInterface* kept = table->cellAt(2, 1);
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(std::tuple(kept->text(QAccessible::Name), iface->indexOfChild(kept)),
            std::tuple(QStringLiteral("64"), 2 * 2 + 1));
  EXPECT_EQ(table->cellAt(1, 3), nullptr);
}
