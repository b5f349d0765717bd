#include "suite/Gallery/Gallery.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QString>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/core/CodePage.h"
#include "platform/core/Registry.h"
#include "platform/core/test/CoreTestSupport.h"
#include "platform/vcl/Forms.h"
#include "runtime/TranslatorU.h"

namespace {

using Gallery::TfrmGallery;

QString FromWide(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

/* A GB system without an installation (the converter reads no settings and
   converts nothing), a temporary folder, and a gallery window. */
class GalleryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetSystemCodePage(936);
    platform::SetRegistryFile(dir_ + "registry.reg");
    form = vcl::Create<TfrmGallery>(nullptr);
  }
  void TearDown() override {
    if (vcl::IsLiveComponent(form)) form->Free();
    vcl::Application->ProcessMessages();
    TranslatorU::SetLibraryFolder(std::nullopt);
    platform::SetRegistryFile(std::nullopt);
    platform::SetSystemCodePage(std::nullopt);
  }

  void ShowOnPage(int page) {
    form->pgGallery->SetActivePageIndex(page);
    form->Show();
    vcl::Application->ProcessMessages();
  }

  const platform::test::TTempFolder temp_{"gallery"};
  const std::string dir_ = temp_.Path();
  TfrmGallery* form = nullptr;
};

TEST(GalleryOptions, ReadsPageAndScreenshotAndRefusesTheRest) {
  struct Case {
    std::vector<std::string> Args;
    bool Ok;
    std::string Screenshot;
    int Page;
  } const cases[] = {
      {{}, true, "", 1},
      {{"--page", "2"}, true, "", 2},
      {{"--screenshot", "a.png", "--page", "2"}, true, "a.png", 2},
      {{"--page", "0"}, false, "", 1},
      {{"--page", "-1"}, false, "", 1},
      {{"--page", "2x"}, false, "", 1},
      {{"--page"}, false, "", 1},
      {{"--screenshot", ""}, false, "", 1},
      {{"--screenshot"}, false, "", 1},
      {{"--size", "3"}, false, "", 1},
  };
  for (const Case& c : cases) {
    Gallery::TOptions options;
    std::string error;
    const bool ok = Gallery::ParseOptions(c.Args, options, error);
    const std::string which = c.Args.empty() ? "(none)" : c.Args[0] + " ...";
    EXPECT_EQ(ok, c.Ok) << which;
    EXPECT_EQ(error.empty(), c.Ok) << which << ": " << error;
    if (ok) {
      EXPECT_EQ(options.Screenshot, c.Screenshot) << which;
      EXPECT_EQ(options.Page, c.Page) << which;
    }
  }
}

// The Big5 label holds Big5 bytes of the traditional characters and shows
// them as such through its Big5 font; the GB label shows its GB text.
TEST_F(GalleryTest, CaptionsShowGBAndBig5Texts) {
  EXPECT_EQ(form->lblBig5->Font()->Charset(), platform::CHINESEBIG5_CHARSET);
  EXPECT_EQ(platform::BytesToWide(form->lblBig5->Caption(), platform::CP_BIG5),
            std::u16string(Gallery::kBig5Sample));
  ShowOnPage(0);
  auto* big5 = qobject_cast<QLabel*>(form->lblBig5->Handle());
  auto* gb = qobject_cast<QLabel*>(form->lblGB->Handle());
  ASSERT_NE(big5, nullptr);
  ASSERT_NE(gb, nullptr);
  EXPECT_EQ(big5->text(), FromWide(Gallery::kBig5Sample));
  EXPECT_EQ(gb->text(), FromWide(u"中文标题：进货验收单一览表"));
  EXPECT_EQ(form->Caption(), Gallery::kCaption);
  EXPECT_TRUE(form->Converted);
}

// Without the conversion library the characters are re-encoded as they
// are: those Big5 has survive, simplified-only ones become "?".
TEST_F(GalleryTest, Big5TextWithoutTheLibraryKeepsTheCharacters) {
  std::filesystem::create_directories(dir_ + "nolibrary");
  TranslatorU::SetLibraryFolder(dir_ + "nolibrary/");
  EXPECT_EQ(Gallery::GBToBig5Text("中文"), platform::WideToBytes(u"中文", platform::CP_BIG5));
  EXPECT_EQ(Gallery::GBToBig5Text("中货"), platform::WideToBytes(u"中?", platform::CP_BIG5));
  TranslatorU::SetLibraryFolder(std::nullopt);
  EXPECT_EQ(Gallery::GBToBig5Text("中货"), platform::WideToBytes(u"中貨", platform::CP_BIG5));
}

