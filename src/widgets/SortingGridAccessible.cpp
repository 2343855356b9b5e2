#include "widgets/SortingGridAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QLineEdit>
#include <QPointer>
#include <utility>

#include "widgets/SortingGrid.h"

namespace ruto {

namespace {

// One cell; it reads the grid live, so it stays right while the grid keeps its size.
class GridCellAccessible final : public QAccessibleInterface, public QAccessibleTableCellInterface {
 public:
  GridCellAccessible(TSortingGrid* grid, int col, int row) : grid_(grid), col_(col), row_(row) {}

  TSortingGrid* grid() const { return grid_.data(); }

  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TableCellInterface)
      return static_cast<QAccessibleTableCellInterface*>(this);
    return nullptr;
  }
  bool isValid() const override {
    return grid_ && col_ < grid_->ColCount() && row_ < grid_->RowCount();
  }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return grid_ ? grid_->window()->windowHandle() : nullptr; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override {
    return QAccessible::queryAccessibleInterface(grid_.data());
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text t) const override {
    if (!isValid() || (t != QAccessible::Name && t != QAccessible::Value)) return {};
    return grid_->Cells(col_, row_).trimmed();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    if (!isValid()) return {};
    const TRect r = grid_->CellRect(col_, row_);
    if (r.isEmpty()) return {};
    return QRect(grid_->viewport()->mapToGlobal(QPoint(r.Left, r.Top)),
                 QSize(r.width(), r.height()));
  }
  QAccessible::Role role() const override {
    if (isValid() && row_ < grid_->FixedRows()) return QAccessible::ColumnHeader;
    if (isValid() && col_ < grid_->FixedCols()) return QAccessible::RowHeader;
    return QAccessible::Cell;
  }
  QAccessible::State state() const override {
    QAccessible::State s;
    if (!isValid()) {
      s.invalid = true;
      return s;
    }
    const bool fixed = row_ < grid_->FixedRows() || col_ < grid_->FixedCols();
    s.selectable = s.focusable = !fixed;
    s.selected = isSelected();
    s.focused = s.selected && grid_->hasFocus();
    s.invisible = rect().isEmpty();
    s.disabled = !grid_->isEnabled();
    s.readOnly = !(grid_->Options() & goEditing);
    return s;
  }

  bool isSelected() const override {
    return isValid() && col_ == grid_->Col() && row_ == grid_->Row();
  }
  QList<QAccessibleInterface*> columnHeaderCells() const override {
    QList<QAccessibleInterface*> cells;
    if (QAccessibleTableInterface* t = tableOf())
      for (int r = 0; r < grid_->FixedRows() && r != row_; ++r) cells << t->cellAt(r, col_);
    return cells;
  }
  QList<QAccessibleInterface*> rowHeaderCells() const override {
    QList<QAccessibleInterface*> cells;
    if (QAccessibleTableInterface* t = tableOf())
      for (int c = 0; c < grid_->FixedCols() && c != col_; ++c) cells << t->cellAt(row_, c);
    return cells;
  }
  int columnIndex() const override { return col_; }
  int rowIndex() const override { return row_; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return parent(); }

 private:
  QAccessibleTableInterface* tableOf() const {
    QAccessibleInterface* p = isValid() ? parent() : nullptr;
    return p ? p->tableInterface() : nullptr;
  }

  QPointer<TSortingGrid> grid_;
  int col_, row_;
};

