#include <gtest/gtest.h>

#include <functional>

#include "RecordsFixture.h"
#include "app/DatabaseGuard.h"
#include "records/ClientSort.h"
#include "support/SqliteHolder.h"

// Designated initializers name only the fields a test sets; the others keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

// Each key gives its sort, box item and direction, and the search columns of the browser
// and the store window.
TEST(ClientSortTest, KeysGiveSortSearchAndBoxes) {
  const struct {
    int key;
    const char* text;
    int item;
    const char* direction;
    const char* browserSearch;
    const char* storeSearch;
  } cases[] = {
      {1, "CustNo ASC", 0, "遞增", "CUSTNO", "CUSTNO"},
      {-2, "Name DESC", 1, "遞減", "NAME", "NAME"},
      {3, "Sex ASC", 2, "遞增", "TEL3", "ADDR"},
      {4, "DBirth ASC", 3, "遞增", "TEL3", "ADDR"},
      {-5, "Tel DESC", 4, "遞減", "TEL", "TEL"},
      {6, "Addr ASC", 5, "遞增", "ADDR", "ADDR"},
      {7, "email ASC", 6, "遞增", "EMAIL", "ADDR"},
      {8, "Tel2 ASC", 7, "遞增", "TEL2", "ADDR"},
      {9, "Tel3 ASC", 8, "遞增", "TEL3", "ADDR"},
      {0, "Tel3 DESC", 8, "遞減", "TEL3", "ADDR"},
      {10, "Tel3 ASC", 8, "遞增", "TEL3", "ADDR"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(ClientSortText(c.key), QString::fromUtf8(c.text));
    EXPECT_EQ(ClientSortItem(c.key), c.item);
    EXPECT_EQ(ClientSortDirectionText(c.key), QString::fromUtf8(c.direction));
    EXPECT_EQ(BrowserSearchColumn(c.key), QString::fromUtf8(c.browserSearch));
    EXPECT_EQ(StoreSearchColumn(c.key), QString::fromUtf8(c.storeSearch));
  }
  // A list opened on a key and one sorted through the column box sort by the same column.
  for (int item = 0; item <= 8; ++item)
    EXPECT_EQ(ComboSortField(item).toUpper(), ClientSortField(item + 1).toUpper()) << item;
  // The box's item and direction give the key: the item counted from one, negative descending.
  EXPECT_EQ(ClientSortKeyFor(1, true), -2);
  EXPECT_EQ(ClientSortKeyFor(0, false), 1);
}

TEST(ClientSortTest, CountLabel) {
  EXPECT_EQ(RecordCountText(12, 57), "    12  -  [ 57 ]");
  EXPECT_EQ(RecordCountText(0, 0), "     0  -  [ 0 ]");
  EXPECT_EQ(RecordCountText(1234567, 100000), "1234567  -  [ 100000 ]");
}

// Client and test tables on a fresh copy of the template, with the shared records reset.
class ClientRecordsTest : public MainDatabaseTest {
 protected:
  // Client list sorted by number with the tests of the client `no` selected.
  void openLists(const QString& no) {
    clients.setSort(ClientSortText(1));
    ASSERT_TRUE(clients.open());
    ASSERT_TRUE(clients.locate("CUSTNO", no, LocateOption::CaseInsensitive));
    LinkTestsOf(tests, clients.field("CUSTNO").toString());
    ASSERT_TRUE(tests.open());
  }

  RecordSet clients{kMainConnection, QStringLiteral("VOCUST")};
  RecordSet tests{kMainConnection, QStringLiteral("VODATA")};
};

TEST_F(ClientRecordsTest, LoadAsCurrentCompensatesAndResetsViews) {
  addClient("A01", "王小明");
  const qint64 key = addTest("A01", 10);
  openLists("A01");
  ViewState = {.ChartKind = ChartType::Radar, .AnalysisPage = 3, .TestLoaded = true};
  CurrentTest.LivePointCount = 7;
  ASSERT_TRUE(LoadCurrentTest(clients, tests));
  EXPECT_EQ(CurrentClient.CustNo, "A01");
  EXPECT_EQ(CurrentClient.Name, "王小明");
  EXPECT_FALSE(CurrentClient.Sex);
  EXPECT_DOUBLE_EQ(CurrentTest.Values[20], 30);
  EXPECT_DOUBLE_EQ(CurrentTest.CompValues[20], 30 * 1.2424);
  EXPECT_DOUBLE_EQ(CurrentTest.CompValues[13], 23 * 1.0);
  EXPECT_EQ(CurrentTest.Memo1, QStringList({"a", "b"}));
  EXPECT_TRUE(CurrentTest.VoVota);
  EXPECT_DOUBLE_EQ(CurrentTest.VoDate, 45000.25);
  EXPECT_EQ(CurrentTest.MKey, key);
  EXPECT_EQ(ViewState.ChartKind, ChartType::Bar);
  EXPECT_EQ(ViewState.AnalysisPage, 0);
  EXPECT_EQ(CurrentTest.LivePointCount, 0);
  EXPECT_TRUE(ViewState.TestLoaded) << "current mode leaves it";
}

TEST_F(ClientRecordsTest, LoadForComparisonTakesMeanBeforeCompensation) {
  addClient("A01", "王小明");
  addTest("A01", 10, 0, 0);
  openLists("A01");
  ASSERT_TRUE(LoadCompareTest(clients, tests));
  EXPECT_TRUE(ViewState.TestLoaded);
  EXPECT_DOUBLE_EQ(CompareTest.Mean, 10.0);
  EXPECT_DOUBLE_EQ(CompareTest.Values[20], 12.424);
  EXPECT_DOUBLE_EQ(CompareTest.Values[1], 8.541);
  EXPECT_EQ(CompareTest.Name, "王小明");
  EXPECT_EQ(CurrentTest.MKey, 0) << "the test in work is not touched";
}

TEST_F(ClientRecordsTest, ClientWithoutTestsLoadsNothing) {
  addClient("A01", "王小明");
  openLists("A01");
  CurrentClient.CustNo = "old";
  CurrentTest.MKey = 5;
  EXPECT_FALSE(LoadCurrentTest(clients, tests));
  EXPECT_EQ(CurrentClient.CustNo, "old");
  EXPECT_EQ(CurrentTest.MKey, 5);
  EXPECT_FALSE(ViewState.TestLoaded);

  CompareTest.Name = "earlier";
  EXPECT_FALSE(LoadCompareTest(clients, tests));
  EXPECT_FALSE(ViewState.TestLoaded) << "nothing loaded, so no second curve";
  EXPECT_EQ(CompareTest.Name, "earlier");
}

TEST_F(ClientRecordsTest, DeletingClientTakesTestsInAnyCaseAndNothingElse) {
  addClient("A01", "甲");
  addClient("B01", "乙");
  const qint64 own = addTest("A01", 1);
  addTest("a01", 2);
  addTest("B01", 3);
  CurrentTest.MKey = static_cast<int>(own);
  CurrentClient.CustNo = "A01";
  openLists("A01");
  ASSERT_EQ(tests.rowCount(), 2);
  ASSERT_TRUE(DeleteCurrentClient(clients, tests));
  EXPECT_EQ(rowsIn("VODATA"), 1);
  EXPECT_EQ(rowsIn("VOCUST"), 1);
  EXPECT_EQ(clients.rowCount(), 1);
  EXPECT_EQ(clients.field("CUSTNO").toString(), "B01");
  EXPECT_EQ(tests.rowCount(), 1) << "now the tests of the client shown";
  EXPECT_EQ(CurrentTest.MKey, 0) << "its stored row went with the client";
  EXPECT_EQ(CurrentClient.CustNo, "A01");
}

TEST_F(ClientRecordsTest, DeletingTestResetsKeyOnlyForItsRow) {
  addClient("A01", "甲");
  const qint64 first = addTest("A01", 1, 45000);
  const qint64 second = addTest("A01", 2, 45001);
  CurrentTest.MKey = static_cast<int>(second);
  openLists("A01");
  ASSERT_TRUE(tests.gotoBookmark(first));
  ASSERT_TRUE(DeleteCurrentTest(tests));
  EXPECT_EQ(CurrentTest.MKey, second);
  ASSERT_TRUE(tests.gotoBookmark(second));
  ASSERT_TRUE(DeleteCurrentTest(tests));
  EXPECT_EQ(CurrentTest.MKey, 0);
  EXPECT_TRUE(tests.isEmpty());
  EXPECT_FALSE(DeleteCurrentTest(tests));
}

TEST_F(ClientRecordsTest, StoringTwiceGivesTwoRowsAndTheSecondKey) {
  addClient("A01", "甲");
  TClientInfo chosen{.CustNo = "A01", .Name = "甲"};
  for (int p = 1; p <= 24; ++p) CurrentTest.Values[p] = p * 1.5;
  CurrentTest.Memo1 = {"頭痛", "", "針灸"};
  const qint64 k1 = StoreCurrentTest(kMainConnection, chosen);
  const qint64 k2 = StoreCurrentTest(kMainConnection, chosen);
  ASSERT_GT(k1, 0);
  EXPECT_GT(k2, k1);
  EXPECT_EQ(CurrentTest.MKey, k2);
  EXPECT_EQ(CurrentClient.Name, "甲");
  EXPECT_EQ(rowsIn("VOCUST"), 1);
  EXPECT_EQ(rowsIn("VODATA"), 2);
  EXPECT_EQ(dbtest::firstRow(kMainConnection,
                             QStringLiteral("SELECT CUSTNO, VODATE, VOVOTA, MEMO1, VO1, VO24 FROM "
                                            "VODATA WHERE MKEY = %1")
                                 .arg(k2)),
            "A01|0|0|頭痛\r\n\r\n針灸\r\n|1.5|36");

  // Under a client that is no longer there nothing is stored and nothing changes.
  chosen = {.CustNo = "GONE", .Name = "乙"};
  QString error;
  EXPECT_EQ(StoreCurrentTest(kMainConnection, chosen, &error), 0);
  EXPECT_FALSE(error.isEmpty());
  EXPECT_EQ(CurrentTest.MKey, k2);
  EXPECT_EQ(CurrentClient.Name, "甲");
  EXPECT_EQ(rowsIn("VOCUST"), 1);
  EXPECT_EQ(rowsIn("VODATA"), 2);
}

TEST(MemoTest, LinesEndInCrLfAndReadBack) {
  EXPECT_EQ(MemoText({"a", "b"}), "a\r\nb\r\n");
  EXPECT_EQ(MemoText({}), "");
  EXPECT_EQ(MemoLines("a\r\nb\r\n"), QStringList({"a", "b"}));
  EXPECT_EQ(MemoLines("a\nb"), QStringList({"a", "b"}));
  EXPECT_EQ(MemoLines(""), QStringList());
}

TEST_F(ClientRecordsTest, NewClientNumbersCompareWithoutCaseAndAreTrimmed) {
  addClient("AB", " 陳大文 ");
  ASSERT_TRUE(clients.open());
  ClientForm form{.CustNo = "ab"};
  QString name;
  EXPECT_EQ(SaveNewClient(clients, form, &name), ClientSaveResult::Duplicate);
  EXPECT_EQ(DuplicateClientText(name),
            "您所輸入的受測者編號已經與姓名為 [ 陳大文 ] 重覆!!請重新指定另一個編號。");

  form = {.CustNo = " 001 ", .Name = " 林 ", .Tel2 = " 0912 ", .Birthday = 30000};
  ASSERT_EQ(SaveNewClient(clients, form), ClientSaveResult::Saved);
  EXPECT_EQ(clients.field("CUSTNO").toString(), "001");
  EXPECT_EQ(dbtest::firstRow(kMainConnection,
                             "SELECT NAME, TEL2, DBIRTH FROM VOCUST WHERE CUSTNO = '001'"),
            "林|0912|0");
  addClient("X9", "別台");  // by another instance after the list was read
  for (const char* no : {"001 ", "x9"}) {
    form.CustNo = no;
    EXPECT_EQ(SaveNewClient(clients, form, &name), ClientSaveResult::Duplicate) << no;
  }
  EXPECT_EQ(name, "別台");
  EXPECT_EQ(rowsIn("VOCUST"), 3);
  EXPECT_EQ(rowsIn("VODATA"), 0);
}

TEST_F(ClientRecordsTest, ModifyKeepsTypedNameAndTrimsMobile) {
  const qint64 key = addClient("A01", "甲");
  ASSERT_TRUE(clients.open());
  const ClientForm form{.EMail = " a@b ",
                        .CustNo = "changed",
                        .Name = "乙 ",
                        .Tel = " 02 ",
                        .Tel2 = " 0912 ",
                        .HasBirthday = true,
                        .Birthday = 30000};
  ASSERT_TRUE(SaveModifiedClient(clients, key, form));
  EXPECT_EQ(dbtest::firstRow(kMainConnection,
                             "SELECT CUSTNO, NAME, TEL, TEL2, EMAIL, DBIRTH FROM VOCUST"),
            "A01|乙 | 02 |0912|a@b|30000");
}

TEST_F(ClientRecordsTest, StoreWaitsForAnotherProgramsWriteLockAndKeepsTheTestWhileItIsHeld) {
  addClient("A01", "王小明");
  const QString main = dir.filePath("ruto4.mdb");
  const TClientInfo client{.CustNo = "A01"};
  CurrentTest.Values[1] = 12.5;
  QString error;
  {
    // Another instance writing for a second: the store waits for it.
    ruto::test::SqliteHolder holder(main,
                                    "BEGIN IMMEDIATE;\n.print held\n.shell sleep 1\nCOMMIT;\n");
    ASSERT_TRUE(holder.ok());
    EXPECT_GT(StoreCurrentTest(kMainConnection, client, &error), 0) << error.toStdString();
  }
  CurrentTest.MKey = 0;
  ruto::test::SqliteHolder holder(main, "BEGIN IMMEDIATE;\n.print held\n");
  ASSERT_TRUE(holder.ok());
  EXPECT_EQ(StoreCurrentTest(kMainConnection, client, &error), 0);
  EXPECT_EQ(error, QString("%1\n%2\n%3\n使用中的程式：sqlite3 (PID %4)")
                       .arg(kStoreFailedText, kDatabaseInUseText, main)
                       .arg(holder.pid()));
  EXPECT_EQ(CurrentTest.MKey, 0);
  EXPECT_EQ(CurrentTest.Values[1], 12.5);
}

TEST_F(ClientRecordsTest, FailedStoreAndDeletesSayWhatFailedWithTheReasonBelow) {
  addClient("A01", "王小明");
  addTest("A01", 10);
  const std::tuple<const char*, QString, std::function<bool(QString*)>> cases[] = {
      {"INSERT ON VODATA", kStoreFailedText,
       [this](QString* e) {
         return StoreCurrentTest(kMainConnection, ClientAt(clients, clients.position()), e) != 0;
       }},
      {"DELETE ON VODATA", kTestDeleteFailedText,
       [this](QString* e) { return DeleteCurrentTest(tests, e); }},
      {"DELETE ON VOCUST", kClientDeleteFailedText,
       [this](QString* e) { return DeleteCurrentClient(clients, tests, e); }},
  };
  for (const auto& [when, text, act] : cases) {
    SCOPED_TRACE(when);
    ASSERT_TRUE(dbtest::exec(kMainConnection, QString("CREATE TRIGGER refuse BEFORE %1 BEGIN "
                                                      "SELECT RAISE(ABORT, 'disk says no'); END")
                                                  .arg(when)));
    openLists("A01");
    QString error;
    EXPECT_FALSE(act(&error));
    EXPECT_TRUE(error.startsWith(text + "\ndisk says no")) << error.toStdString();
    ASSERT_TRUE(dbtest::exec(kMainConnection, "DROP TRIGGER refuse"));
  }
  EXPECT_EQ(rowsIn("VOCUST"), 1);
  EXPECT_EQ(rowsIn("VODATA"), 1);
}

}  // namespace
