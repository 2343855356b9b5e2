#include "app/StartupStatusRun.h"

#include "app/AskUser.h"
#include "app/Databases.h"
#include "app/OldDatabaseMigration.h"
#include "base/Clock.h"
#include "device/HidDevice.h"
#include "device/MeterCommands.h"

namespace ruto {

namespace {

// Lamp n (2..7) lights once the run is past this many milliseconds.
constexpr int kLampAfterMs[8] = {0, 0, 200, 400, 600, 800, 1000, 1200};

// Meters of these model codes answer the lamp commands of the first generation.
bool firstGeneration(int code) { return code == 0 || code == 1 || code == 2 || code == 5; }

}  // namespace

QString MeterModelName(int code) {
  static const char* const kNames[] = {"Vo-100",    "Vo-100 Tw", "Vo-100 Plus", "Vo-200",
                                       "Vo-200 Tw", "Vo-100 S",  "Vo-300",      "Vo-300 Tw"};
  if (code < 1 || code > 8) return kNoneText;
  return QString::fromLatin1(kNames[code - 1]);
}

void StartupStatusRun::Begin() {
  ModelText.clear();
  SerialText.clear();
  HardwareText.clear();
  bool readable = false;
  // Whichever way MeterState holds the meter, this reads it without taking it.
  if (THidDevice* device = MeterState.Device ? &*MeterState.Device : nullptr) {
    HardwareText = device->DeviceStringAnsi(3);
    if (HardwareText.isEmpty()) {
      HardwareText = kUsbErrorText;
    } else {
      // The model is the high byte of the device's release number.
      ModelCode = device->Attributes.VersionNumber >> 8;
      MeterState.SerialNo = device->PnPInfo.SerialNumber;
      readable = true;
    }
  } else {
    ModelCode = 0;
    MeterState.SerialNo = kNoneText;
    HardwareText = kNoneText;
  }
  // Shown from the first pass past 300 ms on.
  hardware_ = HardwareText;
  HardwareText.clear();
  LampColour = readable ? kLampGreen : kLampRed;
  Position = 0;
  phaseA_ = phaseB_ = phaseC_ = true;
  labelsFilled_ = false;
  firstPass_ = true;
  LampLit.fill(false);
  LampLit[1] = true;
  start_ = TickCount();
  show();
}

void StartupStatusRun::Tick() {
  if (Finished) return;
  const std::int64_t elapsed = TickCount() - start_;
  if (elapsed > kRunMs) {
    finish();
    return;
  }
  Position = static_cast<int>(qBound(std::int64_t{0}, elapsed, std::int64_t{kRunMs}));
  // Slow commands can carry the run past 400 ms before the labels had their turn.
  if (!labelsFilled_ && Position > 300) {
    labelsFilled_ = true;
    ModelText = MeterModelName(ModelCode);
    if (MeterState.SerialNo.isEmpty()) MeterState.SerialNo = kNoneText;
    SerialText = MeterState.SerialNo;
    HardwareText = hardware_;
  }
  for (int lamp = 2; lamp <= 7; ++lamp)
    if (Position > kLampAfterMs[lamp]) LampLit[lamp] = true;
  show();

  const bool first = firstGeneration(ModelCode);
  if (phaseA_ && (Position < 400 || firstPass_)) {
    phaseA_ = false;
    SendCommand("AFFFFFF");
  } else if (phaseB_ && Position >= 400 && Position < 800) {
    phaseB_ = false;
    SendCommand("A000000");
    SendCommand(first ? "BFFFFFF" : "IFFFFFF");
  } else if (phaseC_ && Position >= 800) {
    phaseC_ = false;
    SendCommand(first ? "B000000" : "AFFFFFF");
    SendCommand("IFFFFFF");
  }
  firstPass_ = false;
}

void StartupStatusRun::finish() {
  // However its steps end, the run is over afterwards: the screen, which closes only after
  // it, never stays up for good.
  const struct FinishedOnLeaving {
    bool& finished;
    ~FinishedOnLeaving() { finished = true; }
  } finishedOnLeaving{Finished};
  Position = kRunMs;
  StatusText = kDoneText;
  show(true);
  StopMeter();
  if (OldDatabaseMigration::OldDatabasePresent()) {
    StatusText = kMigrationStatusText;
    Position = 0;
    show(true);
    OldDatabaseMigration migration(kMainConnection);
    migration.progress = [this](int position) {
      Position = position;
      show(true);
    };
    const MigrationResult result = migration.run();
    Position = kRunMs;
    show(true);
    if (!result.renamedMessage.isEmpty()) AskUser(MsgKind::WarningOk, result.renamedMessage);
    if (!result.message.isEmpty()) AskUser(MsgKind::ImportantOk, result.message);
  }
  Finished = true;
  show();
}

}  // namespace ruto
