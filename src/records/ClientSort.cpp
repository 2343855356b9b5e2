#include "records/ClientSort.h"

#include <array>
#include <cstdlib>
#include <initializer_list>

#include "base/Numbers.h"

namespace ruto {

namespace {

int magnitude(int sortKey) { return std::abs(sortKey); }

struct SearchColumn {
  int key;
  const char* column;
};

// The column searched under a sort key: the listed one, or `otherwise`.
QString searchColumn(int sortKey, std::initializer_list<SearchColumn> columns,
                     const char* otherwise) {
  const int m = magnitude(sortKey);
  for (const SearchColumn& c : columns)
    if (c.key == m) return QString::fromLatin1(c.column);
  return QString::fromLatin1(otherwise);
}

}  // namespace

QString ClientSortField(int sortKey) {
  static const std::array<const char*, 9> fields = {"CustNo", "Name",  "Sex",  "DBirth", "Tel",
                                                    "Addr",   "email", "Tel2", "Tel3"};
  const int m = magnitude(sortKey);
  return QString::fromLatin1(m >= 1 && m <= 8 ? fields[m - 1] : fields[8]);
}

int ClientSortItem(int sortKey) {
  const int m = magnitude(sortKey);
  return m >= 1 && m <= 8 ? m - 1 : 8;
}

QString ClientSortText(int sortKey) {
  return ClientSortField(sortKey) +
         (sortKey > 0 ? QStringLiteral(" ASC") : QStringLiteral(" DESC"));
}

int ClientSortDirectionItem(int sortKey) { return sortKey > 0 ? 0 : 1; }

QString ClientSortDirectionText(int sortKey) {
  return sortKey > 0 ? QStringLiteral("遞增") : QStringLiteral("遞減");
}

QString ComboSortField(int item) {
  static const std::array<const char*, 9> fields = {"CUSTNO", "NAME",  "SEX",  "DBIRTH", "TEL",
                                                    "Addr",   "email", "tel2", "tel3"};
  return item >= 0 && item <= 8 ? QString::fromLatin1(fields[item]) : QString();
}

int ClientSortKeyFor(int item, bool descending) {
  const int m = item + 1;
  return descending ? -m : m;
}

QString BrowserSearchColumn(int sortKey) {
  return searchColumn(
      sortKey, {{1, "CUSTNO"}, {2, "NAME"}, {5, "TEL"}, {6, "ADDR"}, {7, "EMAIL"}, {8, "TEL2"}},
      "TEL3");
}

QString StoreSearchColumn(int sortKey) {
  return searchColumn(sortKey, {{1, "CUSTNO"}, {2, "NAME"}, {5, "TEL"}}, "ADDR");
}

QString RecordCountText(int clients, int tests) {
  return Format(QStringLiteral("%6.0d"), {static_cast<long long>(clients)}) +
         QStringLiteral("  -  [ ") +
         Format(QStringLiteral("%6.0d"), {static_cast<long long>(tests)}).trimmed() +
         QStringLiteral(" ]");
}

}  // namespace ruto
