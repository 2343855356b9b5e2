#pragma once
// The exchange window: export to and import from a transfer file "VoTran.mdb" in a folder the
// user picks.

#include <QDialog>
#include <functional>

#include "app/ui/FormShowOnce.h"

class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QLabel;
class QListWidget;
class QRadioButton;
class QStatusBar;
class QTabWidget;
class QToolButton;
class QTreeView;

namespace ruto {

class RecordGrid;
class RecordSet;
class TGradientBar;
class TransferFiles;
class TransferRun;

class DataExchangeDialog : public FormShowOnce<QDialog> {
  Q_OBJECT

 public:
  // `files` replaces the file operations of the runs (tests); null uses the real ones.
  explicit DataExchangeDialog(QWidget* parent = nullptr, TransferFiles* files = nullptr);
  ~DataExchangeDialog() override;

  void FormShow() override;
  void FormClose();
  void switchPage();
  void toggleProgramExport();
  void toggleRecordExport();
  void toggleProgramImport();
  void toggleRecordImport();
  void showImportFolder();
  void runExport();
  void runImport();
  void leave();
  // Escape and the frame's close box: refused while a run holds the window.
  void reject() override;

  // The folder a directory list shows (1 export, 2 import), and moving it there.
  QString directory(int list) const;
  void setDirectory(int list, const QString& path);

  QTabWidget* pages = nullptr;
  QWidget* exportPage = nullptr;
  QWidget* importPage = nullptr;
  QCheckBox* exportProgramsBox = nullptr;
  QCheckBox* exportRecordsBox = nullptr;
  QCheckBox* importProgramsBox = nullptr;
  QCheckBox* importRecordsBox = nullptr;
  RecordGrid* programGrid = nullptr;
  RecordGrid* clientGrid = nullptr;
  QLabel* programCount = nullptr;
  QLabel* clientCount = nullptr;
  QComboBox* exportDriveBox = nullptr;
  QComboBox* importDriveBox = nullptr;
  QTreeView* exportFolderTree = nullptr;
  QTreeView* importFolderTree = nullptr;
  QListWidget* importFileList = nullptr;
  QRadioButton* appendButton = nullptr;
  QRadioButton* replaceButton = nullptr;
  TGradientBar* progressBar = nullptr;
  QToolButton* exportButton = nullptr;
  QToolButton* importButton = nullptr;
  QToolButton* exitButton = nullptr;
  QStatusBar* statusBar = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* buildExportPage();
  QWidget* buildImportPage();
  QComboBox* driveCombo(QTreeView* tree, QFileSystemModel* model);
  // The folder tree "<use>FolderTree" over its own folder model, with its drive list
  // "<use>DriveBox" above it.
  void buildFolderPicker(QWidget* parent, const QString& use, QFileSystemModel*& model,
                         QTreeView*& tree, QComboBox*& drives);
  void fillDrives(QComboBox* combo);
  void updateCounts();
  void exportButtonRule();
  void importButtonRule(bool withFileList);
  void fillFileList();
  void stepBar();
  // Holds the window for one run: exit refused, the bar stepping, then everything released.
  void runTransfer(const std::function<void(TransferRun&)>& work);

  RecordSet* programs_;
  RecordSet* clients_;
  QFileSystemModel* exportFolders_ = nullptr;
  QFileSystemModel* importFolders_ = nullptr;
  TransferFiles* files_;
  bool running_ = false;
};

}  // namespace ruto
