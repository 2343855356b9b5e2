#include "measure/ui/Syspt.h"

#include <QCloseEvent>
#include <QDate>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/Settings.h"
#include "app/ui/DialogFrame.h"
#include "app/ui/WindowParts.h"
#include "app/ui/WindowPlacement.h"
#include "base/DateTime.h"
#include "base/Numbers.h"
#include "widgets/BarMeter.h"
#include "widgets/GradientBar.h"
#include "widgets/LedLamp.h"

namespace ruto {

namespace {

const QString kIdleStatus = QStringLiteral("環境校準值為本次與前一次的校準比值。");

QLabel* newLabel(const QString& text, QWidget* parent, const QString& name = {}) {
  auto* label = new QLabel(text, parent);
  if (!name.isEmpty()) label->setObjectName(name);
  return label;
}

TBarMeter* newGauge(const char* name, const char* caption, double min, double max, double increment,
                    int digits, const QString& unit, QWidget* parent) {
  auto* gauge = new TBarMeter(parent);
  gauge->setObjectName(QString::fromLatin1(name));
  gauge->setCaption(QString::fromUtf8(caption));
  // The maximum first: a value above the old one would be refused.
  gauge->setValueMax(max);
  gauge->setValueMin(min);
  gauge->setIncrement(increment);
  gauge->setDigits(std::uint8_t(digits));
  gauge->setSignalUnit(unit);
  gauge->setMinimumSize(100, 200);
  return gauge;
}

QString today() { return formatOleDate(toOleDate(QDate::currentDate())); }
QString zero() { return Format("%5.0d", {0LL}); }

}  // namespace

TSyspt::TSyspt(QWidget* parent) : QDialog(parent, kDialogFrameFlags), run_(*this) {
  setObjectName(QStringLiteral("Syspt"));
  setWindowTitle(QStringLiteral("數位自動校準系統"));
  PlaceOnShow(this, WindowPlace::Screen);
  CalTimer = new QTimer(this);
  CalTimer->setSingleShot(true);
  connect(CalTimer, &QTimer::timeout, this, &TSyspt::calibrationTick);
  buildLayout();
  setFixedSize(777, 546);
}

TSyspt::~TSyspt() = default;

void TSyspt::buildLayout() {
  QToolBar* toolBar = nullptr;
  QVBoxLayout* root = newToolWindowLayout(this, toolBar);
  ToolButton1 = addToolButton(toolBar, this, "ToolButton1", "開始校準", "開始儀器校準功能",
                              &TSyspt::ToolButton1Click);
  ToolButton2 = addToolButton(toolBar, this, "ToolButton2", "停止校準", "停止儀器校準功能",
                              &TSyspt::ToolButton2Click);
  ToolButton3 = addToolButton(toolBar, this, "ToolButton3", "離  開", "離開儀器校準功能",
                              &TSyspt::ToolButton3Click);
  root->addWidget(toolBar);

  auto* body = new QHBoxLayout;
  body->setContentsMargins(8, 4, 8, 4);
  root->addLayout(body, 1);

  auto pair = [&](const char* title, const char* groupName, TBarMeter* a, TBarMeter* b,
                  QLabel*& first, const char* firstName, QLabel*& second, const char* secondName,
                  QLabel*& date, const char* dateName) {
    auto* group = new QGroupBox(QString::fromUtf8(title), this);
    group->setObjectName(QString::fromLatin1(groupName));
    auto* grid = new QGridLayout(group);
    a->setParent(group);
    b->setParent(group);
    grid->addWidget(a, 0, 0, 1, 2);
    grid->addWidget(b, 0, 2, 1, 2);
    first = newLabel(QString(), group, QString::fromLatin1(firstName));
    second = newLabel(QString(), group, QString::fromLatin1(secondName));
    date = newLabel(QString(), group, QString::fromLatin1(dateName));
    grid->addWidget(newLabel(QStringLiteral("標準電位值:"), group), 1, 0);
    grid->addWidget(first, 1, 1);
    grid->addWidget(newLabel(QStringLiteral("高電位值:"), group), 2, 0);
    grid->addWidget(second, 2, 1);
    grid->addWidget(newLabel(QStringLiteral("校準日期:"), group), 3, 0);
    grid->addWidget(date, 3, 1, 1, 3);
    grid->setRowStretch(0, 1);
    body->addWidget(group, 1);
  };
  BarMeter1 = newGauge("BarMeter1", "標準電位", 0, 5000, 250, 0, QString(), this);
  BarMeter2 = newGauge("BarMeter2", "高電位", 0, 5000, 250, 0, QString(), this);
  pair("前次校準資料", "GroupBox1", BarMeter1, BarMeter2, StaticText5, "StaticText5", StaticText6,
       "StaticText6", StaticText7, "StaticText7");
  BarMeter3 = newGauge("BarMeter3", "標準電位", -10, 10, 1, 1, QStringLiteral("%"), this);
  BarMeter4 = newGauge("BarMeter4", "高電位", -10, 10, 1, 1, QStringLiteral("%"), this);
  pair("本次環境校準值", "GroupBox2", BarMeter3, BarMeter4, StaticText11, "StaticText11",
       StaticText12, "StaticText12", StaticText13, "StaticText13");

  auto* panel = new QGroupBox(QStringLiteral("數位校準指標"), this);
  panel->setObjectName(QStringLiteral("Panel1"));
  auto* grid = new QGridLayout(panel);
  BarMeter5 = newGauge("BarMeter5", "校準平衡度", -10, 10, 1, 1, QStringLiteral("%"), panel);
  grid->addWidget(BarMeter5, 0, 0, 1, 3, Qt::AlignHCenter);
  auto progress = [&](int row, TGradientBar*& bar, const char* name, TLedLamp*& lamp,
                      const char* lampName, QLabel*& figure, const char* figureName,
                      const char* caption) {
    lamp = new TLedLamp(panel);
    lamp->setObjectName(QString::fromLatin1(lampName));
    lamp->setLEDStyle(LEDSqLarge);
    lamp->setFixedSize(TLedLamp::styleSize(LEDSqLarge));
    bar = new TGradientBar(panel);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setStyle(gsHorizontal);
    bar->setStartColor(clWhite);
    bar->setEndColor(clLime);
    bar->setMaxValue(2600);
    bar->setShowPercent(false);
    bar->setFixedHeight(18);
    figure = newLabel(QString(), panel, QString::fromLatin1(figureName));
    grid->addWidget(newLabel(QString::fromUtf8(caption), panel), row, 0, 1, 2);
    grid->addWidget(figure, row, 2);
    grid->addWidget(lamp, row + 1, 0);
    grid->addWidget(bar, row + 1, 1, 1, 2);
  };
  progress(1, GradientBar1, "GradientBar1", Lamp1, "Lamp1", StaticText17, "StaticText17",
           "標準電位值:");
  progress(3, GradientBar2, "GradientBar2", Lamp2, "Lamp2", StaticText18, "StaticText18",
           "高電位值:");
  LedLamp3 = new TLedLamp(panel);
  LedLamp3->setObjectName(QStringLiteral("LedLamp3"));
  LedLamp3->setLEDStyle(LEDLarge);
  LedLamp3->setFixedSize(TLedLamp::styleSize(LEDLarge));
  LedLamp3->setTrueColor(0x00FFFF);
  StaticText14 = newLabel(QString(), panel, QStringLiteral("StaticText14"));
  QFont big = StaticText14->font();
  big.setPointSize(big.pointSize() + 3);
  big.setBold(true);
  StaticText14->setFont(big);
  grid->addWidget(LedLamp3, 5, 0);
  grid->addWidget(StaticText14, 5, 1, 1, 2);
  grid->setColumnStretch(2, 1);
  grid->setRowStretch(6, 1);
  body->addWidget(panel, 1);

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(false);
  root->addWidget(StatusBar1);
}

void TSyspt::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!e->spontaneous()) FormShow();
}

