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

class StartupStatusScreen : public QDialog {
  Q_OBJECT
 public:
  explicit StartupStatusScreen(QWidget* parent = nullptr);
  ~StartupStatusScreen() override;

  std::array<TLedLamp*, 8> usbLamps{};  // 1..7, left to right; entry 0 unused
  QLabel* modelLabel;
  QLabel* serialLabel;
  QLabel* hardwareLabel;
  TLedLamp* busyLamp;
  TGradientBar* progressBar;
  QStatusBar* statusBar;

  bool firstActivation = true;
  StartupStatusRun run;
  // Milliseconds between passes of the lamp run.
  static constexpr int kPassMs = 10;

  void startRun();
  void stopLamps();
  // Shows the run's state; `now` repaints at once.
  void showRun(bool now);
  // One pass of the run (the timer's step); after the last one the screen closes itself.
  void runPass();

 protected:
  void showEvent(QShowEvent* e) override;
  bool event(QEvent* e) override;
  // Refused until the run has finished (Escape and close requests included).
  void done(int r) override;

 private:
  QTimer* timer_;
};

inline constexpr int kStatusWidth = 432;
inline constexpr int kStatusHeight = 249;

}  // namespace ruto
