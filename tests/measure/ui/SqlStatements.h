#pragma once
// Building the analysis windows' databases in the tests: one statement, and a failed one fails
// the test.

#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariantList>

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

}  // namespace ruto::test
