#include "app/ui/WindowKeys.h"

#include <gtest/gtest.h>
#include <QtTest>
#include <QtWidgets>

using namespace ruto;

namespace {

// A window of the program: an edit, two push buttons, a memo and a tool button.
struct KeysWindow {
  QDialog window;
  QLineEdit* edit = new QLineEdit(&window);
  QPushButton* first = new QPushButton(QStringLiteral("first"), &window);
  QPushButton* second = new QPushButton(QStringLiteral("second"), &window);
  QPlainTextEdit* memo = new QPlainTextEdit(&window);
  QToolButton* tool = new QToolButton(&window);
  int firstClicks = 0;
  int secondClicks = 0;

  explicit KeysWindow(bool firstDefault) {
    auto* layout = new QVBoxLayout(&window);
    for (QWidget* w : std::initializer_list<QWidget*>{edit, first, second, memo, tool})
      layout->addWidget(w);
    if (firstDefault) first->setDefault(true);
    QObject::connect(first, &QPushButton::clicked, [this] { ++firstClicks; });
    QObject::connect(second, &QPushButton::clicked, [this] { ++secondClicks; });
    FollowPlatformKeys(&window);
    window.show();
    QApplication::setActiveWindow(&window);
    edit->setFocus();
    QCoreApplication::processEvents();
  }
};

}  // namespace

// Escape closes nothing; Enter in an edit clicks only a button the window made default; Enter
// on a focused button clicks that button; tool buttons take no focus; Tab leaves a memo.
TEST(WindowKeysTest, KeysAsTheProgramsWindowsTakeThem) {
  for (const bool firstDefault : {false, true}) {
    SCOPED_TRACE(firstDefault ? "first made default" : "no default");
    KeysWindow k(firstDefault);
    QTest::keyClick(k.edit, Qt::Key_Escape);
    EXPECT_TRUE(k.window.isVisible());
    QTest::keyClick(k.edit, Qt::Key_Return);
    EXPECT_EQ(k.firstClicks, firstDefault ? 1 : 0);
    EXPECT_EQ(k.secondClicks, 0);
    EXPECT_EQ(k.second->isDefault(), false);
    k.second->setFocus();
    QTest::keyClick(k.second, Qt::Key_Return);
    EXPECT_EQ(k.secondClicks, 1);
    EXPECT_EQ(k.firstClicks, firstDefault ? 1 : 0);
    EXPECT_EQ(k.tool->focusPolicy(), Qt::NoFocus);
    k.memo->setFocus();
    QTest::keyClick(k.memo, Qt::Key_Tab);
    EXPECT_EQ(k.memo->toPlainText(), QString());
    EXPECT_FALSE(k.memo->hasFocus());
  }
}
