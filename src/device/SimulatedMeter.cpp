#include "device/SimulatedMeter.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "base/Clock.h"

namespace ruto {

namespace {

QByteArray hex(int value, int digits) {
  return QByteArray::number(value, 16).toUpper().rightJustified(digits, '0').right(digits);
}

}  // namespace

// One open handle on a simulated meter. A handle opened before an unplug stays dead after
// the meter comes back, as a device node's handle does.
class SimulatedPort final : public HidPort {
 public:
  SimulatedPort(std::shared_ptr<SimulatedMeter> meter, int generation)
      : meter_(std::move(meter)), generation_(generation) {}

  bool write(const std::uint8_t* Data, std::size_t Size) override {
    std::function<void()> unplugged;
    {
      std::lock_guard lock(meter_->mutex_);
      if (dead()) return false;
      if (meter_->failWrites_ > 0) {
        --meter_->failWrites_;
        return false;
      }
      if (int(Size) != meter_->config_.OutputReportLength || Size < 1 || Data[0] != 0) return false;
      meter_->reports_.emplace_back(Data, Data + Size);
      const QByteArray cmd(reinterpret_cast<const char*>(Data + 1),
                           int(std::min<std::size_t>(7, Size - 1)));
      meter_->commands_.push_back(cmd);
      if (!meter_->unplugOn_.isEmpty() && cmd == meter_->unplugOn_) {
        meter_->unplugOn_.clear();
        meter_->plugged_ = false;
        ++meter_->generation_;
        meter_->queue_.clear();
        unplugged = meter_->unplugged_;
      } else if (std::optional<QByteArray> reply = meter_->answer(cmd)) {
        meter_->queueReply(*reply, clock().nowMs() + meter_->delayMs_);
      }
    }
    meter_->wake();
    if (unplugged) unplugged();
    return true;
  }

  bool flush() override {
    std::lock_guard lock(meter_->mutex_);
    if (dead()) return false;
    // Only what has already reached the host's queue is dropped; a reply still on its way
    // comes afterwards.
    const std::int64_t now = clock().nowMs();
    std::erase_if(meter_->queue_, [now](const SimulatedMeter::Queued& q) { return q.due <= now; });
    return true;
  }

  HidReadResult read(std::uint8_t* Buffer, std::size_t Capacity, int WaitMs, int StopFd) override {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(WaitMs);
    {
      // The reader only reads again after handing the previous report over.
      std::lock_guard lock(meter_->mutex_);
      meter_->handing_ = false;
    }
    for (;;) {
      {
        std::lock_guard lock(meter_->mutex_);
        if (dead()) return {HidReadResult::Gone, 0, ENODEV};
        if (!meter_->queue_.empty() && meter_->queue_.front().due <= clock().nowMs()) {
          const QByteArray report = meter_->queue_.front().report;
          meter_->queue_.pop_front();
          meter_->handing_ = true;
          const std::size_t n = std::min<std::size_t>(Capacity, std::size_t(report.size()));
          std::memcpy(Buffer, report.constData(), n);
          return {HidReadResult::Report, int(n), 0};
        }
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                            deadline - std::chrono::steady_clock::now())
                            .count();
      if (left <= 0) return {HidReadResult::Timeout, 0, 0};
      pollfd fds[2] = {{meter_->readyFd_, POLLIN, 0}, {StopFd, POLLIN, 0}};
      if (::poll(fds, 2, int(left)) < 0 && errno != EINTR) return {HidReadResult::Failed, 0, errno};
      if (fds[1].revents & POLLIN) return {HidReadResult::Stopped, 0, 0};
      if (fds[0].revents & POLLIN) {
        std::uint64_t count = 0;
        ssize_t ignored = ::read(meter_->readyFd_, &count, sizeof count);
        (void)ignored;
      }
    }
  }

  void waitForInput(ReportInbox& Inbox, int Ms) override {
    std::optional<std::int64_t> due;
    bool handing = false;
    {
      std::lock_guard lock(meter_->mutex_);
      if (!dead() && !meter_->queue_.empty()) due = meter_->queue_.front().due;
      handing = meter_->handing_;
    }
    if (handing) {
      // A report is between the meter and the inbox: it is already here in device time.
      Inbox.waitFor(1000);
      return;
    }
    const std::int64_t now = clock().nowMs();
    if (!due || *due - now > Ms) {
      // Nothing will come within the wait: let the time pass on the process clock.
      if (Inbox.empty()) clock().sleepMs(Ms);
      return;
    }
    if (*due > now) clock().sleepMs(*due - now);
    meter_->wake();
    Inbox.waitFor(1000);  // the reader thread hands it over
  }

