// The wait window: how it looks, where it appears and its animation.

#include <gtest/gtest.h>

#include "platform/vcl/Forms.h"
#include "report/RunningWinCF.h"
#include "report/test/ReportTestSupport.h"

namespace ReportTest {
namespace {

using RunningWinCF::TfrmRunningWinC;

class RunningWinTest : public ReportWindowTest {};

TEST_F(RunningWinTest, LooksLikeASmallAquaNoteWithAStillAnimation) {
  TfrmRunningWinC* wait = vcl::Create<TfrmRunningWinC>(nullptr);
  EXPECT_EQ(wait->ClassName(), "TfrmRunningWinC");
  EXPECT_EQ(wait->BorderStyle(), vcl::bsNoneForm);
  EXPECT_EQ(wait->Color(), vcl::clAqua);
  EXPECT_EQ(wait->ClientWidth(), 158);
  EXPECT_EQ(wait->ClientHeight(), 51);
  EXPECT_EQ(wait->Caption(), "报表开启中，请稍候...");
  EXPECT_EQ(wait->Font()->Name(), "宋体");
  EXPECT_EQ(wait->Label1->Caption(), "报表开启中，请稍候...");
  EXPECT_EQ(wait->Label1->Font()->Color(), vcl::clRed);
  EXPECT_EQ(wait->Label1->Font()->Name(), "宋体");
  EXPECT_EQ(wait->Animate1->Width(), 16);
  EXPECT_EQ(wait->Animate1->Height(), 16);
  EXPECT_EQ(wait->Animate1->CommonAVI(), vcl::aviFindFile);
  EXPECT_EQ(TfrmRunningWinC::kStopFrame, 8);
  EXPECT_FALSE(wait->Animate1->Active());
  wait->Free();
}

TEST_F(RunningWinTest, SetActiveStartsAndStopsTheAnimation) {
  TfrmRunningWinC* wait = vcl::Create<TfrmRunningWinC>(nullptr);
  for (bool on : {true, true, false, true, false, false}) {
    wait->SetActive(on);
    EXPECT_EQ(wait->Animate1->Active(), on);
  }
  wait->Free();
}

TEST_F(RunningWinTest, AppearsCentredOnItsOwner) {
  auto* report = OpenReport();
  ASSERT_TRUE(Initialized);
  report->SetBounds(100, 50, 600, 460);
  TfrmRunningWinC* wait = vcl::Create<TfrmRunningWinC>(report);
  wait->Show();
  EXPECT_EQ(wait->Left(), 100 + (600 - wait->Width()) / 2);
  EXPECT_EQ(wait->Top(), 50 + (460 - wait->Height()) / 2);
  wait->Free();
}

}  // namespace
}  // namespace ReportTest
