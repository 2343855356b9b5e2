// Control skins on real widgets in a skinned dialog, painted from the frame-coded test skin:
// each probed pixel must be the source image's pixel of the frame the state calls for.
#include <gtest/gtest.h>

#include "ControlTestSkin.h"
#include "SkinUiSupport.h"
#include "widgets/SortingGrid.h"

namespace ruto {
namespace {

using namespace test;

QColor px(QWidget* w, QPoint at) { return QColor(w->grab().toImage().pixel(at)); }
QColor coded(int id, int frame) { return QColor(frameColour(id, frame)); }
const QColor kFace(212, 208, 200);

// The probed pixels of w, each against the colour it should have.
using Probe = std::pair<QPoint, QColor>;
Probe at(QPoint p, QColor want) { return {p, want}; }
Probe at(int x, int y, QColor want) { return {QPoint(x, y), want}; }
void expectAt(QWidget* w, std::initializer_list<Probe> probes, const char* what = "") {
  const QImage img = w->grab().toImage();
  for (const auto& [at, want] : probes)
    EXPECT_EQ(QColor(img.pixel(at)), want) << what << " at " << at.x() << "," << at.y();
}

// A page holding ws one under the other, or side by side.
QWidget* page(std::initializer_list<QWidget*> ws, bool across = false) {
  auto* p = new QWidget;
  layOut(p, ws, across);
  return p;
}

// The option a slider or scroll bar is painted with, as far as these tests need it.
QStyleOptionSlider sliderOption(QAbstractSlider* b) {
  QStyleOptionSlider o;
  o.initFrom(b);
  o.orientation = b->orientation();
  o.maximum = b->maximum();
  o.pageStep = b->pageStep();
  return o;
}

QRect tabAt(QTabWidget* tabs, int i) {
  return tabs->tabBar()->tabRect(i).translated(tabs->tabBar()->pos());
}

void hoverAt(QWidget* w, QPoint at) {
  w->setAttribute(Qt::WA_UnderMouse, true);
  QHoverEvent enter(QEvent::HoverEnter, QPointF(at), QPointF(at), QPointF(-1, -1));
  QApplication::sendEvent(w, &enter);
  QHoverEvent move(QEvent::HoverMove, QPointF(at), QPointF(at), QPointF(at));
  QApplication::sendEvent(w, &move);
}

class ControlSkins : public SkinnedTest {
 protected:
  QByteArray stream() override { return buildControlTestSkin(); }
  void SetUp() override {
    SkinnedTest::SetUp();
    skin->SkinControls.set();
    shade = toQColor(skin->Colours().ButtonShadow);
  }
  // A skinned dialog holding w at a fixed size.
  void host(QWidget* w, QSize size) {
    dlg = std::make_unique<QDialog>();
    w->setFixedSize(size);
    (new QVBoxLayout(dlg.get()))->addWidget(w);
    dlg->show();
    QApplication::setActiveWindow(dlg.get());
    settle();
  }
  // A skinned tab widget tagged for close boxes with one page per title; `second` follows
  // the second page.
  QTabWidget* hostClosableTabs(const QStringList& titles, QPointer<QWidget>& second) {
    auto* tabs = new QTabWidget;
    tabs->setProperty("tag", kClosableTabsTag);
    for (const QString& title : titles) {
      auto* page = new QWidget;
      if (tabs->count() == 1) second = page;
      tabs->addTab(page, title);
    }
    host(tabs, QSize(300, 120));
    return tabs;
  }
  std::unique_ptr<QDialog> dlg;
  QColor shade;
};

TEST_F(ControlSkins, PushButtonFrameByState) {
  auto* b = new QPushButton(QStringLiteral("確定"));
  host(b, QSize(80, 24));
  const std::tuple<const char*, std::function<void()>, int> cases[] = {
      {"focused", [b] { b->setFocus(); }, 5},
      {"normal", [b] { b->clearFocus(); }, 1},
      {"hot", [b] { b->setAttribute(Qt::WA_UnderMouse, true); }, 4},
      {"pressed", [b] { b->setDown(true); }, 2},
      {"disabled while hot and pressed", [b] { b->setEnabled(false); }, 3},
  };
  for (const auto& [what, set, frame] : cases) {
    set();
    // The image's magenta corner shows the face behind the button.
    const QColor want = coded(ciButtons, frame);
    expectAt(b, {{{2, 2}, want}, {{77, 21}, want}, {{0, 0}, kFace}}, what);
  }
}

// Held down, moved off and back, released: the press ended when the mouse left, so the
// button shows its hot frame again and does not click; a press and release in place clicks.
TEST_F(ControlSkins, PushButtonLetsGoOfAPressTheMouseLeaves) {
  auto* b = new QPushButton(QStringLiteral("儲存"));
  b->setFocusPolicy(Qt::NoFocus);
  host(b, QSize(80, 24));
  int clicks = 0;
  QObject::connect(b, &QPushButton::clicked, [&] { ++clicks; });
  mouse(b, QEvent::MouseButtonPress, QPoint(40, 12));
  EXPECT_EQ(px(b, QPoint(2, 2)), coded(ciButtons, 2));
  mouse(b, QEvent::MouseMove, QPoint(120, 12), Qt::NoButton, Qt::LeftButton);
  mouse(b, QEvent::MouseMove, QPoint(40, 12), Qt::NoButton, Qt::LeftButton);
  b->setAttribute(Qt::WA_UnderMouse, true);
  EXPECT_EQ(px(b, QPoint(2, 2)), coded(ciButtons, 4));
  mouse(b, QEvent::MouseButtonRelease, QPoint(40, 12));
  EXPECT_EQ(clicks, 0);
  click(b, QPoint(40, 12));
  EXPECT_EQ(clicks, 1);
}

// Bit, menu and speed buttons, two-line captions and the transparent tag, side by side on a
// green panel.
TEST_F(ControlSkins, ButtonKinds) {
  QImage glyph(16, 16, QImage::Format_RGB32);
  glyph.fill(QColor(255, 0, 0));
  glyph.setPixel(0, 15, qRgb(0, 0, 255));  // bottom-left: the transparent colour
  auto* bit = new QPushButton(QIcon(QPixmap::fromImage(glyph)), QString());
  bit->setIconSize(QSize(16, 16));
  auto* see = new QPushButton(QStringLiteral("甲"));
  see->setProperty("tag", kTransparentTag);
  auto* menuButton = new QPushButton(QStringLiteral("選單"));
  QMenu menu;
  menu.addAction(QStringLiteral("一"));
  menuButton->setMenu(&menu);
  auto* speed = new QToolButton;
  speed->setText(QStringLiteral("乙"));
  speed->setCheckable(true);
  auto* one = new QPushButton(QStringLiteral("經絡解說"));
  auto* two = new QPushButton(QStringLiteral("經絡||解說"));
  for (QWidget* w : std::initializer_list<QWidget*>{bit, see, menuButton, speed}) {
    w->setFixedSize(60, 24);
    w->setFocusPolicy(Qt::NoFocus);
  }
  QWidget* panel = page({bit, see, menuButton, speed, one, two}, true);
  QPalette pal = panel->palette();
  pal.setColor(QPalette::Window, QColor(0, 200, 0));
  panel->setPalette(pal);
  panel->setAutoFillBackground(true);
  host(panel, QSize(500, 60));
  // The glyph alone sits in the middle of the face inset by 2; its key colour is see-through.
  expectAt(bit, {{{30, 10}, QColor(255, 0, 0)}, {{22, 19}, coded(ciButtons, 1)}});
  // Magenta corners show the parent behind a button tagged transparent.
  EXPECT_EQ(px(see, QPoint(0, 0)), QColor(0, 200, 0));
  // A menu button shows its arrow (and its focus as hot).
  EXPECT_NE(px(menuButton, QPoint(60 - 12, 12 + 1)), coded(ciButtons, 1));
  menuButton->setFocusPolicy(Qt::StrongFocus);
  menuButton->setFocus();
  if (menuButton->hasFocus()) {
    EXPECT_EQ(px(menuButton, QPoint(2, 2)), coded(ciButtons, 4));
  }
  // A speed button shows Down as pressed; a flat one only its hot and pressed frames.
  speed->setChecked(true);
  EXPECT_EQ(px(speed, QPoint(2, 2)), coded(ciButtons, 2));
  speed->setChecked(false);
  speed->setAutoRaise(true);
  EXPECT_EQ(px(speed, QPoint(2, 2)), kFace);
  speed->setAttribute(Qt::WA_UnderMouse, true);
  EXPECT_EQ(px(speed, QPoint(2, 2)), coded(ciButtons, 4));
  // A disabled glyph is grey by the average of its channels.
  bit->setEnabled(false);
  expectAt(bit, {{{30, 10}, QColor(85, 85, 85)}, {{2, 2}, coded(ciButtons, 3)}});
  // "||" breaks the drawn caption and the size hint, never the text.
  EXPECT_EQ(two->text(), QStringLiteral("經絡||解說"));
  EXPECT_GT(two->sizeHint().height(), one->sizeHint().height());
}

TEST_F(ControlSkins, CheckAndRadioIndicators) {
  auto* check = new QCheckBox(QStringLiteral("勾選"));
  check->setTristate(true);
  auto* radio = new QRadioButton(QStringLiteral("單選"));
  radio->setAutoExclusive(false);  // so that a case can clear it again
  for (QWidget* w : std::initializer_list<QWidget*>{check, radio}) w->setFixedHeight(21);
  host(page({check, radio}), QSize(120, 60));
  const std::tuple<const char*, Qt::CheckState, bool, bool, bool, int, int> cases[] = {
      {"unchecked", Qt::Unchecked, true, false, true, 1, 1},
      {"checked", Qt::Checked, true, true, true, 2, 5},
      {"disabled checked", Qt::Checked, false, true, false, 4, 8},
      {"disabled unchecked", Qt::Unchecked, false, false, false, 3, 4},
      {"indeterminate", Qt::PartiallyChecked, true, true, false, 4, 8}};
  for (const auto& [what, state, checkOn, radioChecked, radioOn, checkFrame, radioFrame] : cases) {
    check->setCheckState(state);
    check->setEnabled(checkOn);
    radio->setChecked(radioChecked);
    radio->setEnabled(radioOn);
    // The 13-pixel box is vertically centred at the left; its corner is magenta.
    expectAt(check, {{{6, 10}, coded(ciCheck, checkFrame)}, {{0, 4}, kFace}}, what);
    EXPECT_EQ(px(radio, QPoint(6, 10)), coded(ciRadio, radioFrame)) << what;
  }
  // The option that takes push buttons' focus frames away leaves the caption's.
  skin->Options.set(xoNoFocusRect);
  dlg->setAttribute(Qt::WA_KeyboardFocusChange);
  check->setEnabled(true);
  check->setFocus();
  if (check->hasFocus()) {
    const QImage focused = check->grab().toImage();
    check->clearFocus();
    EXPECT_NE(focused, check->grab().toImage());
  }
}

TEST_F(ControlSkins, EditAndDateFrames) {
  auto* e = new QLineEdit(QStringLiteral("文字"));
  auto* d = new QDateEdit(QDate(2026, 12, 7));
  d->setCalendarPopup(true);
  auto* bare = new QDateEdit(QDate(2026, 12, 7));
  bare->setCalendarPopup(true);
  bare->setFrame(false);
  for (QWidget* w : std::initializer_list<QWidget*>{e, d, bare}) w->setFixedSize(120, 21);
  host(page({e, d, bare}), QSize(140, 90));
  expectAt(e, {{{0, 0}, shade}, {{119, 20}, shade}, {{1, 1}, Qt::white}, {{2, 2}, Qt::white}});
  // A date box with a calendar: shadow and one white ring, and inside them the combo strip's
  // arrow, 17 x 18 at (W - 17 - 4, 0) of the inside: from (101, 2), cut by the bottom ring.
  const QRect arrow(101, 2, 17, 17);
  const QImage img = d->grab().toImage();
  EXPECT_EQ(QColor(img.pixel(0, 0)), shade);
  EXPECT_EQ(QColor(img.pixel(110, 1)), Qt::white);
  EXPECT_EQ(QColor(img.pixel(118, 10)), Qt::white);
  EXPECT_EQ(QColor(img.pixel(110, 19)), Qt::white);
  EXPECT_EQ(QColor(img.pixel(arrow.center())), coded(ciCombo, 1));
  // The arrow's own pixels reach the ring on the right.
  const QImage ownArrow = bare->grab().toImage().copy(arrow.translated(-2, -2));
  EXPECT_EQ(img.copy(arrow.adjusted(0, 0, 0, -1)), ownArrow.copy(0, 0, 17, 16));
  // Without a frame: no outline, the arrow at (W - 17 - 4, 0).
  expectAt(bare,
           {{{0, 0}, bare->palette().color(QPalette::Base)}, {{99 + 8, 8}, coded(ciCombo, 1)}});
}

TEST_F(ControlSkins, ComboFramesByState) {
  auto* combo = new QComboBox;
  combo->addItems({QStringLiteral("一"), QStringLiteral("二")});
  combo->setFixedSize(120, 21);
  auto* other = new QLineEdit;
  host(page({combo, other}), QSize(140, 60));
  other->setFocus();
  auto probe = [&] { return px(combo, QPoint(110, 10)); };
  expectAt(combo, {{{110, 10}, coded(ciCombo, 1)}, {{90, 3}, coded(ciSunk, 1)}});
  hoverAt(combo, QPoint(10, 10));  // over the field: not hot
  EXPECT_EQ(probe(), coded(ciCombo, 1));
  hoverAt(combo, QPoint(110, 10));
  EXPECT_EQ(probe(), coded(ciCombo, 4));
  combo->setEnabled(false);
  EXPECT_EQ(probe(), coded(ciCombo, 3));
  combo->setEnabled(true);
  combo->setAttribute(Qt::WA_UnderMouse, false);
  combo->setFocus();
  if (combo->hasFocus()) {
    EXPECT_EQ(probe(), coded(ciCombo, 4));
    // An open list is no press: opened from the keyboard, or once the mouse let go.
    combo->showPopup();
    EXPECT_EQ(probe(), coded(ciCombo, 4));
    EXPECT_GE(combo->view()->window()->geometry().top(),
              combo->mapToGlobal(QPoint(0, combo->height() - 1)).y())
        << "the list drops below the box";
    combo->hidePopup();
    mouse(combo, QEvent::MouseButtonPress, QPoint(110, 10));
    EXPECT_EQ(probe(), coded(ciCombo, 2));
    mouse(combo, QEvent::MouseButtonRelease, QPoint(110, 10));
    EXPECT_EQ(probe(), coded(ciCombo, 4));
    combo->hidePopup();
    // Typing in an editable combo box, the focus is in its field.
    combo->setEditable(true);
    combo->setFocus();
    EXPECT_EQ(probe(), coded(ciCombo, 1));
  }
  // The arrow a click opens is the one painted.
  QStyleOptionComboBox o;
  o.initFrom(combo);
  EXPECT_EQ(combo->style()->hitTestComplexControl(QStyle::CC_ComboBox, &o, QPoint(110, 10), combo),
            QStyle::SC_ComboBoxArrow);
}

TEST_F(ControlSkins, ScrollBarPartsAndHitTest) {
  auto* bar = new QScrollBar(Qt::Vertical);
  bar->setRange(0, 100);
  bar->setPageStep(100);
  bar->setFixedSize(17, 200);
  auto* shortBar = new QScrollBar(Qt::Vertical);
  shortBar->setRange(0, 10);
  shortBar->setFixedSize(17, 30);
  host(page({bar, shortBar}, true), QSize(60, 210));
  // Thumb 166 * 100 / 200 = 83 long from 17; the grip centred on it.
  expectAt(bar, {at(8, 8, coded(ciScroll, 9)), at(8, 191, coded(ciScroll, 13)),
                 at(8, 20, coded(ciVThumb, 1)), at(8, 58, coded(ciScroll, 20)),
                 at(8, 150, coded(ciVScroll, 1))});
  hoverAt(bar, QPoint(8, 8));
  EXPECT_EQ(px(bar, QPoint(8, 8)), coded(ciScroll, 12));
  hoverAt(bar, QPoint(8, 20));
  expectAt(bar, {{{8, 20}, coded(ciVThumb, 3)}, {{8, 58}, coded(ciScroll, 22)}});
  // Held down on the second arrow: its pressed frame.
  mouse(bar, QEvent::MouseButtonPress, QPoint(8, 191));
  EXPECT_EQ(px(bar, QPoint(8, 191)), coded(ciScroll, 14));
  mouse(bar, QEvent::MouseButtonRelease, QPoint(8, 191));
  bar->setValue(0);
  // Qt's clicks land on the parts as painted.
  const QStyleOptionSlider o = sliderOption(bar), so = sliderOption(shortBar);
  QStyle* s = bar->style();
  EXPECT_EQ(s->subControlRect(QStyle::CC_ScrollBar, &o, QStyle::SC_ScrollBarSlider, bar),
            QRect(0, 17, 17, 83));
  EXPECT_EQ(s->hitTestComplexControl(QStyle::CC_ScrollBar, &o, QPoint(8, 120), bar),
            QStyle::SC_ScrollBarAddPage);
  EXPECT_EQ(s->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, bar), 17);
  // A bar shorter than two arrows paints and hits two halves.
  expectAt(shortBar, {{{8, 14}, coded(ciScroll, 9)}, {{8, 16}, coded(ciScroll, 13)}});
  EXPECT_EQ(s->hitTestComplexControl(QStyle::CC_ScrollBar, &so, QPoint(8, 16), shortBar),
            QStyle::SC_ScrollBarAddLine);
  // Dragging the painted thumb by 40 of its 83 free pixels moves the value by 40 / 83.
  mouse(bar, QEvent::MouseButtonPress, QPoint(8, 58));
  mouse(bar, QEvent::MouseMove, QPoint(8, 98), Qt::NoButton, Qt::LeftButton);
  mouse(bar, QEvent::MouseButtonRelease, QPoint(8, 98));
  EXPECT_EQ(bar->value(), 48);
  // Disabled: no thumb, the disabled track.
  bar->setEnabled(false);
  EXPECT_EQ(px(bar, QPoint(8, 20)), coded(ciVScroll, 3));
}

TEST_F(ControlSkins, ProgressFilledPart) {
  auto* bar = new QProgressBar;
  bar->setRange(0, 3);
  bar->setValue(1);
  bar->setTextVisible(false);
  host(bar, QSize(100, 16));
  expectAt(bar, {at(10, 8, coded(ciProgress, 2)), at(32, 8, coded(ciProgress, 2)),
                 at(34, 8, coded(ciProgress, 1))});
  bar->setValue(0);
  EXPECT_EQ(px(bar, QPoint(10, 8)), coded(ciProgress, 1));
  bar->setOrientation(Qt::Vertical);
  bar->setFixedSize(16, 100);
  bar->setValue(1);
  expectAt(bar, {{{8, 90}, coded(ciProgress, 2)}, {{8, 10}, coded(ciProgress, 1)}});
}

TEST_F(ControlSkins, StatusBarPanelsGroupBoxAndHeader) {
  auto* group = new QGroupBox(QStringLiteral("群組"));
  group->setFixedHeight(60);
  auto* tree = new QTreeWidget;
  tree->setHeaderLabels({QStringLiteral("名稱"), QStringLiteral("值")});
  auto* status = new QStatusBar;
  auto* first = new QLabel(QStringLiteral("第一"));
  auto* last = new QLabel(QStringLiteral("最後"));
  last->setProperty("bevel", QStringLiteral("raised"));
  status->addWidget(first);
  status->addWidget(last);
  host(page({group, tree, status}), QSize(300, 260));
  // The last panel reaches the right edge.
  expectAt(status, {{{first->x() - 1, first->y() + first->height() / 2}, coded(ciStatus, 1)},
                    {{status->width() - 30, last->y() + last->height() / 2}, coded(ciStatus, 2)}});
  expectAt(group, {{{1, 40}, shade}, {{5, 40}, kFace}});
  const QImage g = group->grab().toImage();
  // The caption starts 8 pixels in, clear of the frame's corner: left of it the group box is
  // the frame as drawn without a caption; on the top line the caption's face starts at 8.
  group->setTitle(QString());
  const QImage bare = group->grab().toImage();
  // The frame's top line runs through the middle of the caption's text cell.
  const int line = QFontMetrics(group->font()).height() / 2 - 1;
  EXPECT_EQ(g.copy(0, 0, 8, 20), bare.copy(0, 0, 8, 20));
  EXPECT_EQ(QColor(g.pixel(7, line)), shade);
  EXPECT_NE(QColor(g.pixel(8, line)), shade);
  EXPECT_EQ(QColor(bare.pixel(8, line)), shade);
  QHeaderView* h = tree->header();
  // Qt marks the section under the mouse only on clickable headers.
  h->setSectionsClickable(true);
  h->setStretchLastSection(false);
  for (int i : {0, 1}) h->resizeSection(i, 60);
  EXPECT_EQ(px(h, QPoint(3, h->height() - 3)), coded(ciHeader, 1));
  // The section under the mouse is hot; the empty area right of the last is frame 1.
  hoverAt(h, QPoint(5, 5));
  expectAt(h, {{{3, h->height() - 3}, coded(ciHeader, 2)},
               {{h->width() - 3, h->height() - 3}, coded(ciHeader, 1)}});
  // A header that takes no clicks moves its hot frame all the same.
  h->setSectionsClickable(false);
  hoverAt(h, QPoint(65, 5));
  expectAt(
      h, {{{63, h->height() - 3}, coded(ciHeader, 2)}, {{3, h->height() - 3}, coded(ciHeader, 1)}});
  status->showMessage(QStringLiteral("訊息"));
  EXPECT_EQ(px(status, QPoint(status->width() - 30, status->height() / 2)), coded(ciStatus, 1));
}

TEST_F(ControlSkins, TabsAndPane) {
  auto* tabs = new QTabWidget;
  tabs->addTab(new QWidget, QStringLiteral("第一頁"));
  tabs->addTab(new QWidget, QStringLiteral("第二頁"));
  host(tabs, QSize(300, 150));
  // Pages take the face colour.
  expectAt(tabs, {at(tabAt(tabs, 0).topLeft() + QPoint(3, 3), coded(ciTabs, 2)),
                  at(tabAt(tabs, 1).bottomLeft() + QPoint(3, -3), coded(ciTabs, 1)),
                  at(1, 140, coded(ciTabBorder, 1)), at(150, 100, kFace)});
  tabs->setTabPosition(QTabWidget::South);
  EXPECT_EQ(px(tabs, tabAt(tabs, 0).bottomLeft() + QPoint(3, -3)), coded(ciTabs, 2));
  tabs->setTabPosition(QTabWidget::North);
  // The pane: the border image with style 0, the pane image with 1, the base look otherwise.
  for (const auto& [keys, image] : {std::pair{"Style=1\n", ciTabPane}, std::pair{"Style=2\n", 0}}) {
    skin->SkinStream = buildControlTestSkin(keys);
    ASSERT_TRUE(skin->LoadSkin());
    const QColor pane = px(tabs, QPoint(1, 140));
    if (image) {
      EXPECT_EQ(pane, coded(image, 1)) << keys;
    } else {
      EXPECT_NE(pane, coded(ciTabBorder, 1)) << keys;
      EXPECT_NE(pane, coded(ciTabPane, 1)) << keys;
    }
  }
}

TEST_F(ControlSkins, ClosableTabsAskTheWindow) {
  QPointer<QWidget> second;
  QTabWidget* tabs = hostClosableTabs({QStringLiteral("一"), QStringLiteral("二")}, second);
  QList<int> asked;
  SetTabCloseAnswer(dlg.get(), [&](QTabWidget*, int index) {
    asked << index;
    return index == 0 ? 1 : 0;
  });
  auto closeBox = [&](int i) {
    return qobject_cast<QAbstractButton*>(tabs->tabBar()->tabButton(i, QTabBar::RightSide));
  };
  ASSERT_NE(closeBox(0), nullptr);
  closeBox(0)->click();  // the window keeps it
  EXPECT_EQ(tabs->count(), 2);
  closeBox(1)->click();  // the window lets it go
  settle();
  EXPECT_EQ(tabs->count(), 1);
  EXPECT_TRUE(second.isNull());  // and the first stays, by the count
  EXPECT_EQ(asked, QList<int>({0, 1}));
  // Switching the skin off takes the close boxes away again.
  manager->SetCommand(skin.get(), 2, 0);
  manager->runPendingCommand();
  EXPECT_FALSE(tabs->tabsClosable());
}

// The close box stands 2 pixels in from the tab's top right corner, 6 pixels square; a click
// inside those pixels asks the window, a click a pixel beside them selects the tab.
TEST_F(ControlSkins, TabCloseBoxDrawnAndClickedInItsPlace) {
  QPointer<QWidget> second;
  QTabWidget* tabs = hostClosableTabs(
      {QStringLiteral("第一頁"), QStringLiteral("第二頁"), QStringLiteral("第三頁")}, second);
  int answer = 1;
  QList<int> asked;
  SetTabCloseAnswer(dlg.get(), [&](QTabWidget*, int index) {
    asked << index;
    return answer;
  });
  auto box = [&](int i) {
    // From (right - 8, top + 2) to (right - 2, top + 8), right and bottom not included.
    const QRect tab = tabAt(tabs, i);
    return QRect(QPoint(tab.left() + tab.width() - 8, tab.top() + 2),
                 QPoint(tab.left() + tab.width() - 3, tab.top() + 7));
  };
  const QImage img = tabs->grab().toImage();
  saveSkinPng(img, QStringLiteral("tab-close-boxes"));
  for (int i : {0, 1, 2}) {
    const QRect b = box(i);
    const QRgb ink = img.pixel(b.topLeft());
    EXPECT_NE(QColor(ink), coded(ciTabs, i == 0 ? 2 : 1)) << i;
    for (int x = b.left() - 1; x <= b.right() + 1; ++x)
      for (int y = b.top() - 1; y <= b.bottom() + 1; ++y) {
        if (!b.contains(x, y)) {
          EXPECT_NE(img.pixel(x, y), ink) << i << " beside at " << x << "," << y;
        } else if (!b.adjusted(1, 1, -1, -1).contains(x, y)) {
          EXPECT_EQ(img.pixel(x, y), ink) << i << " outline at " << x << "," << y;
        }
      }
    // A cross inside the outline.
    EXPECT_EQ(img.pixel(b.topLeft() + QPoint(1, 1)), ink) << i;
    EXPECT_EQ(img.pixel(b.bottomLeft() + QPoint(1, -1)), ink) << i;
  }
  // A hot box: the highlight text over the highlight.
  tabs->tabBar()->tabButton(1, QTabBar::RightSide)->setAttribute(Qt::WA_UnderMouse);
  const QImage hot = tabs->grab().toImage();
  EXPECT_EQ(QColor(hot.pixel(box(1).topLeft())), toQColor(skin->Colours().HilightText));
  EXPECT_EQ(QColor(hot.pixel(box(1).topLeft() + QPoint(2, 1))), toQColor(skin->Colours().Hilight));
  tabs->tabBar()->tabButton(1, QTabBar::RightSide)->setAttribute(Qt::WA_UnderMouse, false);
  // Clicks go where Qt sends them: to whatever lies under the point in the window.
  auto clickAt = [&](QPoint inTabs) {
    const QPoint p = tabs->mapTo(dlg.get(), inTabs);
    QWidget* target = dlg->childAt(p);
    ASSERT_NE(target, nullptr);
    click(target, target->mapFrom(dlg.get(), p));
    settle();
  };
  clickAt(box(1).bottomRight());  // the window keeps the page, and the tab is not selected
  EXPECT_EQ(asked, QList<int>{1});
  EXPECT_EQ(tabs->count(), 3);
  EXPECT_EQ(tabs->currentIndex(), 0);
  clickAt(box(1).topLeft() - QPoint(1, 0));  // beside the box: the tab as usual
  EXPECT_EQ(tabs->currentIndex(), 1);
  clickAt(box(2).bottomLeft() + QPoint(0, 1));
  EXPECT_EQ(tabs->currentIndex(), 2);
  EXPECT_EQ(asked, QList<int>{1});
  answer = 0;
  clickAt(box(1).topLeft());  // the window lets it go
  EXPECT_EQ(asked, QList<int>({1, 1}));
  EXPECT_EQ(tabs->count(), 2);
  EXPECT_TRUE(second.isNull());
  EXPECT_EQ(tabs->tabText(1), QStringLiteral("第三頁"));
}

TEST_F(ControlSkins, TurnedTabsGridColourPopupsAndGrip) {
  auto* tabs = new QTabWidget;
  tabs->setTabPosition(QTabWidget::West);
  tabs->addTab(new QWidget, QStringLiteral("一"));
  tabs->addTab(new QWidget, QStringLiteral("二"));
  auto* panel = new QFrame;
  QPalette red = panel->palette();
  red.setColor(QPalette::Window, QColor(255, 0, 0));
  panel->setPalette(red);
  auto* grid = new TSortingGrid;
  grid->setFixedColor(RGB(255, 0, 0));
  auto* combo = new QComboBox;
  for (int i = 0; i < 60; ++i) combo->addItem(QString::number(i));
  auto* status = new QStatusBar;
  status->setSizeGripEnabled(true);
  host(page({panel, tabs, grid, combo, status}), QSize(300, 320));
  dlg->setMinimumSize(100, 100);
  dlg->setMaximumSize(2000, 2000);
  // Left tabs: the strip lies turned, its frames in reverse order.
  EXPECT_EQ(px(tabs, tabAt(tabs, 0).topLeft() + QPoint(3, 3)), coded(ciTabs, 2));
  // Grids take the face colour for their fixed cells while skinned.
  EXPECT_EQ(grid->FixedColor(), skin->Colours().ButtonFace);
  EXPECT_EQ(panel->palette().color(QPalette::Window), kFace);
  // A combo box's list counts with the window of the combo box.
  combo->showPopup();
  settle();
  EXPECT_EQ(SkinnedKind(*skinStyle(), combo->view()->verticalScrollBar()).kind,
            ControlKind::Scrollbar);
  combo->hidePopup();
  if (auto* grip = status->findChild<QSizeGrip*>(); grip) {
    EXPECT_TRUE(grip->isVisible());
    EXPECT_EQ(px(grip, QPoint(grip->width() - 2, grip->height() - 2)), coded(ciExtra, 5));
  }
  manager->SetCommand(skin.get(), 2, 0);
  manager->runPendingCommand();
  EXPECT_EQ(grid->FixedColor(), RGB(255, 0, 0));
  EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(255, 0, 0));
}

