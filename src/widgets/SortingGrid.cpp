#include "widgets/SortingGrid.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "base/Numbers.h"
#include "widgets/SortingGridAccessible.h"

namespace ruto {

namespace {
// Mirrors a move of rows or columns on their size list.
void moveSize(QVector<int>& sizes, int from, int to) {
  if (from >= 0 && to >= 0 && from < sizes.size() && to < sizes.size()) sizes.move(from, to);
}
}  // namespace

TSortingGrid::TSortingGrid(QWidget* parent) : QAbstractScrollArea(parent) {
  InstallSortingGridAccessible();
  colWidths_ = QVector<int>(data_.ColCount(), -1);
  rowHeights_ = QVector<int>(data_.RowCount(), -1);
  topRow_ = data_.FixedRows();
  leftCol_ = data_.FixedCols();
  setFocusPolicy(Qt::StrongFocus);
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  editor_ = new QLineEdit(viewport());
  editor_->setFrame(false);
  editor_->hide();
  editor_->installEventFilter(this);
  QObject::connect(editor_, &QLineEdit::textEdited, this,
                   [this](const QString& t) { SetEditText(Col(), Row(), t); });
  resize(320, 120);
}

TSortingGrid::~TSortingGrid() = default;

// ---- sizes and cells ----

void TSortingGrid::refresh() { viewport()->update(); }

void TSortingGrid::sizeChanged(int oldCols, int oldRows) {
  colWidths_.resize(ColCount(), -1);
  rowHeights_.resize(RowCount(), -1);
  topRow_ = std::clamp(topRow_, FixedRows(), std::max(FixedRows(), maxTopRow()));
  leftCol_ = std::clamp(leftCol_, FixedCols(), std::max(FixedCols(), maxLeftCol()));
  if (OnSizeChanged && (oldCols != ColCount() || oldRows != RowCount()))
    OnSizeChanged(oldCols, oldRows);
  UpdateScrollBars();
  placeEditor();
  refresh();
  NotifyGridReset(this);
}

void TSortingGrid::setColCount(int n) {
  const int oc = ColCount(), orr = RowCount();
  if (data_.setColCount(n)) sizeChanged(oc, orr);
}

void TSortingGrid::setRowCount(int n) {
  const int oc = ColCount(), orr = RowCount();
  if (data_.setRowCount(n)) sizeChanged(oc, orr);
}

void TSortingGrid::setFixedCols(int n) {
  if (!data_.setFixedCols(n)) return;
  leftCol_ = std::max(leftCol_, n);
  sizeChanged(ColCount(), RowCount());
}

void TSortingGrid::setFixedRows(int n) {
  if (!data_.setFixedRows(n)) return;
  topRow_ = std::max(topRow_, n);
  sizeChanged(ColCount(), RowCount());
}

void TSortingGrid::setCell(int col, int row, const QString& text) {
  data_.setCell(col, row, text);
  if (editor_->isVisible() && col == Col() && row == Row() && editor_->text() != text)
    editor_->setText(text);
  refresh();
  NotifyGridCells(this, col, row);
}

int TSortingGrid::ColWidths(int col) const {
  if (col < 0 || col >= colWidths_.size()) return 0;
  return colWidths_[col] < 0 ? defaultColWidth_ : colWidths_[col];
}

int TSortingGrid::RowHeights(int row) const {
  if (row < 0 || row >= rowHeights_.size()) return 0;
  return rowHeights_[row] < 0 ? defaultRowHeight_ : rowHeights_[row];
}

void TSortingGrid::setColWidths(int col, int w) {
  if (col < 0 || col >= colWidths_.size() || w < 0) return;
  colWidths_[col] = w;
  columnWidthsChanged();
}

void TSortingGrid::setRowHeights(int row, int h) {
  if (row < 0 || row >= rowHeights_.size() || h < 0) return;
  rowHeights_[row] = h;
  rowHeightsChanged();
}

void TSortingGrid::setDefaultColWidth(int w) {
  if (w < 0) return;
  defaultColWidth_ = w;
  colWidths_.fill(-1);
  columnWidthsChanged();
}

void TSortingGrid::setDefaultRowHeight(int h) {
  if (h < 0) return;
  defaultRowHeight_ = h;
  rowHeights_.fill(-1);
  rowHeightsChanged();
}

void TSortingGrid::columnWidthsChanged() {
  if (OnColumnWidthsChanged) OnColumnWidthsChanged();
  UpdateScrollBars();
  placeEditor();
  refresh();
}

void TSortingGrid::rowHeightsChanged() {
  if (OnRowHeightsChanged) OnRowHeightsChanged();
  UpdateScrollBars();
  placeEditor();
  refresh();
}

void TSortingGrid::setGridLineWidth(int w) {
  gridLineWidth_ = std::max(0, w);
  UpdateScrollBars();
  refresh();
}

void TSortingGrid::setOptions(unsigned o) {
  options_ = o;
  if (!(o & goEditing)) hideEditor(true);
  refresh();
}

void TSortingGrid::setColor(TColor c) { color_ = c, refresh(); }
void TSortingGrid::setFixedColor(TColor c) { fixedColor_ = c, refresh(); }
void TSortingGrid::setFont(const TFont& f) { font_ = f, refresh(); }

void TSortingGrid::setScrollBars(TScrollStyle s) {
  scrollBars_ = s;
  UpdateScrollBars();
}

void TSortingGrid::setAlignmentHorz(TAlignment a) { alignmentHorz_ = a, refresh(); }
void TSortingGrid::setAlignmentVert(TVertAlignment a) { alignmentVert_ = a, refresh(); }
void TSortingGrid::setBevelStyle(TCellBevelStyle s) { bevelStyle_ = s, refresh(); }

void TSortingGrid::setProportionalScrollBars(bool on) {
  proportionalScrollBars_ = on;
  UpdateScrollBars();
}

// ---- geometry ----

int TSortingGrid::colLeft(int col) const {
  int x = 0;
  if (col < FixedCols()) {
    for (int c = 0; c < col; ++c) x += ColWidths(c) + gridLineWidth_;
    return x;
  }
  if (col < leftCol_) return -1;
  for (int c = 0; c < FixedCols(); ++c) x += ColWidths(c) + gridLineWidth_;
  for (int c = leftCol_; c < col; ++c) x += ColWidths(c) + gridLineWidth_;
  return x;
}

int TSortingGrid::rowTop(int row) const {
  int y = 0;
  if (row < FixedRows()) {
    for (int r = 0; r < row; ++r) y += RowHeights(r) + gridLineWidth_;
    return y;
  }
  if (row < topRow_) return -1;
  for (int r = 0; r < FixedRows(); ++r) y += RowHeights(r) + gridLineWidth_;
  for (int r = topRow_; r < row; ++r) y += RowHeights(r) + gridLineWidth_;
  return y;
}

TRect TSortingGrid::CellRect(int col, int row) const {
  if (!data_.validCell(col, row)) return {};
  const int x = colLeft(col), y = rowTop(row);
  if (x < 0 || y < 0 || x >= viewport()->width() || y >= viewport()->height()) return {};
  return {x, y, x + ColWidths(col), y + RowHeights(row)};
}

bool TSortingGrid::MouseToCell(QPoint p, int& col, int& row) const {
  for (int r = 0; r < RowCount(); ++r)
    for (int c = 0; c < ColCount(); ++c) {
      const TRect cr = CellRect(c, r);
      if (!cr.isEmpty() && p.x() >= cr.Left && p.x() < cr.Right + gridLineWidth_ &&
          p.y() >= cr.Top && p.y() < cr.Bottom + gridLineWidth_) {
        col = c, row = r;
        return true;
      }
    }
  return false;
}

int TSortingGrid::VisibleRowCount() const {
  int y = 0, n = 0;
  for (int r = 0; r < FixedRows(); ++r) y += RowHeights(r) + gridLineWidth_;
  for (int r = topRow_; r < RowCount(); ++r) {
    y += RowHeights(r);
    if (y > viewport()->height()) break;
    ++n;
    y += gridLineWidth_;
  }
  return n;
}

int TSortingGrid::VisibleColCount() const {
  int x = 0, n = 0;
  for (int c = 0; c < FixedCols(); ++c) x += ColWidths(c) + gridLineWidth_;
  for (int c = leftCol_; c < ColCount(); ++c) {
    x += ColWidths(c);
    if (x > viewport()->width()) break;
    ++n;
    x += gridLineWidth_;
  }
  return n;
}

int TSortingGrid::maxTopRow() const {
  int room = viewport()->height();
  for (int r = 0; r < FixedRows(); ++r) room -= RowHeights(r) + gridLineWidth_;
  int top = RowCount();
  while (top > FixedRows() && RowHeights(top - 1) <= room) {
    room -= RowHeights(top - 1) + gridLineWidth_;
    --top;
  }
  return std::max(FixedRows(), std::min(top == RowCount() ? top - 1 : top, RowCount() - 1));
}

int TSortingGrid::maxLeftCol() const {
  int room = viewport()->width();
  for (int c = 0; c < FixedCols(); ++c) room -= ColWidths(c) + gridLineWidth_;
  int left = ColCount();
  while (left > FixedCols() && ColWidths(left - 1) <= room) {
    room -= ColWidths(left - 1) + gridLineWidth_;
    --left;
  }
  return std::max(FixedCols(), std::min(left == ColCount() ? left - 1 : left, ColCount() - 1));
}

void TSortingGrid::setTopRow(int row) {
  row = std::clamp(row, FixedRows(), maxTopRow());
  if (row == topRow_) return;
  topRow_ = row;
  UpdateScrollBars();
  placeEditor();
  refresh();
}

void TSortingGrid::setLeftCol(int col) {
  col = std::clamp(col, FixedCols(), maxLeftCol());
  if (col == leftCol_) return;
  leftCol_ = col;
  UpdateScrollBars();
  placeEditor();
  refresh();
}

void TSortingGrid::UpdateScrollBars() {
  updatingScroll_ = true;
  const int vRange = maxTopRow() - FixedRows(), hRange = maxLeftCol() - FixedCols();
  const bool vAllowed = scrollBars_ == ssVertical || scrollBars_ == ssBoth;
  const bool hAllowed = scrollBars_ == ssHorizontal || scrollBars_ == ssBoth;
  setVerticalScrollBarPolicy(vAllowed ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(hAllowed ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  auto setup = [](QScrollBar* bar, int range, int value, int page) {
    bar->setRange(0, std::max(0, range));
    bar->setPageStep(std::max(1, page));
    bar->setSingleStep(1);
    bar->setValue(value);
  };
  // With proportional bars the thumb shows the share of the rows (columns) in view.
  auto page = [this](int visible, int fixed, int count, int range) {
    if (!proportionalScrollBars_ || count <= 0) return 0;
    return std::max(1, nearInt(double(visible + fixed) / count * (range + 1)));
  };
  setup(verticalScrollBar(), vRange, topRow_ - FixedRows(),
        page(VisibleRowCount(), FixedRows(), RowCount(), vRange));
  setup(horizontalScrollBar(), hRange, leftCol_ - FixedCols(),
        page(VisibleColCount(), FixedCols(), ColCount(), hRange));
  updatingScroll_ = false;
}

void TSortingGrid::scrollContentsBy(int, int) {
  if (updatingScroll_) return;
  topRow_ = std::clamp(FixedRows() + verticalScrollBar()->value(), FixedRows(),
                       std::max(FixedRows(), RowCount() - 1));
  leftCol_ = std::clamp(FixedCols() + horizontalScrollBar()->value(), FixedCols(),
                        std::max(FixedCols(), ColCount() - 1));
  placeEditor();
  refresh();
}

void TSortingGrid::scrollIntoView() {
  const int r = Row(), c = Col();
  if (r >= FixedRows()) {
    if (r < topRow_)
      setTopRow(r);
    else
      while (topRow_ < maxTopRow() && r >= topRow_ + std::max(1, VisibleRowCount()))
        setTopRow(topRow_ + 1);
  }
  if (c >= FixedCols()) {
    if (c < leftCol_)
      setLeftCol(c);
    else
      while (leftCol_ < maxLeftCol() && c >= leftCol_ + std::max(1, VisibleColCount()))
        setLeftCol(leftCol_ + 1);
  }
}

void TSortingGrid::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  UpdateScrollBars();
  placeEditor();
}

// ---- current cell ----

bool TSortingGrid::SelectCell(int col, int row) {
  bool can = true;
  if (OnSelectCell) OnSelectCell(col, row, can);
  return can;
}

bool TSortingGrid::setCurrent(int col, int row) {
  if (!data_.validCell(col, row) || col < FixedCols() || row < FixedRows()) return false;
  if (col != Col() || row != Row()) {
    if (!SelectCell(col, row)) return false;
    hideEditor(true);
    data_.setCurrent(col, row);
    // A click of the class library: the cell left behind is validated.
    if (hasFocus_) ValidateEditCell();
    scrollIntoView();
    refresh();
    NotifyGridCurrent(this);
    if (OnClick) OnClick();
    return true;
  }
  scrollIntoView();
  refresh();
  return true;
}

void TSortingGrid::MoveTo(int col, int row) {
  col = std::clamp(col, FixedCols(), ColCount() - 1);
  row = std::clamp(row, FixedRows(), RowCount() - 1);
  setCurrent(col, row);
}

void TSortingGrid::moveBy(int dc, int dr) {
  const int c = std::clamp(Col() + dc, FixedCols(), ColCount() - 1);
  const int r = std::clamp(Row() + dr, FixedRows(), RowCount() - 1);
  setCurrent(c, r);
}

// ---- editor ----

bool TSortingGrid::EditorMode() const { return editor_->isVisible(); }

void TSortingGrid::setEditorMode(bool on) {
  if (on)
    showEditor();
  else
    hideEditor(true);
}

void TSortingGrid::placeEditor() {
  if (!editor_->isVisible()) return;
  const TRect r = CellRect(Col(), Row());
  if (r.isEmpty()) {
    hideEditor(true);
    return;
  }
  editor_->setGeometry(r.Left, r.Top, r.width(), r.height());
}

void TSortingGrid::showEditor(const QString* initial) {
  if (!(options_ & goEditing) || !isEnabled()) return;
  const TRect r = CellRect(Col(), Row());
  if (r.isEmpty()) return;
  editor_->setFont(toQFont(font_, logicalDpiY()));
  editorOriginal_ = Cells(Col(), Row());
  editor_->setText(editorOriginal_);
  editor_->setAccessibleName(GridCellCaption(*this, Col(), Row()));
  editor_->setGeometry(r.Left, r.Top, r.width(), r.height());
  editor_->show();
  editor_->setFocus();
  if (initial) {
    editor_->setText(*initial);
    SetEditText(Col(), Row(), *initial);
  } else {
    editor_->selectAll();
  }
}

void TSortingGrid::hideEditor(bool keep) {
  if (!editor_->isVisible()) return;
  if (!keep) SetEditText(Col(), Row(), editorOriginal_);
  // The focus goes back to the grid before the editor hides, never through the next control.
  if (editor_->hasFocus()) setFocus();
  editor_->hide();
  refresh();
}

void TSortingGrid::SetEditText(int col, int row, const QString& text) {
  if (Cells(col, row) != text) modified_ = true;
  data_.setCell(col, row, text);
  refresh();
}

bool TSortingGrid::keyDown(QKeyEvent* e) {
  if (!OnKeyDown) return true;
  int key = e->key();
  OnKeyDown(key, e->modifiers());
  return key != 0;
}

void TSortingGrid::focusMoved() {
  // The focus within the window: another window activated, or a popup opened, leaves it where
  // it is, so neither is an exit (the editor and what it holds stay as they were).
  const QWidget* focus = window()->focusWidget();
  const bool inside = focus == this || focus == editor_;
  if (inside == focusInside_) return;
  focusInside_ = inside;
  if (inside) {
    if (!hasFocus_) {
      hasFocus_ = true;
      RememberEditCell();
    }
    if (OnEnter) OnEnter();
  } else {
    hasFocus_ = false;
    if (OnExit) OnExit();
  }
}

QChar TSortingGrid::typedChar(const QKeyEvent* e) {
  if (e->key() == Qt::Key_Backspace) return QLatin1Char('\b');
  const QString t = e->text();
  return !t.isEmpty() && t[0].isPrint() ? t[0] : QChar();
}

bool TSortingGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched == editor_ && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
    focusMoved();
  if (watched != editor_ || event->type() != QEvent::KeyPress)
    return QAbstractScrollArea::eventFilter(watched, event);
  auto* k = static_cast<QKeyEvent*>(event);
  if (!keyDown(k)) return true;
  switch (k->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      hideEditor(true);
      return true;
    case Qt::Key_Escape:
      hideEditor(false);
      return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
      hideEditor(true);
      moveBy(0, k->key() == Qt::Key_Up ? -1 : 1);
      return true;
    default:
      break;
  }
  const QChar typed = typedChar(k);
  if (!typed.isNull() && OnKeyPress) {
    QChar key = typed;
    OnKeyPress(key);
    if (key.isNull()) return true;
    if (key != typed) {
      if (key == QLatin1Char('\b'))
        editor_->backspace();
      else
        editor_->insert(QString(key));
      SetEditText(Col(), Row(), editor_->text());
      return true;
    }
  }
  return false;
}

// ---- focus, mouse, keys ----

void TSortingGrid::focusInEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusInEvent(e);
  focusMoved();
  refresh();
}

