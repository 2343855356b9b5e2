#pragma once
// DataExchangeDialog, the exchange window: export to and import from a transfer file "VoTran.mdb"
// in a folder the user picks.

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
  void PageControl1Change();
  void CheckBox1Click();
  void CheckBox2Click();
  void CheckBox3Click();
  void CheckBox4Click();
  void DirectoryListBox2Change();
  void ToolButton1Click();  // export
  void ToolButton2Click();  // import
  void ToolButton3Click();  // exit
  // Escape and the frame's close box: refused while a run holds the window.
  void reject() override;

  // The folder a directory list shows (1 export, 2 import), and moving it there.
  QString directory(int list) const;
  void setDirectory(int list, const QString& path);

  QTabWidget* PageControl1 = nullptr;
  QWidget* TabSheet1 = nullptr;
  QWidget* TabSheet2 = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  QCheckBox* CheckBox2 = nullptr;
  QCheckBox* CheckBox3 = nullptr;
  QCheckBox* CheckBox4 = nullptr;
  RecordGrid* DBGrid1 = nullptr;
  RecordGrid* DBGrid2 = nullptr;
  QLabel* StaticText8 = nullptr;
  QLabel* StaticText9 = nullptr;
  QComboBox* DriveComboBox1 = nullptr;
  QComboBox* DriveComboBox2 = nullptr;
  QTreeView* DirectoryListBox1 = nullptr;
  QTreeView* DirectoryListBox2 = nullptr;
  QListWidget* FileListBox1 = nullptr;
  QRadioButton* RadioButton1 = nullptr;
  QRadioButton* RadioButton2 = nullptr;
  TGradientBar* GradientBar1 = nullptr;
  QToolButton* ToolButton1 = nullptr;
  QToolButton* ToolButton2 = nullptr;
  QToolButton* ToolButton3 = nullptr;
  QStatusBar* StatusBar1 = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* buildExportPage();
  QWidget* buildImportPage();
  QComboBox* driveCombo(QTreeView* tree, QFileSystemModel* model);
  // The folder tree "DirectoryListBox<n>" over its own folder model, with its drive list
  // "DriveComboBox<n>" above it.
  void buildFolderPicker(QWidget* parent, int n, QFileSystemModel*& model, QTreeView*& tree,
                         QComboBox*& drives);
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
  QFileSystemModel* dirModel1_ = nullptr;
  QFileSystemModel* dirModel2_ = nullptr;
  TransferFiles* files_;
  bool running_ = false;
};

}  // namespace ruto
