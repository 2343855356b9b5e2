#include "app/StartupFiles.h"

#include <QFile>

#include "app/Database.h"
#include "app/Databases.h"
#include "app/InstallDir.h"
#include "base/Files.h"

namespace {
bool exists(const QString& name) { return InstallFileExists(name); }
}  // namespace

TStartupFiles PrepareDatabaseFiles() {
  TStartupFiles r;
  if (!exists(kTemplateDatabase)) {
    r.TemplateMissing = true;
    return r;
  }
  if (exists(kUpdateDatabase) && exists(kMainDatabase)) {
    if (exists(kOldDatabase)) {
      // An old database still waits for migration; putting the update in place now would
      // have to overwrite it, so the update stays where it is until that has run.
      r.UpdateKept = true;
    } else {
      const QString main = InstallPath(kMainDatabase);
      const QString old = InstallDir() + kOldDatabase;
      if (ruto::renameNoReplace(main, old)) {
        if (ruto::renameNoReplace(InstallPath(kUpdateDatabase), InstallDir() + kMainDatabase))
          r.UpdateSwapped = true;
        else
          ruto::renameNoReplace(old, main);  // keep the main database where it was
      }
    }
  }
  if (!r.UpdateKept && exists(kUpdateDatabase) && exists(kOldDatabase))
    QFile::remove(InstallPath(kUpdateDatabase));
  if (!exists(kMainDatabase)) {
    r.MainCreated = ruto::copyFileNoReplace(InstallPath(kTemplateDatabase),
                                            InstallDir() + QStringLiteral("Ruto4.mdb"));
    r.MainCopyFailed = !r.MainCreated;
    if (exists(kUpdateDatabase)) QFile::remove(InstallPath(kUpdateDatabase));
  }
  return r;
}

bool OpenStartupDatabases(QString* message) {
  QString detail;
  const DbOpenResult main =
      OpenDatabase(kMainConnection, InstallPath(kMainDatabase), kMainTables, &detail);
  DbOpenResult ref = DbOpenResult::OpenFailed;
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
