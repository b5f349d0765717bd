#include "controls/SelectPnl.h"

#include <QString>
#include <algorithm>

#include "platform/core/SysUtils.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/TypInfo.h"
#include "runtime/LibStrs.h"

namespace SelectPnl {

const vcl::TEnumInfo SelectStyleInfo{"TSelectStyle", {"sp_Range", "sp_Discrete", "sp_UserChoice"}};
const vcl::TEnumInfo ValueTypeInfo{
    "TValueType", {"vt_String", "vt_Number", "vt_Date", "vt_Time", "vt_Float", "vt_OtherMask"}};
const vcl::TEnumInfo DateTypeInfo{
    "TDateType",
    {"dt_NoneCare", "dt_YYYYMMDD", "dt_MMDDYYYY", "dt_DDMMYYYY", "dt_YYMMDD", "dt_YYYMMDD"}};
const vcl::TEnumInfo CheckDuplicateInfo{"TCheckDuplicate",
                                        {"cd_None", "cd_CheckCase", "cd_CaseInsensitive"}};

const char* const kDefaultChildHints[9] = {
    "用户自定输入方式",  "区间选择-起始信息",     "区间选择-起始信息开窗",
    "区间选择-截止信息", "区间选择-截止信息开窗", "多选-己选择的信息",
    "多选-信息开窗",     "多选-删除一笔信息",     "多选-删除己选信息"};

namespace {

constexpr int kEditHeight = 24;
constexpr int kButtonSize = 23;

// ---------------------------------------------------------------------------
// Dates of the exit ordering.

int CountOf(std::string_view text, std::string_view sign) {
  if (sign.empty()) return 0;
  int n = 0;
  for (size_t at = text.find(sign); at != std::string_view::npos;
       at = text.find(sign, at + sign.size()))
    ++n;
  return n;
}

std::vector<std::string> SplitAt(std::string_view text, std::string_view sign) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t at = text.find(sign); at != std::string_view::npos; at = text.find(sign, start)) {
    parts.emplace_back(text.substr(start, at - start));
    start = at + sign.size();
  }
  parts.emplace_back(text.substr(start));
  return parts;
}

// ---------------------------------------------------------------------------
// Decimal texts of vt_Float.

struct Decimal {
  bool negative = false;
  std::string whole;     // digits, leading zeros removed
  std::string fraction;  // digits, trailing zeros removed
};

bool IsDigits(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

/* The parts of a number text as typed (no digit dropped), for writing back. */
bool SplitDecimal(std::string_view text, bool& negative, std::string& whole, std::string& fraction,
                  bool& hasSeparator) {
  std::string t = platform::Trim(text);
  std::string_view s = t;
  negative = false;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  size_t sep = s.find_first_of(".,");
  hasSeparator = sep != std::string_view::npos;
  whole = std::string(s.substr(0, sep));
  fraction = hasSeparator ? std::string(s.substr(sep + 1)) : std::string();
  if (!IsDigits(whole) || !IsDigits(fraction)) return false;
  return !whole.empty() || !fraction.empty();
}

Decimal ReadDecimal(std::string_view text) {
  Decimal d;
  bool sep = false;
  if (!SplitDecimal(text, d.negative, d.whole, d.fraction, sep)) return {};
  d.whole.erase(0, std::min(d.whole.find_first_not_of('0'), d.whole.size()));
  while (!d.fraction.empty() && d.fraction.back() == '0') d.fraction.pop_back();
  if (d.whole.empty() && d.fraction.empty()) d.negative = false;  // -0 is 0
  return d;
}

int CompareMagnitude(const Decimal& a, const Decimal& b) {
  if (a.whole.size() != b.whole.size()) return a.whole.size() < b.whole.size() ? -1 : 1;
  if (int c = a.whole.compare(b.whole)) return c < 0 ? -1 : 1;
  if (int c = a.fraction.compare(b.fraction)) return c < 0 ? -1 : 1;
  return 0;
}

// ---------------------------------------------------------------------------
// Column sorting.

std::string ColumnText(const vcl::TListItem* item, int column) {
  if (column == 0) return item->Caption();
  vcl::TStrings* subs = item->SubItems();
  return column - 1 < subs->Count() ? subs->Get(column - 1) : std::string();
}

int CompareColumnTexts(const vcl::TControl* list, const std::string& a, const std::string& b) {
  return QString::localeAwareCompare(list->QtText(a).toLower(), list->QtText(b).toLower());
}

int CompareRows(vcl::TListItem* a, vcl::TListItem* b, intptr_t data) {
  auto* panel = reinterpret_cast<const TSelectPanel*>(data);
  const vcl::TControl* list = panel->ListBox();
  int column = panel->SortColumn();
  int result = CompareColumnTexts(list, ColumnText(a, column), ColumnText(b, column));
  if (result == 0) {
    int tie = column == 0 ? 1 : 0;
    result = CompareColumnTexts(list, ColumnText(a, tie), ColumnText(b, tie));
  }
  return panel->SortAscending() ? result : -result;
}

/* Trims an edit's text of blanks. Under a mask the trimmed text goes back
   only when it still fills the same places: the platform pads the input
   places before each literal, so that a blank or partly typed date keeps
   its blanks instead of sliding into other places. */
void TrimText(TYenMaskEdit* edit) {
  std::string text = edit->Text();
  std::string trimmed = platform::Trim(text);
  if (trimmed == text) return;
  if (edit->IsMasked()) {
    vcl::TEditMaskRules rules(edit->EditMask());
    if (platform::Trim(rules.Unformat(rules.Format(trimmed))) != trimmed) return;
  }
  edit->SetText(trimmed);
}

std::string WordAt(const vcl::TStrings* words, int index) {
  if (words->Count() == 0) return {};
  return words->Get(std::min(index, words->Count() - 1));
}

}  // namespace

