#include "app/TransferColumns.h"

#include <sqlite3.h>

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>
#include <algorithm>
#include <atomic>
#include <cmath>

#include "app/Database.h"
#include "app/RecordSet.h"
#include "app/SqliteAccess.h"
#include "base/DateTime.h"
#include "base/Numbers.h"

namespace ruto {

namespace {

using A = TransferAccess;
using T = TransferType;

QList<TransferColumn> numbered(const QString& stem, int from, int to, A access, T type, int run = 0,
                               int width = 0) {
  QList<TransferColumn> out;
  for (int i = from; i <= to; ++i)
    out.append({stem + QString::number(i), access, type, run, width});
  return out;
}

// Widths are the text columns' sizes, the same in the files of earlier installations.
QList<TransferColumn> proColumns() {
  QList<TransferColumn> c = {
      {"ProNo", A::Text, T::Text, 0, 12}, {"ProName", A::Text, T::Text, 0, 24},
      {"ProData", A::Text, T::Text},      {"ProPict", A::Text, T::Bytes},
      {"ProScal", A::Native, T::Boolean}, {"ProFN", A::Text, T::Text, 1, 50}};
  c << numbered("ProScrp", 1, 4, A::Text, T::Text, 1, 150)
    << numbered("ProPrg", 1, 4, A::Text, T::Text, 1, 150)
    << numbered("ProParm", 1, 4, A::Text, T::Text, 1, 150);
  c.append({"PrtFG", A::Native, T::Boolean});
  return c;
}

QList<TransferColumn> prdtColumns() {
  return {{"ProNo", A::Text, T::Text, 0, 12},   {"ProSubN", A::Text, T::Text, 0, 24},
          {"ProNote", A::Text, T::Text, 0, 50}, {"ProAnd", A::Text, T::Text, 0, 30},
          {"ProCond", A::Text, T::Text, 0, 30}, {"ProEng", A::Native, T::Double},
          {"ProAGL", A::Native, T::Long, 1},    {"ProAGH", A::Native, T::Long, 1},
          {"ProFlg", A::Native, T::Boolean},    {"PrtFG", A::Native, T::Boolean}};
}

QList<TransferColumn> custColumns() {
  return {{"CUSTNO", A::Text, T::Text, 0, 15}, {"NAME", A::Text, T::Text, 0, 50},
          {"SEX", A::Native, T::Boolean},      {"DBIRTH", A::Native, T::DateTime},
          {"ADDR", A::Text, T::Text, 0, 100},  {"TEL", A::Text, T::Text, 0, 30},
          {"TEL2", A::Text, T::Text, 0, 30},   {"TEL3", A::Text, T::Text, 0, 30},
          {"EMAIL", A::Text, T::Text, 0, 50},  {"BTYPE", A::Text, T::Text, 0, 5},
          {"HEIGHT", A::Native, T::Double},    {"WEIGHT", A::Native, T::Double},
          {"MEMO", A::Text, T::Text},          {"CUSTCAT", A::Text, T::Text, 0, 50},
          {"CUSTFG", A::Text, T::Text, 0, 10}, {"PrtFG", A::Native, T::Boolean}};
}

QList<TransferColumn> dataColumns() {
  QList<TransferColumn> c = {{"CUSTNO", A::Text, T::Text, 0, 15}, {"VODATE", A::Text, T::DateTime},
                             {"VOVOTA", A::Text, T::Boolean},     {"MEMO1", A::Text, T::Text},
                             {"MEMO2", A::Text, T::Text},         {"AutoKey", A::Text, T::Text}};
  c << numbered("VO", 1, 24, A::Native, T::Double);
  c.append({"PrtFG", A::Native, T::Boolean});
  return c;
}

// Spelling of `name` among `record`'s fields (names match without regard to case).
QString fieldName(const QSqlRecord& record, const QString& name) {
  for (int i = 0; i < record.count(); ++i)
    if (record.fieldName(i).compare(name, Qt::CaseInsensitive) == 0) return record.fieldName(i);
  return {};
}

bool textToBool(const QString& text, bool* value) {
  const QString t = text.trimmed();
  if (t.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0) return *value = true, true;
  if (t.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0) return *value = false, true;
  bool ok = false;
  const double d = ruto::StrToFloatDef(t, 0.0, &ok);
  if (ok) *value = d != 0.0;
  return ok;
}

// The day number a date-time comes back as from its text form "yyyy/MM/dd HH:mm:ss": the
// same arithmetic as formatting and reading it, without the strings. Far from the ends of
// the calendar only; elsewhere the text form itself decides.
bool dayThroughText(double day, double* out) {
  constexpr double kMsPerDay = 86400000.0;
  if (!(day > -300000.0 && day < 2958000.0)) {
    const QString text = ruto::formatOleDateTime(day);
    return !text.isEmpty() && ruto::parseOleDate(text, out);
  }
  const double whole = std::trunc(day);
  long long ms = std::llround(std::fabs(day - whole) * kMsPerDay);
  long long shift = 0;
  if (ms >= static_cast<long long>(kMsPerDay)) {
    ms -= static_cast<long long>(kMsPerDay);
    shift = 1;
  }
  const double days =
      static_cast<double>(static_cast<long long>(whole) + (day < 0 ? -shift : shift));
  // The text form keeps whole seconds.
  const double frac = static_cast<int>(ms / 1000 * 1000) / kMsPerDay;
  *out = days >= 0 ? days + frac : days - frac;
  return true;
}

const char kEmpty[] = "";

// A converted variant into a cell, bound as Qt SQL (`emptyBytesNull`) or as text and bytes.
void fillCell(const QVariant& v, bool emptyBytesNull, TransferCell* cell) {
  cell->kind = TransferCell::Null;
  switch (SqliteStorageOf(v)) {
    case SqliteStorage::Null:
      return;
    case SqliteStorage::Integer:
      cell->kind = TransferCell::Integer;
      cell->integer = v.toLongLong();
      return;
    case SqliteStorage::Real:
      cell->kind = TransferCell::Real;
      cell->real = v.toDouble();
      return;
    case SqliteStorage::Blob: {
      const QByteArray& b = *static_cast<const QByteArray*>(v.constData());
      if (emptyBytesNull && b.isNull()) return;
      cell->own = b;
      cell->kind = TransferCell::Blob;
      cell->data = cell->own.isNull() ? kEmpty : cell->own.constData();
      cell->size = cell->own.size();
      return;
    }
    case SqliteStorage::Text: {
      const QString text = v.toString();
      if (emptyBytesNull && text.isNull()) return;
      cell->setText(text.toUtf8());
      if (!cell->data) cell->data = kEmpty;
    }
  }
}

// ConvertTransferValue of column `i` of the current row, straight from SQLite's value where
// the value is of the kind the column holds.
bool convertCell(const TransferColumn& column, const TransferStatement& row, int i,
                 bool emptyBytesNull, TransferCell* cell) {
  sqlite3_stmt* st = row.handle();
  const int type = sqlite3_column_type(st, i);
  if (type == SQLITE_NULL) {
    // A yes/no column is never null: an absent value is "no", as files from earlier
    // installations read it.
    cell->kind = column.type == T::Boolean ? TransferCell::Integer : TransferCell::Null;
    cell->integer = 0;
    return true;
  }
  const bool number = type == SQLITE_INTEGER || type == SQLITE_FLOAT;
  switch (column.type) {
    case T::Text:
      if (type != SQLITE_TEXT) break;
      cell->kind = TransferCell::Text;
      cell->data = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
      cell->size = sqlite3_column_bytes(st, i);
      if (!cell->data) break;  // out of memory: the slow way reports it
      return TransferTextFits(cell->data, cell->size, column.width);
    case T::Bytes:
      if (type == SQLITE_BLOB) {
        cell->kind = TransferCell::Blob;
        cell->data = static_cast<const char*>(sqlite3_column_blob(st, i));
        cell->size = sqlite3_column_bytes(st, i);
        // An empty blob comes without bytes.
        if (!cell->data) {
          if (cell->size != 0) break;
          if (emptyBytesNull)
            cell->kind = TransferCell::Null;
          else
            cell->data = kEmpty;
        }
        return true;
      }
      if (type == SQLITE_TEXT) {
        cell->kind = TransferCell::Blob;
        cell->data = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
        cell->size = sqlite3_column_bytes(st, i);
        if (!cell->data) break;
        return true;
      }
      break;
    case T::Boolean:
      if (type != SQLITE_INTEGER) break;
      cell->kind = TransferCell::Integer;
      cell->integer = sqlite3_column_int64(st, i) != 0 ? 1 : 0;
      return true;
    case T::DateTime: {
      if (!number) break;
      double day = sqlite3_column_double(st, i);
      if (column.access == A::Text && !dayThroughText(day, &day)) return false;
      cell->kind = TransferCell::Real;
      cell->real = day;
      return true;
    }
    case T::Double:
    case T::Long: {
      if (!number) break;
      const double d = sqlite3_column_double(st, i);
      if (column.type == T::Double) {
        cell->kind = TransferCell::Real;
        cell->real = d;
        return true;
      }
      if (!(d >= -2147483648.0 && d <= 2147483647.0)) return false;
      cell->kind = TransferCell::Integer;
      cell->integer = ruto::near(d);
      return true;
    }
  }
  QVariant value;
  if (!ConvertTransferValue(column, row.value(i), &value)) return false;
  fillCell(value, emptyBytesNull, cell);
  return true;
}

}  // namespace

void TransferCell::setText(const QByteArray& utf8) {
  own = utf8;
  kind = Text;
  data = own.constData();
  size = own.size();
}

void DistrustOutsideDatabase(const QSqlDatabase& db) {
  QSqlQuery(db).exec(QStringLiteral("PRAGMA trusted_schema = OFF"));
  if (sqlite3* h = SqliteHandle(db)) sqlite3_db_config(h, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
}

TransferStatement::~TransferStatement() { sqlite3_finalize(stmt_); }

bool TransferStatement::prepare(sqlite3* db, const QString& sql, QString* error) {
  sqlite3_finalize(stmt_);
  stmt_ = nullptr;
  db_ = db;
  const QByteArray text = sql.toUtf8();
  if (db && sqlite3_prepare_v2(db, text.constData(), static_cast<int>(text.size()), &stmt_,
                               nullptr) == SQLITE_OK)
    return true;
  *error = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("no SQLite handle");
  return false;
}

bool TransferStatement::next(bool* failed) {
  const int rc = sqlite3_step(stmt_);
  *failed = rc != SQLITE_ROW && rc != SQLITE_DONE;
  return rc == SQLITE_ROW;
}

QVariant TransferStatement::value(int i) const {
  switch (sqlite3_column_type(stmt_, i)) {
    case SQLITE_INTEGER:
      return QVariant(static_cast<qlonglong>(sqlite3_column_int64(stmt_, i)));
    case SQLITE_FLOAT:
      return QVariant(sqlite3_column_double(stmt_, i));
    case SQLITE_TEXT:
      return QVariant(
          QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i)),
                            sqlite3_column_bytes(stmt_, i)));
    case SQLITE_BLOB: {
      const void* data = sqlite3_column_blob(stmt_, i);
      return QVariant(QByteArray(static_cast<const char*>(data), sqlite3_column_bytes(stmt_, i)));
    }
    default:
      return QVariant();
  }
}

