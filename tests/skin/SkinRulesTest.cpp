// Which windows the manager skins, in the order of its tests, and which skin data they take.
#include <gtest/gtest.h>

#include "skin/SkinData.h"
#include "skin/SkinRules.h"
#include "skin/TestSkin.h"

namespace ruto {
namespace {

TEST(SkinRules, TestsInOrder) {
  TSkinData main;
  main.SkinStream = test::buildTestSkin();
  ASSERT_TRUE(main.LoadSkin());
  TSkinData unloaded;
  auto facts = [] {
    WindowFacts w;
    w.size = QSize(100, 50);
    w.className = QStringLiteral("MainWindow");
    return w;
  };
  using R = SkinRefusal;
  const auto keep = [](WindowFacts&) {};
  const std::tuple<const char*, std::function<void(WindowFacts&)>, bool, bool, const TSkinData*,
                   SkinRefusal>
      cases[] = {
          {"plain window", keep, true, false, &main, R::None},
          {"switched off", keep, false, false, &main, R::Inactive},
          {"twice", [](auto& w) { w.alreadySkinned = true; }, true, false, &main,
           R::AlreadySkinned},
          {"child", [](auto& w) { w.childWindow = true; }, true, false, &main, R::ChildWindow},
          {"child while all are skinned", [](auto& w) { w.childWindow = true; }, true, true, &main,
           R::None},
          {"popup", [](auto& w) { w.windowKind = false; }, true, false, &main, R::NotAWindow},
          {"no size", [](auto& w) { w.size = QSize(0, 30); }, true, false, &main, R::ZeroSize},
          {"tag 99", [](auto& w) { w.tag = 99; }, true, false, &main, R::DisabledTag},
          {"excluded class", [](auto& w) { w.className = "Application"; }, true, false, &main,
           R::ClassExcluded},
          {"calendar", [](auto& w) { w.className = "SysMonthCal32"; }, true, false, &main,
           R::Filtered},
          {"skin not loaded", keep, true, false, &unloaded, R::NoSkin},
          {"no skin data", keep, true, false, nullptr, R::NoSkin}};
  for (const auto& [what, change, active, forceAll, chosen, want] : cases) {
    WindowFacts w = facts();
    change(w);
    EXPECT_EQ(SkinWindowTests(active, forceAll, w, &main, chosen), want) << what;
  }
  // Without the preview option a preview window is left alone.
  main.Options.reset(xoPreview);
  WindowFacts preview = facts();
  preview.className = QStringLiteral("TPrintPreviewForm");
  EXPECT_EQ(SkinWindowTests(true, false, preview, &main, &main), SkinRefusal::Filtered);
  main.OnFormSkin = [](const QString& name, bool& doSkin) {
    doSkin = name != QLatin1String("MainWindow");
  };
  EXPECT_EQ(SkinWindowTests(true, false, facts(), &main, &main), SkinRefusal::Filtered);
}

TEST(SkinRules, ChoosingTheSkinData) {
  QObject window, other;
  TSkinData mainA, mainB, dialog, only(&window);
  dialog.SkinFormtype = TSkinFormType::sfDialog;
  only.SkinFormtype = TSkinFormType::sfOnlyThisForm;
  WindowFacts w;
  EXPECT_EQ(ChooseSkinData({}, w, false), nullptr);
  EXPECT_EQ(ChooseSkinData({&mainA, &mainB, &dialog}, w, false), &mainB);  // the last wins
  EXPECT_EQ(ChooseSkinData({&mainA, &dialog}, w, true), &dialog);
  EXPECT_EQ(ChooseSkinData({&dialog, &only}, w, false), &dialog);  // none main: the first
  w.window = &window;                                              // the owner of `only`
  EXPECT_EQ(ChooseSkinData({&mainA, &only, &dialog}, w, true), &only);
  w.window = &other;
  EXPECT_EQ(ChooseSkinData({&mainA, &only, &dialog}, w, true), &dialog);
  EXPECT_EQ(ChooseSkinData({&mainA, &only, &dialog}, w, false), &mainA);
}

}  // namespace
}  // namespace ruto
