#pragma once
// Colours are written as $BBGGRR values throughout the program ($0000FF red, $00FF00
// green, $FF0000 blue); these turn them into QColor and back.

#include <QColor>
#include <cstdint>

namespace ruto {

using TColor = std::uint32_t;  // $00BBGGRR

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF;
// The standard window colours (button face, shadows, highlight) of the default scheme.
constexpr TColor clBtnFace = 0xC0C0C0, clBtnShadow = 0x808080, clBtnHighlight = 0xFFFFFF,
                 clWindow = 0xFFFFFF, clWindowText = 0x000000, clHighlight = 0x800000,
                 clHighlightText = 0xFFFFFF, cl3DDkShadow = 0x404040, cl3DLight = 0xE0E0E0;

constexpr int GetRValue(TColor c) { return static_cast<int>(c & 0xFF); }
constexpr int GetGValue(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int GetBValue(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr TColor RGB(int r, int g, int b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

inline QColor toQColor(TColor c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
inline TColor fromQColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }
// The same colour as a QRgb pixel value (opaque), for comparing QImage pixels.
inline unsigned int toQRgb(TColor c) {
  return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

}  // namespace ruto