void TSortingGrid::focusOutEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusOutEvent(e);
  focusMoved();
  refresh();
}

void TSortingGrid::mousePressEvent(QMouseEvent* e) {
  setFocus();
  clickedByPress_ = false;
  selecting_ = false;
  int c = 0, r = 0;
  if (e->button() == Qt::LeftButton && MouseToCell(e->position().toPoint(), c, r) &&
      c >= FixedCols() && r >= FixedRows()) {
    if (c == Col() && r == Row() && (options_ & goEditing) && !EditorMode()) {
      showEditor();
    } else {
      clickedByPress_ = (c != Col() || r != Row()) && setCurrent(c, r);
      // A refused cell (the select test said no) starts no drag either.
      selecting_ = c == Col() && r == Row() && !EditorMode();
    }
  }
  QAbstractScrollArea::mousePressEvent(e);
}

void TSortingGrid::mouseMoveEvent(QMouseEvent* e) {
  // The current cell follows a drag that began on a cell, as it does a press.
  int c = 0, r = 0;
  if (selecting_ && (e->buttons() & Qt::LeftButton) && !EditorMode() &&
      MouseToCell(e->position().toPoint(), c, r) && c >= FixedCols() && r >= FixedRows() &&
      (c != Col() || r != Row()) && setCurrent(c, r))
    clickedByPress_ = true;
  QAbstractScrollArea::mouseMoveEvent(e);
}

