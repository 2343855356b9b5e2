#include "skin/ControlMapping.h"

namespace ruto {

namespace {

using F = const ControlFacts&;

ControlKind tabKind(F f) {
  return f.tabStyle.compare(QLatin1String("buttons"), Qt::CaseInsensitive) == 0
             ? ControlKind::TabButtons
             : ControlKind::Tab;
}
template <ControlKind K>
ControlKind fixed(F) {
  return K;
}
ControlKind dateKind(F f) {
  return f.is("QDateEdit") && f.calendarPopup ? ControlKind::DateTime : ControlKind::Edit;
}
ControlKind scrollKind(F f) {
  if (f.is("QHeaderView")) return f.treeHeader ? ControlKind::Header : ControlKind::None;
  return ControlKind::Scrollbar;
}
ControlKind pushKind(F f) { return f.hasMenu ? ControlKind::MenuButton : ControlKind::Button; }

bool spinBox(F f) {
  return (f.is("QAbstractSpinBox") && !f.is("QDateTimeEdit")) || IsUpDownClass(f.classes.front());
}
bool toolButton(F f) { return f.is("QToolButton"); }

// In the order of the mapping; rows of classes this program does not have are left out.
const std::vector<ControlRow> kControlRows = {
    {2, [](F f) { return f.is("QTabWidget") && f.hasTabsImage; }, xcTab, tabKind, false},
    // The arrow pair a tab bar shows when its tabs do not fit belongs to the tabs.
    {2, [](F f) { return toolButton(f) && f.inTabBar; }, xcTab, fixed<ControlKind::UpDown>, false},
    {3, [](F f) { return toolButton(f) && f.inToolBar && f.hasMenu && f.frameSkinned; }, -1,
     fixed<ControlKind::ToolMenu>, false},
    {5, [](F f) { return f.is("QTabBar") && !f.ofTabWidget; }, xcTab, fixed<ControlKind::TabSet>,
     false},
    {6, [](F f) { return f.tabPage; }, xcTab, fixed<ControlKind::TabSheet>, false},
    {9, [](F f) { return f.is("QTabWidget"); }, xcTab, tabKind, false},
    {10, [](F f) { return f.is("QCheckBox"); }, xcCheckBox, fixed<ControlKind::CheckBox>, false},
    {11, [](F f) { return f.is("QSlider"); }, xcTrackBar, fixed<ControlKind::TrackBar>, false},
    {12, [](F f) { return spinBox(f); }, xcSpin, fixed<ControlKind::UpDown>, false},
    // The arrows of an up-down are the up-down's: with its gate off they keep the base look.
    {12, [](F f) { return toolButton(f) && f.inUpDown; }, xcSpin, fixed<ControlKind::UpDown>, true},
    {18, [](F f) { return f.is("QGroupBox"); }, xcPanel, fixed<ControlKind::GroupBox>, false},
    {19, [](F f) { return f.is("QRadioButton"); }, xcRadioButton, fixed<ControlKind::RadioButton>,
     false},
    {20, [](F f) { return f.is("QToolBar") || (toolButton(f) && f.inToolBar); }, xcToolbar,
     fixed<ControlKind::ToolBar>, false},
    {21, [](F f) { return f.is("QStatusBar"); }, xcStatusBar, fixed<ControlKind::StatusBar>, false},
    {23, [](F f) { return f.is("QComboBox"); }, xcCombo, fixed<ControlKind::ComboBox>, false},
    {24, [](F f) { return f.is("QDateTimeEdit"); }, xcEdit, dateKind, false},
    {27, [](F f) { return f.is("QPushButton") && (f.hasIcon || f.bitButton); }, xcBitBtn,
     fixed<ControlKind::BitButton>, true},
    {28, [](F f) { return toolButton(f) && !f.inToolBar && !f.inTabBar; }, xcSpeedButton,
     fixed<ControlKind::SpeedButton>, false},
    {29, [](F f) { return !f.classes.isEmpty() && f.classes.front() == QLatin1String("QFrame"); },
     xcPanel, fixed<ControlKind::Box>, false},
    {31, [](F f) { return f.is("QTextEdit") || f.is("QPlainTextEdit"); }, xcScrollbar,
     fixed<ControlKind::Scrollbar>, false},
    {32, [](F f) { return f.is("ruto::TSortingGrid") || f.is("QTableView"); }, xcScrollbar,
     fixed<ControlKind::Scrollbar>, false},
    {33, [](F f) { return f.is("QAbstractScrollArea") || f.is("QScrollBar"); }, xcScrollbar,
     scrollKind, false},
    {34, [](F f) { return f.is("QPushButton"); }, xcButton, pushKind, false},
    // A spin box is the up-down's: with its gate off it keeps the base look whole.
    {35, [](F f) { return f.is("QLineEdit"); }, xcEdit, fixed<ControlKind::Edit>, false},
    {37, [](F f) { return f.embeddedForm; }, -1, fixed<ControlKind::Box>, false},
};

struct Skin3rdRow {
  const char* kind;
  int gate;
  ControlKind skin;
};
// Kinds of the further-classes list that have a counterpart here; "nil" and "container"
// make no skin.
const Skin3rdRow kSkin3rdKinds[] = {
    {"nil", -1, ControlKind::None},
    {"container", -1, ControlKind::Container},
    {"combobox", xcCombo, ControlKind::ComboBox},
    {"edit", xcEdit, ControlKind::Edit},
    {"radiobutton", xcRadioButton, ControlKind::RadioButton},
    {"panel", xcPanel, ControlKind::Box},
    {"trackbar", xcButton, ControlKind::TrackBar},
    {"button", xcButton, ControlKind::Button},
    {"datetimepicker", xcCombo, ControlKind::DateTime},
    {"bitbtn", xcButton, ControlKind::BitButton},
    {"pngbitbtn", xcButton, ControlKind::BitButton},
    {"menubtn", xcButton, ControlKind::MenuButton},
    {"speedbutton", xcSpeedButton, ControlKind::SpeedButton},
    {"tab", xcTab, ControlKind::Tab},
    {"advpagecontrol", xcTab, ControlKind::Tab},
    {"progress", xcProgress, ControlKind::Progress},
    {"scrollbar", xcScrollbar, ControlKind::Scrollbar},
    {"singlescrollbar", xcScrollbar, ControlKind::Scrollbar},
    {"embedscrollbar", xcScrollbar, ControlKind::Scrollbar},
    {"groupbox", xcGroupBox, ControlKind::GroupBox},
    {"radiogroup", xcGroupBox, ControlKind::GroupBox},
    {"checkgroup", xcGroupBox, ControlKind::GroupBox},
    {"checkbox", xcCheckBox, ControlKind::CheckBox},
};

bool gateOn(const TSkinControlTypes& gates, int gate) {
  return gate < 0 || gates.test(static_cast<size_t>(gate));
}

}  // namespace

bool ControlFacts::is(const char* className) const {
  return classes.contains(QLatin1String(className));
}

const std::vector<ControlRow>& ControlRows() { return kControlRows; }

bool IsUpDownClass(const QString& className) {
  const QString name = className.mid(className.lastIndexOf(QLatin1Char(':')) + 1);
  return name.compare(QLatin1String("TUpDown"), Qt::CaseInsensitive) == 0 ||
         name.compare(QLatin1String("TSpinButton"), Qt::CaseInsensitive) == 0;
}

bool Skin3rdKind(const QString& kind, ControlKind& out, int& gate) {
  for (const Skin3rdRow& r : kSkin3rdKinds)
    if (kind.compare(QLatin1String(r.kind), Qt::CaseInsensitive) == 0) {
      out = r.skin;
      gate = r.gate;
      return true;
    }
  return false;
}

ControlMapping MapControl(const ControlFacts& f, const TSkinControlTypes& gates,
                          const QStringList& skin3rd, int disableTag) {
  if (f.tag == disableTag || f.insideCalendar || f.innerEdit || f.innerButton ||
      f.classes.isEmpty())
    return {};
  // A listed class is decided by its line alone, whatever the class tests would say.
  const QString key = f.classes.front().toLower() + QLatin1Char('=');
  for (const QString& line : skin3rd) {
    if (!line.toLower().startsWith(key)) continue;
    ControlKind kind = ControlKind::None;
    int gate = -1;
    if (!Skin3rdKind(line.mid(key.size(), 50).trimmed(), kind, gate) || !gateOn(gates, gate))
      return {ControlKind::None, -1};
    return {kind, -1};
  }
  for (const ControlRow& r : kControlRows) {
    if (!r.test(f)) continue;
    if (!gateOn(gates, r.gate)) {
      if (r.endsWhenOff) return {ControlKind::None, r.row};
      continue;
    }
    return {r.kind(f), r.row};
  }
  return {};
}

QString ControlKindName(ControlKind kind) {
  static const char* const kNames[] = {
      "none",      "tab",        "tab buttons", "tab sheet",   "tab set",
      "tool menu", "check box",  "radio",       "track bar",   "up-down",
      "group box", "tool bar",   "status bar",  "combo",       "date",
      "edit",      "bit button", "button",      "menu button", "speed button",
      "box",       "scroll bar", "header",      "progress",    "container"};
  return QString::fromLatin1(kNames[static_cast<int>(kind)]);
}

}  // namespace ruto