QString TransferStatement::errorText() const {
  return db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString();
}

namespace {
void bindQueued(sqlite3_stmt* st, int at, TransferCell::Kind kind, qint64 integer, double real,
                const char* data, qsizetype size) {
  switch (kind) {
    case TransferCell::Null:
      sqlite3_bind_null(st, at);
      break;
    case TransferCell::Integer:
      sqlite3_bind_int64(st, at, integer);
      break;
    case TransferCell::Real:
      sqlite3_bind_double(st, at, real);
      break;
    case TransferCell::Text:
      sqlite3_bind_text64(st, at, data, static_cast<sqlite3_uint64>(size), SQLITE_STATIC,
                          SQLITE_UTF8);
      break;
    case TransferCell::Blob:
      sqlite3_bind_blob64(st, at, data, static_cast<sqlite3_uint64>(size), SQLITE_STATIC);
      break;
  }
}
}  // namespace

bool TransferInserter::prepare(sqlite3* db, const QString& quotedTable, const QStringList& names,
                               QString* error) {
  columns_ = static_cast<int>(names.size());
  queued_.clear();
  bytes_.clear();
  const QString head =
      QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(quotedTable, names.join(u','));
  QStringList marks;
  for (int i = 0; i < columns_; ++i) marks << QStringLiteral("?");
  const QString row = u'(' + marks.join(u',') + u')';
  if (!one_.prepare(db, head + row, error)) return false;
  const int variables = sqlite3_limit(db, SQLITE_LIMIT_VARIABLE_NUMBER, -1);
  batch_ = columns_ > 0 ? qBound(1, variables / columns_, 64) : 1;
  if (batch_ > 1) {
    QStringList rows;
    for (int i = 0; i < batch_; ++i) rows << row;
    if (!many_.prepare(db, head + rows.join(u','), error)) batch_ = 1;
  }
  return true;
}

