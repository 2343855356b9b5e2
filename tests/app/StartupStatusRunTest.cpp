#include <gtest/gtest.h>

#include "app/StartupStatusRun.h"
#include "device/MeterFixture.h"

using namespace ruto;

namespace {

// The commands the meter received, joined.
QString commands(const SimulatedMeter& meter) {
  QStringList out;
  for (const QByteArray& c : meter.Commands()) out << QString::fromLatin1(c);
  return out.join(' ');
}

}  // namespace

class StatusRun : public ruto::test::MeterFixture {
 protected:
  // Runs the screen's passes every `stepMs` of virtual time until the run is over; keeps what
  // the screen showed at each pass.
  void runAll(int stepMs = 10) {
    run.changed = [this](bool) {
      if (!run.ModelText.isEmpty() && labelsAt < 0) labelsAt = run.Position;
    };
    run.Begin();
    for (int guard = 0; !run.Finished && guard < 1000; ++guard) {
      run.Tick();
      lampsAt250 = lampsAt250.isEmpty() && run.Position >= 250 ? lit() : lampsAt250;
      virtualClock.advance(stepMs);
      pump();
    }
    ASSERT_TRUE(run.Finished);
  }
  QString lit() const {
    QString s;
    for (int i = 1; i <= 7; ++i) s += run.LampLit[i] ? '1' : '0';
    return s;
  }
  StartupStatusRun run;
  int labelsAt = -1;
  QString lampsAt250;
};

// Each model code family gets its own lamp commands, once per phase, and the stop command.
TEST_F(StatusRun, LampCommandsByModelCode) {
  const QString firstGeneration = "AFFFFFF A000000 BFFFFFF B000000 IFFFFFF X000000";
  const QString later = "AFFFFFF A000000 IFFFFFF AFFFFFF IFFFFFF X000000";
  const struct {
    std::uint16_t version;
    const char* model;
    QString expected;
  } cases[] = {{0x0001, "None!", firstGeneration},
               {0x0100, "Vo-100", firstGeneration},
               {0x0210, "Vo-100 Tw", firstGeneration},
               {0x0500, "Vo-200 Tw", firstGeneration},
               {0x0300, "Vo-100 Plus", later},
               {0x0800, "Vo-300 Tw", later},
               {0x0900, "None!", later}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version);
    SimulatedMeterConfig config;
    config.VersionNumber = c.version;
    config.SerialNumber = "SN-42";
    start(config);
    runAll();
    EXPECT_EQ(commands(*meter), c.expected);
    EXPECT_EQ(run.ModelText, c.model);
    EXPECT_EQ(run.SerialText, "SN-42");
    EXPECT_EQ(MeterState.SerialNo, "SN-42");
    EXPECT_EQ(run.HardwareText, "VO100 HW 2.1");
    EXPECT_EQ(run.LampColour, kLampGreen);
    EXPECT_EQ(run.Position, StartupStatusRun::kRunMs);
    EXPECT_EQ(run.StatusText, kDoneText);
    TearDown();
    SetUp();
    run = StartupStatusRun{};
    labelsAt = -1;
    lampsAt250.clear();
  }
}

// Without a meter nothing is sent and every value reads "None!"; lamps are red. Labels come
// on the first pass past 300 ms, lamps one by one.
TEST_F(StatusRun, WithoutAMeter) {
  runAll();
  EXPECT_EQ(QStringList({run.ModelText, run.SerialText, run.HardwareText}),
            QStringList({"None!", "None!", "None!"}));
  EXPECT_EQ(MeterState.SerialNo, "None!");
  EXPECT_EQ(run.LampColour, kLampRed);
  EXPECT_GT(labelsAt, 300);
  EXPECT_LE(labelsAt, 310);
  EXPECT_EQ(lampsAt250, "1100000");
  EXPECT_EQ(lit(), "1111111");
  EXPECT_EQ(run.StatusText, kDoneText);
}

// A meter without a hardware version string: "USB Status Error!", red lamps, no serial.
TEST_F(StatusRun, UnreadableHardwareVersion) {
  SimulatedMeterConfig config;
  config.HardwareVersion = "";
  config.VersionNumber = 0x0300;
  start(config);
  runAll();
  EXPECT_EQ(run.HardwareText, kUsbErrorText);
  EXPECT_EQ(run.ModelText, "None!");
  EXPECT_EQ(run.SerialText, "None!");
  EXPECT_EQ(run.LampColour, kLampRed);
  EXPECT_EQ(commands(*meter), "AFFFFFF A000000 BFFFFFF B000000 IFFFFFF X000000");
}

// A meter that never answers in time: every command waits its whole budget, the passes are
// far apart, and still every phase is sent once and the labels are filled.
TEST_F(StatusRun, SlowMeterStillGetsEveryPhase) {
  start();
  meter->SetReplyDelayMs(400);
  runAll();
  EXPECT_EQ(commands(*meter), "AFFFFFF A000000 BFFFFFF B000000 IFFFFFF X000000");
  EXPECT_EQ(run.ModelText, "Vo-100");
  EXPECT_GT(labelsAt, 300);
  EXPECT_EQ(run.SerialText, "ZV10000001");
}

TEST(MeterModelName, CodesOneToEightHaveNames) {
  EXPECT_EQ(MeterModelName(0), "None!");
  EXPECT_EQ(MeterModelName(9), "None!");
  QStringList names;
  for (int code = 1; code <= 8; ++code) names << MeterModelName(code);
  names.removeDuplicates();
  EXPECT_EQ(names.size(), 8);
  EXPECT_FALSE(names.contains("None!"));
}
