#include "measure/ui/MeasurementWindow.h"

#include <QCloseEvent>
#include <QDate>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QRadioButton>
#include <QShowEvent>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "app/AskUser.h"
#include "app/Settings.h"
#include "app/SharedRecords.h"
#include "app/WindowOpeners.h"
#include "app/ui/DialogFrame.h"
#include "app/ui/WindowKeys.h"
#include "app/ui/WindowParts.h"
#include "app/ui/WindowPlacement.h"
#include "base/DateTime.h"
#include "base/Numbers.h"
#include "device/MeterCommands.h"
#include "measure/PointTables.h"
#include "measure/ui/ValueGrid.h"
#include "widgets/GradientBar.h"
#include "widgets/LedLamp.h"
#include "widgets/SortingGrid.h"

namespace ruto {

namespace {

constexpr int kTraceWidth = 330;
constexpr int kTraceHeight = 290;
constexpr TColor kHiColor = 0x0000FF;
constexpr TColor kStandardColor = 0x008000;

// The trace panel's paint box: grid, then the trace layer the run draws into.
class TracePaintBox final : public QWidget {
 public:
  TracePaintBox(MeasurementWindow* owner, QWidget* parent) : QWidget(parent), owner_(owner) {
    setObjectName(QStringLiteral("traceBox"));
    setFixedSize(kTraceWidth, kTraceHeight);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    owner_->paintTrace(painter);
  }

