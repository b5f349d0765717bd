#include "controls/BtChkBox.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "controls/test/ControlsFixture.h"
#include "platform/vcl/StdCtrls.h"

namespace {

using BtChkBox::TBitCheckBox;
using controls_test::ControlsTest;
using controls_test::SenderLog;

class BitCheckBoxTest : public ControlsTest {};

TEST_F(BitCheckBoxTest, ANewBoxIsAnUncheckedTabStopWithItsOwnStateImages) {
  auto* box = Add<TBitCheckBox>();
  EXPECT_EQ(box->Width(), 97);
  EXPECT_EQ(box->Height(), 17);
  EXPECT_EQ(box->State(), vcl::cbUnchecked);
  EXPECT_TRUE(box->TabStop());
  EXPECT_EQ(box->Alignment(), vcl::taRightJustify);
  for (vcl::TBitmap* g : {box->CheckedGlyph(), box->UncheckedGlyph(), box->GrayedGlyph()}) {
    EXPECT_EQ(g->Width(), 13);
    EXPECT_EQ(g->Height(), 13);
  }
  EXPECT_NE(box->CheckedGlyph()->Image(), box->UncheckedGlyph()->Image());
  EXPECT_NE(box->CheckedGlyph()->Image(), box->GrayedGlyph()->Image());
  EXPECT_EQ(box->CheckedNumGlyphs(), 1);
}

struct CycleCase {
  bool allowGrayed;
  std::vector<vcl::TCheckBoxState> states;
};

TEST_F(BitCheckBoxTest, ClicksAdvanceTheStateRaiseOnClickAndTakeTheFocus) {
  const CycleCase cases[] = {
      {true, {vcl::cbGrayed, vcl::cbChecked, vcl::cbUnchecked}},
      {false, {vcl::cbChecked, vcl::cbUnchecked, vcl::cbChecked}},
  };
  auto* elsewhere = Add<vcl::TEdit>();
  for (const CycleCase& c : cases) {
    SCOPED_TRACE(c.allowGrayed);
    auto* box = Add<TBitCheckBox>();
    box->SetAllowGrayed(c.allowGrayed);
    SenderLog clicks;
    box->OnClick = clicks.Event();
    elsewhere->SetFocus();
    vcl::SimulateClick(box);  // the mouse
    EXPECT_EQ(box->State(), c.states[0]);
    EXPECT_TRUE(box->Focused());
    vcl::SimulateKey(box, vcl::VK_SPACE);  // the space key
    EXPECT_EQ(box->State(), c.states[1]);
    box->Click();  // a click from code
    EXPECT_EQ(box->State(), c.states[2]);
    EXPECT_EQ(clicks.senders.size(), 3u);
  }
}

TEST_F(BitCheckBoxTest, StatesSetFromCodeRaiseNothing) {
  auto* box = Add<TBitCheckBox>();
  SenderLog clicks;
  box->OnClick = clicks.Event();
  box->SetChecked(true);
  EXPECT_EQ(box->State(), vcl::cbChecked);
  box->SetState(vcl::cbGrayed);
  EXPECT_FALSE(box->Checked());
  box->SetChecked(false);
  EXPECT_EQ(box->State(), vcl::cbUnchecked);
  EXPECT_TRUE(clicks.senders.empty());
}

TEST_F(BitCheckBoxTest, TheAcceleratorFocusesAndAdvancesWithoutOnClick) {
  auto* ed = Add<vcl::TEdit>();
  auto* box = Add<TBitCheckBox>();
  box->SetCaption("显示讯息(&M)");
  SenderLog clicks;
  box->OnClick = clicks.Event();
  ed->SetFocus();
  vcl::SimulateKey(ed, 'M', vcl::ssAlt);
  EXPECT_TRUE(box->Focused());
  EXPECT_TRUE(box->Checked());
  EXPECT_TRUE(clicks.senders.empty());
  // A disabled box does not answer its key.
  box->SetEnabled(false);
  ed->SetFocus();
  vcl::SimulateKey(ed, 'M', vcl::ssAlt);
  EXPECT_TRUE(box->Checked());
  EXPECT_TRUE(ed->Focused());
}

struct CountCase {
  int width, height;
  int count;  // expected image count
};

TEST_F(BitCheckBoxTest, ImageCountsFollowTheBitmapWithinOneAndTwo) {
  const CountCase cases[] = {
      {16, 16, 1},
      {32, 16, 2},
      {48, 16, 2},  // three images still count as two
      {20, 16, 2},  // not a multiple: the count stays
  };
  auto* box = Add<TBitCheckBox>();
  for (const CountCase& c : cases) {
    SCOPED_TRACE(c.width);
    vcl::TBitmap b;
    b.SetSize(c.width, c.height);
    box->SetCheckedGlyph(&b);
    EXPECT_EQ(box->CheckedGlyph()->Width(), c.width);
    EXPECT_EQ(box->CheckedNumGlyphs(), c.count);
  }
  box->SetGrayedNumGlyphs(0);
  EXPECT_EQ(box->GrayedNumGlyphs(), 1);
  box->SetGrayedNumGlyphs(5);
  EXPECT_EQ(box->GrayedNumGlyphs(), 2);
}

TEST_F(BitCheckBoxTest, NoBitmapGivenMeansTheStatesOwnImage) {
  auto* box = Add<TBitCheckBox>();
  QImage own = box->UncheckedGlyph()->Image();
  vcl::TBitmap b;
  b.SetSize(16, 16);
  box->SetUncheckedGlyph(&b);
  box->SetUncheckedGlyph(nullptr);
  EXPECT_EQ(box->UncheckedGlyph()->Image(), own);
  box->SetUncheckedGlyph(&b);
  vcl::TBitmap empty;
  box->SetUncheckedGlyph(&empty);
  EXPECT_EQ(box->UncheckedGlyph()->Image(), own);

  vcl::TBitmap named;
  EXPECT_TRUE(BtChkBox::LoadStateBitmap("checked", &named));
  EXPECT_EQ(named.Image(), box->CheckedGlyph()->Image());
  EXPECT_FALSE(BtChkBox::LoadStateBitmap("TICKED", &named));
  EXPECT_FALSE(BtChkBox::LoadStateBitmap("GRAYED", nullptr));
}

// Draws the box into an image of its size.
QImage Paint(TBitCheckBox* box) {
  QImage img(box->Width(), box->Height(), QImage::Format_RGB32);
  img.fill(Qt::black);
  QPainter p(&img);
  box->PaintWith(&p);
  return img;
}

// 10 x 10 images, red (enabled) and blue (disabled) side by side; the
// bottom-left pixel is green, the transparent colour.
void GiveRedBlueGlyph(TBitCheckBox* box) {
  vcl::TBitmap b;
  b.SetSize(20, 10);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) b.SetPixel(x, y, x < 10 ? vcl::clRed : vcl::clBlue);
  b.SetPixel(0, 9, vcl::clLime);
  box->SetUncheckedGlyph(&b);
}