TEST_F(ControlSkins, SpinArrowsAndSlider) {
  auto* spin = new QSpinBox;
  spin->setFixedSize(80, 22);
  auto* slider = new QSlider(Qt::Horizontal);
  slider->setFixedSize(150, 24);
  host(page({spin, slider}), QSize(200, 80));
  QStyleOptionSpinBox o;
  o.initFrom(spin);
  o.frame = true;
  o.subControls = QStyle::SC_All;
  auto part = [&](QStyle::SubControl sc) {
    return spin->style()->subControlRect(QStyle::CC_SpinBox, &o, sc, spin);
  };
  const QRect up = part(QStyle::SC_SpinBoxUp), down = part(QStyle::SC_SpinBoxDown);
  // At the minimum the down half keeps its normal look: frame 4 + 1. The arrows stand inside
  // the whole outline.
  EXPECT_TRUE(QRect(3, 3, 74, 16).contains(up.united(down))) << up.x() << "," << down.bottom();
  expectAt(spin, {at(up.topLeft() + QPoint(1, 1), coded(ciUpDownV, 1)),
                  at(down.topLeft() + QPoint(1, 1), coded(ciUpDownV, 5)),
                  at(up.center() + QPoint(0, 1), coded(ciUpDownVGlyph, 1)), at(0, 0, shade),
                  at(up.center().x(), 0, shade), at(79, up.center().y(), shade),
                  at(down.center().x(), 21, shade), at(up.center().x(), 1, Qt::white)});
  // Only a disabled spin box shows its halves disabled.
  spin->setEnabled(false);
  expectAt(spin,
           {at(up.topLeft() + QPoint(1, 1), coded(ciUpDownV, 3)),
            at(down.topLeft() + QPoint(1, 1), coded(ciUpDownV, 7))},
           "disabled");
  spin->setEnabled(true);
  // With its gate off a spin box is the base style's, outline and arrows alike.
  skin->SkinControls.reset(xcSpin);
  const QImage gateOff = spin->grab().toImage();
  SetControlSkinActive(spin, false);
  EXPECT_EQ(gateOff, spin->grab().toImage());
  SetControlSkinActive(spin, true);

  const QStyleOptionSlider so = sliderOption(slider);
  const QRect handle =
      slider->style()->subControlRect(QStyle::CC_Slider, &so, QStyle::SC_SliderHandle, slider);
  EXPECT_EQ(px(slider, handle.center()), coded(ciThumbHorz, 2));
}

