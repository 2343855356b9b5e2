#pragma once
// The client list of the browser and the store window: search box, sort column and
// direction boxes, count label and the grid of VOCUST rows with the calculated columns.

#include <QWidget>

#include "records/ui/RecordGrid.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace ruto {

class ClientList : public QWidget {
  Q_OBJECT
 public:
  // Browser and store window title a few columns differently.
  enum class Titles { Browser, Store };
  ClientList(RecordSet* clients, Titles titles, QWidget* parent = nullptr);

  // Boxes show the key (without running their change handlers) and the set sorts by it.
  void showSortKey(int sortKey);
  void setCountText(const QString& text);
  // The sort boxes changed: the column box (`fromColumnBox`) sets `sortField`, the client sort
  // key follows both boxes, and the clients take the new order on the same row.
  void sortByBoxes(QString& sortField, bool fromColumnBox);

  QLineEdit* searchEdit;
  QComboBox* sortColumnBox;
  QComboBox* sortDirectionBox;
  QLabel* countLabel;
  RecordGrid* clientGrid;
};

// The calculated VOCUST columns and the stored ones, as the client lists show them.
QList<GridColumn> ClientColumns(ClientList::Titles titles);

}  // namespace ruto
