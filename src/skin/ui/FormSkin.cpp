#include "skin/ui/FormSkin.h"

#include <QActionEvent>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "skin/SkinData.h"
#include "skin/ui/ControlSkins.h"
#include "skin/ui/SkinFrameWidget.h"
#include "skin/ui/SkinManager.h"
#include "skin/ui/SkinMenuBar.h"

namespace ruto {

bool isStandardDialog(const QWidget* w) {
  for (const char* c : {"QFileDialog", "QMessageBox", "QColorDialog", "QFontDialog", "QInputDialog",
                        "QProgressDialog", "QPrintDialog", "QPageSetupDialog",
                        "QPrintPreviewDialog", "QErrorMessage", "QWizard"})
    if (w->inherits(c)) return true;
  return false;
}

namespace {

bool resizable(const QWidget* w) {
  return w->minimumSize() != w->maximumSize() &&
         !w->windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint);
}

QIcon glyph(const QImage& glyphs, int index) {
  if (index < 0 || glyphs.isNull()) return {};
  QPixmap pm = QPixmap::fromImage(glyphs.copy(index * 16, 0, 16, 16));
  pm.setMask(pm.createMaskFromColor(Qt::white));
  return QIcon(pm);
}

}  // namespace

TSkinForm::TSkinForm(QWidget* window, TSkinData* skin)
    : window_(window), skin_(skin), doubleClickTime_(QApplication::doubleClickInterval()) {
  // Not a child of the window: a window being destroyed is not given back its frame; the
  // form skin goes once the window is gone.
  connect(window, &QObject::destroyed, this, &QObject::deleteLater);
}

TSkinForm::~TSkinForm() { Detach(); }

void TSkinForm::readState() {
  QWidget* w = window_;
  state_ = w->isMinimized()   ? WinState::Minimized
           : w->isMaximized() ? WinState::Maximized
                              : WinState::Normal;
  active_ = w->isActiveWindow();
}

void TSkinForm::Attach() {
  QWidget* w = window_;
  if (attached_ || !w || !skin_ || !skin_->SkinLoaded()) return;
  attached_ = true;
  const QString className = QString::fromLatin1(w->metaObject()->className());
  // A refresh applies the skin again to a window that stays skinned: the application hears
  // only that it is done. Qt's own dialogs are the system's windows, not the application's:
  // it hears of them only when they are skinned.
  if (skin_->OnBeforeSkinForm && !refreshing_ && !isStandardDialog(w))
    skin_->OnBeforeSkinForm(w, className);
  w->setProperty("ruto_skinned", true);
  savedFlags_ = w->windowFlags();
  style_ = FrameStyleFor(savedFlags_, isStandardDialog(w), resizable(w));
  savedOwnPalette_ = w->testAttribute(Qt::WA_SetPalette);
  savedPalette_ = w->palette();
  QPalette pal = w->palette();
  const QColor face = toQColor(skin_->Colours().ButtonFace);
  pal.setColor(QPalette::Window, face);
  pal.setColor(QPalette::Button, face);
  w->setPalette(pal);
  readState();
  // Without the main-menu gate only the controls are skinned; a window without a caption
  // keeps its own frame as well: no bands, mask or buttons.
  framed_ = skin_->SkinControls.test(xcMainMenu) && style_.BorderKind != 2;
  if (!framed_) {
    finishAttach(className);
    return;
  }

  border_ = FrameWidths(*skin_, style_.BorderKind);
  if (auto* mw = qobject_cast<QMainWindow*>(w)) {
    menuBar_ = qobject_cast<QMenuBar*>(mw->menuWidget());
    if (menuBar_ && !menuBar_->isHidden()) {
      savedMenuMin_ = menuBar_->minimumHeight();
      savedMenuMax_ = menuBar_->maximumHeight();
      menuBar_->setFixedHeight(TSkinData::MenuHeight);
      menuHeight_ = TSkinData::MenuHeight;
      menuBar_->installEventFilter(this);
      menuBarSkin_ = new TSkinMenuBar(menuBar_, skin_, this);
      for (QAction* a : menuBar_->actions())
        if (a->menu()) a->menu()->installEventFilter(this);
    } else {
      menuBar_ = nullptr;
    }
  }
  // Frameless before the window is mapped: it is never shown with the platform's frame.
  w->overrideWindowFlags(savedFlags_ | Qt::FramelessWindowHint);
  if (QWindow* h = w->windowHandle()) h->setFlags(w->windowFlags());
  savedMargins_ = w->contentsMargins();
  // The size is taken before the margins change: a layout may already grow the window to
  // its new minimum when they do.
  const QSize client = w->size();
  w->setContentsMargins(savedMargins_ + border_);
  layoutWindow(true, client);
  using Band = SkinFrameWidget::Band;
  int i = 0;
  for (Band b : {Band::Top, Band::Left, Band::Right, Band::Bottom}) {
    auto* band = new SkinFrameWidget(this, w, b);
    bands_[static_cast<size_t>(i++)] = band;
  }
  altSpace_ = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), w);
  connect(altSpace_, &QShortcut::activated, this, [this] {
    if (window_)
      ShowSysMenu(window_->mapToGlobal(QPoint(border_.left(), border_.top() + menuHeight_)));
  });
  w->installEventFilter(this);
  layoutButtons();
  widenForCaption();
  UpdateRegion();
  finishAttach(className);
}

