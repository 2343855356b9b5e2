#pragma once
// Draws one point picture: the hand or foot of the point's side (the right one mirrored),
// the point marked and named; kind 1 shaded, kind 2 a line drawing, kind 3 both.

#include <QImage>

namespace ruto {

inline constexpr int kPictureWidth = 240;
inline constexpr int kPictureHeight = 200;

// Picture of point 1..24 in kind 1..3; a null image for anything else.
QImage PaintPointPicture(int point, int kind);

}  // namespace ruto
