#include "measure/PointTables.h"

#include <array>

#include "app/InstallDir.h"
#include "base/Files.h"

namespace ruto {

namespace {

constexpr std::array<const char*, 12> kPointNames = {
    "太淵 LU9", "大陵 PC7", "神門 HT7", "腕骨 SI4",  "陽池 SJ4",  "陽谿 LI5",
    "太白 SP3", "太衝 LR3", "大鐘 KI4", "束骨 BL65", "丘墟 GB40", "衝陽 ST42"};

constexpr std::array<const char*, 12> kMeridianNames = {
    "手太陰 肺  經", "手厥陰 心包經", "手少陰 心  經", "手太陽 小腸經",
    "手少陽 三焦經", "手陽明 大腸經", "足太陰 脾  經", "足厥陰 肝  經",
    "足少陰 腎  經", "足太陽 膀胱經", "足少陽 膽  經", "足陽明 胃  經"};

constexpr std::array<const char*, 12> kMeridianEnglishNames = {
    "Lung Meridian(LU)",         "Pericardium Meridian(PC)",
    "Heart Meridian(HT)",        "Small Intestine Meridian(SI)",
    "Sanjiao Meridian(SJ)",      "Large Intestine Meridian(LI)",
    "Spleen Meridian(SP)",       "Liver Meridian(LR)",
    "Kidney Meridian(KI)",       "Bladder Meridian(BL)",
    "Gall Bladder Meridian(GB)", "Stomach Meridian(ST)"};

constexpr std::array<const char*, 12> kHeadings = {"肺  經", "心包經", "心  經", "小腸經",
                                                   "三焦經", "大腸經", "脾  經", "肝  經",
                                                   "腎  經", "膀胱經", "膽  經", "胃  經"};

QString columnText(const std::array<const char*, 12>& table, int column) {
  if (column < 1 || column > 12) return {};
  return QString::fromUtf8(table[static_cast<std::size_t>(column - 1)]);
}

// The four groups of six points in order: left hand, right hand, left foot, right foot.
int groupOf(int point) { return (point >= 1 && point <= kPointCount) ? (point - 1) / 6 : -1; }

}  // namespace

GridCell PointCell(int point) {
  switch (groupOf(point)) {
    case 0:
      return {point, 1};
    case 1:
      return {point - 6, 2};
    case 2:
      return {point - 6, 1};
    case 3:
      return {point - 12, 2};
    default:
      return {};
  }
}

int CellPoint(int col, int row) {
  if (col < 1 || col > 12) return 0;
  if (row == 1) return col <= 6 ? col : col + 6;
  if (row == 2) return col <= 6 ? col + 6 : col + 12;
  return 0;
}

QString LimbLabel(int point) {
  switch (groupOf(point)) {
    case 0:
      return QStringLiteral("左  手");
    case 1:
      return QStringLiteral("右  手");
    case 2:
      return QStringLiteral("左  腳");
    case 3:
      return QStringLiteral("右  腳");
    default:
      return {};
  }
}

QString PointName(int column) { return columnText(kPointNames, column); }
QString MeridianName(int column) { return columnText(kMeridianNames, column); }
QString MeridianEnglishName(int column) { return columnText(kMeridianEnglishNames, column); }
QString MeridianHeading(int column) { return columnText(kHeadings, column); }

QString SideHeading(int row) {
  if (row == 1) return QStringLiteral("左  側");
  if (row == 2) return QStringLiteral("右  側");
  return {};
}

PicturePart PointPicturePart(int point) {
  const int group = groupOf(point);
  if (group < 0) return {};
  return {(group % 2 == 0) ? 'L' : 'R', group < 2 ? 'h' : 'f', point - 6 * group};
}

char PictureKindLetter(int kind) {
  switch (kind) {
    case 1:
      return 'P';
    case 2:
      return 'G';
    case 3:
      return 'C';
    default:
      return 0;
  }
}

QString PointPictureName(int point, int kind) {
  const PicturePart part = PointPicturePart(point);
  const char letter = PictureKindLetter(kind);
  if (part.index == 0 || letter == 0) return {};
  return QStringLiteral("%1%2%3%4.bmp")
      .arg(QLatin1Char(letter))
      .arg(QLatin1Char(part.side))
      .arg(QLatin1Char(part.limb))
      .arg(part.index);
}

QString PointPictureFile(int point, int kind) {
  const QString name = PointPictureName(point, kind);
  if (name.isEmpty()) return {};
  return pathNoCase(InstallPath(QStringLiteral("Data")), name);
}

}  // namespace ruto
