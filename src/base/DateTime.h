#pragma once
// Dates are kept as OLE day numbers: days since 1899-12-30, the fraction the time of day.

#include <QDate>
#include <QDateTime>
#include <QString>

namespace ruto {

double toOleDate(const QDateTime& dt);
double toOleDate(const QDate& d);
// Invalid QDateTime for non-finite values or values outside the years 100..9999.
QDateTime fromOleDate(double ole);
double oleNow();
// The tables read a day number of 4000.0 (1910-12-13) or less as no date: the first day a
// date picker offers is the one after.
QDate FirstDatedDay();
// "yyyy/MM/dd", "HH:mm:ss" and both with a blank between; empty for an invalid day number.
QString formatOleDate(double ole);
QString formatOleTime(double ole);
QString formatOleDateTime(double ole);
// Reads "yyyy/MM/dd" (also "-" or "." separated, with an optional " HH:mm[:ss]").
bool parseOleDate(const QString& text, double* ole);

}  // namespace ruto
