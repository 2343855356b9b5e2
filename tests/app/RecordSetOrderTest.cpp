// The record set sorts in memory: its order must be the one the database itself would give.

#include "app/AppTestSupport.h"
#include "app/RecordSet.h"

using namespace ruto;

namespace {

const QString kConn = QStringLiteral("RecordSetOrderTest");

class RecordSetOrderTest : public dbtest::Fixture {
 protected:
  void SetUp() override {
    open(kConn, "ruto4.mdb");
    // Values of every kind SQLite orders: NULL, integers, reals, texts in any case, blobs.
    const QVariantList addresses = {QVariant(),      "b", "B", "a ", "", 5, 2.5, "台北", "10",
                                    QByteArray("x"), "A", 7LL};
    for (int n = 0; n < addresses.size(); ++n)
      EXPECT_TRUE(
          dbtest::exec(kConn, "INSERT INTO VOCUST (CUSTNO, ADDR, NAME) VALUES (?, ?, 'x')",
                       {QStringLiteral("%1%2").arg(n % 2 ? "c" : "C").arg(n), addresses[n]}));
  }
  // The rows' keys in the order SQLite gives for the same sort (MKEY last, as the set does).
  QList<qint64> sqliteOrder(const QString& orderBy) {
    QList<qint64> out;
    QSqlQuery q(QSqlDatabase::database(kConn));
    EXPECT_TRUE(q.exec("SELECT MKEY FROM VOCUST ORDER BY " + orderBy + ", MKEY"));
    while (q.next()) out << q.value(0).toLongLong();
    return out;
  }
  static QList<qint64> keys(const RecordSet& set) {
    QList<qint64> out;
    for (int r = 0; r < set.rowCount(); ++r) out << set.keyAt(r);
    return out;
  }
  QList<qint64> setOrder(const QString& sort) {
    RecordSet set(kConn, "VOCUST");
    EXPECT_TRUE(set.setSort(sort));
    EXPECT_TRUE(set.open()) << set.lastError().toStdString();
    return keys(set);
  }
};

TEST_F(RecordSetOrderTest, SameOrderAsTheDatabase) {
  const std::pair<const char*, const char*> cases[] = {
      {"ADDR ASC", "ADDR ASC"},     {"ADDR DESC", "ADDR DESC"},
      {"CUSTNO ASC", "CUSTNO ASC"}, {"CUSTNO DESC", "CUSTNO DESC"},
      {"NAME ASC", "NAME ASC"},     {"NAME, ADDR DESC", "NAME ASC, ADDR DESC"},
      {"SEX DESC", "SEX DESC"}};
  for (const auto& [sort, orderBy] : cases) EXPECT_EQ(setOrder(sort), sqliteOrder(orderBy)) << sort;
}

TEST_F(RecordSetOrderTest, SortNowReordersInMemoryAndKeepsTheRow) {
  RecordSet set(kConn, "VOCUST");
  ASSERT_TRUE(set.setSort("ADDR"));
  ASSERT_TRUE(set.open());
  ASSERT_TRUE(set.locate("CUSTNO", "c5"));
  const qint64 key = set.bookmark();
  ASSERT_TRUE(set.setSort("CUSTNO DESC"));
  ASSERT_TRUE(set.sortNow());
  EXPECT_EQ(set.bookmark(), key);
  EXPECT_EQ(keys(set), sqliteOrder("CUSTNO DESC"));
}

TEST_F(RecordSetOrderTest, LocatesOfTextsWithAndWithoutCase) {
  RecordSet set(kConn, "VOCUST");
  ASSERT_TRUE(set.setSort("MKEY"));
  ASSERT_TRUE(set.open());
  const LocateOptions ci = LocateOption::CaseInsensitive;
  const LocateOptions prefix = LocateOption::PartialKey;
  const std::tuple<const char*, const char*, LocateOptions, int> cases[] = {
      {"ADDR", "b", {}, 1},      {"ADDR", "B", {}, 2},         {"ADDR", "B", ci, 1},
      {"ADDR", "a", {}, -1},     {"ADDR", "a", prefix, 3},     {"ADDR", "A", ci | prefix, 3},
      {"ADDR", "台", prefix, 7}, {"ADDR", "台北", {}, 7},      {"ADDR", "1", prefix, 8},
      {"ADDR", "", {}, 0},       {"CUSTNO", "C1", ci, 1},      {"CUSTNO", "c1", {}, 1},
      {"CUSTNO", "C1", {}, -1},  {"CUSTNO", "C1", prefix, 10}, {"ADDR", "5", {}, 5}};
  for (const auto& [column, key, options, row] : cases)
    EXPECT_EQ(set.find(column, QString::fromUtf8(key), options), row) << column << " " << key;
}

TEST_F(RecordSetOrderTest, ValuesComeBackInTheirKinds) {
  RecordSet set(kConn, "VOCUST");
  ASSERT_TRUE(set.setSort("MKEY"));
  ASSERT_TRUE(set.open());
  EXPECT_TRUE(set.value(0, "ADDR").isNull());
  EXPECT_EQ(set.value(5, "ADDR").toString(), "5") << "a text column keeps text";
  EXPECT_EQ(set.value(5, "MKEY").typeId(), QMetaType::LongLong);
  EXPECT_EQ(set.value(6, "ADDR").toDouble(), 2.5);
  EXPECT_EQ(set.value(7, "ADDR").toString(), "台北");
  EXPECT_EQ(set.value(9, "ADDR").toByteArray(), QByteArray("x"));
  EXPECT_EQ(set.value(4, "ADDR").toString(), "");
  EXPECT_FALSE(set.value(4, "ADDR").isNull()) << "an empty text is no null";
}

TEST_F(RecordSetOrderTest, LinkComparesAsTheColumnDoes) {
  RecordSet set(kConn, "VOCUST");
  ASSERT_TRUE(set.setLink("CUSTNO", "c1"));
  ASSERT_TRUE(set.open());
  ASSERT_EQ(set.rowCount(), 1);
  EXPECT_EQ(set.field("CUSTNO").toString(), "c1");
  ASSERT_TRUE(set.setLink("CUSTNO", "C1"));
  ASSERT_TRUE(set.refresh());
  EXPECT_EQ(set.rowCount(), 1);  // CUSTNO ignores letter case
}

}  // namespace
