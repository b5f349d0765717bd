// Automation objects served from a shared library, for the object-registry
// tests. The one factory tells the classes apart by the name it is given
// (without regard to case):
//   Test.Counter and every name that begins with it: an object with a "Value"
//                 property, "Add"(n) and "Module", the path of the library
//                 file that served it;
//   Test.Raising  the factory raises platform::Exception;
//   Test.Refused  the factory raises EBadArgument, an EOleError;
//   anything else the factory gives no object.

#include <dlfcn.h>
#include <strings.h>

#include <string>

#include "platform/core/Dispatch.h"

namespace {

class Counter : public platform::AutoObject {
 public:
  explicit Counter(std::string className) : AutoObject(std::move(className)) {
    using platform::Variant;
    AddProperty(
        "Value", [this] { return Variant(value_); },
        [this](const Variant& v) { value_ = v.AsInteger(); });
    AddMethod("Add", 1, 1, [this](std::vector<Variant>& args) {
      value_ += args[0].AsInteger();
      return Variant(value_);
    });
    AddProperty("Module", [] {
      Dl_info info{};
      dladdr(reinterpret_cast<const void*>(&ModuleMarker), &info);
      return Variant(std::string(info.dli_fname ? info.dli_fname : ""));
    });
  }

 private:
  static void ModuleMarker() {}
  int32_t value_ = 0;
};

}  // namespace

extern "C" __attribute__((visibility("default"))) void CreateTestObject(
    const char* className, platform::DispatchPtr* result) {
  if (strncasecmp(className, "Test.Counter", 12) == 0) {
    *result = std::make_shared<Counter>(className);
  } else if (strcasecmp(className, "Test.Raising") == 0) {
    throw platform::Exception("Counter service is not available");
  } else if (strcasecmp(className, "Test.Refused") == 0) {
    throw platform::EBadArgument("Counter refuses to start");
  } else {
    *result = nullptr;
  }
}
