#include "measure/PrintOptions.h"

namespace ruto {

TPrintOptionSet ParsePrintOptions(const QString& flags) {
  TPrintOptionSet set{};
  for (int p = 1; p <= kPrintOptionCount && p <= flags.size(); ++p)
    set[p] = flags[p - 1] == QLatin1Char('1');
  return set;
}

QString FormatPrintOptions(const TPrintOptionSet& set) {
  QString flags;
  for (int p = 1; p <= kPrintOptionCount; ++p)
    flags += (set[p] && p != 9 && p != 10) ? QLatin1Char('1') : QLatin1Char('0');
  return flags;
}

const std::array<TPrintOptionSlot, 18>& PrintOptionSlots() {
  static const std::array<TPrintOptionSlot, 18> slots = {{
      {1, true, 1, 2},
      {2, false, 1, 0},
      {3, false, 2, 0},
      {4, false, 3, 0},
      {5, false, 4, 0},
      {6, false, 5, 0},
      {7, false, 6, 0},
      {8, false, 7, 0},
      {11, false, 10, 0},
      {12, false, 11, 0},
      {13, false, 12, 0},
      {14, false, 13, 0},
      {15, false, 14, 0},
      {16, false, 15, 0},
      {17, true, 5, 6},
      {18, true, 12, 7},
      {19, false, 16, 0},
      {20, false, 17, 0},
  }};
  return slots;
}

}  // namespace ruto
