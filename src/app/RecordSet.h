#pragma once
// The record-set layer: a sorted, optionally linked snapshot of one table's rows with a
// current row, locate, bookmarks by MKEY, calculated columns and explicit writes.
//
// Every statement binds its values. Table and column names put into SQL come only from the
// table's own column list read when the set is opened, so no caller text ever becomes SQL.

#include <QDate>
#include <QFlags>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace ruto {

// One key of a sort: a column of the table and its direction.
struct RecordSort {
  QString column;
  bool descending = false;
};

enum class LocateOption { CaseInsensitive = 0x1, PartialKey = 0x2 };
Q_DECLARE_FLAGS(LocateOptions, LocateOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(LocateOptions)

class RecordSet {
 public:
  // Value of a calculated column for `row` of `set`.
  using Calculator = std::function<QVariant(const RecordSet& set, int row)>;

  // The calculated columns the client, test and program lists show are added for VOCUST,
  // VODATA, VOPRO and VOPRDT.
  RecordSet(const QString& connectionName, const QString& table);

  const QString& table() const { return table_; }
  QSqlDatabase database() const;

  // Reads the table's columns and its rows; the current row becomes the first.
  bool open();
  bool isOpen() const { return open_; }
  void close();
  // Text of the last failure (open, refresh, sort, link or write).
  const QString& lastError() const { return error_; }

  // Sort keys, applied by the next open or refresh. A sort text is a comma-separated list of
  // "Column", "Column ASC" or "Column DESC" items. Unknown columns are refused (false) and
  // leave the sort unchanged. Rows with equal keys stay in key order.
  bool setSort(const QList<RecordSort>& keys);
  bool setSort(const QString& sortText);
  const QList<RecordSort>& sort() const { return sort_; }

  // Only the rows whose `column` equals `value` (a detail linked to its master row), compared
  // as the column compares; applied by the next open or refresh. An empty column shows the
  // whole table again.
  bool setLink(const QString& column, const QVariant& value);

  // Puts the rows read last in the order of the current sort, without reading them again; the
  // current row stays on its MKEY. (refresh() applies a new sort too, with the rows re-read.)
  bool sortNow();
  // Reads the rows again. The current row stays on the same MKEY when that row is still
  // there, otherwise on the same position (or the last row).
  bool refresh();

  int rowCount() const { return static_cast<int>(keys_.size()); }
  bool isEmpty() const { return keys_.empty(); }
  // Stored columns (as the table spells them) followed by the calculated ones.
  QStringList columnNames() const;
  int columnCount() const { return static_cast<int>(stored_.size() + calculated_.size()); }
  // Index of a column by name without regard to case; -1 when there is none.
  int columnIndex(const QString& name) const;
  bool isCalculated(int column) const { return column >= static_cast<int>(stored_.size()); }
  QVariant value(int row, int column) const;
  QVariant value(int row, const QString& column) const;
  qint64 keyAt(int row) const;

  // Current row: -1 only when the set is empty.
  int position() const { return position_; }
  bool setPosition(int row);
  bool first() { return setPosition(0); }
  bool last() { return setPosition(rowCount() - 1); }
  bool next();
  bool prior();
  // Value of a column of the current row; invalid when the set is empty.
  QVariant field(const QString& column) const;

  // First row, from `from` on, whose column matches `value`; -1 when none. Numbers compare
  // as numbers; everything else by its text, PartialKey matching a prefix.
  int find(const QString& column, const QVariant& value, LocateOptions options = {},
           int from = 0) const;
  // find() from the first row; on success the found row becomes the current row, otherwise
  // the current row stays where it was.
  bool locate(const QString& column, const QVariant& value, LocateOptions options = {});

  // MKEY of the current row (0 when empty) and the way back to it.
  qint64 bookmark() const;
  bool gotoBookmark(qint64 key);
  int rowOfKey(qint64 key) const;

  void addCalculatedColumn(const QString& name, Calculator calculator);
  // Today's date for age columns; the real date unless a test fixes it.
  void setToday(const QDate& today) { today_ = today; }
  QDate today() const;

  // Writes with bound values. Column names are matched without regard to case; MKEY and
  // calculated columns cannot be written. After a successful write the rows are read again
  // and the written row becomes the current row (the row after a deleted one).
  // insert() gives the MKEY the database assigned, 0 on failure. A text longer than its
  // column of a main table (TransferColumnWidth) is refused.
  qint64 insert(const QVariantMap& values);
  bool update(qint64 key, const QVariantMap& values);
  bool remove(qint64 key);
  // Deletes every row whose `column` equals `value` (as the column compares), in one
  // transaction; the number of rows deleted, -1 on failure.
  int removeWhere(const QString& column, const QVariant& value);

 private:
  bool readColumns();
  bool readRows();
  int storedIndex(const QString& name) const;
  // False, with the error set, for a text longer than its column of a main table.
  bool textFits(const QString& column, const QVariant& value);
  bool fail(const QString& text);

  QString connection_;
  QString table_;
  bool open_ = false;
  QString error_;
  QStringList stored_;  // column names as the table spells them
  int keyColumn_ = -1;  // index of MKEY among the stored columns
  struct Calculated {
    QString name;
    Calculator calculator;
  };
  std::vector<Calculated> calculated_;
  QList<RecordSort> sort_;
  QString linkColumn_;
  QVariant linkValue_;
  // Stored cells, one typed array per column, in the order the rows were read; texts and
  // blobs live in one arena. A set of 100,000 clients stays near 250 bytes a row.
  struct ColumnCells {
    std::vector<std::uint8_t> type;  // CellType
    std::vector<std::int64_t> slot;  // integer, double bits, or arena offset
    std::uint8_t collation = 0;      // how the database compares the column's texts
  };
  std::vector<ColumnCells> columns_;
  std::string arena_;
  std::vector<std::uint32_t> order_;               // row in the sorted view -> row as read
  std::vector<std::pair<int, bool>> appliedSort_;  // (column, descending) the rows are in
  std::vector<qint64> keys_;                       // MKEY by row of the sorted view
  QVariant cell(std::size_t read, int column) const;
  int compareCells(std::size_t a, std::size_t b, int column) const;
  void sortRows();
  void clearRows();
  int position_ = -1;
  QDate today_;
};

// One write transaction on a connection, the only way the program begins one: begun on
// construction, rolled back on destruction unless commit() succeeded. It first waits for the
// verdict of the file's start-up check and is refused on a damaged file. An outermost one
// takes the write lock at once, so that it waits for another program's lock rather than
// failing when it first writes; inside a caller's transaction it joins that one. error()
// says why one is not active (in Chinese when the file is damaged or in use). Commit reports
// failures such as a broken link found at the end of the transaction.
class Transaction {
 public:
  explicit Transaction(const QString& connectionName);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  bool active() const { return active_; }
  const QString& error() const { return error_; }
  bool commit(QString* error = nullptr);
  void rollback();

 private:
  QString failureText(const QSqlError& error) const;
  QSqlDatabase db_;
  QString name_;  // the savepoint of a nested transaction; empty for an outermost one
  bool active_ = false;
  QString error_;
};

// Calculated columns of the client and test lists.
// Birthday shown only when DBIRTH > 4000.0 (an invalid date otherwise).
QDate BirthDateShown(const QVariant& dbirth);
// Year of `today` minus the year of the birthday, "%3d"; empty without a birthday.
QString ClientAgeText(const QVariant& dbirth, const QDate& today);
QString SexText(const QVariant& sex);           // "男" / "女"
QString PotentialText(const QVariant& vovota);  // "高電位" / "標準"

}  // namespace ruto