int ExitDateValue(std::string_view text, TDateType type, std::string_view sign,
                  std::string_view blankText) {
  std::string t = platform::Trim(text);
  if (t.empty() || t == platform::Trim(blankText) || type == dt_NoneCare) return 0;
  std::string s(sign);
  switch (CountOf(t, sign)) {
    case 1:
      if (type == dt_MMDDYYYY)
        t = t.substr(0, 2) + s + "01" + (t.size() > 2 ? t.substr(2) : std::string());
      else if (type == dt_DDMMYYYY)
        t = "01" + s + t;
      else
        t = t + s + "01";
      break;
    case 2:
      break;
    default:
      return 0;
  }
  std::vector<std::string> parts = SplitAt(t, sign);
  if (parts.size() != 3) return 0;
  int p[3];
  for (int i = 0; i < 3; ++i) {
    auto v = platform::TryStrToInt(platform::Trim(parts[static_cast<size_t>(i)]));
    if (!v) return 0;
    p[i] = *v;
  }
  int year = 0, month = 0, day = 0;
  switch (type) {
    case dt_YYYYMMDD:
      year = p[0], month = p[1], day = p[2];
      break;
    case dt_MMDDYYYY:
      year = p[2], month = p[0], day = p[1];
      break;
    case dt_DDMMYYYY:
      year = p[2], month = p[1], day = p[0];
      break;
    case dt_YYMMDD:
    case dt_YYYMMDD:
      year = p[0] + 1911, month = p[1], day = p[2];
      break;
    default:
      return 0;
  }
  if (year < 1 || year > 9999 || day < 1 || day > LibStrs::DaysInMonth(year, month)) return 0;
  return year * 10000 + month * 100 + day;
}

std::string NormaliseFloatText(std::string_view text) {
  bool negative = false, sep = false;
  std::string whole, fraction;
  if (!SplitDecimal(text, negative, whole, fraction, sep)) return std::string(text);
  std::string out = negative ? "-" : "";
  out += whole.empty() ? "0" : whole;
  if (sep && !fraction.empty()) out += "." + fraction;
  return out;
}

int CompareFloatTexts(std::string_view a, std::string_view b) {
  Decimal x = ReadDecimal(a), y = ReadDecimal(b);
  if (x.negative != y.negative) return x.negative ? -1 : 1;
  int c = CompareMagnitude(x, y);
  return x.negative ? -c : c;
}

// ---------------------------------------------------------------------------
// Sub-control classes.

const vcl::TClassInfo* TYenMaskEdit::StaticClassInfo() {
  static const vcl::TClassInfo info("TYenMaskEdit", vcl::TMaskEdit::StaticClassInfo());
  return &info;
}

void TYenMaskEdit::Change() {
  if (!ChangeEventsOff) vcl::TMaskEdit::Change();
}

const vcl::TClassInfo* TYenCheckBox::StaticClassInfo() {
  static const vcl::TClassInfo info("TYenCheckBox", BtChkBox::TBitCheckBox::StaticClassInfo());
  return &info;
}

const vcl::TClassInfo* TYenListView::StaticClassInfo() {
  static const vcl::TClassInfo info("TYenListView", vcl::TListView::StaticClassInfo());
  return &info;
}

void TYenListView::AddRow(const std::vector<std::string>& texts) {
  if (texts.empty()) return;
  vcl::TListColumns* columns = Columns();
  vcl::TListItems* items = Items();
  items->BeginUpdate();
  while (columns->Count() < static_cast<int>(texts.size())) {
    vcl::TListColumn* column = columns->Add();
    column->SetCaption("Data" + std::to_string(columns->Count()));
  }
  vcl::TListItem* row = items->Add();
  row->SetCaption(texts[0]);
  for (size_t i = 1; i < texts.size(); ++i) row->SubItems()->Add(texts[i]);
  int widest = 0;
  for (int r = 0; r < items->Count(); ++r)
    widest = std::max(widest, items->Item(r)->SubItems()->Count());
  for (int r = 0; r < items->Count(); ++r) {
    vcl::TStrings* subs = items->Item(r)->SubItems();
    while (subs->Count() < widest) subs->Add("");
  }
  // Closing the bracket sorts a sorted list, so that duplicates meet.
  items->EndUpdate();
  auto* panel = dynamic_cast<TSelectPanel*>(Owner());
  if (panel) panel->RemoveDuplicates();
  if (!panel || panel->ColumnsAutoSize()) SizeColumnsToTexts();
}

void TYenListView::SizeColumnsToTexts() {
  vcl::TListColumns* columns = Columns();
  vcl::TListItems* items = Items();
  int w = Canvas()->TextWidth("W");
  for (int c = 0; c < columns->Count(); ++c) {
    size_t longest = columns->Items(c)->Caption().size();
    for (int r = 0; r < items->Count(); ++r)
      longest = std::max(longest, ColumnText(items->Item(r), c).size());
    columns->Items(c)->SetWidth(static_cast<int>(longest) * w);
  }
}

bool TYenListView::AcceptMousePress(vcl::TMouseButton button, int, int) {
  if (button != vcl::mbLeft) return true;
  if (CanFocus() && !Focused()) SetFocus();
  return vcl::IsLiveComponent(this) && Focused();
}

