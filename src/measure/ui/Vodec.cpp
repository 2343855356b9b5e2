#include "measure/ui/Vodec.h"

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
  TracePaintBox(TVodec* owner, QWidget* parent) : QWidget(parent), owner_(owner) {
    setObjectName(QStringLiteral("PaintBox1"));
    setFixedSize(kTraceWidth, kTraceHeight);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    owner_->paintTrace(painter);
  }

 private:
  TVodec* owner_;
};

QLabel* newLabel(const QString& text, QWidget* parent, const QString& name = {}) {
  auto* label = new QLabel(text, parent);
  if (!name.isEmpty()) label->setObjectName(name);
  return label;
}

QString dateText(double ole) { return formatOleDate(ole); }

}  // namespace

TVodec::TVodec(QWidget* parent) : TOpenerDialog(parent, kDialogFrameFlags), run_(*this) {
  setObjectName(QStringLiteral("Vodec"));
  setWindowTitle(QStringLiteral("經絡量測"));
  PlaceOnShow(this, WindowPlace::Screen);
  QFont f(QStringLiteral("Tahoma"));
  f.setPointSize(8);
  setFont(f);
  traceImage_ = QImage(kTraceWidth, kTraceHeight, QImage::Format_ARGB32_Premultiplied);
  traceImage_.fill(Qt::transparent);
  MeasureTimer = new QTimer(this);
  MeasureTimer->setSingleShot(true);
  connect(MeasureTimer, &QTimer::timeout, this, &TVodec::measureTick);
  buildLayout();
  setFixedSize(783, 556);
  FormCreate();
}

TVodec::~TVodec() = default;

