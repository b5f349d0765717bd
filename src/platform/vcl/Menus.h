#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/vcl/Classes.h"

class QMenu;

namespace vcl {

class TCustomImageList;
class TMenu;

/* One menu item; sub-items are its Items. Click() runs OnClick when the item
   is enabled (a user choosing it from a menu does the same). Checking a
   RadioItem unchecks the other radio items of the same parent and
   GroupIndex; clicking does not tick an item by itself. */
class TMenuItem : public TComponent {
  VCL_CLASS_INFO()
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption) { caption_ = caption; }
  bool Checked() const { return checked_; }
  void SetChecked(bool on);
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool on) { radioItem_ = on; }
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int index) { groupIndex_ = index; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on) { enabled_ = on; }
  bool Visible() const { return visible_; }
  void SetVisible(bool on) { visible_ = on; }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index) { imageIndex_ = index; }
  bool Default() const { return default_; }
  void SetDefault(bool on) { default_ = on; }
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint) { hint_ = hint; }
  int ShortCut() const { return shortCut_; }
  void SetShortCut(int shortCut) { shortCut_ = shortCut; }

  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const;
  TMenuItem* Parent() const { return parent_; }
  int MenuIndex() const;
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  void Remove(TMenuItem* item);
  void Delete(int index);
  void Clear();
  int IndexOf(const TMenuItem* item) const;
  /* The menu this item belongs to (through its parents), nullptr when none. */
  TMenu* GetParentMenu() const;

  virtual void Click();
  TNotifyEvent OnClick;

 protected:
  void DoDispose() override;

 private:
  friend class TMenu;
  std::string caption_;
  bool checked_ = false;
  bool radioItem_ = false;
  int groupIndex_ = 0;
  bool enabled_ = true;
  bool visible_ = true;
  int imageIndex_ = -1;
  bool default_ = false;
  std::string hint_;
  int shortCut_ = 0;
  std::vector<TMenuItem*> items_;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;
};

/* A menu: its root item's Items are the entries. With OwnerDraw the items
   are drawn in the screen's menu font. */
class TMenu : public TComponent {
  VCL_CLASS_INFO()
 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;

  TMenuItem* Items() const { return items_; }
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* images);
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool on) { ownerDraw_ = on; }

  /* A Qt menu showing the items as they are when it opens. The menu
     belongs to this component. */
  QMenu* QtMenu();

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  void DoDispose() override;

 private:
  void Build(QMenu* menu, TMenuItem* item);
  TMenuItem* items_;
  TCustomImageList* images_ = nullptr;
  bool ownerDraw_ = false;
  std::unique_ptr<QMenu> qtMenu_;
};

/* A pop-up menu: Popup shows it at a screen point (without waiting) after
   OnPopup; PopupComponent is the control it was opened for. */
class TPopupMenu : public TMenu {
  VCL_CLASS_INFO()
 public:
  explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}

  void Popup(int x, int y);
  TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* c) { popupComponent_ = c; }
  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool on) { autoPopup_ = on; }

  TNotifyEvent OnPopup;

 private:
  TComponent* popupComponent_ = nullptr;
  bool autoPopup_ = true;
};

class TMainMenu : public TMenu {
  VCL_CLASS_INFO()
 public:
  explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
};

/* Removes "&" accelerator marks for plain display ("&&" gives "&"). */
std::string StripHotkey(const std::string& caption);

}  // namespace vcl