// ---------------------------------------------------------------------------
// TSelectPanel.

const vcl::TClassInfo* TSelectPanel::StaticClassInfo() {
  using P = vcl::PropBuilder<TSelectPanel>;
  using S = TSelectPanel;
  static const vcl::TClassInfo info(
      "TSelectPanel", vcl::TCustomGroupBox::StaticClassInfo(),
      {
          P::Bool<&S::AutoChangeDateSite, &S::SetAutoChangeDateSite>("AutoChangeDateSite"),
          P::Object<&S::BeginWords, &S::SetBeginWords>("BeginWords", "TStrings"),
          P::Bool<&S::ColumnsAutoSize, &S::SetColumnsAutoSize>("ColumnsAutoSize"),
          P::Bool<&S::CanOpenWin, &S::SetCanOpenWin>("CanOpenWin"),
          P::Enum<&S::CheckDuplicate, &S::SetCheckDuplicate>("CheckDuplicate", &CheckDuplicateInfo),
          P::Object<&S::ChildHints, &S::SetChildHints>("ChildHints", "TStrings"),
          P::Object<&S::ColumnCaptions, &S::SetColumnCaptions>("ColumnCaptions", "TStrings"),
          P::Object<&S::Columns, &S::SetColumns>("Columns", "TListColumns"),
          P::Enum<&S::DateType, &S::SetDateType>("DateType", &DateTypeInfo),
          P::String<&S::DateSign, &S::SetDateSign>("DateSign"),
          P::String<&S::Discard, &S::SetDiscard>("Discard"),
          P::String<&S::EditMask, &S::SetEditMask>("EditMask", "TEditMask"),
          P::Object<&S::FinalWords, &S::SetFinalWords>("FinalWords", "TStrings"),
          P::Integer<&S::GlyphIndex, &S::SetGlyphIndex>("GlyphIndex"),
          P::String<&S::HintWord, &S::SetHintWord>("HintWord"),
          P::Bool<&S::HideSelection, &S::SetHideSelection>("HideSelection"),
          P::Object<&S::Items, &S::SetItems>("Items", "TListItems"),
          P::Integer<&S::OtherHeight, &S::SetOtherHeight>("OtherHeight"),
          P::Integer<&S::OtherWidth, &S::SetOtherWidth>("OtherWidth"),
          P::Bool<&S::ShowColumnHeader, &S::SetShowColumnHeader>("ShowColumnHeader"),
          P::Bool<&S::SortListBox, &S::SetSortListBox>("SortListBox"),
          P::Enum<&S::Style, &S::SetStyle>("Style", &SelectStyleInfo),
          P::Bool<&S::UseDiscard, &S::SetUseDiscard>("UseDiscard"),
          P::Bool<&S::UserChoice, &S::SetUserChoice>("UserChoice"),
          P::Bool<&S::UseVertical, &S::SetUseVertical>("UseVertical"),
          P::Enum<&S::ValueType, &S::SetValueType>("ValueType", &ValueTypeInfo),
          P::Event<&S::OnClearClick>("OnClearClick"),
          P::Event<&S::OnDeleteClick>("OnDeleteClick", "TDeleteClickEvent"),
          P::Event<&S::OnItemChange>("OnItemChange", "TLVChangeEvent"),
          P::Event<&S::OnItemChanging>("OnItemChanging", "TLVChangingEvent"),
          P::Event<&S::OnItemSelect>("OnItemSelect", "TItemSelectEvent"),
          P::Event<&S::OnOpenWinClick>("OnOpenWinClick", "TOpenWinEvent"),
          P::Event<&S::OnStyleChange>("OnStyleChange", "TStyleChangeEvent"),
          P::Event<&S::OnStyleChanging>("OnStyleChanging", "TStyleChangingEvent"),
          P::Event<&S::OnTypeClick>("OnTypeClick"),
      });
  return &info;
}

