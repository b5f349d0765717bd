#include "suite/PilgarWorkCenter/test/SuiteEnvironment.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "platform/core/CodePage.h"
#include "platform/core/Dispatch.h"
#include "platform/core/Registry.h"
#include "platform/remote/test/RemoteTestSupport.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/StdCtrls.h"
#include "suite/PilgarWorkCenter/Help.h"

namespace pilgarwc::test {

namespace fs = std::filesystem;

namespace {

void WriteText(const std::string& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + file);
}

std::string ReadText(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The registry value notation of a folder.
std::string RegFolder(const std::string& folder) {
  std::string escaped;
  for (const char c : folder) {
    if (c == '\\' || c == '"') escaped += '\\';
    escaped += c;
  }
  return "\"" + escaped + "\"";
}

// The installation and vksocketd for the whole program; the Qt application
// comes from platform_vcl_test_main.
class Environment : public ::testing::Environment {
 public:
  void SetUp() override { Suite::Get().SetUp(); }
  void TearDown() override { Suite::Get().TearDown(); }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new Environment);

}  // namespace

const char* WayName(Way way) { return way == Way::InProcess ? "InProcess" : "Socket"; }

Suite& Suite::Get() {
  static Suite suite;
  return suite;
}

std::string Suite::ClientFolder(Way way) const {
  return way == Way::InProcess ? home_ : home_ + "socket-client/";
}

std::string Suite::RegistryFile(Way way) const {
  return way == Way::InProcess ? home_ + "registry.reg" : home_ + "socket-client/registry.reg";
}

void Suite::SetUp() {
  // The installation exactly as the script writes it, and vksocketd on it.
  installation_ = std::make_unique<suitedb::TDefaultInstallation>(VK_BIN_DIR, "vk-workcenter");
  home_ = installation_->Home();
  server_ = std::make_unique<suitedb::TSocketDaemon>(std::string(VK_BIN_DIR) + "/vksocketd",
                                                     installation_->RegistryFile());
  port_ = server_->Port();

  // The in-process way: the script's BrantorC.ini (127.0.0.1), with a port
  // nobody listens on.
  std::string client = ReadText(home_ + "BrantorC.ini");
  const size_t portLine = client.find("ServerPort=");
  client.replace(portLine, client.find('\n', portLine) - portLine,
                 "ServerPort=" + std::to_string(platform::remote::test::UnusedPort()));
  WriteText(home_ + "BrantorC.ini", client);

  // The socket way: a client folder of its own whose registry knows the host
  // object only.
  const std::string socketClient = ClientFolder(Way::Socket);
  fs::create_directories(socketClient);
  fs::create_directory_symlink(home_ + "Help", socketClient + "Help");
  WriteText(socketClient + "BrantorC.ini",
            "[Server Information]\nComputerName=localhost\nServerPort=" + std::to_string(port_) +
                "\n[CodePage]\nUICodePage=936\nDBCodePage=936\n");
  WriteText(RegistryFile(Way::Socket),
            "[HKEY_LOCAL_MACHINE\\Software\\VRK\\Brantor]\n\"ClientPath\"=" +
                RegFolder(socketClient) + "\n\"ProfileType\"=\"0\"\n\n" +
                "[HKEY_CLASSES_ROOT\\PilgarWorkCenter.Manager]\n\"Library\"=\"" + VK_BIN_DIR +
                "/PilgarWorkCenter.dll\"\n\"Factory\"=\"CreatePilgarWorkCenter\"\n");
}

void Suite::TearDown() {
  server_.reset();
  platform::SetRegistryFile(std::nullopt);
  installation_.reset();
}

void UseWay(Way way) { platform::SetRegistryFile(Suite::Get().RegistryFile(way)); }

void SuiteTest::SetUp() {
  UseWay(way_);
  platform::SetSystemCodePage(936);
  vcl::ClearShownDialogs();
}

void SuiteTest::TearDown() {
  vcl::Application->SetModalHook(nullptr);
  SetHelpOpener(nullptr);
  platform::SetSystemCodePage(std::nullopt);
  platform::SetRegistryFile(std::nullopt);
}

platform::Variant SuiteTest::NewHost() {
  return platform::Variant(platform::CreateOleObject("PilgarWorkCenter.Manager"));
}

ModalAnswers::ModalAnswers(std::function<void(vcl::TCustomForm&)> onForm)
    : onForm_(std::move(onForm)) {
  vcl::Application->SetModalHook([this](vcl::TCustomForm& form) {
    if (auto* dialog = dynamic_cast<vcl::TMessageForm*>(&form)) {
      messages_.push_back(dialog->Message()->Caption());
      for (int i = 0; i < form.ComponentCount(); ++i)
        if (auto* button = dynamic_cast<vcl::TButton*>(form.Components(i))) {
          button->Click();
          return;
        }
      return;
    }
    ++forms_;
    onForm_(form);
  });
}

ModalAnswers::~ModalAnswers() { vcl::Application->SetModalHook(nullptr); }

}  // namespace pilgarwc::test