void TSortingGrid::mouseReleaseEvent(QMouseEvent* e) {
  int c = 0, r = 0;
  if (e->button() == Qt::LeftButton && clickSorting_ && !EditorMode() && FixedRows() > 0 &&
      MouseToCell(e->position().toPoint(), c, r) && r < FixedRows()) {
    TSortOptions o;
    o.SortStyle = ssAutomatic;
    o.SortDirection = e->modifiers() == Qt::ShiftModifier ? sdDescending : sdAscending;
    o.CaseSensitive = true;
    if (OnClickSort) OnClickSort(c, r, o);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    SortColumn(c, o);
    QApplication::restoreOverrideCursor();
  }
  if (e->button() == Qt::LeftButton && hasFocus_) ValidateEditCell();
  // A click on the cell already current is a click all the same.
  if (e->button() == Qt::LeftButton && !clickedByPress_ && OnClick) OnClick();
  clickedByPress_ = false;
  if (e->button() == Qt::LeftButton) selecting_ = false;
  QAbstractScrollArea::mouseReleaseEvent(e);
}

void TSortingGrid::mouseDoubleClickEvent(QMouseEvent* e) {
  int c = 0, r = 0;
  if (MouseToCell(e->position().toPoint(), c, r) && c == Col() && r == Row()) showEditor();
  QAbstractScrollArea::mouseDoubleClickEvent(e);
}

