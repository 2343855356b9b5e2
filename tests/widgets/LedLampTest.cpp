#include <gtest/gtest.h>

#include "support/TestSupport.h"

#include "widgets/LedLamp.h"

using namespace ruto;

namespace {
using ruto::test::at;
TColor centre(const TLedLamp& lamp) {
  const QImage img = lamp.renderImage();
  return at(img, img.width() / 2, img.height() / 2);
}
const TLEDStyle kStyles[] = {LEDSmall,   LEDLarge,    LEDSqSmall,
                             LEDSqLarge, LEDVertical, LEDHorizontal};
}  // namespace

TEST(LedLamp, EveryLampImageHasAClosedGreenSurfaceAndSilverSurround) {
  for (TLEDStyle s : kStyles)
    for (bool bordered : {true, false}) {
      const QString name = TLedLamp::resourceName(s, bordered);
      SCOPED_TRACE(name.toStdString());
      const QImage img = QImage(":/lamps/" + name + ".png").convertToFormat(QImage::Format_RGB32);
      ASSERT_FALSE(img.isNull());
      const int cx = img.width() / 2, cy = img.height() / 2, w = img.width(), h = img.height();
      QImage lit = img.copy();
      const int filled = FloodFill(lit, cx, cy, clLime, clRed, TFillStyle::fsSurface);
      EXPECT_EQ(std::tuple(img.size(), at(img, cx, cy), filled > w * h / 6,
                           at(lit, 0, 0) != clRed && at(lit, 0, h - 1) != clRed),
                std::tuple(TLedLamp::styleSize(s), clLime, true, true));
      if (bordered) continue;
      QImage framed = img.copy();
      FloodFill(framed, 0, 0, clSilver, clBlue, TFillStyle::fsSurface);
      EXPECT_EQ(std::tuple(at(img, 0, 0), at(framed, cx, cy), at(framed, w - 1, h - 1)),
                std::tuple(clSilver, clLime, clBlue));
    }
}

TEST(LedLamp, LitAndUnlitColoursAndTheSurroundOfUnborderedLamps) {
  TLedLamp lamp;
  EXPECT_EQ(centre(lamp), clSilver);
  lamp.setBlink(false);
  lamp.setTrueColor(clRed);
  lamp.setValue(true);
  EXPECT_EQ(std::tuple(centre(lamp), lamp.Blinking()), std::tuple(clRed, false));  // steady
  lamp.setLEDStyle(LEDVertical);
  lamp.setBordered(false);
  lamp.setBorderColor(clYellow);
  const QImage img = lamp.renderImage();
  EXPECT_EQ(img.size(), QSize(16, 22));
  ruto::test::expectPixels(img, {{0, 0, clYellow}, {15, 21, clYellow}, {8, 11, clRed}});
  lamp.setValue(false);
  EXPECT_EQ(centre(lamp), clSilver);
}

TEST(LedLamp, BlinksByTicksAndFreezesAtIntervalZero) {
  TLedLamp held;  // started with interval 0: lit and still
  held.setInterval(0);
  held.setValue(true);
  EXPECT_EQ(std::tuple(held.Blinking(), held.TimerRunning(), centre(held)),
            std::tuple(true, false, clLime));

  TLedLamp lamp;
  int ticks = 0;
  lamp.OnTimer = [&] { ++ticks; };
  lamp.setInterval(250);
  lamp.setValue(true);
  ASSERT_TRUE(lamp.Blinking());
  EXPECT_EQ(std::tuple(lamp.TimerRunning(), centre(lamp)), std::tuple(true, clLime));
  lamp.TimerTick();
  EXPECT_EQ(std::tuple(centre(lamp), ticks), std::tuple(clSilver, 1));
  lamp.setValue(true);  // unchanged: the phase is not restarted
  EXPECT_EQ(lamp.ShownIndex(), 1);
  lamp.setInterval(0);  // a zero-interval QTimer would spin; the lamp holds instead
  EXPECT_EQ(std::tuple(lamp.TimerRunning(), lamp.Blinking(), lamp.ShownIndex()),
            std::tuple(false, true, 1));
  lamp.setInterval(400);
  EXPECT_TRUE(lamp.TimerRunning());
  lamp.TimerTick();
  EXPECT_EQ(lamp.ShownIndex(), 0);
  lamp.TimerTick();
  lamp.setTrueColor(clBlue);  // a new colour restarts with the lit phase
  EXPECT_EQ(std::tuple(lamp.ShownIndex(), lamp.Blinking(), centre(lamp)),
            std::tuple(0, true, clBlue));
  lamp.setBlink(false);
  EXPECT_EQ(std::tuple(lamp.Blinking(), centre(lamp)), std::tuple(false, clBlue));
  lamp.setBlink(true);
  lamp.setValue(false);
  EXPECT_EQ(std::tuple(lamp.Blinking(), lamp.ShownIndex()), std::tuple(false, 1));
}
