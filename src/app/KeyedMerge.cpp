#include "app/KeyedMerge.h"

#include <sqlite3.h>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <vector>

#include "app/TransferColumns.h"
#include "base/Text.h"

namespace ruto {

namespace {

QString quoted(const QString& identifier) {
  QString q = identifier;
  q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + q + QLatin1Char('"');
}

// Numbers compare as the NOCASE columns do: ASCII letters without regard to case.
QString fold(const QString& key) {
  QString out = key;
  for (QChar& c : out)
    if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + 32);
  return out;
}

// Names compare exactly after trimming blanks at both ends.
QString nameOf(const QVariant& v) { return v.toString().trimmed(); }

// One value in a form that compares equal exactly when the stored values are equal.
QString normalized(TransferType type, const QVariant& v) {
  if (v.isNull()) return QStringLiteral("\x01");
  switch (type) {
    case TransferType::Boolean:
    case TransferType::Long:
      return QString::number(v.toLongLong());
    case TransferType::DateTime:
    case TransferType::Double:
      return QString::number(v.toDouble(), 'g', 17);
    case TransferType::Bytes:
      return QString::fromLatin1(v.toByteArray().toHex());
    case TransferType::Text:
      break;
  }
  return v.toString();
}

// Rows are read and written through the connection's own SQLite handle: Qt SQL's per-value
// binding and variants cost several times the copy itself on large transfers.
sqlite3* handleOf(const QSqlDatabase& db) {
  const QVariant v = db.driver() ? db.driver()->handle() : QVariant();
  if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0) return nullptr;
  return *static_cast<sqlite3* const*>(v.constData());
}

