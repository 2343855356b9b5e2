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
  // The meridian's attributes.
  QLabel *interiorExteriorLabel = nullptr, *pairedMeridianLabel = nullptr, *stemLabel = nullptr,
         *elementLabel = nullptr, *hourLabel = nullptr, *measuringPointLabel = nullptr,
         *inhibitingPointLabel = nullptr, *excitingPointLabel = nullptr;
  QTabWidget* pageTabs = nullptr;
  QLabel* figureImage = nullptr;
  // The texts for a high and a low state, page by page.
  QPlainTextEdit *generalPane = nullptr, *highDiagnosisPane = nullptr, *lowDiagnosisPane = nullptr;
  QPlainTextEdit *highRyodorakuPane = nullptr, *lowRyodorakuPane = nullptr;
  QPlainTextEdit *highRemedyPane = nullptr, *lowRemedyPane = nullptr;
  QPlainTextEdit *highDietPane = nullptr, *lowDietPane = nullptr;
  QStatusBar* statusBar = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void done(int result) override;

 private:
  static void setPane(QPlainTextEdit* pane, const QStringList& lines);

  TReferenceTable referenceTable_;
};

}  // namespace ruto
