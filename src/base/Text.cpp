#include "base/Text.h"

namespace ruto {

namespace {
bool low(QChar c) { return c.unicode() <= 0x20; }
}  // namespace

QString TrimLeft(const QString& s) {
  int i = 0;
  while (i < s.size() && low(s.at(i))) ++i;
  return s.mid(i);
}

QString TrimRight(const QString& s) {
  int n = s.size();
  while (n > 0 && low(s.at(n - 1))) --n;
  return s.left(n);
}

QString Trim(const QString& s) { return TrimRight(TrimLeft(s)); }

QString BlankControls(QString s) {
  for (QChar& c : s) {
    const QChar::Category category = c.category();
    if (category == QChar::Other_Control || category == QChar::Separator_Line ||
        category == QChar::Separator_Paragraph)
      c = QLatin1Char(' ');
  }
  return s;
}

}  // namespace ruto
