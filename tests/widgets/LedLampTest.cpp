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
  for (TLEDStyle s : kStyles) {
    for (bool bordered : {true, false}) {
      const QString name = TLedLamp::resourceName(s, bordered);
      QImage img(":/lamps/" + name + ".png");
      ASSERT_FALSE(img.isNull()) << name.toStdString();
      img = img.convertToFormat(QImage::Format_RGB32);
      EXPECT_EQ(img.size(), TLedLamp::styleSize(s)) << name.toStdString();
      const int cx = img.width() / 2, cy = img.height() / 2;
      EXPECT_EQ(at(img, cx, cy), clLime) << name.toStdString();
      QImage lit = img.copy();
      const int filled = FloodFill(lit, cx, cy, clLime, clRed, TFillStyle::fsSurface);
      EXPECT_GT(filled, img.width() * img.height() / 6) << name.toStdString();
      EXPECT_NE(at(lit, 0, 0), clRed) << name.toStdString();
      EXPECT_NE(at(lit, 0, img.height() - 1), clRed);
      if (!bordered) {
        EXPECT_EQ(at(img, 0, 0), clSilver) << name.toStdString();
        QImage framed = img.copy();
        FloodFill(framed, 0, 0, clSilver, clBlue, TFillStyle::fsSurface);
        EXPECT_EQ(at(framed, cx, cy), clLime) << name.toStdString();
        EXPECT_EQ(at(framed, img.width() - 1, img.height() - 1), clBlue);
      }
    }
  }
}

TEST(LedLamp, LitAndUnlitColoursAndTheSurroundOfUnborderedLamps) {
  TLedLamp lamp;
  EXPECT_EQ(centre(lamp), clSilver);
  lamp.setBlink(false);
  lamp.setTrueColor(clRed);
  lamp.setValue(true);
  EXPECT_EQ(centre(lamp), clRed);
  EXPECT_FALSE(lamp.Blinking());  // steady
  lamp.setLEDStyle(LEDVertical);
  lamp.setBordered(false);
  lamp.setBorderColor(clYellow);
  const QImage img = lamp.renderImage();
  EXPECT_EQ(img.size(), QSize(16, 22));
  EXPECT_EQ(at(img, 0, 0), clYellow);
  EXPECT_EQ(at(img, 15, 21), clYellow);
  EXPECT_EQ(at(img, 8, 11), clRed);
  lamp.setValue(false);
  EXPECT_EQ(centre(lamp), clSilver);
}

TEST(LedLamp, BlinksByTicksAndFreezesAtIntervalZero) {
  TLedLamp held;  // started with interval 0: lit and still
  held.setInterval(0);
  held.setValue(true);
  EXPECT_TRUE(held.Blinking());
  EXPECT_FALSE(held.TimerRunning());
  EXPECT_EQ(centre(held), clLime);

  TLedLamp lamp;
  int ticks = 0;
  lamp.OnTimer = [&] { ++ticks; };
  lamp.setInterval(250);
  lamp.setValue(true);
  ASSERT_TRUE(lamp.Blinking());
  EXPECT_TRUE(lamp.TimerRunning());
  EXPECT_EQ(centre(lamp), clLime);
  lamp.TimerTick();
  EXPECT_EQ(centre(lamp), clSilver);
  EXPECT_EQ(ticks, 1);
  lamp.setValue(true);  // unchanged: the phase is not restarted
  EXPECT_EQ(lamp.ShownIndex(), 1);
  lamp.setInterval(0);  // a zero-interval QTimer would spin; the lamp holds instead
  EXPECT_FALSE(lamp.TimerRunning());
  EXPECT_TRUE(lamp.Blinking());
  EXPECT_EQ(lamp.ShownIndex(), 1);
  lamp.setInterval(400);
  EXPECT_TRUE(lamp.TimerRunning());
  lamp.TimerTick();
  EXPECT_EQ(lamp.ShownIndex(), 0);
  lamp.TimerTick();
  lamp.setTrueColor(clBlue);  // a new colour restarts with the lit phase
  EXPECT_EQ(lamp.ShownIndex(), 0);
  EXPECT_TRUE(lamp.Blinking());
  EXPECT_EQ(centre(lamp), clBlue);
  lamp.setBlink(false);
  EXPECT_FALSE(lamp.Blinking());
  EXPECT_EQ(centre(lamp), clBlue);
  lamp.setBlink(true);
  lamp.setValue(false);
  EXPECT_FALSE(lamp.Blinking());
  EXPECT_EQ(lamp.ShownIndex(), 1);
}
