// A frame painted one clipped part at a time (as the band widgets paint it) gives, inside
// each part, the same pixels as the whole frame painted at once, caption included.
#include <gtest/gtest.h>
#include <QPainter>

#include "skin/SkinFrame.h"
#include "skin/TestSkin.h"

namespace ruto {
namespace {

TEST(FrameClipping, EachPartPaintsAsInTheWholeFrame) {
  TSkinData d;
  d.SkinStream = test::skinPackage(
      QStringLiteral("[Personality]\nTop=t.bmp\nTopFrame=1\nLeft=l.bmp\nLeftFrame=1\n"
                     "Right=l.bmp\nRightFrame=1\nBottom=t.bmp\nBottomFrame=1\n"
                     "ActiveTextR=255\nActiveTextG=255\nActiveTextB=255\n"),
      {{QStringLiteral("t.bmp"), test::codedStrip(1, 1, 40, 24, false, false)},
       {QStringLiteral("l.bmp"), test::codedStrip(2, 1, 6, 30, true, false)}});
  ASSERT_TRUE(d.LoadSkin());
  const FramePaint f = test::captionedFrame(d, QSize(300, 120), QStringLiteral("MMMM 經絡"));
  const QImage whole = PaintFrameImage(d, f);
  const QMargins b = f.border;
  ASSERT_GT(b.top(), 0);
  ASSERT_GT(b.left(), 0);

  const int H = f.window.height(), W = f.window.width();
  const QRect parts[] = {QRect(0, 0, W, b.top()),
                         QRect(0, b.top(), b.left(), H - b.top() - b.bottom()),
                         QRect(W - b.right(), b.top(), b.right(), H - b.top() - b.bottom()),
                         QRect(0, H - b.bottom(), W, b.bottom()),
                         QRect(10, b.top() / 2, 60, b.top())};  // across the title's edge
  for (const QRect& part : parts) {
    QImage img(f.window, QImage::Format_RGB32);
    img.fill(Qt::magenta);
    {
      QPainter p(&img);
      p.setClipRect(part);
      PaintFrame(p, d, f);
    }
    EXPECT_EQ(img.copy(part), whole.copy(part)) << part.x() << "," << part.y();
  }
  EXPECT_TRUE(test::hasPixel(whole.copy(parts[0]), qRgb(255, 255, 255)));  // the caption
}

}  // namespace
}  // namespace ruto
