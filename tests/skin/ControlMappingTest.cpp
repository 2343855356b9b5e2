// Control mapping: tags, the further-classes list, gates that fall through or end the
// mapping, and the classes that are never skinned.
#include <gtest/gtest.h>

#include <tuple>

#include "skin/ControlMapping.h"
#include "skin/TestSkin.h"

namespace ruto {
namespace {

using test::programGates;

ControlFacts facts(std::initializer_list<const char*> classes) {
  ControlFacts f;
  for (const char* c : classes) f.classes << QString::fromLatin1(c);
  return f;
}

TSkinControlTypes allGates() { return TSkinControlTypes().set(); }

template <class Change>
ControlFacts with(ControlFacts f, Change change) {
  change(f);
  return f;
}
ControlFacts with(ControlFacts f, bool ControlFacts::*flag) {
  f.*flag = true;
  return f;
}

TEST(ControlMapping, ClassesToKinds) {
  using K = ControlKind;
  using F = ControlFacts;
  const auto push = facts({"QPushButton", "QAbstractButton", "QWidget"});
  const auto tool = facts({"QToolButton", "QAbstractButton", "QWidget"});
  const auto tabs = facts({"QTabWidget", "QWidget"});
  const auto date = facts({"QDateEdit", "QDateTimeEdit", "QAbstractSpinBox", "QWidget"});
  const auto header = facts({"QHeaderView", "QAbstractItemView", "QAbstractScrollArea", "QFrame"});
  const std::tuple<const char*, ControlFacts, ControlKind, int> cases[] = {
      {"push", push, K::Button, 34},
      {"push with icon", with(push, &F::hasIcon), K::BitButton, 27},
      {"push made a bit button", with(push, &F::bitButton), K::BitButton, 27},
      {"push with menu", with(push, &F::hasMenu), K::MenuButton, 34},
      {"tool button", tool, K::SpeedButton, 28},
      {"tool-bar button", with(tool, &F::inToolBar), K::ToolBar, 20},
      {"tool-bar button with menu", with(tool, [](auto& f) { f.inToolBar = f.hasMenu = true; }),
       K::ToolMenu, 3},
      {"tab-bar arrow", with(tool, &F::inTabBar), K::UpDown, 2},
      {"tab widget", tabs, K::Tab, 2},
      {"tab widget of buttons", with(tabs, [](auto& f) { f.tabStyle = QStringLiteral("Buttons"); }),
       K::TabButtons, 2},
      {"tab widget without image", with(tabs, [](auto& f) { f.hasTabsImage = false; }), K::Tab, 9},
      {"tab page", with(facts({"QWidget"}), &F::tabPage), K::TabSheet, 6},
      {"tab bar alone", facts({"QTabBar", "QWidget"}), K::TabSet, 5},
      {"tab bar of a tab widget", with(facts({"QTabBar", "QWidget"}), &F::ofTabWidget), K::None, 0},
      {"check", facts({"QCheckBox", "QAbstractButton"}), K::CheckBox, 10},
      {"radio", facts({"QRadioButton", "QAbstractButton"}), K::RadioButton, 19},
      {"slider", facts({"QSlider", "QAbstractSlider"}), K::TrackBar, 11},
      {"spin", facts({"QSpinBox", "QAbstractSpinBox"}), K::UpDown, 12},
      {"up-down", facts({"ruto::TUpDown", "QWidget"}), K::UpDown, 12},
      {"up-down arrow", with(tool, &F::inUpDown), K::UpDown, 12},
      {"group", facts({"QGroupBox", "QWidget"}), K::GroupBox, 18},
      {"tool bar", facts({"QToolBar", "QWidget"}), K::ToolBar, 20},
      {"status bar", facts({"QStatusBar", "QWidget"}), K::StatusBar, 21},
      {"combo", facts({"QComboBox", "QWidget"}), K::ComboBox, 23},
      {"date with calendar", with(date, &F::calendarPopup), K::DateTime, 24},
      {"date without calendar", date, K::Edit, 24},
      {"time edit", facts({"QTimeEdit", "QDateTimeEdit", "QAbstractSpinBox"}), K::Edit, 24},
      {"panel", facts({"QFrame", "QWidget"}), K::Box, 29},
      {"label is no panel", facts({"QLabel", "QFrame", "QWidget"}), K::None, 0},
      {"memo", facts({"QPlainTextEdit", "QAbstractScrollArea", "QFrame"}), K::Scrollbar, 31},
      {"grid", facts({"ruto::TSortingGrid", "QAbstractScrollArea", "QFrame"}), K::Scrollbar, 32},
      {"list", facts({"QListWidget", "QListView", "QAbstractItemView", "QAbstractScrollArea"}),
       K::Scrollbar, 33},
      {"scroll bar", facts({"QScrollBar", "QAbstractSlider"}), K::Scrollbar, 33},
      {"tree header", with(header, &F::treeHeader), K::Header, 33},
      {"table header", header, K::None, 33},
      {"line edit", facts({"QLineEdit", "QWidget"}), K::Edit, 35},
      {"embedded form", with(facts({"QDialog", "QWidget"}), &F::embeddedForm), K::Box, 37},
      {"plain widget", facts({"QWidget"}), K::None, 0},
      {"progress is only listed", facts({"QProgressBar", "QWidget"}), K::Progress, -1},
      {"tag 99", with(push, [](auto& f) { f.tag = 99; }), K::None, 0},
      {"tag 98", with(push, [](auto& f) { f.tag = 98; }), K::Button, 34},
      {"in a calendar", with(tool, &F::insideCalendar), K::None, 0},
      {"menu-bar button", with(tool, &F::innerButton), K::None, 0},
      {"inner edit", with(facts({"QLineEdit"}), &F::innerEdit), K::None, 0}};
  for (const auto& [what, f, kind, row] : cases) {
    const ControlMapping m = MapControl(f, allGates(), DefaultSkin3rd());
    EXPECT_EQ(m.kind, kind) << what;
    EXPECT_EQ(m.row, row) << what;
  }
}

// A gate that is off ends the mapping at its row (bit buttons) or lets it fall through
// the later rows (tabs); a spin box without up-downs keeps the base look whole, even with
// edits skinned; a tool-bar button's menu needs no gate but a skinned frame, the button
// itself the tool-bar gate; tab-bar arrows go with the tabs, not with the spin boxes; the
// program's set leaves sliders to the base look.
TEST(ControlMapping, GatesFallThroughOrEnd) {
  using K = ControlKind;
  using F = ControlFacts;
  auto without = [](TSkinControlType g) { return allGates().reset(static_cast<size_t>(g)); };
  const auto icon = with(facts({"QPushButton"}), &F::hasIcon);
  const auto tool = with(facts({"QToolButton"}), &F::inToolBar);
  const auto toolMenu = with(tool, &F::hasMenu);
  const auto arrows = with(facts({"QToolButton"}), &F::inTabBar);
  const std::tuple<const char*, ControlFacts, TSkinControlTypes, ControlKind> cases[] = {
      {"bit button", icon, without(xcBitBtn), K::None},
      {"bit button made so", with(facts({"QPushButton"}), &F::bitButton), without(xcBitBtn),
       K::None},
      {"up-down arrow", with(facts({"QToolButton"}), &F::inUpDown), programGates(), K::None},
      {"spin box", facts({"QSpinBox", "QAbstractSpinBox"}), without(xcSpin), K::None},
      {"tab widget", facts({"QTabWidget", "QWidget"}), without(xcTab), K::None},
      {"tool-bar button", tool, programGates(), K::None},
      {"tool-bar menu", toolMenu, skinControls({}), K::ToolMenu},
      {"tool-bar menu, frame plain", with(toolMenu, [](auto& f) { f.frameSkinned = false; }),
       skinControls({}), K::None},
      {"tab-bar arrows", arrows, programGates(), K::UpDown},
      {"tab-bar arrows, tabs off", arrows, without(xcTab), K::None},
      {"slider", facts({"QSlider"}), programGates(), K::None}};
  for (const auto& [what, f, gates, kind] : cases)
    EXPECT_EQ(MapControl(f, gates, {}).kind, kind) << what;
  EXPECT_EQ(MapControl(icon, without(xcBitBtn), DefaultSkin3rd()).row, 27);
}

// A further-classes line decides alone: "nil" keeps a class plain that a class test would
// take, a listed kind whose gate is off stays plain, unknown kinds and a line for a class
// that only starts alike take nothing, the first matching line wins; names and kinds are
// matched without regard to case. Without the list a progress bar is no control of any row.
TEST(ControlMapping, FurtherClassesDecideAlone) {
  const auto push = facts({"QPushButton", "QAbstractButton"});
  const auto bar = facts({"QProgressBar", "QWidget"});
  const std::tuple<ControlFacts, TSkinControlTypes, QStringList, ControlKind> cases[] = {
      {push, allGates(), {"QPushButton=nil"}, ControlKind::None},
      {push, allGates(), {"qpushbutton=SpeedButton"}, ControlKind::SpeedButton},
      {push, allGates().reset(xcSpeedButton), {"QPushButton=speedbutton"}, ControlKind::None},
      {bar, allGates().reset(xcProgress), DefaultSkin3rd(), ControlKind::None},
      {push, allGates(), {"QPushButton=mediaplayer"}, ControlKind::None},
      {push, allGates(), {"QPushButtonX=nil"}, ControlKind::Button},
      {bar, allGates(), {"QProgressBar=progress", "QProgressBar=nil"}, ControlKind::Progress},
      {bar, allGates(), {}, ControlKind::None}};
  for (const auto& [f, gates, lines, want] : cases)
    EXPECT_EQ(MapControl(f, gates, lines).kind, want) << lines.join(' ').toStdString();
}

}  // namespace
}  // namespace ruto
