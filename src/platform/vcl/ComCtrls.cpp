#include "platform/vcl/ComCtrls.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStandardItemModel>
#include <QStyle>
#include <QStyleOptionTab>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <algorithm>

#include "platform/vcl/Forms.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/Internal.h"
#include "platform/vcl/TypInfo.h"

namespace vcl {

namespace {
const TEnumInfo kViewStyleInfo{"TViewStyle", {"vsIcon", "vsSmallIcon", "vsList", "vsReport"}};
const TEnumInfo kSortTypeInfo{"TSortType", {"stNone", "stData", "stText", "stBoth"}};
const TEnumInfo kAlignmentInfo{"TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"}};
const TEnumInfo kToolButtonStyleInfo{
    "TToolButtonStyle", {"tbsButton", "tbsCheck", "tbsDropDown", "tbsSeparator", "tbsDivider"}};
const TEnumInfo kCommonAviInfo{
    "TCommonAVI",
    {"aviNone", "aviFindFolder", "aviFindFile", "aviFindComputer", "aviCopyFiles", "aviCopyFile",
     "aviRecycleFile", "aviEmptyRecycle", "aviDeleteFile"}};

[[noreturn]] void IndexError(int index) {
  throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
}

bool Live(const TComponent* c) { return IsLiveComponent(c) && !c->Disposed(); }
}  // namespace

// ===========================================================================
// Page control.

namespace {

class TabBar : public QTabBar {
 public:
  TabBar(TPageControl* owner, QWidget* parent) : QTabBar(parent), owner_(owner) {
    setFocusPolicy(Qt::NoFocus);
  }

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    if (internal::Quiet() || !Live(owner_) || e->button() != Qt::LeftButton) {
      QTabBar::mousePressEvent(e);
      return;
    }
    int index = tabAt(e->position().toPoint());
    if (index >= 0 && index < owner_->PageCount() && owner_->Pages(index) != owner_->ActivePage())
      owner_->UserSelect(owner_->Pages(index));
  }

  void paintEvent(QPaintEvent* e) override {
    if (!Live(owner_) || !owner_->OwnerDraw()) {
      QTabBar::paintEvent(e);
      return;
    }
    QPainter p(this);
    // As the platform does for owner-drawn tabs: the control draws each
    // tab's frame, the program draws inside it.
    for (int i = 0; i < count(); ++i) {
      if (!isTabVisible(i)) continue;
      QStyleOptionTab option;
      initStyleOption(&option, i);
      style()->drawControl(QStyle::CE_TabBarTabShape, &option, &p, this);
    }
    owner_->Canvas()->Font()->Assign(owner_->Font());
    owner_->Canvas()->BeginPaint(&p);
    int visible = 0;
    for (int i = 0; i < count(); ++i) {
      if (!isTabVisible(i)) continue;
      const QRect r = OwnerDrawRect(i);
      owner_->DrawTab(visible++, TRect{r.left(), r.top(), r.right() + 1, r.bottom() + 1},
                      i == currentIndex());
    }
    owner_->Canvas()->EndPaint();
  }

 private:
  // The part of tab I inside the frame the style draws: clear of the
  // outline on the left, right and top; an unselected tab sits lower by
  // the style's shift.
  QRect OwnerDrawRect(int i) const {
    const int frame = 2;
    const int shift = i == currentIndex()
                          ? 0
                          : style()->pixelMetric(QStyle::PM_TabBarTabShiftVertical, nullptr, this);
    return tabRect(i).adjusted(frame, frame + shift, -frame, 0);
  }

  TPageControl* owner_;
};

class PageWidget : public QTabWidget {
 public:
  PageWidget(TPageControl* owner, QWidget* parent) : QTabWidget(parent) {
    setTabBar(new TabBar(owner, this));
  }
};

}  // namespace

const TClassInfo* TTabSheet::StaticClassInfo() {
  using P = PropBuilder<TTabSheet>;
  static const TClassInfo info(
      "TTabSheet", TWinControl::StaticClassInfo(),
      {
          P::String<&TTabSheet::Caption, &TTabSheet::SetCaption>("Caption", "TCaption"),
          P::Integer<&TTabSheet::ImageIndex, &TTabSheet::SetImageIndex>("ImageIndex",
                                                                        "TImageIndex"),
          P::Object<&TTabSheet::PageControl, &TTabSheet::SetPageControl>("PageControl",
                                                                         "TPageControl"),
          P::Integer<&TTabSheet::PageIndex, &TTabSheet::SetPageIndex>("PageIndex"),
          P::Bool<&TTabSheet::TabVisible, &TTabSheet::SetTabVisible>("TabVisible"),
          P::Event<&TTabSheet::OnHide>("OnHide"),
          P::Event<&TTabSheet::OnShow>("OnShow"),
      });
  return &info;
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) { TControl::SetVisible(false); }

void TTabSheet::SetPageControl(TPageControl* control) { SetParent(control); }

void TTabSheet::SetParent(TWinControl* parent) {
  if (pageControl_ && pageControl_ != parent) {
    TPageControl* old = pageControl_;
    pageControl_ = nullptr;
    old->RemovePage(this);
  }
  TWinControl::SetParent(parent);
  if (auto* pc = dynamic_cast<TPageControl*>(parent); pc && pc != pageControl_) {
    pageControl_ = pc;
    pc->InsertPage(this);
  }
}

int TTabSheet::PageIndex() const {
  if (!pageControl_) return -1;
  auto& pages = pageControl_->pages_;
  auto it = std::find(pages.begin(), pages.end(), this);
  return it == pages.end() ? -1 : static_cast<int>(it - pages.begin());
}

void TTabSheet::SetPageIndex(int index) {
  if (!pageControl_) return;
  auto& pages = pageControl_->pages_;
  std::erase(pages, this);
  index = std::clamp(index, 0, static_cast<int>(pages.size()));
  pages.insert(pages.begin() + index, this);
  pageControl_->SyncTabs();
}

