#include <gtest/gtest.h>

#include "support/TestSupport.h"

#include <limits>

#include "widgets/BarMeter.h"

using namespace ruto;

namespace {
using ruto::test::at;
}  // namespace

TEST(BarMeter, ScaleBarMarkerAndLevelLine) {
  TBarMeter m;
  m.setColorBack(clAqua);
  m.setValue(50);
  const QImage img = m.renderImage();
  const int L = m.BarLeft();
  EXPECT_EQ(m.ValueToPixel(100), m.ScaleTop());
  EXPECT_EQ(m.ValueToPixel(0), 200 - 10);
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
  EXPECT_EQ(m.ValueMin(), 0);
  EXPECT_EQ(m.ValueMax(), 100);
  for (double v : {0.0, -3.0, inf, nan}) m.setIncrement(v);
  EXPECT_EQ(m.Increment(), 10);
  m.setValueMax(150);
  m.setValue(120);
  EXPECT_EQ(m.Value(), 120);
}

TEST(BarMeter, ValueAtAnEndDrawsNoLevelLine) {
  TBarMeter m;
  m.setShowMarker(false);
  m.setShowIncrements(false);
  QImage img = m.renderImage();  // value 0 = minimum
  const int L = m.BarLeft();
  EXPECT_EQ(at(img, L + 2, m.ValueToPixel(0)), clBtnFace);
  EXPECT_EQ(at(img, L + 2, m.ValueToPixel(0) - 1), clGray);  // bottom frame only
  m.setValue(100);
  img = m.renderImage();
  for (int dy : {1, 10}) EXPECT_EQ(at(img, L + 2, m.ValueToPixel(100) + dy), clRed);
}

TEST(BarMeter, DegenerateScalesStillFinish) {
  TBarMeter m;
  m.setValueMax(0);  // max = min: every value on row 0
  m.renderImage();
  EXPECT_EQ(m.ValueToPixel(0), 0);
  EXPECT_EQ(m.ValueToPixel(55), 0);
  m.setValueMax(1e12);
  m.setIncrement(1e-9);  // would take forever step by step, and be a solid smear anyway
  const QImage img = m.renderImage();
  const int x = m.BarLeft() + m.BarThickness() + 5;
  EXPECT_EQ(at(img, x, 100), clBtnFace);
}