void TSyspt::FormShow() {
  ToolButton2->setEnabled(false);
  showPrevious();
}

void TSyspt::showPrevious() {
  StaticText7->setText(Settings.CalDate);
  BarMeter1->setValue(Settings.CalStandard);
  BarMeter2->setValue(Settings.CalHigh);
  StaticText5->setText(Format("%5.0n", {static_cast<long long>(Settings.CalStandard)}));
  StaticText6->setText(Format("%5.0n", {static_cast<long long>(Settings.CalHigh)}));
  StaticText13->setText(today());
  for (QLabel* l : {StaticText11, StaticText12, StaticText17, StaticText18}) l->setText(zero());
  StaticText14->clear();
  GradientBar1->setPosition(0);
  GradientBar2->setPosition(0);
  BarMeter3->setValue(0);
  BarMeter4->setValue(0);
  setStatus(kIdleStatus);
}

void TSyspt::ToolButton1Click() {
  if (run_.running()) return;
  run_.start();
  CalTimer->start(0);
}

void TSyspt::calibrationTick() {
  CalTimer->stop();
  const int interval = run_.pass();
  if (interval >= 0) CalTimer->start(interval);
}

void TSyspt::ToolButton2Click() { run_.requestStop(); }

void TSyspt::ToolButton3Click() { close(); }

