// Every chart drawn by the chart surface on real pixels: the PNGs are left in test-output, and
// pixels away from the texts are probed (axis, band line, hatch, markers, nodes, rings).

#include <gtest/gtest.h>

#include <QImage>

#include "UiChecks.h"
#include "measure/Charts.h"
#include "measure/ui/ChartView.h"
#include "support/TestSupport.h"

using namespace ruto;

namespace {

// Average 49 (4 pixels per unit on the meridian charts), a few deviations per band.
struct Fixture {
  TAnalysisResult a;
  TPointValues comp{};
  Fixture() {
    for (int p = 1; p <= 24; ++p) comp[p] = 49;
    comp[1] = 64.375;  // bar 1: deviation 15.375, acceptable
    comp[7] = 19;      // bar 2: deviation -30, poor
    comp[3] = 97;      // +48
    ComputeMeridianStatistics(a, comp);
    a.Average = 49;  // the other points pull the mean; the charts read the figure given
    for (int p = 1; p <= 24; ++p) a.Deviation[p] = comp[p] - 49;
    const double k = (49 - 10) * 0.0084375 + 0.6625;
    a.AcceptLimitHigh = 21 * k;
    a.NormalLimitHigh = 11.5 * k;
    a.NormalLimitLow = 10.5 * k;
    a.AcceptLimitLow = 20 * k;
  }
};

QImage render(ChartType kind, const Fixture& f) {
  ViewState.ChartKind = kind;
  TChartView view;
  view.setSource(&f.a, &f.comp);
  const QImage image = view.grab().toImage();
  view.setSource(nullptr, nullptr);
  return image;
}

// True when any pixel of the row y, x0 <= x < x1, has `color`.
bool rowHas(const QImage& image, int y, int x0, int x1, TColor color) {
  return ruto::test::countColor(image, color, QRect(x0, y, x1 - x0, 1)) > 0;
}

// Smoothed text has few pixels of the pure colour: count the clearly red ones.
int reddish(const QImage& image, int x0, int y0, int x1, int y1) {
  const auto red = [](QColor c) { return c.red() > 180 && c.green() < 120 && c.blue() < 120; };
  return ruto::test::countPixels(image, red, QRect(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1)));
}

TEST(ChartView, EveryChartOnPixels) {
  const Fixture f;
  const ChartType kinds[] = {ChartType::Bar,         ChartType::Curve, ChartType::Generating,
                             ChartType::Controlling, ChartType::Radar, ChartType::Ryodoraku,
                             ChartType::Autonomic};
  const char* names[] = {"bar",   "curve",       "generating", "controlling",
                         "radar", "conductance", "autonomic"};
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(names[i]);
    const QImage image = render(kinds[i], f);
    ruto::test::savePng(image, QString("chart-%1").arg(names[i]));
    ASSERT_EQ(image.size(), QSize(757, 393));
    EXPECT_EQ(ruto::test::at(image, 745, 300), clBtnFace) << "button face behind the chart";
    if (kinds[i] == ChartType::Radar) continue;
    EXPECT_EQ(ruto::test::at(image, 50, 100), clBlack) << "axis";
  }

  const QImage bar = render(ChartType::Bar, f);
  EXPECT_TRUE(rowHas(bar, 113, 100, 140, clRed)) << "upper red band line";
  EXPECT_TRUE(rowHas(bar, 150, 100, 140, clOlive));
  bool hatch = false;  // bar 1, from y 134 to the centre line, yellow backward diagonals
  for (int y = 140; y < 190 && !hatch; ++y) hatch = rowHas(bar, y, 52, 77, clYellow);
  EXPECT_TRUE(hatch);
  EXPECT_EQ(ruto::test::at(bar, 60, 170), clBtnFace) << "hatch gaps stay open";

  const QImage curve = render(ChartType::Curve, f);
  EXPECT_EQ(ruto::test::at(curve, 64, 134), clYellow) << "marker of position 1";
  EXPECT_EQ(ruto::test::at(curve, 93, 316), clRed) << "marker of position 2 (point 7)";

  // Metal (points 1 and 7: 15.375 - 30): E -8.125 at y 204, the fifth node.
  EXPECT_EQ(ruto::test::at(render(ChartType::Generating, f), 584, 207), clGreen);
  EXPECT_EQ(ruto::test::at(render(ChartType::Controlling, f), 113, 207), clRed) << "metal first";

  const QImage radar = render(ChartType::Radar, f);
  // Both liver points on the zero ring of the top spoke: the left point's green mark on top.
  EXPECT_EQ(ruto::test::at(radar, 378, 107), clGreen) << "liver's left mark";
  EXPECT_EQ(ruto::test::at(radar, 378, 196), clBlack) << "centre";

  const QImage conductance = render(ChartType::Ryodoraku, f);
  EXPECT_EQ(ruto::test::at(conductance, 65, 214), clYellow) << "position 1 at 64.4";
  EXPECT_EQ(ruto::test::at(conductance, 95, 305), clRed) << "position 2 (point 7) at 19";
  EXPECT_EQ(ruto::test::at(conductance, 150, 200), clBtnFace);
  const QImage autonomic = render(ChartType::Autonomic, f);
  EXPECT_GT(reddish(autonomic, 434, 0, 757, 14), 50) << "ratio text";
  EXPECT_EQ(reddish(autonomic, 434, 20, 757, 40), 0);
}

TEST(ChartView, OtherKindsLeaveTheButtonFace) {
  const Fixture f;
  const QImage image = render(ChartType::None, f);
  EXPECT_EQ(image.pixelColor(50, 100), toQColor(clBtnFace));
  EXPECT_EQ(image.pixelColor(378, 196), toQColor(clBtnFace));
}

}  // namespace
