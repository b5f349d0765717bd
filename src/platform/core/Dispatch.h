#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/core/Variant.h"

namespace platform {

/* A late-bound automation object. Names compare without regard to case.

   Invoke calls a method; Args are passed by reference, so a method may change
   them (out arguments come back this way). GetProperty and PutProperty read
   and write a property. Every operation raises:
     EUnknownName   when the object has no member of that name,
     EBadArgument   when the arguments do not fit (count or kind),
     EOleException  when the member itself failed, with its message. */
class Dispatch {
 public:
  virtual ~Dispatch();
  virtual Variant Invoke(std::string_view name, std::vector<Variant>& args) = 0;
  virtual Variant GetProperty(std::string_view name) = 0;
  virtual void PutProperty(std::string_view name, const Variant& value) = 0;
  /* The class name the object was created under (for error texts). */
  virtual std::string ClassName() const = 0;
};

/* Calls by name on a Variant holding a dispatch object. Raise EVariantError
   when the Variant holds no object ("Variant is not an automation object"). */
Variant CallMethod(const Variant& object, std::string_view name, std::vector<Variant>& args);
Variant CallMethod(const Variant& object, std::string_view name, std::vector<Variant>&& args = {});
Variant GetProperty(const Variant& object, std::string_view name);
void PutProperty(const Variant& object, std::string_view name, const Variant& value);

/* A Dispatch whose members are a table of functions, for the objects this
   system implements itself. Errors a member raises that are not already
   EOleError become EOleException with their message and this class name;
   a member that wants to refuse its arguments raises EBadArgument. The
   argument vector the caller passes is the one the member sees, so changes
   to it reach the caller. Writing a method or a read-only property, or
   reading a method that needs arguments, raises EBadArgument. */
class AutoObject : public Dispatch {
 public:
  using Method = std::function<Variant(std::vector<Variant>& args)>;
  using Getter = std::function<Variant()>;
  using Setter = std::function<void(const Variant&)>;

  explicit AutoObject(std::string className);
  ~AutoObject() override;

  Variant Invoke(std::string_view name, std::vector<Variant>& args) override;
  Variant GetProperty(std::string_view name) override;
  void PutProperty(std::string_view name, const Variant& value) override;
  std::string ClassName() const override { return className_; }

 protected:
  /* A method that takes between minArgs and maxArgs arguments; other counts
     raise EBadArgument before the function runs. */
  void AddMethod(std::string name, int minArgs, int maxArgs, Method method);
  /* A property; a missing setter makes it read-only (writing raises
     EBadArgument). A method of no arguments can also be read as a property
     and a property read by Invoke with no arguments. */
  void AddProperty(std::string name, Getter getter, Setter setter = nullptr);

 private:
  struct Member;
  const Member* Find(std::string_view name) const;

  std::string className_;
  std::vector<Member> members_;
};

/* Creates an automation object by class name ("ReportCounterS.dmReportCounter");
   class names compare without regard to case. A factory registered with
   RegisterObjectFactory comes first. Otherwise the registry (Registry.h) key
   HKEY_CLASSES_ROOT\<class name> gives the shared library in its value
   "Library" (relative names are taken from the folder of the registry file,
   then from the running program's folder) and the name of its factory
   function in "Factory". The factory has the form

     extern "C" void Factory(const char* className, platform::DispatchPtr* result);

   The library is loaded on first use and stays loaded; creating objects from
   several threads at once is safe.
   Raises EOleError "Invalid class string" for a class that is not registered
   (or whose key lacks either value), EOleError with the loader's message when
   the library or the factory cannot be found, and EOleError when the factory
   gives no object. An error the factory raises passes unchanged when it is an
   EOleError and becomes EOleException (source: the class name) otherwise. */
DispatchPtr CreateOleObject(std::string_view className);

/* The function type of a factory. */
using ObjectFactory = void (*)(const char* className, DispatchPtr* result);

/* Registers a factory in this process under a class name, ahead of the
   registry (for programs that host their own objects, and for tests). */
void RegisterObjectFactory(std::string className, std::function<DispatchPtr()> factory);
void UnregisterObjectFactory(std::string_view className);

}  // namespace platform
