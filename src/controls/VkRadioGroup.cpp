#include "controls/VkRadioGroup.h"

#include <algorithm>

#include "platform/vcl/TypInfo.h"

namespace VkRadioGroup {

const vcl::TClassInfo* TVkGroupButton::StaticClassInfo() {
  static const vcl::TClassInfo info("TVkGroupButton", TVkRadioButton::StaticClassInfo());
  return &info;
}

TVkGroupButton::TVkGroupButton(TVkRadioGroup* group) : TVkRadioButton(group) {}

void TVkGroupButton::KeyDown(vcl::Word& key, vcl::TShiftState shift) {
  TVkRadioButton::KeyDown(key, shift);
  if (key != 0)
    if (auto* g = dynamic_cast<TVkRadioGroup*>(Parent())) g->KeyDown(key, shift);
}

void TVkGroupButton::KeyUp(vcl::Word& key, vcl::TShiftState shift) {
  TVkRadioButton::KeyUp(key, shift);
  if (key != 0)
    if (auto* g = dynamic_cast<TVkRadioGroup*>(Parent())) g->KeyUp(key, shift);
}

void TVkGroupButton::KeyPress(char& key) {
  TVkRadioButton::KeyPress(key);
  if (key != 0)
    if (auto* g = dynamic_cast<TVkRadioGroup*>(Parent())) g->KeyPress(key);
}

const vcl::TClassInfo* TVkRadioGroup::StaticClassInfo() {
  using P = vcl::PropBuilder<TVkRadioGroup>;
  static const vcl::TClassInfo info(
      "TVkRadioGroup", vcl::TCustomGroupBox::StaticClassInfo(),
      {
          P::Integer<&TVkRadioGroup::Columns, &TVkRadioGroup::SetColumns>("Columns"),
          P::Integer<&TVkRadioGroup::ItemIndex, &TVkRadioGroup::SetItemIndex>("ItemIndex"),
          P::Object<&TVkRadioGroup::Items, &TVkRadioGroup::SetItems>("Items", "TStrings"),
      });
  return &info;
}

TVkRadioGroup::TVkRadioGroup(vcl::TComponent* owner)
    : vcl::TCustomGroupBox(owner), items_(std::make_unique<vcl::TStringList>()) {
  items_->SetChangeHook([this] { UpdateButtons(); });
}

TVkRadioGroup::~TVkRadioGroup() { items_->SetChangeHook(nullptr); }

vcl::TStrings* TVkRadioGroup::Items() const { return items_.get(); }
void TVkRadioGroup::SetItems(vcl::TStrings* items) { items_->Assign(items); }

TVkGroupButton* TVkRadioGroup::Buttons(int index) const {
  if (index < 0 || index >= ButtonCount())
    throw vcl::EStringListError("List index out of bounds (" + std::to_string(index) + ")");
  return buttons_[static_cast<size_t>(index)];
}

void TVkRadioGroup::UpdateButtons() {
  if (Disposed()) return;
  updating_ = true;
  while (static_cast<int>(buttons_.size()) > items_->Count()) {
    TVkGroupButton* b = buttons_.back();
    buttons_.pop_back();
    b->Free();
  }
  while (static_cast<int>(buttons_.size()) < items_->Count()) {
    auto* b = new TVkGroupButton(this);
    b->OnClick = vcl::MakeEvent<&TVkRadioGroup::ButtonClick>(this);
    b->SetParent(this);
    buttons_.push_back(b);
  }
  if (itemIndex_ >= static_cast<int>(buttons_.size())) itemIndex_ = -1;
  for (size_t i = 0; i < buttons_.size(); ++i) {
    buttons_[i]->SetCaption(items_->Get(static_cast<int>(i)));
    buttons_[i]->SetChecked(static_cast<int>(i) == itemIndex_);
  }
  updating_ = false;
  ArrangeButtons();
}

void TVkRadioGroup::ArrangeButtons() {
  if (buttons_.empty()) return;
  int count = static_cast<int>(buttons_.size());
  int rows = (count + columns_ - 1) / columns_;
  int buttonWidth = (Width() - 10) / columns_;
  Canvas()->Font()->Assign(Font());
  int textHeight = Canvas()->TextHeight("0");
  int space = Height() - textHeight - 5;
  int buttonHeight = space / rows;
  int top = textHeight + 1 + (space % rows) / 2;
  for (int i = 0; i < count; ++i)
    buttons_[static_cast<size_t>(i)]->SetBounds(
        (i / rows) * buttonWidth + 8, (i % rows) * buttonHeight + top, buttonWidth, buttonHeight);
}

void TVkRadioGroup::SetItemIndex(int index) {
  index = std::clamp(index, -1, ButtonCount() - 1);
  if (index == itemIndex_) return;
  if (itemIndex_ >= 0) buttons_[static_cast<size_t>(itemIndex_)]->SetChecked(false);
  itemIndex_ = index;
  if (itemIndex_ >= 0) buttons_[static_cast<size_t>(itemIndex_)]->SetChecked(true);
}

void TVkRadioGroup::SetColumns(int columns) {
  columns_ = std::clamp(columns, 1, 16);
  ArrangeButtons();
}

void TVkRadioGroup::ButtonClick(vcl::TObject* sender) {
  if (updating_) return;
  auto it = std::find(buttons_.begin(), buttons_.end(), sender);
  if (it == buttons_.end()) return;
  itemIndex_ = static_cast<int>(it - buttons_.begin());
  Click();
}

void TVkRadioGroup::Resize() {
  vcl::TCustomGroupBox::Resize();
  ArrangeButtons();
}

void TVkRadioGroup::FontChanged() {
  vcl::TCustomGroupBox::FontChanged();
  ArrangeButtons();
}

void TVkRadioGroup::Notification(vcl::TComponent* component, vcl::TOperation operation) {
  vcl::TCustomGroupBox::Notification(component, operation);
  if (operation == vcl::opRemove) std::erase(buttons_, component);
}

}  // namespace VkRadioGroup
