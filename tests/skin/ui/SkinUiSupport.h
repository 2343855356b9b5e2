#pragma once
// Shared set-up of the skinned-window tests: a manager with the frame-coded test skin, and
// mouse and key helpers that talk to a skinned window's frame.

#include <QtWidgets>

#include "skin/SkinData.h"
#include "skin/TestSkin.h"
#include "skin/ui/ControlSkins.h"
#include "skin/ui/FormSkin.h"
#include "skin/ui/SkinManager.h"
#include "skin/ui/SkinStyle.h"
#include "support/TestSupport.h"

namespace ruto::test {

inline void settle() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// The skin style in use, or null.
inline const SkinStyle* skinStyle() {
  return qobject_cast<const SkinStyle*>(QApplication::style());
}

// ws laid out in p one under the other, or side by side.
inline void layOut(QWidget* p, std::initializer_list<QWidget*> ws, bool across = false) {
  auto* lay = new QBoxLayout(across ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom, p);
  for (QWidget* w : ws) lay->addWidget(w);
}

// A fresh manager and skin data per test; skinning is on from the start.
class SkinnedTest : public ::testing::Test {
 protected:
  void SetUp() override {
    delete ExistingSkinManager();
    manager = SkinManager();
    skin = std::make_unique<TSkinData>();
    load(*skin, stream());
    ASSERT_TRUE(skin->SkinLoaded());
    ASSERT_TRUE(manager->Active());
  }
  void TearDown() override {
    delete ExistingSkinManager();
    skin.reset();
  }
  virtual QByteArray stream() { return buildTestSkin(); }
  // `d` made active with the program's gates and `package`, handed to the manager and loaded,
  // as the main window's skin data is at start-up.
  void load(TSkinData& d, const QByteArray& package) {
    d.SkinControls = programGates();
    d.SkinStream = package;
    d.SetActive(true);
    manager->AddSkinData(&d);
    d.Loaded();
    manager->runPendingCommand();
  }

  TSkinForm* formOf(QWidget* w) { return manager->FindFormSkin(w); }
  // w shown and settled; its frame skin, or null.
  TSkinForm* shown(QWidget* w) {
    w->show();
    settle();
    return formOf(w);
  }

  TSkinManage* manager = nullptr;
  std::unique_ptr<TSkinData> skin;
};

// A press holds its button down besides `held`; a move or release holds `held` alone.
inline void mouse(QWidget* target, QEvent::Type type, QPoint local,
                  Qt::MouseButton button = Qt::LeftButton, Qt::MouseButtons held = {}) {
  const bool move = type == QEvent::MouseMove, press = !move && type != QEvent::MouseButtonRelease;
  QMouseEvent e(type, QPointF(local), QPointF(target->mapToGlobal(local)),
                move ? Qt::NoButton : button, press ? held | button : held, Qt::NoModifier);
  QApplication::sendEvent(target, &e);
}

inline void click(QWidget* target, QPoint local) {
  for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
    mouse(target, type, local);
}

inline void key(QWidget* target, int k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  for (auto type : {QEvent::KeyPress, QEvent::KeyRelease}) {
    QKeyEvent e(type, k, mods);
    QApplication::sendEvent(target, &e);
  }
}

// Saves a picture for people to judge under test-output/skin/.
inline QString saveSkinPng(const QImage& image, const QString& name) {
  QDir().mkpath(outputDir() + QStringLiteral("/skin"));
  return savePng(image, QStringLiteral("skin/") + name);
}

}  // namespace ruto::test