// A close while calibrating is the stop button: heard while waiting for contact, and the
// window stays until the sequence has ended.
void TSyspt::closeEvent(QCloseEvent* e) {
  if (run_.running()) {
    run_.requestStop();
    e->ignore();
    return;
  }
  QDialog::closeEvent(e);
}

void TSyspt::reject() {
  if (run_.running()) {
    run_.requestStop();
    return;
  }
  QDialog::reject();
}

void TSyspt::setRunning(bool on) {
  ToolButton3->setEnabled(!on);
  ToolButton1->setEnabled(!on);
  ToolButton2->setEnabled(on);
}

void TSyspt::setFigure(CalFigure which, const QString& text) {
  switch (which) {
    case CalFigure::StandardRun:
      StaticText17->setText(text);
      break;
    case CalFigure::HighRun:
      StaticText18->setText(text);
      break;
    case CalFigure::StandardResult:
      StaticText11->setText(text);
      break;
    case CalFigure::HighResult:
      StaticText12->setText(text);
      break;
  }
}

void TSyspt::setGauge(CalGauge which, double value) {
  switch (which) {
    case CalGauge::StandardChange:
      BarMeter3->setValue(value);
      break;
    case CalGauge::HighChange:
      BarMeter4->setValue(value);
      break;
    case CalGauge::Balance:
      BarMeter5->setValue(value);
      break;
  }
}

void TSyspt::setProgress(int bar, int position) {
  (bar == 1 ? GradientBar1 : GradientBar2)->setPosition(position);
}

void TSyspt::setLamp(CalLamp which, const LampChange& change) {
  TLedLamp* lamp = which == CalLamp::Lamp1 ? Lamp1 : which == CalLamp::Lamp2 ? Lamp2 : LedLamp3;
  if (change.color) lamp->setTrueColor(*change.color);
  if (change.interval) lamp->setInterval(*change.interval);
  if (change.lit) lamp->setValue(*change.lit);
}

void TSyspt::setResult(const QString& text, TColor color) {
  StaticText14->setText(text);
  QPalette pal = StaticText14->palette();
  pal.setColor(QPalette::WindowText, toQColor(color));
  StaticText14->setPalette(pal);
}

void TSyspt::setStatus(const QString& text) {
  if (text.isEmpty())
    StatusBar1->clearMessage();
  else
    StatusBar1->showMessage(text);
}

}  // namespace ruto
