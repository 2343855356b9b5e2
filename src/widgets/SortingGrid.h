#pragma once
// A string grid with fixed rows and columns, grid lines, a current cell with a select
// veto and an in-place editor, extended with cell alignment, cell bevels, a per-cell format
// hook, sorting by a column (click on a fixed row or by call) with undo, row and column
// operations, automatic column widths, search, delimited files, proportional scroll bars,
// keyboard shortcuts and validation of edited cells. The cells live in TGridData.

#include <QAbstractScrollArea>
#include <QImage>
#include <QVector>
#include <functional>

#include "base/Canvas.h"
#include "widgets/GridData.h"

class QKeyEvent;
class QLineEdit;

namespace ruto {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TVertAlignment { taTopJustify, taBottomJustify, taMiddle };
enum TCellBevelStyle { cbNone, cbRaised, cbLowered };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// Grid options (bits).
enum TGridOption : unsigned {
  goFixedVertLine = 1,
  goFixedHorzLine = 2,
  goVertLine = 4,
  goHorzLine = 8,
  goEditing = 16,
  goDrawFocusSelected = 32,
  goTabs = 64,
};

// Draw state of a cell (bits).
enum TGridDrawState : unsigned { gdSelected = 1, gdFocused = 2, gdFixed = 4 };

struct TFormatOptions {
  TFont Font;
  TColor BrushColor = clWindow;
  TAlignment AlignmentHorz = taLeftJustify;
  TVertAlignment AlignmentVert = taTopJustify;
  TCellBevelStyle BevelStyle = cbNone;
  TColor BevelTopLeft = clWindow;
  TColor BevelBottomRight = clWindow;
  bool HideText = false;
};

class TSortingGrid : public QAbstractScrollArea {
  Q_OBJECT
  // The skin sets the fixed cells to its face colour and gives the old colour back.
  Q_PROPERTY(quint32 FixedColor READ FixedColor WRITE setFixedColor)

 public:
  explicit TSortingGrid(QWidget* parent = nullptr);
  ~TSortingGrid() override;

  TGridData& Data() { return data_; }
  const TGridData& Data() const { return data_; }

  // ---- the string grid ----
  int ColCount() const { return data_.ColCount(); }
  void setColCount(int n);
  int RowCount() const { return data_.RowCount(); }
  void setRowCount(int n);
  int FixedCols() const { return data_.FixedCols(); }
  void setFixedCols(int n);
  int FixedRows() const { return data_.FixedRows(); }
  void setFixedRows(int n);
  QString Cells(int col, int row) const { return data_.Cells(col, row); }
  void setCell(int col, int row, const QString& text);
  int Col() const { return data_.Col(); }
  int Row() const { return data_.Row(); }
  // Make a cell current when the select test allows it; false otherwise.
  bool setCurrent(int col, int row);
  void setCol(int col) { setCurrent(col, Row()); }
  void setRow(int row) { setCurrent(Col(), row); }
  int DefaultColWidth() const { return defaultColWidth_; }
  void setDefaultColWidth(int w);
  int DefaultRowHeight() const { return defaultRowHeight_; }
  void setDefaultRowHeight(int h);
  int ColWidths(int col) const;
  void setColWidths(int col, int w);
  int RowHeights(int row) const;
  void setRowHeights(int row, int h);
  int GridLineWidth() const { return gridLineWidth_; }
  void setGridLineWidth(int w);
  unsigned Options() const { return options_; }
  void setOptions(unsigned o);
  TColor Color() const { return color_; }
  void setColor(TColor c);
  TColor FixedColor() const { return fixedColor_; }
  void setFixedColor(TColor c);
  const TFont& Font() const { return font_; }
  void setFont(const TFont& f);
  using QAbstractScrollArea::setFont;
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void setScrollBars(TScrollStyle s);
  bool DefaultDrawing() const { return defaultDrawing_; }
  void setDefaultDrawing(bool on) { defaultDrawing_ = on, refresh(); }
  int TopRow() const { return topRow_; }
  void setTopRow(int row);
  int LeftCol() const { return leftCol_; }
  void setLeftCol(int col);
  // Rows (columns) from TopRow (LeftCol) that fit wholly in the view.
  int VisibleRowCount() const;
  int VisibleColCount() const;
  // Rectangle of a cell in the view; empty when not shown.
  TRect CellRect(int col, int row) const;
  bool MouseToCell(QPoint p, int& col, int& row) const;

  bool EditorMode() const;
  void setEditorMode(bool on);
  QLineEdit* InplaceEditor() const { return editor_; }

  // ---- the extensions ----
  TAlignment AlignmentHorz() const { return alignmentHorz_; }
  void setAlignmentHorz(TAlignment a);
  TVertAlignment AlignmentVert() const { return alignmentVert_; }
  void setAlignmentVert(TVertAlignment a);
  bool ClickSorting() const { return clickSorting_; }
  void setClickSorting(bool on) { clickSorting_ = on; }
  TCellBevelStyle BevelStyle() const { return bevelStyle_; }
  void setBevelStyle(TCellBevelStyle s);
  bool ProportionalScrollBars() const { return proportionalScrollBars_; }
  void setProportionalScrollBars(bool on);
  bool ExtendedKeys() const { return extendedKeys_; }
  void setExtendedKeys(bool on) { extendedKeys_ = on; }

