#pragma once
// How the client lists of the browser and the store window sort and search by the shared
// client sort key (magnitude 1..9 = column, negative = descending).

#include <QString>

namespace ruto {

// Column name of the sort a list opens with: "CustNo", "Name", "Sex", "DBirth", "Tel",
// "Addr", "email", "Tel2", and "Tel3" for any other magnitude.
QString ClientSortField(int sortKey);
// Item of the sort-column box shown on opening (0..8).
int ClientSortItem(int sortKey);
// Sort string of the key: "Name DESC" for -2. A key of 0 sorts descending too: every key not
// above 0 means descending.
QString ClientSortText(int sortKey);
// Item of the direction box: 0 "遞增" for a key above 0, else 1 "遞減".
int ClientSortDirectionItem(int sortKey);
QString ClientSortDirectionText(int sortKey);

// Column chosen in the sort-column box, item 0..8 ("CUSTNO" .. "tel3").
QString ComboSortField(int item);
// The key after a change of either box: magnitude item + 1, sign from the direction.
int ClientSortKeyFor(int item, bool descending);

// Column a typed search looks in. The browser: 1 CUSTNO, 2 NAME, 5 TEL, 6 ADDR, 7 EMAIL,
// 8 TEL2, else TEL3. The store window: 1 CUSTNO, 2 NAME, 5 TEL, else ADDR.
QString BrowserSearchColumn(int sortKey);
QString StoreSearchColumn(int sortKey);

// The count label: clients "%6.0d", "  -  [ ", tests trimmed, " ]".
QString RecordCountText(int clients, int tests);

}  // namespace ruto
