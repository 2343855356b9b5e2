#pragma once
// A meter in software: answers the command protocol like the real probe (readings, counter
// registers, signal and range commands) and can be told to answer late, not at all, refuse
// writes, or be unplugged and plugged in again. Tests and benchmarks drive the device link
// with it; the program itself never selects it.

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "device/HidBackend.h"

namespace ruto {

struct SimulatedMeterConfig {
  QString Identity = "0003:5A3C:7E21.0001";
  std::uint16_t VendorID = 0x5A3C;
  std::uint16_t ProductID = 0x7E21;
  std::uint16_t VersionNumber = 0x0100;
  int InputReportLength = 9;  // id byte included
  int OutputReportLength = 9;
  bool Numbered = false;
  bool ReadWrite = true;  // false: the node cannot be opened for reading and writing
  QString Manufacturer = "Zelvan";
  QString Product = "Vo-100";
  QString HardwareVersion = "VO100 HW 2.1";  // string index 3
  QString SerialNumber = "ZV10000001";       // the USB serial-number string
};

class SimulatedMeter {
 public:
  explicit SimulatedMeter(SimulatedMeterConfig Config);
  ~SimulatedMeter();

  SimulatedMeterConfig config() const;
  bool plugged() const;

  // Behaviour of the following exchanges.
  void setReplyDelayMs(int Ms);
  void setReading(int Raw);  // what "D000000" reports
  // Readings worked out when asked (from the process clock, a script); while set it replaces
  // SetReading. Runs under the meter's lock: it must not call the meter.
  void setReadingSource(std::function<int()> Source);
  void scriptReply(const QByteArray& Payload);  // the next reply, verbatim
  void dropReplies(int Count);                  // the next Count commands get no reply
  void failWrites(int Count);                   // the next Count writes fail
  void unplugOnCommand(const QByteArray& Cmd);  // vanish when this command arrives
  void setRegister(int Reg, int Value);
  int registerValue(int Reg) const;
  // A report the meter sends on its own, due now.
  void sendReport(const QByteArray& Payload);

  // What the meter received: the commands (seven characters) and the raw output reports.
  std::vector<QByteArray> commands() const;
  std::vector<std::vector<std::uint8_t>> reports() const;
  void clearLog();
  bool on() const;
  bool highRange() const;
  // Reports queued, or taken by the reader and not yet handed over.
  int pendingReports() const;

 private:
  friend class SimulatedMeterBackend;
  friend class SimulatedPort;
  struct Queued {
    std::int64_t due;
    QByteArray report;  // as the host reads it
  };

  std::optional<QByteArray> answer(const QByteArray& cmd);       // under lock
  void queueReply(const QByteArray& payload, std::int64_t due);  // under lock
  void wake();

  mutable std::mutex mutex_;
  SimulatedMeterConfig config_;
  bool plugged_ = true;
  int generation_ = 0;
  int readyFd_ = -1;
  int delayMs_ = 0;
  int reading_ = 0;
  std::function<int()> readingSource_;
  std::deque<QByteArray> scripted_;
  int dropReplies_ = 0;
  int failWrites_ = 0;
  QByteArray unplugOn_;
  std::map<int, int> registers_;
  std::deque<Queued> queue_;
  bool handing_ = false;  // the reader took a report and has not handed it over yet
  std::vector<QByteArray> commands_;
  std::vector<std::vector<std::uint8_t>> reports_;
  bool on_ = false;
  bool high_ = false;
  std::function<void()> unplugged_;  // set by the backend
};

class SimulatedMeterBackend : public HidBackend {
 public:
  SimulatedMeterBackend() = default;

  // Plugs a new meter in.
  std::shared_ptr<SimulatedMeter> addMeter(SimulatedMeterConfig Config = {});
  void unplug(const std::shared_ptr<SimulatedMeter>& Meter);
  // Plugs the meter in again; the system names it anew when Identity is given.
  void replug(const std::shared_ptr<SimulatedMeter>& Meter, const QString& Identity = {});

  bool bound() const override { return true; }
  std::vector<HidDeviceInfo> enumerate() override;
  std::unique_ptr<HidPort> open(const HidDeviceInfo& Info, int& Error) override;
  QString deviceString(const HidDeviceInfo& Info, int Index) override;
  void watch(QObject* Context, std::function<void()> Changed) override;

 private:
  void notify();
  std::shared_ptr<SimulatedMeter> find(const QString& identity) const;

  std::vector<std::shared_ptr<SimulatedMeter>> meters_;
  QPointer<QObject> context_;
  std::function<void()> changed_;
};

}  // namespace ruto
