#pragma once
// The menu bar of a skinned window behaves like the skin's own bar: an item's command runs on
// the press, for the item pressed; Alt alone and F10 reach the bar from the keyboard; Escape
// in one of its menus ends the menu and gives the keyboard back; moving along the bar only
// highlights; and the bar rereads its items only while the skin data asks for it.

#include <QObject>
#include <QPointer>

class QAction;
class QMenuBar;
class QWidget;

namespace ruto {

class TSkinData;

class TSkinMenuBar : public QObject {
  Q_OBJECT
 public:
  TSkinMenuBar(QMenuBar* bar, const TSkinData* skin, QObject* parent);
  ~TSkinMenuBar() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  bool barEvent(QEvent* e);
  bool keyEvent(QObject* watched, QEvent* e);
  // Opens the first item's menu, or only highlights it when it is a command.
  void openFirst();
  // The bar keeps the keyboard with `a` highlighted; null ends that.
  void highlight(QAction* a);
  QAction* firstItem() const;

  QPointer<QMenuBar> bar_;
  const TSkinData* skin_;
  bool altAlone_ = false;   // Alt is down and nothing else was pressed with it
  bool keyboard_ = false;   // the bar has the keyboard, an item highlighted, no menu open
  bool releasing_ = false;  // a release of our own is on its way to the bar
};

}  // namespace ruto
