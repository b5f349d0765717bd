#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/core/Variant.h"
#include "platform/vcl/Classes.h"

namespace vcl {

/* The kinds of published properties. Booleans are enumerations of the type
   "Boolean" (False, True), as on the platform. */
enum class TTypeKind {
  tkInteger,
  tkChar,
  tkEnumeration,
  tkFloat,
  tkString,
  tkSet,
  tkClass,
  tkMethod
};

/* A property could not be found, read or written the way it was asked. */
class EPropertyError : public platform::Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EPropertyError"; }
};

/* Value names of an enumeration type, in order of their values (0, 1, ...). */
struct TEnumInfo {
  std::string TypeName;
  std::vector<std::string> Names;
  /* Value of a name (ignoring case), -1 when absent. */
  int ValueOf(std::string_view name) const;
  /* Name of a value, "" when out of range. */
  std::string NameOf(int64_t value) const;
};

extern const TEnumInfo BooleanInfo;

/* One published property. Getters and setters work on the object the table
   belongs to (or a descendant); a missing setter makes it read-only. The
   functions used depend on Kind: Ord for integer, char, enumeration, set;
   Str for string; Float; Object for class; Method for method. */
struct TPropInfo {
  std::string Name;
  TTypeKind Kind = TTypeKind::tkInteger;
  std::string TypeName;
  const TEnumInfo* Enum = nullptr;            // enumerations; element type of sets
  const std::type_info* EventType = nullptr;  // the TEvent<...> of a method property

  std::function<int64_t(TObject*)> GetOrd;
  std::function<void(TObject*, int64_t)> SetOrd;
  std::function<std::string(TObject*)> GetStr;
  std::function<void(TObject*, const std::string&)> SetStr;
  std::function<double(TObject*)> GetFloat;
  std::function<void(TObject*, double)> SetFloat;
  std::function<TObject*(TObject*)> GetObject;
  std::function<void(TObject*, TObject*)> SetObject;
  std::function<TMethod(TObject*)> GetMethod;
  std::function<void(TObject*, const TMethod&)> SetMethod;

  bool Writable() const;
};

/* A published method: a name and the code MakeEvent would store for it. */
struct TMethodEntry {
  std::string Name;
  void* Code = nullptr;
  const std::type_info* EventType = nullptr;
};

/* Run-time type information of one class: its name, its parent's
   information, the properties and methods it publishes itself. Lookups walk
   the chain, the class's own entries first. */
class TClassInfo {
 public:
  TClassInfo(std::string name, const TClassInfo* parent, std::vector<TPropInfo> properties = {},
             std::vector<TMethodEntry> methods = {});

  const std::string& Name() const { return name_; }
  const TClassInfo* Parent() const { return parent_; }
  /* By name, ignoring case; nullptr when no class of the chain publishes it. */
  const TPropInfo* FindProperty(std::string_view name) const;
  const TMethodEntry* FindMethod(std::string_view name) const;
  const TMethodEntry* FindMethodByCode(void* code) const;
  /* Every property of the chain, the most basic class's first; a property
     published again further down appears once, at its first place. */
  std::vector<const TPropInfo*> Properties() const;
  bool InheritsFrom(std::string_view name) const;

 private:
  std::string name_;
  const TClassInfo* parent_;
  std::vector<TPropInfo> properties_;
  std::vector<TMethodEntry> methods_;
};

// ---------------------------------------------------------------------------
// Builders for property tables. C is the class whose table is being built;
// getters and setters are member functions of C or its ancestors.

template <class C>
struct PropBuilder {
  template <auto Get, auto Set = nullptr>
  static TPropInfo Integer(std::string name, std::string typeName = "Integer") {
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = TTypeKind::tkInteger;
    p.TypeName = std::move(typeName);
    p.GetOrd = [](TObject* o) { return static_cast<int64_t>((static_cast<C*>(o)->*Get)()); };
    if constexpr (!std::is_same_v<decltype(Set), std::nullptr_t>) {
      p.SetOrd = [](TObject* o, int64_t v) {
        using Arg = std::remove_cvref_t<decltype((static_cast<C*>(o)->*Get)())>;
        (static_cast<C*>(o)->*Set)(static_cast<Arg>(v));
      };
    }
    return p;
  }

