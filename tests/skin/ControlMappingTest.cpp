// Control mapping: tags, the further-classes list, gates that fall through or end the
// mapping, and the classes that are never skinned.
#include <gtest/gtest.h>

#include "skin/ControlMapping.h"

namespace ruto {
namespace {

ControlFacts facts(std::initializer_list<const char*> classes) {
  ControlFacts f;
  for (const char* c : classes) f.classes << QString::fromLatin1(c);
  return f;
}

TSkinControlTypes programGates() {
  return skinControls({xcMainMenu, xcPopupMenu, xcControlbar, xcCombo, xcCheckBox, xcRadioButton,
                       xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcPanel,
                       xcGroupBox, xcStatusBar, xcTab, xcSystemMenu});
}

TSkinControlTypes allGates() { return TSkinControlTypes().set(); }

TEST(ControlMapping, ClassesToKinds) {
  auto with = [](ControlFacts f, auto change) {
    change(f);
    return f;
  };
  const auto push = facts({"QPushButton", "QAbstractButton", "QWidget"});
  const auto tool = facts({"QToolButton", "QAbstractButton", "QWidget"});
  const auto tabs = facts({"QTabWidget", "QWidget"});
  const auto date = facts({"QDateEdit", "QDateTimeEdit", "QAbstractSpinBox", "QWidget"});
  const auto header = facts({"QHeaderView", "QAbstractItemView", "QAbstractScrollArea", "QFrame"});
  struct Case {
    const char* what;
    ControlFacts f;
    ControlKind kind;
    int row;
  } cases[] = {
      {"push", push, ControlKind::Button, 34},
      {"push with icon", with(push, [](auto& f) { f.hasIcon = true; }), ControlKind::BitButton, 27},
      {"push with menu", with(push, [](auto& f) { f.hasMenu = true; }), ControlKind::MenuButton,
       34},
      {"tool button", tool, ControlKind::SpeedButton, 28},
      {"tool-bar button", with(tool, [](auto& f) { f.inToolBar = true; }), ControlKind::ToolBar,
       20},
      {"tool-bar button with menu", with(tool, [](auto& f) { f.inToolBar = f.hasMenu = true; }),
       ControlKind::ToolMenu, 3},
      {"tab-bar arrow", with(tool, [](auto& f) { f.inTabBar = true; }), ControlKind::UpDown, 2},
      {"tab widget", tabs, ControlKind::Tab, 2},
      {"tab widget of buttons", with(tabs, [](auto& f) { f.tabStyle = QStringLiteral("Buttons"); }),
       ControlKind::TabButtons, 2},
      {"tab widget without image", with(tabs, [](auto& f) { f.hasTabsImage = false; }),
       ControlKind::Tab, 9},
      {"tab page", with(facts({"QWidget"}), [](auto& f) { f.tabPage = true; }),
       ControlKind::TabSheet, 6},
      {"tab bar alone", facts({"QTabBar", "QWidget"}), ControlKind::TabSet, 5},
      {"tab bar of a tab widget",
       with(facts({"QTabBar", "QWidget"}), [](auto& f) { f.ofTabWidget = true; }),
       ControlKind::None, 0},
      {"check", facts({"QCheckBox", "QAbstractButton"}), ControlKind::CheckBox, 10},
      {"radio", facts({"QRadioButton", "QAbstractButton"}), ControlKind::RadioButton, 19},
      {"slider", facts({"QSlider", "QAbstractSlider"}), ControlKind::TrackBar, 11},
      {"spin", facts({"QSpinBox", "QAbstractSpinBox"}), ControlKind::UpDown, 12},
      {"group", facts({"QGroupBox", "QWidget"}), ControlKind::GroupBox, 18},
      {"tool bar", facts({"QToolBar", "QWidget"}), ControlKind::ToolBar, 20},
      {"status bar", facts({"QStatusBar", "QWidget"}), ControlKind::StatusBar, 21},
      {"combo", facts({"QComboBox", "QWidget"}), ControlKind::ComboBox, 23},
      {"date with calendar", with(date, [](auto& f) { f.calendarPopup = true; }),
       ControlKind::DateTime, 24},
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
      {"tree header", with(header, [](auto& f) { f.treeHeader = true; }), ControlKind::Header, 33},
      {"table header", header, ControlKind::None, 33},
      {"line edit", facts({"QLineEdit", "QWidget"}), ControlKind::Edit, 35},
      {"embedded form", with(facts({"QDialog", "QWidget"}), [](auto& f) { f.embeddedForm = true; }),
       ControlKind::Box, 37},
      {"plain widget", facts({"QWidget"}), ControlKind::None, 0},
      {"progress is only listed", facts({"QProgressBar", "QWidget"}), ControlKind::Progress, -1},
      {"tag 99", with(push, [](auto& f) { f.tag = 99; }), ControlKind::None, 0},
      {"tag 98", with(push, [](auto& f) { f.tag = 98; }), ControlKind::Button, 34},
      {"in a calendar", with(tool, [](auto& f) { f.insideCalendar = true; }), ControlKind::None, 0},
      {"menu-bar button", with(tool, [](auto& f) { f.innerButton = true; }), ControlKind::None, 0},
      {"inner edit", with(facts({"QLineEdit"}), [](auto& f) { f.innerEdit = true; }),
       ControlKind::None, 0},
  };
  for (const Case& c : cases) {
    const ControlMapping m = MapControl(c.f, allGates(), DefaultSkin3rd());
    EXPECT_EQ(m.kind, c.kind) << c.what;
    EXPECT_EQ(m.row, c.row) << c.what;
  }
}

TEST(ControlMapping, GatesFallThroughOrEnd) {
  const auto push = facts({"QPushButton", "QAbstractButton"});
  ControlFacts icon = push;
  icon.hasIcon = true;
  auto without = [](TSkinControlType g) { return allGates().reset(static_cast<size_t>(g)); };

  // A bit button with its gate off stays unskinned: the mapping ends at its row.
  const ControlMapping bit = MapControl(icon, without(xcBitBtn), DefaultSkin3rd());
  EXPECT_EQ(bit.kind, ControlKind::None);
  EXPECT_EQ(bit.row, 27);
  // A spin box without up-downs keeps the base look whole, even with edits skinned.
  EXPECT_EQ(MapControl(facts({"QSpinBox", "QAbstractSpinBox"}), without(xcSpin), {}).kind,
            ControlKind::None);
  // A tab widget with tabs off falls through every later row.
  EXPECT_EQ(MapControl(facts({"QTabWidget", "QWidget"}), without(xcTab), {}).kind,
            ControlKind::None);
  // A tool-bar button's menu needs no gate; the button itself needs the tool-bar gate.
  ControlFacts tb = facts({"QToolButton"});
  tb.inToolBar = true;
  EXPECT_EQ(MapControl(tb, programGates(), {}).kind, ControlKind::None);
  tb.hasMenu = true;
  EXPECT_EQ(MapControl(tb, skinControls({}), {}).kind, ControlKind::ToolMenu);
  tb.frameSkinned = false;
  EXPECT_EQ(MapControl(tb, skinControls({}), {}).kind, ControlKind::None);
  // Tab-bar arrows go with the tabs, not with the spin boxes.
  ControlFacts arrows = facts({"QToolButton"});
  arrows.inTabBar = true;
  EXPECT_EQ(MapControl(arrows, programGates(), {}).kind, ControlKind::UpDown);
  EXPECT_EQ(MapControl(arrows, without(xcTab), {}).kind, ControlKind::None);
  // The program's set leaves sliders to the base look.
  EXPECT_EQ(MapControl(facts({"QSlider"}), programGates(), {}).kind, ControlKind::None);
}

TEST(ControlMapping, FurtherClassesDecideAlone) {
  const auto push = facts({"QPushButton", "QAbstractButton"});
  const auto bar = facts({"QProgressBar", "QWidget"});
  // "nil" keeps a class unskinned although a class test would take it.
  EXPECT_EQ(MapControl(push, allGates(), {QStringLiteral("QPushButton=nil")}).kind,
            ControlKind::None);
  // The kind is matched without regard to case; the class name too.
  EXPECT_EQ(MapControl(push, allGates(), {QStringLiteral("qpushbutton=SpeedButton")}).kind,
            ControlKind::SpeedButton);
  // A listed kind whose gate is off stays unskinned: the class tests are not tried.
  EXPECT_EQ(
      MapControl(push, allGates().reset(xcSpeedButton), {QStringLiteral("QPushButton=speedbutton")})
          .kind,
      ControlKind::None);
  EXPECT_EQ(MapControl(bar, allGates().reset(xcProgress), DefaultSkin3rd()).kind,
            ControlKind::None);
  // Unknown kinds, and a line for another class that only starts alike, do not take it.
  EXPECT_EQ(MapControl(push, allGates(), {QStringLiteral("QPushButton=mediaplayer")}).kind,
            ControlKind::None);
  EXPECT_EQ(MapControl(push, allGates(), {QStringLiteral("QPushButtonX=nil")}).kind,
            ControlKind::Button);
  // The first matching line wins.
  EXPECT_EQ(
      MapControl(bar, allGates(),
                 {QStringLiteral("QProgressBar=progress"), QStringLiteral("QProgressBar=nil")})
          .kind,
      ControlKind::Progress);
  // Without the list a progress bar is no control of any row.
  EXPECT_EQ(MapControl(bar, allGates(), {}).kind, ControlKind::None);
}

TEST(ControlMapping, RowsInOrder) {
  int last = 0;
  for (const ControlRow& r : ControlRows()) {
    EXPECT_GE(r.row, last);
    last = r.row;
  }
}

}  // namespace
}  // namespace ruto
