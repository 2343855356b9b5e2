#pragma once
// Number helpers shared by every subsystem: rounding, integer scaling and the fixed
// "%5.1f"-style formatting the program shows and prints.

#include <QString>
#include <cstdint>
#include <initializer_list>
#include <variant>

namespace ruto {

// Round half to even (banker's rounding): 2.5 gives 2, 3.5 gives 4. Defined for every double:
// NaN gives 0, and values beyond the result's range (infinities included) give its nearest end.
long long near(double x);
// The same into an int (pixel positions, counts).
int nearInt(double x);

// a * b / c with a 64-bit intermediate, rounding halves away from zero; -1 when c is 0.
int MulDiv(int a, int b, int c);

// One argument of Format(): a number or a string.
using FormatArg = std::variant<long long, double, QString>;

// printf-like formatting, independent of the locale:
// %[-][0][width][.prec](d|u|f|n|e|g|s|x|X|%), a decimal tie rounds away from zero
// ("n" is "f" with ',' between thousands: "%5.0n" of 3496 is "3,496")
// (42.25 -> "42.3"), "%6.0d" prints the number (0 is "0"). An argument of the wrong kind
// is converted; a missing argument prints nothing.
QString Format(const QString& fmt, std::initializer_list<FormatArg> args);

// Fixed-point text of x with `decimals` places, tie away from zero, "." as decimal point.
QString FormatFixed(double x, int decimals);

// Locale-free conversions; `ok` (when given) tells whether the whole text converted.
double StrToFloatDef(const QString& text, double def, bool* ok = nullptr);
long long StrToIntDef(const QString& text, long long def, bool* ok = nullptr);
// Shortest text that reads back as the same double ("." decimal point, no exponent for
// ordinary magnitudes).
QString FloatToStr(double x);

}  // namespace ruto