void TVodec::buildLayout() {
  QToolBar* toolBar = nullptr;
  QVBoxLayout* root = newToolWindowLayout(this, toolBar);
  ToolButton9 = addToolButton(toolBar, this, "ToolButton9", "經絡測量", "經絡能量數據測量",
                              &TVodec::ToolButton9Click);
  ToolButton7 = addToolButton(toolBar, this, "ToolButton7", "停止測量", "停止經絡能量測量",
                              &TVodec::ToolButton7Click);
  toolBar->addSeparator();
  ToolButton1 = addToolButton(toolBar, this, "ToolButton1", "能量分析", "經絡能量分析",
                              &TVodec::ToolButton1Click);
  ToolButton3 = addToolButton(toolBar, this, "ToolButton3", "儲存資料", "儲存表格中的能量數據",
                              &TVodec::ToolButton3Click);
  ToolButton4 = addToolButton(toolBar, this, "ToolButton4", "讀取資料", "讀取資料庫中的數據",
                              &TVodec::ToolButton4Click);
  ToolButton2 = addToolButton(toolBar, this, "ToolButton2", "清除數據", "清除表格中的能量數據",
                              &TVodec::ToolButton2Click);
  ToolButton5 = addToolButton(toolBar, this, "ToolButton5", "數據輸入", "人工輸入數據",
                              &TVodec::ToolButton5Click);
  ToolButton6 = addToolButton(toolBar, this, "ToolButton6", "能量比對", "能量比對系統",
                              &TVodec::ToolButton6Click);
  toolBar->addSeparator();
  ToolButton8 = addToolButton(toolBar, this, "ToolButton8", "離  開", "離開經絡量測系統",
                              &TVodec::ToolButton8Click);
  root->addWidget(toolBar);

  auto* body = new QVBoxLayout;
  body->setContentsMargins(8, 2, 8, 2);
  body->setSpacing(4);
  root->addLayout(body, 1);

  // Heading over the grid.
  auto* heading = new QHBoxLayout;
  heading->addWidget(newLabel(QStringLiteral("經絡能量測定值"), this));
  heading->addWidget(newLabel(QStringLiteral("Meridian Energy Values"), this));
  StaticText27 = newLabel(QStringLiteral("[Standard]"), this, QStringLiteral("StaticText27"));
  heading->addWidget(StaticText27);
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

  StringGrid1 = newValueGrid(this);
  StringGrid1->setAccessibleName(QStringLiteral("經絡能量測定值"));
  StringGrid1->setCursor(Qt::PointingHandCursor);
  StringGrid1->OnClick = [this] { StringGrid1Click(); };
  body->addWidget(StringGrid1, 0, Qt::AlignHCenter);

  auto* lower = new QHBoxLayout;
  lower->setSpacing(6);
  body->addLayout(lower, 1);

  // Left column: figures, status, range and minimum response.
  auto* left = new QVBoxLayout;
  lower->addLayout(left);
  auto* figures = new QGridLayout;
  StaticText18 = newLabel(QString(), this, QStringLiteral("StaticText18"));
  StaticText17 = newLabel(QString(), this, QStringLiteral("StaticText17"));
  StaticText24 = newLabel(QString(), this, QStringLiteral("StaticText24"));
  StaticText23 = newLabel(QString(), this, QStringLiteral("StaticText23"));
  QFont figureFont = font();
  figureFont.setPointSize(12);
  figureFont.setBold(true);
  StaticText18->setFont(figureFont);
  StaticText17->setFont(figureFont);
  figures->addWidget(newLabel(QStringLiteral("經絡測量值:"), this), 0, 0);
  figures->addWidget(StaticText18, 0, 1);
  figures->addWidget(newLabel(QStringLiteral("經絡補償值:"), this), 1, 0);
  figures->addWidget(StaticText17, 1, 1);
  figures->addWidget(newLabel(QStringLiteral("測量日期:"), this), 2, 0);
  figures->addWidget(StaticText24, 2, 1);
  figures->addWidget(newLabel(QStringLiteral("測量時間:"), this), 3, 0);
  figures->addWidget(StaticText23, 3, 1);
  figures->setColumnMinimumWidth(1, 90);
  left->addLayout(figures);

  auto* state = new QGroupBox(QStringLiteral("測量狀態"), this);
  state->setObjectName(QStringLiteral("GroupBox1"));
  auto* stateGrid = new QGridLayout(state);
  StaticText14 = newLabel(QString(), state, QStringLiteral("StaticText14"));
  StaticText15 = newLabel(QString(), state, QStringLiteral("StaticText15"));
  StaticText16 = newLabel(QString(), state, QStringLiteral("StaticText16"));
  stateGrid->addWidget(newLabel(QStringLiteral("測量位置:"), state), 0, 0);
  stateGrid->addWidget(StaticText14, 0, 1);
  stateGrid->addWidget(newLabel(QStringLiteral("經絡名稱:"), state), 1, 0);
  stateGrid->addWidget(StaticText15, 1, 1);
  stateGrid->addWidget(newLabel(QStringLiteral("測定點名稱:"), state), 2, 0);
  stateGrid->addWidget(StaticText16, 2, 1);
  stateGrid->setColumnStretch(1, 1);
  left->addWidget(state);

  auto* range = new QGroupBox(QStringLiteral("測量電位設定"), this);
  range->setObjectName(QStringLiteral("GroupBox2"));
  auto* rangeRow = new QHBoxLayout(range);
  RadioButton2 = new QRadioButton(QStringLiteral("標準電位測量"), range);
  RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
  RadioButton1 = new QRadioButton(QStringLiteral("高電位測量"), range);
  RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
  rangeRow->addWidget(RadioButton2);
  rangeRow->addWidget(RadioButton1);
  // Selecting from code runs the handlers too, so the setting follows the buttons.
  connect(RadioButton1, &QRadioButton::toggled, this, [this](bool on) {
    if (on) RadioButton1Click();
  });
  connect(RadioButton2, &QRadioButton::toggled, this, [this](bool on) {
    if (on) RadioButton2Click();
  });
  left->addWidget(range);

  auto* response = new QGroupBox(QStringLiteral("最低測量反應值"), this);
  response->setObjectName(QStringLiteral("GroupBox4"));
  auto* responseRow = new QHBoxLayout(response);
  TrackBar1 = new QSlider(Qt::Horizontal, response);
  TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
  TrackBar1->setRange(1, 50);
  TrackBar1->setTickInterval(10);
  TrackBar1->setTickPosition(QSlider::TicksBelow);
  Edit1 = new QLineEdit(response);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->setReadOnly(true);
  Edit1->setFixedWidth(48);
  UpDown1 = new QSpinBox(response);
  UpDown1->setObjectName(QStringLiteral("UpDown1"));
  UpDown1->setRange(1, 50);
  UpDown1->setFixedWidth(18);  // the arrows only: Edit1 shows the value
  responseRow->addWidget(TrackBar1, 1);
  responseRow->addWidget(Edit1);
  responseRow->addWidget(UpDown1);
  responseRow->addWidget(newLabel(QStringLiteral("(1.0)"), response));
  connect(TrackBar1, &QSlider::valueChanged, this, &TVodec::TrackBar1Change);
  connect(UpDown1, &QSpinBox::valueChanged, this, &TVodec::UpDown1Click);
  left->addWidget(response);
  left->addStretch(1);

  // Middle: the client block, or the trace panel during a run.
  auto* middle = new QVBoxLayout;
  lower->addLayout(middle);
  GroupBox3 = new QGroupBox(QStringLiteral("受測者資料"), this);
  GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
  auto* client = new QGridLayout(GroupBox3);
  StaticText1 = newLabel(QString(), GroupBox3, QStringLiteral("StaticText1"));
  StaticText2 = newLabel(QString(), GroupBox3, QStringLiteral("StaticText2"));
  StaticText3 = newLabel(QString(), GroupBox3, QStringLiteral("StaticText3"));
  StaticText5 = newLabel(QString(), GroupBox3, QStringLiteral("StaticText5"));
  StaticText4 = newLabel(QString(), GroupBox3, QStringLiteral("StaticText4"));
  client->addWidget(newLabel(QStringLiteral("編號:"), GroupBox3), 0, 0);
  client->addWidget(StaticText1, 0, 1, 1, 3);
  client->addWidget(newLabel(QStringLiteral("姓名:"), GroupBox3), 1, 0);
  client->addWidget(StaticText2, 1, 1, 1, 3);
  client->addWidget(newLabel(QStringLiteral("生日:"), GroupBox3), 2, 0);
  client->addWidget(StaticText3, 2, 1);
  client->addWidget(newLabel(QStringLiteral("年齡:"), GroupBox3), 2, 2);
  client->addWidget(StaticText5, 2, 3);
  client->addWidget(newLabel(QStringLiteral("電話:"), GroupBox3), 3, 0);
  client->addWidget(StaticText4, 3, 1, 1, 3);
  client->addWidget(newLabel(QStringLiteral("性別:"), GroupBox3), 4, 0);
  RadioButton3 = new QRadioButton(QStringLiteral("男性"), GroupBox3);
  RadioButton3->setObjectName(QStringLiteral("RadioButton3"));
  RadioButton4 = new QRadioButton(QStringLiteral("女性"), GroupBox3);
  RadioButton4->setObjectName(QStringLiteral("RadioButton4"));
  client->addWidget(RadioButton3, 4, 1);
  client->addWidget(RadioButton4, 4, 2);
  client->setColumnStretch(1, 1);
  client->setRowStretch(5, 1);
  connect(RadioButton3, &QRadioButton::clicked, this, [] { CurrentClient.Sex = true; });
  connect(RadioButton4, &QRadioButton::clicked, this, [] { CurrentClient.Sex = false; });
  GroupBox3->setFixedWidth(kTraceWidth + 20);
  middle->addWidget(GroupBox3, 1);

  Panel4 = new QFrame(this);
  Panel4->setObjectName(QStringLiteral("Panel4"));
  Panel4->setFrameShape(QFrame::Panel);
  Panel4->setFrameShadow(QFrame::Sunken);
  auto* panel = new QVBoxLayout(Panel4);
  panel->setContentsMargins(4, 4, 4, 4);
  auto* panelHead = new QHBoxLayout;
  LedLamp1 = new TLedLamp(Panel4);
  LedLamp1->setObjectName(QStringLiteral("LedLamp1"));
  LedLamp1->setLEDStyle(LEDSqSmall);
  LedLamp1->setFixedSize(TLedLamp::styleSize(LEDSqSmall));
  LedLamp1->setTrueColor(kHiColor);
  LedLamp1->setValue(true);  // lit from the start: the run only changes its colour
  panelHead->addWidget(LedLamp1);
  panelHead->addWidget(newLabel(QStringLiteral("測量平衡圖"), Panel4));
  panelHead->addStretch(1);
  panelHead->addWidget(newLabel(QStringLiteral("Scale: 10uA"), Panel4));
  panel->addLayout(panelHead);
  PaintBox1 = new TracePaintBox(this, Panel4);
  panel->addWidget(PaintBox1, 0, Qt::AlignCenter);
  panel->addStretch(1);
  Panel4->setFixedWidth(kTraceWidth + 20);
  Panel4->hide();
  middle->addWidget(Panel4, 1);

  // Right column: the point picture, its kind, and the two bars.
  auto* right = new QVBoxLayout;
  lower->addLayout(right, 1);
  auto* picture = new QGroupBox(QStringLiteral("代表測定點圖示"), this);
  picture->setObjectName(QStringLiteral("GroupBox5"));
  auto* pictureBox = new QVBoxLayout(picture);
  Label1 = newLabel(QString(), picture, QStringLiteral("Label1"));
  Label1->setAlignment(Qt::AlignCenter);
  Image2 = newLabel(QString(), picture, QStringLiteral("Image2"));
  Image2->setScaledContents(true);
  Image2->setFixedSize(150, 120);
  // The picture comes and goes with a run; the column below it stays where it is.
  QSizePolicy keepPlace = Image2->sizePolicy();
  keepPlace.setRetainSizeWhenHidden(true);
  Image2->setSizePolicy(keepPlace);
  Label2 = newLabel(QString(), picture, QStringLiteral("Label2"));
  Label2->setAlignment(Qt::AlignCenter);
  setTextColor(Label2, kHiColor);
  pictureBox->addWidget(Label1);
  pictureBox->addWidget(Image2, 0, Qt::AlignHCenter);
  pictureBox->addWidget(Label2);
  auto* kinds = new QHBoxLayout;
  RadioButton5 = new QRadioButton(QStringLiteral("照片"), picture);
  RadioButton5->setObjectName(QStringLiteral("RadioButton5"));
  RadioButton6 = new QRadioButton(QStringLiteral("圖像"), picture);
  RadioButton6->setObjectName(QStringLiteral("RadioButton6"));
  RadioButton7 = new QRadioButton(QStringLiteral("合成"), picture);
  RadioButton7->setObjectName(QStringLiteral("RadioButton7"));
  kinds->addWidget(RadioButton5);
  kinds->addWidget(RadioButton6);
  kinds->addWidget(RadioButton7);
  pictureBox->addLayout(kinds);
  connect(RadioButton5, &QRadioButton::clicked, this, &TVodec::RadioButton5Click);
  connect(RadioButton6, &QRadioButton::clicked, this, &TVodec::RadioButton6Click);
  connect(RadioButton7, &QRadioButton::clicked, this, &TVodec::RadioButton7Click);
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
  StaticText34 = newLabel(QStringLiteral("[  0.0]"), this, QStringLiteral("StaticText34"));
  StaticText34->setMinimumWidth(StaticText34->fontMetrics().horizontalAdvance("[888.8]") + 4);
  bar(GradientBar2, "GradientBar2", clRed, 4095, false, Lamp2, "Lamp2", StaticText34);
  bar(GradientBar1, "GradientBar1", clLime, 2500, true, Lamp1, "Lamp1",
      newLabel(QStringLiteral("完成比率"), this));
  right->addStretch(1);

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(false);
  root->addWidget(StatusBar1);
}

