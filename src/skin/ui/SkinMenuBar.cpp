#include "skin/ui/SkinMenuBar.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTimer>

#include "skin/SkinData.h"

namespace ruto {

TSkinMenuBar::TSkinMenuBar(QMenuBar* bar, const TSkinData* skin, QObject* parent)
    : QObject(parent), bar_(bar), skin_(skin) {
  // Keys reach the bar from wherever the focus is in its window, as the platform's Alt does.
  qApp->installEventFilter(this);
}

TSkinMenuBar::~TSkinMenuBar() { qApp->removeEventFilter(this); }

QAction* TSkinMenuBar::firstItem() const {
  for (QAction* a : bar_->actions())
    if (a->isVisible() && !a->isSeparator()) return a;
  return nullptr;
}

void TSkinMenuBar::highlight(QAction* a) {
  keyboard_ = a != nullptr;
  // Leaving drops the bar's current item and the popup state a press or an opened menu left;
  // a move over the item then lights it as the mouse would, without opening anything.
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(bar_, &leave);
  if (!a) return;
  const QPoint at = bar_->actionGeometry(a).center();
  QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(bar_->mapToGlobal(at)), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(bar_, &move);
}

void TSkinMenuBar::openFirst() {
  QAction* a = firstItem();
  if (!a) return;
  // A command first item is only highlighted: running it on a bare Alt would start it
  // unasked.
  if (a->menu() && a->isEnabled()) {
    keyboard_ = false;
    bar_->setActiveAction(a);
  } else {
    highlight(a);
  }
}

bool TSkinMenuBar::barEvent(QEvent* e) {
  switch (e->type()) {
    case QEvent::MouseButtonPress: {
      const auto* m = static_cast<QMouseEvent*>(e);
      if (m->button() != Qt::LeftButton) return false;
      if (keyboard_) keyboard_ = false;
      // The pressed item's command runs, once the press is handled; its menu opens as ever.
      QAction* a = bar_->actionAt(m->position().toPoint());
      if (a && !a->menu() && !a->isSeparator() && a->isEnabled())
        QTimer::singleShot(0, a, &QAction::trigger);
      return false;
    }
    case QEvent::MouseButtonRelease: {
      const auto* m = static_cast<QMouseEvent*>(e);
      if (releasing_ || m->button() != Qt::LeftButton) return false;
      QAction* a = bar_->actionAt(m->position().toPoint());
      if (a && a->menu()) return false;
      // A release runs nothing: the bar hears one away from every item, which only ends the
      // press.
      releasing_ = true;
      QMouseEvent away(QEvent::MouseButtonRelease, QPointF(-1, -1), m->globalPosition(),
                       Qt::LeftButton, m->buttons(), m->modifiers());
      QApplication::sendEvent(bar_, &away);
      releasing_ = false;
      return true;
    }
    case QEvent::ActionChanged:
      // Without menu updates the bar keeps the items as it read them.
      return skin_ && !skin_->MenuUpdate;
    default:
      return false;
  }
}

bool TSkinMenuBar::keyEvent(QObject* watched, QEvent* e) {
  const auto* k = static_cast<QKeyEvent*>(e);
  // Escape in a menu of the bar ends the menu and the bar's hold on the keyboard.
  if (auto* menu = qobject_cast<QMenu*>(watched)) {
    if (e->type() != QEvent::KeyPress || k->key() != Qt::Key_Escape ||
        !bar_->actions().contains(menu->menuAction()))
      return false;
    menu->hide();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(bar_, &escape);
    highlight(nullptr);
    return true;
  }
  auto* w = static_cast<QWidget*>(watched);
  QWidget* window = bar_->window();
  if (w->window() != window || !window->isActiveWindow() || QApplication::activePopupWidget())
    return false;
  const bool alone = (k->modifiers() & ~(Qt::AltModifier | Qt::KeypadModifier)) == 0;
  if (e->type() == QEvent::KeyRelease) {
    if (k->key() != Qt::Key_Alt || !altAlone_ || k->isAutoRepeat()) return false;
    altAlone_ = false;
    keyboard_ ? highlight(nullptr) : openFirst();
    return true;
  }
  if (k->key() == Qt::Key_Alt) {
    if (!k->isAutoRepeat()) altAlone_ = alone;
    return false;
  }
  altAlone_ = false;
  if (k->key() == Qt::Key_F10 && k->modifiers() == Qt::NoModifier) {
    keyboard_ ? highlight(nullptr) : openFirst();
    return true;
  }
  if (!keyboard_) return false;
  // The bar has the keyboard: the arrows move along it, Enter and Down open or run the
  // highlighted item, Escape gives the keyboard back; other keys go nowhere.
  QList<QAction*> items = bar_->actions();
  items.removeIf([](const QAction* a) { return !a->isVisible() || a->isSeparator(); });
  QAction* current = bar_->activeAction() ? bar_->activeAction() : firstItem();
  const qsizetype at = std::max<qsizetype>(items.indexOf(current), 0);
  switch (k->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right: {
      const bool forward = (k->key() == Qt::Key_Right) != bar_->isRightToLeft();
      highlight(items.at((at + (forward ? 1 : items.size() - 1)) % items.size()));
      break;
    }
    case Qt::Key_Down:
    case Qt::Key_Up:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (current->menu()) {
        if (!current->isEnabled()) break;
        keyboard_ = false;
        bar_->setActiveAction(current);
      } else if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
        highlight(nullptr);
        if (current->isEnabled()) QTimer::singleShot(0, current, &QAction::trigger);
      }
      break;
    case Qt::Key_Escape:
      highlight(nullptr);
      break;
    default:
      break;
  }
  return true;
}

bool TSkinMenuBar::eventFilter(QObject* watched, QEvent* e) {
  const QEvent::Type type = e->type();
  const bool ours = type == QEvent::KeyPress || type == QEvent::KeyRelease ||
                    type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
                    type == QEvent::ActionChanged;
  if (!ours || !watched->isWidgetType() || !bar_) return false;
  switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      return keyEvent(watched, e);
    case QEvent::MouseButtonPress:
      altAlone_ = false;
      if (watched == bar_) return barEvent(e);
      // A press elsewhere ends the bar's hold on the keyboard.
      if (keyboard_ && static_cast<QWidget*>(watched)->window() == bar_->window())
        highlight(nullptr);
      return false;
    case QEvent::MouseButtonRelease:
    case QEvent::ActionChanged:
      return watched == bar_ && barEvent(e);
    default:
      return false;
  }
}

}  // namespace ruto
