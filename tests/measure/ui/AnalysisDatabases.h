#pragma once
// The databases the analysis window opens, built on SQLite in the tests: one statement at a
// time (a failed one fails the test), and a reference table whose texts name their column and
// key.

#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariantList>

#include "app/TextCodec.h"
#include "measure/ReferenceTable.h"

namespace ruto::test {

// Runs `sql` with `values` bound on `connection`; false, and a test failure, when it does not.
inline bool runStatement(const QString& connection, const QString& sql,
                         const QVariantList& values = {}) {
  QSqlQuery q(QSqlDatabase::database(connection, false));
  q.prepare(sql);
  for (const QVariant& v : values) q.addBindValue(v);
  if (q.exec()) return true;
  ADD_FAILURE() << sql.toStdString() << ": " << q.lastError().text().toStdString();
  return false;
}

inline bool openSqlite(const QString& connection, const QString& path) {
  QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", connection);
  db.setDatabaseName(path);
  return db.open();
}

inline void closeSqlite(const QString& connection) {
  { QSqlDatabase::database(connection, false).close(); }
  QSqlDatabase::removeDatabase(connection);
}

// VOMTDB on `connection`; with a `prefix`, keys 1..17 whose texts read "<prefix><column>-<key>".
inline void makeReferenceTable(const QString& connection, const QString& prefix = {}) {
  QStringList columns = {"MKEY INTEGER PRIMARY KEY"};
  for (const TReferenceColumn& c : ReferenceTextColumns()) columns << QString(c.name) + " TEXT";
  runStatement(connection, "CREATE TABLE VOMTDB (" + columns.join(',') + ", DtGpM BLOB)");
  if (prefix.isNull()) return;
  for (int key = 1; key <= 17; ++key) {
    QVariantList values = {key};
    for (const TReferenceColumn& c : ReferenceTextColumns())
      values << *ScrambleText(QString("%1%2-%3").arg(prefix, c.name).arg(key));
    runStatement(connection,
                 "INSERT INTO VOMTDB VALUES (?" + QString(",?").repeated(21) + ", NULL)", values);
  }
}

}  // namespace ruto::test
