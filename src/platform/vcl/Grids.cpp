#include "platform/vcl/Grids.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include "platform/vcl/Internal.h"
#include "platform/vcl/TypInfo.h"

namespace vcl {

namespace {
const TEnumInfo kGridOptionInfo{
    "TGridOption",
    {"goFixedVertLine", "goFixedHorzLine", "goVertLine", "goHorzLine", "goRangeSelect",
     "goDrawFocusSelected", "goRowSizing", "goColSizing", "goRowMoving", "goColMoving", "goEditing",
     "goTabs", "goRowSelect", "goAlwaysShowEditor", "goThumbTracking"}};

bool Live(const TComponent* c) { return IsLiveComponent(c) && !c->Disposed(); }

class GridWidget : public QTableWidget {
 public:
  GridWidget(QWidget* parent) : QTableWidget(parent) {}
  bool Editing() const { return state() == QAbstractItemView::EditingState; }
};

class CellDelegate : public QStyledItemDelegate {
 public:
  CellDelegate(TCustomGrid* grid, QObject* parent) : QStyledItemDelegate(parent), grid_(grid) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    if (!Live(grid_) || !grid_->OnDrawCell.Assigned()) {
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    TGridDrawState state = 0;
    if (option.state & QStyle::State_Selected) state |= gdSelected;
    if (index.column() == grid_->Col() && index.row() == grid_->Row()) state |= gdFocused;
    if (index.column() < grid_->FixedCols() || index.row() < grid_->FixedRows()) state |= gdFixed;
    QRect r = option.rect;
    grid_->Canvas()->Font()->Assign(grid_->Font());
    grid_->Canvas()->Brush()->SetColor(grid_->Color());
    grid_->Canvas()->BeginPaint(painter);
    grid_->DrawCell(index.column(), index.row(),
                    TRect{r.left(), r.top(), r.right() + 1, r.bottom() + 1}, state);
    grid_->Canvas()->EndPaint();
  }

 private:
  TCustomGrid* grid_;
};

QTableWidget* Table(QWidget* w) { return qobject_cast<QTableWidget*>(w); }
}  // namespace

const TClassInfo* TCustomGrid::StaticClassInfo() {
  using P = PropBuilder<TCustomGrid>;
  static const TClassInfo info(
      "TCustomGrid", TCustomControl::StaticClassInfo(),
      {
          P::Integer<&TCustomGrid::ColCount, &TCustomGrid::SetColCount>("ColCount"),
          P::Integer<&TCustomGrid::DefaultColWidth, &TCustomGrid::SetDefaultColWidth>(
              "DefaultColWidth"),
          P::Integer<&TCustomGrid::DefaultRowHeight, &TCustomGrid::SetDefaultRowHeight>(
              "DefaultRowHeight"),
          P::Integer<&TCustomGrid::FixedColor, &TCustomGrid::SetFixedColor>("FixedColor", "TColor"),
          P::Integer<&TCustomGrid::FixedCols, &TCustomGrid::SetFixedCols>("FixedCols"),
          P::Integer<&TCustomGrid::FixedRows, &TCustomGrid::SetFixedRows>("FixedRows"),
          P::SetOf<&TCustomGrid::Options, &TCustomGrid::SetOptions>("Options", "TGridOptions",
                                                                    &kGridOptionInfo),
          P::Integer<&TCustomGrid::RowCount, &TCustomGrid::SetRowCount>("RowCount"),
          P::Event<&TCustomGrid::OnDrawCell>("OnDrawCell", "TDrawCellEvent"),
          P::Event<&TCustomGrid::OnGetEditText>("OnGetEditText", "TGetEditEvent"),
          P::Event<&TCustomGrid::OnSelectCell>("OnSelectCell", "TSelectCellEvent"),
          P::Event<&TCustomGrid::OnSetEditText>("OnSetEditText", "TSetEditEvent"),
      });
  return &info;
}

const TClassInfo* TCustomDrawGrid::StaticClassInfo() {
  static const TClassInfo info("TCustomDrawGrid", TCustomGrid::StaticClassInfo());
  return &info;
}

const TClassInfo* TDrawGrid::StaticClassInfo() {
  static const TClassInfo info("TDrawGrid", TCustomDrawGrid::StaticClassInfo());
  return &info;
}

const TClassInfo* TStringGrid::StaticClassInfo() {
  static const TClassInfo info("TStringGrid", TDrawGrid::StaticClassInfo());
  return &info;
}

TCustomGrid::TCustomGrid(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 320, 120);
  SetTabStop(true);
  SetColor(clWindow);
}

