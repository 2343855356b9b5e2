#pragma once
// Trimming and cleaning of texts read from files and typed by the operator.

#include <QString>

namespace ruto {
// Trims every character at or below the blank (controls included), not just white space.
QString Trim(const QString& s);
QString TrimLeft(const QString& s);
QString TrimRight(const QString& s);
// `s` with every control character and line or paragraph separator replaced by a blank, for
// showing texts read from files (one line each, nothing invisible moving the rest).
QString BlankControls(QString s);
}  // namespace ruto
