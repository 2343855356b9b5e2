#pragma once
// The skin of one top-level window: a frameless window whose contents margins make room for
// the skin's frame, a frame widget below every child that paints the bands and takes their
// mouse, a mask from the frame's transparent pixels, and the skinned system menu.

#include <QElapsedTimer>
#include <QMargins>
#include <QMenu>
#include <QObject>
#include <QPalette>
#include <QPointer>
#include <QRegion>
#include <array>
#include <functional>
#include <vector>

#include "skin/SkinFrame.h"
#include "skin/ui/SkinFrameWidget.h"

class QMenuBar;
class QMouseEvent;
class QShortcut;
class QWidget;

namespace ruto {

class TSkinData;
class TSkinMenuBar;

// Qt's own dialogs (message boxes, file, colour, font, input, progress, print dialogs): they
// take the dialog frame and the dialog skin data, like the platform's dialog boxes.
bool isStandardDialog(const QWidget* w);

class TSkinForm : public QObject {
  Q_OBJECT
 public:
  TSkinForm(QWidget* window, TSkinData* skin);
  ~TSkinForm() override;

  void Attach();
  void Detach();
  // Frame widths and buttons again from the skin (after a load), then a new layout; the
  // window keeps its size, or for a reload its client.
  void RebuildCaptionButtons(bool keepClient = false);
  // Lets go of the caption buttons: they point into skin objects a new load is replacing.
  // The frame shows none until they are laid out again.
  void DropCaptionButtons();
  void RefreshSkin();

  QWidget* window() const { return window_; }
  TSkinData* SkinData() const { return skin_; }
  bool attached() const { return attached_; }
  const FrameStyle& style() const { return style_; }
  QMargins border() const { return border_; }
  int menuHeight() const { return menuHeight_; }
  bool active() const { return active_; }
  WinState state() const { return state_; }
  const std::vector<CaptionButton>& buttons() const { return buttons_; }
  std::vector<CaptionButton>& buttons() { return buttons_; }
  // The title band's widget (window coordinates there are its own).
  SkinFrameWidget* frameWidget() const { return bands_[0]; }
  // Repaints the part of the frame under a window rectangle; all of it without one.
  void updateFrame(const QRect& r = QRect());
  QMenu* sysMenu() const { return sysMenu_; }

  // Lays the caption buttons out for the current size and state.
  void layoutButtons();
  // What a button's action does; non-standard actions raise buttonAction.
  void RunButtonAction(const CaptionButton& b, QPoint at);
  void RunSysCommand(int command);
  // A double click on the frame off its buttons: restores a maximised or minimised window,
  // maximises one with a maximize box.
  void FrameDoubleClick();
  void ShowSysMenu(QPoint globalPos);
  // Rebuilds the window mask from the painted frame.
  void UpdateRegion();

  // Answers visibility codes 1000..2000 for the application; 0 by default.
  std::function<int(int code, int action)> OnButtonVisible;

 Q_SIGNALS:
  // A caption button with an action the layer does not know was released.
  void buttonAction(int action);

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void readState();
  // A caption button is pressed or under the mouse.
  bool captionObjectHot() const;
  // A press the open system menu takes outside itself.
  void sysMenuPress(const QMouseEvent* e);
  // The mouse on the menu band off its items is on the frame; true when the bar must not
  // hear it.
  bool menuBandMouse(QEvent* e);
  // Menus of the window's menu bar are watched for their opening.
  void watchMenuBar(QObject* watched, QEvent* e);
  // Maps the window's controls and tells the application the window is skinned.
  void finishAttach(const QString& className);
  // A deactivated window's controls under the mouse lose their hot look until the mouse
  // moves over them again.
  void leaveHoveredControls();
  // Such a control takes its hot look back on the mouse's next move over it.
  void controlHoverEvent(QObject* watched, QEvent* e);
  void releaseLeftControls();
  // Widens a dialog whose caption would not fit its title.
  void widenForCaption();
  // Grows (or shrinks back) the window from base by the frame, keeping its client.
  void layoutWindow(bool grow, QSize base);

  QPointer<QWidget> window_;
  TSkinData* skin_;
  FrameStyle style_;
  QMargins border_;
  int menuHeight_ = 0;
  bool active_ = false;
  bool attached_ = false;
  bool framed_ = false;   // the frame is painted (not only the controls)
  bool widened_ = false;  // a dialog was widened for its caption
  WinState state_ = WinState::Normal;
  std::vector<CaptionButton> buttons_;
  std::array<QPointer<SkinFrameWidget>, 4> bands_;  // title, left, right, bottom
  QPointer<QMenu> sysMenu_;
  QElapsedTimer sysMenuShown_;  // since the system menu last opened
  int doubleClickTime_ = 0;
  bool refreshing_ = false;  // a reload is applying the skin again
  QPointer<QShortcut> altSpace_;
  QSize lastRegionSize_;
  // What attaching changed, given back on detach.
  Qt::WindowFlags savedFlags_;
  QMargins savedMargins_;
  QPalette savedPalette_;
  bool savedOwnPalette_ = false;
  QSize savedMin_, savedMax_;
  QPointer<QMenuBar> menuBar_;
  bool bandPressed_ = false;  // the left button went down on the menu band off its items
  QList<QPointer<QWidget>> leftControls_;  // lost their hot look at a deactivation
  QPointer<TSkinMenuBar> menuBarSkin_;
  int savedMenuMin_ = 0, savedMenuMax_ = 0;
};

}  // namespace ruto