TSelectPanel::TSelectPanel(vcl::TComponent* owner)
    : vcl::TCustomGroupBox(owner),
      beginWords_(std::make_unique<vcl::TStringList>()),
      finalWords_(std::make_unique<vcl::TStringList>()),
      childHints_(std::make_unique<vcl::TStringList>()),
      columnCaptions_(std::make_unique<vcl::TStringList>()),
      hintWord_("区间选择") {
  SetBounds(0, 0, 353, 45);
  beginWords_->SetText("起\n起");
  finalWords_->SetText("止\n止");

  choiceBox_ = new TYenCheckBox(this);
  choiceBox_->SetName("ChoiceBox");
  choiceBox_->SetParent(this);
  choiceBox_->SetLeft(16);
  choiceBox_->SetCaption(hintWord_);
  choiceBox_->SetChecked(userChoice_);
  choiceBox_->OnClick = vcl::MakeEvent<&TSelectPanel::ChoiceBoxClick>(this);

  rangePanel_ = new vcl::TPanel(this);
  rangePanel_->SetName("RangePanel");
  rangePanel_->SetParent(this);
  rangePanel_->SetBevelOuter(vcl::bvNone);
  rangePanel_->SetBevelInner(vcl::bvNone);
  rangePanel_->SetCaption(" ");

  beginLabel_ = new vcl::TLabel(this);
  beginLabel_->SetName("BeginLabel");
  beginLabel_->SetParent(rangePanel_);
  beginLabel_->SetAutoSize(true);

  edBegin_ = new TYenMaskEdit(this);
  edBegin_->SetName("edBegin");
  edBegin_->SetParent(rangePanel_);
  edBegin_->SetHeight(kEditHeight);

  beginButton_ = new F2Button::TF2Button(this);
  beginButton_->SetName("BeginButton");
  beginButton_->SetParent(rangePanel_);
  beginButton_->SetF2Control(edBegin_);

  finalLabel_ = new vcl::TLabel(this);
  finalLabel_->SetName("FinalLabel");
  finalLabel_->SetParent(rangePanel_);
  finalLabel_->SetAutoSize(true);

  edFinal_ = new TYenMaskEdit(this);
  edFinal_->SetName("edFinal");
  edFinal_->SetParent(rangePanel_);
  edFinal_->SetHeight(kEditHeight);

  finalButton_ = new F2Button::TF2Button(this);
  finalButton_->SetName("FinalButton");
  finalButton_->SetParent(rangePanel_);
  finalButton_->SetF2Control(edFinal_);

  listPanel_ = new vcl::TPanel(this);
  listPanel_->SetName("ListPanel");
  listPanel_->SetParent(this);
  listPanel_->SetBevelOuter(vcl::bvNone);
  listPanel_->SetBevelInner(vcl::bvNone);
  listPanel_->SetCaption("");

  listBox_ = new TYenListView(this);
  listBox_->SetName("ListBox");
  listBox_->SetParent(listPanel_);
  listBox_->SetLeft(0);
  listBox_->SetViewStyle(vcl::vsReport);
  listBox_->SetMultiSelect(true);
  listBox_->SetRowSelect(true);
  listBox_->SetReadOnly(true);
  listBox_->SetShowColumnHeaders(false);
  listBox_->SetSortType(vcl::stNone);
  listBox_->SetHideSelection(false);
  listBox_->SetCursor(vcl::crHandPoint);
  listBox_->OnColumnClick = vcl::MakeEvent<&TSelectPanel::ListColumnClick>(this);
  listBox_->OnSelectItem = vcl::MakeEvent<&TSelectPanel::ListSelectItem>(this);
  listBox_->OnChange = vcl::MakeEvent<&TSelectPanel::ListChange>(this);
  listBox_->OnChanging = vcl::MakeEvent<&TSelectPanel::ListChanging>(this);

  listButton_ = new F2Button::TF2Button(this);
  listButton_->SetName("ListButton");
  listButton_->SetParent(listPanel_);
  listButton_->SetAutoAlign(false);
  listButton_->SetF2Control(listBox_);

  deleteButton_ = new GSpdBtn::TGSpeedButton(this);
  deleteButton_->SetName("DeleteButton");
  deleteButton_->SetParent(listPanel_);
  deleteButton_->SetFlat(true);
  deleteButton_->SetGlyphIndex(47);
  deleteButton_->OnClick = vcl::MakeEvent<&TSelectPanel::DeleteButtonClick>(this);

  clearButton_ = new GSpdBtn::TGSpeedButton(this);
  clearButton_->SetName("ClearButton");
  clearButton_->SetParent(listPanel_);
  clearButton_->SetFlat(true);
  clearButton_->SetGlyphIndex(4);
  clearButton_->SetNumGlyphs(2);
  clearButton_->OnClick = vcl::MakeEvent<&TSelectPanel::ClearButtonClick>(this);

  for (F2Button::TF2Button* b : {beginButton_, finalButton_, listButton_}) {
    b->SetFlat(true);
    b->SetGlyphIndex(glyphIndex_);
    b->SetBounds(b->Left(), b->Top(), kButtonSize, kButtonSize);
    b->OnClick = vcl::MakeEvent<&TSelectPanel::OpenWindow>(this);
  }
  deleteButton_->SetBounds(0, 0, kButtonSize, kButtonSize);
  clearButton_->SetBounds(0, 0, kButtonSize, kButtonSize);

  // Events of the parts reach the panel's.
  for (vcl::TControl* part : std::initializer_list<vcl::TControl*>{
           choiceBox_, rangePanel_, beginLabel_, edBegin_, beginButton_, finalLabel_, edFinal_,
           finalButton_, listPanel_, listBox_, listButton_, deleteButton_, clearButton_}) {
    part->OnMouseDown = vcl::MakeEvent<&TSelectPanel::PartMouseDown>(this);
    part->OnMouseUp = vcl::MakeEvent<&TSelectPanel::PartMouseUp>(this);
    part->OnMouseMove = vcl::MakeEvent<&TSelectPanel::PartMouseMove>(this);
  }
  for (vcl::TControl* part : std::initializer_list<vcl::TControl*>{rangePanel_, listPanel_,
                                                                   edBegin_, edFinal_, listBox_}) {
    part->OnClick = vcl::MakeEvent<&TSelectPanel::PartClick>(this);
    part->OnDblClick = vcl::MakeEvent<&TSelectPanel::PartDblClick>(this);
  }
  for (vcl::TWinControl* part :
       std::initializer_list<vcl::TWinControl*>{choiceBox_, edBegin_, edFinal_, listBox_}) {
    part->OnKeyDown = vcl::MakeEvent<&TSelectPanel::PartKeyDown>(this);
    part->OnKeyUp = vcl::MakeEvent<&TSelectPanel::PartKeyUp>(this);
    part->OnKeyPress = vcl::MakeEvent<&TSelectPanel::PartKeyPress>(this);
  }

  childHints_->SetChangeHook([this] { DistributeHints(); });
  childHints_->BeginUpdate();
  for (const char* hint : kDefaultChildHints) childHints_->Add(hint);
  childHints_->EndUpdate();

  constructed_ = true;
  ApplyVisibility(style_);
  Layout();
}

