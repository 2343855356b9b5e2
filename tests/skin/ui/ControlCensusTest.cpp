// Every control of every registered window, skinned with the program's own skin: its kind is
// listed in test-output/skin/controls/census.txt, and a standard control that no skin takes
// fails unless a rule of the mapping keeps it plain (tag, gate, calendar, inner edit, ...).
#include <gtest/gtest.h>

#include "WindowCensus.h"
#include "app/SharedRecords.h"

namespace ruto {
namespace {

using namespace test;

// The standard controls some skin is meant for.
bool standardControl(const QWidget* w) {
  for (const char* c : {"QAbstractButton", "QLineEdit", "QComboBox", "QAbstractSpinBox",
                        "QAbstractScrollArea", "QScrollBar", "QStatusBar", "QGroupBox",
                        "QTabWidget", "QTabBar", "QProgressBar", "QSlider", "QToolBar"})
    if (w->inherits(c)) return true;
  return false;
}

// Why a standard control may keep the base look; empty when nothing explains it.
QString plainReason(const QWidget* w, const TSkinData& skin) {
  const ControlFacts f = ReadControlFacts(w, &skin);
  if (f.tag == skin.DisableTag) return QStringLiteral("tag");
  if (f.insideCalendar) return QStringLiteral("calendar");
  if (f.innerEdit) return QStringLiteral("inner edit");
  if (f.ofTabWidget) return QStringLiteral("tabs of a tab widget");
  if ((f.is("QHeaderView") && !f.treeHeader) || f.is("QTableCornerButton"))
    return QStringLiteral("table header");
  if (f.innerButton) return QStringLiteral("part of its bar");
  // The kind with every gate on was given up only because its gate is off.
  const ControlKind all =
      MapControl(f, TSkinControlTypes().set(), skin.Skin3rd, skin.DisableTag).kind;
  return all != ControlKind::None ? QStringLiteral("gate off") : QString();
}

class ControlCensus : public WindowCensusTest {
 protected:
  // Lists and checks the controls of one shown window.
  void inspect(QWidget* win, const QString& name) {
    auto* style = qobject_cast<const SkinStyle*>(QApplication::style());
    ASSERT_NE(style, nullptr);
    const TSkinData& skin = *TheMainWindow->skinData;
    const bool windowSkinned = style->skinOf(win) != nullptr;
    lines_ << QStringLiteral("== %1 (%2)%3")
                  .arg(name, QString::fromLatin1(win->metaObject()->className()),
                       windowSkinned ? QString() : QStringLiteral(" not skinned"));
    if (!windowSkinned) return;
    for (QWidget* w : win->findChildren<QWidget*>()) {
      if (w->window() != win || !standardControl(w)) continue;
      const SkinnedControl k = SkinnedKind(*style, w);
      const QString reason = k.kind == ControlKind::None ? plainReason(w, skin) : QString();
      lines_ << QStringLiteral("  %1 %2: %3%4")
                    .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName(),
                         ControlKindName(k.kind),
                         reason.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(reason));
      ++controls_;
      if (k.kind == ControlKind::None) {
        EXPECT_FALSE(reason.isEmpty()) << qPrintable(name) << ": " << w->metaObject()->className()
                                       << " " << qPrintable(w->objectName()) << " has no skin";
      }
    }
    saveSkinPng(win->grab().toImage(), QStringLiteral("controls/census-") + name);
  }

  QStringList lines_;
  int controls_ = 0;
};

TEST_F(ControlCensus, EveryControlOfEveryWindowHasItsSkin) {
  ASSERT_TRUE(CreateMainWindows());
  TheMainWindow->resize(1000, 700);
  TheMainWindow->show();
  settle();
  TheMainWindow->runFirstActivation();
  settle();
  skinOn();
  settle();
  QDir().mkpath(outputDir() + QStringLiteral("/skin/controls"));
  inspect(TheMainWindow, QStringLiteral("main"));
  ViewState.ClientNewMode = true;
  ViewState.ProgramNewMode = true;
  for (const Opener& o : kOpeners)
    openEachModal(o, [&](QWidget* w, const QString& name) { inspect(w, name); });
  MsgRequest.Kind = MsgKind::QuestionYesNo;
  MsgRequest.Text = kExitQuestion;
  MessageBox box(TheMainWindow);
  box.show();
  settle();
  inspect(&box, QStringLiteral("message"));
  box.close();
  EXPECT_GT(controls_, 20);
  QFile out(outputDir() + QStringLiteral("/skin/controls/census.txt"));
  ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
  out.write(lines_.join(QLatin1Char('\n')).toUtf8() + '\n');
}

}  // namespace
}  // namespace ruto
