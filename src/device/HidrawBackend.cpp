#include "device/HidrawBackend.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ruto {

std::unique_ptr<HidBackend> makeHidrawBackend() { return std::make_unique<HidrawBackend>(); }

HidrawPort::HidrawPort(int Fd, bool Numbered) : fd_(Fd), numbered_(Numbered) {}

HidrawPort::~HidrawPort() {
  if (fd_ >= 0) ::close(fd_);
}

bool HidrawPort::write(const std::uint8_t* Data, std::size_t Size) {
  // hidraw takes the report id first, 0 for a device without numbered reports: the layout
  // the command reports already have.
  for (;;) {
    const ssize_t n = ::write(fd_, Data, Size);
    if (n < 0 && errno == EINTR) continue;
    return n == ssize_t(Size);
  }
}

bool HidrawPort::flush() {
  std::uint8_t discard[256];
  for (int i = 0; i < 1024; ++i) {
    const ssize_t n = ::read(fd_, discard, sizeof discard);
    if (n > 0 || (n < 0 && errno == EINTR)) continue;
    return n == 0 || errno == EAGAIN || errno == EWOULDBLOCK;
  }
  return true;
}

HidReadResult HidrawPort::read(std::uint8_t* Buffer, std::size_t Capacity, int WaitMs, int StopFd) {
  pollfd fds[2] = {{fd_, POLLIN, 0}, {StopFd, POLLIN, 0}};
  const int ready = ::poll(fds, 2, WaitMs);
  if (ready < 0) {
    if (errno == EINTR) return {HidReadResult::Timeout, 0, 0};
    return {HidReadResult::Failed, 0, errno};
  }
  if (fds[1].revents & POLLIN) return {HidReadResult::Stopped, 0, 0};
  if (ready == 0) return {HidReadResult::Timeout, 0, 0};
  if (fds[0].revents & POLLIN) {
    scratch_.resize(Capacity);
    const std::size_t room = numbered_ ? Capacity : (Capacity > 0 ? Capacity - 1 : 0);
    const ssize_t n = ::read(fd_, scratch_.data(), room);
    if (n < 0) {
      if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
        return {HidReadResult::Timeout, 0, 0};
      if (errno == ENODEV) return {HidReadResult::Gone, 0, ENODEV};
      return {HidReadResult::Failed, 0, errno};
    }
    if (n == 0) {
      if (fds[0].revents & (POLLHUP | POLLERR)) return {HidReadResult::Gone, 0, ENODEV};
      return {HidReadResult::Report, 0, 0};
    }
    const std::vector<std::uint8_t> report =
        FrameInputReport(scratch_.data(), std::size_t(n), numbered_);
    const std::size_t size = std::min(report.size(), Capacity);
    std::memcpy(Buffer, report.data(), size);
    return {HidReadResult::Report, int(size), 0};
  }
  // Hang-up or error without data: the device has been removed.
  if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) return {HidReadResult::Gone, 0, ENODEV};
  return {HidReadResult::Timeout, 0, 0};
}

HidrawBackend::HidrawBackend() {
  bound_ = BindHidServices();
  if (bound_) {
    udev_ = Udev.udev_new();
    if (!udev_) {
      ReleaseHidServices();
      bound_ = false;
    }
  }
}

HidrawBackend::~HidrawBackend() {
  notifier_.reset();
  if (!bound_) return;
  if (monitor_) Udev.udev_monitor_unref(monitor_);
  Udev.udev_unref(udev_);
  ReleaseHidServices();
}

std::vector<HidDeviceInfo> HidrawBackend::enumerate() {
  std::vector<HidDeviceInfo> list;
  if (!bound_) return list;
  const UdevEntryPoints& u = Udev;
  udev_enumerate* en = u.udev_enumerate_new(udev_);
  if (!en) return list;
  u.udev_enumerate_add_match_subsystem(en, "hidraw");
  u.udev_enumerate_scan_devices(en);
  for (udev_list_entry* e = u.udev_enumerate_get_list_entry(en); e;
       e = u.udev_list_entry_get_next(e)) {
    udev_device* raw = u.udev_device_new_from_syspath(udev_, u.udev_list_entry_get_name(e));
    if (!raw) continue;
    const char* node = u.udev_device_get_devnode(raw);
    // Parents belong to the child; they are not released separately.
    udev_device* hid = u.udev_device_get_parent_with_subsystem_devtype(raw, "hid", nullptr);
    const char* hidId = hid ? u.udev_device_get_property_value(hid, "HID_ID") : nullptr;
    unsigned bus = 0, vendor = 0, product = 0;
    if (node && hid && hidId && std::sscanf(hidId, "%x:%x:%x", &bus, &vendor, &product) == 3) {
      HidDeviceInfo info;
      info.Path = QString::fromLocal8Bit(node);
      info.Identity = QString::fromLocal8Bit(u.udev_device_get_sysname(hid));
      info.VendorID = std::uint16_t(vendor);
      info.ProductID = std::uint16_t(product);
      if (udev_device* usb =
              u.udev_device_get_parent_with_subsystem_devtype(raw, "usb", "usb_device")) {
        if (const char* bcd = u.udev_device_get_sysattr_value(usb, "bcdDevice"))
          info.VersionNumber = std::uint16_t(std::strtoul(bcd, nullptr, 16));
        info.StringsDir = QString::fromLocal8Bit(u.udev_device_get_syspath(usb));
        if (const char* usbNode = u.udev_device_get_devnode(usb))
          info.UsbNode = QString::fromLocal8Bit(usbNode);
        info.SerialNumber = usbSerialNumber(info.StringsDir);
      }
      QFile descriptor(QString::fromLocal8Bit(u.udev_device_get_syspath(hid)) +
                       "/report_descriptor");
      if (descriptor.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = descriptor.readAll();
        info.Lengths = ParseReportDescriptor(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                             std::size_t(bytes.size()));
      }
      list.push_back(info);
    }
    u.udev_device_unref(raw);
  }
  u.udev_enumerate_unref(en);
  return list;
}

std::unique_ptr<HidPort> HidrawBackend::open(const HidDeviceInfo& Info, int& Error) {
  const int fd = ::open(Info.Path.toLocal8Bit().constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    Error = errno;
    return nullptr;
  }
  return std::make_unique<HidrawPort>(fd, Info.Lengths.Numbered);
}

QString HidrawBackend::deviceString(const HidDeviceInfo& Info, int Index) {
  if (Index < 1 || Index > 255) return {};
  const std::unique_ptr<UsbfsPipe> node = UsbfsPipe::open(Info.UsbNode);
  return usbString(node.get(), Info.StringsDir, Index);
}

void HidrawBackend::watch(QObject* Context, std::function<void()> Changed) {
  if (!bound_ || monitor_) return;
  const UdevEntryPoints& u = Udev;
  monitor_ = u.udev_monitor_new_from_netlink(udev_, "udev");
  if (!monitor_) return;
  u.udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr);
  if (u.udev_monitor_enable_receiving(monitor_) < 0) return;
  notifier_ =
      std::make_unique<QSocketNotifier>(u.udev_monitor_get_fd(monitor_), QSocketNotifier::Read);
  udev_monitor* monitor = monitor_;
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, Context,
                   [monitor, Changed = std::move(Changed)] {
                     // Take every queued event; one scan covers them all.
                     while (udev_device* d = Udev.udev_monitor_receive_device(monitor))
                       Udev.udev_device_unref(d);
                     Changed();
                   });
}

}  // namespace ruto