void TSortingGrid::keyPressEvent(QKeyEvent* e) {
  if (!keyDown(e)) return;
  const auto mods = e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  if (extendedKeys_ && !EditorMode() && (mods & Qt::ControlModifier) &&
      (e->key() == Qt::Key_Insert || e->key() == Qt::Key_Delete)) {
    const bool shift = mods & Qt::ShiftModifier;
    if (e->key() == Qt::Key_Insert) {
      if (shift)
        InsertColumn(Col());
      else
        InsertRow(Row());
    } else if (shift) {
      if (ColCount() - FixedCols() > 1) DeleteColumn(Col());
    } else if (RowCount() - FixedRows() > 1) {
      DeleteRow(Row());
    }
    return;
  }
  switch (e->key()) {
    case Qt::Key_Up:
      moveBy(0, -1);
      return;
    case Qt::Key_Down:
      moveBy(0, 1);
      return;
    case Qt::Key_Left:
      moveBy(-1, 0);
      return;
    case Qt::Key_Right:
      moveBy(1, 0);
      return;
    case Qt::Key_Home:
      MoveTo(FixedCols(), Row());
      return;
    case Qt::Key_End:
      MoveTo(ColCount() - 1, Row());
      return;
    case Qt::Key_PageUp:
      moveBy(0, -std::max(1, VisibleRowCount()));
      return;
    case Qt::Key_PageDown:
      moveBy(0, std::max(1, VisibleRowCount()));
      return;
    case Qt::Key_F2:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      showEditor();
      return;
    case Qt::Key_Tab:
      if (options_ & goTabs) {
        if (Col() + 1 < ColCount())
          moveBy(1, 0);
        else
          MoveTo(FixedCols(), Row() + 1);
        return;
      }
      break;
    default:
      break;
  }
  if (const QChar typed = typedChar(e); !typed.isNull()) {
    QChar key = typed;
    if (OnKeyPress) OnKeyPress(key);
    if (!key.isNull() && (options_ & goEditing)) {
      // Backspace opens the editor emptied, as the whole text it selects would be deleted.
      const QString s = key == QLatin1Char('\b') ? QString() : QString(key);
      showEditor(&s);
    }
    return;
  }
  QAbstractScrollArea::keyPressEvent(e);
}