// ---- creation, showing, closing ----

void TVodec::FormCreate() {
  for (int c = 1; c <= 12; ++c) StringGrid1->setCell(c, 0, MeridianHeading(c));
  StringGrid1->setCell(0, 1, SideHeading(1));
  StringGrid1->setCell(0, 2, SideHeading(2));
  // A response of 0 would let a reading of 0 count as contact.
  Settings.MinResponse = std::clamp(Settings.MinResponse, 0.1, 5.0);
  const int position = nearInt(Settings.MinResponse * 10);
  {
    const QSignalBlocker a(UpDown1), b(TrackBar1);
    UpDown1->setValue(position);
    TrackBar1->setValue(UpDown1->value());
  }
  Edit1->setText(Format("%7.1f", {Settings.MinResponse}));
  run_.updateContactThreshold();
  if (Settings.HighPotential)
    RadioButton1->setChecked(true);
  else
    RadioButton2->setChecked(true);
  switch (Settings.PointPictureKind) {
    case 1:
      RadioButton5->setChecked(true);
      break;
    case 2:
      RadioButton6->setChecked(true);
      break;
    case 3:
      RadioButton7->setChecked(true);
      break;
    default:
      break;
  }
}

void TVodec::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (e->spontaneous()) return;
  FormShow();
}

