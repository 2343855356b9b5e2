#include "app/ui/VoStatu.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "app/ui/VoMsag.h"
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

TVoStatu::TVoStatu(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("VoStatu"));
  setWindowTitle(QStringLiteral("系統狀態設定"));
  PlaceOnShow(this, WindowPlace::Screen);
  setFixedSize(kStatusWidth, kStatusHeight);

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(0);
  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("Panel1"));
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Raised);
  outer->addWidget(panel, 1);

  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(16, 12, 16, 8);
  grid->setVerticalSpacing(6);
  auto* title = label(QStringLiteral("Vo-100 Tw"), panel, "Label5");
  QFont big = title->font();
  big.setPointSize(big.pointSize() + 6);
  big.setBold(true);
  title->setFont(big);
  grid->addWidget(title, 0, 0, 1, 2);
  auto* maker = new QVBoxLayout;
  auto* logo = label(QString(), panel, "Image1");
  logo->setPixmap(MessageLogo());
  maker->addWidget(logo, 0, Qt::AlignRight);
  maker->addWidget(label(QStringLiteral("Powered By Zelvan"), panel, "Label6"), 0, Qt::AlignRight);
  grid->addLayout(maker, 0, 2, Qt::AlignRight);

  grid->addWidget(label(QStringLiteral("USB Status:"), panel, "Label1"), 1, 0);
  auto* lamps = new QHBoxLayout;
  lamps->setSpacing(4);
  for (int i = 1; i <= 7; ++i) {
    auto* lamp = new TLedLamp(panel);
    lamp->setObjectName(QStringLiteral("LedLamp%1").arg(i));
    lamp->setLEDStyle(LEDHorizontal);
    lamp->setFixedSize(TLedLamp::styleSize(LEDHorizontal));
    lamp->setBlink(false);
    lamp->setValue(true);
    // Only the first lamp looks lit until the run colours the others.
    if (i > 1) lamp->setTrueColor(clBtnFace);
    LedLamp[i] = lamp;
    lamps->addWidget(lamp);
  }
  lamps->addStretch(1);
  grid->addLayout(lamps, 1, 1, 1, 2);

  const struct {
    const char* caption;
    QLabel** value;
    const char* name;
  } rows[] = {{"Device Mdl:", &StaticText5, "StaticText5"},
              {"Serial Num:", &StaticText6, "StaticText6"},
              {"Hardware Ver:", &StaticText7, "StaticText7"}};
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
  Lamp1 = new TLedLamp(panel);
  Lamp1->setObjectName(QStringLiteral("Lamp1"));
  Lamp1->setLEDStyle(LEDSqLarge);
  Lamp1->setFixedSize(TLedLamp::styleSize(LEDSqLarge));
  Lamp1->setTrueColor(0x0000FF);
  Lamp1->setInterval(200);
  Lamp1->setBlink(true);
  Lamp1->setValue(true);
  GradientBar1 = new TGradientBar(panel);
  GradientBar1->setObjectName(QStringLiteral("GradientBar1"));
  GradientBar1->setStyle(gsHorizontal);
  GradientBar1->setStartColor(0xFFFFFF);
  GradientBar1->setEndColor(0x00FF00);
  GradientBar1->setShowPercent(true);
  GradientBar1->setMaxValue(StartupStatusRun::kRunMs);
  GradientBar1->setMinimumHeight(qMax(22, Lamp1->height()));
  bottom->addWidget(Lamp1);
  bottom->addWidget(GradientBar1, 1);
  grid->addLayout(bottom, row, 0, 1, 3);
  grid->setColumnStretch(2, 1);

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(false);
  outer->addWidget(StatusBar1);

  timer_ = new QTimer(this);
  timer_->setInterval(kPassMs);
  connect(timer_, &QTimer::timeout, this, &TVoStatu::RunPass);
  Run.changed = [this](bool now) { ShowRun(now); };
}

TVoStatu::~TVoStatu() { Run.changed = nullptr; }

void TVoStatu::ShowRun(bool now) {
  StaticText5->setText(Run.ModelText);
  StaticText6->setText(Run.SerialText);
  StaticText7->setText(Run.HardwareText);
  for (int i = 1; i <= 7; ++i) {
    LedLamp[i]->setTrueColor(Run.LampLit[i] ? Run.LampColour : clBtnFace);
    LedLamp[i]->setValue(true);
  }
  GradientBar1->setPosition(Run.Position);
  if (StatusBar1->currentMessage() != Run.StatusText) StatusBar1->showMessage(Run.StatusText);
  if (now) {
    GradientBar1->repaint();
    StatusBar1->repaint();
  }
}

void TVoStatu::FormActivate() {
  if (!ScreenFirstActivation) return;
  ScreenFirstActivation = false;
  Run.Begin();
  RunPass();
  timer_->start();
}

void TVoStatu::RunPass() {
  Run.Tick();
  if (!Run.Finished) return;
  timer_->stop();
  // Closed by a posted request, as the screen's own last step.
  QMetaObject::invokeMethod(this, &QDialog::accept, Qt::QueuedConnection);
}

void TVoStatu::FormClose() {
  GradientBar1->setEnabled(false);
  Lamp1->setBlink(false);
}

void TVoStatu::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  // Independent of whether the platform reports an activation at all.
  QTimer::singleShot(0, this, [this] { FormActivate(); });
}

bool TVoStatu::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate && ScreenFirstActivation && isVisible()) FormActivate();
  return QDialog::event(e);
}

void TVoStatu::done(int r) {
  FormClose();
  QDialog::done(r);
}

}  // namespace ruto
