#include <gtest/gtest.h>

#include "support/TestSupport.h"

#include "widgets/GradientBar.h"

using namespace ruto;

namespace {
using ruto::test::at;
}  // namespace

TEST(GradientBar, HorizontalGradientRunsFromStartColourToTheFilledLength) {
  TGradientBar bar;
  bar.setShowPercent(false);
  bar.setPosition(50);  // 150 wide: 75 columns filled
  const QImage img = bar.renderImage();
  EXPECT_EQ(at(img, 1, 8), RGB(3, 0, 252));  // f = MulDiv(255, 1, 75) = 3
  EXPECT_EQ(at(img, 37, 8), RGB(126, 0, 129));
  EXPECT_EQ(at(img, 74, 8), RGB(252, 0, 3));
  EXPECT_EQ(at(img, 75, 8), clBtnFace);
  EXPECT_EQ(at(img, 148, 14), clBtnFace);
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
  QImage img = bar.renderImage();
  // Shadow above and left, highlight below and right; the top-right corner takes the lower one.
  const ruto::test::Pixels pixels = {{0, 0, clBtnShadow},      {1, 1, clBtnShadow},
                                     {30, 0, clBtnShadow},     {59, 19, clBtnHighlight},
                                     {58, 10, clBtnHighlight}, {59, 0, clBtnHighlight}};
  ruto::test::expectPixels(img, pixels);
  bar.setBevelStyle(bsRaised);
  img = bar.renderImage();
  EXPECT_EQ(at(img, 0, 10), clBtnHighlight);
  EXPECT_EQ(at(img, 30, 19), clBtnShadow);
  bar.setBevelWidth(9);  // 18 > 20 - 4: refused
  EXPECT_EQ(bar.BevelWidth(), 2);
  bar.setBevelWidth(0);
  EXPECT_EQ(bar.BevelWidth(), 2);
}

TEST(GradientBar, EmptyBarsWithoutRangeOrSizeDrawWithoutDividingByZero) {
  TGradientBar bar;
  bar.setShowPercent(false);
  QImage img = bar.renderImage();  // position 0
  EXPECT_EQ(at(img, 1, 8), clBtnFace);
  EXPECT_EQ(at(img, 100, 8), clBtnFace);
  bar.setMaxValue(0);
  bar.setShowPercent(true);
  img = bar.renderImage();
  EXPECT_EQ(at(img, 140, 3), clBtnFace);
  bar.resize(0, 0);
  EXPECT_FALSE(bar.renderImage().isNull());
  bar.resize(3, 3);
  bar.setStyle(gsVertical);
  EXPECT_FALSE(bar.renderImage().isNull());
}

TEST(GradientBar, VerticalBarGrowsFromTheBottomAndANarrowOneTurnsItsText) {
  TGradientBar bar;
  bar.setStyle(gsVertical);
  bar.resize(40, 100);
  bar.setShowPercent(false);
  bar.setPosition(50);  // 50 rows: y = 100 - i
  QImage img = bar.renderImage();
  EXPECT_EQ(at(img, 20, 98), RGB(10, 0, 245));  // i = 2
  EXPECT_EQ(at(img, 20, 51), RGB(250, 0, 5));   // i = 49
  EXPECT_EQ(at(img, 20, 49), clBtnFace);

  bar.resize(16, 120);
  bar.setShowPercent(true);
  bar.setStartColor(clBlack);
  bar.setEndColor(clBlack);
  bar.setPosition(100);
  const QRect text = ruto::test::inkBounds(bar.renderImage(), true, QRect(1, 1, 14, 118));
  ASSERT_FALSE(text.isNull()) << "no text drawn";
  EXPECT_GT(text.height() - 1, 2 * (text.width() - 1));  // turned: taller than wide
  EXPECT_LT(std::abs(text.center().y() - 60), 10);       // centred along the bar
}
