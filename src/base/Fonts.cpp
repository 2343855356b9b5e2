#include "base/Fonts.h"

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

QFont WithProgramFamilies(QFont font, const QString& family) {
  QStringList families = ProgramFontFamilies();
  if (!family.isEmpty()) families.prepend(family);
  if (!families.isEmpty()) font.setFamilies(families);
  return font;
}

}  // namespace ruto
