// Every window of the program, opened through the registry, plain and skinned, on the test
// screen of 1024 x 768: its frame inside the screen's free area, centred on the screen or on
// its owner, and every label as wide as its text.
#include <gtest/gtest.h>

#include <QLabel>
#include <QScreen>

#include "WindowCensus.h"
#include "app/SharedRecords.h"
#include "app/ui/Application.h"
#include "app/ui/ElidedLabel.h"
#include "app/ui/MainWindow.h"
#include "app/ui/MessageBox.h"
#include "app/ui/PrintAbortBox.h"

namespace {

using ruto::test::settle;

// The windows that open centred on the screen whatever their owner's place.
const QStringList kOnScreen = {"measurement", "analysis", "calibration", "startupStatus",
                               "message"};

class Placement : public ruto::test::WindowCensusTest {
 protected:
  void check(QWidget* w, const QString& name) {
    SCOPED_TRACE(name.toStdString());
    const QRect area = w->screen()->availableGeometry();
    const QRect frame = w->frameGeometry();
    EXPECT_TRUE(area.contains(frame))
        << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
    // Placed by the program, not left to the window system.
    EXPECT_TRUE(w->testAttribute(Qt::WA_Moved));
    const QWidget* owner = w->parentWidget() ? w->parentWidget()->window() : nullptr;
    QRect expected(QPoint(), frame.size());
    expected.moveCenter(kOnScreen.contains(name) || !owner ? area.center()
                                                           : owner->frameGeometry().center());
    // Kept inside the area where the owner stands near its edge.
    expected.moveRight(std::min(expected.right(), area.right()));
    expected.moveBottom(std::min(expected.bottom(), area.bottom()));
    expected.moveLeft(std::max(expected.left(), area.left()));
    expected.moveTop(std::max(expected.top(), area.top()));
    EXPECT_EQ(frame.topLeft(), expected.topLeft());
    // Labels that shorten their text on purpose (ElidedLabel) and pictures aside.
    for (const QLabel* label : w->findChildren<QLabel*>()) {
      if (!label->isVisibleTo(w) || label->wordWrap() || !label->pixmap().isNull() ||
          dynamic_cast<const ruto::ElidedLabel*>(label))
        continue;
      int need = 0;
      for (const QString& line : label->text().split(u'\n'))
        need = std::max(need, label->fontMetrics().horizontalAdvance(line));
      EXPECT_GE(label->contentsRect().width(), need)
          << qPrintable(label->objectName()) << " '" << qPrintable(label->text()) << "'";
    }
  }

  void openEveryWindow() {
    // The editors open on their own in new mode when the fresh database has no rows.
    ViewState.ClientNewMode = true;
    ViewState.ProgramNewMode = true;
    for (const ruto::test::Opener& o : ruto::test::kOpeners)
      openEachModal(o, [&](QWidget* w, const QString& name) { check(w, name); });
    ruto::MsgRequest.Kind = ruto::MsgKind::QuestionYesNo;
    ruto::MsgRequest.Text = ruto::kExitQuestion;
    ruto::MessageBox box(TheMainWindow);
    box.show();
    settle();
    check(&box, QStringLiteral("message"));
    box.close();
    ruto::ThePrintAbortBox->show();
    settle();
    check(ruto::ThePrintAbortBox, QStringLiteral("abort"));
    ruto::ThePrintAbortBox->hide();
  }
};

TEST_F(Placement, EveryWindowFitsTheScreenAndOpensWhereItBelongs) {
  ASSERT_TRUE(CreateMainWindows());
  // The main window off the screen's centre, so that owner and screen centres differ.
  TheMainWindow->setGeometry(160, 120, 700, 500);
  TheMainWindow->show();
  settle();
  TheMainWindow->runFirstActivation();
  settle();
  ASSERT_EQ(TheMainWindow->screen()->availableGeometry(), QRect(0, 0, 1024, 768));
  openEveryWindow();
  skinOn();
  settle();
  openEveryWindow();
}

}  // namespace
