#include "framework/test/Environment.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace framework_test {

namespace fs = std::filesystem;

namespace {

std::string ReadText(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const std::string& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + file);
}

}  // namespace

Suite& Suite::Get() {
  static Suite suite;
  return suite;
}

void Suite::Start() {
  if (installation_) return;
  installation_ = std::make_unique<suitedb::TDefaultInstallation>(VK_BIN_DIR, "vk-framework");
  server_ = std::make_unique<suitedb::TSocketDaemon>(std::string(VK_BIN_DIR) + "/vksocketd",
                                                     installation_->RegistryFile());
}

std::string Suite::ClientRegistry(const std::string& address, int port) {
  Start();
  const std::string& home = installation_->Home();
  const std::string client = home + "client" + std::to_string(++clients_) + "/";
  fs::create_directories(client);
  WriteText(client + "BrantorC.ini", "[Server Information]\nComputerName=" + address +
                                         "\nServerPort=" + std::to_string(port) +
                                         "\n[CodePage]\nUICodePage=936\nDBCodePage=936\n");
  // The installation's registry file with this client folder in place of
  // the installation's own.
  std::string registry = ReadText(installation_->RegistryFile());
  const std::string key = "\"ClientPath\"=\"" + home + "\"";
  const size_t at = registry.find(key);
  if (at == std::string::npos) throw std::runtime_error("no ClientPath in the registry file");
  registry.replace(at, key.size(), "\"ClientPath\"=\"" + client + "\"");
  WriteText(client + "registry.reg", registry);
  return client + "registry.reg";
}

void Suite::TearDown() {
  server_.reset();
  installation_.reset();
  clients_ = 0;
}

}  // namespace framework_test