void TSkinForm::finishAttach(const QString& className) {
  QWidget* w = window_;
  if (!refreshing_ && !isStandardDialog(w)) SkinFormControls(w, skin_);
  if (skin_->OnAfterSkinForm) skin_->OnAfterSkinForm(w, className);
}

void TSkinForm::widenForCaption() {
  QWidget* w = window_;
  if (!style_.IsDialog || w->windowTitle().isEmpty()) return;
  // A dialog shows its whole caption: everything the frame keeps beside the caption's span,
  // plus the caption's text.
  const CaptionSpan span = CaptionTextSpan(buttons_, skin_->Title(), w->width(), border_);
  const int text = QFontMetrics(CaptionFont(*skin_, w->font(), border_.top()))
                       .horizontalAdvance(w->windowTitle());
  const int need = w->width() - (span.end - span.start) + text + 1;
  if (w->width() >= need) return;
  widened_ = true;
  if (w->minimumWidth() == w->maximumWidth())
    w->setFixedWidth(need);
  else
    w->setMinimumWidth(need);
  w->resize(need, w->height());
  layoutButtons();
}

void TSkinForm::Detach() {
  if (!attached_) return;
  attached_ = false;
  QWidget* w = window_;
  if (!w) return;
  w->removeEventFilter(this);
  releaseLeftControls();
  w->setProperty("ruto_skinned", QVariant());
  delete sysMenu_.data();
  delete altSpace_.data();
  for (auto& band : bands_) delete band.data();
  if (savedOwnPalette_) {
    w->setPalette(savedPalette_);
  } else {
    w->setPalette(QPalette());
    w->setAttribute(Qt::WA_SetPalette, false);
  }
  if (!framed_) return;
  if (widened_) {
    widened_ = false;
    w->setMinimumWidth(savedMin_.width());
  }
  if (menuBar_) {
    menuBar_->setMinimumHeight(savedMenuMin_);
    menuBar_->setMaximumHeight(savedMenuMax_);
    menuBar_->removeEventFilter(this);
    delete menuBarSkin_.data();
    for (QAction* a : menuBar_->actions())
      if (a->menu()) a->menu()->removeEventFilter(this);
  }
  const QSize outer = w->size();
  w->setContentsMargins(savedMargins_);
  layoutWindow(false, outer);
  w->clearMask();
  w->overrideWindowFlags(savedFlags_);
  if (QWindow* h = w->windowHandle()) h->setFlags(savedFlags_);
  buttons_.clear();
  border_ = {};
  menuHeight_ = 0;
}

