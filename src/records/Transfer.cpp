#include "records/Transfer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>

#include "app/AskUser.h"
#include "app/Database.h"
#include "app/DatabaseGuard.h"
#include "app/InstallDir.h"
#include "app/RecordSet.h"
#include "app/StartupFiles.h"
#include "app/TransferColumns.h"
#include "base/Files.h"
#include "base/Text.h"
#include "device/MeterCommands.h"
#include "records/ClientRecords.h"

namespace ruto {

namespace {

const QString kWorkConnection = QStringLiteral("TransferWork");

const QString kExportQuestion =
    QStringLiteral("請確定目的地的磁片或磁碟空間容量許可，確定匯出資料，請按確認鍵。");
const QString kAppendQuestion =
    QStringLiteral("執行本功能會將資料附加至現有的資料中，您確定要匯入嗎 ?");
const QString kReplaceQuestion =
    QStringLiteral("執行本功能將會取代現有的資料，原有的資料將刪除而且無法回復！您確定要匯入嗎 ?");
const QString kExportDone = QStringLiteral("資料匯出成功 !!");
const QString kAppendDone = QStringLiteral("資料匯入成功，資料已經附加 !!");
const QString kReplaceDone = QStringLiteral("資料匯入成功，原有的資料已被取代 !!");
const QString kProgramsEmpty = QStringLiteral("來源的 [專家療程] 資料是空的，將跳過匯入動作。");
const QString kRecordsEmpty = QStringLiteral("來源的 [病歷檢測] 資料是空的，將跳過匯入動作。");
const QString kExportRetry = QStringLiteral(" 請排除問題後重新匯出資料。");
const QString kImportRetry = QStringLiteral(" 請排除問題後重新匯入資料。");
// The reason follows on the next line (WriteFailureText).
const QString kImportFailed = QStringLiteral("資料匯入錯誤 !! 系統資料未變更。") + kImportRetry;

// An outside file is never trusted: refused with one message, the system's data unchanged.
QString refusedText(const QString& reason) {
  return QStringLiteral("匯入檔案無法使用：%1。系統資料未變更。").arg(reason);
}

int fileError(int fd) { return fd < 0 ? errno : 0; }

// Checks an opened copy of an outside transfer file before anything is read from it.
bool validateSource(const QString& connection, const TTransferChoice& choice, QString* reason) {
  QSqlDatabase db = QSqlDatabase::database(connection, false);
  DistrustOutsideDatabase(db);
  QSqlQuery q(db);
  q.exec(QStringLiteral("PRAGMA query_only = ON"));
  if (!q.exec(QStringLiteral("PRAGMA quick_check")) || !q.next() ||
      q.value(0).toString() != QStringLiteral("ok")) {
    *reason = QStringLiteral("檔案已損壞 (%1)")
                  .arg(q.lastError().isValid() ? q.lastError().text() : q.value(0).toString());
    return false;
  }
  QHash<QString, QString> kinds;
  if (!q.exec(QStringLiteral("SELECT name, type FROM sqlite_master"))) {
    *reason = q.lastError().text();
    return false;
  }
  while (q.next()) kinds.insert(q.value(0).toString().toUpper(), q.value(1).toString());
  for (const QString& table : kTransferTables) {
    if (kinds.value(table.toUpper()) != QStringLiteral("table")) {
      *reason = QStringLiteral("缺少資料表 %1").arg(table);
      return false;
    }
    const QSqlRecord record = db.record(table);
    for (const TransferColumn& c : TransferColumns(table))
      if (c.run == 0 && record.indexOf(c.name) < 0) {
        *reason = QStringLiteral("資料表 %1 缺少欄位 %2").arg(table, c.name);
        return false;
      }
  }
  QString error;
  for (const auto& [ticked, group] :
       {std::pair{choice.programs, kProgramGroup}, std::pair{choice.records, kClientGroup}})
    if (ticked) {
      if (!CheckGroupKeys(connection, group, &error)) {
        *reason = QStringLiteral("編號空白或超過 %1 個字元：%2").arg(group.keyWidth()).arg(error);
        return false;
      }
      if (!CheckGroupValues(connection, group, &error)) {
        *reason = QStringLiteral("資料格式不符：%1").arg(error);
        return false;
      }
    }
  return true;
}

bool rowCount(const QString& connection, const QString& table, qint64* count, QString* error) {
  QSqlQuery q(QSqlDatabase::database(connection, false));
  if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(table)) || !q.next()) {
    *error = table + QStringLiteral(": ") + q.lastError().text();
    return false;
  }
  *count = q.value(0).toLongLong();
  return true;
}

