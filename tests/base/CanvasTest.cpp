#include <gtest/gtest.h>

#include "support/TestSupport.h"

#include <QFontMetrics>
#include <QPainter>
#include <vector>

#include "base/Canvas.h"

using namespace ruto;

namespace {

QImage blank(int w, int h, TColor c = clWhite) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(toQRgb(c));
  return img;
}

using ruto::test::at;

}  // namespace

TEST(Canvas, LinesAndRectanglesLeaveOutTheirRightAndBottomEnd) {
  QImage img = blank(20, 20);
  {
    QPainterCanvas c(&img);
    c.Pen.Color = clBlack;
    // x 2..9; nothing; a diagonal with (16,8) left out.
    for (const QLine& line : {QLine(2, 2, 10, 2), QLine(2, 5, 2, 5), QLine(12, 4, 16, 8)}) {
      c.MoveTo(line.x1(), line.y1());
      c.LineTo(line.x2(), line.y2());
    }
    c.Brush.Color = clRed;
    c.Pen.Color = clBlue;
    c.Rectangle({2, 10, 8, 15});  // outline x 2..7, y 10..14
    EXPECT_EQ(c.PenPos(), QPoint(16, 8));
  }
  const ruto::test::Pixels pixels = {
      {2, 2, clBlack},  {9, 2, clBlack}, {10, 2, clWhite}, {2, 5, clWhite},  {15, 7, clBlack},
      {16, 8, clWhite}, {7, 14, clBlue}, {8, 14, clWhite}, {7, 15, clWhite}, {4, 12, clRed}};
  ruto::test::expectPixels(img, pixels);
}

TEST(Canvas, FillRectFrame3DAndClearPenRectangle) {
  QImage img = blank(12, 12);
  {
    QPainterCanvas c(&img);
    c.Brush.Color = clGreen;
    c.FillRect({1, 1, 4, 4});
    c.Frame3D({5, 5, 10, 10}, clWhite - 1, clGray);
    c.Pen.Style = TPenStyle::psClear;
    c.Brush.Color = clRed;
    c.Rectangle({0, 8, 4, 12});  // a clear pen fills one pixel less each way
  }
  // The frame's top-left corner takes the top-left colour, the other two corners the bottom-right
  // one; its inside stays untouched.
  const ruto::test::Pixels pixels = {{3, 3, clGreen},     {4, 4, clWhite}, {5, 5, clWhite - 1},
                                     {8, 5, clWhite - 1}, {9, 5, clGray},  {5, 9, clGray},
                                     {9, 9, clGray},      {7, 7, clWhite}, {2, 10, clRed},
                                     {3, 10, clWhite},    {2, 11, clWhite}};
  ruto::test::expectPixels(img, pixels);
}

TEST(Canvas, TextIsPlacedByItsTopLeftCorner) {
  QImage img = blank(120, 60);
  int w = 0, h = 0;
  {
    QPainterCanvas c(&img);
    c.Font.Size = 14;
    c.Brush.Style = TBrushStyle::bsClear;
    c.TextOut(20, 10, QStringLiteral("HH"));
    w = c.TextWidth(QStringLiteral("HH"));
    h = c.TextHeight(QStringLiteral("HH"));
  }
  const QRect ink = ruto::test::inkBounds(img);
  ASSERT_FALSE(ink.isNull());
  EXPECT_GE(ink.top(), 10);
  EXPECT_LT(ink.top(), 10 + h / 2);  // capital tops sit near the box top, not above it
  EXPECT_GE(ink.left(), 20);
  EXPECT_LT(ink.left(), 20 + w / 4);
  EXPECT_LT(ink.bottom(), 10 + h);
}

TEST(Canvas, RotatedTextRunsDownwardLeftOfItsOrigin) {
  QImage img = blank(60, 120);
  {
    QPainterCanvas c(&img);
    c.Font.Size = 14;
    c.Font.Orientation = 2700;
    c.Brush.Style = TBrushStyle::bsClear;
    c.TextOut(40, 10, QStringLiteral("HHHH"));
  }
  const QRect ink = ruto::test::inkBounds(img);
  ASSERT_FALSE(ink.isNull());
  EXPECT_LE(ink.right(), 40);
  EXPECT_GE(ink.top(), 10);
  EXPECT_GT(ink.height(), ink.width());  // taller than wide
}

TEST(Canvas, HatchingFollowsThePaintersOriginAndItsPitch) {
  // A surface drawn with its origin moved (a control inside a window, a printed chart on its
  // page) keeps its hatch inside the shape and in step with its own coordinates.
  // Pitch 0 keeps the canvas's own: lines eight pixels apart, one wide.
  const struct { int pitch, width, dx, dy; } cases[] = {{8, 1, 13, 7}, {0, 1, 0, 0}, {6, 2, 5, 3}};
  for (const auto& c : cases) {
    const int pitch = c.pitch ? c.pitch : 8;
    QImage img = blank(64, 64);
    {
      QPainter painter(&img);
      painter.translate(c.dx, c.dy);
      QPainterCanvas canvas(&painter);
      if (c.pitch) canvas.HatchPitch = c.pitch, canvas.HatchWidth = c.width;
      canvas.Brush = TBrush{clBlack, TBrushStyle::bsHorizontal};
      canvas.FillRect({0, 0, 40, 40});
    }
    std::vector<int> rows;
    for (int y = 0; y < 64; ++y)
      if (at(img, c.dx + 20, y) == clBlack) rows.push_back(y - c.dy);
    ASSERT_FALSE(rows.empty());
    EXPECT_GE(rows.front(), 0) << c.dx;
    EXPECT_LT(rows.back(), 40) << c.dx;
    EXPECT_GE(rows.size(), static_cast<size_t>(40 / pitch * c.width)) << c.dx;
    if (!c.pitch) {
      EXPECT_EQ(rows, (std::vector<int>{0, 8, 16, 24, 32}));
    }
    for (int y : rows) EXPECT_LT((y + c.width) % pitch, c.width + 1) << c.dx << " " << y;
    // Nothing outside the rectangle.
    ruto::test::expectPixels(img,
                             {{c.dx + 45, c.dy + 16, clWhite}, {c.dx + 20, c.dy + 41, clWhite}});
  }
}