TSelectPanel::~TSelectPanel() { childHints_->SetChangeHook(nullptr); }

// --- properties --------------------------------------------------------------

vcl::TStrings* TSelectPanel::BeginWords() const { return beginWords_.get(); }
vcl::TStrings* TSelectPanel::FinalWords() const { return finalWords_.get(); }

void TSelectPanel::SetBeginWords(vcl::TStrings* words) {
  beginWords_->Clear();
  for (int i = 0; words && i < std::min(2, words->Count()); ++i) beginWords_->Add(words->Get(i));
  ShowWords();
  Layout();
}

void TSelectPanel::SetFinalWords(vcl::TStrings* words) {
  finalWords_->Clear();
  for (int i = 0; words && i < std::min(2, words->Count()); ++i) finalWords_->Add(words->Get(i));
  ShowWords();
  Layout();
}

void TSelectPanel::ShowWords() {
  int index = style_ == sp_UserChoice ? 1 : 0;
  beginLabel_->SetCaption(WordAt(beginWords_.get(), index));
  finalLabel_->SetCaption(WordAt(finalWords_.get(), index));
}

void TSelectPanel::SetColumnsAutoSize(bool on) {
  columnsAutoSize_ = on;
  if (on) listBox_->SizeColumnsToTexts();
}

void TSelectPanel::SetCanOpenWin(bool on) {
  canOpenWin_ = on;
  for (F2Button::TF2Button* b : {beginButton_, finalButton_, listButton_}) b->SetVisible(on);
  Layout();
}

void TSelectPanel::SetCheckDuplicate(TCheckDuplicate value) {
  checkDuplicate_ = value;
  if (value == cd_None) return;
  SetSortListBox(true);
  if (!IsRangeMode()) RemoveDuplicates();
}

vcl::TStrings* TSelectPanel::ChildHints() const { return childHints_.get(); }

void TSelectPanel::SetChildHints(vcl::TStrings* hints) {
  if (hints && hints != childHints_.get()) childHints_->Assign(hints);
}

void TSelectPanel::DistributeHints() {
  if (Disposed()) return;
  vcl::TControl* parts[] = {choiceBox_, edBegin_,    beginButton_,  edFinal_,    finalButton_,
                            listBox_,   listButton_, deleteButton_, clearButton_};
  for (int i = 0; i < std::min(9, childHints_->Count()); ++i)
    parts[i]->SetHint(childHints_->Get(i));
}

vcl::TStrings* TSelectPanel::ColumnCaptions() const {
  columnCaptions_->Clear();
  for (int c = 0; c < listBox_->Columns()->Count(); ++c)
    columnCaptions_->Add(listBox_->Columns()->Items(c)->Caption());
  return columnCaptions_.get();
}

void TSelectPanel::SetColumnCaptions(vcl::TStrings* captions) {
  vcl::TListColumns* columns = listBox_->Columns();
  columns->BeginUpdate();
  columns->Clear();
  for (int i = 0; captions && i < captions->Count(); ++i) {
    vcl::TListColumn* column = columns->Add();
    column->SetCaption(captions->Get(i));
    column->SetAutoSize(true);
  }
  columns->EndUpdate();
}

vcl::TListColumns* TSelectPanel::Columns() const { return listBox_->Columns(); }

void TSelectPanel::SetColumns(vcl::TListColumns* source) {
  vcl::TListColumns* columns = listBox_->Columns();
  if (!source || source == columns) return;
  columns->BeginUpdate();
  columns->Clear();
  for (int i = 0; i < source->Count(); ++i) {
    vcl::TListColumn* from = source->Items(i);
    vcl::TListColumn* column = columns->Add();
    column->SetCaption(from->Caption());
    column->SetWidth(from->Width());
    column->SetAlignment(from->Alignment());
    column->SetAutoSize(from->AutoSize());
  }
  columns->EndUpdate();
}

void TSelectPanel::SetEditMask(const std::string& mask) {
  editMask_ = mask;
  edBegin_->ChangeEventsOff = true;
  std::string kept = edBegin_->Text();
  edBegin_->SetText("");
  edBegin_->SetEditMask(mask);
  edFinal_->SetEditMask(mask);
  blankText_ = edBegin_->Text();
  edBegin_->SetText(kept);
  edBegin_->ChangeEventsOff = false;
}

void TSelectPanel::SetGlyphIndex(int index) {
  if (!beginButton_->LoadGlyph(index)) {
    for (F2Button::TF2Button* b : {beginButton_, finalButton_, listButton_}) b->LoadGlyph(0);
    return;
  }
  finalButton_->LoadGlyph(index);
  listButton_->LoadGlyph(index);
  glyphIndex_ = index;
}

void TSelectPanel::SetHintWord(const std::string& word) {
  hintWord_ = word;
  choiceBox_->SetCaption(word);
  SizeChoiceBox();
}

bool TSelectPanel::HideSelection() const { return listBox_->HideSelection(); }
void TSelectPanel::SetHideSelection(bool on) { listBox_->SetHideSelection(on); }

vcl::TListItems* TSelectPanel::Items() const { return listBox_->Items(); }