// ---- the extensions ----

void TSortingGrid::RememberEditCell() {
  editCol_ = Col();
  editRow_ = Row();
  editText_ = Cells(editCol_, editRow_);
  editModified_ = modified_;
}

void TSortingGrid::ValidateEditCell() {
  if (data_.validCell(editCol_, editRow_)) {
    const QString present = Cells(editCol_, editRow_);
    if (present != editText_) {
      bool valid = true;
      QString value = present;
      if (OnCellValidate) OnCellValidate(editCol_, editRow_, value, valid);
      if (valid) {
        if (value != present) data_.setCell(editCol_, editRow_, value);
      } else {
        data_.setCell(editCol_, editRow_, value != present ? value : editText_);
        modified_ = editModified_;
      }
      refresh();
    }
  }
  RememberEditCell();
}

void TSortingGrid::Clear() {
  data_.Clear();
  refresh();
  NotifyGridCells(this);
}

void TSortingGrid::InsertRow(int index) {
  const int oc = ColCount(), orr = RowCount();
  if (!data_.InsertRow(index)) return;
  rowHeights_.push_back(-1);
  moveSize(rowHeights_, rowHeights_.size() - 1, index);
  sizeChanged(oc, orr);
  scrollIntoView();
  if (OnRowInsert) OnRowInsert(index);
}

