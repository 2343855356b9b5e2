// Expert-program matching on injected levels, and the loader on a real database file.

#include <gtest/gtest.h>

#include <QSqlQuery>
#include <QTemporaryDir>

#include "app/Database.h"
#include "base/DateTime.h"
#include "measure/ProgramMatcher.h"
#include "support/TestSupport.h"

using namespace ruto;

namespace {

TAnalysisResult sampleResult() {
  TAnalysisResult a;
  a.SummaryLevel = {-1, 0, 2, 1, 2};
  for (auto [point, level] : {std::pair{1, 1}, {7, 2}, {12, -1}, {14, -1}, {20, -2}})
    a.PointLevel[point] = level;
  a.ElementLevel = {-1, 0, 0, 1, 0};
  a.Average = 27.9;
  return a;
}

TMatchClient man1960() { return {true, toOleDate(QDate(1960, 5, 1)), QDate(2025, 3, 1)}; }

// A condition row from position codes {position, code}, flagged positions and a few values.
TProgramCondition row(std::initializer_list<std::pair<int, int>> codes,
                      std::initializer_list<int> flags = {}, bool required = false, double eng = 0,
                      double agl = 0, double agh = 0) {
  QString cond(24, u'0'), and_(24, u'0');
  for (auto [p, c] : codes) cond[p - 1] = QChar(u'0' + c);
  for (int p : flags) and_[p - 1] = u'1';
  return {cond, and_, required, eng, agl, agh};
}

TExpertProgram program(const QString& name, std::vector<TProgramCondition> rows) {
  TExpertProgram p;
  p.ProName = name;
  p.Rows = std::move(rows);
  return p;
}

}  // namespace

TEST(ProgramMatcher, SampleTableAcceptsExactlyTheFittingPrograms) {
  const std::vector<TExpertProgram> programs = {
      program("P1", {row({{6, 2}, {24, 1}})}),
      program("P2", {row({{1, 1}}, {2})}),
      program("P3", {row({{14, 3}}), row({{23, 2}}, {}, true, 0, 0, 60)}),
      program("P4", {row({{4, 1}})}),
      program("P5", {row({{1, 5}}, {}, false, 27), row({{1, 4}}, {}, false, 27)}),
      program("P6", {row({{6, 1}, {7, 3}}, {6, 7})}),
      program("P7", {}),
      program("P8", {{"", "", false, 0, 0, 0}}),
      program("P9", {row({{24, 2}})}),
      program("P10", {row({{21, 2}})})};
  EXPECT_EQ(MatchPrograms(programs, sampleResult(), man1960()),
            QStringList({"P1", "P2", "P4", "P5", "P10"}));

  // Required rows, and programs of one name.
  const TProgramCondition good = row({{24, 1}}), bad = row({{24, 2}});
  const std::vector<TExpertProgram> same = {
      program("Same", {good, {bad.ProCond, bad.ProAnd, true, 0, 0, 0}}),   // required fails
      program("Same", {{bad.ProCond, bad.ProAnd, false, 0, 0, 0}, good}),  // order is irrelevant
      program("Same", {{good.ProCond, good.ProAnd, true, 0, 0, 0}}), program("Fails", {bad, bad})};
  EXPECT_EQ(MatchPrograms(same, sampleResult(), man1960()), QStringList({"Same", "Same"}));
  EXPECT_EQ(FindProgramByName(same, "  same "), 0);
  EXPECT_EQ(FindProgramByName(same, "none"), -1);
}

