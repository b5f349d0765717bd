#include "platform/vcl/Graphics.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <cmath>

#include "platform/core/CodePage.h"
#include "platform/vcl/TypInfo.h"

namespace vcl {

namespace {

// The classic desktop scheme, as (red, green, blue).
constexpr int kSysColors[][3] = {
    {212, 208, 200}, {58, 110, 165},  {10, 36, 106},   {128, 128, 128}, {212, 208, 200},
    {255, 255, 255}, {0, 0, 0},       {0, 0, 0},       {0, 0, 0},       {255, 255, 255},
    {212, 208, 200}, {212, 208, 200}, {128, 128, 128}, {10, 36, 106},   {255, 255, 255},
    {212, 208, 200}, {128, 128, 128}, {128, 128, 128}, {0, 0, 0},       {212, 208, 200},
    {255, 255, 255}, {64, 64, 64},    {212, 208, 200}, {0, 0, 0},       {255, 255, 225},
};

const std::vector<std::pair<std::string, int64_t>>& ColorNames() {
  static const std::vector<std::pair<std::string, int64_t>> names = {
      {"clBlack", clBlack},
      {"clMaroon", clMaroon},
      {"clGreen", clGreen},
      {"clOlive", clOlive},
      {"clNavy", clNavy},
      {"clPurple", clPurple},
      {"clTeal", clTeal},
      {"clGray", clGray},
      {"clSilver", clSilver},
      {"clRed", clRed},
      {"clLime", clLime},
      {"clYellow", clYellow},
      {"clBlue", clBlue},
      {"clFuchsia", clFuchsia},
      {"clAqua", clAqua},
      {"clWhite", clWhite},
      {"clScrollBar", clScrollBar},
      {"clBackground", clBackground},
      {"clActiveCaption", clActiveCaption},
      {"clInactiveCaption", clInactiveCaption},
      {"clMenu", clMenu},
      {"clWindow", clWindow},
      {"clWindowFrame", clWindowFrame},
      {"clMenuText", clMenuText},
      {"clWindowText", clWindowText},
      {"clCaptionText", clCaptionText},
      {"clActiveBorder", clActiveBorder},
      {"clInactiveBorder", clInactiveBorder},
      {"clAppWorkSpace", clAppWorkSpace},
      {"clHighlight", clHighlight},
      {"clHighlightText", clHighlightText},
      {"clBtnFace", clBtnFace},
      {"clBtnShadow", clBtnShadow},
      {"clGrayText", clGrayText},
      {"clBtnText", clBtnText},
      {"clInactiveCaptionText", clInactiveCaptionText},
      {"clBtnHighlight", clBtnHighlight},
      {"cl3DDkShadow", cl3DDkShadow},
      {"cl3DLight", cl3DLight},
      {"clInfoText", clInfoText},
      {"clInfoBk", clInfoBk},
      {"clNone", clNone},
      {"clDefault", clDefault},
  };
  return names;
}

const bool kColorIdentsRegistered = [] {
  RegisterIntegerIdents("TColor", ColorNames());
  return true;
}();

const TEnumInfo kFontStyleInfo{"TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};
const TEnumInfo kFontPitchInfo{"TFontPitch", {"fpDefault", "fpVariable", "fpFixed"}};
const TEnumInfo kBrushStyleInfo{"TBrushStyle",
                                {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal",
                                 "bsBDiagonal", "bsCross", "bsDiagCross"}};
const TEnumInfo kPenStyleInfo{
    "TPenStyle",
    {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"}};
const TEnumInfo kPixelFormatInfo{
    "TPixelFormat",
    {"pfDevice", "pf1bit", "pf4bit", "pf8bit", "pf15bit", "pf16bit", "pf24bit", "pf32bit"}};

QRgb ToRgb(TColor c) {
  TColor v = ColorToRGB(c);
  return qRgb(GetRValue(v), GetGValue(v), GetBValue(v));
}

TColor FromRgb(QRgb rgb) { return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb)); }

}  // namespace

TColor ColorToRGB(TColor color) {
  if (color == clNone || color == clDefault) return clWhite;
  if (color < 0) {
    int index = color & 0xFF;
    if (index < 0 || index >= static_cast<int>(std::size(kSysColors))) return clBlack;
    return RGB(kSysColors[index][0], kSysColors[index][1], kSysColors[index][2]);
  }
  return color & 0xFFFFFF;
}

QColor ToQColor(TColor color) {
  TColor v = ColorToRGB(color);
  return QColor(GetRValue(v), GetGValue(v), GetBValue(v));
}

TColor FromQColor(const QColor& color) { return RGB(color.red(), color.green(), color.blue()); }

bool ColorToIdent(TColor color, std::string& ident) {
  for (auto& [name, value] : ColorNames())
    if (value == color) {
      ident = name;
      return true;
    }
  return false;
}

bool IdentToColor(std::string_view ident, TColor& color) {
  int64_t v = 0;
  (void)kColorIdentsRegistered;
  if (!IdentToInt("TColor", ident, v)) return false;
  color = static_cast<TColor>(v);
  return true;
}

QString DecodeText(const std::string& bytes, int codePage) {
  std::u16string wide = platform::BytesToWide(bytes, codePage);
  return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

std::string EncodeText(const QString& text, int codePage) {
  std::u16string wide(reinterpret_cast<const char16_t*>(text.utf16()),
                      static_cast<size_t>(text.size()));
  return platform::WideToBytes(wide, codePage);
}

// --- TFont -----------------------------------------------------------------

const TClassInfo* TFont::StaticClassInfo() {
  using P = PropBuilder<TFont>;
  static const TClassInfo info(
      "TFont", TPersistent::StaticClassInfo(),
      {
          P::Integer<&TFont::Charset, &TFont::SetCharset>("Charset", "TFontCharset"),
          P::Integer<&TFont::Color, &TFont::SetColor>("Color", "TColor"),
          P::Integer<&TFont::Height, &TFont::SetHeight>("Height"),
          P::String<&TFont::Name, &TFont::SetName>("Name", "TFontName"),
          P::Enum<&TFont::Pitch, &TFont::SetPitch>("Pitch", &kFontPitchInfo),
          P::Integer<&TFont::Size, &TFont::SetSize>("Size"),
          P::SetOf<&TFont::Style, &TFont::SetStyle>("Style", "TFontStyles", &kFontStyleInfo),
      });
  return &info;
}

TFont::TFont() : name_("MS Sans Serif") {}

void TFont::Changed() {
  OnChange(this);
  if (hook_) hook_();
}

void TFont::SetName(const std::string& name) {
  if (name.empty() || name == name_) return;
  name_ = name;
  Changed();
}

void TFont::SetHeight(int height) {
  if (height == height_) return;
  height_ = height;
  Changed();
}

int TFont::Size() const {
  // MulDiv rounding, as the platform converts between height and points.
  return -static_cast<int>(std::lround(static_cast<double>(height_) * 72.0 / PixelsPerInch()));
}

void TFont::SetSize(int size) {
  SetHeight(-static_cast<int>(std::lround(static_cast<double>(size) * PixelsPerInch() / 72.0)));
}

void TFont::SetCharset(int charset) {
  if (charset == charset_) return;
  charset_ = charset;
  Changed();
}

void TFont::SetStyle(TFontStyles style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}

void TFont::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed();
}

void TFont::SetPitch(TFontPitch pitch) {
  if (pitch == pitch_) return;
  pitch_ = pitch;
  Changed();
}

bool TFont::SameAs(const TFont& o) const {
  return name_ == o.name_ && height_ == o.height_ && charset_ == o.charset_ && style_ == o.style_ &&
         color_ == o.color_ && pitch_ == o.pitch_;
}

void TFont::Assign(const TPersistent* source) {
  if (auto* f = dynamic_cast<const TFont*>(source)) {
    if (SameAs(*f)) return;
    name_ = f->name_;
    height_ = f->height_;
    charset_ = f->charset_;
    style_ = f->style_;
    color_ = f->color_;
    pitch_ = f->pitch_;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

int TFont::CodePage() const { return platform::CodePageOfCharset(charset_); }

QFont TFont::ToQFont() const {
  QFont f;
  f.setFamily(DecodeText(name_, CodePage()));
  if (height_ < 0)
    f.setPixelSize(-height_);
  else if (height_ > 0)
    f.setPixelSize(std::max(1, height_ * 13 / 16));  // cell height: leave the leading out
  f.setBold(style_ & FontStyle(fsBold));
  f.setItalic(style_ & FontStyle(fsItalic));
  f.setUnderline(style_ & FontStyle(fsUnderline));
  f.setStrikeOut(style_ & FontStyle(fsStrikeOut));
  if (pitch_ == fpFixed) f.setFixedPitch(true);
  return f;
}

// --- TBrush, TPen ----------------------------------------------------------

const TClassInfo* TBrush::StaticClassInfo() {
  using P = PropBuilder<TBrush>;
  static const TClassInfo info(
      "TBrush", TPersistent::StaticClassInfo(),
      {
          P::Integer<&TBrush::Color, &TBrush::SetColor>("Color", "TColor"),
          P::Enum<&TBrush::Style, &TBrush::SetStyle>("Style", &kBrushStyleInfo),
      });
  return &info;
}

void TBrush::Assign(const TPersistent* source) {
  if (auto* b = dynamic_cast<const TBrush*>(source)) {
    color_ = b->color_;
    style_ = b->style_;
    return;
  }
  TPersistent::Assign(source);
}

const TClassInfo* TPen::StaticClassInfo() {
  using P = PropBuilder<TPen>;
  static const TClassInfo info("TPen", TPersistent::StaticClassInfo(),
                               {
                                   P::Integer<&TPen::Color, &TPen::SetColor>("Color", "TColor"),
                                   P::Enum<&TPen::Style, &TPen::SetStyle>("Style", &kPenStyleInfo),
                                   P::Integer<&TPen::Width, &TPen::SetWidth>("Width"),
                               });
  return &info;
}

void TPen::Assign(const TPersistent* source) {
  if (auto* p = dynamic_cast<const TPen*>(source)) {
    color_ = p->color_;
    width_ = p->width_;
    style_ = p->style_;
    return;
  }
  TPersistent::Assign(source);
}

// --- TCanvas ---------------------------------------------------------------

const TClassInfo* TCanvas::StaticClassInfo() {
  static const TClassInfo info("TCanvas", TPersistent::StaticClassInfo());
  return &info;
}

TCanvas::TCanvas()
    : font_(std::make_unique<TFont>()),
      brush_(std::make_unique<TBrush>()),
      pen_(std::make_unique<TPen>()) {}

TCanvas::~TCanvas() = default;

void TCanvas::BeginPaint(QPainter* painter) { painter_ = painter; }
void TCanvas::EndPaint() { painter_ = nullptr; }

template <class F>
void TCanvas::WithPainter(F&& f) {
  if (painter_) {
    f(*painter_);
    return;
  }
  if (image_ && !image_->isNull()) {
    QPainter p(image_);
    f(p);
  }
}

void TCanvas::FillRect(const TRect& r) {
  if (brush_->Style() == bsClear) return;
  WithPainter([&](QPainter& p) {
    p.fillRect(r.Left, r.Top, r.Width(), r.Height(), ToQColor(brush_->Color()));
  });
}

void TCanvas::FrameRect(const TRect& r) {
  WithPainter([&](QPainter& p) {
    p.setPen(ToQColor(brush_->Color()));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.Left, r.Top, r.Width() - 1, r.Height() - 1);
  });
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  WithPainter([&](QPainter& p) {
    p.setPen(pen_->Style() == psClear ? QPen(Qt::NoPen)
                                      : QPen(ToQColor(pen_->Color()), pen_->Width()));
    if (brush_->Style() == bsClear)
      p.setBrush(Qt::NoBrush);
    else
      p.setBrush(ToQColor(brush_->Color()));
    p.drawRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
  });
}

void TCanvas::MoveTo(int x, int y) { penPos_ = {x, y}; }

void TCanvas::LineTo(int x, int y) {
  WithPainter([&](QPainter& p) {
    p.setPen(QPen(ToQColor(pen_->Color()), pen_->Width()));
    p.drawLine(penPos_.X, penPos_.Y, x, y);
  });
  penPos_ = {x, y};
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
  WithPainter([&](QPainter& p) {
    QFont f = font_->ToQFont();
    p.setFont(f);
    QFontMetrics fm(f);
    if (brush_->Style() != bsClear)
      p.fillRect(x, y, fm.horizontalAdvance(DecodeText(text, font_->CodePage())), fm.height(),
                 ToQColor(brush_->Color()));
    p.setPen(ToQColor(font_->Color()));
    p.drawText(x, y + fm.ascent(), DecodeText(text, font_->CodePage()));
  });
  penPos_ = {x + TextWidth(text), y};
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text) {
  WithPainter([&](QPainter& p) {
    p.save();
    p.setClipRect(r.Left, r.Top, r.Width(), r.Height());
    QFont f = font_->ToQFont();
    p.setFont(f);
    QFontMetrics fm(f);
    if (brush_->Style() != bsClear)
      p.fillRect(r.Left, r.Top, r.Width(), r.Height(), ToQColor(brush_->Color()));
    p.setPen(ToQColor(font_->Color()));
    p.drawText(x, y + fm.ascent(), DecodeText(text, font_->CodePage()));
    p.restore();
  });
}

int TCanvas::TextWidth(const std::string& text) const {
  if (!QGuiApplication::instance()) return static_cast<int>(text.size()) * 7;
  return QFontMetrics(font_->ToQFont()).horizontalAdvance(DecodeText(text, font_->CodePage()));
}

int TCanvas::TextHeight(const std::string&) const {
  if (!QGuiApplication::instance()) return -font_->Height() + 2;
  return QFontMetrics(font_->ToQFont()).height();
}

namespace {
QImage TransparentCopy(const TBitmap* bitmap) {
  QImage img = bitmap->Image().convertToFormat(QImage::Format_ARGB32);
  if (bitmap->Transparent()) {
    QRgb key = ToRgb(bitmap->TransparentColor()) & 0xFFFFFF;
    for (int y = 0; y < img.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
      for (int x = 0; x < img.width(); ++x)
        if ((line[x] & 0xFFFFFF) == key) line[x] = 0;
    }
  }
  return img;
}
}  // namespace

void TCanvas::Draw(int x, int y, const TBitmap* bitmap) {
  if (!bitmap || bitmap->Empty()) return;
  QImage img = TransparentCopy(bitmap);
  WithPainter([&](QPainter& p) { p.drawImage(x, y, img); });
}

void TCanvas::StretchDraw(const TRect& r, const TBitmap* bitmap) {
  if (!bitmap || bitmap->Empty()) return;
  QImage img = TransparentCopy(bitmap);
  WithPainter([&](QPainter& p) { p.drawImage(QRect(r.Left, r.Top, r.Width(), r.Height()), img); });
}

void TCanvas::DrawFocusRect(const TRect& r) {
  WithPainter([&](QPainter& p) {
    QPen pen(Qt::black);
    pen.setStyle(Qt::DotLine);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.Left, r.Top, r.Width() - 1, r.Height() - 1);
  });
}

TColor TCanvas::Pixel(int x, int y) const {
  if (image_ && image_->valid(x, y)) return FromRgb(image_->pixel(x, y));
  return clNone;
}

void TCanvas::SetPixel(int x, int y, TColor color) {
  if (image_ && image_->valid(x, y)) image_->setPixel(x, y, ToRgb(color));
}

// --- TBitmap ---------------------------------------------------------------

const TClassInfo* TBitmap::StaticClassInfo() {
  using P = PropBuilder<TBitmap>;
  static const TClassInfo info(
      "TBitmap", TPersistent::StaticClassInfo(),
      {
          P::Integer<&TBitmap::Height, &TBitmap::SetHeight>("Height"),
          P::Enum<&TBitmap::PixelFormat, &TBitmap::SetPixelFormat>("PixelFormat",
                                                                   &kPixelFormatInfo),
          P::Bool<&TBitmap::Transparent, &TBitmap::SetTransparent>("Transparent"),
          P::Integer<&TBitmap::TransparentColor, &TBitmap::SetTransparentColor>("TransparentColor",
                                                                                "TColor"),
          P::Integer<&TBitmap::Width, &TBitmap::SetWidth>("Width"),
      });
  return &info;
}

TBitmap::TBitmap() : image_(std::make_unique<QImage>()) {}
TBitmap::~TBitmap() = default;

void TBitmap::Changed() {
  OnChange(this);
  if (hook_) hook_();
}

int TBitmap::Width() const { return image_->width(); }
int TBitmap::Height() const { return image_->height(); }
bool TBitmap::Empty() const {
  return image_->isNull() || image_->width() == 0 || image_->height() == 0;
}

void TBitmap::SetSize(int width, int height) {
  width = std::max(0, width);
  height = std::max(0, height);
  if (width == Width() && height == Height()) return;
  if (width == 0 || height == 0) {
    *image_ = QImage();
  } else {
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(Qt::white);
    if (!image_->isNull()) {
      QPainter p(&img);
      p.drawImage(0, 0, *image_);
    }
    *image_ = img;
  }
  if (canvas_) canvas_->SetImage(image_.get());
  Changed();
}

void TBitmap::SetWidth(int width) { SetSize(width, Height()); }
void TBitmap::SetHeight(int height) { SetSize(Width(), height); }

void TBitmap::SetPixelFormat(TPixelFormat format) {
  pixelFormat_ = format;
  if (image_->isNull()) return;
  if (format == pf1bit) {
    QImage img = image_->convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
      for (int x = 0; x < img.width(); ++x)
        line[x] = (line[x] & 0xFFFFFF) == 0 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
    }
    *image_ = img;
  } else if (image_->format() != QImage::Format_RGB32) {
    *image_ = image_->convertToFormat(QImage::Format_RGB32);
  }
  Changed();
}

TColor TBitmap::TransparentColor() const {
  if (transparentMode_ == tmFixed && transparentColor_ != clDefault) return transparentColor_;
  if (Empty()) return clNone;
  return FromRgb(image_->pixel(0, Height() - 1));
}

void TBitmap::SetTransparentColor(TColor color) {
  transparentColor_ = color;
  transparentMode_ = color == clDefault ? tmAuto : tmFixed;
}

TColor TBitmap::Pixel(int x, int y) const {
  if (!image_->valid(x, y)) return clNone;
  return FromRgb(image_->pixel(x, y));
}

void TBitmap::SetPixel(int x, int y, TColor color) {
  if (!image_->valid(x, y)) return;
  if (image_->format() != QImage::Format_RGB32 && image_->format() != QImage::Format_ARGB32)
    *image_ = image_->convertToFormat(QImage::Format_RGB32);
  image_->setPixel(x, y, ToRgb(color));
}

TCanvas* TBitmap::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<TCanvas>();
  if (!image_->isNull() && image_->format() != QImage::Format_RGB32 &&
      image_->format() != QImage::Format_ARGB32)
    *image_ = image_->convertToFormat(QImage::Format_RGB32);
  canvas_->SetImage(image_.get());
  return canvas_.get();
}

