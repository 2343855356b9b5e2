#pragma once
// The program's device backend: the kernel's hidraw nodes, found and watched through
// libudev, with the strings the USB device exposes in sysfs.

#include <QSocketNotifier>
#include <memory>
#include <vector>

#include "device/HidBackend.h"
#include "device/HidServices.h"

namespace ruto {

// An open hidraw node (or anything that behaves like one, such as a packet socket).
class HidrawPort final : public HidPort {
 public:
  // Takes over Fd, which should be non-blocking.
  HidrawPort(int Fd, bool Numbered);
  ~HidrawPort() override;

  bool write(const std::uint8_t* Data, std::size_t Size) override;
  bool flush() override;
  HidReadResult read(std::uint8_t* Buffer, std::size_t Capacity, int WaitMs, int StopFd) override;

 private:
  int fd_;
  bool numbered_;
  std::vector<std::uint8_t> scratch_;
};

// The string of that index of the USB device whose sysfs folder is UsbDir; the kernel
// exposes the manufacturer, product and serial-number strings under the indices the device
// descriptor gives them. Empty for index 0 and indices the device has no string for.
QString usbDeviceString(const QString& UsbDir, int Index);

// The serial-number string of the USB device whose sysfs folder is UsbDir; empty when the
// device has none.
QString usbSerialNumber(const QString& UsbDir);

class HidrawBackend final : public HidBackend {
 public:
  HidrawBackend();
  ~HidrawBackend() override;

  bool bound() const override { return bound_; }
  std::vector<HidDeviceInfo> enumerate() override;
  std::unique_ptr<HidPort> open(const HidDeviceInfo& Info, int& Error) override;
  QString deviceString(const HidDeviceInfo& Info, int Index) override;
  void watch(QObject* Context, std::function<void()> Changed) override;

 private:
  bool bound_ = false;
  udev* udev_ = nullptr;
  udev_monitor* monitor_ = nullptr;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace ruto