void TVodec::FormShow() {
  StringGrid1->setEnabled(false);
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
    StaticText24->clear();
    StaticText23->clear();
    run_.HasValues = false;
    CurrentTest.VoVota = Settings.HighPotential;
  }
  setRangeLabel(CurrentTest.VoVota);
  setButtonsIdle(sum != 0 && all, sum != 0);

  StaticText1->setText(CurrentClient.CustNo);
  StaticText2->setText(CurrentClient.Name);
  if (CurrentClient.DBirth >= 4000.0) {
    StaticText3->setText(dateText(CurrentClient.DBirth));
    const QDateTime birth = fromOleDate(CurrentClient.DBirth);
    const int years = QDate::currentDate().year() - (birth.isValid() ? birth.date().year() : 0);
    StaticText5->setText(Format("%3d", {static_cast<long long>(years)}));
  } else {
    StaticText3->clear();
    StaticText5->clear();
  }
  StaticText4->setText(CurrentClient.Tel);
  if (CurrentClient.Sex)
    RadioButton3->setChecked(true);
  else
    RadioButton4->setChecked(true);

  for (QLabel* l :
       {StaticText14, StaticText15, StaticText16, Label2, Label1, StaticText18, StaticText17})
    l->clear();
}

void TVodec::setButtonsIdle(bool allValues, bool anyValue) {
  ToolButton1->setEnabled(allValues);
  ToolButton6->setEnabled(allValues);
  ToolButton3->setEnabled(anyValue);
  ToolButton2->setEnabled(anyValue);
  ToolButton9->setEnabled(true);
  ToolButton4->setEnabled(true);
  ToolButton7->setEnabled(false);
}

