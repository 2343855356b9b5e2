// The start-up check of the main database (quick_check on its own read connection) on a
// large database, against the sqlite3 program running the same check. Builds the database
// as `folder`/ruto4.mdb, where bench_startup then starts the program with it.
//   bench_startup_check folder clients [tests per client] [repeats]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <cstdio>
#include <vector>

#include "BenchSupport.h"
#include "FilledDatabase.h"
#include "TemplateDatabase.h"
#include "app/Database.h"
#include "app/DatabaseGuard.h"

using namespace ruto;

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() < 3) return 2;
  const QString path = args[1] + QStringLiteral("/ruto4.mdb");
  const int clients = args[2].toInt();
  const int perClient = args.size() > 3 ? args[3].toInt() : 10;
  const int repeats = args.size() > 4 ? args[4].toInt() : 5;
  QElapsedTimer t;
  t.start();
  if (!copyTemplateDatabase(path) || !benchdb::fill(path, clients, perClient)) return 1;
  std::printf("built %d clients, %d tests (%.1f MB) in %.1f s\n", clients, clients * perClient,
              QFileInfo(path).size() / 1e6, t.nsecsElapsed() / 1e9);

  const QString conn = QStringLiteral("bench");
  std::vector<double> check, cli;
  for (int i = 0; i < repeats; ++i) {
    if (OpenDatabase(conn, path, kMainTables) != DbOpenResult::Ok) return 1;
    // The time a write arriving at once would wait: from the start of the check to its verdict.
    t.restart();
    StartDatabaseCheck(conn, path);
    QString error;
    const bool sound = WaitForWriteVerdict(conn, &error);
    check.push_back(t.nsecsElapsed() / 1e6);
    StopDatabaseCheck(conn);
    CloseDatabase(conn);
    if (!sound) {
      std::fprintf(stderr, "%s\n", qPrintable(error));
      return 1;
    }
    QProcess p;
    t.restart();
    p.start(QStringLiteral("sqlite3"),
            {QStringLiteral("-readonly"), path, QStringLiteral("PRAGMA quick_check")});
    if (!p.waitForFinished(600000) || p.readAllStandardOutput().trimmed() != "ok") return 1;
    cli.push_back(t.nsecsElapsed() / 1e6);
  }
  std::printf("start-up check (quick_check on a worker thread), median of %d runs\n", repeats);
  std::printf("  start to verdict           %8.1f ms\n", median(check));
  std::printf("  sqlite3 -readonly quick_check %5.1f ms  (%.2fx)\n", median(cli),
              median(check) / median(cli));
  return 0;
}
