// Colour mixing, gradients, image copies and the drawing routines of skin images.
#include <gtest/gtest.h>

#include <tuple>

#include <QPainter>

#include "skin/SkinBitmaps.h"
#include "skin/SkinDraw.h"

namespace ruto {
namespace {

TEST(SkinColours, BlendColorsPercentAndPerMille) {
  const std::tuple<SkinColor, SkinColor, int, TColor> cases[] = {
      {0xFFFFFF, 0x000000, 99, RGB(252, 252, 252)},  // percent scale
      {0xFFFFFF, 0x000000, 100, RGB(26, 26, 26)},    // per mille from 100 on
      {0xFFFFFF, 0x000000, 30, RGB(77, 77, 77)},
      {0xFFFFFF, 0x000000, 2000, RGB(255, 255, 255)},  // clamped, not wrapped
      {0xFFFFFF, 0x000000, -50, RGB(0, 0, 0)},
      {sysColor(COLOR_BTNFACE), 0xFFFFFF, 0, RGB(255, 255, 255)}};
  for (const auto& [c1, c2, amount, want] : cases)
    EXPECT_EQ(BlendColors(c1, c2, amount), want) << amount;
}

TEST(SkinColours, GradientEntriesTruncateTowardZero) {
  EXPECT_EQ(MakeGradient(3, RGB(255, 0, 0), RGB(0, 0, 0)),
            (std::vector<TColor>{RGB(255, 0, 0), RGB(128, 0, 0), RGB(1, 0, 0)}));
  EXPECT_EQ(MakeGradient(1, RGB(0, 0, 0), RGB(200, 100, 51)),
            (std::vector<TColor>{RGB(100, 50, 25)}));
}

TEST(SkinColours, GradientCacheSharesSlotsAndOverwritesOldest) {
  GradientCache cache;
  const int a = cache.GetGradient(10, RGB(0, 0, 0), RGB(90, 90, 90));
  EXPECT_EQ(cache.GetGradient(10, RGB(0, 0, 0), RGB(90, 90, 90)), a);
  for (int i = 1; i < GradientCache::Slots; ++i) cache.GetGradient(10 + i, 0, RGB(90, 90, 90));
  // The seventeenth shape takes the oldest slot.
  EXPECT_EQ(cache.GetGradient(99, 0, RGB(90, 90, 90)), a);
  // A gradient whose last entry comes out one off its end colour is made anew each time.
  const int b = cache.GetGradient(40, RGB(249, 248, 247), RGB(117, 117, 186));
  EXPECT_NE(cache.GetGradient(40, RGB(249, 248, 247), RGB(117, 117, 186)), b);
}

TEST(SkinColours, FillGradientPaintsOnlyInsideClip) {
  QImage img(4, 10, QImage::Format_RGB32);
  img.fill(Qt::green);
  QPainter p(&img);
  p.setClipRect(QRect(0, 5, 4, 5));
  FillGradient(p, img.rect(), 0x000000, true, 0xFFFFFF);
  p.end();
  EXPECT_EQ(img.pixel(0, 4), QColor(Qt::green).rgb());
  EXPECT_EQ(qRed(img.pixel(0, 9)), 255);
  EXPECT_EQ(qRed(img.pixel(0, 5)), (255 * 5 + 4) / 9);
  // Under a moved painter the lines that land on the device are painted.
  QImage moved(4, 10, QImage::Format_RGB32);
  moved.fill(Qt::green);
  QPainter q(&moved);
  q.translate(0, -5);
  FillGradient(q, QRect(0, 5, 4, 10), 0x000000, true, 0xFFFFFF);
  q.end();
  EXPECT_EQ(qRed(moved.pixel(0, 9)), 255);
}

TEST(SkinColours, HueAndSaturation) {
  const std::tuple<TColor, int, int> cases[] = {
      {RGB(0, 0, 128), 170, 200},    // dark and saturated reports 200
      {RGB(128, 128, 128), 0, 200},  // dark grey
      {RGB(200, 200, 200), 0, 0},    // light grey: no saturation
      {RGB(255, 0, 0), 0, 255},     {RGB(0, 255, 0), 85, 255}, {RGB(255, 0, 255), 213, 255}};
  for (const auto& [c, hue, sat] : cases) {
    const HueSat hs = ColorHueSat(static_cast<SkinColor>(c));
    EXPECT_EQ(hs.hue, hue) << std::hex << c;
    EXPECT_EQ(hs.saturation, sat) << std::hex << c;
  }
}

QImage threeByTwo() {
  QImage img(3, 2, QImage::Format_RGB32);
  const QRgb px[6] = {qRgb(1, 2, 3),    0xFFFF00FF,       qRgb(7, 8, 9),
                      qRgb(10, 11, 12), qRgb(13, 14, 15), qRgb(16, 17, 18)};
  for (int i = 0; i < 6; ++i) img.setPixel(i % 3, i / 3, px[i]);
  return img;
}

TEST(SkinImages, CopiesWorkPerPixel) {
  const QImage src = threeByTwo();
  const QImage l = RotateBitmapLeft(src), r = RotateBitmapRight(src);
  const QImage rep = ReplaceMagenta(src, 0x00FF00);
  EXPECT_EQ(MirrorBitmap(src).pixel(0, 0), src.pixel(2, 0));
  EXPECT_EQ(FlipBitmap(src).pixel(0, 0), src.pixel(0, 1));
  ASSERT_EQ(l.size(), QSize(2, 3));
  EXPECT_EQ(l.pixel(0, 0), src.pixel(2, 0));  // old top edge becomes the left edge
  EXPECT_EQ(l.pixel(0, 2), src.pixel(0, 0));
  ASSERT_EQ(r.size(), QSize(2, 3));
  EXPECT_EQ(r.pixel(1, 0), src.pixel(0, 0));  // old left edge becomes the top edge
  EXPECT_EQ(r.pixel(0, 0), src.pixel(0, 1));
  EXPECT_EQ(GrayBitmap(src).pixel(2, 1), qRgb(17, 17, 17));
  EXPECT_EQ(rep.pixel(1, 0), qRgb(0, 255, 0));
  EXPECT_EQ(rep.pixel(0, 0), src.pixel(0, 0));
}

// A 3x3 image of nine colours, edges of one pixel: the corners stay single pixels, the
// edges stretch along their length and the middle fills the rest.
TEST(SkinDraw, StretchSkinImageNineParts) {
  QImage nine(3, 3, QImage::Format_RGB32);
  for (int i = 0; i < 9; ++i) nine.setPixel(i % 3, i / 3, qRgb(10 * (i + 1), 0, 0));
  const QImage out = StretchSkinImage(QSize(7, 5), nine, {1, 1, 1, 1}, false, false, 1, 1);
  auto part = [](int v, int last) { return v == 0 ? 0 : v == last ? 2 : 1; };
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x)
      EXPECT_EQ(qRed(out.pixel(x, y)) / 10 - 1, part(y, 4) * 3 + part(x, 6)) << x << "," << y;
  // Edges wider than the target together are dropped: the whole frame is stretched.
  const QImage small = StretchSkinImage(QSize(1, 1), nine, {1, 1, 1, 1}, false, false, 1, 1);
  EXPECT_EQ(small.size(), QSize(1, 1));
}

TEST(SkinDraw, FrameIndicesAreClampedAndCountsAtLeastOne) {
  const QSize s(100, 20);
  EXPECT_EQ(FrameRect(s, 3, 5), QRect(40, 0, 20, 20));
  EXPECT_EQ(FrameRect(s, 9, 5), QRect(80, 0, 20, 20));
  EXPECT_EQ(FrameRect(s, 0, 5), QRect(0, 0, 20, 20));
  EXPECT_EQ(FrameRect(s, 1, 0), QRect(0, 0, 100, 20));
  EXPECT_EQ(FrameRect(QSize(20, 40), 2, 2, true), QRect(0, 20, 20, 20));
}

class DrawRoutines : public ::testing::Test {
 protected:
  void SetUp() override {
    dest = QImage(30, 30, QImage::Format_RGB32);
    dest.fill(Qt::white);
    strip = QImage(32, 16, QImage::Format_RGB32);  // two 16x16 frames, magenta centre
    strip.fill(Qt::blue);
    for (int y = 6; y < 10; ++y)
      for (int x = 6; x < 10; ++x) strip.setPixel(16 + x, y, 0xFFFF00FF);
  }
  QImage dest, strip;
};

TEST_F(DrawRoutines, NegativeRectanglesDrawNothing) {
  const QRect neg(QPoint(10, 10), QPoint(2, 20));  // right left of left
  const QImage before = dest;
  QPainter p(&dest);
  DrawSkinImage(p, neg, strip, {}, 1, 2, false, false, false);
  DrawThreePartImage(p, neg, strip, {2, 0, 2, 0}, 1, 2, false, false);
  DrawImageFrame(p, neg, strip, 1, 2, false);
  DrawImageFrameCentered(p, neg, strip, 1, 2, false);
  DrawTransparentBitmap(p, neg, strip, 0xFFFF00FF);
  p.end();
  EXPECT_EQ(dest, before);
}

TEST_F(DrawRoutines, CentredFrameStandsTwoPixelsIn) {
  QPainter p(&dest);
  DrawImageFrameCentered(p, QRect(0, 0, 21, 21), strip, 1, 2, false);
  p.end();
  EXPECT_EQ(dest.pixel(1, 1), QColor(Qt::white).rgb());
  EXPECT_EQ(dest.pixel(2, 2), QColor(Qt::blue).rgb());
  EXPECT_EQ(dest.pixel(17, 17), QColor(Qt::blue).rgb());
  EXPECT_EQ(dest.pixel(18, 18), QColor(Qt::white).rgb());
}

TEST_F(DrawRoutines, TransparencyKeepsDestinationUnderMagentaOnly) {
  QPainter p(&dest);
  DrawTransparentBitmap(p, QRect(0, 0, 16, 16), strip.copy(16, 0, 16, 16), 0xFFFF00FF);
  DrawSkinImage(p, QRect(16, 0, 14, 14), strip, {}, 2, 2, false, false, false);
  p.end();
  EXPECT_EQ(dest.pixel(7, 7), QColor(Qt::white).rgb());
  EXPECT_EQ(dest.pixel(2, 2), QColor(Qt::blue).rgb());
  EXPECT_TRUE(isMagenta(dest.pixel(23, 7))) << "without the transparent flag the centre is drawn";
}

TEST_F(DrawRoutines, ThreePartStripsAndTheirDegenerateMiddles) {
  // Frame of 6 columns: 2 red | 2 green | 2 blue.
  QImage f(6, 4, QImage::Format_RGB32);
  for (int x = 0; x < 6; ++x)
    for (int y = 0; y < 4; ++y)
      f.setPixel(x, y, x < 2 ? qRgb(255, 0, 0) : x < 4 ? qRgb(0, 255, 0) : qRgb(0, 0, 255));
  QPainter p(&dest);
  DrawThreePartImage(p, QRect(0, 0, 11, 4), f, {2, 0, 2, 0}, 1, 1, false, false);
  // Middle of zero width: the frame is stretched instead of looping.
  DrawThreePartImage(p, QRect(0, 10, 12, 4), f, {3, 0, 3, 0}, 1, 1, false, false);
  // A frame wider than the rectangle is stretched whole, edges ignored.
  StretchThreePartImage(p, QRect(0, 20, 3, 4), f, {2, 0, 2, 0}, 1, 1, false);
  p.end();
  EXPECT_EQ(qRed(dest.pixel(1, 0)), 255);
  EXPECT_EQ(qGreen(dest.pixel(4, 0)), 255);
  EXPECT_EQ(qGreen(dest.pixel(7, 0)), 255);
  EXPECT_EQ(qBlue(dest.pixel(10, 0)), 255);
  EXPECT_EQ(qRed(dest.pixel(0, 10)), 255);
  EXPECT_EQ(qBlue(dest.pixel(11, 10)), 255);
  EXPECT_EQ(qRed(dest.pixel(0, 20)), 255);
  EXPECT_EQ(qGreen(dest.pixel(1, 20)), 255);
  EXPECT_EQ(qBlue(dest.pixel(2, 20)), 255);
}

}  // namespace
}  // namespace ruto
