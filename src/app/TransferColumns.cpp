#include "app/TransferColumns.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>
#include <algorithm>
#include <atomic>

#include "app/Database.h"
#include "app/RecordSet.h"
#include "base/DateTime.h"
#include "base/Numbers.h"

namespace ruto {

namespace {

using A = TransferAccess;
using T = TransferType;

QList<TransferColumn> numbered(const QString& stem, int from, int to, A access, T type,
                               int run = 0) {
  QList<TransferColumn> out;
  for (int i = from; i <= to; ++i) out.append({stem + QString::number(i), access, type, run});
  return out;
}

QList<TransferColumn> proColumns() {
  QList<TransferColumn> c = {{"ProNo", A::Text, T::Text},        {"ProName", A::Text, T::Text},
                             {"ProData", A::Text, T::Text},      {"ProPict", A::Text, T::Bytes},
                             {"ProScal", A::Native, T::Boolean}, {"ProFN", A::Text, T::Text, 1}};
  c << numbered("ProScrp", 1, 4, A::Text, T::Text, 1)
    << numbered("ProPrg", 1, 4, A::Text, T::Text, 1)
    << numbered("ProParm", 1, 4, A::Text, T::Text, 1);
  c.append({"PrtFG", A::Native, T::Boolean});
  return c;
}

QList<TransferColumn> prdtColumns() {
  return {{"ProNo", A::Text, T::Text},       {"ProSubN", A::Text, T::Text},
          {"ProNote", A::Text, T::Text},     {"ProAnd", A::Text, T::Text},
          {"ProCond", A::Text, T::Text},     {"ProEng", A::Native, T::Double},
          {"ProAGL", A::Native, T::Long, 1}, {"ProAGH", A::Native, T::Long, 1},
          {"ProFlg", A::Native, T::Boolean}, {"PrtFG", A::Native, T::Boolean}};
}

QList<TransferColumn> custColumns() {
  return {{"CUSTNO", A::Text, T::Text},     {"NAME", A::Text, T::Text},
          {"SEX", A::Native, T::Boolean},   {"DBIRTH", A::Native, T::DateTime},
          {"ADDR", A::Text, T::Text},       {"TEL", A::Text, T::Text},
          {"TEL2", A::Text, T::Text},       {"TEL3", A::Text, T::Text},
          {"EMAIL", A::Text, T::Text},      {"BTYPE", A::Text, T::Text},
          {"HEIGHT", A::Native, T::Double}, {"WEIGHT", A::Native, T::Double},
          {"MEMO", A::Text, T::Text},       {"CUSTCAT", A::Text, T::Text},
          {"CUSTFG", A::Text, T::Text},     {"PrtFG", A::Native, T::Boolean}};
}

QList<TransferColumn> dataColumns() {
  QList<TransferColumn> c = {{"CUSTNO", A::Text, T::Text},    {"VODATE", A::Text, T::DateTime},
                             {"VOVOTA", A::Text, T::Boolean}, {"MEMO1", A::Text, T::Text},
                             {"MEMO2", A::Text, T::Text},     {"AutoKey", A::Text, T::Text}};
  c << numbered("VO", 1, 24, A::Native, T::Double);
  c.append({"PrtFG", A::Native, T::Boolean});
  return c;
}

QString quoted(const QString& identifier) {
  QString q = identifier;
  q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + q + QLatin1Char('"');
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

}  // namespace

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
    // A yes/no column is never null: an absent value is "no", as the original files read.
    *target = column.type == T::Boolean ? QVariant(0) : QVariant();
    return true;
  }
  const bool isText = source.typeId() == QMetaType::QString;
  switch (column.type) {
    case T::Text:
      *target = source.toString();
      return true;
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
        if (column.access == A::Text) {
          // The text form holds whole seconds; the time of day survives to that resolution.
          const QString text = ruto::formatOleDateTime(day);
          if (text.isEmpty() || !ruto::parseOleDate(text, &day)) return false;
        }
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
  int brokenRun = 0;
  for (const TransferColumn& c : list) {
    const QString from = fieldName(sourceRecord, c.name);
    const QString to = fieldName(targetRecord, c.name);
    if (c.run != 0 && (c.run == brokenRun || from.isEmpty())) {
      brokenRun = c.run;
      continue;
    }
    if (from.isEmpty()) return failed(QStringLiteral("source lacks column %1").arg(c.name));
    if (to.isEmpty()) return failed(QStringLiteral("target lacks column %1").arg(c.name));
    columns << c;
    sourceNames << quoted(from);
    targetNames << quoted(to);
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
    order << quoted(name);
  }
  const QString keyName = fieldName(sourceRecord, QStringLiteral("MKEY"));
  if (!keyName.isEmpty()) order << quoted(keyName);
  QSqlQuery read(source);
  read.setForwardOnly(true);
  if (!read.exec(QStringLiteral("SELECT %1 FROM %2").arg(sourceNames.join(u','), quoted(table)) +
                 (order.isEmpty() ? QString() : QStringLiteral(" ORDER BY ") + order.join(u','))))
    return failed(read.lastError().text());

  Transaction transaction(targetConnection);
  if (!transaction.active()) return failed(target.lastError().text());
  {
    QSqlQuery write(target);
    QStringList marks;
    for (qsizetype i = 0; i < columns.size(); ++i) marks << QStringLiteral("?");
    if (!write.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                           .arg(quoted(table), targetNames.join(u','), marks.join(u','))))
      return failed(write.lastError().text());
    while (read.next()) {
      int endedRun = 0;  // an optional run whose copy ended for this row
      for (qsizetype i = 0; i < columns.size(); ++i) {
        const int at = static_cast<int>(i);
        QVariant value;
        const int run = columns[i].run;
        if (run != 0 && run == endedRun) {
          write.bindValue(at, QVariant());
          continue;
        }
        if (!ConvertTransferValue(columns[i], read.value(at), &value)) {
          if (run == 0)
            return failed(QStringLiteral("row %1, column %2: value %3 does not convert")
                              .arg(copied + 1)
                              .arg(columns[i].name, read.value(at).toString()));
          // A value of an optional run that fails ends the run for this row only: the rest
          // of the run stays empty and the row goes on after it.
          endedRun = run;
          value = QVariant();
        }
        write.bindValue(at, value);
      }
      if (!write.exec())
        return failed(QStringLiteral("row %1: %2").arg(copied + 1).arg(write.lastError().text()));
      ++copied;
      if (options.progress) options.progress(copied);
    }
    if (read.lastError().isValid()) return failed(read.lastError().text());
  }
  read.finish();
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