int TTabSheet::TabIndex() const {
  if (!pageControl_ || !tabVisible_) return -1;
  int n = 0;
  for (TTabSheet* p : pageControl_->pages_) {
    if (p == this) return n;
    if (p->tabVisible_) ++n;
  }
  return -1;
}

void TTabSheet::SetTabVisible(bool on) {
  tabVisible_ = on;
  if (pageControl_) pageControl_->SyncTabs();
}

void TTabSheet::TextChanged() {
  if (pageControl_) pageControl_->SyncTabs();
}

void TTabSheet::ColorChanged() {
  TWinControl::ColorChanged();
  if (QWidget* w = Widget()) w->setAutoFillBackground(true);
}

void TTabSheet::VisibleChanged() {
  if (!pageControl_) TWinControl::VisibleChanged();
}

void TTabSheet::GetWidgetGeometry(int& x, int& y, int& w, int& h) const {
  if (pageControl_) {
    x = 0;
    y = 0;
    w = Width();
    h = Height();
    return;
  }
  TWinControl::GetWidgetGeometry(x, y, w, h);
}

const TClassInfo* TCustomTabControl::StaticClassInfo() {
  using P = PropBuilder<TCustomTabControl>;
  static const TClassInfo info(
      "TCustomTabControl", TWinControl::StaticClassInfo(),
      {
          P::Bool<&TCustomTabControl::OwnerDraw, &TCustomTabControl::SetOwnerDraw>("OwnerDraw"),
          P::Event<&TCustomTabControl::OnDrawTab>("OnDrawTab", "TDrawTabEvent"),
      });
  return &info;
}

TCustomTabControl::TCustomTabControl(TComponent* owner)
    : TWinControl(owner), canvas_(std::make_unique<TCanvas>()) {
  SetTabStop(true);
}
TCustomTabControl::~TCustomTabControl() = default;

void TCustomTabControl::SetOwnerDraw(bool on) {
  ownerDraw_ = on;
  Invalidate();
}

void TCustomTabControl::DrawTab(int tabIndex, const TRect& rect, bool active) {
  OnDrawTab(this, tabIndex, rect, active);
}

const TClassInfo* TPageControl::StaticClassInfo() {
  using P = PropBuilder<TPageControl>;
  static const TClassInfo info(
      "TPageControl", TCustomTabControl::StaticClassInfo(),
      {
          P::Object<&TPageControl::ActivePage, &TPageControl::SetActivePage>("ActivePage",
                                                                             "TTabSheet"),
          P::Bool<&TPageControl::HotTrack, &TPageControl::SetHotTrack>("HotTrack"),
          P::Object<&TPageControl::Images, &TPageControl::SetImages>("Images", "TCustomImageList"),
          P::Bool<&TPageControl::MultiLine, &TPageControl::SetMultiLine>("MultiLine"),
          P::Event<&TPageControl::OnChange>("OnChange"),
          P::Event<&TPageControl::OnChanging>("OnChanging", "TTabChangingEvent"),
      });
  return &info;
}

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {
  SetBounds(0, 0, 289, 193);
}

TTabSheet* TPageControl::Pages(int index) const {
  if (index < 0 || index >= PageCount()) IndexError(index);
  return pages_[static_cast<size_t>(index)];
}

int TPageControl::ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int index) {
  SetActivePage(index >= 0 && index < PageCount() ? pages_[static_cast<size_t>(index)] : nullptr);
}

int TPageControl::TabIndex() const { return activePage_ ? activePage_->TabIndex() : -1; }

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && page->PageControl() != this) return;
  ChangeActivePage(page);
}

void TPageControl::ChangeActivePage(TTabSheet* page) {
  if (page == activePage_) return;
  TCustomForm* form = GetParentForm(this);
  if (form && activePage_ && form->ActiveControl() &&
      activePage_->ContainsControl(form->ActiveControl())) {
    // Leave the page first; a control that keeps the focus keeps the page.
    form->SetFocusedControl(activePage_);
    if (form->ActiveControl() != activePage_) {
      SyncTabs();
      return;
    }
  }
  TTabSheet* old = activePage_;
  activePage_ = page;
  if (page) {
    page->SetBounds(DisplayRect().Left, DisplayRect().Top, DisplayRect().Width(),
                    DisplayRect().Height());
    page->TControl::SetVisible(true);
  }
  if (old && Live(old)) old->TControl::SetVisible(false);
  SyncTabs();
  if (old && Live(old) && Showing()) old->OnHide(old);
  if (page && Showing()) page->OnShow(page);
}

void TPageControl::InsertPage(TTabSheet* page) {
  if (std::find(pages_.begin(), pages_.end(), page) == pages_.end()) pages_.push_back(page);
  page->SetBounds(DisplayRect().Left, DisplayRect().Top, DisplayRect().Width(),
                  DisplayRect().Height());
  if (!activePage_) {
    ChangeActivePage(page);
  } else {
    SyncTabs();
  }
}

void TPageControl::RemovePage(TTabSheet* page) {
  auto it = std::find(pages_.begin(), pages_.end(), page);
  if (it == pages_.end()) return;
  TTabSheet* next = nullptr;
  if (page == activePage_) next = FindNextPage(page, true, false);
  pages_.erase(it);
  if (page == activePage_) {
    activePage_ = nullptr;
    if (next != page) ChangeActivePage(next);
  }
  if (auto* tw = qobject_cast<QTabWidget*>(Widget()); tw && page->HandleAllocated()) {
    internal::QuietScope quiet;
    int i = tw->indexOf(page->Handle());
    if (i >= 0) tw->removeTab(i);
  }
  SyncTabs();
}

void TPageControl::Notification(TComponent* component, TOperation operation) {
  TCustomTabControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == images_) images_ = nullptr;
  if (auto* page = dynamic_cast<TTabSheet*>(component); page && page->pageControl_ == this) {
    page->pageControl_ = nullptr;
    RemovePage(page);
  }
}

