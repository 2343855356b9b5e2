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
    EXPECT_EQ(
        fields(run.Standard, run.High, view.figures[CalFigure::StandardResult],
               view.figures[CalFigure::StandardRun], view.result, view.colors[CalLamp::Result],
               Settings.CalStandard, Settings.CalHigh, Settings.CalDate, saved.CalStandard),
        fields(standard, high, figure, figure, success ? "【校準成功】" : "【校準失敗】",
               success ? 0x00FF00 : 0x0000FF, standard, high,
               formatOleDate(toOleDate(QDate::currentDate())), standard));
    // Still held: the run waits for the tip to come off, then ends.
    drive(500);
    EXPECT_EQ(run.phase(), CalibrationRun::Phase::AwaitSeparation);
    probe = [] { return 1000; };
    step();
    EXPECT_EQ(std::tuple(run.running() || view.running || view.lit[CalLamp::Standard], view.result),
              std::tuple(false, success ? "" : "【校準失敗】"));
    // Start: stop, on, standard range, signal 1; sixteen ticks and the start each signal 7;
    // the high range is chosen once with signal 8.
    const auto cmds = meter->commands();
    ASSERT_GE(cmds.size(), 4u);
    EXPECT_EQ(QByteArrayList(cmds.begin(), cmds.begin() + 4).join(' ') + ' ' + cmds.back(),
              "X000000 N000000 L000000 S1E1A00 X000000");
    EXPECT_EQ(std::tuple(count("S3E0700"), count("S291A00"), count("H000000"),
                         count(success ? "S1E1A00" : "S172C00")),
              std::tuple(17, 1, 1, success ? 2 : 1));
  }
}

TEST_F(CalibrationRunTest, ContactNeedsAReadingAboveOneThousand) {
  probe = [] { return 1000; };
  run.start();
  drive(2000);
  EXPECT_EQ(
      std::tuple(run.phase(), view.figures[CalFigure::StandardRun], view.result, view.resultColor),
      std::tuple(CalibrationRun::Phase::AwaitContact, "1,000", "【校準系統啟動中】",
                 TColor(0x000080)));
  probe = [] { return 1001; };
  step();
  EXPECT_EQ(std::tuple(run.phase(), view.status),
            std::tuple(CalibrationRun::Phase::Ticks, "系統正在執行校準中，請勿將探測棒分開！"));
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
  // The wait shows the previous calibration again.
  EXPECT_EQ(std::tuple(run.phase(), messages, kinds, count("S172C00"), Settings.CalStandard,
                       QFile::exists(settingsFile()), view.previousShown),
            std::tuple(CalibrationRun::Phase::AwaitContact,
                       QStringList{"自動校準系統發現錯誤的校準方式！請重新校準一次"},
                       std::vector{MsgKind::WarningOk}, 1, 4000, false, 2));
}

TEST_F(CalibrationRunTest, StopIsHeardWhileWaitingOnly) {
  probe = [] { return 0; };
  run.start();
  drive(500);
  run.requestStop();
  EXPECT_EQ(view.status, "環境校準值為本次與前一次的校準比值。");
  step();
  EXPECT_EQ(std::tuple(run.running() || view.running || QFile::exists(settingsFile()), view.status,
                       meter->commands().back()),
            std::tuple(false, "", "X000000"));

  probe = [] { return 3500; };
  run.start();
  drive(1000, [this] { return run.phase() == CalibrationRun::Phase::Ticks; });
  run.requestStop();
  drive(6000, [this] { return run.phase() == CalibrationRun::Phase::AwaitSeparation; });
  EXPECT_EQ(std::tuple(run.phase(), Settings.CalStandard),
            std::tuple(CalibrationRun::Phase::AwaitSeparation, 3496))
      << "the ticks ran on";
}

}  // namespace
