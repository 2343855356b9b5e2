#include "measure/ui/ComparisonWindow.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QShowEvent>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/Settings.h"
#include "app/SharedRecords.h"
#include "app/WindowOpeners.h"
#include "app/ui/SharedPrinter.h"
#include "app/ui/WindowKeys.h"
#include "app/ui/WindowParts.h"
#include "app/ui/WindowPlacement.h"
#include "base/Numbers.h"
#include "measure/PrintJob.h"
#include "measure/ui/ReportPrint.h"

namespace ruto {

namespace {

void setColoredText(QLabel* label, const QString& text, TColor color) {
  setTextColor(label, color);
  label->setText(text);
}

}  // namespace

ComparisonPaintBox::ComparisonPaintBox(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("chartBox"));
  setMinimumSize(630, 330);
  setAutoFillBackground(true);
}

void ComparisonPaintBox::paintEvent(QPaintEvent*) {
  if (!data) return;
  QPainter painter(this);
  QPainterCanvas canvas(&painter);
  const ComparisonData d = data();
  DrawComparisonChart(canvas, width(), height(), d);
  DrawComparisonBand(canvas, width(), height(), d);
}

ComparisonWindow::ComparisonWindow(QWidget* parent) : OpenerDialog(parent) {
  FollowPlatformKeys(this);
  setObjectName(QStringLiteral("ComparisonWindow"));
  setWindowTitle(QStringLiteral("能量比對"));
  PlaceOnShow(this, WindowPlace::Owner);
  setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(0, 0, 0, 0);
  auto* toolBar = new QToolBar(this);
  loadButton = addToolButton(toolBar, QStringLiteral("loadButton"), QStringLiteral("載入資料"),
                             QStringLiteral("載入比對的能量資料"));
  printButton = addToolButton(toolBar, QStringLiteral("printButton"), QStringLiteral("列  印"),
                              QStringLiteral("比對資料列印"));
  printSetupButton = addToolButton(toolBar, QStringLiteral("printSetupButton"),
                                   QStringLiteral("列印設定"), QStringLiteral("印表機與格式設定"));
  toolBar->addSeparator();
  currentBandButton =
      addToolButton(toolBar, QStringLiteral("currentBandButton"), QStringLiteral("原始資料"),
                    QStringLiteral("繪出原始資料的生理曲線"));
  compareBandButton =
      addToolButton(toolBar, QStringLiteral("compareBandButton"), QStringLiteral("比對資料"),
                    QStringLiteral("繪出比對資料的生理曲線"));
  hideBandButton = addToolButton(toolBar, QStringLiteral("hideBandButton"),
                                 QStringLiteral("隱  藏"), QStringLiteral("隱藏生理曲線"));
  auto* group = new QButtonGroup(this);
  group->setExclusive(true);
  for (QToolButton* b : {currentBandButton, compareBandButton, hideBandButton}) {
    b->setCheckable(true);
    b->setAutoRaise(true);
    group->addButton(b);
    connect(b, &QToolButton::clicked, this, [this, b] { showBand(b); });
  }
  hideBandButton->setChecked(true);
  toolBar->addSeparator();
  exitButton = addToolButton(toolBar, QStringLiteral("exitButton"), QStringLiteral("離  開"),
                             QStringLiteral("離開能量比對"));
  root->addWidget(toolBar);

  auto* headers = new QHBoxLayout;
  headers->setContentsMargins(6, 0, 6, 0);
  static const char* captions[6] = {"編號:", "姓名:", "體能:", "電位:", "日期:", "時間:"};
  for (int b = 1; b <= 2; ++b) {
    auto* box =
        new QGroupBox(b == 1 ? QStringLiteral("1.原始資料") : QStringLiteral("2.比對資料"), this);
    auto* grid = new QGridLayout(box);
    for (int i = 0; i < 6; ++i) {
      auto* value = new QLabel(box);
      value->setObjectName(QStringLiteral("Block%1Field%2").arg(b).arg(i + 1));
      value->setTextFormat(Qt::PlainText);  // the clients' data as typed
      value->setMinimumWidth(100);
      Block[b][i] = value;
      grid->addWidget(new QLabel(QString::fromUtf8(captions[i]), box), i / 2, i % 2 * 2);
      grid->addWidget(value, i / 2, i % 2 * 2 + 1);
    }
    headers->addWidget(box);
  }
  root->addLayout(headers);

  auto* chartTitle = new QLabel(QStringLiteral("經絡能量比對圖"), this);
  chartTitle->setAlignment(Qt::AlignCenter);
  root->addWidget(chartTitle);
  chartBox = new ComparisonPaintBox(this);
  chartBox->data = [this] { return Data(); };
  auto* chartRow = new QHBoxLayout;
  chartRow->setContentsMargins(6, 0, 6, 0);
  chartRow->addWidget(chartBox);
  root->addLayout(chartRow, 1);

  statusBar = new QStatusBar(this);
  statusBar->setObjectName(QStringLiteral("statusBar"));
  statusBar->setSizeGripEnabled(false);
  root->addWidget(statusBar);

  connect(loadButton, &QToolButton::clicked, this, &ComparisonWindow::loadComparisonTest);
  connect(printButton, &QToolButton::clicked, this, &ComparisonWindow::printComparisonPage);
  connect(printSetupButton, &QToolButton::clicked, this, &ComparisonWindow::setUpPrinter);
  connect(exitButton, &QToolButton::clicked, this, &ComparisonWindow::exitWindow);
}

