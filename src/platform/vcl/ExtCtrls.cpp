#include "platform/vcl/ExtCtrls.h"

#include <QFontMetrics>
#include <QWidget>
#include <algorithm>

#include "platform/vcl/TypInfo.h"

namespace vcl {

namespace {
const TEnumInfo kBevelCutInfo{"TBevelCut", {"bvNone", "bvLowered", "bvRaised", "bvSpace"}};
const TEnumInfo kAlignmentInfo{"TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"}};
const TEnumInfo kBorderStyleInfo{"TBorderStyle", {"bsNone", "bsSingle"}};
const TEnumInfo kResizeStyleInfo{"TResizeStyle", {"rsNone", "rsLine", "rsUpdate", "rsPattern"}};

void Frame3D(TCanvas* c, TRect& r, TColor topLeft, TColor bottomRight, int width) {
  for (int i = 0; i < width; ++i) {
    c->Pen()->SetColor(topLeft);
    c->MoveTo(r.Left, r.Bottom - 1);
    c->LineTo(r.Left, r.Top);
    c->LineTo(r.Right - 1, r.Top);
    c->Pen()->SetColor(bottomRight);
    c->LineTo(r.Right - 1, r.Bottom - 1);
    c->LineTo(r.Left, r.Bottom - 1);
    r.Left += 1;
    r.Top += 1;
    r.Right -= 1;
    r.Bottom -= 1;
  }
}
}  // namespace

// --- TCustomPanel ----------------------------------------------------------

const TClassInfo* TCustomPanel::StaticClassInfo() {
  using P = PropBuilder<TCustomPanel>;
  static const TClassInfo info(
      "TCustomPanel", TCustomControl::StaticClassInfo(),
      {
          P::Enum<&TCustomPanel::Alignment, &TCustomPanel::SetAlignment>("Alignment",
                                                                         &kAlignmentInfo),
          P::Enum<&TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner>("BevelInner",
                                                                           &kBevelCutInfo),
          P::Enum<&TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter>("BevelOuter",
                                                                           &kBevelCutInfo),
          P::Integer<&TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth>("BevelWidth",
                                                                              "TBevelWidth"),
          P::Enum<&TCustomPanel::BorderStyle, &TCustomPanel::SetBorderStyle>("BorderStyle",
                                                                             &kBorderStyleInfo),
          P::Integer<&TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth>("BorderWidth",
                                                                                "TBorderWidth"),
          P::String<&TCustomPanel::Caption, &TCustomPanel::SetCaption>("Caption", "TCaption"),
          P::Event<&TCustomPanel::OnResize>("OnResize"),
      });
  return &info;
}

const TClassInfo* TPanel::StaticClassInfo() {
  static const TClassInfo info("TPanel", TCustomPanel::StaticClassInfo());
  return &info;
}

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 185, 41); }

void TCustomPanel::Changed() {
  Invalidate();
  Realign();
}

void TCustomPanel::SetBevelInner(TBevelCut b) {
  bevelInner_ = b;
  Changed();
}
void TCustomPanel::SetBevelOuter(TBevelCut b) {
  bevelOuter_ = b;
  Changed();
}
void TCustomPanel::SetBevelWidth(int w) {
  bevelWidth_ = std::max(1, w);
  Changed();
}
void TCustomPanel::SetBorderWidth(int w) {
  borderWidth_ = std::max(0, w);
  Changed();
}
void TCustomPanel::SetBorderStyle(TBorderStyle s) {
  borderStyle_ = s;
  Changed();
}
void TCustomPanel::SetAlignment(TAlignment a) {
  alignment_ = a;
  Invalidate();
}

void TCustomPanel::TextChanged() { Invalidate(); }

void TCustomPanel::ColorChanged() {
  TCustomControl::ColorChanged();
  if (QWidget* w = Widget()) w->setAutoFillBackground(true);
}

void TCustomPanel::AdjustClientRect(TRect& rect) const {
  int inset = borderWidth_;
  if (bevelOuter_ != bvNone) inset += bevelWidth_;
  if (bevelInner_ != bvNone) inset += bevelWidth_;
  if (borderStyle_ == bsSingle) inset += 1;
  rect.Left += inset;
  rect.Top += inset;
  rect.Right -= inset;
  rect.Bottom -= inset;
}