void TPageControl::SetImages(TCustomImageList* images) {
  if (images_ == images) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = images;
  if (images) images->FreeNotification(this);
  SyncTabs();
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward,
                                      bool checkTabVisible) const {
  int n = PageCount();
  if (n == 0) return nullptr;
  auto it = std::find(pages_.begin(), pages_.end(), current);
  int start = it == pages_.end() ? (goForward ? n - 1 : 0) : static_cast<int>(it - pages_.begin());
  int i = start;
  for (int step = 0; step < n; ++step) {
    i = goForward ? (i + 1) % n : (i - 1 + n) % n;
    TTabSheet* p = pages_[static_cast<size_t>(i)];
    if (!checkTabVisible || p->TabVisible()) return p;
  }
  return nullptr;
}

void TPageControl::SelectNextPage(bool goForward) {
  TTabSheet* page = FindNextPage(activePage_, goForward, true);
  if (page && page != activePage_ && CanChange()) {
    ChangeActivePage(page);
    if (activePage_ == page) Change();
  }
}

bool TPageControl::CanChange() {
  bool allow = true;
  OnChanging(this, allow);
  return allow;
}

void TPageControl::Change() { OnChange(this); }

bool TPageControl::UserSelect(TTabSheet* page) {
  if (!page || page == activePage_) return true;
  if (!CanChange() || !Live(this)) {
    SyncTabs();
    return false;
  }
  ChangeActivePage(page);
  if (activePage_ != page) return false;
  Change();
  return true;
}

TRect TPageControl::DisplayRect() const {
  return {4, 24, std::max(4, Width() - 4), std::max(24, Height() - 4)};
}

QWidget* TPageControl::ClientWidget() { return Handle(); }

QWidget* TPageControl::CreateWidget(QWidget* parentWidget) {
  auto* tw = new PageWidget(this, parentWidget);
  QObject::connect(tw, &QTabWidget::currentChanged, [this](int index) {
    if (internal::Quiet() || !Live(this)) return;
    if (index >= 0 && index < PageCount()) UserSelect(pages_[static_cast<size_t>(index)]);
  });
  return tw;
}

void TPageControl::InitWidget() {
  TCustomTabControl::InitWidget();
  SyncTabs();
}

void TPageControl::SyncTabs() {
  auto* tw = qobject_cast<QTabWidget*>(Widget());
  if (!tw || Disposed()) return;
  internal::QuietScope quiet;
  for (int i = 0; i < PageCount(); ++i) {
    TTabSheet* page = pages_[static_cast<size_t>(i)];
    QWidget* w = page->Handle();
    int at = tw->indexOf(w);
    if (at != i) {
      if (at >= 0) tw->removeTab(at);
      tw->insertTab(i, w, QString());
    }
    tw->setTabText(i, page->QtText(page->Caption()));
    tw->setTabVisible(i, page->TabVisible());
    if (images_ && page->ImageIndex() >= 0) tw->setTabIcon(i, images_->Icon(page->ImageIndex()));
  }
  while (tw->count() > PageCount()) tw->removeTab(tw->count() - 1);
  int current = ActivePageIndex();
  if (current >= 0) tw->setCurrentIndex(current);
}

void TPageControl::Resize() { TCustomTabControl::Resize(); }

void TPageControl::AlignControls(TRect& rect) {
  TRect r = DisplayRect();
  for (TTabSheet* p : pages_) p->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  TCustomTabControl::AlignControls(rect);
}

// ===========================================================================
// List view.

const TClassInfo* TListColumn::StaticClassInfo() {
  using P = PropBuilder<TListColumn>;
  static const TClassInfo info(
      "TListColumn", TCollectionItem::StaticClassInfo(),
      {
          P::Enum<&TListColumn::Alignment, &TListColumn::SetAlignment>("Alignment",
                                                                       &kAlignmentInfo),
          P::Bool<&TListColumn::AutoSize, &TListColumn::SetAutoSize>("AutoSize"),
          P::String<&TListColumn::Caption, &TListColumn::SetCaption>("Caption"),
          P::Integer<&TListColumn::ImageIndex, &TListColumn::SetImageIndex>("ImageIndex",
                                                                            "TImageIndex"),
          P::Integer<&TListColumn::Width, &TListColumn::SetWidth>("Width", "TWidth"),
      });
  return &info;
}

TListColumn::TListColumn(TCollection* collection) : TCollectionItem(collection) {}

void TListColumn::SetCaption(const std::string& caption) {
  caption_ = caption;
  Changed();
}
void TListColumn::SetWidth(int width) {
  width_ = width;
  Changed();
}
void TListColumn::SetAlignment(TAlignment a) {
  alignment_ = a;
  Changed();
}
void TListColumn::SetAutoSize(bool on) {
  autoSize_ = on;
  Changed();
}

const TClassInfo* TListColumns::StaticClassInfo() {
  static const TClassInfo info("TListColumns", TCollection::StaticClassInfo());
  return &info;
}

TListColumn* TListColumns::Add() {
  auto* column = new TListColumn(this);
  Changed();
  return column;
}

void TListColumns::Update(TCollectionItem*) {
  if (owner_ && Live(owner_)) owner_->ColumnsChanged();
}

const TClassInfo* TListItem::StaticClassInfo() {
  using P = PropBuilder<TListItem>;
  static const TClassInfo info(
      "TListItem", TPersistent::StaticClassInfo(),
      {
          P::String<&TListItem::Caption, &TListItem::SetCaption>("Caption"),
          P::Integer<&TListItem::ImageIndex, &TListItem::SetImageIndex>("ImageIndex",
                                                                        "TImageIndex"),
          P::Object<&TListItem::SubItems, &TListItem::SetSubItems>("SubItems", "TStrings"),
      });
  return &info;
}

TListItem::TListItem(TListItems* owner)
    : owner_(owner), subItems_(std::make_unique<TStringList>()) {
  subItems_->SetChangeHook([this] {
    if (TCustomListView* lv = ListView()) lv->ItemChanged(this, ctText);
  });
}

TListItem::~TListItem() { subItems_->SetChangeHook(nullptr); }

