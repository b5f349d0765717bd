#include "platform/core/Dispatch.h"

#include <algorithm>
#include <utility>

namespace platform {

namespace {

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
           return lower(x) == lower(y);
         });
}

Dispatch& ObjectOf(const Variant& object) {
  DispatchPtr dispatch;
  if (object.Type() == VarType::Dispatch) dispatch = object.AsDispatch();
  if (!dispatch) throw EVariantError("Variant is not an automation object");
  return *dispatch;
}

}  // namespace

Dispatch::~Dispatch() = default;

Variant CallMethod(const Variant& object, std::string_view name, std::vector<Variant>& args) {
  return ObjectOf(object).Invoke(name, args);
}

Variant CallMethod(const Variant& object, std::string_view name, std::vector<Variant>&& args) {
  return CallMethod(object, name, args);
}

Variant GetProperty(const Variant& object, std::string_view name) {
  return ObjectOf(object).GetProperty(name);
}

void PutProperty(const Variant& object, std::string_view name, const Variant& value) {
  ObjectOf(object).PutProperty(name, value);
}

struct AutoObject::Member {
  std::string Name;
  int MinArgs = 0;
  int MaxArgs = 0;
  Method Call;  // set for a method
  Getter Get;   // set for a property
  Setter Put;   // set for a writable property
};

AutoObject::AutoObject(std::string className) : className_(std::move(className)) {}
AutoObject::~AutoObject() = default;

void AutoObject::AddMethod(std::string name, int minArgs, int maxArgs, Method method) {
  Member member;
  member.Name = std::move(name);
  member.MinArgs = minArgs;
  member.MaxArgs = maxArgs;
  member.Call = std::move(method);
  members_.push_back(std::move(member));
}

void AutoObject::AddProperty(std::string name, Getter getter, Setter setter) {
  Member member;
  member.Name = std::move(name);
  member.Get = std::move(getter);
  member.Put = std::move(setter);
  members_.push_back(std::move(member));
}

const AutoObject::Member* AutoObject::Find(std::string_view name) const {
  for (const Member& member : members_)
    if (SameName(member.Name, name)) return &member;
  return nullptr;
}

namespace {

// Runs a member. Errors of the call boundary itself pass unchanged; any other
// error is the member's own failure and leaves as EOleException, so that the
// caller can tell the three kinds apart.
template <class F>
auto Guarded(const std::string& className, F&& f) -> decltype(f()) {
  try {
    return f();
  } catch (const EOleError&) {
    throw;
  } catch (const Exception& e) {
    throw EOleException(e.Message(), className);
  } catch (const std::exception& e) {
    throw EOleException(e.what(), className);
  } catch (...) {
    throw EOleException("Exception occurred", className);
  }
}

}  // namespace

Variant AutoObject::Invoke(std::string_view name, std::vector<Variant>& args) {
  const Member* member = Find(name);
  if (!member) throw EUnknownName(std::string(name));
  const int count = static_cast<int>(args.size());
  if (member->Call) {
    if (count < member->MinArgs || count > member->MaxArgs)
      throw EBadArgument("Invalid number of parameters");
    return Guarded(className_, [&] { return member->Call(args); });
  }
  if (count != 0) throw EBadArgument("Invalid number of parameters");
  return Guarded(className_, [&] { return member->Get(); });
}

Variant AutoObject::GetProperty(std::string_view name) {
  const Member* member = Find(name);
  if (!member) throw EUnknownName(std::string(name));
  if (member->Call) {
    if (member->MinArgs > 0) throw EBadArgument("Invalid number of parameters");
    std::vector<Variant> none;
    return Guarded(className_, [&] { return member->Call(none); });
  }
  return Guarded(className_, [&] { return member->Get(); });
}

void AutoObject::PutProperty(std::string_view name, const Variant& value) {
  const Member* member = Find(name);
  if (!member) throw EUnknownName(std::string(name));
  if (!member->Put) throw EBadArgument("Member '" + member->Name + "' cannot be written");
  Guarded(className_, [&] { member->Put(value); });
}

}  // namespace platform
