#pragma once
// A grid's view of a record set: chosen columns with their titles, read-only. The set stays
// owned by the window; after the set changes, reset() (or refresh() to re-read it) tells the
// views.

#include <QAbstractTableModel>
#include <functional>

#include "app/RecordSet.h"

namespace ruto {

// One grid column: the record-set column shown, its title and, when the plain text of the
// value is not wanted, how the value is written.
struct RecordColumn {
  QString name;
  QString title;
  std::function<QString(const QVariant&)> format;
};

class RecordTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit RecordTableModel(RecordSet* set, QObject* parent = nullptr);

  // Columns shown, in order; without a call every column of the set under its own name.
  void setColumns(const QList<RecordColumn>& columns);
  RecordSet* recordSet() const { return set_; }

  // The set changed (refresh, sort, write): views read it again.
  void reset();
  // Re-reads the set and tells the views; false when the read failed.
  bool refresh();

  // Text of a value as grids show it: dates "yyyy/MM/dd", times "HH:mm:ss", numbers in the
  // fixed "." format.
  static QString displayText(const QVariant& value);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  RecordSet* set_;
  QList<RecordColumn> columns_;
  bool allColumns_ = true;
};

}  // namespace ruto
