#pragma once
#include <QString>

namespace ruto {
// Trim as the original did: every character at or below the blank (controls included).
QString Trim(const QString& s);
QString TrimLeft(const QString& s);
QString TrimRight(const QString& s);
}  // namespace ruto