bool TransferInserter::add(const std::vector<TransferCell>& cells, QString* error) {
  for (const TransferCell& c : cells) {
    Queued q{c.kind, c.integer, c.real, bytes_.size(), 0};
    if (c.kind == TransferCell::Text || c.kind == TransferCell::Blob) {
      bytes_.append(c.data, c.size);
      q.size = c.size;
    }
    queued_.push_back(q);
  }
  if (queued_.size() < static_cast<size_t>(batch_) * static_cast<size_t>(columns_)) return true;
  return flush(error);
}

bool TransferInserter::flush(QString* error) {
  if (queued_.empty()) return true;
  const size_t rows = columns_ > 0 ? queued_.size() / static_cast<size_t>(columns_) : 0;
  if (batch_ > 1 && rows == static_cast<size_t>(batch_)) {
    sqlite3_stmt* st = many_.handle();
    sqlite3* db = sqlite3_db_handle(st);
    const int autocommit = sqlite3_get_autocommit(db);
    const char* base = bytes_.constData();
    for (size_t k = 0; k < queued_.size(); ++k) {
      const Queued& q = queued_[k];
      bindQueued(st, static_cast<int>(k) + 1, q.kind, q.integer, q.real, base + q.offset, q.size);
    }
    const int rc = sqlite3_step(st);
    sqlite3_reset(st);
    if (rc == SQLITE_DONE) {
      queued_.clear();
      bytes_.clear();
      if (rowDone)
        for (size_t r = 0; r < rows; ++r) rowDone();
      return true;
    }
    // Some failures (a full disk, an I/O error) take back the whole transaction: then no row
    // may go in again, or it would go in on its own.
    if (sqlite3_get_autocommit(db) != autocommit) {
      *error = many_.errorText();
      queued_.clear();
      bytes_.clear();
      return false;
    }
    // The failed statement took back all its rows: find the failing one row by row.
  }
  return runOneByOne(error);
}

