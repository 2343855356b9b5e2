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

class ReferenceBrowser : public FormShowOnce<QDialog> {
  Q_OBJECT

 public:
  // `db` is the reference database connection (the program passes kReferenceConnection's).
  explicit ReferenceBrowser(QSqlDatabase db, QWidget* parent = nullptr);

  void FormShow() override;
  void showChosenMeridian();
  void FormClose();
  void exitWindow();

  // Shows the texts and figure of reference key `key`; a key that is not in the table shows
  // empty labels, memos and figure.
  void ShowRow(int key);

  QToolButton* exitButton = nullptr;
  QListWidget* meridianList = nullptr;
  std::array<QLabel*, 9> StaticText{};  // StaticText1..8 at indices 1..8
  QTabWidget* pageTabs = nullptr;
  QLabel* figureImage = nullptr;
  std::array<QPlainTextEdit*, 10> Memo{};  // Memo1..9 at indices 1..9
  QStatusBar* statusBar = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void done(int result) override;

 private:
  void setMemo(int index, const QStringList& lines);

  TReferenceTable referenceTable_;
};

}  // namespace ruto
