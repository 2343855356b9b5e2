#pragma once
// A small VOMTDB of the tests' own, on an SQLite file.

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <functional>

#include "measure/ReferenceTable.h"

namespace ruto::test {

// Opens `path` under `connection` and creates an empty VOMTDB in it.
inline QSqlDatabase makeReferenceDb(const QString& connection, const QString& path) {
  QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", connection);
  db.setDatabaseName(path);
  QStringList defs = {"MKEY INTEGER PRIMARY KEY"};
  for (const TReferenceColumn& c : ReferenceTextColumns()) defs << QString(c.name) + " TEXT";
  if (db.open()) QSqlQuery(db).exec("CREATE TABLE VOMTDB (" + defs.join(',') + ", DtGpM BLOB)");
  return db;
}

// Inserts row `key` with the stored (scrambled) value of each text column given by `stored`.
inline bool insertReferenceRow(const QSqlDatabase& db, int key,
                               const std::function<QString(const char*)>& stored,
                               const QByteArray& figure = {}) {
  QStringList names = {"MKEY"}, marks = {"?"};
  for (const TReferenceColumn& c : ReferenceTextColumns()) names << c.name, marks << "?";
  QSqlQuery q(db);
  q.prepare("INSERT INTO VOMTDB (" + names.join(',') + ", DtGpM) VALUES (" + marks.join(',') +
            ", ?)");
  q.addBindValue(key);
  for (const TReferenceColumn& c : ReferenceTextColumns()) q.addBindValue(stored(c.name));
  q.addBindValue(figure);
  return q.exec();
}

}  // namespace ruto::test
