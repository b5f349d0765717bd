#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/vcl/Controls.h"
#include "platform/vcl/Menus.h"

namespace vcl {

class TCustomImageList;
class TPageControl;

// ---------------------------------------------------------------------------
// Page control.

/* One page of a page control. Only the active page is Visible (the page
   control sets it); TabVisible hides the page's tab. */
class TTabSheet : public TWinControl {
  VCL_CLASS_INFO()
 public:
  explicit TTabSheet(TComponent* owner);

  TPageControl* PageControl() const { return pageControl_; }
  /* Moves the page into a page control (its parent becomes that control). */
  void SetPageControl(TPageControl* control);
  int PageIndex() const;
  void SetPageIndex(int index);
  /* The tab's position among visible tabs, -1 when its tab is hidden. */
  int TabIndex() const;
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool on);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int i) { imageIndex_ = i; }

  void SetParent(TWinControl* parent) override;

  TNotifyEvent OnShow;
  TNotifyEvent OnHide;

 protected:
  void TextChanged() override;
  void VisibleChanged() override;
  void ColorChanged() override;
  void GetWidgetGeometry(int& x, int& y, int& w, int& h) const override;

 private:
  friend class TPageControl;
  TPageControl* pageControl_ = nullptr;
  bool tabVisible_ = true;
  int imageIndex_ = -1;
};

using TTabChangingEvent = TEvent<TObject* /*Sender*/, bool& /*AllowChange*/>;
/* Control, TabIndex (among visible tabs), Rect, Active. */
using TDrawTabEvent = TEvent<class TCustomTabControl*, int, const TRect&, bool>;

/* The platform's tab control base: tab drawing by the program (OwnerDraw
   with OnDrawTab or an override of DrawTab). */
class TCustomTabControl : public TWinControl {
  VCL_CLASS_INFO()
 public:
  explicit TCustomTabControl(TComponent* owner);
  ~TCustomTabControl() override;
  TCanvas* Canvas() const { return canvas_.get(); }
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool on);
  /* Draws one tab on Canvas; the base version runs OnDrawTab. */
  virtual void DrawTab(int tabIndex, const TRect& rect, bool active);
  TDrawTabEvent OnDrawTab;

 private:
  std::unique_ptr<TCanvas> canvas_;
  bool ownerDraw_ = false;
};

/* The platform's page control. Setting ActivePage or ActivePageIndex from
   code changes the page without OnChanging/OnChange. A user's tab click and
   SelectNextPage first ask OnChanging (AllowChange false keeps the page),
   then change the page and run OnChange. When the focus is inside the page
   being left, it moves to the page control first (the control left runs its
   OnExit). */
class TPageControl : public TCustomTabControl {
  VCL_CLASS_INFO()
 public:
  explicit TPageControl(TComponent* owner);

  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet* Pages(int index) const;
  TTabSheet* ActivePage() const { return activePage_; }
  void SetActivePage(TTabSheet* page);
  int ActivePageIndex() const;
  void SetActivePageIndex(int index);
  /* The visible tab's index of the active page, -1 when none. */
  int TabIndex() const;
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* images);
  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool on) { multiLine_ = on; }
  bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool on) { hotTrack_ = on; }

  /* The next page after Current (wrapping), only pages with a visible tab
     when CheckTabVisible; nullptr when none. */
  TTabSheet* FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const;
  void SelectNextPage(bool goForward);
  /* OnChanging's answer. */
  virtual bool CanChange();
  virtual void Change();

  TTabChangingEvent OnChanging;
  TNotifyEvent OnChange;

  /* The user picked the tab of Page (the layer's Qt side calls this). */
  bool UserSelect(TTabSheet* page);
  TRect DisplayRect() const;
  QWidget* ClientWidget() override;

 protected:
  QWidget* CreateWidget(QWidget* parentWidget) override;
  void InitWidget() override;
  void Resize() override;
  void AlignControls(TRect& rect) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void ChangeActivePage(TTabSheet* page);
  void SyncTabs();
  std::vector<TTabSheet*> pages_;
  TTabSheet* activePage_ = nullptr;
  TCustomImageList* images_ = nullptr;
  bool multiLine_ = false;
  bool hotTrack_ = false;
};

// ---------------------------------------------------------------------------
// List view.

