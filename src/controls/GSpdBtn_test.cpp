#include "controls/GSpdBtn.h"

#include <gtest/gtest.h>

#include <QImage>
#include <stdexcept>

#include "controls/test/ControlsFixture.h"

namespace {

using controls_test::ControlsTest;
using controls_test::FakeGlyphs;
using GSpdBtn::TGSpeedButton;

class GlyphButtonTest : public ControlsTest {};

struct GlyphCase {
  int index;
  const char* caption;
  int width;  // 0: no glyph
  int numGlyphs;
};

TEST_F(GlyphButtonTest, GlyphIndexLoadsTheNumberedGlyphOrKeepsTheNumberAsCaption) {
  const GlyphCase cases[] = {
      {8, "", 16, 1},    // an ordinary glyph
      {4, "", 32, 2},    // 32 x 16: two images
      {0, "0", 0, 1},    // 0: no glyph
      {51, "51", 0, 1},  // above GetMaxBmpID (50): no glyph either
      {50, "", 16, 1},   // the highest number still loads
  };
  for (const GlyphCase& c : cases) {
    SCOPED_TRACE(c.index);
    auto* b = Add<TGSpeedButton>();
    b->SetGlyphIndex(1);  // from another index, so that the setter acts
    b->SetGlyphIndex(c.index);
    EXPECT_EQ(b->GlyphIndex(), c.index);
    EXPECT_EQ(b->Caption(), c.caption);
    EXPECT_EQ(b->Glyph()->Width(), c.width);
    if (c.width) {
      EXPECT_EQ(b->NumGlyphs(), c.numGlyphs);
    }
  }
  EXPECT_TRUE(Messages().empty());
}

TEST_F(GlyphButtonTest, AGlyphThatCannotBeLoadedShowsTheErrorAndKeepsTheNumber) {
  auto* b = Add<TGSpeedButton>();
  b->SetGlyphIndex(8);
  FakeGlyphs::FailingId = 9;
  b->SetGlyphIndex(9);
  EXPECT_EQ(Messages(), std::vector<std::string>{"读取 BMP 发生错误"});
  ASSERT_EQ(vcl::ShownDialogs().size(), 1u);
  EXPECT_EQ(vcl::ShownDialogs()[0].DialogType, vcl::mtError);
  ASSERT_EQ(vcl::ShownDialogs()[0].Buttons.size(), 1u);
  EXPECT_EQ(vcl::ShownDialogs()[0].Buttons[0].Name, "OK");
  EXPECT_EQ(b->GlyphIndex(), 9);
  EXPECT_EQ(b->Caption(), "9");
  EXPECT_TRUE(b->Glyph()->Empty());  // the old glyph 8 does not stay
  EXPECT_FALSE(b->LoadGlyph(9));
}

TEST_F(GlyphButtonTest, ALoaderThatRaisesCountsAsAFailedLoad) {
  static const GSpdBtn::TGlyphLibrary raising{
      [](vcl::TBitmap*, int) -> bool { throw std::runtime_error("bad resource"); },
      [] { return 80; }};
  GSpdBtn::OverrideGlyphLibrary(&raising);
  auto* b = Add<TGSpeedButton>();
  b->SetGlyphIndex(12);
  EXPECT_EQ(Messages(), std::vector<std::string>{"读取 BMP 发生错误"});
  EXPECT_EQ(b->Caption(), "12");
}

TEST_F(GlyphButtonTest, SettingTheCurrentIndexAgainLoadsNothing) {
  auto* b = Add<TGSpeedButton>();
  b->SetGlyphIndex(8);
  b->Glyph()->Clear();
  b->SetGlyphIndex(8);
  EXPECT_TRUE(b->Glyph()->Empty());
  EXPECT_TRUE(b->LoadGlyph(8));  // an explicit load does reload
  EXPECT_FALSE(b->Glyph()->Empty());
}

TEST_F(GlyphButtonTest, WithoutTheLibraryThereAreNoGlyphsAndNoErrors) {
  static const GSpdBtn::TGlyphLibrary none{};
  GSpdBtn::OverrideGlyphLibrary(&none);
  EXPECT_EQ(GSpdBtn::GetMaxBmpID(), 0);
  vcl::TBitmap bitmap;
  EXPECT_FALSE(GSpdBtn::LoadBmp(&bitmap, 8));
  auto* b = Add<TGSpeedButton>();
  b->SetGlyphIndex(8);
  EXPECT_EQ(b->Caption(), "8");
  EXPECT_TRUE(b->Glyph()->Empty());
  EXPECT_TRUE(Messages().empty());
}

// The library built beside the tests, found the way the controls find it.
TEST(GlyphLibraryTest, TheGlyphLibraryIsFoundBesideTheProgramAndDrawsEveryNumber) {
  GSpdBtn::OverrideGlyphLibrary(nullptr);
  const GSpdBtn::TGlyphLibrary& lib = GSpdBtn::GlyphLibrary();
  ASSERT_NE(lib.LoadBmp, nullptr) << "PgResD5.dll not found in " VK_BIN_DIR;
  ASSERT_NE(lib.GetMaxBmpID, nullptr);
  int max = GSpdBtn::GetMaxBmpID();
  EXPECT_GE(max, 63);
  for (int n = 1; n <= max; ++n) {
    SCOPED_TRACE(n);
    vcl::TBitmap bitmap;
    ASSERT_TRUE(GSpdBtn::LoadBmp(&bitmap, n));
    EXPECT_EQ(bitmap.Height(), 16);
    EXPECT_EQ(bitmap.Width(), n == 4 ? 32 : 16);
    // The ground reaches the bottom-left pixel, the buttons' transparent colour.
    EXPECT_EQ(bitmap.TransparentColor(), vcl::clFuchsia);
  }
  vcl::TBitmap bitmap;
  EXPECT_FALSE(GSpdBtn::LoadBmp(&bitmap, 0));
  EXPECT_FALSE(GSpdBtn::LoadBmp(&bitmap, max + 1));
  EXPECT_FALSE(GSpdBtn::LoadBmp(nullptr, 8));
}

TEST(GlyphLibraryTest, PictogramsAndNumberTilesAreToldApart) {
  GSpdBtn::OverrideGlyphLibrary(nullptr);
  auto image = [](int n) {
    vcl::TBitmap b;
    GSpdBtn::LoadBmp(&b, n);
    return b.Image();
  };
  // Tiles differ by their number; the pictograms are not tiles.
  EXPECT_NE(image(10), image(11));
  for (int n : {8, 9, 44, 47, 61, 63}) {
    SCOPED_TRACE(n);
    EXPECT_NE(image(n), image(10));
  }
  // The clear glyph's second image is the greyed one: no colour in it.
  QImage clear = image(4);
  bool coloured = false, grey = true;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      QColor left = clear.pixelColor(x, y), right = clear.pixelColor(x + 16, y);
      if (left != QColor(255, 0, 255) && left.saturation() > 60) coloured = true;
      if (right != QColor(255, 0, 255) && right.saturation() > 10) grey = false;
    }
  }
  EXPECT_TRUE(coloured);
  EXPECT_TRUE(grey);
}

}  // namespace