void TSkinForm::layoutWindow(bool grow, QSize base) {
  QWidget* w = window_;
  const QSize d(border_.left() + border_.right(), border_.top() + border_.bottom());
  const QSize delta = grow ? d : QSize(-d.width(), -d.height());
  if (grow) {
    savedMin_ = w->minimumSize();
    savedMax_ = w->maximumSize();
  }
  // A layout computes its window's minimum from the contents margins itself; only sizes a
  // window fixed on its own, or limits of a window without layout, grow with the frame.
  QLayout* layout = w->layout();
  const bool layoutFixes = layout && layout->sizeConstraint() == QLayout::SetFixedSize;
  if (savedMin_ == savedMax_ && !savedMin_.isEmpty()) {
    if (!layoutFixes) w->setFixedSize(grow ? savedMin_ + d : savedMin_);
    return;
  }
  if (!layout) {
    if (!savedMin_.isEmpty()) w->setMinimumSize(grow ? savedMin_ + d : savedMin_);
    if (savedMax_.width() < QWIDGETSIZE_MAX || savedMax_.height() < QWIDGETSIZE_MAX)
      w->setMaximumSize(
          (grow ? savedMax_ + d : savedMax_).boundedTo(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX)));
  }
  if (!w->isMaximized() && !w->isMinimized()) w->resize(base + delta);
}

void TSkinForm::layoutButtons() {
  if (!window_ || !framed_) return;
  CaptionContext c;
  c.windowWidth = window_->width();
  c.border = border_;
  c.menuHeight = menuHeight_;
  c.borderKind = style_.BorderKind;
  c.isDialog = style_.IsDialog;
  c.captionFlags = style_.CaptionFlags;
  c.state = state_;
  c.active = active_;
  c.menuBarLeftWidth = skin_->MenuBar() ? skin_->MenuBar()->LeftWidth : 0;
  c.askVisible = [this](int code, int action) {
    return OnButtonVisible ? OnButtonVisible(code, action) : 0;
  };
  std::vector<CaptionButton> laidOut = LayoutCaptionButtons(*skin_, c);
  // Laid out again, the same buttons keep their looks: a button held down stays pressed
  // until its release. Only new buttons start normal.
  if (laidOut.size() == buttons_.size())
    for (size_t i = 0; i < laidOut.size(); ++i)
      if (laidOut[i].def == buttons_[i].def) laidOut[i].state = buttons_[i].state;
  buttons_ = std::move(laidOut);
}

void TSkinForm::RebuildCaptionButtons(bool keepClient) {
  if (!attached_ || !framed_ || !window_) return;
  // The frame widths come with the skin's border images: the client follows them, or the
  // window does for a reload.
  const QMargins widths = FrameWidths(*skin_, style_.BorderKind);
  if (widths != border_) {
    QWidget* w = window_;
    if (keepClient && state_ == WinState::Normal)
      w->resize(w->size() +
                QSize(widths.left() + widths.right() - border_.left() - border_.right(),
                      widths.top() + widths.bottom() - border_.top() - border_.bottom()));
    border_ = widths;
    window_->setContentsMargins(savedMargins_ + border_);
    for (auto& band : bands_)
      if (band) band->syncGeometry();
  }
  buttons_.clear();
  layoutButtons();
  lastRegionSize_ = {};
  UpdateRegion();
  updateFrame();
}

void TSkinForm::DropCaptionButtons() {
  buttons_.clear();
  updateFrame();
}

void TSkinForm::RefreshSkin() {
  if (!attached_) return;
  refreshing_ = true;
  Detach();
  Attach();
  refreshing_ = false;
}

