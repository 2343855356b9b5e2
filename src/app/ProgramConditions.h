#pragma once
// The condition strings of an expert program: ConditionDigits (ProCond), GroupFlags (ProAnd)
// and FunctionKeyFlags (ProFN) read position by position, and the editor's form of a row.

#include <QString>
#include <array>
#include <utility>

namespace ruto {

inline constexpr int kConditionPositions = 24;
// Position 1's range mode: 4 + the comparison index (equal, greater, less).
inline constexpr int kRangeCodeBase = 4;
inline const QString kNoConditions = QStringLiteral("000000000000000000000000");

// What a stored string reads as: a trimmed-empty value is 24 zeros, anything else is read
// untrimmed.
QString ConditionText(const QString& stored);
// Code 0..9 of position 1..24: the digit's value, 0 for a non-digit or a position past the end.
int ConditionCode(const QString& stored, int position);
// A group flag is set when its character's value is 1.
bool GroupFlagSet(const QString& stored, int position);
// Codes of positions 1..24 at once (entry 0 unused), as ConditionCode reads them.
std::array<int, kConditionPositions + 1> ConditionCodes(const QString& stored);

// Run button n (1..4) is enabled when character n of ProFN is "1"; a missing one is not.
bool FunctionKeyEnabled(const QString& proFN, int n);
// Four characters "1"/"0".
QString FunctionKeyFlags(const std::array<bool, 4>& enabled);

// The condition controls of one row. Arrays are indexed by position (entry 0 unused).
// Positions 3 and 5 have one box (First). Position 1 in range mode ignores its boxes.
struct TConditionForm {
  std::array<bool, 23> First{};   // positions 1..22: 虛弱/衰弱/異常/減弱/虛證
  std::array<bool, 23> Second{};  // positions 1..22: 亢奮/增強/實證
  std::array<bool, 23> Group{};   // positions 1..22: the group check box (mandatory)
  bool Range = false;             // 範圍
  int RangeIndex = -1;            // 0 等於, 1 大於, 2 小於; -1 nothing selected
  bool AgeLow = false;            // 大於等於 ProAGL
  bool AgeHigh = false;           // 小於等於 ProAGH
  bool SexCondition = false;      // 性別條件
  bool Male = true;               // 男性 (else 女性)

  bool operator==(const TConditionForm&) const = default;
};

// Positions whose code the controls cannot show (4 and more at 2, 4, 6..23, 3 and more at 24)
// show cleared; a range code past the three comparisons shows range mode with no comparison.
TConditionForm DecodeConditions(const QString& proCond, const QString& proAnd);
// Exactly 24 digits and 24 flags, the flags ending "00".
std::pair<QString, QString> EncodeConditions(const TConditionForm& form);

// Whether a typed age bound can be stored: the matcher's ages run from 0 to 65535 (a 16-bit
// year difference); anything outside is no age.
bool AgeBoundFits(double age);

// The position a 0..`maximum` spin takes for a stored number: its integer part, clamped.
int SpinPosition(double value, int maximum);

}  // namespace ruto
