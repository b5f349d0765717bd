#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "controls/BtChkBox.h"
#include "controls/F2Button.h"
#include "controls/GSpdBtn.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Mask.h"
#include "platform/vcl/TypInfo.h"

/* The select panel: one report condition entered as a range (a begin and a
   final value) or as a list of picked values. */
namespace SelectPnl {

enum TSelectStyle { sp_Range, sp_Discrete, sp_UserChoice };
enum TValueType { vt_String, vt_Number, vt_Date, vt_Time, vt_Float, vt_OtherMask };
enum TDateType { dt_NoneCare, dt_YYYYMMDD, dt_MMDDYYYY, dt_DDMMYYYY, dt_YYMMDD, dt_YYYMMDD };
enum TCheckDuplicate { cd_None, cd_CheckCase, cd_CaseInsensitive };

extern const vcl::TEnumInfo SelectStyleInfo;
extern const vcl::TEnumInfo ValueTypeInfo;
extern const vcl::TEnumInfo DateTypeInfo;
extern const vcl::TEnumInfo CheckDuplicateInfo;

/* A range text read as a date for the exit ordering, as yyyy * 10000 +
   mm * 100 + dd; 0 (no date, the smallest value) for an empty text, one
   equal to the trimmed BlankText, a wrong number of separators, a part that
   is not a number or an impossible date. One Sign in the text is a year and
   month: day "01" is added (for dt_MMDDYYYY after the month, for
   dt_DDMMYYYY in front); two make a full date. dt_YYMMDD and dt_YYYMMDD
   years are Minguo years (+ 1911). dt_NoneCare reads no date. */
int ExitDateValue(std::string_view text, TDateType type, std::string_view sign,
                  std::string_view blankText);

/* The exit ordering of vt_Float. A text is a number when, trimmed, it is an
   optional sign, digits and at most one decimal separator ("." or ",")
   followed by digits, with at least one digit. Such a text is written back
   as the same digits with "." as separator (a leading "+" dropped, a
   missing whole part written "0"); any other text stays as it is and counts
   as 0. CompareFloatTexts compares the values exactly (no rounding):
   < 0, 0, > 0. */
std::string NormaliseFloatText(std::string_view text);
int CompareFloatTexts(std::string_view a, std::string_view b);

/* A masked edit that can be kept from raising its change event: while
   ChangeEventsOff is set, OnChange does not run. */
class TYenMaskEdit : public vcl::TMaskEdit {
  VCL_CLASS_INFO()
 public:
  explicit TYenMaskEdit(vcl::TComponent* owner) : vcl::TMaskEdit(owner) {}
  bool ChangeEventsOff = false;

 protected:
  void Change() override;
};

/* The panel's choice box: a TBitCheckBox without additions. */
class TYenCheckBox : public BtChkBox::TBitCheckBox {
  VCL_CLASS_INFO()
 public:
  explicit TYenCheckBox(vcl::TComponent* owner) : BtChkBox::TBitCheckBox(owner) {}
};

/* The panel's value list. A left button press first moves the focus to the
   list and is handled only when the list really got it. */
class TYenListView : public vcl::TListView {
  VCL_CLASS_INFO()
 public:
  explicit TYenListView(vcl::TComponent* owner) : vcl::TListView(owner) {}

  /* Adds a row: caption Texts[0], sub-items Texts[1..]. First, while the
     list has fewer columns than Texts has elements, a column "Data<n>" is
     added (n = its position from 1). Every row's sub-items are then padded
     with "" to the largest sub-item count of any row (and a sorted list
     sorted). When the list belongs to a select panel, the panel then drops
     duplicates (RemoveDuplicates) and, with ColumnsAutoSize, the columns
     are sized to their texts (SizeColumnsToTexts); a list of its own always
     sizes them. An empty Texts adds nothing. */
  void AddRow(const std::vector<std::string>& texts);
  /* Makes every column as wide as its longest text (header, captions or
     sub-items, counted in bytes) times the width of "W". */
  void SizeColumnsToTexts();

