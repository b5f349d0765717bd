#pragma once

#include <string>
#include <vector>

#include "platform/vcl/Controls.h"

namespace vcl {

class EInvalidGridOperation : public platform::Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EInvalidGridOperation"; }
};

enum TGridOption {
  goFixedVertLine,
  goFixedHorzLine,
  goVertLine,
  goHorzLine,
  goRangeSelect,
  goDrawFocusSelected,
  goRowSizing,
  goColSizing,
  goRowMoving,
  goColMoving,
  goEditing,
  goTabs,
  goRowSelect,
  goAlwaysShowEditor,
  goThumbTracking
};
using TGridOptions = uint32_t;  // bit n = TGridOption n
constexpr TGridOptions GridOption(TGridOption o) { return 1u << o; }

enum TGridDrawStateFlag : uint8_t { gdSelected = 1, gdFocused = 2, gdFixed = 4 };
using TGridDrawState = uint8_t;

using TSelectCellEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/, bool& /*CanSelect*/>;
using TDrawCellEvent = TEvent<TObject*, int /*ACol*/, int /*ARow*/, const TRect&, TGridDrawState>;
using TGetEditEvent = TEvent<TObject*, int, int, std::string& /*Value*/>;
using TSetEditEvent = TEvent<TObject*, int, int, const std::string& /*Value*/>;

/* The platform's grid: ColCount x RowCount cells, the first FixedCols
   columns and FixedRows rows fixed (not selectable). The current cell
   (Col, Row) is never fixed. Moving it - by the user or by setting Col,
   Row or calling MoveTo - first asks SelectCell/OnSelectCell, which may
   refuse. With goEditing the user edits non-fixed cells in place; the text
   goes to SetEditText (a string grid stores it in Cells) and OnSetEditText.
   With OnDrawCell assigned, the program draws each cell on Canvas. */
class TCustomGrid : public TCustomControl {
  VCL_CLASS_INFO()
 public:
  explicit TCustomGrid(TComponent* owner);

  int ColCount() const { return colCount_; }
  void SetColCount(int n);
  int RowCount() const { return rowCount_; }
  void SetRowCount(int n);
  /* Raise EInvalidGridOperation when not below the column/row count. */
  int FixedCols() const { return fixedCols_; }
  void SetFixedCols(int n);
  int FixedRows() const { return fixedRows_; }
  void SetFixedRows(int n);
  int Col() const { return col_; }
  void SetCol(int col);
  int Row() const { return row_; }
  void SetRow(int row);
  /* Moves the current cell; false when SelectCell refused or the cell is
     fixed or outside the grid. */
  bool MoveTo(int col, int row);
  TGridOptions Options() const { return options_; }
  void SetOptions(TGridOptions options);
  int DefaultColWidth() const { return defaultColWidth_; }
  void SetDefaultColWidth(int w);
  int DefaultRowHeight() const { return defaultRowHeight_; }
  void SetDefaultRowHeight(int h);
  int ColWidths(int col) const;
  void SetColWidths(int col, int width);
  int RowHeights(int row) const;
  void SetRowHeights(int row, int height);
  TColor FixedColor() const { return fixedColor_; }
  void SetFixedColor(TColor c);
  bool EditorMode() const;
  void SetEditorMode(bool on);

  TSelectCellEvent OnSelectCell;
  TDrawCellEvent OnDrawCell;
  TGetEditEvent OnGetEditText;
  TSetEditEvent OnSetEditText;

  virtual bool SelectCell(int col, int row);
  virtual std::string GetEditText(int col, int row);
  virtual void SetEditText(int col, int row, const std::string& value);
  /* Draws a cell through OnDrawCell (the layer calls it while painting). */
  virtual void DrawCell(int col, int row, const TRect& rect, TGridDrawState state);
  /* The text a cell shows (a string grid: its Cells). */
  virtual std::string CellText(int col, int row) const;

  bool WantsKey(Word key, TShiftState shift) const override;
  QWidget* FocusWidget() override;
  bool ClickOnMouseUp() const override { return false; }

  /* The user moved to or edited a cell (the layer's Qt side). */
  void ViewCurrentChanged(int col, int row);
  void ViewEdited(int col, int row, const std::string& value);

 protected:
  QWidget* CreateWidget(QWidget* parentWidget) override;
  void InitWidget() override;
  void FontChanged() override;
  /* Shows the cells anew. */
  void RefreshCells();
  virtual void SizeChanged(int oldCols, int oldRows) {
    (void)oldCols;
    (void)oldRows;
  }

 private:
  void ShowCurrent();
  int colCount_ = 5;
  int rowCount_ = 5;
  int fixedCols_ = 1;
  int fixedRows_ = 1;
  int col_ = 1;
  int row_ = 1;
  TGridOptions options_ = GridOption(goFixedVertLine) | GridOption(goFixedHorzLine) |
                          GridOption(goVertLine) | GridOption(goHorzLine) |
                          GridOption(goRangeSelect);
  int defaultColWidth_ = 64;
  int defaultRowHeight_ = 24;
  std::vector<int> colWidths_;
  std::vector<int> rowHeights_;
  TColor fixedColor_ = clBtnFace;
};

class TCustomDrawGrid : public TCustomGrid {
  VCL_CLASS_INFO()
 public:
  explicit TCustomDrawGrid(TComponent* owner) : TCustomGrid(owner) {}
};

class TDrawGrid : public TCustomDrawGrid {
  VCL_CLASS_INFO()
 public:
  explicit TDrawGrid(TComponent* owner) : TCustomDrawGrid(owner) {}
};

/* The platform's string grid: a draw grid whose cells hold texts (and an
   object each); Cells survive changes of ColCount and RowCount where they
   stay inside. Rows(i)/Cols(i) are the texts of one row/column. */
class TStringGrid : public TDrawGrid {
  VCL_CLASS_INFO()
 public:
  explicit TStringGrid(TComponent* owner);

  std::string Cells(int col, int row) const;
  void SetCells(int col, int row, const std::string& text);
  TObject* Objects(int col, int row) const;
  void SetObjects(int col, int row, TObject* object);
  std::vector<std::string> Rows(int row) const;
  std::vector<std::string> Cols(int col) const;

  std::string GetEditText(int col, int row) override;
  void SetEditText(int col, int row, const std::string& value) override;
  std::string CellText(int col, int row) const override;

 protected:
  /* Cells that fall outside go. */
  void SizeChanged(int oldCols, int oldRows) override;

 private:
  struct Cell {
    std::string text;
    TObject* object = nullptr;
  };
  std::vector<std::vector<Cell>> cells_;  // [row][col]
  Cell* At(int col, int row);
  const Cell* At(int col, int row) const;
};

}  // namespace vcl
