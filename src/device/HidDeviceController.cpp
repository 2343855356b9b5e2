#include "device/HidDeviceController.h"

#include <QPointer>
#include <algorithm>

namespace ruto {

THidDeviceController::THidDeviceController(QObject* parent)
    : THidDeviceController(std::shared_ptr<HidBackend>(makeHidrawBackend()), parent) {}

THidDeviceController::THidDeviceController(std::shared_ptr<HidBackend> Backend, QObject* parent)
    : QObject(parent), backend_(std::move(Backend)) {
  if (!usable()) return;
  backend_->watch(this, [this] { notified(0); });
  // The first notification scans again and reports a change even when nothing changed.
  QMetaObject::invokeMethod(
      this, [this] { notified(-1); }, Qt::QueuedConnection);
}

THidDeviceController::~THidDeviceController() {
  blockSignals(true);
  std::vector<Slot> devices;
  devices.swap(devices_);
  for (Slot& slot : devices) {
    slot.device->OwnerController = nullptr;
    if (!slot.kept) {
      // Lent out: its holder keeps it and frees it.
      slot.device->SetDataHandler({});
      slot.device->MarkUnplugged();
    }
  }
  // The devices the controller still owns go with `devices`.
}

bool THidDeviceController::usable() const { return backend_ && backend_->bound(); }

void THidDeviceController::notified(int param) {
  if (InDeviceChange) return;  // a scan is running; it sees the new state anyway
  LastChangeParam = param;
  InDeviceChange = true;
  DeviceChange();
  InDeviceChange = false;
}

std::unique_ptr<THidDevice> THidDeviceController::createDevice(const HidDeviceInfo& info) {
  try {
    auto dev = std::make_unique<THidDevice>(info, backend_, this);
    dev->SetDataHandler([this](THidDevice* d, std::uint8_t id, const QByteArray& data) {
      Q_EMIT OnDeviceData(d, id, data);
    });
    return dev;
  } catch (...) {
    return nullptr;  // devices that cannot be opened or identified are left out
  }
}

std::vector<THidDeviceController::Slot>::iterator THidDeviceController::slotOf(THidDevice* HidDev) {
  return std::find_if(devices_.begin(), devices_.end(),
                      [HidDev](const Slot& s) { return s.device == HidDev; });
}

void THidDeviceController::discard(THidDevice* HidDev) {
  auto it = slotOf(HidDev);
  if (it == devices_.end()) return;
  std::unique_ptr<THidDevice> gone = std::move(it->kept);
  devices_.erase(it);
  if (gone) gone->OwnerController = nullptr;  // already off the list: no fresh copy
}

void THidDeviceController::DeviceChange() {
  bool Changed = LastChangeParam == -1;
  LastChangeParam = 0;
  const std::vector<HidDeviceInfo> present =
      usable() ? backend_->enumerate() : std::vector<HidDeviceInfo>{};
  auto isPresent = [&](const QString& identity) {
    return std::any_of(present.begin(), present.end(),
                       [&](const HidDeviceInfo& i) { return i.Identity == identity; });
  };

  for (int i = int(devices_.size()) - 1; i >= 0; --i) {
    if (i >= int(devices_.size())) continue;  // a handler shortened the list
    QPointer<THidDevice> dev = devices_[std::size_t(i)].device;
    if (dev->PluggedIn && isPresent(dev->PnPInfo.Identity)) continue;
    dev->MarkUnplugged();
    if (!dev) continue;
    dev->InEnumeration = true;
    Q_EMIT OnRemoval(dev);
    if (!dev) continue;
    dev->InEnumeration = false;
    Changed = true;
    if (!dev->CheckedOut) discard(dev);
  }

  for (const HidDeviceInfo& info : present) {
    const bool known = std::any_of(devices_.begin(), devices_.end(), [&](const Slot& s) {
      return s.device->PluggedIn && s.device->PnPInfo.Identity == info.Identity;
    });
    if (known) continue;
    std::unique_ptr<THidDevice> created = createDevice(info);
    if (!created) continue;
    QPointer<THidDevice> dev = created.get();
    devices_.push_back({created.get(), std::move(created)});
    Changed = true;
    dev->InEnumeration = true;
    Q_EMIT OnArrival(dev);
    if (dev) dev->InEnumeration = false;
  }

  if (Changed) Q_EMIT OnDeviceChange();
}

bool THidDeviceController::ClaimAt(std::unique_ptr<THidDevice>& HidDev, int Index, bool Check) {
  if (!Check || Index < 0 || Index >= count()) return false;
  Slot& slot = devices_[std::size_t(Index)];
  if (slot.device->CheckedOut || !slot.kept) return false;
  std::unique_ptr<THidDevice> taken = std::move(slot.kept);
  THidDevice* dev = taken.get();
  dev->CheckedOut = true;
  HidDev = std::move(taken);  // may free a device HidDev held, which may change the list
  dev->StartReader();
  return true;
}

bool THidDeviceController::ClaimByFilter(std::unique_ptr<THidDevice>& HidDev,
                                         const std::function<bool(THidDevice*)>& Filter) {
  HidDev.reset();
  for (int i = 0; i < count(); ++i) {
    THidDevice* dev = devices_[std::size_t(i)].device;
    if (dev->CheckedOut) continue;
    dev->InEnumeration = true;
    const bool accepted = Filter && Filter(dev);
    const bool claimed = ClaimAt(HidDev, i, accepted);
    dev->InEnumeration = false;
    if (claimed) return true;
    dev->closeHandles();  // the filter may have opened it
  }
  return false;
}

bool THidDeviceController::ClaimById(std::unique_ptr<THidDevice>& HidDev, int VendorId,
                                     int ProductId) {
  HidDev.reset();
  for (int i = 0; i < count(); ++i) {
    const THidAttributes& a = devices_[std::size_t(i)].device->Attributes;
    const bool match = a.VendorID == VendorId && (ProductId == -1 || a.ProductID == ProductId);
    if (ClaimAt(HidDev, i, match)) return true;
  }
  return false;
}

void THidDeviceController::ReleaseDevice(std::unique_ptr<THidDevice>& HidDev) {
  if (!HidDev) return;
  std::unique_ptr<THidDevice> dev = std::move(HidDev);
  dev->closeHandles();
  auto it = slotOf(dev.get());
  if (dev->PluggedIn && it != devices_.end() && !it->kept) {
    dev->CheckedOut = false;  // stays listed for later claims
    it->kept = std::move(dev);
  }
  // Otherwise it is freed here, and leaves the list as it goes.
}

void THidDeviceController::SetDevThreadSleepTime(int Value) {
  if (Value == devThreadSleepTime_) return;
  for (const Slot& s : devices_)
    if (s.device->ReadWaitMs == devThreadSleepTime_) s.device->SetReadWaitMs(Value);
  devThreadSleepTime_ = Value;
}

int THidDeviceController::UnclaimedCount() const {
  return int(std::count_if(devices_.begin(), devices_.end(),
                           [](const Slot& s) { return !s.device->CheckedOut; }));
}

int THidDeviceController::UnpluggedCount() const {
  return int(std::count_if(devices_.begin(), devices_.end(),
                           [](const Slot& s) { return !s.device->PluggedIn; }));
}

int THidDeviceController::ClaimedCount() const {
  return int(std::count_if(devices_.begin(), devices_.end(),
                           [](const Slot& s) { return s.device->CheckedOut; })) -
         UnpluggedCount();
}

void THidDeviceController::deviceDestroyed(THidDevice* HidDev) {
  auto it = slotOf(HidDev);
  if (it == devices_.end()) return;
  if (HidDev->PluggedIn) {
    // A claimed device freed by its holder while still present: a fresh, unclaimed copy
    // takes its place.
    std::unique_ptr<THidDevice> fresh = createDevice(HidDev->PnPInfo);
    if (fresh) {
      fresh->SetReadWaitMs(HidDev->ReadWaitMs);
      it->device = fresh.get();
      it->kept = std::move(fresh);
      return;
    }
  }
  devices_.erase(it);
}

}  // namespace ruto
