#include "app/InstallDir.h"

#include "base/Files.h"

namespace ruto {

namespace {
QString& installDir() {
  static QString dir = QStringLiteral(RUTO_INSTALL_DIR);
  return dir;
}
}  // namespace

QString InstallDir() { return installDir(); }

void SetInstallDir(const QString& dir) {
  installDir() = dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
}

QString InstallPath(const QString& name) { return ruto::pathNoCase(InstallDir(), name); }

bool InstallFileExists(const QString& name) { return ruto::fileExistsNoCase(InstallDir(), name); }

}  // namespace ruto