  bool AcceptMousePress(vcl::TMouseButton button, int x, int y) override;
};

using TOpenWinEvent = vcl::TEvent<vcl::TObject* /*Sender*/, vcl::TWinControl* /*Target*/>;
using TDeleteClickEvent = vcl::TEvent<vcl::TObject* /*Sender*/, bool& /*Allow*/>;
using TStyleChangingEvent = vcl::TEvent<vcl::TObject* /*Sender*/, TSelectStyle /*OldStyle*/,
                                        bool& /*Allow*/, TSelectStyle& /*NewStyle*/>;
using TStyleChangeEvent =
    vcl::TEvent<vcl::TObject* /*Sender*/, TSelectStyle /*OldStyle*/, TSelectStyle /*NewStyle*/>;
using TItemSelectEvent = vcl::TEvent<vcl::TObject* /*Sender*/, vcl::TListItem* /*Item*/,
                                     bool /*Selected*/, int /*Index*/>;

/* The hint texts a new panel gives its sub-controls (ChildHints). */
extern const char* const kDefaultChildHints[9];

/* A group box holding one condition as a range or a list.

   Sub-controls, all owned by the panel and named as their accessors:
   ChoiceBox (hint 0); RangePanel with BeginLabel, edBegin (hint 1),
   BeginButton (2), FinalLabel, edFinal (3), FinalButton (4); ListPanel with
   ListBox (5), ListButton (6), DeleteButton (7), ClearButton (8). The
   numbers are indexes into ChildHints: every change of that list hands
   entry i to sub-control i, as far as the list reaches.

   Styles: sp_Range shows the range row, sp_Discrete the list, and
   sp_UserChoice a check box (ChoiceBox, caption HintWord) with which the
   user switches between the range row (checked) and the list. Setting
   Style asks OnStyleChanging (which may veto or change the new style),
   shows the parts of the new style, swaps the panel's size with
   (OtherWidth, OtherHeight) when the change goes from or to sp_Range
   (unless UseVertical is set or the panel or its parent is being loaded),
   lays out, raises OnStyleChange and stores the style. UseVertical changes
   only in sp_Range and swaps the size the same way.

   Layout (on size, font, style, word and CanOpenWin changes) places the
   parts as the horizontal range row (sp_Range), the vertical range row
   (sp_Range with UseVertical, and sp_UserChoice) and the list with its
   three buttons beside it. BeginWords and FinalWords keep two entries:
   entry 0 labels the horizontal row, entry 1 the vertical one (a list of
   one entry serves both).

   Exit (focus leaving the panel): unless edBegin's mask begins with "!",
   both texts are trimmed; when both are non-empty they are swapped when
   out of order for ValueType (see DoExit); then OnExit runs.

   Lookups: the three lookup buttons focus their target (edBegin, edFinal,
   ListBox), send F2Button::kLookupMessage with the target to the panel's
   owner window, and raise OnOpenWinClick. DeleteButton asks OnDeleteClick
   and deletes the selected rows; ClearButton deletes all rows, focuses the
   list and raises OnClearClick.

   Events of the sub-controls reach the panel's: clicks and double clicks
   of the two inner panels, the edits and the list; mouse events of all of
   them (from ListBox or an edit with that control as sender and its own
   coordinates, else with the panel as sender and panel coordinates); key
   events of ChoiceBox, the edits and the list, with the sub-control as
   sender. A new panel is 353 x 45 in sp_Range. */
class TSelectPanel : public vcl::TCustomGroupBox {
  VCL_CLASS_INFO()
 public:
  explicit TSelectPanel(vcl::TComponent* owner);
  ~TSelectPanel() override;

  // Sub-controls.
  TYenCheckBox* ChoiceBox() const { return choiceBox_; }
  vcl::TPanel* RangePanel() const { return rangePanel_; }
  vcl::TLabel* BeginLabel() const { return beginLabel_; }
  TYenMaskEdit* edBegin() const { return edBegin_; }
  F2Button::TF2Button* BeginButton() const { return beginButton_; }
  vcl::TLabel* FinalLabel() const { return finalLabel_; }
  TYenMaskEdit* edFinal() const { return edFinal_; }
  F2Button::TF2Button* FinalButton() const { return finalButton_; }
  vcl::TPanel* ListPanel() const { return listPanel_; }
  TYenListView* ListBox() const { return listBox_; }
  F2Button::TF2Button* ListButton() const { return listButton_; }
  GSpdBtn::TGSpeedButton* DeleteButton() const { return deleteButton_; }
  GSpdBtn::TGSpeedButton* ClearButton() const { return clearButton_; }

