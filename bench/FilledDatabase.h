#pragma once
// A copy of the template main database filled with many clients and tests, for the benches
// that need a large one (the client browser, the start-up check).

#include <sqlite3.h>

#include <QByteArray>
#include <QString>
#include <cstdio>

namespace benchdb {

inline bool exec(sqlite3* db, const char* sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &error) == SQLITE_OK) return true;
  std::fprintf(stderr, "%s: %s\n", sql, error);
  sqlite3_free(error);
  return false;
}

// The client number of the i-th client.
inline QByteArray number(int i) {
  return QStringLiteral("C%1").arg(i, 7, 10, QLatin1Char('0')).toUtf8();
}

// Adds `clients` clients with `testsPerClient` tests each to the database at `path`, in one
// transaction, and analyses it.
inline bool fill(const QString& path, int clients, int testsPerClient) {
  sqlite3* db = nullptr;
  if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK) return false;
  bool ok = exec(db, "BEGIN");
  sqlite3_stmt* c = nullptr;
  sqlite3_stmt* t = nullptr;
  sqlite3_prepare_v2(db,
                     "INSERT INTO VOCUST (CUSTNO, NAME, SEX, DBIRTH, ADDR, TEL, TEL2, EMAIL) "
                     "VALUES (?,?,?,?,?,?,?,?)",
                     -1, &c, nullptr);
  QByteArray sql = "INSERT INTO VODATA (CUSTNO, VODATE, VOVOTA, MEMO1";
  for (int p = 1; p <= 24; ++p) sql += ", VO" + QByteArray::number(p);
  sql += ") VALUES (?,?,?,?";
  for (int p = 1; p <= 24; ++p) sql += ",?";
  sql += ")";
  sqlite3_prepare_v2(db, sql.constData(), -1, &t, nullptr);
  for (int i = 0; ok && i < clients; ++i) {
    // Numbers go in out of order, so that the sort has work to do.
    const int n = static_cast<int>((static_cast<long long>(i) * 7919) % clients);
    const QByteArray no = number(n);
    const QByteArray name = QStringLiteral("王%1明").arg(i % 997).toUtf8();
    const QByteArray addr = QStringLiteral("台北市中正區%1號").arg(i % 300).toUtf8();
    const QByteArray tel =
        QStringLiteral("02-2%1").arg(i % 10000000, 7, 10, QLatin1Char('0')).toUtf8();
    const QByteArray mobile =
        QStringLiteral("0912%1").arg(i % 1000000, 6, 10, QLatin1Char('0')).toUtf8();
    const QByteArray mail = QStringLiteral("c%1@mail.tw").arg(i).toUtf8();
    sqlite3_bind_text(c, 1, no.constData(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(c, 2, name.constData(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int(c, 3, i % 2);
    sqlite3_bind_double(c, 4, 20000.0 + i % 20000);
    sqlite3_bind_text(c, 5, addr.constData(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(c, 6, tel.constData(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(c, 7, mobile.constData(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(c, 8, mail.constData(), -1, SQLITE_TRANSIENT);
    ok = sqlite3_step(c) == SQLITE_DONE;
    sqlite3_reset(c);
    for (int k = 0; ok && k < testsPerClient; ++k) {
      sqlite3_bind_text(t, 1, no.constData(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_double(t, 2, 44000.0 + k * 7.25);
      sqlite3_bind_int(t, 3, k % 2);
      sqlite3_bind_text(t, 4, "頭痛\r\n", -1, SQLITE_STATIC);
      for (int p = 1; p <= 24; ++p) sqlite3_bind_double(t, 4 + p, 20 + (i + k * p) % 60);
      ok = sqlite3_step(t) == SQLITE_DONE;
      sqlite3_reset(t);
    }
  }
  sqlite3_finalize(c);
  sqlite3_finalize(t);
  ok = ok && exec(db, "COMMIT") && exec(db, "ANALYZE");
  sqlite3_close(db);
  return ok;
}

}  // namespace benchdb
