#include "skin/ui/SkinFrameWidget.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "skin/SkinData.h"
#include "skin/ui/FormSkin.h"

namespace ruto {

namespace {

Qt::Edges edgesOf(Hit h) {
  switch (h) {
    case Hit::Left:
      return Qt::LeftEdge;
    case Hit::Right:
      return Qt::RightEdge;
    case Hit::Top:
      return Qt::TopEdge;
    case Hit::Bottom:
      return Qt::BottomEdge;
    case Hit::TopLeft:
      return Qt::TopEdge | Qt::LeftEdge;
    case Hit::TopRight:
      return Qt::TopEdge | Qt::RightEdge;
    case Hit::BottomLeft:
      return Qt::BottomEdge | Qt::LeftEdge;
    case Hit::BottomRight:
      return Qt::BottomEdge | Qt::RightEdge;
    default:
      return {};
  }
}

Qt::CursorShape cursorFor(Hit h) {
  switch (h) {
    case Hit::Left:
    case Hit::Right:
      return Qt::SizeHorCursor;
    case Hit::Top:
    case Hit::Bottom:
      return Qt::SizeVerCursor;
    case Hit::TopLeft:
    case Hit::BottomRight:
      return Qt::SizeFDiagCursor;
    case Hit::TopRight:
    case Hit::BottomLeft:
      return Qt::SizeBDiagCursor;
    default:
      return Qt::ArrowCursor;
  }
}

}  // namespace

SkinFrameWidget::SkinFrameWidget(TSkinForm* form, QWidget* window, Band band)
    : QWidget(window), form_(form), band_(band) {
  setObjectName(QStringLiteral("SkinFrame"));
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  syncGeometry();
}

void SkinFrameWidget::syncGeometry() {
  QWidget* w = parentWidget();
  if (!w) return;
  const QMargins b = form_->border();
  const int W = w->width(), H = w->height();
  QRect r;
  switch (band_) {
    case Band::Top:
      r = QRect(0, 0, W, b.top());
      break;
    case Band::Left:
      r = QRect(0, b.top(), b.left(), H - b.top() - b.bottom());
      break;
    case Band::Right:
      r = QRect(W - b.right(), b.top(), b.right(), H - b.top() - b.bottom());
      break;
    case Band::Bottom:
      r = QRect(0, H - b.bottom(), W, b.bottom());
      break;
  }
  setGeometry(r);
  setVisible(!r.isEmpty());
  lower();
}

void SkinFrameWidget::updateWindowRect(const QRect& r) {
  const QRect mine = r.translated(-pos()).intersected(rect());
  if (!mine.isEmpty()) update(mine);
}

void SkinFrameWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  // What the window's mask leaves out shows the face where no mask applies.
  p.fillRect(rect(), parentWidget()->palette().color(QPalette::Window));
  p.translate(-pos());  // the frame is painted in window coordinates
  // Told which part is this band's, the frame painter lays out only what falls on it.
  p.setClipRect(geometry());
  FramePaint f;
  f.keyed = true;
  f.window = parentWidget()->size();
  f.border = form_->border();
  f.active = form_->active();
  f.state = form_->state();
  f.caption = parentWidget()->windowTitle();
  f.buttons = &form_->buttons();
  f.icon = parentWidget()->windowIcon().pixmap(TSkinData::SmallIconSize).toImage();
  f.font = font();
  PaintFrame(p, *form_->SkinData(), f);
}

void SkinFrameWidget::setHot(int index, int state) {
  auto& buttons = form_->buttons();
  for (int i = 0; i < static_cast<int>(buttons.size()); ++i) {
    const int want = i == index ? state : 1;
    if (buttons[static_cast<size_t>(i)].state != want) {
      buttons[static_cast<size_t>(i)].state = want;
      form_->updateFrame(buttons[static_cast<size_t>(i)].rect);
    }
  }
  hot_ = state == 1 ? -1 : index;
}

HitResult SkinFrameWidget::hitAt(QPoint windowPos) const {
  return FrameHitTest(windowPos, parentWidget()->size(), form_->border(), form_->menuHeight(),
                      form_->style().Sizeable, form_->state(), form_->buttons());
}

