// Exports 10,000 clients with 100,000 tests into a transfer file and imports it into an empty
// main database, and compares each with the sqlite3 program copying the same rows between the
// same kind of files (INSERT ... SELECT from an attached file), in one run.
//   bench_transfer [clients] [tests per client] [repeats]
// Prints the median of each and the ratios; the aim is within 3 times.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

#include "app/AskUser.h"
#include "app/Database.h"
#include "app/InstallDir.h"
#include "app/RecordSet.h"
#include "app/TransferColumns.h"
#include "records/Transfer.h"

#include "BenchSupport.h"
#include "TemplateDatabase.h"

using namespace ruto;

namespace {

const QString kMain = QStringLiteral("bench");

bool fill(int clients, int testsPerClient) {
  Transaction t(kMain);
  QSqlDatabase db = QSqlDatabase::database(kMain);
  QSqlQuery c(db), d(db);
  c.prepare(
      "INSERT INTO VOCUST (CUSTNO, NAME, SEX, DBIRTH, ADDR, TEL, EMAIL, HEIGHT, WEIGHT, MEMO, "
      "PrtFG) VALUES (?,?,?,?,?,?,?,?,?,?,0)");
  QStringList cols, marks;
  for (int p = 1; p <= 24; ++p) cols << QStringLiteral("VO%1").arg(p);
  for (int p = 0; p < 24; ++p) marks << QStringLiteral("?");
  d.prepare(QStringLiteral("INSERT INTO VODATA (CUSTNO, VODATE, VOVOTA, MEMO1, %1, PrtFG) VALUES "
                           "(?,?,?,?,%2,0)")
                .arg(cols.join(u','), marks.join(u',')));
  for (int i = 0; i < clients; ++i) {
    const QString no = QStringLiteral("C%1").arg(i, 6, 10, QLatin1Char('0'));
    c.addBindValue(no);
    c.addBindValue(QStringLiteral("受測者%1").arg(i));
    c.addBindValue(i % 2);
    c.addBindValue(20000.0 + i);
    c.addBindValue(QStringLiteral("台北市信義路%1號").arg(i % 500));
    c.addBindValue(QStringLiteral("02-2700%1").arg(i % 10000));
    c.addBindValue(QStringLiteral("c%1@example.com").arg(i));
    c.addBindValue(160.0 + i % 30);
    c.addBindValue(50.0 + i % 40);
    c.addBindValue(QStringLiteral("備註"));
    if (!c.exec()) return false;
    for (int k = 0; k < testsPerClient; ++k) {
      d.addBindValue(no);
      d.addBindValue(45000.0 + k + (i % 86400) / 86400.0);
      d.addBindValue(k % 2);
      d.addBindValue(QStringLiteral("頭痛、失眠\r\n"));
      for (int p = 1; p <= 24; ++p) d.addBindValue(20.0 + (i + k + p) % 60 + 0.5);
      if (!d.exec()) return false;
    }
  }
  return t.commit();
}

// The reference: sqlite3 copying the four tables' transfer columns from `from` into `to`.
bool sqliteCopy(const QString& from, const QString& to) {
  QString script = QStringLiteral("ATTACH '%1' AS src;\nBEGIN;\n").arg(from);
  for (const QString table : {"VOPRO", "VOPRDT", "VOCUST", "VODATA"}) {
    QStringList names;
    for (const TransferColumn& c : TransferColumns(table)) names << c.name;
    script += QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM src.%1 ORDER BY MKEY;\n")
                  .arg(table, names.join(u','));
  }
  script += QStringLiteral("COMMIT;\n");
  QProcess p;
  p.start(QStringLiteral("sqlite3"), {to});
  p.write(script.toUtf8());
  p.closeWriteChannel();
  return p.waitForFinished(600000) && p.exitCode() == 0;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int clients = argc > 1 ? std::atoi(argv[1]) : 10000;
  const int tests = argc > 2 ? std::atoi(argv[2]) : 10;
  const int repeats = argc > 3 ? std::atoi(argv[3]) : 3;
  QTemporaryDir dir;
  SetInstallDir(dir.path());
  SetAskUserResponder([](MsgKind, const QString&) { return true; });
  if (!QFile::copy(kTemplateDatabase, dir.filePath("VoSpa.mdb"))) return 1;
  const QString mainPath = dir.filePath("ruto4.mdb");
  if (!copyTemplateDatabase(mainPath) ||
      OpenDatabase(kMain, mainPath, kMainTables) != DbOpenResult::Ok || !fill(clients, tests)) {
    std::fprintf(stderr, "cannot prepare the main database\n");
    return 1;
  }
  const QString disk = dir.filePath("disk");
  QDir().mkpath(disk);

  std::vector<double> exportOurs, exportRef, importOurs, importRef;
  for (int i = 0; i < repeats; ++i) {
    QElapsedTimer t;
    t.start();
    TransferRun run(kMain);
    if (!run.exportTo({disk, true, true, false}).ok) return 1;
    exportOurs.push_back(t.nsecsElapsed() / 1e6);

    const QString refOut = dir.filePath("ref-export.mdb");
    t.start();
    if (!copyTemplateDatabase(refOut) || !sqliteCopy(mainPath, refOut)) return 1;
    exportRef.push_back(t.nsecsElapsed() / 1e6);

    // Import into an empty main database.
    const QString target = dir.filePath("target.mdb");
    if (!copyTemplateDatabase(target) ||
        OpenDatabase(QStringLiteral("target"), target, kMainTables) != DbOpenResult::Ok)
      return 1;
    t.start();
    TransferRun in(QStringLiteral("target"));
    const TTransferOutcome out = in.importFrom({disk, true, true, false});
    importOurs.push_back(t.nsecsElapsed() / 1e6);
    CloseDatabase(QStringLiteral("target"));
    if (!out.ok || out.records.detailsAdded != clients * tests) return 1;

    const QString refIn = dir.filePath("ref-import.mdb");
    t.start();
    if (!copyTemplateDatabase(refIn) || !sqliteCopy(disk + "/VoTran.mdb", refIn)) return 1;
    importRef.push_back(t.nsecsElapsed() / 1e6);
  }
  const double eo = median(exportOurs), er = median(exportRef);
  const double io = median(importOurs), ir = median(importRef);
  std::printf("clients %d, tests %d\n", clients, clients * tests);
  std::printf("export: %.0f ms, sqlite3 copy %.0f ms, ratio %.2f\n", eo, er, er > 0 ? eo / er : 0);
  std::printf("import: %.0f ms, sqlite3 copy %.0f ms, ratio %.2f\n", io, ir, ir > 0 ? io / ir : 0);
  CloseDatabase(kMain);
  SetAskUserResponder(nullptr);
  return 0;
}
