#include "device/UsbStrings.h"

#include <fcntl.h>
#include <linux/usbdevice_fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <array>
#include <cerrno>

namespace ruto {

namespace {

constexpr std::uint8_t kDeviceToHost = 0x80;  // standard request to the device, data in
constexpr std::uint8_t kGetDescriptor = 6;
constexpr std::uint8_t kStringDescriptor = 3;
constexpr std::uint16_t kEnglishUs = 0x0409;
// A descriptor's length is one byte: nothing longer can come.
constexpr std::uint16_t kMaxDescriptor = 255;
constexpr unsigned kRequestTimeoutMs = 1000;

// Asks for string descriptor Index into Buffer; the bytes received (never more than the
// buffer holds), or -1.
int requestString(UsbControlPipe& pipe, int index, std::uint16_t language,
                  std::array<std::uint8_t, kMaxDescriptor>& buffer) {
  buffer.fill(0);
  const UsbControlSetup setup{kDeviceToHost, kGetDescriptor,
                              std::uint16_t((kStringDescriptor << 8) | index), language,
                              kMaxDescriptor};
  const int received = pipe.controlIn(setup, buffer.data());
  if (received < 0) return -1;
  return std::min(received, int(buffer.size()));
}

}  // namespace

std::unique_ptr<UsbfsPipe> UsbfsPipe::open(const QString& Node) {
  if (Node.isEmpty()) return nullptr;
  const int fd = ::open(Node.toLocal8Bit().constData(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return nullptr;
  return std::unique_ptr<UsbfsPipe>(new UsbfsPipe(fd));
}

UsbfsPipe::~UsbfsPipe() { ::close(fd_); }

int UsbfsPipe::controlIn(const UsbControlSetup& Setup, std::uint8_t* Data) {
  usbdevfs_ctrltransfer transfer{};
  transfer.bRequestType = Setup.RequestType;
  transfer.bRequest = Setup.Request;
  transfer.wValue = Setup.Value;
  transfer.wIndex = Setup.Index;
  transfer.wLength = Setup.Length;
  transfer.timeout = kRequestTimeoutMs;
  transfer.data = Data;
  for (;;) {
    const int received = ::ioctl(fd_, USBDEVFS_CONTROL, &transfer);
    if (received < 0 && errno == EINTR) continue;
    return received < 0 ? -1 : received;
  }
}

std::optional<QString> decodeUsbString(const std::uint8_t* Data, std::size_t Size) {
  if (!Data || Size < 2 || Data[1] != kStringDescriptor) return std::nullopt;
  // The descriptor's own length counts only as far as bytes actually came.
  const std::size_t length = std::min<std::size_t>(Data[0], Size);
  if (length < 2) return std::nullopt;
  QString text;
  // UTF-16LE code units; a lone last byte of an odd length is no character.
  for (std::size_t i = 2; i + 1 < length; i += 2) {
    const char16_t unit = char16_t(Data[i] | (Data[i + 1] << 8));
    if (unit == 0) break;
    text.append(QChar(unit));
  }
  return text;
}

std::optional<QString> readUsbString(UsbControlPipe& Pipe, int Index) {
  if (Index < 1 || Index > 255) return std::nullopt;
  std::array<std::uint8_t, kMaxDescriptor> buffer{};
  // String 0 lists the languages the device has its strings in; ask in the first one.
  const int listed = requestString(Pipe, 0, 0, buffer);
  if (listed < 0) return std::nullopt;
  std::uint16_t language = kEnglishUs;  // a device with a broken list still has its strings
  if (listed >= 4 && buffer[0] >= 4 && buffer[1] == kStringDescriptor)
    language = std::uint16_t(buffer[2] | (buffer[3] << 8));
  const int received = requestString(Pipe, Index, language, buffer);
  if (received < 0) return std::nullopt;
  return decodeUsbString(buffer.data(), std::size_t(received));
}

QString usbDeviceString(const QString& UsbDir, int Index) {
  if (Index < 1 || Index > 255 || UsbDir.isEmpty()) return {};
  QFile descriptors(UsbDir + "/descriptors");
  if (!descriptors.open(QIODevice::ReadOnly)) return {};
  const QByteArray device = descriptors.read(18);
  if (device.size() < 18 || device[1] != 0x01) return {};  // not a device descriptor
  const char* file = nullptr;
  if (std::uint8_t(device[14]) == Index)
    file = "manufacturer";
  else if (std::uint8_t(device[15]) == Index)
    file = "product";
  else if (std::uint8_t(device[16]) == Index)
    file = "serial";
  if (!file) return {};
  QFile text(UsbDir + "/" + file);
  if (!text.open(QIODevice::ReadOnly)) return {};
  QString s = QString::fromUtf8(text.readAll());
  while (s.endsWith('\n') || s.endsWith('\r')) s.chop(1);
  return s;
}

QString usbSerialNumber(const QString& UsbDir) {
  if (UsbDir.isEmpty()) return {};
  QFile text(UsbDir + "/serial");
  if (!text.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(text.readAll()).trimmed();
}

QString usbString(UsbControlPipe* Pipe, const QString& UsbDir, int Index) {
  if (Pipe) {
    if (std::optional<QString> text = readUsbString(*Pipe, Index)) return *text;
  }
  return usbDeviceString(UsbDir, Index);
}

}  // namespace ruto
