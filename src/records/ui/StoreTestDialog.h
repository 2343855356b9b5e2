#pragma once
// The store window: files the test in work as a new stored test under a chosen or a newly
// added client.

#include <QDialog>

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
  void chooseClickedClient();
  void saveUnderClickedClient();
  void searchClients();
  void changeSortColumn();
  void changeSortDirection();
  void addClient();
  void save();
  void leave();
  // Chooses the current row's client; the panel shows it.
  void chooseCurrentClient();
  void showChosenClient();
  // Files the test under the chosen client and closes; false (window open) on failure.
  bool storeCurrentTest();

  RecordSet clients;  // VOCUST
  ClientList* clientList;
  RecordGrid* clientGrid;
  // The chosen client.
  QLabel* custNoText;
  QLabel* nameText;
  QLabel* sexText;
  QLabel* birthdayText;
  QLabel* ageText;
  QLabel* telText;
  QLabel* mobileText;
  QLabel* emailText;
  QLabel* addrText;
  QToolButton* addClientButton;
  QToolButton* saveButton;
  QToolButton* exitButton;
  QStatusBar* statusBar;

 private:
  void updateCount();
  void sortChanged(bool fromColumnBox);

  QString sortField_;
  QString searchText_;
};

}  // namespace ruto