  // ---- events ----
  // Every change of the current cell (by mouse, key or call) and every mouse click on a cell.
  std::function<void()> OnClick;
  // A key pressed in the grid or its editor, before the grid acts on it; setting `key` to 0
  // drops it.
  std::function<void(int& key, Qt::KeyboardModifiers modifiers)> OnKeyDown;
  // The focus came into the grid or its editor from elsewhere, or left both.
  std::function<void()> OnEnter, OnExit;
  std::function<void(int col, int row, bool& canSelect)> OnSelectCell;
  // Key typed into the grid or its editor; setting it to QChar() drops it.
  std::function<void(QChar& key)> OnKeyPress;
  std::function<void(int col, int row, const TRect& rect, unsigned state, Canvas& canvas)>
      OnDrawCell;
  std::function<void(int col, int row, unsigned state, TFormatOptions& options)> OnGetCellFormat;
  std::function<void(int col, int row, TSortOptions& options)> OnClickSort;
  std::function<void(int index)> OnRowInsert, OnRowDelete, OnColumnInsert, OnColumnDelete;
  std::function<void()> OnColumnWidthsChanged, OnRowHeightsChanged;
  std::function<void(int oldColCount, int oldRowCount)> OnSizeChanged;
  std::function<void(int col, TSortOptions& options)> OnBeginSort;
  std::function<void(int col)> OnEndSort;
  std::function<void(int col, int row, QString& value, bool& valid)> OnCellValidate;

  // ---- operations ----
  virtual void SortByColumn(int col, const TSortOptions& options);
  virtual std::uint8_t DetectSortStyle(int col) const { return data_.DetectSortStyle(col); }
  virtual void UpdateScrollBars();
  virtual void RememberEditCell();
  virtual void MoveTo(int col, int row);
  virtual void Clear();
  virtual void InsertRow(int index);
  virtual void InsertColumn(int index);
  virtual void DeleteRow(int index);
  virtual void DeleteColumn(int index);
  virtual void MoveRow(int from, int to);
  virtual void MoveColumn(int from, int to);
  virtual void SwapRows(int a, int b);
  virtual void SwapColumns(int a, int b);
  virtual void AutoSizeColumn(int col);
  virtual void AutoSizeColumns(bool includeFixed, int extra);
  virtual void SortColumn(int col, TSortOptions options);
  virtual bool FindCell(const QString& text, int& col, int& row) const;
  virtual bool LoadFromFile(const QString& fileName, QChar delimiter);
  virtual bool SaveToFile(const QString& fileName, QChar delimiter) const;
  virtual bool CanUndoSort();
  virtual void UndoSort();
  virtual void ValidateEditCell();
  bool Modified() const { return modified_; }
  bool Sorting() const { return sorting_; }

  // Paints the view (fixed cells, cells, lines, focus) into an image of the view's size.
  QImage renderImage();
  void render(Canvas& canvas);

 protected:
  virtual bool SelectCell(int col, int row);
  // Paints one cell with the alignment, format hook and bevel.
  virtual void DrawCell(Canvas& canvas, int col, int row, const TRect& rect, unsigned state);
  // Text typed into the editor for the current cell.
  virtual void SetEditText(int col, int row, const QString& text);

  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void mouseDoubleClickEvent(QMouseEvent*) override;
  void keyPressEvent(QKeyEvent*) override;
  void focusInEvent(QFocusEvent*) override;
  void focusOutEvent(QFocusEvent*) override;
  void scrollContentsBy(int dx, int dy) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void refresh();
  void sizeChanged(int oldCols, int oldRows);
  void columnWidthsChanged();
  void rowHeightsChanged();
  void showEditor(const QString* initial = nullptr);
  void hideEditor(bool keep);
  void placeEditor();
  void scrollIntoView();
  int maxTopRow() const;
  int maxLeftCol() const;
  int colLeft(int col) const;  // view x of a shown column
  int rowTop(int row) const;
  void moveBy(int dc, int dr);
  // Runs OnKeyDown; false when the handler dropped the key.
  bool keyDown(QKeyEvent* e);
  // Sets the has-focus flag and reports OnEnter / OnExit when the focus crossed the grid's
  // border, the editor counting as the grid.
  void focusMoved();
  // The character a key types into a cell: a printable one or Backspace; none otherwise.
  static QChar typedChar(const QKeyEvent* e);

  TGridData data_;
  int defaultColWidth_ = 64;
  int defaultRowHeight_ = 24;
  QVector<int> colWidths_, rowHeights_;  // -1: default
  int gridLineWidth_ = 1;
  unsigned options_ = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine;
  TColor color_ = clWindow;
  TColor fixedColor_ = clBtnFace;
  TFont font_;
  TScrollStyle scrollBars_ = ssBoth;
  bool defaultDrawing_ = true;
  int topRow_ = 1;
  int leftCol_ = 1;
  QLineEdit* editor_ = nullptr;
  QString editorOriginal_;  // the cell's text when the editor opened (Escape restores it)
  bool updatingScroll_ = false;

  TAlignment alignmentHorz_ = taLeftJustify;
  TVertAlignment alignmentVert_ = taTopJustify;
  bool clickSorting_ = true;
  TCellBevelStyle bevelStyle_ = cbNone;
  bool proportionalScrollBars_ = true;
  bool extendedKeys_ = false;

  bool sorting_ = false;
  bool modified_ = false;
  bool hasFocus_ = false;
  bool focusInside_ = false;
  bool clickedByPress_ = false;  // the press already reported the click as a cell change
  bool selecting_ = false;       // a left press on a cell that a drag carries on
  int editCol_ = -1, editRow_ = -1;
  QString editText_;
  bool editModified_ = false;
};

}  // namespace ruto