// Every return from the browser shows the window again: a comparison counts only when that
// visit loaded one.
void ComparisonWindow::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}

ComparisonData ComparisonWindow::Data() const {
  ComparisonData d;
  d.Curve1 = CurrentTest.CompValues;
  d.Curve2 = CompareTest.Values;
  d.CurveCount = CompareTest.CurveCount;
  d.Block1 = {CurrentClient.CustNo, CurrentClient.Name, RawMean(CurrentTest.Values),
              CurrentTest.VoVota, CurrentTest.VoDate};
  d.Block2 = {CompareTest.CustNo, CompareTest.Name, CompareTest.Mean, CompareTest.VoVota,
              CompareTest.VoDate};
  d.Band = currentBandButton->isChecked()   ? BandSource::Current
           : compareBandButton->isChecked() ? BandSource::Compare
                                            : BandSource::Hidden;
  d.UserData1 = Settings.UserData1;
  d.UserData2 = Settings.UserData2;
  d.PrintedAt = QDateTime::currentDateTime();
  return d;
}

void ComparisonWindow::showBlock(int block, const ComparisonBlock& b) {
  Block[block][0]->setText(b.CustNo);
  Block[block][1]->setText(b.Name);
  Block[block][2]->setText(Format(QStringLiteral("%5.2f"), {b.Mean}));
  setColoredText(Block[block][3], RangeText(b.HighRange), RangeColor(b.HighRange));
  Block[block][4]->setText(BlockDateText(b.VoDate));
  Block[block][5]->setText(BlockTimeText(b.VoDate));
}

void ComparisonWindow::FormShow() {
  CompareTest.CurveCount = 1;
  showBlock(1, Data().Block1);
  for (QLabel* label : Block[2]) label->clear();
  statusBar->showMessage(QStringLiteral("請按 [載入資料] 鍵更改欲比對資料。"));
  compareBandButton->setEnabled(false);
  // No band of a curve that is not drawn.
  if (compareBandButton->isChecked()) hideBandButton->setChecked(true);
  chartBox->update();
}

void ComparisonWindow::loadComparisonTest() {
  ViewState.BrowseForCurrent = false;
  // Only a load in this opening of the browser counts: a browser left by Esc or its frame
  // must not bring back the test of an earlier load.
  ViewState.TestLoaded = false;
  runChildHidden([this] { OpenWindow(WindowOpeners().clientBrowser, this); },
                 [this] {
                   if (ViewState.TestLoaded) {
                     CompareTest.CurveCount = 2;
                     showBlock(2, Data().Block2);
                     compareBandButton->setEnabled(true);
                     hideBandButton->setChecked(true);
                   }
                   chartBox->update();
                 });
}

void ComparisonWindow::showBand(QToolButton* down) {
  down->setChecked(true);
  chartBox->update();
}

void ComparisonWindow::printComparisonPage() { PrintComparison(); }

void ComparisonWindow::PrintComparison() {
  if (printing_) return;
  const ComparisonData page = Data();
  QPointer<ComparisonWindow> self(this);
  printing_ = StartReportPrint(
      ComparisonJobTitle(), [page](PrintJob& job) { AddComparisonPage(job, page); }, this,
      [self](bool) {
        if (self) self->printing_ = false;
      });
}

void ComparisonWindow::setUpPrinter() { SetUpSharedPrinter(this); }

void ComparisonWindow::exitWindow() { close(); }

}  // namespace ruto
