#include "platform/vcl/Graphics.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QFont>
#include <QTemporaryDir>

#include "platform/vcl/Buttons.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/TypInfo.h"
#include "platform/vcl/test/Fixture.h"

namespace vcl {
namespace {

using test::FormFixture;

TEST(Colors, SystemColoursResolveAndPlainColoursStay) {
  struct Case {
    TColor color;
    TColor rgb;
  };
  const Case cases[] = {
      {clBtnFace, RGB(212, 208, 200)},
      {clWindow, clWhite},
      {clWindowText, clBlack},
      {clRed, 0x0000FF},
      {0xAFFFFF, 0xAFFFFF},
      {clInfoBk, RGB(255, 255, 225)},
      {clHighlight, RGB(10, 36, 106)},
  };
  for (const Case& c : cases) EXPECT_EQ(ColorToRGB(c.color), c.rgb) << c.color;
  // 0x00BBGGRR: the required-field yellow is pale yellow on screen.
  QColor q = ToQColor(0xAFFFFF);
  EXPECT_EQ(q.red(), 0xFF);
  EXPECT_EQ(q.green(), 0xFF);
  EXPECT_EQ(q.blue(), 0xAF);
  TColor named = 0;
  EXPECT_TRUE(IdentToColor("clBtnFace", named));
  EXPECT_EQ(named, clBtnFace);
  std::string ident;
  EXPECT_TRUE(ColorToIdent(clRed, ident));
  EXPECT_EQ(ident, "clRed");
}

TEST(Fonts, HeightAndSizeConvertAtNinetySixPixelsPerInch) {
  struct Case {
    int height;
    int size;
  };
  const Case cases[] = {{-13, 10}, {-12, 9}, {-11, 8}, {-16, 12}};
  for (const Case& c : cases) {
    TFont f;
    f.SetHeight(c.height);
    EXPECT_EQ(f.Size(), c.size) << c.height;
    f.SetSize(c.size);
    EXPECT_EQ(f.Size(), c.size);
  }
  TFont f;
  int changes = 0;
  f.SetChangeHook([&] { ++changes; });
  f.SetCharset(136);
  f.SetCharset(136);
  f.SetStyle(FontStyle(fsBold));
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(f.CodePage(), 950);
  EXPECT_TRUE(f.ToQFont().bold());
}

TEST(Bitmaps, PixelsTransparentColourFormatsAndFiles) {
  TBitmap bmp;
  EXPECT_TRUE(bmp.Empty());
  EXPECT_EQ(bmp.TransparentColor(), clNone);
  bmp.SetSize(4, 3);
  bmp.Canvas()->Brush()->SetColor(clFuchsia);
  bmp.Canvas()->FillRect(Rect(0, 0, 4, 3));
  bmp.SetPixel(1, 1, clNavy);
  EXPECT_EQ(bmp.Pixel(1, 1), clNavy);
  EXPECT_EQ(bmp.TransparentColor(), clFuchsia);  // the bottom-left pixel
  bmp.SetTransparentColor(clNavy);
  EXPECT_EQ(bmp.TransparentMode(), tmFixed);
  EXPECT_EQ(bmp.TransparentColor(), clNavy);

  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const char* ext : {".bmp", ".png"}) {
    std::string file = (QDir(dir.path()).filePath("glyph") + ext).toStdString();
    bmp.SaveToFile(file);
    TBitmap back;
    back.LoadFromFile(file);
    EXPECT_EQ(back.Width(), 4);
    EXPECT_EQ(back.Pixel(1, 1), clNavy) << ext;
    EXPECT_EQ(back.Pixel(0, 0), clFuchsia) << ext;
  }
  TBitmap bad;
  EXPECT_THROW(bad.LoadFromFile((QDir(dir.path()).filePath("missing.bmp")).toStdString()),
               platform::Exception);

