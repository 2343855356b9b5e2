#pragma once
// The seam under the device controller: a backend lists the HID devices present, opens one
// for reports and tells when devices may have come or gone. The hidraw backend serves the
// program; the simulated meter serves the tests.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "device/ReportDescriptor.h"

namespace ruto {

// One HID device as the backend found it.
struct HidDeviceInfo {
  QString Identity;  // stays the same for as long as the device is present; compared by scans
  QString Path;      // the node that is opened
  std::uint16_t VendorID = 0;
  std::uint16_t ProductID = 0;
  std::uint16_t VersionNumber = 0;
  HidReportLengths Lengths;
  QString StringsDir;    // where the backend finds the device's strings (backend's own use)
  QString UsbNode;       // the USB device's node for requests to it (backend's own use)
  QString SerialNumber;  // the USB serial-number string; empty when the device has none
};

// Reports handed from a reader thread to the main thread. The reader pushes copies; the main
// thread takes them when its posted delivery runs or while a command waits for its reply.
class ReportInbox {
 public:
  // Called by push (on the reader thread) when no delivery is already posted.
  explicit ReportInbox(std::function<void()> PostDelivery) : post_(std::move(PostDelivery)) {}

  void push(QByteArray Report);
  bool take(QByteArray& Report);
  // Marks the posted delivery as running, so the next push posts again.
  void deliveryStarted() { posted_.store(false); }
  bool empty();
  void clear();
  // How many reports have ever been pushed: a mark between what came before and after.
  std::uint64_t mark();
  // Drops the waiting reports that were pushed before `mark`; later ones stay.
  void clearBefore(std::uint64_t mark);
  // Blocks the calling thread until a report is waiting or `Ms` real milliseconds passed.
  bool waitFor(int Ms);

 private:
  std::function<void()> post_;
  std::atomic<bool> posted_{false};
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<QByteArray> reports_;
  std::uint64_t pushed_ = 0;  // reports_.front() is report number pushed_ - reports_.size()
};

struct HidReadResult {
  enum Status { Report, Timeout, Stopped, Gone, Failed };
  Status status = Timeout;
  int bytes = 0;  // for Report: bytes in the buffer, report id first
  int error = 0;  // for Failed: errno of the read that could not start
};

// The open device: one handle for writes, flushes and the reader's reads.
class HidPort {
 public:
  virtual ~HidPort() = default;
  // Writes one output report (id byte first) whole.
  virtual bool write(const std::uint8_t* Data, std::size_t Size) = 0;
  // Discards input the system has queued and not yet read.
  virtual bool flush() = 0;
  // Reader thread: waits up to WaitMs for one input report, or until StopFd becomes readable.
  virtual HidReadResult read(std::uint8_t* Buffer, std::size_t Capacity, int WaitMs,
                             int StopFd) = 0;
  // Main thread: waits up to Ms on the process clock for a report to reach the inbox.
  virtual void waitForInput(ReportInbox& Inbox, int Ms);
};

class HidBackend {
 public:
  virtual ~HidBackend() = default;
  // The system services the backend needs are bound; without them it finds no device.
  virtual bool bound() const = 0;
  virtual std::vector<HidDeviceInfo> enumerate() = 0;
  // Opens the device for reading and writing; null with Error set (an errno value) otherwise.
  virtual std::unique_ptr<HidPort> open(const HidDeviceInfo& Info, int& Error) = 0;
  // The device's string of that index; empty when it has none.
  virtual QString deviceString(const HidDeviceInfo& Info, int Index) = 0;
  // Calls Changed on Context's thread, from its event loop, when devices may have changed.
  virtual void watch(QObject* Context, std::function<void()> Changed) = 0;
};

// The program's backend: hidraw nodes found through libudev.
std::unique_ptr<HidBackend> makeHidrawBackend();

}  // namespace ruto