class TCustomListView;
class TListItems;

class TListColumn : public TCollectionItem {
  VCL_CLASS_INFO()
 public:
  explicit TListColumn(TCollection* collection);
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  int Width() const { return width_; }
  void SetWidth(int width);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool on);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int i) { imageIndex_ = i; }
  /* Sets the width the user dragged, without a notice. */
  void SetWidthQuietly(int width) { width_ = width; }

 private:
  std::string caption_;
  int width_ = 50;
  TAlignment alignment_ = taLeftJustify;
  bool autoSize_ = false;
  int imageIndex_ = -1;
};

class TListColumns : public TCollection {
  VCL_CLASS_INFO()
 public:
  explicit TListColumns(TCustomListView* owner) : owner_(owner) {}
  TListColumn* Add();
  TListColumn* Items(int index) const {
    return static_cast<TListColumn*>(TCollection::Items(index));
  }
  TCustomListView* Owner() const { return owner_; }

 protected:
  void Update(TCollectionItem* item) override;

 private:
  TCustomListView* owner_;
};

/* One row of a list view: Caption (column 0), SubItems (columns 1...),
   an image, a selection state and a data pointer. */
class TListItem : public TPersistent {
  VCL_CLASS_INFO()
 public:
  explicit TListItem(TListItems* owner);
  ~TListItem() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  TStrings* SubItems() const;
  void SetSubItems(TStrings* items);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index);
  /* Setting runs OnSelectItem and OnChange, as a user's selection does. */
  bool Selected() const { return selected_; }
  void SetSelected(bool on);
  bool Focused() const;
  void SetFocused(bool on);
  void* Data() const { return data_; }
  void SetData(void* data) { data_ = data; }
  int Index() const;
  TListItems* Owner() const { return owner_; }
  TCustomListView* ListView() const;
  /* Starts in-place editing of the caption (the list view must be shown and
     not ReadOnly); true when an editor opened. */
  bool EditCaption();
  void Delete();
  void MakeVisible(bool partialOK);

 private:
  friend class TCustomListView;
  friend class TListItems;
  TListItems* owner_;
  std::string caption_;
  std::unique_ptr<TStringList> subItems_;
  int imageIndex_ = -1;
  bool selected_ = false;
  void* data_ = nullptr;
};

class TListItems : public TPersistent {
  VCL_CLASS_INFO()
 public:
  explicit TListItems(TCustomListView* owner) : owner_(owner) {}
  ~TListItems() override;

  int Count() const { return static_cast<int>(items_.size()); }
  /* Raises EStringListError-like "List index out of bounds" when out of range. */
  TListItem* Item(int index) const;
  TListItem* operator[](int index) const { return Item(index); }
  TListItem* Add();
  TListItem* Insert(int index);
  void Delete(int index);
  void Clear();
  int IndexOf(const TListItem* item) const;
  void BeginUpdate();
  void EndUpdate();
  TCustomListView* Owner() const { return owner_; }

 private:
  friend class TCustomListView;
  friend class TListItem;
  TCustomListView* owner_;
  std::vector<std::unique_ptr<TListItem>> items_;
};

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum TSortType { stNone, stData, stText, stBoth };
enum TItemChange { ctText, ctImage, ctState };

using TLVColumnClickEvent = TEvent<TObject* /*Sender*/, TListColumn* /*Column*/>;
using TLVEditedEvent = TEvent<TObject* /*Sender*/, TListItem* /*Item*/, std::string& /*S*/>;
using TLVEditingEvent = TEvent<TObject* /*Sender*/, TListItem* /*Item*/, bool& /*AllowEdit*/>;
using TLVCompareEvent = TEvent<TObject*, TListItem*, TListItem*, int /*Data*/, int& /*Compare*/>;
using TLVChangeEvent = TEvent<TObject*, TListItem*, TItemChange>;
using TLVChangingEvent = TEvent<TObject*, TListItem*, TItemChange, bool& /*AllowChange*/>;
using TLVSelectItemEvent = TEvent<TObject*, TListItem*, bool /*Selected*/>;
/* The compare function of CustomSort: < 0 when Item1 goes first. */
using TLVCompare = int (*)(TListItem* item1, TListItem* item2, intptr_t data);

