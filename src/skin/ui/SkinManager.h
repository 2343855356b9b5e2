#pragma once
// The one skin manager of the program: an application-wide event filter that attaches a
// form skin to every top-level window when it is first shown, and runs the switch-on,
// switch-off and reload commands of the skin data on a timer.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <vector>

#include "skin/SkinRules.h"

class QStyle;
class QWidget;

namespace ruto {

class TSkinData;
class TSkinForm;

class TSkinManage : public QObject {
  Q_OBJECT
 public:
  TSkinManage();
  ~TSkinManage() override;

  void AddSkinData(TSkinData* data);
  void RemoveSkinData(TSkinData* data);
  TSkinData* MainSkinData() const { return main_; }

  // Command 1 switches skinning on, 2 off, 3 reloads; run by the timer after delayMs.
  void SetCommand(TSkinData* target, int command, int delayMs);
  // Runs a pending command at once (tests; the timer does the same).
  void runPendingCommand();
  int pendingCommand() const { return command_; }

  // Attaches a form skin when every test passes; the reason otherwise.
  SkinRefusal SkinWindow(QWidget* window);
  // A skin data of single windows was loaded: counted, and its owner window skinned with it
  // at once when asked, whether or not skinning is switched on.
  void SkinSingleWindows(TSkinData* data, bool skinOwner);
  int singleWindowCount() const { return singleWindows_; }
  TSkinForm* FindFormSkin(const QWidget* window) const;
  QList<TSkinForm*> formSkins() const;
  // The form skins painted from data.
  QList<TSkinForm*> formSkinsOf(const TSkinData* data) const;
  // The skin data a popup menu's window is painted with: chosen as for any window that is
  // no form, whichever window opened the menu.
  TSkinData* PopupSkinData() const;

  bool Active() const { return active_; }
  bool Started() const { return started_; }
  // Kind of the popup about to open: 0 context, 1 a window's menu, 2 the system menu.
  int PopupKind = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void runCommand(int command);
  // Command 2 of an sfOnlyThisForm target: its owner window alone gives back its skin.
  void releaseOwnWindow();
  // Reloads one form skin and the skins of its window's controls.
  void reloadFormSkin(TSkinForm* f);
  // Detaches and frees one form skin, the window repainted without it.
  void releaseFormSkin(TSkinForm* f);
  void purgeFormSkins();
  // SkinWindow with the skin data's choice; a given one skins its own window at once.
  SkinRefusal attachFormSkin(QWidget* w, TSkinData* own);
  // Frees the caption buttons of data's windows before its objects go; without a reload to
  // come they are laid out again from the new ones at once.
  void skinReplaced(TSkinData* data, bool reloadAsked);
  void switchStyle(bool skinned);

  std::vector<TSkinData*> datas_;
  TSkinData* main_ = nullptr;
  TSkinData* target_ = nullptr;
  QList<QPointer<TSkinForm>> forms_;
  QTimer timer_;
  int command_ = 0;
  int singleWindows_ = 0;
  bool active_ = false;
  bool forceAll_ = false;
  bool started_ = false;
  bool hooked_ = false;  // new windows are looked at (a main window's skin data came)
  QPointer<QStyle> skinStyle_;
  QString savedStyleName_;
};

// The manager, made on first use; it lives until the application ends.
TSkinManage* SkinManager();
// The manager if one was made.
TSkinManage* ExistingSkinManager();

// Window property that keeps a window (and its popups) unskinned when it holds 99.
inline constexpr char kTagProperty[] = "tag";

}  // namespace ruto
