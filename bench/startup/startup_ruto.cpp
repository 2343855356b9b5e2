// The program's start-up as far as the main window shown, in a prepared install folder
// (template and reference database present, main database and settings made at start).
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>

#include "app/InstallDir.h"
#include "app/ui/Application.h"
#include "app/ui/MainWindow.h"

using namespace ruto;

int main(int argc, char** argv) {
  Application app(argc, argv);
  QTemporaryDir dir;
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : dir.path();
  SetInstallDir(folder);
  if (!QFile::exists(folder + "/VoSpa.mdb"))
    QFile::copy(QStringLiteral(RUTO_GENERATED_DIR "/VoSpa.mdb"), folder + "/VoSpa.mdb");
  if (!QFile::exists(folder + "/rutoTW.mdb")) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("prep"));
    db.setDatabaseName(folder + "/rutoTW.mdb");
    db.open();
    QSqlQuery(db).exec(QStringLiteral("CREATE TABLE VOMTDB (MKEY INTEGER PRIMARY KEY)"));
    db.close();
  }
  QSqlDatabase::removeDatabase(QStringLiteral("prep"));
  if (!CreateMainWindows()) return 1;
  TheMainWindow->showMaximized();
  QTimer::singleShot(0, &app, [] { QCoreApplication::exit(0); });
  const int rc = app.exec();
  DestroyMainWindows();
  return rc;
}