TEST(Canvas, FloodFillSurfaceStopsAtOtherColoursAndGuardsItsOwnColour) {
  QImage img = blank(10, 10, clSilver);
  QPainter(&img).drawRect(2, 2, 5, 5);  // a black outline at 2 and 7
  EXPECT_EQ(FloodFill(img, 4, 4, clSilver, clRed, TFillStyle::fsSurface), 16);
  ruto::test::expectPixels(img, {{5, 5, clRed}, {0, 0, clSilver}});
  EXPECT_EQ(FloodFill(img, 4, 4, clRed, clRed, TFillStyle::fsSurface), 0);
  EXPECT_EQ(FloodFill(img, -1, 4, clRed, clBlue, TFillStyle::fsSurface), 0);
  // The outside ring reaches round the box: 100 - 36 box pixels.
  EXPECT_EQ(FloodFill(img, 0, 0, clSilver, clBlue, TFillStyle::fsSurface), 64);
  // A border fill from inside repaints everything bounded by black, even its own colour.
  img.setPixel(5, 5, toQRgb(clGreen));
  EXPECT_EQ(FloodFill(img, 4, 4, clBlack, clGreen, TFillStyle::fsBorder), 16);
  ruto::test::expectPixels(img, {{3, 3, clGreen}, {0, 0, clBlue}});
}

TEST(Canvas, PixelsAndFloodFillThroughAnImageCanvas) {
  QImage img = blank(8, 8, clSilver);
  {
    QPainterCanvas c(&img);
    c.Brush.Color = clWhite;
    c.FillRect({0, 0, 8, 1});
    c.SetPixel(3, 3, clRed);
    EXPECT_EQ(c.Pixel(3, 3), clRed);
    EXPECT_EQ(c.Pixel(99, 3), 0xFFFFFFFFu);
    c.Brush.Color = clBlue;
    c.FloodFill(0, 5, clSilver, TFillStyle::fsSurface);
    c.Brush.Color = clGreen;
    c.FillRect({0, 7, 1, 8});  // the painter still works afterwards
  }
  ruto::test::expectPixels(img, {{3, 3, clRed}, {4, 3, clBlue}, {4, 0, clWhite}, {0, 7, clGreen}});
}

TEST(Canvas, RecordingKeepsCallsWithTheirPenBrushAndFont) {
  RecordingCanvas c;
  c.Pen.Color = clRed;
  c.MoveTo(1, 2);
  c.LineTo(5, 2);
  c.Font.Style = fsBold;
  c.Brush.Color = clYellow;
  c.TextRect({0, 0, 50, 20}, 3, 4, QStringLiteral("ab"));
  c.Polygon({{0, 0}, {4, 0}, {2, 3}});
  ASSERT_EQ(c.Entries.size(), 3);
  EXPECT_EQ(c.of("Line")[0].Points, (QVector<QPoint>{{1, 2}, {5, 2}}));
  EXPECT_EQ(c.of("Line")[0].Pen.Color, clRed);
  const auto text = c.of("TextRect")[0];
  EXPECT_EQ(text.Points[0], QPoint(3, 4));
  EXPECT_EQ(text.Font.Style, unsigned(fsBold));
  EXPECT_EQ(text.Brush.Color, clYellow);
  EXPECT_EQ(c.of("Polygon")[0].Points.size(), 3);
  EXPECT_GT(c.TextWidth(QStringLiteral("abc")), c.TextWidth(QStringLiteral("a")));
}

TEST(Canvas, EllipsePolygonAndPolylineStayInsideTheirEnds) {
  QImage img = blank(30, 30);
  {
    QPainterCanvas c(&img);
    c.Pen.Color = clBlack;
    c.Brush.Color = clRed;
    c.Ellipse({0, 0, 10, 10});
    c.Polygon({{15, 2}, {25, 2}, {20, 12}});
    c.Polyline({{2, 20}, {12, 20}, {12, 28}});
    c.Pen.Style = TPenStyle::psClear;
    c.Brush.Color = clBlue;
    c.Ellipse({20, 20, 26, 26});  // fill only
  }
  for (int i = 0; i < 12; ++i) EXPECT_EQ(at(img, 10, i), clWhite) << i;  // right end left out
  // The bottom end is left out too; the polyline's corner is drawn by its second segment.
  const ruto::test::Pixels pixels = {
      {5, 5, clRed},    {0, 0, clWhite},   {5, 10, clWhite},  {5, 9, clBlack},   {20, 5, clRed},
      {15, 2, clBlack}, {12, 20, clBlack}, {12, 27, clBlack}, {12, 28, clWhite}, {23, 23, clBlue}};
  ruto::test::expectPixels(img, pixels);
}
