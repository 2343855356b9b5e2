#include "measure/MultiMeridianTexts.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "app/Database.h"
#include "app/Databases.h"
#include "app/InstallDir.h"

namespace ruto {

QSqlDatabase MultiMeridianDatabase(QString* error) {
  if (QSqlDatabase::contains(kMultiMeridianConnection)) {
    QSqlDatabase db = QSqlDatabase::database(kMultiMeridianConnection, false);
    if (db.isOpen()) return db;
  }
  const QString path = InstallPath(kMultiMeridianDatabase);
  QString detail;
  if (CheckDatabaseFile(path, &detail) != DbOpenResult::Ok) {
    if (error) *error = detail;
    return {};
  }
  bool ok = false;
  {
    QSqlDatabase db =
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kMultiMeridianConnection);
    db.setDatabaseName(path);
    // The program never writes the supplied programs.
    db.setConnectOptions(
        QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!db.open()) {
      detail = db.lastError().text();
    } else {
      const QStringList tables = db.tables();
      QStringList missing;
      for (const QString& t : kMultiMeridianTables)
        if (!tables.contains(t, Qt::CaseInsensitive)) missing << t;
      // A damaged file shows itself on the first read.
      QSqlQuery probe(db);
      if (!missing.isEmpty())
        detail = QStringLiteral("missing tables %1").arg(missing.join(QStringLiteral(", ")));
      else if (!probe.exec(QStringLiteral("SELECT COUNT(*) FROM VOPRO")))
        detail = probe.lastError().text();
      else
        ok = true;
    }
  }
  if (!ok) {
    CloseDatabase(kMultiMeridianConnection);
    if (error) *error = QStringLiteral("%1: %2").arg(path, detail);
    return {};
  }
  return QSqlDatabase::database(kMultiMeridianConnection, false);
}

TMultiMeridianTexts LocateMultiMeridianProgram(const QSqlDatabase& db, const QString& name) {
  TMultiMeridianTexts texts;
  if (!db.isOpen()) return texts;
  QSqlQuery q(db);
  q.prepare(QStringLiteral(
      "SELECT ProData, ProMed1, ProMed2, ProMed3, ProHel1, ProHel2, ProHel3, ProHel4, ProHel5 "
      "FROM VOPRO WHERE ProName = ? COLLATE NOCASE ORDER BY ProName, rowid LIMIT 1"));
  q.addBindValue(name.trimmed());
  if (!q.exec() || !q.next()) return texts;
  texts.Found = true;
  texts.ProData = q.value(0).toString();
  for (int i = 1; i <= 3; ++i) texts.ProMed[i] = q.value(i).toString();
  for (int i = 1; i <= 5; ++i) texts.ProHel[i] = q.value(3 + i).toString();
  return texts;
}

}  // namespace ruto
