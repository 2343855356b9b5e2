// Probe calibration on the simulated meter and virtual time: results, saving, the contact
// edge, separation during the ticks and the stop button.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <map>

#include "app/AppTestSupport.h"
#include "base/DateTime.h"
#include "measure/CalibrationRun.h"
#include "measure/MeterRunFixture.h"
#include "support/TestSupport.h"

using namespace ruto;

namespace {

class RecordingCalView final : public CalibrationView {
 public:
  void setRunning(bool on) override { running = on; }
  void showPrevious() override { ++previousShown; }
  void setFigure(CalFigure which, const QString& text) override { figures[which] = text; }
  void setGauge(CalGauge, double) override {}
  void setProgress(int, int) override {}
  void setLamp(CalLamp lamp, const LampChange& change) override {
    if (change.lit) lit[lamp] = *change.lit;
    if (change.color) colors[lamp] = *change.color;
  }
  void setResult(const QString& text, TColor color) override { result = text, resultColor = color; }
  void setStatus(const QString& text) override { status = text; }

  bool running = false;
  int previousShown = 0;
  std::map<CalFigure, QString> figures;
  std::map<CalLamp, bool> lit;
  std::map<CalLamp, TColor> colors;
  QString result, status;
  TColor resultColor = 0;
};

class CalibrationRunTest : public test::InstalledMeterFixture {
 protected:
  void SetUp() override {
    InstalledMeterFixture::SetUp();
    Settings.CalDate = "2020/01/01";
    SetAskUserResponder([this](MsgKind kind, const QString& text) {
      messages << text;
      kinds.push_back(kind);
      return true;
    });
    startReading([this] { return probe ? probe() : 0; });
    meter->clearLog();
  }

  bool step() { return passOnce(run); }
  void drive(int ms, const std::function<bool()>& until = {}) { passFor(run, ms, until); }
  QString settingsFile() const { return QDir(dir.path()).filePath(kSettingsFileName); }
  int count(const char* cmd) const {
    return int(std::ranges::count(meter->commands(), QByteArray(cmd)));
  }

