#include "app/ui/PrintAbortBox.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/DialogFrame.h"
#include "app/ui/WindowKeys.h"
#include "app/ui/WindowPlacement.h"

namespace ruto {

PrintAbortBox::PrintAbortBox(QWidget* parent) : QDialog(parent) {
  FollowPlatformKeys(this);
  setObjectName(QStringLiteral("PrintAbortBox"));
  setWindowTitle(QStringLiteral("列印"));
  PlaceOnShow(this, WindowPlace::Owner);
  UseDialogFrame(this);
  auto* layout = new QVBoxLayout(this);
  printingLabel = new QLabel(QStringLiteral("分析資料列印中...."), this);
  printingLabel->setAlignment(Qt::AlignCenter);
  abortButton = new QPushButton(QStringLiteral("中斷列印"), this);
  layout->addWidget(printingLabel);
  layout->addWidget(abortButton);
  connect(abortButton, &QPushButton::clicked, this, [this] { abortRequested = true; });
}

}  // namespace ruto
