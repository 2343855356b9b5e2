#include <gtest/gtest.h>

#include "support/TestSupport.h"

#include <limits>

#include "widgets/BarMeter.h"

using namespace ruto;

using ruto::test::at;

TEST(BarMeter, ScaleBarMarkerAndLevelLine) {
  TBarMeter m;
  m.setColorBack(clAqua);
  m.setValue(50);
  const QImage img = m.renderImage();
  const int L = m.BarLeft();
  EXPECT_EQ(std::tuple(m.ValueToPixel(100), m.ValueToPixel(0)), std::tuple(m.ScaleTop(), 200 - 10));
  const int y = m.ValueToPixel(50);
  // Filled and unfilled bar, left and right frame, the level line above its shadow, then the
  // marker's fill, tip, upper outline and back edge.
  const ruto::test::Pixels pixels = {
      {L + 2, y + 5, clRed},   {L + 2, y - 5, clAqua}, {L, y - 5, clWhite}, {L + 5, y + 5, clGray},
      {L + 2, y, clWhite},     {L + 2, y - 1, clGray}, {L - 4, y, clBlue},  {L - 2, y, clWhite},
      {L - 5, y - 3, clWhite}, {L - 6, y + 2, clWhite}};
  ruto::test::expectPixels(img, pixels);
}

TEST(BarMeter, TicksAtEveryIncrementFromTheMinimum) {
  TBarMeter m;
  m.setValueMin(-20);
  m.setIncrement(20);
  m.setShowMarker(false);
  const QImage img = m.renderImage();
  const int x = m.BarLeft() + m.BarThickness() + 5;
  QVector<int> white;
  for (int y = 0; y < 200; ++y)
    if (at(img, x, y) == clWhite) white << y;
  QVector<int> expected;
  for (double v = 100; v >= -20; v -= 20) expected << m.ValueToPixel(v);  // top down
  EXPECT_EQ(white, expected);
  for (int y : expected) EXPECT_EQ(at(img, x, y - 1), clGray);
  EXPECT_EQ(at(img, m.BarLeft() + m.BarThickness() + 8, expected[0]), clBtnFace);
}

TEST(BarMeter, RefusedValuesLeaveTheGaugeUnchanged) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  TBarMeter m;
  m.setValue(40);
  for (double v : {101.0, -1.0, nan}) m.setValue(v);
  EXPECT_EQ(m.Value(), 40);
  m.setValueMin(41);
  m.setValueMax(39);
  m.setValueMax(inf);
  for (double v : {0.0, -3.0, inf, nan}) m.setIncrement(v);
  EXPECT_EQ(std::tuple(m.ValueMin(), m.ValueMax(), m.Increment()), std::tuple(0, 100, 10));
  m.setValueMax(150);
  m.setValue(120);
  EXPECT_EQ(m.Value(), 120);
}

TEST(BarMeter, ValueAtAnEndDrawsNoLevelLine) {
  TBarMeter m;
  m.setShowMarker(false);
  m.setShowIncrements(false);
  const QImage low = m.renderImage();  // value 0 = minimum: the bottom frame only
  const int L = m.BarLeft(), bottom = m.ValueToPixel(0), top = m.ValueToPixel(100);
  ruto::test::expectPixels(low, {{L + 2, bottom, clBtnFace}, {L + 2, bottom - 1, clGray}});
  m.setValue(100);
  ruto::test::expectPixels(m.renderImage(), {{L + 2, top + 1, clRed}, {L + 2, top + 10, clRed}});
}

TEST(BarMeter, DegenerateScalesStillFinish) {
  TBarMeter m;
  m.setValueMax(0);  // max = min: every value on row 0
  m.renderImage();
  EXPECT_EQ(std::tuple(m.ValueToPixel(0), m.ValueToPixel(55)), std::tuple(0, 0));
  m.setValueMax(1e12);
  m.setIncrement(1e-9);  // would take forever step by step, and be a solid smear anyway
  EXPECT_EQ(at(m.renderImage(), m.BarLeft() + m.BarThickness() + 5, 100), clBtnFace);
}
