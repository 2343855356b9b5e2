#include "app/ui/WindowParts.h"

#include <QLabel>
#include <QMouseEvent>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace ruto {

QToolButton* addToolButton(QToolBar* bar, const QString& name, const QString& text,
                           const QString& hint) {
  auto* b = new QToolButton(bar);
  b->setObjectName(name);
  b->setText(text);
  b->setToolTip(hint);
  b->setToolButtonStyle(Qt::ToolButtonTextOnly);
  bar->addWidget(b);
  return b;
}

QToolButton* addToolButton(QToolBar* bar, int n, const QString& text, const QString& hint) {
  return addToolButton(bar, QStringLiteral("ToolButton%1").arg(n), text, hint);
}

QVBoxLayout* newToolWindowLayout(QWidget* window, QToolBar*& toolBar) {
  auto* root = new QVBoxLayout(window);
  root->setContentsMargins(0, 0, 0, 0);
  root->setSpacing(2);
  toolBar = new QToolBar(window);
  toolBar->setObjectName(QStringLiteral("toolBar"));
  toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  return root;
}

void setTextColor(QLabel* label, TColor color) {
  QPalette p = label->palette();
  p.setColor(QPalette::WindowText, toQColor(color));
  label->setPalette(p);
}

bool IsClickRelease(const QWidget* widget, const QEvent* e) {
  if (e->type() != QEvent::MouseButtonRelease) return false;
  const auto* m = static_cast<const QMouseEvent*>(e);
  return m->button() == Qt::LeftButton && widget->rect().contains(m->position().toPoint());
}

QString PlainToolTip(const QString& text) {
  // A tooltip is read as markup only when it looks like it; such a text is given as markup
  // that shows its characters, blanks and line breaks as they are.
  if (!Qt::mightBeRichText(text)) return text;
  return QStringLiteral("<p style=\"white-space:pre-wrap\">") + text.toHtmlEscaped() +
         QStringLiteral("</p>");
}

}  // namespace ruto