 private:
  MeasurementWindow* owner_;
};

QLabel* newLabel(const QString& text, QWidget* parent, const QString& name = {}) {
  auto* label = new QLabel(text, parent);
  if (!name.isEmpty()) label->setObjectName(name);
  // Client data and settings are shown as written, also where they look like markup.
  label->setTextFormat(Qt::PlainText);
  return label;
}

QString dateText(double ole) { return formatOleDate(ole); }

}  // namespace

MeasurementWindow::MeasurementWindow(QWidget* parent)
    : OpenerDialog(parent, kDialogFrameFlags), run_(*this) {
  FollowPlatformKeys(this);
  setObjectName(QStringLiteral("MeasurementWindow"));
  setWindowTitle(QStringLiteral("經絡量測"));
  PlaceOnShow(this, WindowPlace::Screen);
  QFont f(QStringLiteral("Tahoma"));
  f.setPointSize(8);
  setFont(f);
  traceImage_ = QImage(kTraceWidth, kTraceHeight, QImage::Format_ARGB32_Premultiplied);
  traceImage_.fill(Qt::transparent);
  measureTimer = new QTimer(this);
  measureTimer->setSingleShot(true);
  connect(measureTimer, &QTimer::timeout, this, &MeasurementWindow::measureTick);
  buildLayout();
  setFixedSize(783, 556);
  FormCreate();
}

MeasurementWindow::~MeasurementWindow() = default;

void MeasurementWindow::buildLayout() {
  QToolBar* toolBar = nullptr;
  QVBoxLayout* root = newToolWindowLayout(this, toolBar);
  startButton = addToolButton(toolBar, this, "startButton", "經絡測量", "經絡能量數據測量",
                              &MeasurementWindow::startMeasurement);
  stopButton = addToolButton(toolBar, this, "stopButton", "停止測量", "停止經絡能量測量",
                             &MeasurementWindow::stopMeasurement);
  toolBar->addSeparator();
  analysisButton = addToolButton(toolBar, this, "analysisButton", "能量分析", "經絡能量分析",
                                 &MeasurementWindow::openAnalysis);
  storeButton = addToolButton(toolBar, this, "storeButton", "儲存資料", "儲存表格中的能量數據",
                              &MeasurementWindow::openStoreTest);
  readButton = addToolButton(toolBar, this, "readButton", "讀取資料", "讀取資料庫中的數據",
                             &MeasurementWindow::openClientBrowser);
  clearButton = addToolButton(toolBar, this, "clearButton", "清除數據", "清除表格中的能量數據",
                              &MeasurementWindow::clearValues);
  entryButton = addToolButton(toolBar, this, "entryButton", "數據輸入", "人工輸入數據",
                              &MeasurementWindow::openManualEntry);
  comparisonButton = addToolButton(toolBar, this, "comparisonButton", "能量比對", "能量比對系統",
                                   &MeasurementWindow::openComparison);
  toolBar->addSeparator();
  exitButton = addToolButton(toolBar, this, "exitButton", "離  開", "離開經絡量測系統",
                             &MeasurementWindow::exitWindow);
  root->addWidget(toolBar);

  auto* body = new QVBoxLayout;
  body->setContentsMargins(8, 2, 8, 2);
  body->setSpacing(4);
  root->addLayout(body, 1);

  // Heading over the grid.
  auto* heading = new QHBoxLayout;
  heading->addWidget(newLabel(QStringLiteral("經絡能量測定值"), this));
  heading->addWidget(newLabel(QStringLiteral("Meridian Energy Values"), this));
  rangeLabel = newLabel(QStringLiteral("[Standard]"), this, QStringLiteral("rangeLabel"));
  heading->addWidget(rangeLabel);
  heading->addStretch(1);
  auto* hands = newLabel(QStringLiteral("手部"), this);
  hands->setAlignment(Qt::AlignCenter);
  hands->setFixedWidth(6 * 58);
  auto* feet = newLabel(QStringLiteral("足部"), this);
  feet->setAlignment(Qt::AlignCenter);
  feet->setFixedWidth(6 * 58);
  body->addLayout(heading);
  auto* limbs = new QHBoxLayout;
  limbs->addSpacing(58);
  limbs->addWidget(hands);
  limbs->addWidget(feet);
  limbs->addStretch(1);
  body->addLayout(limbs);

  valueGrid = newValueGrid(this);
  valueGrid->setAccessibleName(QStringLiteral("經絡能量測定值"));
  valueGrid->setCursor(Qt::PointingHandCursor);
  valueGrid->OnClick = [this] { reaimAtCell(); };
  body->addWidget(valueGrid, 0, Qt::AlignHCenter);

  auto* lower = new QHBoxLayout;
  lower->setSpacing(6);
  body->addLayout(lower, 1);

  // Left column: figures, status, range and minimum response.
  auto* left = new QVBoxLayout;
  lower->addLayout(left);
  auto* figures = new QGridLayout;
  valueFigure = newLabel(QString(), this, QStringLiteral("valueFigure"));
  compFigure = newLabel(QString(), this, QStringLiteral("compFigure"));
  testDateLabel = newLabel(QString(), this, QStringLiteral("testDateLabel"));
  testTimeLabel = newLabel(QString(), this, QStringLiteral("testTimeLabel"));
  QFont figureFont = font();
  figureFont.setPointSize(12);
  figureFont.setBold(true);
  valueFigure->setFont(figureFont);
  compFigure->setFont(figureFont);
  figures->addWidget(newLabel(QStringLiteral("經絡測量值:"), this), 0, 0);
  figures->addWidget(valueFigure, 0, 1);
  figures->addWidget(newLabel(QStringLiteral("經絡補償值:"), this), 1, 0);
  figures->addWidget(compFigure, 1, 1);
  figures->addWidget(newLabel(QStringLiteral("測量日期:"), this), 2, 0);
  figures->addWidget(testDateLabel, 2, 1);
  figures->addWidget(newLabel(QStringLiteral("測量時間:"), this), 3, 0);
  figures->addWidget(testTimeLabel, 3, 1);
  figures->setColumnMinimumWidth(1, 90);
  left->addLayout(figures);

  auto* state = new QGroupBox(QStringLiteral("測量狀態"), this);
  state->setObjectName(QStringLiteral("stateGroup"));
  auto* stateGrid = new QGridLayout(state);
  limbLabel = newLabel(QString(), state, QStringLiteral("limbLabel"));
  meridianLabel = newLabel(QString(), state, QStringLiteral("meridianLabel"));
  pointLabel = newLabel(QString(), state, QStringLiteral("pointLabel"));
  stateGrid->addWidget(newLabel(QStringLiteral("測量位置:"), state), 0, 0);
  stateGrid->addWidget(limbLabel, 0, 1);
  stateGrid->addWidget(newLabel(QStringLiteral("經絡名稱:"), state), 1, 0);
  stateGrid->addWidget(meridianLabel, 1, 1);
  stateGrid->addWidget(newLabel(QStringLiteral("測定點名稱:"), state), 2, 0);
  stateGrid->addWidget(pointLabel, 2, 1);
  stateGrid->setColumnStretch(1, 1);
  left->addWidget(state);

  auto* range = new QGroupBox(QStringLiteral("測量電位設定"), this);
  range->setObjectName(QStringLiteral("rangeGroup"));
  auto* rangeRow = new QHBoxLayout(range);
  standardRangeButton = new QRadioButton(QStringLiteral("標準電位測量"), range);
  standardRangeButton->setObjectName(QStringLiteral("standardRangeButton"));
  highRangeButton = new QRadioButton(QStringLiteral("高電位測量"), range);
  highRangeButton->setObjectName(QStringLiteral("highRangeButton"));
  rangeRow->addWidget(standardRangeButton);
  rangeRow->addWidget(highRangeButton);
  // Selecting from code runs the handlers too, so the setting follows the buttons.
  connect(highRangeButton, &QRadioButton::toggled, this, [this](bool on) {
    if (on) chooseHighRange();
  });
  connect(standardRangeButton, &QRadioButton::toggled, this, [this](bool on) {
    if (on) chooseStandardRange();
  });
  left->addWidget(range);

  auto* response = new QGroupBox(QStringLiteral("最低測量反應值"), this);
  response->setObjectName(QStringLiteral("responseGroup"));
  auto* responseRow = new QHBoxLayout(response);
  minResponseSlider = new QSlider(Qt::Horizontal, response);
  minResponseSlider->setObjectName(QStringLiteral("minResponseSlider"));
  minResponseSlider->setRange(1, 50);
  minResponseSlider->setTickInterval(10);
  minResponseSlider->setTickPosition(QSlider::TicksBelow);
  minResponseEdit = new QLineEdit(response);
  minResponseEdit->setObjectName(QStringLiteral("minResponseEdit"));
  minResponseEdit->setReadOnly(true);
  minResponseEdit->setFixedWidth(48);
  minResponseSpin = new QSpinBox(response);
  minResponseSpin->setObjectName(QStringLiteral("minResponseSpin"));
  minResponseSpin->setRange(1, 50);
  minResponseSpin->setFixedWidth(18);  // the arrows only: minResponseEdit shows the value
  responseRow->addWidget(minResponseSlider, 1);
  responseRow->addWidget(minResponseEdit);
  responseRow->addWidget(minResponseSpin);
  responseRow->addWidget(newLabel(QStringLiteral("(1.0)"), response));
  connect(minResponseSlider, &QSlider::valueChanged, this,
          &MeasurementWindow::minResponseFromSlider);
  connect(minResponseSpin, &QSpinBox::valueChanged, this, &MeasurementWindow::minResponseFromSpin);
  left->addWidget(response);
  left->addStretch(1);

  // Middle: the client block, or the trace panel during a run.
  auto* middle = new QVBoxLayout;
  lower->addLayout(middle);
  clientGroup = new QGroupBox(QStringLiteral("受測者資料"), this);
  clientGroup->setObjectName(QStringLiteral("clientGroup"));
  auto* client = new QGridLayout(clientGroup);
  clientNoLabel = newLabel(QString(), clientGroup, QStringLiteral("clientNoLabel"));
  clientNameLabel = newLabel(QString(), clientGroup, QStringLiteral("clientNameLabel"));
  birthLabel = newLabel(QString(), clientGroup, QStringLiteral("birthLabel"));
  ageLabel = newLabel(QString(), clientGroup, QStringLiteral("ageLabel"));
  telLabel = newLabel(QString(), clientGroup, QStringLiteral("telLabel"));
  client->addWidget(newLabel(QStringLiteral("編號:"), clientGroup), 0, 0);
  client->addWidget(clientNoLabel, 0, 1, 1, 3);
  client->addWidget(newLabel(QStringLiteral("姓名:"), clientGroup), 1, 0);
  client->addWidget(clientNameLabel, 1, 1, 1, 3);
  client->addWidget(newLabel(QStringLiteral("生日:"), clientGroup), 2, 0);
  client->addWidget(birthLabel, 2, 1);
  client->addWidget(newLabel(QStringLiteral("年齡:"), clientGroup), 2, 2);
  client->addWidget(ageLabel, 2, 3);
  client->addWidget(newLabel(QStringLiteral("電話:"), clientGroup), 3, 0);
  client->addWidget(telLabel, 3, 1, 1, 3);
  client->addWidget(newLabel(QStringLiteral("性別:"), clientGroup), 4, 0);
  maleButton = new QRadioButton(QStringLiteral("男性"), clientGroup);
  maleButton->setObjectName(QStringLiteral("maleButton"));
  femaleButton = new QRadioButton(QStringLiteral("女性"), clientGroup);
  femaleButton->setObjectName(QStringLiteral("femaleButton"));
  client->addWidget(maleButton, 4, 1);
  client->addWidget(femaleButton, 4, 2);
  client->setColumnStretch(1, 1);
  client->setRowStretch(5, 1);
  connect(maleButton, &QRadioButton::clicked, this, [] { CurrentClient.Sex = true; });
  connect(femaleButton, &QRadioButton::clicked, this, [] { CurrentClient.Sex = false; });
  clientGroup->setFixedWidth(kTraceWidth + 20);
  middle->addWidget(clientGroup, 1);

  tracePanel = new QFrame(this);
  tracePanel->setObjectName(QStringLiteral("tracePanel"));
  tracePanel->setFrameShape(QFrame::Panel);
  tracePanel->setFrameShadow(QFrame::Sunken);
  auto* panel = new QVBoxLayout(tracePanel);
  panel->setContentsMargins(4, 4, 4, 4);
  auto* panelHead = new QHBoxLayout;
  traceLamp = new TLedLamp(tracePanel);
  traceLamp->setObjectName(QStringLiteral("traceLamp"));
  traceLamp->setLEDStyle(LEDSqSmall);
  traceLamp->setFixedSize(TLedLamp::styleSize(LEDSqSmall));
  traceLamp->setTrueColor(kHiColor);
  traceLamp->setValue(true);  // lit from the start: the run only changes its colour
  panelHead->addWidget(traceLamp);
  panelHead->addWidget(newLabel(QStringLiteral("測量平衡圖"), tracePanel));
  panelHead->addStretch(1);
  panelHead->addWidget(newLabel(QStringLiteral("Scale: 10uA"), tracePanel));
  panel->addLayout(panelHead);
  traceBox = new TracePaintBox(this, tracePanel);
  panel->addWidget(traceBox, 0, Qt::AlignCenter);
  panel->addStretch(1);
  tracePanel->setFixedWidth(kTraceWidth + 20);
  tracePanel->hide();
  middle->addWidget(tracePanel, 1);

  // Right column: the point picture, its kind, and the two bars.
  auto* right = new QVBoxLayout;
  lower->addLayout(right, 1);
  auto* picture = new QGroupBox(QStringLiteral("代表測定點圖示"), this);
  picture->setObjectName(QStringLiteral("pictureGroup"));
  auto* pictureBox = new QVBoxLayout(picture);
  meridianEnglishLabel = newLabel(QString(), picture, QStringLiteral("meridianEnglishLabel"));
  meridianEnglishLabel->setAlignment(Qt::AlignCenter);
  pointPicture = newLabel(QString(), picture, QStringLiteral("pointPicture"));
  pointPicture->setScaledContents(true);
  pointPicture->setFixedSize(150, 120);
  // The picture comes and goes with a run; the column below it stays where it is.
  QSizePolicy keepPlace = pointPicture->sizePolicy();
  keepPlace.setRetainSizeWhenHidden(true);
  pointPicture->setSizePolicy(keepPlace);
  pointNameLabel = newLabel(QString(), picture, QStringLiteral("pointNameLabel"));
  pointNameLabel->setAlignment(Qt::AlignCenter);
  setTextColor(pointNameLabel, kHiColor);
  pictureBox->addWidget(meridianEnglishLabel);
  pictureBox->addWidget(pointPicture, 0, Qt::AlignHCenter);
  pictureBox->addWidget(pointNameLabel);
  auto* kinds = new QHBoxLayout;
  photoButton = new QRadioButton(QStringLiteral("照片"), picture);
  photoButton->setObjectName(QStringLiteral("photoButton"));
  drawingButton = new QRadioButton(QStringLiteral("圖像"), picture);
  drawingButton->setObjectName(QStringLiteral("drawingButton"));
  compositeButton = new QRadioButton(QStringLiteral("合成"), picture);
  compositeButton->setObjectName(QStringLiteral("compositeButton"));
  kinds->addWidget(photoButton);
  kinds->addWidget(drawingButton);
  kinds->addWidget(compositeButton);
  pictureBox->addLayout(kinds);
  connect(photoButton, &QRadioButton::clicked, this, &MeasurementWindow::showPhotos);
  connect(drawingButton, &QRadioButton::clicked, this, &MeasurementWindow::showDrawings);
  connect(compositeButton, &QRadioButton::clicked, this, &MeasurementWindow::showComposites);
  right->addWidget(picture);

  auto bar = [&](TGradientBar*& gradient, const char* name, TColor end, int max, bool percent,
                 TLedLamp*& lamp, const char* lampName, QWidget* caption) {
    auto* row = new QHBoxLayout;
    lamp = new TLedLamp(this);
    lamp->setObjectName(QString::fromLatin1(lampName));
    lamp->setLEDStyle(LEDSqLarge);
    lamp->setFixedSize(TLedLamp::styleSize(LEDSqLarge));
    gradient = new TGradientBar(this);
    gradient->setObjectName(QString::fromLatin1(name));
    gradient->setStyle(gsHorizontal);
    gradient->setStartColor(clWhite);
    gradient->setEndColor(end);
    gradient->setMaxValue(max);
    gradient->setShowPercent(percent);
    gradient->setFixedHeight(18);
    row->addWidget(lamp);
    row->addWidget(gradient, 1);
    row->addWidget(caption);
    right->addLayout(row);
  };
  readingFigure = newLabel(QStringLiteral("[  0.0]"), this, QStringLiteral("readingFigure"));
  readingFigure->setMinimumWidth(readingFigure->fontMetrics().horizontalAdvance("[888.8]") + 4);
  bar(readingBar, "readingBar", clRed, 4095, false, readingLamp, "readingLamp", readingFigure);
  bar(completionBar, "completionBar", clLime, 2500, true, completionLamp, "completionLamp",
      newLabel(QStringLiteral("完成比率"), this));
  right->addStretch(1);

  statusBar = new QStatusBar(this);
  statusBar->setObjectName(QStringLiteral("statusBar"));
  statusBar->setSizeGripEnabled(false);
  root->addWidget(statusBar);
}

// ---- creation, showing, closing ----

void MeasurementWindow::FormCreate() {
  for (int c = 1; c <= 12; ++c) valueGrid->setCell(c, 0, MeridianHeading(c));
  valueGrid->setCell(0, 1, SideHeading(1));
  valueGrid->setCell(0, 2, SideHeading(2));
  // A response of 0 would let a reading of 0 count as contact.
  Settings.MinResponse = std::clamp(Settings.MinResponse, 0.1, 5.0);
  const int position = nearInt(Settings.MinResponse * 10);
  {
    const QSignalBlocker a(minResponseSpin), b(minResponseSlider);
    minResponseSpin->setValue(position);
    minResponseSlider->setValue(minResponseSpin->value());
  }
  minResponseEdit->setText(Format("%7.1f", {Settings.MinResponse}));
  run_.updateContactThreshold();
  if (Settings.HighPotential)
    highRangeButton->setChecked(true);
  else
    standardRangeButton->setChecked(true);
  switch (Settings.PointPictureKind) {
    case 1:
      photoButton->setChecked(true);
      break;
    case 2:
      drawingButton->setChecked(true);
      break;
    case 3:
      compositeButton->setChecked(true);
      break;
    default:
      break;
  }
}

void MeasurementWindow::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (e->spontaneous()) return;
  FormShow();
}