void TSelectPanel::SetItems(vcl::TListItems* source) {
  vcl::TListItems* items = listBox_->Items();
  if (!source || source == items) return;
  items->BeginUpdate();
  items->Clear();
  for (int i = 0; i < source->Count(); ++i) {
    vcl::TListItem* row = items->Add();
    row->SetCaption(source->Item(i)->Caption());
    row->SubItems()->Assign(source->Item(i)->SubItems());
  }
  items->EndUpdate();
}

bool TSelectPanel::ShowColumnHeader() const { return listBox_->ShowColumnHeaders(); }
void TSelectPanel::SetShowColumnHeader(bool on) { listBox_->SetShowColumnHeaders(on); }

void TSelectPanel::SetSortListBox(bool on) {
  sortListBox_ = on;
  listBox_->SetSortType(on ? vcl::stText : vcl::stNone);
}

bool TSelectPanel::BeingLoaded() const { return Loading() || (Parent() && Parent()->Loading()); }

void TSelectPanel::SwapSize() {
  int w = Width(), h = Height();
  SetBounds(Left(), Top(), otherWidth_, otherHeight_);
  otherWidth_ = w;
  otherHeight_ = h;
}

void TSelectPanel::SetStyle(TSelectStyle style) {
  if (style == style_) return;
  TSelectStyle old = style_;
  bool allow = true;
  OnStyleChanging(this, old, allow, style);
  if (!allow || Disposed()) return;
  layoutStyle_ = style;
  ApplyVisibility(style);
  if ((old == sp_Range) != (style == sp_Range) && !useVertical_ && !BeingLoaded()) SwapSize();
  Layout();
  OnStyleChange(this, old, style);
  style_ = style;
  layoutStyle_ = style;
}

void TSelectPanel::SetUserChoice(bool on) {
  if (style_ != sp_UserChoice) return;
  choiceBox_->SetChecked(on);
  ChoiceBoxClick(choiceBox_);
}

void TSelectPanel::SetUseVertical(bool on) {
  if (style_ != sp_Range || on == useVertical_) return;
  useVertical_ = on;
  if (!BeingLoaded()) SwapSize();
  Layout();
}

bool TSelectPanel::IsRangeMode() const {
  return style_ == sp_Range || (style_ == sp_UserChoice && choiceBox_->Checked());
}

// --- layout ------------------------------------------------------------------

void TSelectPanel::ApplyVisibility(TSelectStyle style) {
  bool choice = style == sp_UserChoice;
  choiceBox_->SetVisible(choice);
  bool range = style == sp_Range || (choice && choiceBox_->Checked());
  rangePanel_->SetVisible(range);
  listPanel_->SetVisible(!range);
}

int TSelectPanel::CaptionHeight() const {
  Canvas()->Font()->Assign(Font());
  return Canvas()->TextHeight(Caption());
}

void TSelectPanel::SizeChoiceBox() {
  vcl::TCanvas* c = Canvas();
  c->Font()->Assign(choiceBox_->Font());
  choiceBox_->SetBounds(choiceBox_->Left(), choiceBox_->Top(), c->TextWidth(hintWord_) + 24,
                        c->TextHeight(hintWord_) + 2);
}

void TSelectPanel::Layout() {
  if (!constructed_ || laying_ || Disposed()) return;
  laying_ = true;
  SizeChoiceBox();
  int captionHeight = CaptionHeight();
  int w = Width(), h = Height();
  if (layoutStyle_ == sp_UserChoice) {
    choiceBox_->SetVisible(true);
    choiceBox_->SetBounds(16, captionHeight + 1, choiceBox_->Width(), choiceBox_->Height());
    // The box is its text height plus 2 high.
    int top = choiceBox_->Top() + (choiceBox_->Height() - 2) + 2;
    vcl::TPanel* front = userChoice_ ? rangePanel_ : listPanel_;
    vcl::TPanel* back = userChoice_ ? listPanel_ : rangePanel_;
    front->SetBounds(2, top, w - 4, h - top - 2);
    back->SetBounds(2, top, w - 4, h - top - 2);
    front->BringToFront();
    LayoutVerticalRange();
    LayoutList();
  } else {
    choiceBox_->SetVisible(false);
    int top = captionHeight + 3;
    rangePanel_->SetBounds(2, top, w - 4, h - top - 2);
    listPanel_->SetBounds(2, top, w - 4, h - top - 2);
    if (layoutStyle_ == sp_Range) {
      rangePanel_->BringToFront();
      if (useVertical_)
        LayoutVerticalRange();
      else
        LayoutHorizontalRange();
    } else {
      listPanel_->BringToFront();
      LayoutList();
    }
  }
  laying_ = false;
}

void TSelectPanel::LayoutHorizontalRange() {
  beginLabel_->SetCaption(WordAt(beginWords_.get(), 0));
  finalLabel_->SetCaption(WordAt(finalWords_.get(), 0));
  int panelWidth = rangePanel_->Width();
  int editHeight = edBegin_->Height();
  int top = (rangePanel_->Height() - editHeight) / 2;
  int labelWidth = beginLabel_->Width(), finalLabelWidth = finalLabel_->Width();
  int buttonWidth = beginButton_->Width();
  beginLabel_->SetBounds(2, top, labelWidth, beginLabel_->Height());
  int editWidth = canOpenWin_
                      ? (panelWidth - 2 - labelWidth - 2 * buttonWidth - finalLabelWidth - 8) / 2
                      : (panelWidth - 2 - labelWidth - finalLabelWidth - 4) / 2;
  edBegin_->SetBounds(2 + labelWidth + 1, top, editWidth, editHeight);
  int finalLabelLeft = edBegin_->Left() + editWidth + 4;
  if (canOpenWin_) {
    beginButton_->SetBounds(edBegin_->Left() + editWidth + 2, top, buttonWidth,
                            beginButton_->Height());
    finalLabelLeft = beginButton_->Left() + buttonWidth + 2;
  }
  finalLabel_->SetBounds(finalLabelLeft, top, finalLabelWidth, finalLabel_->Height());
  edFinal_->SetBounds(finalLabelLeft + finalLabelWidth + 2, top, editWidth, editHeight);
  finalButton_->SetBounds(edFinal_->Left() + editWidth + 2, top, finalButton_->Width(),
                          finalButton_->Height());
}