TEST(ProgramMatcher, PositionKinds) {
  const TAnalysisResult a = sampleResult();
  const std::tuple<TProgramCondition, bool, int, bool, const char*> cases[] = {
      {row({{3, 1}}), true, 65, true, "musculoskeletal: code 1 means any non-zero level"},
      {row({{3, 2}}), true, 65, true, "code 2 as well"},
      {row({{5, 3}}), true, 65, true, "autonomic 3"},
      {row({{4, 2}}), true, 65, false, "metabolism code 2 wants a negative level"},
      {row({{2, 3}}), true, 65, false, "stress level 0"},
      {row({{2, 0}}, {2}), true, 65, true, "mandatory code 0 on level 0 holds"},
      {row({{1, 0}}, {1}), true, 65, false, "mandatory code 0 on a non-zero level fails"},
      {row({{6, 0}}, {6}), true, 65, false, "mandatory lung 0 wants both sides 0"},
      {row({{8, 0}}, {8}), true, 65, true, "pericardium both 0"},
      {row({{7, 1}}), true, 65, false, "large intestine: only one side below 0"},
      {row({{7, 3}}), true, 65, true, "either side"},
      {row({{1, 6}}, {}, false, 28), true, 65, true, "27 < 28"},
      {row({{1, 5}}, {}, false, 26.5), true, 65, true, "27 > 26.5"},
      {row({{1, 7}}), true, 65, false, "code past the range codes never holds"},
      {row({{1, 7}, {4, 1}}, {1}), true, 65, false, "...and fails when mandatory"},
      {row({{24, 1}}), true, 65, true, "sex alone matches every man"},
      {row({{24, 3}}), true, 65, false, "sex code 3 never holds and fails"},
      {row({{23, 1}, {4, 1}}, {}, false, 0, 70), true, 65, false, "age below the lower bound"},
      {row({{23, 3}}, {}, false, 0, 60, 70), true, 65, true, "age within the bounds"},
      {row({{23, 2}, {4, 1}}, {}, false, 0, 0, 10), true, 0, true, "age 0 skips position 23"},
      {row({{23, 2}}, {}, false, 0, 0, 10), true, 0, false, "...and alone matches nothing"},
      {row({{18, 1}, {19, 3}}), true, 65, true, "wood below 0; fire 0 ignored"},
      {{"", "1111111111111111111111", false, 0, 0, 0}, true, 65, false, "flags on non-zero levels"},
      {{"1A", "", false, 0, 0, 0}, true, 65, true, "a letter reads as 0"},
      {{"02", "", false, 0, 0, 0}, true, 65, false, "short string, stress level 0"}};
  for (const auto& [r, male, age, matches, why] : cases)
    EXPECT_EQ(ConditionRowMatches(r, a, male, age), matches) << why;
  // Everything zero: flags alone match exactly when each flagged level is 0.
  const TAnalysisResult zero;
  EXPECT_TRUE(ConditionRowMatches({"", "0111111111111111111111", false, 0, 0, 0}, zero, true, 0));
  EXPECT_FALSE(ConditionRowMatches({"", "", false, 0, 0, 0}, zero, true, 0));
}

TEST(ProgramMatcher, AgeOfTheClient) {
  const QDate today(2025, 1, 1);
  EXPECT_EQ(MatchAge(toOleDate(QDate(2024, 12, 31)), today), 1);
  EXPECT_EQ(MatchAge(toOleDate(QDate(1960, 7, 1)), today), 65);
  // No birthday (not 1899), born this year, and a future birthday (unknown, not 65535).
  for (double birth : {0.0, 3999.5, toOleDate(QDate(2025, 6, 1)), toOleDate(QDate(2026, 6, 1))})
    EXPECT_EQ(MatchAge(birth, today), 0) << birth;
  // With an unknown age a required age row neither holds nor fails.
  const std::vector<TExpertProgram> p = {
      program("A", {row({{24, 1}}), row({{23, 1}}, {}, true, 0, 200)})};
  for (double birth : {0.0, toOleDate(QDate(2030, 1, 1))})
    EXPECT_EQ(MatchPrograms(p, sampleResult(), {true, birth, today}), QStringList()) << birth;
}

