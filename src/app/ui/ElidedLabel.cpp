#include "app/ui/ElidedLabel.h"

#include <QPainter>
#include <QStyle>
#include <algorithm>

namespace ruto {

namespace {
// The width a label asks for at most, in average characters.
constexpr int kPreferredChars = 40;
}  // namespace

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

QRect ElidedLabel::textRoom() const {
  return contentsRect().adjusted(margin(), margin(), -margin(), -margin());
}

QString ElidedLabel::elidedText() const {
  return fontMetrics().elidedText(text(), Qt::ElideRight, std::max(0, textRoom().width()));
}

QSize ElidedLabel::sizeHint() const {
  const QFontMetrics fm = fontMetrics();
  const int wanted = std::min(fm.horizontalAdvance(text().left(2 * kPreferredChars)),
                              fm.averageCharWidth() * kPreferredChars);
  return QSize(wanted, fm.height()).grownBy(contentsMargins());
}

QSize ElidedLabel::minimumSizeHint() const {
  return QSize(0, fontMetrics().height()).grownBy(contentsMargins());
}

void ElidedLabel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  drawFrame(&p);
  style()->drawItemText(&p, textRoom(), QStyle::visualAlignment(layoutDirection(), alignment()),
                        palette(), isEnabled(), elidedText(), foregroundRole());
}

}  // namespace ruto
