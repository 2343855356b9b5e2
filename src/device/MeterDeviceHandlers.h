#pragma once
// The main window's part in the device link: which device it claims as the meter, and where
// the meter's replies go. The main window owns one of these next to its controller:
//   deviceController = new THidDeviceController(this);
//   deviceHandlers = new MeterDeviceHandlers(deviceController, this);  // data bound from the start
//   ... first step of its start-up:  deviceHandlers->claimMeter();
//   ... closing: SendSignal(SignalKind::Warning) before the question, StopMeter() after "是".

#include <QObject>

#include "device/HidDeviceController.h"

namespace ruto {

constexpr int kMeterVendorId = 0x5A3C;
constexpr int kMeterProductId = 0x7E21;

bool IsMeterDevice(THidDevice* HidDev);

class MeterDeviceHandlers : public QObject {
  Q_OBJECT

 public:
  // Routes the controller's device data into MeterState (the binding the window has from its
  // creation on). HidCtl must outlive this object or be destroyed after it.
  explicit MeterDeviceHandlers(THidDeviceController* HidCtl, QObject* parent = nullptr);
  // Gives a claimed meter back to the controller.
  ~MeterDeviceHandlers() override;

  // The device steps of the window's creation: a meter still held is handed back, the change
  // handler is connected and the first scan runs at once, so the meter is normally claimed
  // when this returns.
  void claimMeter();

  // Drops a meter that has gone; claims one when none is held.
  void HidCtlDeviceChange();

 private:
  THidDeviceController* HidCtl;
  bool changeConnected_ = false;
};

}  // namespace ruto