void TCustomPanel::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  c->Brush()->SetColor(Color());
  c->FillRect(r);
  auto bevel = [&](TBevelCut cut) {
    if (cut == bvNone) return;
    if (cut == bvSpace) {
      r.Left += bevelWidth_;
      r.Top += bevelWidth_;
      r.Right -= bevelWidth_;
      r.Bottom -= bevelWidth_;
      return;
    }
    bool raised = cut == bvRaised;
    Frame3D(c, r, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight,
            bevelWidth_);
  };
  bevel(bevelOuter_);
  r.Left += borderWidth_;
  r.Top += borderWidth_;
  r.Right -= borderWidth_;
  r.Bottom -= borderWidth_;
  bevel(bevelInner_);
  std::string text = Caption();
  if (text.empty()) return;
  c->Brush()->SetStyle(bsClear);
  int tw = c->TextWidth(text), th = c->TextHeight(text);
  int x = alignment_ == taLeftJustify    ? r.Left
          : alignment_ == taRightJustify ? r.Right - tw
                                         : r.Left + (r.Width() - tw) / 2;
  c->TextOut(x, r.Top + (r.Height() - th) / 2, text);
  c->Brush()->SetStyle(bsSolid);
}

// --- TGroupButton, TCustomRadioGroup ---------------------------------------

const TClassInfo* TGroupButton::StaticClassInfo() {
  static const TClassInfo info("TGroupButton", TRadioButton::StaticClassInfo());
  return &info;
}

TGroupButton::TGroupButton(TCustomRadioGroup* group) : TRadioButton(group) {}

void TGroupButton::KeyDown(Word& key, TShiftState shift) {
  TRadioButton::KeyDown(key, shift);
  if (key != 0)
    if (auto* g = dynamic_cast<TCustomRadioGroup*>(Parent())) g->KeyDown(key, shift);
}

void TGroupButton::KeyPress(char& key) {
  TRadioButton::KeyPress(key);
  if (key != 0)
    if (auto* g = dynamic_cast<TCustomRadioGroup*>(Parent())) g->KeyPress(key);
}

const TClassInfo* TCustomRadioGroup::StaticClassInfo() {
  using P = PropBuilder<TCustomRadioGroup>;
  static const TClassInfo info(
      "TCustomRadioGroup", TCustomGroupBox::StaticClassInfo(),
      {
          P::Integer<&TCustomRadioGroup::Columns, &TCustomRadioGroup::SetColumns>("Columns"),
          P::Integer<&TCustomRadioGroup::ItemIndex, &TCustomRadioGroup::SetItemIndex>("ItemIndex"),
          P::Object<&TCustomRadioGroup::Items, &TCustomRadioGroup::SetItems>("Items", "TStrings"),
      });
  return &info;
}

const TClassInfo* TRadioGroup::StaticClassInfo() {
  static const TClassInfo info("TRadioGroup", TCustomRadioGroup::StaticClassInfo());
  return &info;
}

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner)
    : TCustomGroupBox(owner), items_(std::make_unique<TStringList>()) {
  items_->SetChangeHook([this] { UpdateButtons(); });
}

TCustomRadioGroup::~TCustomRadioGroup() { items_->SetChangeHook(nullptr); }

TStrings* TCustomRadioGroup::Items() const { return items_.get(); }
void TCustomRadioGroup::SetItems(TStrings* items) { items_->Assign(items); }

TRadioButton* TCustomRadioGroup::Buttons(int index) const {
  if (index < 0 || index >= ButtonCount())
    throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
  return buttons_[static_cast<size_t>(index)];
}

TRadioButton* TCustomRadioGroup::CreateGroupButton() { return new TGroupButton(this); }

void TCustomRadioGroup::UpdateButtons() {
  if (Disposed()) return;
  updating_ = true;
  while (static_cast<int>(buttons_.size()) > items_->Count()) {
    TRadioButton* b = buttons_.back();
    buttons_.pop_back();
    b->Free();
  }
  while (static_cast<int>(buttons_.size()) < items_->Count()) {
    TRadioButton* b = CreateGroupButton();
    b->OnClick = MakeEvent<&TCustomRadioGroup::ButtonClick>(this);
    b->SetParent(this);
    buttons_.push_back(b);
  }
  for (size_t i = 0; i < buttons_.size(); ++i) {
    buttons_[i]->SetCaption(items_->Get(static_cast<int>(i)));
    buttons_[i]->SetChecked(static_cast<int>(i) == itemIndex_);
  }
  if (itemIndex_ >= static_cast<int>(buttons_.size())) itemIndex_ = -1;
  updating_ = false;
  ArrangeButtons();
}

