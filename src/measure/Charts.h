#pragma once
// The seven analysis charts, each drawn from a finished analysis onto any Canvas inside a frame
// (margin, width, height, y offset), so the analysis window draws them in pixels and the printed
// report again in printer dots. Every routine repaints its whole chart, fills the two label
// arrays with its own texts and returns its title; it keeps nothing between calls.

#include <QString>
#include <array>

#include "app/SharedRecords.h"
#include "base/Canvas.h"
#include "measure/Analysis.h"

namespace ruto {

// How a chart is printed: the printer's resolution, the report's line step and colour choice.
// Printed charts use millimetre pens, label their columns inside the box, right-align their
// scale labels left of the axis, draw hatching on white at a millimetre pitch, and scale the
// screen's pixel sizes (markers, triangles, offsets) by the resolution.
struct TChartPrint {
  int Dpi = 96;
  int LineHeight = 0;  // the report's line step; the legends stand one step above the box
  bool Color = true;   // false: every colour black (conductance marks excepted)
  int mm(double x) const;
  // A screen size in pixels, in printer dots.
  int px(double pixels) const;
  TColor color(TColor c) const { return Color ? c : clBlack; }
  int solidWidth() const { return mm(1) / 5; }
  int dottedWidth() const { return mm(1) / 8; }
  int bandWidth() const { return mm(1) / 7; }
};

// Where a chart stands: M is the x of the vertical axis, W the width right of it, H the height,
// Y the y of the chart's top. Texts left of the axis start at M - 50. The radar chart spans
// M - 50 .. M + W, the conductance chart keeps its bottom 50 units for labels (8 mm printed).
// With Print set the chart is drawn in its printed form (the radar chart has none).
struct TChartFrame {
  int M = 50;
  int W = 0;
  int H = 0;
  int Y = 0;
  const TChartPrint* Print = nullptr;
};

// The frame of a paint box of `width` by `height` pixels.
TChartFrame ScreenChartFrame(int width, int height);

// Column labels of the last chart drawn, entries 1..12 (entry 0 unused).
inline std::array<QString, 13> ChartMeridianLabels;
inline std::array<QString, 13> ChartElementLabels;

QString DrawBarChart(Canvas& c, const TChartFrame& f, const TAnalysisResult& a);
QString DrawCurveChart(Canvas& c, const TChartFrame& f, const TAnalysisResult& a);
QString DrawGeneratingChart(Canvas& c, const TChartFrame& f, const TAnalysisResult& a);
QString DrawControllingChart(Canvas& c, const TChartFrame& f, const TAnalysisResult& a);
QString DrawRadarChart(Canvas& c, const TChartFrame& f, const TAnalysisResult& a);
QString DrawRyodorakuChart(Canvas& c, const TChartFrame& f, const TAnalysisResult& a,
                           const TPointValues& compValues);
QString DrawAutonomicChart(Canvas& c, const TChartFrame& f, const TAnalysisResult& a);

// The chart of `kind`; any other kind draws nothing and gives an empty title.
QString DrawChart(ChartType kind, Canvas& c, const TChartFrame& f, const TAnalysisResult& a,
                  const TPointValues& compValues);

// True for the seven kinds that have a chart.
bool IsChartKind(ChartType kind);
QString ChartTitle(ChartType kind);
// The analysis window's status text while the chart of `kind` is shown.
QString ChartStatusText(ChartType kind);

// Printed column labels of the meridian charts and the report's table, columns 1..12.
QString PrintedMeridianLabel(int column);
QString PrintedElementLabel(int column);

// Colour of a deviation's band: green normal, yellow acceptable, red poor.
TColor BandColor(const TAnalysisResult& a, double d);

}  // namespace ruto
