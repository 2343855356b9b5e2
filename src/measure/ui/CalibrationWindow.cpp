#include "measure/ui/CalibrationWindow.h"

#include <QCloseEvent>
#include <QDate>
#include <QFrame>
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
#include "app/ui/WindowKeys.h"
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
  // Client data and settings are shown as written, also where they look like markup.
  label->setTextFormat(Qt::PlainText);
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

CalibrationWindow::CalibrationWindow(QWidget* parent)
    : QDialog(parent, kDialogFrameFlags), run_(*this) {
  FollowPlatformKeys(this);
  setObjectName(QStringLiteral("CalibrationWindow"));
  setWindowTitle(QStringLiteral("數位自動校準系統"));
  PlaceOnShow(this, WindowPlace::Screen);
  calibrationTimer = new QTimer(this);
  calibrationTimer->setSingleShot(true);
  connect(calibrationTimer, &QTimer::timeout, this, &CalibrationWindow::calibrationTick);
  buildLayout();
  setFixedSize(777, 546);
}

CalibrationWindow::~CalibrationWindow() = default;

void CalibrationWindow::buildLayout() {
  QToolBar* toolBar = nullptr;
  QVBoxLayout* root = newToolWindowLayout(this, toolBar);
  startButton = addToolButton(toolBar, this, "startButton", "開始校準", "開始儀器校準功能",
                              &CalibrationWindow::startCalibration);
  stopButton = addToolButton(toolBar, this, "stopButton", "停止校準", "停止儀器校準功能",
                             &CalibrationWindow::stopCalibration);
  exitButton = addToolButton(toolBar, this, "exitButton", "離  開", "離開儀器校準功能",
                             &CalibrationWindow::exitWindow);
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
  previousStandardGauge =
      newGauge("previousStandardGauge", "標準電位", 0, 5000, 250, 0, QString(), this);
  previousHighGauge = newGauge("previousHighGauge", "高電位", 0, 5000, 250, 0, QString(), this);
  pair("前次校準資料", "previousGroup", previousStandardGauge, previousHighGauge,
       previousStandardLabel, "previousStandardLabel", previousHighLabel, "previousHighLabel",
       previousDateLabel, "previousDateLabel");
  standardChangeGauge =
      newGauge("standardChangeGauge", "標準電位", -10, 10, 1, 1, QStringLiteral("%"), this);
  highChangeGauge = newGauge("highChangeGauge", "高電位", -10, 10, 1, 1, QStringLiteral("%"), this);
  pair("本次環境校準值", "currentGroup", standardChangeGauge, highChangeGauge, standardResultLabel,
       "standardResultLabel", highResultLabel, "highResultLabel", dateLabel, "dateLabel");

  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("indicatorPanel"));
  panel->setAccessibleName(QStringLiteral("數位校準指標"));
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  auto* grid = new QGridLayout(panel);
  balanceGauge = newGauge("balanceGauge", "校準平衡度", -10, 10, 1, 1, QStringLiteral("%"), panel);
  grid->addWidget(balanceGauge, 0, 0, 1, 3, Qt::AlignHCenter);
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
  progress(1, standardBar, "standardBar", standardLamp, "standardLamp", standardRunLabel,
           "standardRunLabel", "標準電位值:");
  progress(3, highBar, "highBar", highLamp, "highLamp", highRunLabel, "highRunLabel", "高電位值:");
  resultLamp = new TLedLamp(panel);
  resultLamp->setObjectName(QStringLiteral("resultLamp"));
  resultLamp->setLEDStyle(LEDLarge);
  resultLamp->setFixedSize(TLedLamp::styleSize(LEDLarge));
  resultLamp->setTrueColor(0x00FFFF);
  resultLabel = newLabel(QString(), panel, QStringLiteral("resultLabel"));
  QFont big = resultLabel->font();
  big.setPointSize(big.pointSize() + 3);
  big.setBold(true);
  resultLabel->setFont(big);
  grid->addWidget(resultLamp, 5, 0);
  grid->addWidget(resultLabel, 5, 1, 1, 2);
  // The panel shows its caption centred in the room its indicators leave free.
  grid->addWidget(
      newLabel(QStringLiteral("數位校準指標"), panel, QStringLiteral("indicatorCaption")), 6, 0, 1,
      3, Qt::AlignCenter);
  grid->setColumnStretch(2, 1);
  grid->setRowStretch(6, 1);
  body->addWidget(panel, 1);

  statusBar = new QStatusBar(this);
  statusBar->setObjectName(QStringLiteral("statusBar"));
  statusBar->setSizeGripEnabled(false);
  root->addWidget(statusBar);
}

