// The Qt application the job-window tests run in: headless, made once; the
// suite's installation they share is removed at the end.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "jobs/test/JobsSupport.h"

namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override {
    jobs_test::Installation::RemoveIfMade();
    app_.reset();
  }

 private:
  int argc_ = 1;
  char name_[10] = "jobs_test";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
