#pragma once
// Preparing the database files in the install folder at start-up: the template check, the
// swap to an update delivered as "ruto430.mdb", and a main database made from the template.

#include <QString>

namespace ruto {

inline const QString kTemplateDatabase = QStringLiteral("Vospa.mdb");
inline const QString kMainDatabase = QStringLiteral("ruto4.mdb");
inline const QString kReferenceDatabase = QStringLiteral("rutoTW.mdb");
inline const QString kOldDatabase = QStringLiteral("ruto.mdb");
inline const QString kUpdateDatabase = QStringLiteral("ruto430.mdb");

inline const QString kTemplateMissingText =
    QStringLiteral("您沒有完全安裝 R.U.T.O.，資料庫不存在！請重新安裝RUTO。");
inline const QString kDatabaseOpenText =
    QStringLiteral("RUTO 資料庫啟動錯誤！資料庫檔案無法開啟，請重新安裝RUTO。");
inline const QString kJetDatabaseText = QStringLiteral(
    "RUTO 資料庫啟動錯誤！資料庫檔案是舊版 Windows 的 Access (Jet) "
    "格式，本系統無法開啟，請重新安裝RUTO。");
inline const QString kSettingsUnreadableText =
    QStringLiteral("設定檔 DeRirAz.ini 無法讀取，本次以預設設定執行，設定檔保持不變。");

inline const QString kCaseVariantsText = QStringLiteral("安裝資料夾中有只差大小寫的同名檔案：");

struct TStartupFiles {
  bool TemplateMissing = false;
  // The message about the program's files present under several names that differ only in
  // case (which one is used, which are ignored); empty when there are none.
  QString CaseNotice;
};

// Removes the work folders of runs that were killed, then runs the file steps in
// InstallDir(). When the template is missing nothing there is touched.
// No existing file is ever replaced; a main database made from the template is created
// under the name its connection uses.
TStartupFiles PrepareDatabaseFiles();

// The template-missing message with the path of the file it is about.
QString TemplateMissingMessage();

// Opens the main and the reference database connections, rebuilding a main database of an
// earlier schema, and starts the check of the main database. A file another program holds
// is named in a question: retry, or give up with an empty message. On other failures returns
// false with the message to show (the Jet text for a file of the other platform), followed by
// the path of the file that failed, and closes both.
bool OpenStartupDatabases(QString* message);
void CloseStartupDatabases();

}  // namespace ruto