/* The platform's list view. Rows (Items) and Columns live in the control;
   the widget shows them (report style: a table with headers; the other
   styles: icons or a list of captions).

   Sorting: AlphaSort orders by OnCompare when assigned, else by caption
   (locale order of the decoded text); CustomSort uses the given function;
   SortType stText/stBoth keeps the list sorted after every change.
   Editing: when not ReadOnly the user (or EditCaption) edits a caption in
   place; OnEditing may refuse; on commit OnEdited(Item, S) runs and the
   caption becomes S. Selection changes from the user and from code run
   OnSelectItem and OnChange(ctState). Header clicks run OnColumnClick when
   ColumnClick is set. */
class TCustomListView : public TWinControl {
  VCL_CLASS_INFO()
 public:
  explicit TCustomListView(TComponent* owner);
  ~TCustomListView() override;

  TListColumns* Columns() const { return columns_.get(); }
  TListItems* Items() const { return items_.get(); }
  TViewStyle ViewStyle() const { return viewStyle_; }
  void SetViewStyle(TViewStyle style);
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool on);
  bool RowSelect() const { return rowSelect_; }
  void SetRowSelect(bool on);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool on);
  bool ShowColumnHeaders() const { return showColumnHeaders_; }
  void SetShowColumnHeaders(bool on);
  bool ColumnClick() const { return columnClick_; }
  void SetColumnClick(bool on) { columnClick_ = on; }
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool on) { hideSelection_ = on; }
  bool GridLines() const { return gridLines_; }
  void SetGridLines(bool on) { gridLines_ = on; }
  TSortType SortType() const { return sortType_; }
  void SetSortType(TSortType type);
  TCustomImageList* LargeImages() const { return largeImages_; }
  void SetLargeImages(TCustomImageList* images);
  TCustomImageList* SmallImages() const { return smallImages_; }
  void SetSmallImages(TCustomImageList* images);

  /* The first selected item, nullptr when none; setting selects only it. */
  TListItem* Selected() const;
  void SetSelected(TListItem* item);
  int SelCount() const;
  TListItem* ItemFocused() const { return focused_; }
  void SetItemFocused(TListItem* item);
  void ClearSelection();
  void SelectAll();

  /* A canvas with the list's font, for measuring texts (column widths). */
  TCanvas* Canvas() const;

  bool AlphaSort();
  bool CustomSort(TLVCompare compare, intptr_t data);
  bool IsEditing() const;

  TLVColumnClickEvent OnColumnClick;
  TLVEditedEvent OnEdited;
  TLVEditingEvent OnEditing;
  TLVCompareEvent OnCompare;
  TLVChangeEvent OnChange;
  TLVChangingEvent OnChanging;
  TLVSelectItemEvent OnSelectItem;

  bool WantsKey(Word key, TShiftState shift) const override;
  QWidget* FocusWidget() override;

  /* Layer internals: changes told by the items and columns, and the
     widget's reports. */
  void ItemsChanged();
  void ItemChanged(TListItem* item, TItemChange change);
  void ColumnsChanged();
  void ItemSelectedByCode(TListItem* item, bool selected);
  void ViewSelectionChanged();
  void ViewEdited(int row, const QString& text);
  bool ViewMayEdit(int row);
  void HeaderClicked(int section);
  bool EditItem(TListItem* item);

 protected:
  QWidget* CreateWidget(QWidget* parentWidget) override;
  void InitWidget() override;
  void Notification(TComponent* component, TOperation operation) override;
  void FontChanged() override;

 private:
  friend class TListItems;
  void Rebuild();
  void ShowSelection();
  void SortIfNeeded();
  std::unique_ptr<TListColumns> columns_;
  std::unique_ptr<TListItems> items_;
  TViewStyle viewStyle_ = vsIcon;
  bool multiSelect_ = false;
  bool rowSelect_ = false;
  bool readOnly_ = false;
  bool showColumnHeaders_ = true;
  bool columnClick_ = true;
  bool hideSelection_ = true;
  bool gridLines_ = false;
  TSortType sortType_ = stNone;
  TCustomImageList* largeImages_ = nullptr;
  TCustomImageList* smallImages_ = nullptr;
  TListItem* focused_ = nullptr;
  int updateCount_ = 0;
  bool dirty_ = false;
  bool sorting_ = false;
  struct View;
  std::unique_ptr<View> view_;
  std::unique_ptr<TCanvas> canvas_;
};

