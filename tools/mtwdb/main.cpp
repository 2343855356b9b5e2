// Builds the multi-meridian program database from its authored source: tables VOPRO (name,
// description, remedy and care texts) and VOPRDT (condition rows) of rutoMTW.mdb.
//   ruto_mtwdb <programs.json> <rutoMTW.mdb>
// The file is written under a temporary name and moved into place only when complete.

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <cstdio>

#include "JsonSource.h"
#include "app/ProgramConditions.h"

namespace {

int fail(const QString& message) {
  std::fprintf(stderr, "ruto_mtwdb: %s\n", qPrintable(message));
  return 1;
}

const char* const kSchema[] = {
    "CREATE TABLE VOPRO (MKEY INTEGER PRIMARY KEY AUTOINCREMENT, ProNo TEXT NOT NULL COLLATE "
    "NOCASE UNIQUE, ProName TEXT, ProData TEXT, ProMed1 TEXT, ProMed2 TEXT, ProMed3 TEXT, "
    "ProHel1 TEXT, ProHel2 TEXT, ProHel3 TEXT, ProHel4 TEXT, ProHel5 TEXT)",
    "CREATE TABLE VOPRDT (MKEY INTEGER PRIMARY KEY AUTOINCREMENT, ProNo TEXT NOT NULL COLLATE "
    "NOCASE, ProSubN TEXT, ProNote TEXT, ProAnd TEXT, ProCond TEXT, ProEng REAL, ProAGL INTEGER, "
    "ProAGH INTEGER, ProFlg INTEGER NOT NULL DEFAULT 0, PrtFG INTEGER NOT NULL DEFAULT 0)",
    "CREATE INDEX VoProB ON VOPRO (ProName)",
    "CREATE INDEX VOPRDT_ProNo ON VOPRDT (ProNo)",
};

// The 24 condition digits and flags of one authored row.
bool conditionStrings(const QJsonObject& row, QString* digits, QString* flags, QString* error) {
  *digits = QString(ruto::kConditionPositions, u'0');
  *flags = QString(ruto::kConditionPositions, u'0');
  const QJsonObject codes = row.value("codes").toObject();
  for (auto it = codes.begin(); it != codes.end(); ++it) {
    const int p = it.key().toInt();
    const int c = it.value().toInt(-1);
    if (p < 1 || p > 24 || c < 0 || c > 6) {
      *error = QStringLiteral("bad code %1=%2").arg(it.key()).arg(it.value().toInt());
      return false;
    }
    (*digits)[p - 1] = QChar(u'0' + c);
  }
  for (const QJsonValue& v : row.value("mandatory").toArray()) {
    const int p = v.toInt();
    if (p < 1 || p > 22) {
      *error = QStringLiteral("bad mandatory position %1").arg(p);
      return false;
    }
    (*flags)[p - 1] = u'1';
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 3) return fail("usage: ruto_mtwdb <programs.json> <rutoMTW.mdb>");
  const QString sourcePath = QString::fromLocal8Bit(argv[1]);
  const QString outPath = QString::fromLocal8Bit(argv[2]);
  QString readError;
  const QJsonDocument doc = readJsonSource(sourcePath, &readError);
  if (doc.isNull()) return fail(readError);

  const QString temp = outPath + QStringLiteral(".tmp");
  QFile::remove(temp);
  QString error;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "mtw");
    db.setDatabaseName(temp);
    if (!db.open()) return fail(db.lastError().text());
    QSqlQuery q(db);
    for (const char* s : kSchema)
      if (!q.exec(QString::fromLatin1(s))) error = q.lastError().text();
    db.transaction();
    QSqlQuery program(db), row(db);
    program.prepare(
        "INSERT INTO VOPRO (ProNo, ProName, ProData, ProMed1, ProMed2, ProMed3, ProHel1, "
        "ProHel2, ProHel3, ProHel4, ProHel5) VALUES (?,?,?,?,?,?,?,?,?,?,?)");
    row.prepare(
        "INSERT INTO VOPRDT (ProNo, ProSubN, ProNote, ProAnd, ProCond, ProEng, ProAGL, ProAGH, "
        "ProFlg) VALUES (?,?,?,?,?,?,?,?,?)");
    for (const QJsonValue& pv : doc.object().value("programs").toArray()) {
      if (!error.isEmpty()) break;
      const QJsonObject p = pv.toObject();
      const QString no = p.value("ProNo").toString();
      const QJsonArray med = p.value("ProMed").toArray(), hel = p.value("ProHel").toArray();
      if (no.isEmpty() || med.size() != 3 || hel.size() != 5) {
        error = QStringLiteral("program %1: number, three remedy and five care texts").arg(no);
        break;
      }
      program.addBindValue(no);
      program.addBindValue(p.value("ProName").toString());
      program.addBindValue(p.value("ProData").toString());
      for (const QJsonValue& t : med) program.addBindValue(t.toString());
      for (const QJsonValue& t : hel) program.addBindValue(t.toString());
      if (!program.exec()) {
        error = no + ": " + program.lastError().text();
        break;
      }
      for (const QJsonValue& rv : p.value("rows").toArray()) {
        const QJsonObject r = rv.toObject();
        QString digits, flags;
        if (!conditionStrings(r, &digits, &flags, &error)) {
          error = no + ": " + error;
          break;
        }
        row.addBindValue(no);
        row.addBindValue(r.value("ProSubN").toString());
        row.addBindValue(r.value("ProNote").toString());
        row.addBindValue(flags);
        row.addBindValue(digits);
        row.addBindValue(r.value("ProEng").toDouble());
        row.addBindValue(r.value("ProAGL").toInt());
        row.addBindValue(r.value("ProAGH").toInt());
        row.addBindValue(r.value("required").toBool() ? 1 : 0);
        if (!row.exec()) {
          error = no + ": " + row.lastError().text();
          break;
        }
      }
    }
    if (error.isEmpty() && !db.commit()) error = db.lastError().text();
    db.close();
  }
  QSqlDatabase::removeDatabase("mtw");
  if (!error.isEmpty()) {
    QFile::remove(temp);
    return fail(error);
  }
  QFile::remove(outPath);
  if (!QFile::rename(temp, outPath)) return fail("cannot move the database into place");
  return 0;
}
