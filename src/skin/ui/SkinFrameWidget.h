#pragma once
// The widget that shows a skinned window's frame: it lies below every child, is masked to
// the frame bands, paints them and takes their mouse (moving, sizing, caption buttons).

#include <QPoint>
#include <QRect>
#include <QWidget>

namespace ruto {

class TSkinForm;

class SkinFrameWidget : public QWidget {
  Q_OBJECT
 public:
  SkinFrameWidget(TSkinForm* form, QWidget* window);

  // Follows the window's size and puts the mask on the bands again.
  void syncGeometry();

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void leaveEvent(QEvent* e) override;

 private:
  void setHot(int index, int state);

  TSkinForm* form_;
  int hot_ = -1;  // caption button under the mouse or pressed
  bool pressed_ = false;
  // Fallback when the platform cannot move or size the window itself.
  int dragEdges_ = 0;  // Qt::Edges, 0 = moving
  bool dragging_ = false;
  bool dragArmed_ = false;  // pressed on the title, not moved far enough yet
  QPoint dragStart_;
  QRect dragGeometry_;
};

}  // namespace ruto
