#pragma once
// A USB device's strings: asked of the device itself over its default control pipe (the
// kernel's usbfs node), with the kernel's sysfs copies of the strings it knows as the fallback.

#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

namespace ruto {

// One request on a device's default control pipe.
struct UsbControlSetup {
  std::uint8_t RequestType = 0;
  std::uint8_t Request = 0;
  std::uint16_t Value = 0;
  std::uint16_t Index = 0;
  std::uint16_t Length = 0;
  bool operator==(const UsbControlSetup&) const = default;
};

class UsbControlPipe {
 public:
  virtual ~UsbControlPipe() = default;
  // Runs one device-to-host request into Data, which has room for Setup.Length bytes; the
  // number of bytes received, or -1 when the request failed.
  virtual int controlIn(const UsbControlSetup& Setup, std::uint8_t* Data) = 0;
};

// The usbfs node of a USB device (/dev/bus/usb/BBB/DDD).
class UsbfsPipe final : public UsbControlPipe {
 public:
  // Null when the node cannot be opened for reading and writing, which usbfs wants for
  // requests.
  static std::unique_ptr<UsbfsPipe> open(const QString& Node);
  ~UsbfsPipe() override;
  UsbfsPipe(const UsbfsPipe&) = delete;
  UsbfsPipe& operator=(const UsbfsPipe&) = delete;

  int controlIn(const UsbControlSetup& Setup, std::uint8_t* Data) override;

 private:
  explicit UsbfsPipe(int Fd) : fd_(Fd) {}
  int fd_;
};

// The text of the string descriptor in the Size bytes received at Data, up to its first NUL;
// nullopt when the bytes are not a string descriptor.
std::optional<QString> decodeUsbString(const std::uint8_t* Data, std::size_t Size);

// String Index (1..255) of the device behind Pipe, in the first language the device lists;
// nullopt when the device gives no string descriptor.
std::optional<QString> readUsbString(UsbControlPipe& Pipe, int Index);

// The string of that index of the USB device whose sysfs folder is UsbDir; the kernel
// exposes the manufacturer, product and serial-number strings under the indices the device
// descriptor gives them. Empty for index 0 and indices the device has no string for.
QString usbDeviceString(const QString& UsbDir, int Index);

// The serial-number string of the USB device whose sysfs folder is UsbDir; empty when the
// device has none.
QString usbSerialNumber(const QString& UsbDir);

// String Index as the device gives it through Pipe; when there is no pipe or the device gives
// none through it, the copy in the sysfs folder UsbDir. Empty for indices outside 1..255.
QString usbString(UsbControlPipe* Pipe, const QString& UsbDir, int Index);

}  // namespace ruto
