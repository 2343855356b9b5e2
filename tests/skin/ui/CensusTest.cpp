// Every window of the program, opened through the registry, skinned with the program's own
// skin and unskinned: frame bands, title, no child over a band, the client size kept, and
// the unskinned window as built. Pictures of both go to test-output/skin/census/.
#include <gtest/gtest.h>

#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSet>
#include <QSignalSpy>
#include <QTimer>

#include "WindowCensus.h"
#include "app/AppTestSupport.h"
#include "app/SharedRecords.h"
#include "app/StartupFiles.h"
#include "app/WindowOpeners.h"
#include "app/ui/AppWindows.h"
#include "app/ui/Application.h"
#include "app/ui/MainWindow.h"
#include "app/ui/MessageBox.h"
#include "app/ui/PrintAbortBox.h"
#include "measure/ui/MeasureWindows.h"
#include "records/ui/RecordsWindows.h"
#include "skin/SkinFrame.h"
#include "skin/ui/SkinSetup.h"
#include "skin/ui/SkinStyle.h"

namespace {

using ruto::test::settle;

using ruto::test::Opener;

// What one window looked like, by the name it was opened under.
struct Seen {
  QSize client;  // the contents size (the whole window when unskinned)
  bool checked = false;
  bool filled = false;  // shrunk to the screen: the skin's frame takes from the client then
};

class Census : public ruto::test::WindowCensusTest {
 protected:
  // The skinned main window, started up and active, with "系統支援" opened from its bar.
  void openSupportMenu() {
    ASSERT_TRUE(CreateMainWindows());
    TheMainWindow->show();
    settle();
    TheMainWindow->runFirstActivation();
    skinOn();
    QApplication::setActiveWindow(TheMainWindow);
    settle();
    TheMainWindow->mainMenu->setActiveAction(TheMainWindow->supportMenu->menuAction());
    settle();
  }
  // Checks one shown window and saves its picture.
  void inspect(QWidget* w, const QString& name, bool skinned) {
    const QString file = QStringLiteral("census-%1-%2").arg(name, skinned ? "skinned" : "plain");
    ruto::test::saveSkinPng(w->grab().toImage(), file);
    Seen& s = seen_[name];
    TSkinManage* m = ExistingSkinManager();
    TSkinForm* f = m ? m->FindFormSkin(w) : nullptr;
    if (!skinned) {
      EXPECT_EQ(f, nullptr) << qPrintable(name);
      EXPECT_EQ(w->findChild<QWidget*>(QStringLiteral("SkinFrame")), nullptr) << qPrintable(name);
      EXPECT_TRUE(w->mask().isEmpty()) << qPrintable(name);
      s.client = w->contentsRect().size();
      return;
    }
    // Tool windows, like popups, keep the platform's frame.
    if (w->windowType() == Qt::Tool) {
      EXPECT_EQ(f, nullptr) << qPrintable(name);
      s.checked = true;
      return;
    }
    ASSERT_NE(f, nullptr) << qPrintable(name)
                          << " was not skinned: " << static_cast<int>(m->SkinWindow(w)) << " "
                          << w->metaObject()->className();
    s.checked = true;
    if (f->style().BorderKind == 2) return;
    const ruto::TSkinData& skin = *f->SkinData();
    const QImage img = w->grab().toImage();
    const QMargins b = f->border();
    EXPECT_EQ(w->contentsMargins(), b) << qPrintable(name);
    // Title band and side bands come from the skin's images (frame by activity).
    auto bandPixel = [&](const ruto::TDataSkinObject* o, QPoint at, QSize frameSize) {
      QSet<QRgb> both;
      for (int k : {1, 2}) {
        const QRect fr = ruto::FrameRect(o->Bitmap.size(), k, o->frames(),
                                         o == skin.TopBorder() || o == skin.BottomBorder());
        both.insert(o->Bitmap.pixel(fr.left() + std::min(at.x(), frameSize.width() - 1),
                                    fr.top() + std::min(at.y(), frameSize.height() - 1)));
      }
      return both;
    };
    const ruto::TDataSkinObject* top = skin.TopBorder();
    EXPECT_TRUE(
        bandPixel(top, QPoint(top->Bitmap.width() / 2, 2), QSize(top->Bitmap.width(), b.top()))
            .contains(img.pixel(w->width() / 2, 2)))
        << qPrintable(name) << " title";
    const ruto::TDataSkinObject* left = skin.LeftBorder();
    EXPECT_TRUE(bandPixel(left, QPoint(1, 20), QSize(b.left(), left->Bitmap.height()))
                    .contains(img.pixel(1, w->height() / 2)))
        << qPrintable(name) << " left band";
    // No child over a band, and the client as large as the unskinned window's.
    const QRect client = w->contentsRect();
    for (QWidget* c : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (c->objectName() == QLatin1String("SkinFrame") || !c->isVisible() || c->isWindow())
        continue;
      EXPECT_TRUE(client.contains(c->geometry()))
          << qPrintable(name) << ": " << c->metaObject()->className() << " "
          << qPrintable(c->objectName()) << " over a band";
    }
    if (seen_.contains(name + QStringLiteral("#plain")) &&
        !seen_[name + QStringLiteral("#plain")].filled) {
      const QSize outer = w->size() - QSize(b.left() + b.right(), b.top() + b.bottom());
      EXPECT_EQ(outer, seen_[name + QStringLiteral("#plain")].client)
          << qPrintable(name) << " min " << w->minimumWidth() << "x" << w->minimumHeight()
          << " max " << w->maximumWidth() << "x" << w->maximumHeight() << " layout "
          << (w->layout() ? static_cast<int>(w->layout()->sizeConstraint()) : -1) << " "
          << w->metaObject()->className();
    }
  }

