#pragma once
// Keeping writes off a database file that is damaged or held by another program: the
// start-up check of the main database, the verdict every write transaction waits for, the
// texts about a file another program holds, and the message of any write that failed.

#include <QSqlError>
#include <QString>

namespace ruto {

inline const QString kDatabaseDamagedText = QStringLiteral(
    "RUTO 資料庫檔案已損壞！本次執行不會寫入這個檔案，檔案保持原狀。請以備份的資料庫檔案取代"
    "後再啟動RUTO。");
inline const QString kDatabaseInUseText = QStringLiteral("資料庫檔案正被其他程式使用中：");
inline const QString kDatabaseInUseRetryText =
    QStringLiteral("請關閉該程式後按「是」再試一次，或按「否」結束RUTO。");

// A failed write as the user reads it: what was not done, in the program's words, and the
// database's reason (which may be English) on the lines below.
QString WriteFailureText(const QString& message, const QString& reason);

// True when SQLite gave up waiting for another connection's lock.
bool IsDatabaseBusy(const QSqlError& error);
// True when SQLite found the file's structure broken.
bool IsDatabaseDamaged(const QSqlError& error);

// The program holding a lock on (or having open) the file at `path`, as "name (PID n)";
// empty when no other process can be named.
QString DatabaseHolder(const QString& path);
// The in-use text: the file, and the program holding it when it can be named.
QString DatabaseInUseMessage(const QString& path);

// Starts PRAGMA quick_check of the file under `connectionName` on a worker thread with its
// own read-only connection, so the windows need not wait for it. A damaged file is reported
// once, through AskUser on the main thread. Writes on that connection wait for the verdict
// (WaitForWriteVerdict).
void StartDatabaseCheck(const QString& connectionName, const QString& path);
// Stops a running check and forgets the verdict of `connectionName`.
void StopDatabaseCheck(const QString& connectionName);

// Waits for the check of `connectionName`, if one was started. False, with the text to
// show, when the file is damaged or, its check having found the file busy, still cannot be
// checked.
bool WaitForWriteVerdict(const QString& connectionName, QString* error);

}  // namespace ruto
