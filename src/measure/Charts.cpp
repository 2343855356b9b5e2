#include "measure/Charts.h"

#include <QVector>
#include <algorithm>
#include <cmath>

#include "base/Numbers.h"

namespace ruto {

namespace {

int rnd(double x) { return nearInt(x); }

constexpr TColor kOrange = RGB(255, 194, 80);

// Draws in frame coordinates: every y is moved down by the frame's top. A printed frame maps
// colours through the report's colour choice and pens to its millimetre widths.
class Plot {
 public:
  Plot(Canvas& canvas, const TChartFrame& f)
      : c_(canvas), dy_(f.Y), pr_(f.Print), pitch_(canvas.HatchPitch), hatch_(canvas.HatchWidth) {
    if (pr_) {
      c_.HatchPitch = std::max(1, pr_->mm(1));
      c_.HatchWidth = pr_->dottedWidth();
    }
  }
  ~Plot() {
    c_.HatchPitch = pitch_;
    c_.HatchWidth = hatch_;
  }
  Plot(const Plot&) = delete;
  Plot& operator=(const Plot&) = delete;

  const TChartPrint* print() const { return pr_; }
  TColor col(TColor c) const { return pr_ ? pr_->color(c) : c; }
  int mm(double x) const { return pr_ ? pr_->mm(x) : rnd(x * 96 / 25.4); }
  int px(double pixels) const { return pr_ ? pr_->px(pixels) : rnd(pixels); }

  void pen(TColor color, int width = 1, TPenStyle style = TPenStyle::psSolid) {
    if (pr_) width = style == TPenStyle::psDot ? pr_->dottedWidth() : pr_->solidWidth();
    c_.Pen = TPen{col(color), width, style};
  }
  void dotted(TColor color) { pen(color, 1, TPenStyle::psDot); }
  // The dotted lines of the bands, a little wider than the grid when printed.
  void bandPen(TColor color) {
    if (pr_)
      c_.Pen = TPen{col(color), pr_->bandWidth(), TPenStyle::psDot};
    else
      dotted(color);
  }
  void noPen() { c_.Pen.Style = TPenStyle::psClear; }
  void brush(TColor color, TBrushStyle style = TBrushStyle::bsSolid) {
    c_.Brush = TBrush{col(color), style};
  }
  // A colour that stays a colour in monochrome printing.
  void rawBrush(TColor color) { c_.Brush = TBrush{color, TBrushStyle::bsSolid}; }
  void noBrush() { c_.Brush.Style = TBrushStyle::bsClear; }
  void font(TColor color) { c_.Font.Color = col(color); }
  int textWidth(const QString& s) { return c_.TextWidth(s); }

  void moveTo(int x, int y) { c_.MoveTo(x, y + dy_); }
  void lineTo(int x, int y) { c_.LineTo(x, y + dy_); }
  void line(int x1, int y1, int x2, int y2) {
    moveTo(x1, y1);
    lineTo(x2, y2);
  }
  // Corners in any order, as the drawing code gives them.
  void rect(int x1, int y1, int x2, int y2) { c_.Rectangle(box(x1, y1, x2, y2)); }
  void fill(int x1, int y1, int x2, int y2) { c_.FillRect(box(x1, y1, x2, y2)); }
  void ellipse(int x1, int y1, int x2, int y2) { c_.Ellipse(TRect{x1, y1 + dy_, x2, y2 + dy_}); }
  void polygon(QVector<QPoint> points) {
    for (QPoint& p : points) p.ry() += dy_;
    c_.Polygon(points);
  }
  void text(int x, int y, const QString& s) { c_.TextOut(x, y + dy_, s); }
  // A label that belongs to the line at y, left of the axis at m: on the screen at
  // (screenX, y - up); printed right-aligned to 3 mm left of the axis, 2 mm above the line.
  void sideLabel(int m, int screenX, int y, int up, const QString& s) {
    if (pr_)
      text(m - pr_->mm(3) - textWidth(s), y - pr_->mm(2), s);
    else
      text(screenX, y - up, s);
  }

 private:
  TRect box(int x1, int y1, int x2, int y2) const {
    return TRect{std::min(x1, x2), std::min(y1, y2) + dy_, std::max(x1, x2),
                 std::max(y1, y2) + dy_};
  }