void MeasurementWindow::FormShow() {
  valueGrid->setEnabled(false);
  double sum = 0;
  bool all = true;
  for (int p = 1; p <= kPointCount; ++p) {
    sum += CurrentTest.Values[p];
    if (CurrentTest.Values[p] == 0) all = false;
  }
  if (sum != 0) {
    run_.HasValues = true;
    FillValueGrid();
  } else {
    CurrentTest.VoDate = 0;
    testDateLabel->clear();
    testTimeLabel->clear();
    run_.HasValues = false;
    CurrentTest.VoVota = Settings.HighPotential;
  }
  setRangeLabel(CurrentTest.VoVota);
  setButtonsIdle(sum != 0 && all, sum != 0);

  clientNoLabel->setText(CurrentClient.CustNo);
  clientNameLabel->setText(CurrentClient.Name);
  if (CurrentClient.DBirth >= 4000.0) {
    birthLabel->setText(dateText(CurrentClient.DBirth));
    const QDateTime birth = fromOleDate(CurrentClient.DBirth);
    const int years = QDate::currentDate().year() - (birth.isValid() ? birth.date().year() : 0);
    ageLabel->setText(Format("%3d", {static_cast<long long>(years)}));
  } else {
    birthLabel->clear();
    ageLabel->clear();
  }
  telLabel->setText(CurrentClient.Tel);
  if (CurrentClient.Sex)
    maleButton->setChecked(true);
  else
    femaleButton->setChecked(true);

  for (QLabel* l : {limbLabel, meridianLabel, pointLabel, pointNameLabel, meridianEnglishLabel,
                    valueFigure, compFigure})
    l->clear();
  focusRangeChoice();
}

