// Skinned windows on the offscreen platform with the frame-coded test skin: attaching,
// the frame by activity, caption buttons, the menu band and popups, switching off.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "SkinUiSupport.h"

namespace ruto {
namespace {

using namespace test;

// A main window laid out like the program's: a menu bar of four items, the third a menu.
struct MainLike {
  QMainWindow win;
  QMenu* support = new QMenu(QStringLiteral("系統支援"), &win);
  MainLike() {
    win.setWindowTitle(QStringLiteral("測試視窗"));
    support->addAction(QStringLiteral("專家療程設定"));
    support->addSeparator();
    support->addAction(QStringLiteral("離開系統"));
    for (const char* item : {"經絡測量", "經絡解說", "", "關於版本"})
      *item ? win.menuBar()->addAction(QString::fromUtf8(item)) : win.menuBar()->addMenu(support);
    win.setCentralWidget(new QLabel(QStringLiteral("內容")));
    win.resize(400, 300);
  }
};

// Where the visible caption button of `action` stands; empty when none is shown.
QRect buttonRect(TSkinForm* f, int action) {
  for (const CaptionButton& b : f->buttons())
    if (b.visible && b.def->Action == action) return b.rect;
  return QRect();
}

// The double-click interval while it lives; a window reads it when it is skinned.
struct DoubleClickInterval {
  const int saved = QApplication::doubleClickInterval();
  explicit DoubleClickInterval(int ms) { QApplication::setDoubleClickInterval(ms); }
  ~DoubleClickInterval() { QApplication::setDoubleClickInterval(saved); }
};

// Counts the events of one type an object hears.
struct Heard : QObject {
  const QEvent::Type type;
  int count = 0;
  Heard(QObject* o, QEvent::Type t) : type(t) { o->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* e) override {
    count += e->type() == type;
    return false;
  }
};

// Most tests need a main window like the program's.
class SkinWindows : public SkinnedTest {
 protected:
  MainLike m;
};

TEST_F(SkinWindows, AttachMakesAFramelessFramedWindowKeepingItsClient) {
  const QSize before = m.win.size();
  TSkinForm* f = shown(&m.win);
  ASSERT_NE(f, nullptr);
  EXPECT_TRUE(m.win.windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_EQ(m.win.contentsMargins(), QMargins(5, 24, 5, 5));
  EXPECT_EQ(m.win.size(), before + QSize(10, 29));
  EXPECT_EQ(m.win.menuBar()->geometry(), QRect(5, 24, m.win.width() - 10, 20));
  EXPECT_EQ(f->style().BorderKind, 0);
  // The frame's magenta corner pixel is cut out of the window; the rest stays.
  const QRegion mask = m.win.mask();
  EXPECT_FALSE(mask.contains(QPoint(0, 0))) << "the magenta corner";
  EXPECT_TRUE(mask.contains(QPoint(1, 0))) << "the frame beside it";
  EXPECT_TRUE(mask.contains(QPoint(200, 200))) << "the client area";
  EXPECT_EQ(m.win.palette().color(QPalette::Window), QColor(212, 208, 200));
  // Maximised, the window is cut at its new size just the same.
  m.win.showMaximized();
  settle();
  ASSERT_TRUE(m.win.isMaximized());
  const QRegion maximised = m.win.mask();
  EXPECT_FALSE(maximised.contains(QPoint(m.win.width() - 1, 0))) << "the magenta corner";
  EXPECT_TRUE(maximised.contains(QPoint(m.win.width() - 2, 0))) << "the frame beside it";
}

TEST_F(SkinWindows, TitleFrameFollowsActivation) {
  MainLike a, b;
  for (MainLike* x : {&a, &b}) x->win.show();
  settle();
  for (QWidget* active : {&a.win, &b.win}) {
    QApplication::setActiveWindow(active);
    settle();
    const QImage ia = a.win.grab().toImage(), ib = b.win.grab().toImage();
    EXPECT_EQ(ia.pixel(150, 12), frameColour(tiTop, active == &a.win ? 1 : 2));
    EXPECT_EQ(ib.pixel(150, 12), frameColour(tiTop, active == &b.win ? 1 : 2));
    // The band of the menu bar follows too.
    EXPECT_EQ(ia.pixel(a.win.width() - 20, 34), frameColour(tiMenuBar, active == &a.win ? 1 : 2));
  }
}

// Button states by their frames: normal 1, pressed 2, hover 3, disabled 4.
TEST_F(SkinWindows, CaptionButtonStates) {
  QWidget w;
  w.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  w.resize(300, 150);
  TSkinForm* f = shown(&w);
  ASSERT_NE(f, nullptr);
  const QRect close = buttonRect(f, 0);
  const QRect min = buttonRect(f, 2);
  EXPECT_TRUE(buttonRect(f, 1).isEmpty()) << "no maximize box, no maximize button";
  QWidget* frame = f->frameWidget();
  auto pixel = [&](const QRect& r) { return w.grab().toImage().pixel(r.center()); };
  EXPECT_EQ(pixel(close), frameColour(tiClose, 1));
  EXPECT_EQ(pixel(min), frameColour(tiMin, 4));  // shown, but disabled: no minimize box
  mouse(frame, QEvent::MouseMove, close.center());
  EXPECT_EQ(pixel(close), frameColour(tiClose, 3));
  mouse(frame, QEvent::MouseMove, min.center());
  EXPECT_EQ(pixel(min), frameColour(tiMin, 4));  // a disabled button takes no hover
  EXPECT_EQ(pixel(close), frameColour(tiClose, 1));
  mouse(frame, QEvent::MouseMove, close.center());
  mouse(frame, QEvent::MouseButtonPress, close.center());
  EXPECT_EQ(pixel(close), frameColour(tiClose, 2));
  // Laid out again while held down, it stays pressed.
  w.resize(320, 150);
  settle();
  const QRect moved = buttonRect(f, 0);
  EXPECT_EQ(pixel(moved), frameColour(tiClose, 2));
  mouse(frame, QEvent::MouseButtonRelease, moved.center());
  EXPECT_FALSE(w.isVisible());
}

TEST_F(SkinWindows, OnlyTheActiveWindowsButtonsTakeTheHoverLook) {
  MainLike other;
  TSkinForm* f = shown(&m.win);
  ASSERT_NE(f, nullptr);
  for (const bool active : {true, false}) {
    QApplication::setActiveWindow(active ? &m.win : &other.win);
    settle();
    const QPoint close = buttonRect(f, 0).center();
    if (!active) {
      EXPECT_EQ(m.win.grab().toImage().pixel(close), frameColour(tiClose, 1)) << "left with it";
    }
    mouse(f->frameWidget(), QEvent::MouseMove, close);
    EXPECT_EQ(m.win.grab().toImage().pixel(close), frameColour(tiClose, active ? 3 : 1)) << active;
  }
  // A control hot under the mouse leaves its hot look when its window is deactivated, until
  // the mouse moves over it again.
  QDialog d;
  auto* ok = new QPushButton(QStringLiteral("確定"));
  layOut(&d, {ok});
  d.resize(200, 100);
  ASSERT_NE(shown(&d), nullptr);
  QApplication::setActiveWindow(&d);
  QTest::mouseMove(ok, ok->rect().center());
  settle();
  ASSERT_TRUE(ok->underMouse());
  for (QWidget* active : {static_cast<QWidget*>(&other.win), static_cast<QWidget*>(&d)}) {
    QApplication::setActiveWindow(active);
    settle();
    EXPECT_FALSE(ok->underMouse()) << active->metaObject()->className();
  }
  QTest::mouseMove(ok, ok->rect().center() + QPoint(1, 0));
  settle();
  EXPECT_TRUE(ok->underMouse());
  // Held down as its window is deactivated, it is let go: moved over and released, it does
  // not click. So too without the focus, or when the platform took the focus or Qt's hover
  // mark first.
  int clicks = 0;
  QObject::connect(ok, &QPushButton::clicked, [&] { ++clicks; });
  const std::pair<Qt::FocusPolicy, std::function<void()>> cases[] = {
      {Qt::StrongFocus, [] {}},
      {Qt::NoFocus, [] {}},
      {Qt::StrongFocus, [ok] { ok->clearFocus(); }},
      {Qt::StrongFocus, [ok] { ok->setAttribute(Qt::WA_UnderMouse, false); }}};
  for (size_t i = 0; i < std::size(cases); ++i) {
    const auto& [policy, first] = cases[i];
    ok->setFocusPolicy(policy);
    QApplication::setActiveWindow(&d);
    settle();
    mouse(ok, QEvent::MouseButtonPress, ok->rect().center());
    first();
    Heard releases(&d, QEvent::MouseButtonRelease);
    QApplication::setActiveWindow(&other.win);
    settle();
    mouse(ok, QEvent::MouseMove, ok->rect().center() + QPoint(2, 0), Qt::NoButton, Qt::LeftButton);
    EXPECT_FALSE(ok->isDown()) << i;
    EXPECT_EQ(releases.count, 0) << "the button's parents hear no release of its own";
    mouse(ok, QEvent::MouseButtonRelease, ok->rect().center());
    EXPECT_EQ(clicks, 0) << i;
  }
  click(ok, ok->rect().center());
  EXPECT_EQ(clicks, 1);
}

TEST_F(SkinWindows, ButtonClicksAndTheIconDoubleClick) {
  m.win.setWindowFlags(m.win.windowFlags() | Qt::WindowMinMaxButtonsHint);
  TSkinForm* f = shown(&m.win);
  ASSERT_NE(f, nullptr);
  f->OnButtonVisible = [](int code, int) { return code == 1500 ? 1 : 0; };
  f->layoutButtons();
  std::vector<int> signalled;
  QObject::connect(f, &TSkinForm::buttonAction, [&](int a) { signalled.push_back(a); });
  click(f->frameWidget(), buttonRect(f, 40).center());
  EXPECT_EQ(signalled, std::vector<int>{40});
  // A press on the close button released over the maximize button runs the maximize button.
  mouse(f->frameWidget(), QEvent::MouseButtonPress, buttonRect(f, 0).center());
  mouse(f->frameWidget(), QEvent::MouseMove, buttonRect(f, 1).center(), Qt::NoButton,
        Qt::LeftButton);
  mouse(f->frameWidget(), QEvent::MouseButtonRelease, buttonRect(f, 1).center());
  settle();
  EXPECT_TRUE(m.win.isVisible());
  EXPECT_TRUE(m.win.isMaximized());
  // The maximised title starts no move: released over the restore button, the press runs it.
  mouse(f->frameWidget(), QEvent::MouseButtonPress, QPoint(200, 12));
  mouse(f->frameWidget(), QEvent::MouseMove, buttonRect(f, 1).center(), Qt::NoButton,
        Qt::LeftButton);
  mouse(f->frameWidget(), QEvent::MouseButtonRelease, buttonRect(f, 1).center());
  settle();
  EXPECT_FALSE(m.win.isMaximized());
  // So too a press on the menu band off its items: it is frame.
  QMenuBar* bar = m.win.menuBar();
  const QPoint maxOnBar = buttonRect(f, 1).center() - bar->pos();
  mouse(bar, QEvent::MouseButtonPress, QPoint(bar->width() - 5, 10));
  mouse(bar, QEvent::MouseMove, maxOnBar, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(m.win.grab().toImage().pixel(buttonRect(f, 1).center()), frameColour(tiMax, 3));
  mouse(bar, QEvent::MouseButtonRelease, maxOnBar);
  settle();
  EXPECT_TRUE(m.win.isMaximized());
  m.win.showNormal();
  settle();
  // Two clicks there on the platform's clock are still a double click.
  const QPoint emptyBand = bar->pos() + QPoint(bar->width() - 5, 10);
  QTest::mouseDClick(m.win.windowHandle(), Qt::LeftButton, {}, emptyBand, 70000);
  settle();
  EXPECT_TRUE(m.win.isMaximized());
  m.win.showNormal();
  settle();
  // The maximize button, then the restore button in its place; then double clicks on the
  // frame off the buttons of a window with a maximize box: the title, the bottom band, the
  // menu band's empty part.
  QWidget* bottom = nullptr;
  for (auto* band : m.win.findChildren<SkinFrameWidget*>())
    if (band->geometry().bottom() == m.win.height() - 1 && band->width() == m.win.width())
      bottom = band;
  ASSERT_NE(bottom, nullptr);
  const std::pair<QWidget*, QPoint> places[] = {
      {nullptr, {}},
      {f->frameWidget(), QPoint(200, 12)},
      {bottom, QPoint(200, 2)},
      {m.win.menuBar(), QPoint(m.win.menuBar()->width() - 5, 10)}};
  for (const auto& [target, at] : places)
    for (const bool maximized : {true, false}) {
      if (target)
        mouse(target, QEvent::MouseButtonDblClick, at);
      else
        click(f->frameWidget(), buttonRect(f, 1).center());
      settle();
      EXPECT_EQ(m.win.isMaximized(), maximized)
          << (target ? target->metaObject()->className() : "");
    }
  mouse(f->frameWidget(), QEvent::MouseButtonDblClick, buttonRect(f, 3).center());
  settle();
  EXPECT_FALSE(m.win.isVisible());
}

// With a real mouse the icon's first click opens the system menu, which takes the second
// press, or the double click where the platform counts one: inside the double-click interval
// that closes the window, later it closes only the menu.
TEST_F(SkinWindows, IconDoubleClickThroughTheOpenSystemMenu) {
  // The interval, the second press's delay on the platform's clock, and whether it closes.
  const std::tuple<int, int, bool> cases[] = {
      {60000, 70000, true}, {60000, 1, true}, {0, 1, false}};
  for (const auto& [ms, delay, closes] : cases) {
    const DoubleClickInterval interval(ms);
    MainLike x;
    TSkinForm* f = shown(&x.win);
    ASSERT_NE(f, nullptr);
    const QPoint icon = buttonRect(f, 3).center();
    QTest::mouseClick(x.win.windowHandle(), Qt::LeftButton, {}, icon, 70000);  // a first click
    settle();
    ASSERT_NE(QApplication::activePopupWidget(), nullptr) << delay;
    QTest::mousePress(x.win.windowHandle(), Qt::LeftButton, {}, icon, delay);
    settle();
    EXPECT_EQ(x.win.isVisible(), !closes) << ms << " " << delay;
    QTest::mouseRelease(x.win.windowHandle(), Qt::LeftButton, {}, icon);
  }
}

TEST_F(SkinWindows, SystemMenuFromTheTitleAndAltSpace) {
  const DoubleClickInterval interval(0);  // two quick requests would be a double click
  TSkinForm* f = shown(&m.win);
  ASSERT_NE(f, nullptr);
  mouse(f->frameWidget(), QEvent::MouseButtonPress, QPoint(200, 12), Qt::RightButton);
  ASSERT_NE(f->sysMenu(), nullptr);
  QStringList texts;
  for (QAction* a : f->sysMenu()->actions())
    texts << (a->isSeparator() ? QStringLiteral("-") : a->text() + (a->isEnabled() ? "" : "*"));
  EXPECT_EQ(texts.join(QLatin1Char(' ')), QStringLiteral("還原* 移動 大小 最小化 最大化 - 關閉"));
  EXPECT_EQ(f->sysMenu()->actions().last()->shortcut(), QKeySequence(QStringLiteral("Alt+F4")));
  EXPECT_EQ(manager->PopupKind, 2);
  f->sysMenu()->close();
  settle();
  EXPECT_EQ(f->sysMenu(), nullptr);
  EXPECT_EQ(manager->PopupKind, 0);
  // The title's buttons are caption too.
  mouse(f->frameWidget(), QEvent::MouseButtonPress, buttonRect(f, 0).center(), Qt::RightButton);
  ASSERT_NE(f->sysMenu(), nullptr);
  f->sysMenu()->close();
  settle();
  // The menu band is frame, not caption: a right click there opens nothing, not even the
  // main window's own menu of its bars.
  Heard menus(&m.win, QEvent::ContextMenu);
  QMenuBar* bar = m.win.menuBar();
  for (const QPoint at :
       {QPoint(bar->width() - 5, 10), bar->actionGeometry(bar->actions()[0]).center()}) {
    mouse(bar, QEvent::MouseButtonPress, at, Qt::RightButton);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, at, bar->mapToGlobal(at));
    QApplication::sendEvent(bar, &menu);
    EXPECT_EQ(f->sysMenu(), nullptr);
  }
  EXPECT_EQ(menus.count, 0);
  QApplication::setActiveWindow(&m.win);
  key(&m.win, Qt::Key_Space, Qt::AltModifier);
  EXPECT_NE(f->sysMenu(), nullptr);
}

// Items of the system menu: caption + 26 + the item image's left edge (2) wide, and 4 pixels
// higher than the base style's.
TEST_F(SkinWindows, SystemMenuItemMeasures) {
  TSkinForm* f = shown(&m.win);
  ASSERT_NE(f, nullptr);
  f->ShowSysMenu(m.win.mapToGlobal(QPoint(30, 10)));
  const QMenu* menu = f->sysMenu();
  ASSERT_NE(menu, nullptr);
  QStyleOptionMenuItem opt;
  opt.initFrom(menu);
  opt.text = QStringLiteral("最小化");
  const QSize csz(40, 16),
      size = skinStyle()->sizeFromContents(QStyle::CT_MenuItem, &opt, csz, menu);
  const QSize base =
      skinStyle()->baseStyle()->sizeFromContents(QStyle::CT_MenuItem, &opt, csz, menu);
  EXPECT_EQ(size.width(), opt.fontMetrics.horizontalAdvance(opt.text) + 28);
  EXPECT_EQ(size.height(), base.height() + 4);
  // The glyph column is 16 pixels wide, one pixel in from the item image's left edge, though
  // the menu leaves room beside its icons.
  QPixmap glyph(16, 16);
  glyph.fill(Qt::red);
  opt.icon = QIcon(glyph);
  opt.maxIconWidth = 20;
  opt.rect = QRect(0, 0, 120, 22);
  QImage img(opt.rect.size(), QImage::Format_RGB32);
  QPainter p(&img);
  skinStyle()->drawControl(QStyle::CE_MenuItem, &opt, &p, menu);
  p.end();
  QRect red;
  for (int x = 0; x < img.width(); ++x)
    if (QColor(img.pixel(x, 11)) == Qt::red) red |= QRect(x, 11, 1, 1);
  EXPECT_EQ(red.left(), 1 + 2);
  EXPECT_EQ(red.right(), 1 + 2 + 15);
}

// Opened with the mouse, a menu of the bar starts on its first item; one opened with an item
// already chosen (as the keyboard does) keeps it. The pressed button, and one under the mouse,
// take the hot look.
TEST_F(SkinWindows, BarMenuOpenedWithTheMouseStartsOnItsFirstItem) {
  shown(&m.win);
  QMenuBar* bar = m.win.menuBar();
  // Filled with the highlight, captioned in the bar's text colour (not the highlight text's).
  auto expectHot = [&](QAction* a) {
    const QImage img =
        bar->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(bar->actionGeometry(a));
    for (int y : {0, img.height() / 2, img.height() - 1})  // the whole button
      EXPECT_EQ(QColor(img.pixel(1, y)), toQColor(skin->Colours().Hilight)) << y;
    EXPECT_TRUE(hasPixel(img, toQRgb(skin->Colours().MenuBarText)));
    EXPECT_FALSE(hasPixel(img, toQRgb(skin->Colours().HilightText)));
  };
  mouse(bar, QEvent::MouseButtonPress, bar->actionGeometry(m.support->menuAction()).center());
  settle();
  EXPECT_EQ(m.support->activeAction(), m.support->actions().first());
  expectHot(m.support->menuAction());
  m.support->close();
  settle();
  mouse(bar, QEvent::MouseMove, bar->actionGeometry(bar->actions().first()).center());
  expectHot(bar->actions().first());
  // Under the mouse of an inactive window an item keeps the bar's look.
  QWidget other;
  other.show();
  QApplication::setActiveWindow(&other);
  settle();
  mouse(bar, QEvent::MouseMove, bar->actionGeometry(bar->actions().at(1)).center());
  const QImage inactive = bar->grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(inactive.pixel(bar->actionGeometry(bar->actions().at(1)).topLeft() + QPoint(1, 5)),
            frameColour(tiMenuBar, 2));
  QApplication::setActiveWindow(&m.win);
  settle();
  bar->setActiveAction(m.support->menuAction());
  m.support->setActiveAction(m.support->actions().last());
  settle();
  EXPECT_EQ(m.support->activeAction(), m.support->actions().last());
}

// An item without caption takes no room on the bar. The first item clears the menu-bar
// image's edge (2 pixels) by 4, right to left by 8, and stands at 12 where that is wider than
// the bar.
TEST_F(SkinWindows, MenuBarMarginByDirection) {
  shown(&m.win);
  QMenuBar* bar = m.win.menuBar();
  QAction* blank = bar->addAction(QString());
  settle();
  EXPECT_TRUE(bar->actionGeometry(blank).isEmpty());
  const std::tuple<Qt::LayoutDirection, int, int> cases[] = {
      {Qt::LeftToRight, 300, 6}, {Qt::RightToLeft, 300, 10}, {Qt::LeftToRight, 5, 12}};
  for (const auto& [direction, width, margin] : cases) {
    bar->setLayoutDirection(direction);
    bar->resize(width, bar->height());
    EXPECT_EQ(QApplication::style()->pixelMetric(QStyle::PM_MenuBarHMargin, nullptr, bar), margin)
        << width;
  }
}

TEST_F(SkinWindows, MenuBandPopupAndArrowKeysAlongTheBar) {
  m.win.show();
  QApplication::setActiveWindow(&m.win);
  settle();
  QMenuBar* bar = m.win.menuBar();
  bar->setActiveAction(m.support->menuAction());
  settle();
  ASSERT_TRUE(m.support->isVisible());
  EXPECT_EQ(SkinStyle::popupKind(m.support), 1);
  m.support->setActiveAction(m.support->actions().first());
  const QImage popup = m.support->grab().toImage();
  EXPECT_EQ(popup.pixel(1, popup.height() / 2), frameColour(tiMenuBack, 1));
  auto item = [&](int i) { return m.support->actionGeometry(m.support->actions().at(i)); };
  EXPECT_EQ(popup.pixel(item(0).right() - 3, item(0).center().y()), frameColour(tiMenuItem, 4));
  EXPECT_EQ(popup.pixel(item(2).right() - 3, item(2).center().y()), frameColour(tiMenuItem, 1));
  // The separator is the item image's edges and middle with the etched line over them, from
  // 3 pixels in to one pixel short of the right edge.
  const QRect separator = item(1);
  for (int x : {separator.left() + 1, separator.right()})
    EXPECT_EQ(popup.pixel(x, separator.top() + 4), frameColour(tiMenuItem, 1)) << x;
  for (int x : {separator.left() + 3, separator.center().x(), separator.right() - 1}) {
    EXPECT_EQ(popup.pixel(x, separator.top() + 2), frameColour(tiMenuItem, 1)) << x;
    EXPECT_EQ(QColor(popup.pixel(x, separator.top() + 4)), toQColor(skin->Colours().ButtonShadow));
    EXPECT_EQ(QColor(popup.pixel(x, separator.top() + 5)), toQColor(skin->Colours().ButtonHilight));
  }
  // Right leaves the menu for the next item of the bar, and wraps from the last one; the
  // items it passes are only highlighted.
  QList<QAction*> commands = bar->actions();
  commands.removeAll(m.support->menuAction());
  const QSignalSpy ran(bar, &QMenuBar::triggered);
  key(m.support, Qt::Key_Right);
  settle();
  ASSERT_NE(bar->activeAction(), nullptr);
  EXPECT_EQ(bar->activeAction()->text(), QStringLiteral("關於版本"));
  key(bar, Qt::Key_Right);
  settle();
  ASSERT_NE(bar->activeAction(), nullptr);
  EXPECT_EQ(bar->activeAction()->text(), QStringLiteral("經絡測量"));
  settle();
  EXPECT_EQ(ran.count(), 0) << "no command ran";
}

// A bar item's command runs on the press, for the item pressed, and nothing else: not the
// item under the release, nor one released on after a press on the empty bar.
TEST_F(SkinWindows, BarCommandsRunOnThePress) {
  shown(&m.win);
  QApplication::setActiveWindow(&m.win);
  settle();
  QMenuBar* bar = m.win.menuBar();
  const QList<QAction*> items = bar->actions();
  const QPoint empty(bar->width() - 5, bar->height() / 2);
  auto at = [&](int i) { return i < 0 ? empty : bar->actionGeometry(items.at(i)).center(); };
  // Pressed item, released item (-1 the empty bar), the item that runs (-1 none).
  const std::tuple<int, int, int> cases[] = {{0, 3, 0}, {-1, 3, -1}, {0, -1, 0}, {3, 3, 3}};
  for (const auto& [pressed, released, runs] : cases) {
    QSignalSpy ran(bar, &QMenuBar::triggered);
    mouse(bar, QEvent::MouseButtonPress, at(pressed));
    settle();
    mouse(bar, QEvent::MouseMove, at(released), Qt::NoButton, Qt::LeftButton);
    mouse(bar, QEvent::MouseButtonRelease, at(released));
    settle();
    ASSERT_EQ(ran.count(), runs < 0 ? 0 : 1) << pressed << " " << released;
    if (runs >= 0) {
      EXPECT_EQ(ran.front().front().value<QAction*>(), items.at(runs));
    }
    EXPECT_FALSE(m.support->isVisible());
  }
  // The bar rereads a changed item only while the skin data asks for menu updates.
  for (const bool update : {false, true}) {
    skin->MenuUpdate = update;
    const int before = bar->actionGeometry(items.at(1)).width();
    items.at(1)->setText(items.at(1)->text() + QStringLiteral("圖例"));
    settle();
    EXPECT_EQ(bar->actionGeometry(items.at(1)).width() > before, update) << update;
  }
}

// Alt alone and F10 reach the bar: a first item with a menu opens it, a command first item
// is only highlighted; Escape in a menu of the bar gives the keyboard back to the window.
TEST_F(SkinWindows, KeyboardReachesTheBar) {
  auto* edit = new QLineEdit;
  m.win.setCentralWidget(edit);
  shown(&m.win);
  QApplication::setActiveWindow(&m.win);
  edit->setFocus();
  settle();
  QMenuBar* bar = m.win.menuBar();
  const QSignalSpy ran(bar, &QMenuBar::triggered);
  auto alt = [&] {
    QTest::keyPress(edit, Qt::Key_Alt, Qt::AltModifier);
    QTest::keyRelease(edit, Qt::Key_Alt, Qt::AltModifier);
    settle();
  };
  alt();
  ASSERT_NE(bar->activeAction(), nullptr);
  EXPECT_EQ(bar->activeAction(), bar->actions().first());
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  QTest::keyClick(edit, Qt::Key_Right);
  QTest::keyClick(edit, Qt::Key_Right);
  settle();
  EXPECT_EQ(bar->activeAction(), m.support->menuAction());
  QTest::keyClick(edit, Qt::Key_Escape);
  settle();
  EXPECT_EQ(bar->activeAction(), nullptr);
  QTest::keyClick(edit, Qt::Key_A);
  EXPECT_EQ(edit->text(), QStringLiteral("a")) << "the edit has the keyboard back";
  // With a menu first, F10 opens it; Escape there ends the menu and the bar.
  bar->insertAction(bar->actions().first(), m.support->menuAction());
  QTest::keyClick(edit, Qt::Key_F10);
  settle();
  ASSERT_TRUE(m.support->isVisible());
  QTest::keyClick(m.support, Qt::Key_Escape);
  settle();
  EXPECT_FALSE(m.support->isVisible());
  EXPECT_EQ(bar->activeAction(), nullptr);
  EXPECT_TRUE(edit->hasFocus());
  QTest::keyClick(edit, Qt::Key_B);
  EXPECT_EQ(edit->text(), QStringLiteral("ab"));
  EXPECT_EQ(ran.count(), 0) << "no command ran";
}

// Popup windows are skinned by kind, each behind its own gate, whichever window opened them;
// the skin draws the items of the bar's menus, the window's own popups and its system menu,
// while an edit's standard menu keeps its items on the skinned panel.
TEST_F(SkinWindows, PopupKindsAndTheirGates) {
  auto* edit = new QLineEdit;
  m.win.setCentralWidget(edit);
  TSkinForm* f = shown(&m.win);
  ASSERT_NE(f, nullptr);
  QMenu context(&m.win);
  context.addAction(QStringLiteral("複製"));
  const std::unique_ptr<QMenu> standard(edit->createStandardContextMenu());
  const SkinStyle* style = skinStyle();
  ASSERT_NE(style, nullptr);
  EXPECT_EQ(SkinStyle::popupKind(&context), 0);
  EXPECT_EQ(style->popupSkin(&context), skin.get());
  EXPECT_EQ(style->menuItemSkin(&context), skin.get());
  EXPECT_EQ(style->popupSkin(m.support), skin.get());
  EXPECT_EQ(style->menuItemSkin(m.support), skin.get());
  EXPECT_EQ(style->popupSkin(standard.get()), skin.get());
  EXPECT_EQ(style->menuItemSkin(standard.get()), nullptr);
  const QImage plainItems = standard->grab().toImage();
  EXPECT_EQ(plainItems.pixel(1, plainItems.height() / 2), frameColour(tiMenuBack, 1));
  // Inside the border the menu keeps its own background unless the skin asks for the image.
  for (const bool inside : {false, true}) {
    skin->Options.set(xoMenuBG, inside);
    const QImage img = standard->grab().toImage();
    EXPECT_EQ(img.pixel(4, img.height() / 2) == frameColour(tiMenuBack, 1), inside) << inside;
  }
  skin->Options.reset(xoMenuBG);
  EXPECT_FALSE(
      hasPixel(plainItems.convertToFormat(QImage::Format_RGB32), frameColour(tiMenuItem, 1)));
  // Its own tag keeps a popup's items plain in a skinned window; its window is still skinned.
  context.setProperty(kTagProperty, 99);
  EXPECT_EQ(style->popupSkin(&context), skin.get());
  EXPECT_EQ(style->menuItemSkin(&context), nullptr);
  context.setProperty(kTagProperty, QVariant());
  skin->SkinControls.reset(xcPopupMenu);
  EXPECT_EQ(style->popupSkin(&context), nullptr);
  EXPECT_EQ(style->menuItemSkin(&context), nullptr);
  EXPECT_EQ(style->popupSkin(m.support), skin.get());
  skin->SkinControls.reset(xcMainMenu);
  EXPECT_EQ(style->popupSkin(m.support), nullptr);
  skin->SkinControls.set(xcMenuItem);  // a window's menu is skinned by either gate
  EXPECT_EQ(style->popupSkin(m.support), skin.get());
  // The system menu's gate decides its window alone.
  f->ShowSysMenu(m.win.mapToGlobal(QPoint(30, 10)));
  ASSERT_NE(f->sysMenu(), nullptr);
  skin->SkinControls.reset(xcSystemMenu);
  EXPECT_EQ(style->popupSkin(f->sysMenu()), nullptr);
  EXPECT_EQ(style->menuItemSkin(f->sysMenu()), skin.get());
  f->sysMenu()->close();
  // A popup of an unskinned window gets the skinned panel; its items stay its own.
  QWidget plain;
  plain.setProperty(kTagProperty, 99);
  shown(&plain);
  QMenu other(&plain);
  skin->SkinControls.set(xcPopupMenu);
  EXPECT_EQ(style->popupSkin(&other), skin.get());
  EXPECT_EQ(style->menuItemSkin(&other), nullptr);
  // The panel comes from the skin data chosen for popups; one without a menu background
  // leaves the popup as the base style paints it, frame included, under the window's items.
  TSkinData chosen;
  chosen.SkinControls = programGates();
  chosen.SkinStream =
      skinPackage(QString::fromLatin1(testSkinDefinition())
                      .replace(QStringLiteral("[MenuBackground]"), QStringLiteral("[Unused]")));
  ASSERT_TRUE(chosen.LoadSkin());
  manager->AddSkinData(&chosen);
  EXPECT_EQ(style->popupSkin(&context), &chosen);
  EXPECT_EQ(style->menuItemSkin(&context), skin.get());
  EXPECT_EQ(style->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, &context),
            style->baseStyle()->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, &context));
  context.adjustSize();
  const QImage based = context.grab().toImage();
  EXPECT_NE(based.pixel(1, based.height() / 2), frameColour(tiMenuBack, 1));
  EXPECT_TRUE(hasPixel(based.convertToFormat(QImage::Format_RGB32), frameColour(tiMenuItem, 1)));
}

TEST_F(SkinWindows, SwitchingOffRestoresEverything) {
  ASSERT_NE(shown(&m.win), nullptr);
  QWidget tagged;
  tagged.setProperty(kTagProperty, 99);
  tagged.resize(200, 100);
  EXPECT_EQ(shown(&tagged), nullptr);
  EXPECT_FALSE(tagged.windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_EQ(manager->SkinWindow(&m.win), SkinRefusal::AlreadySkinned);
  EXPECT_EQ(manager->formSkins().size(), 1) << "the refused windows got no skin of their own";
  const QSize skinned = m.win.size();
  const QColor face = QWidget().palette().color(QPalette::Window);
  skin->SetActive(false);
  EXPECT_EQ(manager->pendingCommand(), 2) << "switching off waits for the timer";
  manager->runPendingCommand();
  settle();
  EXPECT_TRUE(manager->formSkins().isEmpty());
  EXPECT_FALSE(m.win.windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_EQ(m.win.contentsMargins(), QMargins());
  EXPECT_EQ(m.win.size(), skinned - QSize(10, 29));
  EXPECT_TRUE(m.win.mask().isEmpty());
  EXPECT_EQ(m.win.findChild<QWidget*>(QStringLiteral("SkinFrame")), nullptr);
  EXPECT_EQ(qobject_cast<SkinStyle*>(QApplication::style()), nullptr);
  EXPECT_EQ(m.win.palette().color(QPalette::Window), face);
  // And on again: every shown window is skinned at once.
  skin->SetActive(true);
  manager->runPendingCommand();
  EXPECT_NE(formOf(&m.win), nullptr);
  EXPECT_EQ(formOf(&tagged), nullptr);
  // Its reason gone, a refused window is skinned at its next activation.
  tagged.setProperty(kTagProperty, QVariant());
  for (QWidget* w : {static_cast<QWidget*>(&m.win), &tagged}) QApplication::setActiveWindow(w);
  settle();
  EXPECT_NE(formOf(&tagged), nullptr);
}

// A new skin file reloads every skinned window: new frame widths, same client.
TEST_F(SkinWindows, ReloadFromASkinFile) {
  shown(&m.win);
  const QSize client = m.win.contentsRect().size();
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("thick.skin"));
  ASSERT_TRUE(writeFile(
      file,
      skinPackage(QStringLiteral("[Personality]\nTop=t.bmp\nTopFrame=2\nLeft=s.bmp\nLeftFrame=2\n"
                                 "Right=s.bmp\nRightFrame=2\nBottom=b.bmp\nBottomFrame=2\n"),
                  {{QStringLiteral("t.bmp"), codedStrip(1, 2, 40, 30, true, false)},
                   {QStringLiteral("s.bmp"), codedStrip(2, 2, 8, 30, false, false)},
                   {QStringLiteral("b.bmp"), codedStrip(3, 2, 40, 8, true, false)}})));
  skin->SetSkinFile(file);
  EXPECT_EQ(manager->pendingCommand(), 3) << "the reload waits for the manager's timer";
  manager->runPendingCommand();
  settle();
  EXPECT_EQ(m.win.contentsMargins(), QMargins(8, 30, 8, 8));
  EXPECT_EQ(m.win.contentsRect().size(), client);
  EXPECT_EQ(m.win.grab().toImage().pixel(m.win.width() / 2, 10), frameColour(1, 1));
  // A file that is not a skin package keeps the skin in use.
  const QString bad = dir.filePath(QStringLiteral("bad.skin"));
  ASSERT_TRUE(writeFile(bad, QByteArray("not a package")));
  skin->SetSkinFile(bad);
  EXPECT_EQ(manager->pendingCommand(), 0);
  EXPECT_EQ(m.win.contentsMargins(), QMargins(8, 30, 8, 8));
}

// A reload with the same frame widths builds the window's mask again.
TEST_F(SkinWindows, ReloadWithTheSameFrameKeepsTheMask) {
  shown(&m.win);
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("same.skin"));
  ASSERT_TRUE(writeFile(file, buildTestSkin()));
  skin->SetSkinFile(file);
  manager->runPendingCommand();
  settle();
  EXPECT_FALSE(m.win.mask().contains(QPoint(0, 0))) << "the magenta corner";
  EXPECT_TRUE(m.win.mask().contains(QPoint(1, 0))) << "the frame beside it";
}

TEST_F(SkinWindows, FixedDialogsGrowTheirFixedSize) {
  QDialog d;
  d.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
  (new QVBoxLayout(&d))->addWidget(new QLabel(QStringLiteral("訊息")));
  d.setFixedSize(200, 100);
  TSkinForm* f = shown(&d);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->style().BorderKind, 3);
  EXPECT_EQ(d.size(), QSize(210, 129));
  EXPECT_EQ(d.minimumSize(), d.maximumSize());
  EXPECT_EQ(d.contentsRect().size(), QSize(200, 100));
  // A window of fixed size, without the dialog hint too, is offered no sizing.
  QWidget fixed;
  fixed.setFixedSize(200, 100);
  TSkinForm* g = shown(&fixed);
  ASSERT_NE(g, nullptr);
  g->ShowSysMenu(fixed.mapToGlobal(QPoint(10, 10)));
  const QAction* size = g->sysMenu()->actions().at(2);
  ASSERT_EQ(size->text(), QStringLiteral("大小"));
  EXPECT_FALSE(size->isEnabled());
}

