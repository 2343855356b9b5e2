#include "device/HidDeviceController.h"

#include <QPointer>
#include <algorithm>

namespace ruto {

THidDeviceController::THidDeviceController(QObject* parent)
    : THidDeviceController(std::shared_ptr<HidBackend>(MakeHidrawBackend()), parent) {}

THidDeviceController::THidDeviceController(std::shared_ptr<HidBackend> Backend, QObject* parent)
    : QObject(parent), backend_(std::move(Backend)) {
  if (!Usable()) return;
  backend_->Watch(this, [this] { Notified(0); });
  // The first notification scans again and reports a change even when nothing changed.
  QMetaObject::invokeMethod(
      this, [this] { Notified(-1); }, Qt::QueuedConnection);
}

THidDeviceController::~THidDeviceController() {
  blockSignals(true);
  std::vector<THidDevice*> devices;
  devices.swap(devices_);
  for (THidDevice* dev : devices) {
    dev->OwnerController = nullptr;
    if (dev->CheckedOut) {
      dev->SetDataHandler({});
      dev->MarkUnplugged();  // its holder keeps and frees it
    } else {
      delete dev;
    }
  }
}

bool THidDeviceController::Usable() const { return backend_ && backend_->Bound(); }

void THidDeviceController::Notified(int Param) {
  if (InDeviceChange) return;  // a scan is running; it sees the new state anyway
  LastChangeParam = Param;
  InDeviceChange = true;
  DeviceChange();
  InDeviceChange = false;
}

THidDevice* THidDeviceController::CreateDevice(const HidDeviceInfo& Info) {
  try {
    auto* dev = new THidDevice(Info, backend_, this);
    dev->SetDataHandler([this](THidDevice* d, std::uint8_t id, const QByteArray& data) {
      Q_EMIT OnDeviceData(d, id, data);
    });
    return dev;
  } catch (...) {
    return nullptr;  // devices that cannot be opened or identified are left out
  }
}

void THidDeviceController::Discard(THidDevice* HidDev) {
  HidDev->OwnerController = nullptr;
  delete HidDev;
}

void THidDeviceController::DeviceChange() {
  bool Changed = LastChangeParam == -1;
  LastChangeParam = 0;
  const std::vector<HidDeviceInfo> present =
      Usable() ? backend_->Enumerate() : std::vector<HidDeviceInfo>{};
  auto isPresent = [&](const QString& identity) {
    return std::any_of(present.begin(), present.end(),
                       [&](const HidDeviceInfo& i) { return i.Identity == identity; });
  };

  for (int i = int(devices_.size()) - 1; i >= 0; --i) {
    if (i >= int(devices_.size())) continue;  // a handler shortened the list
    QPointer<THidDevice> dev = devices_[std::size_t(i)];
    if (dev->PluggedIn && isPresent(dev->PnPInfo.Identity)) continue;
    dev->MarkUnplugged();
    if (!dev) continue;
    dev->InEnumeration = true;
    Q_EMIT OnRemoval(dev);
    if (!dev) continue;
    dev->InEnumeration = false;
    Changed = true;
    if (!dev->CheckedOut) {
      devices_.erase(std::find(devices_.begin(), devices_.end(), dev.data()));
      Discard(dev);
    }
  }

  for (const HidDeviceInfo& info : present) {
    const bool known = std::any_of(devices_.begin(), devices_.end(), [&](THidDevice* d) {
      return d->PluggedIn && d->PnPInfo.Identity == info.Identity;
    });
    if (known) continue;
    THidDevice* created = CreateDevice(info);
    if (!created) continue;
    devices_.push_back(created);
    Changed = true;
    QPointer<THidDevice> dev = created;
    dev->InEnumeration = true;
    Q_EMIT OnArrival(dev);
    if (dev) dev->InEnumeration = false;
  }

  if (Changed) Q_EMIT OnDeviceChange();
}

bool THidDeviceController::ClaimAt(THidDevice*& HidDev, int Index, bool Check) {
  if (!Check || Index < 0 || Index >= Count()) return false;
  THidDevice* dev = devices_[std::size_t(Index)];
  if (dev->CheckedOut) return false;
  HidDev = dev;
  dev->CheckedOut = true;
  dev->StartReader();
  return true;
}

bool THidDeviceController::ClaimByFilter(THidDevice*& HidDev,
                                         const std::function<bool(THidDevice*)>& Filter) {
  HidDev = nullptr;
  for (int i = 0; i < Count(); ++i) {
    THidDevice* dev = devices_[std::size_t(i)];
    if (dev->CheckedOut) continue;
    dev->InEnumeration = true;
    const bool accepted = Filter && Filter(dev);
    const bool claimed = ClaimAt(HidDev, i, accepted);
    dev->InEnumeration = false;
    if (claimed) return true;
    dev->CloseHandles();  // the filter may have opened it
  }
  return false;
}

bool THidDeviceController::ClaimById(THidDevice*& HidDev, int VendorId, int ProductId) {
  HidDev = nullptr;
  for (int i = 0; i < Count(); ++i) {
    const THidAttributes& a = devices_[std::size_t(i)]->Attributes;
    const bool match = a.VendorID == VendorId && (ProductId == -1 || a.ProductID == ProductId);
    if (ClaimAt(HidDev, i, match)) return true;
  }
  return false;
}

void THidDeviceController::ReleaseDevice(THidDevice*& HidDev) {
  if (!HidDev) return;
  THidDevice* dev = HidDev;
  HidDev = nullptr;
  dev->CloseHandles();
  if (dev->PluggedIn)
    dev->CheckedOut = false;  // stays listed for later claims
  else
    delete dev;
}

void THidDeviceController::SetDevThreadSleepTime(int Value) {
  if (Value == devThreadSleepTime_) return;
  for (THidDevice* dev : devices_)
    if (dev->ReadWaitMs == devThreadSleepTime_) dev->SetReadWaitMs(Value);
  devThreadSleepTime_ = Value;
}

int THidDeviceController::UnclaimedCount() const {
  return int(std::count_if(devices_.begin(), devices_.end(),
                           [](THidDevice* d) { return !d->CheckedOut; }));
}

int THidDeviceController::UnpluggedCount() const {
  return int(
      std::count_if(devices_.begin(), devices_.end(), [](THidDevice* d) { return !d->PluggedIn; }));
}

int THidDeviceController::ClaimedCount() const {
  return int(std::count_if(devices_.begin(), devices_.end(),
                           [](THidDevice* d) { return d->CheckedOut; })) -
         UnpluggedCount();
}

void THidDeviceController::DeviceDestroyed(THidDevice* HidDev) {
  auto it = std::find(devices_.begin(), devices_.end(), HidDev);
  if (it == devices_.end()) return;
  if (HidDev->PluggedIn) {
    // A claimed device freed by its holder while still present: a fresh, unclaimed copy
    // takes its place.
    THidDevice* fresh = CreateDevice(HidDev->PnPInfo);
    if (fresh) {
      fresh->SetReadWaitMs(HidDev->ReadWaitMs);
      *it = fresh;
      return;
    }
  }
  devices_.erase(it);
}

}  // namespace ruto
