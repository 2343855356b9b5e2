#pragma once
// The program's own message box. Every message and question goes through AskUser.

#include <QDialog>
#include <QString>
#include <functional>

#include "app/AskUser.h"
#include "app/ui/DialogFrame.h"

class QLabel;
class QPushButton;
class QTextEdit;
class QFrame;

namespace ruto {

class MessageBox : public QDialog {
  Q_OBJECT
 public:
  explicit MessageBox(QWidget* parent = nullptr);

  // Only the icon and the buttons of the asked kind show.
  QLabel* importantIcon;
  QLabel* questionIcon;
  QLabel* warningIcon;
  QLabel* logo;
  QTextEdit* messageText;
  QPushButton* yesButton;  // 是
  QPushButton* okButton;   // 確  定
  QPushButton* noButton;   // 否
  QFrame* outerFrame;
  QFrame* textFrame;

  void showRequest();
  void hideAnswers();

 protected:
  void showEvent(QShowEvent* e) override;
  void done(int r) override;

 private:
  void answerYes();
  void acknowledge();
  void answerNo();
};

// Makes AskUser show this dialog (done by the program at start and by window tests).
void InstallMessageBox();

// Hook run with every dialog just before its modal loop starts (tests schedule clicks here).
void SetAskUserShowHook(std::function<void(MessageBox&)> hook);

// The kind icons and the logo, drawn by the program.
QPixmap MessageIcon(int which);  // 1 important information, 2 question, 3 warning
QPixmap MessageLogo();

}  // namespace ruto
