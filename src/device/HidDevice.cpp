#include "device/HidDevice.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <QPointer>
#include <algorithm>
#include <cerrno>

#include "base/Clock.h"
#include "device/HidDeviceController.h"

namespace ruto {

namespace {
// Buffer for devices whose descriptor declares no input report: a full-speed report and its id.
constexpr std::size_t kFallbackReportLength = 65;
}  // namespace

THidDeviceReadThread::THidDeviceReadThread(THidDevice* device, HidPort* port,
                                           std::shared_ptr<ReportInbox> inbox,
                                           std::size_t reportLength, int readWaitMs)
    : Device(device),
      port_(port),
      inbox_(std::move(inbox)),
      Report(reportLength > 1 ? reportLength : kFallbackReportLength),
      waitMs_(readWaitMs) {
  stopFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  thread_ = std::thread([this] { Execute(); });
}

THidDeviceReadThread::~THidDeviceReadThread() { stop(); }

void THidDeviceReadThread::stop() {
  if (thread_.joinable()) {
    stopRequested_.store(true);
    const std::uint64_t one = 1;
    if (stopFd_ >= 0) {
      ssize_t ignored = ::write(stopFd_, &one, sizeof one);
      (void)ignored;
    }
    thread_.join();
  }
  if (stopFd_ >= 0) ::close(stopFd_);
  stopFd_ = -1;
}

void THidDeviceReadThread::Execute() {
  while (!stopRequested_.load()) {
    std::fill(Report.begin(), Report.end(), 0);
    const HidReadResult r = port_->read(Report.data(), Report.size(), waitMs_, stopFd_);
    if (r.status == HidReadResult::Stopped || r.status == HidReadResult::Gone) break;
    if (r.status == HidReadResult::Report) {
      BytesRead = static_cast<std::uint16_t>(std::clamp<int>(r.bytes, 0, int(Report.size())));
      if (BytesRead > 0)
        inbox_->push(QByteArray(reinterpret_cast<const char*>(Report.data()), BytesRead));
      continue;
    }
    if (r.status == HidReadResult::Failed) {
      lastError_ = r.error;
      Device->postError(lastError_);
      // Try again after one slice rather than at once, so a failing device cannot make the
      // thread spin; a stop request ends the pause.
      pollfd stop{stopFd_, POLLIN, 0};
      if (::poll(&stop, 1, waitMs_) > 0) break;
    }
  }
  ended_.store(true);
}

THidDevice::THidDevice(HidDeviceInfo Info, std::shared_ptr<HidBackend> Backend,
                       THidDeviceController* Controller)
    : OwnerController(Controller), PnPInfo(std::move(Info)), backend_(std::move(Backend)) {
  if (Controller) ReadWaitMs = Controller->DevThreadSleepTime();
  inbox_ = std::make_shared<ReportInbox>([this] {
    QMetaObject::invokeMethod(
        this,
        [this] {
          // Only the posted delivery re-arms posting: deliveries from a command's wait leave
          // the one posted event in place instead of piling up new ones.
          inbox_->deliveryStarted();
          deliverPending();
        },
        Qt::QueuedConnection);
  });
  if (!backend_) throw EControllerError("device cannot be opened");
  int error = 0;
  std::unique_ptr<HidPort> probe = backend_->open(PnPInfo, error);
  if (probe) {
    ReadWriteAccess = true;
  } else if (error == EACCES || error == EPERM) {
    ReadWriteAccess = false;  // listed, but it can be neither written nor read
  } else {
    throw EControllerError("device cannot be opened");
  }
  if (PnPInfo.Identity.isEmpty()) throw EControllerError("device cannot be identified");
  Attributes.VendorID = PnPInfo.VendorID;
  Attributes.ProductID = PnPInfo.ProductID;
  Attributes.VersionNumber = PnPInfo.VersionNumber;
}

THidDevice::~THidDevice() {
  closeHandles();
  if (OwnerController) OwnerController->deviceDestroyed(this);
}

THidCaps THidDevice::Capabilities() const {
  THidCaps caps;
  caps.InputReportByteLength = PnPInfo.Lengths.InputReportByteLength;
  caps.OutputReportByteLength = PnPInfo.Lengths.OutputReportByteLength;
  caps.FeatureReportByteLength = PnPInfo.Lengths.FeatureReportByteLength;
  return caps;
}

QString THidDevice::DeviceString(std::uint8_t Idx) {
  if (Idx == 0 || !Accessible() || !backend_) return {};
  return backend_->deviceString(PnPInfo, Idx);
}

QString THidDevice::DeviceStringAnsi(std::uint8_t Idx) { return DeviceString(Idx); }

bool THidDevice::openHandle() {
  if (!Accessible() || !backend_) return false;
  if (port_) return true;
  int error = 0;
  port_ = backend_->open(PnPInfo, error);
  ReadWriteAccess = port_ != nullptr;
  return ReadWriteAccess;
}

bool THidDevice::WriteReport(const void* Buffer, std::size_t Length, std::size_t& Written) {
  Written = 0;
  if (!openHandle()) return false;
  if (!port_->write(static_cast<const std::uint8_t*>(Buffer), Length)) return false;
  Written = Length;
  return true;
}

bool THidDevice::FlushInput() {
  if (inCommand_) {
    // The system's queue is drained by the reader as reports come, so whatever it holds now
    // came after the command was written: it stays, like the reports collected since then.
    inbox_->clearBefore(commandMark_);
    return openHandle();
  }
  inbox_->clear();
  if (!openHandle()) return false;
  return port_->flush();
}

void THidDevice::beginCommand() {
  inCommand_ = true;
  commandMark_ = inbox_->mark();
}

void THidDevice::endCommand() { inCommand_ = false; }

void THidDevice::SetReadWaitMs(int Value) {
  if (Value >= 10 && Value <= 10000) ReadWaitMs = Value;
}

void THidDevice::SetDataHandler(THidDataEvent Handler) {
  if (!Handler) StopReader();
  OnDeviceData = std::move(Handler);
  StartReader();
}

void THidDevice::StartReader() {
  if (!OnDeviceData || !PluggedIn || !CheckedOut || !ReadWriteAccess || ReaderThread) return;
  if (!openHandle()) {
    postError(ENODEV);
    return;
  }
  ReaderThread = std::make_unique<THidDeviceReadThread>(
      this, port_.get(), inbox_, std::size_t(std::max(0, Capabilities().InputReportByteLength)),
      ReadWaitMs);
}

void THidDevice::StopReader() {
  if (ReaderThread) {
    ReaderThread->stop();
    ReaderThread.reset();
  }
  inbox_->clear();
}

void THidDevice::closeHandles() {
  StopReader();
  port_.reset();
}

void THidDevice::MarkUnplugged() {
  closeHandles();
  PluggedIn = false;
  if (!unplugReported_) {
    unplugReported_ = true;
    if (OwnerController) Q_EMIT OwnerController->OnDeviceUnplug(this);
  }
}

void THidDevice::deliverPending() {
  QPointer<THidDevice> self(this);
  QByteArray report;
  while (self && inbox_->take(report)) {
    if (report.isEmpty() || !OnDeviceData) continue;
    OnDeviceData(this, static_cast<std::uint8_t>(report[0]), report.mid(1));
  }
}

void THidDevice::waitForReport(int ms) {
  if (ms <= 0) return;
  if (port_ && ReaderThread && !ReaderThread->ended())
    port_->waitForInput(*inbox_, ms);
  else
    clock().sleepMs(ms);  // nothing can arrive: let the time pass
}

void THidDevice::postError(int code) {
  QMetaObject::invokeMethod(
      this,
      [this, code] {
        if (OwnerController) Q_EMIT OwnerController->OnDeviceDataError(this, code);
      },
      Qt::QueuedConnection);
}

}  // namespace ruto
