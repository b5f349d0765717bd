#include "platform/vcl/Buttons.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QPushButton>

#include "platform/vcl/TypInfo.h"

namespace vcl {

namespace {
const TEnumInfo kLayoutInfo{"TButtonLayout",
                            {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}};
const TEnumInfo kKindInfo{"TBitBtnKind",
                          {"bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose",
                           "bkAbort", "bkRetry", "bkIgnore", "bkAll"}};

/* Image Index of a glyph strip, with its transparent colour left out. */
QImage GlyphImage(const TBitmap* glyph, int numGlyphs, int index) {
  if (!glyph || glyph->Empty()) return {};
  int n = std::max(1, numGlyphs);
  int w = glyph->Width() / n;
  if (index >= n) index = 0;
  QImage img =
      glyph->Image().copy(index * w, 0, w, glyph->Height()).convertToFormat(QImage::Format_ARGB32);
  QRgb key = glyph->Image().pixel(0, glyph->Height() - 1) & 0xFFFFFF;
  for (int y = 0; y < img.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x)
      if ((line[x] & 0xFFFFFF) == key) line[x] = 0;
  }
  return img;
}

int AutoGlyphCount(const TBitmap* glyph, int current) {
  if (!glyph || glyph->Empty() || glyph->Height() == 0 || glyph->Width() % glyph->Height() != 0)
    return current;
  int n = glyph->Width() / glyph->Height();
  return n > 4 ? 1 : n;
}
}  // namespace

QIcon GlyphIcon(const TBitmap* glyph, int numGlyphs) {
  QIcon icon;
  if (!glyph || glyph->Empty()) return icon;
  icon.addPixmap(QPixmap::fromImage(GlyphImage(glyph, numGlyphs, 0)), QIcon::Normal);
  if (numGlyphs >= 2)
    icon.addPixmap(QPixmap::fromImage(GlyphImage(glyph, numGlyphs, 1)), QIcon::Disabled);
  return icon;
}

// --- TBitBtn ---------------------------------------------------------------

const TClassInfo* TBitBtn::StaticClassInfo() {
  using P = PropBuilder<TBitBtn>;
  static const TClassInfo info(
      "TBitBtn", TButton::StaticClassInfo(),
      {
          P::Object<&TBitBtn::Glyph, &TBitBtn::SetGlyph>("Glyph", "TBitmap"),
          P::Enum<&TBitBtn::Kind, &TBitBtn::SetKind>("Kind", &kKindInfo),
          P::Enum<&TBitBtn::Layout, &TBitBtn::SetLayout>("Layout", &kLayoutInfo),
          P::Integer<&TBitBtn::Margin, &TBitBtn::SetMargin>("Margin"),
          P::Integer<&TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs>("NumGlyphs", "TNumGlyphs"),
          P::Integer<&TBitBtn::Spacing, &TBitBtn::SetSpacing>("Spacing"),
      });
  return &info;
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), glyph_(std::make_unique<TBitmap>()) {
  glyph_->SetChangeHook([this] { GlyphChanged(); });
}

TBitBtn::~TBitBtn() { glyph_->SetChangeHook(nullptr); }

void TBitBtn::SetGlyph(TBitmap* glyph) { glyph_->Assign(glyph); }

void TBitBtn::GlyphChanged() {
  numGlyphs_ = AutoGlyphCount(glyph_.get(), numGlyphs_);
  ShowGlyph();
}

void TBitBtn::SetNumGlyphs(int n) {
  numGlyphs_ = std::clamp(n, 1, 4);
  ShowGlyph();
}

void TBitBtn::ShowGlyph() {
  if (auto* b = qobject_cast<QPushButton*>(Widget())) {
    QIcon icon = GlyphIcon(glyph_.get(), numGlyphs_);
    b->setIcon(icon);
    if (!glyph_->Empty())
      b->setIconSize(QSize(glyph_->Width() / std::max(1, numGlyphs_), glyph_->Height()));
  }
}

void TBitBtn::InitWidget() {
  TButton::InitWidget();
  ShowGlyph();
}

// --- TSpeedButton ----------------------------------------------------------

const TClassInfo* TSpeedButton::StaticClassInfo() {
  using P = PropBuilder<TSpeedButton>;
  static const TClassInfo info(
      "TSpeedButton", TGraphicControl::StaticClassInfo(),
      {
          P::Bool<&TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp>("AllowAllUp"),
          P::String<&TSpeedButton::Caption, &TSpeedButton::SetCaption>("Caption", "TCaption"),
          P::Bool<&TSpeedButton::Down, &TSpeedButton::SetDown>("Down"),
          P::Bool<&TSpeedButton::Flat, &TSpeedButton::SetFlat>("Flat"),
          P::Object<&TSpeedButton::Glyph, &TSpeedButton::SetGlyph>("Glyph", "TBitmap"),
          P::Integer<&TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex>("GroupIndex"),
          P::Enum<&TSpeedButton::Layout, &TSpeedButton::SetLayout>("Layout", &kLayoutInfo),
          P::Integer<&TSpeedButton::Margin, &TSpeedButton::SetMargin>("Margin"),
          P::Integer<&TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs>("NumGlyphs",
                                                                            "TNumGlyphs"),
          P::Integer<&TSpeedButton::Spacing, &TSpeedButton::SetSpacing>("Spacing"),
          P::Bool<&TSpeedButton::Transparent, &TSpeedButton::SetTransparent>("Transparent"),
      });
  return &info;
}

