// Writes of the expert-program windows on a real main database.

#include <gtest/gtest.h>

#include "app/CommandApproval.h"
#include "records/ProgramRecords.h"
#include "records/RecordsFixture.h"

// Designated initializers name only the fields a test sets; the others keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

class ProgramRecordsTest : public MainDatabaseTest {
 protected:
  void SetUp() override {
    MainDatabaseTest::SetUp();
    for (const char* s : {"INSERT INTO VOPRO (ProNo, ProName) VALUES (' P01', '舒眠')",
                          "INSERT INTO VOPRO (ProNo, ProName) VALUES ('P02', '安神')",
                          "INSERT INTO VOPRDT (ProNo, ProSubN) VALUES (' P01', 'a')",
                          "INSERT INTO VOPRDT (ProNo, ProSubN) VALUES (' p01', 'b')",
                          "INSERT INTO VOPRDT (ProNo, ProSubN) VALUES ('P02', 'c')"})
      ASSERT_TRUE(dbtest::exec(kMainConnection, s)) << s;
    programs.setSort("ProNo ASC");
    ASSERT_TRUE(programs.open());
    conditions.setLink("ProNo", programs.field("ProNo"));
    ASSERT_TRUE(conditions.open());
  }
  QString row(const QString& sql) { return dbtest::firstRow(kMainConnection, sql); }
  RecordSet programs{kMainConnection, "VOPRO"};
  RecordSet conditions{kMainConnection, "VOPRDT"};
};

TEST_F(ProgramRecordsTest, NumbersCompareTrimmedWithoutCase) {
  EXPECT_EQ(FindProgramNumber(programs, "p01"), 0);
  EXPECT_EQ(FindProgramNumber(programs, "  P02  "), 1);
  EXPECT_EQ(FindProgramNumber(programs, "P03"), -1);
  // The number is stored as typed.
  TProgramFields f{
      .ProNo = " P03 ", .ProName = "新", .ProPict = QByteArray("\x00\x01", 2), .ProFN = "1010"};
  ASSERT_NE(AddProgram(programs, f, nullptr), 0);
  EXPECT_EQ(row("SELECT ProNo, ProFN, hex(ProPict), PrtFG FROM VOPRO WHERE ProName = '新'"),
            " P03 |1010|0001|0");
  EXPECT_EQ(programs.field("ProName"), "新") << "the new row is current";
  const TProgramFields back = ProgramFieldsOf(programs, programs.position());
  EXPECT_EQ(back.ProPict, f.ProPict);
  f.ProNo = "ignored";
  f.ProName = "改";
  ASSERT_TRUE(UpdateProgram(programs, programs.bookmark(), f, nullptr));
  EXPECT_EQ(row("SELECT COUNT(*) FROM VOPRO WHERE ProNo = ' P03 ' AND ProName = '改'"), "1");
}

TEST_F(ProgramRecordsTest, ConditionAndProgramAreSavedTogetherOrNotAtAll) {
  TConditionEdit edit{
      .row = {{"ProSubN", "新條件"}, {"ProCond", "1"}, {"ProAnd", "0"}, {"ProFlg", 1}},
      .programKey = programs.bookmark(),
      .programNo = programs.field("ProNo").toString(),
      .ProData = "說明",
      .ProScal = true};
  ASSERT_TRUE(SaveConditionEdit(programs, conditions, edit, nullptr));
  EXPECT_EQ(row("SELECT COUNT(*) FROM VOPRDT WHERE ProNo = ' P01' AND ProSubN = '新條件'"), "1");
  EXPECT_EQ(row("SELECT ProData, ProScal FROM VOPRO WHERE ProNo = ' P01'"), "說明|1");
  // A program that vanished meanwhile: the row is not kept either.
  edit.programKey = 9999;
  edit.row["ProSubN"] = "孤兒";
  QString error;
  EXPECT_FALSE(SaveConditionEdit(programs, conditions, edit, &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_EQ(row("SELECT COUNT(*) FROM VOPRDT WHERE ProSubN = '孤兒'"), "0");
}

TEST_F(ProgramRecordsTest, DeletingAProgramTakesItsRowsInAnyCase) {
  ASSERT_TRUE(DeleteProgram(programs, conditions, nullptr));
  EXPECT_EQ(rowsIn("VOPRO"), 1);
  EXPECT_EQ(rowsIn("VOPRDT"), 1) << "P02's row stays";
  EXPECT_EQ(ProgramCountText(1, 12), "     1  -  [ 12 ]");
}

TEST_F(ProgramRecordsTest, CommandsSavedInTheEditorRunWithoutAsking) {
  answer = false;
  TProgramFields f{.ProNo = "P03", .ProPrg = {" /usr/bin/touch "}, .ProParm = {"/tmp/x"}};
  ASSERT_NE(AddProgram(programs, f, nullptr), 0);
  f.ProPrg[3] = "/bin/echo";
  ASSERT_TRUE(UpdateProgram(programs, programs.bookmark(), f, nullptr));
  EXPECT_TRUE(LaunchProgramCommand(kMainConnection, "/usr/bin/touch", "/tmp/x"));
  EXPECT_TRUE(LaunchProgramCommand(kMainConnection, "/bin/echo", ""));
  // A command that only came in some other way is asked about.
  EXPECT_FALSE(LaunchProgramCommand(kMainConnection, "/bin/echo", "other"));
  EXPECT_EQ(started, QStringList({"/usr/bin/touch|/tmp/x", "/bin/echo|"}));
  EXPECT_EQ(asked.size(), 1);
}

TEST_F(ProgramRecordsTest, NoTextLongerThanItsColumnIsStored) {
  const QString before = row("SELECT COUNT(*) FROM VOPRO");
  const std::pair<void (*)(TProgramFields&), const char*> cases[] = {
      {[](TProgramFields& f) { f.ProNo = QString(13, u'P'); }, "ProNo 最多只能存放 12 個字元"},
      {[](TProgramFields& f) { f.ProName = QString(25, u'名'); }, "ProName 最多只能存放 24"},
      {[](TProgramFields& f) { f.ProScrp[1] = QString(151, u's'); }, "ProScrp2 最多只能存放 150"},
  };
  for (const auto& [set, says] : cases) {
    TProgramFields f{.ProNo = "P09"};
    set(f);
    QString error;
    EXPECT_EQ(AddProgram(programs, f, &error), 0) << says;
    EXPECT_TRUE(error.contains(says)) << qPrintable(error);
    EXPECT_EQ(row("SELECT COUNT(*) FROM VOPRO"), before);
    // The number is never rewritten by an update.
    if (f.ProNo.size() <= 12) {
      EXPECT_FALSE(UpdateProgram(programs, programs.bookmark(), f, &error)) << says;
    }
  }
  EXPECT_EQ(row("SELECT COUNT(*) FROM VOPRO WHERE ProName = '舒眠'"), "1");
  // Exactly the width is stored; so is a condition row's remark at its width, not past it.
  const TProgramFields f{.ProNo = QString(12, u'號'), .ProName = QString(24, u'名')};
  EXPECT_NE(AddProgram(programs, f, nullptr), 0);
  TConditionEdit edit{.row = {{"ProNote", QString(51, u'n')}}, .programNo = f.ProNo};
  EXPECT_FALSE(SaveConditionEdit(programs, conditions, edit, nullptr));
  edit.row = {{"ProNote", QString(50, u'n')}};
  EXPECT_TRUE(SaveConditionEdit(programs, conditions, edit, nullptr));
}

}  // namespace
