#pragma once

// The world the end-to-end tests run in: one default installation written by
// scripts/install.sh into a temporary folder, the socket server vksocketd
// running on it as a child process, and a headless Qt application. Each test
// chooses the way its host objects reach the server by the registry file it
// puts in place (UseWay).

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/core/Variant.h"
#include "platform/vcl/Forms.h"
#include "suite/db/TestProcesses.h"

namespace pilgarwc::test {

enum class Way {
  InProcess,  // BrantorC.ini names 127.0.0.1: the server object is made here
  Socket,     // BrantorC.ini names localhost and vksocketd's port
};

const char* WayName(Way way);

class Suite {
 public:
  static Suite& Get();

  /* The installation folder (ending in "/"). */
  const std::string& Home() const { return home_; }
  /* The client folder of a way: the installation folder for InProcess,
     a folder of its own (with its BrantorC.ini and the Help pages) for
     Socket. */
  std::string ClientFolder(Way way) const;
  /* The registry file of a way. The socket way's file registers only the
     host object and names no server folder, so a call that did not go
     through the socket fails; the in-process way's BrantorC.ini names a
     port nobody listens on, so a call that tried the socket fails. */
  std::string RegistryFile(Way way) const;
  int Port() const { return port_; }
  std::string DatabaseFile() const { return home_ + "vrk.db"; }

  void SetUp();
  void TearDown();

 private:
  std::unique_ptr<suitedb::TDefaultInstallation> installation_;  // removed at the end
  std::unique_ptr<suitedb::TSocketDaemon> server_;
  std::string home_;
  int port_ = 0;
};

/* Puts the registry file of the way in place for the rest of the test. */
void UseWay(Way way);

/* A fixture that puts the way in place, the GB code page, and no modal hook
   or help opener left over. */
class SuiteTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  /* A new host object by class name, as a plug-in creates it. */
  static platform::Variant NewHost();
  Way way_ = Way::InProcess;
};

/* Answers the next modal windows: each one shown goes to the handler; a
   message dialog is answered with its first button and recorded in
   Messages() unless the handler is asked for dialogs too. */
class ModalAnswers {
 public:
  explicit ModalAnswers(std::function<void(vcl::TCustomForm&)> onForm);
  ~ModalAnswers();
  int Forms() const { return forms_; }
  const std::vector<std::string>& Messages() const { return messages_; }

 private:
  std::function<void(vcl::TCustomForm&)> onForm_;
  int forms_ = 0;
  std::vector<std::string> messages_;
};

/* A component of a form by name and class; fails the test when missing. */
template <class T>
T* Part(vcl::TCustomForm& form, const char* name) {
  auto* part = dynamic_cast<T*>(form.FindComponent(name));
  EXPECT_NE(part, nullptr) << name;
  return part;
}

}  // namespace pilgarwc::test
