#include "measure/ui/ChartView.h"

#include <QPainter>

#include "base/Canvas.h"
#include "measure/Charts.h"

namespace ruto {

TChartView::TChartView(QWidget* parent)
    : QWidget(parent), analysis_(&Analysis), compValues_(&CurrentTest.CompValues) {
  setObjectName(QStringLiteral("chartView"));
  setFixedSize(kWidth, kHeight);
}

void TChartView::setSource(const TAnalysisResult* analysis, const TPointValues* compValues) {
  analysis_ = analysis ? analysis : &Analysis;
  compValues_ = compValues ? compValues : &CurrentTest.CompValues;
  update();
}

void TChartView::paintEvent(QPaintEvent*) {
  ++paintCount_;
  QPainter painter(this);
  QPainterCanvas canvas(&painter);
  canvas.Brush = TBrush{clBtnFace, TBrushStyle::bsSolid};
  canvas.FillRect(TRect{0, 0, width(), height()});
  canvas.Font.Name = font().family();
  canvas.Font.Size = 8;
  title_ = DrawChart(ViewState.ChartKind, canvas, ScreenChartFrame(width(), height()), *analysis_,
                     *compValues_);
}

}  // namespace ruto
