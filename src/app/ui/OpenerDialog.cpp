#include "app/ui/OpenerDialog.h"

#include <QTimer>
#include <utility>

namespace ruto {

int TOpenerDialog::exec() {
  inExec_ = true;
  int result = 0;
  for (;;) {
    result = QDialog::exec();
    if (!pendingChild_) break;
    std::exchange(pendingChild_, {})();
    // Runs once the next round has shown the window again.
    if (auto after = std::exchange(pendingAfter_, {})) QTimer::singleShot(0, this, after);
  }
  inExec_ = false;
  return result;
}

void TOpenerDialog::runChildHidden(std::function<void()> child, std::function<void()> after) {
  if (inExec_) {
    pendingChild_ = std::move(child);
    pendingAfter_ = std::move(after);
    done(QDialog::Accepted);
    return;
  }
  hide();
  child();
  show();
  if (after) after();
}

}  // namespace ruto