void CalibrationWindow::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!e->spontaneous()) FormShow();
}

void CalibrationWindow::FormShow() {
  stopButton->setEnabled(false);
  showPrevious();
}

void CalibrationWindow::showPrevious() {
  previousDateLabel->setText(Settings.CalDate);
  previousStandardGauge->setValue(Settings.CalStandard);
  previousHighGauge->setValue(Settings.CalHigh);
  previousStandardLabel->setText(Format("%5.0n", {static_cast<long long>(Settings.CalStandard)}));
  previousHighLabel->setText(Format("%5.0n", {static_cast<long long>(Settings.CalHigh)}));
  dateLabel->setText(today());
  for (QLabel* l : {standardResultLabel, highResultLabel, standardRunLabel, highRunLabel})
    l->setText(zero());
  resultLabel->clear();
  standardBar->setPosition(0);
  highBar->setPosition(0);
  standardChangeGauge->setValue(0);
  highChangeGauge->setValue(0);
  setStatus(kIdleStatus);
}

void CalibrationWindow::startCalibration() {
  if (run_.running()) return;
  run_.start();
  calibrationTimer->start(0);
}

void CalibrationWindow::calibrationTick() {
  calibrationTimer->stop();
  const int interval = run_.pass();
  if (interval >= 0) calibrationTimer->start(interval);
}

void CalibrationWindow::stopCalibration() { run_.requestStop(); }

void CalibrationWindow::exitWindow() { close(); }

// A close while calibrating is the stop button: heard while waiting for contact, and the
// window stays until the sequence has ended.
void CalibrationWindow::closeEvent(QCloseEvent* e) {
  if (run_.running()) {
    run_.requestStop();
    e->ignore();
    return;
  }
  QDialog::closeEvent(e);
}

void CalibrationWindow::reject() {
  if (run_.running()) {
    run_.requestStop();
    return;
  }
  QDialog::reject();
}

void CalibrationWindow::setRunning(bool on) {
  exitButton->setEnabled(!on);
  startButton->setEnabled(!on);
  stopButton->setEnabled(on);
}

void CalibrationWindow::setFigure(CalFigure which, const QString& text) {
  switch (which) {
    case CalFigure::StandardRun:
      standardRunLabel->setText(text);
      break;
    case CalFigure::HighRun:
      highRunLabel->setText(text);
      break;
    case CalFigure::StandardResult:
      standardResultLabel->setText(text);
      break;
    case CalFigure::HighResult:
      highResultLabel->setText(text);
      break;
  }
}

void CalibrationWindow::setGauge(CalGauge which, double value) {
  switch (which) {
    case CalGauge::StandardChange:
      standardChangeGauge->setValue(value);
      break;
    case CalGauge::HighChange:
      highChangeGauge->setValue(value);
      break;
    case CalGauge::Balance:
      balanceGauge->setValue(value);
      break;
  }
}

void CalibrationWindow::setProgress(int bar, int position) {
  (bar == 1 ? standardBar : highBar)->setPosition(position);
}

void CalibrationWindow::setLamp(CalLamp which, const LampChange& change) {
  TLedLamp* lamp = which == CalLamp::Standard ? standardLamp
                   : which == CalLamp::High   ? highLamp
                                              : resultLamp;
  if (change.color) lamp->setTrueColor(*change.color);
  if (change.interval) lamp->setInterval(*change.interval);
  if (change.lit) lamp->setValue(*change.lit);
}

void CalibrationWindow::setResult(const QString& text, TColor color) {
  resultLabel->setText(text);
  QPalette pal = resultLabel->palette();
  pal.setColor(QPalette::WindowText, toQColor(color));
  resultLabel->setPalette(pal);
}

void CalibrationWindow::setStatus(const QString& text) {
  if (text.isEmpty())
    statusBar->clearMessage();
  else
    statusBar->showMessage(text);
}

}  // namespace ruto
