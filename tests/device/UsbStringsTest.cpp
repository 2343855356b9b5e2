// The device strings of the hidraw backend, read from a fake sysfs folder of the USB device:
// the hardware version the program asks for is string index 3.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "device/HidrawBackend.h"
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
