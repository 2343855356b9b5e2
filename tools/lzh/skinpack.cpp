// skinpack OUTPUT DEFINITION.ini BITMAP.bmp...
// Builds a skin package: the definition first, then the bitmaps in the order given, each
// entry named by its file name.

#include "lzh/SkinPackage.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <cstdio>

namespace {

int fail(const QString& why) {
  std::fprintf(stderr, "skinpack: %s\n", qPrintable(why));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: skinpack OUTPUT DEFINITION.ini [BITMAP.bmp...]\n");
    return 2;
  }
  QList<ruto::SkinPackageEntry> entries;
  QSet<QString> seen;
  for (int i = 2; i < argc; ++i) {
    const QString path = QString::fromLocal8Bit(argv[i]);
    const QString name = QFileInfo(path).fileName();
    const QString lower = name.toLower();
    // The reader lower-cases names, takes the first of equal names and finds the
    // definition as the first entry containing ".ini", so the definition goes first: keep
    // all three unambiguous.
    if (i == 2 && !lower.endsWith(QLatin1String(".ini")))
      return fail(QStringLiteral("the definition must end in .ini: %1").arg(path));
    if (i > 2 && lower.endsWith(QLatin1String(".ini")))
      return fail(QStringLiteral("only one definition may end in .ini: %1").arg(path));
    if (seen.contains(lower)) return fail(QStringLiteral("two entries named %1").arg(lower));
    seen.insert(lower);
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return fail(QStringLiteral("cannot read %1").arg(path));
    entries.append({name, f.readAll()});
  }
  const QByteArray package = ruto::BuildSkinPackage(entries);
  QSaveFile out(QString::fromLocal8Bit(argv[1]));
  if (!out.open(QIODevice::WriteOnly) || out.write(package) != package.size() || !out.commit())
    return fail(QStringLiteral("cannot write %1").arg(QString::fromLocal8Bit(argv[1])));
  return 0;
}
