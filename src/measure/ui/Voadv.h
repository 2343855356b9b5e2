#pragma once
// The meridian reference browser: the attributes, points, texts and figure of one meridian at a
// time, read from the reference table.

#include <QDialog>
#include <QSqlDatabase>
#include <array>

#include "app/ui/FormShowOnce.h"
#include "measure/ReferenceTable.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QStatusBar;
class QTabWidget;
class QToolButton;

namespace ruto {

class TVoadv : public FormShowOnce<QDialog> {
  Q_OBJECT

 public:
  // `db` is the reference database connection (the program passes kReferenceConnection's).
  explicit TVoadv(QSqlDatabase db, QWidget* parent = nullptr);

  void FormShow() override;
  void ListBox1Click();
  void FormClose();
  void ToolButton2Click();

  // Shows the texts and figure of reference key `key`; a key that is not in the table shows
  // empty labels, memos and figure.
  void ShowRow(int key);

  QToolButton* ToolButton2 = nullptr;
  QListWidget* ListBox1 = nullptr;
  std::array<QLabel*, 9> StaticText{};  // StaticText1..8 at indices 1..8
  QTabWidget* PageControl1 = nullptr;
  QLabel* DBImage1 = nullptr;
  std::array<QPlainTextEdit*, 10> Memo{};  // Memo1..9 at indices 1..9
  QStatusBar* StatusBar1 = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void done(int result) override;

 private:
  void setMemo(int index, const QStringList& lines);

  TReferenceTable ADOTable1;
};

}  // namespace ruto