void TSortingGrid::InsertColumn(int index) {
  const int oc = ColCount(), orr = RowCount();
  if (!data_.InsertColumn(index)) return;
  colWidths_.push_back(-1);
  moveSize(colWidths_, colWidths_.size() - 1, index);
  sizeChanged(oc, orr);
  scrollIntoView();
  if (OnColumnInsert) OnColumnInsert(index);
}

void TSortingGrid::DeleteRow(int index) {
  const int oc = ColCount(), orr = RowCount();
  hideEditor(true);
  if (!data_.DeleteRow(index)) return;
  rowHeights_.remove(index);
  sizeChanged(oc, orr);
  if (OnRowDelete) OnRowDelete(index);
}

void TSortingGrid::DeleteColumn(int index) {
  const int oc = ColCount(), orr = RowCount();
  hideEditor(true);
  if (!data_.DeleteColumn(index)) return;
  colWidths_.remove(index);
  sizeChanged(oc, orr);
  if (OnColumnDelete) OnColumnDelete(index);
}

void TSortingGrid::MoveRow(int from, int to) {
  if (!data_.MoveRow(from, to)) return;
  moveSize(rowHeights_, from, to);
  refresh();
  NotifyGridCells(this);
}

void TSortingGrid::MoveColumn(int from, int to) {
  if (!data_.MoveColumn(from, to)) return;
  moveSize(colWidths_, from, to);
  refresh();
  NotifyGridCells(this);
}

void TSortingGrid::SwapRows(int a, int b) {
  if (!data_.validCell(0, a) || !data_.validCell(0, b)) return;
  SwapByMoves(a, b, [this](int from, int to) { MoveRow(from, to); });
}

void TSortingGrid::SwapColumns(int a, int b) {
  if (!data_.validCell(a, 0) || !data_.validCell(b, 0)) return;
  SwapByMoves(a, b, [this](int from, int to) { MoveColumn(from, to); });
}