void TVodec::FormClose() {
  Settings.HighPotential = RadioButton1->isChecked();
  LoadSaveSettings(true);  // reports a failure itself
}

// A close during a run is the stop button: the run ends first.
void TVodec::closeEvent(QCloseEvent* e) {
  if (run_.running()) {
    ToolButton7Click();
    e->ignore();
    return;
  }
  QDialog::closeEvent(e);
}

void TVodec::reject() {
  if (run_.running()) {
    ToolButton7Click();
    return;
  }
  FormClose();
  QDialog::reject();
}

// ---- toolbar ----

void TVodec::ToolButton9Click() {
  if (!run_.start()) return;
  MeasureTimer->start(0);
}

void TVodec::measureTick() {
  MeasureTimer->stop();
  const int interval = run_.pass();
  if (interval >= 0) MeasureTimer->start(interval);
}

void TVodec::ToolButton7Click() {
  StringGrid1->setEnabled(false);
  run_.requestStop();
}

void TVodec::ToolButton1Click() {
  if (!WindowOpeners().analysis) return;
  runChildHidden([this] { OpenWindow(WindowOpeners().analysis, this); },
                 [] {
                   if (CurrentTest.LivePointCount >= 12) {
                     AccessMeasureCounter(true);
                     CurrentTest.LivePointCount = 0;
                   }
                 });
}

void TVodec::ToolButton3Click() {
  if (!WindowOpeners().storeTest) return;
  runChildHidden([this] { OpenWindow(WindowOpeners().storeTest, this); }, {});
}

void TVodec::ToolButton4Click() {
  if (!WindowOpeners().clientBrowser) return;
  ViewState.BrowseForCurrent = true;
  runChildHidden([this] { OpenWindow(WindowOpeners().clientBrowser, this); },
                 [this] { rangeFromTest(); });
}

void TVodec::ToolButton5Click() {
  if (!WindowOpeners().manualEntry) return;
  ViewState.EntryNewMode = true;
  runChildHidden([this] { OpenWindow(WindowOpeners().manualEntry, this, 0); },
                 [this] {
                   rangeFromTest();
                   FillValueGrid();
                 });
}

void TVodec::ToolButton6Click() {
  if (!WindowOpeners().comparison) return;
  runChildHidden([this] { OpenWindow(WindowOpeners().comparison, this); }, {});
}

