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
  const auto push = facts({"QPushButton", "QAbstractButton", "QWidget"});
  const auto tool = facts({"QToolButton", "QAbstractButton", "QWidget"});
  const auto tabs = facts({"QTabWidget", "QWidget"});
  const auto date = facts({"QDateEdit", "QDateTimeEdit", "QAbstractSpinBox", "QWidget"});
  const auto header = facts({"QHeaderView", "QAbstractItemView", "QAbstractScrollArea", "QFrame"});
  const std::tuple<const char*, ControlFacts, ControlKind, int> cases[] = {
      {"push", push, ControlKind::Button, 34},
      {"push with icon", with(push, &ControlFacts::hasIcon), ControlKind::BitButton, 27},
      {"push with menu", with(push, &ControlFacts::hasMenu), ControlKind::MenuButton, 34},
      {"tool button", tool, ControlKind::SpeedButton, 28},
      {"tool-bar button", with(tool, &ControlFacts::inToolBar), ControlKind::ToolBar, 20},
      {"tool-bar button with menu", with(tool, [](auto& f) { f.inToolBar = f.hasMenu = true; }),
       ControlKind::ToolMenu, 3},
      {"tab-bar arrow", with(tool, &ControlFacts::inTabBar), ControlKind::UpDown, 2},
      {"tab widget", tabs, ControlKind::Tab, 2},
      {"tab widget of buttons", with(tabs, [](auto& f) { f.tabStyle = QStringLiteral("Buttons"); }),
       ControlKind::TabButtons, 2},
      {"tab widget without image", with(tabs, [](auto& f) { f.hasTabsImage = false; }),
       ControlKind::Tab, 9},
      {"tab page", with(facts({"QWidget"}), &ControlFacts::tabPage), ControlKind::TabSheet, 6},
      {"tab bar alone", facts({"QTabBar", "QWidget"}), ControlKind::TabSet, 5},
      {"tab bar of a tab widget", with(facts({"QTabBar", "QWidget"}), &ControlFacts::ofTabWidget),
       ControlKind::None, 0},
      {"check", facts({"QCheckBox", "QAbstractButton"}), ControlKind::CheckBox, 10},
      {"radio", facts({"QRadioButton", "QAbstractButton"}), ControlKind::RadioButton, 19},
      {"slider", facts({"QSlider", "QAbstractSlider"}), ControlKind::TrackBar, 11},
      {"spin", facts({"QSpinBox", "QAbstractSpinBox"}), ControlKind::UpDown, 12},
      {"group", facts({"QGroupBox", "QWidget"}), ControlKind::GroupBox, 18},
      {"tool bar", facts({"QToolBar", "QWidget"}), ControlKind::ToolBar, 20},
      {"status bar", facts({"QStatusBar", "QWidget"}), ControlKind::StatusBar, 21},
      {"combo", facts({"QComboBox", "QWidget"}), ControlKind::ComboBox, 23},
      {"date with calendar", with(date, &ControlFacts::calendarPopup), ControlKind::DateTime, 24},
      {"date without calendar", date, ControlKind::Edit, 24},
      {"time edit", facts({"QTimeEdit", "QDateTimeEdit", "QAbstractSpinBox"}), ControlKind::Edit,
       24},
      {"panel", facts({"QFrame", "QWidget"}), ControlKind::Box, 29},
      {"label is no panel", facts({"QLabel", "QFrame", "QWidget"}), ControlKind::None, 0},
      {"memo", facts({"QPlainTextEdit", "QAbstractScrollArea", "QFrame"}), ControlKind::Scrollbar,
       31},
      {"grid", facts({"ruto::TSortingGrid", "QAbstractScrollArea", "QFrame"}),
       ControlKind::Scrollbar, 32},
      {"list", facts({"QListWidget", "QListView", "QAbstractItemView", "QAbstractScrollArea"}),
       ControlKind::Scrollbar, 33},
      {"scroll bar", facts({"QScrollBar", "QAbstractSlider"}), ControlKind::Scrollbar, 33},
      {"tree header", with(header, &ControlFacts::treeHeader), ControlKind::Header, 33},
      {"table header", header, ControlKind::None, 33},
      {"line edit", facts({"QLineEdit", "QWidget"}), ControlKind::Edit, 35},
      {"embedded form", with(facts({"QDialog", "QWidget"}), &ControlFacts::embeddedForm),
       ControlKind::Box, 37},
      {"plain widget", facts({"QWidget"}), ControlKind::None, 0},
      {"progress is only listed", facts({"QProgressBar", "QWidget"}), ControlKind::Progress, -1},
      {"tag 99", with(push, [](auto& f) { f.tag = 99; }), ControlKind::None, 0},
      {"tag 98", with(push, [](auto& f) { f.tag = 98; }), ControlKind::Button, 34},
      {"in a calendar", with(tool, &ControlFacts::insideCalendar), ControlKind::None, 0},
      {"menu-bar button", with(tool, &ControlFacts::innerButton), ControlKind::None, 0},
      {"inner edit", with(facts({"QLineEdit"}), &ControlFacts::innerEdit), ControlKind::None, 0}};
  for (const auto& [what, f, kind, row] : cases) {
    const ControlMapping m = MapControl(f, allGates(), DefaultSkin3rd());
    EXPECT_EQ(std::pair(m.kind, m.row), std::pair(kind, row)) << what;
  }
}

// A gate that is off ends the mapping at its row (bit buttons) or lets it fall through
// the later rows (tabs); a spin box without up-downs keeps the base look whole, even with
// edits skinned; a tool-bar button's menu needs no gate but a skinned frame, the button
// itself the tool-bar gate; tab-bar arrows go with the tabs, not with the spin boxes; the
// program's set leaves sliders to the base look.
TEST(ControlMapping, GatesFallThroughOrEnd) {
  auto without = [](TSkinControlType g) { return allGates().reset(static_cast<size_t>(g)); };
  const auto icon = with(facts({"QPushButton"}), &ControlFacts::hasIcon);
  const auto tool = with(facts({"QToolButton"}), &ControlFacts::inToolBar);
  const auto toolMenu = with(tool, &ControlFacts::hasMenu);
  const auto arrows = with(facts({"QToolButton"}), &ControlFacts::inTabBar);
  const std::tuple<const char*, ControlFacts, TSkinControlTypes, ControlKind> cases[] = {
      {"bit button", icon, without(xcBitBtn), ControlKind::None},
      {"spin box", facts({"QSpinBox", "QAbstractSpinBox"}), without(xcSpin), ControlKind::None},
      {"tab widget", facts({"QTabWidget", "QWidget"}), without(xcTab), ControlKind::None},
      {"tool-bar button", tool, programGates(), ControlKind::None},
      {"tool-bar menu", toolMenu, skinControls({}), ControlKind::ToolMenu},
      {"tool-bar menu, frame plain", with(toolMenu, [](auto& f) { f.frameSkinned = false; }),
       skinControls({}), ControlKind::None},
      {"tab-bar arrows", arrows, programGates(), ControlKind::UpDown},
      {"tab-bar arrows, tabs off", arrows, without(xcTab), ControlKind::None},
      {"slider", facts({"QSlider"}), programGates(), ControlKind::None}};
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