TEST(ProgramMatcher, LoaderReadsListOrderAndRowsByNumber) {
  QTemporaryDir dir;
  const QString path = dir.filePath("p.mdb");
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "load");
    db.setDatabaseName(path);
    ASSERT_TRUE(db.open());
    QSqlQuery q(db);
    for (const char* s :
         {"CREATE TABLE VOPRO (MKEY INTEGER PRIMARY KEY, ProNo TEXT COLLATE NOCASE, ProName "
          "TEXT, ProData TEXT, ProPict BLOB, ProScal INTEGER, ProFN TEXT, ProScrp1 TEXT, "
          "ProPrg1 TEXT, ProParm1 TEXT)",
          "CREATE TABLE VOPRDT (MKEY INTEGER PRIMARY KEY, ProNo TEXT COLLATE NOCASE, ProCond "
          "TEXT, ProAnd TEXT, ProFlg INTEGER, ProEng REAL, ProAGL INTEGER, ProAGH INTEGER)",
          "INSERT INTO VOPRO VALUES (1,'b1','Beta','desc',x'00ff',1,'1000','hint','prog','x')",
          "INSERT INTO VOPRO (MKEY, ProNo, ProName) VALUES (2,'A1','Alpha')",
          "INSERT INTO VOPRO (MKEY, ProNo, ProName) VALUES (3,'C1','Alpha')",
          "INSERT INTO VOPRDT VALUES (1,'B1','000000000000000000000001',NULL,1,27.5,10,60)",
          "INSERT INTO VOPRDT VALUES (2,'a1',NULL,NULL,NULL,NULL,NULL,NULL)",
          "INSERT INTO VOPRDT VALUES (3,'zz','1',NULL,0,0,0,0)",  // no program
          "INSERT INTO VOPRDT VALUES (4,'b1','2',NULL,0,0,0,0)"})
      ASSERT_TRUE(q.exec(s)) << s;
  }
  QSqlDatabase::removeDatabase("load");
  ASSERT_EQ(OpenDatabase("load", path, {"VOPRO", "VOPRDT"}), DbOpenResult::Ok);
  std::vector<TExpertProgram> programs;
  ASSERT_TRUE(LoadExpertPrograms("load", &programs));
  // Number and count of rows; the same name goes in key order.
  QStringList listed;
  for (const TExpertProgram& p : programs) listed << p.ProNo + ':' + QString::number(p.Rows.size());
  ASSERT_EQ(listed, QStringList({"A1:1", "C1:0", "b1:2"}));
  const auto& rows = programs[2].Rows;
  TProgramDetail d;
  ASSERT_TRUE(LoadProgramDetail("load", programs[2].MKey, &d));
  EXPECT_EQ(rows[0].ProCond, "000000000000000000000001");
  EXPECT_TRUE(rows[0].ProFlg);
  EXPECT_EQ(rows[0].ProEng, 27.5);
  EXPECT_EQ(rows[0].ProAGH, 60.0);
  EXPECT_EQ(rows[1].ProCond, "2");
  EXPECT_EQ(d.ProData, "desc");
  EXPECT_EQ(d.ProPict, QByteArray("\x00\xff", 2));
  EXPECT_TRUE(d.ProScal);
  EXPECT_EQ(d.ProFN, "1000");
  EXPECT_EQ(d.ProPrg[0], "prog");
  EXPECT_EQ(d.ProPrg[3], "") << "ProPrg4 is a column the table lacks";
  CloseDatabase("load");
}

TEST(ProgramMatcher, SuppliedMultiMeridianProgramsLoadAndMatch) {
  ASSERT_EQ(OpenDatabase("mtw", ruto::test::generatedPath("rutoMTW.mdb"), {"VOPRO", "VOPRDT"}),
            DbOpenResult::Ok);
  std::vector<TExpertProgram> programs;
  ASSERT_TRUE(LoadExpertPrograms("mtw", &programs));
  CloseDatabase("mtw");
  ASSERT_GE(programs.size(), 12u);
  std::array<bool, 25> coded{};
  bool required = false;
  for (const TExpertProgram& p : programs) {
    EXPECT_FALSE(p.Rows.empty()) << qPrintable(p.ProName);
    for (const TProgramCondition& r : p.Rows) {
      required = required || r.ProFlg;
      for (int pos = 1; pos <= 24; ++pos) coded[pos] = coded[pos] || r.ProCond[pos - 1] != u'0';
    }
  }
  EXPECT_TRUE(required) << "some row is required";
  EXPECT_EQ(std::count(coded.begin() + 1, coded.end(), true), 24) << "every position is used";

  // A weak, tense woman of 50: low energy range, stress, menopause care; not the men's program.
  TAnalysisResult a;
  a.Average = 15.2;
  a.SummaryLevel = {-1, 2, 0, 0, 0};
  const QStringList names =
      MatchPrograms(programs, a, {false, toOleDate(QDate(1975, 3, 1)), QDate(2025, 6, 1)});
  for (const QString name : {"體能低下", "精神緊張", "更年期調養", "男性中年保健", "體能亢進"})
    EXPECT_EQ(names.contains(name), !name.startsWith("男") && name != "體能亢進")
        << qPrintable(name);
}
