#include "app/ui/MessageBox.h"

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
#include "skin/ui/ControlSkins.h"

namespace ruto {

namespace {

std::function<void(MessageBox&)>& showHook() {
  static std::function<void(MessageBox&)> h;
  return h;
}

QPushButton* makeButton(const QString& text) {
  auto* b = new QPushButton(text);
  MarkBitButton(b);
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

MessageBox::MessageBox(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("MessageBox"));
  setWindowTitle(QStringLiteral("VoMsag"));
  PlaceOnShow(this, WindowPlace::Screen);
  setFixedSize(385, 200);
  UseDialogFrame(this);

  // Everything sits in layouts so a skinned frame can widen the window around it.
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(4, 4, 4, 4);
  outerFrame = new QFrame;
  outerFrame->setFrameStyle(QFrame::Box | QFrame::Raised);
  outer->addWidget(outerFrame);
  auto* inner = new QVBoxLayout(outerFrame);
  inner->setContentsMargins(3, 1, 3, 3);
  inner->setSpacing(2);

  logo = new QLabel;
  logo->setPixmap(MessageLogo());
  logo->setFixedSize(80, 35);
  auto* top = new QHBoxLayout;
  top->addStretch(1);
  top->addWidget(logo);
  top->addSpacing(6);
  inner->addLayout(top);

  textFrame = new QFrame;
  textFrame->setFrameStyle(QFrame::Box | QFrame::Sunken);
  inner->addWidget(textFrame, 1);
  auto* body = new QGridLayout(textFrame);
  body->setContentsMargins(4, 4, 4, 4);
  body->setHorizontalSpacing(8);
  body->setVerticalSpacing(2);

  importantIcon = makeIcon(1);
  questionIcon = makeIcon(2);
  warningIcon = makeIcon(3);
  // Only one of the three icons shows at a time; they share one cell.
  for (QLabel* icon : {importantIcon, questionIcon, warningIcon})
    body->addWidget(icon, 0, 0, Qt::AlignTop);
  body->setColumnMinimumWidth(0, 64);

  messageText = new QTextEdit;
  messageText->setReadOnly(true);
  messageText->setFrameStyle(QFrame::NoFrame);
  messageText->setAlignment(Qt::AlignHCenter);
  messageText->setLineWrapMode(QTextEdit::WidgetWidth);
  // The text stands on the dialog's own face, whatever colour the skin gives it.
  messageText->viewport()->setAutoFillBackground(false);
  messageText->setMinimumHeight(57);
  body->addWidget(messageText, 0, 1);
  body->setColumnStretch(1, 1);

  yesButton = makeButton(QStringLiteral("是"));
  okButton = makeButton(QStringLiteral("確  定"));
  noButton = makeButton(QStringLiteral("否"));
  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(8);
  buttons->addStretch(1);
  for (QPushButton* b : {yesButton, okButton, noButton}) buttons->addWidget(b);
  buttons->addStretch(1);
  body->addLayout(buttons, 1, 0, 1, 2);

  connect(yesButton, &QPushButton::clicked, this, &MessageBox::answerYes);
  connect(okButton, &QPushButton::clicked, this, &MessageBox::acknowledge);
  connect(noButton, &QPushButton::clicked, this, &MessageBox::answerNo);
}

void MessageBox::showRequest() {
  MsgRequest.Result = false;
  messageText->clear();
  messageText->setPlainText(MsgRequest.Text);
  QTextCursor all(messageText->document());
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
  messageText->setAccessibleName(windowTitle());
  (family == 0 ? questionIcon : family == 1 ? warningIcon : importantIcon)->setVisible(true);
  if (kind <= 3) {
    yesButton->setVisible(true);
    noButton->setVisible(true);
    yesButton->setDefault(true);
  } else {
    okButton->setVisible(true);
    okButton->setDefault(true);
  }
}

void MessageBox::hideAnswers() {
  for (QWidget* w : {static_cast<QWidget*>(importantIcon), static_cast<QWidget*>(questionIcon),
                     static_cast<QWidget*>(warningIcon), static_cast<QWidget*>(yesButton),
                     static_cast<QWidget*>(okButton), static_cast<QWidget*>(noButton)})
    w->setVisible(false);
}

void MessageBox::showEvent(QShowEvent* e) {
  showRequest();
  QDialog::showEvent(e);
}

void MessageBox::done(int r) {
  hideAnswers();
  QDialog::done(r);
}

void MessageBox::answerYes() {
  MsgRequest.Result = true;
  accept();
}

void MessageBox::acknowledge() {
  MsgRequest.Result = true;
  accept();
}

void MessageBox::answerNo() {
  MsgRequest.Result = false;
  reject();
}

void InstallMessageBox() {
  SetAskUserPresenter([] {
    MessageBox dialog;
    if (showHook()) showHook()(dialog);
    dialog.exec();
  });
}

void SetAskUserShowHook(std::function<void(MessageBox&)> hook) { showHook() = std::move(hook); }

}  // namespace ruto