void TSkinForm::UpdateRegion() {
  QWidget* w = window_;
  if (!w || !bands_[0]) return;
  const bool trans = (skin_->LeftBorder() && skin_->LeftBorder()->Trans) ||
                     (skin_->RightBorder() && skin_->RightBorder()->Trans) ||
                     (skin_->TopBorder() && skin_->TopBorder()->Trans) ||
                     (skin_->BottomBorder() && skin_->BottomBorder()->Trans);
  // A minimised window keeps the region it had; a maximised one is cut like any other, so
  // the title's transparent corners stay out of it.
  if (state_ == WinState::Minimized) return;
  if (!trans) {
    w->clearMask();
    lastRegionSize_ = {};
    return;
  }
  // A reload builds the region again even at the same size: detaching took it away.
  if (w->size() == lastRegionSize_ && !refreshing_) return;
  lastRegionSize_ = w->size();
  w->setMask(SkinFrameRegion(*skin_, w->size(), border_, menuHeight_, active_));
}

void TSkinForm::updateFrame(const QRect& r) {
  for (auto& band : bands_) {
    if (!band) continue;
    if (r.isNull())
      band->update();
    else
      band->updateWindowRect(r);
  }
}

void TSkinForm::RunButtonAction(const CaptionButton& b, QPoint at) {
  switch (ButtonActionFor(b.def->Action, state_, style_.CaptionFlags & cfSysMenu)) {
    case ButtonEffect::Close:
      RunSysCommand(SC_CLOSE);
      break;
    case ButtonEffect::Maximize:
      RunSysCommand(SC_MAXIMIZE);
      break;
    case ButtonEffect::Restore:
      RunSysCommand(SC_RESTORE);
      break;
    case ButtonEffect::Minimize:
      RunSysCommand(SC_MINIMIZE);
      break;
    case ButtonEffect::SysMenu:
      ShowSysMenu(at);
      break;
    case ButtonEffect::Signal:
      Q_EMIT buttonAction(b.def->Action);
      break;
    case ButtonEffect::None:
      break;
  }
}

void TSkinForm::FrameDoubleClick() {
  if (state_ != WinState::Normal)
    RunSysCommand(SC_RESTORE);
  else if (style_.CaptionFlags & cfMaximizeBox)
    RunSysCommand(SC_MAXIMIZE);
}

void TSkinForm::leaveHoveredControls() {
  for (QWidget* c : window_->findChildren<QWidget*>()) {
    if (c->isWindow()) continue;
    // A button the mouse holds down is the hovered one, whatever the platform told Qt first:
    // it lets go of its press.
    LeaveSkinnedControl(c);
    if (!c->testAttribute(Qt::WA_Hover) || !c->testAttribute(Qt::WA_UnderMouse) || c == menuBar_)
      continue;
    // Hot no more until the mouse moves over it again.
    c->setAttribute(Qt::WA_UnderMouse, false);
    c->installEventFilter(this);
    if (!leftControls_.contains(c)) leftControls_.append(c);
    c->update();
  }
}

void TSkinForm::controlHoverEvent(QObject* watched, QEvent* e) {
  const auto it = std::find_if(leftControls_.begin(), leftControls_.end(),
                               [watched](const QPointer<QWidget>& c) { return c == watched; });
  if (it == leftControls_.end()) return;
  const QEvent::Type t = e->type();
  if (t == QEvent::HoverEnter || t == QEvent::HoverMove || t == QEvent::Enter) {
    (*it)->setAttribute(Qt::WA_UnderMouse);
    (*it)->update();
  } else if (t != QEvent::HoverLeave && t != QEvent::Leave) {
    return;
  }
  watched->removeEventFilter(this);
  leftControls_.erase(it);
}

void TSkinForm::releaseLeftControls() {
  for (const QPointer<QWidget>& c : std::as_const(leftControls_))
    if (c) c->removeEventFilter(this);
  leftControls_.clear();
}

void TSkinForm::RunSysCommand(int command) {
  QWidget* w = window_;
  if (!w) return;
  switch (command) {
    case SC_RESTORE:
      w->showNormal();
      break;
    case SC_MINIMIZE:
      w->showMinimized();
      break;
    case SC_MAXIMIZE:
      w->showMaximized();
      break;
    case SC_CLOSE:
      w->close();
      break;
    case SC_MOVE:
      if (QWindow* h = w->windowHandle()) h->startSystemMove();
      break;
    case SC_SIZE:
      if (QWindow* h = w->windowHandle()) h->startSystemResize(Qt::BottomEdge | Qt::RightEdge);
      break;
    default:
      break;
  }
}

