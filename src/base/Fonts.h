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

// The faces text is printed with: the print face first, when it is there, then the program's
// faces. The print face is a copy of the Traditional Chinese face whose characters each have a
// glyph of their own and that substitutes no glyphs, so that a PDF's text reads back as drawn
// (the screen face shares glyphs between radicals and ideographs, and replaces the digits after
// a Latin letter by forms outside its character map).
const QStringList& PrintFontFamilies();
QFont WithPrintFamilies(QFont font, const QString& family = QString());

// Where the print face is: in fonts/ beside the program, else in the build tree. Empty when it
// is in neither.
QString PrintFontFile();

}  // namespace ruto
