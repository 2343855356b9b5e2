#pragma once
// The client and test browser: loads a stored test as the test in work or as the comparison
// test, edits and deletes clients, corrects and deletes tests.

#include "app/ui/OpenerDialog.h"

#include "app/RecordSet.h"
#include "app/ui/FormShowOnce.h"

class QPlainTextEdit;
class QStatusBar;
class QToolButton;

namespace ruto {

class ClientList;
class RecordGrid;

class ClientBrowser : public FormShowOnce<OpenerDialog> {
  Q_OBJECT
 public:
  explicit ClientBrowser(QWidget* parent = nullptr);

  void FormShow() override;
  void DBGrid1Enter();
  void DBGrid1ColEnter();
  void DBGrid1DblClick();
  void DBGrid2Enter();
  void DBGrid2ColEnter();
  void Edit1Change();
  void ComboBox1Change();
  void ComboBox2Change();
  void ToolButton1Click();
  void ToolButton2Click();
  void ToolButton3Click();
  void ToolButton4Click();
  void ToolButton5Click();
  void ToolButton6Click();

  RecordSet ADOTable1;  // VOCUST
  RecordSet ADOTable2;  // VODATA of the current client
  ClientList* List;
  RecordGrid* DBGrid1;
  RecordGrid* DBGrid2;
  QPlainTextEdit* DBMemo1;
  QPlainTextEdit* DBMemo2;
  QToolButton* ToolButton[7]{};  // ToolButton1..6 at 1..6
  QStatusBar* StatusBar1;

 private:
  // The client row changed: its tests, memos and the count follow.
  void clientRowChanged();
  void testRowChanged();
  void updateCount();
  void sortChanged(bool fromColumnBox);
  // Runs a child window with this one hidden, then comes back to the client row and runs
  // `after`.
  void runHidden(std::function<void()> child, std::function<void()> after);

  QString SortField;
  QString SearchText;
  bool ClientListActive = false;
  bool TestListActive = false;
};

}  // namespace ruto