  Canvas& c_;
  int dy_;
  const TChartPrint* pr_;
  int pitch_, hatch_;
};

const std::array<QString, 13> kMeridianColumnLabels = {
    QString(), " 肺  經", "心包經",  " 心  經", "小腸經",  "三焦經", "大腸經",
    " 脾  經", " 肝  經", " 腎  經", "膀胱經",  " 膽  經", " 胃  經"};
const std::array<QString, 13> kElementColumnLabels = {QString(), "  金", "相火", "君火", "君火",
                                                      "相火",    "  金", "  土", "  木", "  水",
                                                      "  水",    "  木", "  土"};

const std::array<QString, 13> kPrintedMeridianLabels = {
    QString(), "肺　經", "心包經", "心　經", "小腸經", "三焦經", "大腸經",
    "脾　經",  "肝　經", "腎　經", "膀胱經", "膽　經", "胃　經"};
const std::array<QString, 13> kPrintedElementLabels = {
    QString(), "金", "相火", "君火", "君火", "相火", "金", "土", "木", "水", "水", "木", "土"};

void useMeridianColumnLabels(bool printed = false) {
  ChartMeridianLabels = printed ? kPrintedMeridianLabels : kMeridianColumnLabels;
  ChartElementLabels = printed ? kPrintedElementLabels : kElementColumnLabels;
}

// Band class of a deviation: 0 normal, 1 acceptable, 2 poor.
int bandOf(const TAnalysisResult& a, double d) { return std::abs(ClassifyDeviation(a, d)); }

constexpr std::array<TColor, 3> kBandColors = {clGreen, clYellow, clRed};
constexpr std::array<TBrushStyle, 3> kBandHatches = {
    TBrushStyle::bsDiagCross, TBrushStyle::bsBDiagonal, TBrushStyle::bsFDiagonal};
const std::array<QString, 3> kBandNames = {"正常", "尚可", "不良"};
constexpr std::array<int, 3> kLegendSlots = {15, 18, 21};
// On paper yellow hardly shows: the acceptable band of the meridian charts is olive there.
constexpr std::array<TColor, 3> kPrintedBandColors = {clGreen, clOlive, clRed};
constexpr std::array<int, 3> kPrintedLegendSlots = {14, 18, 22};

// Printed column labels of the bar, curve and conductance charts: inside the box of height
// `boxH`, each centred in its column, and the side texts below the box.
void printColumnLabels(Plot& g, int M, int W, int boxH) {
  g.noBrush();
  for (int j = 1; j <= 12; ++j) {
    const auto centred = [&](const QString& s) {
      return M + rnd(W / 12.0 * (j - 1) + W / 24.0 - g.textWidth(s) / 2.0);
    };
    g.font(clGreen);
    g.text(centred(ChartMeridianLabels[j]), boxH - g.mm(7), ChartMeridianLabels[j]);
    g.font(clBlue);
    g.text(centred(ChartElementLabels[j]), boxH - g.mm(3), ChartElementLabels[j]);
  }
  const auto columnStart = [&](int j) { return M + rnd(W / 12.0 * (j - 1)); };
  g.font(clRed);
  g.text(columnStart(1) + g.mm(2), boxH + g.mm(2), "左   右");
  g.text(columnStart(3) + g.mm(6), boxH + g.mm(2), "Hands  手");
  g.text(columnStart(9) + g.mm(8), boxH + g.mm(2), "Feet 足");
}

enum class Swatch { Hatched, Solid, Coloured };

// The printed legend one line above the box: a swatch per band and its name in black. Hatched
// swatches stand on white and, in monochrome, get their hatch inside first so that the three
// bands stay apart in black; coloured swatches keep their colour in monochrome.
void printLegend(Plot& g, int M, int W, Swatch kind) {
  const TChartPrint& pr = *g.print();
  const int top = -pr.LineHeight;
  for (int b = 0; b < 3; ++b) {
    const int k = kPrintedLegendSlots[b];
    const int x1 = M + rnd(W / 24.0 * k), x2 = M + rnd(pr.mm(7) + W / 24.0 * k);
    const int y1 = top, y2 = top + pr.mm(5);
    if (kind == Swatch::Hatched) {
      g.rawBrush(clWhite);
      g.fill(x1, y1, x2, y2);
      const int inset = pr.mm(0.5);
      if (!pr.Color) {
        g.brush(kPrintedBandColors[b], kBandHatches[b]);
        g.fill(x1 + inset, y1 + inset, x2 - inset, y2 - inset);
      }
      g.pen(clBlack);
      g.brush(kPrintedBandColors[b], kBandHatches[b]);
    } else {
      g.noPen();
      if (kind == Swatch::Coloured)
        g.rawBrush(kBandColors[b]);
      else
        g.brush(kPrintedBandColors[b]);
    }
    g.rect(x1, y1, x2, y2);
    g.noBrush();
    g.font(clBlack);
    g.text(M + rnd(pr.mm(8) + W / 24.0 * k), top + pr.mm(1), kBandNames[b]);
  }
}

// ---- the bar and curve charts ----

enum class MeridianChart { Bar, Curve };

void drawMeridianChart(MeridianChart kind, Canvas& canvas, const TChartFrame& f,
                       const TAnalysisResult& a) {
  Plot g(canvas, f);
  const TChartPrint* pr = f.Print;
  const int M = f.M, W = f.W, H = f.H, ox = f.M - 50;
  const double C = H / 2;
  useMeridianColumnLabels(pr != nullptr);
  const auto& bandColors = pr ? kPrintedBandColors : kBandColors;
  // A test without energy has no scale: the frame is all there is to draw.
  const bool scaled = a.Average > 0;
  const double scale = scaled ? C / a.Average : 0;

  g.pen(clBlack, 3);
  g.line(M, 0, M, H);
  g.line(M, rnd(C), M + W, rnd(C));
  g.noBrush();
  g.font(clNavy);
  g.sideLabel(M, ox, rnd(C), 8, Format("%7.1f", {a.Average}));

  g.pen(clBlack, 2);
  g.line(M + W / 2, H, M + W / 2, H - (H / 10) * 8);

  for (int j = 1; j <= 12; ++j) {
    if (j != 6) {
      g.dotted(clNavy);
      const int x = M + rnd(W / 12.0 * j);
      g.line(x, rnd(C), x, H);
    }
    g.dotted(clGray);
    const int x = M + rnd(W / 24.0) + rnd(W / 12.0 * (j - 1));
    g.line(x, rnd(C), x, H - rnd(H / 10.0));
  }
  g.pen(clBlack);

  if (scaled) {
    const auto yOf = [&](double d) {
      return d >= 0 ? rnd(C - scale * d) : rnd(scale * std::fabs(d) + C);
    };
    for (int i = 1; i <= 24; ++i) {
      const double d = a.Deviation[a.PointOrder[i]];
      const int band = bandOf(a, d);
      int y = yOf(d);
      if (kind == MeridianChart::Bar) {
        if (d >= 0 && y < 5) y = 5;
        if (d < 0 && y > H) y = pr ? H - pr->mm(1) : H - 5;
        const int x1 = M + rnd(W / 24.0 * (i - 1)), x2 = rnd(W / 24.0 * i + M);
        const int y1 = rnd(C);
        if (pr) {
          // The hatch's gaps are white on paper, whatever lies beneath.
          g.rawBrush(clWhite);
          g.fill(x1, y1, x2, y);
          if (!pr->Color) {
            const int inset = pr->mm(0.5);
            g.brush(bandColors[band], kBandHatches[band]);
            g.fill(x1 + inset, std::min(y1, y) + inset, x2 - inset, std::max(y1, y) - inset);
          }
        }
        g.pen(clBlack);
        g.brush(bandColors[band], kBandHatches[band]);
        g.rect(x1, y1, x2, y);
      } else {
        g.noPen();
        g.brush(bandColors[band]);
        if (pr) {
          const int left = rnd(W / 24.0 * (i - 1)) + M;
          g.rect(left + g.px(11), y - g.px(4), left + g.px(19), y + g.px(4));
        } else {
          g.rect(rnd(W / 24.0 * (i - 1)) + M + 11, y - 4, rnd(W / 24.0 * (i - 1) + M + 19), y + 4);
        }
        g.noBrush();
        g.dotted(clBlack);
        const int x = rnd(W / 24.0 * (i - 1)) + M + g.px(15);
        if (i == 1)
          g.moveTo(x, y);
        else
          g.lineTo(x, y);
      }
    }

    const struct {
      TColor color;
      double y;
      QString label;
    } bands[] = {
        {clRed, C - scale * a.AcceptLimitHigh, "+" + Format("%5.1f", {a.AcceptLimitHigh})},
        {clRed, C + scale * a.AcceptLimitLow, "-" + Format("%5.1f", {a.AcceptLimitLow})},
        {clOlive, C - scale * a.NormalLimitHigh, "+" + Format("%5.1f", {a.NormalLimitHigh})},
        {clOlive, C + scale * a.NormalLimitLow, "-" + Format("%5.1f", {a.NormalLimitLow})}};
    for (const auto& b : bands) {
      g.bandPen(b.color);
      g.line(M, rnd(b.y), M + W, rnd(b.y));
    }
    g.noBrush();
    for (const auto& b : bands) {
      g.font(b.color);
      g.sideLabel(M, ox, rnd(b.y), 8, b.label);
    }
  }

  g.pen(clBlack);
  const int tick = pr ? pr->mm(2) : W / 80;
  for (int k = 1; k <= 18; ++k) {
    if (k == 10) continue;
    const int y = rnd(H / 20.0 * k);
    g.line(M, y, M + tick, y);
  }

  if (pr) {
    printColumnLabels(g, M, W, H);
    printLegend(g, M, W, kind == MeridianChart::Bar ? Swatch::Hatched : Swatch::Solid);
    return;
  }

  g.noBrush();
  const auto columnX = [&](int j, double offset) { return M + rnd(W / 12.0 * (j - 1) + offset); };
  for (int j = 1; j <= 12; ++j) {
    g.font(clGreen);
    g.text(columnX(j, 10), H - 46, ChartMeridianLabels[j]);
    g.font(clBlue);
    g.text(columnX(j, 16), H - 30, ChartElementLabels[j]);
  }
  g.font(clRed);
  g.text(columnX(1, 10), H - 15, "左   右");
  g.text(columnX(3, 35), H - 15, "Hands  手");
  g.text(columnX(9, 35), H - 15, "Feet 足");

  for (int b = 0; b < 3; ++b) {
    const int k = kLegendSlots[b];
    if (kind == MeridianChart::Bar) {
      g.pen(clBlack);
      g.brush(kBandColors[b], kBandHatches[b]);
      g.rect(M + rnd(W / 24.0 * k) + 2, 0, M + rnd(W / 24.0 * k + 25), 20);
    } else {
      g.noPen();
      g.brush(kBandColors[b]);
      g.rect(M + rnd(W / 24.0 * k) + 10, 5, M + rnd(W / 24.0 * k + 22), 15);
    }
    g.noBrush();
    g.font(clBlue);
    g.text(M + rnd(W / 24.0 * k + 32), 4, kBandNames[b]);
  }
}

// ---- the five-element charts ----

struct ElementNode {
  std::array<int, 4> points;
  const char* yin;
  const char* yang;
  const char* element;
  // The same labels as printed.
  const char* printedYin;
  const char* printedYang;
  const char* printedElement;
};
const ElementNode kWoodNode = {{14, 20, 17, 23}, " 肝  經", " 膽  經", " 【 木 】",
                               "肝　經",         "膽　經",  "【 木 】"};
const ElementNode kSovereignFireNode = {{3, 9, 4, 10}, " 心  經", "小腸經",  "【君火】",
                                        "心　經",      "小腸經",  "【君火】"};
const ElementNode kMinisterFireNode = {{2, 8, 5, 11}, "心包經", "三焦經",  "【相火】",
                                       "心包經",      "三焦經", "【相火】"};
const ElementNode kEarthNode = {{13, 19, 18, 24}, " 脾  經", " 胃  經", " 【 土 】",
                                "脾　經",         "胃　經",  "【 土 】"};
const ElementNode kMetalNode = {{1, 7, 6, 12}, " 肺  經", "大腸經",  " 【 金 】",
                                "肺　經",      "大腸經",  "【 金 】"};
const ElementNode kWaterNode = {{15, 21, 16, 22}, " 腎  經", "膀胱經",  " 【 水 】",
                                "腎　經",         "膀胱經",  "【 水 】"};

using NodeOrder = std::array<const ElementNode*, 6>;
const NodeOrder kGeneratingOrder = {&kWoodNode,  &kSovereignFireNode, &kMinisterFireNode,
                                    &kEarthNode, &kMetalNode,         &kWaterNode};
const NodeOrder kControllingOrder = {&kMetalNode, &kWoodNode,          &kEarthNode,
                                     &kWaterNode, &kSovereignFireNode, &kMinisterFireNode};

void drawElementChart(const NodeOrder& order, TColor nodeColor, Canvas& canvas,
                      const TChartFrame& f, const TAnalysisResult& a) {
  Plot g(canvas, f);
  const TChartPrint* pr = f.Print;
  const int M = f.M, W = f.W, H = f.H, ox = f.M - 50;
  const double C = H / 2;

  std::array<double, 7> E{};
  ChartMeridianLabels.fill(QString());
  ChartElementLabels.fill(QString());
  for (int n = 1; n <= 6; ++n) {
    const ElementNode& node = *order[n - 1];
    double sum = 0;
    for (int p : node.points) sum += a.Deviation[p];
    E[n] = sum / 1.8;
    ChartMeridianLabels[n] = QString::fromUtf8(pr ? node.printedYin : node.yin);
    ChartMeridianLabels[n + 6] = QString::fromUtf8(pr ? node.printedYang : node.yang);
    ChartElementLabels[n] = QString::fromUtf8(pr ? node.printedElement : node.element);
  }
  const auto X = [&](int n) { return M - rnd(W / 12.0) + rnd(W / 6.0 * n); };
  const auto columnLines = [&] {
    g.dotted(clGray);
    for (int n = 1; n <= 6; ++n) g.line(X(n), H / 20, X(n), H - 2 * (H / 20));
  };

  g.pen(clBlack, 3);
  g.line(M, 0, M, H);
  g.line(M, rnd(C), M + W, rnd(C));
  g.noBrush();
  g.font(clRed);
  g.sideLabel(M, ox, rnd(C), 8, Format("%7.1f", {0.0}));

  columnLines();
  g.pen(clBlack);
  const double warnYellow = a.NormalLimitHigh + a.NormalLimitLow;
  const double warnRed = a.AcceptLimitHigh + a.AcceptLimitLow;
  for (int n = 1; n <= 6; ++n) {
    const int y = rnd(C - H / 400.0 * E[n]);
    g.noPen();
    g.brush(nodeColor);
    if (pr)
      g.rect(X(n) - g.px(6), y - g.px(6), X(n) + g.px(6), y + g.px(6));
    else
      g.rect(M - rnd(W / 12.0) + rnd(W / 6.0 * n - 6), y - 6,
             M - rnd(W / 12.0) + rnd(W / 6.0 * n + 6), y + 6);
    g.noBrush();
    g.pen(clNavy, 1, TPenStyle::psDot);
    if (n == 1)
      g.moveTo(X(n), y);
    else
      g.lineTo(X(n), y);
    const double magnitude = std::fabs(E[n]);
    if (magnitude >= warnYellow) {
      g.noPen();
      g.brush(magnitude >= warnRed ? clRed : clYellow);
      g.polygon({QPoint(X(n) + g.px(8), g.px(17)), QPoint(X(n), g.px(1)),
                 QPoint(X(n) - g.px(8), g.px(17))});
    }
  }

  g.noBrush();
  const struct {
    TColor color;
    double y;
  } bands[] = {{clRed, C - H / 200.0 * a.AcceptLimitHigh},
               {clRed, C + H / 200.0 * a.AcceptLimitLow},
               {clOlive, C - H / 200.0 * a.NormalLimitHigh},
               {clOlive, C + H / 200.0 * a.NormalLimitLow}};
  for (const auto& b : bands) {
    g.bandPen(b.color);
    g.line(M, rnd(b.y), M + W, rnd(b.y));
  }

  g.pen(clBlack);
  g.font(clBlack);
  for (int k = 1; k <= 19; ++k) {
    if (k == 10) continue;
    const int y = rnd(H / 20.0 * k);
    g.line(M, y, M + W / 80, y);
    const QString label =
        k <= 9 ? "+" + Format("%4d", {100 - 10 * k}) : "-" + Format("%4d", {10 * k - 100});
    if (pr)
      g.sideLabel(M, ox + 5, y, 8, label);
    else
      g.text(ox + 5, rnd(H / 20.0 * k - 8), label);
  }

  g.noBrush();
  for (int n = 1; n <= 6; ++n) {
    if (pr) {
      // On paper the labels stand inside the box, centred on their node's column.
      const auto centred = [&](const QString& s) { return X(n) - rnd(g.textWidth(s) / 2.0); };
      g.font(clRed);
      g.text(centred(ChartMeridianLabels[n]), H - pr->mm(12), ChartMeridianLabels[n]);
      g.font(clGreen);
      g.text(centred(ChartMeridianLabels[n + 6]), H - pr->mm(8), ChartMeridianLabels[n + 6]);
      g.font(clBlue);
      g.text(centred(ChartElementLabels[n]), H - pr->mm(4), ChartElementLabels[n]);
      continue;
    }
    g.font(clMaroon);
    g.text(X(n) - 20, H - 50, ChartMeridianLabels[n]);
    g.text(X(n) - 20, H - 34, ChartMeridianLabels[n + 6]);
    g.font(clBlue);
    g.text(X(n) - 28, H - 16, ChartElementLabels[n]);
  }
  columnLines();
}

}  // namespace

TChartFrame ScreenChartFrame(int width, int height) {
  return TChartFrame{50, width - 50, height, 0};
}

int TChartPrint::mm(double x) const { return rnd(x * Dpi / 25.4); }
int TChartPrint::px(double pixels) const { return rnd(pixels * Dpi / 96.0); }

QString PrintedMeridianLabel(int column) {
  return column >= 1 && column <= 12 ? kPrintedMeridianLabels[column] : QString();
}
QString PrintedElementLabel(int column) {
  return column >= 1 && column <= 12 ? kPrintedElementLabels[column] : QString();
}

TColor BandColor(const TAnalysisResult& a, double d) { return kBandColors[bandOf(a, d)]; }

QString DrawBarChart(Canvas& c, const TChartFrame& f, const TAnalysisResult& a) {
  drawMeridianChart(MeridianChart::Bar, c, f, a);
  return ChartTitle(ChartType::Bar);
}

QString DrawCurveChart(Canvas& c, const TChartFrame& f, const TAnalysisResult& a) {
  drawMeridianChart(MeridianChart::Curve, c, f, a);
  return ChartTitle(ChartType::Curve);
}

QString DrawGeneratingChart(Canvas& c, const TChartFrame& f, const TAnalysisResult& a) {
  drawElementChart(kGeneratingOrder, clGreen, c, f, a);
  return ChartTitle(ChartType::Generating);
}

QString DrawControllingChart(Canvas& c, const TChartFrame& f, const TAnalysisResult& a) {
  drawElementChart(kControllingOrder, clRed, c, f, a);
  return ChartTitle(ChartType::Controlling);
}

QString DrawRadarChart(Canvas& canvas, const TChartFrame& f, const TAnalysisResult& a) {
  Plot g(canvas, TChartFrame{f.M, f.W, f.H, f.Y});
  const int ox = f.M - 50;
  const double W = f.W + 50, H = f.H;
  const double cx = W / 2, cy = H / 2;
  const auto X = [&](double x) { return ox + rnd(x); };

  // Spoke ends (unrounded), the meridian column on the spoke, its label and where it stands.
  struct Spoke {
    double x, y;
    int meridian;
    const char* label;
    double labelX;
    double labelY;
  };
  const Spoke spokes[] = {
      {W / 2, 15, 8, "肝 經【木】", rnd(W / 2) - 25.0, 2},
      {W / 2, H - 15, 11, "膽 經【木】", rnd(W / 2) - 25.0, H - 14},
      {W / 4, H / 2, 12, "胃 經【土】", rnd(W / 4) - 70.0, rnd(H / 2) - 5.0},
      {3 * W / 4, H / 2, 7, "脾 經【土】", rnd(3 * W / 4) + 5.0, rnd(H / 2) - 5.0},
      {3 * W / 8, 15, 10, "膀胱經【水】", rnd(3 * W / 8) - 75.0, 4},
      {5 * W / 8, H - 15, 9, "腎 經【水】", rnd(5 * W / 8) + 5.0, H - 14},
      {W / 4, H / 4, 6, "大腸經【金】", rnd(W / 4) - 75.0, rnd(H / 4) - 10.0},
      {3 * W / 4, 3 * H / 4, 1, "肺 經【金】", rnd(3 * W / 4) + 5.0, double(rnd(3 * H / 4 - 5))},
      {5 * W / 8, 15, 2, "心包經【相火】", double(rnd(5 * W / 8 + 5)), 4},
      {3 * W / 8, H - 15, 5, "三焦經【相火】", double(rnd(3 * W / 8 - 70)), H - 14},
      {3 * W / 4, H / 4, 3, "心 經【君火】", rnd(3 * W / 4) + 5.0, rnd(H / 4) - 10.0},
      {W / 4, 3 * H / 4, 4, "小腸經【君火】", rnd(W / 4) - 80.0, H - rnd(H / 4) - 5.0},
  };
  ChartMeridianLabels.fill(QString());
  ChartElementLabels.fill(QString());
  for (size_t i = 0; i < std::size(spokes); ++i) {
    const QString label = QString::fromUtf8(spokes[i].label);
    const qsizetype bracket = label.indexOf(QStringLiteral("【"));
    ChartMeridianLabels[i + 1] = label.left(bracket);
    ChartElementLabels[i + 1] = label.mid(bracket);
  }

  g.pen(clBlack, 2);
  g.line(X(W / 2), 15, X(W / 2), rnd(H - 15));
  g.line(X(W / 4), rnd(H / 2), X(3 * W / 4), rnd(H / 2));
  g.pen(clBlack, 1);
  g.line(X(3 * W / 8), 15, X(5 * W / 8), rnd(H - 15));
  g.line(X(W / 4), rnd(H / 4), X(3 * W / 4), rnd(3 * H / 4));
  g.line(X(5 * W / 8), 15, X(3 * W / 8), rnd(H - 15));
  g.line(X(3 * W / 4), rnd(H / 4), X(W / 4), rnd(H - rnd(H / 4)));

  g.noBrush();
  g.font(clBlue);
  for (const Spoke& s : spokes)
    g.text(ox + int(s.labelX), int(s.labelY), QString::fromUtf8(s.label));

  const auto ring = [&](double r) {
    g.ellipse(X(W / 2 - r * W / 440), rnd(H / 2 - r * H / 220), X(W / 2 + r * W / 440),
              rnd(H / 2 + r * H / 220));
  };
  g.noBrush();
  g.pen(clBlue, 2);
  ring(50);
  g.pen(clRed, 1);
  ring(50 + a.AcceptLimitHigh);
  ring(50 - a.AcceptLimitLow);
  g.pen(clOlive, 1);
  ring(50 + a.NormalLimitHigh);
  ring(50 - a.NormalLimitLow);

  g.pen(clBlack);
  const int labelX = X(W / 2 + W / 150) + 3;
  for (int i = 1; i <= 10; ++i) {
    if (i != 6) {
      const int y = rnd(H / 22 * i);
      g.line(X(W / 2 - W / 150), y, X(W / 2 + W / 150), y);
    }
    if (i != 5) {
      const int y = rnd(H / 22 * i + H / 2);
      g.line(X(W / 2 - W / 150), y, X(W / 2 + W / 150), y);
    }
    if (i == 1) continue;
    if (i <= 5) {
      g.font(kOrange);
      g.text(labelX, rnd(H / 22 * i - 8), "+" + Format("%3d", {60 - 10 * i}));
      g.text(labelX, rnd(H / 22 * (i - 1) + H / 2 - 8), " -" + Format("%3d", {60 - 10 * i}));
    } else if (i == 6) {
      g.font(clNavy);
      g.text(labelX, rnd(H / 22 * 6 - 8), Format("%8.1f", {a.Average}));
      g.text(labelX, rnd(H / 22 * 5 + H / 2 - 5), Format("%8.1f", {a.Average}));
    } else {
      g.font(kOrange);
      g.text(labelX, rnd(H / 22 * i - 8), " -" + Format("%3d", {10 * i - 60}));
      g.text(labelX, rnd(H / 22 * (i - 1) + H / 2 - 8), "+" + Format("%3d", {10 * i - 60}));
    }
  }

  // Each meridian's two points on its spoke, at radius 50 + deviation units: where the ring of
  // that radius meets the ray from the centre towards the spoke's end. Left point green, right
  // point blue; a radius below 0 stays at the centre.
  g.noPen();
  const auto mark = [&](const Spoke& s, int point, TColor color) {
    const double dx = s.x - cx, dy = s.y - cy;
    const double reach = std::hypot(dx * 440 / W, dy * 220 / H);  // radius units to the end
    const double r = std::max(0.0, 50 + a.Deviation[point]);
    const double t = reach > 0 ? r / reach : 0;
    const int x = X(cx + t * dx), y = rnd(cy + t * dy);
    g.brush(color);
    g.rect(x - 4, y - 4, x + 4, y + 4);
  };
  // Blue marks first and the top spoke's green mark (the liver's left point) last: equal
  // deviations put two marks of a spoke on one place, and marks near the centre meet.
  for (const Spoke& s : spokes) mark(s, RightPointOf(s.meridian), clBlue);
  for (size_t i = std::size(spokes); i-- > 0;)
    mark(spokes[i], LeftPointOf(spokes[i].meridian), clGreen);
  return ChartTitle(ChartType::Radar);
}

QString DrawRyodorakuChart(Canvas& canvas, const TChartFrame& f, const TAnalysisResult& a,
                           const TPointValues& compValues) {
  Plot g(canvas, f);
  const TChartPrint* pr = f.Print;
  const int M = f.M, W = f.W, H = f.H - (pr ? pr->mm(8) : 50), ox = f.M - 50;
  useMeridianColumnLabels(pr != nullptr);

  g.pen(clBlack, 3);
  g.noBrush();
  g.line(M, 0, M, H);

  for (int j = 1; j <= 24; ++j) {
    const int x = rnd(W / 24.0 * j) + M;
    if (j % 2 == 1) {
      g.dotted(clGray);
      g.line(x, H / 17, x, H);
    } else {
      if (j == 12)
        g.pen(clGray, 2);
      else
        g.pen(clBlue, 1);
      g.line(x, H / 17 - g.px(10), x, H);
    }
  }

  g.pen(clBlack);
  g.font(clNavy);
  for (int k = 0; k <= 16; ++k) {
    const int y = H - rnd(H / 17.0 * k);
    g.line(M, y, M + W / 80, y);
    g.sideLabel(M, ox + 2, y, 6, Format("%3d", {10 * k}));
  }

  if (pr) {
    printColumnLabels(g, M, W, f.H);
    printLegend(g, M, W, Swatch::Coloured);
  } else {
    const auto columnX = [&](int j, double offset) { return rnd(W / 12.0 * (j - 1) + offset) + M; };
    for (int j = 1; j <= 12; ++j) {
      g.font(clGreen);
      g.text(columnX(j, 11), H + 4, ChartMeridianLabels[j]);
      g.font(clBlue);
      g.text(columnX(j, 18), H + 20, ChartElementLabels[j]);
    }
    g.font(clRed);
    g.text(columnX(1, 11), H + 35, "左   右");
    g.text(columnX(3, 36), H + 35, "Hands  手");
    g.text(columnX(9, 44), H + 35, "Feet 足");

    for (int b = 0; b < 3; ++b) {
      const int k = kLegendSlots[b];
      g.noPen();
      g.brush(kBandColors[b]);
      g.rect(rnd(W / 24.0 * k) + M + 7, 7, rnd(W / 24.0 * k + 25) + M, 13);
      g.noBrush();
      g.font(clBlue);
      g.text(rnd(W / 24.0 * k + 32) + M, 4, kBandNames[b]);
    }
  }

  const double unit = H / 170.0;
  const struct {
    TColor color;
    double value;
  } bands[] = {{clRed, a.Average + a.AcceptLimitHigh},
               {clRed, a.Average - a.AcceptLimitLow},
               {clOlive, a.Average + a.NormalLimitHigh},
               {clOlive, a.Average - a.NormalLimitLow}};
  for (const auto& b : bands) {
    g.bandPen(b.color);
    const int y = rnd(H - b.value * unit);
    g.line(M, y, W + M, y);
  }

  // The level marks keep their colours on a monochrome printer too.
  g.noPen();
  for (int n = 0; n <= 23; ++n) {
    const int p = a.PointOrder[n + 1];
    const int top = H - rnd(unit * compValues[p]);
    g.rawBrush(BandColor(a, a.Deviation[p]));
    if (pr)
      g.rect(rnd(W / 24.0 * n) + M + g.px(3), top - g.px(2), rnd(W / 24.0 * n + W / 24.0) + M,
             top + g.px(3));
    else
      g.rect(rnd(W / 24.0 * n + 3) + M, top - 2, rnd(W / 24.0 * n + W / 24.0) + M, top + 3);
  }
  return ChartTitle(ChartType::Ryodoraku);
}

QString DrawAutonomicChart(Canvas& canvas, const TChartFrame& f, const TAnalysisResult& a) {
  Plot g(canvas, f);
  const int M = f.M, W = f.W, H = f.H, ox = f.M - 50;
  const double expected = 3 * a.Average;
  const double groupMin = AutonomicDivisor(a);

  static const std::array<QString, 9> kSideLabels = {
      QString(), "三  陰", "三  陽", "三  陰", "三  陽", "三  陰", "三  陽", "三  陰", "三  陽"};
  static const std::array<QString, 9> kLimbLabels = {
      QString(), "左  手", "左  手", "右  手", "右  手", "左  腳", "左  腳", "右  腳", "右  腳"};
  ChartMeridianLabels.fill(QString());
  ChartElementLabels.fill(QString());
  for (int i = 1; i <= 8; ++i) {
    ChartMeridianLabels[i] = kSideLabels[i];
    ChartElementLabels[i] = kLimbLabels[i];
  }

  g.pen(clBlack, 3);
  g.line(M, 0, M, H);
  g.pen(clBlack, 2);
  g.line(M, H / 2, W + M, H / 2);

  for (int j = 1; j <= 8; ++j) {
    const int x = rnd(W / 8.0 * j) + M;
    if (j % 2 == 1) {
      g.dotted(clGray);
      g.line(x, H / 17, x, H - g.px(15));
    } else {
      if (j == 4)
        g.pen(clGray, 2);
      else
        g.pen(clBlue, 1);
      g.line(x, H / 17 - g.px(10), x, H);
    }
  }

  g.pen(clBlack);
  g.noBrush();
  for (int k = 0; k <= 19; ++k) {
    const int y = H - rnd(H / 20.0 * k);
    g.line(M, y, M + W / 80, y);
    g.font(clBlack);
    if (k >= 1 && k <= 9) g.sideLabel(M, ox + 2, y, 7, " -" + Format("%3d", {100 - 10 * k}));
    if (k >= 11) g.sideLabel(M, ox + 2, y, 7, " +" + Format("%3d", {10 * k - 100}));
    if (k == 10) {
      g.font(clRed);
      g.sideLabel(M, ox, H / 2, 7, Format("%7.1f", {expected}));
    }
  }

  g.font(clRed);
  for (int i = 1; i <= 8; ++i)
    g.text(rnd(W / 16.0 * (2 * i - 1)) + M - g.px(20), H - g.px(45),
           Format("%7.1f", {a.GroupSum[i]}));
  g.font(clGreen);
  for (int m : {1, 5, 9, 13}) g.text(rnd(W / 16.0 * m) + M - g.px(14), H - g.px(30), "三  陰");
  for (int m : {3, 7, 11, 15}) g.text(rnd(W / 16.0 * m) + M - g.px(14), H - g.px(30), "三  陽");
  g.font(clBlue);
  const char* limbs[] = {"左  手", "右  手", "左  腳", "右  腳"};
  for (int m = 1, n = 0; m <= 7; m += 2, ++n)
    g.text(rnd(W / 8.0 * m) + M - g.px(14), H - g.px(15), QString::fromUtf8(limbs[n]));

  g.font(clRed);
  const QString ratio =
      "Max [" + Format("%6.1f", {a.GroupMax}) + "] / Min [" + Format("%6.1f", {groupMin}) +
      "] =  " + Format("%6.3f", {a.GroupMax / groupMin}) + "   Range  [1.0 ~ 1.5]";
  int ratioX = rnd(W / 2.0) + M + g.px(30);
  // The report's type is larger than the screen's: on paper the text ends at the box's edge.
  if (g.print()) ratioX = std::min(ratioX, M + W - g.textWidth(ratio));
  g.text(ratioX, 0, ratio);

  const auto yOf = [&](double sum) { return rnd(H / 2.0 - H / 200.0 * (sum - expected)); };
  for (int i = 1; i <= 8; ++i) {
    const int y = yOf(a.GroupSum[i]);
    const int x = rnd(W / 8.0 * (i - 1) + W / 16.0) + M;
    g.noPen();
    g.brush(clGreen);
    g.rect(x - g.px(4), y - g.px(4), x + g.px(4), y + g.px(4));
    g.noBrush();
    g.dotted(clMaroon);
    if (i == 1)
      g.moveTo(x, y);
    else
      g.lineTo(x, y);
  }

  g.bandPen(clRed);
  for (double limit : {a.GroupMax, groupMin}) g.line(M, yOf(limit), W + M, yOf(limit));
  return ChartTitle(ChartType::Autonomic);
}

QString DrawChart(ChartType kind, Canvas& c, const TChartFrame& f, const TAnalysisResult& a,
                  const TPointValues& compValues) {
  switch (kind) {
    case ChartType::Bar:
      return DrawBarChart(c, f, a);
    case ChartType::Curve:
      return DrawCurveChart(c, f, a);
    case ChartType::Generating:
      return DrawGeneratingChart(c, f, a);
    case ChartType::Controlling:
      return DrawControllingChart(c, f, a);
    case ChartType::Radar:
      return DrawRadarChart(c, f, a);
    case ChartType::Ryodoraku:
      return DrawRyodorakuChart(c, f, a, compValues);
    case ChartType::Autonomic:
      return DrawAutonomicChart(c, f, a);
    default:
      return {};
  }
}

bool IsChartKind(ChartType kind) { return !ChartTitle(kind).isEmpty(); }

QString ChartTitle(ChartType kind) {
  switch (kind) {
    case ChartType::Bar:
      return QStringLiteral("經絡虛實分析圖-長條");
    case ChartType::Curve:
      return QStringLiteral("經絡虛實分析圖-曲線");
    case ChartType::Generating:
      return QStringLiteral("經絡五行相生分析圖");
    case ChartType::Controlling:
      return QStringLiteral("經絡五行相剋分析圖");
    case ChartType::Radar:
      return QStringLiteral("經絡虛實分析圖-雷達");
    case ChartType::Ryodoraku:
      return QStringLiteral("良導絡分析圖");
    case ChartType::Autonomic:
      return QStringLiteral("自律神經平衡圖");
    default:
      return {};
  }
}

QString ChartStatusText(ChartType kind) {
  switch (kind) {
    case ChartType::Bar:
    case ChartType::Curve:
    case ChartType::Ryodoraku:
    case ChartType::Radar:
      return QStringLiteral("【平均體能】為基準中線的數據,每一受測者均不相同.");
    case ChartType::Generating:
      return QStringLiteral("本圖為比較身體十二經絡之五行相生能量狀態.");
    case ChartType::Controlling:
      return QStringLiteral("本圖為比較身體十二經絡之五行相剋能量狀態.");
    case ChartType::Autonomic:
      return QStringLiteral("本圖為比較身體三陰三陽氣血平衡狀態.");
    default:
      return {};
  }
}

}  // namespace ruto
