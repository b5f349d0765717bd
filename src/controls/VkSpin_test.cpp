#include "controls/VkSpin.h"

#include <gtest/gtest.h>

#include "controls/test/ControlsFixture.h"

namespace {

using controls_test::ControlsTest;
using controls_test::SenderLog;
using VkSpin::TVkSpinEdit;

class VkSpinTest : public ControlsTest {};

struct TypedCase {
  const char* typed;
  const char* shown;
};

TEST_F(VkSpinTest, SignsAfterTheFirstCharacterAreTakenOffAsTheUserTypes) {
  const TypedCase cases[] = {
      {"12-", "12"},                // the edge case: "12-" shows "12"
      {"3+", "3"},   {"-5", "-5"},  // a sign in front stays
      {"+5-", "+5"}, {"7", "7"},
  };
  for (const TypedCase& c : cases) {
    SCOPED_TRACE(c.typed);
    auto* se = Add<TVkSpinEdit>();
    se->SetText("");
    SenderLog changes;
    se->OnChange = changes.Event();
    se->SetFocus();
    vcl::SimulateText(se, c.typed);
    EXPECT_EQ(se->Text(), c.shown);
    // One change event per key, the correction included.
    EXPECT_EQ(changes.senders.size(), std::string(c.typed).size());
  }
}

TEST_F(VkSpinTest, TextsSetFromCodeFollowTheSameRule) {
  auto* se = Add<TVkSpinEdit>();
  SenderLog changes;
  se->OnChange = changes.Event();
  se->SetText("8+");
  EXPECT_EQ(se->Text(), "8");
  EXPECT_EQ(changes.senders.size(), 1u);
  se->SetText("4-+");  // "+" after the first: "4-"; then "-" after the first: "4"
  EXPECT_EQ(se->Text(), "4");
  EXPECT_EQ(changes.senders.size(), 2u);
}

TEST_F(VkSpinTest, ABlankTextRaisesNoChangeEvent) {
  auto* se = Add<TVkSpinEdit>();
  SenderLog changes;
  se->OnChange = changes.Event();
  se->SetText("");
  se->SetText("  ");
  EXPECT_TRUE(changes.senders.empty());
  se->SetText("1");
  EXPECT_EQ(changes.senders.size(), 1u);
}

}  // namespace
