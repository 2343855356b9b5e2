#include "base/Fonts.h"

#include <QCoreApplication>
#include <QFile>
#include <QFontDatabase>
#include <algorithm>

namespace ruto {

const QStringList& ProgramFontFamilies() {
  static const QStringList families = [] {
    QStringList out;
    for (const QString& f :
         {QStringLiteral("Noto Sans CJK TC"), QStringLiteral("Noto Serif CJK TC")})
      if (QFontDatabase::hasFamily(f)) out << f;
    if (out.isEmpty()) {
      // Any face that writes Traditional Chinese, sans-serif names first.
      QStringList any = QFontDatabase::families(QFontDatabase::TraditionalChinese);
      std::stable_sort(any.begin(), any.end(), [](const QString& a, const QString& b) {
        return a.contains(QLatin1String("Sans")) && !b.contains(QLatin1String("Sans"));
      });
      out << any;
    }
    return out;
  }();
  return families;
}

namespace {

QFont withFamilies(QFont font, QStringList families, const QString& family) {
  if (!family.isEmpty()) families.prepend(family);
  if (!families.isEmpty()) font.setFamilies(families);
  return font;
}

}  // namespace

QFont WithProgramFamilies(QFont font, const QString& family) {
  return withFamilies(std::move(font), ProgramFontFamilies(), family);
}

QString PrintFontFile() {
  for (const QString& path :
       {QCoreApplication::applicationDirPath() + QStringLiteral("/" RUTO_PRINT_FONT_FILE),
        QStringLiteral(RUTO_PRINT_FONT_BUILD_PATH)})
    if (QFile::exists(path)) return path;
  return QString();
}

const QStringList& PrintFontFamilies() {
  static const QStringList families = [] {
    QStringList out;
    const QString file = PrintFontFile();
    const int id = file.isEmpty() ? -1 : QFontDatabase::addApplicationFont(file);
    if (id >= 0) out << QFontDatabase::applicationFontFamilies(id).mid(0, 1);
    // Characters the print face leaves out (the radicals) come from the screen faces.
    out << ProgramFontFamilies();
    return out;
  }();
  return families;
}

QFont WithPrintFamilies(QFont font, const QString& family) {
  return withFamilies(std::move(font), PrintFontFamilies(), family);
}

}  // namespace ruto
