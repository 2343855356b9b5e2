#include "skin/ui/ControlSkins.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QCursor>
#include <QDateTimeEdit>
#include <QDialog>
#include <QHash>
#include <QHeaderView>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

#include "skin/ui/ControlSkinsPaint.h"
#include "skin/ui/FormSkin.h"
#include "skin/ui/SkinManager.h"

namespace ruto {

namespace {

using namespace controls;

constexpr char kOffProperty[] = "ruto_controlSkinOff";
constexpr char kHoverProperty[] = "ruto_controlHover";
constexpr char kPaletteProperty[] = "ruto_controlPalette";
constexpr char kOwnPaletteProperty[] = "ruto_controlOwnPalette";
constexpr char kAutoFillProperty[] = "ruto_controlAutoFill";
constexpr char kFixedColorProperty[] = "ruto_controlFixedColor";
constexpr char kPopupKindProperty[] = "ruto_controlPopupKind";
constexpr char kOwnKindProperty[] = "ruto_controlOwnKind";
constexpr char kBitButtonProperty[] = "bitButton";
constexpr char kEventsProperty[] = "ruto_controlEvents";
constexpr char kPressedProperty[] = "ruto_controlPressed";
constexpr char kHeldProperty[] = "ruto_controlHeld";
constexpr char kHotSectionProperty[] = "ruto_controlHotSection";

// The mouse as the skins follow it where Qt's own states differ: the section of a header
// under the mouse (Qt marks it only on clickable headers), a combo box held down by the mouse
// (Qt keeps its arrow sunken while the list is open), and a push button that lets go of its
// press once the mouse leaves it, so that coming back and releasing does not click.
class ControlEvents : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (auto* header = qobject_cast<QHeaderView*>(watched)) {
      followHeader(header, e);
    } else if (auto* combo = qobject_cast<QComboBox*>(watched)) {
      pressCombo(combo, e);
    } else if (auto* button = qobject_cast<QPushButton*>(watched)) {
      leaveButton(button, e);
    }
    return false;
  }

 private:
  static void followHeader(QHeaderView* h, QEvent* e) {
    int section = -1;
    switch (e->type()) {
      case QEvent::HoverEnter:
      case QEvent::HoverMove:
        section = h->logicalIndexAt(static_cast<QHoverEvent*>(e)->position().toPoint());
        break;
      case QEvent::HoverLeave:
      case QEvent::Leave:
        break;
      default:
        return;
    }
    const QVariant before = h->property(kHotSectionProperty);
    if (before.isValid() && before.toInt() == section) return;
    h->setProperty(kHotSectionProperty, section);
    h->viewport()->update();
  }
  void pressCombo(QComboBox* combo, QEvent* e) {
    if (e->type() != QEvent::MouseButtonPress && e->type() != QEvent::MouseButtonDblClick) return;
    if (static_cast<QMouseEvent*>(e)->button() != Qt::LeftButton) return;
    releaseCombo();
    combo->setProperty(kPressedProperty, true);
    combo->update();
    // The release may reach the list the press opened, not the combo box.
    pressedCombo_ = combo;
    qApp->installEventFilter(&release_);
  }
  void releaseCombo() {
    qApp->removeEventFilter(&release_);
    if (!pressedCombo_) return;
    pressedCombo_->setProperty(kPressedProperty, QVariant());
    pressedCombo_->update();
    pressedCombo_ = nullptr;
  }
  static void leaveButton(QPushButton* b, QEvent* e) {
    const QEvent::Type t = e->type();
    if (t != QEvent::MouseMove && t != QEvent::MouseButtonPress &&
        t != QEvent::MouseButtonDblClick && t != QEvent::MouseButtonRelease)
      return;
    auto* m = static_cast<QMouseEvent*>(e);
    if (t != QEvent::MouseMove) {
      // The mouse's press as the button counts it: losing the focus lets the button up, but
      // the press stays, and the next move over the button takes it up again.
      if (m->button() == Qt::LeftButton)
        b->setProperty(kHeldProperty, t == QEvent::MouseButtonRelease ? QVariant() : true);
      return;
    }
    const QPoint at = m->position().toPoint();
    if (!(m->buttons() & Qt::LeftButton) || !b->isDown() || b->rect().contains(at)) return;
    endPress(b, m->position(), m->globalPosition(), m->buttons(), m->modifiers());
  }

 public:
  // A release away from the button ends the press without a click.
  static void endPress(QPushButton* b, QPointF at, QPointF global, Qt::MouseButtons held,
                       Qt::KeyboardModifiers mods) {
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton,
                        held & ~Qt::LeftButton, mods);
    // The button ignores it; its parents are not to hear it.
    const bool own = b->testAttribute(Qt::WA_NoMousePropagation);
    b->setAttribute(Qt::WA_NoMousePropagation);
    QCoreApplication::sendEvent(b, &release);
    b->setAttribute(Qt::WA_NoMousePropagation, own);
  }

 private:
  // Watches the whole application for the release that ends a combo box's press.
  class ReleaseWatch : public QObject {
   public:
    explicit ReleaseWatch(ControlEvents* owner) : owner_(owner) {}
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::MouseButtonRelease) owner_->releaseCombo();
      return false;
    }

   private:
    ControlEvents* owner_;
  };

  QPointer<QWidget> pressedCombo_;
  ReleaseWatch release_{this};
};