class TListView : public TCustomListView {
  VCL_CLASS_INFO()
 public:
  explicit TListView(TComponent* owner) : TCustomListView(owner) {}
};

// ---------------------------------------------------------------------------
// Tool bar.

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };

class TToolBar;

/* A button of a tool bar. Click (user or code) runs OnClick; a tbsCheck
   button toggles Down on a user click. A tbsDropDown button shows its
   DropdownMenu from its arrow. */
class TToolButton : public TGraphicControl {
  VCL_CLASS_INFO()
 public:
  explicit TToolButton(TComponent* owner);

  TToolButtonStyle Style() const { return style_; }
  void SetStyle(TToolButtonStyle style);
  TPopupMenu* DropdownMenu() const { return dropdownMenu_; }
  void SetDropdownMenu(TPopupMenu* menu);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index);
  bool Down() const { return down_; }
  void SetDown(bool down);
  bool Grouped() const { return grouped_; }
  void SetGrouped(bool on) { grouped_ = on; }
  bool Wrap() const { return wrap_; }
  void SetWrap(bool on) { wrap_ = on; }
  int Index() const;
  TToolBar* ToolBar() const;

  void SetParent(TWinControl* parent) override;
  void Click() override;
  /* Shows the drop-down menu under the button (without waiting). */
  void ShowDropdownMenu();
  void UpdateButton();

 protected:
  QWidget* CreateWidget(QWidget* parentWidget) override;
  void InitWidget() override;
  void TextChanged() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TToolButtonStyle style_ = tbsButton;
  TPopupMenu* dropdownMenu_ = nullptr;
  int imageIndex_ = -1;
  bool down_ = false;
  bool grouped_ = false;
  bool wrap_ = false;
};

/* The platform's tool bar: lays its buttons out left to right in their
   order, each ButtonWidth x ButtonHeight (separators keep their width; a
   drop-down button is 14 pixels wider, for its arrow). */
class TToolBar : public TWinControl {
  VCL_CLASS_INFO()
 public:
  explicit TToolBar(TComponent* owner);

  int ButtonCount() const;
  TToolButton* Buttons(int index) const;
  int ButtonWidth() const { return buttonWidth_; }
  void SetButtonWidth(int w);
  int ButtonHeight() const { return buttonHeight_; }
  void SetButtonHeight(int h);
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* images);
  bool Flat() const { return flat_; }
  void SetFlat(bool on);
  bool ShowCaptions() const { return showCaptions_; }
  void SetShowCaptions(bool on);

  void ArrangeButtons();

 protected:
  void AlignControls(TRect& rect) override;
  void ControlsChanged() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  int buttonWidth_ = 23;
  int buttonHeight_ = 22;
  TCustomImageList* images_ = nullptr;
  bool flat_ = false;
  bool showCaptions_ = false;
  bool arranging_ = false;
};

// ---------------------------------------------------------------------------
// Animation.

enum TCommonAVI {
  aviNone,
  aviFindFolder,
  aviFindFile,
  aviFindComputer,
  aviCopyFiles,
  aviCopyFile,
  aviRecycleFile,
  aviEmptyRecycle,
  aviDeleteFile
};

/* The platform's animation control: Active starts and stops the clip
   (OnStart/OnStop); the clip itself is not drawn by this layer. */
class TAnimate : public TWinControl {
  VCL_CLASS_INFO()
 public:
  explicit TAnimate(TComponent* owner);
  bool Active() const { return active_; }
  void SetActive(bool on);
  TCommonAVI CommonAVI() const { return commonAVI_; }
  void SetCommonAVI(TCommonAVI avi) { commonAVI_ = avi; }
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& name) { fileName_ = name; }
  bool Center() const { return center_; }
  void SetCenter(bool on) { center_ = on; }
  int Repetitions() const { return repetitions_; }
  void SetRepetitions(int n) { repetitions_ = n; }
  void Play(int fromFrame, int toFrame, int count);
  void Stop();

  TNotifyEvent OnStart;
  TNotifyEvent OnStop;

 private:
  bool active_ = false;
  TCommonAVI commonAVI_ = aviNone;
  std::string fileName_;
  bool center_ = true;
  int repetitions_ = 0;
};

}  // namespace vcl
