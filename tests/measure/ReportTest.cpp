// The printed report on a recording page: 600 dpi, 4800 x 7000 dots, every text 100 dots
// high and 50 dots per character, so each position follows from the layout rules.
#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>

#include "base/Numbers.h"
#include "measure/Report.h"

using namespace ruto;

namespace {

constexpr int kSections[] = {2, 3, 8, 12, 13, 19, 20, 4, 5, 11, 14, 6, 7};

TReportInput sampleInput() {
  TReportInput in;
  for (int p = 1; p <= 24; ++p) {
    in.Test.Values[p] = 20 + (p * 7 % 17);
    in.Test.CompValues[p] = in.Test.Values[p] * 1.1;
  }
  in.Test.VoDate = 46000.5;
  ComputeMeridianStatistics(in.Analysis, in.Test.CompValues);
  ComputeSummaryLevels(in.Analysis, true);
  in.Client = TClientInfo{"A001", "王小明", true, 30000.0, "台北市", "02-1234", {}, {}, {}};
  in.UserData1 = "診所";
  in.UserData2 = "地址";
  in.Today = QDate(2026, 12, 7);
  in.Options[17] = in.Options[1] = true;  // colour, detailed
  return in;
}

// `all` begins the report and runs it to its end at once.
struct ReportRun {
  explicit ReportRun(TReportInput in, bool all = false, int width = 4800)
      : target(600, width, 7000) {
    target.Recording.MeasureHeight = [](const TFont&, const QString&) { return 100; };
    target.Recording.MeasureWidth = [](const TFont&, const QString& s) {
      return 50 * static_cast<int>(s.size());
    };
    report = std::make_unique<TReport>(target, std::move(in));
    report->setWrapper([](const QString& s) {
      return wrapLines(s, 600, [](const QString& t) { return 10 * static_cast<int>(t.size()); });
    });
    if (all && report->Begin()) report->RunAll();
  }
  TRecordingTarget target;
  std::unique_ptr<TReport> report;

  // Text entries with the page each stands on.
  std::vector<std::pair<int, RecordingCanvas::Entry>> texts() const {
    std::vector<std::pair<int, RecordingCanvas::Entry>> out;
    int page = 1;
    for (const auto& e : target.Recording.Entries) {
      if (e.Op == "NewPage") ++page;
      if (e.Op == "TextOut") out.emplace_back(page, e);
    }
    return out;
  }
  // Page and top of the first text starting with `prefix` (ending with it for `tail`); page 0
  // when none.
  std::pair<int, int> find(const QString& prefix, bool tail = false) const {
    for (const auto& [page, e] : texts())
      if (tail ? e.Text.endsWith(prefix) : e.Text.startsWith(prefix))
        return {page, e.Points[0].y()};
    return {0, 0};
  }
  // The first text that is exactly `text`.
  RecordingCanvas::Entry entry(const QString& text) const {
    for (const auto& [page, e] : texts())
      if (e.Text == text) return e;
    ADD_FAILURE() << "no text " << text.toStdString();
    RecordingCanvas::Entry none;
    none.Points = {QPoint(-1, -1)};
    return none;
  }
  QStringList allText() const {
    QStringList out;
    for (const auto& [page, e] : texts()) out << e.Text;
    return out;
  }
};

}  // namespace

TEST(Report, MillimetresAndPensFollowTheHorizontalResolution) {
  const std::tuple<int, double, int> cases[] = {
      {600, 1, 24}, {600, 86, 2031}, {600, 193, 4559}, {300, 10, 118}};
  for (const auto& [dpi, mm, dots] : cases) {
    TRecordingTarget target(dpi, 2000, 3000);
    TReport report(target, TReportInput{});
    EXPECT_EQ(report.MmToPx(mm), dots) << dpi << " " << mm;
  }
  TChartPrint print;
  print.Dpi = 300;
  EXPECT_EQ(print.solidWidth(), 2);
  EXPECT_EQ(print.dottedWidth(), 1);
  EXPECT_EQ(print.bandWidth(), 1);
}

