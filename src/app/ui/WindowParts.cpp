#include "app/ui/WindowParts.h"

#include <QLabel>
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

}  // namespace ruto
