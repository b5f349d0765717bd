#include "controls/BtChkBox.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

#include "controls/Internal.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/TypInfo.h"

namespace BtChkBox {

const vcl::TEnumInfo LeftRightInfo{"TLeftRight", {"taLeftJustify", "taRightJustify"}};
const vcl::TEnumInfo CheckBoxStateInfo{"TCheckBoxState", {"cbUnchecked", "cbChecked", "cbGrayed"}};

namespace {

const char* const kStateNames[] = {"UNCHECKED", "CHECKED", "GRAYED"};

// A 12 x 12 box in a 13 x 13 image; the free last row keeps the bottom-left
// pixel at the transparent colour.
QImage DrawStateImage(vcl::TCheckBoxState state) {
  QImage img(13, 13, QImage::Format_RGB32);
  img.fill(QColor(255, 0, 255));
  QPainter p(&img);
  p.fillRect(0, 0, 12, 12, state == vcl::cbGrayed ? QColor(212, 208, 200) : Qt::white);
  p.setPen(QColor(128, 128, 128));
  p.drawRect(0, 0, 11, 11);
  if (state != vcl::cbUnchecked) {
    QPen pen(state == vcl::cbGrayed ? QColor(128, 128, 128) : Qt::black);
    pen.setWidth(2);
    p.setPen(pen);
    p.drawLine(3, 6, 5, 8);
    p.drawLine(5, 8, 9, 3);
  }
  return img;
}

}  // namespace

bool LoadStateBitmap(const std::string& name, vcl::TBitmap* bitmap) {
  if (!bitmap) return false;
  for (int s = 0; s < 3; ++s) {
    if (!platform::SameText(name, kStateNames[s])) continue;
    bitmap->SetImage(DrawStateImage(static_cast<vcl::TCheckBoxState>(s)));
    return true;
  }
  return false;
}

const vcl::TClassInfo* TBitCheckBox::StaticClassInfo() {
  using P = vcl::PropBuilder<TBitCheckBox>;
  static const vcl::TClassInfo info(
      "TBitCheckBox", vcl::TCustomControl::StaticClassInfo(),
      {
          P::Enum<&TBitCheckBox::Alignment, &TBitCheckBox::SetAlignment>("Alignment",
                                                                         &LeftRightInfo),
          P::Bool<&TBitCheckBox::AllowGrayed, &TBitCheckBox::SetAllowGrayed>("AllowGrayed"),
          P::String<&TBitCheckBox::Caption, &TBitCheckBox::SetCaption>("Caption", "TCaption"),
          P::Bool<&TBitCheckBox::Checked, &TBitCheckBox::SetChecked>("Checked"),
          P::Object<&TBitCheckBox::CheckedGlyph, &TBitCheckBox::SetCheckedGlyph>("CheckedGlyph",
                                                                                 "TBitmap"),
          P::Integer<&TBitCheckBox::CheckedNumGlyphs, &TBitCheckBox::SetCheckedNumGlyphs>(
              "CheckedNumGlyphs", "TNumGlyphs"),
          P::Bool<&TBitCheckBox::Ctl3D, &TBitCheckBox::SetCtl3D>("Ctl3D"),
          P::Object<&TBitCheckBox::GrayedGlyph, &TBitCheckBox::SetGrayedGlyph>("GrayedGlyph",
                                                                               "TBitmap"),
          P::Integer<&TBitCheckBox::GrayedNumGlyphs, &TBitCheckBox::SetGrayedNumGlyphs>(
              "GrayedNumGlyphs", "TNumGlyphs"),
          P::Enum<&TBitCheckBox::State, &TBitCheckBox::SetState>("State", &CheckBoxStateInfo),
          P::Object<&TBitCheckBox::UncheckedGlyph, &TBitCheckBox::SetUncheckedGlyph>(
              "UncheckedGlyph", "TBitmap"),
          P::Integer<&TBitCheckBox::UncheckedNumGlyphs, &TBitCheckBox::SetUncheckedNumGlyphs>(
              "UncheckedNumGlyphs", "TNumGlyphs"),
      });
  return &info;
}

TBitCheckBox::TBitCheckBox(vcl::TComponent* owner) : vcl::TCustomControl(owner) {
  SetBounds(0, 0, 97, 17);
  SetTabStop(true);
  for (int s = 0; s < 3; ++s) {
    auto state = static_cast<vcl::TCheckBoxState>(s);
    glyphs_[s] = std::make_unique<vcl::TBitmap>();
    LoadStateBitmap(kStateNames[s], glyphs_[s].get());
    glyphs_[s]->SetChangeHook([this, state] { GlyphChanged(state); });
  }
}

TBitCheckBox::~TBitCheckBox() {
  for (auto& g : glyphs_) g->SetChangeHook(nullptr);
}

void TBitCheckBox::SetAlignment(vcl::TAlignment alignment) {
  alignment_ = alignment;
  Invalidate();
}

void TBitCheckBox::SetState(vcl::TCheckBoxState state) {
  if (state == state_) return;
  state_ = state;
  Invalidate();
}

void TBitCheckBox::SetCtl3D(bool on) {
  ctl3D_ = on;
  Invalidate();
}

void TBitCheckBox::SetGlyph(vcl::TCheckBoxState state, vcl::TBitmap* glyph) {
  if (glyph && !glyph->Empty())
    glyphs_[state]->Assign(glyph);
  else
    LoadStateBitmap(kStateNames[state], glyphs_[state].get());
}

void TBitCheckBox::SetNumGlyphs(vcl::TCheckBoxState state, int n) {
  counts_[state] = std::clamp(n, 1, 2);
  Invalidate();
}

void TBitCheckBox::GlyphChanged(vcl::TCheckBoxState state) {
  const vcl::TBitmap* g = glyphs_[state].get();
  if (!g->Empty() && g->Height() > 0 && g->Width() % g->Height() == 0)
    SetNumGlyphs(state, g->Width() / g->Height());
  else
    Invalidate();
}

void TBitCheckBox::Toggle() {
  switch (state_) {
    case vcl::cbUnchecked:
      SetState(allowGrayed_ ? vcl::cbGrayed : vcl::cbChecked);
      break;
    case vcl::cbChecked:
      SetState(vcl::cbUnchecked);
      break;
    case vcl::cbGrayed:
      SetState(vcl::cbChecked);
      break;
  }
}

void TBitCheckBox::Click() {
  Toggle();
  vcl::TCustomControl::Click();
  if (vcl::IsLiveComponent(this) && !Disposed() && CanFocus() && !Focused()) SetFocus();
}

bool TBitCheckBox::DialogChar(char key) {
  if (!vcl::IsAccel(key, Caption()) || !CanFocus()) return false;
  SetFocus();
  if (Focused()) Toggle();
  return true;
}

void TBitCheckBox::KeyPress(char& key) {
  vcl::TCustomControl::KeyPress(key);
  if (key == ' ') {
    key = 0;
    Click();
  }
}

void TBitCheckBox::DoEnter() {
  Invalidate();
  vcl::TCustomControl::DoEnter();
}

void TBitCheckBox::DoExit() {
  Invalidate();
  vcl::TCustomControl::DoExit();
}

void TBitCheckBox::TextChanged() { Invalidate(); }

void TBitCheckBox::FontChanged() {
  vcl::TCustomControl::FontChanged();
  Invalidate();
}

void TBitCheckBox::ColorChanged() {
  vcl::TCustomControl::ColorChanged();
  Invalidate();
}

void TBitCheckBox::EnabledChanged() {
  vcl::TCustomControl::EnabledChanged();
  Invalidate();
}

void TBitCheckBox::Paint() {
  vcl::TCanvas* c = Canvas();
  c->Brush()->SetStyle(vcl::bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(ClientRect());

  const vcl::TBitmap* glyph = glyphs_[state_].get();
  int count = counts_[state_];
  int imageWidth = 0;
  if (!glyph->Empty()) {
    imageWidth = glyph->Width() / count;
    int index = !Enabled() && count > 1 ? 1 : 0;
    vcl::TBitmap part;
    part.SetImage(glyph->Image().copy(index * imageWidth, 0, imageWidth, glyph->Height()));
    part.SetTransparent(true);
    part.SetTransparentColor(glyph->TransparentColor());
    int x = alignment_ == vcl::taRightJustify ? 0 : Width() - imageWidth;
    c->Draw(x, (Height() - glyph->Height()) / 2, &part);
  }

  std::string text = ControlsInternal::VisibleCaption(Caption());
  int textHeight = c->TextHeight(text);
  int x = alignment_ == vcl::taRightJustify ? imageWidth + 4 : 1;
  int y = (Height() - textHeight) / 2;
  c->Brush()->SetStyle(vcl::bsClear);
  if (!Enabled()) {
    if (ctl3D_) {
      c->Font()->SetColor(vcl::clBtnHighlight);
      c->TextOut(x + 1, y + 1, text);
    }
    c->Font()->SetColor(vcl::clGrayText);
  }
  c->TextOut(x, y, text);
  c->Brush()->SetStyle(vcl::bsSolid);
  if (Focused()) c->DrawFocusRect({x - 1, y - 1, x + c->TextWidth(text) + 1, y + textHeight + 1});
}

}  // namespace BtChkBox