bool TransferInserter::runOneByOne(QString* error) {
  sqlite3_stmt* st = one_.handle();
  const char* base = bytes_.constData();
  bool ok = true;
  for (size_t k = 0; k < queued_.size() && ok; k += static_cast<size_t>(columns_)) {
    for (int i = 0; i < columns_; ++i) {
      const Queued& q = queued_[k + static_cast<size_t>(i)];
      bindQueued(st, i + 1, q.kind, q.integer, q.real, base + q.offset, q.size);
    }
    const int rc = sqlite3_step(st);
    sqlite3_reset(st);
    if (rc != SQLITE_DONE) {
      *error = one_.errorText();
      ok = false;
    } else if (rowDone) {
      rowDone();
    }
  }
  queued_.clear();
  bytes_.clear();
  return ok;
}

int ConvertTransferRow(const QList<TransferColumn>& columns, const std::vector<int>& sourceIndex,
                       const TransferStatement& row, std::vector<TransferCell>* cells,
                       bool emptyBytesNull) {
  cells->resize(static_cast<size_t>(columns.size()));
  int endedRun = 0;  // an optional run whose copy ended for this row
  for (qsizetype i = 0; i < columns.size(); ++i) {
    const TransferColumn& c = columns[i];
    TransferCell& cell = (*cells)[static_cast<size_t>(i)];
    const int at = sourceIndex[static_cast<size_t>(i)];
    cell.kind = TransferCell::Null;
    if (at < 0 || (c.run != 0 && c.run == endedRun)) continue;
    if (!convertCell(c, row, at, emptyBytesNull, &cell)) {
      if (c.run == 0) return static_cast<int>(i);
      // A value of an optional run that fails ends the run for this row only: the rest of
      // the run stays empty and the row goes on after it.
      endedRun = c.run;
      cell.kind = TransferCell::Null;
    }
  }
  return -1;
}