ControlEvents& controlEvents() {
  static ControlEvents events;
  return events;
}

bool followsMouse(const QWidget* w, ControlKind kind) {
  switch (kind) {
    case ControlKind::Header:
      return qobject_cast<const QHeaderView*>(w);
    case ControlKind::ComboBox:
      return qobject_cast<const QComboBox*>(w);
    case ControlKind::Button:
    case ControlKind::BitButton:
    case ControlKind::MenuButton:
      return qobject_cast<const QPushButton*>(w);
    default:
      return false;
  }
}

// The application's kind for the control when it supplied one, else the mapping's.
ControlKind mappedKind(const QWidget* w, const TSkinData* skin) {
  const QVariant own = w->property(kOwnKindProperty);
  if (own.isValid()) return static_cast<ControlKind>(own.toInt());
  return MapControl(ReadControlFacts(w, skin), skin->SkinControls, skin->Skin3rd, skin->DisableTag)
      .kind;
}

// The widget whose window decides: a popup (menu, combo list, calendar) counts with the
// widget that opened it.
const QWidget* ownerOf(const QWidget* w) {
  for (int guard = 0; w && guard < 16; ++guard) {
    const QWidget* win = w->window();
    if (win->windowType() != Qt::Popup || !win->parentWidget()) break;
    w = win->parentWidget();
  }
  return w;
}

// Kinds are cached per widget; the entry is checked against the widget's own pointer (a new
// widget at an old address is mapped afresh) and the skin and gates it was mapped under.
struct CacheEntry {
  QPointer<const QObject> who;
  const TSkinData* skin = nullptr;
  unsigned long gates = 0;
  ControlKind kind = ControlKind::None;
};
QHash<const QWidget*, CacheEntry>& cache() {
  static QHash<const QWidget*, CacheEntry> c;
  return c;
}

ControlKind cachedKind(const QWidget* w, const TSkinData* skin) {
  auto& c = cache();
  const unsigned long gates = skin->SkinControls.to_ulong();
  auto it = c.find(w);
  if (it != c.end() && it->who == w && it->skin == skin && it->gates == gates) return it->kind;
  if (c.size() > 4096) c.clear();
  CacheEntry e;
  e.who = w;
  e.skin = skin;
  e.gates = gates;
  e.kind = w->property(kOffProperty).toBool() ? ControlKind::None : mappedKind(w, skin);
  c.insert(w, e);
  return e.kind;
}

// The skin a widget is painted with: its window's once that is skinned; before, while
// polishing, the main skin data that it will most likely take.
const TSkinData* polishSkin(const QWidget* w) {
  TSkinManage* m = ExistingSkinManager();
  if (!m) return nullptr;
  const QWidget* win = ownerOf(w)->window();
  if (const TSkinForm* f = m->FindFormSkin(win); f && f->attached()) return f->SkinData();
  if (!m->Active() || !m->MainSkinData() || !m->MainSkinData()->SkinLoaded()) return nullptr;
  const TSkinData* skin = m->MainSkinData();
  if (win->property(kTagProperty).toInt() == skin->DisableTag) return nullptr;
  const Qt::WindowType type = win->windowType();
  if (type != Qt::Window && type != Qt::Dialog) return nullptr;
  return skin;
}

SkinnedControl resolve(const SkinStyle& s, const QWidget* w) { return SkinnedKind(s, w); }

// A tab bar inside a tab widget paints as part of the tab widget.
SkinnedControl tabOwner(const SkinStyle& s, const QWidget* w) {
  if (auto* bar = qobject_cast<const QTabBar*>(w))
    if (auto* tw = qobject_cast<const QTabWidget*>(bar->parentWidget())) return resolve(s, tw);
  return resolve(s, w);
}

bool isTab(ControlKind k) {
  return k == ControlKind::Tab || k == ControlKind::TabButtons || k == ControlKind::TabSet;
}

QHash<const QWidget*, QPair<QPointer<QWidget>, TabCloseAnswer>>& closeAnswers() {
  static QHash<const QWidget*, QPair<QPointer<QWidget>, TabCloseAnswer>> answers;
  return answers;
}

constexpr char kCloserName[] = "ruto_tabCloser";

