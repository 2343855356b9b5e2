// The device strings of the hidraw backend: asked of the device through a fake control pipe,
// or read from a fake sysfs folder of the USB device when the device does not answer. The
// hardware version the program asks for is string index 3.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <map>
#include <optional>
#include <vector>

#include "device/HidrawBackend.h"
#include "device/UsbStrings.h"
#include "support/TestSupport.h"

using namespace ruto;

namespace {

// A USB device folder as the kernel shows it: the device descriptor (18 bytes, type 1) first in
// "descriptors", whose bytes 14, 15 and 16 give the indices of the manufacturer, product and
// serial strings.
QString fakeUsbDevice(const QTemporaryDir& root, const QString& name, int manufacturer, int product,
                      int serial, const QByteArray& serialText = "HW-2.1\n") {
  const QString dir = root.filePath(name);
  const QByteArray descriptor = QByteArray("\x12\x01", 2) + QByteArray(12, '\0') +
                                char(manufacturer) + char(product) + char(serial) + '\0';
  // A configuration descriptor follows in the real file.
  EXPECT_TRUE(ruto::test::writeFile(dir + "/descriptors", descriptor + QByteArray(9, '\x02')));
  EXPECT_TRUE(ruto::test::writeFile(dir + "/manufacturer", "Zelvan\n"));
  EXPECT_TRUE(ruto::test::writeFile(dir + "/product", "R.U.T.O. Vo-100\n"));
  if (serial) {
    EXPECT_TRUE(ruto::test::writeFile(dir + "/serial", serialText));
  }
  return dir;
}

}  // namespace

TEST(UsbStrings, IndexedStringsAndTheSerialNumberComeFromTheDeviceFolder) {
  QTemporaryDir root;
  const QString meter = fakeUsbDevice(root, "1-1", 1, 2, 3);
  // The serial-number string under another index, and a device without one.
  const QString other = fakeUsbDevice(root, "1-2", 1, 3, 5, " SN 0042 \r\n");
  const QString plain = fakeUsbDevice(root, "1-3", 1, 2, 0);
  QByteArray configuration = ruto::test::readFile(meter + "/descriptors");
  configuration[1] = 0x02;
  ASSERT_TRUE(ruto::test::writeFile(root.filePath("1-4/descriptors"), configuration));

  const QString notDevice = root.filePath("1-4"), missing = root.filePath("missing");
  const std::tuple<QString, int, const char*> cases[] = {
      {meter, 3, "HW-2.1"},    {meter, 1, "Zelvan"}, {meter, 2, "R.U.T.O. Vo-100"},
      {meter, 0, ""},          {meter, 4, ""},       {other, 3, "R.U.T.O. Vo-100"},
      {other, 5, " SN 0042 "}, {plain, 3, ""},       {notDevice, 3, ""},
      {missing, 3, ""},        {"", 3, ""}};
  for (const auto& [dir, index, expected] : cases)
    EXPECT_EQ(usbDeviceString(dir, index), expected) << dir.toStdString() << " #" << index;

  EXPECT_EQ(usbSerialNumber(meter), "HW-2.1");
  EXPECT_EQ(usbSerialNumber(other), "SN 0042");
  EXPECT_EQ(usbSerialNumber(plain), "");

  // The backend answers the device's string look-up from the folder it found the device in.
  HidrawBackend backend;
  for (const auto& [dir, expected] : {std::pair(meter, "HW-2.1"), {plain, ""}}) {
    HidDeviceInfo info;
    info.StringsDir = dir;
    EXPECT_EQ(backend.deviceString(info, 3), expected) << dir.toStdString();
  }
}

namespace {

using Bytes = std::vector<std::uint8_t>;

// A string descriptor: its length byte, type 3, then the text in UTF-16LE.
Bytes stringDescriptor(const std::u16string& text) {
  Bytes d = {std::uint8_t(2 + 2 * text.size()), 3};
  for (char16_t c : text) {
    d.push_back(std::uint8_t(c & 0xFF));
    d.push_back(std::uint8_t(c >> 8));
  }
  return d;
}

// A device's default pipe: answers string requests from a table (by descriptor index) as a
// device does, at most the bytes asked for; a missing index stalls.
class FakePipe final : public UsbControlPipe {
 public:
  int controlIn(const UsbControlSetup& Setup, std::uint8_t* Data) override {
    requests.push_back(Setup);
    const auto it = strings.find(Setup.Value & 0xFF);
    if (it == strings.end()) return -1;
    const std::size_t n = std::min<std::size_t>(it->second.size(), Setup.Length);
    std::copy_n(it->second.begin(), n, Data);
    return claimed ? *claimed : int(n);
  }
  std::map<int, Bytes> strings = {{0, {4, 3, 0x07, 0x04, 0x09, 0x04}}};  // German, English
  std::optional<int> claimed;  // a count to report instead of the bytes given
  std::vector<UsbControlSetup> requests;
};

}  // namespace

