// The measurement run on the simulated meter and virtual time: values, signals, contact
// and lift edges, stops, re-aiming, the two questions and a meter lost mid-point.

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QStringList>
#include <functional>
#include <map>
#include <optional>

#include "app/AskUser.h"
#include "app/Settings.h"
#include "app/SharedRecords.h"
#include "base/Numbers.h"
#include "measure/MeasureRun.h"
#include "measure/MeterRunFixture.h"
#include "measure/PointTables.h"

using namespace ruto;

namespace {

const QString kContactStatus = QStringLiteral("經絡能量測定中,請保持測棒穩定不動..");
const QString kTooLong = QStringLiteral("測量時間過長！！是否繼續檢測？");

// Keeps what the run shows; the trace goes onto a recording canvas.
class RecordingView final : public MeasureView {
 public:
  void runStarted() override { events << "started"; }
  void storedTestCleared() override { events << "cleared"; }
  QSize traceSize() override { return {500, 300}; }
  void showPoint(int point) override { shownPoints << point; }
  void setStatus(const QString& text) override {
    if (text == kContactStatus) contactAt = TickCount();
    status = text;
  }
  void setValueFigure(const QString& text) override { valueFigure = text; }
  void setCompFigure(const QString& text) override { compFigure = text; }
  void setReadingFigure(const QString& text) override { readingFigure = text; }
  void setCompletion(int position) override { completion = position; }
  void setReadingBar(int position) override { readingBar = position; }
  void setLamp(MeasureLamp lamp, const LampChange& change) override {
    LampChange& l = lamps[lamp];
    if (change.lit) l.lit = change.lit;
    if (change.color) l.color = change.color;
    if (change.interval) l.interval = change.interval;
  }
  void clearTrace() override { trace.Entries.clear(); }
  void traceLine(QPoint from, QPoint to, const TPen& pen) override {
    trace.Pen = pen;
    trace.MoveTo(from.x(), from.y());
    trace.LineTo(to.x(), to.y());
  }
  void pointStored(int point) override { storedPoints << point, storedAt = TickCount(); }
  void setGridEnabled(bool on) override { gridEnabled = on; }
  void runEnded() override { events << "ended"; }

  QStringList events;
  QList<int> shownPoints, storedPoints;
  std::optional<std::int64_t> contactAt;
  std::int64_t storedAt = 0;
  QString status, valueFigure, compFigure, readingFigure;
  int completion = 0, readingBar = 0;
  bool gridEnabled = true;
  std::map<MeasureLamp, LampChange> lamps;
  RecordingCanvas trace;
};

class MeasureRunTest : public test::MeterRunFixture {
 protected:
  void SetUp() override {
    MeterRunFixture::SetUp();
    Settings = TAppSettings{};
    Settings.CalStandard = 4000;
    Settings.CalHigh = 4000;
    Settings.MinResponse = 1.0;
    CurrentTest = TCurrentTest{};
    ViewState = TViewState{};
    InitCompFactors();
    SetAskUserResponder([this](MsgKind kind, const QString& text) {
      questions << text;
      kinds.push_back(kind);
      return answers.empty() ? true : answers.takeFirst();
    });
    startReading([this] { return probe ? probe(TickCount()) : 0; });
    meter->clearLog();
  }

  bool step() { return passOnce(run); }
  void drive(int ms, const std::function<bool()>& until = {}) { passFor(run, ms, until); }
  std::int64_t sinceContact() const { return view.contactAt ? TickCount() - *view.contactAt : -1; }
  // The meter's commands, and only the signal ones.
  QStringList commands() const {
    QStringList all;
    for (const QByteArray& c : meter->commands()) all << QString::fromLatin1(c);
    return all;
  }
  QStringList signalCommands() const { return commands().filter(QRegularExpression("^S")); }
  // Starts the run on `p`, then drives it `ms` or until `until` holds.
  bool startWith(std::function<int(std::int64_t)> p, int ms,
                 const std::function<bool()>& until = {}) {
    probe = std::move(p);
    if (!run.start()) return false;
    drive(ms, until);
    return true;
  }
  // Asks the run to stop with the probe lifted, and lets it end.
  void stopLifted(int ms = 200) {
    run.requestStop();
    probe = [](std::int64_t) { return 0; };
    drive(ms);
  }

