// Loads and matches 1,000 expert programs with 3,000 condition rows for one test, as the
// analysis window does on opening, and compares the time with a plain read of the same rows
// (every column of both tables, no matching) in the same run. The budget is 20 ms.
//   bench_programs [programs] [repeats]

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>
#include <random>
#include <vector>

#include "app/Database.h"
#include "app/RecordSet.h"
#include "base/DateTime.h"
#include "measure/ProgramMatcher.h"

#include "BenchSupport.h"
#include "TemplateDatabase.h"

using namespace ruto;

namespace {

const QString kConn = QStringLiteral("bench");

bool fill(int programs) {
  Transaction t(kConn);
  QSqlQuery pro(QSqlDatabase::database(kConn)), row(QSqlDatabase::database(kConn));
  pro.prepare("INSERT INTO VOPRO (ProNo, ProName, ProData, ProFN) VALUES (?, ?, ?, '1000')");
  row.prepare(
      "INSERT INTO VOPRDT (ProNo, ProSubN, ProCond, ProAnd, ProEng, ProAGL, ProAGH, ProFlg) "
      "VALUES (?, ?, ?, ?, ?, 20, 70, ?)");
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> position(1, 24), code(0, 3);
  for (int i = 0; i < programs; ++i) {
    const QString no = QStringLiteral("P%1").arg(i, 5, 10, QLatin1Char('0'));
    pro.addBindValue(no);
    pro.addBindValue(QStringLiteral("療程%1").arg((i * 37) % programs));
    pro.addBindValue(QStringLiteral("說明文字 %1").arg(i));
    if (!pro.exec()) return false;
    for (int r = 0; r < 3; ++r) {
      QString cond(24, u'0'), flags(24, u'0');
      for (int k = 0; k < 3; ++k) cond[position(rng) - 1] = QChar(u'0' + code(rng));
      if (r == 1) flags[position(rng) % 22] = u'1';
      row.addBindValue(no);
      row.addBindValue(QStringLiteral("條件%1").arg(r));
      row.addBindValue(cond);
      row.addBindValue(flags);
      row.addBindValue(25.0 + r);
      row.addBindValue(r == 2 ? 1 : 0);
      if (!row.exec()) return false;
    }
  }
  return t.commit();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int programs = argc > 1 ? std::atoi(argv[1]) : 1000;
  const int repeats = argc > 2 ? std::atoi(argv[2]) : 21;
  QTemporaryDir dir;
  const QString path = dir.filePath("ruto4.mdb");
  if (!copyTemplateDatabase(path)) return 1;
  if (OpenDatabase(kConn, path, kMainTables) != DbOpenResult::Ok || !fill(programs)) return 1;

  TAnalysisResult a;
  a.Average = 31.4;
  a.SummaryLevel = {1, -1, 0, 2, 1};
  for (int p = 1; p <= 24; ++p) a.PointLevel[p] = (p * 5) % 5 - 2;
  a.ElementLevel = {0, 1, -1, 2, 0};
  const TMatchClient client{true, toOleDate(QDate(1970, 1, 1)), QDate(2025, 1, 1)};

  std::vector<double> ours, plain;
  int matched = 0;
  for (int i = 0; i < repeats; ++i) {
    QElapsedTimer t;
    t.start();
    std::vector<TExpertProgram> list;
    if (!LoadExpertPrograms(kConn, &list)) return 1;
    matched = static_cast<int>(MatchPrograms(list, a, client).size());
    ours.push_back(t.nsecsElapsed() / 1e6);

    t.start();
    long long cells = 0;
    for (const char* sql :
         {"SELECT * FROM VOPRO ORDER BY ProName, MKEY", "SELECT * FROM VOPRDT ORDER BY MKEY"}) {
      QSqlQuery q(QSqlDatabase::database(kConn));
      q.setForwardOnly(true);
      q.exec(QString::fromLatin1(sql));
      while (q.next())
        for (int c = 0; c < 4; ++c) cells += q.value(c).isNull() ? 0 : 1;
    }
    plain.push_back(t.nsecsElapsed() / 1e6);
    if (cells == 0) return 1;
  }
  const double m = median(ours), r = median(plain);
  std::printf("programs %d, condition rows %d, matched %d\n", programs, programs * 3, matched);
  std::printf("load and match: %.2f ms (budget 20 ms)\n", m);
  std::printf("plain read of the same rows: %.2f ms\n", r);
  std::printf("ratio: %.2f\n", r > 0 ? m / r : 0.0);
  CloseDatabase(kConn);
  return 0;
}
