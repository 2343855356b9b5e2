#include "records/ui/TypingLimit.h"

#include <QLineEdit>
#include <algorithm>

namespace ruto {

void TypingLimit::bind(QLineEdit* edit, int limit) {
  // The edit's own maximum would cut a pasted or composed text before the limit sees it, even
  // between the two halves of a character; the limit alone decides.
  edit->setMaxLength(32767);
  edit->setValidator(new TypingLimit(limit, edit));
}

void TypingLimit::showWhole(QLineEdit* edit, const QString& text) {
  auto* limit = edit->findChild<TypingLimit*>();
  if (limit) {
    limit->held_ = text;
    limit->history_ = {text};
  }
  edit->setText(text);
}

TypingLimit::TypingLimit(int limit, QObject* parent)
    : QValidator(parent), limit_(limit), history_{QString()} {}

QValidator::State TypingLimit::validate(QString& input, int& pos) const {
  if (input == held_) return Acceptable;
  if (history_.contains(input)) {
    held_ = input;
    return Acceptable;
  }
  // The change from the text held: what stays in front and behind, what was put between.
  const qsizetype common = std::min(held_.size(), input.size());
  qsizetype front = 0;
  while (front < common && held_[front] == input[front]) ++front;
  qsizetype back = 0;
  while (back < common - front && held_[held_.size() - 1 - back] == input[input.size() - 1 - back])
    ++back;
  // A change that starts or ends inside a character takes the whole character.
  if (front > 0 && held_[front - 1].isHighSurrogate()) --front;
  if (back > 0 && held_[held_.size() - back].isLowSurrogate()) --back;
  const qsizetype kept = front + back;
  qsizetype room = std::max<qsizetype>(0, limit_ - kept);
  if (input.size() - kept > room) {
    if (room > 0 && input[front + room - 1].isHighSurrogate()) --room;
    input = held_.left(front) + input.mid(front, room) + held_.right(back);
    pos = static_cast<int>(front + room);
    // Nothing of it fits and nothing was removed: the edit stays as it was, undo and all.
    if (input == held_) return Invalid;
  }
  held_ = input;
  history_.insert(input);
  return Acceptable;
}

}  // namespace ruto
