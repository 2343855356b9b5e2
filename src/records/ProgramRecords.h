#pragma once
// Writes of the expert-program windows: a program's fields, a condition row saved together
// with its program's description and picture, and deletes, each in one transaction.

#include <QByteArray>
#include <QString>
#include <QVariantMap>
#include <array>
#include <optional>

#include "app/RecordSet.h"

namespace ruto {

// The VOPRO columns the program editor writes.
struct TProgramFields {
  QString ProNo;
  QString ProName;
  QString ProData;
  QByteArray ProPict;  // the picture file's bytes; empty for none
  bool ProScal = false;
  QString ProFN;  // four characters "1"/"0"
  std::array<QString, 4> ProScrp, ProPrg, ProParm;
};

// Messages of a failed save or delete; the reason follows on the next line
// (WriteFailureText).
inline const QString kProgramSaveFailedText =
    QStringLiteral("專家療程資料無法儲存，資料庫中的資料保持原狀。");
inline const QString kConditionSaveFailedText =
    QStringLiteral("療程條件資料無法儲存，資料庫中的資料保持原狀。");
inline const QString kProgramDeleteFailedText =
    QStringLiteral("專家療程資料無法刪除，資料庫中的資料保持原狀。");
inline const QString kConditionDeleteFailedText =
    QStringLiteral("療程條件資料無法刪除，資料庫中的資料保持原狀。");

TProgramFields ProgramFieldsOf(const RecordSet& programs, int row);

// Row of the first program whose number equals `number` once both are trimmed, without regard
// to case; -1 when the number is free.
int FindProgramNumber(const RecordSet& programs, const QString& number);

// Appends a program with its number as typed; the new row becomes current. 0 on failure.
qint64 AddProgram(RecordSet& programs, const TProgramFields& fields, QString* error);
// Writes the fields that differ from the stored ones, never the number, which keeps the
// condition rows linked.
bool UpdateProgram(RecordSet& programs, qint64 key, const TProgramFields& fields, QString* error);

// The condition row (`rowKey` 0 appends one under `programNo`) and the program's description,
// picture and scale flag, in one transaction. A stored row is written only where it changed,
// and the program's fields only where they are given: a description, picture or flag the user
// left alone keeps its stored form and any change made meanwhile elsewhere.
struct TConditionEdit {
  qint64 rowKey = 0;
  QVariantMap row;  // ProSubN, ProNote, ProFlg, ProCond, ProAnd, ProEng, ProAGL, ProAGH
  qint64 programKey = 0;
  QString programNo;
  std::optional<QString> ProData;
  std::optional<QByteArray> ProPict;
  std::optional<bool> ProScal;
};
bool SaveConditionEdit(RecordSet& programs, RecordSet& conditions, const TConditionEdit& edit,
                       QString* error);

// Deletes the current program's condition rows, then the program, in one transaction.
bool DeleteProgram(RecordSet& programs, RecordSet& conditions, QString* error);

// A description as stored from the lines of its memo: CR LF between the lines.
QString ProgramDescriptionText(const QStringList& lines);

// The condition counts label: programs "%6.0d", "  -  [ ", the program's rows trimmed, " ]".
QString ProgramCountText(int programs, int conditions);

// The bytes of the picture file at `path`, kept as they are so that a program's picture keeps
// its format and quality; empty, after warning the user, when the file holds no picture.
QByteArray ReadProgramPicture(const QString& path);

}  // namespace ruto
