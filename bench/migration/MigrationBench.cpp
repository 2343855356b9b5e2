// Migrates an old database of 10,000 clients, 100,000 tests and 500 programs (two conditions
// each) into an empty main database, and compares the time with the sqlite3 command-line
// program attaching the old file and copying the same columns with INSERT ... SELECT in one
// transaction, in the same run.
//   bench_migration [clients] [repeats]
// Prints the median of each and their ratio (migration / sqlite3).

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

#include "BenchSupport.h"
#include "TemplateDatabase.h"
#include "app/Database.h"
#include "app/Databases.h"
#include "app/InstallDir.h"
#include "app/OldDatabaseMigration.h"
#include "app/RecordSet.h"
#include "app/TransferColumns.h"

using namespace ruto;

namespace {

bool exec(QSqlQuery& q, const QVariantList& values) {
  for (int i = 0; i < values.size(); ++i) q.bindValue(i, values[i]);
  return q.exec();
}

// The old database: the template's tables filled in one transaction.
bool makeOld(const QString& path, int clients) {
  if (!copyTemplateDatabase(path)) return false;
  const QString c = QStringLiteral("old");
  if (OpenDatabase(c, path, kMainTables) != DbOpenResult::Ok) return false;
  bool ok = true;
  {
    Transaction t(c);
    QSqlQuery cust(QSqlDatabase::database(c));
    QSqlQuery data(QSqlDatabase::database(c));
    QSqlQuery pro(QSqlDatabase::database(c));
    QSqlQuery cond(QSqlDatabase::database(c));
    cust.prepare(
        QStringLiteral("INSERT INTO VOCUST (CUSTNO, NAME, SEX, DBIRTH, ADDR, TEL, MEMO) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?)"));
    QString values = QStringLiteral("?, ?, ?, ?");
    QString columns = QStringLiteral("CUSTNO, VODATE, VOVOTA, MEMO1");
    for (int v = 1; v <= 24; ++v) {
      columns += QStringLiteral(", VO%1").arg(v);
      values += QStringLiteral(", ?");
    }
    data.prepare(QStringLiteral("INSERT INTO VODATA (%1) VALUES (%2)").arg(columns, values));
    pro.prepare(
        QStringLiteral("INSERT INTO VOPRO (ProNo, ProName, ProData, ProFN, ProPrg1) "
                       "VALUES (?, ?, ?, ?, ?)"));
    cond.prepare(
        QStringLiteral("INSERT INTO VOPRDT (ProNo, ProSubN, ProAnd, ProCond, ProEng, "
                       "ProAGL, ProAGH, ProFlg) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    for (int i = 0; i < clients && ok; ++i) {
      const QString no = QStringLiteral("C%1").arg(i, 6, 10, QLatin1Char('0'));
      ok = exec(cust, {no, QStringLiteral("客戶%1").arg(i), i % 2, 20000.0 + i % 9000,
                       QStringLiteral("台北市中正區%1號").arg(i % 300), QStringLiteral("02-2345"),
                       QStringLiteral("備註")});
      for (int t2 = 0; t2 < 10 && ok; ++t2) {
        QVariantList row{no, 40000.0 + i * 0.37 + t2, t2 % 2, QStringLiteral("頭痛\r\n")};
        for (int v = 1; v <= 24; ++v) row << 20.0 + (i * 7 + v * 3 + t2) % 160;
        ok = exec(data, row);
      }
    }
    for (int p = 0; p < 500 && ok; ++p) {
      const QString no = QStringLiteral("P%1").arg(p, 4, 10, QLatin1Char('0'));
      ok = exec(pro, {no, QStringLiteral("療程%1").arg(p), QStringLiteral("說明"),
                      QStringLiteral("1000"), QStringLiteral("/usr/bin/true")}) &&
           exec(cond, {no, QStringLiteral("條件一"), QString(24, QLatin1Char('0')),
                       QString(24, QLatin1Char('1')), 1.5, 10, 60, 1}) &&
           exec(cond, {no, QStringLiteral("條件二"), QString(24, QLatin1Char('0')),
                       QString(24, QLatin1Char('2')), 2.5, 0, 99, 0});
    }
    ok = ok && t.commit();
  }
  CloseDatabase(c);
  return ok;
}

double stepMs[16] = {};

// One migration into a fresh main database; milliseconds, or -1 on failure.
double migrateOnce(const QTemporaryDir& install, const QString& oldFile) {
  const QString mainPath = install.filePath(QStringLiteral("ruto4.mdb"));
  if (!copyTemplateDatabase(mainPath) ||
      !QFile::copy(oldFile, install.filePath(QStringLiteral("ruto.mdb"))))
    return -1;
  QFile::remove(install.filePath(QStringLiteral("ruto_BAK.mdb")));
  if (OpenDatabase(kMainConnection, mainPath, kMainTables) != DbOpenResult::Ok) return -1;
  QElapsedTimer timer;
  timer.start();
  OldDatabaseMigration migration(kMainConnection);
  // Where the time goes: the clock at the start of each step.
  migration.stepAllowed = [&](MigrationStep step) {
    stepMs[static_cast<int>(step)] = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    return true;
  };
  const MigrationResult r = migration.run();
  const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
  CloseDatabase(kMainConnection);
  if (r.outcome != MigrationResult::Migrated) {
    std::fprintf(stderr, "migration failed: %s\n", qPrintable(r.message));
    return -1;
  }
  return ms;
}

// The same columns copied by the sqlite3 program; milliseconds, or -1 on failure.
double sqliteOnce(const QTemporaryDir& work, const QString& oldFile) {
  const QString mainPath = work.filePath(QStringLiteral("reference.mdb"));
  if (!copyTemplateDatabase(mainPath)) return -1;
  QString script = QStringLiteral("ATTACH '%1' AS old;\nBEGIN;\n").arg(oldFile);
  for (const QString& table : kMainTables) {
    QStringList names;
    for (const TransferColumn& c : TransferColumns(table)) names << c.name;
    script += QStringLiteral("INSERT INTO main.%1 (%2) SELECT %2 FROM old.%1;\n")
                  .arg(table, names.join(QStringLiteral(", ")));
  }
  script += QStringLiteral("COMMIT;\n");
  QProcess sqlite;
  QElapsedTimer timer;
  timer.start();
  sqlite.start(QStringLiteral("sqlite3"), {mainPath});
  if (!sqlite.waitForStarted()) return -1;
  sqlite.write(script.toUtf8());
  sqlite.closeWriteChannel();
  if (!sqlite.waitForFinished(600000) || sqlite.exitCode() != 0) {
    std::fprintf(stderr, "sqlite3 failed: %s\n", sqlite.readAllStandardError().constData());
    return -1;
  }
  return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int clients = argc > 1 ? std::atoi(argv[1]) : 10000;
  const int repeats = argc > 2 ? std::atoi(argv[2]) : 3;
  QTemporaryDir install, work;
  SetInstallDir(install.path());
  const QString oldFile = work.filePath(QStringLiteral("old.mdb"));
  if (!makeOld(oldFile, clients)) {
    std::fprintf(stderr, "could not make the old database\n");
    return 1;
  }
  std::vector<double> ours, reference;
  for (int i = 0; i < repeats; ++i) {
    const double a = migrateOnce(install, oldFile);
    const double b = sqliteOnce(work, oldFile);
    if (a < 0 || b < 0) return 1;
    ours.push_back(a);
    reference.push_back(b);
  }
  const double m = median(ours), r = median(reference);
  std::printf("migration of %d clients, %d tests, 500 programs: %.1f ms\n", clients, clients * 10,
              m);
  std::printf("sqlite3 ATTACH + INSERT ... SELECT:               %.1f ms\n", r);
  std::printf("ratio (migration / sqlite3): %.2f\n", r > 0 ? m / r : 0.0);
  const char* const steps[] = {"copy and hash", "checks",      "clients and tests",
                               "programs",      "hash record", "commit"};
  std::printf("last run by step (ms):");
  for (int i = 0; i < 6; ++i) std::printf(" %s %.0f;", steps[i], stepMs[i + 1] - stepMs[i]);
  std::printf(" rename %.0f\n", ours.back() - stepMs[6]);
  return 0;
}