void TCustomGrid::SetColCount(int n) {
  n = std::max(1, n);
  if (n == colCount_) return;
  if (fixedCols_ >= n)
    throw EInvalidGridOperation("Fixed column count must be less than column count");
  int old = colCount_;
  colCount_ = n;
  colWidths_.resize(static_cast<size_t>(n), -1);
  if (col_ >= n) col_ = n - 1;
  SizeChanged(old, rowCount_);
  RefreshCells();
}

void TCustomGrid::SetRowCount(int n) {
  n = std::max(1, n);
  if (n == rowCount_) return;
  if (fixedRows_ >= n) throw EInvalidGridOperation("Fixed row count must be less than row count");
  int old = rowCount_;
  rowCount_ = n;
  rowHeights_.resize(static_cast<size_t>(n), -1);
  if (row_ >= n) row_ = n - 1;
  SizeChanged(colCount_, old);
  RefreshCells();
}

void TCustomGrid::SetFixedCols(int n) {
  if (n < 0 || n >= colCount_)
    throw EInvalidGridOperation("Fixed column count must be less than column count");
  fixedCols_ = n;
  if (col_ < n) col_ = n;
  RefreshCells();
}

void TCustomGrid::SetFixedRows(int n) {
  if (n < 0 || n >= rowCount_)
    throw EInvalidGridOperation("Fixed row count must be less than row count");
  fixedRows_ = n;
  if (row_ < n) row_ = n;
  RefreshCells();
}

bool TCustomGrid::SelectCell(int col, int row) {
  bool can = true;
  OnSelectCell(this, col, row, can);
  return can;
}

bool TCustomGrid::MoveTo(int col, int row) {
  if (col < fixedCols_ || row < fixedRows_ || col >= colCount_ || row >= rowCount_) return false;
  if (col == col_ && row == row_) return true;
  if (!SelectCell(col, row) || !Live(this)) {
    ShowCurrent();
    return false;
  }
  col_ = col;
  row_ = row;
  ShowCurrent();
  return true;
}

void TCustomGrid::SetCol(int col) { MoveTo(col, row_); }
void TCustomGrid::SetRow(int row) { MoveTo(col_, row); }

void TCustomGrid::SetOptions(TGridOptions options) {
  options_ = options;
  RefreshCells();
}

void TCustomGrid::SetDefaultColWidth(int w) {
  defaultColWidth_ = w;
  RefreshCells();
}

void TCustomGrid::SetDefaultRowHeight(int h) {
  defaultRowHeight_ = h;
  RefreshCells();
}

int TCustomGrid::ColWidths(int col) const {
  if (col < 0 || col >= colCount_) return 0;
  int w = col < static_cast<int>(colWidths_.size()) ? colWidths_[static_cast<size_t>(col)] : -1;
  return w < 0 ? defaultColWidth_ : w;
}

void TCustomGrid::SetColWidths(int col, int width) {
  if (col < 0 || col >= colCount_) return;
  colWidths_.resize(static_cast<size_t>(colCount_), -1);
  colWidths_[static_cast<size_t>(col)] = width;
  if (QTableWidget* t = Table(Widget())) t->setColumnWidth(col, width);
}

int TCustomGrid::RowHeights(int row) const {
  if (row < 0 || row >= rowCount_) return 0;
  int h = row < static_cast<int>(rowHeights_.size()) ? rowHeights_[static_cast<size_t>(row)] : -1;
  return h < 0 ? defaultRowHeight_ : h;
}

void TCustomGrid::SetRowHeights(int row, int height) {
  if (row < 0 || row >= rowCount_) return;
  rowHeights_.resize(static_cast<size_t>(rowCount_), -1);
  rowHeights_[static_cast<size_t>(row)] = height;
  if (QTableWidget* t = Table(Widget())) t->setRowHeight(row, height);
}

