#pragma once
// Copying an earlier version's main database ("ruto.mdb" in the install folder) into the
// main database at start-up, all or nothing, after which the old file becomes "ruto_BAK.mdb".

#include <QString>
#include <QStringList>
#include <functional>

namespace ruto {

inline const QString kOldBackupDatabase = QStringLiteral("ruto_BAK.mdb");
inline const QString kMigrationStatusText = QStringLiteral("RUTO 資料庫轉換中，請稍候..");
// Table of the main database holding the SHA-256 of every old file copied in.
inline const QString kMigratedTable = QStringLiteral("MIGRATED");
// The progress bar's end; the position never passes it.
inline constexpr int kMigrationBarMax = 1300;

// The steps, in order, at which a test can make the migration fail.
enum class MigrationStep {
  PrivateCopy,   // the old file copied to a temporary folder
  Check,         // header, integrity, tables and columns of the copy
  CopyClients,   // VOCUST and VODATA by the key rule
  CopyPrograms,  // VOPRO and VOPRDT by the key rule
  RecordHash,    // the old file's hash stored with the rows
  Commit,
  Rename,  // ruto.mdb over ruto_BAK.mdb
};

struct MigrationResult {
  enum Outcome {
    NoOldDatabase,  // nothing to do
    Migrated,       // rows copied and the file renamed
    RenameOnly,     // an earlier start had copied the rows; only the rename was left
    Refused,        // the old file is damaged or foreign: nothing changed anywhere
    Failed,         // a failure on our side (main database, files): nothing changed
    NotRenamed,     // rows copied, the rename failed: the next start completes it
  };
  Outcome outcome = NoOldDatabase;
  // Kind-6 text for Refused, Failed and NotRenamed.
  QString message;
  // Kind-5 text listing the numbers that moved; empty when none did.
  QString renamedMessage;
  QStringList renamed;
  int rowsAdded[4] = {0, 0, 0, 0};  // VOCUST, VODATA, VOPRO, VOPRDT
};

class OldDatabaseMigration {
 public:
  // Works on the main database open as `mainConnection`, in InstallDir().
  explicit OldDatabaseMigration(QString mainConnection);

  // The progress bar's position, 0..kMigrationBarMax, each time it moves.
  std::function<void(int)> progress;
  // Consulted before each step; false makes that step fail (tests).
  std::function<bool(MigrationStep)> stepAllowed;

  static bool OldDatabasePresent();
  MigrationResult run();

 private:
  bool allowed(MigrationStep step) const { return !stepAllowed || stepAllowed(step); }
  void advance(int by);

  QString main_;
  int position_ = 0;
};

// Text of the kind-6 message for a refused or failed migration.
QString MigrationRefusedText(const QString& reason);

}  // namespace ruto
