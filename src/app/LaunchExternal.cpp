#include "app/LaunchExternal.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include "base/Text.h"

namespace ruto {

namespace {

void realStart(const QString& program, const QString& param, bool isProgram) {
  if (isProgram) {
    QStringList args;
    if (!param.isEmpty()) args << param;
    QProcess::startDetached(program, args);
    return;
  }
  const QUrl url =
      QFileInfo::exists(program) ? QUrl::fromLocalFile(program) : QUrl::fromUserInput(program);
  QDesktopServices::openUrl(url);
}

ExternalStarter gStarter = &realStart;

// The drive-letter search: true when `path` exists as given or on one of the drives C..Q.
bool searchDrives(QString& path) {
  const int colon = path.indexOf(QLatin1Char(':'));
  if ((colon != 1 && colon != 2) || QFileInfo::exists(path)) return true;
  for (QChar letter : QStringLiteral("CDEFGHIJKLMNOPQ")) {
    path[colon - 1] = letter;
    if (QFileInfo::exists(path)) return true;
  }
  return false;
}

bool looksLikeProgramFile(const QString& prog) {
  if (prog.contains(QStringLiteral("://"))) return false;
  const QFileInfo fi(prog);
  return !fi.exists() || fi.isExecutable();
}

}  // namespace

void SetExternalStarter(ExternalStarter starter) { gStarter = starter ? starter : &realStart; }

void LaunchExternal(const QString& progIn, const QString& paramIn) {
  QString prog = progIn;
  QString param = paramIn;
  if (!searchDrives(prog)) return;
  if (!searchDrives(param)) param = paramIn;
  prog = ruto::Trim(prog);
  param = ruto::Trim(param);
  if (!prog.isEmpty())
    gStarter(prog, param, looksLikeProgramFile(prog));
  else if (!param.isEmpty())
    gStarter(param, QString(), false);
}

}  // namespace ruto
