#include "base/Numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include <QLocale>

namespace ruto {

long long near(double x) {
  if (std::isnan(x)) return 0;
  // 2^63 is the first double past the range; -2^63 itself is in it.
  constexpr double kEnd = 9223372036854775808.0;
  if (x >= kEnd) return std::numeric_limits<long long>::max();
  if (x < -kEnd) return std::numeric_limits<long long>::min();
  return static_cast<long long>(std::nearbyint(x));
}

int nearInt(double x) {
  return static_cast<int>(std::clamp<long long>(near(x), std::numeric_limits<int>::min(),
                                                std::numeric_limits<int>::max()));
}

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const long long num = static_cast<long long>(a) * b;
  long long q = num / c;
  const long long r = num % c;
  // Round the remainder half away from zero.
  if (2 * std::llabs(r) >= std::llabs(static_cast<long long>(c)))
    q += ((num < 0) != (c < 0)) ? -1 : 1;
  if (q > std::numeric_limits<int>::max() || q < std::numeric_limits<int>::min()) return -1;
  return static_cast<int>(q);
}

namespace {

// Decimal digits of |x| rounded to `decimals` places, ties away from zero. glibc rounds the
// exact binary value, so 42.25 would give 42.2; we round the shortest decimal
// representation instead (the 17-digit text), so a printed tie always goes away from zero.
QString fixedDigits(double x, int decimals) {
  if (decimals < 0) decimals = 0;
  if (decimals > 18) decimals = 18;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.17e", std::fabs(x));
  // Shortest round-trip text first, so 0.1+0.2 style noise does not decide a tie.
  for (int prec = 1; prec <= 17; ++prec) {
    char t[64];
    std::snprintf(t, sizeof t, "%.*e", prec - 1, std::fabs(x));
    if (std::strtod(t, nullptr) == std::fabs(x)) {
      std::snprintf(buf, sizeof buf, "%s", t);
      break;
    }
  }
  // buf is d.ddddde[+-]xx
  QString s = QString::fromLatin1(buf);
  const int ePos = s.indexOf(QLatin1Char('e'));
  const int exp = s.mid(ePos + 1).toInt();
  QString mant = s.left(ePos);
  mant.remove(QLatin1Char('.'));
  // digits with the decimal point after position exp+1
  int pointPos = exp + 1;
  QString digits = mant;
  if (pointPos <= 0) {
    digits = QString(-pointPos + 1, QLatin1Char('0')) + digits;
    pointPos = 1;
  }
  while (digits.size() < pointPos + decimals + 1) digits += QLatin1Char('0');
  // round at position pointPos + decimals
  const int cut = pointPos + decimals;
  bool up = digits.at(cut) >= QLatin1Char('5');
  QString kept = digits.left(cut);
  if (up) {
    int i = kept.size() - 1;
    while (i >= 0) {
      if (kept[i] == QLatin1Char('9')) {
        kept[i] = QLatin1Char('0');
        --i;
      } else {
        kept[i] = QChar(kept[i].unicode() + 1);
        break;
      }
    }
    if (i < 0) {
      kept.prepend(QLatin1Char('1'));
      ++pointPos;
    }
  }
  QString intPart = kept.left(pointPos);
  while (intPart.size() > 1 && intPart.at(0) == QLatin1Char('0')) intPart.remove(0, 1);
  if (intPart.isEmpty()) intPart = QStringLiteral("0");
  if (decimals == 0) return intPart;
  return intPart + QLatin1Char('.') + kept.mid(pointPos);
}

double argAsDouble(const FormatArg& a) {
  if (auto p = std::get_if<double>(&a)) return *p;
  if (auto p = std::get_if<long long>(&a)) return static_cast<double>(*p);
  return StrToFloatDef(std::get<QString>(a), 0.0);
}

long long argAsInt(const FormatArg& a) {
  if (auto p = std::get_if<long long>(&a)) return *p;
  if (auto p = std::get_if<double>(&a)) return near(*p);
  return StrToIntDef(std::get<QString>(a), 0);
}

QString argAsString(const FormatArg& a) {
  if (auto p = std::get_if<QString>(&a)) return *p;
  if (auto p = std::get_if<long long>(&a)) return QString::number(*p);
  return FloatToStr(std::get<double>(a));
}

bool isZeroText(const QString& s) {
  for (QChar c : s)
    if (c != QLatin1Char('0') && c != QLatin1Char('.')) return false;
  return true;
}

// "1234567.5" -> "1,234,567.5": the 'n' conversion groups the integer part by thousands.
QString groupThousands(const QString& digits) {
  int end = digits.indexOf(QLatin1Char('.'));
  if (end < 0) end = digits.size();
  QString out = digits;
  for (int pos = end - 3; pos > 0; pos -= 3) out.insert(pos, QLatin1Char(','));
  return out;
}

}  // namespace

QString FormatFixed(double x, int decimals) {
  if (std::isnan(x)) return QStringLiteral("NAN");
  if (std::isinf(x)) return x < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
  QString body = fixedDigits(x, decimals);
  if (std::signbit(x) && !isZeroText(body)) body.prepend(QLatin1Char('-'));
  return body;
}

