#include <gtest/gtest.h>

#include "app/AppTestSupport.h"
#include "app/KeyedMerge.h"
#include "app/TransferColumns.h"

namespace {

const QString kFrom = QStringLiteral("BatchSource");
const QString kTo = QStringLiteral("BatchTarget");

class TransferBatch : public dbtest::Fixture {
 protected:
  void SetUp() override {
    open(kFrom, "VoTran.mdb");
    open(kTo, "ruto4.mdb");
  }
  static QString numbers(const QString& connection, const QString& table) {
    return dbtest::scalar(connection, "SELECT group_concat(CUSTNO, ' ') FROM (SELECT CUSTNO FROM " +
                                          table + " ORDER BY MKEY)")
        .toString();
  }
};

}  // namespace

// Rows travel many to a statement; a clash deep inside a full batch still names its row, and
// every row before it was reported, none after it.
TEST_F(TransferBatch, AClashInsideABatchNamesItsRow) {
  QStringList expected;
  for (int i = 0; i < 150; ++i) {
    const QString no = QStringLiteral("N%1").arg(i, 3, 10, QLatin1Char('0'));
    ASSERT_TRUE(dbtest::exec(kFrom, "INSERT INTO VOCUST (CUSTNO, NAME, HEIGHT) VALUES (?, ?, ?)",
                             {no, "名" + no, 150.5 + i}));
    expected << no;
  }
  ASSERT_TRUE(dbtest::exec(kTo, "INSERT INTO VOCUST (CUSTNO) VALUES ('n069')"));
  int progress = 0, rows = -1;
  QString error;
  EXPECT_FALSE(
      CopyTransferTable(kFrom, kTo, "VOCUST", &rows, &error, {"", [&](int n) { progress = n; }}));
  EXPECT_TRUE(error.startsWith("VOCUST: row 70: UNIQUE")) << error.toStdString();
  EXPECT_EQ(progress, 69);
  EXPECT_EQ(rows, 0);
  EXPECT_EQ(numbers(kTo, "VOCUST"), "n069");

  ASSERT_TRUE(dbtest::exec(kTo, "DELETE FROM VOCUST"));
  int calls = 0;
  ASSERT_TRUE(CopyTransferTable(kFrom, kTo, "VOCUST", &rows, &error,
                                {"", [&](int n) { EXPECT_EQ(n, ++calls); }}))
      << error.toStdString();
  EXPECT_EQ(rows, 150);
  EXPECT_EQ(calls, 150);
  EXPECT_EQ(numbers(kTo, "VOCUST"), expected.join(' '));
  EXPECT_EQ(dbtest::firstRow(kTo, "SELECT NAME, HEIGHT FROM VOCUST WHERE CUSTNO = 'N149'"),
            "名N149|299.5");
}

// Merges and rows already there fall between queued rows: the order of the rows and of the
// calls after each is that of one statement per row.
TEST_F(TransferBatch, MergedAndPresentRowsKeepTheOrder) {
  QStringList tests;
  for (int i = 0; i < 100; ++i) {
    const QString no = QStringLiteral("C%1").arg(i, 3, 10, QLatin1Char('0'));
    ASSERT_TRUE(
        dbtest::exec(kFrom, "INSERT INTO VOCUST (CUSTNO, NAME) VALUES (?, ?)", {no, "n" + no}));
    for (int k = 0; k < 2; ++k) {
      ASSERT_TRUE(dbtest::exec(kFrom, "INSERT INTO VODATA (CUSTNO, VODATE, VO1) VALUES (?, ?, ?)",
                               {no.toLower(), 45000 + k, i * 10 + k}));
      if (i != 40) tests << no;
    }
  }
  // Client 40 is there under the same name with its tests; client 70's number is taken.
  ASSERT_TRUE(dbtest::exec(kTo,
                           "INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('C040', 'nC040'), "
                           "('c070', 'other')"));
  ASSERT_TRUE(dbtest::exec(kTo,
                           "INSERT INTO VODATA (CUSTNO, VODATE, VO1) VALUES "
                           "('C040', 45000, 400), ('C040', 45001, 401)"));
  for (QString& no : tests)
    if (no == "C070") no = "C070-2";
  TMergeReport report;
  QString error;
  int calls = 0;
  ASSERT_TRUE(MergeKeyedGroup(kFrom, kTo, kClientGroup, &report, &error, [&] { ++calls; }))
      << error.toStdString();
  EXPECT_EQ(calls, 300);
  EXPECT_EQ(report.mastersAdded, 99);
  EXPECT_EQ(report.mastersMerged, 1);
  EXPECT_EQ(report.detailsAdded, 198);
  EXPECT_EQ(report.detailsAlreadyThere, 2);
  EXPECT_EQ(report.renamed, QStringList{"C070 → C070-2"});
  // Tests take their client's number as the client has it, in the source's order.
  EXPECT_EQ(numbers(kTo, "VODATA"), "C040 C040 " + tests.join(' '));
  EXPECT_EQ(dbtest::scalar(kTo, "SELECT SUM(VO1) FROM VODATA").toInt(), 99100);
}

