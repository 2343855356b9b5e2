#pragma once
// MeasurementWindow, the measurement window: the test in work in a 13 x 3 grid, the client, range,
// minimum response and point picture, the live figures and trace of a run, and the hub that
// opens analysis, storing, reading, manual entry and comparison.

#include <QImage>

#include "app/ui/OpenerDialog.h"
#include "measure/MeasureRun.h"

class QGroupBox;
class QFrame;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSlider;
class QSpinBox;
class QStatusBar;
class QTimer;
class QToolButton;

namespace ruto {

class TGradientBar;
class TLedLamp;
class TSortingGrid;

class MeasurementWindow : public OpenerDialog, private MeasureView {
 public:
  explicit MeasurementWindow(QWidget* parent = nullptr);
  ~MeasurementWindow() override;

  // Toolbar.
  QToolButton *startButton = nullptr, *stopButton = nullptr, *analysisButton = nullptr,
              *storeButton = nullptr, *readButton = nullptr, *clearButton = nullptr,
              *entryButton = nullptr, *comparisonButton = nullptr, *exitButton = nullptr;
  TSortingGrid* valueGrid = nullptr;
  QLabel* rangeLabel = nullptr;
  QLabel *valueFigure = nullptr, *compFigure = nullptr, *testDateLabel = nullptr,
         *testTimeLabel = nullptr;
  QLabel *limbLabel = nullptr, *meridianLabel = nullptr, *pointLabel = nullptr;
  QLabel *pointPicture = nullptr, *meridianEnglishLabel = nullptr, *pointNameLabel = nullptr;
  TGradientBar *completionBar = nullptr, *readingBar = nullptr;
  TLedLamp *completionLamp = nullptr, *readingLamp = nullptr, *traceLamp = nullptr;
  QLabel* readingFigure = nullptr;
  QRadioButton *highRangeButton = nullptr, *standardRangeButton = nullptr;
  QSlider* minResponseSlider = nullptr;
  QLineEdit* minResponseEdit = nullptr;
  QSpinBox* minResponseSpin = nullptr;
  QGroupBox* clientGroup = nullptr;
  QLabel *clientNoLabel = nullptr, *clientNameLabel = nullptr, *birthLabel = nullptr,
         *telLabel = nullptr, *ageLabel = nullptr;
  QRadioButton *maleButton = nullptr, *femaleButton = nullptr;
  QFrame* tracePanel = nullptr;
  QWidget* traceBox = nullptr;
  QRadioButton *photoButton = nullptr, *drawingButton = nullptr, *compositeButton = nullptr;
  QStatusBar* statusBar = nullptr;
  // Paces the run: one pass per timeout, the run's interval between passes.
  QTimer* measureTimer = nullptr;

  void FormShow();
  void FormClose();
  void startMeasurement();
  void stopMeasurement();
  void openAnalysis();
  void openStoreTest();
  void openClientBrowser();
  void openManualEntry();
  void openComparison();
  void clearValues();
  void exitWindow();
  void reaimAtCell();
  void minResponseFromSpin();
  void minResponseFromSlider();
  void chooseHighRange();
  void chooseStandardRange();
  void showPhotos() { pictureKindClick(1); }
  void showDrawings() { pictureKindClick(2); }
  void showComposites() { pictureKindClick(3); }
  void FillValueGrid();
  void ShowPointPicture();

  MeasureRun& Run() { return run_; }
  // One pass of the run (the timer's slot); tests call it on virtual time.
  void measureTick();
  // The trace as drawn so far (transparent where nothing was drawn).
  const QImage& traceLayer() const { return traceImage_; }
  void paintTrace(QPainter& painter);
  // Escape and the close box: refused while running, where it acts as the stop button.
  void reject() override;

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void FormCreate();
  void buildLayout();
  void setRangeLabel(bool high);
  void rangeFromTest();
  // The user starts at the range, chosen before a run: the focus goes to the chosen button.
  void focusRangeChoice();
  void minResponseChanged(int position);
  void pictureKindClick(int kind);
  void setButtonsIdle(bool allValues, bool anyValue);

  // MeasureView
  void runStarted() override;
  void storedTestCleared() override;
  QSize traceSize() override;
  void showPoint(int point) override;
  void setStatus(const QString& text) override;
  void setValueFigure(const QString& text) override;
  void setCompFigure(const QString& text) override;
  void setReadingFigure(const QString& text) override;
  void setCompletion(int position) override;
  void setReadingBar(int position) override;
  void setLamp(MeasureLamp lamp, const LampChange& change) override;
  void clearTrace() override;
  void traceLine(QPoint from, QPoint to, const TPen& pen) override;
  void pointStored(int point) override;
  void setGridEnabled(bool on) override;
  void runEnded() override;

  MeasureRun run_;
  QImage traceImage_;
  bool showingPoint_ = false;
};

}  // namespace ruto
