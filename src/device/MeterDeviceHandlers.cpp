#include "device/MeterDeviceHandlers.h"

#include "device/MeterCommands.h"

namespace ruto {

bool IsMeterDevice(THidDevice* HidDev) {
  return HidDev && HidDev->Attributes.VendorID == kMeterVendorId &&
         HidDev->Attributes.ProductID == kMeterProductId;
}

MeterDeviceHandlers::MeterDeviceHandlers(THidDeviceController* Controller, QObject* parent)
    : QObject(parent), HidCtl(Controller) {
  connect(
      HidCtl, &THidDeviceController::OnDeviceData, this,
      [](THidDevice* dev, quint8 id, const QByteArray& data) { HidCtlDeviceData(dev, id, data); });
  // A controller going away first leaves the meter object with its holder.
  connect(HidCtl, &QObject::destroyed, this, [this] { HidCtl = nullptr; });
}

MeterDeviceHandlers::~MeterDeviceHandlers() {
  if (HidCtl) HidCtl->ReleaseDevice(MeterState.Device);
  MeterState.Device.reset();  // the controller went first: the meter is ours to free
}

void MeterDeviceHandlers::claimMeter() {
  if (MeterState.Device && HidCtl) HidCtl->ReleaseDevice(MeterState.Device);
  if (changeConnected_ || !HidCtl) return;
  changeConnected_ = true;
  connect(HidCtl, &THidDeviceController::OnDeviceChange, this,
          &MeterDeviceHandlers::HidCtlDeviceChange);
  HidCtl->DeviceChange();
}

void MeterDeviceHandlers::HidCtlDeviceChange() {
  if (MeterState.Device && !MeterState.Device->PluggedIn) {
    MeterState.Device->FlushInput();
    MeterState.Device.reset();
  }
  if (!MeterState.Device && HidCtl) {
    if (!HidCtl->ClaimById(MeterState.Device, kMeterVendorId, kMeterProductId))
      HidCtl->ClaimByFilter(MeterState.Device, IsMeterDevice);
  }
}

}  // namespace ruto
