#include "app/RecordSet.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <atomic>

#include "base/DateTime.h"
#include "base/Numbers.h"

namespace ruto {

namespace {

const QString kKeyColumn = QStringLiteral("MKEY");

// Identifiers reach SQL only from the database's own column list; quoting still keeps a
// stray quote in a stored name from ending the identifier.
QString quoted(const QString& identifier) {
  QString q = identifier;
  q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + q + QLatin1Char('"');
}

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
  cells_.clear();
  keys_.clear();
  position_ = -1;
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

int RecordSet::storedIndex(const QString& name) const {
  for (int i = 0; i < stored_.size(); ++i)
    if (stored_[i].compare(name, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

QString RecordSet::orderBy() const {
  QStringList items;
  for (const RecordSort& key : sort_)
    items << quoted(stored_[storedIndex(key.column)]) +
                 (key.descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
  // Equal keys keep key order, so a refresh never shuffles them.
  if (keyColumn_ >= 0) items << quoted(stored_[keyColumn_]);
  return items.isEmpty() ? QString() : QStringLiteral(" ORDER BY ") + items.join(u',');
}

bool RecordSet::readRows() {
  QStringList columns;
  for (const QString& c : stored_) columns << quoted(c);
  QString sql = QStringLiteral("SELECT %1 FROM %2").arg(columns.join(u','), quoted(table_));
  if (!linkColumn_.isEmpty())
    sql += QStringLiteral(" WHERE %1 = ?").arg(quoted(stored_[storedIndex(linkColumn_)]));
  sql += orderBy();

  QSqlQuery q(database());
  q.setForwardOnly(true);
  if (!q.prepare(sql)) return fail(q.lastError().text());
  if (!linkColumn_.isEmpty()) q.addBindValue(linkValue_);
  if (!q.exec()) return fail(q.lastError().text());
  cells_.clear();
  keys_.clear();
  const int n = static_cast<int>(stored_.size());
  while (q.next()) {
    for (int c = 0; c < n; ++c) cells_.push_back(q.value(c));
    keys_.push_back(keyColumn_ >= 0 ? q.value(keyColumn_).toLongLong() : 0);
  }
  if (q.lastError().isValid()) {
    cells_.clear();
    keys_.clear();
    return fail(q.lastError().text());
  }
  return true;
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
  if (column < n) return cells_[static_cast<size_t>(row) * n + column];
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
  for (int row = std::max(from, 0); row < rowCount(); ++row)
    if (matches(this->value(row, c), value, options)) return row;
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
    names << quoted(stored_[c]);
    marks << QStringLiteral("?");
    bound << it.value();
  }
  const QString sql = names.isEmpty()
                          ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted(table_))
                          : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                .arg(quoted(table_), names.join(u','), marks.join(u','));
  qint64 key = 0;
  {
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
    sets << quoted(stored_[c]) + QStringLiteral(" = ?");
    bound << it.value();
  }
  {
    QSqlQuery q(database());
    if (!q.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                       .arg(quoted(table_), sets.join(u','), quoted(stored_[keyColumn_]))))
      return fail(q.lastError().text());
    for (const QVariant& v : bound) q.addBindValue(v);
    q.addBindValue(key);
    if (!q.exec()) return fail(q.lastError().text());
    if (q.numRowsAffected() != 1) return fail(QStringLiteral("no row with MKEY %1").arg(key));
  }
  if (open_ && refresh()) gotoBookmark(key);
  return true;
}

bool RecordSet::remove(qint64 key) {
  if (stored_.isEmpty() && !readColumns()) return false;
  if (keyColumn_ < 0) return fail(QStringLiteral("table %1 has no MKEY").arg(table_));
  {
    QSqlQuery q(database());
    if (!q.prepare(QStringLiteral("DELETE FROM %1 WHERE %2 = ?")
                       .arg(quoted(table_), quoted(stored_[keyColumn_]))))
      return fail(q.lastError().text());
    q.addBindValue(key);
    if (!q.exec()) return fail(q.lastError().text());
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
      fail(database().lastError().text());
      return -1;
    }
    {
      QSqlQuery q(database());
      if (!q.prepare(QStringLiteral("DELETE FROM %1 WHERE %2 = ?")
                         .arg(quoted(table_), quoted(stored_[c])))) {
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

// Savepoints rather than BEGIN, so that a write inside a caller's larger transaction joins
// it instead of failing.
Transaction::Transaction(const QString& connectionName)
    : db_(QSqlDatabase::database(connectionName, false)) {
  static std::atomic<int> counter{0};
  name_ = QStringLiteral("rs_tx_%1").arg(++counter);
  QSqlQuery q(db_);
  active_ = db_.isOpen() && q.exec(QStringLiteral("SAVEPOINT ") + name_);
}

Transaction::~Transaction() { rollback(); }

bool Transaction::commit(QString* error) {
  if (!active_) {
    if (error) *error = QStringLiteral("no transaction");
    return false;
  }
  QSqlQuery q(db_);
  if (!q.exec(QStringLiteral("RELEASE ") + name_)) {
    if (error) *error = q.lastError().text();
    return false;  // still active: the destructor rolls it back
  }
  active_ = false;
  return true;
}

void Transaction::rollback() {
  if (!active_) return;
  QSqlQuery q(db_);
  q.exec(QStringLiteral("ROLLBACK TO ") + name_);
  q.exec(QStringLiteral("RELEASE ") + name_);
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
