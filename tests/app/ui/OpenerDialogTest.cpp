#include <gtest/gtest.h>
#include <QtWidgets>

#include "app/ui/OpenerDialog.h"

using namespace ruto;

namespace {

// Records the order of its own show handling against the after-steps.
class Opener : public OpenerDialog {
 public:
  QStringList* log = nullptr;

 protected:
  void showEvent(QShowEvent* e) override {
    QDialog::showEvent(e);
    if (log) *log << "shown";
  }
};

}  // namespace

// Outside and inside exec(), and with a child that shows its opener itself: the window is
// hidden while the child runs, comes back (modal inside exec) and the after-steps run once,
// after the window's own show handling; inside exec() the window comes back where it stood.
TEST(OpenerDialogTest, ChildRunsHiddenAndTheAfterStepsFollowTheShow) {
  for (const bool modal : {false, true}) {
    for (const bool childShowsOpener : {false, true}) {
      SCOPED_TRACE(testing::Message() << "modal " << modal << " child shows " << childShowsOpener);
      QStringList log;
      Opener w;
      w.log = &log;
      bool hiddenDuring = false;
      auto open = [&] {
        w.runChildHidden(
            [&] {
              hiddenDuring = !w.isVisible();
              log << "child";
              if (childShowsOpener) w.show();
            },
            [&] { log << "after"; });
      };
      if (modal) {
        QTimer::singleShot(0, &w, [&] {
          log.clear();
          w.move(123, 45);
          open();
          QTimer::singleShot(0, &w, [&] {
            EXPECT_TRUE(w.isVisible());
            EXPECT_TRUE(w.testAttribute(Qt::WA_ShowModal));
            EXPECT_EQ(w.pos(), QPoint(123, 45)) << "back where it stood";
            w.reject();
          });
        });
        EXPECT_EQ(w.exec(), QDialog::Rejected) << "the last round's result";
      } else {
        w.show();
        log.clear();
        open();
        EXPECT_TRUE(w.isVisible());
      }
      EXPECT_TRUE(hiddenDuring);
      // Inside exec() a window the child showed is hidden and shown again, modal.
      EXPECT_EQ(log.join(' '),
                childShowsOpener && modal ? "child shown shown after" : "child shown after");
    }
  }
}
