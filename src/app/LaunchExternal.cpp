#include "app/LaunchExternal.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include "app/AskUser.h"
#include "base/Text.h"

namespace ruto {

namespace {

ExternalStarter gStarter = nullptr;

bool start(const QString& program, const QString& param, bool isProgram) {
  if (gStarter) {
    gStarter(program, param, isProgram);
    return true;
  }
  if (isProgram) return QProcess::startDetached(program, ExternalArguments(param));
  const QUrl url =
      QFileInfo::exists(program) ? QUrl::fromLocalFile(program) : QUrl::fromUserInput(program);
  return url.isValid() && QDesktopServices::openUrl(url);
}

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

QStringList ExternalArguments(const QString& param) {
  if (param.isEmpty()) return {};
  if (QFileInfo::exists(param)) return {param};
  return QProcess::splitCommand(param);
}

void SetExternalStarter(ExternalStarter starter) { gStarter = starter; }

bool LaunchExternal(const QString& progIn, const QString& paramIn) {
  QString prog = progIn;
  QString param = paramIn;
  if (!searchDrives(prog)) return false;
  if (!searchDrives(param)) param = paramIn;
  prog = ruto::Trim(prog);
  param = ruto::Trim(param);
  if (!prog.isEmpty()) return start(prog, param, looksLikeProgramFile(prog));
  if (!param.isEmpty()) return start(param, QString(), false);
  return false;
}

bool LaunchExternalOrReport(const QString& prog, const QString& param) {
  if (LaunchExternal(prog, param)) return true;
  const QString what = ruto::Trim(prog).isEmpty() ? ruto::Trim(param) : ruto::Trim(prog);
  AskUser(MsgKind::WarningOk, kExternalStartFailedText + QLatin1Char('\n') +
                                  (what.isEmpty() ? kExternalNothingSetText : what));
  return false;
}

}  // namespace ruto
