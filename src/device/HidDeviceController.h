#pragma once
// The list of HID devices present on the system. It follows arrivals and removals, and lends
// single devices to the program: a claim takes a device and starts its reader, a release
// gives it back. Its signals are emitted on the thread that owns it (the main thread).

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "device/HidBackend.h"
#include "device/HidDevice.h"

namespace ruto {

// A handler that walks the list: one device and its place in it; true goes on.
using THidEnumerateEvent = std::function<bool(THidDevice* HidDev, int Index)>;

class THidDeviceController : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString Version READ Version WRITE SetVersion)

 public:
  // Binds the system's device services (libudev and hidraw) and watches them.
  explicit THidDeviceController(QObject* parent = nullptr);
  explicit THidDeviceController(std::shared_ptr<HidBackend> Backend, QObject* parent = nullptr);
  ~THidDeviceController() override;

  // The backend's services are bound; otherwise no device is ever found.
  bool usable() const;
  // Rescans and merges the present devices into the list.
  void DeviceChange();

  // A claim hands the device over: the holder owns it from then on, until it gives it back
  // with ReleaseDevice or frees it (freeing a device that is still present leaves a fresh,
  // unclaimed copy in the list). A device HidDev held before a claim that sets it is freed.
  bool ClaimAt(std::unique_ptr<THidDevice>& HidDev, int Index, bool Check);
  bool ClaimByFilter(std::unique_ptr<THidDevice>& HidDev,
                     const std::function<bool(THidDevice*)>& Filter);
  // ProductId -1 accepts any product of the vendor.
  bool ClaimById(std::unique_ptr<THidDevice>& HidDev, int VendorId, int ProductId);
  // Takes the device back (or frees it when it has gone); HidDev becomes empty.
  void ReleaseDevice(std::unique_ptr<THidDevice>& HidDev);

  int DevThreadSleepTime() const { return devThreadSleepTime_; }
  void SetDevThreadSleepTime(int Value);

  // The controller's own version; it is not the caller's to change, so assignments do nothing.
  QString Version() const { return QStringLiteral("1.0.0"); }
  void SetVersion(const QString&) {}

  // Kept for whoever set it; the controller never calls it.
  const THidEnumerateEvent& OnEnumerate() const { return onEnumerate_; }
  void SetOnEnumerate(THidEnumerateEvent Handler) { onEnumerate_ = std::move(Handler); }

  int count() const { return int(devices_.size()); }
  THidDevice* device(int index) const { return devices_.at(std::size_t(index)).device; }
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
  // One listed device. The controller owns it while it is unclaimed; while it is lent out,
  // `kept` is empty and the holder owns it.
  struct Slot {
    THidDevice* device = nullptr;
    std::unique_ptr<THidDevice> kept;
  };

  void notified(int param);
  std::unique_ptr<THidDevice> createDevice(const HidDeviceInfo& info);
  void deviceDestroyed(THidDevice* HidDev);
  std::vector<Slot>::iterator slotOf(THidDevice* HidDev);
  // Drops an unclaimed device from the list and frees it.
  void discard(THidDevice* HidDev);

  std::shared_ptr<HidBackend> backend_;
  std::vector<Slot> devices_;
  int devThreadSleepTime_ = 100;
  THidEnumerateEvent onEnumerate_;
  bool InDeviceChange = false;
  int LastChangeParam = 0;
};

}  // namespace ruto
