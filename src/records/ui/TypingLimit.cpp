#include "records/ui/TypingLimit.h"

#include <QEvent>
#include <QLineEdit>
#include <QMenu>
#include <algorithm>
#include <utility>

namespace ruto {

void TypingLimit::bind(QLineEdit* edit, int limit) {
  // The edit's own maximum would cut a pasted or composed text before the limit sees it, even
  // between the two halves of a character; the limit alone decides.
  edit->setMaxLength(32767);
  auto* typing = new TypingLimit(limit, edit);
  edit->setValidator(typing);
  edit->installEventFilter(typing);
}

void TypingLimit::showWhole(QLineEdit* edit, const QString& text) {
  // The edit's validator is its limit where one was bound.
  if (auto* limit = dynamic_cast<const TypingLimit*>(edit->validator())) {
    limit->held_ = text;
    limit->history_ = {text};
  }
  edit->setText(text);
}

TypingLimit::TypingLimit(int limit, QLineEdit* edit)
    : QValidator(edit), limit_(limit), edit_(edit), history_{QString()} {}

bool TypingLimit::eventFilter(QObject* watched, QEvent* event) {
  if (watched != edit_ || userInput_) return false;
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::InputMethod:
    case QEvent::Drop:
    case QEvent::MouseButtonRelease:  // the selection pasted by the middle button
    case QEvent::ContextMenu:
      break;
    default:
      return false;
  }
  // The edit takes the event here; whether it used it (a key it leaves goes on to the window)
  // is as without this step.
  userInput_ = true;
  fitted_.reset();
  static_cast<QObject*>(edit_)->event(event);
  if (event->type() == QEvent::ContextMenu) {
    // The edit's menu stays up after the event and pastes when chosen; the paste is the user's
    // until the menu is gone.
    const QList<QMenu*> menus = edit_->findChildren<QMenu*>(Qt::FindDirectChildrenOnly);
    if (!menus.isEmpty() && menus.last()->isVisible()) {
      connect(menus.last(), &QObject::destroyed, this, [this] {
        userInput_ = false;
        makeFitted();
      });
      return true;
    }
  }
  userInput_ = false;
  makeFitted();
  return true;
}

void TypingLimit::makeFitted() {
  if (!fitted_) return;
  const Fitted f = *std::exchange(fitted_, std::nullopt);
  if (f.removed > 0)
    edit_->setSelection(static_cast<int>(f.front), static_cast<int>(f.removed));
  else
    edit_->setCursorPosition(static_cast<int>(f.front));
  if (f.inserted.isEmpty())
    edit_->del();
  else
    edit_->insert(f.inserted);
}

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
    const Fitted fitted{front, held_.size() - kept, input.mid(front, room)};
    // Nothing of it fits and nothing was removed: the edit stays as it was, undo and all.
    if (fitted.removed == 0 && fitted.inserted.isEmpty()) return Invalid;
    if (userInput_) {
      fitted_ = fitted;
      return Invalid;
    }
    input = held_.left(front) + fitted.inserted + held_.right(back);
    pos = static_cast<int>(front + room);
  }
  held_ = input;
  history_.insert(input);
  return Acceptable;
}

}  // namespace ruto