  // Opens a window through its opener and inspects every modal window it shows.
  int openAndInspect(const Opener& o, bool skinned) {
    return openEachModal(o, [&](QWidget* w, const QString& name) {
      if (!skinned) {
        Seen& plain = seen_[name + QStringLiteral("#plain")];
        plain.client = w->size();
        const QSize frame = w->frameGeometry().size(),
                    area = w->screen()->availableGeometry().size();
        plain.filled = frame.width() == area.width() || frame.height() == area.height();
      }
      inspect(w, name, skinned);
    });
  }

  void runCensus(bool skinned) {
    // The editors open on their own in new mode when the fresh database has no rows.
    ViewState.ClientNewMode = true;
    ViewState.ProgramNewMode = true;
    for (const Opener& o : ruto::test::kOpeners) {
      const int shown = openAndInspect(o, skinned);
      if (shown == 0) std::printf("census: %s opened no window\n", o.name);
    }
    // The message box and the abort box.
    {
      MsgRequest.Kind = ruto::MsgKind::QuestionYesNo;
      MsgRequest.Text = kExitQuestion;
      MessageBox box(TheMainWindow);
      box.show();
      settle();
      if (!skinned) seen_[QStringLiteral("message#plain")].client = box.size();
      inspect(&box, QStringLiteral("message"), skinned);
      box.close();
    }
    {
      ThePrintAbortBox->show();
      settle();
      if (!skinned) seen_[QStringLiteral("abort#plain")].client = ThePrintAbortBox->size();
      inspect(ThePrintAbortBox, QStringLiteral("abort"), skinned);
      ThePrintAbortBox->hide();
    }
  }

