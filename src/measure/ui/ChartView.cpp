#include "measure/ui/ChartView.h"

#include <QPainter>

#include "base/Canvas.h"
#include "measure/Charts.h"

namespace ruto {

TChartView::TChartView(QWidget* parent)
    : QWidget(parent), analysis_(&Analysis), compValues_(&CurrentTest.CompValues) {
  setObjectName(QStringLiteral("PaintBox1"));
  setFixedSize(kWidth, kHeight);
}

void TChartView::setSource(const TAnalysisResult* analysis, const TPointValues* compValues) {
  analysis_ = analysis ? analysis : &Analysis;
  compValues_ = compValues ? compValues : &CurrentTest.CompValues;
  update();
}

void TChartView::paintEvent(QPaintEvent*) {
  ++paintCount_;
  // Drawn on an image of its own first: the canvas hatches on the pixel grid of the device it
  // paints on, and a widget inside a window would put that grid at the window's origin.
  QImage image(size(), QImage::Format_RGB32);
  {
    QPainterCanvas canvas(&image);
    canvas.Brush = TBrush{clBtnFace, TBrushStyle::bsSolid};
    canvas.FillRect(TRect{0, 0, width(), height()});
    canvas.Font.Name = font().family();
    canvas.Font.Size = 8;
    title_ = DrawChart(ViewState.ChartKind, canvas, ScreenChartFrame(width(), height()), *analysis_,
                       *compValues_);
  }
  QPainter(this).drawImage(0, 0, image);
}

}  // namespace ruto