  RecordingCalView view;
  CalibrationRun run{view};
  std::function<int()> probe;
  QStringList messages;
  std::vector<MsgKind> kinds;
};

TEST_F(CalibrationRunTest, ConstantReadingGivesBothResultsAndSavesThem) {
  const std::tuple<int, int, int, const char*, bool> cases[] = {{3500, 3496, 3500, "3,496", true},
                                                                {3000, 2997, 3000, "2,997", false}};
  for (const auto& [reading, standard, high, figure, success] : cases) {
    QFile::remove(settingsFile());
    meter->clearLog();
    probe = [value = reading] { return value; };
    run.start();
    drive(6000, [this] { return run.phase() == CalibrationRun::Phase::AwaitSeparation; });
    ASSERT_EQ(run.phase(), CalibrationRun::Phase::AwaitSeparation) << reading;
    // Saved either way, with today's date.
    const TAppSettings saved = ParseSettings(QString::fromUtf8(test::readFile(settingsFile())));
    EXPECT_EQ(run.Standard, standard) << reading;
    EXPECT_EQ(run.High, high) << reading;
    EXPECT_EQ(view.figures[CalFigure::StandardResult], figure) << reading;
    EXPECT_EQ(view.figures[CalFigure::StandardRun], figure) << reading;
    EXPECT_EQ(view.result, success ? "【校準成功】" : "【校準失敗】") << reading;
    EXPECT_EQ(view.colors[CalLamp::Result], success ? 0x00FF00 : 0x0000FF) << reading;
    EXPECT_EQ(Settings.CalStandard, standard) << reading;
    EXPECT_EQ(Settings.CalHigh, high) << reading;
    EXPECT_EQ(Settings.CalDate, formatOleDate(toOleDate(QDate::currentDate()))) << reading;
    EXPECT_EQ(saved.CalStandard, standard) << reading;
    // Still held: the run waits for the tip to come off, then ends.
    drive(500);
    EXPECT_EQ(run.phase(), CalibrationRun::Phase::AwaitSeparation);
    probe = [] { return 1000; };
    step();
    EXPECT_FALSE(run.running()) << reading;
    EXPECT_FALSE(view.running) << reading;
    EXPECT_FALSE(view.lit[CalLamp::Standard]) << reading;
    EXPECT_EQ(view.result, success ? "" : "【校準失敗】") << reading;
    // Start: stop, on, standard range, signal 1; sixteen ticks and the start each signal 7;
    // the high range is chosen once with signal 8.
    const auto cmds = meter->commands();
    ASSERT_GE(cmds.size(), 4u);
    EXPECT_EQ(QByteArrayList(cmds.begin(), cmds.begin() + 4).join(' '),
              "X000000 N000000 L000000 S1E1A00")
        << reading;
    EXPECT_EQ(cmds.back(), "X000000") << reading;
    EXPECT_EQ(count("S3E0700"), 17) << reading;
    EXPECT_EQ(count("S291A00"), 1) << reading;
    EXPECT_EQ(count("H000000"), 1) << reading;
    if (success) {
      EXPECT_EQ(count("S1E1A00"), 2) << "the start and the success signal";
    } else {
      EXPECT_EQ(count("S172C00"), 1) << "the failure signal";
    }
  }
}

TEST_F(CalibrationRunTest, ContactNeedsAReadingAboveOneThousand) {
  probe = [] { return 1000; };
  run.start();
  drive(2000);
  EXPECT_EQ(run.phase(), CalibrationRun::Phase::AwaitContact);
  EXPECT_EQ(view.figures[CalFigure::StandardRun], "1,000");
  EXPECT_EQ(view.result, "【校準系統啟動中】");
  EXPECT_EQ(view.resultColor, TColor(0x000080));
  probe = [] { return 1001; };
  step();
  EXPECT_EQ(run.phase(), CalibrationRun::Phase::Ticks);
  EXPECT_EQ(view.status, "系統正在執行校準中，請勿將探測棒分開！");
}

TEST_F(CalibrationRunTest, SeparationDuringTheTicksSavesNothingAndWaitsAgain) {
  int ticks = 0;
  probe = [&] { return ticks >= 3 ? 0 : 3500; };
  run.start();
  drive(3000, [&] {
    ticks = count("S3E0700") - 1;
    return ticks >= 3;
  });
  drive(100, [this] { return run.phase() != CalibrationRun::Phase::Ticks; });
  EXPECT_EQ(run.phase(), CalibrationRun::Phase::AwaitContact);
  EXPECT_EQ(messages, QStringList{"自動校準系統發現錯誤的校準方式！請重新校準一次"});
  EXPECT_EQ(kinds, std::vector{MsgKind::WarningOk});
  EXPECT_EQ(count("S172C00"), 1);
  EXPECT_EQ(Settings.CalStandard, 4000) << "nothing saved";
  EXPECT_FALSE(QFile::exists(settingsFile()));
  EXPECT_EQ(view.previousShown, 2) << "the wait shows the previous calibration again";
}

TEST_F(CalibrationRunTest, StopIsHeardWhileWaitingOnly) {
  probe = [] { return 0; };
  run.start();
  drive(500);
  run.requestStop();
  EXPECT_EQ(view.status, "環境校準值為本次與前一次的校準比值。");
  step();
  EXPECT_FALSE(run.running());
  EXPECT_FALSE(view.running);
  EXPECT_FALSE(QFile::exists(settingsFile()));
  EXPECT_EQ(view.status, "");
  EXPECT_EQ(meter->commands().back(), "X000000");

  probe = [] { return 3500; };
  run.start();
  drive(1000, [this] { return run.phase() == CalibrationRun::Phase::Ticks; });
  run.requestStop();
  drive(6000, [this] { return run.phase() == CalibrationRun::Phase::AwaitSeparation; });
  EXPECT_EQ(run.phase(), CalibrationRun::Phase::AwaitSeparation) << "the ticks ran on";
  EXPECT_EQ(Settings.CalStandard, 3496);
}

}  // namespace
