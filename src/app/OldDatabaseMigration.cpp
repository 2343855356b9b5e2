#include "app/OldDatabaseMigration.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QVariant>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <future>

#include "app/Database.h"
#include "app/InstallDir.h"
#include "app/KeyedMerge.h"
#include "app/MainSchema.h"
#include "app/RecordSet.h"
#include "app/StartupFiles.h"
#include "app/TransferColumns.h"
#include "base/DateTime.h"
#include "base/Files.h"

namespace ruto {

namespace {

const QString kCopyConnection = QStringLiteral("OldDatabaseCopy");

// The table as the schema script makes it, so that a main database that gets it here is
// stored exactly as the script would have made it.
QString migratedTableSql() {
  for (const QString& statement : MainSchemaStatements())
    if (statement.startsWith(QStringLiteral("CREATE TABLE MIGRATED"), Qt::CaseInsensitive))
      return statement;
  return QStringLiteral("CREATE TABLE MIGRATED (Sha256 TEXT PRIMARY KEY, MigratedAt REAL)");
}

struct Failure {
  MigrationResult::Outcome outcome;
  QString reason;
};

bool sha256(const QString& path, QByteArray* digest) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  QCryptographicHash hash(QCryptographicHash::Sha256);
  if (!hash.addData(&file)) return false;
  *digest = hash.result().toHex();
  return true;
}

bool tableExists(const QSqlDatabase& db, const QString& table) {
  QSqlQuery q(db);
  q.prepare(QStringLiteral(
      "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"));
  q.addBindValue(table);
  return q.exec() && q.next();
}

// Whether any old file was recorded: without one no hash can match, and the hash can wait.
bool anyRecorded(const QSqlDatabase& db) {
  if (!tableExists(db, kMigratedTable)) return false;
  QSqlQuery q(db);
  return q.exec(QStringLiteral("SELECT 1 FROM MIGRATED LIMIT 1")) && q.next();
}

bool hashRecorded(const QSqlDatabase& db, const QByteArray& digest) {
  if (!tableExists(db, kMigratedTable)) return false;
  QSqlQuery q(db);
  q.prepare(QStringLiteral("SELECT 1 FROM MIGRATED WHERE Sha256 = ?"));
  q.addBindValue(QString::fromLatin1(digest));
  return q.exec() && q.next();
}

// The checks an outside file passes before anything is read from it for real. Empty when
// it passes, else the reason shown to the operator.
QString checkCopy(const QString& path) {
  QString detail;
  switch (CheckDatabaseFile(path, &detail)) {
    case DbOpenResult::Ok:
      break;
    case DbOpenResult::JetFile:
      return QStringLiteral("檔案是 Windows 版的 Access (Jet) 資料庫，本系統無法讀取");
    case DbOpenResult::NotSqlite:
      return QFileInfo(path).size() == 0 ? QStringLiteral("檔案是空的")
                                         : QStringLiteral("檔案不是本系統的資料庫");
    default:
      return QStringLiteral("檔案無法讀取");
  }
  QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kCopyConnection);
  db.setDatabaseName(path);
  // Only its tables are ever read: nothing else the file holds (views, triggers) runs.
  db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
  if (!db.open()) return QStringLiteral("檔案無法開啟（%1）").arg(db.lastError().text());
  DistrustOutsideDatabase(db);
  QSqlQuery q(db);
  if (!q.exec(QStringLiteral("PRAGMA quick_check")))
    return QStringLiteral("檔案已損壞（%1）").arg(q.lastError().text());
  QStringList problems;
  while (q.next()) problems << q.value(0).toString();
  if (q.lastError().isValid()) problems << q.lastError().text();
  if (problems != QStringList{QStringLiteral("ok")})
    return QStringLiteral("檔案已損壞（%1）").arg(problems.mid(0, 3).join(QStringLiteral("; ")));
  for (const QString& table : kTransferTables) {
    if (!tableExists(db, table)) return QStringLiteral("缺少資料表 %1").arg(table);
    const QList<TransferColumn>& columns = TransferColumns(table);
    const QStringList names = TransferSourceNames(db.record(table), columns);
    for (qsizetype i = 0; i < columns.size(); ++i)
      if (columns[i].run == 0 && names[i].isEmpty())
        return QStringLiteral("資料表 %1 缺少欄位 %2").arg(table, columns[i].name);
  }
  for (const TKeyedGroup* group : {&kClientGroup, &kProgramGroup}) {
    QString error;
    if (!CheckGroupKeys(kCopyConnection, *group, &error))
      return QStringLiteral("編號空白或過長（%1）").arg(error);
  }
  return {};
}

}  // namespace

