#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "platform/core/Dispatch.h"
#include "platform/core/Registry.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

const std::string kModule = std::string(VK_BIN_DIR) + "/TestObjects.dll";

class Answer : public AutoObject {
 public:
  explicit Answer(std::string className) : AutoObject(std::move(className)) {
    AddProperty("Origin", [] { return Variant("in process"); });
  }
};

// A registry file of test classes in a folder of its own, put in place for
// the test. The module of the build is registered by its full path, and
// copies of it sit below the folder for the relative-path cases.
class ObjectRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    folder_ = fs::temp_directory_path() / ("vk-objects-" + std::to_string(random()));
    fs::create_directories(folder_ / "mods");
    fs::create_directories(folder_ / "threads");
    fs::copy_file(kModule, folder_ / "mods" / "TestObjects.dll");
    fs::copy_file(kModule, folder_ / "threads" / "TestObjects.dll");

    std::ofstream reg(folder_ / "classes.reg");
    auto entry = [&](const std::string& name, const std::string& library,
                     const std::string& factory) {
      reg << "[HKEY_CLASSES_ROOT\\" << name << "]\n";
      if (!library.empty()) reg << "\"Library\"=\"" << library << "\"\n";
      if (!factory.empty()) reg << "\"Factory\"=\"" << factory << "\"\n";
      reg << "\n";
    };
    entry("Test.Counter", kModule, "CreateTestObject");
    entry("Test.Raising", kModule, "CreateTestObject");
    entry("Test.Refused", kModule, "CreateTestObject");
    entry("Test.Nothing", kModule, "CreateTestObject");
    entry("Test.NoLibrary", "missing/NoSuch.dll", "CreateTestObject");
    entry("Test.NoFactory", kModule, "CreateNothing");
    entry("Test.NoFactoryValue", kModule, "");
    entry("Test.NoLibraryValue", "", "CreateTestObject");
    entry("Test.Counter.Relative", "mods/TestObjects.dll", "CreateTestObject");
    entry("Test.Counter.Fallback", "TestObjects.dll", "CreateTestObject");
    entry("Test.Counter.Threads", "threads/TestObjects.dll", "CreateTestObject");
    reg.close();
    SetRegistryFile((folder_ / "classes.reg").string());
  }

  void TearDown() override {
    SetRegistryFile(std::nullopt);
    UnregisterObjectFactory("Test.Counter");
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  static std::string ModuleOf(const DispatchPtr& object) {
    return GetProperty(Variant(object), "Module").AsString();
  }

  fs::path folder_;
};

TEST_F(ObjectRegistryTest, CreatesRegisteredClassesWhateverTheirCase) {
  for (const char* name : {"Test.Counter", "TEST.COUNTER", "test.counter"}) {
    SCOPED_TRACE(name);
    const DispatchPtr object = CreateOleObject(name);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->ClassName(), name);
    const Variant counter(object);
    EXPECT_EQ(CallMethod(counter, "Add", {5}), Variant(int32_t{5}));
    PutProperty(counter, "Value", 40);
    EXPECT_EQ(CallMethod(counter, "add", {2}), Variant(int32_t{42}));
    EXPECT_TRUE(fs::equivalent(ModuleOf(object), kModule));
  }
}

TEST_F(ObjectRegistryTest, RelativeLibrariesAreFoundBesideRegistryThenProgram) {
  const DispatchPtr relative = CreateOleObject("Test.Counter.Relative");
  EXPECT_TRUE(fs::equivalent(ModuleOf(relative), folder_ / "mods" / "TestObjects.dll"));
  // Not beside the registry file: the copy beside the test program serves.
  const DispatchPtr fallback = CreateOleObject("Test.Counter.Fallback");
  EXPECT_TRUE(fs::equivalent(ModuleOf(fallback), kModule));
}

