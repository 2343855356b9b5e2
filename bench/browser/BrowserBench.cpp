// What the client browser reads, at 100,000 clients and 1,000,000 tests:
//   open  - the client list sorted by number, the first client's tests and the counts;
//   typing - a number prefix typed key by key, each key a prefix locate;
//   sort  - a change to sorting by name and back, returning to the same client;
//   return - the browser shown again after a client or test was edited: its show steps, then
//            the one read of the list and the way back to the client it left.
// The first three are timed through the record-set layer, through the sqlite3 program running
// the same queries, and through SQLite's C API in this process reading every column of the
// same rows; the return against one open of the record set.
//   bench_browser [clients] [tests per client] [repeats]

#include <malloc.h>
#include <sqlite3.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

#include "BenchSupport.h"
#include "FilledDatabase.h"
#include "TemplateDatabase.h"
#include "app/Database.h"
#include "app/RecordSet.h"

using namespace ruto;
using benchdb::fill;
using benchdb::number;

namespace {

const QString kConn = QStringLiteral("bench");

double ms(const QElapsedTimer& t) { return t.nsecsElapsed() / 1e6; }

// The browser: client list by number, first client's tests, counts.
struct Browser {
  RecordSet clients{kConn, QStringLiteral("VOCUST")};
  RecordSet tests{kConn, QStringLiteral("VODATA")};
  bool open() {
    clients.setSort(QStringLiteral("CustNo ASC"));
    if (!clients.open()) return false;
    tests.setSort(QStringLiteral("VODATE ASC"));
    tests.setLink(QStringLiteral("CUSTNO"), clients.field(QStringLiteral("CUSTNO")));
    return tests.open() && clients.rowCount() > 0 && tests.rowCount() >= 0;
  }
  // Shown again: the list stays as read while the current client is found by its number;
  // then the list is read once and the row left before is current again, with its tests.
  bool comeBack(const QString& current) {
    const qint64 mark = clients.bookmark();
    clients.setSort(QStringLiteral("CustNo ASC"));
    if (!clients.isOpen() && !clients.open()) return false;
    clients.locate(QStringLiteral("CUSTNO"), current, LocateOption::CaseInsensitive);
    if (!clients.refresh() || !clients.gotoBookmark(mark)) return false;
    tests.setLink(QStringLiteral("CUSTNO"), clients.field(QStringLiteral("CUSTNO")));
    return tests.refresh();
  }
};

// SQLite's C API on its own: the same statements, every column of every row read.
struct Direct {
  sqlite3* db = nullptr;
  explicit Direct(const QString& path) {
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
  }
  ~Direct() { sqlite3_close(db); }
  long long run(const char* sql, const QByteArray& bound = {}) {
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &s, nullptr);
    if (!bound.isNull()) sqlite3_bind_text(s, 1, bound.constData(), -1, SQLITE_TRANSIENT);
    long long sum = 0;
    while (sqlite3_step(s) == SQLITE_ROW)
      for (int c = 0; c < sqlite3_column_count(s); ++c) {
        sum += sqlite3_column_type(s, c);
        if (sqlite3_column_type(s, c) == SQLITE_TEXT) sum += sqlite3_column_bytes(s, c);
      }
    sqlite3_finalize(s);
    return sum;
  }
};