  template <auto Get, auto Set = nullptr>
  static TPropInfo Char(std::string name) {
    TPropInfo p = Integer<Get, Set>(std::move(name), "Char");
    p.Kind = TTypeKind::tkChar;
    return p;
  }

  template <auto Get, auto Set = nullptr>
  static TPropInfo Bool(std::string name) {
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = TTypeKind::tkEnumeration;
    p.TypeName = "Boolean";
    p.Enum = &BooleanInfo;
    p.GetOrd = [](TObject* o) -> int64_t { return (static_cast<C*>(o)->*Get)() ? 1 : 0; };
    if constexpr (!std::is_same_v<decltype(Set), std::nullptr_t>) {
      p.SetOrd = [](TObject* o, int64_t v) { (static_cast<C*>(o)->*Set)(v != 0); };
    }
    return p;
  }

  template <auto Get, auto Set = nullptr>
  static TPropInfo Enum(std::string name, const TEnumInfo* info) {
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = TTypeKind::tkEnumeration;
    p.TypeName = info->TypeName;
    p.Enum = info;
    p.GetOrd = [](TObject* o) { return static_cast<int64_t>((static_cast<C*>(o)->*Get)()); };
    if constexpr (!std::is_same_v<decltype(Set), std::nullptr_t>) {
      p.SetOrd = [](TObject* o, int64_t v) {
        using Arg = std::remove_cvref_t<decltype((static_cast<C*>(o)->*Get)())>;
        (static_cast<C*>(o)->*Set)(static_cast<Arg>(v));
      };
    }
    return p;
  }

  /* A set property; the value is a bit mask (bit n = element n). */
  template <auto Get, auto Set = nullptr>
  static TPropInfo SetOf(std::string name, std::string typeName, const TEnumInfo* element) {
    TPropInfo p = Integer<Get, Set>(std::move(name), std::move(typeName));
    p.Kind = TTypeKind::tkSet;
    p.Enum = element;
    return p;
  }

  template <auto Get, auto Set = nullptr>
  static TPropInfo String(std::string name, std::string typeName = "string") {
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = TTypeKind::tkString;
    p.TypeName = std::move(typeName);
    p.GetStr = [](TObject* o) { return std::string((static_cast<C*>(o)->*Get)()); };
    if constexpr (!std::is_same_v<decltype(Set), std::nullptr_t>) {
      p.SetStr = [](TObject* o, const std::string& v) { (static_cast<C*>(o)->*Set)(v); };
    }
    return p;
  }

  template <auto Get, auto Set = nullptr>
  static TPropInfo Float(std::string name, std::string typeName = "Double") {
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = TTypeKind::tkFloat;
    p.TypeName = std::move(typeName);
    p.GetFloat = [](TObject* o) { return static_cast<double>((static_cast<C*>(o)->*Get)()); };
    if constexpr (!std::is_same_v<decltype(Set), std::nullptr_t>) {
      p.SetFloat = [](TObject* o, double v) { (static_cast<C*>(o)->*Set)(v); };
    }
    return p;
  }

  /* An object property. Set (optional) takes the object to assign from (for
     example a font or string list is copied with Assign). */
  template <auto Get, auto Set = nullptr>
  static TPropInfo Object(std::string name, std::string typeName) {
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = TTypeKind::tkClass;
    p.TypeName = std::move(typeName);
    p.GetObject = [](TObject* o) -> TObject* { return (static_cast<C*>(o)->*Get)(); };
    if constexpr (!std::is_same_v<decltype(Set), std::nullptr_t>) {
      p.SetObject = [](TObject* o, TObject* v) {
        using Arg = std::remove_cvref_t<decltype((static_cast<C*>(o)->*Get)())>;
        (static_cast<C*>(o)->*Set)(dynamic_cast<Arg>(v));
      };
    }
    return p;
  }

