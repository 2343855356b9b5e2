// Reading the reference table: decoded texts by key, missing rows and undecodable texts, and the
// database the build makes from the authored sources.

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImage>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "FakeReference.h"
#include "app/TextCodec.h"
#include "measure/ReferenceTable.h"
#include "measure/Voana.h"
#include "support/TestSupport.h"

namespace {

class ReferenceTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    db_ = ruto::test::makeReferenceDb("reftest", dir_.filePath("ref.mdb"));
    ASSERT_TRUE(db_.tables().contains("VOMTDB"));
  }
  void TearDown() override {
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase("reftest");
  }

  QTemporaryDir dir_;
  QSqlDatabase db_;
};

TEST_F(ReferenceTableTest, RowsDecodeByKeyAndNeverCarryOver) {
  ASSERT_TRUE(ruto::test::insertReferenceRow(
      db_, 3, [](const char* c) { return *ScrambleText(QString("%1 心經").arg(c)); }));
  ASSERT_TRUE(ruto::test::insertReferenceRow(db_, 4, [](const char* c) -> QString {
    if (c == QString("DtMA1")) return "5AZZ10";                             // not hexadecimal
    if (c == QString("DtMA2")) return *ScrambleBytes(QByteArray("\xA4 "));  // not Big5
    if (c == QString("DtMA3")) return *ScrambleText("肝");
    return {};
  }));

  TReferenceTable table(db_);
  EXPECT_TRUE(table.Row(3).DtMA1.isEmpty());  // not open yet
  ASSERT_TRUE(table.Open());
  const TReferenceRow row = table.Row(3);
  EXPECT_TRUE(row.Found);
  for (const TReferenceColumn& c : ReferenceTextColumns())
    EXPECT_EQ(row.*(c.member), QString("%1 心經").arg(c.name));

  const TReferenceRow bad = table.Row(4);
  EXPECT_TRUE(bad.Found);
  EXPECT_EQ(bad.DtMA1, "");
  EXPECT_EQ(bad.DtMA2, "");
  EXPECT_EQ(bad.DtMA3, "肝");
  EXPECT_EQ(bad.DtEA1, "");

  const TReferenceRow missing = table.Row(5);
  EXPECT_FALSE(missing.Found);
  for (const TReferenceColumn& c : ReferenceTextColumns()) EXPECT_EQ(missing.*(c.member), "");
}

TEST_F(ReferenceTableTest, OpenNeedsTheTable) {
  QSqlQuery(db_).exec("DROP TABLE VOMTDB");
  TReferenceTable table(db_);
  EXPECT_FALSE(table.Open());
  EXPECT_FALSE(table.Row(1).Found);
  EXPECT_FALSE(TReferenceTable(QSqlDatabase()).Open());
}

TEST(BuiltReferenceDatabase, EveryKeyHoldsTheTextsItsReadersNeed) {
  const QString path = ruto::test::generatedPath("rutoTW.mdb");
  ASSERT_TRUE(QFileInfo::exists(path)) << qPrintable(path);
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "builtref");
    db.setDatabaseName(path);
    db.setConnectOptions("QSQLITE_OPEN_READONLY");
    ASSERT_TRUE(db.open());
    TReferenceTable table(db);
    ASSERT_TRUE(table.Open());
    QSqlQuery q(db);
    ASSERT_TRUE(q.exec("SELECT COUNT(*) FROM VOMTDB") && q.next());
    EXPECT_EQ(q.value(0).toInt(), kReferenceKeyCount);

    for (int key = 1; key <= kReferenceKeyCount; ++key) {
      const TReferenceRow row = table.Row(key);
      ASSERT_TRUE(row.Found) << key;
      if (key <= 12) {
        for (const TReferenceColumn& c : ReferenceTextColumns())
          EXPECT_FALSE((row.*(c.member)).isEmpty()) << "key " << key << " " << c.name;
        const QImage figure = QImage::fromData(row.DtGpM);
        EXPECT_FALSE(figure.isNull()) << key;
      } else {
        // The analysis shows the general, normal, high and low texts of the body states.
        for (const QString* text : {&row.DtMA1, &row.DtMA2, &row.DtMH1, &row.DtML1})
          EXPECT_FALSE(text->isEmpty()) << "key " << key;
      }
    }
    // Keys follow the meridian columns: each names its interior-exterior partner.
    const QStringList names = {"肺", "心包", "心", "小腸", "三焦", "大腸",
                               "脾", "肝",   "腎", "膀胱", "膽",   "胃"};
    for (const auto& pair : kPairColumns) {
      EXPECT_TRUE(table.Row(pair[0]).DtEA2.endsWith(names[pair[1] - 1] + "經")) << pair[0];
      EXPECT_TRUE(table.Row(pair[1]).DtEA2.endsWith(names[pair[0] - 1] + "經")) << pair[1];
    }
    EXPECT_EQ(table.Row(1).DtEA4, "金");
    EXPECT_EQ(table.Row(8).DtEA4, "木");
    EXPECT_TRUE(table.Row(9).DtEA4.startsWith("水"));
  }
  QSqlDatabase::removeDatabase("builtref");
}

}  // namespace
