#include "app/RecordTableModel.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include "base/Numbers.h"

namespace ruto {

RecordTableModel::RecordTableModel(RecordSet* set, QObject* parent)
    : QAbstractTableModel(parent), set_(set) {}

void RecordTableModel::setColumns(const QList<RecordColumn>& columns) {
  beginResetModel();
  columns_ = columns;
  allColumns_ = false;
  endResetModel();
}

void RecordTableModel::reset() {
  beginResetModel();
  endResetModel();
}

bool RecordTableModel::refresh() {
  beginResetModel();
  const bool ok = set_->refresh();
  endResetModel();
  return ok;
}

QString RecordTableModel::displayText(const QVariant& value) {
  if (value.isNull()) return {};
  switch (value.typeId()) {
    case QMetaType::QDate:
      return value.toDate().toString(QStringLiteral("yyyy/MM/dd"));
    case QMetaType::QTime:
      return value.toTime().toString(QStringLiteral("HH:mm:ss"));
    case QMetaType::Double:
      return ruto::FloatToStr(value.toDouble());
    default:
      return value.toString();
  }
}

int RecordTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : set_->rowCount();
}

int RecordTableModel::columnCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return allColumns_ ? set_->columnCount() : static_cast<int>(columns_.size());
}

QVariant RecordTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.column() >= columnCount()) return {};
  const QVariant value = allColumns_ ? set_->value(index.row(), index.column())
                                     : set_->value(index.row(), columns_[index.column()].name);
  if (role == Qt::DisplayRole) {
    if (!allColumns_ && columns_[index.column()].format)
      return columns_[index.column()].format(value);
    return displayText(value);
  }
  if (role == Qt::EditRole) return value;
  return {};
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  if (allColumns_) return set_->columnNames().value(section);
  return section >= 0 && section < columns_.size() ? columns_[section].title : QVariant();
}

}  // namespace ruto