bool clearTable(const QString& connection, const QString& table, QString* error) {
  QSqlQuery q(QSqlDatabase::database(connection, false));
  if (q.exec(QStringLiteral("DELETE FROM \"%1\"").arg(table))) return true;
  *error = table + QStringLiteral(": ") + q.lastError().text();
  return false;
}

// The copy that an export writes beside the destination before renaming it into place: a
// full copy of client data, on what is often a removable disk. Named for its process, so that
// one a killed export left goes when the next run looks at that folder.
const QString kDestinationCopyStem = QStringLiteral(".VoTran.mdb.");

// A name beside the transfer file in `folder`, so the final rename stays on one file system.
QString siblingTemp(const QString& folder) { return folder + NewOwnedName(kDestinationCopyStem); }

void removeStaleCopies(const QString& folder) {
  RemoveStaleOwnedEntries(folder, kDestinationCopyStem, OwnedEntry::File);
}

// A run that stops: the work copy is closed, the user hears and reads why, once.
TTransferOutcome failed(TTransferOutcome& out, const QString& text) {
  CloseDatabase(kWorkConnection);
  SendSignal(SignalKind::Warning);
  out.message = text;
  AskUser(MsgKind::WarningOk, text);
  return out;
}

// The chosen folder as a path that a file name can follow.
QString folderPath(const QString& chosen) {
  QString folder = ruto::Trim(chosen);
  if (!folder.endsWith(u'/')) folder += u'/';
  return folder;
}

}  // namespace

int TransferErrorCode(int err) {
  switch (err) {
    case ENOENT:
      return 2;
    case EACCES:
    case EPERM:
      return 5;
    case EROFS:
      return 19;
    case ENOMEDIUM:
    case ENODEV:
    case ENXIO:
      return 21;
    case EIO:
      return 30;
    case ENOSPC:
    case EDQUOT:
      return 112;
    default:
      return 0;
  }
}

QString TransferFailureText(int err, bool exporting) {
  if (const int code = TransferErrorCode(err)) return TransferErrorText(code, exporting);
  return (exporting ? QStringLiteral("資料匯出錯誤 !! ErrorCode[")
                    : QStringLiteral("資料匯入錯誤 !! ErrorCode[")) +
         QString::number(err) + QStringLiteral("] ") + QString::fromLocal8Bit(std::strerror(err)) +
         QStringLiteral("，") + (exporting ? kExportRetry : kImportRetry);
}

QString TransferErrorText(int code, bool exporting) {
  QString text;
  switch (code) {
    case 2:
      text = QStringLiteral("來源的檔案資料不存在 !!");
      break;
    case 5:
      text = QStringLiteral("磁片或檔案是唯讀格式 !!");
      break;
    case 19:
      text = QStringLiteral("磁碟片防寫 !!");
      break;
    case 21:
      text = QStringLiteral("磁碟機尚未準備妥當，或沒有磁片 !!");
      break;
    case 30:
    case 31:
    case 32:
      text = QStringLiteral("無法讀取指定裝置，或磁碟格式化錯誤 !!");
      break;
    case 112:
      text = QStringLiteral("磁碟容量不足 !!");
      break;
    default:
      text = (exporting ? QStringLiteral("資料匯出錯誤 !! ErrorCode[")
                        : QStringLiteral("資料匯入錯誤 !! ErrorCode[")) +
             QString::number(code) + QStringLiteral("]，");
  }
  return text + (exporting ? kExportRetry : kImportRetry);
}