  // Published properties, in the order the form resource stores them.
  bool AutoChangeDateSite() const { return autoChangeDateSite_; }
  void SetAutoChangeDateSite(bool on) { autoChangeDateSite_ = on; }
  vcl::TStrings* BeginWords() const;
  void SetBeginWords(vcl::TStrings* words);
  bool ColumnsAutoSize() const { return columnsAutoSize_; }
  /* Setting it on sizes the columns now. */
  void SetColumnsAutoSize(bool on);
  bool CanOpenWin() const { return canOpenWin_; }
  /* Shows or hides the three lookup buttons and lays out. */
  void SetCanOpenWin(bool on);
  TCheckDuplicate CheckDuplicate() const { return checkDuplicate_; }
  /* A value other than cd_None also sets SortListBox and, outside range
     mode, removes duplicates at once. */
  void SetCheckDuplicate(TCheckDuplicate value);
  vcl::TStrings* ChildHints() const;
  /* Copies the list (and hands the hints out). */
  void SetChildHints(vcl::TStrings* hints);
  /* The list's column captions (a fresh copy on every read). */
  vcl::TStrings* ColumnCaptions() const;
  /* Replaces all columns by one per line, each with automatic width. */
  void SetColumnCaptions(vcl::TStrings* captions);
  vcl::TListColumns* Columns() const;
  /* Replaces the columns by copies (caption, width, alignment, auto size). */
  void SetColumns(vcl::TListColumns* columns);
  TDateType DateType() const { return dateType_; }
  void SetDateType(TDateType type) { dateType_ = type; }
  const std::string& DateSign() const { return dateSign_; }
  void SetDateSign(const std::string& sign) { dateSign_ = sign; }
  const std::string& Discard() const { return discard_; }
  void SetDiscard(const std::string& text) { discard_ = text; }
  const std::string& EditMask() const { return editMask_; }
  /* Gives both edits the mask and sets BlankText, keeping edBegin's text
     and raising no change event of edBegin. */
  void SetEditMask(const std::string& mask);
  vcl::TStrings* FinalWords() const;
  void SetFinalWords(vcl::TStrings* words);
  int GlyphIndex() const { return glyphIndex_; }
  /* Gives the three lookup buttons the glyph; when it cannot be loaded they
     all get glyph 0 and the property keeps its old value. */
  void SetGlyphIndex(int index);
  const std::string& HintWord() const { return hintWord_; }
  /* Caption of ChoiceBox, which is sized to it. */
  void SetHintWord(const std::string& word);
  bool HideSelection() const;
  void SetHideSelection(bool on);
  vcl::TListItems* Items() const;
  /* Replaces the rows by copies of the given ones. */
  void SetItems(vcl::TListItems* items);
  int OtherHeight() const { return otherHeight_; }
  void SetOtherHeight(int height) { otherHeight_ = height; }
  int OtherWidth() const { return otherWidth_; }
  void SetOtherWidth(int width) { otherWidth_ = width; }
  bool ShowColumnHeader() const;
  void SetShowColumnHeader(bool on);
  bool SortListBox() const { return sortListBox_; }
  /* Keeps the list sorted by its captions (true) or not. */
  void SetSortListBox(bool on);
  TSelectStyle Style() const { return style_; }
  void SetStyle(TSelectStyle style);
  bool UseDiscard() const { return useDiscard_; }
  void SetUseDiscard(bool on) { useDiscard_ = on; }
  bool UserChoice() const { return userChoice_; }
  /* In sp_UserChoice checks or unchecks ChoiceBox and acts as its click;
     in the other styles does nothing. */
  void SetUserChoice(bool on);
  bool UseVertical() const { return useVertical_; }
  void SetUseVertical(bool on);
  TValueType ValueType() const { return valueType_; }
  void SetValueType(TValueType type) { valueType_ = type; }

  // Other state.
  /* What an empty edBegin reads as under the current edit mask. */
  const std::string& BlankText() const { return blankText_; }
  int SortColumn() const { return sortColumn_; }
  bool SortAscending() const { return sortAscending_; }

  /* Style is sp_Range, or sp_UserChoice with ChoiceBox checked. */
  bool IsRangeMode() const;
  /* The lookup buttons' click (Button: BeginButton, FinalButton or
     ListButton); nothing at design time. */
  void OpenWindow(vcl::TObject* button);
  /* With cd_CheckCase or cd_CaseInsensitive, drops every row whose caption
     equals the one before it (exactly, or ignoring case in the system code
     page). Only neighbours are compared. */
  void RemoveDuplicates();
  /* A click on column header Column: the current sort column reverses the
     direction, another one becomes the sort column, ascending; then the
     list is sorted by that column ignoring case (ties: the caption when
     sorting by a sub-item, sub-item 0 when sorting by the caption). */
  void SortByColumn(int column);
  /* Lays the parts out now for the current style. */
  void Layout();

  /* Focuses the panel, then the list when not in range mode. */
  void SetFocus() override;
  /* The exit ordering, then OnExit. The texts are trimmed (under a mask only
     when they still fill the same places; not at all when the mask begins
     with "!"). When both are non-empty they are swapped when out of order:
     vt_Number by integer value (a non-number reads 0); vt_String and vt_Time
     as text; vt_Date, with AutoChangeDateSite, by ExitDateValue (as text
     for dt_NoneCare); vt_Float after NormaliseFloatText, by
     CompareFloatTexts; vt_OtherMask never. vt_String, vt_Time and vt_Date
     leave the range alone when a text equals BlankText or, with UseDiscard,
     its trimmed form equals Discard. */
  void DoExit() override;