void TCustomGrid::SetFixedColor(TColor c) {
  fixedColor_ = c;
  RefreshCells();
}

bool TCustomGrid::EditorMode() const {
  auto* t = dynamic_cast<GridWidget*>(Widget());
  return t && t->Editing();
}

void TCustomGrid::SetEditorMode(bool on) {
  QTableWidget* t = Table(Handle());
  if (!t || !(options_ & GridOption(goEditing))) return;
  if (on) {
    if (QTableWidgetItem* item = t->item(row_, col_)) t->editItem(item);
  } else if (EditorMode()) {
    t->setCurrentCell(row_, col_);  // closes the editor, committing
  }
}

std::string TCustomGrid::GetEditText(int col, int row) {
  std::string value = CellText(col, row);
  OnGetEditText(this, col, row, value);
  return value;
}

void TCustomGrid::SetEditText(int col, int row, const std::string& value) {
  OnSetEditText(this, col, row, value);
}

void TCustomGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
  OnDrawCell(this, col, row, rect, state);
}

std::string TCustomGrid::CellText(int, int) const { return {}; }

bool TCustomGrid::WantsKey(Word key, TShiftState) const {
  if (key == VK_TAB) return (options_ & GridOption(goTabs)) != 0;
  if (EditorMode()) return key == VK_RETURN || key == VK_ESCAPE;
  return key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT || key == VK_PRIOR ||
         key == VK_NEXT || key == VK_HOME || key == VK_END;
}

QWidget* TCustomGrid::FocusWidget() {
  QWidget* w = Handle();
  if (EditorMode())
    if (QWidget* editor = w->focusWidget(); editor && editor != w) return editor;
  return w;
}

QWidget* TCustomGrid::CreateWidget(QWidget* parentWidget) {
  auto* t = new GridWidget(parentWidget);
  t->setItemDelegate(new CellDelegate(this, t));
  t->horizontalHeader()->setVisible(false);
  t->verticalHeader()->setVisible(false);
  QObject::connect(t, &QTableWidget::currentCellChanged, [this](int row, int col, int, int) {
    if (!internal::Quiet() && Live(this)) ViewCurrentChanged(col, row);
  });
  QObject::connect(t, &QTableWidget::itemChanged, [this](QTableWidgetItem* item) {
    if (!internal::Quiet() && Live(this))
      ViewEdited(item->column(), item->row(), FromQtText(item->text()));
  });
  return t;
}

void TCustomGrid::InitWidget() {
  TCustomControl::InitWidget();
  RefreshCells();
}

void TCustomGrid::FontChanged() {
  TCustomControl::FontChanged();
  RefreshCells();
}

