#pragma once
// The widgets that show a skinned window's frame, one per band (title, left, right, bottom):
// each lies below every child, paints its part of the frame and takes the mouse there
// (moving, sizing, caption buttons). Plain rectangles paint much faster than one masked
// widget around the client.

#include <QPoint>
#include <QRect>
#include <QWidget>

namespace ruto {

class TSkinForm;
struct HitResult;

class SkinFrameWidget : public QWidget {
  Q_OBJECT
 public:
  enum class Band { Top, Left, Right, Bottom };
  SkinFrameWidget(TSkinForm* form, QWidget* window, Band band);

  // Takes the band's place in the window again (after a resize or new frame widths).
  void syncGeometry();
  // The part of a window-coordinate rectangle that lies on this band, in its coordinates.
  void updateWindowRect(const QRect& r);

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void leaveEvent(QEvent* e) override;

 private:
  void setHot(int index, int state);
  QPoint toWindow(const QPointF& local) const { return local.toPoint() + pos(); }
  HitResult hitAt(QPoint windowPos) const;

  TSkinForm* form_;
  Band band_;
  int hot_ = -1;          // caption button under the mouse or pressed
  bool pressed_ = false;  // a left press is held that started no move or resize
  // Fallback when the platform cannot move or size the window itself.
  int dragEdges_ = 0;  // Qt::Edges, 0 = moving
  bool dragging_ = false;
  bool dragArmed_ = false;  // pressed on the title, not moved far enough yet
  QPoint dragStart_;
  QRect dragGeometry_;
};

}  // namespace ruto
