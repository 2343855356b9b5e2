// The grid model over a record set: shape, headers, texts and raw values, and staying
// consistent (for views and proxies) while the set underneath changes.

#include <gtest/gtest-spi.h>
#include <QAbstractTableModel>
#include <QDate>
#include <QTime>

#include "app/AppTestSupport.h"
#include "app/RecordSet.h"
#include "app/RecordTableModel.h"
#include "support/ModelCheck.h"

using ruto::test::ModelCheck;

namespace {

const QString kConn = QStringLiteral("RecordTableModelTest");

class RecordTableModelTest : public dbtest::Fixture {
 protected:
  void SetUp() override {
    open(kConn, "ruto4.mdb");
    ASSERT_TRUE(set.setSort("CUSTNO"));
    ASSERT_TRUE(set.open()) << set.lastError().toStdString();
    for (const char* no : {"K2", "K1"})
      ASSERT_GT(set.insert({{"CustNo", no}, {"Name", QString("Name %1").arg(no)}}), 0);
  }
  QString text(const RecordTableModel& m, int row, int col) const {
    return m.data(m.index(row, col)).toString();
  }
  RecordSet set{kConn, "VOCUST"};
};

// Reports a check state Qt does not know: the tester must object.
class BadCheckStateModel : public QAbstractTableModel {
 public:
  int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 2; }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : 2;
  }
  QVariant data(const QModelIndex&, int role) const override {
    return role == Qt::CheckStateRole ? QVariant(7) : QVariant();
  }
};

}  // namespace

TEST(RecordTableModelText, ValuesAreWrittenAsTheGridsShowThem) {
  const std::pair<QVariant, QString> cases[] = {
      {QVariant(), ""},
      {QVariant(QMetaType(QMetaType::QString)), ""},  // a null text
      {QDate(2024, 3, 5), "2024/03/05"},
      {QTime(7, 8, 9), "07:08:09"},
      {1.5, "1.5"},
      {-0.25, "-0.25"},
      {42, "42"},
      {QStringLiteral("陳大明"), "陳大明"}};
  for (const auto& [value, shown] : cases)
    EXPECT_EQ(RecordTableModel::displayText(value), shown) << value.typeName();
}

TEST_F(RecordTableModelTest, AllColumnsUnderTheirOwnNamesThenChosenColumnsWithTitles) {
  RecordTableModel model(&set);
  ModelCheck check(&model);
  EXPECT_EQ(model.rowCount(), 2);
  EXPECT_EQ(model.columnCount(), set.columnCount());
  for (int c = 0; c < model.columnCount(); ++c)
    EXPECT_EQ(model.headerData(c, Qt::Horizontal).toString(), set.columnNames()[c]);
  EXPECT_EQ(model.headerData(0, Qt::Vertical).toInt(), 1) << "rows count from one";
  const int custNo = set.columnIndex("CUSTNO");
  EXPECT_EQ(text(model, 0, custNo), "K1") << "in the set's order";
  EXPECT_EQ(model.rowCount(model.index(0, 0)), 0) << "a flat table";

  model.setColumns({{"NAME", "姓名", {}},
                    {"CustNo", "編號", [](const QVariant& v) { return "#" + v.toString(); }}});
  ASSERT_EQ(model.columnCount(), 2);
  EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "姓名");
  EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "編號");
  EXPECT_FALSE(model.headerData(2, Qt::Horizontal).isValid());
  EXPECT_EQ(text(model, 1, 0), "Name K2");
  EXPECT_EQ(text(model, 1, 1), "#K2") << "the column's own writing";
  EXPECT_EQ(model.data(model.index(1, 1), Qt::EditRole).toString(), "K2") << "the raw value";
  EXPECT_FALSE(model.data(model.index(1, 1), Qt::ToolTipRole).isValid());
}

TEST_F(RecordTableModelTest, ViewsFollowWritesRefreshesAndAnEmptiedSet) {
  RecordTableModel model(&set);
  model.setColumns({{"CustNo", "編號", {}}});
  ModelCheck check(&model);

  ASSERT_GT(set.insert({{"CustNo", "K0"}, {"Name", "Zero"}}), 0);
  model.reset();
  ASSERT_EQ(model.rowCount(), 3);
  EXPECT_EQ(text(model, 0, 0), "K0");
  // A write from elsewhere is seen by refresh().
  ASSERT_TRUE(dbtest::exec(kConn, "DELETE FROM VOCUST WHERE CUSTNO = 'K1'"));
  EXPECT_TRUE(model.refresh());
  EXPECT_EQ(model.rowCount(), 2);

  EXPECT_EQ(set.removeWhere("Name", "Zero"), 1);
  EXPECT_EQ(set.removeWhere("Name", "Name K2"), 1);
  model.reset();
  EXPECT_EQ(model.rowCount(), 0);
  EXPECT_FALSE(model.index(0, 0).isValid());
  EXPECT_FALSE(model.data(model.index(0, 0)).isValid());
}

TEST(ModelCheck, AnInconsistentModelFailsTheTest) {
  BadCheckStateModel bad;
  EXPECT_NONFATAL_FAILURE({ ModelCheck check(&bad); }, "item model");
}
