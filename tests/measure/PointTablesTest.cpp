// Point, grid cell, limb label and picture name agree for every point and back; each column
// has its names and heading.

#include <gtest/gtest.h>

#include "app/SharedRecords.h"
#include "measure/PointTables.h"

using namespace ruto;

TEST(PointTables, EveryPointMapsToItsCellAndBack) {
  for (int p = 1; p <= kPointCount; ++p) {
    EXPECT_EQ(PointCell(p).col, MeridianColumn(p)) << p;
    EXPECT_EQ(CellPoint(PointCell(p)), p) << p;
  }
  // Heading and outside cells hold no point.
  for (const GridCell cell : {GridCell{0, 1}, GridCell{1, 0}, GridCell{13, 1}, GridCell{1, 3},
                              GridCell{-1, 2}, GridCell{0, 0}})
    EXPECT_EQ(CellPoint(cell), 0) << cell.col << "," << cell.row;
}

TEST(PointTables, PointsOfGroupsAndEdges) {
  const std::tuple<int, GridCell, const char*, const char*> cases[] = {
      {1, {1, 1}, "左  手", "PLh1.bmp"},
      {6, {6, 1}, "左  手", "PLh6.bmp"},
      {7, {1, 2}, "右  手", "PRh1.bmp"},
      {9, {3, 2}, "右  手", "PRh3.bmp"},
      {12, {6, 2}, "右  手", "PRh6.bmp"},
      {13, {7, 1}, "左  腳", "PLf1.bmp"},
      {15, {9, 1}, "左  腳", "PLf3.bmp"},
      {18, {12, 1}, "左  腳", "PLf6.bmp"},
      {19, {7, 2}, "右  腳", "PRf1.bmp"},
      {20, {8, 2}, "右  腳", "PRf2.bmp"},
      {21, {9, 2}, "右  腳", "PRf3.bmp"},
      {24, {12, 2}, "右  腳", "PRf6.bmp"},
      {0, {0, 0}, "", ""},
      {25, {0, 0}, "", ""}};
  for (const auto& [point, cell, limb, picture1] : cases) {
    EXPECT_EQ(PointCell(point), cell) << point;
    EXPECT_EQ(LimbLabel(point), QString::fromUtf8(limb)) << point;
    EXPECT_EQ(PointPictureName(point, 1), QString::fromUtf8(picture1)) << point;
  }
  // The other picture kinds change only the first letter; kinds outside 1 to 3 have none.
  EXPECT_EQ(PointPictureName(9, 2), "GRh3.bmp");
  EXPECT_EQ(PointPictureName(13, 3), "CLf1.bmp");
  EXPECT_EQ(PointPictureName(1, 0), "");
  EXPECT_EQ(PointPictureName(1, 4), "");
}

// The picture kinds are checked with the points above; these are the labels the windows show.
TEST(PointTables, NamesAndHeadingsByColumn) {
  // Columns at both ends and between them; outside 1 to 12 there is no label.
  const struct {
    int column;
    const char *point, *meridian, *english, *heading;
  } cases[] = {{2, "大陵 PC7", "手厥陰 心包經", "Pericardium Meridian(PC)", "心包經"},
               {5, "陽池 SJ4", "手少陽 三焦經", "Sanjiao Meridian(SJ)", "三焦經"},
               {10, "束骨 BL65", "足太陽 膀胱經", "Bladder Meridian(BL)", "膀胱經"},
               {12, "衝陽 ST42", "足陽明 胃  經", "Stomach Meridian(ST)", "胃  經"},
               {0, "", "", "", ""},
               {13, "", "", "", ""}};
  for (const auto& c : cases) {
    EXPECT_EQ(PointName(c.column), QString::fromUtf8(c.point)) << c.column;
    EXPECT_EQ(MeridianName(c.column), QString::fromUtf8(c.meridian)) << c.column;
    EXPECT_EQ(MeridianEnglishName(c.column), QString::fromUtf8(c.english)) << c.column;
    EXPECT_EQ(MeridianHeading(c.column), QString::fromUtf8(c.heading)) << c.column;
  }
  EXPECT_EQ(PointName(1), "太淵 LU9");
  EXPECT_EQ(SideHeading(1), "左  側");
  EXPECT_EQ(SideHeading(2), "右  側");
  EXPECT_EQ(SideHeading(0), "");
  EXPECT_EQ(SideHeading(3), "");
}