  /* An event held in a data member (TEvent<...>) of C or an ancestor. */
  template <auto Member>
  static TPropInfo Event(std::string name, std::string typeName = "TNotifyEvent") {
    using E = std::remove_cvref_t<decltype(std::declval<C&>().*Member)>;
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = TTypeKind::tkMethod;
    p.TypeName = std::move(typeName);
    p.EventType = &typeid(E);
    p.GetMethod = [](TObject* o) { return (static_cast<C*>(o)->*Member).Method(); };
    p.SetMethod = [](TObject* o, const TMethod& m) {
      static_cast<C*>(o)->*Member = E::FromMethod(m);
    };
    return p;
  }

  /* An event published read-only through a getter returning the TEvent. */
  template <auto Get>
  static TPropInfo ReadOnlyEvent(std::string name, std::string typeName = "TNotifyEvent") {
    using E = std::remove_cvref_t<decltype((std::declval<C&>().*Get)())>;
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = TTypeKind::tkMethod;
    p.TypeName = std::move(typeName);
    p.EventType = &typeid(E);
    p.GetMethod = [](TObject* o) { return (static_cast<C*>(o)->*Get)().Method(); };
    return p;
  }

  /* A published method of C, found by name through MethodAddress. */
  template <auto Method>
  static TMethodEntry PublishedMethod(std::string name) {
    using T = internal::MethodThunk<Method>;
    return TMethodEntry{std::move(name), MethodCode<Method>(), &typeid(typename T::Event)};
  }
};

// ---------------------------------------------------------------------------
// Access by name. Every function takes the object and the property name
// (ignoring case). Unless stated otherwise, an absent object, an unknown
// name, a property of another kind, or writing a read-only property raises
// EPropertyError.

const TPropInfo* GetPropInfo(const TObject* object, std::string_view name);
/* The property only when it has one of the given kinds. */
const TPropInfo* GetPropInfo(const TObject* object, std::string_view name,
                             std::initializer_list<TTypeKind> kinds);
bool IsPublishedProp(const TObject* object, std::string_view name);
TTypeKind PropType(const TObject* object, std::string_view name);

std::string GetStrProp(TObject* object, std::string_view name);
void SetStrProp(TObject* object, std::string_view name, const std::string& value);
/* Integer, char, enumeration (value number) and set (bit mask) properties. */
int64_t GetOrdProp(TObject* object, std::string_view name);
void SetOrdProp(TObject* object, std::string_view name, int64_t value);
/* Enumeration properties by value name; an unknown value name raises. */
std::string GetEnumProp(TObject* object, std::string_view name);
void SetEnumProp(TObject* object, std::string_view name, std::string_view value);
/* Set properties as text "[a,b]". */
std::string GetSetProp(TObject* object, std::string_view name, bool brackets = true);
void SetSetProp(TObject* object, std::string_view name, std::string_view value);
double GetFloatProp(TObject* object, std::string_view name);
void SetFloatProp(TObject* object, std::string_view name, double value);
TObject* GetObjectProp(TObject* object, std::string_view name);
void SetObjectProp(TObject* object, std::string_view name, TObject* value);
TMethod GetMethodProp(TObject* object, std::string_view name);
/* A method whose code was published with another event type raises. */
void SetMethodProp(TObject* object, std::string_view name, const TMethod& value);

/* The property's value as a Variant: text for strings, enumeration value
   names for enumerations (Booleans as Boolean), set text, numbers. */
platform::Variant GetPropValue(TObject* object, std::string_view name);
/* The platform's property-value conversion: strings take the value's text;
   enumerations take a value name or a number; Booleans a Boolean, a number
   or "True"/"False"; sets "[a,b]" or a number; integers a number or an
   identifier registered for the property's type (RegisterIntegerIdents);
   floats a number. Conversion errors raise (EVariantError or EPropertyError). */
void SetPropValue(TObject* object, std::string_view name, const platform::Variant& value);

/* Identifier mappings of integer types (the platform's colour and cursor
   names): used by SetPropValue and available to readers of property texts. */
void RegisterIntegerIdents(const std::string& typeName,
                           std::vector<std::pair<std::string, int64_t>> idents);
bool IdentToInt(std::string_view typeName, std::string_view ident, int64_t& value);
bool IntToIdent(std::string_view typeName, int64_t value, std::string& ident);

}  // namespace vcl
