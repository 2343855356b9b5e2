// The manager's choice of skin data per window, the reach of each skin data's commands, and
// what a reload does to the windows and controls skinned from the replaced skin.
#include <gtest/gtest.h>

#include "ControlTestSkin.h"
#include "SkinUiSupport.h"
#include "skin/SkinReader.h"
#include "skin/ui/SkinSetup.h"
#include "widgets/SortingGrid.h"

namespace ruto {
namespace {

using namespace test;

// The package with `from` replaced by `to` in its definition.
QByteArray redefined(const QByteArray& package, const QByteArray& from, const QByteArray& to) {
  TSkinReader reader;
  if (!reader.ReadSkinPackage(package)) return {};
  QList<SkinPackageEntry> entries;
  for (const QString& name : reader.Names()) {
    QByteArray bytes;
    reader.ExtractEntry(name, bytes);
    if (name.endsWith(QLatin1String(".ini"))) bytes.replace(from, to);
    entries.append({name, bytes});
  }
  return BuildSkinPackage(entries);
}

// The control test skin in other colours: face 100,150,200 and button text 30,42,56.
QByteArray recolouredControlSkin() {
  return redefined(buildControlTestSkin(), "ButtonFace=212,208,200\n",
                   "ButtonFace=100,150,200\nButtonText=30,42,56\n");
}
const QColor kOldFace(212, 208, 200), kNewFace(100, 150, 200), kNewText(30, 42, 56);

QRect shownButton(const TSkinForm* f, int action) {
  for (const CaptionButton& b : f->buttons())
    if (b.visible && b.def->Action == action) return b.rect;
  return {};
}

// A window of the test size, already laid out.
void sized(QWidget& w) { w.resize(300, 150); }

class SkinManagerTest : public SkinnedTest {
 protected:
  QByteArray stream() override { return buildControlTestSkin(); }
  // A skin file of `package` in the test's folder.
  QString skinFile(const QByteArray& package) {
    const QString path = dir.filePath(QStringLiteral("%1.skin").arg(++files));
    EXPECT_TRUE(writeFile(path, package));
    return path;
  }
  // A second skin data, loaded and added to the manager after the fixture's.
  std::unique_ptr<TSkinData> second(TSkinFormType type, QObject* owner = nullptr) {
    auto d = std::make_unique<TSkinData>(owner);
    d->SkinFormtype = type;
    load(*d, recolouredControlSkin());
    return d;
  }
  // Commands wait for the timer from the first activation on.
  void start(QWidget* w) {
    QApplication::setActiveWindow(w);
    settle();
    ASSERT_TRUE(manager->Started());
  }
  QTemporaryDir dir;
  int files = 0;
};

// A new skin file replaces the skin's objects at once while the reload waits for the timer:
// until it runs the frame shows no caption buttons, and painting it, moving over the title
// and clicking there read nothing of the objects that went.
TEST_F(SkinManagerTest, CaptionButtonsAreDroppedUntilTheReload) {
  QWidget w;
  sized(w);
  TSkinForm* f = shown(&w);
  ASSERT_NE(f, nullptr);
  start(&w);
  const QRect close = shownButton(f, 0);
  const QRect icon = shownButton(f, 3);
  ASSERT_FALSE(close.isEmpty());
  QWidget* frame = f->frameWidget();
  mouse(frame, QEvent::MouseMove, close.center());
  skin->SetSkinFile(skinFile(buildControlTestSkin()));
  ASSERT_EQ(manager->pendingCommand(), 3);
  EXPECT_TRUE(f->buttons().empty());
  EXPECT_EQ(w.grab().toImage().pixel(close.center()), frameColour(tiTop, f->active() ? 1 : 2));
  mouse(frame, QEvent::MouseMove, close.center() + QPoint(1, 0));
  click(frame, close.center());
  // Where the icon was is title now: a double click there maximizes instead of closing.
  mouse(frame, QEvent::MouseButtonDblClick, icon.center());
  settle();
  EXPECT_TRUE(w.isVisible());
  manager->runPendingCommand();
  settle();
  EXPECT_EQ(formOf(&w), f);
  const QRect again = shownButton(f, 0);
  ASSERT_FALSE(again.isEmpty());
  EXPECT_EQ(w.grab().toImage().pixel(again.center()), frameColour(tiClose, 1));
}

// A window that owns an sfOnlyThisForm skin data takes it, and that skin data's commands
// reach that window alone: switching off leaves the other windows skinned, switching on
// skins no other window, a reload drops and rebuilds only its caption buttons.
TEST_F(SkinManagerTest, AnOwnSkinDataIsTheOwnersAlone) {
  QWidget own, other, later;
  for (QWidget* w : {&own, &other, &later}) sized(*w);
  auto* panel = new QFrame;
  QPalette red = panel->palette();
  red.setColor(QPalette::Window, Qt::red);
  panel->setPalette(red);
  layOut(&own, {panel});
  const std::unique_ptr<TSkinData> only = second(TSkinFormType::sfOnlyThisForm, &own);
  ASSERT_TRUE(only->SkinLoaded());
  ASSERT_NE(shown(&own), nullptr);
  ASSERT_NE(shown(&other), nullptr);
  EXPECT_EQ(formOf(&own)->SkinData(), only.get());
  EXPECT_EQ(formOf(&other)->SkinData(), skin.get());
  // The controls of the window take its skin's face too.
  EXPECT_EQ(panel->palette().color(QPalette::Window), kNewFace);
  start(&own);

  only->SetSkinFile(skinFile(recolouredControlSkin()));
  ASSERT_EQ(manager->pendingCommand(), 3);
  EXPECT_TRUE(formOf(&own)->buttons().empty());
  EXPECT_FALSE(formOf(&other)->buttons().empty());
  manager->runPendingCommand();
  EXPECT_FALSE(formOf(&own)->buttons().empty());

  only->SetActive(false);
  ASSERT_EQ(manager->pendingCommand(), 2);
  manager->runPendingCommand();
  settle();
  EXPECT_EQ(formOf(&own), nullptr);
  EXPECT_NE(formOf(&other), nullptr);
  EXPECT_FALSE(own.windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_TRUE(other.windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(Qt::red));
  EXPECT_EQ(shown(&later), nullptr) << "switched off, no new window is skinned";
  QMenu popup(&other);
  EXPECT_EQ(skinStyle()->popupSkin(&popup), nullptr) << "switched off, no popup is skinned";
  EXPECT_EQ(skinStyle()->menuItemSkin(&popup), skin.get()) << "its window's skin draws its items";

  only->SetActive(true);
  ASSERT_EQ(manager->pendingCommand(), 1);
  manager->runPendingCommand();
  settle();
  ASSERT_NE(formOf(&own), nullptr);
  EXPECT_EQ(formOf(&own)->SkinData(), only.get());
  EXPECT_EQ(formOf(&later), nullptr);

  // Without the main skin data a window activated takes the one left. A reload of it reaches
  // every window it skins: the others would otherwise keep no caption buttons.
  skin.reset();
  for (QWidget* w : {&own, &later}) QApplication::setActiveWindow(w);
  settle();
  ASSERT_NE(formOf(&later), nullptr);
  EXPECT_EQ(formOf(&later)->SkinData(), only.get());
  only->SetSkinFile(skinFile(recolouredControlSkin()));
  ASSERT_EQ(manager->pendingCommand(), 3);
  manager->runPendingCommand();
  for (QWidget* w : {&own, &later}) EXPECT_FALSE(formOf(w)->buttons().empty());
}

// A skin data of single windows skins its owner at once, even with skinning off, and
// switches nothing on for the other windows; loaded inactive, it is counted and skins
// nothing. A load it asks no reload for gives the owner its frame and buttons back at once.
TEST_F(SkinManagerTest, ASingleWindowSkinDataSkinsItsOwnerAlone) {
  skin->SetActive(false);
  QWidget owner, other, idleOwner;
  for (QWidget* w : {&owner, &other, &idleOwner}) sized(*w);
  TSkinData idle(&idleOwner);
  idle.SkinFormtype = TSkinFormType::sfDLL;
  idle.SkinStream = recolouredControlSkin();
  idle.Loaded();
  EXPECT_EQ(manager->singleWindowCount(), 1);
  EXPECT_EQ(formOf(&idleOwner), nullptr);
  const std::unique_ptr<TSkinData> single = second(TSkinFormType::sfDLL, &owner);
  EXPECT_EQ(manager->singleWindowCount(), 2);
  EXPECT_FALSE(manager->Active());
  ASSERT_NE(formOf(&owner), nullptr) << "skinned before it is shown";
  EXPECT_EQ(formOf(&owner)->SkinData(), single.get());
  // Skinning the owner started the manager: an active skin data's reload waits for the
  // timer; an inactive one asks none, and the program's skin's frame widths come at once.
  for (const bool active : {true, false}) {
    single->SetActive(active);
    single->SetSkinFile(skinFile(active ? buildControlTestSkin() : OwnSkinPackage()));
    EXPECT_EQ(manager->pendingCommand(), active ? 3 : 0);
    manager->runPendingCommand();
    EXPECT_FALSE(shownButton(formOf(&owner), 0).isEmpty()) << active;
    if (active) {
      EXPECT_EQ(shown(&other), nullptr);
      ASSERT_NE(shown(&owner), nullptr);
    }
  }
  EXPECT_EQ(formOf(&owner)->border(), QMargins(4, 26, 4, 4));
  EXPECT_EQ(owner.contentsMargins(), QMargins(4, 26, 4, 4));
}

// Without a main window's skin data nothing looks at new windows: a skin data of one window
// switched on skins its owner alone.
TEST(SkinManagerHook, OnlyAMainSkinDataLooksAtNewWindows) {
  delete ExistingSkinManager();
  TSkinManage* m = SkinManager();
  QWidget owner, other;
  for (QWidget* w : {&owner, &other}) sized(*w);
  {
    TSkinData only(&owner);
    only.SkinFormtype = TSkinFormType::sfOnlyThisForm;
    only.SkinControls = programGates();
    only.SkinStream = buildControlTestSkin();
    ASSERT_TRUE(only.LoadSkin());
    only.SetActive(true);
    only.Loaded();
    EXPECT_NE(m->FindFormSkin(&owner), nullptr);
    other.show();
    settle();
    EXPECT_EQ(m->FindFormSkin(&other), nullptr);
  }
  delete m;
}

// The dialog skin data goes to Qt's own dialogs; the program's windows, dialogs among them,
// take the main one.
TEST_F(SkinManagerTest, TheDialogSkinDataGoesToTheStandardDialogsAlone) {
  QMessageBox message(QMessageBox::Information, QString(), QStringLiteral("好"));
  QInputDialog input;
  QDialog plain;
  QWidget window;
  for (QWidget* w : std::initializer_list<QWidget*>{&input, &plain, &window}) sized(*w);
  const std::unique_ptr<TSkinData> dialogs = second(TSkinFormType::sfDialog);
  const std::pair<QWidget*, const TSkinData*> cases[] = {{&message, dialogs.get()},
                                                         {&input, dialogs.get()},
                                                         {&plain, skin.get()},
                                                         {&window, skin.get()}};
  for (const auto& [w, want] : cases) {
    TSkinForm* f = shown(w);
    ASSERT_NE(f, nullptr) << w->metaObject()->className();
    EXPECT_EQ(f->SkinData(), want) << w->metaObject()->className();
  }
}

// A reload gives every control the new skin's colours: the window and panels their face,
// tab pages too, grids their fixed cells, the status bar its text; switching off afterwards
// still gives each control its own colours back.
TEST_F(SkinManagerTest, AReloadRecoloursEveryControl) {
  QDialog d;
  auto* panel = new QFrame;
  QPalette red = panel->palette();
  red.setColor(QPalette::Window, Qt::red);
  panel->setPalette(red);
  auto* tabs = new QTabWidget;
  tabs->addTab(new QWidget, QStringLiteral("第一頁"));
  auto* grid = new TSortingGrid;
  grid->setFixedColor(RGB(255, 0, 0));
  auto* status = new QStatusBar;
  status->addWidget(new QLabel(QStringLiteral("狀態")));
  layOut(&d, {panel, tabs, grid, status});
  d.resize(300, 400);
  ASSERT_NE(shown(&d), nullptr);
  start(&d);
  QWidget* page = tabs->widget(0);
  ASSERT_EQ(page->palette().color(QPalette::Window), kOldFace);
  ASSERT_NE(status->palette().color(QPalette::WindowText), kNewText);

  skin->SetSkinFile(skinFile(recolouredControlSkin()));
  ASSERT_EQ(manager->pendingCommand(), 3);
  manager->runPendingCommand();
  settle();
  EXPECT_EQ(d.palette().color(QPalette::Window), kNewFace);
  EXPECT_EQ(panel->palette().color(QPalette::Window), kNewFace);
  EXPECT_EQ(page->palette().color(QPalette::Window), kNewFace);
  EXPECT_EQ(QColor(tabs->grab().toImage().pixel(page->mapTo(tabs, page->rect().center()))),
            kNewFace);
  EXPECT_EQ(grid->FixedColor(), RGB(100, 150, 200));
  EXPECT_EQ(status->palette().color(QPalette::WindowText), kNewText);

  skin->SetActive(false);
  manager->runPendingCommand();
  EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(Qt::red));
  EXPECT_EQ(grid->FixedColor(), RGB(255, 0, 0));
}

}  // namespace
}  // namespace ruto