TEST(Report, HeaderTableAndChartsStandWhereTheLayoutPutsThem) {
  TReportInput in = sampleInput();
  for (int s : {2, 3, 8, 12, 13, 19, 20}) in.Options[s] = true;
  ReportRun run(std::move(in));
  TReport& r = *run.report;
  ASSERT_TRUE(r.Begin());
  EXPECT_EQ(run.target.Title, "R.U.T.O 分析資料.");
  EXPECT_EQ(r.PrintLineHeight, 124);
  EXPECT_EQ(r.PrintPageWidth, 4800);

  // PrintY and page after header, client block, table and each chart.
  const std::pair<int, int> after[] = {{826 + 124, 1}, {1145 + 124, 1}, {2556, 1},
                                       {5178, 1},      {2858, 2},       {5480, 2},
                                       {2740, 3},      {5362, 3},       {236 + 2622, 4}};
  for (const auto& [y, page] : after) {
    ASSERT_TRUE(r.Step());
    EXPECT_EQ(r.PrintY, y) << "page " << page;
    EXPECT_EQ(r.PageNumber(), page) << "y " << y;
  }
  EXPECT_FALSE(r.Step());

  // Page and top of texts, by their beginnings.
  const std::tuple<const char*, int, int> tops[] = {{"R.U.T.O.經絡能量分析儀分析報表", 1, 236},
                                                    {"診所", 1, 454},
                                                    {"測量日期: ", 1, 578},
                                                    {"測量時間: ", 1, 702},
                                                    {"編號:  A001", 1, 950},
                                                    {"地址:  ", 1, 1145},
                                                    {"測量方式:", 1, 1393},
                                                    {"經絡虛實分析圖-長條", 1, 2680},
                                                    {"經絡虛實分析圖-曲線", 2, 360},
                                                    {"經絡五行相生分析圖", 2, 2982},
                                                    {"第   2 頁", 2, 20}};
  for (const auto& [prefix, page, top] : tops)
    EXPECT_EQ(run.find(prefix), std::pair(page, top)) << prefix;
  // The page label is right-aligned 20 dots from the cut width, in black.
  for (const auto& [page, e] : run.texts()) {
    if (!e.Text.startsWith("第")) continue;
    EXPECT_EQ(e.Points[0].x(), 4800 - (50 * 7 + 20)) << "page " << page;
    EXPECT_EQ(e.Font.Color, clBlack) << "page " << page;
  }

  // The rule under the header, and the table's header box at Y0.
  int rules = 0, tables = 0;
  for (const auto& e : run.target.Recording.Entries) {
    if (e.Op == "Line" && e.Points[0] == QPoint(71, 826) && e.Points[1] == QPoint(4800 - 47, 826))
      ++rules;
    if (e.Op == "Rectangle" && e.Rect == TRect{307, 1564, 4559, 1564 + 248}) ++tables;
  }
  EXPECT_EQ(rules, 1);
  EXPECT_EQ(tables, 1);
  EXPECT_TRUE(r.Finished());
  EXPECT_TRUE(run.target.Ended);
  EXPECT_EQ(run.target.Pages, 4);

  // Chart tops: the axis of each chart runs from (L, T) down the box.
  const int L = 709;
  std::vector<std::pair<int, int>> found;
  int page = 1;
  for (const auto& e : run.target.Recording.Entries) {
    if (e.Op == "NewPage") ++page;
    if (e.Op == "Line" && e.Points[0].x() == L && e.Points[1].x() == L && e.Pen.Width == 4 &&
        e.Points[1].y() - e.Points[0].y() >= 2126 - 192)
      found.emplace_back(page, e.Points[0].y());
  }
  EXPECT_EQ(found, (std::vector<std::pair<int, int>>{
                       {1, 2928}, {2, 608}, {2, 3230}, {3, 608}, {3, 3112}, {4, 608}}));
}

// No section ticked: one page, the title and the header and client blocks only.
TEST(Report, TitleFallsBackOnBlanksAndCentresOnTheCutWidth) {
  const std::tuple<QString, QString> cases[] = {{"   ", "R.U.T.O.經絡能量分析儀分析報表"},
                                                {" 仁愛 ", " 仁愛 "},
                                                {"", "R.U.T.O.經絡能量分析儀分析報表"}};
  for (const auto& [userName2, title] : cases) {
    TReportInput in = sampleInput();
    in.UserName2 = userName2;
    in.Test.VoDate = 0;                        // undated: the labels alone
    ReportRun run(std::move(in), true, 6000);  // wider than 8 inches
    const QStringList all = run.allText();
    SCOPED_TRACE(userName2.toStdString());
    EXPECT_EQ(run.report->PrintPageWidth, 4800);
    EXPECT_EQ(run.target.Pages, 1);
    EXPECT_EQ(run.report->PrintY, 1269);
    EXPECT_TRUE(all.contains("測量日期: "));
    EXPECT_TRUE(all.contains("測量時間: "));
    EXPECT_EQ(all.value(1), title);
    EXPECT_EQ(run.entry(title).Points[0].x(), 2400 - 25 * int(title.size()));
  }
}