TEST_F(ControlSkins, OffSwitchTagAndSkinOffGiveTheBaseLook) {
  auto* a = new QPushButton(QStringLiteral("甲"));
  auto* b = new QPushButton(QStringLiteral("乙"));
  b->setProperty("tag", 99);
  a->setFocusPolicy(Qt::NoFocus);
  a->setFixedSize(60, 24);
  b->setFixedSize(60, 24);
  host(page({a, b}, true), QSize(140, 30));
  EXPECT_NE(px(b, QPoint(2, 2)), coded(ciButtons, 1));
  for (const bool on : {true, false, true}) {
    SetControlSkinActive(a, on);
    EXPECT_EQ(px(a, QPoint(2, 2)) == coded(ciButtons, 1), on) << on;
  }
  // Skinning switched off: the button that was skinned a moment ago is the base style's.
  manager->SetCommand(skin.get(), 2, 0);
  manager->runPendingCommand();
  settle();
  EXPECT_NE(px(a, QPoint(2, 2)), coded(ciButtons, 1));
}

TEST_F(ControlSkins, FileDialogControlsAreSkinned) {
  QFileDialog fd(nullptr, QStringLiteral("開啟"), QDir::tempPath());
  fd.setOption(QFileDialog::DontUseNativeDialog);
  ASSERT_NE(shown(&fd), nullptr);
  int skinned = 0;
  for (QPushButton* b : fd.findChildren<QPushButton*>())
    if (b->isVisible() && px(b, QPoint(2, 2)) == coded(ciButtons, b->isEnabled() ? 1 : 3))
      ++skinned;
  EXPECT_GE(skinned, 1);
  int kinds = 0;
  for (QWidget* w : fd.findChildren<QWidget*>())
    if (SkinnedKind(*skinStyle(), w)) ++kinds;
  EXPECT_GE(kinds, 5);
}

}  // namespace
}  // namespace ruto
