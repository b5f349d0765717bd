#include "platform/core/SysUtils.h"

#include <gtest/gtest.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/core/CodePage.h"
#include "platform/core/test/CoreTestSupport.h"

namespace platform {
namespace {

TEST(SysUtilsText, TrimFamilyCutsBlanksAndControlCharactersOnly) {
  const struct {
    std::string text, both, left, right;
  } cases[] = {
      {"", "", "", ""},
      {"   ", "", "", ""},
      {"  a b  ", "a b", "a b  ", "  a b"},
      {"\t\r\n\x01x\x1F", "x", "x\x1F", "\t\r\n\x01x"},
      {"\xA1\xA1x\xA1\xA1", "\xA1\xA1x\xA1\xA1", "\xA1\xA1x\xA1\xA1",
       "\xA1\xA1x\xA1\xA1"},  // GB full-width blank stays
      {std::string("\0a\0", 3), "a", std::string("a\0", 2), std::string("\0a", 2)},
      {" \x7F ", "\x7F", "\x7F ", " \x7F"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Trim(c.text), c.both);
    EXPECT_EQ(TrimLeft(c.text), c.left);
    EXPECT_EQ(TrimRight(c.text), c.right);
  }
}

TEST(SysUtilsText, CaseRulesTouchAsciiLettersOnly) {
  EXPECT_EQ(UpperCase("abcXYZ09_\xE9\xD6\xD0"), "ABCXYZ09_\xE9\xD6\xD0");
  EXPECT_EQ(LowerCase("ABCxyz09_\xC9"), "abcxyz09_\xC9");
  const struct {
    const char* a;
    const char* b;
    int sign;
  } cases[] = {
      {"abc", "ABC", 0}, {"abc", "abd", -1}, {"ab", "abc", -1},
      {"b", "A", 1},     {"", "", 0},        {"a\x80", "A\x7F", 1},  // bytes compare unsigned
      {"_", "a", -1},  // "_" (0x5F) sorts before letters, which fold to lower case
  };
  for (const auto& c : cases) {
    int got = CompareText(c.a, c.b);
    EXPECT_EQ((got > 0) - (got < 0), c.sign) << c.a << " vs " << c.b;
    EXPECT_EQ(SameText(c.a, c.b), c.sign == 0) << c.a << " vs " << c.b;
  }
}

TEST(SysUtilsText, AnsiCaseLeavesTrailBytesOfDoubleByteCharactersAlone) {
  // "\x81\x41" and "\x81\x61" are two different GBK characters whose second
  // bytes look like "A" and "a".
  SetSystemCodePage(936);
  EXPECT_EQ(AnsiLowerCase("AB\x81\x41Z"), "ab\x81\x41z");
  EXPECT_FALSE(AnsiSameText("\x81\x41", "\x81\x61"));
  EXPECT_TRUE(AnsiSameText("Key\xD6\xD0X", "KEY\xD6\xD0x"));
  EXPECT_FALSE(AnsiSameText("ab", "abc"));
  // A lead byte at the very end is left as it is.
  EXPECT_EQ(AnsiLowerCase("A\xD6"), "a\xD6");
  SetSystemCodePage(437);  // no double-byte characters: every letter folds
  EXPECT_TRUE(AnsiSameText("\x81\x41", "\x81\x61"));
  SetSystemCodePage(std::nullopt);
}

TEST(SysUtilsText, PosAndCopyFollowThePlatform) {
  EXPECT_EQ(Pos("b", "abcb"), 2u);
  EXPECT_EQ(Pos("cb", "abcb"), 3u);
  EXPECT_EQ(Pos("x", "abc"), 0u);
  EXPECT_EQ(Pos("", "abc"), 0u);
  EXPECT_EQ(Pos("abcd", "abc"), 0u);

  const struct {
    int64_t index, count;
    const char* result;
  } cases[] = {
      {1, 2, "ab"},
      {2, 100, "bcde"},
      {5, 1, "e"},
      {6, 1, ""},
      {0, 2, "ab"},
      {-5, 3, "abc"},
      {3, 0, ""},
      {3, -1, ""},
      {1, INT64_MAX, "abcde"},
      {INT64_MAX, INT64_MAX, ""},
      {INT64_MIN, 1, "a"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Copy("abcde", c.index, c.count), c.result) << c.index << "," << c.count;
}

TEST(SysUtilsText, StrToIntRules) {
  const struct {
    const char* text;
    std::optional<int32_t> value;
  } cases[] = {
      {"0", 0},
      {"123", 123},
      {"+7", 7},
      {"-42", -42},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"$1F", 31},
      {"$ff", 255},
      {"0x10", 16},
      {"0X7fffffff", 2147483647},
      {"$FFFFFFFF", -1},
      {"0x80000000", INT32_MIN},
      {"$100000000", std::nullopt},
      {"-$10", -16},
      {"-0x1", -1},
      {"", std::nullopt},
      {"-", std::nullopt},
      {"$", std::nullopt},
      {"0x", std::nullopt},
      {" 1", std::nullopt},
      {"1 ", std::nullopt},
      {"1.0", std::nullopt},
      {"12a", std::nullopt},
      {"1F", std::nullopt},
      {"--1", std::nullopt},
      {"0x-1", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TryStrToInt(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(StrToIntDef(c.text, -77), c.value.value_or(-77)) << '"' << c.text << '"';
  }
}

TEST(SysUtilsPaths, NameParts) {
  const struct {
    const char* path;
    const char* folder;
    const char* name;
    const char* ext;
    const char* withIni;
  } cases[] = {
      {"/opt/vrk/BrantorC.ini", "/opt/vrk/", "BrantorC.ini", ".ini", "/opt/vrk/BrantorC.ini"},
      {"PVQR82S.DLL", "", "PVQR82S.DLL", ".DLL", "PVQR82S.ini"},
      {"/a.b/c", "/a.b/", "c", "", "/a.b/c.ini"},
      {"/a/b.tar.gz", "/a/", "b.tar.gz", ".gz", "/a/b.tar.ini"},
      {"/a/", "/a/", "", "", "/a/.ini"},
      {"file.", "", "file.", ".", "file.ini"},
      {".profile", "", ".profile", ".profile", ".ini"},
      {"", "", "", "", ".ini"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(ExtractFilePath(c.path), c.folder);
    EXPECT_EQ(ExtractFileName(c.path), c.name);
    EXPECT_EQ(ExtractFileExt(c.path), c.ext);
    EXPECT_EQ(ChangeFileExt(c.path, ".ini"), c.withIni);
  }
  EXPECT_EQ(ChangeFileExt("/a/b.txt", ""), "/a/b");

  EXPECT_EQ(IncludeTrailingPathDelimiter("/a"), "/a/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("/a/"), "/a/");
  EXPECT_EQ(IncludeTrailingPathDelimiter(""), "/");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/a/"), "/a");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/a//"), "/a/");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/a"), "/a");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/"), "");
}

// A fresh folder under the system's temporary folder, removed afterwards.
class SysUtilsFiles : public ::testing::Test {
 protected:
  void TearDown() override { SetSystemCodePage(std::nullopt); }
  void Write(const std::string& name, std::string_view bytes) { folder_.Write(name, bytes); }
  const test::TTempFolder folder_{"sysutils"};
  const std::string dir_ = folder_.Path();
};

TEST_F(SysUtilsFiles, ExistenceTellsFilesFromFolders) {
  Write("f.txt", "x");
  std::filesystem::create_symlink(dir_ + "f.txt", dir_ + "link");
  std::filesystem::create_symlink(dir_ + "gone", dir_ + "dangling");
  EXPECT_TRUE(FileExists(dir_ + "f.txt"));
  EXPECT_TRUE(FileExists(dir_ + "link"));
  EXPECT_FALSE(FileExists(dir_ + "dangling"));
  EXPECT_FALSE(FileExists(dir_ + "missing"));
  EXPECT_FALSE(FileExists(dir_));
  EXPECT_FALSE(FileExists(""));
  EXPECT_TRUE(DirectoryExists(dir_));
  EXPECT_TRUE(DirectoryExists(ExcludeTrailingPathDelimiter(dir_)));
  EXPECT_FALSE(DirectoryExists(dir_ + "f.txt"));
  EXPECT_FALSE(DirectoryExists(""));
}

TEST_F(SysUtilsFiles, ForceDirectoriesMakesTheWholeChain) {
  EXPECT_TRUE(ForceDirectories(dir_ + "a/b/c"));
  EXPECT_TRUE(DirectoryExists(dir_ + "a/b/c"));
  EXPECT_TRUE(ForceDirectories(dir_ + "a/b/c/"));  // exists already
  Write("plain", "x");
  EXPECT_FALSE(ForceDirectories(dir_ + "plain/sub"));  // a file in the way
  EXPECT_FALSE(ForceDirectories(dir_ + "plain"));
  EXPECT_FALSE(ForceDirectories(""));
}

TEST_F(SysUtilsFiles, ReadTextFileConvertsMarkedFilesToTheSystemCodePage) {
  SetSystemCodePage(936);
  const struct {
    const char* name;
    std::string bytes;
    std::optional<std::string> text;
  } cases[] = {
      {"plain", "a=\xD6\xD0\r\n", "a=\xD6\xD0\r\n"},  // bytes as they are
      {"utf8",
       "\xEF\xBB\xBF"
       "a=\xE4\xB8\xAD\n",
       "a=\xD6\xD0\n"},  // mark dropped, converted
      {"utf16",
       std::string("\xFF\xFE"
                   "a\0=\0\x2D\x4E\n\0",
                   10),
       "a=\xD6\xD0\n"},
      {"odd",
       std::string("\xFF\xFE"
                   "a\0b",
                   5),
       "a"},  // a stray last byte
      {"empty", "", ""},
  };
  for (const auto& c : cases) {
    Write(c.name, c.bytes);
    EXPECT_EQ(ReadTextFile(dir_ + c.name), c.text) << c.name;
  }
  EXPECT_EQ(ReadTextFile(dir_ + "missing"), std::nullopt);
  EXPECT_EQ(ReadTextFile(dir_), std::nullopt);
}

using test::ScopedEnv;

TEST(SysUtilsMachine, TempDirEndsInASeparator) {
  {
    ScopedEnv env("TMPDIR", "/var/tmp/x");
    EXPECT_EQ(TempDir(), "/var/tmp/x/");
  }
  {
    ScopedEnv env("TMPDIR", "/var/tmp/y/");
    EXPECT_EQ(TempDir(), "/var/tmp/y/");
  }
  {
    ScopedEnv env("TMPDIR", "");
    EXPECT_EQ(TempDir(), "/tmp/");
  }
  {
    ScopedEnv env("TMPDIR", nullptr);
    EXPECT_EQ(TempDir(), "/tmp/");
  }
}

TEST(SysUtilsMachine, NamesAndVersion) {
  char host[256] = {};
  ASSERT_EQ(gethostname(host, sizeof host - 1), 0);
  std::string expected = UpperCase(std::string(host).substr(0, std::string(host).find('.')));
  EXPECT_EQ(ComputerName(), expected);
  EXPECT_EQ(ComputerName().find('.'), std::string::npos);

  EXPECT_FALSE(UserName().empty());

  struct utsname info;
  ASSERT_EQ(uname(&info), 0);
  EXPECT_EQ(OSVersionText(), std::string(info.sysname) + " " + info.release + " " + info.machine);
  // Three numbers, the leading ones of the release.
  std::string numbers = OSVersionNumbers();
  ASSERT_EQ(std::count(numbers.begin(), numbers.end(), '.'), 2) << numbers;
  std::string major = numbers.substr(0, numbers.find('.'));
  EXPECT_TRUE(std::string(info.release).starts_with(major + ".")) << info.release;
  EXPECT_EQ(numbers.find_first_not_of("0123456789."), std::string::npos) << numbers;
}

TEST(SysUtilsMachine, ProgramAndModuleFiles) {
  std::string program = ProgramFileName();
  EXPECT_EQ(program, std::filesystem::canonical("/proc/self/exe").string());
  EXPECT_EQ(ExtractFileName(program), "platform_text_test");
  EXPECT_EQ(ProgramFolder(), ExtractFilePath(program));

  // An address in this program, and one in the shared runtime library.
  static int here = 0;
  EXPECT_EQ(ModuleFileName(&here), program);
  std::string library = ModuleFileName(reinterpret_cast<const void*>(&TryStrToInt));
  EXPECT_EQ(ExtractFileName(library), "libvkrtl.so");
  EXPECT_EQ(library[0], '/');
  EXPECT_EQ(ModuleFileName(nullptr), "");
}

}  // namespace
}  // namespace platform
