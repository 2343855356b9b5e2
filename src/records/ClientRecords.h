#pragma once
// What the client windows do to the client and test tables, apart from showing them:
// loading a stored test, deleting clients and tests, storing the test in work, and the
// client editor's saves.

#include <QString>
#include <QStringList>
#include <optional>

#include "app/RecordSet.h"
#include "app/SharedRecords.h"

namespace ruto {

// The client of `row` of a VOCUST set (empty fields for a row that is not there).
TClientInfo ClientAt(const RecordSet& clients, int row);

// A VODATA set of the tests of one client, in test-date order; the set is opened by
// ShowTestsOf.
void LinkTestsOf(RecordSet& tests, const QString& custNo);

// Loads the current test row into CurrentTest and its client into CurrentClient; false (and
// nothing changed) when the client has no test selected.
bool LoadCurrentTest(const RecordSet& clients, const RecordSet& tests);
// Loads the current test row into CompareTest (values compensated, mean of the raw values)
// and sets ViewState.TestLoaded; false (and nothing changed) when the client has no test
// selected, so that no earlier or empty CompareTest is taken for a loaded one.
bool LoadCompareTest(const RecordSet& clients, const RecordSet& tests);

// Messages of a failed store, save or delete; the reason follows on the next line
// (WriteFailureText).
inline const QString kStoreFailedText =
    QStringLiteral("檢測資料無法存入資料庫，這筆資料仍保留在程式中，請稍後再儲存一次。");
inline const QString kClientSaveFailedText =
    QStringLiteral("受測者資料無法儲存，資料庫中的資料保持原狀。");
inline const QString kClientDeleteFailedText =
    QStringLiteral("受測者資料無法刪除，資料庫中的資料保持原狀。");
inline const QString kTestDeleteFailedText =
    QStringLiteral("經絡能量數據無法刪除，資料庫中的資料保持原狀。");

// Deletes the current client and every test filed under its number (whatever the letter
// case) in one transaction. CurrentClient stays; when the test in work was one of the tests
// deleted, it is no longer stored (MKey 0).
bool DeleteCurrentClient(RecordSet& clients, RecordSet& tests, QString* error = nullptr);
// Deletes the current test; when it is the stored form of the test in work, that test is no
// longer stored (MKey 0).
bool DeleteCurrentTest(RecordSet& tests, QString* error = nullptr);

// The test in work is no longer stored (MKey 0) once no VODATA row holds its key: a note
// written to it afterwards would reach no row.
void ForgetDeletedCurrentTest(const QString& connection);

// Number of stored tests of all clients.
int StoredTestCount(const QString& connection);

// Appends CurrentTest as a new VODATA row under `client`; only once the row is written does
// `client` become CurrentClient and the new key CurrentTest.MKey. Returns the key, 0 on
// failure (nothing changed then), also when no client holds the number any more.
qint64 StoreCurrentTest(const QString& connection, const TClientInfo& client,
                        QString* error = nullptr);
// The message of a store under a client that is no longer there.
QString MissingClientText(const QString& custNo);
// MEMO1 as stored: every line followed by CR LF.
QString MemoText(const QStringList& lines);
// Lines of a stored memo, whatever its line ends.
QStringList MemoLines(const QString& text);

// The store window's choice, kept from one opening to the next for the whole run.
inline TClientInfo ChosenClient;
inline qint64 ChosenBookmark = 0;  // MKEY of the chosen VOCUST row; 0 = none

// The client editor's fields as typed.
struct ClientForm {
  QString EMail;   // EMAIL
  QString CustNo;  // CUSTNO
  QString Name;    // NAME
  QString Addr;    // ADDR
  QString Tel;     // TEL
  QString Tel2;    // TEL2
  QString Tel3;    // TEL3
  bool Male = true;
  bool HasBirthday = false;
  double Birthday = 0;  // OLE day number, used only with HasBirthday
  // MEMO as it is to be stored; none for a memo the user did not edit, whose stored text
  // (line ends included) stays as it is. A new client without one gets an empty memo.
  std::optional<QString> Memo;
};

enum class ClientSaveResult { Saved, Duplicate, Failed };

// New mode: refuses a number that exists already without regard to case (also one another
// instance added meanwhile), giving the trimmed name of that client; otherwise appends the
// trimmed fields and leaves the new row current.
ClientSaveResult SaveNewClient(RecordSet& clients, const ClientForm& form,
                               QString* duplicateName = nullptr, QString* error = nullptr);
// Modify mode on the row with `key`: name, address and telephone as typed, the rest trimmed;
// the number never changes, nor does the memo unless the form has one. Only the columns whose
// value differs from the stored one are written.
bool SaveModifiedClient(RecordSet& clients, qint64 key, const ClientForm& form,
                        QString* error = nullptr);
// The duplicate-number message with the existing client's name.
QString DuplicateClientText(const QString& name);

}  // namespace ruto
