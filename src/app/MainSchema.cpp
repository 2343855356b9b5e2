#include "app/MainSchema.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include "app/RecordSet.h"
#include "app/SqliteAccess.h"

namespace ruto {

namespace {

struct SchemaObject {
  QString type;  // "table" or "index"
  QString name;
  QString sql;
};

// Kind and name of a CREATE TABLE or CREATE INDEX statement; empty for anything else.
SchemaObject describe(const QString& statement) {
  static const QRegularExpression create(
      QStringLiteral(R"re(^CREATE\s+(?:UNIQUE\s+)?(TABLE|INDEX)\s+"?(\w+)"?)re"),
      QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch m = create.match(statement);
  if (!m.hasMatch()) return {};
  return {m.captured(1).toLower(), m.captured(2), statement};
}

QList<SchemaObject> schemaObjects() {
  QList<SchemaObject> out;
  for (const QString& s : MainSchemaStatements()) {
    SchemaObject o = describe(s);
    if (!o.type.isEmpty()) out << o;
  }
  return out;
}

// The file's own tables and indexes by lower-case name.
QHash<QString, SchemaObject> storedObjects(const QSqlDatabase& db, bool* ok) {
  QHash<QString, SchemaObject> out;
  QSqlQuery q(db);
  q.setForwardOnly(true);
  *ok =
      q.exec(QStringLiteral("SELECT type, name, sql FROM sqlite_master "
                            "WHERE type IN ('table', 'index')"));
  while (*ok && q.next())
    out.insert(q.value(1).toString().toLower(),
               {q.value(0).toString(), q.value(1).toString(), q.value(2).toString()});
  return out;
}

}  // namespace

QStringList SplitSqlStatements(const QString& script) {
  QStringList out;
  QString current;
  QChar quote;
  for (qsizetype i = 0; i < script.size(); ++i) {
    const QChar c = script[i];
    if (!quote.isNull()) {
      current += c;
      if (c == quote) quote = QChar();
      continue;
    }
    if (c == u'-' && i + 1 < script.size() && script[i + 1] == u'-') {
      while (i < script.size() && script[i] != u'\n') ++i;
      current += u'\n';
      continue;
    }
    if (c == u'\'' || c == u'"') quote = c;
    if (c == u';') {
      if (!current.trimmed().isEmpty()) out << current.trimmed();
      current.clear();
      continue;
    }
    current += c;
  }
  if (!current.trimmed().isEmpty()) out << current.trimmed();
  return out;
}

const QStringList& MainSchemaStatements() {
  static const QStringList statements = [] {
    QFile f(QStringLiteral(":/schema/schema.sql"));
    if (!f.open(QIODevice::ReadOnly)) return QStringList();
    return SplitSqlStatements(QString::fromUtf8(f.readAll()));
  }();
  return statements;
}

bool MainSchemaCurrent(const QString& connectionName) {
  const QSqlDatabase db = QSqlDatabase::database(connectionName, false);
  const QList<SchemaObject> wanted = schemaObjects();
  bool ok = false;
  const QHash<QString, SchemaObject> stored = storedObjects(db, &ok);
  if (!ok || wanted.isEmpty()) return false;
  for (const SchemaObject& w : wanted) {
    const auto it = stored.constFind(w.name.toLower());
    if (it == stored.constEnd() || it->type != w.type || it->sql.simplified() != w.sql.simplified())
      return false;
  }
  return true;
}

bool UpgradeMainSchema(const QString& connectionName, bool* rebuilt, QString* error) {
  if (rebuilt) *rebuilt = false;
  const auto failed = [&](const QString& text) {
    if (error) *error = text;
    return false;
  };
  QSqlDatabase db = QSqlDatabase::database(connectionName, false);
  if (!db.isOpen()) return failed(QStringLiteral("database connection not open"));
  const QList<SchemaObject> wanted = schemaObjects();
  if (wanted.isEmpty()) return failed(QStringLiteral("the program carries no schema"));
  if (MainSchemaCurrent(connectionName)) return true;

  QSqlQuery q(db);
  // Links of an earlier schema must not act while its tables are renamed and dropped.
  if (!q.exec(QStringLiteral("PRAGMA foreign_keys = OFF"))) return failed(q.lastError().text());
  bool ok = false;
  const QHash<QString, SchemaObject> stored = storedObjects(db, &ok);
  if (!ok) return failed(QStringLiteral("cannot read the schema"));

  Transaction transaction(connectionName);
  if (!transaction.active()) return failed(transaction.error());
  const auto run = [&](const QString& sql) {
    if (q.exec(sql)) return true;
    if (error) *error = sql.left(80) + QStringLiteral(": ") + q.lastError().text();
    return false;
  };

  // The earlier tables step aside under free names; their indexes would clash by name.
  QHash<QString, QString> aside;  // schema table name -> earlier table
  for (const SchemaObject& w : wanted) {
    const auto it = stored.constFind(w.name.toLower());
    if (it == stored.constEnd()) continue;
    if (it->type == QLatin1String("index")) {
      if (!run(QStringLiteral("DROP INDEX ") + QuotedIdentifier(it->name))) return false;
    } else if (w.type == QLatin1String("table") && it->type == QLatin1String("table")) {
      QString name = QStringLiteral("earlier_") + w.name;
      for (int n = 2; stored.contains(name.toLower()); ++n)
        name = QStringLiteral("earlier%1_").arg(n) + w.name;
      if (!run(QStringLiteral("ALTER TABLE %1 RENAME TO %2")
                   .arg(QuotedIdentifier(it->name), QuotedIdentifier(name))))
        return false;
      aside.insert(w.name, name);
    }
  }
  for (const SchemaObject& w : wanted)
    if (!run(w.sql)) return false;

  for (const SchemaObject& w : wanted) {
    if (!aside.contains(w.name)) continue;
    const QString earlier = aside.value(w.name);
    const QSqlRecord from = db.record(earlier);
    // Name, not-null mark and default of each column of the new table.
    QStringList targets, sources;
    QSet<QString> known;
    if (!run(QStringLiteral("PRAGMA table_info(%1)").arg(QuotedIdentifier(w.name)))) return false;
    while (q.next()) {
      const QString column = q.value(1).toString();
      known.insert(column.toLower());
      if (!from.contains(column)) continue;
      const QString source = QuotedIdentifier(from.fieldName(from.indexOf(column)));
      targets << QuotedIdentifier(column);
      sources << (q.value(3).toInt() != 0 && !q.value(4).isNull()
                      ? QStringLiteral("COALESCE(%1, %2)").arg(source, q.value(4).toString())
                      : source);
    }
    q.finish();
    for (int i = 0; i < from.count(); ++i)
      if (!known.contains(from.fieldName(i).toLower()))
        return failed(QStringLiteral("%1: column %2 is not in the schema; nothing was changed")
                          .arg(w.name, from.fieldName(i)));
    // The next key must not fall back to one a deleted row once had.
    qlonglong sequence = 0;
    if (!run(QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = '%1'").arg(earlier)))
      return false;
    if (q.next()) sequence = q.value(0).toLongLong();
    q.finish();
    if (!run(QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM %4")
                 .arg(QuotedIdentifier(w.name), targets.join(u','), sources.join(u','),
                      QuotedIdentifier(earlier))) ||
        !run(QStringLiteral("DROP TABLE ") + QuotedIdentifier(earlier)))
      return false;
    if (sequence > 0 &&
        (!run(QStringLiteral("UPDATE sqlite_sequence SET seq = MAX(seq, %1) WHERE name = '%2'")
                  .arg(sequence)
                  .arg(w.name)) ||
         (q.numRowsAffected() == 0 &&
          !run(QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES ('%1', %2)")
                   .arg(w.name)
                   .arg(sequence)))))
      return false;
  }
  q.finish();
  QString commitError;
  if (!transaction.commit(&commitError)) return failed(commitError);
  if (rebuilt) *rebuilt = true;
  return true;
}

}  // namespace ruto
