// The seven charts on a recording canvas at the window's 757 x 393, on an analysis with an
// average of 49 (4 pixels per unit around the centre line). Every expected figure is worked by
// hand from the chart rules, so a change of rounding, order of operations or band edge shows.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "measure/Charts.h"

using namespace ruto;

namespace {

using Entry = RecordingCanvas::Entry;

// Average 49: band factor 0.9915625.
TAnalysisResult analysis49() {
  TAnalysisResult a;
  a.Average = 49;
  const double k = (a.Average - 10) * 0.0084375 + 0.6625;
  a.AcceptLimitHigh = 21 * k;  // 20.8228125
  a.NormalLimitHigh = 11.5 * k;
  a.NormalLimitLow = 10.5 * k;
  a.AcceptLimitLow = 20 * k;  // 19.83125
  a.PointOrder = kPointOrder;
  return a;
}

const TChartFrame kScreen = ScreenChartFrame(757, 393);

struct Drawn {
  RecordingCanvas canvas;
  QString title;
  std::vector<Entry> where(const QString& op, const std::function<bool(const Entry&)>& test) const {
    std::vector<Entry> found;
    for (const Entry& e : canvas.Entries)
      if (e.Op == op && test(e)) found.push_back(e);
    return found;
  }
  std::vector<Entry> lines(TColor color, TPenStyle style) const {
    return where("Line",
                 [&](const Entry& e) { return e.Pen.Color == color && e.Pen.Style == style; });
  }
  std::vector<Entry> rects(TBrushStyle style) const {
    return where("Rectangle", [&](const Entry& e) { return e.Brush.Style == style; });
  }
  const Entry* text(const QString& s) const {
    for (const Entry& e : canvas.Entries)
      if (e.Op == "TextOut" && e.Text == s) return &e;
    return nullptr;
  }
  // Where the text stands, (-1, -1) when it was not drawn.
  QPoint pos(const QString& s) const { return text(s) ? text(s)->Points[0] : QPoint(-1, -1); }
  TColor color(const QString& s) const { return text(s) ? text(s)->Font.Color : 0xFFFFFFFF; }
};

Drawn draw(ChartType kind, const TAnalysisResult& a, const TPointValues& comp = {}) {
  Drawn d;
  d.title = DrawChart(kind, d.canvas, kScreen, a, comp);
  return d;
}

// The first points' x (or y) of `lines`.
std::vector<int> xs(const std::vector<Entry>& lines, bool y = false) {
  std::vector<int> out;
  for (const Entry& e : lines) out.push_back(y ? e.Points[0].y() : e.Points[0].x());
  return out;
}
std::vector<int> ys(const std::vector<Entry>& lines) { return xs(lines, true); }

TEST(Charts, MeridianFrameStandsWhereTheRulesPutIt) {
  for (ChartType kind : {ChartType::Bar, ChartType::Curve}) {
    SCOPED_TRACE(ChartTitle(kind).toStdString());
    const Drawn d = draw(kind, analysis49());
    const auto separators = d.lines(clNavy, TPenStyle::psDot);
    EXPECT_EQ(xs(separators),
              (std::vector<int>{109, 168, 227, 286, 345, 462, 521, 580, 639, 698, 757}));
    for (const Entry& e : separators) {
      EXPECT_EQ(e.Points[0].y(), 196) << e.Points[0].x();
      EXPECT_EQ(e.Points[1].y(), 393) << e.Points[0].x();
    }
    const auto dividers = d.lines(clGray, TPenStyle::psDot);
    ASSERT_EQ(dividers.size(), 12u);
    EXPECT_EQ(dividers.front().Points[0].x(), 79);
    EXPECT_EQ(dividers.back().Points[0].x(), 727);
    EXPECT_EQ(dividers.back().Points[1].y(), 354);
    const auto handFoot = d.where("Line", [](const Entry& e) { return e.Pen.Width == 2; });
    EXPECT_EQ(handFoot.size() == 1 ? handFoot[0].Points : QVector<QPoint>(),
              (QVector<QPoint>{{403, 393}, {403, 81}}));

    const auto ticks = d.where("Line", [](const Entry& e) {
      return e.Pen.Width == 1 && e.Pen.Style == TPenStyle::psSolid && e.Points[0].x() == 50 &&
             e.Points[1].x() == 58;
    });
    ASSERT_EQ(ticks.size(), 17u);
    const std::vector<int> tickYs = ys(ticks);
    EXPECT_EQ(std::vector<int>(tickYs.begin(), tickYs.begin() + 3), (std::vector<int>{20, 39, 59}));
    EXPECT_EQ(std::count(tickYs.begin(), tickYs.end(), 196), 0) << "no tick on the zero line";
    EXPECT_EQ(ys(d.lines(clRed, TPenStyle::psDot)), (std::vector<int>{113, 275}));
    EXPECT_EQ(ys(d.lines(clOlive, TPenStyle::psDot)), (std::vector<int>{150, 238}));
    for (const auto& [text, at] : {std::pair<QString, QPoint>{"正常", {524, 4}},
                                   {"尚可", {612, 4}},
                                   {"不良", {701, 4}},
                                   {"   49.0", {0, 188}},
                                   {"+ 20.8", {0, 105}},
                                   {" 肺  經", {60, 347}},
                                   {"Feet 足", {50 + 471 + 35, 378}}})
      EXPECT_EQ(d.pos(text), at) << text.toStdString();
    EXPECT_EQ(d.color("正常"), clBlue);
    EXPECT_EQ(d.color("尚可"), clBlue);
    EXPECT_EQ(d.color("不良"), clBlue);
    EXPECT_EQ(d.color("- 19.8"), clRed);
    for (const Entry& e : d.canvas.of("TextOut"))
      EXPECT_EQ(e.Brush.Style, TBrushStyle::bsClear) << e.Text.toStdString();
  }
  // Without energy only the frame and the legend are drawn.
  TAnalysisResult a = analysis49();
  a.Average = 0;
  a.Deviation.fill(-3);
  for (ChartType kind : {ChartType::Bar, ChartType::Curve}) {
    SCOPED_TRACE(ChartTitle(kind).toStdString());
    const Drawn d = draw(kind, a);
    EXPECT_EQ(d.canvas.of("Rectangle").size(), 3) << "the legend's swatches only";
    EXPECT_EQ(d.lines(clRed, TPenStyle::psDot).size(), 0u);
    EXPECT_EQ(d.lines(clBlack, TPenStyle::psDot).size(), 0u);
    EXPECT_EQ(d.lines(clNavy, TPenStyle::psDot).size(), 11u);
  }
}

TEST(Charts, BarsTakeTheirBandAndAreClampedAtTheEdges) {
  const TAnalysisResult base = analysis49();
  // Position, deviation, y of the bar's far end, colour and hatch.
  const std::tuple<int, double, int, TColor, TBrushStyle> cases[] = {
      {1, 15.375, 134, clYellow, TBrushStyle::bsBDiagonal},  // 134.5 rounds to even
      {2, -30, 316, clRed, TBrushStyle::bsFDiagonal},
      {3, -50, 388, clRed, TBrushStyle::bsFDiagonal},  // past the bottom: H - 5
      {4, 48, 5, clRed, TBrushStyle::bsFDiagonal},     // above y 5: 5
      {5, base.NormalLimitHigh, 150, clGreen, TBrushStyle::bsDiagCross},
      {6, base.AcceptLimitHigh, 113, clYellow, TBrushStyle::bsBDiagonal},
      {7, -base.NormalLimitLow, 238, clGreen, TBrushStyle::bsDiagCross},
      {8, -base.AcceptLimitLow, 275, clYellow, TBrushStyle::bsBDiagonal},
      {9, 0, 196, clGreen, TBrushStyle::bsDiagCross}};
  TAnalysisResult a = base;
  for (const auto& [position, deviation, y, color, hatch] : cases)
    a.Deviation[kPointOrder[position]] = deviation;
  const Drawn d = draw(ChartType::Bar, a);
  std::vector<Entry> bars = d.where("Rectangle", [](const Entry& e) { return e.Rect.Top != 0; });
  ASSERT_EQ(bars.size(), 24u);
  for (const auto& [position, deviation, y, color, hatch] : cases) {
    const Entry& bar = bars[position - 1];
    EXPECT_EQ(bar.Rect.Top, std::min(y, 196)) << position;
    EXPECT_EQ(bar.Rect.Bottom, std::max(y, 196)) << position;
    EXPECT_EQ(bar.Brush, (TBrush{color, hatch})) << position;
    EXPECT_EQ(bar.Pen, (TPen{clBlack, 1, TPenStyle::psSolid})) << position;
  }
  for (const auto& [i, left, right] : {std::tuple(0, 50, 79), {1, 79, 109}, {12, 404, 433}}) {
    EXPECT_EQ(bars[i].Rect.Left, left) << i;
    EXPECT_EQ(bars[i].Rect.Right, right) << i;
  }
  // Legend swatches: the three hatches, outlined.
  const auto swatches = d.where("Rectangle", [](const Entry& e) { return e.Rect.Top == 0; });
  ASSERT_EQ(swatches.size(), 3u);
  EXPECT_EQ(swatches[0].Rect, (TRect{494, 0, 517, 20}));
  EXPECT_EQ(swatches[2].Brush.Style, TBrushStyle::bsFDiagonal);
}

TEST(Charts, CurveMarkersAreUnclampedAndJoinedThroughTheirCentres) {
  TAnalysisResult a = analysis49();
  a.Deviation[kPointOrder[13]] = 48;   // y 4: not clamped
  a.Deviation[kPointOrder[14]] = -50;  // y 396: below the surface
  const Drawn d = draw(ChartType::Curve, a);
  const auto markers = d.rects(TBrushStyle::bsSolid);
  const auto curve = d.lines(clBlack, TPenStyle::psDot);
  ASSERT_EQ(markers.size(), 27u);  // 24 and the legend
  ASSERT_EQ(curve.size(), 23u);
  EXPECT_EQ(markers[12].Rect, (TRect{415, 0, 422, 8}));
  EXPECT_EQ(markers[12].Brush.Color, clRed);
  EXPECT_EQ(markers[12].Pen.Style, TPenStyle::psClear);
  EXPECT_EQ(markers[13].Rect.Top, 392);
  EXPECT_EQ(curve[0].Points[0], QPoint(65, 196));
  EXPECT_EQ(curve[11].Points[1], QPoint(419, 4));
}

TEST(Charts, ElementNodesUseHalfScaleAndWarnByMagnitude) {
  TAnalysisResult a = analysis49();
  // Generating order: wood, sovereign fire, minister fire, earth, metal, water; one point each.
  const struct {
    int point;
    double sum;  // of the node's deviations; E = sum / 1.8
    int y;
    int triangle;                                        // 0 none, else its colour
  } nodes[] = {{14, 36, 176, 0},                         // E 20
               {3, 39.2658, 175, 0},                     // just under NH + NL
               {2, 39.265875, 175, int(clYellow)},       // NH + NL
               {13, 40.6540625 * 1.8, 156, int(clRed)},  // AH + AL exactly
               {1, -72, 235, int(clYellow)},             // E -40: the magnitude counts
               {15, 0, 196, 0}};
  for (const auto& n : nodes) a.Deviation[n.point] = n.sum;
  const Drawn d = draw(ChartType::Generating, a);
  const auto markers = d.rects(TBrushStyle::bsSolid);
  ASSERT_EQ(markers.size(), 6u);
  const int X[] = {109, 227, 345, 462, 580, 698};
  for (int n = 0; n < 6; ++n) {
    EXPECT_EQ(markers[n].Rect.Top, nodes[n].y - 6) << n;
    EXPECT_EQ(markers[n].Rect.Left, X[n] - 6) << n;
    EXPECT_EQ(markers[n].Brush.Color, clGreen) << n;
  }
  const auto triangles = d.canvas.of("Polygon");
  ASSERT_EQ(triangles.size(), 3);
  EXPECT_EQ(triangles[0].Points, (QVector<QPoint>{{353, 17}, {345, 1}, {337, 17}}));
  EXPECT_EQ(triangles[0].Brush.Color, clYellow);
  EXPECT_EQ(triangles[1].Brush.Color, clRed);
  EXPECT_EQ(triangles[2].Brush.Color, clYellow);
  EXPECT_EQ(ys(d.lines(clRed, TPenStyle::psDot)), (std::vector<int>{155, 235}));
  EXPECT_EQ(ys(d.lines(clOlive, TPenStyle::psDot)), (std::vector<int>{174, 216}));
  EXPECT_EQ(d.lines(clGray, TPenStyle::psDot).size(), 12u) << "the column lines are drawn twice";
  EXPECT_EQ(d.pos("+  90"), QPoint(5, 12));
  EXPECT_TRUE(d.text("-  90"));
  EXPECT_TRUE(d.text("    0.0"));
  EXPECT_EQ(ChartMeridianLabels[1], " 肝  經");
  EXPECT_EQ(ChartMeridianLabels[7], " 膽  經");
  EXPECT_EQ(d.pos(" 【 木 】"), QPoint(81, 377));
  EXPECT_EQ(d.title, "經絡五行相生分析圖");

  // The same node values in the controlling order, red.
  const Drawn c = draw(ChartType::Controlling, a);
  const auto controlling = c.rects(TBrushStyle::bsSolid);
  ASSERT_EQ(controlling.size(), 6u);
  EXPECT_EQ(controlling[0].Rect.Top, 235 - 6) << "metal first";
  EXPECT_EQ(controlling[1].Rect.Top, 176 - 6) << "then wood";
  EXPECT_EQ(controlling[0].Brush.Color, clRed);
  EXPECT_EQ(ChartMeridianLabels[1], " 肺  經");
  EXPECT_EQ(ChartElementLabels[6], "【相火】");
}

TEST(Charts, RadarRingsScaleAndMarks) {
  TAnalysisResult a = analysis49();
  a.Deviation[14] = 10;   // liver left, on the top spoke
  a.Deviation[20] = -60;  // liver right: radius below 0 stays at the centre
  const Drawn d = draw(ChartType::Radar, a);
  const auto rings = d.canvas.of("Ellipse");
  const auto spokes = d.where("Line", [](const Entry& e) { return e.Pen.Width == 2; });
  ASSERT_EQ(rings.size(), 5);
  ASSERT_EQ(spokes.size(), 2u);
  EXPECT_EQ(rings[0].Rect, (TRect{292, 107, 465, 286}));
  EXPECT_EQ(rings[0].Pen, (TPen{clBlue, 2, TPenStyle::psSolid}));
  EXPECT_EQ(rings[1].Pen.Color, clRed);
  EXPECT_EQ(rings[4].Pen.Color, clOlive);
  EXPECT_EQ(spokes[0].Points, (QVector<QPoint>{{378, 15}, {378, 378}}));
  EXPECT_EQ(spokes[1].Points[0].y(), 196);

  const auto marks = d.rects(TBrushStyle::bsSolid);
  ASSERT_EQ(marks.size(), 24u);
  // The liver's left point is drawn last, so no mark covers it: y = Rnd(196.5 - 60 * 393 /
  // 220). Spleen (right spoke) at deviation 0 sits on the zero ring.
  EXPECT_EQ(marks[23].Rect, (TRect{374, 85, 382, 93}));
  EXPECT_EQ(marks[23].Brush.Color, clGreen);
  EXPECT_EQ(marks[0].Rect, (TRect{374, 192, 382, 200}));
  EXPECT_EQ(marks[0].Brush.Color, clBlue);
  EXPECT_EQ(marks[3].Rect, (TRect{461, 192, 469, 200}));
  // Both liver points at one deviation: one place, and the green mark on top.
  a.Deviation[20] = 10;
  const auto same = draw(ChartType::Radar, a).rects(TBrushStyle::bsSolid);
  ASSERT_EQ(same.size(), 24u);
  EXPECT_EQ(same[0].Rect, same[23].Rect);
  EXPECT_EQ(same.back().Brush.Color, clGreen);
  EXPECT_EQ(d.color("+ 40"), RGB(255, 194, 80));
  EXPECT_EQ(d.pos("肝 經【木】"), QPoint(353, 2));
  EXPECT_EQ(d.title, "經絡虛實分析圖-雷達");
}

TEST(Charts, ConductanceMarksStandOnTheAbsoluteScale) {
  TAnalysisResult a = analysis49();
  TPointValues comp{};
  comp[kPointOrder[1]] = 49;
  comp[kPointOrder[2]] = 180;  // above the top: not clamped
  a.Deviation[kPointOrder[2]] = 131;
  const Drawn d = draw(ChartType::Ryodoraku, a, comp);
  const auto marks = d.rects(TBrushStyle::bsSolid);
  ASSERT_EQ(marks.size(), 27u);  // legend first, then 24
  EXPECT_EQ(marks[3].Rect, (TRect{53, 242, 79, 247}));
  EXPECT_EQ(marks[3].Brush.Color, clGreen);
  EXPECT_EQ(marks[4].Rect.Top, -22);
  EXPECT_EQ(marks[4].Brush.Color, clRed);
  EXPECT_EQ(ys(d.lines(clRed, TPenStyle::psDot)), (std::vector<int>{202, 284}));
  EXPECT_EQ(ys(d.lines(clOlive, TPenStyle::psDot)), (std::vector<int>{221, 265}));
  EXPECT_EQ(d.pos("160"), QPoint(2, 343 - 323 - 6));
  EXPECT_EQ(ChartMeridianLabels[12], " 胃  經");
}

TEST(Charts, AutonomicSumsAroundThreeAverages) {
  TAnalysisResult a = analysis49();
  a.GroupSum = {0, 157, 137, 147, 147, 147, 147, 147, 147};
  a.GroupMax = 157;
  a.GroupMin = 137;
  const Drawn d = draw(ChartType::Autonomic, a);
  const auto marks = d.rects(TBrushStyle::bsSolid);
  ASSERT_EQ(marks.size(), 8u);
  EXPECT_EQ(marks[0].Rect.Top, 177 - 4);
  EXPECT_EQ(marks[1].Rect.Top, 216 - 4);
  EXPECT_EQ(marks[2].Rect.Top, 196 - 4);
  EXPECT_EQ(marks[0].Rect.Left, 50 + 44 - 4);
  const QString ratio = "Max [ 157.0] / Min [ 137.0] =   1.146   Range  [1.0 ~ 1.5]";
  EXPECT_EQ(d.pos(ratio), QPoint(434, 0));
  EXPECT_EQ(d.color(ratio), clRed);
  EXPECT_EQ(ys(d.lines(clRed, TPenStyle::psDot)), (std::vector<int>{177, 216}));
  EXPECT_EQ(d.pos("  147.0"), QPoint(0, 189));

  // Drawn before the summary: a minimum of 0 counts as 1.0 in the text, ratio and line.
  a.GroupMin = 0;
  const Drawn zero = draw(ChartType::Autonomic, a);
  EXPECT_TRUE(zero.text("Max [ 157.0] / Min [   1.0] =  157.000   Range  [1.0 ~ 1.5]"));
  EXPECT_EQ(ys(zero.lines(clRed, TPenStyle::psDot))[1], 196 + 287);
}

TEST(Charts, KindsTitlesAndFrames) {
  for (ChartType kind : {ChartType::None, ChartType(3), ChartType(4), ChartType(10)}) {
    EXPECT_FALSE(IsChartKind(kind)) << int(kind);
    EXPECT_TRUE(draw(kind, analysis49()).canvas.Entries.isEmpty()) << int(kind);
    EXPECT_EQ(ChartStatusText(kind), "") << int(kind);
  }
  EXPECT_EQ(ChartStatusText(ChartType::Autonomic), "本圖為比較身體三陰三陽氣血平衡狀態.");
  // A frame lower down moves every y and nothing else.
  RecordingCanvas shifted;
  DrawBarChart(shifted, TChartFrame{50, 707, 393, 100}, analysis49());
  const Drawn plain = draw(ChartType::Bar, analysis49());
  ASSERT_EQ(shifted.Entries.size(), plain.canvas.Entries.size());
  for (int i = 0; i < shifted.Entries.size(); ++i) {
    if (shifted.Entries[i].Points.isEmpty()) continue;
    EXPECT_EQ(shifted.Entries[i].Points[0], plain.canvas.Entries[i].Points[0] + QPoint(0, 100));
  }
}

}  // namespace
