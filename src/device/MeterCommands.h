#pragma once
// The meter's command protocol: seven-character commands in one output report each, the
// reply taken from the last input report, and the commands the program gives the meter.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace ruto {

class THidDevice;

// The meter's signal patterns by what the program plays them for; the numbers are the
// meter's own pattern numbers (9-12 exist on the meter and are never played).
enum class SignalKind : int {
  Question = 1,     // before a question; calibration start and success
  Warning = 2,      // before the exit and high-range questions, a failed transfer
  Fault = 3,        // probe left on too long, calibration fault
  Stage = 4,        // contact and every sampling stage
  PointStored = 5,  // a point 1..23 stored
  TestDone = 6,     // point 24 stored
  CalibrationTick = 7,
  HighRangeStart = 8,
  Pattern9 = 9,
  Pattern10 = 10,
  Pattern11 = 11,
  Pattern12 = 12,
};

struct TMeterState {
  TMeterState();
  ~TMeterState();
  TMeterState(TMeterState&&) noexcept;
  TMeterState& operator=(TMeterState&&) noexcept;

  std::unique_ptr<THidDevice> Device;  // the claimed meter (owned), or none
  QByteArray Reply;                    // payload of the last input report, report id removed
  bool Replied = false;                // an input report arrived since the last command was sent
  QString SerialNo;
  std::int32_t Counter = 0;
};

extern TMeterState MeterState;

// The output report of one command for a device whose output reports are `Length` bytes
// long (id byte included): id 0, the command's characters, blanks up to the end.
std::vector<std::uint8_t> BuildCommandReport(const QByteArray& Cmd, int Length);

// One exchange with the claimed meter: write (three tries at most), then wait for a reply
// within 350 ms less 100 ms per failed write. The wait blocks; it does not run the event
// loop. With no meter nothing is sent and the last reply stays. Result: Replied.
bool SendCommand(const QByteArray& Cmd);

// Stores one input report as the reply (the main window's data handler).
void HidCtlDeviceData(THidDevice* HidDev, std::uint8_t ReportID, const QByteArray& Data);

bool SetMeterOn(bool On);
bool SelectRange(bool High);
void StopMeter();
// The meter's reading 0..4095; 0 without a meter or a usable reply.
int ReadMeterValue();
bool SendSignal(SignalKind Kind);
// Reads the measurement counter into MeterState.Counter and, when asked, advances it on the
// meter. Returns the counter as read (0 without a meter or a usable reply).
std::int32_t AccessMeasureCounter(bool Increment);

// The commands of one signal pattern; empty for kinds outside 1..12.
std::vector<QByteArray> SignalPattern(SignalKind Kind);
// The reading in a reply: characters 6-8, trimmed, as hexadecimal; 0 when not a number.
int ParseMeterReading(const QByteArray& Reply);
// Characters 5-6 of a counter register reply as a byte; -1 when they are not two hex digits.
int ParseCounterRegister(const QByteArray& Reply);

}  // namespace ruto