void TSelectPanel::LayoutVerticalRange() {
  beginLabel_->SetCaption(WordAt(beginWords_.get(), 1));
  finalLabel_->SetCaption(WordAt(finalWords_.get(), 1));
  int editHeight = edBegin_->Height();
  int a = (rangePanel_->Height() - 2 * editHeight) / 3;
  beginLabel_->SetBounds(2, a, beginLabel_->Width(), beginLabel_->Height());
  int editLeft = 2 + beginLabel_->Width() + 2;
  int buttonWidth = beginButton_->Width();
  int editWidth = rangePanel_->Width() - editLeft - (canOpenWin_ ? buttonWidth + 4 : 2);
  edBegin_->SetBounds(editLeft, a, editWidth, editHeight);
  beginButton_->SetBounds(editLeft + editWidth + 1, a, buttonWidth, beginButton_->Height());
  int finalTop = a + a + editHeight;
  finalLabel_->SetBounds(2, finalTop, finalLabel_->Width(), finalLabel_->Height());
  edFinal_->SetBounds(editLeft, finalTop, editWidth, editHeight);
  finalButton_->SetBounds(beginButton_->Left(), finalTop, finalButton_->Width(),
                          finalButton_->Height());
}

void TSelectPanel::LayoutList() {
  int buttonWidth = listButton_->Width();
  int listWidth = listPanel_->Width() - listBox_->Left() - buttonWidth - 3;
  listBox_->SetBounds(listBox_->Left(), 0, listWidth, listPanel_->Height());
  int left = listBox_->Left() + listWidth + 2;
  listButton_->SetBounds(left, 0, buttonWidth, listButton_->Height());
  deleteButton_->SetBounds(left, listButton_->Top() + listButton_->Height(), deleteButton_->Width(),
                           deleteButton_->Height());
  clearButton_->SetBounds(left, deleteButton_->Top() + deleteButton_->Height(),
                          clearButton_->Width(), clearButton_->Height());
}

void TSelectPanel::Resize() {
  vcl::TCustomGroupBox::Resize();
  Layout();
}

void TSelectPanel::FontChanged() {
  vcl::TCustomGroupBox::FontChanged();
  Layout();
}

void TSelectPanel::EnabledChanged() {
  vcl::TCustomGroupBox::EnabledChanged();
  if (Disposed()) return;
  bool on = Enabled();
  std::vector<vcl::TWinControl*> stack{this};
  while (!stack.empty()) {
    vcl::TWinControl* w = stack.back();
    stack.pop_back();
    for (int i = 0; i < w->ControlCount(); ++i) {
      vcl::TControl* c = w->Controls(i);
      c->SetEnabled(on);
      if (auto* inner = dynamic_cast<vcl::TWinControl*>(c)) stack.push_back(inner);
    }
  }
}

// --- behaviour ---------------------------------------------------------------

void TSelectPanel::SetFocus() {
  vcl::TCustomGroupBox::SetFocus();
  if (!IsRangeMode() && listBox_->CanFocus()) listBox_->SetFocus();
}

void TSelectPanel::OpenWindow(vcl::TObject* button) {
  if (Designing() || Disposed()) return;
  vcl::TWinControl* target = button == beginButton_   ? static_cast<vcl::TWinControl*>(edBegin_)
                             : button == finalButton_ ? static_cast<vcl::TWinControl*>(edFinal_)
                                                      : static_cast<vcl::TWinControl*>(listBox_);
  if (target->CanFocus()) target->SetFocus();
  if (vcl::TControl* window = F2Button::LookupWindow(this))
    vcl::SendMessage(window, F2Button::kLookupMessage, 0, reinterpret_cast<vcl::LPARAM>(target));
  if (vcl::IsLiveComponent(this) && !Disposed()) OnOpenWinClick(this, target);
}

void TSelectPanel::RemoveDuplicates() {
  if (checkDuplicate_ == cd_None) return;
  vcl::TListItems* items = listBox_->Items();
  items->BeginUpdate();
  for (int i = items->Count() - 1; i >= 1; --i) {
    const std::string& a = items->Item(i)->Caption();
    const std::string& b = items->Item(i - 1)->Caption();
    bool same = checkDuplicate_ == cd_CheckCase ? a == b : platform::AnsiSameText(a, b);
    if (same) items->Delete(i);
  }
  items->EndUpdate();
}

void TSelectPanel::SortByColumn(int column) {
  if (column == sortColumn_) {
    sortAscending_ = !sortAscending_;
  } else {
    sortColumn_ = column;
    sortAscending_ = true;
  }
  listBox_->CustomSort(&CompareRows, reinterpret_cast<intptr_t>(this));
}

