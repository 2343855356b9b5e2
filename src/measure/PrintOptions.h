#pragma once
// The analysis report's print choices as the settings file keeps them: twenty characters of
// "0" and "1", one position per check box or radio pair of the print page.

#include <QString>
#include <array>

namespace ruto {

inline constexpr int kPrintOptionCount = 20;

// Positions 1..20 (entry 0 unused).
using TPrintOptionSet = std::array<bool, kPrintOptionCount + 1>;

// Position p counts as set exactly when its character is "1"; a shorter string leaves the
// missing positions unset.
TPrintOptionSet ParsePrintOptions(const QString& flags);
// Always twenty characters; positions 9 and 10 are always "0".
QString FormatPrintOptions(const TPrintOptionSet& set);

// Which control of the print page a position stands for: a check box, or a radio pair whose
// first button means "1".
struct TPrintOptionSlot {
  int Position;
  bool Radio;
  int Control;     // the check box's number, or the number of the radio button meaning "1"
  int OtherRadio;  // the radio button that means "0"; 0 for a check box
};
const std::array<TPrintOptionSlot, 18>& PrintOptionSlots();

}  // namespace ruto
