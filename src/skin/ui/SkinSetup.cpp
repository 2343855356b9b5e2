#include "skin/ui/SkinSetup.h"

#include <QApplication>
#include <QFile>

#include "skin/SkinData.h"
#include "skin/ui/SkinManager.h"

namespace ruto {

void InstallSkinManager(std::function<void(const QString&)> reporter) {
  QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
  TSkinData::SetReporter(std::move(reporter));
  SkinManager();
}

QByteArray OwnSkinPackage() {
  QFile f(QStringLiteral(":/skin/ruto.skin"));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace ruto
