#pragma once
// A modal window that hides itself while a child window runs and shows itself again after.

#include <QDialog>
#include <functional>

namespace ruto {

class OpenerDialog : public QDialog {
  Q_OBJECT
 public:
  using QDialog::QDialog;
  int exec() override;

  // Hides this window, runs `child` (which shows its own modal window), shows this window
  // again and then runs `after`, once the window's own show handling has run. Hiding a dialog
  // ends its exec(), so inside exec() the child runs between two rounds of it.
  void runChildHidden(std::function<void()> child, std::function<void()> after = {});

 protected:
  bool event(QEvent* e) override;

 private:
  bool inExec_ = false;
  QPoint returnPos_;  // where the window stood when the child opened
  std::function<void()> pendingChild_;
  std::function<void()> pendingAfterChild_;  // the child's after-steps, until it has run
  std::function<void()> pendingAfter_;       // runs once the window is shown again
};

}  // namespace ruto
