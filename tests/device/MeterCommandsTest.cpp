// The command protocol against the simulated meter: report framing, reply parsing, the
// counter registers, signal patterns, write retries and reply budgets on virtual time.

#include <gtest/gtest.h>

#include "MeterFixture.h"

using namespace ruto;
using ruto::test::MeterFixture;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes report(const char* text, std::size_t length) {
  Bytes b(length, 0x20);
  b[0] = 0;
  for (std::size_t i = 1; i < length && text[i - 1]; ++i) b[i] = std::uint8_t(text[i - 1]);
  return b;
}

}  // namespace

// The meter's commands since the log was cleared, blank-separated; and its counter registers,
// whose setting clears the log.
class MeterCommands : public MeterFixture {
 protected:
  QByteArray sent() const {
    const std::vector<QByteArray> all = meter->commands();
    return QByteArrayList(all.begin(), all.end()).join(' ');
  }
  void setCounter(int r6, int r7, int r8) {
    meter->setRegister(6, r6);
    meter->setRegister(7, r7);
    meter->setRegister(8, r8);
    meter->clearLog();
  }
};

class CommandFraming : public MeterFixture, public ::testing::WithParamInterface<int> {};

TEST_P(CommandFraming, CommandFillsTheOutputReport) {
  start({.OutputReportLength = GetParam()});
  ASSERT_NE(MeterState.Device, nullptr);
  const std::int64_t t0 = clockNow();
  if (GetParam() < 2) {  // no room for a command: three failed writes, then the 50 ms left
    EXPECT_FALSE(SendCommand("D000000"));
    EXPECT_TRUE(meter->reports().empty());
    EXPECT_EQ(elapsedSince(t0), 350);
    EXPECT_EQ(BuildCommandReport("D000000", GetParam()), Bytes(std::size_t(GetParam()), 0))
        << "the report id alone, or nothing";
    return;
  }
  EXPECT_TRUE(SendCommand("D000000"));
  EXPECT_EQ(meter->reports(), std::vector<Bytes>{report("D000000", std::size_t(GetParam()))});
}

// 9: the seven characters and one blank; 65: a full-speed report; 5: cut to four characters;
// 2: one character; 1 and 0: no room for any.
INSTANTIATE_TEST_SUITE_P(Lengths, CommandFraming, ::testing::Values(9, 65, 8, 5, 2, 1, 0));

TEST(MeterReading, ParsesCharactersSixToEight) {
  // Hex in either case; a short field is read as far as it goes; blanks around the number,
  // filler after it and control characters are trimmed; a blank inside is no number.
  const std::pair<const char*, int> cases[] = {
      {"123456789", 0x678}, {"D0000FFF", 4095}, {"D0000abc", 0xABC}, {"12345", 0},
      {"123456", 6},        {"D0000 1A", 0x1A}, {"D0000\r2\n", 2},   {"D0000XYZ", 0},
      {"D00001 2", 0},      {"D0000-12", 0},    {"D0000   ", 0},     {"", 0}};
  for (const auto& [reply, value] : cases) EXPECT_EQ(ParseMeterReading(reply), value) << reply;
  EXPECT_EQ(ParseMeterReading(QByteArray("D00007\0\0", 8)), 7);
}

TEST_F(MeterFixture, ReadMeterValueTakesTheMetersReply) {
  start({.InputReportLength = 65});
  meter->setReading(0x5A7);
  EXPECT_EQ(ReadMeterValue(), 0x5A7);
  EXPECT_EQ(meter->commands().back(), "D000000");
  EXPECT_EQ(MeterState.Reply.size(), 64) << "the whole payload is kept, filler included";

  meter->scriptReply("D0000G12");
  EXPECT_EQ(ReadMeterValue(), 0);
  meter->dropReplies(1);
  EXPECT_EQ(ReadMeterValue(), 0);
  EXPECT_TRUE(MeterState.Reply.isEmpty()) << "no reply leaves an empty one";
}

