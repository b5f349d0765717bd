// The scheme panel's pictures: the tool bar shows no captions, so a button
// whose picture is missing shows a clipped caption instead.

#include "framework/SchemeImages.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QStyle>
#include <QToolButton>
#include <vector>

#include "framework/test/Support.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/Menus.h"

namespace framework_test {
namespace {

class SchemeImagesTest : public SandboxTest {};

QImage Pixels(const vcl::TCustomImageList* list, int index) {
  return list->Icon(index)
      .pixmap(list->Width(), list->Height())
      .toImage()
      .convertToFormat(QImage::Format_ARGB32);
}

TEST_F(SchemeImagesTest, EveryPictureIsDrawnOnATransparentGround) {
  TTestWindow* w = NewWindow();
  ASSERT_EQ(w->ImageList1->Count(), BaseGene::siSchemeImageCount);
  ASSERT_EQ(w->ImageList2->Count(), 1);
  struct Picture {
    vcl::TImageList* list;
    int index;
  };
  const Picture pictures[] = {
      {w->ImageList1, BaseGene::siScheme},    {w->ImageList1, BaseGene::siSave},
      {w->ImageList1, BaseGene::siOpen},      {w->ImageList1, BaseGene::siDelete},
      {w->ImageList1, BaseGene::siViewStyle}, {w->ImageList2, BaseGene::siScheme}};
  std::vector<QImage> small;
  for (const Picture& p : pictures) {
    SCOPED_TRACE(testing::Message() << p.list->Name() << " " << p.index);
    const int size = p.list->Width();
    QImage img = Pixels(p.list, p.index);
    ASSERT_EQ(img.size(), QSize(size, size));
    // The corner is ground; the drawing covers a fair part and reaches
    // from the first to the last quarter both ways (drawn at the list's
    // size, not at a smaller one).
    EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);
    int drawn = 0;
    QRect box;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x)
        if (qAlpha(img.pixel(x, y)) != 0) {
          ++drawn;
          box |= QRect(x, y, 1, 1);
        }
    EXPECT_GT(drawn, size * size / 5);
    EXPECT_LE(box.left(), size / 4);
    EXPECT_LE(box.top(), size / 4);
    EXPECT_GE(box.right(), size * 3 / 4);
    EXPECT_GE(box.bottom(), size * 3 / 4);
    EXPECT_LT(drawn, size * size);
    if (p.list == w->ImageList1) {
      for (const QImage& other : small) EXPECT_NE(img, other) << "two pictures are the same";
      small.push_back(img);
    }
  }
}

TEST_F(SchemeImagesTest, ToolButtonsShowTheirPictureOnly) {
  TTestWindow* w = NewWindow();
  for (vcl::TToolButton* b : {w->btnInsert, w->btnOpen, w->btnDelete, w->ToolButton1}) {
    SCOPED_TRACE(b->Name());
    auto* q = qobject_cast<QToolButton*>(b->Handle());
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(q->toolButtonStyle(), Qt::ToolButtonIconOnly);
    ASSERT_FALSE(q->icon().isNull());
    EXPECT_EQ(q->iconSize(), QSize(18, 18));
    QImage shown = q->icon().pixmap(18, 18).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(shown, Pixels(w->ImageList1, b->ImageIndex()));
  }
  // The view-style button keeps its arrow with the menu of view styles, in
  // a section of its own: the picture keeps the full button width rather
  // than being shrunk beside the arrow.
  auto* view = qobject_cast<QToolButton*>(w->ToolButton1->Handle());
  EXPECT_EQ(view->popupMode(), QToolButton::MenuButtonPopup);
  EXPECT_EQ(view->menu(), w->mnList->QtMenu());
  const int arrow = view->style()->pixelMetric(QStyle::PM_MenuButtonIndicator, nullptr, view);
  EXPECT_GE(w->ToolButton1->Width() - arrow, w->ToolBar1->ButtonWidth());
  EXPECT_EQ(w->btnDelete->Width(), w->ToolBar1->ButtonWidth());
}

TEST_F(SchemeImagesTest, ListsThatAlreadyHoldPicturesAreLeftAsTheyAre) {
  vcl::TImageList small(nullptr), large(nullptr);
  small.SetWidth(18);
  small.SetHeight(18);
  large.SetWidth(24);
  large.SetHeight(24);
  BaseGene::AddSchemeImages(&small, nullptr);
  EXPECT_EQ(small.Count(), BaseGene::siSchemeImageCount);
  EXPECT_EQ(large.Count(), 0);
  BaseGene::AddSchemeImages(&small, &large);
  EXPECT_EQ(small.Count(), BaseGene::siSchemeImageCount);
  EXPECT_EQ(large.Count(), 1);
}

}  // namespace
}  // namespace framework_test
