#pragma once
// The client and test browser: loads a stored test as the test in work or as the comparison
// test, edits and deletes clients, corrects and deletes tests.

#include "app/ui/OpenerDialog.h"

#include "app/RecordSet.h"

class QPlainTextEdit;
class QStatusBar;
class QToolButton;

namespace ruto {

class ClientList;
class RecordGrid;

class ClientBrowser : public OpenerDialog {
  Q_OBJECT
 public:
  explicit ClientBrowser(QWidget* parent = nullptr);

  void FormShow();
  void disableClientDelete();
  void activateClientList();
  void editClientInPlace();
  void disableTestDelete();
  void activateTestList();
  void searchClients();
  void changeSortColumn();
  void changeSortDirection();
  void loadSelectedTest();
  void editClient();
  void deleteClient();
  void editTest();
  void deleteTest();
  void leave();

  RecordSet clients;  // VOCUST
  RecordSet tests;    // VODATA of the current client
  ClientList* clientList;
  RecordGrid* clientGrid;
  RecordGrid* testGrid;
  QPlainTextEdit* clientMemo;
  QPlainTextEdit* testMemo;
  QToolButton* loadButton;
  QToolButton* editClientButton;
  QToolButton* deleteClientButton;
  QToolButton* editTestButton;
  QToolButton* deleteTestButton;
  QToolButton* exitButton;
  QStatusBar* statusBar;

 protected:
  // The show steps run on every show, not only the first: back from a child window the
  // browser starts over (no action enabled, no search) before the command that hid it
  // returns to its row.
  void showEvent(QShowEvent* event) override;

 private:
  // The client row changed: its tests, memos and the count follow.
  void clientRowChanged();
  void testRowChanged();
  void updateCount();
  void sortChanged(bool fromColumnBox);
  // Runs a child window with this one hidden, then comes back to the client row and runs
  // `after`.
  void runHidden(std::function<void()> child, std::function<void()> after);

  QString sortField_;
  QString searchText_;
  bool clientListActive_ = false;
  bool testListActive_ = false;
};

}  // namespace ruto