TEST_F(MeterCommands, CounterIsReadFromThreeRegistersAndAdvanced) {
  start();
  setCounter(0x00, 0x01, 0x2A);
  EXPECT_EQ(AccessMeasureCounter(false), 0x12A);
  EXPECT_EQ(MeterState.Counter, 0x12A);
  EXPECT_EQ(sent(), "R060000 R070000 R080000");
  meter->clearLog();
  EXPECT_EQ(AccessMeasureCounter(true), 0x12A);
  EXPECT_EQ(MeterState.Counter, 0x12B);
  EXPECT_EQ(sent(), "R060000 R070000 R080000 W060000 W070100 W082B00");
  EXPECT_EQ(meter->registerValue(8), 0x2B);

  // Carries run through all three registers.
  setCounter(0x0A, 0xFF, 0xFF);
  AccessMeasureCounter(true);
  EXPECT_EQ(MeterState.Counter, 0x0B0000);
  EXPECT_EQ(sent(), "R060000 R070000 R080000 W060B00 W070000 W080000");
  EXPECT_EQ(AccessMeasureCounter(false), 0x0B0000);
}

TEST_F(MeterCommands, CounterIsNeverWrittenFromAnIncompleteRead) {
  start();
  setCounter(0x12, 0x34, 0x56);

  meter->dropReplies(1);  // register 06 does not answer
  EXPECT_EQ(AccessMeasureCounter(true), 0);
  EXPECT_EQ(MeterState.Counter, 0);
  EXPECT_FALSE(sent().contains('W')) << sent().constData();

  meter->clearLog();
  meter->scriptReply("R060ZZ0");  // an answer that is not a number
  EXPECT_EQ(AccessMeasureCounter(true), 0);
  EXPECT_FALSE(sent().contains('W')) << sent().constData();
  EXPECT_EQ(meter->registerValue(8), 0x56);

  // Only characters 5-6 count; what stands around them is ignored.
  meter->clearLog();
  for (const char* reply : {"xxxx12yyyy", "????34", "R08056Q"}) meter->scriptReply(reply);
  EXPECT_EQ(AccessMeasureCounter(false), 0x123456);

  // At the top of its range the counter stays where it is.
  setCounter(0xFF, 0xFF, 0xFF);
  AccessMeasureCounter(true);
  EXPECT_EQ(MeterState.Counter, 0xFFFFFF);
  EXPECT_EQ(sent(), "R060000 R070000 R080000");
  EXPECT_EQ(meter->registerValue(8), 0xFF);
}

TEST_F(MeterCommands, SignalPatternsAndSimpleCommands) {
  start();
  // The commands of each signal kind from -1, in order; kinds -1, 0 and 13 send nothing.
  const char* patterns[] = {
      "",        "",        "S1E1A00",         "S1E0F00 S1E1A00", "S172C00 S1F2000",
      "S330D00", "S192C00", "S193400 S162F00", "S3E0700",         "S291A00",
      "S3E0800", "S2E0A00", "S221100",         "S191100",         ""};
  for (int kind = -1; kind < 14; ++kind) {
    meter->clearLog();
    EXPECT_TRUE(SendSignal(static_cast<SignalKind>(kind)));
    EXPECT_EQ(sent(), patterns[kind + 1]) << "kind " << kind;
  }

  EXPECT_FALSE(SetMeterOn(true));
  EXPECT_TRUE(meter->on());
  EXPECT_FALSE(SelectRange(true));
  EXPECT_TRUE(meter->highRange());
  EXPECT_FALSE(SelectRange(false));
  EXPECT_FALSE(meter->highRange());
  StopMeter();
  EXPECT_FALSE(meter->on());
  EXPECT_EQ(sent(), "N000000 H000000 L000000 X000000");
}

