#include "app/KeyedMerge.h"

#include <sqlite3.h>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <cmath>
#include <limits>
#include <vector>

#include "app/SqliteAccess.h"
#include "app/TransferColumns.h"
#include "base/Text.h"

namespace ruto {

namespace {

// Numbers compare as the NOCASE columns do: ASCII letters without regard to case.
QString fold(const QString& key) {
  QString out = key;
  for (QChar& c : out)
    if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + 32);
  return out;
}

// Names compare exactly after trimming blanks at both ends.
QString nameOf(const QVariant& v) { return v.toString().trimmed(); }

// The rows of one table of the source, as the target will receive them.
struct SourceTable {
  QList<TransferColumn> columns;  // the whole list
  std::vector<int> sourceIndex;   // per column: index in the SELECT, -1 when not read
  QStringList names;              // the SELECT's columns, quoted
  QString from;                   // the table, quoted
  TransferStatement query;
  QString table;
  QString error;
  // `error` is a whole sentence about a text value, not a note to put after the table.
  bool textProblem = false;
  bool failed = false;
  bool next() { return query.next(&failed); }
};

bool openSource(const QString& connection, const QString& table, SourceTable* t) {
  const QSqlDatabase db = QSqlDatabase::database(connection, false);
  const QSqlRecord record = db.record(table);
  if (record.isEmpty()) return t->error = table + QStringLiteral(": no such table"), false;
  t->table = table;
  t->columns = TransferColumns(table);
  QStringList& names = t->names;
  t->from = QuotedIdentifier(table);
  const QStringList fromNames = TransferSourceNames(record, t->columns);
  for (qsizetype i = 0; i < t->columns.size(); ++i) {
    if (fromNames[i].isEmpty() && t->columns[i].run != 0) {
      t->sourceIndex.push_back(-1);
      continue;
    }
    if (fromNames[i].isEmpty())
      return t->error = table + QStringLiteral(": no column ") + t->columns[i].name, false;
    t->sourceIndex.push_back(static_cast<int>(names.size()));
    names << QuotedIdentifier(fromNames[i]);
  }
  const int key = record.indexOf(QStringLiteral("MKEY"));
  const QString sql =
      QStringLiteral("SELECT %1 FROM %2").arg(names.join(u','), QuotedIdentifier(table)) +
      (key < 0 ? QString()
               : QStringLiteral(" ORDER BY ") + QuotedIdentifier(record.fieldName(key)));
  QString error;
  if (!t->query.prepare(SqliteHandle(db), sql, &error))
    return t->error = table + QStringLiteral(": ") + error, false;
  return true;
}

// Converts the current row of the source; a value of an optional run that does not convert
// ends that run for the row.
bool convertRow(SourceTable& t, int rowNumber, std::vector<TransferCell>* out) {
  const int bad = ConvertTransferRow(t.columns, t.sourceIndex, t.query, out);
  if (bad < 0) return true;
  const int at = t.sourceIndex[static_cast<size_t>(bad)];
  const QString problem = TransferTextProblem(t.table, rowNumber, t.columns[bad], t.query, at);
  if (!problem.isEmpty()) return t.error = problem, t.textProblem = true, false;
  t.error = QStringLiteral(" row %1, column %2: the value %3 does not fit")
                .arg(rowNumber)
                .arg(t.columns[bad].name,
                     t.query.value(t.sourceIndex[static_cast<size_t>(bad)]).toString().left(40));
  return false;
}

// A cell's value as text, as a variant of it reads (empty when null).
QString textOf(const TransferCell& cell) {
  switch (cell.kind) {
    case TransferCell::Text:
    case TransferCell::Blob:
      return QString::fromUtf8(cell.data, cell.size);
    case TransferCell::Null:
      return {};
    default:
      return TransferCellValue(cell).toString();
  }
}

// fold() of the cell's text, kept as UTF-8: only ASCII capitals change, which UTF-8 keeps
// as single bytes.
QByteArray foldedBytes(const TransferCell& cell) {
  QByteArray out =
      cell.kind == TransferCell::Text ? QByteArray(cell.data, cell.size) : textOf(cell).toUtf8();
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return out;
}

void setText(TransferCell* cell, const QByteArray& utf8) {
  cell->setText(utf8);
  // A null byte array would bind as null; the number is empty text at most.
  if (!cell->data) cell->data = "";
}

int indexOf(const QList<TransferColumn>& list, const QString& name) {
  for (qsizetype i = 0; i < list.size(); ++i)
    if (list[i].name.compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
  return -1;
}

bool prepareInsert(TransferInserter& q, const QSqlDatabase& db, const QString& table,
                   const QList<TransferColumn>& columns, QString* error) {
  QStringList names;
  for (const TransferColumn& c : columns) names << QuotedIdentifier(c.name);
  if (q.prepare(SqliteHandle(db), QuotedIdentifier(table), names, error)) return true;
  *error = table + QStringLiteral(": ") + *error;
  return false;
}

// Rows go in through `q`; false with the table's name before the error.
bool written(bool ok, const QString& table, QString* error) {
  if (!ok) *error = table + QStringLiteral(": ") + *error;
  return ok;
}

// One value in a form that compares equal exactly when the values are equal as the column's
// type has them: numbers by value, texts and bytes by their bytes.
void appendNormalized(TransferType type, const TransferCell& cell, QByteArray* out) {
  const auto number = [out](char tag, const void* value) {
    out->append(tag);
    out->append(static_cast<const char*>(value), 8);
  };
  const auto bytes = [out](char tag, const char* data, qsizetype size) {
    const qint64 n = size;
    out->append(tag);
    out->append(reinterpret_cast<const char*>(&n), sizeof n);
    out->append(data, size);
  };
  if (cell.kind == TransferCell::Null) {
    out->append('\0');
    return;
  }
  switch (type) {
    case TransferType::Boolean:
    case TransferType::Long: {
      const qint64 v =
          cell.kind == TransferCell::Integer ? cell.integer : TransferCellValue(cell).toLongLong();
      number('i', &v);
      return;
    }
    case TransferType::DateTime:
    case TransferType::Double: {
      double d = cell.kind == TransferCell::Real      ? cell.real
                 : cell.kind == TransferCell::Integer ? static_cast<double>(cell.integer)
                                                      : TransferCellValue(cell).toDouble();
      if (std::isnan(d)) d = std::numeric_limits<double>::quiet_NaN();
      number('d', &d);
      return;
    }
    case TransferType::Bytes:
      if (cell.kind == TransferCell::Blob || cell.kind == TransferCell::Text) {
        bytes('b', cell.data, cell.size);
      } else {
        const QByteArray b = TransferCellValue(cell).toByteArray();
        bytes('b', b.constData(), b.size());
      }
      return;
    case TransferType::Text:
      if (cell.kind == TransferCell::Text) {
        bytes('t', cell.data, cell.size);
      } else {
        const QByteArray b = TransferCellValue(cell).toString().toUtf8();
        bytes('t', b.constData(), b.size());
      }
      return;
  }
}

// The row without its link, which the rows are grouped by.
QByteArray signature(const QList<TransferColumn>& columns, const std::vector<TransferCell>& values,
                     int linkAt) {
  QByteArray s;
  for (qsizetype i = 0; i < columns.size(); ++i)
    if (i != linkAt) appendNormalized(columns[i].type, values[static_cast<size_t>(i)], &s);
  return s;
}

// Column `i` of the current row as SQLite holds it.
void storedCell(sqlite3_stmt* st, int i, TransferCell* cell) {
  cell->kind = TransferCell::Null;
  switch (sqlite3_column_type(st, i)) {
    case SQLITE_INTEGER:
      cell->kind = TransferCell::Integer;
      cell->integer = sqlite3_column_int64(st, i);
      break;
    case SQLITE_FLOAT:
      cell->kind = TransferCell::Real;
      cell->real = sqlite3_column_double(st, i);
      break;
    case SQLITE_TEXT:
      cell->data = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
      cell->size = sqlite3_column_bytes(st, i);
      if (cell->data) cell->kind = TransferCell::Text;
      break;
    case SQLITE_BLOB:
      cell->data = static_cast<const char*>(sqlite3_column_blob(st, i));
      cell->size = sqlite3_column_bytes(st, i);
      if (!cell->data) cell->data = "";  // an empty blob comes without bytes
      cell->kind = TransferCell::Blob;
      break;
  }
}

// ruto_text_fits(width, value, width, value, ...): 1 when every value is null or text or bytes
// a text column of its width holds (TransferTextFits); 0 for anything else, numbers included,
// whose text form the conversion then checks. One call a row: calls cost more than the check.
void textFits(sqlite3_context* context, int count, sqlite3_value** args) {
  for (int i = 0; i + 1 < count; i += 2) {
    sqlite3_value* v = args[i + 1];
    const int type = sqlite3_value_type(v);
    if (type == SQLITE_NULL) continue;
    const void* data = type == SQLITE_TEXT   ? static_cast<const void*>(sqlite3_value_text(v))
                       : type == SQLITE_BLOB ? sqlite3_value_blob(v)
                                             : nullptr;
    if ((type != SQLITE_TEXT && type != SQLITE_BLOB) ||
        !TransferTextFits(static_cast<const char*>(data), sqlite3_value_bytes(v),
                          sqlite3_value_int(args[i])))
      return sqlite3_result_int(context, 0);
  }
  sqlite3_result_int(context, 1);
}

// Whether some value of a required column might not convert. Numbers within the ranges the
// columns take, text that fits its column and anything bound for bytes always convert: one
// scan in SQL clears the common file without converting a value. True also when the scan
// cannot run.
bool mayFailToConvert(const QString& connection, const SourceTable& t) {
  QStringList risky, texts;
  for (qsizetype i = 0; i < t.columns.size(); ++i) {
    const TransferColumn& c = t.columns[i];
    const int at = t.sourceIndex[static_cast<size_t>(i)];
    if (c.run != 0 || at < 0) continue;  // a failure in an optional run only ends the run
    const QString& name = t.names[at];
    // Text and bytes sort after every number and ('' taking no number's form whatever the
    // column's type) at or after the empty text: one comparison finds a value that is no
    // number, and comparisons with numbers the numbers out of range.
    const QString notNumber = QStringLiteral("%1 >= ''").arg(name);
    const auto outside = [&](const char* low, const char* high) {
      return QStringLiteral("(%1 >= '' OR %1 %2 OR %1 %3)")
          .arg(name, QString::fromLatin1(low), QString::fromLatin1(high));
    };
    switch (c.type) {
      case TransferType::Text:
        // Every text is checked for its width and for being text at all.
        texts << QString::number(c.width) << name;
        break;
      case TransferType::Bytes:
        break;
      case TransferType::Boolean:
      case TransferType::Double:
        risky << notNumber;
        break;
      case TransferType::DateTime:
        // Through its text form a day converts without fail only well inside the calendar.
        risky << (c.access == TransferAccess::Text ? outside("<= -300000.0", ">= 2958000.0")
                                                   : notNumber);
        break;
      case TransferType::Long:
        risky << outside("< -2147483648.0", "> 2147483647.0");
        break;
    }
  }
  if (!texts.isEmpty())
    risky << QStringLiteral("NOT ruto_text_fits(%1)").arg(texts.join(QStringLiteral(", ")));
  if (risky.isEmpty()) return false;
  sqlite3* db = SqliteHandle(QSqlDatabase::database(connection, false));
  // Only this program's own statements may call it (never the file's schema).
  if (!db || sqlite3_create_function_v2(db, "ruto_text_fits", -1,
                                        SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_DIRECTONLY,
                                        nullptr, textFits, nullptr, nullptr, nullptr) != SQLITE_OK)
    return true;
  TransferStatement scan;
  QString error;
  if (!scan.prepare(db,
                    QStringLiteral("SELECT 1 FROM %1 WHERE %2 LIMIT 1")
                        .arg(t.from, risky.join(QStringLiteral(" OR "))),
                    &error))
    return true;
  bool failed = false;
  return scan.next(&failed) || failed;
}

}  // namespace

int TKeyedGroup::keyWidth() const { return TransferColumnWidth(master, key); }

QString RenamedKey(const QString& key, int n, int width) {
  const QString suffix = u'-' + QString::number(n);
  return key.left(qMax(0, width - static_cast<int>(suffix.size()))) + suffix;
}

bool CheckGroupKeys(const QString& source, const TKeyedGroup& group, QString* error) {
  sqlite3* db = SqliteHandle(QSqlDatabase::database(source, false));
  const int width = group.keyWidth();
  for (const QString& table : {group.master, group.detail}) {
    TransferStatement q;
    QString failure;
    if (!q.prepare(db,
                   QStringLiteral("SELECT %1 FROM %2")
                       .arg(QuotedIdentifier(group.key), QuotedIdentifier(table)),
                   &failure)) {
      // Worded as Qt SQL words it.
      *error =
          table + QStringLiteral(": ") + failure + QStringLiteral(" Unable to execute statement");
      return false;
    }
    bool failed = false;
    while (q.next(&failed)) {
      // Plain ASCII text is judged on its bytes: its length is its number of characters.
      sqlite3_stmt* st = q.handle();
      if (sqlite3_column_type(st, 0) == SQLITE_TEXT) {
        const auto* text = sqlite3_column_text(st, 0);
        const int size = sqlite3_column_bytes(st, 0);
        bool ascii = text != nullptr, blank = true;
        for (int i = 0; i < size && ascii; ++i) {
          ascii = text[i] < 0x80;
          blank = blank && text[i] <= 0x20;
        }
        if (ascii && !blank && size <= width) continue;
      }
      const QString key = q.value(0).toString();
      if (ruto::Trim(key).isEmpty() || key.size() > width) {
        *error = QStringLiteral("%1.%2: 「%3」").arg(table, group.key, key.left(40));
        return false;
      }
    }
    // A read that breaks off ends the check; the copy that follows reports it.
  }
  return true;
}

bool CheckGroupValues(const QString& source, const TKeyedGroup& group, QString* error) {
  for (const QString& table : {group.master, group.detail}) {
    SourceTable t;
    if (!openSource(source, table, &t)) return *error = t.error, false;
    if (!mayFailToConvert(source, t)) continue;
    std::vector<TransferCell> values;
    int rowNumber = 0;
    while (t.next())
      if (!convertRow(t, ++rowNumber, &values))
        return *error = t.textProblem ? t.error : table + t.error, false;
    if (t.failed) return *error = table + QStringLiteral(": ") + t.query.errorText(), false;
  }
  return true;
}

bool MergeKeyedGroup(const QString& source, const QString& target, const TKeyedGroup& group,
                     TMergeReport* report, QString* error, const std::function<void()>& rowDone) {
  const QSqlDatabase db = QSqlDatabase::database(target, false);
  QString failure;
  const auto failed = [&](const QString& text) {
    if (error) *error = text;
    return false;
  };

  // What the target holds already: numbers with their names, and its detail rows.
  QHash<QString, QString> names;  // folded number -> trimmed name
  {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT %1, %2 FROM %3")
                    .arg(QuotedIdentifier(group.key), QuotedIdentifier(group.name),
                         QuotedIdentifier(group.master))))
      return failed(group.master + QStringLiteral(": ") + q.lastError().text());
    while (q.next()) names.insert(fold(q.value(0).toString()), nameOf(q.value(1)));
  }
  const QList<TransferColumn>& detailColumns = TransferColumns(group.detail);
  const int linkAt = indexOf(detailColumns, group.key);
  // Folded link -> row signature -> count.
  QHash<QByteArray, QHash<QByteArray, int>> present;
  {
    QStringList cols;
    for (const TransferColumn& c : detailColumns) cols << QuotedIdentifier(c.name);
    TransferStatement q;
    if (!q.prepare(SqliteHandle(db),
                   QStringLiteral("SELECT %1 FROM %2")
                       .arg(cols.join(u','), QuotedIdentifier(group.detail)),
                   &failure))
      return failed(group.detail + QStringLiteral(": ") + failure +
                    QStringLiteral(" Unable to execute statement"));
    std::vector<TransferCell> row(static_cast<size_t>(detailColumns.size()));
    bool readFailed = false;
    while (q.next(&readFailed)) {
      for (size_t i = 0; i < row.size(); ++i) storedCell(q.handle(), static_cast<int>(i), &row[i]);
      ++present[foldedBytes(row[static_cast<size_t>(linkAt)])]
               [signature(detailColumns, row, linkAt)];
    }
    // A read that breaks off leaves fewer rows to skip: the rows then go in again.
  }

  // Masters.
  SourceTable masters;
  if (!openSource(source, group.master, &masters)) return failed(masters.error);
  const int keyAt = indexOf(masters.columns, group.key);
  const int nameAt = indexOf(masters.columns, group.name);
  TransferInserter insert;
  if (!prepareInsert(insert, db, group.master, masters.columns, &failure)) return failed(failure);
  insert.rowDone = [&] {
    ++report->mastersAdded;
    if (rowDone) rowDone();
  };
  // Folded source number -> number in the target, both as stored (UTF-8); a number that
  // stays as it is still maps, since its details may spell it in another case.
  QHash<QByteArray, QByteArray> moved;
  std::vector<TransferCell> values;
  int rowNumber = 0;
  while (masters.next()) {
    ++rowNumber;
    if (!convertRow(masters, rowNumber, &values)) {
      // The rows before it go in first, as they would have one by one.
      if (!written(insert.flush(&failure), group.master, &failure)) return failed(failure);
      return failed(masters.textProblem ? masters.error : group.master + masters.error);
    }
    TransferCell& keyCell = values[static_cast<size_t>(keyAt)];
    const QString key = textOf(keyCell);
    const QString name = textOf(values[static_cast<size_t>(nameAt)]).trimmed();
    QString placed = key;
    bool merge = false;
    for (int n = 2;; ++n) {
      const auto it = names.constFind(fold(placed));
      if (it == names.constEnd()) break;
      if (*it == name) {
        merge = true;
        break;
      }
      placed = RenamedKey(key, n, group.keyWidth());
    }
    const QByteArray foldedKey = foldedBytes(keyCell);
    if (!moved.contains(foldedKey)) moved.insert(foldedKey, placed.toUtf8());
    if (placed != key) report->renamed << key + QStringLiteral(" → ") + placed;
    if (merge) {
      // Rows queued before it are reported first.
      if (!written(insert.flush(&failure), group.master, &failure)) return failed(failure);
      ++report->mastersMerged;
      if (rowDone) rowDone();
    } else {
      // The number goes in as text, whatever the source held.
      if (placed != key || keyCell.kind != TransferCell::Text) setText(&keyCell, placed.toUtf8());
      if (!written(insert.add(values, &failure), group.master, &failure)) return failed(failure);
      names.insert(fold(placed), name);
    }
  }
  if (!written(insert.flush(&failure), group.master, &failure)) return failed(failure);
  if (masters.failed)
    return failed(group.master + QStringLiteral(": ") + masters.query.errorText());

  // Details follow their master; rows already there are not added again.
  SourceTable details;
  if (!openSource(source, group.detail, &details)) return failed(details.error);
  if (!prepareInsert(insert, db, group.detail, details.columns, &failure)) return failed(failure);
  insert.rowDone = [&] {
    ++report->detailsAdded;
    if (rowDone) rowDone();
  };
  rowNumber = 0;
  while (details.next()) {
    ++rowNumber;
    if (!convertRow(details, rowNumber, &values)) {
      // The rows before it go in first, as they would have one by one.
      if (!written(insert.flush(&failure), group.detail, &failure)) return failed(failure);
      return failed(details.textProblem ? details.error : group.detail + details.error);
    }
    TransferCell& linkCell = values[static_cast<size_t>(linkAt)];
    const auto to = moved.constFind(foldedBytes(linkCell));
    if (to != moved.constEnd() &&
        (linkCell.kind != TransferCell::Text ||
         QByteArrayView(linkCell.data, linkCell.size) != QByteArrayView(*to)))
      setText(&linkCell, *to);
    if (!present.isEmpty()) {
      const auto known = present.find(foldedBytes(linkCell));
      if (known != present.end()) {
        const auto same = known->find(signature(details.columns, values, linkAt));
        if (same != known->end() && *same > 0) {
          if (!written(insert.flush(&failure), group.detail, &failure)) return failed(failure);
          --*same;
          ++report->detailsAlreadyThere;
          if (rowDone) rowDone();
          continue;
        }
      }
    }
    if (!written(insert.add(values, &failure), group.detail, &failure)) return failed(failure);
  }
  if (!written(insert.flush(&failure), group.detail, &failure)) return failed(failure);
  if (details.failed)
    return failed(group.detail + QStringLiteral(": ") + details.query.errorText());
  return true;
}

}  // namespace ruto