 private:
  bool dead() const { return !meter_->plugged_ || meter_->generation_ != generation_; }

  std::shared_ptr<SimulatedMeter> meter_;
  int generation_;
};

SimulatedMeter::SimulatedMeter(SimulatedMeterConfig Config) : config_(std::move(Config)) {
  readyFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  registers_[6] = registers_[7] = registers_[8] = 0;
}

SimulatedMeter::~SimulatedMeter() {
  if (readyFd_ >= 0) ::close(readyFd_);
}

void SimulatedMeter::wake() {
  const std::uint64_t one = 1;
  ssize_t ignored = ::write(readyFd_, &one, sizeof one);
  (void)ignored;
}

SimulatedMeterConfig SimulatedMeter::config() const {
  std::lock_guard lock(mutex_);
  return config_;
}

bool SimulatedMeter::plugged() const {
  std::lock_guard lock(mutex_);
  return plugged_;
}

void SimulatedMeter::setReplyDelayMs(int Ms) {
  std::lock_guard lock(mutex_);
  delayMs_ = Ms;
}

void SimulatedMeter::setReading(int Raw) {
  std::lock_guard lock(mutex_);
  reading_ = Raw;
}

void SimulatedMeter::setReadingSource(std::function<int()> Source) {
  std::lock_guard lock(mutex_);
  readingSource_ = std::move(Source);
}

void SimulatedMeter::scriptReply(const QByteArray& Payload) {
  std::lock_guard lock(mutex_);
  scripted_.push_back(Payload);
}

void SimulatedMeter::dropReplies(int Count) {
  std::lock_guard lock(mutex_);
  dropReplies_ = Count;
}

void SimulatedMeter::failWrites(int Count) {
  std::lock_guard lock(mutex_);
  failWrites_ = Count;
}

void SimulatedMeter::unplugOnCommand(const QByteArray& Cmd) {
  std::lock_guard lock(mutex_);
  unplugOn_ = Cmd;
}

void SimulatedMeter::setRegister(int Reg, int Value) {
  std::lock_guard lock(mutex_);
  registers_[Reg] = Value & 0xFF;
}

int SimulatedMeter::registerValue(int Reg) const {
  std::lock_guard lock(mutex_);
  auto it = registers_.find(Reg);
  return it == registers_.end() ? 0 : it->second;
}

void SimulatedMeter::sendReport(const QByteArray& Payload) {
  {
    std::lock_guard lock(mutex_);
    queueReply(Payload, clock().nowMs());
  }
  wake();
}

std::vector<QByteArray> SimulatedMeter::commands() const {
  std::lock_guard lock(mutex_);
  return commands_;
}

std::vector<std::vector<std::uint8_t>> SimulatedMeter::reports() const {
  std::lock_guard lock(mutex_);
  return reports_;
}

void SimulatedMeter::clearLog() {
  std::lock_guard lock(mutex_);
  commands_.clear();
  reports_.clear();
}

bool SimulatedMeter::on() const {
  std::lock_guard lock(mutex_);
  return on_;
}

bool SimulatedMeter::highRange() const {
  std::lock_guard lock(mutex_);
  return high_;
}

int SimulatedMeter::pendingReports() const {
  std::lock_guard lock(mutex_);
  // A report the reader has taken but not yet handed to its inbox is still on its way: a test
  // that waits for none pending may then count on the delivery being posted.
  return int(queue_.size()) + (handing_ ? 1 : 0);
}

std::optional<QByteArray> SimulatedMeter::answer(const QByteArray& cmd) {
  if (dropReplies_ > 0) {
    --dropReplies_;
    return std::nullopt;
  }
  const char letter = cmd.isEmpty() ? ' ' : cmd[0];
  QByteArray reply = cmd;  // most commands are acknowledged by their echo
  switch (letter) {
    case 'D':
      reply = "D0000" + hex(readingSource_ ? readingSource_() : reading_, 3);
      break;
    case 'R': {
      const int reg = cmd.mid(1, 2).toInt(nullptr, 16);
      reply = "R" + cmd.mid(1, 2) + "0" + hex(registers_[reg], 2) + "0";
      break;
    }
    case 'W': {
      bool okReg = false, okValue = false;
      const int reg = cmd.mid(1, 2).toInt(&okReg, 16);
      const int value = cmd.mid(3, 2).toInt(&okValue, 16);
      if (okReg && okValue) registers_[reg] = value;
      break;
    }
    case 'N':
      on_ = true;
      break;
    case 'F':
    case 'X':
      on_ = false;
      break;
    case 'H':
      high_ = true;
      break;
    case 'L':
      high_ = false;
      break;
    default:
      break;
  }
  if (!scripted_.empty()) {
    reply = scripted_.front();
    scripted_.pop_front();
  }
  return reply;
}

void SimulatedMeter::queueReply(const QByteArray& payload, std::int64_t due) {
  if (config_.InputReportLength <= 1) return;  // the meter has no input report to answer in
  QByteArray data = payload.left(config_.InputReportLength - 1);
  data.append(QByteArray(config_.InputReportLength - 1 - data.size(), '\0'));
  QByteArray report;
  report.append('\0');  // the id byte: as hidraw gives it for numbered reports, added for others
  report.append(data);
  queue_.push_back({due, report});
}

std::shared_ptr<SimulatedMeter> SimulatedMeterBackend::addMeter(SimulatedMeterConfig Config) {
  auto meter = std::make_shared<SimulatedMeter>(std::move(Config));
  meters_.push_back(meter);
  {
    std::lock_guard lock(meter->mutex_);
    // Writes reach the meter only through devices that keep this backend alive.
    meter->unplugged_ = [this] { notify(); };
  }
  notify();
  return meter;
}

void SimulatedMeterBackend::unplug(const std::shared_ptr<SimulatedMeter>& Meter) {
  {
    std::lock_guard lock(Meter->mutex_);
    Meter->plugged_ = false;
    ++Meter->generation_;
    Meter->queue_.clear();
  }
  Meter->wake();
  notify();
}

void SimulatedMeterBackend::replug(const std::shared_ptr<SimulatedMeter>& Meter,
                                   const QString& Identity) {
  {
    std::lock_guard lock(Meter->mutex_);
    Meter->plugged_ = true;
    if (!Identity.isEmpty()) Meter->config_.Identity = Identity;
  }
  notify();
}

std::vector<HidDeviceInfo> SimulatedMeterBackend::enumerate() {
  std::vector<HidDeviceInfo> list;
  for (const auto& meter : meters_) {
    std::lock_guard lock(meter->mutex_);
    if (!meter->plugged_) continue;
    const SimulatedMeterConfig& c = meter->config_;
    HidDeviceInfo info;
    info.Identity = c.Identity;
    info.Path = "sim:" + c.Identity;
    info.VendorID = c.VendorID;
    info.ProductID = c.ProductID;
    info.VersionNumber = c.VersionNumber;
    info.SerialNumber = c.SerialNumber;
    info.Lengths.InputReportByteLength = c.InputReportLength;
    info.Lengths.OutputReportByteLength = c.OutputReportLength;
    info.Lengths.Numbered = c.Numbered;
    list.push_back(info);
  }
  return list;
}

std::shared_ptr<SimulatedMeter> SimulatedMeterBackend::find(const QString& identity) const {
  for (const auto& meter : meters_) {
    std::lock_guard lock(meter->mutex_);
    if (meter->plugged_ && meter->config_.Identity == identity) return meter;
  }
  return nullptr;
}

std::unique_ptr<HidPort> SimulatedMeterBackend::open(const HidDeviceInfo& Info, int& Error) {
  std::shared_ptr<SimulatedMeter> meter = find(Info.Identity);
  if (!meter) {
    Error = ENOENT;
    return nullptr;
  }
  std::lock_guard lock(meter->mutex_);
  if (!meter->config_.ReadWrite) {
    Error = EACCES;
    return nullptr;
  }
  return std::make_unique<SimulatedPort>(meter, meter->generation_);
}

QString SimulatedMeterBackend::deviceString(const HidDeviceInfo& Info, int Index) {
  std::shared_ptr<SimulatedMeter> meter = find(Info.Identity);
  if (!meter) return {};
  const SimulatedMeterConfig c = meter->config();
  switch (Index) {
    case 1:
      return c.Manufacturer;
    case 2:
      return c.Product;
    case 3:
      return c.HardwareVersion;
    default:
      return {};
  }
}

void SimulatedMeterBackend::watch(QObject* Context, std::function<void()> Changed) {
  context_ = Context;
  changed_ = std::move(Changed);
}

void SimulatedMeterBackend::notify() {
  if (!context_ || !changed_) return;
  QPointer<QObject> context = context_;
  auto changed = changed_;
  QMetaObject::invokeMethod(
      context_.data(),
      [context, changed] {
        if (context) changed();
      },
      Qt::QueuedConnection);
}

}  // namespace ruto
