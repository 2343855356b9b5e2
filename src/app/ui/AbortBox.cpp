#include "app/ui/AbortBox.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/DialogFrame.h"
#include "app/ui/WindowPlacement.h"

namespace ruto {

TAbortBox::TAbortBox(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AbortBox"));
  setWindowTitle(QStringLiteral("列印"));
  PlaceOnShow(this, WindowPlace::Owner);
  UseDialogFrame(this);
  auto* layout = new QVBoxLayout(this);
  Label1 = new QLabel(QStringLiteral("分析資料列印中...."), this);
  Label1->setAlignment(Qt::AlignCenter);
  Button1 = new QPushButton(QStringLiteral("中斷列印"), this);
  layout->addWidget(Label1);
  layout->addWidget(Button1);
  connect(Button1, &QPushButton::clicked, this, [this] { Aborted = true; });
}

}  // namespace ruto