bool TSkinForm::captionObjectHot() const {
  return std::any_of(buttons_.begin(), buttons_.end(),
                     [](const CaptionButton& b) { return b.state != 1; });
}

void TSkinForm::ShowSysMenu(QPoint globalPos) {
  QWidget* w = window_;
  if (!w) return;
  // Asked again within the double-click interval: on a hot caption button (the icon) that
  // was a double click, which closes the window; anything else opens no second menu.
  if (sysMenuShown_.isValid() && sysMenuShown_.elapsed() < doubleClickTime_) {
    if (captionObjectHot()) QMetaObject::invokeMethod(w, &QWidget::close, Qt::QueuedConnection);
    return;
  }
  // Still open, the menu is closing on the very press that asks again.
  if (sysMenu_ && sysMenu_->isVisible()) return;
  delete sysMenu_.data();
  auto* menu = new QMenu(w);
  menu->setObjectName(QStringLiteral("SkinSysMenu"));
  menu->setProperty("skinPopupKind", 2);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  for (const SysMenuItem& item : SystemMenuItems(state_, style_.CaptionFlags, style_.Sizeable)) {
    if (item.command == 0) {
      menu->addSeparator();
      continue;
    }
    QAction* a = menu->addAction(glyph(skin_->MenuGlyphs, item.glyph), item.caption);
    a->setEnabled(item.enabled);
    if (!item.shortcut.isEmpty()) {
      a->setShortcut(QKeySequence(item.shortcut));
      a->setShortcutContext(Qt::WidgetShortcut);
    }
    const int command = item.command;
    connect(a, &QAction::triggered, this, [this, command] { RunSysCommand(command); });
  }
  sysMenu_ = menu;
  menu->installEventFilter(this);
  if (TSkinManage* m = ExistingSkinManager()) {
    m->PopupKind = 2;
    // Closing the popup ends its kind, so a later context menu is gated as one again.
    connect(menu, &QMenu::aboutToHide, m, [m] { m->PopupKind = 0; });
  }
  menu->popup(globalPos);
  sysMenuShown_.start();
}

void TSkinForm::sysMenuPress(const QMouseEvent* e) {
  QWidget* w = window_;
  const QPoint global = e->globalPosition().toPoint();
  if (!w || e->button() != Qt::LeftButton || sysMenu_->rect().contains(e->position().toPoint()))
    return;
  // The open menu takes every press, so the second click of a double click on the icon
  // lands here: it presses the button again and asks for the menu once more.
  const HitResult h = FrameHitTest(w->mapFromGlobal(global), w->size(), border_, menuHeight_,
                                   style_.Sizeable, state_, buttons_);
  if (h.kind != Hit::Button) return;
  CaptionButton& b = buttons_[static_cast<size_t>(h.button)];
  if (!b.enabled || ButtonActionFor(b.def->Action, state_, style_.CaptionFlags & cfSysMenu) !=
                        ButtonEffect::SysMenu)
    return;
  // Handled here; no platform hands the press to the window a second time.
  sysMenu_->setAttribute(Qt::WA_NoMouseReplay);
  b.state = 2;
  ShowSysMenu(global);
  b.state = 1;  // the menu's release never reaches the frame
}

