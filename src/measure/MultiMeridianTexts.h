#pragma once
// The supplied multi-meridian programs (rutoMTW.mdb, read only): opening the database on first
// use and the texts of one program, found by its name.

#include <QSqlDatabase>
#include <QString>
#include <array>

namespace ruto {

inline const QString kMultiMeridianDatabase = QStringLiteral("rutoMTW.mdb");

// The open multi-meridian connection, opened read-only from the install folder when it is not
// open yet. Invalid when the file is missing or unusable; `error` then says why.
QSqlDatabase MultiMeridianDatabase(QString* error = nullptr);

// Texts of one program, shown as stored.
struct TMultiMeridianTexts {
  bool Found = false;
  QString ProData;
  std::array<QString, 4> ProMed;  // 1..3: acupuncture, herbal prescription, massage
  std::array<QString, 6> ProHel;  // 1..5: nutrients, taboos, medicinal diet, herbal tea, massage
};

// The first VOPRO row, in name-index order, whose ProName equals `name` trimmed, ignoring case.
TMultiMeridianTexts LocateMultiMeridianProgram(const QSqlDatabase& db, const QString& name);

}  // namespace ruto