void TCustomGrid::RefreshCells() {
  QTableWidget* t = Table(Widget());
  if (!t || Disposed()) return;
  internal::QuietScope quiet;
  t->setRowCount(rowCount_);
  t->setColumnCount(colCount_);
  bool editing = options_ & GridOption(goEditing);
  for (int r = 0; r < rowCount_; ++r) {
    for (int c = 0; c < colCount_; ++c) {
      QTableWidgetItem* item = t->item(r, c);
      if (!item) {
        item = new QTableWidgetItem;
        t->setItem(r, c, item);
      }
      item->setText(QtText(CellText(c, r)));
      bool fixed = c < fixedCols_ || r < fixedRows_;
      Qt::ItemFlags flags = fixed ? Qt::ItemFlags() : (Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      if (!fixed && editing) flags |= Qt::ItemIsEditable;
      item->setFlags(flags);
      item->setBackground(fixed ? QBrush(ToQColor(fixedColor_)) : QBrush());
    }
  }
  for (int c = 0; c < colCount_; ++c) t->setColumnWidth(c, ColWidths(c));
  for (int r = 0; r < rowCount_; ++r) t->setRowHeight(r, RowHeights(r));
  t->setShowGrid((options_ & (GridOption(goVertLine) | GridOption(goHorzLine))) != 0);
  t->setEditTriggers(editing
                         ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                               QAbstractItemView::AnyKeyPressed
                         : QAbstractItemView::NoEditTriggers);
  t->setSelectionBehavior((options_ & GridOption(goRowSelect)) ? QAbstractItemView::SelectRows
                                                               : QAbstractItemView::SelectItems);
  t->setSelectionMode((options_ & GridOption(goRangeSelect))
                          ? QAbstractItemView::ContiguousSelection
                          : QAbstractItemView::SingleSelection);
  ShowCurrent();
}

void TCustomGrid::ShowCurrent() {
  QTableWidget* t = Table(Widget());
  if (!t) return;
  internal::QuietScope quiet;
  if (t->currentRow() != row_ || t->currentColumn() != col_) t->setCurrentCell(row_, col_);
}

void TCustomGrid::ViewCurrentChanged(int col, int row) {
  if (col < 0 || row < 0 || (col == col_ && row == row_)) return;
  if (!MoveTo(col, row)) ShowCurrent();
}

void TCustomGrid::ViewEdited(int col, int row, const std::string& value) {
  if (col < fixedCols_ || row < fixedRows_) return;
  SetEditText(col, row, value);
}

// --- TStringGrid -----------------------------------------------------------

TStringGrid::TStringGrid(TComponent* owner) : TDrawGrid(owner) {}

TStringGrid::Cell* TStringGrid::At(int col, int row) {
  if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) return nullptr;
  if (static_cast<int>(cells_.size()) <= row) cells_.resize(static_cast<size_t>(row) + 1);
  auto& line = cells_[static_cast<size_t>(row)];
  if (static_cast<int>(line.size()) <= col) line.resize(static_cast<size_t>(col) + 1);
  return &line[static_cast<size_t>(col)];
}

const TStringGrid::Cell* TStringGrid::At(int col, int row) const {
  if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) return nullptr;
  if (row >= static_cast<int>(cells_.size())) return nullptr;
  auto& line = cells_[static_cast<size_t>(row)];
  if (col >= static_cast<int>(line.size())) return nullptr;
  return &line[static_cast<size_t>(col)];
}

std::string TStringGrid::Cells(int col, int row) const {
  const Cell* c = At(col, row);
  return c ? c->text : std::string();
}

void TStringGrid::SetCells(int col, int row, const std::string& text) {
  Cell* c = At(col, row);
  if (!c) return;
  c->text = text;
  if (auto* t = qobject_cast<QTableWidget*>(Widget()))
    if (QTableWidgetItem* item = t->item(row, col)) {
      internal::QuietScope quiet;
      item->setText(QtText(text));
    }
}

TObject* TStringGrid::Objects(int col, int row) const {
  const Cell* c = At(col, row);
  return c ? c->object : nullptr;
}

void TStringGrid::SetObjects(int col, int row, TObject* object) {
  if (Cell* c = At(col, row)) c->object = object;
}

std::vector<std::string> TStringGrid::Rows(int row) const {
  std::vector<std::string> out;
  for (int c = 0; c < ColCount(); ++c) out.push_back(Cells(c, row));
  return out;
}

std::vector<std::string> TStringGrid::Cols(int col) const {
  std::vector<std::string> out;
  for (int r = 0; r < RowCount(); ++r) out.push_back(Cells(col, r));
  return out;
}

std::string TStringGrid::GetEditText(int col, int row) {
  std::string value = Cells(col, row);
  OnGetEditText(this, col, row, value);
  return value;
}

void TStringGrid::SetEditText(int col, int row, const std::string& value) {
  if (Cell* c = At(col, row)) c->text = value;
  TDrawGrid::SetEditText(col, row, value);
}

std::string TStringGrid::CellText(int col, int row) const { return Cells(col, row); }

void TStringGrid::SizeChanged(int, int) {
  if (static_cast<int>(cells_.size()) > RowCount()) cells_.resize(static_cast<size_t>(RowCount()));
  for (auto& line : cells_)
    if (static_cast<int>(line.size()) > ColCount()) line.resize(static_cast<size_t>(ColCount()));
}

}  // namespace vcl