// A prepared statement, finalized when it goes.
class Statement {
 public:
  Statement() = default;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement() { sqlite3_finalize(stmt_); }
  bool prepare(sqlite3* db, const QString& sql, QString* error) {
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
  // True on a row; at the end or on an error false, with `failed` telling which.
  bool next(bool* failed) {
    const int rc = sqlite3_step(stmt_);
    *failed = rc != SQLITE_ROW && rc != SQLITE_DONE;
    return rc == SQLITE_ROW;
  }
  QVariant value(int i) const {
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
  bool run(const QVariantList& values, QString* error) {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
    for (qsizetype i = 0; i < values.size(); ++i) bind(static_cast<int>(i) + 1, values[i]);
    const int rc = sqlite3_step(stmt_);
    sqlite3_reset(stmt_);
    if (rc == SQLITE_DONE) return true;
    *error = errorText();
    return false;
  }
  QString errorText() const { return QString::fromUtf8(sqlite3_errmsg(db_)); }

 private:
  void bind(int index, const QVariant& v) {
    if (v.isNull()) {
      sqlite3_bind_null(stmt_, index);
      return;
    }
    switch (v.typeId()) {
      case QMetaType::Bool:
      case QMetaType::Int:
      case QMetaType::UInt:
      case QMetaType::LongLong:
      case QMetaType::ULongLong:
        sqlite3_bind_int64(stmt_, index, v.toLongLong());
        return;
      case QMetaType::Double:
        sqlite3_bind_double(stmt_, index, v.toDouble());
        return;
      case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        sqlite3_bind_blob64(stmt_, index, b.constData(), static_cast<sqlite3_uint64>(b.size()),
                            SQLITE_TRANSIENT);
        return;
      }
      default: {
        const QByteArray t = v.toString().toUtf8();
        sqlite3_bind_text64(stmt_, index, t.constData(), static_cast<sqlite3_uint64>(t.size()),
                            SQLITE_TRANSIENT, SQLITE_UTF8);
      }
    }
  }
  sqlite3* db_ = nullptr;
  sqlite3_stmt* stmt_ = nullptr;
};

// The rows of one table of the source, as the target will receive them.
struct SourceTable {
  QList<TransferColumn> columns;  // the whole list
  std::vector<int> sourceIndex;   // per column: index in the SELECT, -1 when not read
  Statement query;
  QString error;
  bool failed = false;
  bool next() { return query.next(&failed); }
};

bool openSource(const QString& connection, const QString& table, SourceTable* t) {
  const QSqlDatabase db = QSqlDatabase::database(connection, false);
  const QSqlRecord record = db.record(table);
  if (record.isEmpty()) return t->error = table + QStringLiteral(": no such table"), false;
  t->columns = TransferColumns(table);
  QStringList names;
  int brokenRun = 0;
  for (const TransferColumn& c : t->columns) {
    const int i = record.indexOf(c.name);
    if (c.run != 0 && (c.run == brokenRun || i < 0)) {
      brokenRun = c.run;
      t->sourceIndex.push_back(-1);
      continue;
    }
    if (i < 0) return t->error = table + QStringLiteral(": no column ") + c.name, false;
    t->sourceIndex.push_back(static_cast<int>(names.size()));
    names << quoted(record.fieldName(i));
  }
  const int key = record.indexOf(QStringLiteral("MKEY"));
  const QString sql =
      QStringLiteral("SELECT %1 FROM %2").arg(names.join(u','), quoted(table)) +
      (key < 0 ? QString() : QStringLiteral(" ORDER BY ") + quoted(record.fieldName(key)));
  QString error;
  if (!t->query.prepare(handleOf(db), sql, &error))
    return t->error = table + QStringLiteral(": ") + error, false;
  return true;
}

// Converts the current row of the source; a value of an optional run that does not convert
// ends that run for the row.
bool convertRow(SourceTable& t, int rowNumber, QVariantList* out) {
  out->clear();
  int endedRun = 0;
  for (qsizetype i = 0; i < t.columns.size(); ++i) {
    const TransferColumn& c = t.columns[i];
    const int at = t.sourceIndex[static_cast<size_t>(i)];
    QVariant value;
    if (at >= 0 && !(c.run != 0 && c.run == endedRun) &&
        !ConvertTransferValue(c, t.query.value(at), &value)) {
      if (c.run == 0) {
        t.error = QStringLiteral(" row %1, column %2: the value %3 does not fit")
                      .arg(rowNumber)
                      .arg(c.name, t.query.value(at).toString().left(40));
        return false;
      }
      endedRun = c.run;
      value = QVariant();
    }
    out->append(value);
  }
  return true;
}

int indexOf(const QList<TransferColumn>& list, const QString& name) {
  for (qsizetype i = 0; i < list.size(); ++i)
    if (list[i].name.compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
  return -1;
}

bool prepareInsert(Statement& q, const QSqlDatabase& db, const QString& table,
                   const QList<TransferColumn>& columns, QString* error) {
  QStringList names, marks;
  for (const TransferColumn& c : columns) {
    names << quoted(c.name);
    marks << QStringLiteral("?");
  }
  if (q.prepare(handleOf(db),
                QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                    .arg(quoted(table), names.join(u','), marks.join(u',')),
                error))
    return true;
  *error = table + QStringLiteral(": ") + *error;
  return false;
}

bool insertRow(Statement& q, const QVariantList& values, const QString& table, QString* error) {
  if (q.run(values, error)) return true;
  *error = table + QStringLiteral(": ") + *error;
  return false;
}

QString signature(const QList<TransferColumn>& columns, const QVariantList& values, int linkAt,
                  const QString& foldedLink) {
  QString s;
  for (qsizetype i = 0; i < columns.size(); ++i) {
    s += i == linkAt ? foldedLink : normalized(columns[i].type, values[i]);
    s += QChar(0x1f);
  }
  return s;
}

}  // namespace

QString RenamedKey(const QString& key, int n, int width) {
  const QString suffix = u'-' + QString::number(n);
  return key.left(qMax(0, width - static_cast<int>(suffix.size()))) + suffix;
}

bool CheckGroupKeys(const QString& source, const TKeyedGroup& group, QString* error) {
  QSqlQuery q(QSqlDatabase::database(source, false));
  q.setForwardOnly(true);
  for (const QString& table : {group.master, group.detail}) {
    if (!q.exec(QStringLiteral("SELECT %1 FROM %2").arg(quoted(group.key), quoted(table)))) {
      *error = table + QStringLiteral(": ") + q.lastError().text();
      return false;
    }
    while (q.next()) {
      const QString key = q.value(0).toString();
      if (ruto::Trim(key).isEmpty() || key.size() > group.keyWidth) {
        *error = QStringLiteral("%1.%2: 「%3」").arg(table, group.key, key.left(40));
        return false;
      }
    }
  }
  return true;
}

bool CheckGroupValues(const QString& source, const TKeyedGroup& group, QString* error) {
  for (const QString& table : {group.master, group.detail}) {
    SourceTable t;
    if (!openSource(source, table, &t)) return *error = t.error, false;
    QVariantList values;
    int rowNumber = 0;
    while (t.next())
      if (!convertRow(t, ++rowNumber, &values)) return *error = table + t.error, false;
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
                    .arg(quoted(group.key), quoted(group.name), quoted(group.master))))
      return failed(group.master + QStringLiteral(": ") + q.lastError().text());
    while (q.next()) names.insert(fold(q.value(0).toString()), nameOf(q.value(1)));
  }
  const QList<TransferColumn>& detailColumns = TransferColumns(group.detail);
  const int linkAt = indexOf(detailColumns, group.key);
  QHash<QString, QHash<QString, int>> present;  // folded link -> row signature -> count
  {
    QStringList cols;
    for (const TransferColumn& c : detailColumns) cols << quoted(c.name);
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT %1 FROM %2").arg(cols.join(u','), quoted(group.detail))))
      return failed(group.detail + QStringLiteral(": ") + q.lastError().text());
    QVariantList values;
    while (q.next()) {
      values.clear();
      for (int i = 0; i < detailColumns.size(); ++i) values << q.value(i);
      const QString link = fold(values[linkAt].toString());
      ++present[link][signature(detailColumns, values, linkAt, link)];
    }
  }

  // Masters.
  SourceTable masters;
  if (!openSource(source, group.master, &masters)) return failed(masters.error);
  const int keyAt = indexOf(masters.columns, group.key);
  const int nameAt = indexOf(masters.columns, group.name);
  Statement insert;
  if (!prepareInsert(insert, db, group.master, masters.columns, &failure)) return failed(failure);
  QHash<QString, QString> moved;  // folded source number -> number in the target
  QVariantList values;
  int rowNumber = 0;
  while (masters.next()) {
    ++rowNumber;
    if (!convertRow(masters, rowNumber, &values)) return failed(group.master + masters.error);
    const QString key = values[keyAt].toString();
    const QString name = nameOf(values[nameAt]);
    QString placed = key;
    bool merge = false;
    for (int n = 2;; ++n) {
      const auto it = names.constFind(fold(placed));
      if (it == names.constEnd()) break;
      if (*it == name) {
        merge = true;
        break;
      }
      placed = RenamedKey(key, n, group.keyWidth);
    }
    if (!moved.contains(fold(key))) moved.insert(fold(key), placed);
    if (placed != key) report->renamed << key + QStringLiteral(" → ") + placed;
    if (merge) {
      ++report->mastersMerged;
    } else {
      values[keyAt] = placed;
      if (!insertRow(insert, values, group.master, &failure)) return failed(failure);
      names.insert(fold(placed), name);
      ++report->mastersAdded;
    }
    if (rowDone) rowDone();
  }
  if (masters.failed)
    return failed(group.master + QStringLiteral(": ") + masters.query.errorText());

  // Details follow their master; rows already there are not added again.
  SourceTable details;
  if (!openSource(source, group.detail, &details)) return failed(details.error);
  if (!prepareInsert(insert, db, group.detail, details.columns, &failure)) return failed(failure);
  rowNumber = 0;
  while (details.next()) {
    ++rowNumber;
    if (!convertRow(details, rowNumber, &values)) return failed(group.detail + details.error);
    const QString link = values[linkAt].toString();
    const auto to = moved.constFind(fold(link));
    if (to != moved.constEnd()) values[linkAt] = *to;
    const QString folded = fold(values[linkAt].toString());
    const auto known = present.find(folded);
    if (known != present.end()) {
      const auto same = known->find(signature(details.columns, values, linkAt, folded));
      if (same != known->end() && *same > 0) {
        --*same;
        ++report->detailsAlreadyThere;
        if (rowDone) rowDone();
        continue;
      }
    }
    if (!insertRow(insert, values, group.detail, &failure)) return failed(failure);
    ++report->detailsAdded;
    if (rowDone) rowDone();
  }
  if (details.failed)
    return failed(group.detail + QStringLiteral(": ") + details.query.errorText());
  return true;
}

}  // namespace ruto