// Close boxes on the tabs of a tab widget tagged 7777 whose tabs are at the top; the index
// is checked against the tabs as they are when the click arrives.
void attachTabClose(QTabWidget* tabs) {
  if (tabs->findChild<QObject*>(QLatin1String(kCloserName), Qt::FindDirectChildrenOnly)) return;
  auto* closer = new QObject(tabs);
  closer->setObjectName(QLatin1String(kCloserName));
  const bool closable = tabs->tabsClosable();
  closer->setProperty(kHoverProperty, closable);
  // Close buttons the tab widget had already are made again at the skin's size.
  tabs->setTabsClosable(false);
  tabs->setTabsClosable(true);
  // A tab widget that was closable already closes its pages itself: a second handler would
  // take away the page that moved into the closed one's place.
  if (closable) return;
  QObject::connect(tabs, &QTabWidget::tabCloseRequested, closer, [tabs](int index) {
    if (index < 0 || index >= tabs->count()) return;
    const QWidget* win = tabs->window();
    auto it = closeAnswers().find(win);
    const bool asked = it != closeAnswers().end() && it->first == win && it->second;
    if (asked && it->second(tabs, index) != 0) return;
    if (index >= tabs->count()) return;
    QWidget* page = tabs->widget(index);
    tabs->removeTab(index);
    delete page;
  });
}

// Whether the skin put close boxes on the tabs of the tab bar w (or of the bar holding the
// close box w). The boxes are made while the tab widget is polished, before its window's
// frame is skinned, so this goes by the closer alone: they are made at the skin's size and
// placed where the skin draws them from the start.
bool skinClosedTabs(const QWidget* w) {
  const QWidget* bar = qobject_cast<const QTabBar*>(w) ? w : w ? w->parentWidget() : nullptr;
  auto* tabs = qobject_cast<const QTabWidget*>(bar ? bar->parentWidget() : nullptr);
  return tabs && qobject_cast<const QTabBar*>(bar) &&
         tabs->findChild<QObject*>(QLatin1String(kCloserName), Qt::FindDirectChildrenOnly);
}

void detachTabClose(QTabWidget* tabs) {
  QObject* closer =
      tabs->findChild<QObject*>(QLatin1String(kCloserName), Qt::FindDirectChildrenOnly);
  if (!closer) return;
  const bool closable = closer->property(kHoverProperty).toBool();
  delete closer;
  tabs->setTabsClosable(false);
  tabs->setTabsClosable(closable);
}

}  // namespace

void MarkBitButton(QPushButton* button) { button->setProperty(kBitButtonProperty, true); }

void SetTabCloseAnswer(QWidget* window, TabCloseAnswer answer) {
  closeAnswers().insert(window, {window, std::move(answer)});
}

ControlFacts ReadControlFacts(const QWidget* w, const TSkinData* skin) {
  ControlFacts f;
  for (const QMetaObject* m = w->metaObject(); m; m = m->superClass())
    f.classes << QString::fromLatin1(m->className());
  f.tag = w->property(kTagProperty).toInt();
  const QWidget* parent = w->parentWidget();
  if (auto* b = qobject_cast<const QPushButton*>(w)) {
    f.hasIcon = !b->icon().isNull();
    f.hasMenu = b->menu() != nullptr;
    f.bitButton = b->property(kBitButtonProperty).toBool();
  }
  if (auto* t = qobject_cast<const QToolButton*>(w)) {
    f.hasMenu = t->menu() != nullptr;
    f.inToolBar = qobject_cast<const QToolBar*>(parent) != nullptr;
    f.inTabBar = qobject_cast<const QTabBar*>(parent) != nullptr;
    f.inUpDown = parent && IsUpDownClass(QString::fromLatin1(parent->metaObject()->className()));
  }
  f.ofTabWidget = qobject_cast<const QTabBar*>(w) && qobject_cast<const QTabWidget*>(parent);
  f.tabPage = qobject_cast<const QStackedWidget*>(parent) &&
              qobject_cast<const QTabWidget*>(parent->parentWidget());
  if (auto* d = qobject_cast<const QDateTimeEdit*>(w)) f.calendarPopup = d->calendarPopup();
  for (const QWidget* a = parent; a; a = a->parentWidget())
    if (qobject_cast<const QCalendarWidget*>(a)) f.insideCalendar = true;
  f.innerEdit =
      qobject_cast<const QLineEdit*>(w) &&
      (qobject_cast<const QAbstractSpinBox*>(parent) || qobject_cast<const QComboBox*>(parent));
  // The extension button of a menu bar and the close boxes of tabs belong to their bar.
  f.innerButton = qobject_cast<const QAbstractButton*>(w) &&
                  (qobject_cast<const QMenuBar*>(parent) ||
                   (qobject_cast<const QTabBar*>(parent) && !qobject_cast<const QToolButton*>(w)));
  f.treeHeader = qobject_cast<const QHeaderView*>(w) && qobject_cast<const QTreeView*>(parent);
  f.embeddedForm =
      !w->isWindow() && (qobject_cast<const QDialog*>(w) || qobject_cast<const QMainWindow*>(w));
  f.frameSkinned = !skin || skin->SkinControls.test(xcMainMenu);
  const TDataSkinObject* tabs = skin ? skin->object(QStringLiteral("Tabs")) : nullptr;
  f.hasTabsImage = tabs && tabs->hasImage();
  f.tabStyle = w->property("tabStyle").toString();
  return f;
}

ControlMapping MapControl(const QWidget* w, const TSkinControlTypes& gates,
                          const QStringList& skin3rd) {
  return MapControl(ReadControlFacts(w, nullptr), gates, skin3rd);
}

