#pragma once
// CalibrationWindow, the probe calibration window: the previous calibration, this calibration
// relative to it, and the running indicators of the calibration sequence.

#include <QDialog>

#include "measure/CalibrationRun.h"

class QLabel;
class QStatusBar;
class QTimer;
class QToolButton;

namespace ruto {

class TBarMeter;
class TGradientBar;
class TLedLamp;

class CalibrationWindow : public QDialog, private CalibrationView {
 public:
  explicit CalibrationWindow(QWidget* parent = nullptr);
  ~CalibrationWindow() override;

  QToolButton *startButton = nullptr, *stopButton = nullptr, *exitButton = nullptr;
  TBarMeter *previousStandardGauge = nullptr, *previousHighGauge = nullptr,
            *standardChangeGauge = nullptr, *highChangeGauge = nullptr, *balanceGauge = nullptr;
  QLabel *previousStandardLabel = nullptr, *previousHighLabel = nullptr,
         *previousDateLabel = nullptr;
  QLabel *standardResultLabel = nullptr, *highResultLabel = nullptr, *dateLabel = nullptr;
  QLabel *standardRunLabel = nullptr, *highRunLabel = nullptr, *resultLabel = nullptr;
  TGradientBar *standardBar = nullptr, *highBar = nullptr;
  TLedLamp *standardLamp = nullptr, *highLamp = nullptr, *resultLamp = nullptr;
  QStatusBar* statusBar = nullptr;
  // Paces the calibration: one pass per timeout.
  QTimer* calibrationTimer = nullptr;

  void FormShow();
  void startCalibration();
  void stopCalibration();
  void exitWindow();

  CalibrationRun& Run() { return run_; }
  // One pass of the calibration (the timer's slot); tests call it on virtual time.
  void calibrationTick();
  // Escape and the close box: refused while running, where it acts as the stop button.
  void reject() override;

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void buildLayout();

  // CalibrationView
  void setRunning(bool on) override;
  void showPrevious() override;
  void setFigure(CalFigure which, const QString& text) override;
  void setGauge(CalGauge which, double value) override;
  void setProgress(int bar, int position) override;
  void setLamp(CalLamp lamp, const LampChange& change) override;
  void setResult(const QString& text, TColor color) override;
  void setStatus(const QString& text) override;

  CalibrationRun run_;
};

}  // namespace ruto
