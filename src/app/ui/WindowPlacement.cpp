#include "app/ui/WindowPlacement.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>

namespace ruto {

namespace {

QMargins frameOf(const QWidget* w) {
  const QRect f = w->frameGeometry(), g = w->geometry();
  return {g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom()};
}

// The frame the window manager puts round `w`. Before a window has been on the screen its
// frame may not be known yet; a shown framed window of the program stands for it then.
QMargins frameMargins(const QWidget* w) {
  if (w->windowFlags() & Qt::FramelessWindowHint) return {};
  if (const QMargins own = frameOf(w); !own.isNull()) return own;
  for (const QWidget* other : QApplication::topLevelWidgets()) {
    if (other == w || !other->isVisible() || (other->windowFlags() & Qt::FramelessWindowHint))
      continue;
    if (const QMargins m = frameOf(other); !m.isNull()) return m;
  }
  return {};
}

// A frame of `frameSize` centred on `centre`, moved inside `area` as far as it fits (its
// top-left corner always inside, so the caption can be reached).
QRect centredFrame(QSize frameSize, QPoint centre, const QRect& area) {
  QRect r(QPoint(), frameSize);
  r.moveCenter(centre);
  if (r.right() > area.right()) r.moveRight(area.right());
  if (r.bottom() > area.bottom()) r.moveBottom(area.bottom());
  if (r.left() < area.left()) r.moveLeft(area.left());
  if (r.top() < area.top()) r.moveTop(area.top());
  return r;
}

void placeWindow(QWidget* w, WindowPlace place) {
  const QWidget* owner = nullptr;
  if (place == WindowPlace::Owner && w->parentWidget()) owner = w->parentWidget()->window();
  // An owner that was never on the screen has no place to centre on.
  if (owner && !owner->testAttribute(Qt::WA_WState_Created)) owner = nullptr;
  QScreen* screen = owner ? owner->screen() : w->screen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  const QMargins frame = frameMargins(w);
  const QSize room = area.size().shrunkBy(frame);
  if (w->width() > room.width() || w->height() > room.height())
    w->resize(w->size().boundedTo(room).expandedTo(w->minimumSize()));
  const QPoint centre = owner ? owner->frameGeometry().center() : area.center();
  // The client rectangle, not move(): a frame just taken away (a skinned window) may still be
  // counted by move().
  w->setGeometry(centredFrame(w->size().grownBy(frame), centre, area).marginsRemoved(frame));
}

// Places its window on the window's first show, after the skin has given it its frame.
class FirstShowPlacer : public QObject {
 public:
  FirstShowPlacer(QWidget* window, WindowPlace place) : QObject(window), place_(place) {
    window->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* e) override {
    if (watched == parent() && e->type() == QEvent::Show && !e->spontaneous()) {
      watched->removeEventFilter(this);
      placeWindow(static_cast<QWidget*>(watched), place_);
      deleteLater();
    }
    return false;
  }

 private:
  WindowPlace place_;
};

}  // namespace

void PlaceOnShow(QWidget* window, WindowPlace place) { new FirstShowPlacer(window, place); }

}  // namespace ruto
