#include "app/SqliteAccess.h"

#include <QSqlDriver>

namespace ruto {

sqlite3* SqliteHandle(const QSqlDatabase& db) {
  if (!db.isOpen() || !db.driver()) return nullptr;
  const QVariant v = db.driver()->handle();
  if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0) return nullptr;
  return *static_cast<sqlite3* const*>(v.constData());
}

SqliteStorage SqliteStorageOf(const QVariant& v) {
  if (v.isNull()) return SqliteStorage::Null;
  switch (v.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
      return SqliteStorage::Integer;
    case QMetaType::Double:
      return SqliteStorage::Real;
    case QMetaType::QByteArray:
      return SqliteStorage::Blob;
    default:
      return SqliteStorage::Text;
  }
}

QString QuotedIdentifier(const QString& identifier) {
  QString q = identifier;
  q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + q + QLatin1Char('"');
}

}  // namespace ruto
