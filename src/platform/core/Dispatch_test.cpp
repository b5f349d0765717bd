#include "platform/core/Dispatch.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace platform {
namespace {

// A validation service in the way the windows call one: CheckValue answers
// through its fifth argument.
class Validator : public AutoObject {
 public:
  Validator() : AutoObject("Test.Validator") {
    AddMethod("CheckValue", 5, 5, [this](std::vector<Variant>& args) {
      ++calls;
      const bool known = args[3].AsString() == "P01";
      if (known) args[4] = VarArrayOf({args[3], Variant("Plant one")});
      return Variant(known);
    });
    AddMethod("Optional", 1, 3, [this](std::vector<Variant>& args) {
      ++calls;
      return Variant(static_cast<int32_t>(args.size()));
    });
    AddMethod("Count", 0, 0, [this](std::vector<Variant>&) { return Variant(calls); });
    AddMethod("Fail", 0, 1, [](std::vector<Variant>& args) -> Variant {
      if (args.empty()) throw Exception("Table PURMA is missing");
      throw std::runtime_error("socket closed");
    });
    AddMethod("ToInteger", 1, 1,
              [](std::vector<Variant>& args) { return Variant(args[0].AsInteger()); });
    AddMethod("Refuse", 0, 0,
              [](std::vector<Variant>&) -> Variant { throw EBadArgument("Type mismatch"); });
    AddMethod("CallInner", 0, 0,
              [](std::vector<Variant>&) -> Variant { throw EUnknownName("Inner"); });
    AddProperty(
        "BaseLimited", [this] { return Variant(limited); },
        [this](const Variant& v) { limited = v.AsString(); });
    AddProperty("Version", [] { return Variant(int32_t{3}); });
    AddProperty(
        "Strict", [] { return Variant(true); },
        [](const Variant&) { throw Exception("Strict cannot change"); });
  }

