#include "platform/vcl/Grids.h"

#include <gtest/gtest.h>

#include <QTableWidget>

#include "platform/vcl/test/Fixture.h"

namespace vcl {
namespace {

using test::FormFixture;

class GridTest : public FormFixture {
 public:
  void SelectCell(TObject*, int col, int row, bool& canSelect) {
    asked.push_back({col, row});
    canSelect = !(col == refuseCol && row == refuseRow);
  }

 protected:
  std::vector<std::pair<int, int>> asked;
  int refuseCol = -1, refuseRow = -1;
};

TEST_F(GridTest, CellsSurviveResizingWhereTheyStayInside) {
  auto* grid = Add<TStringGrid>("sgUsers");
  grid->SetColCount(3);
  grid->SetRowCount(3);
  grid->SetCells(0, 0, "No");
  grid->SetCells(2, 2, "last");
  grid->SetCells(1, 1, "用户");
  EXPECT_EQ(grid->Cells(1, 1), "用户");
  grid->SetRowCount(2);
  EXPECT_EQ(grid->Cells(2, 2), "");
  grid->SetRowCount(4);
  EXPECT_EQ(grid->Cells(2, 2), "");  // gone with the row
  EXPECT_EQ(grid->Cells(1, 1), "用户");
  EXPECT_EQ(grid->Rows(0), (std::vector<std::string>{"No", "", ""}));
  EXPECT_EQ(grid->Cells(7, 7), "");  // outside: empty, no error
  auto* table = qobject_cast<QTableWidget*>(grid->Handle());
  EXPECT_EQ(table->rowCount(), 4);
  EXPECT_EQ(table->item(0, 0)->text(), "No");
  EXPECT_THROW(grid->SetFixedRows(4), EInvalidGridOperation);
}

TEST_F(GridTest, TheCurrentCellMovesOnlyWhereSelectCellAllows) {
  auto* grid = Add<TDrawGrid>("dgList");
  grid->OnSelectCell = MakeEvent<&GridTest::SelectCell>(this);
  EXPECT_EQ(grid->Col(), 1);  // first non-fixed cell
  EXPECT_EQ(grid->Row(), 1);
  refuseCol = 3;
  refuseRow = 1;
  grid->SetCol(3);
  EXPECT_EQ(grid->Col(), 1);
  grid->SetCol(2);
  EXPECT_EQ(grid->Col(), 2);
  EXPECT_FALSE(grid->MoveTo(0, 2));  // fixed: not even asked
  EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{3, 1}, {2, 1}}));
  // The user's moves are asked the same way.
  auto* table = qobject_cast<QTableWidget*>(grid->Handle());
  table->setCurrentCell(1, 3);
  EXPECT_EQ(grid->Col(), 2);
  EXPECT_EQ(table->currentColumn(), 2);
  table->setCurrentCell(3, 4);
  EXPECT_EQ(grid->Col(), 4);
  EXPECT_EQ(grid->Row(), 3);
  // Adding a row and moving into it, as Enter in the last cell does.
  grid->SetRowCount(grid->RowCount() + 1);
  grid->SetRow(grid->RowCount() - 1);
  grid->SetCol(grid->FixedCols());
  EXPECT_EQ(grid->Row(), 5);
  EXPECT_EQ(grid->Col(), 1);
}

TEST_F(GridTest, EditedCellsGoIntoCellsAndOnSetEditText) {
  auto* grid = Add<TStringGrid>();
  grid->SetOptions(grid->Options() | GridOption(goEditing));
  std::vector<std::string> edits;
  struct Rec {
    std::vector<std::string>* e;
    void Set(TObject*, int col, int row, const std::string& value) {
      e->push_back(std::to_string(col) + "," + std::to_string(row) + "=" + value);
    }
  } rec{&edits};
  grid->OnSetEditText = MakeEvent<&Rec::Set>(&rec);
  auto* table = qobject_cast<QTableWidget*>(grid->Handle());
  EXPECT_TRUE(table->item(1, 1)->flags() & Qt::ItemIsEditable);
  EXPECT_FALSE(table->item(0, 1)->flags() & Qt::ItemIsEditable);
  table->item(2, 1)->setText("abc");  // what the editor writes back
  EXPECT_EQ(grid->Cells(1, 2), "abc");
  EXPECT_EQ(edits, (std::vector<std::string>{"1,2=abc"}));
  // Code writes show without running the handler.
  grid->SetCells(1, 3, "x");
  EXPECT_EQ(table->item(3, 1)->text(), "x");
  EXPECT_EQ(edits.size(), 1u);
}

}  // namespace
}  // namespace vcl