QVariant TransferCellValue(const TransferCell& cell) {
  switch (cell.kind) {
    case TransferCell::Integer:
      return QVariant(static_cast<qlonglong>(cell.integer));
    case TransferCell::Real:
      return QVariant(cell.real);
    case TransferCell::Text:
      return QVariant(QString::fromUtf8(cell.data, cell.size));
    case TransferCell::Blob:
      return QVariant(QByteArray(cell.data, cell.size));
    case TransferCell::Null:
      break;
  }
  return QVariant();
}

QStringList TransferSourceNames(const QSqlRecord& source, const QList<TransferColumn>& list) {
  QStringList names;
  int brokenRun = 0;
  for (const TransferColumn& c : list) {
    const QString name = c.run != 0 && c.run == brokenRun ? QString() : fieldName(source, c.name);
    if (c.run != 0 && name.isEmpty()) brokenRun = c.run;
    names << name;
  }
  return names;
}

int TransferColumnWidth(const QString& table, const QString& column) {
  for (const TransferColumn& c : TransferColumns(table))
    if (c.name.compare(column, Qt::CaseInsensitive) == 0) return c.width;
  return 0;
}

namespace {

// UTF-16 units of UTF-8 bytes; -1 when they are no valid UTF-8 (overlong forms, surrogates
// and values past U+10FFFF included).
qsizetype utf16Units(const char* utf8, qsizetype size) {
  const auto* p = reinterpret_cast<const unsigned char*>(utf8);
  const auto* end = p + size;
  qsizetype units = 0;
  while (p < end) {
    const unsigned char b = *p;
    int more = 0;
    char32_t c = b;
    if (b >= 0xC2 && b <= 0xDF)
      more = 1, c = b & 0x1F;
    else if (b >= 0xE0 && b <= 0xEF)
      more = 2, c = b & 0x0F;
    else if (b >= 0xF0 && b <= 0xF4)
      more = 3, c = b & 0x07;
    else if (b >= 0x80)
      return -1;
    if (end - p <= more) return -1;
    for (int k = 1; k <= more; ++k) {
      if ((p[k] & 0xC0) != 0x80) return -1;
      c = (c << 6) | (p[k] & 0x3F);
    }
    if ((more == 2 && (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))) ||
        (more == 3 && (c < 0x10000 || c > 0x10FFFF)))
      return -1;
    units += more == 3 ? 2 : 1;
    p += more + 1;
  }
  return units;
}

}  // namespace

bool TransferTextFits(const char* utf8, qsizetype size, int width) {
  const qsizetype units = utf16Units(utf8, size);
  return units >= 0 && (width <= 0 || units <= width);
}

QString TransferTextProblem(const QString& table, int rowNumber, const TransferColumn& column,
                            const TransferStatement& row, int i) {
  if (column.type != T::Text) return {};
  sqlite3_stmt* st = row.handle();
  const int type = sqlite3_column_type(st, i);
  if (type == SQLITE_NULL) return {};
  qsizetype units = 0;
  if (type == SQLITE_TEXT || type == SQLITE_BLOB) {
    const char* data = type == SQLITE_TEXT
                           ? reinterpret_cast<const char*>(sqlite3_column_text(st, i))
                           : static_cast<const char*>(sqlite3_column_blob(st, i));
    units = utf16Units(data, sqlite3_column_bytes(st, i));
  } else {
    units = row.value(i).toString().size();
  }
  const QString where =
      QStringLiteral("資料表 %1 第 %2 筆資料的欄位 %3").arg(table).arg(rowNumber).arg(column.name);
  if (units < 0) return where + QStringLiteral(" 不是有效的文字");
  if (column.width > 0 && units > column.width)
    return where + QStringLiteral(" 超過 %1 個字元").arg(column.width);
  return {};
}

