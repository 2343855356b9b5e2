#pragma once
// The start-up status run: the meter's model, serial number and hardware version, a 1.3 s
// lamp test on the meter, the stop command and the migration of an old database. A timer
// of the status screen advances it one pass at a time on the process clock.

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

#include "base/Colors.h"

namespace ruto {

inline const QString kNoneText = QStringLiteral("None!");
inline const QString kUsbErrorText = QStringLiteral("USB Status Error!");
inline const QString kDoneText = QStringLiteral("Done.");
inline constexpr TColor kLampGreen = 0x00FF00;
inline constexpr TColor kLampRed = 0x0000FF;

// The model name shown for a model code: the names of codes 1..8, "None!" for any other.
QString MeterModelName(int code);

class StartupStatusRun {
 public:
  // Length of the lamp run and the end of the progress bar, in milliseconds.
  static constexpr int kRunMs = 1300;

  // What the screen shows.
  int Position = 0;
  std::array<bool, 8> LampLit{};  // lamps 1..7; entry 0 unused
  TColor LampColour = kLampRed;
  QString ModelText, SerialText, HardwareText;
  QString StatusText;
  bool Finished = false;
  int ModelCode = 0;

  // Called whenever something shown changed; `now` asks for an immediate repaint.
  std::function<void(bool now)> changed;

  // Reads the meter's state, colours the lamps, lights lamp 1 and takes the start time.
  void Begin();
  // One pass of the lamp run. After the last pass it sets the bar full, shows "Done.",
  // stops the meter, migrates an old database when there is one and sets Finished.
  void Tick();

 private:
  void finish();
  void show(bool now = false) {
    if (changed) changed(now);
  }

  std::int64_t start_ = 0;
  bool labelsFilled_ = false;
  bool firstPass_ = true;
  QString hardware_;
  bool phaseA_ = true, phaseB_ = true, phaseC_ = true;
};

}  // namespace ruto
