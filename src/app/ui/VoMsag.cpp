#include "app/ui/VoMsag.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include "app/ui/WindowPlacement.h"

namespace ruto {

namespace {

std::function<void(TVoMsag&)>& showHook() {
  static std::function<void(TVoMsag&)> h;
  return h;
}

QPushButton* makeButton(const QString& text) {
  auto* b = new QPushButton(text);
  b->setFixedSize(110, 38);
  b->setCursor(Qt::PointingHandCursor);
  b->setVisible(false);
  return b;
}

QLabel* makeIcon(int which) {
  auto* l = new QLabel;
  l->setFixedSize(64, 64);
  l->setPixmap(MessageIcon(which));
  l->setVisible(false);
  return l;
}

}  // namespace

QPixmap MessageIcon(int which) {
  QPixmap pm(64, 64);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  QFont f = p.font();
  f.setBold(true);
  f.setPixelSize(40);
  p.setFont(f);
  QString glyph;
  if (which == 3) {
    QPainterPath tri;
    tri.moveTo(32, 4);
    tri.lineTo(61, 58);
    tri.lineTo(3, 58);
    tri.closeSubpath();
    p.setPen(QPen(QColor(0x80, 0x60, 0x00), 2));
    p.setBrush(QColor(0xFF, 0xD8, 0x00));
    p.drawPath(tri);
    p.setPen(Qt::black);
    p.drawText(QRect(0, 14, 64, 46), Qt::AlignCenter, QStringLiteral("!"));
    return pm;
  }
  const QColor fill = which == 2 ? QColor(0x20, 0x60, 0xD0) : QColor(0x00, 0x90, 0x40);
  p.setPen(QPen(fill.darker(150), 2));
  p.setBrush(fill);
  p.drawEllipse(QRectF(3, 3, 58, 58));
  p.setPen(Qt::white);
  glyph = which == 2 ? QStringLiteral("?") : QStringLiteral("i");
  p.drawText(QRect(0, 0, 64, 64), Qt::AlignCenter, glyph);
  return pm;
}

QPixmap MessageLogo() {
  QPixmap pm(80, 35);
  pm.fill(QColor(0x10, 0x30, 0x70));
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QColor(0xF0, 0xC0, 0x40));
  p.drawRect(1, 1, 77, 32);
  QFont f = p.font();
  f.setBold(true);
  f.setPixelSize(15);
  p.setFont(f);
  p.setPen(Qt::white);
  p.drawText(QRect(0, 0, 80, 35), Qt::AlignCenter, QStringLiteral("Zelvan"));
  return pm;
}

