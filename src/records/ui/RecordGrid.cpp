#include "records/ui/RecordGrid.h"

#include <QAbstractButton>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include "base/Numbers.h"

namespace ruto {

QString PointValueText(const QVariant& value) {
  if (value.isNull()) return {};
  QString t = FormatFixed(value.toDouble(), 1);
  if (t.endsWith(QStringLiteral(".0"))) t.chop(2);
  const bool negative = t.startsWith(QLatin1Char('-'));
  QString digits = negative ? t.mid(1) : t;
  if (digits == QStringLiteral("0")) return {};
  if (digits.startsWith(QStringLiteral("0."))) digits.remove(0, 1);
  return negative ? QLatin1Char('-') + digits : digits;
}

RecordGridModel::RecordGridModel(RecordSet* set, const QList<GridColumn>& columns, QObject* parent)
    : RecordTableModel(set, parent), columns_(columns) {
  QList<RecordColumn> shown;
  for (const GridColumn& c : columns) shown << RecordColumn{c.name, c.title, c.format};
  setColumns(shown);
}

QVariant RecordGridModel::data(const QModelIndex& index, int role) const {
  if (role == Qt::TextAlignmentRole && index.isValid() && index.column() < columns_.size())
    return QVariant::fromValue(columns_[index.column()].alignment);
  return RecordTableModel::data(index, role);
}

QVariant RecordGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role == Qt::TextAlignmentRole && orientation == Qt::Horizontal)
    return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
  return RecordTableModel::headerData(section, orientation, role);
}

RecordGrid::RecordGrid(RecordSet* set, const QList<GridColumn>& columns, QWidget* parent)
    : QTableView(parent), set_(set), model_(new RecordGridModel(set, columns, this)) {
  setModel(model_);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setTabKeyNavigation(false);
  verticalHeader()->setDefaultSectionSize(20);
  verticalHeader()->setMinimumWidth(12);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  for (int i = 0; i < columns.size(); ++i) setColumnWidth(i, columns[i].width);
  // The titles, the row marks and the corner between them are the grid's own: a double click
  // on them is one on the grid.
  for (QHeaderView* h : {horizontalHeader(), verticalHeader()})
    h->viewport()->installEventFilter(this);
  if (auto* corner = findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly))
    corner->installEventFilter(this);
}

void RecordGrid::reload() {
  syncing_ = true;
  model_->reset();
  for (int i = 0; i < model_->gridColumns().size(); ++i)
    setColumnWidth(i, model_->gridColumns()[i].width);
  syncing_ = false;
  showCurrent();
}

void RecordGrid::showCurrent() {
  syncing_ = true;
  const int row = set_->position();
  if (row >= 0) {
    const QModelIndex index = model_->index(row, std::max(currentIndex().column(), 0));
    setCurrentIndex(index);
    scrollTo(index);
  } else {
    setCurrentIndex({});
  }
  syncing_ = false;
  Q_EMIT rowChanged();
}

void RecordGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  if (syncing_ || !current.isValid() || current.row() == previous.row()) return;
  set_->setPosition(current.row());
  Q_EMIT rowChanged();
}

QItemSelectionModel::SelectionFlags RecordGrid::selectionCommand(const QModelIndex& index,
                                                                 const QEvent* event) const {
  if (!index.isValid()) return QItemSelectionModel::NoUpdate;
  const QItemSelectionModel::SelectionFlags command = QTableView::selectionCommand(index, event);
  if (command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
    return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
  return command;
}

void RecordGrid::focusInEvent(QFocusEvent* event) {
  QTableView::focusInEvent(event);
  if (event->reason() != Qt::ActiveWindowFocusReason) Q_EMIT entered();
}

bool RecordGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched != viewport() && event->type() == QEvent::MouseButtonDblClick &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
    Q_EMIT gridDoubleClicked();
  return QTableView::eventFilter(watched, event);
}

void RecordGrid::mousePressEvent(QMouseEvent* event) {
  QTableView::mousePressEvent(event);
  if (event->button() == Qt::LeftButton) Q_EMIT colEnter();
}

void RecordGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  QTableView::mouseDoubleClickEvent(event);
  if (event->button() != Qt::LeftButton) return;
  Q_EMIT gridDoubleClicked();
  if (indexAt(event->position().toPoint()).isValid()) Q_EMIT rowDoubleClicked();
}

void RecordGrid::keyPressEvent(QKeyEvent* event) {
  QTableView::keyPressEvent(event);
  switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
      Q_EMIT colEnter();
      break;
    default:
      break;
  }
}

}  // namespace ruto
