#include "controls/ExtPage.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cstdlib>

#include "controls/test/ControlsFixture.h"

namespace {

using controls_test::ControlsTest;
using ExtPage::TExtPageControl;

class ExtPageTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    pg = Add<TExtPageControl>("pgOption");
    pg->SetBounds(0, 0, 300, 200);
    for (const char* caption : {"基本选项", "隐藏页", "系统选项"}) {
      auto* page = new vcl::TTabSheet(form);
      page->SetPageControl(pg);
      page->SetCaption(caption);
    }
    pg->Pages(1)->SetTabVisible(false);
  }
  // Draws one tab into a black 80 x 24 image.
  QImage Draw(int tab, bool active) {
    QImage img(80, 24, QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    pg->Canvas()->Font()->Assign(pg->Font());
    pg->Canvas()->BeginPaint(&p);
    pg->DrawTab(tab, {0, 0, 80, 24}, active);
    pg->Canvas()->EndPaint();
    return img;
  }
  // The text's ink: pixels of Rect that are not the fill colour.
  struct Ink {
    int top = -1;      // topmost row with ink
    QColor strongest;  // the ink pixel farthest from the fill
  };
  static Ink FindInk(const QImage& img, const QRect& rect, QRgb fill) {
    Ink ink;
    int best = -1;
    QColor f(fill);
    for (int y = rect.top(); y <= rect.bottom(); ++y)
      for (int x = rect.left(); x <= rect.right(); ++x) {
        QColor c = img.pixelColor(x, y);
        if (c.rgb() == fill) continue;
        if (ink.top < 0) ink.top = y;
        int d = Distance(c, f);
        if (d > best) best = d, ink.strongest = c;
      }
    return ink;
  }
  static int Distance(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
           std::abs(a.blue() - b.blue());
  }
  TExtPageControl* pg = nullptr;
};

QRgb Rgb(vcl::TColor c) { return vcl::ToQColor(c).rgb(); }

TEST_F(ExtPageTest, TabsAreDrawnByTheProgramAndNamedByTheirVisiblePages) {
  EXPECT_TRUE(pg->OwnerDraw());
  EXPECT_EQ(pg->TabCaption(0), "基本选项");
  EXPECT_EQ(pg->TabCaption(1), "系统选项");  // the hidden page is skipped
  EXPECT_EQ(pg->TabCaption(2), "");
}

TEST_F(ExtPageTest, TheActiveTabIsAShrunkActiveCaptionWithItsText) {
  QImage img = Draw(0, true);
  EXPECT_EQ(img.pixel(1, 1), qRgb(0, 0, 0));  // 2 pixels of every side stay
  EXPECT_EQ(img.pixel(78, 22), qRgb(0, 0, 0));
  EXPECT_EQ(img.pixel(2, 2), Rgb(vcl::clActiveCaption));
  EXPECT_EQ(img.pixel(77, 21), Rgb(vcl::clActiveCaption));
  // Its text is in the caption-text colour (nearer to it than to the fill).
  Ink ink = FindInk(img, QRect(2, 2, 76, 20), Rgb(vcl::clActiveCaption));
  ASSERT_GE(ink.top, 0);
  QColor text = vcl::ToQColor(vcl::clCaptionText), fill = vcl::ToQColor(vcl::clActiveCaption);
  EXPECT_LT(Distance(ink.strongest, text), Distance(ink.strongest, fill));
}

TEST_F(ExtPageTest, AnInactiveTabFillsItsRectangleAndSitsItsTextLower) {
  QImage inactive = Draw(1, false);
  EXPECT_EQ(inactive.pixel(0, 0), Rgb(vcl::clInactiveCaption));
  EXPECT_EQ(inactive.pixel(79, 23), Rgb(vcl::clInactiveCaption));
  Ink ink = FindInk(inactive, QRect(0, 0, 80, 24), Rgb(vcl::clInactiveCaption));
  Ink active = FindInk(Draw(1, true), QRect(2, 2, 76, 20), Rgb(vcl::clActiveCaption));
  ASSERT_GE(ink.top, 0);
  ASSERT_GE(active.top, 0);
  QColor text = vcl::ToQColor(vcl::clInactiveCaptionText);
  EXPECT_LT(Distance(ink.strongest, text),
            Distance(ink.strongest, vcl::ToQColor(vcl::clInactiveCaption)));
  // Both texts are centred in their rectangles; the inactive one 2 lower.
  EXPECT_EQ(ink.top - active.top, 2);
}

struct TabCall {
  int tab = -1;
  vcl::TRect rect;
  bool active = false;
  int calls = 0;
  void Draw(vcl::TCustomTabControl*, int index, const vcl::TRect& r, bool a) {
    tab = index;
    rect = r;
    active = a;
    ++calls;
  }
};

TEST_F(ExtPageTest, AnOnDrawTabHandlerDrawsInstead) {
  TabCall call;
  pg->OnDrawTab = vcl::MakeEvent<&TabCall::Draw>(&call);
  QImage img = Draw(1, true);
  EXPECT_EQ(call.calls, 1);
  EXPECT_EQ(call.tab, 1);
  EXPECT_EQ(call.rect, (vcl::TRect{0, 0, 80, 24}));
  EXPECT_TRUE(call.active);
  EXPECT_EQ(img.pixel(40, 12), qRgb(0, 0, 0));  // nothing drawn by default
}

}  // namespace
