#include "platform/vcl/TypInfo.h"

#include <map>
#include <unordered_set>

#include "platform/core/SysUtils.h"

namespace vcl {

namespace {

[[noreturn]] void Unknown(std::string_view name) {
  throw EPropertyError("Property " + std::string(name) + " does not exist");
}

const TPropInfo& Find(const TObject* object, std::string_view name) {
  const TPropInfo* p = GetPropInfo(object, name);
  if (!p) Unknown(name);
  return *p;
}

[[noreturn]] void WrongKind(const TPropInfo& p) {
  throw EPropertyError("Invalid property type: " + p.TypeName);
}

[[noreturn]] void ReadOnly(const TPropInfo& p) {
  throw EPropertyError("Property " + p.Name + " is read-only");
}

bool IsOrdinal(TTypeKind k) {
  return k == TTypeKind::tkInteger || k == TTypeKind::tkChar || k == TTypeKind::tkEnumeration ||
         k == TTypeKind::tkSet;
}

std::map<std::string, std::vector<std::pair<std::string, int64_t>>, std::less<>>& Idents() {
  static std::map<std::string, std::vector<std::pair<std::string, int64_t>>, std::less<>> idents;
  return idents;
}

std::map<void*, const std::type_info*>& PublishedCodes() {
  static std::map<void*, const std::type_info*> codes;
  return codes;
}

std::string SetToText(const TPropInfo& p, int64_t value, bool brackets) {
  std::string out;
  for (size_t i = 0; p.Enum && i < p.Enum->Names.size() && i < 64; ++i) {
    if (value & (int64_t{1} << i)) {
      if (!out.empty()) out += ",";
      out += p.Enum->Names[i];
    }
  }
  return brackets ? "[" + out + "]" : out;
}

int64_t TextToSet(const TPropInfo& p, std::string_view text) {
  std::string t = platform::Trim(text);
  if (!t.empty() && t.front() == '[') t.erase(0, 1);
  if (!t.empty() && t.back() == ']') t.pop_back();
  int64_t value = 0;
  size_t start = 0;
  while (start <= t.size()) {
    size_t comma = t.find(',', start);
    std::string item =
        platform::Trim(t.substr(start, comma == std::string::npos ? comma : comma - start));
    if (!item.empty()) {
      int v = p.Enum ? p.Enum->ValueOf(item) : -1;
      if (v < 0) throw EPropertyError("Invalid property element: " + item);
      value |= int64_t{1} << v;
    }
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return value;
}

}  // namespace

const TEnumInfo BooleanInfo{"Boolean", {"False", "True"}};

int TEnumInfo::ValueOf(std::string_view name) const {
  for (size_t i = 0; i < Names.size(); ++i)
    if (platform::SameText(Names[i], name)) return static_cast<int>(i);
  return -1;
}

std::string TEnumInfo::NameOf(int64_t value) const {
  if (value < 0 || value >= static_cast<int64_t>(Names.size())) return {};
  return Names[static_cast<size_t>(value)];
}

bool TPropInfo::Writable() const {
  switch (Kind) {
    case TTypeKind::tkString:
      return static_cast<bool>(SetStr);
    case TTypeKind::tkFloat:
      return static_cast<bool>(SetFloat);
    case TTypeKind::tkClass:
      return static_cast<bool>(SetObject);
    case TTypeKind::tkMethod:
      return static_cast<bool>(SetMethod);
    default:
      return static_cast<bool>(SetOrd);
  }
}

// --- TClassInfo ------------------------------------------------------------

TClassInfo::TClassInfo(std::string name, const TClassInfo* parent,
                       std::vector<TPropInfo> properties, std::vector<TMethodEntry> methods)
    : name_(std::move(name)),
      parent_(parent),
      properties_(std::move(properties)),
      methods_(std::move(methods)) {
  for (const TMethodEntry& m : methods_)
    if (m.Code && m.EventType) PublishedCodes()[m.Code] = m.EventType;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    for (const TPropInfo& p : c->properties_)
      if (platform::SameText(p.Name, name)) return &p;
  return nullptr;
}

const TMethodEntry* TClassInfo::FindMethod(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    for (const TMethodEntry& m : c->methods_)
      if (platform::SameText(m.Name, name)) return &m;
  return nullptr;
}

const TMethodEntry* TClassInfo::FindMethodByCode(void* code) const {
  if (!code) return nullptr;
  for (const TClassInfo* c = this; c; c = c->parent_)
    for (const TMethodEntry& m : c->methods_)
      if (m.Code == code) return &m;
  return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::Properties() const {
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* c = this; c; c = c->parent_) chain.insert(chain.begin(), c);
  std::vector<const TPropInfo*> out;
  for (const TClassInfo* c : chain) {
    for (const TPropInfo& p : c->properties_) {
      bool replaced = false;
      for (auto& existing : out) {
        if (platform::SameText(existing->Name, p.Name)) {
          existing = &p;  // the descendant's version at the ancestor's place
          replaced = true;
          break;
        }
      }
      if (!replaced) out.push_back(&p);
    }
  }
  return out;
}

bool TClassInfo::InheritsFrom(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    if (platform::SameText(c->name_, name)) return true;
  return false;
}

// --- Access by name --------------------------------------------------------

const TPropInfo* GetPropInfo(const TObject* object, std::string_view name) {
  if (!object || name.empty()) return nullptr;
  return object->ClassInfo()->FindProperty(name);
}

const TPropInfo* GetPropInfo(const TObject* object, std::string_view name,
                             std::initializer_list<TTypeKind> kinds) {
  const TPropInfo* p = GetPropInfo(object, name);
  if (!p) return nullptr;
  for (TTypeKind k : kinds)
    if (p->Kind == k) return p;
  return nullptr;
}

bool IsPublishedProp(const TObject* object, std::string_view name) {
  return GetPropInfo(object, name) != nullptr;
}

TTypeKind PropType(const TObject* object, std::string_view name) { return Find(object, name).Kind; }

std::string GetStrProp(TObject* object, std::string_view name) {
  const TPropInfo& p = Find(object, name);
  if (p.Kind != TTypeKind::tkString) WrongKind(p);
  return p.GetStr(object);
}

void SetStrProp(TObject* object, std::string_view name, const std::string& value) {
  const TPropInfo& p = Find(object, name);
  if (p.Kind != TTypeKind::tkString) WrongKind(p);
  if (!p.SetStr) ReadOnly(p);
  p.SetStr(object, value);
}

int64_t GetOrdProp(TObject* object, std::string_view name) {
  const TPropInfo& p = Find(object, name);
  if (!IsOrdinal(p.Kind)) WrongKind(p);
  return p.GetOrd(object);
}

void SetOrdProp(TObject* object, std::string_view name, int64_t value) {
  const TPropInfo& p = Find(object, name);
  if (!IsOrdinal(p.Kind)) WrongKind(p);
  if (!p.SetOrd) ReadOnly(p);
  p.SetOrd(object, value);
}

std::string GetEnumProp(TObject* object, std::string_view name) {
  const TPropInfo& p = Find(object, name);
  if (p.Kind != TTypeKind::tkEnumeration) WrongKind(p);
  return p.Enum->NameOf(p.GetOrd(object));
}

void SetEnumProp(TObject* object, std::string_view name, std::string_view value) {
  const TPropInfo& p = Find(object, name);
  if (p.Kind != TTypeKind::tkEnumeration) WrongKind(p);
  if (!p.SetOrd) ReadOnly(p);
  int v = p.Enum->ValueOf(platform::Trim(value));
  if (v < 0) throw EPropertyError("Invalid property value: " + std::string(value));
  p.SetOrd(object, v);
}

std::string GetSetProp(TObject* object, std::string_view name, bool brackets) {
  const TPropInfo& p = Find(object, name);
  if (p.Kind != TTypeKind::tkSet) WrongKind(p);
  return SetToText(p, p.GetOrd(object), brackets);
}

void SetSetProp(TObject* object, std::string_view name, std::string_view value) {
  const TPropInfo& p = Find(object, name);
  if (p.Kind != TTypeKind::tkSet) WrongKind(p);
  if (!p.SetOrd) ReadOnly(p);
  p.SetOrd(object, TextToSet(p, value));
}

double GetFloatProp(TObject* object, std::string_view name) {
  const TPropInfo& p = Find(object, name);
  if (p.Kind != TTypeKind::tkFloat) WrongKind(p);
  return p.GetFloat(object);
}

void SetFloatProp(TObject* object, std::string_view name, double value) {
  const TPropInfo& p = Find(object, name);
  if (p.Kind != TTypeKind::tkFloat) WrongKind(p);
  if (!p.SetFloat) ReadOnly(p);
  p.SetFloat(object, value);
}

TObject* GetObjectProp(TObject* object, std::string_view name) {
  const TPropInfo& p = Find(object, name);
  if (p.Kind != TTypeKind::tkClass) WrongKind(p);
  return p.GetObject(object);
}

void SetObjectProp(TObject* object, std::string_view name, TObject* value) {
  const TPropInfo& p = Find(object, name);
  if (p.Kind != TTypeKind::tkClass) WrongKind(p);
  if (!p.SetObject) ReadOnly(p);
  p.SetObject(object, value);
}

TMethod GetMethodProp(TObject* object, std::string_view name) {
  const TPropInfo& p = Find(object, name);
  if (p.Kind != TTypeKind::tkMethod) WrongKind(p);
  return p.GetMethod(object);
}

void SetMethodProp(TObject* object, std::string_view name, const TMethod& value) {
  const TPropInfo& p = Find(object, name);
  if (p.Kind != TTypeKind::tkMethod) WrongKind(p);
  if (!p.SetMethod) ReadOnly(p);
  // A handler published under another event type would be called with the
  // wrong arguments: refuse it.
  auto known = PublishedCodes().find(value.Code);
  if (known != PublishedCodes().end() && p.EventType && *known->second != *p.EventType)
    throw EPropertyError("Method of another type for property " + p.Name);
  p.SetMethod(object, value);
}

platform::Variant GetPropValue(TObject* object, std::string_view name) {
  const TPropInfo& p = Find(object, name);
  switch (p.Kind) {
    case TTypeKind::tkString:
      return platform::Variant(p.GetStr(object));
    case TTypeKind::tkInteger:
    case TTypeKind::tkChar:
      return platform::Variant(static_cast<int32_t>(p.GetOrd(object)));
    case TTypeKind::tkEnumeration:
      if (p.Enum == &BooleanInfo) return platform::Variant(p.GetOrd(object) != 0);
      return platform::Variant(p.Enum->NameOf(p.GetOrd(object)));
    case TTypeKind::tkSet:
      return platform::Variant(SetToText(p, p.GetOrd(object), true));
    case TTypeKind::tkFloat:
      return platform::Variant(p.GetFloat(object));
    default:
      WrongKind(p);
  }
}

void SetPropValue(TObject* object, std::string_view name, const platform::Variant& value) {
  const TPropInfo& p = Find(object, name);
  if (!p.Writable()) ReadOnly(p);
  switch (p.Kind) {
    case TTypeKind::tkString:
      p.SetStr(object, platform::VarToStr(value));
      return;
    case TTypeKind::tkInteger: {
      if (value.IsString()) {
        int64_t v = 0;
        if (IdentToInt(p.TypeName, platform::Trim(value.AsString()), v)) {
          p.SetOrd(object, v);
          return;
        }
      }
      p.SetOrd(object, value.AsInteger());
      return;
    }
    case TTypeKind::tkChar: {
      if (value.IsString()) {
        std::string s = value.AsString();
        p.SetOrd(object, s.empty() ? 0 : static_cast<unsigned char>(s[0]));
      } else {
        p.SetOrd(object, value.AsInteger());
      }
      return;
    }
    case TTypeKind::tkEnumeration: {
      if (p.Enum == &BooleanInfo) {
        p.SetOrd(object, value.AsBoolean() ? 1 : 0);
        return;
      }
      if (value.IsString()) {
        std::string s = platform::Trim(value.AsString());
        int v = p.Enum->ValueOf(s);
        if (v < 0) {
          auto n = platform::TryStrToInt(s);
          if (!n) throw EPropertyError("Invalid property value: " + s);
          v = *n;
        }
        p.SetOrd(object, v);
        return;
      }
      p.SetOrd(object, value.AsInteger());
      return;
    }
    case TTypeKind::tkSet:
      if (value.IsString())
        p.SetOrd(object, TextToSet(p, value.AsString()));
      else
        p.SetOrd(object, value.AsInteger());
      return;
    case TTypeKind::tkFloat:
      p.SetFloat(object, value.AsDouble());
      return;
    default:
      WrongKind(p);
  }
}

void RegisterIntegerIdents(const std::string& typeName,
                           std::vector<std::pair<std::string, int64_t>> idents) {
  Idents()[typeName] = std::move(idents);
}

bool IdentToInt(std::string_view typeName, std::string_view ident, int64_t& value) {
  auto it = Idents().find(typeName);
  if (it == Idents().end()) return false;
  for (auto& [name, v] : it->second)
    if (platform::SameText(name, ident)) {
      value = v;
      return true;
    }
  return false;
}

bool IntToIdent(std::string_view typeName, int64_t value, std::string& ident) {
  auto it = Idents().find(typeName);
  if (it == Idents().end()) return false;
  for (auto& [name, v] : it->second)
    if (v == value) {
      ident = name;
      return true;
    }
  return false;
}

}  // namespace vcl
