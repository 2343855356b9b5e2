// Tab widgets in a skinned dialog: close boxes the skin adds or finds, and the skinned scroll
// arrows of a tab bar whose tabs do not fit.
#include <gtest/gtest.h>

#include "ControlTestSkin.h"
#include "SkinUiSupport.h"

namespace ruto {
namespace {

using namespace test;

class ControlSkinsTabs : public SkinnedTest {
 protected:
  QByteArray stream() override { return buildControlTestSkin(); }
  // A tab widget of `count` pages in a skinned dialog.
  QTabWidget* hostTabs(int count, QSize size, bool closable = false) {
    auto* tabs = new QTabWidget;
    tabs->setProperty("tag", kClosableTabsTag);
    tabs->setTabsClosable(closable);
    for (int i = 0; i < count; ++i) tabs->addTab(new QWidget, QStringLiteral("第%1頁").arg(i + 1));
    tabs->setFixedSize(size);
    dlg = std::make_unique<QDialog>();
    (new QVBoxLayout(dlg.get()))->addWidget(tabs);
    dlg->show();
    QApplication::setActiveWindow(dlg.get());
    settle();
    return tabs;
  }
  std::unique_ptr<QDialog> dlg;
};

// One click on a close box takes away one page, whether the skin made the tab widget closable
// or it closed its pages itself already.
TEST_F(ControlSkinsTabs, OneClickClosesOnePage) {
  for (const bool ownHandler : {false, true}) {
    QTabWidget* tabs = hostTabs(3, QSize(300, 120), ownHandler);
    if (ownHandler)
      QObject::connect(tabs, &QTabWidget::tabCloseRequested, tabs, [tabs](int index) {
        QWidget* page = tabs->widget(index);
        tabs->removeTab(index);
        delete page;
      });
    auto* box = qobject_cast<QAbstractButton*>(tabs->tabBar()->tabButton(1, QTabBar::RightSide));
    ASSERT_NE(box, nullptr) << ownHandler;
    box->click();
    settle();
    EXPECT_EQ(tabs->count(), 2) << ownHandler;
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("第3頁")) << ownHandler;
  }
}

// The arrows of a tab bar are drawn from "UpDown.Horz": left frames 1 to 4, right frames 5 to
// 8 (normal, pressed, disabled, hot), each with its glyph frame centred on it.
TEST_F(ControlSkinsTabs, ScrollArrowsOfTheTabBar) {
  QTabWidget* tabs = hostTabs(12, QSize(220, 100));
  tabs->setCurrentIndex(6);  // scrolled to the middle: both arrows can move
  settle();
  QToolButton* arrows[2] = {};
  for (QToolButton* b : tabs->tabBar()->findChildren<QToolButton*>())
    if (b->arrowType() == Qt::LeftArrow || b->arrowType() == Qt::RightArrow)
      arrows[b->arrowType() == Qt::LeftArrow ? 0 : 1] = b;
  for (int direction : {0, 1}) {
    QToolButton* arrow = arrows[direction];
    ASSERT_NE(arrow, nullptr) << direction;
    ASSERT_TRUE(arrow->isVisible()) << direction;
    ASSERT_TRUE(arrow->isEnabled()) << direction;
    ASSERT_GE(arrow->width(), 8) << direction;
    // In the tab widget's picture: the strip does not paint over the arrows.
    const QRect r(arrow->mapTo(tabs, QPoint(0, 0)), arrow->size());
    const QPoint edge(r.left() + 1, r.center().y()), middle = r.center();
    auto expectFrame = [&](int state, const char* what) {
      const QImage img = tabs->grab().toImage();
      const int frame = direction * 4 + state;
      EXPECT_EQ(img.pixel(edge), frameColour(ciUpDownH, frame)) << what << " " << direction;
      EXPECT_EQ(img.pixel(middle), frameColour(ciUpDownHGlyph, frame)) << what << " " << direction;
    };
    expectFrame(1, "normal");
    arrow->setDown(true);
    expectFrame(2, "pressed");
    arrow->setDown(false);
    arrow->setAttribute(Qt::WA_UnderMouse, true);
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), arrow->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(arrow, &enter);
    expectFrame(4, "hot");
    arrow->setAttribute(Qt::WA_UnderMouse, false);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(arrow, &leave);
  }
}

// The arrow pair is one control: the arrow at the end of the strip, which cannot move further,
// keeps the normal frame; a disabled tab widget shows both arrows in the disabled frame.
TEST_F(ControlSkinsTabs, ArrowAtTheEndOfTheStripKeepsItsLook) {
  QTabWidget* tabs = hostTabs(12, QSize(220, 100));
  tabs->setCurrentIndex(0);
  settle();
  QToolButton* left = nullptr;
  for (QToolButton* b : tabs->tabBar()->findChildren<QToolButton*>())
    if (b->arrowType() == Qt::LeftArrow) left = b;
  ASSERT_NE(left, nullptr);
  ASSERT_TRUE(left->isVisible());
  ASSERT_FALSE(left->isEnabled()) << "nothing to scroll to on the left";
  const QPoint edge = left->mapTo(tabs, QPoint(1, left->height() / 2));
  EXPECT_EQ(tabs->grab().toImage().pixel(edge), frameColour(ciUpDownH, 1));
  tabs->setEnabled(false);
  EXPECT_EQ(tabs->grab().toImage().pixel(edge), frameColour(ciUpDownH, 3));
}

}  // namespace
}  // namespace ruto
