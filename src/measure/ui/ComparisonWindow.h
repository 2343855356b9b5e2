#pragma once
// The comparison window: the test in work and a stored test as two curves on one chart, the
// physiological band of either, and the printed comparison.

#include <QDialog>
#include <QWidget>
#include <array>

#include "app/ui/OpenerDialog.h"
#include "measure/Comparison.h"

class QLabel;
class QStatusBar;
class QToolButton;

namespace ruto {

// The chart's paint area: draws the chart and the band of the window's data.
class ComparisonPaintBox : public QWidget {
  Q_OBJECT
 public:
  explicit ComparisonPaintBox(QWidget* parent = nullptr);
  std::function<ComparisonData()> data;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

class ComparisonWindow : public OpenerDialog {
  Q_OBJECT
 public:
  explicit ComparisonWindow(QWidget* parent = nullptr);

  void FormShow();
  void loadComparisonTest();
  void printComparisonPage();
  void setUpPrinter();
  void exitWindow();
  void showBand(QToolButton* down);
  void PrintComparison();

  // What the chart and the page show now.
  ComparisonData Data() const;

  QToolButton* printButton;
  QToolButton* printSetupButton;
  QToolButton* exitButton;
  QToolButton* loadButton;
  QToolButton* currentBandButton;
  QToolButton* compareBandButton;
  QToolButton* hideBandButton;
  // Header blocks 1 and 2: number, name, mean, range, date, time.
  std::array<std::array<QLabel*, 6>, 3> Block{};
  ComparisonPaintBox* chartBox;
  QStatusBar* statusBar;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void showBlock(int block, const ComparisonBlock& b);
  bool printing_ = false;
};

}  // namespace ruto
