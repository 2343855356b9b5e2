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
  // Before the epoch the fraction still counts forward from midnight (-1.25 is 6:00 on the
  // day before), as day numbers in stored files have it.
  return days >= 0 ? days + frac : days - frac;
}

namespace {
// Date and time of day of a day number, without a QDateTime: a local QDateTime consults the
// time-zone file on every construction, which copies of many rows pay for dearly.
bool oleParts(double ole, QDate* date, QTime* time) {
  if (!std::isfinite(ole) || ole < -657434.0 || ole >= 2958466.0) return false;
  const double whole = std::trunc(ole);
  double frac = std::fabs(ole - whole);
  long long ms = std::llround(frac * kMsPerDay);
  long long dayShift = 0;
  if (ms >= static_cast<long long>(kMsPerDay)) {
    ms -= static_cast<long long>(kMsPerDay);
    dayShift = 1;
  }
  *date = kEpoch.addDays(static_cast<qint64>(whole) + (ole < 0 ? -dayShift : dayShift));
  *time = QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms));
  return true;
}

double oleOf(const QDate& d, const QTime& t) {
  const double days = static_cast<double>(kEpoch.daysTo(d));
  const double frac = t.msecsSinceStartOfDay() / kMsPerDay;
  return days >= 0 ? days + frac : days - frac;
}
}  // namespace

QDate FirstDatedDay() { return fromOleDate(4001.0).date(); }

QDateTime fromOleDate(double ole) {
  QDate d;
  QTime t;
  if (!oleParts(ole, &d, &t)) return {};
  return QDateTime(d, t);
}

double oleNow() { return toOleDate(QDateTime::currentDateTime()); }

QString formatOleDate(double ole) {
  QDate d;
  QTime t;
  return oleParts(ole, &d, &t) ? d.toString(QStringLiteral("yyyy/MM/dd")) : QString();
}

QString formatOleTime(double ole) {
  QDate d;
  QTime t;
  return oleParts(ole, &d, &t) ? t.toString(QStringLiteral("HH:mm:ss")) : QString();
}

QString formatOleDateTime(double ole) {
  QDate d;
  QTime t;
  if (!oleParts(ole, &d, &t)) return {};
  return d.toString(QStringLiteral("yyyy/MM/dd")) + u' ' + t.toString(QStringLiteral("HH:mm:ss"));
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
  if (ole) *ole = oleOf(d, tm);
  return true;
}

}  // namespace ruto
