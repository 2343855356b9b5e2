#include "app/Database.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include "app/DatabaseGuard.h"

namespace ruto {

namespace {

void setDetail(QString* detail, const QString& text) {
  if (detail) *detail = text;
}

}  // namespace

DbOpenResult CheckDatabaseFile(const QString& path, QString* detail) {
  const QFileInfo info(path);
  if (!info.exists() || !info.isFile()) {
    setDetail(detail, QStringLiteral("%1: the file does not exist").arg(path));
    return DbOpenResult::Missing;
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    setDetail(detail, QStringLiteral("%1: %2").arg(path, file.errorString()));
    return DbOpenResult::OpenFailed;
  }
  const QByteArray head = file.read(100);
  // SQLite treats an empty file as an empty database; for us it is no database at all.
  if (head.isEmpty()) {
    setDetail(detail, QStringLiteral("%1: the file is empty").arg(path));
    return DbOpenResult::NotSqlite;
  }
  if (head.startsWith(QByteArrayLiteral("SQLite format 3\0"))) return DbOpenResult::Ok;
  const QByteArray jetTag = head.mid(4, 15);
  if (jetTag == "Standard Jet DB" || jetTag == "Standard ACE DB") {
    setDetail(detail, QStringLiteral("%1: a Jet (Access) database, which this program cannot "
                                     "open; convert it to SQLite first")
                          .arg(path));
    return DbOpenResult::JetFile;
  }
  setDetail(detail, QStringLiteral("%1: not an SQLite database").arg(path));
  return DbOpenResult::NotSqlite;
}

DbOpenResult OpenDatabase(const QString& connectionName, const QString& path,
                          const QStringList& requiredTables, QString* detail) {
  CloseDatabase(connectionName);
  const DbOpenResult fileKind = CheckDatabaseFile(path, detail);
  if (fileKind != DbOpenResult::Ok) return fileKind;

  DbOpenResult result = DbOpenResult::Ok;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!db.open()) {
      setDetail(detail, QStringLiteral("%1: %2").arg(path, db.lastError().text()));
      result = DbOpenResult::OpenFailed;
    } else {
      // The first real read is where SQLite notices a damaged file.
      QSqlQuery q(db);
      if (!q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"))) {
        setDetail(detail, QStringLiteral("%1: %2").arg(path, q.lastError().text()));
        result = IsDatabaseBusy(q.lastError())      ? DbOpenResult::Busy
                 : IsDatabaseDamaged(q.lastError()) ? DbOpenResult::Damaged
                                                    : DbOpenResult::OpenFailed;
      } else {
        QStringList present;
        while (q.next()) present << q.value(0).toString();
        QStringList missing;
        for (const QString& table : requiredTables)
          if (!present.contains(table, Qt::CaseInsensitive)) missing << table;
        if (!missing.isEmpty()) {
          setDetail(detail, QStringLiteral("%1: missing tables %2").arg(path, missing.join(u", ")));
          result = DbOpenResult::MissingTables;
        }
      }
    }
  }
  if (result != DbOpenResult::Ok)
    CloseDatabase(connectionName);
  else
    setDetail(detail, QString());
  return result;
}

void CloseDatabase(const QString& connectionName) {
  if (!QSqlDatabase::contains(connectionName)) return;
  {
    QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    db.close();
  }
  QSqlDatabase::removeDatabase(connectionName);
}

QStringList DatabaseTables(const QString& connectionName) {
  return QSqlDatabase::database(connectionName, false).tables(QSql::Tables);
}

}  // namespace ruto
