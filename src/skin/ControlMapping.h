#pragma once
// Which control skin a child control of a skinned window gets: the further-classes list
// first, then one table of class tests in order, each gated by a member of the skin's
// control set. Pure: the widget is described by plain facts.

#include <QString>
#include <QStringList>
#include <vector>

#include "skin/SkinData.h"

namespace ruto {

enum class ControlKind {
  None,
  Tab,         // tab widget with tabs
  TabButtons,  // tab widget whose tabs look like buttons
  TabSheet,    // a page of a tab widget
  TabSet,      // a stand-alone tab bar
  ToolMenu,    // a tool-bar button's drop-down menu gets the item painters
  CheckBox,
  RadioButton,
  TrackBar,
  UpDown,  // spin-box arrows, the scroll arrows of a tab bar
  GroupBox,
  ToolBar,  // tool bar and its buttons
  StatusBar,
  ComboBox,
  DateTime,  // date edit with a calendar popup
  Edit,
  BitButton,
  Button,
  MenuButton,
  SpeedButton,
  Box,  // panels and embedded forms: the face colour
  Scrollbar,
  Header,
  Progress,
  Container  // nothing of its own; its children are mapped
};
QString ControlKindName(ControlKind kind);

// What the mapping needs to know of a widget.
struct ControlFacts {
  QStringList classes;  // class names, the widget's own first, then its bases
  int tag = 0;
  bool hasIcon = false;        // a push button showing an icon
  bool bitButton = false;      // a push button its window made as a bit button
  bool inUpDown = false;       // an arrow of an up-down widget (see IsUpDownClass)
  bool hasMenu = false;        // a push or tool button with a menu
  bool inToolBar = false;      // a tool button on a tool bar
  bool inTabBar = false;       // a tool button of a tab bar (its scroll arrows)
  bool ofTabWidget = false;    // a tab bar that belongs to a tab widget
  bool tabPage = false;        // a page of a tab widget
  bool calendarPopup = false;  // a date edit that opens a calendar
  bool insideCalendar = false;
  bool innerEdit = false;     // the line edit of a spin or combo box
  bool innerButton = false;   // a button a menu bar or tab bar makes for itself
  bool treeHeader = false;    // the header of a tree view
  bool embeddedForm = false;  // a dialog or main window placed inside a window
  bool frameSkinned = true;   // its window has a form skin
  bool hasTabsImage = true;   // the skin has a "Tabs" image
  QString tabStyle;           // dynamic property "tabStyle" of a tab widget
  bool is(const char* className) const;
};

struct ControlMapping {
  ControlKind kind = ControlKind::None;
  int row = 0;  // the table row that decided; -1 the further-classes list; 0 none
};

// One row of the class tests: the test, the gate (-1 none), the skin, and whether a gate
// that is off ends the mapping instead of going on to the next row.
struct ControlRow {
  int row;
  bool (*test)(const ControlFacts&);
  int gate;
  ControlKind (*kind)(const ControlFacts&);
  bool endsWhenOff;
};
const std::vector<ControlRow>& ControlRows();

// An up-down widget of arrow buttons is known by its class name, whatever its namespace.
bool IsUpDownClass(const QString& className);

ControlMapping MapControl(const ControlFacts& facts, const TSkinControlTypes& gates,
                          const QStringList& skin3rd, int disableTag = 99);

// The skin kind and gate of a further-classes line's kind ("progress", "nil", ...); false
// for a kind this program does not build.
bool Skin3rdKind(const QString& kind, ControlKind& out, int& gate);

}  // namespace ruto