// Every style of the select panel, and every control of the set, is on the
// window in the state the gallery shows.
TEST_F(GalleryTest, ShowsEachPanelStyleAndEveryControl) {
  ShowOnPage(0);
  struct PanelCase {
    SelectPnl::TSelectPanel* Panel;
    SelectPnl::TSelectStyle Style;
    bool RangeShown;
    bool Vertical;
    int Height;
  } const panels[] = {
      {form->sp01, SelectPnl::sp_Range, true, false, 45},
      {form->sp02, SelectPnl::sp_Range, true, true, 72},
      {form->sp03, SelectPnl::sp_Discrete, false, false, 130},
      {form->sp04, SelectPnl::sp_UserChoice, true, false, 97},
      {form->sp05, SelectPnl::sp_UserChoice, false, false, 156},
      {form->sp06, SelectPnl::sp_Range, true, false, 45},
      {form->sp07, SelectPnl::sp_Range, true, false, 45},
  };
  for (const PanelCase& p : panels) {
    SCOPED_TRACE(p.Panel->Name());
    EXPECT_EQ(p.Panel->Style(), p.Style);
    EXPECT_EQ(p.Panel->RangePanel()->Visible(), p.RangeShown);
    EXPECT_EQ(p.Panel->ListPanel()->Visible(), !p.RangeShown);
    EXPECT_EQ(p.Panel->UseVertical(), p.Vertical);
    EXPECT_EQ(p.Panel->Height(), p.Height);  // loaded as a resource: no size swap
    if (p.RangeShown) {
      EXPECT_FALSE(p.Panel->edBegin()->Text().empty());
      // The vertical row puts the final edit under the begin edit.
      EXPECT_EQ(p.Panel->edFinal()->Top() > p.Panel->edBegin()->Top(),
                p.Vertical || p.Style == SelectPnl::sp_UserChoice);
    } else {
      EXPECT_GE(p.Panel->Items()->Count(), 3);
    }
  }
  EXPECT_EQ(form->sp01->ValueType(), SelectPnl::vt_Date);
  EXPECT_EQ(form->sp02->ValueType(), SelectPnl::vt_Number);
  // Disabling reaches every part; without lookup buttons the edits widen.
  EXPECT_FALSE(form->sp06->edBegin()->Enabled());
  EXPECT_FALSE(form->sp06->BeginButton()->Enabled());
  EXPECT_FALSE(form->sp07->BeginButton()->Visible());
  EXPECT_GT(form->sp07->edBegin()->Width(), form->sp06->edBegin()->Width());

  EXPECT_EQ(form->chkUnchecked->State(), vcl::cbUnchecked);
  EXPECT_EQ(form->chkChecked->State(), vcl::cbChecked);
  EXPECT_EQ(form->chkGrayed->State(), vcl::cbGrayed);
  EXPECT_FALSE(form->chkDisabled->Enabled());

  // Glyphs came from the glyph library: no button fell back to its number.
  for (GSpdBtn::TGSpeedButton* button : form->glyphButtons) {
    SCOPED_TRACE(button->Name());
    EXPECT_FALSE(button->Glyph()->Empty());
    EXPECT_EQ(button->Caption(), "");
  }
  EXPECT_EQ(form->btnLookup->F2Control(), form->edLookup);
  EXPECT_EQ(form->btnLookup->Left(), form->edLookup->Left() + form->edLookup->Width() + 2);

  std::set<DBLabel::TPos> positions;
  for (size_t i = 0; i < form->dbLabels.size(); ++i) {
    EXPECT_EQ(form->dbLabels[i]->FocusControl(), form->labelledEdits[i]);
    positions.insert(form->dbLabels[i]->Pos());
  }
  EXPECT_EQ(positions.size(), 4u);

  EXPECT_NE(form->edVkBtn->Button(), nullptr);
  EXPECT_TRUE(form->radioButtons.at(1)->Checked());
  EXPECT_FALSE(form->radioButtons.at(0)->Checked());
  EXPECT_EQ(form->rgColumns->Columns(), 2);
  EXPECT_EQ(form->rgColumns->ButtonCount(), 4);
  EXPECT_EQ(form->pgDrawn->PageCount(), 3);
  EXPECT_TRUE(form->pgDrawn->OwnerDraw());
  EXPECT_EQ(form->seCount->Value(), 12);
}

// Closing the gallery frees it, which ends the program's event loop.
TEST_F(GalleryTest, ClosingFreesTheWindow) {
  ShowOnPage(0);
  form->Close();
  vcl::Application->ProcessMessages();
  EXPECT_FALSE(vcl::IsLiveComponent(form));
}

// The rendered window is the client area, with the Big5 caption drawn in
// its colour, and a page of its own for each page.
TEST_F(GalleryTest, SavesTheWindowAsAPicture) {
  ShowOnPage(0);
  std::string error;
  ASSERT_TRUE(Gallery::SaveWindowImage(form, dir_ + "page1.png", error)) << error;
  ShowOnPage(1);
  ASSERT_TRUE(Gallery::SaveWindowImage(form, dir_ + "page2.png", error)) << error;

  const QImage first(QString::fromStdString(dir_ + "page1.png"));
  const QImage second(QString::fromStdString(dir_ + "page2.png"));
  ASSERT_FALSE(first.isNull());
  EXPECT_EQ(first.width(), form->ClientWidth());
  EXPECT_EQ(first.height(), form->ClientHeight());
  EXPECT_NE(first, second);

  int navy = 0;
  const vcl::TControl* label = form->lblBig5;
  for (int y = label->Top(); y < label->Top() + label->Height(); ++y)
    for (int x = label->Left(); x < label->Left() + label->Width(); ++x) {
      const QColor c = first.pixelColor(x, y);
      if (c.blue() > 90 && c.red() < 60 && c.green() < 60) ++navy;
    }
  EXPECT_GT(navy, 50);

  EXPECT_FALSE(Gallery::SaveWindowImage(form, dir_ + "missing/folder/x.png", error));
  EXPECT_NE(error.find("cannot write"), std::string::npos);
  auto* unshown = vcl::Create<TfrmGallery>(nullptr);
  EXPECT_FALSE(Gallery::SaveWindowImage(unshown, dir_ + "x.png", error));
  unshown->Free();
}

}  // namespace