  bmp.SetPixelFormat(pf1bit);
  EXPECT_EQ(bmp.Pixel(1, 1), clWhite);
  bmp.SetPixel(2, 2, clBlack);
  bmp.SetPixelFormat(pf24bit);
  EXPECT_EQ(bmp.Pixel(2, 2), clBlack);
}

TEST(ImageLists, StripsAreCutIntoImagesAndCopiedBack) {
  TImageList list(nullptr);
  list.SetWidth(2);
  list.SetHeight(2);
  TBitmap strip;
  strip.SetSize(6, 2);
  for (int i = 0; i < 3; ++i) {
    strip.Canvas()->Brush()->SetColor(i == 0 ? clRed : i == 1 ? clLime : clBlue);
    strip.Canvas()->FillRect(Rect(i * 2, 0, i * 2 + 2, 2));
  }
  EXPECT_EQ(list.Add(&strip), 0);
  EXPECT_EQ(list.Count(), 3);
  TBitmap out;
  ASSERT_TRUE(list.GetBitmap(2, &out));
  EXPECT_EQ(out.Width(), 2);
  EXPECT_EQ(out.Pixel(1, 1), clBlue);
  EXPECT_FALSE(list.GetBitmap(3, &out));
  list.SetWidth(16);  // a new size clears the list
  EXPECT_EQ(list.Count(), 0);
}

class GlyphButtonTest : public FormFixture {};

TEST_F(GlyphButtonTest, AGlyphSetsTheImageCountFromItsShape) {
  struct Case {
    int width, height, before, after;
  };
  const Case cases[] = {{32, 16, 1, 2}, {16, 16, 2, 1}, {80, 16, 2, 1}, {20, 16, 3, 3}};
  for (const Case& c : cases) {
    auto* btn = Add<TBitBtn>();
    btn->SetNumGlyphs(c.before);
    TBitmap glyph;
    glyph.SetSize(c.width, c.height);
    btn->SetGlyph(&glyph);
    EXPECT_EQ(btn->NumGlyphs(), c.after) << c.width;
    auto* sb = Add<TSpeedButton>();
    sb->SetNumGlyphs(c.before);
    sb->Glyph()->SetSize(c.width, c.height);
    EXPECT_EQ(sb->NumGlyphs(), c.after) << c.width;
  }
}

TEST_F(GlyphButtonTest, GroupedSpeedButtonsGoDownOneAtATime) {
  auto* a = Add<TSpeedButton>("sbA");
  auto* b = Add<TSpeedButton>("sbB");
  auto* lone = Add<TSpeedButton>("sbLone");
  a->SetGroupIndex(1);
  b->SetGroupIndex(1);
  a->OnClick = Recorder();
  b->OnClick = Recorder();
  SimulateClick(a);
  EXPECT_TRUE(a->Down());
  SimulateClick(b);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  SimulateClick(b);  // no AllowAllUp: stays down
  EXPECT_TRUE(b->Down());
  b->SetDown(false);  // nor can code put it up
  EXPECT_TRUE(b->Down());
  a->SetAllowAllUp(true);  // shared by the group
  SimulateClick(b);
  EXPECT_FALSE(b->Down());
  EXPECT_EQ(log.entries, (std::vector<std::string>{"sbA", "sbB", "sbB", "sbB"}));
  lone->SetDown(true);  // GroupIndex 0 never stays down
  EXPECT_FALSE(lone->Down());
  // Click from code runs OnClick only.
  a->Click();
  EXPECT_FALSE(a->Down());
  EXPECT_EQ(log.Count(), 5u);
  // A press and release sent as messages work as a user click.
  a->Perform(WM_LBUTTONDOWN, 0, MakeLParam(2, 2));
  a->Perform(WM_LBUTTONUP, 0, MakeLParam(2, 2));
  EXPECT_TRUE(a->Down());
  EXPECT_EQ(log.Count(), 6u);
}

}  // namespace
}  // namespace vcl
