// Loads a 100,000-row VOCUST through the record-set layer and compares the time with the
// sqlite3 command-line program reading the same rows in the same order, in one run.
//   bench_records [rows] [repeats]
// Prints the median of each and their ratio (record set / sqlite3).

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/Database.h"
#include "app/RecordSet.h"

#include "BenchSupport.h"
#include "TemplateDatabase.h"

using namespace ruto;

namespace {

const QString kConn = QStringLiteral("bench");

bool fill(int rows) {
  QSqlDatabase db = QSqlDatabase::database(kConn);
  Transaction t(kConn);
  QSqlQuery q(db);
  q.prepare(QStringLiteral(
      "INSERT INTO VOCUST (CUSTNO, NAME, SEX, DBIRTH, ADDR, TEL, TEL2, TEL3, EMAIL, BTYPE, "
      "HEIGHT, WEIGHT, MEMO, CUSTCAT, CUSTFG, PrtFG) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
  for (int i = 0; i < rows; ++i) {
    // Numbers inserted out of order so that the sort has work to do.
    const int n = static_cast<int>((static_cast<long long>(i) * 7919) % rows);
    q.addBindValue(QStringLiteral("C%1").arg(n, 7, 10, QLatin1Char('0')));
    q.addBindValue(QStringLiteral("客戶姓名%1").arg(i % 997));
    q.addBindValue(i % 2);
    q.addBindValue(20000.0 + i % 20000);
    q.addBindValue(QStringLiteral("台北市中正區重慶南路一段%1號").arg(i % 300));
    q.addBindValue(QStringLiteral("02-2%1").arg(i, 7, 10, QLatin1Char('0')));
    q.addBindValue(QStringLiteral("0912-%1").arg(i, 6, 10, QLatin1Char('0')));
    q.addBindValue(QString());
    q.addBindValue(QStringLiteral("client%1@example.com").arg(i));
    q.addBindValue(QStringLiteral("O"));
    q.addBindValue(150.0 + i % 40);
    q.addBindValue(45.5 + i % 50);
    q.addBindValue(QStringLiteral("備註 %1").arg(i));
    q.addBindValue(QString());
    q.addBindValue(QString());
    q.addBindValue(0);
    if (!q.exec()) return false;
  }
  q.finish();
  return t.commit();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  const int rows = args.size() > 1 ? args[1].toInt() : 100000;
  const int repeats = args.size() > 2 ? args[2].toInt() : 5;

  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("ruto4.mdb"));
  if (!copyTemplateDatabase(path)) {
    std::fprintf(stderr, "template database missing\n");
    return 1;
  }
  QString detail;
  if (OpenDatabase(kConn, path, kMainTables, &detail) != DbOpenResult::Ok || !fill(rows)) {
    std::fprintf(stderr, "cannot prepare the database: %s\n", qPrintable(detail));
    return 1;
  }

  std::vector<double> ours, cli;
  for (int r = 0; r < repeats; ++r) {
    QElapsedTimer timer;
    timer.start();
    RecordSet set(kConn, QStringLiteral("VOCUST"));
    set.setSort(QStringLiteral("CUSTNO ASC"));
    if (!set.open() || set.rowCount() != rows) {
      std::fprintf(stderr, "record set: %s\n", qPrintable(set.lastError()));
      return 1;
    }
    ours.push_back(timer.nsecsElapsed() / 1e6);

    timer.restart();
    QProcess sqlite;
    sqlite.start(QStringLiteral("sqlite3"),
                 {QStringLiteral("-readonly"), path,
                  QStringLiteral("SELECT * FROM VOCUST ORDER BY CUSTNO ASC, MKEY")});
    if (!sqlite.waitForFinished(120000) || sqlite.exitCode() != 0) {
      std::fprintf(stderr, "sqlite3 failed: %s\n", qPrintable(sqlite.errorString()));
      return 1;
    }
    const QByteArray out = sqlite.readAllStandardOutput();
    cli.push_back(timer.nsecsElapsed() / 1e6);
    if (out.count('\n') != rows) {
      std::fprintf(stderr, "sqlite3 gave %lld lines\n", static_cast<long long>(out.count('\n')));
      return 1;
    }
  }
  CloseDatabase(kConn);

  const double a = median(ours), b = median(cli);
  std::printf("rows %d, median of %d runs\n", rows, repeats);
  std::printf("record set load (sorted, all columns): %8.1f ms\n", a);
  std::printf("sqlite3 program, same rows:           %8.1f ms\n", b);
  std::printf("ratio record set / sqlite3:           %8.2f\n", a / b);
  return 0;
}