SkinnedControl SkinnedKind(const SkinStyle& style, const QWidget* w) {
  if (!w) return {};
  const TSkinData* skin = style.skinOf(ownerOf(w));
  if (!skin) return {};
  return {skin, cachedKind(w, skin)};
}

namespace {

// The controls of the window itself: not those of windows inside it, nor the skin's frame.
QList<QWidget*> controlsOf(QWidget* window) {
  QList<QWidget*> controls = window->findChildren<QWidget*>();
  controls.removeIf([window](const QWidget* c) {
    return c->window() != window || c->inherits("ruto::SkinFrameWidget");
  });
  return controls;
}

// Polishing gives back what the old skin changed first, so the control's own colours are
// what it saves again.
void repolish(QWidget* c) {
  PolishControl(c);
  c->update();
}

}  // namespace

void SkinFormControls(QWidget* window, TSkinData* skin) {
  if (!skin->OnSkinControl) return;
  for (QWidget* c : controlsOf(window)) {
    const ControlFacts f = ReadControlFacts(c, skin);
    if (f.tag == skin->DisableTag || f.innerEdit || f.innerButton || f.insideCalendar) continue;
    ControlKind kind = ControlKind::None;
    skin->OnSkinControl(window, c, f.classes.front().toUpper(), kind);
    if (kind == ControlKind::None) continue;
    c->setProperty(kOwnKindProperty, static_cast<int>(kind));
    repolish(c);
  }
}

void RefreshControlSkins(QWidget* window) {
  for (QWidget* c : controlsOf(window)) repolish(c);
}

void SetControlSkinActive(QWidget* w, bool on) {
  w->setProperty(kOffProperty, on ? QVariant() : QVariant(true));
  cache().remove(w);
  w->update();
}

bool ControlSkinActive(const QWidget* w) { return !w->property(kOffProperty).toBool(); }

bool controls::mousePressed(const QWidget* w) { return w->property(kPressedProperty).toBool(); }

int controls::hotSection(const QWidget* w) {
  const QVariant v = w->property(kHotSectionProperty);
  return v.isValid() ? v.toInt() : -1;
}

bool controls::transparent(const Paint& c) {
  return c.w->property(kTagProperty).toInt() == kTransparentTag ||
         c.skin.Options.test(xoTransparent);
}

bool DrawSkinnedPrimitive(const SkinStyle& s, QStyle::PrimitiveElement pe, const QStyleOption* opt,
                          QPainter* p, const QWidget* w) {
  if (!w || !opt) return false;
  switch (pe) {
    case QStyle::PE_PanelLineEdit:
    case QStyle::PE_FrameLineEdit: {
      const SkinnedControl k = resolve(s, w);
      if (k.kind != ControlKind::Edit || !qobject_cast<const QLineEdit*>(w)) return false;
      const auto* f = qstyleoption_cast<const QStyleOptionFrame*>(opt);
      if (!f || f->lineWidth <= 0) return false;
      return paintEditFrame({s, *k.skin, k.kind, w, p}, opt->rect, pe == QStyle::PE_PanelLineEdit,
                            opt->palette.base());
    }
    case QStyle::PE_Frame:
    case QStyle::PE_PanelScrollAreaCorner: {
      const SkinnedControl k = resolve(s, w);
      if (k.kind != ControlKind::Scrollbar || !qobject_cast<const QAbstractScrollArea*>(w))
        return false;
      if (pe == QStyle::PE_PanelScrollAreaCorner) {
        p->fillRect(opt->rect, face(*k.skin));
        return true;
      }
      return paintScrollAreaFrame({s, *k.skin, k.kind, w, p}, *opt);
    }
    case QStyle::PE_PanelStatusBar: {
      const SkinnedControl k = resolve(s, w);
      return k.kind == ControlKind::StatusBar && paintStatusBar({s, *k.skin, k.kind, w, p}, *opt);
    }
    case QStyle::PE_FrameStatusBarItem: {
      // The panels were painted with the bar.
      const SkinnedControl k = resolve(s, w->parentWidget());
      return k.kind == ControlKind::StatusBar && image(*k.skin, "StatusBarEdges");
    }
    case QStyle::PE_FrameTabWidget: {
      const SkinnedControl k = resolve(s, w);
      const auto* f = qstyleoption_cast<const QStyleOptionTabWidgetFrame*>(opt);
      return f && isTab(k.kind) && paintTabPane({s, *k.skin, k.kind, w, p}, *f);
    }
    case QStyle::PE_FrameTabBarBase: {
      const SkinnedControl k = tabOwner(s, w);
      return isTab(k.kind) && image(*k.skin, "Tabs");
    }
    case QStyle::PE_IndicatorTabClose: {
      const SkinnedControl k = tabOwner(s, w ? w->parentWidget() : nullptr);
      return isTab(k.kind) && paintTabClose({s, *k.skin, k.kind, w, p}, *opt);
    }
    default:
      return false;
  }
}

