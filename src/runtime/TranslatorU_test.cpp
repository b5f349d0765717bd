#include "runtime/TranslatorU.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/core/Exception.h"
#include "runtime/UiTestSupport.h"
#include "suite/Vklanguage/Vklanguage.h"

namespace TranslatorU {
namespace {

using runtime_ui_test::Big5;
using runtime_ui_test::GB;

class TranslatorTest : public runtime_ui_test::InstallationTest {};

struct RoundTrip {
  const char* what;
  std::string gb;
  std::string big5;
};

// Simplified forms become traditional ones on the way to Big5 and back.
const RoundTrip kRoundTrips[] = {
    {"one character", "国", Big5(u"國")},
    {"a phrase", "中华人民共和国", Big5(u"中華人民共和國")},
    {"plain ASCII", "OK 123 ;,.", "OK 123 ;,."},
    {"mixed", "abc国家def", "abc" + Big5(u"國家") + "def"},
    {"same form in both", "中文", Big5(u"中文")},
};

TEST_F(TranslatorTest, ConvertsBetweenGBAndBig5BothWays) {
  TTranslator translator;
  for (const RoundTrip& c : kRoundTrips) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(translator.GBToBig5(c.gb), c.big5);
    EXPECT_EQ(translator.Big5ToGB(c.big5), c.gb);
  }
  EXPECT_EQ(translator.Big5ToGB(Big5(u"後臺")), GB(u"后台"));
  EXPECT_EQ(translator.GBToBig5(""), "");
  EXPECT_EQ(translator.Big5ToGB(""), "");
}

TEST_F(TranslatorTest, CharactersTheOtherSideCannotHoldBecomeQuestionMarks) {
  TTranslator translator;
  // "着" keeps its form in the traditional set, and Big5 has no code for it.
  EXPECT_EQ(translator.GBToBig5("着a国"), "?a" + Big5(u"國"));
  // A lead byte cut short is not a character of either side.
  EXPECT_EQ(translator.GBToBig5(std::string("a\x81")), "a?");
  // A few Big5 box-drawing signs have no GB code.
  const std::string sign = Big5(u"\u2574");
  ASSERT_EQ(sign.size(), 2u);
  EXPECT_EQ(translator.Big5ToGB(sign + Big5(u"國")), "?国");
}

TEST_F(TranslatorTest, LongTextsSurviveWhole) {
  TTranslator translator;
  std::string gb;
  std::string big5;
  for (int i = 0; i < 3000; ++i) {
    gb += "国a";
    big5 += Big5(u"國") + "a";
  }
  EXPECT_EQ(translator.GBToBig5(gb), big5);
  EXPECT_EQ(translator.Big5ToGB(big5), gb);
}

// The library's own protocol: a short buffer gets the beginning and the
// full length, bad arguments give -1.
TEST_F(TranslatorTest, LibraryReportsTheLengthItNeeds) {
  void* handle = dlopen(VK_BIN_DIR "/Vklanguage.dll", RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(handle, nullptr) << dlerror();
  auto convert = reinterpret_cast<TVkLanguageConvert>(dlsym(handle, "GBtoBIG5"));
  ASSERT_NE(convert, nullptr);
  const std::string text = "国家";
  const std::string expected = Big5(u"國家");
  char buffer[8] = {};
  EXPECT_EQ(convert(text.data(), static_cast<long>(text.size()), buffer, 2),
            static_cast<long>(expected.size()));
  EXPECT_EQ(std::string(buffer, 2), expected.substr(0, 2));
  EXPECT_EQ(buffer[2], '\0');
  EXPECT_EQ(convert(text.data(), static_cast<long>(text.size()), nullptr, 0),
            static_cast<long>(expected.size()));
  EXPECT_EQ(convert(nullptr, 3, buffer, 8), -1);
  EXPECT_EQ(convert(text.data(), -1, buffer, 8), -1);
  EXPECT_EQ(convert(text.data(), 1, buffer, -1), -1);
  EXPECT_EQ(convert(nullptr, 0, buffer, 8), 0);
  dlclose(handle);
}

struct BrokenLibrary {
  const char* what;
  std::string folder;  // relative to the sandbox, or absolute
  const char* message;
};

TEST_F(TranslatorTest, AMissingLibraryOrEntryPointRaises) {
  WriteFile("empty/readme.txt", "no library here");
  WriteFile("notalibrary/Vklanguage.dll", "MZ this is not a shared object");
  const BrokenLibrary cases[] = {
      {"no library", Path("empty"), "Load Library Vklanguage.dll Error!"},
      {"not a library", Path("notalibrary"), "Load Library Vklanguage.dll Error!"},
      {"no entry points", VK_BROKEN_LIBRARY_DIR "/NoEntryPoints",
       "Get Library Procedure Address Error!"},
      {"one entry point", VK_BROKEN_LIBRARY_DIR "/OneEntryPoint",
       "Get Library Procedure Address Error!"},
  };
  for (const BrokenLibrary& c : cases) {
    SCOPED_TRACE(c.what);
    SetLibraryFolder(c.folder);
    try {
      TTranslator translator;
      ADD_FAILURE() << "no error raised";
    } catch (const platform::Exception& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
  }
  SetLibraryFolder(std::nullopt);
  EXPECT_NO_THROW(TTranslator());
}

}  // namespace
}  // namespace TranslatorU
