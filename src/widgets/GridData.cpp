#include "widgets/GridData.h"

#include <QFile>
#include <QTime>
#include <algorithm>
#include <cmath>

#include "base/DateTime.h"
#include "base/Files.h"
#include "base/Numbers.h"

namespace ruto {

TGridData::TGridData(int colCount, int rowCount, int fixedCols, int fixedRows) {
  fixedCols_ = std::max(0, fixedCols);
  fixedRows_ = std::max(0, fixedRows);
  colCount_ = std::max(colCount, fixedCols_ + 1);
  rows_.resize(std::max(rowCount, fixedRows_ + 1));
  for (QStringList& r : rows_) r = QStringList(colCount_, QString());
  col_ = fixedCols_;
  row_ = fixedRows_;
}

bool TGridData::setColCount(int n) {
  if (n < fixedCols_ + 1) return false;
  if (n == colCount_) return true;
  for (QStringList& r : rows_) r.resize(n);
  colCount_ = n;
  col_ = std::min(col_, n - 1);
  return true;
}

bool TGridData::setRowCount(int n) {
  if (n < fixedRows_ + 1) return false;
  if (n == RowCount()) return true;
  const int old = RowCount();
  rows_.resize(n);
  for (int r = old; r < n; ++r) rows_[r] = QStringList(colCount_, QString());
  row_ = std::min(row_, n - 1);
  forgetSort();
  return true;
}

bool TGridData::setFixedCols(int n) {
  if (n < 0 || n >= colCount_) return false;
  fixedCols_ = n;
  col_ = std::max(col_, n);
  return true;
}

bool TGridData::setFixedRows(int n) {
  if (n < 0 || n >= RowCount()) return false;
  fixedRows_ = n;
  row_ = std::max(row_, n);
  forgetSort();
  return true;
}

bool TGridData::validCell(int col, int row) const {
  return col >= 0 && col < colCount_ && row >= 0 && row < RowCount();
}

QString TGridData::Cells(int col, int row) const {
  return validCell(col, row) ? rows_[row][col] : QString();
}

void TGridData::setCell(int col, int row, const QString& text) {
  if (validCell(col, row)) rows_[row][col] = text;
}

bool TGridData::setCurrent(int col, int row) {
  if (!validCell(col, row)) return false;
  col_ = col;
  row_ = row;
  return true;
}

void TGridData::Clear() {
  for (QStringList& r : rows_)
    for (QString& c : r) c.clear();
}

bool TGridData::InsertRow(int index) {
  if (index < fixedRows_ || index > RowCount()) return false;
  rows_.push_back(QStringList(colCount_, QString()));
  MoveRow(RowCount() - 1, index);
  row_ = index;
  forgetSort();
  return true;
}

bool TGridData::InsertColumn(int index) {
  if (index < fixedCols_ || index > colCount_) return false;
  setColCount(colCount_ + 1);
  MoveColumn(colCount_ - 1, index);
  col_ = index;
  return true;
}

bool TGridData::DeleteRow(int index) {
  if (index < fixedRows_ || index >= RowCount() || RowCount() - fixedRows_ <= 1) return false;
  rows_.remove(index);
  if (row_ > index || row_ >= RowCount()) --row_;
  row_ = std::max(row_, fixedRows_);
  forgetSort();
  return true;
}

bool TGridData::DeleteColumn(int index) {
  if (index < fixedCols_ || index >= colCount_ || colCount_ - fixedCols_ <= 1) return false;
  for (QStringList& r : rows_) r.removeAt(index);
  --colCount_;
  if (col_ > index || col_ >= colCount_) --col_;
  col_ = std::max(col_, fixedCols_);
  return true;
}

namespace {
// Where an index ends up when the item at `from` is taken out and put in at `to`.
int movedIndex(int i, int from, int to) {
  if (i == from) return to;
  if (from < i && i <= to) return i - 1;
  if (to <= i && i < from) return i + 1;
  return i;
}
}  // namespace

bool TGridData::MoveRow(int from, int to) {
  if (from < 0 || to < 0 || from >= RowCount() || to >= RowCount()) return false;
  if (from == to) return true;
  rows_.move(from, to);
  row_ = movedIndex(row_, from, to);
  forgetSort();
  return true;
}

bool TGridData::MoveColumn(int from, int to) {
  if (from < 0 || to < 0 || from >= colCount_ || to >= colCount_) return false;
  if (from == to) return true;
  for (QStringList& r : rows_) r.move(from, to);
  col_ = movedIndex(col_, from, to);
  return true;
}

bool TGridData::SwapRows(int a, int b) {
  if (a < 0 || b < 0 || a >= RowCount() || b >= RowCount()) return false;
  SwapByMoves(a, b, [this](int from, int to) { MoveRow(from, to); });
  return true;
}

bool TGridData::SwapColumns(int a, int b) {
  if (a < 0 || b < 0 || a >= colCount_ || b >= colCount_) return false;
  SwapByMoves(a, b, [this](int from, int to) { MoveColumn(from, to); });
  return true;
}

bool TGridData::toNumber(const QString& text, double* value) {
  bool ok = false;
  const double v = StrToFloatDef(text.trimmed(), 0.0, &ok);
  if (!ok || !std::isfinite(v)) return false;
  if (value) *value = v;
  return true;
}

bool TGridData::toDateTime(const QString& text, double* value) {
  double v = 0;
  if (parseOleDate(text, &v)) {
    if (value) *value = v;
    return true;
  }
  // A time alone is a time of day 1899-12-30.
  QTime t = QTime::fromString(text.trimmed(), QStringLiteral("H:m:s"));
  if (!t.isValid()) t = QTime::fromString(text.trimmed(), QStringLiteral("H:m"));
  if (!t.isValid()) return false;
  if (value) *value = t.msecsSinceStartOfDay() / 86400000.0;
  return true;
}

std::uint8_t TGridData::DetectSortStyle(int col) const {
  bool numbers = true, dates = true;
  for (int r = fixedRows_; r < RowCount() && (numbers || dates); ++r) {
    const QString t = Cells(col, r);
    // Both tests on every cell, so the row order cannot change the verdict.
    if (numbers && !toNumber(t, nullptr)) numbers = false;
    if (dates && !toDateTime(t, nullptr)) dates = false;
  }
  if (numbers) return ssNumeric;
  return dates ? ssDateTime : ssAlphabetic;
}

namespace {

struct Key {
  QString text;
  double value = 0;
  bool converts = true;
  int row = 0;
};

}  // namespace

void TGridData::SortByColumn(int col, const TSortOptions& options) {
  forgetSort();
  if (col < 0 || col >= colCount_) return;
  const bool numeric = options.SortStyle == ssNumeric, dated = options.SortStyle == ssDateTime;
  const bool descending = options.SortDirection == sdDescending;
  QVector<Key> keys;
  for (int r = fixedRows_; r < RowCount(); ++r) {
    Key k;
    k.row = r;
    k.text = Cells(col, r);
    if (!options.CaseSensitive) {
      // ASCII letters only, as the comparison always did.
      for (QChar& ch : k.text)
        if (ch >= QLatin1Char('a') && ch <= QLatin1Char('z')) ch = QChar(ch.unicode() - 32);
    }
    if (numeric) k.converts = toNumber(k.text, &k.value);
    if (dated) k.converts = toDateTime(k.text, &k.value);
    keys.push_back(k);
  }
  auto compare = [&](const Key& a, const Key& b) {
    int c = 0;
    if (numeric || dated) {
      // Cells that do not convert come first, in their former order, in either direction.
      if (!a.converts || !b.converts) return a.converts == b.converts ? 0 : (a.converts ? 1 : -1);
      c = a.value < b.value ? -1 : (a.value > b.value ? 1 : 0);
    } else {
      c = a.text.compare(b.text, Qt::CaseSensitive);
      c = c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    return descending ? -c : c;
  };
  std::sort(keys.begin(), keys.end(), [&](const Key& a, const Key& b) {
    const int c = compare(a, b);
    return c != 0 ? c < 0 : a.row < b.row;
  });
  const QVector<QStringList> old = rows_;
  int newRow = row_;
  for (int i = 0; i < keys.size(); ++i) {
    rows_[fixedRows_ + i] = old[keys[i].row];
    if (keys[i].row == row_) newRow = fixedRows_ + i;
    sorted_.push_back(TSortItem{Cells(col, fixedRows_ + i), keys[i].row});
  }
  row_ = newRow;
}

bool TGridData::CanUndoSort() {
  if (!sorted_.isEmpty() && sorted_.size() == RowCount() - fixedRows_) return true;
  sorted_.clear();
  return false;
}

bool TGridData::UndoSort() {
  if (!CanUndoSort()) return false;
  const QVector<QStringList> old = rows_;
  int newRow = row_;
  for (int i = 0; i < sorted_.size(); ++i) {
    rows_[sorted_[i].Row] = old[fixedRows_ + i];
    if (fixedRows_ + i == row_) newRow = sorted_[i].Row;
  }
  row_ = newRow;
  sorted_.clear();
  return true;
}

bool TGridData::FindCell(const QString& text, int& col, int& row) const {
  for (int c = 0; c < colCount_; ++c)
    for (int r = 0; r < RowCount(); ++r)
      if (rows_[r][c].compare(text, Qt::CaseInsensitive) == 0) {
        col = c;
        row = r;
        return true;
      }
  return false;
}

QString TGridData::joinLine(const QStringList& cells, QChar delimiter) {
  QStringList out;
  for (const QString& c : cells) {
    if (c.contains(delimiter) || c.contains(QLatin1Char('"')) || c.contains(QLatin1Char('\n')) ||
        c.contains(QLatin1Char('\r'))) {
      QString q = c;
      q.replace(QLatin1String("\""), QLatin1String("\"\""));
      out << QLatin1Char('"') + q + QLatin1Char('"');
    } else {
      out << c;
    }
  }
  return out.join(delimiter);
}

QVector<QStringList> TGridData::splitText(const QString& text, QChar delimiter) {
  QVector<QStringList> lines;
  QStringList cells;
  QString cell;
  const int n = static_cast<int>(text.size());
  int i = 0;
  bool any = false;  // something since the last line end
  while (i < n) {
    const QChar ch = text[i];
    if (ch == QLatin1Char('"') && cell.isEmpty()) {
      // A quoted cell runs to the closing quote; a doubled quote is one quote.
      ++i;
      while (i < n) {
        if (text[i] == QLatin1Char('"')) {
          if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
            cell += QLatin1Char('"');
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        cell += text[i++];
      }
      any = true;
      continue;
    }
    if (ch == delimiter) {
      cells << cell;
      cell.clear();
      any = true;
      ++i;
      continue;
    }
    if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n')) {
      cells << cell;
      lines << cells;
      cells.clear();
      cell.clear();
      any = false;
      if (ch == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) ++i;
      ++i;
      continue;
    }
    cell += ch;
    any = true;
    ++i;
  }
  if (any) {
    cells << cell;
    lines << cells;
  }
  return lines;
}

bool TGridData::LoadFromFile(const QString& fileName, QChar delimiter) {
  QFile f(fileName);
  if (!f.open(QIODevice::ReadOnly)) return false;
  const QVector<QStringList> lines = splitText(QString::fromUtf8(f.readAll()), delimiter);
  Clear();
  setRowCount(std::max(static_cast<int>(lines.size()), fixedRows_ + 1));
  setColCount(fixedCols_ + 1);
  int widest = 0;
  for (const QStringList& l : lines) widest = std::max(widest, static_cast<int>(l.size()));
  if (widest > colCount_) setColCount(widest);
  for (int r = 0; r < lines.size(); ++r)
    for (int c = 0; c < lines[r].size(); ++c) rows_[r][c] = lines[r][c];
  forgetSort();
  return true;
}

bool TGridData::SaveToFile(const QString& fileName, QChar delimiter) const {
  QString text;
  for (const QStringList& r : rows_) text += joinLine(r, delimiter) + QLatin1String("\r\n");
  return saveFileAtomically(fileName, text.toUtf8());
}

}  // namespace ruto
