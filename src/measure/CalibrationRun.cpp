#include "measure/CalibrationRun.h"

#include "app/AskUser.h"
#include "app/Settings.h"
#include "base/Clock.h"
#include "base/DateTime.h"
#include "base/Numbers.h"
#include "device/MeterCommands.h"

namespace ruto {

namespace {

const QString kIdleStatus = QStringLiteral("環境校準值為本次與前一次的校準比值。");
constexpr int kTicksPerRange = 8;
constexpr int kProgressFull = 2600;

QString reading(double r) { return Format("%5.0n", {r}); }
QString zero() { return Format("%5.0d", {0LL}); }
double mean(double sum, int n) { return n ? sum / n : 0.0; }

}  // namespace

void CalibrationRun::start() {
  if (running()) return;
  CalRunning = true;
  view_.setRunning(true);
  StopMeter();
  SetMeterOn(true);
  SelectRange(false);
  SendSignal(SignalKind::Question);
  beginWait();
}

void CalibrationRun::requestStop() {
  if (phase_ == Phase::Ticks || phase_ == Phase::AwaitSeparation) return;
  for (CalLamp l : {CalLamp::Standard, CalLamp::High, CalLamp::Result})
    view_.setLamp(l, {false, std::nullopt, std::nullopt});
  CalRunning = false;
  view_.setStatus(kIdleStatus);
}

void CalibrationRun::beginWait() {
  for (CalLamp l : {CalLamp::Standard, CalLamp::High, CalLamp::Result})
    view_.setLamp(l, {true, 0x00FFFF, 200});
  view_.showPrevious();
  view_.setProgress(1, 0);
  view_.setProgress(2, 0);
  view_.setFigure(CalFigure::StandardResult, zero());
  view_.setFigure(CalFigure::HighResult, zero());
  for (CalGauge g : {CalGauge::StandardChange, CalGauge::HighChange, CalGauge::Balance})
    view_.setGauge(g, 0);
  view_.setResult(QString(), 0);
  view_.setFigure(CalFigure::StandardRun, zero());
  view_.setFigure(CalFigure::HighRun, zero());
  view_.setResult(QStringLiteral("【校準系統啟動中】"), 0x000080);
  view_.setStatus(QStringLiteral("請將探測棒的棉花端接觸金屬握把後，系統即開始自動校準"));
  phase_ = Phase::AwaitContact;
}

int CalibrationRun::pass() {
  switch (phase_) {
    case Phase::AwaitContact:
      awaitContactPass();
      break;
    case Phase::Ticks:
      tickPass();
      break;
    case Phase::AwaitSeparation:
      awaitSeparationPass();
      break;
    case Phase::Idle:
      break;
  }
  if (phase_ == Phase::Idle) return -1;
  return phase_ == Phase::Ticks ? 0 : kWaitIntervalMs;
}

void CalibrationRun::awaitContactPass() {
  if (CalRunning) {
    const int r = ReadMeterValue();
    view_.setFigure(CalFigure::StandardRun, reading(r));
    view_.setGauge(CalGauge::Balance, r);
    if (r <= kContactReading) return;
  }
  view_.setFigure(CalFigure::StandardRun, zero());
  step_ = ReadMeterValue() / 8.0;
  if (!CalRunning) {
    StopMeter();
    view_.setRunning(false);
    view_.setStatus(QString());
    view_.setFigure(CalFigure::StandardResult, zero());
    view_.setFigure(CalFigure::HighResult, zero());
    for (CalGauge g : {CalGauge::StandardChange, CalGauge::HighChange, CalGauge::Balance})
      view_.setGauge(g, 0);
    view_.setResult(QString(), 0);
    phase_ = Phase::Idle;
    return;
  }
  view_.setStatus(QStringLiteral("系統正在執行校準中，請勿將探測棒分開！"));
  SelectRange(false);
  stageStart_ = tickStart_ = TickCount();
  tick_ = 0;
  sum_ = 0;
  n_ = 0;
  shown_ = 0;
  SendSignal(SignalKind::CalibrationTick);
  base_ = ReadMeterValue();
  phase_ = Phase::Ticks;
}

void CalibrationRun::tickPass() {
  if (tick_ > 1 && ReadMeterValue() <= kContactReading) {
    // The tip came off the handle: nothing is kept, the wait starts again.
    view_.setLamp(CalLamp::Standard, {std::nullopt, 0x808000, std::nullopt});
    view_.setLamp(CalLamp::High, {std::nullopt, 0x808000, std::nullopt});
    SendSignal(SignalKind::Fault);
    AskUser(MsgKind::WarningOk, QStringLiteral("自動校準系統發現錯誤的校準方式！請重新校準一次"));
    beginWait();
    return;
  }
  view_.setGauge(CalGauge::Balance, (ReadMeterValue() - base_) / 4000.0 * 100.0);
  const std::int64_t now = TickCount();
  if (now - tickStart_ >= kTickMs) {
    shown_ += step_;
    tickStart_ = now;
    ++tick_;
    SendSignal(SignalKind::CalibrationTick);
    if (tick_ == kTicksPerRange) {
      const double a = mean(sum_, n_);
      Standard = nearInt(a - 0.001 * a);
      view_.setFigure(CalFigure::StandardRun, reading(Standard));
      view_.setFigure(CalFigure::StandardResult, reading(Standard));
      view_.setGauge(CalGauge::StandardChange, (Standard - Settings.CalStandard) / 4095.0 * 200.0);
      SelectRange(true);
      stageStart_ = TickCount();
      sum_ = 0;
      n_ = 0;
      shown_ = 0;
      SendSignal(SignalKind::HighRangeStart);
      view_.setProgress(1, kProgressFull);
      base_ = ReadMeterValue();
    }
    if (tick_ == 2 * kTicksPerRange) {
      const double a = mean(sum_, n_);
      High = nearInt(a - 0.0001 * a);
      view_.setFigure(CalFigure::HighRun, reading(High));
      view_.setFigure(CalFigure::HighResult, reading(High));
      view_.setGauge(CalGauge::HighChange, (High - Settings.CalHigh) / 4095.0 * 200.0);
      view_.setProgress(2, kProgressFull);
      finish();
      return;
    }
  }
  const bool standard = tick_ < kTicksPerRange;
  view_.setLamp(CalLamp::Standard, {std::nullopt, standard ? 0x0000FF : 0x00FF00, 0});
  view_.setLamp(CalLamp::High, {std::nullopt, standard ? 0x000080 : 0x0000FF, 0});
  view_.setFigure(standard ? CalFigure::StandardRun : CalFigure::HighRun, reading(shown_));
  if (tick_ == 6 || tick_ == 7 || tick_ == 14 || tick_ == 15) {
    sum_ += ReadMeterValue();
    ++n_;
  }
  view_.setProgress(standard ? 1 : 2, int(TickCount() - stageStart_));
}

void CalibrationRun::finish() {
  view_.setLamp(CalLamp::High, {std::nullopt, 0x00FF00, std::nullopt});
  if (Standard >= 3000) {
    SendSignal(SignalKind::Question);
    view_.setStatus(QStringLiteral("您已正確完成系統的自動校準，現在可以將探測棒移開"));
    view_.setLamp(CalLamp::Result, {std::nullopt, 0x00FF00, 0});
    view_.setResult(QStringLiteral("【校準成功】"), 0x008000);
  } else {
    SendSignal(SignalKind::Fault);
    view_.setStatus(QStringLiteral(
        "檢測棒的導電度過低，您需要重新校準！校準前請檢查：1. 檢測棒的導電棉濕潤度、2. "
        "食鹽水濃度、3. 導電棉安裝方式。"));
    view_.setLamp(CalLamp::Result, {std::nullopt, 0x0000FF, 0});
    view_.setResult(QStringLiteral("【校準失敗】"), 0x0000FF);
  }
  // A failed calibration is kept too: the failure is on screen, and a reading below 2000
  // is put back to 4000 when the settings are next read.
  Settings.CalStandard = Standard;
  Settings.CalHigh = High;
  Settings.CalDate = formatOleDate(toOleDate(QDate::currentDate()));
  LoadSaveSettings(true);
  phase_ = Phase::AwaitSeparation;
}

void CalibrationRun::awaitSeparationPass() {
  if (ReadMeterValue() > kContactReading) return;
  if (Standard >= 3000) {
    view_.setStatus(kIdleStatus);
    view_.setResult(QString(), 0);
  }
  end();
}

void CalibrationRun::end() {
  StopMeter();
  view_.setRunning(false);
  for (CalLamp l : {CalLamp::Standard, CalLamp::High, CalLamp::Result})
    view_.setLamp(l, {false, std::nullopt, std::nullopt});
  view_.setProgress(1, 0);
  view_.setProgress(2, 0);
  view_.setGauge(CalGauge::Balance, 0);
  CalRunning = false;
  phase_ = Phase::Idle;
}

}  // namespace ruto
