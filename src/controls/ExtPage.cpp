#include "controls/ExtPage.h"

#include "controls/Internal.h"
#include "platform/vcl/TypInfo.h"

namespace ExtPage {

const vcl::TClassInfo* TExtPageControl::StaticClassInfo() {
  static const vcl::TClassInfo info("TExtPageControl", vcl::TPageControl::StaticClassInfo());
  return &info;
}

TExtPageControl::TExtPageControl(vcl::TComponent* owner) : vcl::TPageControl(owner) {
  SetOwnerDraw(true);
}

std::string TExtPageControl::TabCaption(int tabIndex) const {
  int visible = 0;
  for (int i = 0; i < PageCount(); ++i) {
    vcl::TTabSheet* page = Pages(i);
    if (!page->TabVisible()) continue;
    if (visible++ == tabIndex) return page->Caption();
  }
  return {};
}

void TExtPageControl::DrawTab(int tabIndex, const vcl::TRect& rect, bool active) {
  if (OnDrawTab.Assigned()) {
    vcl::TPageControl::DrawTab(tabIndex, rect, active);
    return;
  }
  vcl::TCanvas* c = Canvas();
  vcl::TRect r = rect;
  vcl::TFontStyles style = c->Font()->Style();
  if (active) {
    r = {rect.Left + 2, rect.Top + 2, rect.Right - 2, rect.Bottom - 2};
    c->Brush()->SetColor(vcl::clActiveCaption);
    c->Font()->SetColor(vcl::clCaptionText);
    c->Font()->SetStyle(style | vcl::FontStyle(vcl::fsBold));
  } else {
    c->Brush()->SetColor(vcl::clInactiveCaption);
    c->Font()->SetColor(vcl::clInactiveCaptionText);
    c->Font()->SetStyle(style & ~vcl::FontStyle(vcl::fsBold));
  }
  c->Brush()->SetStyle(vcl::bsSolid);
  c->FillRect(r);
  std::string text = ControlsInternal::VisibleCaption(TabCaption(tabIndex));
  int x = r.Left + (r.Width() - c->TextWidth(text)) / 2;
  int y = r.Top + (r.Height() - c->TextHeight(text)) / 2 + (active ? 0 : 2);
  c->Brush()->SetStyle(vcl::bsClear);
  c->TextOut(x, y, text);
  c->Brush()->SetStyle(vcl::bsSolid);
  c->Font()->SetStyle(style);
}

}  // namespace ExtPage