bool DrawSkinnedControl(const SkinStyle& s, QStyle::ControlElement ce, const QStyleOption* opt,
                        QPainter* p, const QWidget* w) {
  if (!w || !opt) return false;
  switch (ce) {
    case QStyle::CE_PushButton: {
      const SkinnedControl k = resolve(s, w);
      const auto* b = qstyleoption_cast<const QStyleOptionButton*>(opt);
      if (!b || (k.kind != ControlKind::Button && k.kind != ControlKind::BitButton &&
                 k.kind != ControlKind::MenuButton))
        return false;
      return paintPushButton({s, *k.skin, k.kind, w, p}, *b);
    }
    case QStyle::CE_CheckBox:
    case QStyle::CE_RadioButton: {
      const SkinnedControl k = resolve(s, w);
      const bool radio = ce == QStyle::CE_RadioButton;
      const auto* b = qstyleoption_cast<const QStyleOptionButton*>(opt);
      if (!b || k.kind != (radio ? ControlKind::RadioButton : ControlKind::CheckBox)) return false;
      return paintCheck({s, *k.skin, k.kind, w, p}, *b, radio);
    }
    case QStyle::CE_ShapedFrame: {
      const SkinnedControl k = resolve(s, w);
      const auto* f = qstyleoption_cast<const QStyleOptionFrame*>(opt);
      if (k.kind != ControlKind::Scrollbar || !f || !qobject_cast<const QAbstractScrollArea*>(w) ||
          f->frameShape == QFrame::NoFrame || f->lineWidth <= 0)
        return false;
      return paintScrollAreaFrame({s, *k.skin, k.kind, w, p}, *opt);
    }
    case QStyle::CE_HeaderSection:
    case QStyle::CE_HeaderEmptyArea: {
      const SkinnedControl k = resolve(s, w);
      return k.kind == ControlKind::Header &&
             paintHeader({s, *k.skin, k.kind, w, p}, *opt, ce == QStyle::CE_HeaderEmptyArea);
    }
    case QStyle::CE_SizeGrip: {
      const SkinnedControl k = resolve(s, w->parentWidget());
      return k.kind == ControlKind::StatusBar && paintSizeGrip({s, *k.skin, k.kind, w, p}, *opt);
    }
    case QStyle::CE_TabBarTabShape:
    case QStyle::CE_TabBarTabLabel: {
      const SkinnedControl k = tabOwner(s, w);
      const auto* t = qstyleoption_cast<const QStyleOptionTab*>(opt);
      if (!t || !isTab(k.kind)) return false;
      const Paint c{s, *k.skin, k.kind, w, p};
      return ce == QStyle::CE_TabBarTabShape ? paintTabShape(c, *t) : paintTabLabel(c, *t);
    }
    case QStyle::CE_ProgressBar: {
      const SkinnedControl k = resolve(s, w);
      const auto* b = qstyleoption_cast<const QStyleOptionProgressBar*>(opt);
      return b && k.kind == ControlKind::Progress && paintProgress({s, *k.skin, k.kind, w, p}, *b);
    }
    default:
      return false;
  }
}

bool DrawSkinnedComplexControl(const SkinStyle& s, QStyle::ComplexControl cc,
                               const QStyleOptionComplex* opt, QPainter* p, const QWidget* w) {
  if (!w || !opt) return false;
  const SkinnedControl k = resolve(s, w);
  if (!k) return false;
  const Paint c{s, *k.skin, k.kind, w, p};
  switch (cc) {
    case QStyle::CC_ScrollBar: {
      const auto* o = qstyleoption_cast<const QStyleOptionSlider*>(opt);
      return o && k.kind == ControlKind::Scrollbar && paintScrollBar(c, *o);
    }
    case QStyle::CC_SpinBox: {
      const auto* o = qstyleoption_cast<const QStyleOptionSpinBox*>(opt);
      return o && (k.kind == ControlKind::UpDown || k.kind == ControlKind::Edit) &&
             paintSpinBox(c, *o);
    }
    case QStyle::CC_ComboBox: {
      const auto* o = qstyleoption_cast<const QStyleOptionComboBox*>(opt);
      return o && (k.kind == ControlKind::ComboBox || k.kind == ControlKind::DateTime) &&
             paintComboBox(c, *o);
    }
    case QStyle::CC_ToolButton: {
      const auto* o = qstyleoption_cast<const QStyleOptionToolButton*>(opt);
      return o && (k.kind == ControlKind::SpeedButton || k.kind == ControlKind::UpDown) &&
             paintToolButton(c, *o);
    }
    case QStyle::CC_GroupBox: {
      const auto* o = qstyleoption_cast<const QStyleOptionGroupBox*>(opt);
      return o && k.kind == ControlKind::GroupBox && paintGroupBox(c, *o);
    }
    case QStyle::CC_Slider: {
      const auto* o = qstyleoption_cast<const QStyleOptionSlider*>(opt);
      return o && k.kind == ControlKind::TrackBar && paintSlider(c, *o);
    }
    default:
      return false;
  }
}