void TBitmap::LoadFromFile(const std::string& fileName) {
  QImage img;
  if (!img.load(QString::fromUtf8(fileName.c_str())))
    throw platform::Exception("Bitmap image is not valid: " + fileName);
  *image_ = img.convertToFormat(QImage::Format_RGB32);
  pixelFormat_ = img.depth() == 1 ? pf1bit : img.depth() == 32 ? pf32bit : pf24bit;
  if (canvas_) canvas_->SetImage(image_.get());
  Changed();
}

void TBitmap::SaveToFile(const std::string& fileName) const {
  if (!image_->save(QString::fromUtf8(fileName.c_str())))
    throw platform::Exception("Cannot write " + fileName);
}

void TBitmap::Assign(const TPersistent* source) {
  if (source == nullptr) {
    Clear();
    return;
  }
  if (auto* b = dynamic_cast<const TBitmap*>(source)) {
    if (b == this) return;
    *image_ = *b->image_;
    pixelFormat_ = b->pixelFormat_;
    transparent_ = b->transparent_;
    transparentMode_ = b->transparentMode_;
    transparentColor_ = b->transparentColor_;
    if (canvas_) canvas_->SetImage(image_.get());
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

void TBitmap::Clear() {
  if (image_->isNull()) return;
  *image_ = QImage();
  Changed();
}

const QImage& TBitmap::Image() const { return *image_; }

void TBitmap::SetImage(const QImage& image) {
  *image_ = image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGB32);
  if (canvas_) canvas_->SetImage(image_.get());
  Changed();
}

}  // namespace vcl