  // A probe put down on every point at once and lifted `holdMs` after the point was stored.
  std::function<int(std::int64_t)> tapping(int raw, int holdMs = 500) {
    return [this, raw, holdMs](std::int64_t now) {
      const bool lifted =
          run.phase() == MeasureRun::Phase::AwaitLift && now - view.storedAt >= holdMs;
      return lifted ? 0 : raw;
    };
  }

  RecordingView view;
  MeasureRun run{view};
  std::function<int(std::int64_t)> probe;
  QStringList questions;
  std::vector<MsgKind> kinds;
  QList<bool> answers;
};

TEST_F(MeasureRunTest, FullRunAtOneThousandGivesFiftyEverywhere) {
  ASSERT_TRUE(startWith(tapping(1000), 24 * 4000));
  ASSERT_FALSE(run.running());
  for (int p = 1; p <= 24; ++p) EXPECT_NEAR(CurrentTest.Values[p], 50.0, 1e-9) << p;
  const QStringList log = commands(), s = signalCommands();
  EXPECT_EQ(log.mid(0, 3), (QStringList{"X000000", "N000000", "L000000"}));
  EXPECT_EQ(log.value(log.size() - 1), "X000000");
  // Per point: contact and four stage changes, then the stored signal (kind 6 after 24).
  EXPECT_EQ(s.count("S330D00"), 24 * 5);
  EXPECT_EQ(s.count("S192C00"), 23);
  EXPECT_EQ(s.count("S193400"), 1);
  EXPECT_EQ(CurrentTest.LivePointCount, 24);
  EXPECT_TRUE(run.HasValues);
  EXPECT_TRUE(questions.isEmpty());
  EXPECT_EQ(view.storedPoints.size(), 24);
  EXPECT_EQ(view.events.value(view.events.size() - 1), "ended");
  EXPECT_EQ(ViewState.ChartKind, ChartType::Bar);
  EXPECT_EQ(Format("%5.2f", {CurrentTest.CompValues[24]}), "56.94");
}

TEST_F(MeasureRunTest, OnlyTheFourthStageCounts) {
  // changeAt: ms after contact where the reading goes from 1000 to 1200
  const std::tuple<int, const char*> cases[] = {{1750, "60.00"}, {2600, "50.00"}, {1200, "60.00"}};
  for (const auto& [changeAt, value] : cases) {
    CurrentTest = TCurrentTest{};
    view.contactAt.reset();
    ASSERT_TRUE(
        startWith([&, at = changeAt](std::int64_t) { return sinceContact() >= at ? 1200 : 1000; },
                  3000, [] { return CurrentTest.Values[1] != 0; }));
    EXPECT_EQ(Format("%5.2f", {CurrentTest.Values[1]}), value) << changeAt;
    EXPECT_EQ(view.valueFigure, value) << changeAt;
    stopLifted();
    EXPECT_FALSE(run.running());
  }
}

TEST_F(MeasureRunTest, ContactNeedsBothReadingsAboveTheThresholdAndTheLiftOneBelow) {
  // Threshold 20 (4000 x 1.0 / 200). Readings in pairs per pass.
  const std::tuple<int, int, bool> cases[] = {
      {21, 19, false}, {21, 20, true}, {20, 100, false}, {40, 21, true}};
  for (const auto& [r1, r2, contact] : cases) {
    QList<int> script{r1, r2};
    probe = [&](std::int64_t) { return script.isEmpty() ? 0 : script.takeFirst(); };
    ASSERT_TRUE(run.start());
    step();
    EXPECT_EQ(run.phase() == MeasureRun::Phase::Sampling, contact) << r1 << "/" << r2;
    EXPECT_EQ(run.AwaitingContact, !contact) << r1 << "/" << r2;
    run.requestStop();
    drive(3000);
    ASSERT_FALSE(run.running());
  }
  // A reading equal to the threshold in the lift wait still counts as down.
  ASSERT_TRUE(startWith(
      [this](std::int64_t) { return run.phase() == MeasureRun::Phase::AwaitLift ? 20 : 40; }, 3000,
      [this] { return run.phase() == MeasureRun::Phase::AwaitLift; }));
  drive(500);
  EXPECT_EQ(run.phase(), MeasureRun::Phase::AwaitLift);
  EXPECT_EQ(run.CurrentPoint, 1);
  probe = [](std::int64_t) { return 19; };
  step();
  EXPECT_EQ(run.phase(), MeasureRun::Phase::AwaitContact);
  EXPECT_EQ(run.CurrentPoint, 2);
}

TEST_F(MeasureRunTest, ContactLostRestartsThePointWithoutStoringOrSignalling) {
  ASSERT_TRUE(startWith([this](std::int64_t) { return sinceContact() >= 1000 ? 0 : 1000; }, 1200,
                        [this] { return sinceContact() > 1000; }));
  EXPECT_EQ(run.phase(), MeasureRun::Phase::AwaitContact);
  EXPECT_TRUE(run.AwaitingContact);
  EXPECT_EQ(run.CurrentPoint, 1);
  drive(500);
  EXPECT_EQ(CurrentTest.Values[1], 0.0);
  EXPECT_EQ(CurrentTest.LivePointCount, 0);
  EXPECT_EQ(signalCommands().join(' '), "S330D00 S330D00") << "the contact signal only";
  EXPECT_TRUE(view.trace.Entries.isEmpty()) << "the trace is cleared";
  EXPECT_EQ(view.completion, 0);
  EXPECT_TRUE(view.storedPoints.isEmpty());
}

TEST_F(MeasureRunTest, LiftTimeout) {
  const std::tuple<int, QList<bool>, int, int> cases[] = {
      {5, {false}, 5, 1},        // "否" at point 5 ends the run after it
      {5, {true, false}, 6, 2},  // "是" goes on at once to point 6, which is still held
      {24, {}, 24, 0},           // point 24 held down ends the run without a question
  };
  for (const auto& [stuckFrom, replies, lastStored, questionsAsked] : cases) {
    CurrentTest = TCurrentTest{};
    view.storedPoints.clear();
    questions.clear();
    answers = replies;
    const auto tap = tapping(1000);
    ASSERT_TRUE(startWith(
        [&, from = stuckFrom](std::int64_t now) {
          return run.CurrentPoint >= from ? 1000 : tap(now);
        },
        24 * 4000));
    EXPECT_FALSE(run.running()) << stuckFrom;
    EXPECT_EQ(view.storedPoints.value(view.storedPoints.size() - 1), lastStored) << stuckFrom;
    EXPECT_EQ(questions.size(), questionsAsked) << stuckFrom;
    EXPECT_EQ(questions.filter(kTooLong).size(), questionsAsked) << stuckFrom;
    if (lastStored < 24) {
      EXPECT_EQ(CurrentTest.Values[lastStored + 1], 0) << stuckFrom;
      EXPECT_FALSE(view.gridEnabled) << "a 否 disables the grid";
    }
    view.gridEnabled = true;
  }
  EXPECT_TRUE(signalCommands().contains("S172C00"));
}

TEST_F(MeasureRunTest, StopWhileWaitingEndsAtOnceWhileSamplingAfterTheLift) {
  ASSERT_TRUE(startWith([](std::int64_t) { return 0; }, 100));
  run.requestStop();
  step();
  EXPECT_FALSE(run.running());
  EXPECT_FALSE(run.HasValues);
  EXPECT_EQ(commands().value(commands().size() - 1), "X000000");

  ASSERT_TRUE(startWith(tapping(1000), 3200, [this] { return sinceContact() >= 1000; }));
  ASSERT_EQ(run.phase(), MeasureRun::Phase::Sampling);
  run.requestStop();
  drive(6000);
  EXPECT_FALSE(run.running());
  EXPECT_EQ(view.storedPoints, QList<int>{1}) << "the point in hand is finished";
  EXPECT_EQ(CurrentTest.Values[1], 50.0);
  EXPECT_EQ(CurrentTest.Values[2], 0.0);
}

TEST_F(MeasureRunTest, ReaimOnlyWhileWaitingForContact) {
  probe = [](std::int64_t) { return 0; };
  ASSERT_TRUE(run.start());
  const std::tuple<GridCell, int> cases[] = {{{3, 2}, 9}, {{9, 1}, 15}, {{9, 2}, 21}};
  for (const auto& [cell, point] : cases) {
    step();
    EXPECT_TRUE(run.reaim(CellPoint(cell)));
    EXPECT_EQ(run.CurrentPoint, point);
    EXPECT_EQ(view.shownPoints.last(), point);
  }
  EXPECT_FALSE(run.reaim(0)) << "a heading cell";
  probe = tapping(1000);
  drive(3200, [this] { return run.phase() == MeasureRun::Phase::Sampling; });
  EXPECT_FALSE(run.reaim(3)) << "while sampling";
  EXPECT_EQ(run.CurrentPoint, 21);
  drive(3000, [] { return CurrentTest.Values[21] != 0; });
  drive(1000, [this] { return run.CurrentPoint != 21; });
  EXPECT_EQ(CurrentTest.Values[21], 50.0);
  EXPECT_EQ(CurrentTest.Values[1], 0.0);
  EXPECT_EQ(run.CurrentPoint, 22) << "it goes on upwards from the re-aimed point";
}

TEST_F(MeasureRunTest, StoredTestAndHighRangeQuestions) {
  const std::tuple<int, bool, QList<bool>, bool, bool, const char*> cases[] = {
      {7, false, {true}, true, true, "S1E1A00"},
      {7, false, {false}, true, false, "S1E1A00"},
      {0, true, {false}, false, false, "S1E0F00 S1E1A00"},
      {0, true, {true}, true, false, "S1E0F00 S1E1A00"},
      {7, true, {true, false}, false, true, "S1E1A00 S1E0F00 S1E1A00"}};
  for (const auto& [mkey, high, replies, starts, cleared, signalsBefore] : cases) {
    meter->clearLog();
    view.events.clear();
    questions.clear();
    CurrentTest = TCurrentTest{};
    CurrentTest.MKey = mkey;
    CurrentTest.Values[3] = 42;
    CurrentTest.LivePointCount = 5;
    Settings.HighPotential = high;
    answers = replies;
    run.HasValues = true;
    EXPECT_EQ(run.start(), starts);
    SCOPED_TRACE(testing::Message() << "key " << mkey << " high " << high);
    EXPECT_EQ(signalCommands().join(' '), signalsBefore);
    EXPECT_EQ(questions.size(), replies.size());
    EXPECT_EQ(commands().contains("N000000"), starts);
    EXPECT_EQ(CurrentTest.Values[3], cleared ? 0.0 : 42.0);
    EXPECT_EQ(CurrentTest.MKey, cleared ? 0 : mkey);
    EXPECT_EQ(CurrentTest.LivePointCount, cleared ? 0 : 5);
    EXPECT_EQ(view.events.contains("cleared"), cleared);
    if (starts) {
      EXPECT_TRUE(commands().contains(high ? "H000000" : "L000000"));
      run.requestStop();
      drive(100);
    }
  }
}

TEST_F(MeasureRunTest, PointStoredOverALoadedTestDetachesItFromTheStoredRow) {
  CurrentTest.MKey = 9;
  CurrentTest.Values[5] = 33;
  answers = {false};
  ASSERT_TRUE(startWith(tapping(1000), 3000, [] { return CurrentTest.Values[1] != 0; }));
  EXPECT_EQ(CurrentTest.MKey, 0);
  EXPECT_EQ(CurrentTest.Values[5], 33.0) << "the loaded values stay";
}

TEST_F(MeasureRunTest, MeterLostInStageThreeAndPluggedInAgain) {
  ASSERT_TRUE(startWith([](std::int64_t) { return 1000; }, 3000,
                        [this] { return sinceContact() >= 1300; }));
  backend->unplug(meter);
  pump();
  ASSERT_EQ(MeterState.Device, nullptr);
  step();
  EXPECT_EQ(run.phase(), MeasureRun::Phase::AwaitContact) << "readings of 0 lose the contact";
  drive(200);
  EXPECT_EQ(run.phase(), MeasureRun::Phase::AwaitContact);
  meter->clearLog();
  backend->replug(meter);
  pump();
  ASSERT_NE(MeterState.Device, nullptr);
  step();
  EXPECT_EQ(commands().mid(0, 3), (QStringList{"N000000", "L000000", "D000000"}));
  drive(3000, [] { return CurrentTest.Values[1] != 0; });
  EXPECT_NEAR(CurrentTest.Values[1], 50.0, 1e-9);
  stopLifted();
}

TEST_F(MeasureRunTest, TraceAndLiveFigures) {
  // Base 1000; 1040 from dt 1005 on, so the pass at dt 1010 draws from bar position 1000.
  ASSERT_TRUE(startWith([this](std::int64_t) { return sinceContact() >= 1005 ? 1040 : 1000; }, 3000,
                        [this] { return sinceContact() > 1010; }));
  const auto lines = view.trace.of("Line");
  ASSERT_FALSE(lines.isEmpty());
  EXPECT_EQ(lines.last().Points.last(), QPoint(210, 190));
  EXPECT_EQ(lines.last().Pen, (TPen{0x0000FF, 2, TPenStyle::psDot}));
  EXPECT_EQ(lines.first().Points.first(), QPoint(3, 300)) << "settling lines start at (3, H)";
  EXPECT_EQ(view.lamps[MeasureLamp::Completion].color, TColor(0x0000FF));
  EXPECT_EQ(view.lamps[MeasureLamp::Completion].interval, 0);
  EXPECT_TRUE(view.lamps[MeasureLamp::Reading].lit);
  stopLifted(3000);

  view.contactAt.reset();
  ASSERT_TRUE(
      startWith([](std::int64_t) { return 1200; }, 3000, [this] { return sinceContact() > 1250; }));
  EXPECT_EQ(view.valueFigure, "30.00");
  EXPECT_EQ(view.compFigure, "25.62");
  EXPECT_EQ(view.readingFigure, "[ 60.0]");
  EXPECT_EQ(view.completion, 1250);
  EXPECT_EQ(view.readingBar, 1228);
}

TEST(ChartGrid, LinesTicksAndFrameAt500By300) {
  RecordingCanvas canvas;
  DrawChartGrid(canvas, 500, 300);
  const auto lines = canvas.of("Line");
  QList<int> verticalX, horizontalY, ticksY;
  for (const auto& l : lines) {
    const QPoint a = l.Points[0], b = l.Points[1];
    if (l.Pen.Width != 1) continue;
    if (a.x() == b.x() && a.y() == 3) verticalX << a.x();
    if (a.y() == b.y() && a.x() == 3) horizontalY << a.y();
    if (a.y() == b.y() && b.x() - a.x() == 4) ticksY << a.y();
  }
  QList<int> want;
  for (int i = 1; i <= 20; ++i) want << 25 * (i == 20 ? 10 : i);
  EXPECT_EQ(verticalX, want);
  EXPECT_EQ(horizontalY, (QList<int>{50, 100, 150, 200, 250, 150}));
  EXPECT_EQ(ticksY.mid(0, 5), (QList<int>{12, 25, 38, 50, 62}));
  EXPECT_EQ(ticksY.size(), 24);
  EXPECT_EQ(lines.last().Pen, (TPen{0xC0DCC0, 5, TPenStyle::psSolid}));
  EXPECT_EQ(lines.last().Points[1], QPoint(0, 0));
}

}  // namespace