TEST(Report, TableValuesAreTrimmedCentredAndBracketed) {
  TReportInput in = sampleInput();
  in.Options[2] = true;
  in.Test.Values[1] = 0;
  in.Test.CompValues[1] = 42.25;
  in.Test.Values[13] = 123.4;
  ReportRun run(std::move(in), true);
  const int CW = 4252 / 12, Y0 = 1564, LH = 124;
  // The doubled line between hands and feet.
  int doubled = 0;
  for (const auto& e : run.target.Recording.Entries)
    doubled += e.Op == "Line" && std::abs(e.Points[0].x() - (307 + 6 * CW)) == 5;
  // Hand columns' bracketed values are centred from 12 mm, foot columns' from 13 mm.
  EXPECT_EQ(run.entry("0.0").Points[0], QPoint(307 + (CW - 150) / 2, Y0 + 3 * LH));
  EXPECT_EQ(run.entry("[42.3]").Points[0], QPoint(283 + (CW - 300) / 2, Y0 + 4 * LH));
  EXPECT_EQ(run.entry("123.4").Points[0], QPoint(307 + 6 * CW + (CW - 250) / 2, Y0 + 3 * LH));
  EXPECT_EQ(doubled, 2);
}

TEST(Report, NoSectionTickedIsOnePage) {
  TReportInput in = sampleInput();
  in.Test.VoDate = 0;  // undated: the labels alone
  ReportRun run(std::move(in));
  ASSERT_TRUE(run.report->Begin());
  run.report->RunAll();
  EXPECT_EQ(run.target.Pages, 1);
  EXPECT_TRUE(run.target.Ended);
  EXPECT_EQ(run.report->PrintY, 1269);
  EXPECT_TRUE(run.allText().contains("測量日期: "));
  EXPECT_TRUE(run.allText().contains("測量時間: "));
}

TEST(Report, AJobThatCannotBeginDrawsNothing) {
  ReportRun run(sampleInput());
  run.target.CanBegin = false;
  EXPECT_FALSE(run.report->Begin());
  EXPECT_FALSE(run.report->Step());
  EXPECT_TRUE(run.target.Recording.Entries.isEmpty());
  EXPECT_FALSE(run.target.Ended);
}

TEST(Report, AbortStopsDrawingWithoutNewPageOrEnd) {
  for (int steps = 0; steps <= 6; ++steps) {
    TReportInput in = sampleInput();
    for (int s : kSections) in.Options[s] = true;
    in.Note = QString(200, QChar(u'字'));
    ReportRun run(std::move(in));
    ASSERT_TRUE(run.report->Begin());
    for (int i = 0; i < steps; ++i) run.report->Step();
    const auto drawn = run.target.Recording.Entries.size();
    const int pages = run.target.Pages;
    run.report->Abort();
    run.report->RunAll();
    EXPECT_EQ(run.target.Recording.Entries.size(), drawn) << steps;
    EXPECT_EQ(run.target.Pages, pages) << steps;
    EXPECT_TRUE(run.target.Aborted) << steps;
    EXPECT_FALSE(run.target.Ended) << steps;
  }
}

TEST(Report, APageBreakInsideARedBlockContinuesBlack) {
  ReportRun run(sampleInput(), true);
  TReport& r = *run.report;
  run.target.Recording.Font.Color = clRed;
  for (int i = 0; i < 60; ++i) r.PrintLine("紅");
  int page = 1, redOnFirst = 0, blackOnSecond = 0, other = 0;
  for (const auto& e : run.target.Recording.Entries) {
    if (e.Op == "NewPage") ++page;
    if (e.Op != "TextOut" || e.Text != "紅") continue;
    if (page == 1 && e.Font.Color == clRed)
      ++redOnFirst;
    else if (page == 2 && e.Font.Color == clBlack)
      ++blackOnSecond;
    else
      ++other;
  }
  EXPECT_GT(redOnFirst, 0);
  EXPECT_EQ(page, 2);
  EXPECT_EQ(redOnFirst + blackOnSecond, 60);
  EXPECT_EQ(other, 0);
}

