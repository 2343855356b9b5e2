#pragma once
// The start-up status screen: meter state, lamp test and old-database migration, shown
// once, modally, when the main window is first activated.

#include <QDialog>
#include <array>

#include "app/StartupStatusRun.h"

class QLabel;
class QStatusBar;
class QTimer;

namespace ruto {

class TLedLamp;
class TGradientBar;

class TVoStatu : public QDialog {
  Q_OBJECT
 public:
  explicit TVoStatu(QWidget* parent = nullptr);
  ~TVoStatu() override;

  std::array<TLedLamp*, 8> LedLamp{};  // LedLamp1..LedLamp7; entry 0 unused
  QLabel* StaticText5;                 // model
  QLabel* StaticText6;                 // serial number
  QLabel* StaticText7;                 // hardware version
  TLedLamp* Lamp1;
  TGradientBar* GradientBar1;
  QStatusBar* StatusBar1;

  bool ScreenFirstActivation = true;
  StartupStatusRun Run;
  // Milliseconds between passes of the lamp run.
  static constexpr int kPassMs = 10;

  void FormActivate();
  void FormClose();
  // Shows the run's state; `now` repaints at once.
  void ShowRun(bool now);
  // One pass of the run (the timer's step); after the last one the screen closes itself.
  void RunPass();

 protected:
  void showEvent(QShowEvent* e) override;
  bool event(QEvent* e) override;
  void done(int r) override;

 private:
  QTimer* timer_;
};

inline constexpr int kStatusWidth = 432;
inline constexpr int kStatusHeight = 249;

}  // namespace ruto
