#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/core/CodePage.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "runtime/RuntimeTestSupport.h"
#include "runtime/TranslatorU.h"

namespace runtime_ui_test {

/* Text in GB and in Big5 bytes (narrow literals are GB already). */
inline std::string GB(std::u16string_view text) { return platform::WideToBytes(text, 936); }
inline std::string Big5(std::u16string_view text) { return platform::WideToBytes(text, 950); }

/* A sandbox with an installation whose client settings name the code pages:
   Configure(system, interface, database). The conversion library is the
   real one beside the test program unless a test points elsewhere; the
   screen's fonts are put back after each test. */
class InstallationTest : public runtime_test::SandboxTest {
 protected:
  void SetUp() override {
    SandboxTest::SetUp();
    for (int i = 0; i < 3; ++i) savedFonts_[i].Assign(ScreenFont(i));
  }
  void TearDown() override {
    for (int i = 0; i < 3; ++i) ScreenFont(i)->Assign(&savedFonts_[i]);
    TranslatorU::SetLibraryFolder(std::nullopt);
    SandboxTest::TearDown();
  }

  void Configure(int systemCodePage, const std::string& uiCodePage,
                 const std::string& dbCodePage) const {
    platform::SetSystemCodePage(systemCodePage);
    SetRegistry(RegValue("ClientPath", Path("install")) + RegValue("ServerPath", Path("server")));
    const std::string settings = "[CodePage]\r\nUICodePage=" + uiCodePage +
                                 "\r\nDBCodePage=" + dbCodePage +
                                 "\r\n[Server Information]\r\nComputerName=127.0.0.1\r\n";
    WriteFile("install/BrantorC.ini", settings);
    WriteFile("server/BrantorS.ini", settings);
  }

  /* Writes a package into the client's language folder of that code. */
  std::string WritePackage(const std::string& languageCode, const std::string& name,
                           const std::string& xml) const {
    return WriteFile("install/MultiLanguage/" + languageCode + "/" + name + ".Lng", xml);
  }

  static vcl::TFont* ScreenFont(int i) {
    return i == 0   ? vcl::Screen->IconFont()
           : i == 1 ? vcl::Screen->HintFont()
                    : vcl::Screen->MenuFont();
  }

 private:
  vcl::TFont savedFonts_[3];
};

}  // namespace runtime_ui_test