bool TSkinForm::menuBandMouse(QEvent* e) {
  const QEvent::Type t = e->type();
  SkinFrameWidget* title = bands_[0];
  if (!title) return false;
  const auto* me = static_cast<QMouseEvent*>(e);
  if (t == QEvent::MouseButtonPress)
    bandPressed_ = me->button() == Qt::LeftButton && !menuBar_->actionAt(me->position().toPoint());
  if (!bandPressed_) return false;
  if (t == QEvent::MouseButtonRelease) {
    if (me->button() != Qt::LeftButton) return false;
    bandPressed_ = false;
  }
  // The title takes the press and what follows as its own: the caption buttons the mouse
  // passes light up, and the release runs the one under it.
  const QPointF global = me->globalPosition();
  QMouseEvent copy(t, title->mapFromGlobal(global), global, me->button(), me->buttons(),
                   me->modifiers(), me->pointingDevice());
  // The platform's clock: the copy's press would otherwise reset the one a double click is
  // timed from.
  copy.setTimestamp(me->timestamp());
  QApplication::sendEvent(title, &copy);
  // The bar still hears the press and the release, which end its own press, but not the
  // moves: held down, it would open every menu the mouse passes.
  return t == QEvent::MouseMove;
}

void TSkinForm::watchMenuBar(QObject* watched, QEvent* e) {
  const QEvent::Type type = e->type();
  if (type == QEvent::ActionAdded || type == QEvent::ActionChanged) {
    if (QMenu* m = static_cast<QActionEvent*>(e)->action()->menu()) m->installEventFilter(this);
    return;
  }
  auto* menu = qobject_cast<QMenu*>(watched);
  if (type != QEvent::Show || !menu || !menuBar_ ||
      !menuBar_->actions().contains(menu->menuAction()))
    return;
  // A menu opened from the bar starts on its first item. The keyboard has chosen one by the
  // time the menu is up; the mouse has not.
  QTimer::singleShot(0, menu, [menu] {
    if (!menu->isVisible() || menu->activeAction()) return;
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(menu, &down);
  });
}

bool TSkinForm::eventFilter(QObject* watched, QEvent* e) {
  // Menus hear events while they are being destroyed: the type is looked at first.
  // A press the platform already counts as a double click comes as one.
  const bool press =
      e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick;
  if (press && sysMenu_ && watched == sysMenu_.data()) {
    sysMenuPress(static_cast<QMouseEvent*>(e));
    return false;
  }
  if (watched != window_) {
    controlHoverEvent(watched, e);
    // The menu band's empty part is frame.
    const bool mouse = e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseMove ||
                       e->type() == QEvent::MouseButtonRelease;
    if (mouse && menuBar_ && watched == menuBar_.data() && menuBandMouse(e)) return true;
    // A right click on the band is on the frame, which has no menu there; the window's
    // own menu of its bars would open otherwise.
    if (e->type() == QEvent::ContextMenu && menuBar_ && watched == menuBar_.data()) return true;
    if (e->type() == QEvent::MouseButtonDblClick && menuBar_ && watched == menuBar_.data()) {
      const auto* me = static_cast<QMouseEvent*>(e);
      if (me->button() == Qt::LeftButton && !menuBar_->actionAt(me->position().toPoint())) {
        FrameDoubleClick();
        return true;
      }
    }
    watchMenuBar(watched, e);
    return false;
  }
  if (!bands_[0]) return false;
  switch (e->type()) {
    case QEvent::Resize:
      for (auto& band : bands_)
        if (band) band->syncGeometry();
      layoutButtons();
      // A dialog that sizes itself when shown (a message box) is widened again.
      widenForCaption();
      UpdateRegion();
      break;
    case QEvent::WindowStateChange:
      readState();
      layoutButtons();
      lastRegionSize_ = {};
      UpdateRegion();
      updateFrame();
      break;
    case QEvent::ActivationChange:
      active_ = window_->isActiveWindow();
      if (!active_) {
        // What the mouse made hot leaves with the activation; a held button stays pressed.
        leaveHoveredControls();
        for (CaptionButton& b : buttons_)
          if (b.state == 3) b.state = 1;
      }
      layoutButtons();
      updateFrame();
      if (menuBar_) menuBar_->update();
      break;
    case QEvent::WindowTitleChange:
    case QEvent::WindowIconChange:
      updateFrame();
      break;
    case QEvent::ChildAdded:
      // Children come and go; the frame stays under all of them.
      for (auto& band : bands_)
        if (band) band->lower();
      break;
    default:
      break;
  }
  return false;
}

}  // namespace ruto