TEST(Report, LongNoteGivesThePredictedPageCount) {
  TReportInput in = sampleInput();
  in.Options[11] = true;
  QStringList note;
  for (int i = 0; i < 300; ++i) note << QString::number(i);
  in.Note = note.join("\n");
  ReportRun run(std::move(in), true);
  // Title at 1393, first note line at 1641: 41 lines on page 1, 52 on each next page; the
  // empty line after the last (51st on page 6) breaks once more.
  EXPECT_EQ(run.find("0"), std::pair(1, 1641));
  EXPECT_EQ(run.find("41"), std::pair(2, 236));
  EXPECT_EQ(run.find("299"), std::pair(6, 236 + 50 * 124));
  EXPECT_EQ(run.target.Pages, 7);

  // 100 paragraphs of 90 characters wrap into 200 lines of at most 60; with the empty line, the
  // general text (empty: one line) and its empty line the memo holds 203 lines from y 1889.
  in = sampleInput();
  in.Options[5] = true;
  in.Analysis.PointLevel.fill(0);
  in.DiagnosisItems = {"肺經"};
  in.Analysis.ExplainCodes[0] = 1;
  QStringList paragraphs;
  for (int i = 1; i <= 100; ++i) paragraphs << QString(86, QChar(u'字')) + Format("P%03d", {i});
  TReferenceRow row;
  row.Found = true;
  row.DtMA2 = paragraphs.join("\r\n");
  in.Reference[1] = row;
  ReportRun memo(std::move(in), true);
  // 39 lines on page 1, then 52 a page: line 200 is the 5th on page 5.
  EXPECT_EQ(memo.find("P001", true), std::pair(1, 1889 + 124));
  EXPECT_EQ(memo.find("P100", true), std::pair(5, 236 + 4 * 124));
  EXPECT_EQ(memo.target.Pages, 5);
}

TEST(Report, BodyStateSummaryRowsAndGroupMinStoredBack) {
  TReportInput in = sampleInput();
  in.Options[4] = true;
  in.Analysis.Average = 27;
  in.Analysis.SummaryLevel = {-1, 0, 0, 3, 0};
  in.Analysis.GroupMin = 0;
  in.Analysis.GroupMax = 2;
  ReportRun run(std::move(in), true);
  const TAnalysisResult& a = run.report->Input().Analysis;
  EXPECT_EQ(run.entry("27.00").Font.Color, clGreen);
  EXPECT_EQ(run.entry("27.00").Points[0].x(), 2244) << "the average at 95 mm";
  EXPECT_EQ(run.entry("(28 - 59)").Font.Color, clBlue);
  EXPECT_EQ(run.entry("2.000").Font.Color, clGreen);
  EXPECT_EQ(run.entry("體能元氣狀態偏虛，但仍屬正常").Points[0].x(), 2953);
  EXPECT_EQ(run.entry("高   2.0 / 低   0.0 =").Points[0].x(), 1417);
  EXPECT_EQ(run.entry("正  常").Points[0].x(), 472 + 945);
  EXPECT_EQ(a.GroupMin, 1.0) << "stored back";
  EXPECT_EQ(run.entry(Format("%5.3f", {a.YinSum / a.YangSum})).Font.Color, clRed)
      << "the metabolism's level 3 prints red";
}

namespace {

TReportInput textInput(bool detailed) {
  TReportInput in = sampleInput();
  in.Options[1] = detailed;
  for (int s : {5, 6, 7}) in.Options[s] = true;
  in.Analysis.PointLevel.fill(0);
  in.Analysis.SummaryLevel = {-3, 0, 0, 0, 0};
  for (int key = 1; key <= 17; ++key) {
    TReferenceRow row;
    row.Found = true;
    row.DtMA1 = QString("一般%1").arg(key);
    row.DtMA2 = QString("平%1").arg(key);
    row.DtMA3 = QString("食%1").arg(key);
    row.DtMH1 = QString("高一%1\n高二%1").arg(key);
    row.DtML1 = QString("低一%1\n低二%1").arg(key);
    row.DtMH4 = QString("高食%1").arg(key);
    in.Reference[key] = row;
  }
  in.Reference.erase(5);
  in.DiagnosisItems = {"體能", "小腸經"};
  in.Analysis.ExplainCodes[0] = 13;
  in.Analysis.ExplainCodes[1] = 5;  // no reference row
  in.DietItems = {};
  in.Programs = {{"  減重療程 ", "說明第一行\n說明第二行"}};
  return in;
}

}  // namespace