void TVodec::ToolButton2Click() {
  if (!AskUser(MsgKind::QuestionYesNo,
               QStringLiteral("確定要清除視窗中的經絡能量數據嗎?\r\n (本功能只會清除視窗表格中的"
                              "資料，不會影響已經儲存的病歷資料)")))
    return;
  ClearCurrentTest();
  ClearCurrentClient();
  run_.HasValues = false;
  FillValueGrid();
  for (QToolButton* b : {ToolButton1, ToolButton6, ToolButton3, ToolButton2, ToolButton7})
    b->setEnabled(false);
  for (QToolButton* b : {ToolButton8, ToolButton9, ToolButton4}) b->setEnabled(true);
  for (QLabel* l : {StaticText1, StaticText2, StaticText3, StaticText4, StaticText5}) l->clear();
  RadioButton3->setChecked(true);
  CurrentTest.VoVota = Settings.HighPotential;
  setRangeLabel(CurrentTest.VoVota);
}

void TVodec::ToolButton8Click() { close(); }

// ---- grid, range, response, picture kind ----

void TVodec::StringGrid1Click() {
  if (showingPoint_) return;
  const int point = CellPoint(StringGrid1->Col(), StringGrid1->Row());
  if (point != 0) run_.reaim(point);
}

void TVodec::setRangeLabel(bool high) {
  StaticText27->setText(high ? QStringLiteral("[ Hi ]") : QStringLiteral("[Standard]"));
  setTextColor(StaticText27, high ? kHiColor : kStandardColor);
}

void TVodec::rangeFromTest() {
  setRangeLabel(CurrentTest.VoVota);
  if (CurrentTest.VoVota)
    RadioButton1->setChecked(true);
  else
    RadioButton2->setChecked(true);
}

void TVodec::RadioButton1Click() {
  Settings.HighPotential = true;
  setRangeLabel(true);
}

void TVodec::RadioButton2Click() {
  Settings.HighPotential = false;
  setRangeLabel(false);
}

void TVodec::minResponseChanged(int position) {
  {
    const QSignalBlocker a(UpDown1), b(TrackBar1);
    UpDown1->setValue(position);
    TrackBar1->setValue(position);
  }
  Settings.MinResponse = position / 10.0;
  Edit1->setText(Format("%7.1f", {Settings.MinResponse}));
  run_.updateContactThreshold();
}

void TVodec::UpDown1Click() { minResponseChanged(UpDown1->value()); }
void TVodec::TrackBar1Change() { minResponseChanged(TrackBar1->value()); }

void TVodec::pictureKindClick(int kind) {
  Settings.PointPictureKind = kind;
  if (!ToolButton9->isEnabled() && run_.running()) {
    ShowPointPicture();
    StringGrid1->setFocus();
  }
}

void TVodec::FillValueGrid() {
  for (int p = 1; p <= kPointCount; ++p) {
    const GridCell cell = PointCell(p);
    const double v = CurrentTest.Values[p];
    StringGrid1->setCell(cell.col, cell.row, v == 0 ? QString() : Format("%3.0f", {v}));
  }
  if (run_.HasValues && CurrentTest.VoDate != 0) {
    StaticText24->setText(formatOleDate(CurrentTest.VoDate));
    StaticText23->setText(formatOleTime(CurrentTest.VoDate));
  } else {
    StaticText24->clear();
    StaticText23->clear();
  }
}

void TVodec::ShowPointPicture() {
  const int point = run_.CurrentPoint;
  const int column = MeridianColumn(point);
  // A missing or unreadable picture leaves the frame empty; the run goes on.
  QPixmap pixmap;
  const QString file = PointPictureFile(point, Settings.PointPictureKind);
  if (!file.isEmpty()) pixmap.load(file);
  Image2->setPixmap(pixmap);
  StaticText14->setText(LimbLabel(point));
  StaticText16->setText(PointName(column));
  Label2->setText(PointName(column));
  StaticText15->setText(MeridianName(column));
  Label1->setText(MeridianEnglishName(column));
  const GridCell cell = PointCell(point);
  showingPoint_ = true;
  StringGrid1->setCurrent(cell.col, cell.row);
  showingPoint_ = false;
}

// ---- the run's view ----

void TVodec::runStarted() {
  StringGrid1->setEnabled(true);
  StringGrid1->setFocus();
  for (QToolButton* b : {ToolButton1, ToolButton6, ToolButton5, ToolButton3, ToolButton2,
                         ToolButton8, ToolButton9, ToolButton4})
    b->setEnabled(false);
  ToolButton7->setEnabled(true);
  RadioButton1->setEnabled(false);
  RadioButton2->setEnabled(false);
  GroupBox3->hide();
  Panel4->show();
  clearTrace();
}