TVoMsag::TVoMsag(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("VoMsag"));
  setWindowTitle(QStringLiteral("VoMsag"));
  PlaceOnShow(this, WindowPlace::Screen);
  setFixedSize(385, 200);
  UseDialogFrame(this);

  // Everything sits in layouts so a skinned frame can widen the window around it.
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(4, 4, 4, 4);
  Bevel1 = new QFrame;
  Bevel1->setFrameStyle(QFrame::Box | QFrame::Raised);
  outer->addWidget(Bevel1);
  auto* inner = new QVBoxLayout(Bevel1);
  inner->setContentsMargins(3, 1, 3, 3);
  inner->setSpacing(2);

  Image4 = new QLabel;
  Image4->setPixmap(MessageLogo());
  Image4->setFixedSize(80, 35);
  auto* top = new QHBoxLayout;
  top->addStretch(1);
  top->addWidget(Image4);
  top->addSpacing(6);
  inner->addLayout(top);

  Bevel2 = new QFrame;
  Bevel2->setFrameStyle(QFrame::Box | QFrame::Sunken);
  inner->addWidget(Bevel2, 1);
  auto* body = new QGridLayout(Bevel2);
  body->setContentsMargins(4, 4, 4, 4);
  body->setHorizontalSpacing(8);
  body->setVerticalSpacing(2);

  Image1 = makeIcon(1);
  Image2 = makeIcon(2);
  Image3 = makeIcon(3);
  // Only one of the three icons shows at a time; they share one cell.
  for (QLabel* icon : {Image1, Image2, Image3}) body->addWidget(icon, 0, 0, Qt::AlignTop);
  body->setColumnMinimumWidth(0, 64);

  Memo1 = new QTextEdit;
  Memo1->setReadOnly(true);
  Memo1->setFrameStyle(QFrame::NoFrame);
  Memo1->setAlignment(Qt::AlignHCenter);
  Memo1->setLineWrapMode(QTextEdit::WidgetWidth);
  // The text stands on the dialog's own face, whatever colour the skin gives it.
  Memo1->viewport()->setAutoFillBackground(false);
  Memo1->setMinimumHeight(57);
  body->addWidget(Memo1, 0, 1);
  body->setColumnStretch(1, 1);

  BitBtn1 = makeButton(QStringLiteral("是"));
  BitBtn2 = makeButton(QStringLiteral("確  定"));
  BitBtn3 = makeButton(QStringLiteral("否"));
  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(8);
  buttons->addStretch(1);
  for (QPushButton* b : {BitBtn1, BitBtn2, BitBtn3}) buttons->addWidget(b);
  buttons->addStretch(1);
  body->addLayout(buttons, 1, 0, 1, 2);

  connect(BitBtn1, &QPushButton::clicked, this, &TVoMsag::BitBtn1Click);
  connect(BitBtn2, &QPushButton::clicked, this, &TVoMsag::BitBtn2Click);
  connect(BitBtn3, &QPushButton::clicked, this, &TVoMsag::BitBtn3Click);
}

void TVoMsag::FormShow() {
  MsgRequest.Result = false;
  Memo1->clear();
  Memo1->setPlainText(MsgRequest.Text);
  QTextCursor all(Memo1->document());
  all.select(QTextCursor::Document);
  QTextBlockFormat centred;
  centred.setAlignment(Qt::AlignHCenter);
  all.mergeBlockFormat(centred);

  static const char* const kCaptions[] = {"詢問資訊", "注意", "重要資訊"};
  const int kind = static_cast<int>(MsgRequest.Kind);
  if (kind < 1 || kind > 6) return;
  const int family = (kind - 1) % 3;  // 0 question, 1 warning, 2 important
  setWindowTitle(QString::fromUtf8(kCaptions[family]));
  // The text is read under the caption the box shows.
  Memo1->setAccessibleName(windowTitle());
  (family == 0 ? Image2 : family == 1 ? Image3 : Image1)->setVisible(true);
  if (kind <= 3) {
    BitBtn1->setVisible(true);
    BitBtn3->setVisible(true);
    BitBtn1->setDefault(true);
  } else {
    BitBtn2->setVisible(true);
    BitBtn2->setDefault(true);
  }
}

void TVoMsag::FormClose() {
  for (QWidget* w : {static_cast<QWidget*>(Image1), static_cast<QWidget*>(Image2),
                     static_cast<QWidget*>(Image3), static_cast<QWidget*>(BitBtn1),
                     static_cast<QWidget*>(BitBtn2), static_cast<QWidget*>(BitBtn3)})
    w->setVisible(false);
}

void TVoMsag::showEvent(QShowEvent* e) {
  FormShow();
  QDialog::showEvent(e);
}

void TVoMsag::done(int r) {
  FormClose();
  QDialog::done(r);
}

void TVoMsag::BitBtn1Click() {
  MsgRequest.Result = true;
  accept();
}

void TVoMsag::BitBtn2Click() {
  MsgRequest.Result = true;
  accept();
}

void TVoMsag::BitBtn3Click() {
  MsgRequest.Result = false;
  reject();
}

void InstallMessageBox() {
  SetAskUserPresenter([] {
    TVoMsag dialog;
    if (showHook()) showHook()(dialog);
    dialog.exec();
  });
}

void SetAskUserShowHook(std::function<void(TVoMsag&)> hook) { showHook() = std::move(hook); }

}  // namespace ruto
