#include "app/ui/AboutBox.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "app/LaunchExternal.h"
#include "app/Settings.h"
#include "app/ui/DialogFrame.h"
#include "app/ui/VoMsag.h"
#include "app/ui/WindowPlacement.h"
#include "base/Numbers.h"
#include "device/HidDevice.h"
#include "device/MeterCommands.h"

namespace ruto {

QString MeasureCounterText(long long counter) {
  return QStringLiteral("[ ") + ruto::Format(QStringLiteral("%8.0n"), {counter}) +
         QStringLiteral(" ]");
}

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent, kDialogFrameFlags) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QStringLiteral("關於版本資料"));
  PlaceOnShow(this, WindowPlace::Owner);
  auto* layout = new QVBoxLayout(this);

  auto* product = new QLabel(QStringLiteral("R.U.T.O. 經絡能量分析儀"), this);
  QFont big = product->font();
  big.setPointSize(big.pointSize() + 5);
  big.setBold(true);
  product->setFont(big);
  auto* heading = new QHBoxLayout;
  auto* logo = new QLabel(this);
  logo->setObjectName(QStringLiteral("Image1"));
  logo->setPixmap(MessageLogo());
  heading->addWidget(product, 1);
  heading->addWidget(logo);
  layout->addLayout(heading);
  for (const char* text :
       {"VO-100 Ver: 5 tw (Build 5.07)", "國際繁體中文版", "支援系統：Linux 桌面 (X11、Wayland)"})
    layout->addWidget(new QLabel(QString::fromUtf8(text), this));

  auto* bevel1 = new QFrame(this);
  bevel1->setObjectName(QStringLiteral("Bevel1"));
  bevel1->setFrameShape(QFrame::HLine);
  bevel1->setFrameShadow(QFrame::Sunken);
  layout->addWidget(bevel1);

  for (const char* text : {"澤凡事業有限公司", "電話：請洽當地經銷商", "傳真：請洽當地經銷商",
                           "電子郵件：請由網站的客服頁聯絡"})
    layout->addWidget(new QLabel(QString::fromUtf8(text), this));
  StaticText10 = new QLabel(kMakerWebAddress, this);
  StaticText10->setObjectName(QStringLiteral("StaticText10"));
  StaticText10->setCursor(Qt::PointingHandCursor);
  StaticText10->installEventFilter(this);
  layout->addWidget(StaticText10);
  layout->addWidget(new QLabel(QStringLiteral("Made in Taiwan"), this));

  auto* bevel2 = new QFrame(this);
  bevel2->setObjectName(QStringLiteral("Bevel2"));
  bevel2->setFrameShape(QFrame::HLine);
  bevel2->setFrameShadow(QFrame::Sunken);
  layout->addWidget(bevel2);

  auto* values = new QGridLayout;
  const struct {
    const char* caption;
    QLabel** value;
    const char* name;
  } rows[] = {{"Device SerialNo:", &StaticText6, "StaticText6"},
              {"Hardware Version:", &StaticText17, "StaticText17"},
              {"Measurement Counter:", &StaticText14, "StaticText14"}};
  int row = 0;
  for (const auto& r : rows) {
    values->addWidget(new QLabel(QString::fromLatin1(r.caption), this), row, 0);
    *r.value = new QLabel(this);
    (*r.value)->setObjectName(QString::fromLatin1(r.name));
    (*r.value)->setMinimumWidth(160);
    values->addWidget(*r.value, row, 1);
    ++row;
  }
  // The counter keeps its blanks: a fixed-pitch font lines the digits up.
  StaticText14->setFont(QFont(QStringLiteral("Monospace")));
  layout->addLayout(values);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  BitBtn1 = new QPushButton(QStringLiteral("確  定"), this);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn1->setDefault(true);
  buttons->addWidget(BitBtn1);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  connect(BitBtn1, &QPushButton::clicked, this, &TAboutBox::BitBtn1Click);
}

void TAboutBox::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!e->spontaneous()) FormShow();
}

void TAboutBox::FormShow() {
  StaticText6->setText(MeterState.SerialNo);
  THidDevice* device = MeterState.Device ? &*MeterState.Device : nullptr;
  StaticText17->setText(device ? device->DeviceStringAnsi(3) : QString());
  AccessMeasureCounter(false);
  StaticText14->setText(MeasureCounterText(MeterState.Counter));
}

void TAboutBox::BitBtn1Click() { accept(); }

void TAboutBox::StaticText10Click() { LaunchExternalOrReport(kMakerWebAddress, QString()); }

bool TAboutBox::eventFilter(QObject* watched, QEvent* e) {
  if (watched == StaticText10 && e->type() == QEvent::MouseButtonRelease) {
    StaticText10Click();
    return true;
  }
  return QDialog::eventFilter(watched, e);
}

}  // namespace ruto