void MeasurementWindow::setButtonsIdle(bool allValues, bool anyValue) {
  analysisButton->setEnabled(allValues);
  comparisonButton->setEnabled(allValues);
  storeButton->setEnabled(anyValue);
  clearButton->setEnabled(anyValue);
  startButton->setEnabled(true);
  readButton->setEnabled(true);
  stopButton->setEnabled(false);
}

void MeasurementWindow::FormClose() {
  Settings.HighPotential = highRangeButton->isChecked();
  LoadSaveSettings(true);  // reports a failure itself
}

// A close during a run is the stop button: the run ends first.
void MeasurementWindow::closeEvent(QCloseEvent* e) {
  if (run_.running()) {
    stopMeasurement();
    e->ignore();
    return;
  }
  QDialog::closeEvent(e);
}

void MeasurementWindow::reject() {
  if (run_.running()) {
    stopMeasurement();
    return;
  }
  FormClose();
  QDialog::reject();
}

// ---- toolbar ----

void MeasurementWindow::startMeasurement() {
  if (!run_.start()) return;
  measureTimer->start(0);
}

void MeasurementWindow::measureTick() {
  measureTimer->stop();
  const int interval = run_.pass();
  if (interval >= 0) measureTimer->start(interval);
}

void MeasurementWindow::stopMeasurement() {
  valueGrid->setEnabled(false);
  run_.requestStop();
}