TCustomListView* TListItem::ListView() const { return owner_ ? owner_->Owner() : nullptr; }

void TListItem::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  if (TCustomListView* lv = ListView()) lv->ItemChanged(this, ctText);
}

TStrings* TListItem::SubItems() const { return subItems_.get(); }
void TListItem::SetSubItems(TStrings* items) { subItems_->Assign(items); }

void TListItem::SetImageIndex(int index) {
  if (index == imageIndex_) return;
  imageIndex_ = index;
  if (TCustomListView* lv = ListView()) lv->ItemChanged(this, ctImage);
}

void TListItem::SetSelected(bool on) {
  if (on == selected_) return;
  selected_ = on;
  if (TCustomListView* lv = ListView()) lv->ItemSelectedByCode(this, on);
}

bool TListItem::Focused() const {
  TCustomListView* lv = ListView();
  return lv && lv->ItemFocused() == this;
}

void TListItem::SetFocused(bool on) {
  if (TCustomListView* lv = ListView())
    lv->SetItemFocused(on ? this : (Focused() ? nullptr : lv->ItemFocused()));
}

int TListItem::Index() const { return owner_ ? owner_->IndexOf(this) : -1; }

bool TListItem::EditCaption() {
  TCustomListView* lv = ListView();
  return lv && lv->EditItem(this);
}

void TListItem::Delete() {
  if (owner_) owner_->Delete(Index());
}

void TListItem::MakeVisible(bool) {}

const TClassInfo* TListItems::StaticClassInfo() {
  static const TClassInfo info("TListItems", TPersistent::StaticClassInfo());
  return &info;
}

TListItems::~TListItems() = default;

TListItem* TListItems::Item(int index) const {
  if (index < 0 || index >= Count()) IndexError(index);
  return items_[static_cast<size_t>(index)].get();
}

TListItem* TListItems::Add() { return Insert(Count()); }

TListItem* TListItems::Insert(int index) {
  index = std::clamp(index, 0, Count());
  auto item = std::make_unique<TListItem>(this);
  TListItem* p = item.get();
  items_.insert(items_.begin() + index, std::move(item));
  owner_->ItemsChanged();
  return p;
}

void TListItems::Delete(int index) {
  if (index < 0 || index >= Count()) IndexError(index);
  TListItem* item = items_[static_cast<size_t>(index)].get();
  if (owner_->focused_ == item) owner_->focused_ = nullptr;
  items_.erase(items_.begin() + index);
  owner_->ItemsChanged();
}

void TListItems::Clear() {
  if (items_.empty()) return;
  owner_->focused_ = nullptr;
  items_.clear();
  owner_->ItemsChanged();
}

int TListItems::IndexOf(const TListItem* item) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == item) return static_cast<int>(i);
  return -1;
}

void TListItems::BeginUpdate() { ++owner_->updateCount_; }

void TListItems::EndUpdate() {
  if (owner_->updateCount_ > 0 && --owner_->updateCount_ == 0 && owner_->dirty_)
    owner_->ItemsChanged();
}

// --- the list view's widget -------------------------------------------------

namespace {
template <class Base>
class ListWidget : public Base {
 public:
  ListWidget(TCustomListView* owner, QWidget* parent) : Base(parent), owner_(owner) {}
  bool Editing() const { return this->state() == QAbstractItemView::EditingState; }

 protected:
  bool edit(const QModelIndex& index, QAbstractItemView::EditTrigger trigger,
            QEvent* event) override {
    if (!index.isValid() || index.column() != 0 || !Live(owner_) || owner_->ReadOnly())
      return false;
    bool wanted = trigger == QAbstractItemView::AllEditTriggers || (this->editTriggers() & trigger);
    if (!wanted) return Base::edit(index, trigger, event);
    if (!internal::Quiet() && !owner_->ViewMayEdit(index.row())) return false;
    return Base::edit(index, trigger, event);
  }

 private:
  TCustomListView* owner_;
};
using ReportView = ListWidget<QTreeView>;
using IconView = ListWidget<QListView>;
}  // namespace

struct TCustomListView::View {
  QPointer<QAbstractItemView> view;
  QStandardItemModel* model = nullptr;
  std::function<bool()> editing;
};

const TClassInfo* TCustomListView::StaticClassInfo() {
  using P = PropBuilder<TCustomListView>;
  static const TClassInfo info(
      "TCustomListView", TWinControl::StaticClassInfo(),
      {
          P::Bool<&TCustomListView::ColumnClick, &TCustomListView::SetColumnClick>("ColumnClick"),
          P::Object<&TCustomListView::Columns>("Columns", "TListColumns"),
          P::Bool<&TCustomListView::GridLines, &TCustomListView::SetGridLines>("GridLines"),
          P::Bool<&TCustomListView::HideSelection, &TCustomListView::SetHideSelection>(
              "HideSelection"),
          P::Object<&TCustomListView::Items>("Items", "TListItems"),
          P::Object<&TCustomListView::LargeImages, &TCustomListView::SetLargeImages>(
              "LargeImages", "TCustomImageList"),
          P::Bool<&TCustomListView::MultiSelect, &TCustomListView::SetMultiSelect>("MultiSelect"),
          P::Bool<&TCustomListView::ReadOnly, &TCustomListView::SetReadOnly>("ReadOnly"),
          P::Bool<&TCustomListView::RowSelect, &TCustomListView::SetRowSelect>("RowSelect"),
          P::Bool<&TCustomListView::ShowColumnHeaders, &TCustomListView::SetShowColumnHeaders>(
              "ShowColumnHeaders"),
          P::Object<&TCustomListView::SmallImages, &TCustomListView::SetSmallImages>(
              "SmallImages", "TCustomImageList"),
          P::Enum<&TCustomListView::SortType, &TCustomListView::SetSortType>("SortType",
                                                                             &kSortTypeInfo),
          P::Enum<&TCustomListView::ViewStyle, &TCustomListView::SetViewStyle>("ViewStyle",
                                                                               &kViewStyleInfo),
          P::Event<&TCustomListView::OnChange>("OnChange", "TLVChangeEvent"),
          P::Event<&TCustomListView::OnChanging>("OnChanging", "TLVChangingEvent"),
          P::Event<&TCustomListView::OnColumnClick>("OnColumnClick", "TLVColumnClickEvent"),
          P::Event<&TCustomListView::OnCompare>("OnCompare", "TLVCompareEvent"),
          P::Event<&TCustomListView::OnEdited>("OnEdited", "TLVEditedEvent"),
          P::Event<&TCustomListView::OnEditing>("OnEditing", "TLVEditingEvent"),
          P::Event<&TCustomListView::OnSelectItem>("OnSelectItem", "TLVSelectItemEvent"),
      });
  return &info;
}

