// Server objects for the socket server's tests, served from a shared library
// like the suite's real server modules. Every class name the factory is given
// that begins with "RemoteTest.Echo" gets an Echo object:
//   Echo(x)            returns x
//   Swap(a, b)         exchanges its two arguments, returns "swapped"
//   Add(n)             adds n to the object's total and returns the total
//   Repeat(text, n)    text n times; n must be a number (EBadArgument)
//   Twice(n)           2 * n, reading n as an integer
//   Sleep(ms)          waits, then returns ms
//   Fail(text)         raises platform::Exception(text)
//   Self               returns the object itself (cannot cross a socket)
//   Value              read-write property;  Fixed  read-only property
//   Instances          Echo objects alive in the process
//   ProcessId          the serving process
// Any other name gives no object.

#include <strings.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/core/Dispatch.h"

namespace {

using platform::Variant;

std::atomic<int> liveEchoes{0};

class Echo : public platform::AutoObject, public std::enable_shared_from_this<Echo> {
 public:
  explicit Echo(std::string className) : AutoObject(std::move(className)) {
    ++liveEchoes;
    AddMethod("Echo", 1, 1, [](std::vector<Variant>& args) { return args[0]; });
    AddMethod("Swap", 2, 2, [](std::vector<Variant>& args) {
      std::swap(args[0], args[1]);
      return Variant("swapped");
    });
    AddMethod("Add", 1, 1, [this](std::vector<Variant>& args) {
      total_ += args[0].AsInteger();
      return Variant(total_);
    });
    AddMethod("Repeat", 2, 2, [](std::vector<Variant>& args) {
      if (!args[1].IsNumeric()) throw platform::EBadArgument("Repeat count must be a number");
      std::string text;
      for (int i = 0; i < args[1].AsInteger(); ++i) text += args[0].AsString();
      return Variant(text);
    });
    AddMethod("Twice", 1, 1,
              [](std::vector<Variant>& args) { return Variant(2 * args[0].AsInteger()); });
    AddMethod("Sleep", 1, 1, [](std::vector<Variant>& args) {
      std::this_thread::sleep_for(std::chrono::milliseconds(args[0].AsInteger()));
      return args[0];
    });
    AddMethod("Fail", 1, 1, [](std::vector<Variant>& args) -> Variant {
      throw platform::Exception(args[0].AsString());
    });
    AddMethod("Self", 0, 0, [this](std::vector<Variant>&) {
      return Variant(platform::DispatchPtr(shared_from_this()));
    });
    AddProperty(
        "Value", [this] { return value_; }, [this](const Variant& v) { value_ = v; });
    AddProperty("Fixed", [] { return Variant(int32_t{1}); });
    AddProperty("Instances", [] { return Variant(int32_t{liveEchoes.load()}); });
    AddProperty("ProcessId", [] { return Variant(static_cast<int32_t>(::getpid())); });
  }
  ~Echo() override { --liveEchoes; }

 private:
  int32_t total_ = 0;
  Variant value_;
};

}  // namespace

extern "C" __attribute__((visibility("default"))) void CreateRemoteTestObject(
    const char* className, platform::DispatchPtr* result) {
  if (strncasecmp(className, "RemoteTest.Echo", 15) == 0) {
    *result = std::make_shared<Echo>(className);
  } else {
    *result = nullptr;
  }
}
