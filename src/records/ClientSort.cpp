#include "records/ClientSort.h"

#include <array>
#include <cstdlib>

#include "base/Numbers.h"

namespace ruto {

namespace {

int magnitude(int sortKey) { return std::abs(sortKey); }

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

int WithDirection(int sortKey, bool descending) {
  const int m = magnitude(sortKey);
  return descending ? -m : m;
}

QString BrowserSearchColumn(int sortKey) {
  switch (magnitude(sortKey)) {
    case 1:
      return QStringLiteral("CUSTNO");
    case 2:
      return QStringLiteral("NAME");
    case 5:
      return QStringLiteral("TEL");
    case 6:
      return QStringLiteral("ADDR");
    case 7:
      return QStringLiteral("EMAIL");
    case 8:
      return QStringLiteral("TEL2");
    default:
      return QStringLiteral("TEL3");
  }
}

QString StoreSearchColumn(int sortKey) {
  switch (magnitude(sortKey)) {
    case 1:
      return QStringLiteral("CUSTNO");
    case 2:
      return QStringLiteral("NAME");
    case 5:
      return QStringLiteral("TEL");
    default:
      return QStringLiteral("ADDR");
  }
}

QString RecordCountText(int clients, int tests) {
  return Format(QStringLiteral("%6.0d"), {static_cast<long long>(clients)}) +
         QStringLiteral("  -  [ ") +
         Format(QStringLiteral("%6.0d"), {static_cast<long long>(tests)}).trimmed() +
         QStringLiteral(" ]");
}

}  // namespace ruto
