#pragma once
// Opening the program's SQLite database files as named Qt SQL connections. A file is checked
// before SQLite sees it: SQLite would create a missing file, and a Jet file carried over from
// the other platform deserves its own clear message.

#include <QString>
#include <QStringList>

namespace ruto {

// Busy: another program held a lock on the file for longer than kBusyTimeoutMs. Damaged:
// SQLite found the file's own structure broken.
enum class DbOpenResult {
  Ok,
  Missing,
  NotSqlite,
  JetFile,
  MissingTables,
  OpenFailed,
  Busy,
  Damaged
};

// Tables each database file must hold.
inline const QStringList kMainTables = {QStringLiteral("VOCUST"), QStringLiteral("VODATA"),
                                        QStringLiteral("VOPRO"), QStringLiteral("VOPRDT")};
inline const QStringList kReferenceTables = {QStringLiteral("VOMTDB")};
inline const QStringList kMultiMeridianTables = {QStringLiteral("VOPRO"), QStringLiteral("VOPRDT")};
// A transfer file and an old main database hold the same four tables as the main database.
inline const QStringList& kTransferTables = kMainTables;

// How long a statement waits for another connection's lock before it fails.
inline constexpr int kBusyTimeoutMs = 5000;

// What the first bytes of `path` say about the file (Ok = SQLite). Missing when the file
// cannot be read at all.
DbOpenResult CheckDatabaseFile(const QString& path, QString* detail = nullptr);

// Opens `path` as the Qt SQL (QSQLITE) connection `connectionName` (replacing an existing
// connection of that name) after checking that the file exists, starts with the SQLite
// header (a Jet/Access file gives JetFile), and holds `requiredTables` (case-insensitive).
// On failure the connection is removed and `detail` says why.
DbOpenResult OpenDatabase(const QString& connectionName, const QString& path,
                          const QStringList& requiredTables, QString* detail = nullptr);
// Closes and removes the connection; nothing happens when there is none.
void CloseDatabase(const QString& connectionName);

// Names of the tables of an open connection, as stored.
QStringList DatabaseTables(const QString& connectionName);

}  // namespace ruto
