#include "platform/vcl/Classes.h"

#include <algorithm>
#include <unordered_set>

#include "platform/core/SysUtils.h"
#include "platform/vcl/TypInfo.h"

namespace vcl {

namespace {

std::unordered_set<const TComponent*>& LiveComponents() {
  static std::unordered_set<const TComponent*> live;
  return live;
}

bool IsValidIdent(std::string_view name) {
  if (name.empty()) return false;
  auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (!alpha(name[0])) return false;
  for (char c : name)
    if (!alpha(c) && !(c >= '0' && c <= '9')) return false;
  return true;
}

[[noreturn]] void ListIndexError(int index) {
  throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace

bool IsLiveComponent(const TComponent* component) {
  return component && LiveComponents().count(component) > 0;
}

// --- TObject ---------------------------------------------------------------

TObject::~TObject() = default;

const TClassInfo* TObject::StaticClassInfo() {
  static const TClassInfo info("TObject", nullptr);
  return &info;
}

std::string TObject::ClassName() const { return ClassInfo()->Name(); }

const TClassInfo* TObject::ClassParent() const { return ClassInfo()->Parent(); }

bool TObject::InheritsFrom(std::string_view className) const {
  return ClassInfo()->InheritsFrom(className);
}

void* TObject::MethodAddress(std::string_view name) const {
  const TMethodEntry* m = ClassInfo()->FindMethod(name);
  return m ? m->Code : nullptr;
}

std::string TObject::MethodName(void* code) const {
  const TMethodEntry* m = ClassInfo()->FindMethodByCode(code);
  return m ? m->Name : std::string();
}

// --- TPersistent -----------------------------------------------------------

const TClassInfo* TPersistent::StaticClassInfo() {
  static const TClassInfo info("TPersistent", TObject::StaticClassInfo());
  return &info;
}

void TPersistent::Assign(const TPersistent* source) {
  if (source && source->AssignTo(this)) return;
  throw platform::EConvertError("Cannot assign a " +
                                (source ? source->ClassName() : std::string("nil")) + " to a " +
                                ClassName());
}

bool TPersistent::AssignTo(TPersistent*) const { return false; }

// --- TComponent ------------------------------------------------------------

const TClassInfo* TComponent::StaticClassInfo() {
  using P = PropBuilder<TComponent>;
  static const TClassInfo info(
      "TComponent", TPersistent::StaticClassInfo(),
      {
          P::String<&TComponent::Name, &TComponent::SetName>("Name", "TComponentName"),
          P::Integer<&TComponent::Tag, &TComponent::SetTag>("Tag"),
      });
  return &info;
}

TComponent::TComponent(TComponent* owner) {
  LiveComponents().insert(this);
  if (owner) {
    if (owner->Loading()) state_ |= csLoading;
    owner->InsertComponent(this);
  }
}

TComponent::~TComponent() {
  if (!disposed_) DisposeInternal(true);
  LiveComponents().erase(this);
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount()) ListIndexError(index);
  return components_[index];
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  auto& list = owner_->components_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TComponent::SetName(const std::string& name) {
  if (name == name_) return;
  if (!name.empty() && !IsValidIdent(name))
    throw EComponentError("Component name \"" + name + "\" is not valid");
  if (owner_)
    owner_->ValidateRename(this, name_, name);
  else
    ValidateRename(nullptr, name_, name);
  name_ = name;
}

void TComponent::ValidateRename(TComponent* component, const std::string& currentName,
                                const std::string& newName) {
  if (!component || newName.empty() || platform::SameText(currentName, newName)) return;
  TComponent* other = FindComponent(newName);
  if (other && other != component)
    throw EComponentError("A component named " + newName + " already exists");
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_)
    if (platform::SameText(c->name_, name)) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
  if (!component || component->owner_ == this) return;
  if (component->owner_) component->owner_->RemoveComponent(component);
  if (!component->name_.empty()) ValidateRename(component, "", component->name_);
  components_.push_back(component);
  component->owner_ = this;
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  auto it = std::find(components_.begin(), components_.end(), component);
  if (it == components_.end()) return;
  Notification(component, opRemove);
  // The notice may have changed the list; search again.
  it = std::find(components_.begin(), components_.end(), component);
  if (it != components_.end()) components_.erase(it);
  component->owner_ = nullptr;
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
    freeNotifies_.push_back(component);
  if (std::find(component->freeNotifies_.begin(), component->freeNotifies_.end(), this) ==
      component->freeNotifies_.end())
    component->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  std::erase(freeNotifies_, component);
  if (component) std::erase(component->freeNotifies_, this);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component) RemoveFreeNotification(component);
  // Copy: a notice may free or add components.
  std::vector<TComponent*> owned = components_;
  for (TComponent* c : owned)
    if (IsLiveComponent(c) && !c->disposed_) c->Notification(component, operation);
}

void TComponent::SetComponentState(unsigned flags, bool on) {
  if (on)
    state_ |= flags;
  else
    state_ &= ~flags;
}

void TComponent::SetLoadingTree(bool on, std::vector<TComponent*>& out) {
  SetComponentState(csLoading, on);
  for (TComponent* c : components_) c->SetLoadingTree(on, out);
  out.push_back(this);
}

void TComponent::BeginLoad() {
  std::vector<TComponent*> all;
  SetLoadingTree(true, all);
}

void TComponent::EndLoad() {
  std::vector<TComponent*> all;
  SetLoadingTree(false, all);
  for (TComponent* c : all)
    if (IsLiveComponent(c)) c->Loaded();
}

void TComponent::Loaded() {}

void TComponent::AfterConstruction() {}

void TComponent::Free() {
  Dispose();
  delete this;
}

void TComponent::Dispose() {
  if (disposed_) return;
  DisposeInternal(false);
}

void TComponent::DisposeInternal(bool fromDestructor) {
  disposed_ = true;
  state_ |= csDestroying;
  if (!fromDestructor) BeforeDestruction();
  DoDispose();
}

void TComponent::DoDispose() {
  // Whoever asked to be told lets go of this component first.
  std::vector<TComponent*> notifies = freeNotifies_;
  for (TComponent* c : notifies) {
    if (!IsLiveComponent(c)) continue;
    std::erase(c->freeNotifies_, this);
    c->Notification(this, opRemove);
  }
  freeNotifies_.clear();
  // Owned components go last to first, as the platform destroys them.
  while (!components_.empty()) {
    TComponent* c = components_.back();
    components_.pop_back();
    c->owner_ = nullptr;
    c->Free();
  }
  if (owner_) owner_->RemoveComponent(this);
}

// --- TStrings --------------------------------------------------------------

const TClassInfo* TStrings::StaticClassInfo() {
  static const TClassInfo info("TStrings", TPersistent::StaticClassInfo());
  return &info;
}

void TStrings::CheckIndex(int index, int count) const {
  if (index < 0 || index >= count) ListIndexError(index);
}

void TStrings::Put(int index, const std::string& text) {
  TObject* object = GetObject(index);
  Delete(index);
  InsertObject(index, text, object);
}

TObject* TStrings::GetObject(int) const { return nullptr; }
void TStrings::PutObject(int, TObject*) {}

int TStrings::Add(const std::string& text) {
  int index = Count();
  Insert(index, text);
  return index;
}

int TStrings::AddObject(const std::string& text, TObject* object) {
  int index = Add(text);
  PutObject(index, object);
  return index;
}

void TStrings::InsertObject(int index, const std::string& text, TObject* object) {
  Insert(index, text);
  PutObject(index, object);
}

void TStrings::AddStrings(const TStrings* strings) {
  if (!strings) return;
  BeginUpdate();
  for (int i = 0; i < strings->Count(); ++i) AddObject(strings->Get(i), strings->GetObject(i));
  EndUpdate();
}

void TStrings::Exchange(int a, int b) {
  std::string ta = Get(a), tb = Get(b);
  TObject* oa = GetObject(a);
  TObject* ob = GetObject(b);
  BeginUpdate();
  Put(a, tb);
  PutObject(a, ob);
  Put(b, ta);
  PutObject(b, oa);
  EndUpdate();
}

void TStrings::Move(int from, int to) {
  if (from == to) return;
  std::string text = Get(from);
  TObject* object = GetObject(from);
  BeginUpdate();
  Delete(from);
  InsertObject(to, text, object);
  EndUpdate();
}

int TStrings::IndexOf(std::string_view text) const {
  for (int i = 0; i < Count(); ++i)
    if (platform::SameText(Get(i), text)) return i;
  return -1;
}

int TStrings::IndexOfName(std::string_view name) const {
  for (int i = 0; i < Count(); ++i) {
    std::string s = Get(i);
    size_t eq = s.find('=');
    if (eq != std::string::npos && platform::SameText(std::string_view(s).substr(0, eq), name))
      return i;
  }
  return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
  for (int i = 0; i < Count(); ++i)
    if (GetObject(i) == object) return i;
  return -1;
}

std::string TStrings::Names(int index) const {
  std::string s = Get(index);
  size_t eq = s.find('=');
  return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

std::string TStrings::Values(std::string_view name) const {
  int i = IndexOfName(name);
  if (i < 0) return {};
  std::string s = Get(i);
  return s.substr(s.find('=') + 1);
}

void TStrings::SetValue(std::string_view name, std::string_view value) {
  int i = IndexOfName(name);
  if (value.empty()) {
    if (i >= 0) Delete(i);
    return;
  }
  std::string line = std::string(name) + "=" + std::string(value);
  if (i < 0)
    Add(line);
  else
    Put(i, line);
}

std::string TStrings::Text() const {
  std::string out;
  for (int i = 0; i < Count(); ++i) {
    out += Get(i);
    out += "\r\n";
  }
  return out;
}

void TStrings::SetText(std::string_view text) {
  platform::StringList parsed;
  parsed.SetText(text);
  BeginUpdate();
  Clear();
  for (int i = 0; i < parsed.Count(); ++i) Add(parsed[i]);
  EndUpdate();
}

std::string TStrings::CommaText() const {
  platform::StringList list;
  for (int i = 0; i < Count(); ++i) list.Add(Get(i));
  return list.CommaText();
}

void TStrings::SetCommaText(std::string_view text) {
  platform::StringList parsed;
  parsed.SetCommaText(text);
  BeginUpdate();
  Clear();
  for (int i = 0; i < parsed.Count(); ++i) Add(parsed[i]);
  EndUpdate();
}

void TStrings::BeginUpdate() {
  if (updateCount_++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

void TStrings::Assign(const TPersistent* source) {
  if (auto* strings = dynamic_cast<const TStrings*>(source)) {
    if (strings == this) return;
    BeginUpdate();
    Clear();
    AddStrings(strings);
    EndUpdate();
    return;
  }
  TPersistent::Assign(source);
}

// --- TStringList -----------------------------------------------------------

const TClassInfo* TStringList::StaticClassInfo() {
  static const TClassInfo info("TStringList", TStrings::StaticClassInfo());
  return &info;
}

void TStringList::Changing() {
  if (!Updating()) OnChanging(this);
}

void TStringList::Changed() {
  if (Updating()) return;
  OnChange(this);
  if (hook_) hook_();
}

void TStringList::SetUpdateState(bool updating) {
  if (updating)
    OnChanging(this);
  else
    Changed();
}

std::string TStringList::Get(int index) const {
  CheckIndex(index, Count());
  return list_[index];
}

void TStringList::Put(int index, const std::string& text) {
  if (Sorted()) throw EStringListError("Operation not allowed on sorted string list");
  CheckIndex(index, Count());
  Changing();
  list_.Set(index, text);
  Changed();
}

TObject* TStringList::GetObject(int index) const {
  CheckIndex(index, Count());
  return reinterpret_cast<TObject*>(list_.Object(index));
}

void TStringList::PutObject(int index, TObject* object) {
  CheckIndex(index, Count());
  Changing();
  list_.SetObject(index, reinterpret_cast<intptr_t>(object));
  Changed();
}

int TStringList::Add(const std::string& text) {
  if (Sorted()) {
    int existing = IndexOf(text);
    if (existing >= 0) {
      if (duplicates_ == dupIgnore) return existing;
      if (duplicates_ == dupError) throw EStringListError("String list does not allow duplicates");
    }
  }
  Changing();
  int index = list_.Add(text);
  Changed();
  return index;
}

void TStringList::Insert(int index, const std::string& text) {
  if (Sorted()) throw EStringListError("Operation not allowed on sorted string list");
  if (index < 0 || index > Count()) ListIndexError(index);
  Changing();
  list_.Insert(index, text);
  Changed();
}

void TStringList::Delete(int index) {
  CheckIndex(index, Count());
  Changing();
  list_.Delete(index);
  Changed();
}

void TStringList::Clear() {
  if (Count() == 0) return;
  Changing();
  list_.Clear();
  Changed();
}

int TStringList::IndexOf(std::string_view text) const { return list_.IndexOf(text); }

void TStringList::SetText(std::string_view text) {
  BeginUpdate();
  list_.Clear();
  platform::StringList parsed;
  parsed.SetText(text);
  for (int i = 0; i < parsed.Count(); ++i) Add(parsed[i]);
  EndUpdate();
}

void TStringList::SetSorted(bool sorted) {
  if (sorted == Sorted()) return;
  Changing();
  list_.SetSorted(sorted);
  Changed();
}

void TStringList::SetDuplicates(TDuplicates duplicates) {
  duplicates_ = duplicates;
  list_.SetDuplicates(duplicates == dupAccept  ? platform::StringList::Duplicates::Accept
                      : duplicates == dupError ? platform::StringList::Duplicates::Error
                                               : platform::StringList::Duplicates::Ignore);
}

void TStringList::Sort() {
  if (Sorted()) return;
  Changing();
  list_.SetSorted(true);
  list_.SetSorted(false);
  Changed();
}

// --- TCollection -----------------------------------------------------------

const TClassInfo* TCollectionItem::StaticClassInfo() {
  using P = PropBuilder<TCollectionItem>;
  static const TClassInfo info("TCollectionItem", TPersistent::StaticClassInfo(),
                               {P::Integer<&TCollectionItem::Index>("Index")});
  return &info;
}

TCollectionItem::TCollectionItem(TCollection* collection) : collection_(collection) {
  if (collection_) collection_->AddItem(this);
}

TCollectionItem::~TCollectionItem() {
  if (collection_) collection_->RemoveItem(this);
}

int TCollectionItem::Index() const {
  if (!collection_) return -1;
  auto& items = collection_->items_;
  auto it = std::find(items.begin(), items.end(), this);
  return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void TCollectionItem::Changed() {
  if (collection_ && collection_->updateCount_ == 0) collection_->Update(this);
}

const TClassInfo* TCollection::StaticClassInfo() {
  static const TClassInfo info("TCollection", TPersistent::StaticClassInfo());
  return &info;
}

TCollection::~TCollection() {
  for (TCollectionItem* item : items_) {
    item->collection_ = nullptr;
    delete item;
  }
  items_.clear();
}

TCollectionItem* TCollection::Items(int index) const {
  if (index < 0 || index >= Count()) ListIndexError(index);
  return items_[index];
}

void TCollection::AddItem(TCollectionItem* item) {
  // The item is not whole yet: whoever made it tells of it (Changed).
  items_.push_back(item);
}

void TCollection::Changed(TCollectionItem* item) {
  if (updateCount_ == 0) Update(item);
}

void TCollection::RemoveItem(TCollectionItem* item) {
  std::erase(items_, item);
  item->collection_ = nullptr;
  if (updateCount_ == 0) Update(nullptr);
}

void TCollection::Delete(int index) { delete Items(index); }

void TCollection::Clear() {
  if (items_.empty()) return;
  BeginUpdate();
  while (!items_.empty()) delete items_.back();
  EndUpdate();
}

void TCollection::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) Update(nullptr);
}

}  // namespace vcl
