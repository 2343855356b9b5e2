#pragma once
// The store window: files the test in work as a new stored test under a chosen or a newly
// added client.

#include <QDialog>
#include <array>

#include "app/RecordSet.h"
#include "app/ui/FormShowOnce.h"

class QLabel;
class QStatusBar;
class QToolButton;

namespace ruto {

class ClientList;
class RecordGrid;

class StoreTestDialog : public FormShowOnce<QDialog> {
  Q_OBJECT
 public:
  explicit StoreTestDialog(QWidget* parent = nullptr);

  void FormShow() override;
  void DBGrid1ColEnter();
  void DBGrid1DblClick();
  void Edit1Change();
  void ComboBox1Change();
  void ComboBox2Change();
  void ToolButton1Click();
  void ToolButton2Click();
  void ToolButton3Click();
  // Chooses the current row's client; the panel shows it.
  void ChooseRow();
  void ShowChosenClient();
  // Files the test under the chosen client and closes; false (window open) on failure.
  bool StoreCurrentTest();

  RecordSet ADOTable1;  // VOCUST
  ClientList* List;
  RecordGrid* DBGrid1;
  std::array<QLabel*, 10> StaticText{};  // StaticText1..9 at 1..9
  QToolButton* ToolButton1;
  QToolButton* ToolButton2;
  QToolButton* ToolButton3;
  QStatusBar* StatusBar1;

 private:
  void updateCount();
  void sortChanged(bool fromColumnBox);

  QString SortField;
  QString SearchText;
};

}  // namespace ruto
