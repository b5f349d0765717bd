// The Qt application the window tests run in: headless, made once; and the
// default installation of the suite the server tests use, made on first use.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "framework/test/Environment.h"

namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override {
    framework_test::Suite::Get().TearDown();
    app_.reset();
  }

 private:
  int argc_ = 1;
  char name_[15] = "framework_test";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