const TClassInfo* TListView::StaticClassInfo() {
  static const TClassInfo info("TListView", TCustomListView::StaticClassInfo());
  return &info;
}

TCustomListView::TCustomListView(TComponent* owner)
    : TWinControl(owner),
      columns_(std::make_unique<TListColumns>(this)),
      items_(std::make_unique<TListItems>(this)),
      view_(std::make_unique<View>()),
      canvas_(std::make_unique<TCanvas>()) {
  SetBounds(0, 0, 250, 150);
  SetTabStop(true);
  SetColor(clWindow);
}

TCustomListView::~TCustomListView() {
  // Items and columns go first; their notices must not reach a half-gone view.
  items_->items_.clear();
  view_.reset();
}

QWidget* TCustomListView::CreateWidget(QWidget* parentWidget) {
  QAbstractItemView* view = nullptr;
  if (viewStyle_ == vsReport) {
    auto* tree = new ReportView(this, parentWidget);
    tree->setRootIsDecorated(false);
    tree->setUniformRowHeights(true);
    tree->setItemsExpandable(false);
    view_->editing = [tree] { return tree->Editing(); };
    QHeaderView* header = tree->header();
    header->setStretchLastSection(false);
    QObject::connect(header, &QHeaderView::sectionClicked, [this](int section) {
      if (!internal::Quiet() && Live(this)) HeaderClicked(section);
    });
    QObject::connect(header, &QHeaderView::sectionResized, [this](int section, int, int size) {
      if (!internal::Quiet() && Live(this) && section < columns_->Count())
        columns_->Items(section)->SetWidthQuietly(size);
    });
    view = tree;
  } else {
    auto* list = new IconView(this, parentWidget);
    list->setViewMode(viewStyle_ == vsIcon ? QListView::IconMode : QListView::ListMode);
    list->setFlow(viewStyle_ == vsList ? QListView::TopToBottom : QListView::LeftToRight);
    list->setWrapping(true);
    list->setResizeMode(QListView::Adjust);
    view_->editing = [list] { return list->Editing(); };
    view = list;
  }
  auto* model = new QStandardItemModel(view);
  view->setModel(model);
  view_->view = view;
  view_->model = model;
  QObject::connect(model, &QStandardItemModel::itemChanged, [this](QStandardItem* item) {
    if (!internal::Quiet() && Live(this) && item->column() == 0)
      ViewEdited(item->row(), item->text());
  });
  QObject::connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, [this] {
    if (!internal::Quiet() && Live(this)) ViewSelectionChanged();
  });
  QObject::connect(view->selectionModel(), &QItemSelectionModel::currentChanged,
                   [this](const QModelIndex& current) {
                     if (internal::Quiet() || !Live(this)) return;
                     focused_ = current.isValid() && current.row() < items_->Count()
                                    ? items_->Item(current.row())
                                    : nullptr;
                   });
  return view;
}

void TCustomListView::InitWidget() {
  TWinControl::InitWidget();
  Rebuild();
}

QWidget* TCustomListView::FocusWidget() {
  QWidget* w = Handle();
  if (IsEditing() && view_->view)
    if (auto* editor = view_->view->viewport()->findChild<QLineEdit*>()) return editor;
  return w;
}

bool TCustomListView::IsEditing() const {
  return view_->view && view_->editing && view_->editing();
}

bool TCustomListView::WantsKey(Word key, TShiftState) const {
  if (IsEditing()) return key == VK_RETURN || key == VK_ESCAPE || key == VK_TAB;
  return key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT || key == VK_PRIOR ||
         key == VK_NEXT || key == VK_HOME || key == VK_END;
}

void TCustomListView::Rebuild() {
  dirty_ = false;
  QStandardItemModel* model = view_->model;
  if (!view_->view || !model) return;
  internal::QuietScope quiet;
  model->clear();
  bool report = viewStyle_ == vsReport;
  int cols = report ? std::max(1, columns_->Count()) : 1;
  model->setColumnCount(cols);
  if (report) {
    QStringList labels;
    for (int i = 0; i < columns_->Count(); ++i) labels << QtText(columns_->Items(i)->Caption());
    if (!labels.isEmpty()) model->setHorizontalHeaderLabels(labels);
  }
  TCustomImageList* images = viewStyle_ == vsIcon ? largeImages_ : smallImages_;
  for (int r = 0; r < items_->Count(); ++r) {
    TListItem* item = items_->Item(r);
    QList<QStandardItem*> row;
    auto* first = new QStandardItem(QtText(item->Caption()));
    first->setEditable(!readOnly_);
    if (images && item->ImageIndex() >= 0 && item->ImageIndex() < images->Count())
      first->setIcon(images->Icon(item->ImageIndex()));
    row << first;
    for (int c = 1; c < cols; ++c) {
      auto* cell = new QStandardItem(
          c - 1 < item->SubItems()->Count() ? QtText(item->SubItems()->Get(c - 1)) : QString());
      cell->setEditable(false);
      row << cell;
    }
    model->appendRow(row);
  }
  if (auto* tree = qobject_cast<QTreeView*>(view_->view.data())) {
    tree->header()->setVisible(showColumnHeaders_);
    tree->header()->setSectionsClickable(columnClick_);
    for (int i = 0; i < columns_->Count(); ++i)
      tree->setColumnWidth(i, columns_->Items(i)->Width());
    tree->setAllColumnsShowFocus(rowSelect_);
  }
  view_->view->setSelectionMode(multiSelect_ ? QAbstractItemView::ExtendedSelection
                                             : QAbstractItemView::SingleSelection);
  view_->view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->view->setEditTriggers(readOnly_ ? QAbstractItemView::NoEditTriggers
                                         : QAbstractItemView::SelectedClicked |
                                               QAbstractItemView::EditKeyPressed);
  if (images) {
    view_->view->setIconSize(QSize(images->Width(), images->Height()));
  }
  ShowSelection();
}

