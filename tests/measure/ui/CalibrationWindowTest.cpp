// The calibration window offscreen: the previous calibration on show, the change gauges'
// scale, a whole calibration on the simulated meter, and closing refused while it runs.

#include <gtest/gtest.h>

#include <QtWidgets>

#include "UiChecks.h"
#include "measure/MeterRunFixture.h"
#include "measure/ui/CalibrationWindow.h"
#include "skin/ui/ControlSkins.h"
#include "support/TestSupport.h"
#include "widgets/BarMeter.h"
#include "widgets/GradientBar.h"
#include "widgets/LedLamp.h"

using namespace ruto;
using namespace ruto::test;

namespace {

class CalibrationWindowTest : public test::InstalledMeterFixture {
 protected:
  void SetUp() override {
    InstalledMeterFixture::SetUp();
    Settings.CalDate = "2021/03/04";
    SetAskUserResponder([](MsgKind, const QString&) { return true; });
    startReading([this] { return reading; });
  }
  // Calibration passes every 10 ms of virtual time until `done` or the run ends.
  void ticksUntil(CalibrationWindow& w, const std::function<bool()>& done, int limit = 1000) {
    for (int i = 0; i < limit && w.Run().running() && !(done && done()); ++i) {
      w.calibrationTick();
      w.calibrationTimer->stop();
      virtualClock.advance(10);
    }
  }

  int reading = 0;
};

TEST_F(CalibrationWindowTest, ShowsThePreviousCalibration) {
  // The two gauges and their labels; above 5000 the gauge keeps 0.
  const struct {
    int standard, high;
    double standardGauge, highGauge;
    const char *standardLabel, *highLabel;
  } cases[] = {{4200, 3900, 4200, 3900, "4,200", "3,900"}, {5200, 4000, 0, 4000, "5,200", "4,000"}};
  for (const auto& c : cases) {
    Settings.CalStandard = c.standard;
    Settings.CalHigh = c.high;
    CalibrationWindow w;
    w.show();
    SCOPED_TRACE(c.standard);
    EXPECT_EQ(w.previousStandardGauge->Value(), c.standardGauge);
    EXPECT_EQ(w.previousHighGauge->Value(), c.highGauge);
    EXPECT_EQ(w.previousStandardLabel->text(), c.standardLabel);
    EXPECT_EQ(w.previousHighLabel->text(), c.highLabel);
    EXPECT_EQ(w.previousDateLabel->text(), "2021/03/04");
    EXPECT_EQ(w.standardResultLabel->text(), "    0");
    EXPECT_EQ(w.standardRunLabel->text(), "    0");
    EXPECT_EQ(w.statusBar->currentMessage(), "環境校準值為本次與前一次的校準比值。");
    EXPECT_FALSE(w.stopButton->isEnabled());
  }
  // The indicators stand on a panel, which a skin only recolours.
  CalibrationWindow w;
  auto* panel = w.findChild<QWidget*>(QStringLiteral("indicatorPanel"));
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(MapControl(panel, TSkinControlTypes().set(), {}).kind, ControlKind::Box);
  // The panel's caption is shown on it.
  const auto* caption = panel->findChild<QLabel*>(QStringLiteral("indicatorCaption"));
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(caption->text(), QStringLiteral("數位校準指標"));
}

TEST_F(CalibrationWindowTest, CalibrationEndToEndAndTheChangeGauges) {
  // (new - previous) / 4095 x 200 %: 4000 -> 3496 lies off the -10..10 scale; 3900 -> 4000
  // (a reading of 4004) is 4.884.
  const struct {
    int previous, reading;
    double change;  // standardChangeGauge afterwards
    const char* shown;
  } cases[] = {{4000, 3500, 0, "0.0 %"}, {3900, 4004, 4.884, "4.9 %"}};
  for (const auto& c : cases) {
    Settings.CalStandard = c.previous;
    Settings.CalHigh = 4000;
    CalibrationWindow w;
    w.show();
    reading = 0;
    w.startCalibration();
    w.calibrationTimer->stop();
    EXPECT_FALSE(w.startButton->isEnabled());
    EXPECT_FALSE(w.exitButton->isEnabled());
    EXPECT_TRUE(w.stopButton->isEnabled());
    EXPECT_EQ(w.resultLabel->text(), "【校準系統啟動中】");
    ticksUntil(w, {}, 30);
    reading = c.reading;
    ticksUntil(w, [&] { return w.standardBar->Position() > 1000; });
    // Closing is refused during the ticks.
    w.close();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.standardLamp->TrueColor(), TColor(0x0000FF));
    test::savePng(w.grab().toImage(), QStringLiteral("syspt-ticks-%1").arg(c.reading));
    ticksUntil(w, [&] { return w.Run().phase() == CalibrationRun::Phase::AwaitSeparation; });
    ASSERT_EQ(w.Run().phase(), CalibrationRun::Phase::AwaitSeparation);
    EXPECT_NEAR(w.standardChangeGauge->Value(), c.change, 0.001) << c.reading;
    EXPECT_EQ(w.standardChangeGauge->valueText(w.standardChangeGauge->Value()), c.shown);
    EXPECT_EQ(w.resultLabel->text(), "【校準成功】");
    test::savePng(w.grab().toImage(), QStringLiteral("syspt-done-%1").arg(c.reading));
    reading = 0;
    ticksUntil(w, {});
    EXPECT_FALSE(w.Run().running());
    EXPECT_TRUE(w.startButton->isEnabled());
    EXPECT_FALSE(w.resultLamp->Value());
    w.close();
    EXPECT_FALSE(w.isVisible());
  }
  EXPECT_EQ(Settings.CalStandard, 4000);  // near(4004 - 4.004)
}

TEST_F(CalibrationWindowTest, StopWhileWaitingEndsWithNothingSaved) {
  CalibrationWindow w;
  w.show();
  w.startCalibration();
  w.calibrationTimer->stop();
  ticksUntil(w, {}, 20);
  w.stopCalibration();
  ticksUntil(w, {}, 5);
  EXPECT_FALSE(w.Run().running());
  EXPECT_TRUE(w.exitButton->isEnabled());
  EXPECT_FALSE(QFile::exists(QDir(dir.path()).filePath(kSettingsFileName)));
}

}  // namespace