void TCustomRadioGroup::ArrangeButtons() {
  if (buttons_.empty()) return;
  int cols = std::max(1, columns_);
  int count = static_cast<int>(buttons_.size());
  int perCol = (count + cols - 1) / cols;
  int buttonWidth = (Width() - 10) / cols;
  int textHeight = QFontMetrics(Font()->ToQFont()).height();
  int space = Height() - textHeight - 5;
  int buttonHeight = space / perCol;
  int topMargin = textHeight + 1 + (space % perCol) / 2;
  for (int i = 0; i < count; ++i)
    buttons_[static_cast<size_t>(i)]->SetBounds((i / perCol) * buttonWidth + 8,
                                                (i % perCol) * buttonHeight + topMargin,
                                                buttonWidth, buttonHeight);
}

void TCustomRadioGroup::SetItemIndex(int index) {
  if (index < -1) index = -1;
  if (index >= ButtonCount()) index = ButtonCount() - 1;
  if (index == itemIndex_) return;
  if (itemIndex_ >= 0) buttons_[static_cast<size_t>(itemIndex_)]->SetChecked(false);
  itemIndex_ = index;
  if (itemIndex_ >= 0) buttons_[static_cast<size_t>(itemIndex_)]->SetChecked(true);
}

void TCustomRadioGroup::SetColumns(int columns) {
  columns_ = std::clamp(columns, 1, 16);
  ArrangeButtons();
}

void TCustomRadioGroup::ButtonClick(TObject* sender) {
  if (updating_) return;
  auto it = std::find(buttons_.begin(), buttons_.end(), sender);
  if (it == buttons_.end()) return;
  itemIndex_ = static_cast<int>(it - buttons_.begin());
  Click();
}

void TCustomRadioGroup::Resize() {
  TCustomGroupBox::Resize();
  ArrangeButtons();
}

void TCustomRadioGroup::FontChanged() {
  TCustomGroupBox::FontChanged();
  ArrangeButtons();
}

void TCustomRadioGroup::Notification(TComponent* component, TOperation operation) {
  TCustomGroupBox::Notification(component, operation);
  if (operation == opRemove) std::erase(buttons_, component);
}

// --- TSplitter -------------------------------------------------------------

const TClassInfo* TSplitter::StaticClassInfo() {
  using P = PropBuilder<TSplitter>;
  static const TClassInfo info(
      "TSplitter", TGraphicControl::StaticClassInfo(),
      {
          P::Bool<&TSplitter::Beveled, &TSplitter::SetBeveled>("Beveled"),
          P::Integer<&TSplitter::MinSize, &TSplitter::SetMinSize>("MinSize", "NaturalNumber"),
          P::Enum<&TSplitter::ResizeStyle, &TSplitter::SetResizeStyle>("ResizeStyle",
                                                                       &kResizeStyleInfo),
          P::Event<&TSplitter::OnMoved>("OnMoved"),
      });
  return &info;
}

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 3, 100);
  SetAlign(alLeft);
  SetCursor(crHSplit);
}

TControl* TSplitter::ResizeControl() const {
  TWinControl* p = Parent();
  if (!p) return nullptr;
  for (int i = 0; i < p->ControlCount(); ++i) {
    TControl* c = p->Controls(i);
    if (c == this || !c->Visible() || c->Align() != Align()) continue;
    switch (Align()) {
      case alLeft:
        if (c->Left() + c->Width() == Left()) return c;
        break;
      case alRight:
        if (c->Left() == Left() + Width()) return c;
        break;
      case alTop:
        if (c->Top() + c->Height() == Top()) return c;
        break;
      case alBottom:
        if (c->Top() == Top() + Height()) return c;
        break;
      default:
        break;
    }
  }
  return nullptr;
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  dragging_ = true;
  downX_ = x;
  downY_ = y;
}

void TSplitter::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (!dragging_) return;
  TControl* c = ResizeControl();
  if (!c) return;
  int dx = x - downX_, dy = y - downY_;
  switch (Align()) {
    case alLeft:
      c->SetWidth(std::max(minSize_, c->Width() + dx));
      break;
    case alRight:
      c->SetWidth(std::max(minSize_, c->Width() - dx));
      break;
    case alTop:
      c->SetHeight(std::max(minSize_, c->Height() + dy));
      break;
    case alBottom:
      c->SetHeight(std::max(minSize_, c->Height() - dy));
      break;
    default:
      break;
  }
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (button == mbLeft && dragging_) {
    dragging_ = false;
    OnMoved(this);
  }
}

}  // namespace vcl