void TSortingGrid::AutoSizeColumn(int col) {
  if (col < 0 || col >= ColCount()) return;
  QImage probe(1, 1, QImage::Format_RGB32);
  QPainterCanvas c(&probe);
  int widest = 0;
  for (int r = 0; r < RowCount(); ++r) {
    TFormatOptions fo;
    fo.Font = font_;
    const unsigned state = (col < FixedCols() || r < FixedRows()) ? unsigned(gdFixed) : 0u;
    if (OnGetCellFormat) OnGetCellFormat(col, r, state, fo);
    c.Font = fo.Font;
    widest = std::max(widest, c.TextWidth(Cells(col, r)));
  }
  c.Font = font_;
  setColWidths(col, widest + c.TextWidth(QStringLiteral("x")));
}

void TSortingGrid::AutoSizeColumns(bool includeFixed, int extra) {
  for (int col = includeFixed ? 0 : FixedCols(); col < ColCount(); ++col) {
    AutoSizeColumn(col);
    setColWidths(col, ColWidths(col) + extra);
  }
}

void TSortingGrid::SortColumn(int col, TSortOptions options) {
  if (EditorMode() || FixedRows() + 1 >= RowCount()) return;
  if (OnBeginSort) OnBeginSort(col, options);
  if (options.SortStyle == ssAutomatic) options.SortStyle = DetectSortStyle(col);
  SortByColumn(col, options);
  if (OnEndSort) OnEndSort(col);
}

void TSortingGrid::SortByColumn(int col, const TSortOptions& options) {
  sorting_ = true;
  data_.SortByColumn(col, options);
  MoveTo(Col(), Row());
  sorting_ = false;
  refresh();
  NotifyGridCells(this);
}

bool TSortingGrid::CanUndoSort() { return data_.CanUndoSort(); }

void TSortingGrid::UndoSort() {
  if (!data_.UndoSort()) return;
  MoveTo(Col(), Row());
  refresh();
  NotifyGridCells(this);
}

bool TSortingGrid::FindCell(const QString& text, int& col, int& row) const {
  return data_.FindCell(text, col, row);
}

bool TSortingGrid::LoadFromFile(const QString& fileName, QChar delimiter) {
  const int oc = ColCount(), orr = RowCount();
  hideEditor(true);
  if (!data_.LoadFromFile(fileName, delimiter)) return false;
  sizeChanged(oc, orr);
  return true;
}

bool TSortingGrid::SaveToFile(const QString& fileName, QChar delimiter) const {
  return data_.SaveToFile(fileName, delimiter);
}

// ---- painting ----

void TSortingGrid::DrawCell(Canvas& canvas, int col, int row, const TRect& rect, unsigned state) {
  TFormatOptions fo;
  fo.Font = canvas.Font;
  fo.BrushColor = canvas.Brush.Color;
  fo.AlignmentHorz = alignmentHorz_;
  fo.AlignmentVert = alignmentVert_;
  fo.BevelStyle = bevelStyle_;
  if (bevelStyle_ == cbRaised) {
    fo.BevelTopLeft = clBtnHighlight;
    fo.BevelBottomRight = clBtnShadow;
  } else if (bevelStyle_ == cbLowered) {
    fo.BevelTopLeft = clBtnShadow;
    fo.BevelBottomRight = clBtnHighlight;
  } else {
    fo.BevelTopLeft = fo.BevelBottomRight = clWindow;
  }
  if (OnGetCellFormat) OnGetCellFormat(col, row, state, fo);
  canvas.Font = fo.Font;
  canvas.Brush = TBrush{fo.BrushColor, TBrushStyle::bsSolid};
  const QString text = fo.HideText ? QString() : Cells(col, row);
  const int tw = canvas.TextWidth(text), th = canvas.TextHeight(text);
  const int cw = rect.width(), ch = rect.height();
  int dx = 2, dy = 2;
  if (fo.AlignmentHorz == taRightJustify)
    dx = cw - tw - 2;
  else if (fo.AlignmentHorz == taCenter)
    dx = (cw - tw) / 2;
  if (fo.AlignmentVert == taBottomJustify)
    dy = ch - th - 3;
  else if (fo.AlignmentVert == taMiddle)
    dy = (ch - th) / 2;
  canvas.TextRect(rect, rect.Left + dx, rect.Top + dy, text);
  if (fo.BevelStyle != cbNone && !(state & gdFixed)) {
    if (options_ & goFixedVertLine) {
      canvas.Pen = TPen{fo.BevelBottomRight, 1, TPenStyle::psSolid};
      canvas.MoveTo(rect.Right - 1, rect.Top);
      canvas.LineTo(rect.Right - 1, rect.Bottom);
      canvas.Pen.Color = fo.BevelTopLeft;
      canvas.MoveTo(rect.Left, rect.Top);
      canvas.LineTo(rect.Left, rect.Bottom);
    }
    if (options_ & goFixedHorzLine) {
      canvas.Pen = TPen{fo.BevelBottomRight, 1, TPenStyle::psSolid};
      canvas.MoveTo(rect.Left, rect.Bottom - 1);
      canvas.LineTo(rect.Right, rect.Bottom - 1);
      canvas.Pen.Color = fo.BevelTopLeft;
      canvas.MoveTo(rect.Left, rect.Top);
      canvas.LineTo(rect.Right, rect.Top);
    }
  }
}