bool cli(const QString& path, const QStringList& statements) {
  QProcess p;
  p.start(QStringLiteral("sqlite3"), QStringList{QStringLiteral("-readonly"), path} << statements);
  return p.waitForFinished(300000) && p.exitCode() == 0 && !p.readAllStandardOutput().isEmpty();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  const int clients = args.size() > 1 ? args[1].toInt() : 100000;
  const int perClient = args.size() > 2 ? args[2].toInt() : 10;
  const int repeats = args.size() > 3 ? args[3].toInt() : 3;

  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("ruto4.mdb"));
  if (!copyTemplateDatabase(path)) {
    std::fprintf(stderr, "template database missing\n");
    return 1;
  }
  QElapsedTimer timer;
  timer.start();
  if (!fill(path, clients, perClient)) return 1;
  std::printf("%d clients, %d tests, made in %.1f s\n", clients, clients * perClient,
              timer.nsecsElapsed() / 1e9);
  QString detail;
  if (OpenDatabase(kConn, path, kMainTables, &detail) != DbOpenResult::Ok) {
    std::fprintf(stderr, "cannot open: %s\n", qPrintable(detail));
    return 1;
  }
  Direct direct(path);
  const QByteArray first = number(0);
  const QByteArray target = number(clients * 57 / 100);
  const char* orderByNumber = "SELECT * FROM VOCUST ORDER BY CUSTNO, MKEY";
  const char* orderByName = "SELECT * FROM VOCUST ORDER BY NAME, MKEY";
  const char* testsOf = "SELECT * FROM VODATA WHERE CUSTNO = ? ORDER BY VODATE, MKEY";
  const char* prefix = "SELECT * FROM VOCUST WHERE CUSTNO LIKE ? ORDER BY CUSTNO, MKEY LIMIT 1";

  std::vector<double> openOurs, openCli, openApi, keyOurs, keyCli, keyApi, sortOurs, sortCli,
      sortApi, returnOurs;
  double bytesPerRow = 0;
  for (int r = 0; r < repeats; ++r) {
    // Open.
    const size_t before = mallinfo2().uordblks;
    timer.restart();
    auto browser = std::make_unique<Browser>();
    if (!browser->open()) {
      std::fprintf(stderr, "browser: %s\n", qPrintable(browser->clients.lastError()));
      return 1;
    }
    const int shown = browser->clients.rowCount() + browser->tests.rowCount();
    openOurs.push_back(ms(timer));
    bytesPerRow = double(mallinfo2().uordblks - before) / browser->clients.rowCount();
    if (shown < clients) return 1;

    timer.restart();
    cli(path, {QString::fromLatin1(orderByNumber),
               QStringLiteral("SELECT * FROM VODATA WHERE CUSTNO = '%1' ORDER BY VODATE, MKEY")
                   .arg(QString::fromLatin1(first)),
               QStringLiteral("SELECT COUNT(*) FROM VOCUST")});
    openCli.push_back(ms(timer));

    timer.restart();
    direct.run(orderByNumber);
    direct.run(testsOf, first);
    direct.run("SELECT COUNT(*) FROM VOCUST");
    openApi.push_back(ms(timer));

    // Typing the number of a client key by key.
    for (int k = 1; k <= target.size(); ++k) {
      const QString typed = QString::fromLatin1(target.left(k));
      timer.restart();
      browser->clients.locate(QStringLiteral("CUSTNO"), typed,
                              LocateOption::CaseInsensitive | LocateOption::PartialKey);
      browser->tests.setLink(QStringLiteral("CUSTNO"),
                             browser->clients.field(QStringLiteral("CUSTNO")));
      browser->tests.refresh();
      keyOurs.push_back(ms(timer));

      timer.restart();
      cli(path, {QStringLiteral("SELECT * FROM VOCUST WHERE CUSTNO LIKE '%1%' ORDER BY CUSTNO, "
                                "MKEY LIMIT 1")
                     .arg(typed)});
      keyCli.push_back(ms(timer));

      timer.restart();
      direct.run(prefix, typed.toLatin1() + "%");
      direct.run(testsOf, target);
      keyApi.push_back(ms(timer));
    }

    // Sorting by name and back to the number, staying on the same client.
    timer.restart();
    const qint64 mark = browser->clients.bookmark();
    browser->clients.setSort(QStringLiteral("Name ASC"));
    browser->clients.sortNow();
    browser->clients.gotoBookmark(mark);
    browser->clients.setSort(QStringLiteral("CustNo ASC"));
    browser->clients.sortNow();
    if (!browser->clients.gotoBookmark(mark)) return 1;
    sortOurs.push_back(ms(timer));

    timer.restart();
    cli(path, {QString::fromLatin1(orderByName), QString::fromLatin1(orderByNumber)});
    sortCli.push_back(ms(timer));

    timer.restart();
    direct.run(orderByName);
    direct.run(orderByNumber);
    sortApi.push_back(ms(timer));

    // Back from the client editor or manual entry, to the client the search found.
    timer.restart();
    if (!browser->comeBack(QString::fromLatin1(first))) return 1;
    returnOurs.push_back(ms(timer));
    if (browser->clients.field(QStringLiteral("CUSTNO")).toByteArray() != target) return 1;
  }
  CloseDatabase(kConn);

  const auto line = [](const char* what, const std::vector<double>& ours,
                       const std::vector<double>& program, const std::vector<double>& api) {
    const double a = median(ours), b = median(program), c = median(api);
    std::printf("%-22s %9.2f ms %9.2f ms %9.2f ms %7.2f %7.2f\n", what, a, b, c, a / b, a / c);
  };
  std::printf("median of %d runs       record set    sqlite3     C API  /prog  /api\n", repeats);
  line("open", openOurs, openCli, openApi);
  line("one key of a search", keyOurs, keyCli, keyApi);
  std::printf("%-22s %9.2f ms (slowest key)\n", "",
              *std::max_element(keyOurs.begin(), keyOurs.end()));
  line("sort change and back", sortOurs, sortCli, sortApi);
  std::printf("%-22s %9.2f ms %7.2f x one open\n", "return to the list", median(returnOurs),
              median(returnOurs) / median(openOurs));
  std::printf("memory of the client list: %.0f bytes per client row\n", bytesPerRow);
  return 0;
}
