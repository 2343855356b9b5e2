// Build-time tool: runs an SQL script against a fresh SQLite file.
//   sqlrun <script.sql> <database>
// The database is written under a temporary name and moved into place only when every
// statement succeeded, so a failed build never leaves a half-made database behind.

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <cstdio>

namespace {

// Splits a script into statements at semicolons outside quotes and comments.
QStringList splitStatements(const QString& script) {
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

int fail(const QString& text) {
  std::fprintf(stderr, "sqlrun: %s\n", qPrintable(text));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() != 3) return fail(QStringLiteral("usage: sqlrun <script.sql> <database>"));
  QFile scriptFile(args[1]);
  if (!scriptFile.open(QIODevice::ReadOnly))
    return fail(args[1] + QStringLiteral(": ") + scriptFile.errorString());
  const QStringList statements = splitStatements(QString::fromUtf8(scriptFile.readAll()));

  const QString target = args[2];
  const QString temp = target + QStringLiteral(".tmp");
  QFile::remove(temp);
  bool ok = true;
  QString error;
  {
    QSqlDatabase db =
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("sqlrun"));
    db.setDatabaseName(temp);
    if (!db.open()) {
      ok = false;
      error = db.lastError().text();
    } else {
      QSqlQuery q(db);
      for (const QString& statement : statements) {
        if (!q.exec(statement)) {
          ok = false;
          error = statement.left(60) + QStringLiteral(": ") + q.lastError().text();
          break;
        }
      }
      q.finish();
      db.close();
    }
  }
  QSqlDatabase::removeDatabase(QStringLiteral("sqlrun"));
  if (!ok) {
    QFile::remove(temp);
    return fail(error);
  }
  QFile::remove(target);
  if (!QFile::rename(temp, target)) return fail(QStringLiteral("cannot write ") + target);
  return 0;
}