  int32_t calls = 0;
  std::string limited;
};

class DispatchTest : public ::testing::Test {
 protected:
  std::shared_ptr<Validator> validator_ = std::make_shared<Validator>();
  Variant object_{DispatchPtr(validator_)};
};

TEST_F(DispatchTest, OutArgumentsComeBackToTheCaller) {
  std::vector<Variant> args = {"PURMA", "01", "DB1", "P01", Variant()};
  const Variant answer = CallMethod(object_, "checkvalue", args);
  EXPECT_EQ(answer, Variant(true));
  ASSERT_TRUE(args[4].IsArray());
  EXPECT_EQ(args[4][0], Variant("P01"));
  EXPECT_EQ(args[4][1], Variant("Plant one"));

  // A negative answer leaves the out argument as the caller set it.
  std::vector<Variant> other = {"PURMA", "01", "DB1", "X", Variant(int32_t{7})};
  EXPECT_EQ(CallMethod(object_, "CHECKVALUE", other), Variant(false));
  EXPECT_EQ(other[4], Variant(int32_t{7}));
}

TEST_F(DispatchTest, PropertiesAndNoArgumentMethodsReadEitherWay) {
  PutProperty(object_, "baselimited",
              "A\x03"
              "B");
  EXPECT_EQ(validator_->limited,
            "A\x03"
            "B");
  EXPECT_EQ(GetProperty(object_, "BASELIMITED"), Variant("A\x03"
                                                         "B"));
  EXPECT_EQ(CallMethod(object_, "BaseLimited"), Variant("A\x03"
                                                        "B"));
  EXPECT_EQ(CallMethod(object_, "Optional", {1, 2}), Variant(int32_t{2}));
  EXPECT_EQ(GetProperty(object_, "Count"), Variant(int32_t{1}));
  EXPECT_EQ(CallMethod(object_, "Count"), Variant(int32_t{1}));
  EXPECT_EQ(validator_->ClassName(), "Test.Validator");
}

enum class Kind { UnknownName, BadArgument, OleException };

const char* KindName(Kind kind) {
  switch (kind) {
    case Kind::UnknownName:
      return "EUnknownName";
    case Kind::BadArgument:
      return "EBadArgument";
    case Kind::OleException:
      return "EOleException";
  }
  return "";
}

TEST_F(DispatchTest, EachFailureHasItsOwnError) {
  struct Case {
    const char* what;
    std::function<void(const Variant&)> call;
    Kind kind;
    const char* message;  // nullptr: any non-empty text
  };
  const Case cases[] = {
      {"unknown method", [](const Variant& o) { CallMethod(o, "NoSuch"); }, Kind::UnknownName,
       "Method 'NoSuch' not supported by automation object"},
      {"unknown property read", [](const Variant& o) { GetProperty(o, "Colour"); },
       Kind::UnknownName, "Method 'Colour' not supported by automation object"},
      {"unknown property write", [](const Variant& o) { PutProperty(o, "Colour", 1); },
       Kind::UnknownName, "Method 'Colour' not supported by automation object"},
      {"too few",
       [](const Variant& o) {
         CallMethod(o, "CheckValue", {"a", "b", "c", "d"});
       },
       Kind::BadArgument, "Invalid number of parameters"},
      {"too many",
       [](const Variant& o) {
         CallMethod(o, "Optional", {1, 2, 3, 4});
       },
       Kind::BadArgument, "Invalid number of parameters"},
      {"none for at least one", [](const Variant& o) { CallMethod(o, "Optional"); },
       Kind::BadArgument, "Invalid number of parameters"},
      {"read a method needing arguments", [](const Variant& o) { GetProperty(o, "Optional"); },
       Kind::BadArgument, "Invalid number of parameters"},
      {"property called with arguments", [](const Variant& o) { CallMethod(o, "Version", {1}); },
       Kind::BadArgument, "Invalid number of parameters"},
      {"write read-only", [](const Variant& o) { PutProperty(o, "Version", 4); }, Kind::BadArgument,
       "Member 'Version' cannot be written"},
      {"write a method", [](const Variant& o) { PutProperty(o, "count", 4); }, Kind::BadArgument,
       "Member 'Count' cannot be written"},
      {"member refuses its arguments", [](const Variant& o) { CallMethod(o, "Refuse"); },
       Kind::BadArgument, "Type mismatch"},
      {"member raises", [](const Variant& o) { CallMethod(o, "Fail"); }, Kind::OleException,
       "Table PURMA is missing"},
      {"member raises a standard error", [](const Variant& o) { CallMethod(o, "Fail", {1}); },
       Kind::OleException, "socket closed"},
      {"conversion inside the member", [](const Variant& o) { CallMethod(o, "ToInteger", {"x"}); },
       Kind::OleException, nullptr},
      {"setter raises", [](const Variant& o) { PutProperty(o, "Strict", false); },
       Kind::OleException, "Strict cannot change"},
      {"an inner call's error passes as it is",
       [](const Variant& o) { CallMethod(o, "CallInner"); }, Kind::UnknownName,
       "Method 'Inner' not supported by automation object"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const int32_t callsBefore = validator_->calls;
    Kind kind{};
    std::string message;
    try {
      c.call(object_);
      ADD_FAILURE() << "no exception";
      continue;
    } catch (const EUnknownName& e) {
      kind = Kind::UnknownName;
      message = e.Message();
    } catch (const EBadArgument& e) {
      kind = Kind::BadArgument;
      message = e.Message();
    } catch (const EOleException& e) {
      kind = Kind::OleException;
      message = e.Message();
      EXPECT_EQ(e.Source(), "Test.Validator");
    }
    EXPECT_STREQ(KindName(kind), KindName(c.kind));
    if (c.message) {
      EXPECT_EQ(message, c.message);
    } else {
      EXPECT_FALSE(message.empty());
    }
    EXPECT_EQ(validator_->calls, callsBefore) << "the member ran despite a refused call";
  }
}

TEST(DispatchCallTest, NonObjectsRaiseVariantError) {
  const Variant values[] = {Variant(),          Variant::Null(),        Variant(int32_t{1}),
                            Variant("Manager"), Variant(DispatchPtr()), VarArrayOf({1})};
  for (const Variant& value : values) {
    SCOPED_TRACE(VarTypeName(value.Type()));
    for (const auto& call : std::vector<std::function<void()>>{
             [&] { CallMethod(value, "Com_Counter"); }, [&] { GetProperty(value, "BaseLimited"); },
             [&] { PutProperty(value, "BaseLimited", "x"); }}) {
      try {
        call();
        ADD_FAILURE() << "no exception";
      } catch (const EVariantError& e) {
        EXPECT_EQ(e.Message(), "Variant is not an automation object");
      }
    }
  }
}

}  // namespace
}  // namespace platform
