#pragma once
// Fresh copies of the built template database for the database-layer tests.

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

#include "app/Database.h"
#include "support/TestSupport.h"

namespace dbtest {

// Copies VoSpa.mdb to `dir`/`name` and returns the path (empty on failure).
inline QString freshCopy(const QTemporaryDir& dir, const QString& name) {
  const QString path = dir.filePath(name);
  QFile::remove(path);
  if (!QFile::copy(ruto::test::generatedPath(QStringLiteral("VoSpa.mdb")), path)) return {};
  QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
  return path;
}

// Runs one statement on a connection; false (and the error printed) on failure.
inline bool exec(const QString& connection, const QString& sql, const QVariantList& values = {}) {
  QSqlQuery q(QSqlDatabase::database(connection, false));
  q.prepare(sql);
  for (const QVariant& v : values) q.addBindValue(v);
  if (!q.exec()) {
    qWarning("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    return false;
  }
  return true;
}

inline QVariant scalar(const QString& connection, const QString& sql,
                       const QVariantList& values = {}) {
  QSqlQuery q(QSqlDatabase::database(connection, false));
  q.prepare(sql);
  for (const QVariant& v : values) q.addBindValue(v);
  if (!q.exec() || !q.next()) return {};
  return q.value(0);
}

// The first row of a query as texts ("<null>" for null), for comparing whole rows at once.
inline QStringList firstRow(const QString& connection, const QString& sql) {
  QSqlQuery q(QSqlDatabase::database(connection, false));
  QStringList out;
  if (!q.exec(sql) || !q.next()) return {QStringLiteral("<no row>")};
  for (int i = 0; i < q.record().count(); ++i)
    out << (q.isNull(i) ? QStringLiteral("<null>") : q.value(i).toString());
  return out;
}

}  // namespace dbtest
