#include "measure/ui/ValueGrid.h"

#include "widgets/SortingGrid.h"

namespace ruto {

TSortingGrid* newValueGrid(QWidget* parent) {
  auto* grid = new TSortingGrid(parent);
  grid->setObjectName(QStringLiteral("valueGrid"));
  grid->setColCount(13);
  grid->setRowCount(3);
  grid->setFixedCols(1);
  grid->setFixedRows(1);
  grid->setDefaultColWidth(57);
  grid->setDefaultRowHeight(22);
  grid->setScrollBars(ssNone);
  grid->setAlignmentHorz(taCenter);
  grid->setAlignmentVert(taMiddle);
  grid->setClickSorting(false);
  grid->setFixedSize(13 * 58 + 3, 3 * 23 + 3);
  return grid;
}

}  // namespace ruto