void TCustomListView::ShowSelection() {
  if (!view_->view || !view_->model) return;
  internal::QuietScope quiet;
  QItemSelectionModel* sel = view_->view->selectionModel();
  sel->clearSelection();
  for (int r = 0; r < items_->Count(); ++r)
    if (items_->Item(r)->selected_)
      sel->select(view_->model->index(r, 0),
                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
  int f = focused_ ? items_->IndexOf(focused_) : -1;
  if (f >= 0) sel->setCurrentIndex(view_->model->index(f, 0), QItemSelectionModel::NoUpdate);
}

void TCustomListView::ItemsChanged() {
  if (Disposed()) return;
  if (updateCount_ > 0) {
    dirty_ = true;
    return;
  }
  SortIfNeeded();
  Rebuild();
}

void TCustomListView::ItemChanged(TListItem* item, TItemChange change) {
  if (Disposed()) return;
  OnChange(this, item, change);
  ItemsChanged();
}

void TCustomListView::ColumnsChanged() { ItemsChanged(); }

void TCustomListView::SortIfNeeded() {
  if ((sortType_ == stText || sortType_ == stBoth) && !sorting_) {
    sorting_ = true;
    CustomSort(nullptr, 0);
    sorting_ = false;
  }
}

TCanvas* TCustomListView::Canvas() const {
  canvas_->Font()->Assign(Font());
  return canvas_.get();
}

bool TCustomListView::AlphaSort() { return CustomSort(nullptr, 0); }

bool TCustomListView::CustomSort(TLVCompare compare, intptr_t data) {
  auto& v = items_->items_;
  auto cmp = [&](const std::unique_ptr<TListItem>& a, const std::unique_ptr<TListItem>& b) {
    int result = 0;
    if (compare) {
      result = compare(a.get(), b.get(), data);
    } else if (OnCompare.Assigned()) {
      OnCompare(this, a.get(), b.get(), static_cast<int>(data), result);
    } else {
      result = QString::localeAwareCompare(QtText(a->Caption()), QtText(b->Caption()));
    }
    return result < 0;
  };
  std::stable_sort(v.begin(), v.end(), cmp);
  // Keeping the list sorted happens inside ItemsChanged, which shows it.
  if (!sorting_) {
    if (updateCount_ > 0)
      dirty_ = true;
    else
      Rebuild();
  }
  return true;
}

TListItem* TCustomListView::Selected() const {
  for (int i = 0; i < items_->Count(); ++i)
    if (items_->Item(i)->selected_) return items_->Item(i);
  return nullptr;
}

void TCustomListView::SetSelected(TListItem* item) {
  ClearSelection();
  if (item) item->SetSelected(true);
}

int TCustomListView::SelCount() const {
  int n = 0;
  for (int i = 0; i < items_->Count(); ++i) n += items_->Item(i)->selected_;
  return n;
}

void TCustomListView::SetItemFocused(TListItem* item) {
  focused_ = item;
  ShowSelection();
}

void TCustomListView::ClearSelection() {
  for (int i = 0; i < items_->Count(); ++i) items_->Item(i)->SetSelected(false);
}

void TCustomListView::SelectAll() {
  if (!multiSelect_) return;
  for (int i = 0; i < items_->Count(); ++i) items_->Item(i)->SetSelected(true);
}

void TCustomListView::ItemSelectedByCode(TListItem* item, bool selected) {
  if (selected && !multiSelect_) {
    for (int i = 0; i < items_->Count(); ++i) {
      TListItem* other = items_->Item(i);
      if (other != item && other->selected_) {
        other->selected_ = false;
        OnSelectItem(this, other, false);
        OnChange(this, other, ctState);
      }
    }
  }
  OnSelectItem(this, item, selected);
  OnChange(this, item, ctState);
  ShowSelection();
}

void TCustomListView::ViewSelectionChanged() {
  QItemSelectionModel* sel = view_->view->selectionModel();
  std::vector<std::pair<TListItem*, bool>> changes;
  for (int r = 0; r < items_->Count(); ++r) {
    TListItem* item = items_->Item(r);
    bool now = sel->isRowSelected(r, QModelIndex());
    if (now != item->selected_) {
      item->selected_ = now;
      changes.emplace_back(item, now);
    }
  }
  // Unselections first, as the platform reports them.
  std::stable_sort(changes.begin(), changes.end(),
                   [](auto& a, auto& b) { return !a.second && b.second; });
  for (auto& [item, now] : changes) {
    if (!Live(this)) return;
    OnSelectItem(this, item, now);
    OnChange(this, item, ctState);
  }
}

bool TCustomListView::ViewMayEdit(int row) {
  if (row < 0 || row >= items_->Count()) return false;
  bool allow = true;
  OnEditing(this, items_->Item(row), allow);
  return allow;
}

void TCustomListView::ViewEdited(int row, const QString& text) {
  if (row < 0 || row >= items_->Count()) return;
  TListItem* item = items_->Item(row);
  std::string s = FromQtText(text);
  OnEdited(this, item, s);
  if (!Live(this) || items_->IndexOf(item) < 0) return;
  item->caption_ = s;
  OnChange(this, item, ctText);
  // Show what the handler made of the text; resorting waits for the editor
  // to close.
  if (QStandardItem* cell = view_->model ? view_->model->item(row, 0) : nullptr) {
    internal::QuietScope quiet;
    if (cell->text() != QtText(s)) cell->setText(QtText(s));
  }
  if (sortType_ == stText || sortType_ == stBoth) {
    QPointer<QAbstractItemView> view = view_->view;
    QMetaObject::invokeMethod(
        view_->view.data(),
        [this, view] {
          if (view && Live(this)) ItemsChanged();
        },
        Qt::QueuedConnection);
  }
}

bool TCustomListView::EditItem(TListItem* item) {
  int row = items_->IndexOf(item);
  if (row < 0 || readOnly_) return false;
  Handle();
  if (!view_->view || !view_->model) return false;
  view_->view->edit(view_->model->index(row, 0));
  return IsEditing();
}

void TCustomListView::HeaderClicked(int section) {
  if (columnClick_ && section >= 0 && section < columns_->Count())
    OnColumnClick(this, columns_->Items(section));
}

void TCustomListView::SetViewStyle(TViewStyle style) {
  if (style == viewStyle_) return;
  viewStyle_ = style;
  RecreateWnd();
}

void TCustomListView::SetMultiSelect(bool on) {
  multiSelect_ = on;
  ItemsChanged();
}
void TCustomListView::SetRowSelect(bool on) {
  rowSelect_ = on;
  ItemsChanged();
}
void TCustomListView::SetReadOnly(bool on) {
  readOnly_ = on;
  ItemsChanged();
}
void TCustomListView::SetShowColumnHeaders(bool on) {
  showColumnHeaders_ = on;
  ItemsChanged();
}
void TCustomListView::SetSortType(TSortType type) {
  sortType_ = type;
  ItemsChanged();
}

void TCustomListView::SetLargeImages(TCustomImageList* images) {
  if (largeImages_ == images) return;
  if (largeImages_) largeImages_->RemoveFreeNotification(this);
  largeImages_ = images;
  if (images) images->FreeNotification(this);
  ItemsChanged();
}

void TCustomListView::SetSmallImages(TCustomImageList* images) {
  if (smallImages_ == images) return;
  if (smallImages_) smallImages_->RemoveFreeNotification(this);
  smallImages_ = images;
  if (images) images->FreeNotification(this);
  ItemsChanged();
}

void TCustomListView::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == largeImages_) largeImages_ = nullptr;
  if (component == smallImages_) smallImages_ = nullptr;
}

