#include "device/MeterCommands.h"

#include <QPointer>

#include "base/Clock.h"
#include "device/HidDevice.h"

namespace ruto {

// Out of line, where the device's type is complete.
TMeterState::TMeterState() = default;
TMeterState::~TMeterState() = default;
TMeterState::TMeterState(TMeterState&&) noexcept = default;
TMeterState& TMeterState::operator=(TMeterState&&) noexcept = default;

TMeterState MeterState;

namespace {

constexpr int kReplyBudgetMs = 350;
constexpr int kFailedWriteMs = 100;
constexpr int kWriteTries = 3;

bool isHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// A meter that can answer: claimed and still present.
bool meterPresent() { return MeterState.Device && MeterState.Device->PluggedIn; }

}  // namespace

std::vector<std::uint8_t> BuildCommandReport(const QByteArray& Cmd, int Length) {
  std::vector<std::uint8_t> report(std::size_t(Length > 0 ? Length : 0), 0x20);
  if (report.empty()) return report;
  report[0] = 0;
  for (std::size_t i = 1; i < report.size() && i <= std::size_t(Cmd.size()); ++i)
    report[i] = static_cast<std::uint8_t>(Cmd[qsizetype(i - 1)]);
  return report;
}

bool SendCommand(const QByteArray& Cmd) {
  if (!MeterState.Device) return MeterState.Replied;
  // Reports that came in before this command belong to the time before it.
  MeterState.Device->deliverPending();
  MeterState.Replied = false;
  MeterState.Reply.clear();
  if (!MeterState.Device) return MeterState.Replied;

  const std::vector<std::uint8_t> report =
      BuildCommandReport(Cmd, MeterState.Device->Capabilities().OutputReportByteLength);
  // From here on a report may answer this command: a flush after a failed write keeps it.
  // The device cannot go away inside the exchange: device changes come from the event loop.
  THidDevice* const commanded = MeterState.Device.get();
  commanded->beginCommand();
  int budget = kReplyBudgetMs;
  for (int tries = kWriteTries;;) {
    if (!MeterState.Device) break;
    std::size_t written = 0;
    // A device without room for a command character cannot carry the command.
    if (report.size() > 1 && MeterState.Device->WriteReport(report.data(), report.size(), written))
      break;
    MeterState.Device->FlushInput();
    budget -= kFailedWriteMs;
    clock().sleepMs(kFailedWriteMs);
    if (--tries == 0) break;
  }

  const std::int64_t start = TickCount();
  for (;;) {
    THidDevice* dev = MeterState.Device.get();
    if (dev) dev->deliverPending();
    if (MeterState.Replied) break;
    const std::int64_t remaining = budget - (TickCount() - start);
    if (remaining <= 0) break;
    if (dev)
      dev->waitForReport(int(remaining));
    else
      clock().sleepMs(remaining);
  }
  if (MeterState.Device.get() == commanded) commanded->endCommand();
  return MeterState.Replied;
}

void HidCtlDeviceData(THidDevice*, std::uint8_t, const QByteArray& Data) {
  MeterState.Reply = Data;
  MeterState.Replied = true;
}

bool SetMeterOn(bool On) {
  SendCommand(On ? "N000000" : "F000000");
  return false;
}

bool SelectRange(bool High) {
  SendCommand(High ? "H000000" : "L000000");
  return false;
}

void StopMeter() { SendCommand("X000000"); }

int ParseMeterReading(const QByteArray& Reply) {
  QByteArray field = Reply.mid(5, 3);
  qsizetype b = 0, e = field.size();
  while (b < e && std::uint8_t(field[b]) <= 0x20) ++b;
  while (e > b && std::uint8_t(field[e - 1]) <= 0x20) --e;
  field = field.mid(b, e - b);
  if (field.isEmpty()) return 0;
  int value = 0;
  for (char c : field) {
    if (!isHexDigit(c)) return 0;
    value = value * 16 + QByteArray(1, c).toInt(nullptr, 16);
  }
  return value;
}

int ReadMeterValue() {
  if (!meterPresent()) return 0;
  SendCommand("D000000");
  // A reply that did not come leaves an empty one, which reads as 0.
  return ParseMeterReading(MeterState.Reply);
}

std::vector<QByteArray> SignalPattern(SignalKind Kind) {
  switch (static_cast<int>(Kind)) {
    case 1:
      return {"S1E1A00"};
    case 2:
      return {"S1E0F00", "S1E1A00"};
    case 3:
      return {"S172C00", "S1F2000"};
    case 4:
      return {"S330D00"};
    case 5:
      return {"S192C00"};
    case 6:
      return {"S193400", "S162F00"};
    case 7:
      return {"S3E0700"};
    case 8:
      return {"S291A00"};
    case 9:
      return {"S3E0800"};
    case 10:
      return {"S2E0A00"};
    case 11:
      return {"S221100"};
    case 12:
      return {"S191100"};
    default:
      return {};
  }
}

bool SendSignal(SignalKind Kind) {
  for (const QByteArray& cmd : SignalPattern(Kind)) SendCommand(cmd);
  return true;
}

int ParseCounterRegister(const QByteArray& Reply) {
  if (Reply.size() < 6 || !isHexDigit(Reply[4]) || !isHexDigit(Reply[5])) return -1;
  return Reply.mid(4, 2).toInt(nullptr, 16);
}

std::int32_t AccessMeasureCounter(bool Increment) {
  MeterState.Counter = 0;
  if (!meterPresent()) return 0;
  std::int32_t counter = 0;
  bool usable = true;
  for (const char* cmd : {"R060000", "R070000", "R080000"}) {
    const bool replied = SendCommand(cmd);
    const int value = replied ? ParseCounterRegister(MeterState.Reply) : -1;
    if (value < 0) usable = false;
    counter = counter * 256 + (value < 0 ? 0 : value);
  }
  // A register that did not answer makes the counter unknown: it reads as 0 and is never
  // written back, since writing would overwrite the meter's lifetime count.
  if (!usable) return 0;
  MeterState.Counter = counter;
  if (Increment && counter < 0xFFFFFF) {
    const std::int32_t next = counter + 1;
    const QByteArray digits = QByteArray::number(next, 16).toUpper().rightJustified(6, '0');
    SendCommand("W06" + digits.mid(0, 2) + "00");
    SendCommand("W07" + digits.mid(2, 2) + "00");
    SendCommand("W08" + digits.mid(4, 2) + "00");
    MeterState.Counter = next;
  }
  return counter;
}

}  // namespace ruto
