#include <gtest/gtest.h>

#include <optional>

#include "app/StartupStatusRun.h"
#include "device/MeterFixture.h"

using namespace ruto;

class StatusRun : public ruto::test::MeterFixture {};

// One table: the meter's model code picks the lamp commands, once per phase, then the stop
// command; no meter sends nothing and reads "None!"; a meter without a hardware version or
// one that never answers in time still gets every phase. Labels come on the first pass past
// 300 ms, lamps one by one.
TEST_F(StatusRun, LampRunByMeter) {
  const std::string first = "AFFFFFF A000000 BFFFFFF B000000 IFFFFFF X000000";
  const std::string later = "AFFFFFF A000000 IFFFFFF AFFFFFF IFFFFFF X000000";
  // The version is none without a meter.
  const std::tuple<const char*, std::optional<std::uint16_t>, const char*, int, std::string,
                   const char*, const char*, const char*, TColor>
      cases[] = {{"code 0", 0x0001, "HW 2", 0, first, "None!", "SN-42", "HW 2", kLampGreen},
                 {"code 1", 0x0100, "HW 2", 0, first, "Vo-100", "SN-42", "HW 2", kLampGreen},
                 {"code 2", 0x0210, "HW 2", 0, first, "Vo-100 Tw", "SN-42", "HW 2", kLampGreen},
                 {"code 5", 0x0500, "HW 2", 0, first, "Vo-200 Tw", "SN-42", "HW 2", kLampGreen},
                 {"code 3", 0x0300, "HW 2", 0, later, "Vo-100 Plus", "SN-42", "HW 2", kLampGreen},
                 {"code 8", 0x0800, "HW 2", 0, later, "Vo-300 Tw", "SN-42", "HW 2", kLampGreen},
                 {"Chinese version", 0x0800, "硬體版 2", 0, later, "Vo-300 Tw", "SN-42", "硬體版 2",
                  kLampGreen},
                 {"code 9", 0x0900, "HW 2", 0, later, "None!", "SN-42", "HW 2", kLampGreen},
                 {"no hardware version", 0x0300, "", 0, first, "None!", "None!",
                  "USB Status Error!", kLampRed},
                 {"answers after 400 ms", 0x0100, "HW 2", 400, first, "Vo-100", "SN-42", "HW 2",
                  kLampGreen},
                 {"no meter", std::nullopt, "", 0, "", "None!", "None!", "None!", kLampRed}};
  for (const auto& [name, version, hardware, delayMs, commands, model, serial, shownHardware,
                    colour] : cases) {
    SCOPED_TRACE(name);
    if (version) {
      SimulatedMeterConfig config;
      config.VersionNumber = *version;
      config.HardwareVersion = hardware;
      config.SerialNumber = "SN-42";
      start(config);
      meter->setReplyDelayMs(delayMs);
    }
    StartupStatusRun run;
    int labelsAt = -1;
    QString litAt250;
    run.changed = [&](bool) {
      if (!run.ModelText.isEmpty() && labelsAt < 0) labelsAt = run.Position;
    };
    run.Begin();
    for (int guard = 0; !run.Finished && guard < 1000; ++guard) {
      run.Tick();
      if (litAt250.isEmpty() && run.Position >= 250)
        for (int i = 1; i <= 7; ++i) litAt250 += run.LampLit[i] ? '1' : '0';
      virtualClock.advance(10);
      pump();
    }
    ASSERT_TRUE(run.Finished);
    QStringList sent;
    for (const QByteArray& cmd : meter ? meter->commands() : std::vector<QByteArray>{})
      sent << QString::fromLatin1(cmd);
    EXPECT_EQ(sent.join(' ').toStdString(), commands);
    EXPECT_EQ((QStringList{run.ModelText, run.SerialText, run.HardwareText}.join('|')),
              QStringLiteral("%1|%2|%3").arg(model, serial, shownHardware));
    EXPECT_EQ(MeterState.SerialNo, serial);
    EXPECT_EQ(run.LampColour, colour);
    EXPECT_GT(labelsAt, 300);
    if (delayMs == 0) {
      EXPECT_LE(labelsAt, 310);
      EXPECT_EQ(litAt250, "1100000");
    }
    EXPECT_EQ(std::count(run.LampLit.begin() + 1, run.LampLit.end(), true), 7);
    EXPECT_EQ(run.Position, StartupStatusRun::kRunMs);
    EXPECT_EQ(run.StatusText, kDoneText);
    TearDown();
    SetUp();
    meter.reset();
  }
}

TEST(MeterModelName, CodesOneToEightHaveTheirOwnNames) {
  QStringList names;
  for (int code = 0; code <= 9; ++code) names << MeterModelName(code);
  EXPECT_EQ(names.first(), "None!");
  EXPECT_EQ(names.last(), "None!");
  EXPECT_EQ(names.mid(1, 8).removeDuplicates(), 0);
  EXPECT_FALSE(names.mid(1, 8).contains("None!"));
}
