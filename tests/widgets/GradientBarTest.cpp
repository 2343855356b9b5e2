#include <gtest/gtest.h>

#include "support/TestSupport.h"

#include "widgets/GradientBar.h"

using namespace ruto;

using ruto::test::at;

TEST(GradientBar, HorizontalGradientRunsFromStartColourToTheFilledLength) {
  TGradientBar bar;
  bar.setShowPercent(false);
  bar.setPosition(50);  // 150 wide: 75 columns filled
  const QImage img = bar.renderImage();
  // At x 1, f = MulDiv(255, 1, 75) = 3.
  const ruto::test::Pixels pixels = {{1, 8, RGB(3, 0, 252)},
                                     {37, 8, RGB(126, 0, 129)},
                                     {74, 8, RGB(252, 0, 3)},
                                     {75, 8, clBtnFace},
                                     {148, 14, clBtnFace}};
  ruto::test::expectPixels(img, pixels);
  bar.setEnabled(false);  // a disabled bar keeps its colours
  EXPECT_EQ(bar.renderImage(), img);
  EXPECT_EQ(at(bar.grab().toImage(), 37, 8), RGB(126, 0, 129));
  bar.setPosition(100);  // full: 150 columns, column 148 has f = MulDiv(255, 148, 150) = 252
  EXPECT_EQ(at(bar.renderImage(), 148, 8), RGB(252, 0, 3));
}

TEST(GradientBar, LoweredAndRaisedBevels) {
  TGradientBar bar;
  bar.resize(60, 20);
  bar.setBevelWidth(2);
  // Shadow above and left, highlight below and right; the top-right corner takes the lower one.
  const ruto::test::Pixels pixels = {{0, 0, clBtnShadow},      {1, 1, clBtnShadow},
                                     {30, 0, clBtnShadow},     {59, 19, clBtnHighlight},
                                     {58, 10, clBtnHighlight}, {59, 0, clBtnHighlight}};
  ruto::test::expectPixels(bar.renderImage(), pixels);
  bar.setBevelStyle(bsRaised);
  ruto::test::expectPixels(bar.renderImage(), {{0, 10, clBtnHighlight}, {30, 19, clBtnShadow}});
  for (int refused : {9, 0}) {  // 18 > 20 - 4
    bar.setBevelWidth(refused);
    EXPECT_EQ(bar.BevelWidth(), 2) << refused;
  }
}

TEST(GradientBar, EmptyBarsWithoutRangeOrSizeDrawWithoutDividingByZero) {
  TGradientBar bar;
  bar.setShowPercent(false);  // position 0
  ruto::test::expectPixels(bar.renderImage(), {{1, 8, clBtnFace}, {100, 8, clBtnFace}});
  bar.setMaxValue(0);
  bar.setShowPercent(true);
  EXPECT_EQ(at(bar.renderImage(), 140, 3), clBtnFace);
  bar.resize(0, 0);
  const bool zeroSize = bar.renderImage().isNull();
  bar.resize(3, 3);
  bar.setStyle(gsVertical);
  EXPECT_FALSE(zeroSize || bar.renderImage().isNull());
}

TEST(GradientBar, VerticalBarGrowsFromTheBottomAndANarrowOneTurnsItsText) {
  TGradientBar bar;
  bar.setStyle(gsVertical);
  bar.resize(40, 100);
  bar.setShowPercent(false);
  bar.setPosition(50);  // 50 rows: y = 100 - i
  // i = 2 and 49.
  ruto::test::expectPixels(
      bar.renderImage(),
      {{20, 98, RGB(10, 0, 245)}, {20, 51, RGB(250, 0, 5)}, {20, 49, clBtnFace}});

  bar.resize(16, 120);
  bar.setShowPercent(true);
  bar.setStartColor(clBlack);
  bar.setEndColor(clBlack);
  bar.setPosition(100);
  const QRect text = ruto::test::inkBounds(bar.renderImage(), true, QRect(1, 1, 14, 118));
  // Drawn, turned, and centred along the bar.
  EXPECT_TRUE(!text.isNull() && text.height() > 2 * (text.width() - 1) + 1 &&
              std::abs(text.center().y() - 60) < 10);
}
