#pragma once
// The 24 measuring points: their meridian column, their cell in the 13 x 3 value grids,
// limb label, names and picture file name, and the cell -> point mapping back.

#include <QString>

namespace ruto {

inline constexpr int kPointCount = 24;

// A cell of the value grids: columns 1..12 are the meridians, row 1 the left side, row 2
// the right side. Row and column 0 are the headings.
struct GridCell {
  int col = 0;
  int row = 0;
  bool operator==(const GridCell&) const = default;
};

// Cell of point 1..24; {0, 0} for anything else.
GridCell PointCell(int point);
// Point shown in a cell; 0 for heading cells and cells outside the grid.
int CellPoint(int col, int row);
inline int CellPoint(GridCell cell) { return CellPoint(cell.col, cell.row); }

// "左  手", "右  手", "左  腳", "右  腳"; empty outside 1..24.
QString LimbLabel(int point);

// Labels by meridian column 1..12 (empty outside): the point's name ("太淵 LU9"), the
// meridian's full name ("手太陰 肺  經") and its English name ("Lung Meridian(LU)").
QString PointName(int column);
QString MeridianName(int column);
QString MeridianEnglishName(int column);
// Grid headings: meridian column 1..12 ("肺  經"), side row 1..2 ("左  側", "右  側").
QString MeridianHeading(int column);
QString SideHeading(int row);

// Picture file name parts of a point: side 'L'/'R', limb 'h'/'f', index 1..6.
struct PicturePart {
  char side = 0;
  char limb = 0;
  int index = 0;
};
PicturePart PointPicturePart(int point);
// Letter of a picture kind: 'P' photo (1), 'G' image (2), 'C' composite (3); 0 otherwise.
char PictureKindLetter(int kind);
// "GRh3.bmp" for point 9 in kind 2; empty for a point outside 1..24 or another kind.
QString PointPictureName(int point, int kind);
// Path of that picture in the install folder's "Data" folder (names match regardless of
// case); empty when PointPictureName is.
QString PointPictureFile(int point, int kind);

}  // namespace ruto