void MeasurementWindow::openAnalysis() {
  if (!WindowOpeners().analysis) return;
  runChildHidden([this] { OpenWindow(WindowOpeners().analysis, this); },
                 [] {
                   if (CurrentTest.LivePointCount >= 12) {
                     AccessMeasureCounter(true);
                     CurrentTest.LivePointCount = 0;
                   }
                 });
}

void MeasurementWindow::openStoreTest() {
  if (!WindowOpeners().storeTest) return;
  runChildHidden([this] { OpenWindow(WindowOpeners().storeTest, this); }, {});
}

void MeasurementWindow::openClientBrowser() {
  if (!WindowOpeners().clientBrowser) return;
  ViewState.BrowseForCurrent = true;
  runChildHidden([this] { OpenWindow(WindowOpeners().clientBrowser, this); },
                 [this] { rangeFromTest(); });
}

void MeasurementWindow::openManualEntry() {
  if (!WindowOpeners().manualEntry) return;
  ViewState.EntryNewMode = true;
  runChildHidden([this] { OpenWindow(WindowOpeners().manualEntry, this, 0); },
                 [this] {
                   rangeFromTest();
                   FillValueGrid();
                 });
}

void MeasurementWindow::openComparison() {
  if (!WindowOpeners().comparison) return;
  runChildHidden([this] { OpenWindow(WindowOpeners().comparison, this); }, {});
}

