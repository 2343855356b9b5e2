#include <gtest/gtest.h>

#include <QtSql>
#include <cmath>

#include "app/TransferColumns.h"
#include "base/DateTime.h"

using namespace ruto;

namespace {

const QString kCells = QStringLiteral("TransferCells");

// Every storage class SQLite hands over, with the values at the edges of each conversion.
const QStringList kValues =
    QString(
        "NULL|0|1|-5|3000000000|17|17.5|-0.5|45000.99999|1e12|30000.25|2958465.99999999|"
        "-657434.5|-1.75|2958466|''|'true'|' FALSE '|'2024/03/05 14:22'|'soon'|'12.5'|'abc'|"
        "'中文 z'|x''|x'00FF'|x'41'|'1e400'|-2147483648.4|2147483647.6")
        .split('|');

// The cell as the variant the Qt SQL copy bound, compared by kind and value.
::testing::AssertionResult sameAsVariant(const TransferCell& cell, const QVariant& v) {
  const QVariant got = TransferCellValue(cell);
  if (v.isNull() || (v.typeId() == QMetaType::QByteArray && v.toByteArray().isNull()))
    return cell.kind == TransferCell::Null || (cell.kind == TransferCell::Blob && cell.size == 0)
               ? ::testing::AssertionSuccess()
               : ::testing::AssertionFailure()
                     << "null expected, got " << got.toString().toStdString();
  switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
      if (cell.kind == TransferCell::Integer && cell.integer == v.toLongLong())
        return ::testing::AssertionSuccess();
      break;
    case QMetaType::Double:
      if (cell.kind == TransferCell::Real && cell.real == v.toDouble())
        return ::testing::AssertionSuccess();
      break;
    case QMetaType::QByteArray:
      if (cell.kind == TransferCell::Blob && got.toByteArray() == v.toByteArray())
        return ::testing::AssertionSuccess();
      break;
    default:
      if (cell.kind == TransferCell::Text && got.toString() == v.toString())
        return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "expected " << v.toString().toStdString() << " (" << v.typeName() << "), got "
         << got.toString().toStdString() << " (kind " << int(cell.kind) << ")";
}

class TransferCells : public ::testing::Test {
 protected:
  void SetUp() override {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kCells);
    db.setDatabaseName(QStringLiteral(":memory:"));
    ASSERT_TRUE(db.open());
    QSqlQuery q(db);
    // No declared type: each value keeps the storage class it was written with.
    ASSERT_TRUE(q.exec(QStringLiteral("CREATE TABLE t (n INTEGER PRIMARY KEY, v)")));
    for (const QString& value : kValues)
      ASSERT_TRUE(q.exec("INSERT INTO t (v) VALUES (" + value + ")")) << value.toStdString();
  }
  void TearDown() override {
    QSqlDatabase::database(kCells, false).close();
    QSqlDatabase::removeDatabase(kCells);
  }
};

}  // namespace

// The direct conversion from SQLite's values gives what the variant conversion gives, for
// every kind of column and every storage class, failures included.
TEST_F(TransferCells, CellsMatchTheVariantConversion) {
  using A = TransferAccess;
  using T = TransferType;
  const TransferColumn columns[] = {{"c", A::Text, T::Text},       {"c", A::Text, T::Bytes},
                                    {"c", A::Native, T::Boolean},  {"c", A::Text, T::Boolean},
                                    {"c", A::Native, T::DateTime}, {"c", A::Text, T::DateTime},
                                    {"c", A::Native, T::Double},   {"c", A::Native, T::Long}};
  TransferStatement read;
  QString error;
  ASSERT_TRUE(read.prepare(SqliteHandle(QSqlDatabase::database(kCells)),
                           QStringLiteral("SELECT v FROM t ORDER BY n"), &error))
      << error.toStdString();
  bool failed = false;
  int row = 0;
  std::vector<TransferCell> cells;
  while (read.next(&failed)) {
    const std::string what = kValues[row++].toStdString();
    for (const TransferColumn& column : columns) {
      QVariant expected;
      const bool ok = ConvertTransferValue(column, read.value(0), &expected);
      const int bad = ConvertTransferRow({column}, {0}, read, &cells);
      SCOPED_TRACE(::testing::Message()
                   << what << " as type " << int(column.type) << ", access " << int(column.access));
      ASSERT_EQ(bad < 0, ok);
      if (!ok) continue;
      EXPECT_TRUE(sameAsVariant(cells[0], expected));
      // Bound as Qt SQL binds: a null string or byte array is a null value.
      ASSERT_LT(ConvertTransferRow({column}, {0}, read, &cells, true), 0);
      const bool nullString =
          (expected.typeId() == QMetaType::QString && expected.toString().isNull()) ||
          (expected.typeId() == QMetaType::QByteArray && expected.toByteArray().isNull());
      if (nullString) {
        EXPECT_EQ(cells[0].kind, TransferCell::Null);
      } else {
        EXPECT_TRUE(sameAsVariant(cells[0], expected));
      }
    }
  }
  EXPECT_FALSE(failed);
  EXPECT_EQ(row, int(kValues.size()));
}

// A date-time that travels as text keeps whole seconds: the result is that of writing the
// text form and reading it back, over the whole calendar and on both sides of its start.
TEST_F(TransferCells, DateTimesThroughTextKeepWholeSeconds) {
  const TransferColumn vodate{"VODATE", TransferAccess::Text, TransferType::DateTime};
  std::vector<double> days = {
      0.0,       -0.5,       -1.25,           0.999999999, 45000.5,     45000.99999,
      -300000.5, 2957999.75, 2958465.9999999, -657434.0,   -657433.999, 2958466.0,
      -700000.0, 1e300};
  for (int i = 0; i < 20000; ++i)  // spread over both directions with odd fractions
    days.push_back((i - 3000) * 147.123456789 + std::fmod(i * 0.0000115740740, 1.0));
  for (double day : days) {
    const QString text = formatOleDateTime(day);
    double expected = 0.0;
    const bool ok = !text.isEmpty() && parseOleDate(text, &expected);
    QVariant got;
    ASSERT_EQ(ConvertTransferValue(vodate, day, &got), ok) << day;
    if (ok) {
      EXPECT_EQ(got.toDouble(), expected) << day << " " << text.toStdString();
    }
  }
}
