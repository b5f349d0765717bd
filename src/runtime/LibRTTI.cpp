#include "runtime/LibRTTI.h"

#include "platform/core/Exception.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/TypInfo.h"

namespace LibRTTI {

using vcl::TTypeKind;

namespace {

const vcl::TPropInfo* Find(const vcl::TObject* object, std::string_view name,
                           std::initializer_list<TTypeKind> kinds) {
  if (object == nullptr || name.empty()) return nullptr;
  return vcl::GetPropInfo(object, name, kinds);
}

constexpr std::initializer_list<TTypeKind> kOrdinal = {TTypeKind::tkInteger, TTypeKind::tkChar,
                                                       TTypeKind::tkEnumeration, TTypeKind::tkSet};

}  // namespace

bool HasProperty(const vcl::TObject* object, std::string_view name) {
  return object != nullptr && !name.empty() && vcl::GetPropInfo(object, name) != nullptr;
}

std::string GetTextProp(vcl::TObject* object, std::string_view name) {
  const vcl::TPropInfo* p = Find(object, name, {TTypeKind::tkString});
  return p ? p->GetStr(object) : std::string();
}

void SetTextProp(vcl::TObject* object, std::string_view name, const std::string& value) {
  const vcl::TPropInfo* p = Find(object, name, {TTypeKind::tkString});
  if (p && p->SetStr) p->SetStr(object, value);
}

int64_t GetOrdinalProp(vcl::TObject* object, std::string_view name) {
  const vcl::TPropInfo* p = Find(object, name, kOrdinal);
  return p ? p->GetOrd(object) : 0;
}

void SetOrdinalProp(vcl::TObject* object, std::string_view name, int64_t value) {
  const vcl::TPropInfo* p = Find(object, name, kOrdinal);
  if (p && p->SetOrd) p->SetOrd(object, value);
}

vcl::TObject* GetObjectPropValue(vcl::TObject* object, std::string_view name) {
  const vcl::TPropInfo* p = Find(object, name, {TTypeKind::tkClass});
  return p ? p->GetObject(object) : nullptr;
}

vcl::TMethod GetEventProp(vcl::TObject* object, std::string_view name) {
  const vcl::TPropInfo* p = Find(object, name, {TTypeKind::tkMethod});
  return p ? p->GetMethod(object) : vcl::TMethod{};
}

void SetEventProp(vcl::TObject* object, std::string_view name, const vcl::TMethod& method) {
  if (Find(object, name, {TTypeKind::tkMethod}) == nullptr) return;
  try {
    vcl::SetMethodProp(object, name, method);
  } catch (const platform::Exception&) {
    // Read-only, or a handler of another event type: left as it was.
  }
}

vcl::TComponent* FindPart(vcl::TComponent* owner, std::string_view name) {
  if (owner == nullptr || name.empty()) return nullptr;
  if (vcl::TComponent* owned = owner->FindComponent(name)) return owned;
  if (auto* container = dynamic_cast<vcl::TWinControl*>(owner))
    for (int i = 0; i < container->ControlCount(); ++i)
      if (platform::SameText(container->Controls(i)->Name(), name)) return container->Controls(i);
  return nullptr;
}

void ClickControl(vcl::TControl* control, vcl::WPARAM wParam, vcl::LPARAM lParam) {
  if (control == nullptr) return;
  control->Perform(vcl::WM_LBUTTONDOWN, wParam, lParam);
  control->Perform(vcl::WM_LBUTTONUP, wParam, lParam);
}

}  // namespace LibRTTI