void MeasurementWindow::clearValues() {
  if (!AskUser(MsgKind::QuestionYesNo,
               QStringLiteral("確定要清除視窗中的經絡能量數據嗎?\r\n (本功能只會清除視窗表格中的"
                              "資料，不會影響已經儲存的病歷資料)")))
    return;
  ClearCurrentTest();
  ClearCurrentClient();
  run_.HasValues = false;
  FillValueGrid();
  for (QToolButton* b : {analysisButton, comparisonButton, storeButton, clearButton, stopButton})
    b->setEnabled(false);
  for (QToolButton* b : {exitButton, startButton, readButton}) b->setEnabled(true);
  for (QLabel* l : {clientNoLabel, clientNameLabel, birthLabel, telLabel, ageLabel}) l->clear();
  maleButton->setChecked(true);
  CurrentTest.VoVota = Settings.HighPotential;
  setRangeLabel(CurrentTest.VoVota);
}

void MeasurementWindow::exitWindow() { close(); }

// ---- grid, range, response, picture kind ----

void MeasurementWindow::reaimAtCell() {
  if (showingPoint_) return;
  const int point = CellPoint(valueGrid->Col(), valueGrid->Row());
  if (point != 0) run_.reaim(point);
}

void MeasurementWindow::setRangeLabel(bool high) {
  rangeLabel->setText(high ? QStringLiteral("[ Hi ]") : QStringLiteral("[Standard]"));
  setTextColor(rangeLabel, high ? kHiColor : kStandardColor);
}