bool SkinnedSubControlRect(const SkinStyle& s, QStyle::ComplexControl cc,
                           const QStyleOptionComplex* opt, QStyle::SubControl sc, const QWidget* w,
                           QRect& out) {
  if (!w || !opt) return false;
  if (cc == QStyle::CC_ScrollBar) {
    const SkinnedControl k = resolve(s, w);
    const auto* o = qstyleoption_cast<const QStyleOptionSlider*>(opt);
    if (!o || k.kind != ControlKind::Scrollbar || !image(*k.skin, "Scrollbar")) return false;
    const ScrollGeometry g = scrollGeometry(*o);
    switch (sc) {
      case QStyle::SC_ScrollBarSubLine:
        out = scrollSpanRect(*o, ScrollPartSpan(g, ScrollPart::FirstArrow));
        return true;
      case QStyle::SC_ScrollBarAddLine:
        out = scrollSpanRect(*o, ScrollPartSpan(g, ScrollPart::SecondArrow));
        return true;
      case QStyle::SC_ScrollBarSubPage:
        out = scrollSpanRect(*o, ScrollPartSpan(g, ScrollPart::PageBefore));
        return true;
      case QStyle::SC_ScrollBarAddPage:
        out = scrollSpanRect(*o, ScrollPartSpan(g, ScrollPart::PageAfter));
        return true;
      case QStyle::SC_ScrollBarSlider:
        out = scrollSpanRect(*o, ScrollPartSpan(g, ScrollPart::Thumb));
        return true;
      case QStyle::SC_ScrollBarGroove:
        out = scrollSpanRect(*o, {g.arrow, g.length - g.arrow});
        return true;
      default:
        return false;
    }
  }
  if (cc == QStyle::CC_GroupBox) {
    const SkinnedControl k = resolve(s, w);
    const auto* o = qstyleoption_cast<const QStyleOptionGroupBox*>(opt);
    if (!o || k.kind != ControlKind::GroupBox) return false;
    const QRect r = groupBoxRect({s, *k.skin, k.kind, w, nullptr}, *o, sc);
    if (r.isNull()) return false;
    out = r;
    return true;
  }
  if (cc == QStyle::CC_SpinBox) {
    const SkinnedControl k = resolve(s, w);
    const auto* o = qstyleoption_cast<const QStyleOptionSpinBox*>(opt);
    if (!o || (k.kind != ControlKind::UpDown && k.kind != ControlKind::Edit)) return false;
    const QRect r = spinBoxRect({s, *k.skin, k.kind, w, nullptr}, *o, sc);
    if (r.isNull()) return false;
    out = r;
    return true;
  }
  if (cc == QStyle::CC_ComboBox) {
    const SkinnedControl k = resolve(s, w);
    const auto* o = qstyleoption_cast<const QStyleOptionComboBox*>(opt);
    if (!o || (k.kind != ControlKind::ComboBox && k.kind != ControlKind::DateTime)) return false;
    const QRect r = comboRect({s, *k.skin, k.kind, w, nullptr}, *o, sc);
    if (r.isNull()) return false;
    out = r;
    return true;
  }
  return false;
}

bool SkinnedHitTest(const SkinStyle& s, QStyle::ComplexControl cc, const QStyleOptionComplex* opt,
                    const QPoint& pt, const QWidget* w, QStyle::SubControl& out) {
  if (!w || !opt) return false;
  if (cc == QStyle::CC_ScrollBar) {
    const SkinnedControl k = resolve(s, w);
    const auto* o = qstyleoption_cast<const QStyleOptionSlider*>(opt);
    if (!o || k.kind != ControlKind::Scrollbar || !image(*k.skin, "Scrollbar")) return false;
    if (!o->rect.contains(pt)) {
      out = QStyle::SC_None;
      return true;
    }
    const ScrollGeometry g = scrollGeometry(*o);
    const int along =
        o->orientation == Qt::Horizontal ? pt.x() - o->rect.left() : pt.y() - o->rect.top();
    switch (ScrollHitTest(g, along)) {
      case ScrollPart::FirstArrow:
        out = QStyle::SC_ScrollBarSubLine;
        break;
      case ScrollPart::SecondArrow:
        out = QStyle::SC_ScrollBarAddLine;
        break;
      case ScrollPart::PageBefore:
        out = QStyle::SC_ScrollBarSubPage;
        break;
      case ScrollPart::PageAfter:
        out = QStyle::SC_ScrollBarAddPage;
        break;
      case ScrollPart::Thumb:
        out = QStyle::SC_ScrollBarSlider;
        break;
    }
    return true;
  }
  if (cc == QStyle::CC_ComboBox) {
    const SkinnedControl k = resolve(s, w);
    const auto* o = qstyleoption_cast<const QStyleOptionComboBox*>(opt);
    if (!o || (k.kind != ControlKind::ComboBox && k.kind != ControlKind::DateTime)) return false;
    const Paint c{s, *k.skin, k.kind, w, nullptr};
    const QRect arrow = comboRect(c, *o, QStyle::SC_ComboBoxArrow);
    if (arrow.isNull()) return false;
    out = arrow.contains(pt)                    ? QStyle::SC_ComboBoxArrow
          : o->rect.contains(pt) && o->editable ? QStyle::SC_ComboBoxEditField
          : o->rect.contains(pt)                ? QStyle::SC_ComboBoxFrame
                                                : QStyle::SC_None;
    return true;
  }
  return false;
}

