// The Qt application a test program of windows and controls runs in:
// headless (QT_QPA_PLATFORM=offscreen, also set by the test runner), made
// once before the first test and gone after the last. Test programs get it
// by linking platform_vcl_test_main.
#include <gtest/gtest.h>

#include <QApplication>
#include <cerrno>
#include <memory>

namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char* argv_[2] = {program_invocation_short_name, nullptr};
  std::unique_ptr<QApplication> app_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