TEST(Report, TextSectionsPrintHeadingsAndTheirBlocks) {
  for (bool detailed : {true, false}) {
    ReportRun run(textInput(detailed), true);
    const QStringList all = run.allText();
    const int diagnosis = all.indexOf("經絡能量辨證  **本資料僅供學術研究參考**");
    ASSERT_GE(diagnosis, 0);
    // The lines after the heading; "*" marks those of the detailed report only.
    QStringList expected;
    for (const QString& line :
         QString("[ 1 ]體能|*一般13|低一13|*低二13|*|*【您的體能過度低落，請特別留意身體機能"
                 "及經絡的異常狀態】|[ 2 ]小腸經|養生食療建議|專家療程建議|[ 1 ]減重療程|"
                 "*說明第一行|*說明第二行")
             .split('|'))
      if (detailed || !line.startsWith('*')) expected << line.mid(line.startsWith('*') ? 1 : 0);
    EXPECT_EQ(all.mid(diagnosis + 1), expected) << detailed;

    for (const auto& [text, colour] : {std::pair<QString, TColor>{"[ 1 ]減重療程", clRed},
                                       {"[ 1 ]體能", clBlue},
                                       {"低一13", clRed},
                                       {"低二13", clBlack}}) {
      if (!detailed && text == "低二13") continue;  // the detailed report's line only
      EXPECT_EQ(run.entry(text).Font.Color, colour) << text.toStdString() << " " << detailed;
    }
  }
}

TEST(Report, MeridianItemsFollowBothSides) {
  TReportInput in = textInput(true);
  in.Options[15] = true;  // the conductance text
  in.Reference[4].DtMH5 = "良導高";
  in.Reference[3].DtMH5 = "不該";
  in.Analysis.PointLevel[LeftPointOf(4)] = 1;
  in.Analysis.PointLevel[RightPointOf(4)] = 2;
  in.Analysis.PointLevel[LeftPointOf(3)] = 1;
  in.Analysis.PointLevel[RightPointOf(3)] = -1;
  in.DiagnosisItems = {"小腸經", "心經"};
  in.Analysis.ExplainCodes[0] = 4;
  in.Analysis.ExplainCodes[1] = 3;
  ReportRun run(std::move(in), true);
  const QStringList all = run.allText();
  EXPECT_EQ(all.mid(all.indexOf("[ 1 ]小腸經"), 9),
            (QStringList{"[ 1 ]小腸經", "平4", "", "一般4", "", "高一4", "高二4", "", "良導高"}));
  // Opposite sides: the general texts only.
  EXPECT_EQ(all.mid(all.indexOf("[ 2 ]心經"), 6),
            (QStringList{"[ 2 ]心經", "平3", "", "一般3", "", "養生食療建議"}));
}

TEST(Report, WrapLinesBreaksBetweenIdeographsAndAtSpaces) {
  const auto tenPerChar = [](const QString& s) { return 10 * static_cast<int>(s.size()); };
  const std::tuple<QString, int, QStringList> cases[] = {
      {"一二三四五六七八九十", 50, {"一二三四五", "六七八九十"}},
      {"hello world foo", 80, {"hello", "world", "foo"}},
      {"hello world", 110, {"hello world"}},
      {"ab\r\n\ncd", 50, {"ab", "", "cd"}},
      {"abcdefghij", 40, {"abcd", "efgh", "ij"}},
      {"", 50, {""}}};
  for (const auto& [text, width, lines] : cases)
    EXPECT_EQ(wrapLines(text, width, tenPerChar), lines) << text.toStdString();

  // The font form breaks the same way where every character has one width.
  TFont f;
  f.Size = 10;
  const QFont font = toQFont(f, 96);
  const int w = QFontMetrics(font).horizontalAdvance(QString(5, QChar(u'字')));
  EXPECT_EQ(wrapLines(QString(12, QChar(u'字')), w, font),
            (QStringList{QString(5, QChar(u'字')), QString(5, QChar(u'字')), "字字"}));
}