bool SkinnedSizeFromContents(const SkinStyle& s, QStyle::ContentsType ct, const QStyleOption* opt,
                             const QSize& size, const QWidget* w, QSize& out) {
  if (!w || !opt || ct != QStyle::CT_PushButton) return false;
  const auto* b = qstyleoption_cast<const QStyleOptionButton*>(opt);
  if (!b || !b->text.contains(QLatin1String("||"))) return false;
  const SkinnedControl k = resolve(s, w);
  if (k.kind != ControlKind::Button && k.kind != ControlKind::BitButton &&
      k.kind != ControlKind::MenuButton)
    return false;
  // The caption is measured as drawn: two lines where "||" stands.
  const QFontMetrics fm(b->fontMetrics);
  const QSize asGiven = fm.size(Qt::TextShowMnemonic, b->text);
  const QSize asDrawn = fm.size(Qt::TextShowMnemonic, DrawnCaption(b->text));
  out = s.QProxyStyle::sizeFromContents(ct, opt, size - asGiven + asDrawn, w);
  return true;
}

bool SkinnedSubElementRect(const SkinStyle&, QStyle::SubElement se, const QStyleOption* opt,
                           const QWidget* w, QRect& out) {
  if (se != QStyle::SE_TabBarTabRightButton || !skinClosedTabs(w)) return false;
  // The box keeps its place whether the tab is current or not: the tab bar moves its close
  // button here, so a click lands on the box exactly where it is painted.
  const auto* tab = qstyleoption_cast<const QStyleOptionTab*>(opt);
  if (!tab) return false;
  out = TabCloseBox(tab->rect);
  return true;
}

bool SkinnedPixelMetric(const SkinStyle& s, QStyle::PixelMetric pm, const QStyleOption* opt,
                        const QWidget* w, int& out) {
  if (!w) return false;
  switch (pm) {
    case QStyle::PM_ScrollBarExtent:
    case QStyle::PM_ScrollBarSliderMin: {
      const SkinnedControl k = resolve(s, w);
      if (k.kind != ControlKind::Scrollbar || !image(*k.skin, "Scrollbar")) return false;
      out = pm == QStyle::PM_ScrollBarExtent ? TSkinData::ScrollBarWidth : 8;
      return true;
    }
    case QStyle::PM_IndicatorWidth:
    case QStyle::PM_IndicatorHeight:
    case QStyle::PM_ExclusiveIndicatorWidth:
    case QStyle::PM_ExclusiveIndicatorHeight: {
      const bool radio =
          pm == QStyle::PM_ExclusiveIndicatorWidth || pm == QStyle::PM_ExclusiveIndicatorHeight;
      const SkinnedControl k = resolve(s, w);
      if (k.kind != (radio ? ControlKind::RadioButton : ControlKind::CheckBox)) return false;
      const QSize box = checkBoxSize(*k.skin, radio);
      if (box.isEmpty()) return false;
      out = pm == QStyle::PM_IndicatorWidth || pm == QStyle::PM_ExclusiveIndicatorWidth
                ? box.width()
                : box.height();
      return true;
    }
    case QStyle::PM_CheckBoxLabelSpacing:
    case QStyle::PM_RadioButtonLabelSpacing: {
      const bool radio = pm == QStyle::PM_RadioButtonLabelSpacing;
      const SkinnedControl k = resolve(s, w);
      if (k.kind != (radio ? ControlKind::RadioButton : ControlKind::CheckBox) ||
          checkBoxSize(*k.skin, radio).isEmpty())
        return false;
      out = 2;
      return true;
    }
    case QStyle::PM_TabCloseIndicatorWidth:
    case QStyle::PM_TabCloseIndicatorHeight: {
      // The close box of a tab is a small square near the tab's top right corner.
      if (!skinClosedTabs(w)) return false;
      const QSize box = TabCloseBox(QRect()).size();
      out = pm == QStyle::PM_TabCloseIndicatorWidth ? box.width() : box.height();
      return true;
    }
    default:
      break;
  }
  (void)opt;
  return false;
}

