#pragma once
// The fixed column lists with which export, import and the migration of an old database
// copy rows of the four main tables from one database to another, and the copier itself.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "app/SqliteAccess.h"

struct sqlite3;
struct sqlite3_stmt;
class QSqlDatabase;
class QSqlRecord;

namespace ruto {

// How a column travels: Native copies the value in its own type; Text goes through the
// value's text form, which the target column turns back into its own type.
enum class TransferAccess { Text, Native };

// The stored type of a column, which decides what the text form and the conversion back are.
enum class TransferType { Text, Boolean, DateTime, Double, Long, Bytes };

struct TransferColumn {
  QString name;
  TransferAccess access;
  TransferType type;
  // 0: the column must exist in source and target. Otherwise the number of an optional run:
  // a source may lack the run's columns from some column on.
  int run = 0;
  // Characters (UTF-16 units) a text column holds; 0 for memo and non-text columns. No text
  // longer than this is ever stored.
  int width = 0;
};

// Copy order of `table` (VOCUST, VODATA, VOPRO or VOPRDT, any case); empty for any other
// table. MKEY is never in a list: the target assigns its own keys.
const QList<TransferColumn>& TransferColumns(const QString& table);

// Width of `column` of `table` as its TransferColumns entry gives it; 0 for no limit (memo,
// non-text and unknown columns).
int TransferColumnWidth(const QString& table, const QString& column);

// Whether UTF-8 bytes are text a column of `width` (0: no limit) can hold: valid UTF-8, and
// no more characters than the width.
bool TransferTextFits(const char* utf8, qsizetype size, int width);

// Per column of `list`, the spelling of its name among `source`'s fields, or empty when the
// column does not come from there: a required column the source lacks, and of each optional
// run every column from the first one the source lacks on.
QStringList TransferSourceNames(const QSqlRecord& source, const QList<TransferColumn>& list);

// Choices of one table copy.
struct TransferCopyOptions {
  // Column of the list whose order the rows are copied in (export copies clients by number);
  // empty: the source's key order.
  QString orderBy;
  // Called after each row with the number of rows copied so far.
  std::function<void(int)> progress;
};

// Appends every row of `table` on the connection `sourceConnection` to the same table on
// `targetConnection`, in one transaction of the target: on any failure nothing is added,
// and `error` says which row and column failed. Of an optional run the columns are copied
// up to the first one the source lacks, and in each row up to the first value that does not
// convert; the rest of the run stays empty and the row goes on. Inside a caller's
// Transaction (a replace, or a migration of all four tables) the copy joins it.
bool CopyTransferTable(const QString& sourceConnection, const QString& targetConnection,
                       const QString& table, int* rowsCopied = nullptr, QString* error = nullptr,
                       const TransferCopyOptions& options = {});

// The same between two database files, each opened for the copy only.
bool CopyTransferTableFile(const QString& sourcePath, const QString& targetPath,
                           const QString& table, int* rowsCopied = nullptr,
                           QString* error = nullptr, const TransferCopyOptions& options = {});

// A value of a column as it arrives in the target: the text form of Text access taken and
// turned back, doubles rounded into long columns, Booleans as 0/1. Null stays null, except
// that a null yes/no value is 0 (those columns are never null). False when a text form does
// not convert back (a date-time that is no date, for one), and when a text column would get
// a value longer than its width or bytes that are no valid UTF-8.
bool ConvertTransferValue(const TransferColumn& column, const QVariant& source, QVariant* target);

// Large copies go through the connections' own SQLite handles: Qt SQL's per-value binding and
// variants cost several times the copy itself.

// Settings for a connection to a file that comes from outside (an old version's database, a
// transfer file): nothing its schema holds runs with more than plain rights, and the file
// cannot be changed by anything it holds (SQLite's defensive mode).
void DistrustOutsideDatabase(const QSqlDatabase& db);

// A converted value as it is bound, without a QVariant. Text and bytes point either into the
// source row (valid until the source steps on) or into the cell's own buffer.
struct TransferCell {
  enum Kind : unsigned char { Null, Integer, Real, Text, Blob };
  Kind kind = Null;
  qint64 integer = 0;
  double real = 0.0;
  const char* data = nullptr;
  qsizetype size = 0;
  QByteArray own;
  void setText(const QByteArray& utf8);
};

// A prepared statement of one connection, finalized when it goes.
class TransferStatement {
 public:
  TransferStatement() = default;
  TransferStatement(const TransferStatement&) = delete;
  TransferStatement& operator=(const TransferStatement&) = delete;
  ~TransferStatement();
  bool prepare(sqlite3* db, const QString& sql, QString* error);
  // True on a row; at the end or on an error false, with `failed` telling which.
  bool next(bool* failed);
  // Column `i` of the current row as Qt SQL hands it over.
  QVariant value(int i) const;
  QString errorText() const;
  sqlite3_stmt* handle() const { return stmt_; }

 private:
  sqlite3* db_ = nullptr;
  sqlite3_stmt* stmt_ = nullptr;
};

// Appends rows to one table, many rows to a statement: a statement run costs as much as
// several rows (the key counter of the table is read and written each time). A row that
// fails is found by running the rows of its batch one by one, so that rows go in, and
// `rowDone` is called, exactly as a statement per row would have it.
class TransferInserter {
 public:
  // Called after each row that went in.
  std::function<void()> rowDone;
  // `names` are quoted column names, the order of the cells of each row.
  bool prepare(sqlite3* db, const QString& quotedTable, const QStringList& names, QString* error);
  // Queues a copy of the row; runs the queue when it is full.
  bool add(const std::vector<TransferCell>& cells, QString* error);
  // Runs the rows queued. On false the rows before the failing one went in; none after it.
  bool flush(QString* error);

 private:
  struct Queued {
    TransferCell::Kind kind;
    qint64 integer;
    double real;
    qsizetype offset;
    qsizetype size;
  };
  bool runOneByOne(QString* error);
  TransferStatement one_, many_;
  int columns_ = 0;
  int batch_ = 1;
  std::vector<Queued> queued_;
  QByteArray bytes_;
};

// ConvertTransferValue of each column of the current row of `row`: `columns[i]` is read from
// the statement's column `sourceIndex[i]`, or is null when that is -1; the optional-run rule
// applies. -1 when the row converts, else the index of the first required column that does
// not.
// `emptyBytesNull`: an empty text or byte string that Qt SQL would hold as a null string binds
// null, as Qt SQL binds such a string.
int ConvertTransferRow(const QList<TransferColumn>& columns, const std::vector<int>& sourceIndex,
                       const TransferStatement& row, std::vector<TransferCell>* cells,
                       bool emptyBytesNull = false);

// Why column `i` of the current row of `row` cannot be stored in the text column `column` of
// `table`, as the operator reads it (table, row number, column and the limit); empty when it
// can be, or when the column holds no text.
QString TransferTextProblem(const QString& table, int rowNumber, const TransferColumn& column,
                            const TransferStatement& row, int i);

// The value a cell binds, as a variant (for comparisons that need one).
QVariant TransferCellValue(const TransferCell& cell);

}  // namespace ruto
