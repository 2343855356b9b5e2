#pragma once
// The program's device backend: the kernel's hidraw nodes, found and watched through
// libudev, with the strings of the USB device they belong to.

#include <QSocketNotifier>
#include <memory>
#include <vector>

#include "device/HidBackend.h"
#include "device/HidServices.h"
#include "device/UsbStrings.h"

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
