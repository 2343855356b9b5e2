#include "app/UnchangedColumns.h"

namespace ruto {

namespace {

bool sameValue(const QVariant& stored, const QVariant& value) {
  switch (value.typeId()) {
    case QMetaType::QString:
      return (stored.isNull() ? QString() : stored.toString()) == value.toString();
    case QMetaType::QByteArray:
      return stored.toByteArray() == value.toByteArray();
    default:
      if (value.isNull()) return stored.isNull();
      // A null number reads as 0 wherever it is shown: no birthday, no flag, an empty value.
      return stored.toDouble() == value.toDouble();
  }
}

}  // namespace

void DropUnchangedColumns(QVariantMap& values, const RecordSet& set, int row) {
  if (row < 0 || row >= set.rowCount()) return;
  for (auto it = values.begin(); it != values.end();) {
    if (sameValue(set.value(row, it.key()), it.value()))
      it = values.erase(it);
    else
      ++it;
  }
}

}  // namespace ruto