void SkinFrameWidget::mousePressEvent(QMouseEvent* e) {
  const QPoint pos = toWindow(e->position());
  const HitResult h = hitAt(pos);
  if (e->button() == Qt::RightButton) {
    // The title's buttons are caption too: a right press on them opens the menu as well.
    const bool titleButton =
        h.kind == Hit::Button &&
        form_->buttons()[static_cast<size_t>(h.button)].rect.top() < form_->border().top();
    if (h.kind == Hit::Caption || titleButton) form_->ShowSysMenu(e->globalPosition().toPoint());
    return;
  }
  if (e->button() != Qt::LeftButton) return;
  // A press that starts no move or resize leaves the release to the hot button under it.
  pressed_ = true;
  if (h.kind == Hit::Button) {
    if (form_->buttons()[static_cast<size_t>(h.button)].enabled) setHot(h.button, 2);
    return;
  }
  const Qt::Edges edges = edgesOf(h.kind);
  if (!edges && (h.kind != Hit::Caption || form_->state() == WinState::Maximized)) return;
  pressed_ = false;
  // A move or a resize starts once the mouse has travelled, so a double click on the title
  // or a sizing strip stays one.
  dragArmed_ = true;
  dragging_ = false;
  dragEdges_ = static_cast<int>(edges);
  dragStart_ = e->globalPosition().toPoint();
  dragGeometry_ = window()->geometry();
}

void SkinFrameWidget::mouseMoveEvent(QMouseEvent* e) {
  const QPoint pos = toWindow(e->position());
  if (dragArmed_ && (e->buttons() & Qt::LeftButton) &&
      (e->globalPosition().toPoint() - dragStart_).manhattanLength() >=
          QApplication::startDragDistance()) {
    dragArmed_ = false;
    QWindow* handle = window()->windowHandle();
    const Qt::Edges edges = Qt::Edges::fromInt(dragEdges_);
    if (handle && (edges ? handle->startSystemResize(edges) : handle->startSystemMove())) return;
    dragging_ = true;
  }
  if (dragging_) {
    const QPoint d = e->globalPosition().toPoint() - dragStart_;
    QRect g = dragGeometry_;
    if (!dragEdges_) {
      g.translate(d);
    } else {
      if (dragEdges_ & Qt::LeftEdge) g.setLeft(g.left() + d.x());
      if (dragEdges_ & Qt::RightEdge) g.setRight(g.right() + d.x());
      if (dragEdges_ & Qt::TopEdge) g.setTop(g.top() + d.y());
      if (dragEdges_ & Qt::BottomEdge) g.setBottom(g.bottom() + d.y());
    }
    window()->setGeometry(g);
    return;
  }
  const HitResult h = hitAt(pos);
  setCursor(cursorFor(h.kind));
  // The button under the mouse becomes the hot one, a button held down or not; the hot one
  // keeps its look (pressed stays pressed) while the mouse stays on it. Only the active
  // window's buttons answer the passing mouse.
  if (h.kind == Hit::Button && form_->active() &&
      form_->buttons()[static_cast<size_t>(h.button)].enabled) {
    if (form_->buttons()[static_cast<size_t>(h.button)].state == 1) setHot(h.button, 3);
  } else {
    setHot(-1, 1);
  }
}

void SkinFrameWidget::mouseReleaseEvent(QMouseEvent* e) {
  dragging_ = dragArmed_ = false;
  if (e->button() != Qt::LeftButton || !pressed_) return;
  pressed_ = false;
  // The release runs the hot button under it, whichever one the press was on.
  const HitResult h = hitAt(toWindow(e->position()));
  if (h.kind != Hit::Button || h.button != hot_) return;
  setHot(h.button, 3);
  const CaptionButton b = form_->buttons()[static_cast<size_t>(h.button)];
  form_->RunButtonAction(b, e->globalPosition().toPoint() + QPoint(1, 1));
}

void SkinFrameWidget::mouseDoubleClickEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  const HitResult h = hitAt(toWindow(e->position()));
  if (h.kind == Hit::Button) {
    const int action = form_->buttons()[static_cast<size_t>(h.button)].def->Action;
    if (action == 3 || action == 11) {
      if (form_->sysMenu()) form_->sysMenu()->close();
      form_->RunSysCommand(SC_CLOSE);
    }
    return;
  }
  // Anywhere else on the frame: the title, the bands and their sizing strips.
  if (h.kind != Hit::Client) form_->FrameDoubleClick();
}

void SkinFrameWidget::leaveEvent(QEvent*) {
  if (!pressed_) setHot(-1, 1);
}

}  // namespace ruto