// A test is already there only when every value is the same as its column holds it: as
// numbers, texts by their letters (case counts), null apart from empty.
TEST_F(TransferBatch, ATestIsThereOnlyWhenEveryValueIsTheSame) {
  // What, the values of the source's test, whether it is there.
  const std::tuple<const char*, const char*, bool> cases[] = {
      {"same", "45000.5, 1, 'a', NULL, 12.5", true},
      {"within the second", "45000.5 + 0.4 / 86400.0, 1, 'a', NULL, 12.5", true},
      {"a number", "45000.5, 1, 'a', NULL, 12.25", false},
      {"a letter's case", "45000.5, 1, 'A', NULL, 12.5", false},
      {"empty for null", "45000.5, 1, 'a', '', 12.5", false},
      {"yes for no", "45000.5, 0, 'a', NULL, 12.5", false},
      {"a number as text", "45000.5, 1, 'a', NULL, '12.5'", true}};
  for (const auto& [what, source, there] : cases) {
    for (const char* table : {"VOCUST", "VODATA"}) {
      ASSERT_TRUE(dbtest::exec(kFrom, QStringLiteral("DELETE FROM ") + table));
      ASSERT_TRUE(dbtest::exec(kTo, QStringLiteral("DELETE FROM ") + table));
    }
    const QString columns = "(CUSTNO, VODATE, VOVOTA, MEMO1, MEMO2, VO3)";
    ASSERT_TRUE(dbtest::exec(kTo, "INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('K1', 'k')"));
    ASSERT_TRUE(dbtest::exec(kFrom, "INSERT INTO VOCUST (CUSTNO, NAME) VALUES ('k1', 'k')"));
    ASSERT_TRUE(dbtest::exec(
        kTo, "INSERT INTO VODATA " + columns + " VALUES ('K1', 45000.5, 1, 'a', NULL, 12.5)"));
    ASSERT_TRUE(dbtest::exec(
        kFrom, "INSERT INTO VODATA " + columns + " VALUES ('k1', " + QString(source) + ")"));
    TMergeReport report;
    QString error;
    ASSERT_TRUE(MergeKeyedGroup(kFrom, kTo, kClientGroup, &report, &error)) << error.toStdString();
    EXPECT_EQ(report.mastersMerged, 1) << what;
    EXPECT_EQ(report.detailsAlreadyThere, there ? 1 : 0) << what;
    EXPECT_EQ(report.detailsAdded, there ? 0 : 1) << what;
  }
}

// A target that runs out of room mid-copy keeps none of the rows, whatever SQLite took back.
TEST_F(TransferBatch, ARunOutOfRoomKeepsNothing) {
  const QString memo(3000, QLatin1Char('m'));
  for (int i = 0; i < 300; ++i)
    ASSERT_TRUE(dbtest::exec(kFrom, "INSERT INTO VOCUST (CUSTNO, MEMO) VALUES (?, ?)",
                             {QStringLiteral("R%1").arg(i), memo}));
  ASSERT_TRUE(dbtest::exec(kTo, "INSERT INTO VOCUST (CUSTNO) VALUES ('mine')"));
  const int pages = dbtest::scalar(kTo, "PRAGMA page_count").toInt();
  ASSERT_TRUE(dbtest::exec(kTo, QStringLiteral("PRAGMA max_page_count = %1").arg(pages + 40)));
  int rows = -1;
  QString error;
  EXPECT_FALSE(CopyTransferTable(kFrom, kTo, "VOCUST", &rows, &error));
  EXPECT_TRUE(error.contains("full")) << error.toStdString();
  EXPECT_EQ(rows, 0);
  EXPECT_EQ(dbtest::scalar(kTo, "SELECT group_concat(CUSTNO) FROM VOCUST").toString(), "mine");
  // The connection goes on as before.
  EXPECT_TRUE(dbtest::exec(kTo, "INSERT INTO VOCUST (CUSTNO) VALUES ('after')"));
  EXPECT_EQ(dbtest::scalar(kTo, "SELECT COUNT(*) FROM VOCUST").toInt(), 2);
}
