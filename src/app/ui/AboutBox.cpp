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
#include "app/ui/MessageBox.h"
#include "app/ui/WindowKeys.h"
#include "app/ui/WindowPlacement.h"
#include "base/Numbers.h"
#include "device/HidDevice.h"
#include "device/MeterCommands.h"

namespace ruto {

QString MeasureCounterText(long long counter) {
  return QStringLiteral("[ ") + ruto::Format(QStringLiteral("%8.0n"), {counter}) +
         QStringLiteral(" ]");
}

AboutBox::AboutBox(QWidget* parent) : QDialog(parent, kDialogFrameFlags) {
  FollowPlatformKeys(this);
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
  logo->setObjectName(QStringLiteral("logo"));
  logo->setPixmap(MessageLogo());
  heading->addWidget(product, 1);
  heading->addWidget(logo);
  layout->addLayout(heading);
  for (const char* text :
       {"VO-100 Ver: 5 tw (Build 5.07)", "國際繁體中文版", "支援系統：Linux 桌面 (X11、Wayland)"})
    layout->addWidget(new QLabel(QString::fromUtf8(text), this));

  auto* productRule = new QFrame(this);
  productRule->setObjectName(QStringLiteral("productRule"));
  productRule->setFrameShape(QFrame::HLine);
  productRule->setFrameShadow(QFrame::Sunken);
  layout->addWidget(productRule);

  for (const char* text : {"澤凡事業有限公司", "電話：請洽當地經銷商", "傳真：請洽當地經銷商",
                           "電子郵件：請由網站的客服頁聯絡"})
    layout->addWidget(new QLabel(QString::fromUtf8(text), this));
  webAddressLabel = new QLabel(kMakerWebAddress, this);
  webAddressLabel->setObjectName(QStringLiteral("webAddressLabel"));
  webAddressLabel->setCursor(Qt::PointingHandCursor);
  webAddressLabel->installEventFilter(this);
  layout->addWidget(webAddressLabel);
  layout->addWidget(new QLabel(QStringLiteral("Made in Taiwan"), this));

  auto* meterRule = new QFrame(this);
  meterRule->setObjectName(QStringLiteral("meterRule"));
  meterRule->setFrameShape(QFrame::HLine);
  meterRule->setFrameShadow(QFrame::Sunken);
  layout->addWidget(meterRule);

  auto* values = new QGridLayout;
  const struct {
    const char* caption;
    QLabel** value;
    const char* name;
  } rows[] = {{"Device SerialNo:", &serialLabel, "serialLabel"},
              {"Hardware Version:", &hardwareLabel, "hardwareLabel"},
              {"Measurement Counter:", &counterLabel, "counterLabel"}};
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
  counterLabel->setFont(QFont(QStringLiteral("Monospace")));
  layout->addLayout(values);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  okButton = new QPushButton(QStringLiteral("確  定"), this);
  okButton->setObjectName(QStringLiteral("okButton"));
  okButton->setDefault(true);
  buttons->addWidget(okButton);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  connect(okButton, &QPushButton::clicked, this, &AboutBox::confirm);
}

void AboutBox::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!e->spontaneous()) showMeterValues();
}

void AboutBox::showMeterValues() {
  serialLabel->setText(MeterState.SerialNo);
  THidDevice* device = MeterState.Device ? &*MeterState.Device : nullptr;
  hardwareLabel->setText(device ? device->DeviceStringAnsi(3) : QString());
  AccessMeasureCounter(false);
  counterLabel->setText(MeasureCounterText(MeterState.Counter));
}

void AboutBox::confirm() { accept(); }

void AboutBox::openMakerWebsite() { LaunchExternalOrReport(kMakerWebAddress, QString()); }

bool AboutBox::eventFilter(QObject* watched, QEvent* e) {
  if (watched == webAddressLabel && e->type() == QEvent::MouseButtonRelease) {
    openMakerWebsite();
    return true;
  }
  return QDialog::eventFilter(watched, e);
}

}  // namespace ruto
