#include "app/ui/WindowEventHook.h"

#include <QApplication>
#include <QWidget>

namespace ruto {

namespace {

class WindowEventHook final : public QObject {
 public:
  WindowEventHook(QEvent::Type type, void (*act)(QWidget*), QObject* parent)
      : QObject(parent), type_(type), act_(act) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == type_ && watched->isWidgetType()) {
      auto* w = static_cast<QWidget*>(watched);
      if (w->isWindow()) act_(w);
    }
    return false;
  }

 private:
  QEvent::Type type_;
  void (*act_)(QWidget*);
};

}  // namespace

void WatchEveryWindow(QPointer<QObject>& hook, QEvent::Type type, void (*act)(QWidget*)) {
  if (!qApp || hook) return;
  hook = new WindowEventHook(type, act, qApp);
  qApp->installEventFilter(hook);
}

}  // namespace ruto
