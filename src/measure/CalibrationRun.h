#pragma once
// Probe calibration as a state machine: wait for the cotton tip on the handle, sixteen ticks
// of at least 280 ms (standard range, then high range), average a window of each, save both
// readings with the date, wait for the probe to come off. The window's timer calls pass().

#include <QString>
#include <cstdint>

#include "base/Colors.h"
#include "measure/MeasureRun.h"

namespace ruto {

enum class CalFigure { StandardRun, HighRun, StandardResult, HighResult };  // 17, 18, 11, 12
enum class CalGauge { StandardChange, HighChange, Balance };                // 3, 4, 5
enum class CalLamp { Standard, High, Result };

// The calibration window as the run sees it.
class CalibrationView {
 public:
  virtual ~CalibrationView() = default;
  // Start disabled, exit disabled, stop enabled while running; the reverse otherwise.
  virtual void setRunning(bool on) = 0;
  // Previous calibration on its gauges and figures, today's date, progress and change
  // gauges at 0, the running figures "    0".
  virtual void showPrevious() = 0;
  virtual void setFigure(CalFigure which, const QString& text) = 0;
  // The gauge takes the value only inside its scale.
  virtual void setGauge(CalGauge which, double value) = 0;
  virtual void setProgress(int bar, int position) = 0;  // bar 1 standard, 2 high
  virtual void setLamp(CalLamp lamp, const LampChange& change) = 0;
  virtual void setResult(const QString& text, TColor color) = 0;
  virtual void setStatus(const QString& text) = 0;
};

class CalibrationRun {
 public:
  enum class Phase { Idle, AwaitContact, Ticks, AwaitSeparation };

  static constexpr int kWaitIntervalMs = 10;
  static constexpr int kTickMs = 280;
  static constexpr int kContactReading = 1000;  // a reading above it is contact

  explicit CalibrationRun(CalibrationView& view) : view_(view) {}

  void start();
  // One pass; the interval until the next in ms, -1 once the calibration has ended.
  int pass();
  // The stop button: heard only while waiting for contact.
  void requestStop();
  bool running() const { return phase_ != Phase::Idle; }
  Phase phase() const { return phase_; }

  bool CalRunning = false;
  int Standard = 0;  // results of the last calibration
  int High = 0;

 private:
  void beginWait();
  void awaitContactPass();
  void tickPass();
  void finish();
  void awaitSeparationPass();
  void end();

  CalibrationView& view_;
  Phase phase_ = Phase::Idle;
  int tick_ = 0, n_ = 0;
  double sum_ = 0, step_ = 0, shown_ = 0, base_ = 0;
  std::int64_t stageStart_ = 0, tickStart_ = 0;
};

}  // namespace ruto
