#pragma once

#include <memory>
#include <vector>

#include "controls/VkRadioButton.h"

/* The program's radio group, made of TVkRadioButton buttons. */
namespace VkRadioGroup {

class TVkRadioGroup;

/* The button a TVkRadioGroup makes for each item (owned and parented by the
   group). Its key events, when its own handlers leave the key, reach the
   group's key events too. */
class TVkGroupButton : public VkRadioButton::TVkRadioButton {
  VCL_CLASS_INFO()
 public:
  explicit TVkGroupButton(TVkRadioGroup* group);
  void KeyDown(vcl::Word& key, vcl::TShiftState shift) override;
  void KeyUp(vcl::Word& key, vcl::TShiftState shift) override;
  void KeyPress(char& key) override;
};

/* A group box with one TVkGroupButton per line of Items, in Columns columns
   (1..16): each button (width - 10) / columns wide and (height - text
   height - 5) / rows high, the first column at left 8, the first row just
   below the caption. ItemIndex is clamped to -1 .. count - 1 and checks its
   button. A click on a button sets ItemIndex and raises the group's
   OnClick; so does setting ItemIndex from code to another item, as on the
   platform. Changing Items keeps ItemIndex while it is in range (else -1)
   and raises nothing. */
class TVkRadioGroup : public vcl::TCustomGroupBox {
  VCL_CLASS_INFO()
 public:
  explicit TVkRadioGroup(vcl::TComponent* owner);
  ~TVkRadioGroup() override;

  vcl::TStrings* Items() const;
  void SetItems(vcl::TStrings* items);
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);
  int Columns() const { return columns_; }
  void SetColumns(int columns);
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  /* Raises vcl::EStringListError for an index out of range. */
  TVkGroupButton* Buttons(int index) const;

 protected:
  void Resize() override;
  void FontChanged() override;
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;

 private:
  void ButtonClick(vcl::TObject* sender);
  void UpdateButtons();
  void ArrangeButtons();
  std::unique_ptr<vcl::TStringList> items_;
  std::vector<TVkGroupButton*> buttons_;
  int itemIndex_ = -1;
  int columns_ = 1;
  bool updating_ = false;
};

}  // namespace VkRadioGroup