void MeasurementWindow::rangeFromTest() {
  setRangeLabel(CurrentTest.VoVota);
  if (CurrentTest.VoVota)
    highRangeButton->setChecked(true);
  else
    standardRangeButton->setChecked(true);
  focusRangeChoice();
}

// Not the first button of the group whatever is chosen (Space there would switch the range),
// nor the control the disabled grid passed the focus to after a run.
void MeasurementWindow::focusRangeChoice() {
  (highRangeButton->isChecked() ? highRangeButton : standardRangeButton)->setFocus();
}

void MeasurementWindow::chooseHighRange() {
  Settings.HighPotential = true;
  setRangeLabel(true);
}

void MeasurementWindow::chooseStandardRange() {
  Settings.HighPotential = false;
  setRangeLabel(false);
}

void MeasurementWindow::minResponseChanged(int position) {
  {
    const QSignalBlocker a(minResponseSpin), b(minResponseSlider);
    minResponseSpin->setValue(position);
    minResponseSlider->setValue(position);
  }
  Settings.MinResponse = position / 10.0;
  minResponseEdit->setText(Format("%7.1f", {Settings.MinResponse}));
  run_.updateContactThreshold();
}

void MeasurementWindow::minResponseFromSpin() { minResponseChanged(minResponseSpin->value()); }
void MeasurementWindow::minResponseFromSlider() { minResponseChanged(minResponseSlider->value()); }

void MeasurementWindow::pictureKindClick(int kind) {
  Settings.PointPictureKind = kind;
  if (!startButton->isEnabled() && run_.running()) {
    ShowPointPicture();
    valueGrid->setFocus();
  }
}

void MeasurementWindow::FillValueGrid() {
  for (int p = 1; p <= kPointCount; ++p) {
    const GridCell cell = PointCell(p);
    const double v = CurrentTest.Values[p];
    valueGrid->setCell(cell.col, cell.row, v == 0 ? QString() : Format("%3.0f", {v}));
  }
  if (run_.HasValues && CurrentTest.VoDate != 0) {
    testDateLabel->setText(formatOleDate(CurrentTest.VoDate));
    testTimeLabel->setText(formatOleTime(CurrentTest.VoDate));
  } else {
    testDateLabel->clear();
    testTimeLabel->clear();
  }
}

void MeasurementWindow::ShowPointPicture() {
  const int point = run_.CurrentPoint;
  const int column = MeridianColumn(point);
  // A missing or unreadable picture leaves the frame empty; the run goes on.
  QPixmap pixmap;
  const QString file = PointPictureFile(point, Settings.PointPictureKind);
  if (!file.isEmpty()) pixmap.load(file);
  pointPicture->setPixmap(pixmap);
  limbLabel->setText(LimbLabel(point));
  pointLabel->setText(PointName(column));
  pointNameLabel->setText(PointName(column));
  meridianLabel->setText(MeridianName(column));
  meridianEnglishLabel->setText(MeridianEnglishName(column));
  const GridCell cell = PointCell(point);
  showingPoint_ = true;
  valueGrid->setCurrent(cell.col, cell.row);
  showingPoint_ = false;
}

// ---- the run's view ----

void MeasurementWindow::runStarted() {
  valueGrid->setEnabled(true);
  valueGrid->setFocus();
  for (QToolButton* b : {analysisButton, comparisonButton, entryButton, storeButton, clearButton,
                         exitButton, startButton, readButton})
    b->setEnabled(false);
  stopButton->setEnabled(true);
  highRangeButton->setEnabled(false);
  standardRangeButton->setEnabled(false);
  clientGroup->hide();
  tracePanel->show();
  clearTrace();
}

