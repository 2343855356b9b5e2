#pragma once
// TSyspt, the probe calibration window: the previous calibration, this calibration relative
// to it, and the running indicators of the calibration sequence.

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

class TSyspt : public QDialog, private CalibrationView {
 public:
  explicit TSyspt(QWidget* parent = nullptr);
  ~TSyspt() override;

  QToolButton *ToolButton1 = nullptr, *ToolButton2 = nullptr, *ToolButton3 = nullptr;
  TBarMeter *BarMeter1 = nullptr, *BarMeter2 = nullptr, *BarMeter3 = nullptr, *BarMeter4 = nullptr,
            *BarMeter5 = nullptr;
  QLabel *StaticText5 = nullptr, *StaticText6 = nullptr, *StaticText7 = nullptr;
  QLabel *StaticText11 = nullptr, *StaticText12 = nullptr, *StaticText13 = nullptr;
  QLabel *StaticText17 = nullptr, *StaticText18 = nullptr, *StaticText14 = nullptr;
  TGradientBar *GradientBar1 = nullptr, *GradientBar2 = nullptr;
  TLedLamp *Lamp1 = nullptr, *Lamp2 = nullptr, *LedLamp3 = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  // Paces the calibration: one pass per timeout.
  QTimer* CalTimer = nullptr;

  void FormShow();
  void ToolButton1Click();
  void ToolButton2Click();
  void ToolButton3Click();

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
