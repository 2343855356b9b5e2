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
  ASSERT_TRUE(set.setSort("ADDR") && set.open() && set.locate("CUSTNO", "c5"));
  const qint64 key = set.bookmark();
  ASSERT_TRUE(set.setSort("CUSTNO DESC") && set.sortNow());
  EXPECT_EQ(std::tuple(set.bookmark(), keys(set)), std::tuple(key, sqliteOrder("CUSTNO DESC")));
}

TEST_F(RecordSetOrderTest, LocatesOfTextsWithAndWithoutCase) {
  RecordSet set(kConn, "VOCUST");
  ASSERT_TRUE(set.setSort("MKEY") && set.open());
  const LocateOptions ci = LocateOption::CaseInsensitive, prefix = LocateOption::PartialKey;
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
  ASSERT_TRUE(set.setSort("MKEY") && set.open());
  // A text column keeps text; an empty text is no null.
  const auto a = [&](int row) { return set.value(row, "ADDR"); };
  EXPECT_EQ(std::tuple(a(0).isNull(), a(4).isNull(), a(4).toString(), a(5).toString(),
                       set.value(5, "MKEY").typeId(), a(6).toDouble(), a(7).toString(),
                       a(9).toByteArray()),
            std::tuple(true, false, "", "5", QMetaType::LongLong, 2.5, "台北", QByteArray("x")));
}

TEST_F(RecordSetOrderTest, LinkComparesAsTheColumnDoes) {
  RecordSet set(kConn, "VOCUST");
  ASSERT_TRUE(set.setLink("CUSTNO", "c1") && set.open());
  EXPECT_EQ(std::tuple(set.rowCount(), set.field("CUSTNO").toString()), std::tuple(1, "c1"));
  ASSERT_TRUE(set.setLink("CUSTNO", "C1") && set.refresh());
  EXPECT_EQ(set.rowCount(), 1);  // CUSTNO ignores letter case
}

}  // namespace