void TSortingGrid::render(Canvas& canvas) {
  const int W = viewport()->width(), H = viewport()->height();
  // Explicit colours throughout: a disabled grid keeps its look.
  canvas.Brush = TBrush{color_, TBrushStyle::bsSolid};
  canvas.FillRect({0, 0, W, H});
  const bool focused = hasFocus_ && !EditorMode();
  for (int row = 0; row < RowCount(); ++row) {
    if (row >= FixedRows() && row < topRow_) continue;
    const int y = rowTop(row);
    if (y >= H) break;
    for (int col = 0; col < ColCount(); ++col) {
      if (col >= FixedCols() && col < leftCol_) continue;
      const TRect r = CellRect(col, row);
      if (r.isEmpty()) {
        if (colLeft(col) >= W) break;
        continue;
      }
      const bool fixed = col < FixedCols() || row < FixedRows();
      unsigned state = fixed ? unsigned(gdFixed) : 0u;
      if (!fixed && col == Col() && row == Row()) {
        state |= gdSelected;
        if (focused) state |= gdFocused;
      }
      canvas.Font = font_;
      canvas.Brush = TBrush{fixed ? fixedColor_ : color_, TBrushStyle::bsSolid};
      if ((state & gdSelected) && (!(state & gdFocused) || (options_ & goDrawFocusSelected))) {
        canvas.Brush.Color = clHighlight;
        canvas.Font.Color = clHighlightText;
      }
      if (defaultDrawing_) {
        DrawCell(canvas, col, row, r, state);
      } else {
        canvas.FillRect(r);
        if (OnDrawCell) OnDrawCell(col, row, r, state, canvas);
      }
      if (fixed) canvas.Frame3D(r, clBtnHighlight, clBtnShadow);
      if ((state & gdFocused) && !(options_ & goDrawFocusSelected)) {
        canvas.Pen = TPen{clBlack, 1, TPenStyle::psDot};
        canvas.Polyline({{r.Left, r.Top},
                         {r.Right - 1, r.Top},
                         {r.Right - 1, r.Bottom - 1},
                         {r.Left, r.Bottom - 1},
                         {r.Left, r.Top}});
      }
      if (gridLineWidth_ > 0) {
        // Lines of the fixed cells are black, those of the other cells silver.
        canvas.Brush = TBrush{fixed ? clBlack : clSilver, TBrushStyle::bsSolid};
        if (options_ & (fixed ? goFixedVertLine : goVertLine))
          canvas.FillRect({r.Right, r.Top, r.Right + gridLineWidth_, r.Bottom + gridLineWidth_});
        if (options_ & (fixed ? goFixedHorzLine : goHorzLine))
          canvas.FillRect({r.Left, r.Bottom, r.Right + gridLineWidth_, r.Bottom + gridLineWidth_});
      }
    }
  }
}

QImage TSortingGrid::renderImage() {
  QImage img(std::max(1, viewport()->width()), std::max(1, viewport()->height()),
             QImage::Format_RGB32);
  QPainterCanvas c(&img);
  render(c);
  return img;
}

void TSortingGrid::paintEvent(QPaintEvent*) {
  QPainter p(viewport());
  p.drawImage(0, 0, renderImage());
}

}  // namespace ruto