bool TSelectPanel::ShouldSwap(const std::string& b, const std::string& f) const {
  auto discarded = [this](const std::string& t) {
    return useDiscard_ && platform::Trim(t) == discard_;
  };
  switch (valueType_) {
    case vt_Number:
      return platform::StrToIntDef(platform::Trim(f), 0) <
             platform::StrToIntDef(platform::Trim(b), 0);
    case vt_Date:
      if (!autoChangeDateSite_ || b == blankText_ || f == blankText_ || discarded(b) ||
          discarded(f))
        return false;
      if (dateType_ == dt_NoneCare) return b > f;
      return ExitDateValue(b, dateType_, dateSign_, blankText_) >
             ExitDateValue(f, dateType_, dateSign_, blankText_);
    case vt_String:
    case vt_Time:
      if (b == blankText_ || f == blankText_ || discarded(b) || discarded(f)) return false;
      return b > f;
    case vt_Float:
      return CompareFloatTexts(f, b) < 0;
    case vt_OtherMask:
      return false;
  }
  return false;
}

void TSelectPanel::DoExit() {
  if (Disposed()) return;
  const std::string& mask = edBegin_->EditMask();
  if (mask.empty() || mask[0] != '!') {
    TrimText(edBegin_);
    TrimText(edFinal_);
  }
  if (valueType_ == vt_Float && !edBegin_->Text().empty() && !edFinal_->Text().empty()) {
    edBegin_->SetText(NormaliseFloatText(edBegin_->Text()));
    edFinal_->SetText(NormaliseFloatText(edFinal_->Text()));
  }
  std::string b = edBegin_->Text(), f = edFinal_->Text();
  if (!b.empty() && !f.empty() && ShouldSwap(b, f)) {
    edBegin_->SetText(f);
    edFinal_->SetText(b);
  }
  vcl::TCustomGroupBox::DoExit();
}

// --- event handlers of the parts ---------------------------------------------

void TSelectPanel::ChoiceBoxClick(vcl::TObject*) {
  if (style_ != sp_UserChoice) return;
  userChoice_ = choiceBox_->Checked();
  Layout();
  ApplyVisibility(style_);
  OnTypeClick(this);
}

void TSelectPanel::DeleteButtonClick(vcl::TObject*) {
  bool allow = true;
  if (!Designing()) OnDeleteClick(this, allow);
  if (!allow || Disposed()) return;
  vcl::TListItems* items = listBox_->Items();
  items->BeginUpdate();
  for (int i = items->Count() - 1; i >= 0; --i)
    if (items->Item(i)->Selected()) items->Delete(i);
  items->EndUpdate();
}

void TSelectPanel::ClearButtonClick(vcl::TObject*) {
  listBox_->Items()->Clear();
  if (listBox_->CanFocus()) listBox_->SetFocus();
  if (!Designing() && vcl::IsLiveComponent(this) && !Disposed()) OnClearClick(this);
}

void TSelectPanel::ListColumnClick(vcl::TObject*, vcl::TListColumn* column) {
  if (column) SortByColumn(column->Index());
}

void TSelectPanel::ListSelectItem(vcl::TObject*, vcl::TListItem* item, bool selected) {
  OnItemSelect(this, item, selected, item ? item->Index() : -1);
}

void TSelectPanel::ListChange(vcl::TObject*, vcl::TListItem* item, vcl::TItemChange change) {
  OnItemChange(this, item, change);
}

void TSelectPanel::ListChanging(vcl::TObject*, vcl::TListItem* item, vcl::TItemChange change,
                                bool& allow) {
  OnItemChanging(this, item, change, allow);
}

vcl::TObject* TSelectPanel::EventSender(vcl::TObject* part, int& x, int& y) const {
  if (part == listBox_ || part == edBegin_ || part == edFinal_) return part;
  for (auto* c = dynamic_cast<vcl::TControl*>(part); c && c != this; c = c->Parent()) {
    x += c->Left();
    y += c->Top();
  }
  return const_cast<TSelectPanel*>(this);
}

void TSelectPanel::PartClick(vcl::TObject* sender) {
  int x = 0, y = 0;
  OnClick(EventSender(sender, x, y));
}

void TSelectPanel::PartDblClick(vcl::TObject* sender) {
  int x = 0, y = 0;
  OnDblClick(EventSender(sender, x, y));
}

void TSelectPanel::PartMouseDown(vcl::TObject* sender, vcl::TMouseButton button,
                                 vcl::TShiftState shift, int x, int y) {
  vcl::TObject* s = EventSender(sender, x, y);
  OnMouseDown(s, button, shift, x, y);
}

void TSelectPanel::PartMouseUp(vcl::TObject* sender, vcl::TMouseButton button,
                               vcl::TShiftState shift, int x, int y) {
  vcl::TObject* s = EventSender(sender, x, y);
  OnMouseUp(s, button, shift, x, y);
}

void TSelectPanel::PartMouseMove(vcl::TObject* sender, vcl::TShiftState shift, int x, int y) {
  vcl::TObject* s = EventSender(sender, x, y);
  OnMouseMove(s, shift, x, y);
}

void TSelectPanel::PartKeyDown(vcl::TObject* sender, vcl::Word& key, vcl::TShiftState shift) {
  OnKeyDown(sender, key, shift);
}

void TSelectPanel::PartKeyUp(vcl::TObject* sender, vcl::Word& key, vcl::TShiftState shift) {
  OnKeyUp(sender, key, shift);
}

void TSelectPanel::PartKeyPress(vcl::TObject* sender, char& key) { OnKeyPress(sender, key); }

}  // namespace SelectPnl
