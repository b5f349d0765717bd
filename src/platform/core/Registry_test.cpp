#include "platform/core/Registry.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>

#include "platform/core/CodePage.h"
#include "platform/core/test/CoreTestSupport.h"

namespace platform {
namespace {

const std::string kData = VK_TEST_DATA_DIR "/";

// Points the registry at a file for one test, in a code page of its choice.
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { SetSystemCodePage(936); }
  void TearDown() override {
    SetRegistryFile(std::nullopt);
    SetSystemCodePage(std::nullopt);
  }
  // A file of the given bytes in the test's temporary folder.
  std::string TempFile(const std::string& name, const std::string& bytes) {
    return folder_.Write(name, bytes);
  }
  test::TTempFolder folder_{"registry"};
};

struct Lookup {
  RegRoot root;
  const char* key;
  const char* name;
  bool exists;
  const char* text;
  std::optional<int32_t> number;
};

const Lookup kSuiteLookups[] = {
    // Key paths and value names in any case; the key written in two places
    // gives the values of both, a value written twice the later one.
    {RegRoot::LocalMachine, "Software\\VRK\\Brantor", "ClientPath", true, "/opt/vrk/client/", {}},
    {RegRoot::LocalMachine, "\\SOFTWARE\\vrk\\brantor", "clientpath", true, "/opt/vrk/client/", {}},
    {RegRoot::LocalMachine, "Software/VRK/Brantor", "SERVERPATH", true, "/opt/vrk/server/", {}},
    {RegRoot::LocalMachine, "Software\\VRK\\Brantor", "Merged", true, "from the second place", {}},
    {RegRoot::LocalMachine, "Software\\VRK\\Brantor", "Twice", true, "second", {}},
    {RegRoot::LocalMachine, "Software\\VRK\\Brantor", "ProfileType", true, "0", 0},
    // Dword values: numbers, never strings.
    {RegRoot::LocalMachine, "Software\\VRK\\Brantor", "ServerPort", true, "", 211},
    {RegRoot::LocalMachine, "Software\\VRK\\Brantor", "Negative", true, "", -1},
    {RegRoot::LocalMachine, "Software\\VRK\\Brantor", "Short", true, "", 7},
    // Escapes; a backslash before anything else stays as written.
    {RegRoot::LocalMachine, "Software\\VRK\\Brantor", "Quoted", true, "say \"hi\"", {}},
    {RegRoot::LocalMachine,
     "Software\\VRK\\Brantor",
     "Escaped",
     true,
     "C:\\Program Files\\VRK\\",
     {}},
    {RegRoot::LocalMachine, "Software\\VRK\\Brantor", "Loose", true, "C:\\Temp\\new", {}},
    {RegRoot::LocalMachine, "Software\\VRK\\Brantor", "spaced name", true, "  padded  ", {}},
    {RegRoot::LocalMachine,
     "Software\\VRK\\Brantor",
     "Indented",
     true,
     "blanks around the equals sign",
     {}},
    // Numbers held in strings.
    {RegRoot::LocalMachine, "Software\\VRK\\Brantor", "Number", true, "42", 42},
    {RegRoot::LocalMachine, "Software\\VRK\\Brantor", "Hex", true, "$10", 16},
    {RegRoot::LocalMachine, "Software\\VRK\\Brantor", "NotNumber", true, "12abc", {}},
    {RegRoot::LocalMachine, "Software\\VRK\\Brantor", "Empty", true, "", {}},
    // GB bytes as written; a double-byte name whose second byte looks like
    // "A" matches only itself, while its "X" still folds.
    {RegRoot::LocalMachine, "Software\\VRK\\Brantor", "Chinese", true, "\xD6\xD0\xCE\xC4", {}},
    {RegRoot::LocalMachine, "Software\\VRK\\Brantor", "\x81\x41x", true, "double-byte name", {}},
    {RegRoot::LocalMachine, "Software\\VRK\\Brantor", "\x81\x61X", false, "", {}},
    // The default value; deleted, skipped and missing values.
    {RegRoot::LocalMachine, "Software\\VRK\\Brantor", "", true, "default value", {}},
    {RegRoot::LocalMachine, "Software\\VRK\\Brantor", "Gone", false, "", {}},
    {RegRoot::LocalMachine, "Software\\VRK\\Brantor", "Binary", false, "", {}},
    {RegRoot::LocalMachine, "Software\\VRK\\Brantor", "Missing", false, "", {}},
    // Other keys and roots.
    {RegRoot::LocalMachine, "Software\\HVNT\\Tobrenwick", "GoAhead", true, " 1 ", {}},
    {RegRoot::LocalMachine, "Software\\Trailing", "Where", true, "trailing separator", {}},
    {RegRoot::ClassesRoot,
     "ReportCounterS.dmReportCounter",
     "Library",
     true,
     "ReportCounterS.so",
     {}},
    {RegRoot::ClassesRoot,
     "reportcounters.DMREPORTCOUNTER",
     "Factory",
     true,
     "CreateReportCounter",
     {}},
    {RegRoot::CurrentUser, "Software\\VRK\\Brantor", "ClientPath", true, "/home/user/vrk/", {}},
};

TEST_F(RegistryTest, LooksUpValuesOfTheSuiteFile) {
  SetRegistryFile(kData + "reg_suite.reg");
  for (const Lookup& c : kSuiteLookups) {
    SCOPED_TRACE(testing::Message() << c.key << " : " << c.name);
    Registry registry(c.root);
    ASSERT_TRUE(registry.OpenKeyReadOnly(c.key));
    EXPECT_EQ(registry.ValueExists(c.name), c.exists);
    EXPECT_EQ(registry.ReadString(c.name), c.text);
    EXPECT_EQ(registry.ReadInteger(c.name), c.number);
  }
}

TEST_F(RegistryTest, WhichKeysExist) {
  SetRegistryFile(kData + "reg_suite.reg");
  const struct {
    RegRoot root;
    const char* key;
    bool exists;
  } cases[] = {
      {RegRoot::LocalMachine, "Software\\VRK\\Brantor", true},
      {RegRoot::LocalMachine, "Software\\Empty\\Key", true},  // a key with no values
      {RegRoot::LocalMachine, "Software\\VRK", true},         // implied by a key below it
      {RegRoot::LocalMachine, "software", true},
      {RegRoot::LocalMachine, "", true},                      // the root
      {RegRoot::LocalMachine, "Software\\VRK\\Bran", false},  // part of a name only
      {RegRoot::LocalMachine, "Software\\VRK\\Brantor\\Sub", false},
      {RegRoot::LocalMachine, "Software\\Removed", false},  // a key to delete
      {RegRoot::LocalMachine, "ReportCounterS.dmReportCounter", false},
      {RegRoot::CurrentUser, "Software\\HVNT\\Tobrenwick", false},
      {RegRoot::ClassesRoot, "ReportCounterS.dmReportCounter", true},
  };
  for (const auto& c : cases) {
    Registry registry(c.root);
    EXPECT_EQ(registry.KeyExists(c.key), c.exists) << c.key;
    EXPECT_EQ(registry.OpenKeyReadOnly(c.key), c.exists) << c.key;
  }
}

TEST_F(RegistryTest, RelativeAndAbsolutePaths) {
  SetRegistryFile(kData + "reg_suite.reg");
  Registry registry;
  EXPECT_EQ(registry.CurrentPath(), "");
  EXPECT_EQ(registry.ReadString("ClientPath"), "");  // no key open

  ASSERT_TRUE(registry.OpenKeyReadOnly("Software"));
  EXPECT_TRUE(registry.KeyExists("VRK\\Brantor"));  // relative to the open key
  EXPECT_FALSE(registry.KeyExists("Software\\VRK"));
  ASSERT_TRUE(registry.OpenKeyReadOnly("VRK\\Brantor"));
  EXPECT_EQ(registry.CurrentPath(), "Software\\VRK\\Brantor");
  EXPECT_EQ(registry.ReadString("ClientPath"), "/opt/vrk/client/");

  // A failed open keeps the key that was open.
  EXPECT_FALSE(registry.OpenKeyReadOnly("\\Software\\Nowhere"));
  EXPECT_EQ(registry.CurrentPath(), "Software\\VRK\\Brantor");
  EXPECT_EQ(registry.ReadString("ClientPath"), "/opt/vrk/client/");

  ASSERT_TRUE(registry.OpenKeyReadOnly("\\Software\\HVNT\\Tobrenwick"));
  EXPECT_EQ(registry.ReadString("GoAhead"), " 1 ");
  EXPECT_FALSE(registry.ValueExists("ClientPath"));

  registry.CloseKey();
  EXPECT_EQ(registry.CurrentPath(), "");
  EXPECT_FALSE(registry.ValueExists("GoAhead"));
  EXPECT_EQ(registry.ReadInteger("GoAhead"), std::nullopt);
  EXPECT_TRUE(registry.OpenKeyReadOnly("Software\\VRK\\Brantor"));  // from the root again
}

TEST_F(RegistryTest, MalformedLinesAreSkipped) {
  SetRegistryFile(kData + "reg_malformed.reg");
  Registry registry;
  ASSERT_TRUE(registry.OpenKeyReadOnly("Software\\Good"));
  EXPECT_EQ(registry.ReadString("Before"), "kept");
  EXPECT_EQ(registry.ReadString("After"), "still kept");
  for (const char* name : {"Unclosed", "NoEquals", "Open", "Junk", "Dword9", "DwordBad",
                           "DwordEmpty", "", "Leak", "Orphan"})
    EXPECT_FALSE(registry.ValueExists(name)) << name;

  EXPECT_FALSE(registry.KeyExists("\\Software\\Broken"));
  EXPECT_FALSE(registry.KeyExists("\\.DEFAULT\\Software"));
  ASSERT_TRUE(registry.OpenKeyReadOnly("\\Software\\Good2"));
  EXPECT_EQ(registry.ReadString("Last"), "no line end after me");

  // Nothing of the broken lines reached the root either.
  ASSERT_TRUE(registry.OpenKeyReadOnly("\\"));
  for (const char* name : {"InEmpty", "InSeparatorOnly", "Orphan", "Other"})
    EXPECT_FALSE(registry.ValueExists(name)) << name;
}

TEST_F(RegistryTest, MissingOrUnreadableFileIsAnEmptyRegistry) {
  for (std::string file : {kData + "reg_no_such_file.reg", std::string(VK_TEST_DATA_DIR)}) {
    SetRegistryFile(file);
    Registry registry;
    EXPECT_FALSE(registry.KeyExists("Software\\VRK\\Brantor")) << file;
    EXPECT_FALSE(registry.OpenKeyReadOnly("Software\\VRK\\Brantor")) << file;
    EXPECT_EQ(registry.ReadString("ClientPath"), "") << file;
  }
}

TEST_F(RegistryTest, Utf16FileIsReadInTheSystemCodePage) {
  SetRegistryFile(kData + "reg_utf16.reg");
  const struct {
    int codePage;
    const char* chinese;
    const char* emoji;
  } cases[] = {
      {936, "\xD6\xD0\xCE\xC4", "a?b"},
      {950, "\xA4\xA4\xA4\xE5", "a?b"},
      {437, "??", "a?b"},
  };
  for (const auto& c : cases) {
    SetSystemCodePage(c.codePage);
    Registry registry;
    ASSERT_TRUE(registry.OpenKeyReadOnly("Software\\VRK\\Brantor")) << c.codePage;
    EXPECT_EQ(registry.ReadString("Chinese"), c.chinese) << c.codePage;
    EXPECT_EQ(registry.ReadString("Emoji"), c.emoji) << c.codePage;
  }
}

TEST_F(RegistryTest, HugeLinesAreReadOrSkippedQuickly) {
  const std::string mib(1 << 20, 'x');
  std::string text = "[HKEY_LOCAL_MACHINE\\Software\\Big]\n";
  text += "\"Long\"=\"" + mib + "\"\n";  // a long value is kept whole
  text += "\"" + mib + "\"=\"long name\"\n";
  text += std::string(1 << 20, '"') + "\n";
  text += "\"Open\"=\"" + mib + "\n";  // a value that never closes
  text += std::string(1 << 20, '\\') + "\n";
  text += "\"After\"=\"ok\"\n";
  text += "[" + mib + "\n";  // a key line that never closes
  text += "\"Lost\"=\"after a key line that never closes\"\n";
  SetRegistryFile(TempFile("big.reg", text));

  auto start = std::chrono::steady_clock::now();
  Registry registry;
  ASSERT_TRUE(registry.OpenKeyReadOnly("Software\\Big"));
  EXPECT_EQ(registry.ReadString("Long"), mib);
  EXPECT_EQ(registry.ReadString(mib), "long name");
  EXPECT_FALSE(registry.ValueExists("Open"));
  EXPECT_EQ(registry.ReadString("After"), "ok");
  EXPECT_FALSE(registry.ValueExists("Lost"));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST_F(RegistryTest, TheFileIsReadWhenAKeyIsOpened) {
  std::string file = TempFile("live.reg", "[HKLM\\Software\\Live]\n\"V\"=\"one\"\n");
  SetRegistryFile(file);
  Registry registry;
  ASSERT_TRUE(registry.OpenKeyReadOnly("Software\\Live"));
  TempFile("live.reg", "[HKLM\\Software\\Live]\n\"V\"=\"two\"\n");
  EXPECT_EQ(registry.ReadString("V"), "one");  // the open key keeps what it read
  ASSERT_TRUE(registry.OpenKeyReadOnly("\\Software\\Live"));
  EXPECT_EQ(registry.ReadString("V"), "two");
}

using test::ScopedEnv;

TEST_F(RegistryTest, WhichFileIsTheRegistry) {
  ScopedEnv home("HOME", "/home/someone");
  {
    ScopedEnv env("VRK_REGISTRY", "/etc/vrk/suite.reg");
    EXPECT_EQ(RegistryFile(), "/etc/vrk/suite.reg");
    SetRegistryFile("/tmp/chosen.reg");
    EXPECT_EQ(RegistryFile(), "/tmp/chosen.reg");
    SetRegistryFile(std::nullopt);
    EXPECT_EQ(RegistryFile(), "/etc/vrk/suite.reg");
  }
  {
    ScopedEnv env("VRK_REGISTRY", nullptr);
    EXPECT_EQ(RegistryFile(), "/home/someone/.config/vrk/registry.reg");
  }
  {
    ScopedEnv env("VRK_REGISTRY", "");
    EXPECT_EQ(RegistryFile(), "/home/someone/.config/vrk/registry.reg");
  }
}

}  // namespace
}  // namespace platform