TEST_F(BitCheckBoxTest, TheImageSitsAtTheEdgeAwayFromTheCaptionAndGreysWhenDisabled) {
  auto* box = Add<TBitCheckBox>();
  box->SetColor(vcl::clWhite);
  GiveRedBlueGlyph(box);
  ASSERT_EQ(box->UncheckedNumGlyphs(), 2);
  const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255), white = qRgb(255, 255, 255);

  QImage right = Paint(box);  // caption right of the image: image at the left
  EXPECT_EQ(right.pixel(5, 8), red);
  EXPECT_EQ(right.pixel(0, 12), white);  // the transparent pixel shows the box colour
  EXPECT_EQ(right.pixel(92, 8), white);  // the far right is the box colour

  box->SetAlignment(vcl::taLeftJustify);
  QImage left = Paint(box);
  EXPECT_EQ(left.pixel(box->Width() - 5, 8), red);
  EXPECT_EQ(left.pixel(5, 8), white);

  box->SetEnabled(false);
  EXPECT_EQ(Paint(box).pixel(box->Width() - 5, 8), blue);
}

TEST_F(BitCheckBoxTest, TheCaptionStartsFourPixelsRightOfTheImage) {
  auto* box = Add<TBitCheckBox>();
  box->SetColor(vcl::clWhite);
  box->Font()->SetColor(vcl::clBlack);
  GiveRedBlueGlyph(box);
  box->SetCaption("MMMM");
  QImage img = Paint(box);
  int firstInk = -1;
  for (int x = 10; x < img.width() && firstInk < 0; ++x)
    for (int y = 0; y < img.height(); ++y)
      if (qGray(img.pixel(x, y)) < 128) {
        firstInk = x;
        break;
      }
  // The text box starts at 10 + 4; a glyph's ink may start a pixel or two in.
  EXPECT_GE(firstInk, 14);
  EXPECT_LE(firstInk, 17);
}

}  // namespace
