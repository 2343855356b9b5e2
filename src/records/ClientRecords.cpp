#include "records/ClientRecords.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include "app/DatabaseGuard.h"
#include "app/UnchangedColumns.h"
#include "base/Text.h"

namespace ruto {

namespace {

const QString kVodata = QStringLiteral("VODATA");

QString text(const RecordSet& set, int row, const QString& column) {
  return set.value(row, column).toString();
}

QString valueColumn(int point) { return QStringLiteral("VO%1").arg(point); }

void setError(QString* error, const QString& text) {
  if (error) *error = text;
}

void setError(QString* error, const QString& message, const QString& reason) {
  setError(error, WriteFailureText(message, reason));
}

}  // namespace

TClientInfo ClientAt(const RecordSet& clients, int row) {
  TClientInfo c;
  if (row < 0 || row >= clients.rowCount()) return c;
  c.CustNo = text(clients, row, QStringLiteral("CUSTNO"));
  c.Name = text(clients, row, QStringLiteral("NAME"));
  c.Sex = clients.value(row, QStringLiteral("SEX")).toBool();
  c.DBirth = clients.value(row, QStringLiteral("DBIRTH")).toDouble();
  c.Addr = text(clients, row, QStringLiteral("ADDR"));
  c.Tel = text(clients, row, QStringLiteral("TEL"));
  c.Tel2 = text(clients, row, QStringLiteral("TEL2"));
  c.Tel3 = text(clients, row, QStringLiteral("TEL3"));
  c.EMail = text(clients, row, QStringLiteral("EMAIL"));
  return c;
}

void LinkTestsOf(RecordSet& tests, const QString& custNo) {
  tests.setSort(QStringLiteral("VODATE ASC"));
  tests.setLink(QStringLiteral("CUSTNO"), custNo);
}

bool LoadCurrentTest(const RecordSet& clients, const RecordSet& tests) {
  const int row = tests.position();
  if (row < 0 || clients.position() < 0) return false;
  CurrentClient = ClientAt(clients, clients.position());
  CurrentTest.VoDate = tests.value(row, QStringLiteral("VODATE")).toDouble();
  CurrentTest.VoVota = tests.value(row, QStringLiteral("VOVOTA")).toBool();
  CurrentTest.Memo1 = MemoLines(text(tests, row, QStringLiteral("MEMO1")));
  for (int p = 1; p <= 24; ++p) CurrentTest.Values[p] = tests.value(row, valueColumn(p)).toDouble();
  RecomputeCompValues(CurrentTest);
  CurrentTest.MKey = static_cast<int>(tests.keyAt(row));
  ViewState.ChartKind = ChartType::Bar;
  ViewState.AnalysisPage = 0;
  CurrentTest.LivePointCount = 0;
  return true;
}

bool LoadCompareTest(const RecordSet& clients, const RecordSet& tests) {
  const int row = tests.position();
  if (row < 0 || clients.position() < 0) return false;
  const TClientInfo client = ClientAt(clients, clients.position());
  CompareTest.CustNo = client.CustNo;
  CompareTest.Name = client.Name;
  CompareTest.VoDate = tests.value(row, QStringLiteral("VODATE")).toDouble();
  CompareTest.VoVota = tests.value(row, QStringLiteral("VOVOTA")).toBool();
  double sum = 0;
  for (int p = 1; p <= 24; ++p) {
    const double v = tests.value(row, valueColumn(p)).toDouble();
    sum += v;
    CompareTest.Values[p] = CompensatedValue(p, v);
  }
  CompareTest.Mean = sum / 24;
  ViewState.TestLoaded = true;
  return true;
}

bool DeleteCurrentClient(RecordSet& clients, RecordSet& tests, QString* error) {
  const int row = clients.position();
  if (row < 0) return false;
  const QString custNo = text(clients, row, QStringLiteral("CUSTNO"));
  const qint64 key = clients.keyAt(row);
  {
    Transaction transaction(clients.database().connectionName());
    if (!transaction.active()) {
      setError(error, kClientDeleteFailedText, transaction.error());
      return false;
    }
    // CUSTNO compares without regard to case, so "a01" tests go with client "A01".
    if (tests.removeWhere(QStringLiteral("CUSTNO"), custNo) < 0) {
      setError(error, kClientDeleteFailedText, tests.lastError());
      return false;
    }
    if (!clients.remove(key)) {
      setError(error, kClientDeleteFailedText, clients.lastError());
      return false;
    }
    QString failure;
    if (!transaction.commit(&failure)) {
      setError(error, kClientDeleteFailedText, failure);
      return false;
    }
  }
  ForgetDeletedCurrentTest(clients.database().connectionName());
  // Both lists were read inside the transaction; read them again as committed.
  clients.refresh();
  LinkTestsOf(tests, text(clients, clients.position(), QStringLiteral("CUSTNO")));
  tests.refresh();
  return true;
}

bool DeleteCurrentTest(RecordSet& tests, QString* error) {
  const qint64 key = tests.bookmark();
  if (key == 0) return false;
  if (!tests.remove(key)) {
    setError(error, kTestDeleteFailedText, tests.lastError());
    return false;
  }
  if (key == CurrentTest.MKey) CurrentTest.MKey = 0;
  return true;
}

void ForgetDeletedCurrentTest(const QString& connection) {
  if (CurrentTest.MKey <= 0) return;
  QSqlQuery q(QSqlDatabase::database(connection, false));
  q.prepare(QStringLiteral("SELECT 1 FROM VODATA WHERE MKEY = ?"));
  q.addBindValue(CurrentTest.MKey);
  // A read that fails proves nothing gone.
  if (q.exec() && !q.next()) CurrentTest.MKey = 0;
}

int StoredTestCount(const QString& connection) {
  QSqlQuery q(QSqlDatabase::database(connection, false));
  if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM VODATA")) || !q.next()) return 0;
  return q.value(0).toInt();
}

QString MemoText(const QStringList& lines) {
  QString out;
  for (const QString& line : lines) out += line + QStringLiteral("\r\n");
  return out;
}

QStringList MemoLines(const QString& text) {
  if (text.isEmpty()) return {};
  QString t = text;
  t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  if (t.endsWith(QLatin1Char('\n'))) t.chop(1);
  return t.split(QLatin1Char('\n'));
}

qint64 StoreCurrentTest(const QString& connection, const TClientInfo& client, QString* error) {
  QVariantMap row;
  row.insert(QStringLiteral("CUSTNO"), client.CustNo);
  row.insert(QStringLiteral("VODATE"), CurrentTest.VoDate);
  row.insert(QStringLiteral("VOVOTA"), CurrentTest.VoVota ? 1 : 0);
  row.insert(QStringLiteral("MEMO1"), MemoText(CurrentTest.Memo1));
  for (int p = 1; p <= 24; ++p) row.insert(valueColumn(p), CurrentTest.Values[p]);
  qint64 key = 0;
  {
    Transaction transaction(connection);
    if (!transaction.active()) {
      setError(error, kStoreFailedText, transaction.error());
      return 0;
    }
    // A test filed under a number no client holds would be seen by no list.
    RecordSet owner(connection, QStringLiteral("VOCUST"));
    owner.setLink(QStringLiteral("CUSTNO"), client.CustNo);
    if (!owner.open() || owner.isEmpty()) {
      setError(error, MissingClientText(client.CustNo));
      return 0;
    }
    RecordSet tests(connection, kVodata);
    key = tests.insert(row);
    QString failure;
    if (key == 0 || !transaction.commit(&failure)) {
      setError(error, kStoreFailedText, key == 0 ? tests.lastError() : failure);
      return 0;
    }
  }
  CurrentClient = client;
  CurrentTest.MKey = static_cast<int>(key);
  return key;
}

namespace {

QVariantMap formValues(const ClientForm& form, bool trimTyped) {
  const auto typed = [&](const QString& s) { return trimTyped ? Trim(s) : s; };
  QVariantMap v;
  v.insert(QStringLiteral("NAME"), typed(form.Name));
  v.insert(QStringLiteral("SEX"), form.Male ? 1 : 0);
  v.insert(QStringLiteral("DBIRTH"), form.HasBirthday ? form.Birthday : 0.0);
  v.insert(QStringLiteral("ADDR"), typed(form.Addr));
  v.insert(QStringLiteral("TEL"), typed(form.Tel));
  v.insert(QStringLiteral("TEL2"), Trim(form.Tel2));
  v.insert(QStringLiteral("TEL3"), Trim(form.Tel3));
  v.insert(QStringLiteral("EMAIL"), Trim(form.EMail));
  if (form.Memo) v.insert(QStringLiteral("MEMO"), *form.Memo);
  return v;
}

// Name of the client filed under `custNo` (without regard to case), read from the table
// itself: another instance may have added it after this list was read.
bool storedClientName(const RecordSet& clients, const QString& custNo, QString* name) {
  QSqlQuery q(clients.database());
  q.prepare(QStringLiteral("SELECT NAME FROM VOCUST WHERE CUSTNO = ? COLLATE NOCASE"));
  q.addBindValue(custNo);
  if (!q.exec() || !q.next()) return false;
  *name = q.value(0).toString();
  return true;
}

}  // namespace

ClientSaveResult SaveNewClient(RecordSet& clients, const ClientForm& form, QString* duplicateName,
                               QString* error) {
  const QString custNo = Trim(form.CustNo);
  if (clients.locate(QStringLiteral("CUSTNO"), custNo, LocateOption::CaseInsensitive)) {
    if (duplicateName) *duplicateName = Trim(clients.field(QStringLiteral("NAME")).toString());
    return ClientSaveResult::Duplicate;
  }
  QVariantMap values = formValues(form, true);
  values.insert(QStringLiteral("CUSTNO"), custNo);
  values.insert(QStringLiteral("MEMO"), form.Memo.value_or(QString()));
  if (clients.insert(values) != 0) return ClientSaveResult::Saved;
  QString name;
  if (storedClientName(clients, custNo, &name)) {
    clients.refresh();
    clients.locate(QStringLiteral("CUSTNO"), custNo, LocateOption::CaseInsensitive);
    if (duplicateName) *duplicateName = Trim(name);
    return ClientSaveResult::Duplicate;
  }
  setError(error, kClientSaveFailedText, clients.lastError());
  return ClientSaveResult::Failed;
}

bool SaveModifiedClient(RecordSet& clients, qint64 key, const ClientForm& form, QString* error) {
  QVariantMap values = formValues(form, false);
  DropUnchangedColumns(values, clients, clients.rowOfKey(key));
  if (values.isEmpty()) return true;
  if (!clients.update(key, values)) {
    setError(error, kClientSaveFailedText, clients.lastError());
    return false;
  }
  return true;
}

QString MissingClientText(const QString& custNo) {
  return QStringLiteral("找不到編號為 [ ") + custNo +
         QStringLiteral(" ] 的受測者資料，檢測資料沒有儲存。");
}

QString DuplicateClientText(const QString& name) {
  return QStringLiteral("您所輸入的受測者編號已經與姓名為 [ ") + name +
         QStringLiteral(" ] 重覆!!請重新指定另一個編號。");
}

}  // namespace ruto
