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

class TVoMsag : public QDialog {
  Q_OBJECT
 public:
  explicit TVoMsag(QWidget* parent = nullptr);

  // Controls, named as in the layout.
  QLabel* Image1;  // important information
  QLabel* Image2;  // question
  QLabel* Image3;  // warning
  QLabel* Image4;  // logo
  QTextEdit* Memo1;
  QPushButton* BitBtn1;  // 是
  QPushButton* BitBtn2;  // 確  定
  QPushButton* BitBtn3;  // 否
  QFrame* Bevel1;
  QFrame* Bevel2;

  void FormShow();
  void FormClose();

 protected:
  void showEvent(QShowEvent* e) override;
  void done(int r) override;

 private:
  void BitBtn1Click();
  void BitBtn2Click();
  void BitBtn3Click();
};

// Makes AskUser show this dialog (done by the program at start and by window tests).
void InstallMessageBox();

// Hook run with every dialog just before its modal loop starts (tests schedule clicks here).
void SetAskUserShowHook(std::function<void(TVoMsag&)> hook);

// The kind icons and the logo, drawn by the program.
QPixmap MessageIcon(int which);  // 1 important information, 2 question, 3 warning
QPixmap MessageLogo();

}  // namespace ruto
