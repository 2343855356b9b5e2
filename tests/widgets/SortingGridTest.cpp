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

// A left press at the first point, moves over the others and the release at the last.
void drag(QWidget* on, const QList<QPointF>& path) {
  for (qsizetype i = 0; i < path.size(); ++i) {
    const auto type = i == 0 ? QEvent::MouseButtonPress : QEvent::MouseMove;
    QMouseEvent e(type, path[i], on->mapToGlobal(path[i]), i == 0 ? Qt::LeftButton : Qt::NoButton,
                  Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(on, &e);
  }
  QMouseEvent up(QEvent::MouseButtonRelease, path.last(), on->mapToGlobal(path.last()),
                 Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(on, &up);
}

QPointF inside(const TSortingGrid& g, int col, int row) {
  const TRect r = g.CellRect(col, row);
  return QPointF(r.Left + 5, r.Top + 5);
}

}  // namespace

// 4 x 4 with one fixed row and column, default sizes (64 x 24, 1-pixel lines).
class SortingGrid : public ::testing::Test {
 protected:
  SortingGrid() {
    g.setColCount(4);
    g.setRowCount(4);
    g.resize(400, 200);
    g.show();
  }
  TSortingGrid g;
};

TEST_F(SortingGrid, CellTextOffsetsFollowTheAlignmentsAndTheFormatHook) {
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
  // The hook changes single cells: alignment, brush, hidden text.
  g.setCell(2, 1, "x");
  g.setCell(3, 2, "secret");
  g.OnGetCellFormat = [](int col, int row, unsigned state, TFormatOptions& o) {
    if (col == 2 && row == 1) {
      o.AlignmentHorz = taRightJustify;
      o.BrushColor = clYellow;
    }
    if (col == 3 && row == 2) o.HideText = true;
    if (state & gdFixed) o.Font.Style = fsBold;
  };
  RecordingCanvas c;
  g.render(c);
  // Centring rounds toward zero, also for text wider than its cell.
  EXPECT_EQ(textOf(c, "Wide text").Points[0].x(), g.CellRect(2, 2).Left + (64 - tw2) / 2);
  const auto e = textOf(c, "x");
  EXPECT_EQ(e.Points[0].x(), e.Rect.Right - c.TextWidth("x") - 2);
  EXPECT_EQ(e.Brush.Color, clYellow);
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
  // Disabled, the grid keeps its look, and the widget paints the same picture.
  g.setEnabled(false);
  EXPECT_EQ(g.renderImage(), img);
  const QImage shown = g.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(at(shown, 30, 30), at(img, 30, 30));
  EXPECT_EQ(at(shown, 64, 30), clBlack);
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
  const auto clickFixed = [&](Qt::KeyboardModifiers m) { click(g.viewport(), {80, 10}, m); };
  clickFixed(Qt::NoModifier);  // found numeric: 10 after 9
  EXPECT_EQ(clicked, 10);
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(g.Cells(1, 1), "2");
  EXPECT_EQ(g.Cells(1, 3), "10");
  clickFixed(Qt::ShiftModifier);
  EXPECT_EQ(g.Cells(1, 1), "10");
  g.OnBeginSort = [&](int, TSortOptions& o) { o.SortDirection = sdAscending; };
  clickFixed(Qt::ShiftModifier);  // the begin hook has the last word
  EXPECT_EQ(g.Cells(1, 1), "2");
  ASSERT_TRUE(g.CanUndoSort());
  g.UndoSort();
  EXPECT_EQ(g.Cells(1, 1), "10");
  g.setClickSorting(false);
  clickFixed(Qt::NoModifier);
  EXPECT_EQ(g.Cells(1, 1), "10");
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
    if (!k.isDigit() && k != QLatin1Char('.') && k != QLatin1Char('\b')) k = QChar();
  };
  g.setEditorMode(true);
  ASSERT_TRUE(g.EditorMode());
  QLineEdit* ed = g.InplaceEditor();
  ed->clear();
  for (QString s : {"4", "x", "2", ".", "5"}) key(ed, 0, Qt::NoModifier, s);
  EXPECT_EQ(ed->text(), "42.5");
  EXPECT_EQ(g.Cells(1, 1), "42.5");
  EXPECT_TRUE(g.Modified());
  key(ed, Qt::Key_Escape);
  EXPECT_FALSE(g.EditorMode());
  EXPECT_EQ(g.Cells(1, 1), "");  // Escape gives the cell its text back
  g.setCell(1, 1, "12.0");
  key(&g, Qt::Key_Backspace, Qt::NoModifier, "\b");  // opens the editor emptied
  EXPECT_TRUE(g.EditorMode());
  EXPECT_EQ(ed->text(), "");
  EXPECT_EQ(g.Cells(1, 1), "");
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
  EXPECT_EQ(g.Row(), 2);
  EXPECT_EQ(clicks, 2);
  key(&g, Qt::Key_Right);
  EXPECT_EQ(g.Col(), 2) << "the handler dropped the key";
  EXPECT_EQ(clicks, 2);
  // Mouse: a click on another cell and one on the current cell each count once.
  const TRect r = g.CellRect(3, 3);
  for (int i = 0; i < 2; ++i) click(g.viewport(), QPointF(r.Left + 5, r.Top + 5));
  EXPECT_EQ(clicks, 4);
  // A drag carries the current cell to each cell it passes and ends where it is released.
  drag(g.viewport(), {inside(g, 1, 1), inside(g, 1, 2), inside(g, 2, 2)});
  EXPECT_EQ(g.Col(), 2);
  EXPECT_EQ(g.Row(), 2);
  EXPECT_EQ(clicks, 7);
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
  grid->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(enters, enters0 + 1);
  EXPECT_EQ(exits, exits0);
  grid->setEditorMode(true);
  ASSERT_TRUE(grid->InplaceEditor()->hasFocus());
  QApplication::processEvents();
  EXPECT_EQ(enters, enters0 + 1) << "into the editor is no new enter";
  EXPECT_EQ(exits, exits0);
  // Another window activated and this one again: no exit, the editor keeps text and focus.
  key(grid->InplaceEditor(), 0, Qt::NoModifier, "7");
  QWidget other;
  other.show();
  QApplication::setActiveWindow(&other);
  QApplication::processEvents();
  QApplication::setActiveWindow(&window);
  QApplication::processEvents();
  EXPECT_EQ(exits, exits0);
  EXPECT_TRUE(grid->EditorMode());
  EXPECT_TRUE(grid->InplaceEditor()->hasFocus());
  EXPECT_EQ(enters, enters0 + 1);
  outside->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(enters, enters0 + 1);
  EXPECT_EQ(exits, exits0 + 1);
  grid->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(enters, enters0 + 2);
  EXPECT_EQ(exits, exits0 + 1);
  // Left from the editor, the grid forgot its cell: entering again remembers the edited text,
  // so the next click has nothing to validate.
  int validations = 0;
  grid->OnCellValidate = [&](int, int, QString&, bool&) { ++validations; };
  click(grid->viewport(), inside(*grid, grid->Col(), grid->Row()));
  EXPECT_EQ(validations, 0);
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
  EXPECT_EQ(iface->role(), QAccessible::Table);
  EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("經絡能量測定值"));
  QAccessibleTableInterface* table = iface->tableInterface();
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->rowCount(), 4);
  EXPECT_EQ(table->columnCount(), 4);
  EXPECT_EQ(iface->childCount(), 16);
  QAccessibleInterface* cell = table->cellAt(2, 1);
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->text(QAccessible::Name), QStringLiteral("64"));
  EXPECT_EQ(cell->role(), QAccessible::Cell);
  EXPECT_TRUE(cell->state().selected);
  EXPECT_EQ(iface->child(2 * 4 + 1), cell);
  EXPECT_EQ(iface->indexOfChild(cell), 2 * 4 + 1);
  EXPECT_EQ(cell->parent(), iface);
  EXPECT_EQ(table->selectedCells(), QList<QAccessibleInterface*>{cell});
  QAccessibleTableCellInterface* c = cell->tableCellInterface();
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->columnHeaderCells().value(0)->text(QAccessible::Name), QStringLiteral("肺"));
  EXPECT_EQ(c->rowHeaderCells().value(0)->text(QAccessible::Name), QStringLiteral("左"));
  EXPECT_EQ(c->columnHeaderCells().value(0)->role(), QAccessible::ColumnHeader);
  EXPECT_EQ(table->columnDescription(1), QStringLiteral("肺"));
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
  EXPECT_EQ(kept->text(QAccessible::Name), QStringLiteral("64"));
  EXPECT_EQ(iface->indexOfChild(kept), 2 * 2 + 1);
  EXPECT_EQ(table->cellAt(1, 3), nullptr);
}
