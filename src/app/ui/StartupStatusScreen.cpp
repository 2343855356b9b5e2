#include "app/ui/StartupStatusScreen.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "app/ui/MessageBox.h"
#include "app/ui/WindowKeys.h"
#include "app/ui/WindowPlacement.h"
#include "widgets/GradientBar.h"
#include "widgets/LedLamp.h"

namespace ruto {

namespace {

QLabel* label(const QString& text, QWidget* parent, const char* name = nullptr) {
  auto* l = new QLabel(text, parent);
  if (name) l->setObjectName(QString::fromLatin1(name));
  return l;
}

}  // namespace

StartupStatusScreen::StartupStatusScreen(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::MSWindowsFixedSizeDialogHint) {
  FollowPlatformKeys(this);
  setObjectName(QStringLiteral("StartupStatusScreen"));
  setWindowTitle(QStringLiteral("系統狀態設定"));
  PlaceOnShow(this, WindowPlace::Screen);
  setFixedSize(kStatusWidth, kStatusHeight);

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(0);
  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("panel"));
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Raised);
  outer->addWidget(panel, 1);

  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(16, 12, 16, 8);
  grid->setVerticalSpacing(6);
  auto* title = label(QStringLiteral("Vo-100 Tw"), panel, "title");
  QFont big = title->font();
  big.setPointSize(big.pointSize() + 6);
  big.setBold(true);
  title->setFont(big);
  grid->addWidget(title, 0, 0, 1, 2);
  auto* maker = new QVBoxLayout;
  auto* logo = label(QString(), panel, "logo");
  logo->setPixmap(MessageLogo());
  maker->addWidget(logo, 0, Qt::AlignRight);
  maker->addWidget(label(QStringLiteral("Powered By Zelvan"), panel, "poweredByLabel"), 0,
                   Qt::AlignRight);
  grid->addLayout(maker, 0, 2, Qt::AlignRight);

  grid->addWidget(label(QStringLiteral("USB Status:"), panel, "usbStatusLabel"), 1, 0);
  auto* lamps = new QHBoxLayout;
  lamps->setSpacing(4);
  for (int i = 1; i <= 7; ++i) {
    auto* lamp = new TLedLamp(panel);
    lamp->setObjectName(QStringLiteral("usbLamp%1").arg(i));
    lamp->setLEDStyle(LEDHorizontal);
    lamp->setFixedSize(TLedLamp::styleSize(LEDHorizontal));
    lamp->setBlink(false);
    lamp->setValue(true);
    // Only the first lamp looks lit until the run colours the others.
    if (i > 1) lamp->setTrueColor(clBtnFace);
    usbLamps[i] = lamp;
    lamps->addWidget(lamp);
  }
  lamps->addStretch(1);
  grid->addLayout(lamps, 1, 1, 1, 2);

  const struct {
    const char* caption;
    QLabel** value;
    const char* name;
  } rows[] = {{"Device Mdl:", &modelLabel, "modelLabel"},
              {"Serial Num:", &serialLabel, "serialLabel"},
              {"Hardware Ver:", &hardwareLabel, "hardwareLabel"}};
  int row = 2;
  for (const auto& r : rows) {
    grid->addWidget(label(QString::fromLatin1(r.caption), panel), row, 0);
    *r.value = label(QString(), panel, r.name);
    (*r.value)->setFrameShape(QFrame::StyledPanel);
    (*r.value)->setFrameShadow(QFrame::Sunken);
    grid->addWidget(*r.value, row, 1, 1, 2);
    ++row;
  }
  grid->setRowStretch(row++, 1);

  auto* bottom = new QHBoxLayout;
  busyLamp = new TLedLamp(panel);
  busyLamp->setObjectName(QStringLiteral("busyLamp"));
  busyLamp->setLEDStyle(LEDSqLarge);
  busyLamp->setFixedSize(TLedLamp::styleSize(LEDSqLarge));
  busyLamp->setTrueColor(0x0000FF);
  busyLamp->setInterval(200);
  busyLamp->setBlink(true);
  busyLamp->setValue(true);
  progressBar = new TGradientBar(panel);
  progressBar->setObjectName(QStringLiteral("progressBar"));
  progressBar->setStyle(gsHorizontal);
  progressBar->setStartColor(0xFFFFFF);
  progressBar->setEndColor(0x00FF00);
  progressBar->setShowPercent(true);
  progressBar->setMaxValue(StartupStatusRun::kRunMs);
  progressBar->setMinimumHeight(qMax(22, busyLamp->height()));
  bottom->addWidget(busyLamp);
  bottom->addWidget(progressBar, 1);
  grid->addLayout(bottom, row, 0, 1, 3);
  grid->setColumnStretch(2, 1);

  statusBar = new QStatusBar(this);
  statusBar->setObjectName(QStringLiteral("statusBar"));
  statusBar->setSizeGripEnabled(false);
  outer->addWidget(statusBar);

  timer_ = new QTimer(this);
  timer_->setInterval(kPassMs);
  connect(timer_, &QTimer::timeout, this, &StartupStatusScreen::runPass);
  run.changed = [this](bool now) { showRun(now); };
}

StartupStatusScreen::~StartupStatusScreen() { run.changed = nullptr; }

void StartupStatusScreen::showRun(bool now) {
  modelLabel->setText(run.ModelText);
  serialLabel->setText(run.SerialText);
  hardwareLabel->setText(run.HardwareText);
  for (int i = 1; i <= 7; ++i) {
    usbLamps[i]->setTrueColor(run.LampLit[i] ? run.LampColour : clBtnFace);
    usbLamps[i]->setValue(true);
  }
  progressBar->setPosition(run.Position);
  if (statusBar->currentMessage() != run.StatusText) statusBar->showMessage(run.StatusText);
  if (now) {
    progressBar->repaint();
    statusBar->repaint();
  }
}

void StartupStatusScreen::startRun() {
  if (!firstActivation) return;
  firstActivation = false;
  run.Begin();
  runPass();
  timer_->start();
}

void StartupStatusScreen::runPass() {
  run.Tick();
  if (!run.Finished) return;
  timer_->stop();
  // Closed by a posted request, as the screen's own last step.
  QMetaObject::invokeMethod(this, &QDialog::accept, Qt::QueuedConnection);
}

void StartupStatusScreen::stopLamps() {
  progressBar->setEnabled(false);
  busyLamp->setBlink(false);
}

void StartupStatusScreen::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  // Independent of whether the platform reports an activation at all.
  QTimer::singleShot(0, this, [this] { startRun(); });
}

bool StartupStatusScreen::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate && firstActivation && isVisible()) startRun();
  return QDialog::event(e);
}

void StartupStatusScreen::done(int r) {
  stopLamps();
  QDialog::done(r);
}

}  // namespace ruto