void MeasurementWindow::storedTestCleared() {
  // The run may still be refused: no analysis or comparison of the emptied values meanwhile.
  analysisButton->setEnabled(false);
  comparisonButton->setEnabled(false);
  storeButton->setEnabled(false);
  clearButton->setEnabled(false);
  testDateLabel->clear();
  testTimeLabel->clear();
  FillValueGrid();
}

QSize MeasurementWindow::traceSize() { return traceBox->size(); }

void MeasurementWindow::showPoint(int) {
  ShowPointPicture();
  pointPicture->show();
}

void MeasurementWindow::setStatus(const QString& text) {
  if (text.isEmpty())
    statusBar->clearMessage();
  else
    statusBar->showMessage(text);
}

void MeasurementWindow::setValueFigure(const QString& text) { valueFigure->setText(text); }
void MeasurementWindow::setCompFigure(const QString& text) { compFigure->setText(text); }
void MeasurementWindow::setReadingFigure(const QString& text) { readingFigure->setText(text); }
void MeasurementWindow::setCompletion(int position) { completionBar->setPosition(position); }
void MeasurementWindow::setReadingBar(int position) {
  readingBar->setPosition(std::min(position, readingBar->MaxValue()));
}

void MeasurementWindow::setLamp(MeasureLamp which, const LampChange& change) {
  TLedLamp* lamp = which == MeasureLamp::Completion ? completionLamp
                   : which == MeasureLamp::Reading  ? readingLamp
                                                    : traceLamp;
  if (change.color) lamp->setTrueColor(*change.color);
  if (change.interval) lamp->setInterval(*change.interval);
  if (change.lit) lamp->setValue(*change.lit);
}

void MeasurementWindow::clearTrace() {
  traceImage_.fill(Qt::transparent);
  traceBox->update();
}

void MeasurementWindow::traceLine(QPoint from, QPoint to, const TPen& pen) {
  {
    QPainterCanvas canvas(&traceImage_);
    canvas.Pen = pen;
    canvas.MoveTo(from.x(), from.y());
    canvas.LineTo(to.x(), to.y());
  }
  traceBox->update(
      QRect(from, to).normalized().adjusted(-pen.Width, -pen.Width, pen.Width, pen.Width));
}

void MeasurementWindow::paintTrace(QPainter& painter) {
  painter.fillRect(QRect(QPoint(0, 0), traceBox->size()), palette().window());
  {
    QPainterCanvas canvas(&painter);
    DrawChartGrid(canvas, traceBox->width(), traceBox->height());
  }
  painter.drawImage(0, 0, traceImage_);
}

void MeasurementWindow::pointStored(int point) {
  const GridCell cell = PointCell(point);
  valueGrid->setCell(cell.col, cell.row, Format("%3.0f", {CurrentTest.Values[point]}));
  setRangeLabel(CurrentTest.VoVota);
  testDateLabel->setText(formatOleDate(CurrentTest.VoDate));
  testTimeLabel->setText(formatOleTime(CurrentTest.VoDate));
}

void MeasurementWindow::setGridEnabled(bool on) { valueGrid->setEnabled(on); }

void MeasurementWindow::runEnded() {
  measureTimer->stop();
  clientGroup->show();
  tracePanel->hide();
  pointPicture->hide();
  completionLamp->setValue(false);
  showingPoint_ = true;
  valueGrid->setCurrent(1, 1);
  showingPoint_ = false;
  valueGrid->setEnabled(false);
  setStatus(QString());
  completionBar->setPosition(0);
  readingLamp->setValue(false);
  readingBar->setPosition(0);
  readingFigure->setText(QStringLiteral("[  0.0]"));
  bool all = true;
  for (int p = 1; p <= kPointCount; ++p)
    if (CurrentTest.Values[p] == 0) all = false;
  analysisButton->setEnabled(all);
  comparisonButton->setEnabled(all);
  storeButton->setEnabled(run_.HasValues);
  clearButton->setEnabled(run_.HasValues);
  for (QToolButton* b : {exitButton, startButton, entryButton, readButton}) b->setEnabled(true);
  stopButton->setEnabled(false);
  highRangeButton->setEnabled(true);
  standardRangeButton->setEnabled(true);
  focusRangeChoice();
  for (QLabel* l : {limbLabel, pointLabel, meridianEnglishLabel, pointNameLabel, meridianLabel,
                    compFigure, valueFigure})
    l->clear();
}

}  // namespace ruto
