#include "app/ProgramConditions.h"

#include <cmath>

#include "base/Text.h"

namespace ruto {

QString ConditionText(const QString& stored) {
  return ruto::Trim(stored).isEmpty() ? kNoConditions : stored;
}

int ConditionCode(const QString& stored, int position) {
  const QString text = ConditionText(stored);
  if (position < 1 || position > text.size()) return 0;
  const QChar c = text.at(position - 1);
  return (c >= u'0' && c <= u'9') ? c.unicode() - u'0' : 0;
}

bool GroupFlagSet(const QString& stored, int position) {
  return ConditionCode(stored, position) == 1;
}

std::array<int, kConditionPositions + 1> ConditionCodes(const QString& stored) {
  std::array<int, kConditionPositions + 1> codes{};
  const QString text = ConditionText(stored);
  const int n = static_cast<int>(qMin<qsizetype>(text.size(), kConditionPositions));
  for (int p = 1; p <= n; ++p) {
    const QChar c = text.at(p - 1);
    codes[static_cast<size_t>(p)] = (c >= u'0' && c <= u'9') ? c.unicode() - u'0' : 0;
  }
  return codes;
}

bool FunctionKeyEnabled(const QString& proFN, int n) {
  return n >= 1 && n <= proFN.size() && proFN.at(n - 1) == u'1';
}

QString FunctionKeyFlags(const std::array<bool, 4>& enabled) {
  QString out;
  for (bool on : enabled) out += on ? u'1' : u'0';
  return out;
}

TConditionForm DecodeConditions(const QString& proCond, const QString& proAnd) {
  TConditionForm f;
  for (int p = 1; p <= kConditionPositions; ++p) {
    const int c = ConditionCode(proCond, p);
    if (p == 1) {
      if (c >= kRangeCodeBase) {
        f.Range = true;
        const int index = c - kRangeCodeBase;
        f.RangeIndex = index <= 2 ? index : -1;
      } else {
        f.First[1] = c == 1 || c == 3;
        f.Second[1] = c == 2 || c == 3;
      }
    } else if (p == 3 || p == 5) {
      f.First[p] = c != 0;
    } else if (p <= 22) {
      if (c < 4) {
        f.First[p] = c == 1 || c == 3;
        f.Second[p] = c == 2 || c == 3;
      }
    } else if (p == 23) {
      if (c < 4) {
        f.AgeLow = c == 1 || c == 3;
        f.AgeHigh = c == 2 || c == 3;
      }
    } else if (c == 1 || c == 2) {
      f.SexCondition = true;
      f.Male = c == 1;
    }
  }
  for (int p = 1; p <= 22; ++p) f.Group[p] = GroupFlagSet(proAnd, p);
  return f;
}

std::pair<QString, QString> EncodeConditions(const TConditionForm& f) {
  QString digits, flags;
  for (int p = 1; p <= kConditionPositions; ++p) {
    int c = 0;
    if (p == 1 && f.Range) {
      c = kRangeCodeBase + (f.RangeIndex >= 0 && f.RangeIndex <= 2 ? f.RangeIndex : 0);
    } else if (p == 3 || p == 5) {
      c = f.First[p] ? 1 : 0;
    } else if (p <= 22) {
      c = (f.Second[p] ? 2 : 0) + (f.First[p] ? 1 : 0);
    } else if (p == 23) {
      c = (f.AgeHigh ? 2 : 0) + (f.AgeLow ? 1 : 0);
    } else {
      c = f.SexCondition ? (f.Male ? 1 : 2) : 0;
    }
    digits += QChar(u'0' + c);
    flags += (p <= 22 && f.Group[p]) ? u'1' : u'0';
  }
  return {digits, flags};
}

bool AgeBoundFits(double age) { return age >= 0.0 && age < 65536.0; }

int SpinPosition(double value, int maximum) {
  if (!std::isfinite(value) || value <= 0) return 0;
  if (value >= maximum) return maximum;
  return static_cast<int>(value);
}

}  // namespace ruto