// The application hears of each window before and after it is skinned, and of each control
// in between, and may hand a control its own skin; without the main-menu gate the frame
// stays the platform's and only the controls are skinned.
TEST_F(SkinWindows, EventsAndTheMainMenuGate) {
  for (const bool mainMenu : {true, false}) {
    skin->SkinControls.set(xcMainMenu, mainMenu);
    QStringList heard;
    auto note = [&heard](const char* when) {
      return [&heard, when](QWidget*, const QString& c) { heard << QLatin1String(when) + c; };
    };
    skin->OnBeforeSkinForm = note("before ");
    skin->OnAfterSkinForm = note("after ");
    skin->OnSkinControl = [&](QWidget*, QWidget*, const QString& c, ControlKind& kind) {
      heard << c;
      if (c == QLatin1String("QPUSHBUTTON")) kind = ControlKind::SpeedButton;
    };
    QDialog d;
    auto* button = new QPushButton(QStringLiteral("確定"));
    auto* off = new QLabel(QStringLiteral("不換膚"));
    off->setProperty(kTagProperty, 99);
    layOut(&d, {button, off});
    d.resize(200, 100);
    ASSERT_NE(shown(&d), nullptr);
    EXPECT_EQ(heard, (QStringList{QStringLiteral("before QDialog"), QStringLiteral("QPUSHBUTTON"),
                                  QStringLiteral("after QDialog")}));
    EXPECT_EQ(d.windowFlags().testFlag(Qt::FramelessWindowHint), mainMenu);
    EXPECT_EQ(d.contentsMargins().top() > 0, mainMenu);
    EXPECT_EQ(SkinnedKind(*skinStyle(), button).kind, ControlKind::SpeedButton);
    // Qt's own dialogs are the system's: the application hears only that one is skinned.
    heard.clear();
    {
      QMessageBox box(QMessageBox::Information, QString(), QStringLiteral("好"));
      ASSERT_NE(shown(&box), nullptr);
      EXPECT_EQ(heard, QStringList{QStringLiteral("after QMessageBox")});
    }
    // A reload applies the skin again and tells only that it is done; the control keeps the
    // skin the application gave it.
    QApplication::setActiveWindow(&d);
    settle();
    heard.clear();
    manager->SetCommand(skin.get(), 3, 0);
    manager->runPendingCommand();
    EXPECT_EQ(heard, QStringList{QStringLiteral("after QDialog")});
    EXPECT_EQ(SkinnedKind(*skinStyle(), button).kind, ControlKind::SpeedButton);
    skin->OnBeforeSkinForm = skin->OnAfterSkinForm = nullptr;
    skin->OnSkinControl = nullptr;
  }
}

