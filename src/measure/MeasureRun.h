#pragma once
// The 24-point measurement run as a state machine: the window's timer calls pass() and waits
// the interval it returns. The meter is reached through the command wrappers, the screen
// through MeasureView, times through ruto::clock().

#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QString>
#include <cstdint>
#include <optional>

#include "base/Canvas.h"
#include "base/Colors.h"

namespace ruto {

class THidDevice;

// The three lamps the run drives.
enum class MeasureLamp { Completion, Reading, Trace };

// What a lamp change touches; fields left empty keep their state.
struct LampChange {
  std::optional<bool> lit;
  std::optional<TColor> color;
  std::optional<int> interval;  // blink interval in ms, 0 = steady
};

// The window as the run sees it.
class MeasureView {
 public:
  virtual ~MeasureView() = default;
  // Controls set for a running measurement, the trace panel shown with its grid.
  virtual void runStarted() = 0;
  // The stored test was cleared before the run: analysis, comparison, save and clear
  // disabled, date and time emptied, grid refilled.
  virtual void storedTestCleared() = 0;
  // Paint box size; the trace scales to it.
  virtual QSize traceSize() = 0;
  // Picture, limb, names and grid selection of the point; the picture shown.
  virtual void showPoint(int point) = 0;
  virtual void setStatus(const QString& text) = 0;
  virtual void setValueFigure(const QString& text) = 0;    // measured value
  virtual void setCompFigure(const QString& text) = 0;     // compensated value
  virtual void setReadingFigure(const QString& text) = 0;  // "[ 12.3]"
  virtual void setCompletion(int position) = 0;            // 0..2500
  virtual void setReadingBar(int position) = 0;            // 0..4095
  virtual void setLamp(MeasureLamp lamp, const LampChange& change) = 0;
  // Empty trace: the panel repainted with its grid only.
  virtual void clearTrace() = 0;
  virtual void traceLine(QPoint from, QPoint to, const TPen& pen) = 0;
  // The point's value is in CurrentTest: grid cell, range label, date and time.
  virtual void pointStored(int point) = 0;
  virtual void setGridEnabled(bool on) = 0;
  // Controls back as after a run; the trace panel hidden.
  virtual void runEnded() = 0;
};

// The trace panel's grid for a paint box of W x H.
void DrawChartGrid(Canvas& canvas, int W, int H);

class MeasureRun {
 public:
  enum class Phase { Idle, AwaitContact, Sampling, AwaitLift };

  static constexpr int kWaitIntervalMs = 10;  // contact and lift waits poll at this pace
  static constexpr int kStageMs = 600;
  static constexpr int kLiftTimeoutMs = 3000;

  explicit MeasureRun(MeasureView& view);
  ~MeasureRun();
  MeasureRun(const MeasureRun&) = delete;
  MeasureRun& operator=(const MeasureRun&) = delete;

  // Questions and preparation. False when the run does not start (high range declined).
  // AskUser may show a modal box here.
  bool start();
  // One pass of the current phase. The interval until the next pass in ms; -1 once the run
  // has ended. May ask the too-long question; the caller's timer must be stopped meanwhile.
  int pass();
  bool running() const { return phase_ != Phase::Idle; }
  Phase phase() const { return phase_; }

  // The stop button: the run ends at the next contact-wait pass or after the point in work.
  void requestStop();
  // A grid click on `point` while waiting for contact re-aims the run; false otherwise.
  bool reaim(int point);
  // The minimum response changed.
  void updateContactThreshold();
  // Calibration reading of the selected range.
  static double CalibrationReading();

  // Unit state of the measurement window.
  double MeasureDivisor = 20;
  double ContactThreshold = 20;
  std::uint16_t CurrentPoint = 1;
  bool StopRequested = false;
  bool AwaitingContact = false;
  bool HasValues = false;

 private:
  void beginPoint();
  void beginContactWait();
  void awaitContactPass();
  void contact();
  void samplingPass();
  void storePoint();
  void awaitLiftPass();
  void afterLift();
  void endRun();
  void reclaimMeter();
  void line(QPoint to);

  MeasureView& view_;
  Phase phase_ = Phase::Idle;
  QPointer<THidDevice> meter_;
  double sx_ = 0, sy_ = 0;
  int W_ = 0, H_ = 0;
  double cur_ = 0, base_ = 0, sum_ = 0;
  std::uint16_t n_ = 0, stage_ = 1;
  std::int64_t contactTime_ = 0, stageStart_ = 0, liftStart_ = 0;
  int completion_ = 0;  // the completion bar's position
  QPoint penPos_;
  TPen tracePen_;
};

}  // namespace ruto
