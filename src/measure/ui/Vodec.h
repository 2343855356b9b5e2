#pragma once
// TVodec, the measurement window: the test in work in a 13 x 3 grid, the client, range,
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

class TVodec : public TOpenerDialog, private MeasureView {
 public:
  explicit TVodec(QWidget* parent = nullptr);
  ~TVodec() override;

  // Toolbar.
  QToolButton *ToolButton9 = nullptr, *ToolButton7 = nullptr, *ToolButton1 = nullptr,
              *ToolButton3 = nullptr, *ToolButton4 = nullptr, *ToolButton2 = nullptr,
              *ToolButton5 = nullptr, *ToolButton6 = nullptr, *ToolButton8 = nullptr;
  TSortingGrid* StringGrid1 = nullptr;
  QLabel* StaticText27 = nullptr;  // range
  QLabel *StaticText18 = nullptr, *StaticText17 = nullptr, *StaticText24 = nullptr,
         *StaticText23 = nullptr;
  QLabel *StaticText14 = nullptr, *StaticText15 = nullptr, *StaticText16 = nullptr;
  QLabel *Image2 = nullptr, *Label1 = nullptr, *Label2 = nullptr;
  TGradientBar *GradientBar1 = nullptr, *GradientBar2 = nullptr;
  TLedLamp *Lamp1 = nullptr, *Lamp2 = nullptr, *LedLamp1 = nullptr;
  QLabel* StaticText34 = nullptr;
  QRadioButton *RadioButton1 = nullptr, *RadioButton2 = nullptr;
  QSlider* TrackBar1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QSpinBox* UpDown1 = nullptr;
  QGroupBox* GroupBox3 = nullptr;
  QLabel *StaticText1 = nullptr, *StaticText2 = nullptr, *StaticText3 = nullptr,
         *StaticText4 = nullptr, *StaticText5 = nullptr;
  QRadioButton *RadioButton3 = nullptr, *RadioButton4 = nullptr;
  QFrame* Panel4 = nullptr;
  QWidget* PaintBox1 = nullptr;
  QRadioButton *RadioButton5 = nullptr, *RadioButton6 = nullptr, *RadioButton7 = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  // Paces the run: one pass per timeout, the run's interval between passes.
  QTimer* MeasureTimer = nullptr;

  void FormShow();
  void FormClose();
  void ToolButton9Click();
  void ToolButton7Click();
  void ToolButton1Click();
  void ToolButton3Click();
  void ToolButton4Click();
  void ToolButton5Click();
  void ToolButton6Click();
  void ToolButton2Click();
  void ToolButton8Click();
  void StringGrid1Click();
  void UpDown1Click();
  void TrackBar1Change();
  void RadioButton1Click();
  void RadioButton2Click();
  void RadioButton5Click() { pictureKindClick(1); }
  void RadioButton6Click() { pictureKindClick(2); }
  void RadioButton7Click() { pictureKindClick(3); }
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
