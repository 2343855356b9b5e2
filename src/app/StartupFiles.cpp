#include "app/StartupFiles.h"

#include <QFile>

#include "app/Database.h"
#include "app/Databases.h"
#include "app/InstallDir.h"
#include "app/MainSchema.h"
#include "base/Files.h"

namespace ruto {

namespace {
bool exists(const QString& name) { return InstallFileExists(name); }
}  // namespace

TStartupFiles PrepareDatabaseFiles() {
  TStartupFiles r;
  if (!exists(kTemplateDatabase)) {
    r.TemplateMissing = true;
    return r;
  }
  // An old database still waiting for migration would be overwritten by the swap, so the
  // update then stays where it is until the migration has run.
  const bool keepUpdate = exists(kUpdateDatabase) && exists(kMainDatabase) && exists(kOldDatabase);
  if (!keepUpdate && exists(kUpdateDatabase) && exists(kMainDatabase)) {
    const QString main = InstallPath(kMainDatabase);
    const QString old = InstallDir() + kOldDatabase;
    if (ruto::renameNoReplace(main, old) &&
        !ruto::renameNoReplace(InstallPath(kUpdateDatabase), InstallDir() + kMainDatabase))
      ruto::renameNoReplace(old, main);  // keep the main database where it was
  }
  if (!keepUpdate && exists(kUpdateDatabase) && exists(kOldDatabase))
    QFile::remove(InstallPath(kUpdateDatabase));
  if (!exists(kMainDatabase)) {
    ruto::copyFileNoReplace(InstallPath(kTemplateDatabase),
                            InstallDir() + QStringLiteral("Ruto4.mdb"));
    if (exists(kUpdateDatabase)) QFile::remove(InstallPath(kUpdateDatabase));
  }
  return r;
}

bool OpenStartupDatabases(QString* message) {
  QString detail;
  DbOpenResult main =
      OpenDatabase(kMainConnection, InstallPath(kMainDatabase), kMainTables, &detail);
  DbOpenResult ref = DbOpenResult::OpenFailed;
  // A main database made by an earlier version is brought to the current tables first.
  if (main == DbOpenResult::Ok && !UpgradeMainSchema(kMainConnection, nullptr, &detail))
    main = DbOpenResult::OpenFailed;
  if (main == DbOpenResult::Ok)
    ref = OpenDatabase(kReferenceConnection, InstallPath(kReferenceDatabase), kReferenceTables,
                       &detail);
  if (main == DbOpenResult::Ok && ref == DbOpenResult::Ok) return true;
  CloseStartupDatabases();
  if (message)
    *message = (main == DbOpenResult::JetFile || ref == DbOpenResult::JetFile) ? kJetDatabaseText
                                                                               : kDatabaseOpenText;
  return false;
}

void CloseStartupDatabases() {
  CloseDatabase(kMainConnection);
  CloseDatabase(kReferenceConnection);
}

}  // namespace ruto
