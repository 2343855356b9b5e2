#pragma once
// The faces the program draws Han text with, on screen and on paper.

#include <QFont>
#include <QStringList>

namespace ruto {

// The Traditional Chinese faces first (Noto Sans CJK TC, then Noto Serif CJK TC), then any
// installed face that writes Traditional Chinese. Without them the system's fallback would
// draw Han text in whatever CJK face it lists first, often the Japanese one, whose shapes
// of many characters differ.
const QStringList& ProgramFontFamilies();

// `font` with `family` (may be empty) first and the program's faces after it, so that every
// character the family lacks comes from a Traditional Chinese face.
QFont WithProgramFamilies(QFont font, const QString& family = QString());

}  // namespace ruto
