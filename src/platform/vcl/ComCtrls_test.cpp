#include "platform/vcl/ComCtrls.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <utility>
#include <vector>

#include "platform/vcl/ImgList.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/test/Fixture.h"

namespace vcl {
namespace {

using test::FormFixture;

class PageControlTest : public FormFixture {
 protected:
  void SetUp() override {
    FormFixture::SetUp();
    pages = Add<TPageControl>("pgOption");
    pages->SetBounds(0, 0, 300, 200);
    for (const char* name : {"tsOption1", "tsOption2", "tsOption3"}) {
      auto* sheet = new TTabSheet(form);
      sheet->SetName(name);
      sheet->SetPageControl(pages);
      sheet->SetCaption(name);
    }
    pages->OnChanging = MakeEvent<&PageControlTest::Changing>(this);
    pages->OnChange = Recorder();
  }
  void Changing(TObject*, bool& allow) {
    log.entries.push_back("changing");
    allow = allowChange;
  }
  void ClickTab(int index) {
    auto* tabs = pages->Handle()->findChild<QTabBar*>();
    QPoint p = tabs->tabRect(index).center();
    QMouseEvent press(QEvent::MouseButtonPress, p, tabs->mapToGlobal(p), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tabs, &press);
  }
  TPageControl* pages = nullptr;
  bool allowChange = true;
};

TEST_F(PageControlTest, CodeChangesThePageSilently) {
  EXPECT_EQ(pages->PageCount(), 3);
  EXPECT_EQ(pages->ActivePageIndex(), 0);
  pages->SetActivePageIndex(2);
  EXPECT_EQ(pages->ActivePage()->Name(), "tsOption3");
  EXPECT_TRUE(pages->Pages(2)->Visible());
  EXPECT_FALSE(pages->Pages(0)->Visible());
  EXPECT_EQ(qobject_cast<QTabWidget*>(pages->Handle())->currentIndex(), 2);
  EXPECT_TRUE(log.entries.empty());
}

TEST_F(PageControlTest, OnChangingCanRefuseAUsersTabClickAndNextPage) {
  allowChange = false;
  ClickTab(1);
  pages->SelectNextPage(true);
  EXPECT_EQ(pages->ActivePageIndex(), 0);
  EXPECT_EQ(qobject_cast<QTabWidget*>(pages->Handle())->currentIndex(), 0);
  EXPECT_EQ(log.entries, (std::vector<std::string>{"changing", "changing"}));
  allowChange = true;
  log.entries.clear();
  ClickTab(1);
  EXPECT_EQ(pages->ActivePageIndex(), 1);
  pages->SelectNextPage(false);
  EXPECT_EQ(pages->ActivePageIndex(), 0);
  EXPECT_EQ(log.entries,
            (std::vector<std::string>{"changing", "pgOption", "changing", "pgOption"}));
}

TEST_F(PageControlTest, HiddenTabsAreSkippedAndTabIndexCountsVisibleOnes) {
  pages->Pages(1)->SetTabVisible(false);
  EXPECT_EQ(pages->FindNextPage(pages->Pages(0), true, true), pages->Pages(2));
  EXPECT_EQ(pages->FindNextPage(pages->Pages(2), true, true), pages->Pages(0));  // wraps
  EXPECT_EQ(pages->Pages(2)->TabIndex(), 1);
  EXPECT_EQ(pages->Pages(1)->TabIndex(), -1);
  EXPECT_FALSE(qobject_cast<QTabWidget*>(pages->Handle())->isTabVisible(1));
}

// Owner-drawn tabs: the control draws each tab's frame and gives the
// program the inside of it (an unselected tab's lower than the selected
// one's), so that the program's fills leave the frames in sight.
struct TabDrawings {
  std::vector<std::pair<TRect, bool>> calls;
  void Draw(TCustomTabControl* control, int, const TRect& r, bool active) {
    calls.push_back({r, active});
    control->Canvas()->Brush()->SetColor(clBlack);
    control->Canvas()->FillRect(r);
  }
};

TEST_F(PageControlTest, OwnerDrawnTabsGetTheInsideOfTheirFrames) {
  TabDrawings drawings;
  pages->SetOwnerDraw(true);
  pages->OnDrawTab = MakeEvent<&TabDrawings::Draw>(&drawings);
  auto* bar = qobject_cast<QTabWidget*>(pages->Handle())->tabBar();
  const QImage image = bar->grab().toImage();
  ASSERT_EQ(drawings.calls.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const QRect tab = bar->tabRect(i);
    const TRect& r = drawings.calls[static_cast<size_t>(i)].first;
    EXPECT_EQ(drawings.calls[static_cast<size_t>(i)].second, i == 0);
    EXPECT_GT(r.Left, tab.left());
    EXPECT_LT(r.Right, tab.right() + 1);
    EXPECT_GT(r.Top, tab.top());
    EXPECT_LE(r.Bottom, tab.bottom() + 1);
    // The frame's left edge, half-way down the tab, is not the program's fill.
    EXPECT_NE(image.pixel(tab.left(), (r.Top + r.Bottom) / 2) & 0xFFFFFF, 0u);
  }
  EXPECT_GT(drawings.calls[1].first.Top, drawings.calls[0].first.Top);
}

TEST_F(PageControlTest, LeavingAPageRunsTheExitOfTheControlOnIt) {
  auto* ed = new TEdit(form);
  ed->SetName("edPrintDate");
  ed->SetParent(pages->Pages(0));
  ed->OnExit = Recorder();
  ed->SetFocus();
  EXPECT_THROW(pages->Pages(1)->Controls(0), EStringListError);
  pages->SetActivePageIndex(1);
  EXPECT_EQ(log.entries, (std::vector<std::string>{"edPrintDate"}));
  // Controls on a hidden page cannot take the focus.
  EXPECT_FALSE(ed->CanFocus());
}

class ListViewTest : public FormFixture {
 protected:
  TListView* MakeList(std::initializer_list<const char*> captions) {
    auto* lv = Add<TListView>("lstCondition");
    lv->SetViewStyle(vsReport);
    lv->Columns()->Add()->SetCaption("Name");
    lv->Columns()->Add()->SetCaption("Creator");
    for (const char* c : captions) {
      TListItem* item = lv->Items()->Add();
      item->SetCaption(c);
      item->SubItems()->Add(std::string("by ") + c);
    }
    return lv;
  }
  static std::vector<std::string> Captions(TListView* lv) {
    std::vector<std::string> out;
    for (int i = 0; i < lv->Items()->Count(); ++i) out.push_back(lv->Items()->Item(i)->Caption());
    return out;
  }
  static int Reverse(TListItem* a, TListItem* b, intptr_t) {
    return b->Caption().compare(a->Caption());
  }
};

TEST_F(ListViewTest, SortingByTextByHandlerAndByFunction) {
  auto* lv = MakeList({"pear", "apple", "mango"});
  lv->AlphaSort();
  EXPECT_EQ(Captions(lv), (std::vector<std::string>{"apple", "mango", "pear"}));
  lv->CustomSort(&Reverse, 0);
  EXPECT_EQ(Captions(lv), (std::vector<std::string>{"pear", "mango", "apple"}));
  struct ByLength {
    void Compare(TObject*, TListItem* a, TListItem* b, int, int& result) {
      result = static_cast<int>(a->Caption().size()) - static_cast<int>(b->Caption().size());
    }
  } byLength;
  lv->OnCompare = MakeEvent<&ByLength::Compare>(&byLength);
  lv->AlphaSort();
  EXPECT_EQ(Captions(lv),
            (std::vector<std::string>{"pear", "mango", "apple"}));  // stable for equal lengths
  // The widget shows the order with the sub-items.
  auto* tree = qobject_cast<QTreeView*>(lv->Handle());
  EXPECT_EQ(tree->model()->index(1, 0).data().toString(), "mango");
  EXPECT_EQ(tree->model()->index(1, 1).data().toString(), "by mango");
}

TEST_F(ListViewTest, SortTypeTextKeepsTheListSorted) {
  auto* lv = MakeList({"b", "c"});
  lv->SetSortType(stText);
  EXPECT_EQ(Captions(lv), (std::vector<std::string>{"b", "c"}));
  lv->Items()->Add()->SetCaption("a");
  EXPECT_EQ(Captions(lv), (std::vector<std::string>{"a", "b", "c"}));
  lv->Items()->Item(0)->SetCaption("z");
  EXPECT_EQ(Captions(lv), (std::vector<std::string>{"b", "c", "z"}));
}

TEST_F(ListViewTest, InPlaceEditingRunsOnEditedWhichMayChangeTheText) {
  auto* lv = MakeList({"old"});
  struct Edits {
    std::vector<std::string> seen;
    bool allow = true;
    void Edited(TObject*, TListItem*, std::string& s) {
      seen.push_back(s);
      s += "!";
    }
    void Editing(TObject*, TListItem*, bool& allowEdit) { allowEdit = allow; }
  } edits;
  lv->OnEdited = MakeEvent<&Edits::Edited>(&edits);
  lv->OnEditing = MakeEvent<&Edits::Editing>(&edits);
  TListItem* item = lv->Items()->Item(0);
  lv->SetFocus();
  ASSERT_TRUE(item->EditCaption());
  auto* editor = qobject_cast<QLineEdit*>(lv->FocusWidget());
  ASSERT_NE(editor, nullptr);
  editor->setText("new");
  SimulateKey(lv, VK_RETURN);
  Application->ProcessMessages();  // the editor commits once events run
  EXPECT_FALSE(lv->IsEditing());
  EXPECT_EQ(edits.seen, (std::vector<std::string>{"new"}));
  EXPECT_EQ(item->Caption(), "new!");
  EXPECT_EQ(qobject_cast<QTreeView*>(lv->Handle())->model()->index(0, 0).data().toString(), "new!");
  // OnEditing may refuse, and a read-only list never edits.
  edits.allow = false;
  EXPECT_FALSE(item->EditCaption());
  edits.allow = true;
  lv->SetReadOnly(true);
  EXPECT_FALSE(item->EditCaption());
}

TEST_F(ListViewTest, SelectionFromCodeRunsOnSelectItemAndKeepsOneWithoutMultiSelect) {
  auto* lv = MakeList({"a", "b", "c"});
  std::vector<std::string> events;
  struct Rec {
    std::vector<std::string>* events;
    void Select(TObject*, TListItem* item, bool selected) {
      events->push_back(item->Caption() + (selected ? "+" : "-"));
    }
  } rec{&events};
  lv->OnSelectItem = MakeEvent<&Rec::Select>(&rec);
  lv->Items()->Item(0)->SetSelected(true);
  lv->Items()->Item(2)->SetSelected(true);
  EXPECT_EQ(events, (std::vector<std::string>{"a+", "a-", "c+"}));
  EXPECT_EQ(lv->Selected(), lv->Items()->Item(2));
  EXPECT_EQ(lv->SelCount(), 1);
  lv->SetMultiSelect(true);
  lv->Items()->Item(1)->SetSelected(true);
  EXPECT_EQ(lv->SelCount(), 2);
  auto* tree = qobject_cast<QTreeView*>(lv->Handle());
  EXPECT_EQ(tree->selectionModel()->selectedRows().size(), 2);
  // The user's selection comes back the same way.
  events.clear();
  tree->selectionModel()->select(tree->model()->index(0, 0),
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  EXPECT_EQ(lv->SelCount(), 1);
  EXPECT_EQ(lv->Selected()->Caption(), "a");
  EXPECT_EQ(events, (std::vector<std::string>{"b-", "c-", "a+"}));
}

// A list that takes a press only when it really got the focus.
class TFocusFirstList : public TListView {
 public:
  using TListView::TListView;
  bool AcceptMousePress(TMouseButton, int, int) override { return allow; }
  bool allow = false;
};

TEST_F(ListViewTest, AControlMayRefuseAMousePressAfterOnMouseDown) {
  auto* lv = Add<TFocusFirstList>("ListBox");
  lv->SetViewStyle(vsReport);
  lv->Columns()->Add();
  lv->Items()->Add()->SetCaption("a");
  lv->Items()->Add()->SetCaption("b");
  struct Rec {
    int downs = 0;
    void Down(TObject*, TMouseButton, TShiftState, int, int) { ++downs; }
  } rec;
  lv->OnMouseDown = MakeEvent<&Rec::Down>(&rec);
  auto* tree = qobject_cast<QTreeView*>(lv->Handle());
  QRect row = tree->visualRect(tree->model()->index(1, 0));
  QPoint inList = tree->viewport()->mapTo(tree, row.center());
  SimulateClick(lv, inList.x(), inList.y());
  EXPECT_EQ(rec.downs, 1);
  EXPECT_EQ(lv->Selected(), nullptr);
  lv->allow = true;
  SimulateClick(lv, inList.x(), inList.y());
  EXPECT_EQ(rec.downs, 2);
  ASSERT_NE(lv->Selected(), nullptr);
  EXPECT_EQ(lv->Selected()->Caption(), "b");
}

TEST_F(ListViewTest, HeaderClicksAndViewStyles) {
  auto* lv = MakeList({"a"});
  std::vector<TListColumn*> clicked;
  struct Rec {
    std::vector<TListColumn*>* c;
    void Click(TObject*, TListColumn* column) { c->push_back(column); }
  } rec{&clicked};
  lv->OnColumnClick = MakeEvent<&Rec::Click>(&rec);
  auto* tree = qobject_cast<QTreeView*>(lv->Handle());
  emit tree->header()->sectionClicked(1);
  ASSERT_EQ(clicked.size(), 1u);
  EXPECT_EQ(clicked[0]->Caption(), "Creator");
  lv->SetColumnClick(false);
  emit tree->header()->sectionClicked(0);
  EXPECT_EQ(clicked.size(), 1u);
  // Another style makes another widget with the same rows.
  lv->SetViewStyle(vsSmallIcon);
  EXPECT_EQ(qobject_cast<QTreeView*>(lv->Handle()), nullptr);
  EXPECT_EQ(lv->Items()->Count(), 1);
  EXPECT_EQ(qobject_cast<QAbstractItemView*>(lv->Handle())->model()->rowCount(), 1);
}

class ToolBarTest : public FormFixture {};

TEST_F(ToolBarTest, ButtonsLineUpAndTheDropDownButtonCarriesItsMenu) {
  auto* bar = Add<TToolBar>("ToolBar1");
  bar->SetButtonWidth(25);
  bar->SetButtonHeight(24);
  auto* images = new TImageList(form);
  bar->SetImages(images);
  auto* menu = new TPopupMenu(form);
  menu->SetName("mnList");
  auto* item = new TMenuItem(form);
  item->SetCaption("大型图标(&G)");
  menu->Items()->Add(item);
  std::vector<TToolButton*> buttons;
  for (int i = 0; i < 3; ++i) {
    auto* b = new TToolButton(form);
    b->SetName("btn" + std::to_string(i));
    b->SetParent(bar);
    b->OnClick = Recorder();
    buttons.push_back(b);
  }
  buttons[1]->SetStyle(tbsSeparator);
  buttons[2]->SetStyle(tbsDropDown);
  buttons[2]->SetDropdownMenu(menu);
  EXPECT_EQ(buttons[0]->BoundsRect(), (TRect{0, 0, 25, 24}));
  EXPECT_EQ(buttons[1]->BoundsRect(), (TRect{25, 0, 33, 24}));
  // The drop-down button's arrow comes on top of the button width.
  EXPECT_EQ(buttons[2]->BoundsRect(), (TRect{33, 0, 72, 24}));
  auto* q = qobject_cast<QToolButton*>(buttons[2]->Handle());
  ASSERT_NE(q, nullptr);
  EXPECT_EQ(q->menu(), menu->QtMenu());
  EXPECT_EQ(q->popupMode(), QToolButton::MenuButtonPopup);
  q->click();
  EXPECT_EQ(log.entries, (std::vector<std::string>{"btn2"}));
  EXPECT_EQ(bar->Align(), alTop);
  // Freeing the menu leaves the button without one.
  menu->Free();
  EXPECT_EQ(buttons[2]->DropdownMenu(), nullptr);
}

class MenuTest : public FormFixture {};

TEST_F(MenuTest, RadioItemsOfAGroupExcludeEachOtherAndClickRunsOnClick) {
  auto* menu = new TPopupMenu(form);
  std::vector<TMenuItem*> items;
  for (const char* name : {"N7", "N8", "N9", "N10"}) {
    auto* item = new TMenuItem(form);
    item->SetName(name);
    item->SetRadioItem(true);
    item->OnClick = Recorder();
    menu->Items()->Add(item);
    items.push_back(item);
  }
  items[3]->SetGroupIndex(1);
  items[3]->SetChecked(true);
  items[0]->SetChecked(true);
  items[1]->SetChecked(true);
  EXPECT_FALSE(items[0]->Checked());
  EXPECT_TRUE(items[1]->Checked());
  EXPECT_TRUE(items[3]->Checked());  // another group
  items[2]->Click();
  items[2]->SetEnabled(false);
  items[2]->Click();
  EXPECT_EQ(log.entries, (std::vector<std::string>{"N9"}));
  EXPECT_EQ(menu->Items()->Count(), 4);
  EXPECT_EQ(items[1]->MenuIndex(), 1);
  // The Qt menu is built when it opens, and choosing runs the item.
  QMenu* q = menu->QtMenu();
  emit q->aboutToShow();
  ASSERT_EQ(q->actions().size(), 4);
  EXPECT_TRUE(q->actions()[1]->isChecked());
  q->actions()[0]->trigger();
  EXPECT_EQ(log.entries.back(), "N7");
  // Freeing an item takes it out of its menu.
  items[0]->Free();
  EXPECT_EQ(menu->Items()->Count(), 3);
}

}  // namespace
}  // namespace vcl
