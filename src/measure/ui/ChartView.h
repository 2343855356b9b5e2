#pragma once
// The analysis window's chart surface: a fixed 757 by 393 paint box that shows the chart of
// ViewState.ChartKind on the button face, drawn from the shared analysis.

#include <QWidget>

#include "app/SharedRecords.h"
#include "measure/Analysis.h"

namespace ruto {

class TChartView : public QWidget {
 public:
  static constexpr int kWidth = 757;
  static constexpr int kHeight = 393;

  explicit TChartView(QWidget* parent = nullptr);

  // Draws from these instead of the shared Analysis and CurrentTest.CompValues (tests, bench).
  void setSource(const TAnalysisResult* analysis, const TPointValues* compValues);
  const TAnalysisResult& analysis() const { return *analysis_; }
  const TPointValues& compValues() const { return *compValues_; }

  // Number of paint events so far; the window uses none of it, tests see repaints by it.
  int paintCount() const { return paintCount_; }
  // The title of the chart drawn last.
  const QString& title() const { return title_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const TAnalysisResult* analysis_;
  const TPointValues* compValues_;
  int paintCount_ = 0;
  QString title_;
};

}  // namespace ruto