TEST_F(MeterFixture, WriteRetriesShortenTheReplyBudget) {
  start();
  // Writes that fail, the reply's delay, whether it came and the time spent.
  const std::tuple<int, int, bool, std::int64_t> cases[] = {
      {0, 0, true, 0},      {0, 349, true, 349}, {0, 351, false, 350}, {1, 200, true, 300},
      {1, 260, false, 350}, {2, 100, true, 300}, {2, 151, false, 350}, {3, 0, false, 350}};
  for (const auto& [failedWrites, delayMs, replied, elapsed] : cases) {
    SCOPED_TRACE(testing::Message() << failedWrites << " / " << delayMs);
    meter->clearLog();
    meter->failWrites(failedWrites);
    meter->setReplyDelayMs(delayMs);
    const std::int64_t t0 = clockNow();
    EXPECT_EQ(SendCommand("N000000"), replied);
    EXPECT_EQ(elapsedSince(t0), elapsed);
    EXPECT_EQ(meter->commands().size(), failedWrites < 3 ? 1u : 0u);
    // Let a late reply arrive and be delivered before the next case.
    virtualClock.advance(1000);
    settle();
    pump();
  }
}

TEST_F(MeterFixture, FlushDuringACommandKeepsWhatCameAfterItsWrite) {
  start();
  THidDevice* dev = MeterState.Device.get();
  ASSERT_NE(dev, nullptr);
  // Waits (real time) until the reader has handed the meter's report to the device.
  const auto collected = [&] {
    settle();
    dev->waitForReport(10);
  };
  // What a delivery after the flush finds, "" for nothing.
  for (const auto& [inCommand, kept] : {std::pair(true, "LATE"), {false, ""}}) {
    MeterState.Reply.clear();
    meter->sendReport("OLD");
    collected();
    if (inCommand) dev->beginCommand();
    meter->sendReport("LATE");
    collected();
    dev->FlushInput();
    dev->deliverPending();
    EXPECT_TRUE(MeterState.Reply.startsWith(kept)) << inCommand;
    EXPECT_EQ(MeterState.Reply.isEmpty(), !*kept) << inCommand;
    dev->endCommand();
  }
}

TEST_F(MeterFixture, NoDeviceSendsNothingAndReadsZero) {
  MeterState.Reply = "D0000FFF";  // left by a meter that has gone
  MeterState.Replied = true;
  const std::int64_t t0 = clockNow();
  EXPECT_TRUE(SendCommand("D000000"));
  EXPECT_EQ(MeterState.Reply, "D0000FFF") << "the last state is returned unchanged";
  EXPECT_EQ(ReadMeterValue(), 0);
  MeterState.Counter = 77;
  EXPECT_EQ(AccessMeasureCounter(true), 0);
  EXPECT_TRUE(SendSignal(SignalKind::Warning));
  EXPECT_EQ(MeterState.Counter, 0);
  EXPECT_EQ(elapsedSince(t0), 0);
}

TEST_F(MeterFixture, UnplugDuringAWaitEndsInNoDeviceAndComesBack) {
  start();
  meter->setReading(0x123);
  EXPECT_EQ(ReadMeterValue(), 0x123);

  meter->unplugOnCommand("D000000");
  const std::int64_t t0 = clockNow();
  EXPECT_EQ(ReadMeterValue(), 0);
  EXPECT_FALSE(MeterState.Replied);
  EXPECT_EQ(elapsedSince(t0), 350);
  pump();  // the removal reaches the window's change handler
  EXPECT_EQ(MeterState.Device, nullptr);
  EXPECT_EQ(ReadMeterValue(), 0);
  EXPECT_EQ(AccessMeasureCounter(false), 0);

  backend->replug(meter, "0003:5A3C:7E21.0002");
  pump();
  ASSERT_NE(MeterState.Device, nullptr);
  EXPECT_EQ(MeterState.Device->PnPInfo.Identity, "0003:5A3C:7E21.0002");
  EXPECT_EQ(ReadMeterValue(), 0x123);
}
