#pragma once
// Putting one frame of a multi-frame skin image onto a painter: nine-part stretching with
// fixed edges, the whole frame stretched or centred, three-part strips, and magenta as the
// transparent colour. Scaling is nearest-pixel, so magenta never bleeds into its neighbours.

#include <QImage>
#include <QRect>

class QPainter;

namespace ruto {

// Fixed edge sizes of a nine-part image: left, top, right, bottom.
struct SkinEdges {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// Frame k (from 1) of count equal frames side by side, or stacked when vertical. A count
// below 1 counts as 1 and the index is clamped to the strip.
QRect FrameRect(const QSize& image, int frameIndex, int frameCount, bool vertical = false);

// An image of size target from one frame: corners unscaled, edges stretched along their
// length, the middle stretched or tiled. Edges that do not fit the target become 0.
QImage StretchSkinImage(const QSize& target, const QImage& img, SkinEdges e, bool tile,
                        bool vertical, int frameCount, int frameIndex);

// All drawing routines draw nothing for a rectangle of negative width or height; the
// transparent flag keeps the destination under magenta pixels.
void DrawSkinImage(QPainter& p, const QRect& r, const QImage& img, SkinEdges e, int frameIndex,
                   int frameCount, bool trans, bool tile, bool vertical);
// Left edge, the middle repeated, right edge; a middle under one pixel stretches the frame.
void DrawThreePartImage(QPainter& p, const QRect& r, const QImage& img, SkinEdges e, int frameIndex,
                        int frameCount, bool trans, bool vertical);
void DrawImageFrame(QPainter& p, const QRect& r, const QImage& img, int frameIndex, int frameCount,
                    bool trans);
void DrawImageFrameCentered(QPainter& p, const QRect& r, const QImage& img, int frameIndex,
                            int frameCount, bool trans);
// Left edge, stretched middle, right edge; a frame wider than r is stretched whole.
void StretchThreePartImage(QPainter& p, const QRect& r, const QImage& img, SkinEdges e,
                           int frameIndex, int frameCount, bool vertical);
// The image from its top-left corner at the rectangle's size, colour transparent.
void DrawTransparentBitmap(QPainter& p, const QRect& r, const QImage& img, QRgb colour);

// ARGB copy with magenta transparent, cached per image.
const QImage& KeyedImage(const QImage& img);

}  // namespace ruto