// The grid: its cells row by row, then the in-place editor while it is open.
class SortingGridAccessible final : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  explicit SortingGridAccessible(TSortingGrid* grid)
      : QAccessibleWidget(grid, QAccessible::Table) {}
  ~SortingGridAccessible() override { dropCells(); }

  TSortingGrid* grid() const { return static_cast<TSortingGrid*>(object()); }

  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }

  // A grid without a name of its own is named by the label that has it as buddy.
  QString text(QAccessible::Text t) const override {
    QString s = QAccessibleWidget::text(t);
    if (t == QAccessible::Name && s.isEmpty()) {
      for (const auto& [label, relation] : relations(QAccessible::Label)) {
        s = label->text(QAccessible::Name);
        if (!s.isEmpty()) break;
      }
    }
    return s;
  }

  int childCount() const override { return cellCount() + (editorOpen() ? 1 : 0); }
  QAccessibleInterface* child(int index) const override {
    const int cols = grid()->ColCount();
    if (index >= 0 && index < cellCount()) return cellAt(index / cols, index % cols);
    if (index == cellCount() && editorOpen())
      return QAccessible::queryAccessibleInterface(grid()->InplaceEditor());
    return nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    if (!child) return -1;
    if (child->object() && child->object() == grid()->InplaceEditor())
      return editorOpen() ? cellCount() : -1;
    const auto* cell = dynamic_cast<const GridCellAccessible*>(child);
    if (!cell || cell->grid() != grid() || !cell->isValid()) return -1;
    return cell->rowIndex() * grid()->ColCount() + cell->columnIndex();
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    const QPoint p = grid()->viewport()->mapFromGlobal(QPoint(x, y));
    if (editorOpen() && grid()->InplaceEditor()->geometry().contains(p))
      return QAccessible::queryAccessibleInterface(grid()->InplaceEditor());
    int col = 0, row = 0;
    return grid()->MouseToCell(p, col, row) ? cellAt(row, col) : nullptr;
  }
  QAccessibleInterface* focusChild() const override {
    if (!grid()->hasFocus() && !grid()->InplaceEditor()->hasFocus()) return nullptr;
    if (grid()->InplaceEditor()->hasFocus())
      return QAccessible::queryAccessibleInterface(grid()->InplaceEditor());
    return cellAt(grid()->Row(), grid()->Col());
  }

  // ---- the table ----
  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int col) const override {
    if (!grid()->Data().validCell(col, row)) return nullptr;
    if (QAccessibleInterface* cell = handedOut(row, col)) return cell;
    auto* cell = new GridCellAccessible(grid(), col, row);
    cells_.insert(key(row, col), QAccessible::registerAccessibleInterface(cell));
    return cell;
  }
  int selectedCellCount() const override { return currentCell() ? 1 : 0; }
  QList<QAccessibleInterface*> selectedCells() const override {
    QList<QAccessibleInterface*> cells;
    if (QAccessibleInterface* c = currentCell()) cells << c;
    return cells;
  }
  QString columnDescription(int column) const override {
    QStringList parts;
    for (int r = 0; r < grid()->FixedRows(); ++r) parts << grid()->Cells(column, r).trimmed();
    return parts.join(QLatin1Char(' '));
  }
  QString rowDescription(int row) const override {
    QStringList parts;
    for (int c = 0; c < grid()->FixedCols(); ++c) parts << grid()->Cells(c, row).trimmed();
    return parts.join(QLatin1Char(' '));
  }
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override { return 0; }
  int columnCount() const override { return grid()->ColCount(); }
  int rowCount() const override { return grid()->RowCount(); }
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override { return {}; }
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int) const override { return false; }
  bool selectRow(int) override { return false; }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent* event) override {
    if (event->modelChangeType() != QAccessibleTableModelChangeEvent::DataChanged) dropCells();
  }

  // The cell's interface when one was handed out; nobody listens for the others.
  QAccessibleInterface* handedOut(int row, int col) const {
    const QAccessible::Id id = cells_.value(key(row, col));
    return id ? QAccessible::accessibleInterface(id) : nullptr;
  }
  void dropCells() {
    const QHash<quint64, QAccessible::Id> cells = std::exchange(cells_, {});
    for (const QAccessible::Id id : cells) QAccessible::deleteAccessibleInterface(id);
  }

 private:
  static quint64 key(int row, int col) { return (quint64(quint32(row)) << 32) | quint32(col); }
  int cellCount() const { return grid()->ColCount() * grid()->RowCount(); }
  bool editorOpen() const { return grid()->InplaceEditor()->isVisible(); }
  QAccessibleInterface* currentCell() const {
    const TSortingGrid* g = grid();
    if (g->Col() < g->FixedCols() || g->Row() < g->FixedRows()) return nullptr;
    return cellAt(g->Row(), g->Col());
  }
  mutable QHash<quint64, QAccessible::Id> cells_;
};

QAccessibleInterface* sortingGridFactory(const QString&, QObject* object) {
  if (auto* grid = qobject_cast<TSortingGrid*>(object)) return new SortingGridAccessible(grid);
  return nullptr;
}

SortingGridAccessible* accessibleOf(TSortingGrid* grid) {
  return dynamic_cast<SortingGridAccessible*>(QAccessible::queryAccessibleInterface(grid));
}

}  // namespace

QString GridCellCaption(const TSortingGrid& grid, int col, int row) {
  QStringList parts;
  for (int r = 0; r < grid.FixedRows() && r != row; ++r) parts << grid.Cells(col, r).trimmed();
  for (int c = 0; c < grid.FixedCols() && c != col; ++c) parts << grid.Cells(c, row).trimmed();
  parts.removeAll(QString());
  return parts.join(QLatin1Char(' '));
}

void InstallSortingGridAccessible() {
  static const bool installed = [] {
    QAccessible::installFactory(&sortingGridFactory);
    return true;
  }();
  (void)installed;
}

// Nothing is reported while no assistive technology listens. Cells are made only for a
// listener that asks.
void NotifyGridReset(TSortingGrid* grid) {
  if (!QAccessible::isActive()) return;
  if (SortingGridAccessible* a = accessibleOf(grid)) a->dropCells();
  QAccessibleTableModelChangeEvent event(grid, QAccessibleTableModelChangeEvent::ModelReset);
  QAccessible::updateAccessibility(&event);
}

void NotifyGridCells(TSortingGrid* grid, int col, int row) {
  if (!QAccessible::isActive()) return;
  QAccessibleTableModelChangeEvent event(grid, QAccessibleTableModelChangeEvent::DataChanged);
  event.setFirstRow(row < 0 ? 0 : row);
  event.setLastRow(row < 0 ? grid->RowCount() - 1 : row);
  event.setFirstColumn(col < 0 ? 0 : col);
  event.setLastColumn(col < 0 ? grid->ColCount() - 1 : col);
  QAccessible::updateAccessibility(&event);
  SortingGridAccessible* a = col < 0 || row < 0 ? nullptr : accessibleOf(grid);
  if (QAccessibleInterface* cell = a ? a->handedOut(row, col) : nullptr) {
    QAccessibleEvent changed(cell, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
  }
}

void NotifyGridCurrent(TSortingGrid* grid) {
  if (!QAccessible::isActive() || !grid->hasFocus()) return;
  SortingGridAccessible* a = accessibleOf(grid);
  if (QAccessibleInterface* cell = a ? a->cellAt(grid->Row(), grid->Col()) : nullptr) {
    QAccessibleEvent focus(cell, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
  }
}

}  // namespace ruto
