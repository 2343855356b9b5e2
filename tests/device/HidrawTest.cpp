// The hidraw side on byte fixtures: report lengths from descriptors, the id byte hidraw
// leaves out, a port over a packet socket standing in for a node, and the reader thread's behaviour
// when reads fail or the device goes.

#include <gtest/gtest.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <atomic>
#include <chrono>
#include <thread>

#include "device/HidDevice.h"
#include "device/HidDeviceController.h"
#include "device/HidrawBackend.h"
#include "device/SimulatedMeter.h"

using namespace ruto;
using Bytes = std::vector<std::uint8_t>;

TEST(ReportDescriptor, LengthsOfUnnumberedAndNumberedReports) {
  // Vendor page, 8-byte input and output reports without ids.
  const Bytes plain = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00,
                       0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x08, 0x09, 0x01,
                       0x81, 0x02, 0x95, 0x08, 0x09, 0x01, 0x91, 0x02, 0xC0};
  // Input, output and feature lengths, and whether reports are numbered.
  const auto lengths = [](const Bytes& descriptor) {
    const HidReportLengths l = ParseReportDescriptor(descriptor);
    return std::tuple(l.InputReportByteLength, l.OutputReportByteLength, l.FeatureReportByteLength,
                      l.Numbered);
  };
  EXPECT_EQ(lengths(plain), std::tuple(9, 9, 0, false));

  // 64-byte reports: the largest full-speed report plus the id byte.
  const Bytes full = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x08,
                      0x95, 0x40, 0x81, 0x02, 0x95, 0x40, 0x91, 0x02, 0xC0};
  EXPECT_EQ(lengths(full), std::tuple(65, 65, 0, false));

  // Report 1: 4-byte input, 7-byte output; report 2: 16 + 8 input bits; report 3: feature.
  const Bytes numbered = {0xA1, 0x01, 0x85, 0x01, 0x75, 0x08, 0x95, 0x04, 0x81, 0x02, 0x95,
                          0x07, 0x91, 0x02, 0x85, 0x02, 0x75, 0x10, 0x95, 0x01, 0x81, 0x02,
                          0x75, 0x08, 0x81, 0x02, 0x85, 0x03, 0x95, 0x02, 0xB1, 0x02, 0xC0};
  EXPECT_EQ(lengths(numbered), std::tuple(5, 8, 3, true));
}

TEST(ReportDescriptor, PushPopLongItemsOddBitsAndTruncation) {
  // 4 x 8 bits; pushed state changed to 3 x 1 bit; popped back: 35 bits -> 5 bytes + id.
  const Bytes pushPop = {0x75, 0x08, 0x95, 0x04, 0xA4, 0x75, 0x01,
                         0x95, 0x03, 0x81, 0x02, 0xB4, 0x81, 0x02};
  EXPECT_EQ(ParseReportDescriptor(pushPop).InputReportByteLength, 6);

  // A long item in front changes nothing; 12 bits round up to 2 bytes.
  const Bytes longItem = {0xFE, 0x02, 0x10, 0xAA, 0xBB, 0x75, 0x04, 0x95, 0x03, 0x91, 0x02};
  EXPECT_EQ(ParseReportDescriptor(longItem).OutputReportByteLength, 3);

  // Cut inside an item's data: what came before counts, the rest is ignored.
  const Bytes cut = {0x75, 0x08, 0x95, 0x02, 0x81, 0x02, 0x26, 0xFF};
  EXPECT_EQ(ParseReportDescriptor(cut).InputReportByteLength, 3);
  const Bytes cutLong = {0x75, 0x08, 0xFE, 0x40};
  EXPECT_EQ(ParseReportDescriptor(cutLong).InputReportByteLength, 0);
  EXPECT_EQ(ParseReportDescriptor(nullptr, 0).InputReportByteLength, 0);

  // Pop without push keeps the state.
  const Bytes pop = {0x75, 0x08, 0x95, 0x01, 0xB4, 0x81, 0x02};
  EXPECT_EQ(ParseReportDescriptor(pop).InputReportByteLength, 2);
}

TEST(HidrawFraming, IdByteAddedOnlyForUnnumberedReports) {
  const Bytes payload = {'D', '0', '1'};
  EXPECT_EQ(FrameInputReport(payload.data(), payload.size(), false), (Bytes{0, 'D', '0', '1'}));
  const Bytes numbered = {4, 'x'};
  EXPECT_EQ(FrameInputReport(numbered.data(), numbered.size(), true), numbered);
}

namespace {

// A packet socket pair: one end is the "node" a port reads and writes, the other the device.
struct NodePair {
  int host = -1, device = -1, stop = -1;
  NodePair() {
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK, 0, fds) == 0) {
      host = fds[0];
      device = fds[1];
    }
    stop = ::eventfd(0, EFD_NONBLOCK);
  }
  ~NodePair() {
    if (device >= 0) ::close(device);
    ::close(stop);
  }
  void send(const Bytes& b) { ASSERT_EQ(::write(device, b.data(), b.size()), ssize_t(b.size())); }
};

}  // namespace