  TOpenWinEvent OnOpenWinClick;
  vcl::TNotifyEvent OnClearClick;
  TDeleteClickEvent OnDeleteClick;
  vcl::TNotifyEvent OnTypeClick;
  TStyleChangingEvent OnStyleChanging;
  TStyleChangeEvent OnStyleChange;
  TItemSelectEvent OnItemSelect;
  vcl::TLVChangeEvent OnItemChange;
  vcl::TLVChangingEvent OnItemChanging;

 protected:
  void Resize() override;
  void FontChanged() override;
  void EnabledChanged() override;

 private:
  void ApplyVisibility(TSelectStyle style);
  void SwapSize();
  bool BeingLoaded() const;
  void SizeChoiceBox();
  void LayoutHorizontalRange();
  void LayoutVerticalRange();
  void LayoutList();
  void ShowWords();
  void DistributeHints();
  bool ShouldSwap(const std::string& b, const std::string& f) const;
  int CaptionHeight() const;

  void ChoiceBoxClick(vcl::TObject* sender);
  void DeleteButtonClick(vcl::TObject* sender);
  void ClearButtonClick(vcl::TObject* sender);
  void ListColumnClick(vcl::TObject* sender, vcl::TListColumn* column);
  void ListSelectItem(vcl::TObject* sender, vcl::TListItem* item, bool selected);
  void ListChange(vcl::TObject* sender, vcl::TListItem* item, vcl::TItemChange change);
  void ListChanging(vcl::TObject* sender, vcl::TListItem* item, vcl::TItemChange change,
                    bool& allow);
  void PartClick(vcl::TObject* sender);
  void PartDblClick(vcl::TObject* sender);
  void PartMouseDown(vcl::TObject* sender, vcl::TMouseButton button, vcl::TShiftState shift, int x,
                     int y);
  void PartMouseUp(vcl::TObject* sender, vcl::TMouseButton button, vcl::TShiftState shift, int x,
                   int y);
  void PartMouseMove(vcl::TObject* sender, vcl::TShiftState shift, int x, int y);
  void PartKeyDown(vcl::TObject* sender, vcl::Word& key, vcl::TShiftState shift);
  void PartKeyUp(vcl::TObject* sender, vcl::Word& key, vcl::TShiftState shift);
  void PartKeyPress(vcl::TObject* sender, char& key);
  /* The sender mouse and click events carry: the list and the edits speak
     for themselves, every other part for the panel (with X and Y moved
     into the panel's coordinates). */
  vcl::TObject* EventSender(vcl::TObject* part, int& x, int& y) const;

  TYenCheckBox* choiceBox_ = nullptr;
  vcl::TPanel* rangePanel_ = nullptr;
  vcl::TLabel* beginLabel_ = nullptr;
  TYenMaskEdit* edBegin_ = nullptr;
  F2Button::TF2Button* beginButton_ = nullptr;
  vcl::TLabel* finalLabel_ = nullptr;
  TYenMaskEdit* edFinal_ = nullptr;
  F2Button::TF2Button* finalButton_ = nullptr;
  vcl::TPanel* listPanel_ = nullptr;
  TYenListView* listBox_ = nullptr;
  F2Button::TF2Button* listButton_ = nullptr;
  GSpdBtn::TGSpeedButton* deleteButton_ = nullptr;
  GSpdBtn::TGSpeedButton* clearButton_ = nullptr;

  bool autoChangeDateSite_ = true;
  std::unique_ptr<vcl::TStringList> beginWords_;
  std::unique_ptr<vcl::TStringList> finalWords_;
  std::unique_ptr<vcl::TStringList> childHints_;
  std::unique_ptr<vcl::TStringList> columnCaptions_;
  bool columnsAutoSize_ = true;
  bool canOpenWin_ = true;
  TCheckDuplicate checkDuplicate_ = cd_None;
  TDateType dateType_ = dt_NoneCare;
  std::string dateSign_ = "/";
  std::string discard_;
  std::string editMask_;
  int glyphIndex_ = 8;
  std::string hintWord_;
  int otherHeight_ = 105;
  int otherWidth_ = 200;
  bool sortListBox_ = false;
  TSelectStyle style_ = sp_Range;
  TSelectStyle layoutStyle_ = sp_Range;  // the style being laid out (ahead of style_ in SetStyle)
  bool useDiscard_ = false;
  bool userChoice_ = true;
  bool useVertical_ = false;
  TValueType valueType_ = vt_String;
  std::string blankText_;
  int sortColumn_ = 0;
  bool sortAscending_ = true;
  bool constructed_ = false;
  bool laying_ = false;
};

}  // namespace SelectPnl
