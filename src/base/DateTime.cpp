#include "base/DateTime.h"

#include <cmath>

namespace ruto {

namespace {
const QDate kEpoch(1899, 12, 30);
constexpr double kMsPerDay = 86400000.0;
}  // namespace

double toOleDate(const QDate& d) { return static_cast<double>(kEpoch.daysTo(d)); }

double toOleDate(const QDateTime& dt) {
  const double days = static_cast<double>(kEpoch.daysTo(dt.date()));
  const double frac = dt.time().msecsSinceStartOfDay() / kMsPerDay;
  // Before the epoch the fraction still counts forward from midnight (the original's rule).
  return days >= 0 ? days + frac : days - frac;
}

QDateTime fromOleDate(double ole) {
  if (!std::isfinite(ole) || ole < -657434.0 || ole >= 2958466.0) return {};
  const double whole = std::trunc(ole);
  double frac = std::fabs(ole - whole);
  long long ms = std::llround(frac * kMsPerDay);
  long long dayShift = 0;
  if (ms >= static_cast<long long>(kMsPerDay)) {
    ms -= static_cast<long long>(kMsPerDay);
    dayShift = 1;
  }
  const QDate d = kEpoch.addDays(static_cast<qint64>(whole) + (ole < 0 ? -dayShift : dayShift));
  return QDateTime(d, QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)));
}

double oleNow() { return toOleDate(QDateTime::currentDateTime()); }

QString formatOleDate(double ole) {
  const QDateTime dt = fromOleDate(ole);
  return dt.isValid() ? dt.date().toString(QStringLiteral("yyyy/MM/dd")) : QString();
}

QString formatOleTime(double ole) {
  const QDateTime dt = fromOleDate(ole);
  return dt.isValid() ? dt.time().toString(QStringLiteral("HH:mm:ss")) : QString();
}

QString formatOleDateTime(double ole) {
  const QDateTime dt = fromOleDate(ole);
  return dt.isValid() ? dt.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")) : QString();
}

bool parseOleDate(const QString& text, double* ole) {
  QString t = text.trimmed();
  t.replace(QLatin1Char('-'), QLatin1Char('/')).replace(QLatin1Char('.'), QLatin1Char('/'));
  const QStringList parts = t.split(QLatin1Char(' '), Qt::SkipEmptyParts);
  if (parts.isEmpty() || parts.size() > 2) return false;
  const QDate d = QDate::fromString(parts[0], QStringLiteral("yyyy/M/d"));
  if (!d.isValid()) return false;
  QTime tm(0, 0);
  if (parts.size() == 2) {
    tm = QTime::fromString(parts[1], QStringLiteral("H:m:s"));
    if (!tm.isValid()) tm = QTime::fromString(parts[1], QStringLiteral("H:m"));
    if (!tm.isValid()) return false;
  }
  if (ole) *ole = toOleDate(QDateTime(d, tm));
  return true;
}

}  // namespace ruto
