#pragma once
// A one-line label for texts the user or a file chose (names, report lines, status texts):
// it never asks for more room than a short text needs, and shows what does not fit with an
// ellipsis, so a long text cannot push its window past the screen.

#include <QLabel>

namespace ruto {

class ElidedLabel : public QLabel {
 public:
  // Plain text only; pass texts from files through BlankControls first.
  explicit ElidedLabel(QWidget* parent = nullptr);
  // The text as painted into the current width.
  QString elidedText() const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  QRect textRoom() const;
};

}  // namespace ruto
