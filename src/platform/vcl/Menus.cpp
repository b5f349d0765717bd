#include "platform/vcl/Menus.h"

#include <QAction>
#include <QActionGroup>
#include <QIcon>
#include <QMenu>
#include <algorithm>

#include "platform/vcl/Forms.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/TypInfo.h"

namespace vcl {

std::string StripHotkey(const std::string& caption) {
  std::string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') {
        out += '&';
        ++i;
      }
      continue;
    }
    out += caption[i];
  }
  return out;
}

// --- TMenuItem -------------------------------------------------------------

const TClassInfo* TMenuItem::StaticClassInfo() {
  using P = PropBuilder<TMenuItem>;
  static const TClassInfo info(
      "TMenuItem", TComponent::StaticClassInfo(),
      {
          P::String<&TMenuItem::Caption, &TMenuItem::SetCaption>("Caption", "TCaption"),
          P::Bool<&TMenuItem::Checked, &TMenuItem::SetChecked>("Checked"),
          P::Bool<&TMenuItem::Default, &TMenuItem::SetDefault>("Default"),
          P::Bool<&TMenuItem::Enabled, &TMenuItem::SetEnabled>("Enabled"),
          P::Integer<&TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex>("GroupIndex", "Byte"),
          P::String<&TMenuItem::Hint, &TMenuItem::SetHint>("Hint"),
          P::Integer<&TMenuItem::ImageIndex, &TMenuItem::SetImageIndex>("ImageIndex",
                                                                        "TImageIndex"),
          P::Bool<&TMenuItem::RadioItem, &TMenuItem::SetRadioItem>("RadioItem"),
          P::Integer<&TMenuItem::ShortCut, &TMenuItem::SetShortCut>("ShortCut", "TShortCut"),
          P::Bool<&TMenuItem::Visible, &TMenuItem::SetVisible>("Visible"),
          P::Event<&TMenuItem::OnClick>("OnClick"),
      });
  return &info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}
TMenuItem::~TMenuItem() {
  if (parent_) std::erase(parent_->items_, this);
  for (TMenuItem* item : items_) item->parent_ = nullptr;
}

void TMenuItem::SetChecked(bool on) {
  checked_ = on;
  if (on && radioItem_ && parent_) {
    for (TMenuItem* sibling : parent_->items_)
      if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_)
        sibling->checked_ = false;
  }
}

TMenuItem* TMenuItem::Items(int index) const {
  if (index < 0 || index >= Count())
    throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
  return items_[static_cast<size_t>(index)];
}

int TMenuItem::MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item) return;
  if (item->parent_) throw EInvalidOperation("Menu inserted twice");
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
}

void TMenuItem::Remove(TMenuItem* item) {
  int i = IndexOf(item);
  if (i < 0) return;
  items_.erase(items_.begin() + i);
  item->parent_ = nullptr;
}

void TMenuItem::Delete(int index) { Remove(Items(index)); }

void TMenuItem::Clear() {
  while (!items_.empty()) {
    TMenuItem* item = items_.back();
    Remove(item);
    item->Free();
  }
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* item = this;
  while (item->parent_) item = item->parent_;
  return item->menu_;
}

void TMenuItem::Click() {
  if (enabled_) OnClick(this);
}

void TMenuItem::DoDispose() {
  if (parent_) parent_->Remove(this);
  while (!items_.empty()) {
    TMenuItem* item = items_.back();
    Remove(item);
    if (IsLiveComponent(item)) item->Free();
  }
  TComponent::DoDispose();
}

// --- TMenu -----------------------------------------------------------------

const TClassInfo* TMenu::StaticClassInfo() {
  using P = PropBuilder<TMenu>;
  static const TClassInfo info(
      "TMenu", TComponent::StaticClassInfo(),
      {
          P::Object<&TMenu::Images, &TMenu::SetImages>("Images", "TCustomImageList"),
          P::Object<&TMenu::Items>("Items", "TMenuItem"),
          P::Bool<&TMenu::OwnerDraw, &TMenu::SetOwnerDraw>("OwnerDraw"),
      });
  return &info;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(this)) {
  items_->menu_ = this;
}

TMenu::~TMenu() = default;

void TMenu::SetImages(TCustomImageList* images) {
  if (images_ == images) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = images;
  if (images) images->FreeNotification(this);
}

void TMenu::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == images_) images_ = nullptr;
}

void TMenu::DoDispose() {
  qtMenu_.reset();
  TComponent::DoDispose();
}

void TMenu::Build(QMenu* menu, TMenuItem* item) {
  QActionGroup* group = nullptr;
  int groupIndex = -1;
  for (TMenuItem* child : item->items_) {
    if (!child->Visible()) continue;
    if (child->Caption() == "-") {
      menu->addSeparator();
      continue;
    }
    // Item texts: bytes in the system code page; "&" marks stay accelerators.
    QString text = DecodeText(child->Caption(), ownerDraw_ ? Screen->MenuFont()->CodePage() : 0);
    if (!child->items_.empty()) {
      QMenu* sub = menu->addMenu(text);
      Build(sub, child);
      continue;
    }
    QAction* action = menu->addAction(text);
    action->setEnabled(child->Enabled());
    action->setCheckable(child->Checked() || child->RadioItem());
    action->setChecked(child->Checked());
    if (child->RadioItem()) {
      if (!group || groupIndex != child->GroupIndex()) {
        group = new QActionGroup(menu);
        groupIndex = child->GroupIndex();
      }
      group->addAction(action);
    }
    if (images_ && child->ImageIndex() >= 0 && child->ImageIndex() < images_->Count())
      action->setIcon(images_->Icon(child->ImageIndex()));
    QObject::connect(action, &QAction::triggered, [child] {
      if (IsLiveComponent(child) && !child->Disposed()) child->Click();
    });
  }
}

QMenu* TMenu::QtMenu() {
  if (!qtMenu_) {
    qtMenu_ = std::make_unique<QMenu>();
    QObject::connect(qtMenu_.get(), &QMenu::aboutToShow, [this] {
      if (!IsLiveComponent(this) || Disposed()) return;
      qtMenu_->clear();
      if (ownerDraw_) qtMenu_->setFont(Screen->MenuFont()->ToQFont());
      Build(qtMenu_.get(), items_);
    });
  }
  return qtMenu_.get();
}

// --- TPopupMenu ------------------------------------------------------------

const TClassInfo* TPopupMenu::StaticClassInfo() {
  using P = PropBuilder<TPopupMenu>;
  static const TClassInfo info(
      "TPopupMenu", TMenu::StaticClassInfo(),
      {
          P::Bool<&TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup>("AutoPopup"),
          P::Event<&TPopupMenu::OnPopup>("OnPopup"),
      });
  return &info;
}

const TClassInfo* TMainMenu::StaticClassInfo() {
  static const TClassInfo info("TMainMenu", TMenu::StaticClassInfo());
  return &info;
}

void TPopupMenu::Popup(int x, int y) {
  OnPopup(this);
  if (!IsLiveComponent(this) || Disposed()) return;
  QtMenu()->popup(QPoint(x, y));
}

}  // namespace vcl