TEST(HidrawPort, ReadsFramesWritesAndNoticesRemoval) {
  NodePair node, numbered;
  ASSERT_GE(node.host, 0);
  HidrawPort port(node.host, false);
  // A port over numbered reports keeps the id byte the device sent.
  HidrawPort idPort(numbered.host, true);
  std::uint8_t buf[9] = {};
  // What one read of at most `size` bytes brings: a report's bytes, or {0xEE, status}.
  const auto got = [&](HidrawPort& p, std::size_t size, int timeout, int stop) {
    const HidReadResult r = p.read(buf, size, timeout, stop);
    return r.status == HidReadResult::Report ? Bytes(buf, buf + r.bytes)
                                             : Bytes{0xEE, std::uint8_t(r.status)};
  };
  const Bytes timeout = {0xEE, HidReadResult::Timeout};
  EXPECT_EQ(got(port, sizeof buf, 10, node.stop), timeout);

  node.send({'D', '0', '0', '0', '0', '1', 'A', '3'});
  EXPECT_EQ(got(port, sizeof buf, 100, node.stop),
            (Bytes{0, 'D', '0', '0', '0', '0', '1', 'A', '3'}));
  node.send({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});  // longer than the buffer: cut to it
  EXPECT_EQ(got(port, 4, 100, node.stop), (Bytes{0, 1, 2, 3}));
  numbered.send({5, 'o', 'k'});
  EXPECT_EQ(got(idPort, sizeof buf, 100, numbered.stop), (Bytes{5, 'o', 'k'}));

  const Bytes command = {0, 'X', '0', '0', '0', '0', '0', '0', ' '};
  ASSERT_TRUE(port.write(command.data(), command.size()));
  Bytes sent(16);
  sent.resize(std::max<ssize_t>(::read(node.device, sent.data(), sent.size()), 0));
  EXPECT_EQ(sent, command);

  // Flush drops what is queued.
  node.send({1});
  node.send({2});
  EXPECT_TRUE(port.flush());
  EXPECT_EQ(got(port, sizeof buf, 10, node.stop), timeout);

  // A stop request wins over waiting data.
  node.send({3});
  const std::uint64_t one = 1;
  ASSERT_EQ(::write(node.stop, &one, sizeof one), 8);
  EXPECT_EQ(got(port, sizeof buf, 1000, node.stop), (Bytes{0xEE, HidReadResult::Stopped}));
  std::uint64_t drain;
  ASSERT_EQ(::read(node.stop, &drain, sizeof drain), 8);

  ::close(node.device);
  node.device = -1;
  EXPECT_EQ(got(port, 3, 10, node.stop), (Bytes{0, 3}));  // still queued
  EXPECT_EQ(got(port, sizeof buf, 1000, node.stop), (Bytes{0xEE, HidReadResult::Gone}));
  EXPECT_FALSE(port.write(command.data(), command.size()));
}

namespace {

// A port whose reads never start, or whose device has gone.
class BrokenPort final : public HidPort {
 public:
  explicit BrokenPort(HidReadResult::Status s) : status(s) {}
  bool write(const std::uint8_t*, std::size_t) override { return false; }
  bool flush() override { return false; }
  HidReadResult read(std::uint8_t*, std::size_t, int, int) override {
    ++reads;
    return {status, 0, EIO};
  }
  HidReadResult::Status status;
  std::atomic<int> reads{0};
};

std::unique_ptr<THidDevice> simulatedDevice(std::shared_ptr<SimulatedMeterBackend> backend) {
  backend->addMeter();
  return std::make_unique<THidDevice>(backend->enumerate().front(), backend, nullptr);
}

}  // namespace

TEST(ReadThread, FailingReadsAreRetriedOncePerSliceAndRemovalEndsTheLoop) {
  auto device = simulatedDevice(std::make_shared<SimulatedMeterBackend>());
  auto inbox = std::make_shared<ReportInbox>(nullptr);

  BrokenPort failing(HidReadResult::Failed);
  {
    THidDeviceReadThread reader(device.get(), &failing, inbox, 9, 20);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    reader.stop();
  }
  // About ten slices passed; a spinning loop would have made many thousands of attempts.
  EXPECT_GE(failing.reads.load(), 2);
  EXPECT_LE(failing.reads.load(), 40);

  BrokenPort gone(HidReadResult::Gone);
  THidDeviceReadThread reader(device.get(), &gone, inbox, 9, 20);
  for (int i = 0; i < 200 && !reader.ended(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_TRUE(reader.ended());
  EXPECT_EQ(gone.reads.load(), 1);
  QCoreApplication::processEvents();  // posted error reports find a live device
}

TEST(HidrawBackend, PresentNodesWhereTheMachineHasThem) {
  THidDeviceController controller;
  if (!controller.usable()) GTEST_SKIP() << "no libudev or no hidraw class on this machine";
  controller.DeviceChange();
  if (QDir("/dev").entryList({"hidraw*"}, QDir::System).isEmpty()) {
    EXPECT_EQ(controller.count(), 0);
    GTEST_SKIP() << "no hidraw node on this machine";
  }
  for (int i = 0; i < controller.count(); ++i) {
    THidDevice* dev = controller.device(i);
    EXPECT_TRUE(dev->PnPInfo.Path.startsWith("/dev/")) << dev->PnPInfo.Path.toStdString();
    EXPECT_FALSE(dev->PnPInfo.Identity.isEmpty());
    EXPECT_GE(dev->Capabilities().InputReportByteLength, 0);
  }
}