QString MigrationRefusedText(const QString& reason) {
  return QStringLiteral("舊版資料庫 ruto.mdb 無法轉換：") + reason +
         QStringLiteral("。原檔案保留，資料未變更。");
}

OldDatabaseMigration::OldDatabaseMigration(QString mainConnection)
    : main_(std::move(mainConnection)) {}

bool OldDatabaseMigration::OldDatabasePresent() { return InstallFileExists(kOldDatabase); }

void OldDatabaseMigration::advance(int by) {
  position_ = qMin(kMigrationBarMax, position_ + by);
  if (progress) progress(position_);
}

MigrationResult OldDatabaseMigration::run() {
  MigrationResult result;
  position_ = 0;
  if (!OldDatabasePresent()) return result;
  if (progress) progress(0);
  const QString oldPath = InstallPath(kOldDatabase);
  const QString backupPath = InstallPath(kOldBackupDatabase);
  const auto finish = [&](MigrationResult::Outcome outcome, const QString& reason) {
    CloseDatabase(kCopyConnection);
    result.outcome = outcome;
    if (outcome == MigrationResult::Refused || outcome == MigrationResult::Failed)
      result.message = MigrationRefusedText(reason);
    else if (outcome == MigrationResult::NotRenamed)
      result.message = QStringLiteral(
                           "舊版資料庫 ruto.mdb 的資料已轉入，但檔案無法改名為 "
                           "ruto_BAK.mdb（%1）。下次啟動時將再次改名。")
                           .arg(reason);
    if (outcome != MigrationResult::Migrated) {
      result.renamed.clear();
      result.renamedMessage.clear();
    }
    return result;
  };
  const auto renameOld = [&](MigrationResult::Outcome done) {
    // One replacing rename: there is never a moment without either file.
    if (!allowed(MigrationStep::Rename))
      return finish(MigrationResult::NotRenamed, QStringLiteral("中斷"));
    if (std::rename(QFile::encodeName(oldPath).constData(),
                    QFile::encodeName(backupPath).constData()) != 0)
      return finish(MigrationResult::NotRenamed, QString::fromLocal8Bit(std::strerror(errno)));
    position_ = kMigrationBarMax;
    if (progress) progress(position_);
    return finish(done, {});
  };

  QSqlDatabase mainDb = QSqlDatabase::database(main_, false);
  if (!mainDb.isOpen()) return finish(MigrationResult::Failed, QStringLiteral("主資料庫未開啟"));

  // The user's file is only ever read, and only to copy it.
  QTemporaryDir folder(WorkFolderTemplate());
  const QString copyPath = folder.filePath(kOldDatabase);
  if (!folder.isValid() || !allowed(MigrationStep::PrivateCopy) ||
      !QFile::copy(oldPath, copyPath) ||
      !QFile::setPermissions(copyPath, QFile::ReadOwner | QFile::WriteOwner))
    return finish(MigrationResult::Failed, QStringLiteral("檔案無法複製到暫存資料夾"));
  QByteArray digest;
  // Until a file has been recorded the hash is needed only to record this one: it is worked
  // out beside the checks and the copy, on the private copy nothing else writes to.
  std::future<bool> hashing;
  if (anyRecorded(mainDb)) {
    if (!sha256(copyPath, &digest))
      return finish(MigrationResult::Failed, QStringLiteral("檔案無法讀取"));
    if (hashRecorded(mainDb, digest)) return renameOld(MigrationResult::RenameOnly);
  } else {
    hashing =
        std::async(std::launch::async, [copyPath, &digest] { return sha256(copyPath, &digest); });
  }
  // Every way out waits for the hash before its file and digest go.
  struct Join {
    std::future<bool>& f;
    ~Join() {
      if (f.valid()) f.wait();
    }
  } join{hashing};

  if (!allowed(MigrationStep::Check))
    return finish(MigrationResult::Failed, QStringLiteral("中斷"));
  const QString problem = checkCopy(copyPath);
  if (!problem.isEmpty()) return finish(MigrationResult::Refused, problem);

  QString error;
  // The tables are opened: three steps of the bar before the first row.
  advance(3);
  advance(3);
  advance(3);
  {
    Transaction transaction(main_);
    if (!transaction.active()) return finish(MigrationResult::Failed, transaction.error());
    QSqlQuery q(mainDb);
    if (!tableExists(mainDb, kMigratedTable) && !q.exec(migratedTableSql()))
      return finish(MigrationResult::Failed, q.lastError().text());
    // Client rows move the bar by 5, every other row by 3.
    int rowsSeen = 0;
    QSqlQuery count(QSqlDatabase::database(kCopyConnection, false));
    const int clientRows = count.exec(QStringLiteral("SELECT COUNT(*) FROM VOCUST")) && count.next()
                               ? count.value(0).toInt()
                               : 0;
    count.finish();
    const struct {
      MigrationStep step;
      const TKeyedGroup* group;
      int master;
    } groups[] = {{MigrationStep::CopyClients, &kClientGroup, 0},
                  {MigrationStep::CopyPrograms, &kProgramGroup, 2}};
    for (const auto& g : groups) {
      if (!allowed(g.step)) return finish(MigrationResult::Failed, QStringLiteral("中斷"));
      TMergeReport report;
      const bool clientsGroup = g.group == &kClientGroup;
      const bool merged = MergeKeyedGroup(kCopyConnection, main_, *g.group, &report, &error, [&] {
        ++rowsSeen;
        advance(clientsGroup && rowsSeen <= clientRows ? 5 : 3);
      });
      if (!merged)
        return finish(MigrationResult::Refused, QStringLiteral("資料無法轉入（%1）").arg(error));
      result.rowsAdded[g.master] = report.mastersAdded;
      result.rowsAdded[g.master + 1] = report.detailsAdded;
      result.renamed << report.renamed;
    }
    if (!allowed(MigrationStep::RecordHash))
      return finish(MigrationResult::Failed, QStringLiteral("中斷"));
    if (hashing.valid() && !hashing.get())
      return finish(MigrationResult::Failed, QStringLiteral("檔案無法讀取"));
    q.prepare(QStringLiteral("INSERT OR REPLACE INTO MIGRATED (Sha256, MigratedAt) VALUES (?, ?)"));
    q.addBindValue(QString::fromLatin1(digest));
    q.addBindValue(ruto::oleNow());
    if (!q.exec()) return finish(MigrationResult::Failed, q.lastError().text());
    if (!allowed(MigrationStep::Commit))
      return finish(MigrationResult::Failed, QStringLiteral("中斷"));
    if (!transaction.commit(&error)) return finish(MigrationResult::Failed, error);
  }
  CloseDatabase(kCopyConnection);
  // Closing the tables and the old connection: five more steps.
  advance(15);
  if (!result.renamed.isEmpty())
    result.renamedMessage =
        QStringLiteral("舊版資料庫中下列編號已有其他資料，轉入的資料改用新編號：\n") +
        result.renamed.join(QLatin1Char('\n'));
  const QStringList renamed = result.renamed;
  const QString renamedMessage = result.renamedMessage;
  MigrationResult done = renameOld(MigrationResult::Migrated);
  // The rows are in whatever became of the file; the operator hears about new numbers.
  done.renamed = renamed;
  done.renamedMessage = renamedMessage;
  return done;
}

}  // namespace ruto
