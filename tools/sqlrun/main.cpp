// Build-time tool: runs an SQL script against a fresh SQLite file.
//   sqlrun <script.sql> <database>
// Statements are split as the program splits the schema it carries, so the stored ones are
// the ones the program compares with. The database is written under a temporary name and
// moved into place only when every statement succeeded, so a failed build never leaves a
// half-made database behind.

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <cstdio>

#include "app/MainSchema.h"

namespace {

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
  const QStringList statements = ruto::SplitSqlStatements(QString::fromUtf8(scriptFile.readAll()));

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