void PolishControl(QWidget* w) {
  // A control skinned before its window is shown is polished again when it shows: what the
  // first polish changed is given back first, so the colours kept for skin off stay its own.
  UnpolishControl(w);
  const TSkinData* skin = polishSkin(w);
  if (!skin) return;
  const ControlKind kind = mappedKind(w, skin);
  if (kind == ControlKind::None || kind == ControlKind::Container) return;
  // Hot states come from Qt's hover flag.
  auto hover = [](QWidget* t) {
    if (t->testAttribute(Qt::WA_Hover)) return;
    t->setAttribute(Qt::WA_Hover);
    t->setProperty(kHoverProperty, true);
  };
  hover(w);
  if (kind == ControlKind::Header || kind == ControlKind::Scrollbar)
    if (auto* area = qobject_cast<QAbstractScrollArea*>(w)) hover(area->viewport());
  if (followsMouse(w, kind)) {
    w->installEventFilter(&controlEvents());
    w->setProperty(kEventsProperty, true);
  }
  // Every control takes the face colour (its own palette is kept for skin off); pages fill
  // their background with it. A control tagged transparent keeps its parent's.
  const bool seeThrough =
      w->property(kTagProperty).toInt() == kTransparentTag || skin->Options.test(xoTransparent);
  // The texts of a status bar (its items and messages) take the colour of its edges.
  const TDataSkinObject* edges =
      kind == ControlKind::StatusBar ? image(*skin, "StatusBarEdges") : nullptr;
  if (!seeThrough &&
      (w->testAttribute(Qt::WA_SetPalette) || kind == ControlKind::TabSheet || edges)) {
    w->setProperty(kPaletteProperty, QVariant::fromValue(w->palette()));
    w->setProperty(kOwnPaletteProperty, w->testAttribute(Qt::WA_SetPalette));
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, toQColor(skin->Colours().ButtonFace));
    pal.setColor(QPalette::Button, toQColor(skin->Colours().ButtonFace));
    if (edges) pal.setColor(QPalette::WindowText, toQColor(ResolveColor(edges->NormalColour2)));
    w->setPalette(pal);
    if (kind == ControlKind::TabSheet && !w->autoFillBackground()) {
      w->setProperty(kAutoFillProperty, true);
      w->setAutoFillBackground(true);
    }
  }
  // Grids paint their fixed cells in the face colour.
  if (kind == ControlKind::Scrollbar && w->metaObject()->indexOfProperty("FixedColor") >= 0) {
    w->setProperty(kFixedColorProperty, w->property("FixedColor"));
    w->setProperty("FixedColor", QVariant::fromValue(skin->Colours().ButtonFace));
  }
  if (auto* tabs = qobject_cast<QTabWidget*>(w);
      tabs && kind == ControlKind::Tab && w->property(kTagProperty).toInt() == kClosableTabsTag &&
      tabs->tabPosition() == QTabWidget::North)
    attachTabClose(tabs);
  // A tool-bar button's menu is painted as a window's menu.
  if (kind == ControlKind::ToolMenu)
    if (auto* t = qobject_cast<QToolButton*>(w); t && t->menu()) {
      t->setProperty(kPopupKindProperty, QVariantList{t->menu()->property("skinPopupKind")});
      t->menu()->setProperty("skinPopupKind", 1);
    }
}

void LeaveSkinnedControl(QWidget* w) {
  auto* b = qobject_cast<QPushButton*>(w);
  if (!b || !b->property(kHeldProperty).toBool() || !b->property(kEventsProperty).toBool()) return;
  ControlEvents::endPress(b, QPointF(-1, -1), QCursor::pos(), QGuiApplication::mouseButtons(),
                          QGuiApplication::keyboardModifiers());
}

void UnpolishControl(QWidget* w) {
  cache().remove(w);
  auto unhover = [](QWidget* t) {
    if (!t->property(kHoverProperty).toBool()) return;
    t->setAttribute(Qt::WA_Hover, false);
    t->setProperty(kHoverProperty, QVariant());
  };
  unhover(w);
  if (auto* area = qobject_cast<QAbstractScrollArea*>(w)) unhover(area->viewport());
  if (w->property(kEventsProperty).toBool()) {
    w->removeEventFilter(&controlEvents());
    for (const char* p : {kEventsProperty, kPressedProperty, kHeldProperty, kHotSectionProperty})
      w->setProperty(p, QVariant());
  }
  const QVariant pal = w->property(kPaletteProperty);
  if (pal.isValid()) {
    if (w->property(kOwnPaletteProperty).toBool()) {
      w->setPalette(pal.value<QPalette>());
    } else {
      w->setPalette(QPalette());
      w->setAttribute(Qt::WA_SetPalette, false);
    }
    w->setProperty(kPaletteProperty, QVariant());
    w->setProperty(kOwnPaletteProperty, QVariant());
  }
  if (w->property(kAutoFillProperty).toBool()) {
    w->setAutoFillBackground(false);
    w->setProperty(kAutoFillProperty, QVariant());
  }
  const QVariant fixed = w->property(kFixedColorProperty);
  if (fixed.isValid()) {
    w->setProperty("FixedColor", fixed);
    w->setProperty(kFixedColorProperty, QVariant());
  }
  if (auto* tabs = qobject_cast<QTabWidget*>(w)) detachTabClose(tabs);
  const QVariantList kindBefore = w->property(kPopupKindProperty).toList();
  if (auto* t = qobject_cast<QToolButton*>(w); t && t->menu() && !kindBefore.isEmpty()) {
    t->menu()->setProperty("skinPopupKind", kindBefore.front());
    t->setProperty(kPopupKindProperty, QVariant());
  }
}

}  // namespace ruto
