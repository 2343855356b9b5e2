#include "app/StartupFiles.h"

#include <QFile>
#include <QStringList>

#include "app/AskUser.h"
#include "app/Database.h"
#include "app/DatabaseGuard.h"
#include "app/Databases.h"
#include "app/InstallDir.h"
#include "app/MainSchema.h"
#include "app/Settings.h"
#include "base/Files.h"

namespace ruto {

namespace {
bool exists(const QString& name) { return InstallFileExists(name); }
}  // namespace

TStartupFiles PrepareDatabaseFiles() {
  TStartupFiles r;
  // Copies of client data that a killed import or migration left behind.
  ruto::RemoveStaleWorkFolders();
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
    // Under the connection's own spelling, so that tools given that name find this file.
    ruto::copyFileNoReplace(InstallPath(kTemplateDatabase), InstallDir() + kMainDatabase);
    if (exists(kUpdateDatabase)) QFile::remove(InstallPath(kUpdateDatabase));
  }
  QStringList lines;
  for (const QString& name : {kTemplateDatabase, kMainDatabase, kReferenceDatabase, kOldDatabase,
                              kUpdateDatabase, kSettingsFileName}) {
    const QStringList variants = ruto::caseVariants(InstallDir(), name);
    if (variants.size() > 1)
      lines << QStringLiteral("使用 %1，略過 %2")
                   .arg(variants.first(), variants.mid(1).join(QStringLiteral("、")));
  }
  if (!lines.isEmpty())
    r.CaseNotice = kCaseVariantsText + QLatin1Char('\n') + InstallDir() + QLatin1Char('\n') +
                   lines.join(QLatin1Char('\n'));
  return r;
}

QString TemplateMissingMessage() {
  return kTemplateMissingText + QLatin1Char('\n') + InstallPath(kTemplateDatabase);
}

bool OpenStartupDatabases(QString* message) {
  QString detail;
  const QString mainPath = InstallPath(kMainDatabase);
  const QString refPath = InstallPath(kReferenceDatabase);
  // A file another program holds is no broken install: the operator may free it and retry,
  // or quit without a further message.
  bool quit = false;
  const auto open = [&](const QString& connection, const QString& path, const QStringList& tables) {
    DbOpenResult r = OpenDatabase(connection, path, tables, &detail);
    while (r == DbOpenResult::Busy && !quit) {
      quit = !AskUser(MsgKind::ImportantYesNo,
                      DatabaseInUseMessage(path) + QLatin1Char('\n') + kDatabaseInUseRetryText);
      if (!quit) r = OpenDatabase(connection, path, tables, &detail);
    }
    return r;
  };
  DbOpenResult main = open(kMainConnection, mainPath, kMainTables);
  DbOpenResult ref = DbOpenResult::OpenFailed;
  // Writes wait for the check's verdict, so it may run beside the rest of the start.
  if (main == DbOpenResult::Ok) StartDatabaseCheck(kMainConnection, mainPath);
  // A main database made by an earlier version is brought to the current tables first.
  if (main == DbOpenResult::Ok && !UpgradeMainSchema(kMainConnection, nullptr, &detail))
    main = DbOpenResult::OpenFailed;
  if (main == DbOpenResult::Ok) ref = open(kReferenceConnection, refPath, kReferenceTables);
  if (main == DbOpenResult::Ok && ref == DbOpenResult::Ok) return true;
  CloseStartupDatabases();
  const DbOpenResult failed = main != DbOpenResult::Ok ? main : ref;
  if (message && quit)
    message->clear();
  else if (message)
    *message = (failed == DbOpenResult::JetFile   ? kJetDatabaseText
                : failed == DbOpenResult::Damaged ? kDatabaseDamagedText
                                                  : kDatabaseOpenText) +
               QLatin1Char('\n') + (main != DbOpenResult::Ok ? mainPath : refPath);
  return false;
}

void CloseStartupDatabases() {
  StopDatabaseCheck(kMainConnection);
  CloseDatabase(kMainConnection);
  CloseDatabase(kReferenceConnection);
}

}  // namespace ruto
