#pragma once
// A row-select grid over a record set, telling apart how the user reached it: "entered" is
// a focus-in that window activation did not cause, "colEnter" a click or key move in it.

#include <QTableView>
#include <functional>

#include "app/RecordTableModel.h"

namespace ruto {

// How a grid column looks: the record column, its title, width and alignment, and the text
// of its values when the plain one is not wanted.
struct GridColumn {
  QString name;
  QString title;
  int width = 80;
  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
  std::function<QString(const QVariant&)> format;
};

// Values shown "###.#": one decimal at most, no digits where the value has none (0 is empty,
// 0.5 is ".5").
QString PointValueText(const QVariant& value);

class RecordGridModel : public RecordTableModel {
  Q_OBJECT
 public:
  RecordGridModel(RecordSet* set, const QList<GridColumn>& columns, QObject* parent = nullptr);
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  const QList<GridColumn>& gridColumns() const { return columns_; }

 private:
  QList<GridColumn> columns_;
};

class RecordGrid : public QTableView {
  Q_OBJECT
 public:
  RecordGrid(RecordSet* set, const QList<GridColumn>& columns, QWidget* parent = nullptr);

  RecordSet* recordSet() const { return set_; }
  RecordGridModel* gridModel() const { return model_; }
  // The set was read again or moved: the grid shows it and its current row.
  void reload();
  // The grid's selection follows the set's current row.
  void showCurrent();

 Q_SIGNALS:
  void entered();
  void colEnter();
  // The current row of the set changed, by the user or by showCurrent().
  void rowChanged();
  void rowDoubleClicked();
  // A double click anywhere in the grid, on a row or not, its titles and row marks included.
  void gridDoubleClicked();

 protected:
  // A row-select grid keeps its current row highlighted: a click off the rows, a Ctrl+click or
  // Ctrl+Space leave the highlight where it is, since the actions work on that row.
  QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                       const QEvent* event) const override;
  void focusInEvent(QFocusEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

  RecordSet* set_;
  RecordGridModel* model_;
  bool syncing_ = false;
};

}  // namespace ruto