TEST_F(ObjectRegistryTest, FailuresRaiseTheirOwnErrors) {
  struct Case {
    const char* className;
    const char* kind;  // ClassName() of the error
    std::string message;
    bool exact;  // false: message is a part of the text
  };
  const Case cases[] = {
      {"Test.Unknown", "EOleError", "Invalid class string", true},
      {"", "EOleError", "Invalid class string", true},
      {"Test.NoFactoryValue", "EOleError", "Invalid class string", true},
      {"Test.NoLibraryValue", "EOleError", "Invalid class string", true},
      {"Test.NoLibrary", "EOleError", "missing/NoSuch.dll", false},
      {"Test.NoFactory", "EOleError", "CreateNothing", false},
      {"Test.Nothing", "EOleError", "No object was created for class 'Test.Nothing'", true},
      {"Test.Raising", "EOleException", "Counter service is not available", true},
      {"Test.Refused", "EBadArgument", "Counter refuses to start", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.className);
    for (int attempt = 0; attempt < 2; ++attempt) {  // a failure is not remembered wrongly
      try {
        CreateOleObject(c.className);
        ADD_FAILURE() << "no exception";
      } catch (const EOleError& e) {
        EXPECT_STREQ(e.ClassName(), c.kind);
        if (c.exact) {
          EXPECT_EQ(e.Message(), c.message);
        } else {
          EXPECT_NE(e.Message().find(c.message), std::string::npos) << e.Message();
        }
        if (const auto* ole = dynamic_cast<const EOleException*>(&e)) {
          EXPECT_EQ(ole->Source(), c.className);
        }
      }
    }
  }
}

TEST_F(ObjectRegistryTest, MissingLibraryLoadsOnceItAppears) {
  EXPECT_THROW(CreateOleObject("Test.NoLibrary"), EOleError);
  fs::create_directories(folder_ / "missing");
  fs::copy_file(kModule, folder_ / "missing" / "NoSuch.dll");
  // The factory name asks for a counter's prefix only; this class has none.
  try {
    CreateOleObject("Test.NoLibrary");
    ADD_FAILURE() << "no exception";
  } catch (const EOleError& e) {
    EXPECT_EQ(e.Message(), "No object was created for class 'Test.NoLibrary'");
  }
}

TEST_F(ObjectRegistryTest, InProcessFactoriesComeFirst) {
  int made = 0;
  RegisterObjectFactory("test.COUNTER", [&made] {
    ++made;
    return std::make_shared<Answer>("Test.Counter");
  });
  const DispatchPtr object = CreateOleObject("Test.Counter");
  EXPECT_EQ(made, 1);
  EXPECT_EQ(GetProperty(Variant(object), "Origin"), Variant("in process"));

  RegisterObjectFactory("Test.Counter", []() -> DispatchPtr { throw Exception("not today"); });
  try {
    CreateOleObject("Test.Counter");
    ADD_FAILURE() << "no exception";
  } catch (const EOleException& e) {
    EXPECT_EQ(e.Message(), "not today");
    EXPECT_EQ(e.Source(), "Test.Counter");
  }

  // Unregistered, the class comes from the registry file again.
  UnregisterObjectFactory("TEST.counter");
  EXPECT_TRUE(fs::equivalent(ModuleOf(CreateOleObject("Test.Counter")), kModule));

  RegisterObjectFactory("Only.InProcess",
                        [] { return std::make_shared<Answer>("Only.InProcess"); });
  EXPECT_EQ(CreateOleObject("only.inprocess")->ClassName(), "Only.InProcess");
  UnregisterObjectFactory("Only.InProcess");
  EXPECT_THROW(CreateOleObject("Only.InProcess"), EOleError);
}

TEST_F(ObjectRegistryTest, ThreadsCreateObjectsOfANewLibraryAtOnce) {
  constexpr int kThreads = 8;
  constexpr int kObjects = 20;
  std::atomic<int> created{0};
  std::atomic<int> failed{0};
  std::atomic<bool> go{false};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&] {
      while (!go) std::this_thread::yield();
      for (int i = 0; i < kObjects; ++i) {
        try {
          const DispatchPtr object = CreateOleObject("Test.Counter.Threads");
          CallMethod(Variant(object), "Add", {1});
          ++created;
        } catch (...) {
          ++failed;
        }
      }
    });
  }
  go = true;
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(failed, 0);
  EXPECT_EQ(created, kThreads * kObjects);
  EXPECT_TRUE(fs::equivalent(ModuleOf(CreateOleObject("Test.Counter.Threads")),
                             folder_ / "threads" / "TestObjects.dll"));
}

}  // namespace
}  // namespace platform