void TVodec::storedTestCleared() {
  ToolButton3->setEnabled(false);
  ToolButton2->setEnabled(false);
  StaticText24->clear();
  StaticText23->clear();
  FillValueGrid();
}

QSize TVodec::traceSize() { return PaintBox1->size(); }

void TVodec::showPoint(int) {
  ShowPointPicture();
  Image2->show();
}

void TVodec::setStatus(const QString& text) {
  if (text.isEmpty())
    StatusBar1->clearMessage();
  else
    StatusBar1->showMessage(text);
}

void TVodec::setValueFigure(const QString& text) { StaticText18->setText(text); }
void TVodec::setCompFigure(const QString& text) { StaticText17->setText(text); }
void TVodec::setReadingFigure(const QString& text) { StaticText34->setText(text); }
void TVodec::setCompletion(int position) { GradientBar1->setPosition(position); }
void TVodec::setReadingBar(int position) {
  GradientBar2->setPosition(std::min(position, GradientBar2->MaxValue()));
}

void TVodec::setLamp(MeasureLamp which, const LampChange& change) {
  TLedLamp* lamp = which == MeasureLamp::Lamp1   ? Lamp1
                   : which == MeasureLamp::Lamp2 ? Lamp2
                                                 : LedLamp1;
  if (change.color) lamp->setTrueColor(*change.color);
  if (change.interval) lamp->setInterval(*change.interval);
  if (change.lit) lamp->setValue(*change.lit);
}

void TVodec::clearTrace() {
  traceImage_.fill(Qt::transparent);
  PaintBox1->update();
}

void TVodec::traceLine(QPoint from, QPoint to, const TPen& pen) {
  {
    QPainterCanvas canvas(&traceImage_);
    canvas.Pen = pen;
    canvas.MoveTo(from.x(), from.y());
    canvas.LineTo(to.x(), to.y());
  }
  PaintBox1->update(
      QRect(from, to).normalized().adjusted(-pen.Width, -pen.Width, pen.Width, pen.Width));
}

void TVodec::paintTrace(QPainter& painter) {
  painter.fillRect(QRect(QPoint(0, 0), PaintBox1->size()), palette().window());
  {
    QPainterCanvas canvas(&painter);
    DrawChartGrid(canvas, PaintBox1->width(), PaintBox1->height());
  }
  painter.drawImage(0, 0, traceImage_);
}

void TVodec::pointStored(int point) {
  const GridCell cell = PointCell(point);
  StringGrid1->setCell(cell.col, cell.row, Format("%3.0f", {CurrentTest.Values[point]}));
  setRangeLabel(CurrentTest.VoVota);
  StaticText24->setText(formatOleDate(CurrentTest.VoDate));
  StaticText23->setText(formatOleTime(CurrentTest.VoDate));
}

void TVodec::setGridEnabled(bool on) { StringGrid1->setEnabled(on); }

void TVodec::runEnded() {
  MeasureTimer->stop();
  GroupBox3->show();
  Panel4->hide();
  Image2->hide();
  Lamp1->setValue(false);
  showingPoint_ = true;
  StringGrid1->setCurrent(1, 1);
  showingPoint_ = false;
  StringGrid1->setEnabled(false);
  setStatus(QString());
  GradientBar1->setPosition(0);
  Lamp2->setValue(false);
  GradientBar2->setPosition(0);
  StaticText34->setText(QStringLiteral("[  0.0]"));
  bool all = true;
  for (int p = 1; p <= kPointCount; ++p)
    if (CurrentTest.Values[p] == 0) all = false;
  ToolButton1->setEnabled(all);
  ToolButton6->setEnabled(all);
  ToolButton3->setEnabled(run_.HasValues);
  ToolButton2->setEnabled(run_.HasValues);
  for (QToolButton* b : {ToolButton8, ToolButton9, ToolButton5, ToolButton4}) b->setEnabled(true);
  ToolButton7->setEnabled(false);
  RadioButton1->setEnabled(true);
  RadioButton2->setEnabled(true);
  for (QLabel* l :
       {StaticText14, StaticText16, Label1, Label2, StaticText15, StaticText17, StaticText18})
    l->clear();
}

}  // namespace ruto
