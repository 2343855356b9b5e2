#pragma once
// One HID device present on the system, and the reader thread that collects its input
// reports while the device is claimed.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

#include "device/HidBackend.h"

namespace ruto {

class THidDevice;
class THidDeviceController;

class EControllerError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct THidAttributes {
  std::uint16_t VendorID = 0;
  std::uint16_t ProductID = 0;
  std::uint16_t VersionNumber = 0;
};

// Report byte lengths, report id byte included.
struct THidCaps {
  int InputReportByteLength = 0;
  int OutputReportByteLength = 0;
  int FeatureReportByteLength = 0;
};

// Called on the main thread with the payload of one input report (report id removed).
using THidDataEvent =
    std::function<void(THidDevice* HidDev, std::uint8_t ReportID, const QByteArray& Data)>;

class THidDeviceReadThread {
 public:
  THidDeviceReadThread(THidDevice* device, HidPort* port, std::shared_ptr<ReportInbox> inbox,
                       std::size_t reportLength, int readWaitMs);
  ~THidDeviceReadThread();
  THidDeviceReadThread(const THidDeviceReadThread&) = delete;
  THidDeviceReadThread& operator=(const THidDeviceReadThread&) = delete;

  // Asks the loop to end and waits for it; returns within one wait slice at most.
  void stop();
  // The loop has ended by itself (the device went away).
  bool ended() const { return ended_.load(); }

 private:
  void Execute();

  THidDevice* Device;
  HidPort* port_;
  std::shared_ptr<ReportInbox> inbox_;
  std::vector<std::uint8_t> Report;
  std::uint16_t BytesRead = 0;
  int lastError_ = 0;
  int waitMs_;
  int stopFd_ = -1;
  std::atomic<bool> stopRequested_{false};
  std::atomic<bool> ended_{false};
  std::thread thread_;
};

class THidDevice : public QObject {
  Q_OBJECT

 public:
  // Opens the device once to learn whether it can be read and written; throws
  // EControllerError("device cannot be opened") when it cannot be opened at all.
  THidDevice(HidDeviceInfo PnPInfo, std::shared_ptr<HidBackend> Backend,
             THidDeviceController* Controller);
  ~THidDevice() override;

  THidDeviceController* OwnerController = nullptr;
  HidDeviceInfo PnPInfo;
  bool PluggedIn = true;
  bool CheckedOut = false;
  bool InEnumeration = false;
  bool ReadWriteAccess = false;
  THidAttributes Attributes;
  int ReadWaitMs = 100;

  bool Accessible() const { return PluggedIn && (CheckedOut || InEnumeration); }
  THidCaps Capabilities() const;
  // Index 0 and devices that cannot be reached give an empty text.
  QString DeviceString(std::uint8_t Idx);
  // The same text for the program's own texts, which hold any character: a Chinese version
  // text shows as the device wrote it.
  QString DeviceStringAnsi(std::uint8_t Idx);

  bool WriteReport(const void* Buffer, std::size_t Length, std::size_t& Written);
  // Drops input that is stale: outside a command, what the system queued and the reports not
  // yet delivered; during a command, only the reports collected before it was written, so a
  // late reply to it survives a failed write and its flush.
  bool FlushInput();
  // The protocol's command exchange: reports from here on may answer it.
  void beginCommand();
  void endCommand();
  // Takes Value only when it lies in 10..10000.
  void SetReadWaitMs(int Value);
  // An empty handler stops the reader; otherwise the reader starts when it may.
  void SetDataHandler(THidDataEvent Handler);
  void StartReader();
  // Stops and joins the reader; reports it collected and not yet delivered are dropped.
  void StopReader();
  bool readerRunning() const { return ReaderThread != nullptr; }
  // The device has gone: reader stopped, handles closed, the unplug event once.
  void MarkUnplugged();
  // Stops the reader first, then closes the device's handle.
  void closeHandles();

  // Main thread: hands every waiting report to the data handler, oldest first.
  void deliverPending();
  // Main thread: waits up to ms (process clock) for a report from the reader.
  void waitForReport(int ms);

 private:
  friend class THidDeviceReadThread;
  bool openHandle();
  void postError(int code);  // any thread

  std::shared_ptr<HidBackend> backend_;
  std::unique_ptr<HidPort> port_;
  std::shared_ptr<ReportInbox> inbox_;
  std::unique_ptr<THidDeviceReadThread> ReaderThread;
  THidDataEvent OnDeviceData;
  bool unplugReported_ = false;
  bool inCommand_ = false;
  std::uint64_t commandMark_ = 0;
};

}  // namespace ruto
