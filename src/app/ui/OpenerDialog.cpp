#include "app/ui/OpenerDialog.h"

#include <QEvent>
#include <utility>

namespace ruto {

int OpenerDialog::exec() {
  inExec_ = true;
  int result = 0;
  for (;;) {
    result = QDialog::exec();
    if (!pendingChild_) break;
    std::function<void()> after = std::exchange(pendingAfterChild_, {});
    std::exchange(pendingChild_, {})();
    // A child may have shown this window itself; only a hidden window comes back modal.
    if (isVisible()) hide();
    // Ending a round closes the platform window; the next one would be placed anew.
    move(returnPos_);
    pendingAfter_ = std::move(after);
  }
  inExec_ = false;
  return result;
}

void OpenerDialog::runChildHidden(std::function<void()> child, std::function<void()> after) {
  if (inExec_) {
    returnPos_ = pos();
    pendingChild_ = std::move(child);
    pendingAfterChild_ = std::move(after);
    done(QDialog::Accepted);
    return;
  }
  hide();
  child();
  pendingAfter_ = std::move(after);
  show();
  // Still pending when the child left this window shown: no show event came.
  if (pendingAfter_) std::exchange(pendingAfter_, {})();
}

// The after-steps follow the subclass's showEvent, which may reset what they set.
bool OpenerDialog::event(QEvent* e) {
  const bool handled = QDialog::event(e);
  if (e->type() == QEvent::Show && !e->spontaneous() && pendingAfter_)
    std::exchange(pendingAfter_, {})();
  return handled;
}

}  // namespace ruto