void TCustomListView::FontChanged() {
  TWinControl::FontChanged();
  if (!Disposed()) Rebuild();
}

// ===========================================================================
// Tool bar.

const TClassInfo* TToolButton::StaticClassInfo() {
  using P = PropBuilder<TToolButton>;
  static const TClassInfo info(
      "TToolButton", TGraphicControl::StaticClassInfo(),
      {
          P::String<&TToolButton::Caption, &TToolButton::SetCaption>("Caption", "TCaption"),
          P::Bool<&TToolButton::Down, &TToolButton::SetDown>("Down"),
          P::Object<&TToolButton::DropdownMenu, &TToolButton::SetDropdownMenu>("DropdownMenu",
                                                                               "TPopupMenu"),
          P::Bool<&TToolButton::Grouped, &TToolButton::SetGrouped>("Grouped"),
          P::Integer<&TToolButton::ImageIndex, &TToolButton::SetImageIndex>("ImageIndex",
                                                                            "TImageIndex"),
          P::Enum<&TToolButton::Style, &TToolButton::SetStyle>("Style", &kToolButtonStyleInfo),
          P::Bool<&TToolButton::Wrap, &TToolButton::SetWrap>("Wrap"),
      });
  return &info;
}

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 23, 22); }

TToolBar* TToolButton::ToolBar() const { return dynamic_cast<TToolBar*>(Parent()); }

int TToolButton::Index() const {
  TToolBar* bar = ToolBar();
  if (!bar) return -1;
  for (int i = 0; i < bar->ButtonCount(); ++i)
    if (bar->Buttons(i) == this) return i;
  return -1;
}

void TToolButton::SetParent(TWinControl* parent) {
  TToolBar* old = ToolBar();
  TGraphicControl::SetParent(parent);
  if (old && old != parent) old->ArrangeButtons();
  if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
  UpdateButton();
}

QWidget* TToolButton::CreateWidget(QWidget* parentWidget) {
  if (style_ == tbsSeparator || style_ == tbsDivider) return new QWidget(parentWidget);
  auto* b = new QToolButton(parentWidget);
  b->setFocusPolicy(Qt::NoFocus);
  QObject::connect(b, &QToolButton::clicked, [this] {
    if (internal::Quiet() || !Live(this)) return;
    if (style_ == tbsCheck) SetDown(!down_);
    Click();
  });
  return b;
}

void TToolButton::InitWidget() {
  TGraphicControl::InitWidget();
  UpdateButton();
}

void TToolButton::UpdateButton() {
  auto* b = qobject_cast<QToolButton*>(Widget());
  if (!b) return;
  internal::QuietScope quiet;
  TToolBar* bar = ToolBar();
  b->setText(QtText(Caption()));
  QIcon icon;
  if (bar && bar->Images() && imageIndex_ >= 0 && imageIndex_ < bar->Images()->Count())
    icon = bar->Images()->Icon(imageIndex_);
  b->setIcon(icon);
  if (bar && bar->Images()) b->setIconSize(QSize(bar->Images()->Width(), bar->Images()->Height()));
  bool captions = bar && bar->ShowCaptions();
  b->setToolButtonStyle(icon.isNull() ? Qt::ToolButtonTextOnly
                        : captions    ? Qt::ToolButtonTextUnderIcon
                                      : Qt::ToolButtonIconOnly);
  b->setAutoRaise(bar && bar->Flat());
  b->setCheckable(style_ == tbsCheck);
  b->setChecked(down_);
  if (style_ == tbsDropDown && dropdownMenu_) {
    b->setMenu(dropdownMenu_->QtMenu());
    b->setPopupMode(QToolButton::MenuButtonPopup);
  } else {
    b->setMenu(nullptr);
  }
}

void TToolButton::TextChanged() {
  UpdateButton();
  if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
}