TSpeedButton::TSpeedButton(TComponent* owner)
    : TGraphicControl(owner), glyph_(std::make_unique<TBitmap>()) {
  SetBounds(0, 0, 23, 22);
  glyph_->SetChangeHook([this] { GlyphChanged(); });
}

TSpeedButton::~TSpeedButton() { glyph_->SetChangeHook(nullptr); }

void TSpeedButton::SetGlyph(TBitmap* glyph) { glyph_->Assign(glyph); }

void TSpeedButton::GlyphChanged() {
  numGlyphs_ = AutoGlyphCount(glyph_.get(), numGlyphs_);
  Invalidate();
}

void TSpeedButton::SetNumGlyphs(int n) {
  numGlyphs_ = std::clamp(n, 1, 4);
  Invalidate();
}

void TSpeedButton::SetGroupIndex(int index) {
  groupIndex_ = index;
  UpdateExclusive();
}

void TSpeedButton::SetDown(bool down) {
  if (groupIndex_ == 0) down = false;
  if (down == down_) return;
  if (down_ && !allowAllUp_) return;
  down_ = down;
  if (down) UpdateExclusive();
  Invalidate();
}

void TSpeedButton::SetAllowAllUp(bool on) {
  allowAllUp_ = on;
  UpdateExclusive();
}

void TSpeedButton::UpdateExclusive() {
  if (groupIndex_ == 0 || !Parent()) return;
  TWinControl* p = Parent();
  for (int i = 0; i < p->ControlCount(); ++i) {
    auto* other = dynamic_cast<TSpeedButton*>(p->Controls(i));
    if (!other || other == this || other->groupIndex_ != groupIndex_) continue;
    if (down_ && other->down_) {
      other->down_ = false;
      other->Invalidate();
    }
    other->allowAllUp_ = allowAllUp_;
  }
}

void TSpeedButton::SetFlat(bool on) {
  flat_ = on;
  Invalidate();
}
void TSpeedButton::SetLayout(TButtonLayout l) {
  layout_ = l;
  Invalidate();
}
void TSpeedButton::SetMargin(int m) {
  margin_ = m;
  Invalidate();
}
void TSpeedButton::SetSpacing(int s) {
  spacing_ = s;
  Invalidate();
}
void TSpeedButton::SetTransparent(bool on) {
  transparent_ = on;
  Invalidate();
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && Enabled()) {
    pressing_ = true;
    Invalidate();
  }
  TGraphicControl::MouseDown(button, shift, x, y);
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  bool inside = x >= 0 && y >= 0 && x < Width() && y < Height();
  if (button == mbLeft && pressing_) {
    pressing_ = false;
    if (inside && Enabled() && groupIndex_ != 0) {
      if (!down_) {
        down_ = true;
        UpdateExclusive();
      } else if (allowAllUp_) {
        down_ = false;
      }
    }
    Invalidate();
  }
  TGraphicControl::MouseUp(button, shift, x, y);
}

void TSpeedButton::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  bool sunken = down_ || pressing_;
  if (!transparent_ || !flat_) {
    c->Brush()->SetColor(Color());
    c->FillRect(r);
  }
  if (!flat_ || sunken) {
    c->Pen()->SetColor(sunken ? clBtnShadow : clBtnHighlight);
    c->MoveTo(0, Height() - 1);
    c->LineTo(0, 0);
    c->LineTo(Width() - 1, 0);
    c->Pen()->SetColor(sunken ? clBtnHighlight : clBtnShadow);
    c->LineTo(Width() - 1, Height() - 1);
    c->LineTo(0, Height() - 1);
  }
  int offset = sunken ? 1 : 0;
  int gw = glyph_->Empty() ? 0 : glyph_->Width() / std::max(1, numGlyphs_);
  int gh = glyph_->Empty() ? 0 : glyph_->Height();
  std::string text = Caption();
  int tw = text.empty() ? 0 : c->TextWidth(text);
  int th = text.empty() ? 0 : c->TextHeight(text);
  int total = gw + (gw && tw ? spacing_ : 0) + tw;
  int x = (Width() - total) / 2 + offset;
  if (gw) {
    int index = !Enabled() && numGlyphs_ > 1 ? 1 : (down_ && numGlyphs_ > 2 ? 2 : 0);
    TBitmap part;
    part.SetImage(glyph_->Image().copy(index * gw, 0, gw, gh));
    part.SetTransparent(true);
    part.SetTransparentColor(glyph_->Pixel(0, gh - 1));
    c->Draw(x, (Height() - gh) / 2 + offset, &part);
    x += gw + (tw ? spacing_ : 0);
  }
  if (tw) {
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(Enabled() ? Font()->Color() : clGrayText);
    c->TextOut(x, (Height() - th) / 2 + offset, text);
    c->Brush()->SetStyle(bsSolid);
  }
}

}  // namespace vcl