TEST(UsbStrings, TheDeviceIsAskedInItsFirstLanguage) {
  FakePipe pipe;
  pipe.strings[3] = stringDescriptor(u"HW-2.1");
  EXPECT_EQ(readUsbString(pipe, 3), QString("HW-2.1"));
  const std::vector<UsbControlSetup> expected = {{0x80, 6, 0x0300, 0x0000, 255},
                                                 {0x80, 6, 0x0303, 0x0407, 255}};
  EXPECT_EQ(pipe.requests, expected);

  // A language list too short to hold one: the strings are asked for in US English.
  pipe.strings[0] = {2, 3};
  pipe.requests.clear();
  EXPECT_EQ(readUsbString(pipe, 3), QString("HW-2.1"));
  ASSERT_EQ(pipe.requests.size(), 2u);
  EXPECT_EQ(pipe.requests[1].Index, 0x0409);
}

TEST(UsbStrings, DescriptorsAreReadWithinTheBytesThatCame) {
  Bytes longest = stringDescriptor(std::u16string(140, u'x'));  // more than one byte can say
  longest[0] = 0xFF;
  const QString longestText(126, 'x');  // 255 bytes: the header and 126 whole characters
  const std::tuple<const char*, Bytes, std::optional<int>, std::optional<QString>> cases[] = {
      {"plain", stringDescriptor(u"Vo-100"), {}, "Vo-100"},
      {"other scripts", stringDescriptor(u"\u00e9\u4e2d"), {}, QString::fromUtf16(u"\u00e9\u4e2d")},
      {"empty", {2, 3}, {}, ""},
      {"odd length", {7, 3, 'H', 0, 'W', 0, '1'}, {}, "HW"},
      {"text ends at a NUL", {8, 3, 'A', 0, 0, 0, 'B', 0}, {}, "A"},
      {"bytes past its length", {4, 3, 'A', 0, 'B', 0}, {}, "A"},
      {"longer than the buffer", longest, {}, longestText},
      {"more bytes claimed than asked", longest, 4000, longestText},
      {"length past what came", stringDescriptor(u"ABC"), 5, "A"},
      {"not a string descriptor", {4, 2, 'A', 0}, {}, std::nullopt},
      {"length below the header", {1, 3, 'A', 0}, {}, std::nullopt},
      {"nothing", {}, {}, std::nullopt},
  };
  for (const auto& [name, descriptor, claimed, expected] : cases) {
    FakePipe pipe;
    pipe.strings[3] = descriptor;
    pipe.claimed = claimed;
    EXPECT_EQ(readUsbString(pipe, 3), expected) << name;
  }
}

TEST(UsbStrings, TheDeviceFirstAndTheKernelsCopyWhenItGivesNothing) {
  QTemporaryDir root;
  const QString sysfs = fakeUsbDevice(root, "1-1", 1, 2, 3);
  FakePipe pipe;
  pipe.strings[3] = stringDescriptor(u"HW-3.0");
  pipe.strings[5] = {2, 3};
  FakePipe mute;  // lists no languages: it has no strings to give
  mute.strings.clear();
  const std::tuple<const char*, FakePipe*, int, const char*> cases[] = {
      {"device answers", &pipe, 3, "HW-3.0"},
      {"device answers an empty text", &pipe, 5, ""},
      {"device stalls", &pipe, 2, "R.U.T.O. Vo-100"},
      {"device lists no languages", &mute, 3, "HW-2.1"},
      {"no node", nullptr, 3, "HW-2.1"},
      {"no node, no copy", nullptr, 4, ""},
  };
  for (const auto& [name, node, index, expected] : cases)
    EXPECT_EQ(usbString(node, sysfs, index), expected) << name;

  pipe.requests.clear();
  EXPECT_EQ(usbString(&pipe, sysfs, 0), "");
  EXPECT_TRUE(pipe.requests.empty()) << "index 0 is no string: the device is not asked";

  // The backend falls back when the node is missing or is no usbfs node.
  ASSERT_TRUE(ruto::test::writeFile(root.filePath("not-usbfs"), "plain file"));
  HidrawBackend backend;
  for (const QString& node : {root.filePath("missing"), root.filePath("not-usbfs")}) {
    HidDeviceInfo info;
    info.StringsDir = sysfs;
    info.UsbNode = node;
    EXPECT_EQ(backend.deviceString(info, 3), "HW-2.1") << node.toStdString();
  }
}