QString Format(const QString& fmt, std::initializer_list<FormatArg> args) {
  QString out;
  auto it = args.begin();
  for (int i = 0; i < fmt.size(); ++i) {
    const QChar c = fmt.at(i);
    if (c != QLatin1Char('%')) {
      out += c;
      continue;
    }
    int j = i + 1;
    if (j < fmt.size() && fmt.at(j) == QLatin1Char('%')) {
      out += QLatin1Char('%');
      i = j;
      continue;
    }
    bool left = false, zero = false;
    while (j < fmt.size() && (fmt.at(j) == QLatin1Char('-') || fmt.at(j) == QLatin1Char('0'))) {
      if (fmt.at(j) == QLatin1Char('-'))
        left = true;
      else
        zero = true;
      ++j;
    }
    int width = 0;
    while (j < fmt.size() && fmt.at(j).isDigit()) width = width * 10 + fmt.at(j++).digitValue();
    int prec = -1;
    if (j < fmt.size() && fmt.at(j) == QLatin1Char('.')) {
      ++j;
      prec = 0;
      while (j < fmt.size() && fmt.at(j).isDigit()) prec = prec * 10 + fmt.at(j++).digitValue();
    }
    if (j >= fmt.size()) {
      out += fmt.mid(i);
      break;
    }
    const QChar conv = fmt.at(j).toLower();
    const bool upper = fmt.at(j).isUpper();
    i = j;
    if (it == args.end()) continue;
    const FormatArg& arg = *it++;
    QString body;
    bool negative = false;
    switch (conv.toLatin1()) {
      case 'd':
      case 'u': {
        long long v = argAsInt(arg);
        negative = v < 0;
        body = QString::number(negative ? -static_cast<unsigned long long>(v)
                                        : static_cast<unsigned long long>(v));
        // A precision on %d pads with zeros to that many digits ("%.3d" of 7 is "007").
        if (prec > 0 && body.size() < prec)
          body = QString(prec - body.size(), QLatin1Char('0')) + body;
        break;
      }
      case 'f': {
        double v = argAsDouble(arg);
        body = fixedDigits(v, prec < 0 ? 2 : prec);
        negative = std::signbit(v) && !isZeroText(body);
        break;
      }
      case 'n': {
        double v = argAsDouble(arg);
        body = groupThousands(fixedDigits(v, prec < 0 ? 2 : prec));
        negative = std::signbit(v) && !isZeroText(body);
        break;
      }
      case 'e':
      case 'g': {
        double v = argAsDouble(arg);
        char b[64];
        const char pattern[] = {'%', '.', '*', conv.toLatin1(), 0};
        std::snprintf(b, sizeof b, pattern, prec < 0 ? 15 : prec, std::fabs(v));
        body = QString::fromLatin1(b);
        if (upper) body = body.toUpper();
        negative = std::signbit(v);
        break;
      }
      case 'x': {
        long long v = argAsInt(arg);
        body = QString::number(static_cast<unsigned long long>(v), 16);
        if (upper) body = body.toUpper();
        if (prec > 0 && body.size() < prec)
          body = QString(prec - body.size(), QLatin1Char('0')) + body;
        break;
      }
      case 's': {
        body = argAsString(arg);
        if (prec >= 0) body = body.left(prec);
        break;
      }
      default:
        body = argAsString(arg);
    }
    QString text = negative ? QStringLiteral("-") + body : body;
    if (text.size() < width) {
      const int pad = width - text.size();
      if (left)
        text += QString(pad, QLatin1Char(' '));
      else if (zero && conv != QLatin1Char('s'))
        text = (negative ? QStringLiteral("-") : QString()) + QString(pad, QLatin1Char('0')) + body;
      else
        text = QString(pad, QLatin1Char(' ')) + text;
    }
    out += text;
  }
  return out;
}

double StrToFloatDef(const QString& text, double def, bool* ok) {
  bool good = false;
  const double v = text.trimmed().toDouble(&good);  // QString::toDouble is locale-free ("C")
  if (ok) *ok = good && std::isfinite(v);
  return (good && std::isfinite(v)) ? v : def;
}

long long StrToIntDef(const QString& text, long long def, bool* ok) {
  bool good = false;
  const QString t = text.trimmed();
  long long v = 0;
  if (t.startsWith(QLatin1Char('$')))
    v = t.mid(1).toLongLong(&good, 16);
  else
    v = t.toLongLong(&good, 10);
  if (ok) *ok = good;
  return good ? v : def;
}

QString FloatToStr(double x) {
  if (!std::isfinite(x))
    return std::isnan(x) ? QStringLiteral("NAN")
                         : (x < 0 ? QStringLiteral("-INF") : QStringLiteral("INF"));
  QString s = QString::number(x, 'g', QLocale::FloatingPointShortest);
  // Keep ordinary magnitudes in plain notation so the settings file stays readable.
  const double a = std::fabs(x);
  if (s.contains(QLatin1Char('e')) && a >= 1e-6 && a < 1e15)
    s = QString::number(x, 'f', QLocale::FloatingPointShortest);
  return s;
}

}  // namespace ruto