const QList<TransferColumn>& TransferColumns(const QString& table) {
  static const QList<TransferColumn> pro = proColumns(), prdt = prdtColumns(), cust = custColumns(),
                                     data = dataColumns(), none;
  const QString t = table.toUpper();
  if (t == QStringLiteral("VOPRO")) return pro;
  if (t == QStringLiteral("VOPRDT")) return prdt;
  if (t == QStringLiteral("VOCUST")) return cust;
  if (t == QStringLiteral("VODATA")) return data;
  return none;
}

bool ConvertTransferValue(const TransferColumn& column, const QVariant& source, QVariant* target) {
  if (source.isNull()) {
    // A yes/no column is never null: an absent value is "no", as files from earlier
    // installations read it.
    *target = column.type == T::Boolean ? QVariant(0) : QVariant();
    return true;
  }
  const bool isText = source.typeId() == QMetaType::QString;
  switch (column.type) {
    case T::Text: {
      // Bytes become text only when they are text; nothing is stored that would not read back.
      if (source.typeId() == QMetaType::QByteArray) {
        const QByteArray& b = *static_cast<const QByteArray*>(source.constData());
        if (!TransferTextFits(b.constData(), b.size(), column.width)) return false;
      }
      const QString text = source.toString();
      if (column.width > 0 && text.size() > column.width) return false;
      *target = text;
      return true;
    }
    case T::Bytes:
      // Pictures keep their bytes: a detour through text would damage them.
      *target = source.toByteArray();
      return true;
    case T::Boolean: {
      bool b = false;
      if (isText) {
        if (!textToBool(source.toString(), &b)) return false;
      } else {
        b = source.toBool();
      }
      *target = b ? 1 : 0;
      return true;
    }
    case T::DateTime: {
      double day = 0.0;
      if (isText) {
        if (!ruto::parseOleDate(source.toString(), &day)) return false;
      } else {
        bool ok = false;
        day = source.toDouble(&ok);
        if (!ok) return false;
        // The text form holds whole seconds; the time of day survives to that resolution.
        if (column.access == A::Text && !dayThroughText(day, &day)) return false;
      }
      *target = day;
      return true;
    }
    case T::Double:
    case T::Long: {
      bool ok = false;
      const double d =
          isText ? ruto::StrToFloatDef(source.toString(), 0.0, &ok) : source.toDouble(&ok);
      if (!ok) return false;
      if (column.type == T::Long) {
        if (!(d >= -2147483648.0 && d <= 2147483647.0)) return false;
        *target = static_cast<qlonglong>(ruto::near(d));
      } else {
        *target = d;
      }
      return true;
    }
  }
  return false;
}

