#include "app/ui/WindowKeys.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QToolButton>
#include <QWidget>

namespace ruto {

namespace {

class WindowKeys final : public QObject {
 public:
  explicit WindowKeys(QWidget* window) : QObject(window), window_(window) {
    setObjectName(QStringLiteral("WindowKeys"));
    window->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != window_) return false;
    if (event->type() == QEvent::Show) takeInControls();
    if (event->type() != QEvent::KeyPress) return false;
    // A key reaches the window itself only when the focused control left it unused.
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
      case Qt::Key_Escape:
        key->accept();
        return true;
      case Qt::Key_Return:
      case Qt::Key_Enter:
        // The focused push button is the default one while it has the focus.
        if (auto* button = qobject_cast<QPushButton*>(window_->focusWidget());
            button && !button->isDefault() && button->isEnabled()) {
          button->click();
          key->accept();
          return true;
        }
        return false;
      default:
        return false;
    }
  }

 private:
  void takeInControls() {
    for (QWidget* w : window_->findChildren<QWidget*>()) {
      if (w->window() != window_) continue;
      if (auto* tool = qobject_cast<QToolButton*>(w))
        tool->setFocusPolicy(Qt::NoFocus);
      else if (auto* push = qobject_cast<QPushButton*>(w); push && !push->isDefault())
        push->setAutoDefault(false);
      else if (auto* plain = qobject_cast<QPlainTextEdit*>(w))
        plain->setTabChangesFocus(true);
      else if (auto* rich = qobject_cast<QTextEdit*>(w))
        rich->setTabChangesFocus(true);
    }
  }

  QWidget* window_;
};

}  // namespace

void FollowPlatformKeys(QWidget* window) {
  if (window->findChild<QObject*>(QStringLiteral("WindowKeys"), Qt::FindDirectChildrenOnly)) return;
  new WindowKeys(window);
}

}  // namespace ruto
