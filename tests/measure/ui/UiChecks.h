#pragma once
// Many controls checked in one assertion: their texts joined by '|', their states as a line of
// 0s and 1s; a failure shows the whole line against the expected one.

#include <QStringList>

#include <initializer_list>
#include <string>

namespace ruto::test {

inline QString joined(std::initializer_list<QString> texts) { return QStringList(texts).join('|'); }

inline std::string bits(std::initializer_list<bool> states) {
  std::string s;
  for (bool b : states) s += b ? '1' : '0';
  return s;
}

}  // namespace ruto::test