bool CopyTransferTable(const QString& sourceConnection, const QString& targetConnection,
                       const QString& table, int* rowsCopied, QString* error,
                       const TransferCopyOptions& options) {
  int copied = 0;
  if (rowsCopied) *rowsCopied = 0;
  const auto failed = [&](const QString& text) {
    if (error) *error = QStringLiteral("%1: %2").arg(table, text);
    return false;
  };
  const QList<TransferColumn>& list = TransferColumns(table);
  if (list.isEmpty()) return failed(QStringLiteral("no column list for this table"));
  QSqlDatabase source = QSqlDatabase::database(sourceConnection, false);
  QSqlDatabase target = QSqlDatabase::database(targetConnection, false);
  if (!source.isOpen() || !target.isOpen())
    return failed(QStringLiteral("database connection not open"));
  const QSqlRecord sourceRecord = source.record(table);
  const QSqlRecord targetRecord = target.record(table);
  if (sourceRecord.isEmpty()) return failed(QStringLiteral("source has no such table"));
  if (targetRecord.isEmpty()) return failed(QStringLiteral("target has no such table"));

  // Which columns travel: every required one, and of each optional run those before the
  // first column the source lacks.
  QList<TransferColumn> columns;
  QStringList sourceNames, targetNames;
  const QStringList fromNames = TransferSourceNames(sourceRecord, list);
  for (qsizetype i = 0; i < list.size(); ++i) {
    const TransferColumn& c = list[i];
    const QString& from = fromNames[i];
    if (from.isEmpty() && c.run != 0) continue;
    if (from.isEmpty()) return failed(QStringLiteral("source lacks column %1").arg(c.name));
    const QString to = fieldName(targetRecord, c.name);
    if (to.isEmpty()) return failed(QStringLiteral("target lacks column %1").arg(c.name));
    columns << c;
    sourceNames << QuotedIdentifier(from);
    targetNames << QuotedIdentifier(to);
  }

  // Rows go in key order, as the old tables were read from the first, unless an order is
  // asked for; equal values keep key order.
  QStringList order;
  if (!options.orderBy.isEmpty()) {
    const bool listed = std::any_of(list.begin(), list.end(), [&](const TransferColumn& c) {
      return c.name.compare(options.orderBy, Qt::CaseInsensitive) == 0;
    });
    const QString name = fieldName(sourceRecord, options.orderBy);
    if (!listed || name.isEmpty())
      return failed(QStringLiteral("cannot order by %1").arg(options.orderBy));
    order << QuotedIdentifier(name);
  }
  const QString keyName = fieldName(sourceRecord, QStringLiteral("MKEY"));
  if (!keyName.isEmpty()) order << QuotedIdentifier(keyName);
  // The messages read as Qt SQL words them.
  const auto sqlError = [](const QString& database, const char* driver) {
    return database.isEmpty() ? QString::fromLatin1(driver)
                              : database + u' ' + QString::fromLatin1(driver);
  };
  QString sqliteError;
  TransferStatement read;
  if (!read.prepare(
          SqliteHandle(source),
          QStringLiteral("SELECT %1 FROM %2").arg(sourceNames.join(u','), QuotedIdentifier(table)) +
              (order.isEmpty() ? QString() : QStringLiteral(" ORDER BY ") + order.join(u',')),
          &sqliteError))
    return failed(sqlError(sqliteError, "Unable to execute statement"));

  Transaction transaction(targetConnection);
  if (!transaction.active()) return failed(transaction.error());
  {
    TransferInserter write;
    write.rowDone = [&] {
      ++copied;
      if (options.progress) options.progress(copied);
    };
    if (!write.prepare(SqliteHandle(target), QuotedIdentifier(table), targetNames, &sqliteError))
      return failed(sqlError(sqliteError, "Unable to execute statement"));
    std::vector<int> identity;
    for (qsizetype i = 0; i < columns.size(); ++i) identity.push_back(static_cast<int>(i));
    std::vector<TransferCell> cells;
    bool readFailed = false;
    // Rows counted as read, for the messages; `copied` counts those that went in.
    int readRows = 0;
    const auto writeFailed = [&] {
      return failed(QStringLiteral("row %1: %2")
                        .arg(copied + 1)
                        .arg(sqlError(sqliteError, "Unable to fetch row")));
    };
    while (read.next(&readFailed)) {
      ++readRows;
      const int bad = ConvertTransferRow(columns, identity, read, &cells, true);
      if (bad >= 0) {
        // The rows before it go in first, as they would have one by one.
        if (!write.flush(&sqliteError)) return writeFailed();
        return failed(QStringLiteral("row %1, column %2: value %3 does not convert")
                          .arg(readRows)
                          .arg(columns[bad].name, read.value(bad).toString()));
      }
      if (!write.add(cells, &sqliteError)) return writeFailed();
    }
    if (!write.flush(&sqliteError)) return writeFailed();
    if (readFailed) return failed(sqlError(read.errorText(), "Unable to fetch row"));
  }
  QString commitError;
  if (!transaction.commit(&commitError)) return failed(commitError);
  if (rowsCopied) *rowsCopied = copied;
  return true;
}

bool CopyTransferTableFile(const QString& sourcePath, const QString& targetPath,
                           const QString& table, int* rowsCopied, QString* error,
                           const TransferCopyOptions& options) {
  static std::atomic<int> counter{0};
  const int n = ++counter;
  const QString sourceName = QStringLiteral("TransferSource%1").arg(n);
  const QString targetName = QStringLiteral("TransferTarget%1").arg(n);
  bool ok = false;
  if (OpenDatabase(sourceName, sourcePath, {table}, error) == DbOpenResult::Ok &&
      OpenDatabase(targetName, targetPath, {table}, error) == DbOpenResult::Ok)
    ok = CopyTransferTable(sourceName, targetName, table, rowsCopied, error, options);
  CloseDatabase(sourceName);
  CloseDatabase(targetName);
  return ok;
}

}  // namespace ruto