TEST(Report, PrintedBarChartInMillimetresColourAndMonochrome) {
  for (bool colour : {true, false}) {
    TReportInput in = sampleInput();
    in.Options[17] = colour;
    in.Options[3] = true;   // bar chart
    in.Options[19] = true;  // conductance chart
    TAnalysisResult& a = in.Analysis;
    a.Average = 40;
    a.NormalLimitHigh = a.NormalLimitLow = 10;
    a.AcceptLimitHigh = a.AcceptLimitLow = 20;
    a.Deviation.fill(0);
    a.PointLevel.fill(0);
    a.Deviation[1] = 100;   // position 1: above the box, clamped
    a.Deviation[7] = -100;  // position 2: below the box, clamped
    a.Deviation[2] = 15;    // position 3: acceptable
    ReportRun run(std::move(in), true);
    const int T = 1641, L = 709;
    std::vector<RecordingCanvas::Entry> bars, insets, marks;
    bool conductance = false;
    for (const auto& e : run.target.Recording.Entries) {
      if (e.Op == "TextOut" && e.Text == "良導絡分析圖") conductance = true;
      if (e.Op == "Rectangle" && !conductance && e.Pen.Width == 4 && e.Rect.Top > T)
        bars.push_back(e);
      if (e.Op == "FillRect" && e.Brush.Style != TBrushStyle::bsSolid) insets.push_back(e);
      if (e.Op == "Rectangle" && conductance && e.Brush.Style == TBrushStyle::bsSolid &&
          e.Pen.Style == TPenStyle::psClear)
        marks.push_back(e);
    }
    ASSERT_GE(bars.size(), 3u);
    SCOPED_TRACE(colour ? "colour" : "monochrome");
    EXPECT_EQ(bars[0].Rect, (TRect{L, T + 5, 857, T + 1063}));
    EXPECT_EQ(bars[1].Rect, (TRect{857, T + 1063, 1004, T + 2126 - 24}));
    EXPECT_EQ(bars[2].Brush, (TBrush{colour ? clOlive : clBlack, TBrushStyle::bsBDiagonal}));
    // Monochrome: each bar and legend swatch is hatched inside first, 0.5 mm in.
    if (colour) {
      EXPECT_TRUE(insets.empty());
    } else {
      ASSERT_EQ(insets.size(), 24u + 3u);
      EXPECT_EQ(insets[0].Rect, (TRect{L + 12, T + 17, 845, T + 1051}));
    }
    // Conductance marks keep their colours in both modes.
    ASSERT_EQ(marks.size(), 24u + 3u);
    for (const auto& m : marks) EXPECT_NE(m.Brush.Color, clBlack);

    // Legend one line above the box, band labels right-aligned 3 mm left of the axis and 2 mm
    // above their line, column labels centred inside the box.
    const auto& level = run.report->Input().Analysis.PointLevel;
    EXPECT_EQ(run.entry("正常").Points.value(0), QPoint(2965, T - 124 + 24));
    EXPECT_EQ(run.entry("+ 20.0").Points.value(0), QPoint(L - 71 - 300, T + 532 - 47));
    EXPECT_EQ(run.entry("肺　經").Points.value(0), QPoint(L + 73, T + 2126 - 165));
    EXPECT_EQ(run.entry("+ 20.0").Font.Color, colour ? clRed : clBlack);
    EXPECT_EQ(level[1], 2);
    EXPECT_EQ(level[7], -2);
    EXPECT_EQ(level[2], 1);
  }
}

// At both type sizes the autonomic chart's ratio line stays inside the box (30 to 180 mm), at
// the screen's place when it fits and ending at the box's edge when it does not.
TEST(Report, AutonomicRatioStaysInsideThePrintedBox) {
  const std::tuple<int, bool> cases[] = {{10, false}, {50, true}};
  for (const auto& [charWidth, shifted] : cases) {
    TReportInput in = sampleInput();
    in.Options[20] = true;
    ReportRun run(std::move(in));
    run.target.Recording.MeasureWidth = [width = charWidth](const TFont&, const QString& s) {
      return width * static_cast<int>(s.size());
    };
    run.report->Begin();
    run.report->RunAll();
    const int left = run.report->MmToPx(30), right = run.report->MmToPx(180);
    int found = 0;
    for (const auto& [page, e] : run.texts()) {
      if (!e.Text.startsWith("Max [")) continue;
      ++found;
      const int x = e.Points[0].x(), end = x + charWidth * int(e.Text.size());
      EXPECT_GE(x, left) << charWidth;
      EXPECT_LE(end, right) << charWidth;
      EXPECT_EQ(end == right, shifted) << charWidth;
    }
    EXPECT_EQ(found, 1);
  }
}