  QHash<QString, Seen> seen_;
};

TEST_F(Census, EveryWindowSkinnedAndPlain) {
  ASSERT_TRUE(CreateMainWindows()) << asked_.join('\n').toStdString();
  TheMainWindow->resize(1000, 700);
  TheMainWindow->show();
  settle();
  TheMainWindow->runFirstActivation();
  settle();
  runCensus(false);
  const QSize plainMain = TheMainWindow->size();
  ruto::test::saveSkinPng(TheMainWindow->grab().toImage(), QStringLiteral("census-main-plain"));
  skinOn();
  settle();
  ASSERT_NE(ExistingSkinManager()->FindFormSkin(TheMainWindow), nullptr);
  EXPECT_EQ(TheMainWindow->contentsRect().size(), plainMain);
  EXPECT_EQ(TheMainWindow->windowTitle(), kMainCaption);
  // The menu bar stands in the frame's menu band.
  const QMargins b = ExistingSkinManager()->FindFormSkin(TheMainWindow)->border();
  EXPECT_EQ(TheMainWindow->mainMenu->geometry().topLeft(), QPoint(b.left(), b.top()));
  EXPECT_EQ(TheMainWindow->mainMenu->height(), ruto::TSkinData::MenuHeight);
  ruto::test::saveSkinPng(TheMainWindow->grab().toImage(), QStringLiteral("census-main-skinned"));
  runCensus(true);
  // Every window that opened unskinned was checked skinned too.
  for (auto it = seen_.begin(); it != seen_.end(); ++it) {
    if (it.key().endsWith(QStringLiteral("#plain"))) {
      EXPECT_TRUE(seen_.value(it.key().chopped(6)).checked) << qPrintable(it.key());
    }
  }
}

// The program's own menu: "系統支援" opens a skinned popup; Right moves on to "關於版本"
// and wraps from there to "經絡測量".
TEST_F(Census, MainMenuPopupAndArrowKeys) {
  ASSERT_NO_FATAL_FAILURE(openSupportMenu());
  QMenuBar* bar = TheMainWindow->mainMenu;
  ASSERT_TRUE(TheMainWindow->supportMenu->isVisible());
  auto* style = qobject_cast<ruto::SkinStyle*>(QApplication::style());
  ASSERT_NE(style, nullptr);
  EXPECT_EQ(style->popupSkin(TheMainWindow->supportMenu), TheMainWindow->skinData);
  TheMainWindow->supportMenu->setActiveAction(TheMainWindow->supportMenu->actions().first());
  ruto::test::saveSkinPng(TheMainWindow->supportMenu->grab().toImage(),
                          QStringLiteral("main-menu-popup"));
  const QSignalSpy ran(bar, &QMenuBar::triggered);
  ruto::test::key(TheMainWindow->supportMenu, Qt::Key_Right);
  settle();
  ASSERT_NE(bar->activeAction(), nullptr);
  EXPECT_EQ(bar->activeAction()->text(), QStringLiteral("關於版本"));
  ruto::test::key(bar, Qt::Key_Right);
  settle();
  ASSERT_NE(bar->activeAction(), nullptr);
  EXPECT_EQ(bar->activeAction()->text(), QStringLiteral("經絡測量"));
  ruto::test::key(bar, Qt::Key_Escape);
  settle();
  EXPECT_EQ(ran.count(), 0) << "no command ran";
}

// The program's own item image has a plain middle: every separator of the main menu shows
// its etched line over it.
TEST_F(Census, MainMenuSeparatorsShowTheirLine) {
  ASSERT_NO_FATAL_FAILURE(openSupportMenu());
  QMenu* menu = TheMainWindow->supportMenu;
  ASSERT_TRUE(menu->isVisible());
  const QImage popup = menu->grab().toImage();
  const QRgb background = ruto::toQColor(TheMainWindow->skinData->Colours().Menu).rgb();
  int separators = 0;
  for (QAction* a : menu->actions()) {
    if (!a->isSeparator() || !a->isVisible()) continue;
    ++separators;
    const QRect r = menu->actionGeometry(a);
    for (int x : {r.left() + 3, r.center().x(), r.right() - 1}) {
      EXPECT_NE(popup.pixel(x, r.top() + 4), background) << qPrintable(a->objectName()) << " " << x;
      EXPECT_NE(popup.pixel(x, r.top() + 4), popup.pixel(x, r.top() + 2))
          << qPrintable(a->objectName()) << " " << x;
    }
  }
  EXPECT_EQ(separators, 2);
  ruto::test::key(menu, Qt::Key_Escape);
}

}  // namespace
