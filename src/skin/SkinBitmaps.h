#pragma once
// Colour mixing, cached gradients and the image copies the skin derives from its bitmaps
// (grey, recoloured, mirrored, flipped, turned), plus the program's own small bitmaps.

#include <QImage>
#include <QRect>
#include <vector>

#include "base/Colors.h"

class QPainter;

namespace ruto {

// A skin colour: $BBGGRR, or negative for a system colour whose low byte is the index
// (15 button face, 18 button text, ...). -1 is "not given" wherever a field allows that.
using SkinColor = int;

constexpr SkinColor sysColor(int index) { return static_cast<int>(0xFF000000u | index); }
inline constexpr int COLOR_SCROLLBAR = 0, COLOR_ACTIVECAPTION = 2, COLOR_INACTIVECAPTION = 3,
                     COLOR_MENU = 4, COLOR_WINDOW = 5, COLOR_MENUTEXT = 7, COLOR_WINDOWTEXT = 8,
                     COLOR_CAPTIONTEXT = 9, COLOR_HIGHLIGHT = 13, COLOR_HIGHLIGHTTEXT = 14,
                     COLOR_BTNFACE = 15, COLOR_BTNSHADOW = 16, COLOR_GRAYTEXT = 17,
                     COLOR_BTNTEXT = 18, COLOR_INACTIVECAPTIONTEXT = 19, COLOR_BTNHIGHLIGHT = 20,
                     COLOR_3DDKSHADOW = 21, COLOR_3DLIGHT = 22;

// The $BBGGRR value of a skin colour; system colours come from the program's scheme.
TColor ResolveColor(SkinColor c);

// c1 weighted by amount: percent below 100, per mille from 100 on; channels clamped.
TColor BlendColors(SkinColor c1, SkinColor c2, int amount);

// The per-line colours of a two-colour gradient (entry k of n), truncating toward zero as
// the painters expect, so the last entry may come out one off c2.
std::vector<TColor> MakeGradient(int n, TColor c1, TColor c2);

// Sixteen most recent gradient shapes, filled round-robin and searched newest first.
class GradientCache {
 public:
  static constexpr int Slots = 16;
  // Index of a slot holding n colours from c1 to c2 (made when none matches).
  int GetGradient(int n, TColor c1, TColor c2);
  const std::vector<TColor>& slot(int i) const { return slots_[static_cast<size_t>(i)]; }

 private:
  std::vector<TColor> slots_[Slots];
  int next_ = 0;
};
GradientCache& gradientCache();
inline int GetGradient(int n, TColor c1, TColor c2) {
  return gradientCache().GetGradient(n, c1, c2);
}

// Paints rect from c1 to c2, line by line, top to bottom when vertical; only the lines
// inside the painter's clip are drawn.
void FillGradient(QPainter& p, const QRect& rect, SkinColor c1, bool vertical, SkinColor c2);

struct HueSat {
  int hue = 0;
  int saturation = 0;
};
// Hue and saturation 0..255; a dark colour (all channels below 160) reports saturation 200.
HueSat ColorHueSat(SkinColor c);

// Image copies. Every result is RGB32; the argument may be of any format.
QImage GrayBitmap(const QImage& img);
QImage ReplaceMagenta(const QImage& img, SkinColor c);
QImage MirrorBitmap(const QImage& img);
QImage FlipBitmap(const QImage& img);
QImage RotateBitmapLeft(const QImage& img);   // counter-clockwise: old top edge -> left
QImage RotateBitmapRight(const QImage& img);  // clockwise: old left edge -> top

inline constexpr QRgb Magenta = 0xFFFF00FFu;
inline bool isMagenta(QRgb px) { return (px & 0xFFFFFFu) == 0xFF00FFu; }
// ARGB32 copy with magenta pixels made fully transparent.
QImage MagentaKeyed(const QImage& img);

// The program's own bitmaps: four 16x16 system-menu glyphs side by side on white (0 restore,
// 1 maximize, 2 minimize, 3 close), and the horizontal and vertical track images used when a
// skin has none.
QImage MenuGlyphsBitmap();
QImage TrackBitmap(bool vertical);
// The program's icon, 32x32 with transparency.
QImage ApplicationIcon();

}  // namespace ruto