TEST_F(SkinWindows, ANarrowDialogIsWidenedToItsCaption) {
  QInputDialog input;
  input.resize(120, 100);
  // A message box sizes itself when shown.
  QMessageBox message(QMessageBox::Information, QString(), QStringLiteral("好"));
  for (QDialog* d : std::initializer_list<QDialog*>{&input, &message}) {
    d->setWindowTitle(QStringLiteral("請輸入新的經絡測量紀錄名稱與備註說明文字"));
    TSkinForm* f = shown(d);
    ASSERT_NE(f, nullptr);
    ASSERT_TRUE(f->style().IsDialog);
    const CaptionSpan span = CaptionTextSpan(f->buttons(), skin->Title(), d->width(), f->border());
    EXPECT_GE(span.end - span.start, QFontMetrics(CaptionFont(*skin, d->font(), f->border().top()))
                                         .horizontalAdvance(d->windowTitle()))
        << d->metaObject()->className();
    const int widened = d->width();
    f->Detach();
    EXPECT_LT(d->minimumWidth(), widened - 10) << d->metaObject()->className();
  }
}

// Right to left the glyph column stands at the right edge, the caption is right-aligned
// before it and the short cut left-aligned 10 pixels in.
TEST_F(SkinWindows, MirroredMenuItemLayout) {
  QPixmap glyph(16, 16);
  glyph.fill(Qt::red);
  const QRect r(0, 0, 200, 22);
  for (const bool rtl : {false, true}) {
    QImage img(r.size(), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    DrawMenuItemContent(p, *skin, r, QStringLiteral("離開\tCtrl+Q"), QIcon(glyph), false, true,
                        false, false, 16, rtl);
    p.end();
    QRect red, ink;  // bounds of the glyph's pixels and of the text's
    for (int x = 0; x < r.width(); ++x)
      for (int y = 0; y < r.height(); ++y) {
        const QColor c(img.pixel(x, y));
        if (c == Qt::red || c.lightness() < 128) (c == Qt::red ? red : ink) |= QRect(x, y, 1, 1);
      }
    // The MenuItem image's left edge is 2 pixels wide.
    EXPECT_EQ(red.left(), rtl ? 200 - 1 - 2 - 16 : 3) << rtl;
    EXPECT_EQ(red.right(), rtl ? 200 - 1 - 2 - 1 : 3 + 15) << rtl;
    // The caption 4 to 11 pixels clear of the glyph; the short cut 10 pixels in.
    const int gap = rtl ? red.left() - ink.right() : ink.left() - red.right();
    EXPECT_GT(gap, 3) << rtl;
    EXPECT_LT(gap, 12) << rtl;
    EXPECT_TRUE(rtl ? ink.left() >= 11 : ink.right() <= 200 - 1 - 10) << rtl;
  }
}

// A checked item without image gets the 7-pixel tick in the button-text colour (not the
// selected item's white): from the glyph column's left and the item's middle, mirrored the
// column's middle.
TEST_F(SkinWindows, CheckMarkColourAndPlace) {
  const QRgb ground = qRgb(90, 120, 150);
  for (const bool rtl : {false, true}) {
    QImage img(200, 22, QImage::Format_RGB32);
    img.fill(ground);
    QPainter p(&img);
    DrawMenuItemContent(p, *skin, img.rect(), QString(), QIcon(), true, true, true, false, 16, rtl);
    p.end();
    QRect ink;
    for (int x = 0; x < img.width(); ++x)
      for (int y = 0; y < img.height(); ++y)
        if (img.pixel(x, y) != ground) ink |= QRect(x, y, 1, 1);
    const int left = rtl ? 200 - 1 - 2 - 16 : 1 + 2;  // the glyph column
    EXPECT_EQ(ink, QRect(left + 5, rtl ? 1 + 5 : 8, 7, 7)) << rtl;
    EXPECT_EQ(img.pixel(ink.topRight()), qRgb(0, 0, 0)) << rtl;
  }
}

// A checked item with an image: the glyph column on the system's dithered button ground, a
// sunken edge from where a 16-pixel glyph is centred down to the column's end; mirrored, the
// edge keeps the column's top.
TEST_F(SkinWindows, CheckedGlyphGroundAndEdge) {
  const QRgb ground = qRgb(90, 120, 150);
  const QRgb face = toQColor(ResolveColor(sysColor(COLOR_BTNFACE))).rgb();
  const QRgb light = toQColor(ResolveColor(sysColor(COLOR_BTNHIGHLIGHT))).rgb();
  const QRgb shadow = toQColor(ResolveColor(sysColor(COLOR_BTNSHADOW))).rgb();
  QPixmap dot(16, 16);
  dot.fill(Qt::transparent);
  for (const bool rtl : {false, true}) {
    QImage img(200, 22, QImage::Format_RGB32);
    img.fill(ground);
    QPainter p(&img);
    DrawMenuItemContent(p, *skin, img.rect(), QString(), QIcon(dot), true, true, false, false, 16,
                        rtl);
    p.end();
    const int left = rtl ? 200 - 1 - 2 - 16 : 1 + 2, top = rtl ? 1 : 3, bottom = 16;
    EXPECT_EQ(img.pixel(left + 8, top), shadow) << rtl;
    EXPECT_EQ(img.pixel(left, top + 6), shadow) << rtl;
    EXPECT_EQ(img.pixel(left + 8, bottom), light) << rtl;
    EXPECT_EQ(img.pixel(left + 15, top + 6), light) << rtl;
    EXPECT_EQ(img.pixel(left + 8, bottom + 1), ground) << rtl;
    const QSet<QRgb> dither{img.pixel(left + 7, top + 2), img.pixel(left + 8, top + 2)};
    EXPECT_EQ(dither, (QSet<QRgb>{face, light})) << rtl;
  }
}

// Tool-bar buttons take the skin's button frames only where the skin data asks for it.
class SkinToolbars : public SkinnedTest {
  QByteArray stream() override {
    return buildTestSkin(
        "[Buttons]\nBitmap=buttons.bmp\nLeftWidth=2\nRightWidth=2\n"
        "MouseOverColour2=200,0,0\nPressedColour2=0,150,0\n",
        {{QStringLiteral("buttons.bmp"), bmp(codedStrip(13, 5, 24, 22, false, false))}});
  }
};

TEST_F(SkinToolbars, ButtonFramesByStateBehindTheGate) {
  QMainWindow w;
  QToolBar* bar = w.addToolBar(QStringLiteral("tools"));
  QAction* a = bar->addAction(QStringLiteral("經絡測量"));
  shown(&w);
  QWidget* button = bar->widgetForAction(a);
  ASSERT_NE(button, nullptr);
  // The button's panel, or its caption over the panel.
  auto paint = [&](QStyle::State state, bool label = false) {
    QImage img(60, 30, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    QStyleOptionToolButton opt;
    opt.initFrom(button);
    opt.rect = img.rect();
    opt.state = state;
    opt.text = QStringLiteral("測量");
    opt.toolButtonStyle = Qt::ToolButtonTextOnly;
    if (label)
      QApplication::style()->drawControl(QStyle::CE_ToolButtonLabel, &opt, &p, button);
    else
      QApplication::style()->drawPrimitive(QStyle::PE_PanelButtonTool, &opt, &p, button);
    return img;
  };
  auto inks = [&](QStyle::State s, QRgb colour) { return hasPixel(paint(s, true), colour); };
  const QStyle::State on = QStyle::State_Enabled;
  const QPoint mid(30, 15);
  EXPECT_NE(paint(on | QStyle::State_MouseOver).pixel(mid), frameColour(13, 4));  // gate off
  skin->SkinControls.set(xcToolbar);
  EXPECT_EQ(paint(on | QStyle::State_MouseOver).pixel(mid), frameColour(13, 4));
  EXPECT_EQ(paint(on | QStyle::State_Sunken).pixel(mid), frameColour(13, 2));
  EXPECT_EQ(paint(QStyle::State_MouseOver).pixel(mid), qRgb(255, 255, 255));  // disabled
  EXPECT_EQ(paint(on).pixel(mid), qRgb(255, 255, 255));                       // plain
  // The caption over a hot or pressed frame is in that frame's colour.
  const QRgb hotText = qRgb(200, 0, 0), pressedText = qRgb(0, 150, 0);
  EXPECT_TRUE(inks(on | QStyle::State_MouseOver, hotText));
  EXPECT_TRUE(inks(on | QStyle::State_Sunken, pressedText));
  EXPECT_FALSE(inks(on, hotText));
  EXPECT_FALSE(inks(on, pressedText));
}

// Before the first activation only the switch changes; afterwards commands wait for the
// timer (or a test running them).
TEST(SkinCommands, DeferredOnlyAfterTheFirstActivation) {
  delete ExistingSkinManager();
  TSkinManage* m = SkinManager();
  TSkinData d;
  d.SkinStream = buildTestSkin();
  ASSERT_TRUE(d.LoadSkin());
  m->AddSkinData(&d);
  if (!m->Started()) {
    m->SetCommand(&d, 1, 250);
    EXPECT_TRUE(m->Active());
    EXPECT_EQ(m->pendingCommand(), 0);
    m->SetCommand(&d, 2, 250);
    EXPECT_FALSE(m->Active());
    // Skinning a window not yet activated starts the manager too: switching off then waits
    // for the timer, which takes the window's frame with the style.
    m->SetCommand(&d, 1, 250);
    QWidget early;
    early.resize(100, 80);
    ASSERT_EQ(m->SkinWindow(&early), SkinRefusal::None);
    EXPECT_TRUE(m->Started());
    m->SetCommand(&d, 2, 250);
    EXPECT_EQ(m->pendingCommand(), 2);
    m->runPendingCommand();
    EXPECT_EQ(m->FindFormSkin(&early), nullptr);
    EXPECT_FALSE(early.windowFlags().testFlag(Qt::FramelessWindowHint));
  }
  QWidget w;
  w.resize(100, 80);
  w.show();
  QApplication::setActiveWindow(&w);
  settle();
  ASSERT_TRUE(m->Started());
  m->SetCommand(&d, 1, 250);
  EXPECT_FALSE(m->Active());
  EXPECT_EQ(m->pendingCommand(), 1);
  m->runPendingCommand();
  EXPECT_TRUE(m->Active());
  EXPECT_NE(m->FindFormSkin(&w), nullptr);
  // A window without a size is tried again at its next activation.
  QWidget empty;
  empty.resize(0, 0);
  EXPECT_EQ(m->SkinWindow(&empty), SkinRefusal::ZeroSize);
  delete m;
}

}  // namespace
}  // namespace ruto