void TToolButton::SetStyle(TToolButtonStyle style) {
  if (style == style_) return;
  style_ = style;
  if (style == tbsSeparator || style == tbsDivider) SetWidth(8);
  if (HandleAllocated()) {
    DestroyWidget();
    Handle();
  }
  if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
}

void TToolButton::SetDropdownMenu(TPopupMenu* menu) {
  if (dropdownMenu_ == menu) return;
  if (dropdownMenu_) dropdownMenu_->RemoveFreeNotification(this);
  dropdownMenu_ = menu;
  if (menu) menu->FreeNotification(this);
  UpdateButton();
}

void TToolButton::SetImageIndex(int index) {
  imageIndex_ = index;
  UpdateButton();
}

void TToolButton::SetDown(bool down) {
  down_ = down;
  UpdateButton();
}

void TToolButton::Click() { TGraphicControl::Click(); }

void TToolButton::ShowDropdownMenu() {
  if (!dropdownMenu_) return;
  QWidget* w = Handle();
  QPoint p = w->mapToGlobal(QPoint(0, w->height()));
  dropdownMenu_->SetPopupComponent(this);
  dropdownMenu_->Popup(p.x(), p.y());
}

void TToolButton::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove && component == dropdownMenu_) {
    dropdownMenu_ = nullptr;
    if (!Disposed()) UpdateButton();
  }
}

const TClassInfo* TToolBar::StaticClassInfo() {
  using P = PropBuilder<TToolBar>;
  static const TClassInfo info(
      "TToolBar", TWinControl::StaticClassInfo(),
      {
          P::Integer<&TToolBar::ButtonHeight, &TToolBar::SetButtonHeight>("ButtonHeight"),
          P::Integer<&TToolBar::ButtonWidth, &TToolBar::SetButtonWidth>("ButtonWidth"),
          P::Bool<&TToolBar::Flat, &TToolBar::SetFlat>("Flat"),
          P::Object<&TToolBar::Images, &TToolBar::SetImages>("Images", "TCustomImageList"),
          P::Bool<&TToolBar::ShowCaptions, &TToolBar::SetShowCaptions>("ShowCaptions"),
      });
  return &info;
}

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 150, 29);
  SetAlign(alTop);
}

int TToolBar::ButtonCount() const {
  int n = 0;
  for (int i = 0; i < ControlCount(); ++i) n += dynamic_cast<TToolButton*>(Controls(i)) != nullptr;
  return n;
}

TToolButton* TToolBar::Buttons(int index) const {
  int n = 0;
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* b = dynamic_cast<TToolButton*>(Controls(i))) {
      if (n == index) return b;
      ++n;
    }
  IndexError(index);
}

namespace {
constexpr int kDropDownArrowWidth = 14;
}

void TToolBar::ArrangeButtons() {
  if (arranging_ || Disposed()) return;
  arranging_ = true;
  int x = 0;
  for (int i = 0; i < ButtonCount(); ++i) {
    TToolButton* b = Buttons(i);
    if (!b->Visible()) continue;
    int w = buttonWidth_;
    if (b->Style() == tbsSeparator || b->Style() == tbsDivider) {
      w = b->Width();
    } else if (b->Style() == tbsDropDown) {
      // The arrow has its own section to the right of the button proper.
      w = buttonWidth_ + kDropDownArrowWidth;
    } else if (showCaptions_ && !b->Caption().empty()) {
      w = std::max(buttonWidth_, b->Canvas()->TextWidth(b->Caption()) + 12);
    }
    b->SetBounds(x, 0, w, buttonHeight_);
    x += w;
  }
  arranging_ = false;
}

void TToolBar::AlignControls(TRect& rect) {
  TWinControl::AlignControls(rect);
  ArrangeButtons();
}

void TToolBar::ControlsChanged() { ArrangeButtons(); }

void TToolBar::SetButtonWidth(int w) {
  buttonWidth_ = w;
  ArrangeButtons();
}

void TToolBar::SetButtonHeight(int h) {
  buttonHeight_ = h;
  ArrangeButtons();
}

void TToolBar::SetImages(TCustomImageList* images) {
  if (images_ == images) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = images;
  if (images) images->FreeNotification(this);
  for (int i = 0; i < ButtonCount(); ++i) Buttons(i)->UpdateButton();
}

void TToolBar::SetFlat(bool on) {
  flat_ = on;
  for (int i = 0; i < ButtonCount(); ++i) Buttons(i)->UpdateButton();
}

void TToolBar::SetShowCaptions(bool on) {
  showCaptions_ = on;
  for (int i = 0; i < ButtonCount(); ++i) Buttons(i)->UpdateButton();
  ArrangeButtons();
}

void TToolBar::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == opRemove && component == images_) images_ = nullptr;
}

// ===========================================================================
// Animation.

const TClassInfo* TAnimate::StaticClassInfo() {
  using P = PropBuilder<TAnimate>;
  static const TClassInfo info(
      "TAnimate", TWinControl::StaticClassInfo(),
      {
          P::Bool<&TAnimate::Active, &TAnimate::SetActive>("Active"),
          P::Bool<&TAnimate::Center, &TAnimate::SetCenter>("Center"),
          P::Enum<&TAnimate::CommonAVI, &TAnimate::SetCommonAVI>("CommonAVI", &kCommonAviInfo),
          P::String<&TAnimate::FileName, &TAnimate::SetFileName>("FileName"),
          P::Integer<&TAnimate::Repetitions, &TAnimate::SetRepetitions>("Repetitions"),
          P::Event<&TAnimate::OnStart>("OnStart"),
          P::Event<&TAnimate::OnStop>("OnStop"),
      });
  return &info;
}

TAnimate::TAnimate(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 100, 80); }

void TAnimate::SetActive(bool on) {
  if (on == active_) return;
  active_ = on;
  if (on)
    OnStart(this);
  else
    OnStop(this);
}

void TAnimate::Play(int, int, int) { SetActive(true); }
void TAnimate::Stop() { SetActive(false); }

}  // namespace vcl
