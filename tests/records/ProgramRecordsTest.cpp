// Writes of the expert-program windows on a real main database.

#include <gtest/gtest.h>

#include "app/AppTestSupport.h"
#include "records/ProgramRecords.h"

namespace {

class ProgramRecordsTest : public dbtest::Fixture {
 protected:
  void SetUp() override {
    open("prog", "ruto4.mdb");
    for (const char* s : {"INSERT INTO VOPRO (ProNo, ProName) VALUES (' P01', '舒眠')",
                          "INSERT INTO VOPRO (ProNo, ProName) VALUES ('P02', '安神')",
                          "INSERT INTO VOPRDT (ProNo, ProSubN) VALUES (' P01', 'a')",
                          "INSERT INTO VOPRDT (ProNo, ProSubN) VALUES (' p01', 'b')",
                          "INSERT INTO VOPRDT (ProNo, ProSubN) VALUES ('P02', 'c')"})
      ASSERT_TRUE(dbtest::exec("prog", s)) << s;
    programs.setSort("ProNo ASC");
    ASSERT_TRUE(programs.open());
    conditions.setLink("ProNo", programs.field("ProNo"));
    ASSERT_TRUE(conditions.open());
  }
  int rows(const QString& sql) { return dbtest::scalar("prog", sql).toInt(); }
  RecordSet programs{"prog", "VOPRO"};
  RecordSet conditions{"prog", "VOPRDT"};
};

TEST_F(ProgramRecordsTest, NumbersCompareTrimmedWithoutCase) {
  EXPECT_EQ(FindProgramNumber(programs, "p01"), 0);
  EXPECT_EQ(FindProgramNumber(programs, "  P02  "), 1);
  EXPECT_EQ(FindProgramNumber(programs, "P03"), -1);
  TProgramFields f;
  f.ProNo = " P03 ";  // stored as typed
  f.ProName = "新";
  f.ProFN = "1010";
  f.ProPict = QByteArray("\x00\x01", 2);
  ASSERT_NE(AddProgram(programs, f, nullptr), 0);
  EXPECT_EQ(dbtest::firstRow("prog",
                             "SELECT ProNo, ProFN, hex(ProPict), PrtFG FROM VOPRO WHERE "
                             "ProName = '新'"),
            " P03 |1010|0001|0");
  EXPECT_EQ(programs.field("ProName"), "新");  // the new row is current
  const TProgramFields back = ProgramFieldsOf(programs, programs.position());
  EXPECT_EQ(back.ProPict, f.ProPict);
  f.ProNo = "ignored";
  f.ProName = "改";
  ASSERT_TRUE(UpdateProgram(programs, programs.bookmark(), f, nullptr));
  EXPECT_EQ(rows("SELECT COUNT(*) FROM VOPRO WHERE ProNo = ' P03 ' AND ProName = '改'"), 1);
}

TEST_F(ProgramRecordsTest, ConditionAndProgramAreSavedTogetherOrNotAtAll) {
  TConditionEdit edit;
  edit.row = {{"ProSubN", "新條件"}, {"ProCond", "1"}, {"ProAnd", "0"}, {"ProFlg", 1}};
  edit.programKey = programs.bookmark();
  edit.programNo = programs.field("ProNo").toString();
  edit.ProData = "說明";
  edit.ProScal = true;
  ASSERT_TRUE(SaveConditionEdit(programs, conditions, edit, nullptr));
  EXPECT_EQ(rows("SELECT COUNT(*) FROM VOPRDT WHERE ProNo = ' P01' AND ProSubN = '新條件'"), 1);
  EXPECT_EQ(dbtest::firstRow("prog", "SELECT ProData, ProScal FROM VOPRO WHERE ProNo = ' P01'"),
            "說明|1");
  // A program that vanished meanwhile: the row is not kept either.
  edit.programKey = 9999;
  edit.row["ProSubN"] = "孤兒";
  QString error;
  EXPECT_FALSE(SaveConditionEdit(programs, conditions, edit, &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_EQ(rows("SELECT COUNT(*) FROM VOPRDT WHERE ProSubN = '孤兒'"), 0);
}

TEST_F(ProgramRecordsTest, DeletingAProgramTakesItsRowsInAnyCase) {
  ASSERT_TRUE(DeleteProgram(programs, conditions, nullptr));
  EXPECT_EQ(rows("SELECT COUNT(*) FROM VOPRO"), 1);
  EXPECT_EQ(rows("SELECT COUNT(*) FROM VOPRDT"), 1);  // P02's row stays
  EXPECT_EQ(ProgramCountText(1, 12), "     1  -  [ 12 ]");
}

}  // namespace
