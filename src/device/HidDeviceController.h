#pragma once
// The list of HID devices present on the system. It follows arrivals and removals, and lends
// single devices to the program: a claim takes a device and starts its reader, a release
// gives it back. Its signals are emitted on the thread that owns it (the main thread).

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

#include "device/HidBackend.h"
#include "device/HidDevice.h"

namespace ruto {

class THidDeviceController : public QObject {
  Q_OBJECT

 public:
  // Binds the system's device services (libudev and hidraw) and watches them.
  explicit THidDeviceController(QObject* parent = nullptr);
  explicit THidDeviceController(std::shared_ptr<HidBackend> Backend, QObject* parent = nullptr);
  ~THidDeviceController() override;

  // The backend's services are bound; otherwise no device is ever found.
  bool Usable() const;
  // Rescans and merges the present devices into the list.
  void DeviceChange();

  bool ClaimAt(THidDevice*& HidDev, int Index, bool Check);
  bool ClaimByFilter(THidDevice*& HidDev, const std::function<bool(THidDevice*)>& Filter);
  // ProductId -1 accepts any product of the vendor.
  bool ClaimById(THidDevice*& HidDev, int VendorId, int ProductId);
  // Gives the device back (or frees it when it has gone); HidDev becomes null.
  void ReleaseDevice(THidDevice*& HidDev);

  int DevThreadSleepTime() const { return devThreadSleepTime_; }
  void SetDevThreadSleepTime(int Value);

  int Count() const { return int(devices_.size()); }
  THidDevice* Device(int Index) const { return devices_.at(std::size_t(Index)); }
  int UnclaimedCount() const;
  int UnpluggedCount() const;
  int ClaimedCount() const;

 Q_SIGNALS:
  void OnArrival(ruto::THidDevice* HidDev);
  void OnRemoval(ruto::THidDevice* HidDev);
  void OnDeviceChange();
  void OnDeviceData(ruto::THidDevice* HidDev, quint8 ReportID, const QByteArray& Data);
  void OnDeviceDataError(ruto::THidDevice* HidDev, int Error);
  void OnDeviceUnplug(ruto::THidDevice* HidDev);

 private:
  friend class THidDevice;
  void Notified(int Param);
  THidDevice* CreateDevice(const HidDeviceInfo& Info);
  void DeviceDestroyed(THidDevice* HidDev);
  void Discard(THidDevice* HidDev);

  std::shared_ptr<HidBackend> backend_;
  std::vector<THidDevice*> devices_;
  int devThreadSleepTime_ = 100;
  bool InDeviceChange = false;
  int LastChangeParam = 0;
};

}  // namespace ruto