int TransferFiles::copyFile(const QString& from, const QString& to) {
  const QByteArray src = QFile::encodeName(from), dst = QFile::encodeName(to);
  const int in = ::open(src.constData(), O_RDONLY | O_CLOEXEC);
  if (int e = fileError(in)) return e;
  // The file holds client data: the owner's alone, whatever the umask.
  const int out = ::open(dst.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (int e = fileError(out)) {
    ::close(in);
    return e;
  }
  int err = ::fchmod(out, 0600) != 0 ? errno : 0;
  char buf[1 << 16];
  while (!err) {
    const ssize_t n = ::read(in, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno;
      break;
    }
    if (n == 0) break;
    for (ssize_t done = 0; done < n;) {
      const ssize_t w = ::write(out, buf + done, static_cast<size_t>(n - done));
      if (w < 0) {
        if (errno == EINTR) continue;
        err = errno;
        break;
      }
      done += w;
    }
    if (err) break;
  }
  if (!err && ::fsync(out) != 0) err = errno;
  if (::close(out) != 0 && !err) err = errno;
  ::close(in);
  if (err) ::unlink(dst.constData());
  return err;
}

int TransferFiles::replaceFile(const QString& from, const QString& to) {
  // A file that was there keeps its mode: whoever shared it meant it so.
  struct stat before {};
  if (::stat(QFile::encodeName(to).constData(), &before) == 0 && S_ISREG(before.st_mode))
    ::chmod(QFile::encodeName(from).constData(), before.st_mode & 07777);
  if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
    return errno;
  // The rename itself reaches the disk with the folder.
  const int dir = ::open(QFile::encodeName(QFileInfo(to).absolutePath()).constData(),
                         O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return 0;
}

TransferRun::TransferRun(const QString& mainConnection, TransferFiles* files)
    : main_(mainConnection), files_(files ? files : &ownFiles_) {}

TTransferOutcome TransferRun::exportTo(const TTransferChoice& choice) {
  TTransferOutcome out;
  SendSignal(SignalKind::Question);
  if (!AskUser(MsgKind::ImportantYesNo, kExportQuestion)) return out;
  out.asked = true;
  const auto fail = [&out](const QString& text) { return failed(out, text); };
  step();
  // The work copy lives in a private folder: a destination that is the install folder or the
  // folder of an earlier transfer file is never touched before the final rename.
  QTemporaryDir work(WorkFolderTemplate());
  if (!work.isValid()) return fail(TransferFailureText(EIO, true));
  const QString workPath = work.filePath(kTransferFileName);
  if (int e = files_->copyFile(InstallPath(kTemplateDatabase), workPath))
    return fail(TransferFailureText(e, true));
  step();
  QString error;
  if (OpenDatabase(kWorkConnection, workPath, kTransferTables, &error) != DbOpenResult::Ok)
    return fail(QStringLiteral("資料匯出錯誤 !! %1，").arg(error) + kExportRetry);
  step();
  step();
  step();
  const auto copy = [&](const QString& table, const QString& order) {
    TransferCopyOptions options;
    options.orderBy = order;
    options.progress = [this](int) { step(); };
    return CopyTransferTable(main_, kWorkConnection, table, nullptr, &error, options);
  };
  if (choice.programs && (!copy(QStringLiteral("VOPRO"), QStringLiteral("ProNo")) ||
                          !copy(QStringLiteral("VOPRDT"), QString())))
    return fail(QStringLiteral("資料匯出錯誤 !! %1，").arg(error) + kExportRetry);
  if (choice.records && (!copy(QStringLiteral("VOCUST"), QStringLiteral("CUSTNO")) ||
                         !copy(QStringLiteral("VODATA"), QString())))
    return fail(QStringLiteral("資料匯出錯誤 !! %1，").arg(error) + kExportRetry);
  CloseDatabase(kWorkConnection);
  step();
  step();
  // Written beside the destination, flushed, then renamed over it: a failure keeps the
  // earlier transfer file as it was.
  const QString folder = folderPath(choice.folder);
  const QString target = pathNoCase(folder, kTransferFileName);
  // Before the new copy: a left-over one may hold the space it needs.
  removeStaleCopies(folder);
  const QString temp = siblingTemp(folder);
  int e = files_->copyFile(workPath, temp);
  if (!e) {
    e = files_->replaceFile(temp, target);
    if (e) QFile::remove(temp);
  }
  step();
  step();
  if (e) return fail(TransferFailureText(e, true));
  if (onFull) onFull();
  out.ok = true;
  out.message = kExportDone;
  AskUser(MsgKind::ImportantOk, kExportDone);
  return out;
}

TTransferOutcome TransferRun::importFrom(const TTransferChoice& choice) {
  TTransferOutcome out;
  SendSignal(SignalKind::Warning);
  if (!AskUser(MsgKind::ImportantYesNo, choice.replace ? kReplaceQuestion : kAppendQuestion))
    return out;
  out.asked = true;
  const auto fail = [&out](const QString& text) { return failed(out, text); };
  step();
  QTemporaryDir work(WorkFolderTemplate());
  if (!work.isValid()) return fail(TransferFailureText(EIO, false));
  step();
  // The picked file is only read, once, into a private work copy.
  const QString folder = folderPath(choice.folder);
  const QString workPath = work.filePath(kTransferFileName);
  removeStaleCopies(folder);
  if (int e = files_->copyFile(pathNoCase(folder, kTransferFileName), workPath))
    return fail(TransferFailureText(e, false));
  step();

  QString error;
  switch (CheckDatabaseFile(workPath, &error)) {
    case DbOpenResult::Ok:
      break;
    case DbOpenResult::JetFile:
      return fail(
          refusedText(QStringLiteral("檔案是舊版 Windows 的 Access (Jet) 格式，本系統無法讀取")));
    default:
      return fail(refusedText(QStringLiteral("不是本系統的資料庫檔案")));
  }
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kWorkConnection);
    db.setDatabaseName(workPath);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!db.open()) return fail(refusedText(db.lastError().text()));
  }
  QString reason;
  if (!validateSource(kWorkConnection, choice, &reason)) return fail(refusedText(reason));
  step();

  {
    Transaction transaction(main_);
    if (!transaction.active())
      return fail(
          WriteFailureText(QStringLiteral("資料匯入錯誤 !! 系統資料庫無法寫入，") + kImportRetry,
                           transaction.error()));
    const auto group = [&](bool ticked, const TKeyedGroup& g, const QString& emptyText,
                           TMergeReport* report) {
      if (!ticked) return true;
      qint64 count = 0;
      if (!rowCount(kWorkConnection, g.master, &count, &error)) return false;
      if (count == 0) {
        SendSignal(SignalKind::Question);
        AskUser(MsgKind::WarningOk, emptyText);
        return true;
      }
      if (choice.replace) {
        if (!clearTable(main_, g.master, &error)) return false;
        step();
        if (!clearTable(main_, g.detail, &error)) return false;
        step();
      }
      return MergeKeyedGroup(kWorkConnection, main_, g, report, &error, [this] { step(); });
    };
    if (!group(choice.programs, kProgramGroup, kProgramsEmpty, &out.programs) ||
        !group(choice.records, kClientGroup, kRecordsEmpty, &out.records)) {
      transaction.rollback();
      return fail(WriteFailureText(kImportFailed, error));
    }
    if (!transaction.commit(&error)) return fail(WriteFailureText(kImportFailed, error));
  }
  // A replace takes the stored form of the test in work with the other tests.
  ForgetDeletedCurrentTest(main_);
  CloseDatabase(kWorkConnection);
  step();
  step();

  QString text = choice.replace ? kReplaceDone : kAppendDone;
  const QStringList renamed = out.programs.renamed + out.records.renamed;
  if (!renamed.isEmpty())
    text += QStringLiteral("\n下列編號在系統中已屬於其他名稱，匯入的資料改用新編號：\n") +
            renamed.join(QStringLiteral("、"));
  const int added = out.programs.mastersAdded + out.programs.detailsAdded +
                    out.records.mastersAdded + out.records.detailsAdded;
  const int there = out.programs.mastersMerged + out.programs.detailsAlreadyThere +
                    out.records.mastersMerged + out.records.detailsAlreadyThere;
  if (added == 0 && there > 0)
    text += QStringLiteral("\n來源的資料都已存在於系統中，沒有新增任何資料。");
  if (onFull) onFull();
  out.ok = true;
  out.message = text;
  AskUser(MsgKind::ImportantOk, text);
  return out;
}

}  // namespace ruto
