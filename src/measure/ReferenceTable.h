#pragma once
// Read access to the reference table VOMTDB: one row per key, 1..12 the meridians in column
// order, 13..17 the five body-state items. Texts are stored scrambled and are handed out
// decoded; the table is never written by the program.

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>
#include <array>

namespace ruto {

// Decoded texts and the figure of one VOMTDB row. A row that does not exist has every text
// empty, so a reader never shows texts of some other key.
struct TReferenceRow {
  int MKEY = 0;
  bool Found = false;
  QString DtEA1, DtEA2, DtEA3, DtEA4, DtEA5;  // attributes
  QString DtPot1, DtPot2, DtPot3;             // measuring, inhibiting, exciting point
  QString DtMA1, DtMA2, DtMA3;                // general, normal state, care and diet
  QString DtMH1, DtMH2, DtMH3, DtMH4, DtMH5;  // high state
  QString DtML1, DtML2, DtML3, DtML4, DtML5;  // low state
  QByteArray DtGpM;                           // figure (PNG or BMP bytes)
};

// Number of keys the table holds: twelve meridians and five body-state items.
inline constexpr int kReferenceKeyCount = 17;

// Text columns of VOMTDB in table order, with their place in TReferenceRow.
struct TReferenceColumn {
  const char* name;
  QString TReferenceRow::*member;
};
const std::array<TReferenceColumn, 21>& ReferenceTextColumns();

// Meridian names of the browser list, for keys 1..12.
QString MeridianListEntry(int key);

// First line of the message about a table, row or stored text that cannot be read; the
// database's or the decoder's reason follows on the next line.
inline const QString kReferenceUnreadableText = QStringLiteral(
    "經絡參考資料庫 rutoTW.mdb 無法讀取，無法解讀的參考資料以空白顯示，檔案保持不變。");

class TReferenceTable {
 public:
  explicit TReferenceTable(QSqlDatabase db) : db_(std::move(db)) {}

  // True when the connection is open and its VOMTDB holds every column a row is read from.
  // Each opening tells the user once of what cannot be read: a table that does not open (told
  // here), a row whose query fails, or a text that does not decode.
  bool Open();
  void Close() { open_ = false; }
  bool IsOpen() const { return open_; }

  // The row with `key`; a missing row, or a closed table, gives an empty row silently. A row
  // whose query fails is empty and a text that does not decode is empty; the first such
  // failure of an opening is shown to the user (AskUser) with its place and reason.
  TReferenceRow Row(int key);

 private:
  void tell(const QString& failure);

  QSqlDatabase db_;
  bool open_ = false;
  bool reported_ = false;
};

}  // namespace ruto
