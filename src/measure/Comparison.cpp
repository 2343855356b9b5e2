#include "measure/Comparison.h"

#include "base/DateTime.h"
#include "base/Numbers.h"
#include "measure/PrintJob.h"

namespace ruto {

const std::array<QString, 13> CmpMeridianNames = {QString(),
                                                  QStringLiteral(" 肺  經"),
                                                  QStringLiteral("心包經"),
                                                  QStringLiteral(" 心  經"),
                                                  QStringLiteral("小腸經"),
                                                  QStringLiteral("三焦經"),
                                                  QStringLiteral("大腸經"),
                                                  QStringLiteral(" 脾  經"),
                                                  QStringLiteral(" 肝  經"),
                                                  QStringLiteral(" 腎  經"),
                                                  QStringLiteral("膀胱經"),
                                                  QStringLiteral(" 膽  經"),
                                                  QStringLiteral(" 胃  經")};
const std::array<QString, 13> CmpElementNames = {QString(),
                                                 QStringLiteral("  金"),
                                                 QStringLiteral("相火"),
                                                 QStringLiteral("君火"),
                                                 QStringLiteral("君火"),
                                                 QStringLiteral("相火"),
                                                 QStringLiteral("  金"),
                                                 QStringLiteral("  土"),
                                                 QStringLiteral("  木"),
                                                 QStringLiteral("  水"),
                                                 QStringLiteral("  水"),
                                                 QStringLiteral("  木"),
                                                 QStringLiteral("  土")};
const std::array<int, 25> CmpPointOrder = {0,  1,  7,  2,  8,  3,  9,  4,  10, 5,  11, 6, 12,
                                           13, 19, 14, 20, 15, 21, 16, 22, 17, 23, 18, 24};

namespace {

constexpr TColor kCurveLine[3] = {0, 0xFF0000, 0x808000};
constexpr TColor kCurveSquare[3] = {0, 0x0000FF, 0xFFFF00};
constexpr TPenStyle kCurveStyle[3] = {TPenStyle::psSolid, TPenStyle::psDash, TPenStyle::psDot};

int n(double v) { return nearInt(v); }

void text(Canvas& c, int x, int y, const QString& s, TColor color) {
  c.Font.Color = color;
  c.Brush.Style = TBrushStyle::bsClear;
  c.TextOut(x, y, s);
}

void line(Canvas& c, int x1, int y1, int x2, int y2) {
  c.MoveTo(x1, y1);
  c.LineTo(x2, y2);
}

void square(Canvas& c, const TRect& r, TColor color) {
  c.Brush.Style = TBrushStyle::bsSolid;
  c.Brush.Color = color;
  c.FillRect(r);
}

const TPointValues& curve(const ComparisonData& d, int k) { return k == 1 ? d.Curve1 : d.Curve2; }

double bandMean(const ComparisonData& d) {
  return d.Band == BandSource::Current ? d.Block1.Mean : d.Block2.Mean;
}

void bandLines(Canvas& c, double mean, int x1, int x2, int top, int height) {
  const BandLevels b = ComparisonBand(mean);
  const struct {
    double level;
    TColor color;
  } lines[] = {
      {b.RedHigh, 0x0000FF}, {b.RedLow, 0x0000FF}, {b.OliveHigh, 0x008080}, {b.OliveLow, 0x008080}};
  for (const auto& l : lines) {
    c.Pen = {l.color, 1, TPenStyle::psDot};
    const int y = top + n(height - height / 180.0 * l.level);
    line(c, x1, y, x2, y);
  }
}

}  // namespace

double RawMean(const TPointValues& values) {
  double sum = 0;
  for (int p = 1; p <= 24; ++p) sum += values[p];
  return sum / 24;
}

BandLevels ComparisonBand(double mean) {
  const double k = (mean - 10) * 0.0084375 + 0.6625;
  return {mean + 21 * k, mean + 11.5 * k, mean - 10.5 * k, mean - 20 * k};
}

QString RangeText(bool highRange) {
  return highRange ? QStringLiteral("高電位") : QStringLiteral("標準電位");
}
TColor RangeColor(bool highRange) { return highRange ? 0x0000FF : 0x008000; }

QString BlockDateText(double voDate) { return voDate == 0 ? QString() : formatOleDate(voDate); }
QString BlockTimeText(double voDate) { return voDate == 0 ? QString() : formatOleTime(voDate); }

void DrawComparisonChart(Canvas& c, int width, int height, const ComparisonData& d) {
  const int W = width - 30, H = height - 30;
  c.Font.Name = QStringLiteral("Tahoma");
  c.Font.Size = 8;
  c.Pen = {clBlack, 3, TPenStyle::psSolid};
  line(c, 30, 0, 30, H);
  for (int i = 1; i <= 12; ++i) {
    c.Pen = {clGray, i == 6 ? 2 : 1, TPenStyle::psDash};
    const int x = n(W / 12.0 * i) + 30;
    line(c, x, H / 18, x, H);
  }
  for (int j = 0; j <= 17; ++j) {
    const int y = H - n(H / 18.0 * j);
    c.Pen = {clBlack, 1, TPenStyle::psSolid};
    line(c, 30, y, W / 80 + 30, y);
    text(c, 2, y - 6, Format(QStringLiteral("%3d"), {static_cast<long long>(j * 10)}), 0x800000);
  }
  for (int i = 1; i <= 12; ++i) {
    text(c, n(W / 12.0 * (i - 1) + 5) + 30, H - 16, CmpMeridianNames[i], 0x008000);
    text(c, n(W / 12.0 * (i - 1) + 12) + 30, H, CmpElementNames[i], 0xFF0000);
  }
  text(c, n(7) + 30, H + 15, QStringLiteral("左   右"), 0x0000FF);
  text(c, n(W / 12.0 * 2 + 24) + 30, H + 15, QStringLiteral("Hands  手"), 0x0000FF);
  text(c, n(W / 12.0 * 8 + 32) + 30, H + 15, QStringLiteral("Feet 足"), 0x0000FF);
  for (int k = 1; k <= d.CurveCount; ++k) {
    const int L = n(W / 7.0 * (k + 2));
    c.Pen = {kCurveLine[k], 1, kCurveStyle[k]};
    line(c, L + 20, 10, L + 64, 10);
    square(c, {L + 38, 6, L + 46, 15}, kCurveSquare[k]);
    text(c, L, 2, Format(QStringLiteral("%2d"), {static_cast<long long>(k)}) + ':', clBlack);
  }
  for (int k = 1; k <= d.CurveCount; ++k) {
    const TPointValues& v = curve(d, k);
    c.Pen = {kCurveLine[k], 1, kCurveStyle[k]};
    for (int i = 0; i < 24; ++i) {
      const double y = H - n(H / 180.0 * v[CmpPointOrder[i + 1]]);
      const int x = n(W / 24.0 * i) + 42;
      if (i == 0)
        c.MoveTo(x, n(y));
      else
        c.LineTo(x, n(y));
    }
    for (int i = 0; i < 24; ++i) {
      const double y = H - n(H / 180.0 * v[CmpPointOrder[i + 1]]);
      const int x = n(W / 24.0 * i);
      const QPoint pen = c.PenPos();
      square(c, {x + 39, n(y - 3), x + 45, n(y + 3)}, kCurveSquare[k]);
      c.MoveTo(pen.x(), pen.y());
    }
  }
}

void DrawComparisonBand(Canvas& c, int width, int height, const ComparisonData& d) {
  if (d.Band == BandSource::Hidden) return;
  const int W = width - 30, H = height - 30;
  bandLines(c, bandMean(d), 30, W + 30, 0, H);
}

QString ComparisonJobTitle() { return QStringLiteral("R.U.T.O 能量比對資料."); }

namespace {

void printFont(Canvas& c, int size, TColor color) {
  c.Font.Name = QStringLiteral("Tahoma");
  c.Font.Size = size;
  c.Font.Color = color;
  c.Font.Style = 0;
  c.Brush.Style = TBrushStyle::bsClear;
}

void printCentred(Canvas& c, const PrintJob& job, const QString& s) {
  c.TextOut(job.page().Width / 2 - c.TextWidth(s) / 2, job.Y, s);
}

void printBlock(Canvas& c, PrintJob& job, int step, const QString& title,
                const ComparisonBlock& b) {
  const auto mm = [&job](double x) { return job.mm(x); };
  printFont(c, 10, 0xFF0000);
  c.TextOut(mm(10), job.Y, title);
  job.Y += step;
  printFont(c, 10, clBlack);
  c.TextOut(mm(10), job.Y, QStringLiteral("編號:  ") + b.CustNo);
  c.TextOut(mm(60), job.Y, QStringLiteral("姓名:  ") + b.Name);
  c.TextOut(mm(115), job.Y, QStringLiteral("體能:  ") + Format(QStringLiteral("%5.2f"), {b.Mean}));
  const QString label = QStringLiteral("測量電位:  ");
  c.TextOut(mm(160), job.Y, label);
  const int rangeX = mm(160) + c.TextWidth(label);
  c.Font.Color = RangeColor(b.HighRange);
  c.TextOut(rangeX, job.Y, RangeText(b.HighRange));
  c.Font.Color = clBlack;
  job.Y += step;
  c.TextOut(mm(10), job.Y, QStringLiteral("測量日期:  ") + BlockDateText(b.VoDate));
  c.TextOut(mm(60), job.Y, QStringLiteral("測量時間:  ") + BlockTimeText(b.VoDate));
  job.Y += step + mm(6);
}

}  // namespace

void AddComparisonPage(PrintJob& job, const ComparisonData& d) {
  auto step = std::make_shared<int>(0);
  job.addStep([d, step](Canvas& c, PrintJob& j) {
    const auto mm = [&j](double x) { return j.mm(x); };
    j.Y = mm(10);
    printFont(c, 10, clBlack);
    *step = mm(1) + c.TextHeight(QStringLiteral("X"));
    printFont(c, 14, clBlack);
    printCentred(c, j, QStringLiteral("R.U.T.O. 能量比對分析報表"));
    j.Y += *step + mm(4);
    printFont(c, 12, 0xFF0000);
    printCentred(c, j, d.UserData1);
    j.Y += *step;
    printCentred(c, j, d.UserData2);
    j.Y += *step + mm(3);
    printFont(c, 10, clBlack);
    c.TextOut(mm(10), j.Y,
              QStringLiteral("列印時間: ") + d.PrintedAt.toString(QStringLiteral("yyyy/MM/dd")) +
                  QStringLiteral(", ") + d.PrintedAt.toString(QStringLiteral("HH:mm:ss")));
    j.Y += *step;
    c.Pen = {clBlack, mm(1) / 5, TPenStyle::psSolid};
    line(c, mm(3), j.Y, j.page().Width, j.Y);
    j.Y += *step;
  });
  job.addStep([d, step](Canvas& c, PrintJob& j) {
    printBlock(c, j, *step, QStringLiteral("1. 原始資料"), d.Block1);
    // Only a test on the chart is shown: one from an earlier visit would mislead.
    printBlock(c, j, *step, QStringLiteral("2. 比對資料"),
               d.CurveCount == 2 ? d.Block2 : ComparisonBlock{});
  });
  job.addStep([d, step](Canvas& c, PrintJob& j) {
    const auto mm = [&j](double x) { return j.mm(x); };
    printFont(c, 10, clBlack);
    printCentred(c, j, QStringLiteral("能量比對圖"));
    j.Y += *step;
    const int X0 = mm(30), Y0 = j.Y, W = mm(150), H = mm(100);
    c.Pen = {clBlack, mm(1) / 3, TPenStyle::psSolid};
    line(c, X0, Y0, X0, Y0 + H);
    for (int i = 1; i <= 12; ++i) {
      c.Pen = {clGray, i == 6 ? mm(1) / 2 : mm(1) / 5, TPenStyle::psDash};
      const int x = X0 + n(W / 12.0 * i);
      line(c, x, Y0 + H / 18, x, Y0 + H);
    }
    for (int jj = 0; jj <= 17; ++jj) {
      const int y = Y0 + H - n(H / 18.0 * jj);
      c.Pen = {clBlack, 1, TPenStyle::psSolid};
      line(c, X0, y, X0 + W / 80, y);
      text(c, X0 - mm(8), y - mm(2),
           Format(QStringLiteral("%3d"), {static_cast<long long>(jj * 10)}), 0x800000);
    }
    for (int i = 1; i <= 12; ++i) {
      const double col = W / 12.0 * (i - 1);
      text(c, X0 + n(mm(1) + col), Y0 + H + mm(4), CmpMeridianNames[i], 0x008000);
      text(c, X0 + n(mm(3) + col), Y0 + H + mm(8), CmpElementNames[i], 0xFF0000);
      if (i == 1)
        text(c, X0 + n(mm(1) + col), Y0 + H + mm(13), QStringLiteral("左   右"), 0x0000FF);
      if (i == 3)
        text(c, X0 + n(mm(8) + col), Y0 + H + mm(13), QStringLiteral("Hands  手"), 0x0000FF);
      if (i == 9)
        text(c, X0 + n(mm(8) + col), Y0 + H + mm(13), QStringLiteral("Feet 足"), 0x0000FF);
    }
    const auto legendX = [W](int k) { return n(W / 7.0 * (k == 1 ? 3 : 6)); };
    for (int k = 1; k <= d.CurveCount; ++k) {
      const int G = legendX(k);
      text(c, G, Y0 - mm(6), Format(QStringLiteral("%2d"), {static_cast<long long>(k)}) + ':',
           clBlack);
      c.Pen = {kCurveLine[k], 1, kCurveStyle[k]};
      line(c, G + mm(10), Y0 - mm(3), G + mm(20), Y0 - mm(3));
      square(c, {G + mm(14), Y0 - mm(4), G + mm(16), Y0 - mm(2)}, kCurveSquare[k]);
    }
    for (int k = 1; k <= d.CurveCount; ++k) {
      const TPointValues& v = curve(d, k);
      c.Pen = {kCurveLine[k], 1, kCurveStyle[k]};
      for (int i = 0; i < 24; ++i) {
        const double y = H - n(H / 180.0 * v[CmpPointOrder[i + 1]]);
        const int x = X0 + mm(4) + n(W / 24.0 * i);
        if (i == 0)
          c.MoveTo(x, Y0 + n(y));
        else
          c.LineTo(x, Y0 + n(y));
      }
      for (int i = 0; i < 24; ++i) {
        const double y = H - n(H / 180.0 * v[CmpPointOrder[i + 1]]);
        const int x = n(W / 24.0 * i);
        square(c, {X0 + mm(3) + x, Y0 + n(y - mm(1)), X0 + mm(5) + x, Y0 + n(y + mm(1))},
               kCurveSquare[k]);
      }
    }
    if (d.Band != BandSource::Hidden) {
      const int G = legendX(d.Band == BandSource::Current ? 1 : 2);
      text(c, G - mm(5), Y0 - mm(6), QStringLiteral("XX"), 0x0000FF);
      bandLines(c, bandMean(d), X0, X0 + W, Y0, H);
    }
  });
}

}  // namespace ruto
