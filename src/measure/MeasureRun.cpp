#include "measure/MeasureRun.h"

#include <algorithm>

#include "app/AskUser.h"
#include "app/Settings.h"
#include "app/SharedRecords.h"
#include "base/Clock.h"
#include "base/DateTime.h"
#include "base/Numbers.h"
#include "device/HidDevice.h"
#include "device/MeterCommands.h"

namespace ruto {

namespace {

constexpr int kCompletionMax = 2500;
constexpr int kSettleMs = 200;
constexpr int kBaselineMs = 150;

QString figure(double value) { return Format("%5.2f", {value}); }
QString readingFigure(double value) { return "[" + Format("%5.1f", {value}) + "]"; }

int readingBarPosition(double value) { return static_cast<int>(value / 200.0 * 4096.0); }

}  // namespace

void DrawChartGrid(Canvas& canvas, int W, int H) {
  const TColor green = 0x00FF00;
  canvas.Pen = {green, 1, TPenStyle::psDot};
  for (int i = 1; i <= 19; ++i) {
    const int x = nearInt(i * double(W) / 20);
    canvas.MoveTo(x, 3);
    canvas.LineTo(x, H - 3);
  }
  for (int j = 1; j <= 5; ++j) {
    const int y = nearInt(j * double(H) / 6);
    canvas.MoveTo(3, y);
    canvas.LineTo(W - 3, y);
  }
  canvas.Pen.Style = TPenStyle::psSolid;
  const int cx = nearInt(10 * double(W) / 20);
  const int cy = nearInt(3 * double(H) / 6);
  canvas.MoveTo(cx, 3);
  canvas.LineTo(cx, H - 3);
  canvas.MoveTo(3, cy);
  canvas.LineTo(W - 3, cy);
  const int tickY = nearInt(12 * double(H) / 24);
  for (int i = 1; i <= 50; ++i) {
    const int x = nearInt(i * double(W) / 50);
    canvas.MoveTo(x, tickY - 2);
    canvas.LineTo(x, tickY + 2);
  }
  const int tickX = nearInt(25 * double(W) / 50);
  for (int j = 1; j <= 24; ++j) {
    const int y = nearInt(j * double(H) / 24);
    canvas.MoveTo(tickX - 2, y);
    canvas.LineTo(tickX + 2, y);
  }
  canvas.Pen = {0xC0DCC0, 5, TPenStyle::psSolid};
  canvas.MoveTo(0, 0);
  canvas.LineTo(W, 0);
  canvas.LineTo(W, H);
  canvas.LineTo(0, H);
  canvas.LineTo(0, 0);
}

MeasureRun::MeasureRun(MeasureView& view) : view_(view) {}

MeasureRun::~MeasureRun() = default;

double MeasureRun::CalibrationReading() {
  return Settings.HighPotential ? Settings.CalHigh : Settings.CalStandard;
}

void MeasureRun::updateContactThreshold() {
  ContactThreshold = CalibrationReading() * Settings.MinResponse / 200.0;
}

bool MeasureRun::start() {
  if (running()) return false;
  if (CurrentTest.MKey > 0) {
    SendSignal(SignalKind::Question);
    if (AskUser(MsgKind::QuestionYesNo, QStringLiteral("您要先清除表格中的資料再開始檢測嗎？"))) {
      ClearCurrentTest();
      HasValues = false;
      CurrentTest.VoVota = Settings.HighPotential;
      view_.storedTestCleared();
    }
  }
  if (Settings.HighPotential) {
    SendSignal(SignalKind::Warning);
    if (!AskUser(MsgKind::ImportantYesNo,
                 QStringLiteral("現在系統使用的是【高電位測量】請再一次確認!")))
      return false;
  }

  CurrentPoint = 1;
  view_.runStarted();
  const QSize size = view_.traceSize();
  W_ = size.width();
  H_ = size.height();
  sx_ = W_ / 2500.0;
  sy_ = H_ / 600.0;
  StopMeter();
  SetMeterOn(true);
  SelectRange(Settings.HighPotential);
  meter_ = MeterState.Device.get();
  MeasureDivisor = CalibrationReading() / 200.0;
  StopRequested = false;
  beginPoint();
  return true;
}

int MeasureRun::pass() {
  if (phase_ == Phase::Idle) return -1;
  reclaimMeter();
  switch (phase_) {
    case Phase::AwaitContact:
      awaitContactPass();
      break;
    case Phase::Sampling:
      samplingPass();
      break;
    case Phase::AwaitLift:
      awaitLiftPass();
      break;
    case Phase::Idle:
      break;
  }
  if (phase_ == Phase::Idle) return -1;
  return phase_ == Phase::Sampling ? 0 : kWaitIntervalMs;
}

void MeasureRun::requestStop() { StopRequested = true; }

bool MeasureRun::reaim(int point) {
  if (!AwaitingContact || phase_ != Phase::AwaitContact || point < 1 || point > 24) return false;
  CurrentPoint = static_cast<std::uint16_t>(point);
  view_.showPoint(point);
  return true;
}

// A meter plugged in again during the run knows nothing of it: start it and pick the range
// before it is read.
void MeasureRun::reclaimMeter() {
  THidDevice* device = MeterState.Device.get();
  if (device && (meter_.isNull() || meter_.data() != device)) {
    SetMeterOn(true);
    SelectRange(Settings.HighPotential);
  }
  meter_ = device;
}

void MeasureRun::beginPoint() {
  updateContactThreshold();
  view_.showPoint(CurrentPoint);
  beginContactWait();
}

void MeasureRun::beginContactWait() {
  AwaitingContact = true;
  view_.setStatus(QStringLiteral("請至指定的代表測定點開始測量,或以滑鼠點選測量位置"));
  completion_ = 0;
  view_.setCompletion(0);
  view_.setReadingBar(0);
  cur_ = 0;
  view_.setCompFigure(figure(0));
  view_.setLamp(MeasureLamp::Completion, {true, 0x00FF00, 200});
  view_.setLamp(MeasureLamp::Reading, {false, 0x008000, 200});
  view_.setLamp(MeasureLamp::Trace, {std::nullopt, 0x00FF00, 200});
  phase_ = Phase::AwaitContact;
}

void MeasureRun::awaitContactPass() {
  view_.setValueFigure(figure(cur_ / MeasureDivisor));
  view_.setReadingFigure(readingFigure(cur_ / MeasureDivisor));
  if (StopRequested) {
    view_.clearTrace();
    endRun();
    return;
  }
  // One reading above the threshold may be a touch in passing; the mean with the next must
  // stay above it too.
  cur_ = ReadMeterValue();
  if (cur_ <= ContactThreshold) return;
  cur_ = (ReadMeterValue() + cur_) / 2;
  if (cur_ <= ContactThreshold) return;
  view_.clearTrace();
  contact();
}

void MeasureRun::contact() {
  AwaitingContact = false;
  view_.setLamp(MeasureLamp::Reading, {true, std::nullopt, std::nullopt});
  view_.setLamp(MeasureLamp::Completion, {std::nullopt, 0x0000FF, 0});
  view_.setLamp(MeasureLamp::Trace, {std::nullopt, 0x0000FF, std::nullopt});
  SendSignal(SignalKind::Stage);
  view_.setStatus(QStringLiteral("經絡能量測定中,請保持測棒穩定不動.."));
  tracePen_ = {0x0000FF, 2, TPenStyle::psDot};
  sum_ = 0;
  n_ = 0;
  stage_ = 1;
  stageStart_ = contactTime_ = TickCount();
  base_ = ReadMeterValue();
  phase_ = Phase::Sampling;
}

void MeasureRun::line(QPoint to) {
  view_.traceLine(penPos_, to, tracePen_);
  penPos_ = to;
}

void MeasureRun::samplingPass() {
  cur_ = ReadMeterValue();
  const std::int64_t dt = TickCount() - contactTime_;
  if (dt < kSettleMs) {
    penPos_ = QPoint(3, H_);
    line(QPoint(nearInt(dt * sx_), nearInt((600 - dt) * sy_)));
    base_ = dt <= kBaselineMs ? ReadMeterValue() : (ReadMeterValue() + base_) / 2;
  } else {
    // The baseline sits at 400 of the 600 trace units; one µA moves the trace 10 units.
    const long long y =
        std::clamp<long long>(near(400 * sy_ - (cur_ - base_) / MeasureDivisor * 10 * sy_), 0, H_);
    const long long x = near(completion_ * sx_ + 50 * sx_);
    line(QPoint(int(x), int(y)));
  }
  if (stage_ > 3) {
    sum_ += cur_;
    ++n_;
  }
  if (cur_ <= ContactThreshold) {
    view_.clearTrace();
    beginContactWait();
    return;
  }
  const int column = MeridianColumn(CurrentPoint);
  view_.setValueFigure(figure(cur_ / 2500 * double(dt) / MeasureDivisor));
  view_.setCompFigure(figure(cur_ / 2500 * double(dt) * CompFactor[column] / MeasureDivisor));
  view_.setReadingFigure(readingFigure(cur_ / MeasureDivisor));
  completion_ = int(std::clamp<std::int64_t>(dt, 0, kCompletionMax));
  view_.setCompletion(completion_);
  view_.setReadingBar(readingBarPosition(cur_ / MeasureDivisor));
  const std::int64_t now = TickCount();
  if (now - stageStart_ >= kStageMs) {
    stageStart_ = now;
    ++stage_;
    SendSignal(SignalKind::Stage);
  }
  if (stage_ == 5) {
    completion_ = kCompletionMax;
    view_.setCompletion(kCompletionMax);
    storePoint();
  }
}

void MeasureRun::storePoint() {
  const int p = CurrentPoint;
  const double mean = n_ ? sum_ / n_ : cur_;
  SendSignal(p == 24 ? SignalKind::TestDone : SignalKind::PointStored);
  const double value = mean / MeasureDivisor;
  const double comp = CompensatedValue(p, value);
  view_.setValueFigure(figure(value));
  view_.setCompFigure(figure(comp));
  CurrentTest.Values[p] = value;
  CurrentTest.CompValues[p] = comp;
  CurrentTest.VoVota = Settings.HighPotential;
  // The test no longer equals a stored row; a later note must not go into the old one.
  CurrentTest.MKey = 0;
  ++CurrentTest.LivePointCount;
  HasValues = true;
  CurrentTest.VoDate = oleNow();
  ViewState.ChartKind = ChartType::Bar;
  view_.pointStored(p);
  view_.setStatus(QStringLiteral("【經絡能量測定完畢,請移開探測棒】"));
  AwaitingContact = false;
  view_.setReadingFigure(readingFigure(value));
  view_.setReadingBar(readingBarPosition(value));
  view_.setLamp(MeasureLamp::Reading, {std::nullopt, 0x00FFFF, 0});
  view_.setLamp(MeasureLamp::Completion, {std::nullopt, 0x00FFFF, std::nullopt});
  view_.setLamp(MeasureLamp::Trace, {std::nullopt, 0x00FFFF, std::nullopt});
  liftStart_ = TickCount();
  phase_ = Phase::AwaitLift;
}

void MeasureRun::awaitLiftPass() {
  if (ReadMeterValue() < ContactThreshold) {
    afterLift();
    return;
  }
  if (TickCount() - liftStart_ <= kLiftTimeoutMs) return;
  if (CurrentPoint != 24) {
    SendSignal(SignalKind::Fault);
    if (!AskUser(MsgKind::ImportantYesNo, QStringLiteral("測量時間過長！！是否繼續檢測？"))) {
      view_.setGridEnabled(false);
      StopRequested = true;
    }
  }
  afterLift();
}

void MeasureRun::afterLift() {
  if (StopRequested || CurrentPoint >= 24) {
    endRun();
    return;
  }
  ++CurrentPoint;
  beginPoint();
}

void MeasureRun::endRun() {
  phase_ = Phase::Idle;
  AwaitingContact = false;
  view_.runEnded();
  StopMeter();
}

}  // namespace ruto
