#include "app/RecordSet.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <numeric>

#include <sqlite3.h>

#include "app/DatabaseGuard.h"
#include "app/SqliteAccess.h"
#include "app/TransferColumns.h"
#include "base/DateTime.h"
#include "base/Numbers.h"

namespace ruto {

namespace {

const QString kKeyColumn = QStringLiteral("MKEY");

// Identifiers reach SQL only from the database's own column list; quoting still keeps a
// stray quote in a stored name from ending the identifier.
bool isNumber(const QVariant& v) {
  switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Bool:
      return true;
    default:
      return false;
  }
}

bool matches(const QVariant& cell, const QVariant& wanted, LocateOptions options) {
  if (cell.isNull() && wanted.isNull()) return true;
  if (isNumber(cell) && !cell.isNull()) {
    bool ok = false;
    const double w = wanted.toString().trimmed().isEmpty() ? 0.0 : wanted.toDouble(&ok);
    if (isNumber(wanted) || ok) return cell.toDouble() == w;
  }
  const Qt::CaseSensitivity cs =
      options.testFlag(LocateOption::CaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
  const QString text = cell.toString();
  const QString key = wanted.toString();
  return options.testFlag(LocateOption::PartialKey) ? text.startsWith(key, cs)
                                                    : text.compare(key, cs) == 0;
}

enum CellType : std::uint8_t { cNull = 0, cInteger = 1, cReal = 2, cText = 3, cBlob = 4 };
// The collations SQLite has built in; any other compares as BINARY.
constexpr std::uint8_t kBinary = 0, kNocase = 1, kRtrim = 2;

std::uint8_t collationOf(const char* name) {
  if (!name) return kBinary;
  if (qstricmp(name, "NOCASE") == 0) return kNocase;
  if (qstricmp(name, "RTRIM") == 0) return kRtrim;
  return kBinary;
}

// True when the text starts with `key` (ASCII) without regard to ASCII letter case; unknown
// (-1) when a non-ASCII byte comes first, which needs the full Unicode comparison.
int asciiPrefixMatch(const char* text, std::size_t size, const QByteArray& key, bool whole,
                     bool caseless) {
  const std::size_t n = static_cast<std::size_t>(key.size());
  for (std::size_t i = 0; i < std::min(n, size); ++i) {
    unsigned char x = static_cast<unsigned char>(text[i]);
    if (x >= 0x80) return -1;
    unsigned char y = static_cast<unsigned char>(key[static_cast<qsizetype>(i)]);
    if (caseless) {
      if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
      if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
    }
    if (x != y) return 0;
  }
  if (size < n) return 0;
  if (!whole || size == n) return 1;
  return static_cast<unsigned char>(text[n]) >= 0x80 ? -1 : 0;
}

void bindValue(sqlite3_stmt* stmt, int index, const QVariant& v) {
  switch (SqliteStorageOf(v)) {
    case SqliteStorage::Null:
      sqlite3_bind_null(stmt, index);
      return;
    case SqliteStorage::Integer:
      sqlite3_bind_int64(stmt, index, v.toLongLong());
      return;
    case SqliteStorage::Real:
      sqlite3_bind_double(stmt, index, v.toDouble());
      return;
    case SqliteStorage::Blob: {
      const QByteArray b = v.toByteArray();
      sqlite3_bind_blob64(stmt, index, b.constData(), b.size(), SQLITE_TRANSIENT);
      return;
    }
    case SqliteStorage::Text: {
      const QByteArray t = v.toString().toUtf8();
      sqlite3_bind_text64(stmt, index, t.constData(), t.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
      return;
    }
  }
}

// Texts in the arena carry their length in front, seven bits a byte.
void putBytes(std::string& arena, const char* data, std::size_t size) {
  std::size_t n = size;
  do {
    std::uint8_t b = n & 0x7F;
    n >>= 7;
    if (n) b |= 0x80;
    arena.push_back(static_cast<char>(b));
  } while (n);
  arena.append(data, size);
}

std::pair<const char*, std::size_t> getBytes(const std::string& arena, std::int64_t offset) {
  std::size_t size = 0;
  int shift = 0;
  std::size_t i = static_cast<std::size_t>(offset);
  for (;;) {
    const auto b = static_cast<std::uint8_t>(arena[i++]);
    size |= static_cast<std::size_t>(b & 0x7F) << shift;
    if (!(b & 0x80)) break;
    shift += 7;
  }
  return {arena.data() + i, size};
}

// SQLite's own text comparisons: BINARY compares bytes, NOCASE folds ASCII letters only,
// RTRIM ignores trailing blanks.
int compareText(const char* a, std::size_t na, const char* b, std::size_t nb,
                std::uint8_t collation) {
  if (collation == kRtrim) {
    while (na && a[na - 1] == ' ') --na;
    while (nb && b[nb - 1] == ' ') --nb;
  }
  const std::size_t n = std::min(na, nb);
  int r = 0;
  if (collation == kNocase) {
    for (std::size_t i = 0; i < n && r == 0; ++i) {
      unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
      if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
      if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
      r = static_cast<int>(x) - static_cast<int>(y);
    }
  } else {
    r = n ? std::memcmp(a, b, n) : 0;
  }
  if (r != 0) return r < 0 ? -1 : 1;
  return na == nb ? 0 : (na < nb ? -1 : 1);
}

}  // namespace

RecordSet::RecordSet(const QString& connectionName, const QString& table)
    : connection_(connectionName), table_(table) {
  // Record numbers count from 1 in the current sorted view.
  const auto recordNumber = [](const RecordSet&, int row) {
    return QVariant(QString::number(row + 1));
  };
  if (table.compare(QStringLiteral("VOCUST"), Qt::CaseInsensitive) == 0) {
    addCalculatedColumn(QStringLiteral("RENO"), recordNumber);
    addCalculatedColumn(QStringLiteral("Sex_S"), [](const RecordSet& s, int row) {
      return QVariant(SexText(s.value(row, QStringLiteral("SEX"))));
    });
    addCalculatedColumn(QStringLiteral("DBIRTH_C"), [](const RecordSet& s, int row) {
      const QDate d = BirthDateShown(s.value(row, QStringLiteral("DBIRTH")));
      return d.isValid() ? QVariant(d) : QVariant();
    });
    addCalculatedColumn(QStringLiteral("VOAGE"), [](const RecordSet& s, int row) {
      return QVariant(ClientAgeText(s.value(row, QStringLiteral("DBIRTH")), s.today()));
    });
  } else if (table.compare(QStringLiteral("VODATA"), Qt::CaseInsensitive) == 0) {
    addCalculatedColumn(QStringLiteral("STNO"), recordNumber);
    addCalculatedColumn(QStringLiteral("VODATE_C"), [](const RecordSet& s, int row) {
      const QVariant v = s.value(row, QStringLiteral("VODATE"));
      const QDateTime dt = v.isNull() ? QDateTime() : ruto::fromOleDate(v.toDouble());
      return dt.isValid() ? QVariant(dt.date()) : QVariant();
    });
    addCalculatedColumn(QStringLiteral("VODATE_T"), [](const RecordSet& s, int row) {
      const QVariant v = s.value(row, QStringLiteral("VODATE"));
      const QDateTime dt = v.isNull() ? QDateTime() : ruto::fromOleDate(v.toDouble());
      return dt.isValid() ? QVariant(dt.time()) : QVariant();
    });
    addCalculatedColumn(QStringLiteral("VOVOTA_C"), [](const RecordSet& s, int row) {
      return QVariant(PotentialText(s.value(row, QStringLiteral("VOVOTA"))));
    });
  } else if (table.compare(QStringLiteral("VOPRO"), Qt::CaseInsensitive) == 0 ||
             table.compare(QStringLiteral("VOPRDT"), Qt::CaseInsensitive) == 0) {
    addCalculatedColumn(QStringLiteral("CoNo"),
                        [](const RecordSet&, int row) { return QVariant(row + 1); });
    if (table.compare(QStringLiteral("VOPRDT"), Qt::CaseInsensitive) == 0)
      addCalculatedColumn(QStringLiteral("ProFlgC"), [](const RecordSet& s, int row) {
        return QVariant(s.value(row, QStringLiteral("ProFlg")).toBool() ? QStringLiteral("X")
                                                                        : QString());
      });
  }
}

QSqlDatabase RecordSet::database() const { return QSqlDatabase::database(connection_, false); }

bool RecordSet::fail(const QString& text) {
  error_ = text;
  return false;
}

bool RecordSet::open() {
  close();
  if (!readColumns() || !readRows()) return false;
  open_ = true;
  position_ = keys_.empty() ? -1 : 0;
  return true;
}

void RecordSet::close() {
  open_ = false;
  clearRows();
  position_ = -1;
}

void RecordSet::clearRows() {
  for (ColumnCells& c : columns_) {
    c.type.clear();
    c.slot.clear();
  }
  arena_.clear();
  order_.clear();
  keys_.clear();
}

bool RecordSet::readColumns() {
  QSqlDatabase db = database();
  if (!db.isOpen()) return fail(QStringLiteral("connection %1 is not open").arg(connection_));
  const QStringList tables = db.tables(QSql::Tables);
  const auto it = std::find_if(tables.begin(), tables.end(), [&](const QString& t) {
    return t.compare(table_, Qt::CaseInsensitive) == 0;
  });
  if (it == tables.end()) return fail(QStringLiteral("no table %1").arg(table_));
  table_ = *it;
  const QSqlRecord record = db.record(table_);
  stored_.clear();
  for (int i = 0; i < record.count(); ++i) stored_ << record.fieldName(i);
  keyColumn_ = storedIndex(kKeyColumn);
  // A sort or link chosen before opening names columns only now known.
  for (const RecordSort& key : sort_)
    if (storedIndex(key.column) < 0) return fail(QStringLiteral("no column %1").arg(key.column));
  if (!linkColumn_.isEmpty() && storedIndex(linkColumn_) < 0)
    return fail(QStringLiteral("no column %1").arg(linkColumn_));
  return true;
}

bool RecordSet::textFits(const QString& column, const QVariant& value) {
  if (value.typeId() != QMetaType::QString) return true;
  // The main tables' text columns have their widths: no stored text is longer.
  const int width = TransferColumnWidth(table_, column);
  const qsizetype size = static_cast<const QString*>(value.constData())->size();
  if (width <= 0 || size <= width) return true;
  return fail(QStringLiteral("資料表 %1 的欄位 %2 最多只能存放 %3 個字元（輸入了 %4 個字元）。")
                  .arg(table_, column)
                  .arg(width)
                  .arg(size));
}

int RecordSet::storedIndex(const QString& name) const {
  for (int i = 0; i < stored_.size(); ++i)
    if (stored_[i].compare(name, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

bool RecordSet::readRows() {
  QStringList columns;
  for (const QString& c : stored_) columns << QuotedIdentifier(c);
  // Rows come in the table's own order and are sorted here: following a sort index would
  // visit the table in random order, which costs more than the sort.
  QString sql =
      QStringLiteral("SELECT %1 FROM %2").arg(columns.join(u','), QuotedIdentifier(table_));
  if (!linkColumn_.isEmpty())
    sql += QStringLiteral(" WHERE %1 = ?").arg(QuotedIdentifier(stored_[storedIndex(linkColumn_)]));

  sqlite3* db = SqliteHandle(database());
  if (!db) return fail(QStringLiteral("connection %1 is not an SQLite database").arg(connection_));
  const int n = static_cast<int>(stored_.size());
  columns_.assign(static_cast<std::size_t>(n), ColumnCells{});
  for (int c = 0; c < n; ++c) {
    const char* collation = nullptr;
    if (sqlite3_table_column_metadata(db, nullptr, table_.toUtf8().constData(),
                                      stored_[c].toUtf8().constData(), nullptr, &collation, nullptr,
                                      nullptr, nullptr) == SQLITE_OK &&
        collation)
      columns_[c].collation = collationOf(collation);
  }
  clearRows();

  sqlite3_stmt* stmt = nullptr;
  const QByteArray text = sql.toUtf8();
  if (sqlite3_prepare_v2(db, text.constData(), static_cast<int>(text.size()), &stmt, nullptr) !=
      SQLITE_OK) {
    const QString error = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(stmt);
    return fail(error);
  }
  if (!linkColumn_.isEmpty()) bindValue(stmt, 1, linkValue_);
  // Arrays sized once from the row count: grown by doubling they would hold up to twice the
  // memory the rows need.
  {
    sqlite3_stmt* count = nullptr;
    const QByteArray countSql = QStringLiteral("SELECT COUNT(*) FROM (%1)").arg(sql).toUtf8();
    if (sqlite3_prepare_v2(db, countSql.constData(), static_cast<int>(countSql.size()), &count,
                           nullptr) == SQLITE_OK) {
      if (!linkColumn_.isEmpty()) bindValue(count, 1, linkValue_);
      if (sqlite3_step(count) == SQLITE_ROW) {
        const auto rows = static_cast<std::size_t>(sqlite3_column_int64(count, 0));
        for (ColumnCells& column : columns_) {
          column.type.reserve(rows);
          column.slot.reserve(rows);
        }
      }
    }
    sqlite3_finalize(count);
  }
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    for (int c = 0; c < n; ++c) {
      ColumnCells& column = columns_[c];
      switch (sqlite3_column_type(stmt, c)) {
        case SQLITE_INTEGER:
          column.type.push_back(cInteger);
          column.slot.push_back(sqlite3_column_int64(stmt, c));
          break;
        case SQLITE_FLOAT: {
          const double d = sqlite3_column_double(stmt, c);
          std::int64_t bits = 0;
          std::memcpy(&bits, &d, sizeof bits);
          column.type.push_back(cReal);
          column.slot.push_back(bits);
          break;
        }
        case SQLITE_TEXT:
        case SQLITE_BLOB: {
          const bool isText = sqlite3_column_type(stmt, c) == SQLITE_TEXT;
          const void* data = isText ? static_cast<const void*>(sqlite3_column_text(stmt, c))
                                    : sqlite3_column_blob(stmt, c);
          const int size = sqlite3_column_bytes(stmt, c);
          column.type.push_back(isText ? cText : cBlob);
          column.slot.push_back(static_cast<std::int64_t>(arena_.size()));
          putBytes(arena_, static_cast<const char*>(data), static_cast<std::size_t>(size));
          break;
        }
        default:
          column.type.push_back(cNull);
          column.slot.push_back(0);
          break;
      }
    }
  }
  const QString error = QString::fromUtf8(sqlite3_errmsg(db));
  sqlite3_finalize(stmt);
  if (rc != SQLITE_DONE) {
    clearRows();
    return fail(error);
  }
  arena_.shrink_to_fit();
  sortRows();
  return true;
}

bool RecordSet::sortNow() {
  if (!open_) return open();
  const qint64 key = bookmark();
  sortRows();
  if (key) gotoBookmark(key);
  return true;
}

int RecordSet::compareCells(std::size_t a, std::size_t b, int column) const {
  const ColumnCells& c = columns_[static_cast<std::size_t>(column)];
  const std::uint8_t ta = c.type[a], tb = c.type[b];
  // SQLite's order of kinds: NULL, numbers, texts, blobs.
  const auto rank = [](std::uint8_t t) { return t == cReal ? std::uint8_t{cInteger} : t; };
  if (rank(ta) != rank(tb)) return rank(ta) < rank(tb) ? -1 : 1;
  switch (ta) {
    case cNull:
      return 0;
    case cInteger:
    case cReal: {
      if (ta == cInteger && tb == cInteger)
        return c.slot[a] == c.slot[b] ? 0 : (c.slot[a] < c.slot[b] ? -1 : 1);
      const auto number = [&](std::uint8_t t, std::int64_t v) {
        if (t == cInteger) return static_cast<long double>(v);
        double d = 0;
        std::memcpy(&d, &v, sizeof d);
        return static_cast<long double>(d);
      };
      const long double x = number(ta, c.slot[a]), y = number(tb, c.slot[b]);
      return x == y ? 0 : (x < y ? -1 : 1);
    }
    default: {
      const auto [pa, na] = getBytes(arena_, c.slot[a]);
      const auto [pb, nb] = getBytes(arena_, c.slot[b]);
      return compareText(pa, na, pb, nb, ta == cText ? c.collation : kBinary);
    }
  }
}

void RecordSet::sortRows() {
  const std::size_t rows = columns_.empty() ? 0 : columns_[0].type.size();
  order_.resize(rows);
  std::iota(order_.begin(), order_.end(), 0u);
  std::vector<std::pair<int, bool>>& keys = appliedSort_;
  keys.clear();
  for (const RecordSort& key : sort_) keys.emplace_back(storedIndex(key.column), key.descending);
  const auto key = [this](std::size_t r) -> std::int64_t {
    if (keyColumn_ < 0 || columns_[keyColumn_].type[r] != cInteger) return 0;
    return columns_[keyColumn_].slot[r];
  };
  // Equal sort values keep key order, so a refresh never shuffles them.
  std::stable_sort(order_.begin(), order_.end(), [&](std::uint32_t a, std::uint32_t b) {
    for (const auto& [column, descending] : keys) {
      const int r = compareCells(a, b, column);
      if (r != 0) return descending ? r > 0 : r < 0;
    }
    if (keyColumn_ >= 0) return key(a) < key(b);
    return a < b;
  });
  keys_.resize(rows);
  for (std::size_t i = 0; i < rows; ++i) keys_[i] = key(order_[i]);
}

QVariant RecordSet::cell(std::size_t read, int column) const {
  const ColumnCells& c = columns_[static_cast<std::size_t>(column)];
  const std::int64_t slot = c.slot[read];
  switch (c.type[read]) {
    case cInteger:
      return QVariant(static_cast<qlonglong>(slot));
    case cReal: {
      double d = 0;
      std::memcpy(&d, &slot, sizeof d);
      return QVariant(d);
    }
    case cText: {
      const auto [p, n] = getBytes(arena_, slot);
      return QVariant(QString::fromUtf8(p, static_cast<qsizetype>(n)));
    }
    case cBlob: {
      const auto [p, n] = getBytes(arena_, slot);
      return QVariant(QByteArray(p, static_cast<qsizetype>(n)));
    }
    default:
      return QVariant();
  }
}

bool RecordSet::setSort(const QList<RecordSort>& keys) {
  if (open_)
    for (const RecordSort& key : keys)
      if (storedIndex(key.column) < 0) return fail(QStringLiteral("no column %1").arg(key.column));
  sort_ = keys;
  return true;
}

bool RecordSet::setSort(const QString& sortText) {
  QList<RecordSort> keys;
  for (const QString& item : sortText.split(u',', Qt::SkipEmptyParts)) {
    const QStringList words = item.simplified().split(u' ');
    if (words.isEmpty() || words[0].isEmpty() || words.size() > 2)
      return fail(QStringLiteral("bad sort %1").arg(sortText));
    RecordSort key{words[0], false};
    if (words.size() == 2) {
      if (words[1].compare(QStringLiteral("DESC"), Qt::CaseInsensitive) == 0)
        key.descending = true;
      else if (words[1].compare(QStringLiteral("ASC"), Qt::CaseInsensitive) != 0)
        return fail(QStringLiteral("bad sort %1").arg(sortText));
    }
    keys << key;
  }
  return setSort(keys);
}

bool RecordSet::setLink(const QString& column, const QVariant& value) {
  if (open_ && !column.isEmpty() && storedIndex(column) < 0)
    return fail(QStringLiteral("no column %1").arg(column));
  linkColumn_ = column;
  linkValue_ = value;
  return true;
}

bool RecordSet::refresh() {
  if (!open_) return open();
  const qint64 key = bookmark();
  const int oldPosition = position_;
  if (!readRows()) {
    position_ = -1;
    return false;
  }
  const int row = key ? rowOfKey(key) : -1;
  if (row >= 0)
    position_ = row;
  else
    position_ = keys_.empty() ? -1 : std::clamp(oldPosition, 0, rowCount() - 1);
  return true;
}

QStringList RecordSet::columnNames() const {
  QStringList names = stored_;
  for (const Calculated& c : calculated_) names << c.name;
  return names;
}

int RecordSet::columnIndex(const QString& name) const {
  const int i = storedIndex(name);
  if (i >= 0) return i;
  for (size_t c = 0; c < calculated_.size(); ++c)
    if (calculated_[c].name.compare(name, Qt::CaseInsensitive) == 0)
      return static_cast<int>(stored_.size() + c);
  return -1;
}

QVariant RecordSet::value(int row, int column) const {
  if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return {};
  const int n = static_cast<int>(stored_.size());
  if (column < n) return cell(order_[static_cast<std::size_t>(row)], column);
  return calculated_[column - n].calculator(*this, row);
}

QVariant RecordSet::value(int row, const QString& column) const {
  return value(row, columnIndex(column));
}

qint64 RecordSet::keyAt(int row) const { return row >= 0 && row < rowCount() ? keys_[row] : 0; }

bool RecordSet::setPosition(int row) {
  if (row < 0 || row >= rowCount()) return false;
  position_ = row;
  return true;
}

bool RecordSet::next() { return setPosition(position_ + 1); }
bool RecordSet::prior() { return setPosition(position_ - 1); }

QVariant RecordSet::field(const QString& column) const { return value(position_, column); }

int RecordSet::find(const QString& column, const QVariant& value, LocateOptions options,
                    int from) const {
  const int c = columnIndex(column);
  if (c < 0) return -1;
  // Texts are compared in place where the key is plain ASCII: a search typed into a list of
  // 100,000 clients must not build a string per row.
  QByteArray ascii;
  const bool fast = !isCalculated(c) && !isNumber(value) && !value.isNull() && [&] {
    const QString key = value.toString();
    for (QChar ch : key)
      if (ch.unicode() >= 0x80) return false;
    ascii = key.toLatin1();
    return true;
  }();
  const bool whole = !options.testFlag(LocateOption::PartialKey);
  const bool caseless = options.testFlag(LocateOption::CaseInsensitive);
  int start = std::max(from, 0);
  // On the column the rows are sorted by (ascending, compared as the key is), the rows that
  // match lie together from the first one not below the key: found by halving.
  const ColumnCells* sortedColumn =
      fast && !appliedSort_.empty() && appliedSort_[0].first == c && !appliedSort_[0].second
          ? &columns_[static_cast<std::size_t>(c)]
          : nullptr;
  if (sortedColumn && sortedColumn->collation == (caseless ? kNocase : kBinary)) {
    const auto below = [&](std::uint32_t read) {
      if (sortedColumn->type[read] < cText) return true;
      if (sortedColumn->type[read] > cText) return false;
      const auto [p, n] = getBytes(arena_, sortedColumn->slot[read]);
      return compareText(p, n, ascii.constData(), static_cast<std::size_t>(ascii.size()),
                         sortedColumn->collation) < 0;
    };
    const auto first =
        std::partition_point(order_.begin() + std::min(start, rowCount()), order_.end(), below);
    const int row = static_cast<int>(first - order_.begin());
    if (row >= rowCount()) return -1;
    const std::uint32_t read = *first;
    if (sortedColumn->type[read] == cText) {
      const auto [p, n] = getBytes(arena_, sortedColumn->slot[read]);
      const int r = asciiPrefixMatch(p, n, ascii, whole, caseless);
      if (r == 1) return row;
      if (r == 0) return -1;
    }
    start = row;  // not decided in place: compare the rest one by one
  }
  for (int row = start; row < rowCount(); ++row) {
    if (fast) {
      const std::size_t read = order_[static_cast<std::size_t>(row)];
      if (columns_[static_cast<std::size_t>(c)].type[read] == cText) {
        const auto [p, n] = getBytes(arena_, columns_[static_cast<std::size_t>(c)].slot[read]);
        const int r = asciiPrefixMatch(p, n, ascii, whole, caseless);
        if (r >= 0) {
          if (r == 1) return row;
          continue;
        }
      }
    }
    if (matches(this->value(row, c), value, options)) return row;
  }
  return -1;
}

bool RecordSet::locate(const QString& column, const QVariant& value, LocateOptions options) {
  return setPosition(find(column, value, options));
}

qint64 RecordSet::bookmark() const { return keyAt(position_); }

bool RecordSet::gotoBookmark(qint64 key) { return setPosition(rowOfKey(key)); }

int RecordSet::rowOfKey(qint64 key) const {
  const auto it = std::find(keys_.begin(), keys_.end(), key);
  return it == keys_.end() ? -1 : static_cast<int>(it - keys_.begin());
}

void RecordSet::addCalculatedColumn(const QString& name, Calculator calculator) {
  calculated_.push_back({name, std::move(calculator)});
}

QDate RecordSet::today() const { return today_.isValid() ? today_ : QDate::currentDate(); }

qint64 RecordSet::insert(const QVariantMap& values) {
  if (stored_.isEmpty() && !readColumns()) return 0;
  QStringList names, marks;
  QVariantList bound;
  for (auto it = values.begin(); it != values.end(); ++it) {
    const int c = storedIndex(it.key());
    if (c < 0 || c == keyColumn_) {
      fail(QStringLiteral("column %1 cannot be written").arg(it.key()));
      return 0;
    }
    if (!textFits(it.key(), it.value())) return 0;
    names << QuotedIdentifier(stored_[c]);
    marks << QStringLiteral("?");
    bound << it.value();
  }
  const QString sql =
      names.isEmpty()
          ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(QuotedIdentifier(table_))
          : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(QuotedIdentifier(table_), names.join(u','), marks.join(u','));
  qint64 key = 0;
  {
    Transaction transaction(connection_);
    if (!transaction.active()) {
      fail(transaction.error());
      return 0;
    }
    QSqlQuery q(database());
    if (!q.prepare(sql)) {
      fail(q.lastError().text());
      return 0;
    }
    for (const QVariant& v : bound) q.addBindValue(v);
    if (!q.exec()) {
      fail(q.lastError().text());
      return 0;
    }
    key = q.lastInsertId().toLongLong();
    q.finish();
    QString error;
    if (!transaction.commit(&error)) {
      fail(error);
      return 0;
    }
  }
  if (open_ && refresh()) gotoBookmark(key);
  return key;
}

bool RecordSet::update(qint64 key, const QVariantMap& values) {
  if (stored_.isEmpty() && !readColumns()) return false;
  if (keyColumn_ < 0) return fail(QStringLiteral("table %1 has no MKEY").arg(table_));
  if (values.isEmpty()) return true;
  QStringList sets;
  QVariantList bound;
  for (auto it = values.begin(); it != values.end(); ++it) {
    const int c = storedIndex(it.key());
    if (c < 0 || c == keyColumn_)
      return fail(QStringLiteral("column %1 cannot be written").arg(it.key()));
    if (!textFits(it.key(), it.value())) return false;
    sets << QuotedIdentifier(stored_[c]) + QStringLiteral(" = ?");
    bound << it.value();
  }
  {
    Transaction transaction(connection_);
    if (!transaction.active()) return fail(transaction.error());
    QSqlQuery q(database());
    if (!q.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                       .arg(QuotedIdentifier(table_), sets.join(u','),
                            QuotedIdentifier(stored_[keyColumn_]))))
      return fail(q.lastError().text());
    for (const QVariant& v : bound) q.addBindValue(v);
    q.addBindValue(key);
    if (!q.exec()) return fail(q.lastError().text());
    if (q.numRowsAffected() != 1) return fail(QStringLiteral("no row with MKEY %1").arg(key));
    q.finish();
    QString error;
    if (!transaction.commit(&error)) return fail(error);
  }
  if (open_ && refresh()) gotoBookmark(key);
  return true;
}

bool RecordSet::remove(qint64 key) {
  if (stored_.isEmpty() && !readColumns()) return false;
  if (keyColumn_ < 0) return fail(QStringLiteral("table %1 has no MKEY").arg(table_));
  {
    Transaction transaction(connection_);
    if (!transaction.active()) return fail(transaction.error());
    QSqlQuery q(database());
    if (!q.prepare(QStringLiteral("DELETE FROM %1 WHERE %2 = ?")
                       .arg(QuotedIdentifier(table_), QuotedIdentifier(stored_[keyColumn_]))))
      return fail(q.lastError().text());
    q.addBindValue(key);
    if (!q.exec()) return fail(q.lastError().text());
    q.finish();
    QString error;
    if (!transaction.commit(&error)) return fail(error);
  }
  return !open_ || refresh();
}

int RecordSet::removeWhere(const QString& column, const QVariant& value) {
  if (stored_.isEmpty() && !readColumns()) return -1;
  const int c = storedIndex(column);
  if (c < 0) {
    fail(QStringLiteral("no column %1").arg(column));
    return -1;
  }
  int removed = 0;
  {
    Transaction transaction(connection_);
    if (!transaction.active()) {
      fail(transaction.error());
      return -1;
    }
    {
      QSqlQuery q(database());
      if (!q.prepare(QStringLiteral("DELETE FROM %1 WHERE %2 = ?")
                         .arg(QuotedIdentifier(table_), QuotedIdentifier(stored_[c])))) {
        fail(q.lastError().text());
        return -1;
      }
      q.addBindValue(value);
      if (!q.exec()) {
        fail(q.lastError().text());
        return -1;
      }
      removed = q.numRowsAffected();
    }
    QString error;
    if (!transaction.commit(&error)) {
      fail(error);
      return -1;
    }
  }
  if (open_ && !refresh()) return -1;
  return removed;
}

Transaction::Transaction(const QString& connectionName)
    : db_(QSqlDatabase::database(connectionName, false)) {
  if (!db_.isOpen()) {
    error_ = QStringLiteral("database connection not open");
    return;
  }
  if (!WaitForWriteVerdict(connectionName, &error_)) return;
  sqlite3* handle = SqliteHandle(db_);
  QSqlQuery q(db_);
  if (handle && !sqlite3_get_autocommit(handle)) {
    // Inside a caller's transaction a savepoint joins it instead of failing.
    static std::atomic<int> counter{0};
    name_ = QStringLiteral("rs_tx_%1").arg(++counter);
    active_ = q.exec(QStringLiteral("SAVEPOINT ") + name_);
  } else {
    active_ = q.exec(QStringLiteral("BEGIN IMMEDIATE"));
  }
  if (!active_) error_ = failureText(q.lastError());
}

Transaction::~Transaction() { rollback(); }

QString Transaction::failureText(const QSqlError& error) const {
  return IsDatabaseBusy(error) ? DatabaseInUseMessage(db_.databaseName()) : error.text();
}

bool Transaction::commit(QString* error) {
  if (!active_) {
    if (error) *error = error_.isEmpty() ? QStringLiteral("no transaction") : error_;
    return false;
  }
  QSqlQuery q(db_);
  if (!q.exec(name_.isEmpty() ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE ") + name_)) {
    if (error) *error = failureText(q.lastError());
    return false;  // still active: the destructor rolls it back
  }
  active_ = false;
  return true;
}

void Transaction::rollback() {
  if (!active_) return;
  QSqlQuery q(db_);
  if (name_.isEmpty()) {
    q.exec(QStringLiteral("ROLLBACK"));
  } else {
    q.exec(QStringLiteral("ROLLBACK TO ") + name_);
    q.exec(QStringLiteral("RELEASE ") + name_);
  }
  active_ = false;
}

QDate BirthDateShown(const QVariant& dbirth) {
  if (dbirth.isNull() || !(dbirth.toDouble() > 4000.0)) return {};
  return ruto::fromOleDate(dbirth.toDouble()).date();
}

QString ClientAgeText(const QVariant& dbirth, const QDate& today) {
  const QDate birth = BirthDateShown(dbirth);
  if (!birth.isValid()) return {};
  return ruto::Format(QStringLiteral("%3d"), {static_cast<long long>(today.year() - birth.year())});
}

QString SexText(const QVariant& sex) {
  return sex.toBool() ? QStringLiteral("男") : QStringLiteral("女");
}

QString PotentialText(const QVariant& vovota) {
  return vovota.toBool() ? QStringLiteral("高電位") : QStringLiteral("標準");
}

}  // namespace ruto
